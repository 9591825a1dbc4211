// Tests of the key commands: the keys and Ctrl commands on a document in the
// line store, pressed through the dispatcher (the headless host records
// repaints, boxes, the clipboard and posted commands). Grouped by behaviour.
#include "view/keycommands.h"

#include <gtest/gtest.h>

#include "key_fixture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "framework/messages.h"
#include "support/platform.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "view/cursor.h"
#include "view/editing.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/taste.h"

namespace {

class KeyCommands : public KeyFixture {};

// ---------------------------------------------------------------- moving in a line

TEST_F(KeyCommands, HomeEndAndTabStops) {
    load({"abc", "    xy", ""});
    key(vk::kEnd);
    EXPECT_EQ(col(), 4);  // one blank column after the last character
    key(vk::kHome);
    EXPECT_EQ(col(), 0);
    at(0, 1);
    key(vk::kHome);
    EXPECT_EQ(col(), 4);  // the first non-blank column
    key(vk::kHome, false, true);
    EXPECT_EQ(col(), 0);
    at(5, 2);
    key(vk::kHome);
    EXPECT_EQ(col(), 0);  // a blank row
    key(vk::kEnd, true, true);
    EXPECT_EQ(col(), 1);  // End acts with any modifiers
    // Home counts only blanks as indentation: a leading tab is a character.
    load({"\tfoo", "  \tx"});
    key(vk::kHome);
    EXPECT_EQ(col(), 0);
    at(0, 1);
    key(vk::kHome);
    EXPECT_EQ(col(), 2);
    load({"abc", "    xy", ""});

    at(8, 0);
    key(vk::kTab);
    EXPECT_EQ(col(), 16);
    key(vk::kTab);
    EXPECT_EQ(col(), 24);
    at(3, 0);
    key(vk::kTab, true);
    EXPECT_EQ(col(), 0);
    key(vk::kTab, true);
    EXPECT_EQ(col(), 0);  // column 0 stays 0
    at(16, 0);
    key(vk::kTab, true);
    EXPECT_EQ(col(), 8);
    key(vk::kTab, false, true);  // Ctrl+Tab acts as Tab, Ctrl+Shift+Tab as Shift+Tab
    EXPECT_EQ(col(), 16);
    key(vk::kTab, true, true);
    EXPECT_EQ(col(), 8);
    tabStep = 4;
    at(5, 0);
    key(vk::kTab);
    EXPECT_EQ(col(), 8);
    EXPECT_EQ(doc(), (Lines{"abc", "    xy"}));  // Tab inserts nothing
    EXPECT_EQ(modified, 0);

    at(0, 0);
    key(vk::kLeft);
    EXPECT_EQ(col(), 0);
    key(vk::kRight, true);
    EXPECT_EQ(col(), 1);
    // Past the window's right edge the view moves in steps of 10.
    at(79, 0);
    key(vk::kRight);
    EXPECT_EQ(col(), 80);
    EXPECT_EQ(firstCol, 10);
}

TEST_F(KeyCommands, WordMovesGoToTheWordBeforeAndTheWordAfter) {
    load({"foo barbaz qux", "x = f(a, b)"});
    at(7, 0);  // inside "barbaz"
    key(vk::kLeft, false, true);
    EXPECT_EQ(col(), 0);  // the start of the word before it, not of barbaz
    at(11, 0);  // on the q of qux
    key(vk::kLeft, false, true);
    EXPECT_EQ(col(), 4);
    at(13, 0);
    key(vk::kLeft, false, true);
    EXPECT_EQ(col(), 4);
    at(2, 0);
    key(vk::kLeft, false, true);
    EXPECT_EQ(col(), 0);  // never past column 0

    at(0, 0);
    key(vk::kRight, false, true);
    EXPECT_EQ(col(), 4);
    key(vk::kRight, false, true);
    EXPECT_EQ(col(), 11);
    key(vk::kRight, false, true);
    EXPECT_EQ(col(), 14);  // stops at the text's end
    key(vk::kRight, false, true);
    EXPECT_EQ(col(), 16);  // at the end it acts as Tab
    key(vk::kRight, false, true);
    EXPECT_EQ(col(), 24);

    at(0, 1);
    key(vk::kRight, false, true);
    EXPECT_EQ(col(), 4);  // over " = " to f
    key(vk::kRight, false, true);
    EXPECT_EQ(col(), 6);  // over "(" to a
    EXPECT_EQ(modified, 0);
}

// ---------------------------------------------------------------- moving between lines

TEST_F(KeyCommands, UpDownAndPagesMoveTheViewThroughTheStore) {
    Lines lines;
    for (int i = 0; i < 100; ++i) lines.push_back("line " + std::to_string(i));
    load(lines);
    key(vk::kUp);
    EXPECT_EQ(line(), 0);
    repeat(25, vk::kDown);
    EXPECT_EQ(cursorRow, 19);
    EXPECT_EQ(topLine, 6);  // the last row scrolls
    repeat(20, vk::kUp);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(topLine, 5);  // row 0 scrolls up
    EXPECT_EQ(row(0), "line 5");
    key(vk::kDown, false, true);
    EXPECT_EQ(topLine, 6);
    EXPECT_EQ(cursorRow, 0);  // Ctrl+Down keeps the cursor's row
    key(vk::kUp, false, true);
    EXPECT_EQ(topLine, 5);

    at(0, 3);
    key(vk::kNext);
    EXPECT_EQ(topLine, 25);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(row(0), "line 25");
    key(vk::kPrior);
    EXPECT_EQ(topLine, 5);
    key(vk::kPrior);
    EXPECT_EQ(topLine, 0);
    key(vk::kPrior);
    EXPECT_EQ(cursorRow, 0);  // at the start PgUp goes to row 0
    key(vk::kNext, false, true);
    EXPECT_EQ(line(), 99);  // Ctrl+PgDn: the last line in the last row
    EXPECT_EQ(cursorRow, 19);
    EXPECT_EQ(row(19), "line 99");
    at(0, 4);
    key(vk::kNext);
    EXPECT_EQ(cursorRow, 19);  // nothing below: to the last row
    key(vk::kPrior, false, true);
    EXPECT_EQ(topLine, 0);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(row(0), "line 0");
    EXPECT_EQ(doc(), lines);
    EXPECT_TRUE(storeSound());
    EXPECT_EQ(modified, 0);

    // The last row scrolls even past the document's end.
    windowRows = 3;
    load({"a", "b"});
    at(0, 2);
    key(vk::kDown);
    EXPECT_EQ(topLine, 1);
    EXPECT_EQ(cursorRow, 2);
    EXPECT_EQ(doc(), (Lines{"a", "b"}));
}

TEST_F(KeyCommands, EnterAndTheZeilenEinfuegenCounter) {
    load({"    first", "second", "", "third"});
    key(vk::kReturn);
    EXPECT_EQ(line(), 1);
    EXPECT_EQ(col(), 0);  // autoIndent goes to the text of the new line
    EXPECT_EQ(doc(), (Lines{"    first", "second", "", "third"}));  // never splits or inserts

    // Shift+Enter switches the mode on; three Down keys switch it off again.
    at(0, 0);
    key(vk::kReturn, true);
    EXPECT_EQ(lineInsertMode, 1);
    EXPECT_EQ(doc(), (Lines{"    first", "", "second", "", "third"}));  // an empty line opened
    EXPECT_EQ(line(), 1);
    EXPECT_EQ(col(), 4);  // at the former line's indentation
    key(vk::kDown);
    key(vk::kDown);
    EXPECT_EQ(lineInsertMode, 1);
    key(vk::kDown);
    EXPECT_EQ(lineInsertMode, 0);

    // Five Up keys keep it on, the sixth switches it off; Ctrl+Up counts too.
    key(vk::kReturn, true);
    repeat(4, vk::kUp);
    key(vk::kUp, false, true);
    EXPECT_EQ(lineInsertMode, 1);
    key(vk::kUp);
    EXPECT_EQ(lineInsertMode, 0);

    // The automatic indentation counts tabs as white space: under the text.
    // The indentation of the opened line counts only blanks, as Home does.
    load({"\tfoo", "", "    y"});
    key(vk::kReturn);
    EXPECT_EQ(col(), 1);
    load({"\tfoo", "    y"});
    key(vk::kReturn, true);
    EXPECT_EQ(doc(), (Lines{"\tfoo", "", "    y"}));
    EXPECT_EQ(line(), 1);
    EXPECT_EQ(col(), 0);
    lineInsertMode = 0;

    // With the mode on, Enter onto a blank line opens nothing.
    load({"a", "", "b"});
    key(vk::kReturn, true);
    EXPECT_EQ(doc(), (Lines{"a", "", "b"}));
    EXPECT_EQ(line(), 1);

    // Ctrl+Shift+Enter toggles; paging switches the mode off.
    key(vk::kReturn, true, true);
    EXPECT_EQ(lineInsertMode, 0);
    key(vk::kReturn, true, true);
    EXPECT_EQ(lineInsertMode, 1);
    EXPECT_EQ(line(), 1);  // and the cursor stays
    key(vk::kNext);
    EXPECT_EQ(lineInsertMode, 0);
}

TEST_F(KeyCommands, CtrlEnterSplitsAtTheIndentation) {
    load({"    foo(bar,   baz)", "next"});
    at(15, 0);
    key(vk::kReturn, false, true);
    EXPECT_EQ(doc(), (Lines{"    foo(bar,", "    baz)", "next"}));
    EXPECT_EQ(line(), 1);
    EXPECT_EQ(col(), 4);
    EXPECT_EQ(modified, 1);

    // Nothing when only blanks follow the cursor.
    at(8, 1);
    key(vk::kReturn, false, true);
    EXPECT_EQ(doc(), (Lines{"    foo(bar,", "    baz)", "next"}));

    // In the last row the view scrolls and the rest lands below.
    windowRows = 3;
    load({"a", "b", "c d"});
    at(2, 2);
    key(vk::kReturn, false, true);
    EXPECT_EQ(doc(), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(line(), 3);
    EXPECT_TRUE(storeSound());
}

// ---------------------------------------------------------------- deleting

TEST_F(KeyCommands, BackspaceTakesTheRunBeforeTheCursor) {
    columnKeep = 0;
    load({"one two  three,four"});
    key(vk::kBack);
    EXPECT_EQ(row(0), "one two  three,four");  // column 0: nothing, lines never join
    key(vk::kEnd);
    key(vk::kLeft);
    key(vk::kBack, false, true);
    EXPECT_EQ(row(0), "one two  three,");  // a word
    EXPECT_EQ(col(), 15);
    key(vk::kBack, false, true);
    EXPECT_EQ(row(0), "one two  three");  // one delimiter
    key(vk::kBack, false, true);
    EXPECT_EQ(row(0), "one two");
    EXPECT_EQ(col(), 9);
    key(vk::kBack, false, true);
    EXPECT_EQ(col(), 7);  // a run of blanks
    key(vk::kBack);
    EXPECT_EQ(row(0), "one tw");
    EXPECT_EQ(col(), 6);
    EXPECT_EQ(modified, 1);

    // The pieces come back newest first; a piece of blanks is one blank.
    ctrl('U');
    EXPECT_EQ(row(0), "one two");
    ctrl('U');
    ctrl('U');
    EXPECT_EQ(row(0), "one two three");
    EXPECT_EQ(col(), 13);
}

TEST_F(KeyCommands, CtrlXAndCtrlDeleteTakeTheRunAtTheCursor) {
    columnKeep = 0;
    load({"one two,  three"});
    ctrl('X');
    EXPECT_EQ(row(0), " two,  three");  // a word
    ctrl('X');
    EXPECT_EQ(row(0), "two,  three");  // a run of blanks
    at(3, 0);
    key(vk::kDelete, false, true);
    EXPECT_EQ(row(0), "two  three");  // one delimiter
    key(vk::kDelete);
    EXPECT_EQ(row(0), "two three");
    at(20, 0);
    ctrl('X');
    EXPECT_EQ(row(0), "two three");  // after the text: nothing
    EXPECT_EQ(col(), 20);
}

TEST_F(KeyCommands, CtrlZAndCtrlUGoBackThroughOlderPieces) {
    load({"keep this cut1", "keep cut2"});
    at(10, 0);
    ctrl('Z');
    EXPECT_EQ(row(0), "keep this");
    at(5, 1);
    ctrl('Z');
    EXPECT_EQ(row(1), "keep");
    at(0, 2);
    ctrl('U');
    EXPECT_EQ(row(2), "cut2");
    ctrl('U');
    EXPECT_EQ(row(2), "cut2cut1");  // a repeated Ctrl+U takes the older piece
    key(vk::kEnd);
    ctrl('U');
    EXPECT_EQ(row(2), "cut2cut1 cut2");  // another key between: the newest again
}

// ---------------------------------------------------------------- lines

TEST_F(KeyCommands, CtrlYAndCtrlEBringLinesBackInTheirOrder) {
    load({"a", "b", "c"});
    ctrl('Y');
    ctrl('Y');
    EXPECT_EQ(doc(), (Lines{"c"}));
    ctrl('E');
    ctrl('E');
    EXPECT_EQ(doc(), (Lines{"a", "b", "c"}));
    EXPECT_EQ(line(), 0);
    key(vk::kDown);
    ctrl('E');  // not repeated: the newest again
    EXPECT_EQ(doc(), (Lines{"a", "b", "b", "c"}));

    // 60000 bytes of deleted lines: the buffer keeps the newest 50000.
    Lines lines;
    for (int i = 0; i < 300; ++i) {
        char text[200];
        std::snprintf(text, sizeof text, "%03d", i);
        lines.push_back(std::string(text) + std::string(196, 'y'));  // 199 characters and a NUL
    }
    load(lines);
    for (int i = 0; i < 300; ++i) ctrl('Y');
    EXPECT_EQ(doc(), Lines{});
    for (int i = 0; i < 250; ++i) ctrl('E');
    const Lines back = doc();
    ASSERT_EQ(back.size(), 250u);
    EXPECT_EQ(back, Lines(lines.begin() + 50, lines.end()));
    EXPECT_TRUE(storeSound());
}

TEST_F(KeyCommands, CtrlNOpensALineAndCtrlAJoinsTheNext) {
    load({"foo", "   bar", "", "last"});
    at(2, 1);
    ctrl('N');
    EXPECT_EQ(doc(), (Lines{"foo", "", "   bar", "", "last"}));
    EXPECT_EQ(line(), 1);
    EXPECT_EQ(col(), 2);
    ctrl('Y');

    at(1, 0);
    ctrl('A');
    EXPECT_EQ(doc(), (Lines{"foo bar", "", "last"}));  // one blank between
    EXPECT_EQ(col(), 4);
    ctrl('A');
    EXPECT_EQ(doc(), (Lines{"foo bar", "last"}));  // a blank next line is removed
    EXPECT_EQ(line(), 0);

    // The next line below the window comes from the below stack.
    windowRows = 2;
    load({"a", "b", "c"});
    at(0, 1);
    ctrl('A');
    EXPECT_EQ(doc(), (Lines{"a", "b c"}));
    EXPECT_TRUE(storeSound());
    ctrl('A');  // past the end: nothing to join
    EXPECT_EQ(doc(), (Lines{"a", "b c"}));

    // A join that would pass column 249 is refused and loses nothing.
    const std::string longLine(240, 'L');
    load({longLine, "   twenty characters", "z"});
    ctrl('A');
    EXPECT_EQ(doc(), (Lines{longLine, "   twenty characters", "z"}));
    ASSERT_EQ(boxes(), 1);
    EXPECT_NE(headless_boxes()[0].text.find("250"), std::string::npos);
    load({std::string(239, 'L'), "  0123456789"});
    ctrl('A');
    EXPECT_EQ(doc(), (Lines{std::string(239, 'L') + " 0123456789"}));  // exactly 250
}

TEST_F(KeyCommands, CtrlLOutdentsRepeatedByTheFirstWidthAndCtrlRIndents) {
    load({"      a", "      b", "  c", "d"});
    ctrl('L');
    EXPECT_EQ(row(0), "a");
    EXPECT_EQ(line(), 1);  // then one line down
    ctrl('L');
    EXPECT_EQ(row(1), "b");  // the same width again
    ctrl('L');
    EXPECT_EQ(row(2), "c");  // only blanks are taken
    ctrl('L');
    EXPECT_EQ(row(3), "d");  // text is never taken

    // Ctrl+L, Down, Ctrl+L computes the width afresh.
    load({"    a", "x", "y", "        b"});
    ctrl('L');
    EXPECT_EQ(row(0), "a");
    key(vk::kDown);
    key(vk::kDown);
    ctrl('L');
    EXPECT_EQ(row(3), "b");
    EXPECT_EQ(outdentWidth, 8);

    // Fewer blanks than a step: the step, and only the blanks there are.
    load({" x", "   y"});
    key(vk::kLeft);
    ctrl('L');
    EXPECT_EQ(row(0), "x");
    ctrl('L');
    EXPECT_EQ(row(1), " y");

    // Ctrl+R: indentStep blanks at the cursor, then down; the view scrolls
    // in the window's last three rows.
    windowRows = 4;
    load({"a", "b", "c", "d", "e"});
    ctrl('R');
    ctrl('R');
    EXPECT_EQ(doc(), (Lines{"  a", "  b", "c", "d", "e"}));
    EXPECT_EQ(cursorRow, 1);
    EXPECT_EQ(topLine, 1);
    EXPECT_EQ(modified, 1);

    // Ctrl+Space: one blank, the cursor stays, column 249 falls off.
    std::string full(249, 'x');
    full += 'Z';
    load({"ab", full});
    at(1, 0);
    ctrlChar(' ');
    EXPECT_EQ(row(0), "a b");
    EXPECT_EQ(col(), 1);
    at(0, 1);
    ctrlChar(' ');
    EXPECT_EQ(row(1), " " + std::string(249, 'x'));
}

// ---------------------------------------------------------------- small commands

TEST_F(KeyCommands, CaseInsertModeAndPostedCommands) {
    load({"abc \xE4x"});
    ctrl('G');
    ctrl('G');
    EXPECT_EQ(row(0), "ABc \xE4x");
    EXPECT_EQ(col(), 2);
    at(4, 0);
    ctrl('G');
    EXPECT_EQ(row(0), "ABc \xC4x");  // the Latin-1 letters too
    at(0, 0);
    ctrl('K');
    EXPECT_EQ(row(0), "aBc \xC4x");
    EXPECT_EQ(headless_record().textsPainted, 4);  // one cell each

    key(vk::kInsert);
    EXPECT_EQ(insertMode, 0);
    type("zz");
    EXPECT_EQ(row(0), "azz \xC4x");  // overwritten
    key(vk::kInsert);
    EXPECT_EQ(insertMode, 1);

    ctrl('S');
    key(vk::kPeriod, false, true);
    const auto& posted = headless_posted_commands();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].id, 1003);
    EXPECT_EQ(posted[1].id, 1300);

    // Ctrl+H remembers, Ctrl+J returns.
    Lines lines;
    for (int i = 0; i < 60; ++i) lines.push_back(std::to_string(i));
    load(lines);
    at(3, 5);
    ctrl('H');
    key(vk::kNext, false, true);
    ctrl('J');
    EXPECT_EQ(line(), 5);
    EXPECT_EQ(col(), 3);
}

TEST_F(KeyCommands, TypingCommandsPutTheCursorInside) {
    load({""});
    ctrl('0');
    EXPECT_EQ(row(0), "'\\0'");
    EXPECT_EQ(col(), 4);
    key(vk::kEnd);
    key(vk::kOe, false, true);
    EXPECT_EQ(row(0), "'\\0' /*  */");
    EXPECT_EQ(col(), 8);  // between the two blanks
    key(vk::kAe, false, true);
    EXPECT_EQ(row(0), "'\\0' /* \"\" */");
    EXPECT_EQ(col(), 9);  // between the quotes
    ctrlChar(29);  // Ctrl++
    EXPECT_EQ(row(0), "'\\0' /* \"[]\" */");
    EXPECT_EQ(col(), 10);

    load({""});
    ctrl('1');
    const std::string date = row(0);
    ASSERT_EQ(date.size(), 10u);
    EXPECT_EQ(date[2], '.');
    EXPECT_EQ(date[5], '.');
    EXPECT_EQ(col(), 10);
}

TEST_F(KeyCommands, CtrlNineClosesTheOpenBrackets) {
    char out[32];
    closingBrackets("x = f(a, g[b", out);
    EXPECT_STREQ(out, "]) ");
    closingBrackets("if ( a", out);
    EXPECT_STREQ(out, " ) ");
    closingBrackets("f( a[i", out);
    EXPECT_STREQ(out, "] ) ");
    closingBrackets("f(a) + [b]", out);
    EXPECT_STREQ(out, " ");
    closingBrackets("x)) (", out);  // closers pop whatever is on top; "(" at the end has a blank after
    EXPECT_STREQ(out, " ) ");
    // Deeper than ten: at most ten closers, and the inner ones closed first.
    closingBrackets("((((((((((((a", out);
    EXPECT_STREQ(out, ")))))))))) ");
    closingBrackets("((((((((((((a))", out);  // the two innermost are closed
    EXPECT_STREQ(out, ")))))))))) ");
    closingBrackets("((((((((((([a])))", out);  // twelve open, four closed
    EXPECT_STREQ(out, ")))))))) ");

    load({"x = f(a, g[b", "if ( a"});
    at(2, 0);
    ctrl('9');
    EXPECT_EQ(row(0), "x = f(a, g[b])");
    EXPECT_EQ(col(), 15);  // after the blank
    at(0, 1);
    ctrl('9');
    EXPECT_EQ(row(1), "if ( a )");

    // Near column 249 only what fits is typed.
    load({std::string(248, 'x') + "("});
    ctrl('9');
    EXPECT_EQ(row(0), std::string(248, 'x') + "(");
    EXPECT_EQ(row(0).size(), 249u);
}

TEST_F(KeyCommands, CtrlTwoContinuesNumberingDownwards) {
    load({"1. one", "", "x"});
    ctrl('2');
    EXPECT_EQ(doc(), (Lines{"1. one", "2", "x"}));
    EXPECT_EQ(line(), 1);
    EXPECT_EQ(col(), 0);
    ctrl('2');
    EXPECT_EQ(doc(), (Lines{"1. one", "2", "3x"}));

    // Character 255 has no successor: nothing happens at all.
    modified = 0;
    load({"\xFF", "a"});
    ctrl('2');
    EXPECT_EQ(doc(), (Lines{"\xFF", "a"}));
    EXPECT_EQ(line(), 0);
    EXPECT_EQ(modified, 0);
    // 254 gives 255.
    load({"\xFE"});
    ctrl('2');
    EXPECT_EQ(doc(), (Lines{"\xFE", "\xFF"}));
}

TEST_F(KeyCommands, CtrlHashBuildsABraceBlockAsOneKeystroke) {
    load({"    x", "y"});
    at(4, 0);
    recordToggle(0);
    ctrlChar(28);
    recordToggle(0);
    EXPECT_EQ(doc(), (Lines{"    {", "", "    }", "    x", "y"}));
    EXPECT_EQ(line(), 1);
    EXPECT_EQ(col(), 6);  // one indentation step further in
    EXPECT_EQ(recordCountGet(0), 1);
    EXPECT_EQ(lastKey().code, 28);
    EXPECT_EQ(keyDepth, 0);

    // Replayed, the whole sequence runs again.
    load({"z"});
    playBack(0);
    EXPECT_EQ(doc(), (Lines{"{", "", "}", "z"}));
    EXPECT_EQ(col(), 2);
}

// ---------------------------------------------------------------- paste and the block buffer

TEST_F(KeyCommands, PasteTypesShortTextsAndInsertsLinesBeforeTheCursorLine) {
    const int blocks = fmalloc_count();
    load({"first", "second"});
    at(5, 0);
    clip_put(" one");
    ctrl('V');
    EXPECT_EQ(doc(), (Lines{"first one", "second"}));
    EXPECT_EQ(col(), 9);
    EXPECT_EQ(modified, 1);

    headless_clipboard_clear();
    modified = 0;
    ctrl('V');
    EXPECT_EQ(doc(), (Lines{"first one", "second"}));  // nothing to paste

    clip_put("A\r\nB\nC\r\n\r\nD");
    at(3, 1);
    key(vk::kInsert, true);  // Shift+Insert pastes too
    EXPECT_EQ(doc(), (Lines{"first one", "A", "B", "C", "", "D", "second"}));
    EXPECT_EQ(line(), 6);  // still on its line
    EXPECT_EQ(cursorRow, 1);
    EXPECT_EQ(topLine, 5);
    EXPECT_TRUE(storeSound());

    // 200 characters or more without a line feed are lines too.
    load({"x"});
    clip_put(std::string(200, 'p').c_str());
    ctrl('V');
    EXPECT_EQ(doc(), (Lines{std::string(200, 'p'), "x"}));
    EXPECT_EQ(fmalloc_count(), blocks);  // the scratch block went back
}

TEST_F(KeyCommands, PastedLinesBreakAt80AfterABlankInTheLastFifteenColumns) {
    // 308 characters in one line: words of 13 letters, each with a blank.
    std::string text;
    for (int i = 0; i < 22; ++i) text += std::string(13, static_cast<char>('a' + i)) + " ";
    pasteWrap = 1;
    load({"end"});
    clip_put(text.c_str());
    ctrl('V');
    const Lines lines = doc();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines.back(), "end");
    std::string joined;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 80u);
        // Broken after the blank in column 69, the last one before 80.
        if (i + 2 < lines.size()) {
            EXPECT_EQ(lines[i].size(), 69u);
        }
        joined += lines[i] + " ";
    }
    EXPECT_EQ(joined, text);  // nothing lost: only the blank at each break went

    // Without a blank late enough the line is cut hard.
    char line[81];
    int pos = 0;
    const std::string hard = std::string(60, 'h') + " " + std::string(100, 'k');
    EXPECT_EQ(pasteCutLine(hard.c_str(), &pos, 80, line), 80);
    EXPECT_EQ(pos, 80);
    const std::string soft = std::string(70, 's') + " " + std::string(100, 'k');
    pos = 0;
    EXPECT_EQ(pasteCutLine(soft.c_str(), &pos, 80, line), 71);
    EXPECT_EQ(pos, 71);
    // A line that ends exactly at the width keeps its blank rule out of play.
    const std::string exact = std::string(70, 'e') + " " + std::string(9, 'e') + "\r\nnext";
    pos = 0;
    EXPECT_EQ(pasteCutLine(exact.c_str(), &pos, 80, line), 80);
    EXPECT_EQ(std::string(exact.c_str() + pos), "next");
    EXPECT_EQ(pasteCutLine(exact.c_str(), &pos, 80, line), 4);
    EXPECT_EQ(pasteCutLine(exact.c_str(), &pos, 80, line), -1);

    // Without "Umbruch bei ^V" the width is 250.
    pasteWrap = 0;
    load({"end"});
    clip_put(std::string(300, 'w').c_str());
    ctrl('V');
    EXPECT_EQ(doc(), (Lines{std::string(250, 'w'), std::string(50, 'w'), "end"}));
}

TEST_F(KeyCommands, PasteOfALongClipboardIsCutAtTheBlock) {
    std::string text;
    while (text.size() < 40000) text += std::string(99, 'c') + "\r\n";
    const int blocks = fmalloc_count();
    load({"end"});
    clip_put(text.c_str());
    ctrl('V');
    const Lines lines = doc();
    // 29999 characters are taken: whole lines of 99 and a CR LF, then the rest.
    const std::size_t whole = 29999 / 101, rest = 29999 % 101;
    ASSERT_EQ(lines.size(), whole + 2);
    EXPECT_EQ(lines[whole - 1], std::string(99, 'c'));
    EXPECT_EQ(lines[whole], std::string(rest, 'c'));
    EXPECT_EQ(lines[whole + 1], "end");
    EXPECT_EQ(fmalloc_count(), blocks);
    EXPECT_TRUE(storeSound());
}

using KeyCommandsDeathTest = KeyCommands;

TEST_F(KeyCommandsDeathTest, PasteWithoutItsBlockEndsTheProgram) {
    clip_put("text");
    EXPECT_DEATH(
        {
            fmalloc_test_fail_after(0);
            ctrl('V');
        },
        "ASSERT ERROR\ntaste\\.1409\n\\(text=fmalloc\\(30000,1\\)\\) != NULL\n");
}

TEST_F(KeyCommands, CtrlBPutsTheBlockBufferBackAndCtrlCCopiesIt) {
    blockRestartSet();
    blockStore("one");
    blockStore("  two");
    blockStore("three");
    load({"a", "x", "b"});
    at(0, 1);
    ctrl('B');
    EXPECT_EQ(doc(), (Lines{"a", "one", "  two", "three", "x", "b"}));
    EXPECT_EQ(line(), 4);  // still on x
    EXPECT_EQ(row(cursorRow), "x");
    EXPECT_TRUE(storeSound());
    ctrl('B');  // again: the same lines again
    EXPECT_EQ(doc(), (Lines{"a", "one", "  two", "three", "one", "  two", "three", "x", "b"}));

    ctrl('C');
    char clip[200];
    clip_get(clip, sizeof clip - 1);
    EXPECT_STREQ(clip, "one\r\n  two\r\nthree\r\n");
    key(vk::kInsert, false, true);  // Ctrl+Insert copies too
    clip_get(clip, sizeof clip - 1);
    EXPECT_STREQ(clip, "one\r\n  two\r\nthree\r\n");
}

// ---------------------------------------------------------------- a full store

TEST_F(KeyCommands, GrowingCommandsMeetingAFullStoreAreRefusedWithOneBox) {
    struct Case {
        const char* name;
        void (*prepare)();
        void (*act)();
    };
    const Case cases[] = {
        {"Ctrl+N", [] {}, [] { ctrl('N'); }},
        {"Ctrl+E", [] { lineStore("restored line"); }, [] { ctrl('E'); }},
        {"Enter past the end", [] { at(0, windowRows - 1); }, [] { key(vk::kReturn); }},
        {"Shift+Enter", [] {}, [] { key(vk::kReturn, true); }},
        {"Ctrl+Enter", [] { at(3, 0); }, [] { key(vk::kReturn, false, true); }},
        {"Ctrl+V typed", [] { clip_put("typed text"); }, [] { ctrl('V'); }},
        {"Ctrl+V lines", [] { clip_put("l1\r\nl2\r\n"); }, [] { ctrl('V'); }},
        {"Ctrl+B", [] { blockRestartSet(); blockStore("block"); }, [] { ctrl('B'); }},
        {"Ctrl+#", [] {}, [] { ctrlChar(28); }},
        {"Ctrl++", [] {}, [] { ctrlChar(29); }},
        {"Ctrl+Space", [] {}, [] { ctrlChar(32); }},
        {"Ctrl+R", [] {}, [] { ctrl('R'); }},
        {"Ctrl+0", [] {}, [] { ctrl('0'); }},
        {"Ctrl+9", [] {}, [] { ctrl('9'); }},
        {"Ctrl+2", [] {}, [] { ctrl('2'); }},
        {"Ctrl+U", [] { pieceStore("piece", 5); }, [] { ctrl('U'); }},
        {"Ctrl+\xD6", [] {}, [] { key(vk::kOe, false, true); }},
        {"typing", [] {}, [] { type("q"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless_reset();
        lineInsertMode = 0;
        load({"abc(de", "12 fg"});
        fillStoreLeaving(0);
        c.prepare();
        const Lines before = doc();
        const int lineBefore = line();
        modified = 0;
        c.act();
        EXPECT_EQ(doc(), before);
        EXPECT_EQ(line(), lineBefore);
        ASSERT_EQ(boxes(), 1);
        EXPECT_EQ(headless_boxes()[0].text, storeFullText);
        EXPECT_EQ(modified, 0);
        EXPECT_TRUE(storeSound());
        EXPECT_EQ(keyDepth, 0);
    }

    // With room for exactly the new line, Ctrl+N succeeds.
    headless_reset();
    load({"abc"});
    fillStoreLeaving(5);
    ctrl('N');
    EXPECT_EQ(boxes(), 0);
    EXPECT_EQ(row(1), "abc");
    // Shrinking and moving still work in a full store.
    fillStoreLeaving(0);
    ctrl('Y');
    at(1, 0);
    ctrl('Y');
    key(vk::kPrior, false, true);
    key(vk::kNext, false, true);
    EXPECT_EQ(boxes(), 0);
    EXPECT_TRUE(storeSound());
}

}  // namespace
