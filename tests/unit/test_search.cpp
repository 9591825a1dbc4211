// Tests of search and replace: the matching rule (case folding of the
// Windows-1252 letters, whole words, trimmed lines, the empty search text),
// F12 through a document longer than the window and sideways past the
// window's columns, F11 and the replacement within a line, the history rule
// and the reading of the dialog, the block replacement over marked lines, the
// 250-character and full-store refusals at their exact boundaries, and the
// commands and keys that reach them.
#include "view/search.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "support/platform.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "resources/resource.h"
#include "shell/appproc.h"
#include "textops/block.h"
#include "view/editing.h"
#include "view/marking.h"
#include "view/taste.h"

namespace {

using Lines = std::vector<std::string>;


class Search : public ::testing::Test {
  protected:
    void SetUp() override {
        editorStart();
        searchReset();
    }
    void TearDown() override {
        searchReset();
        editorStop();
    }

    static void load(const Lines& lines) {
        loadLines(lines);
        headless_reset();
    }

    // "line from" .. "line to-1".
    static Lines numbered(int from, int to) {
        Lines out;
        for (int i = from; i < to; ++i) out.push_back("line " + std::to_string(i));
        return out;
    }

    static void set(const char* text, const char* replacement = "", bool replacing = false) {
        std::strcpy(searchText, text);
        std::strcpy(replaceText, replacement);
        replaceEnabled = replacing ? 1 : 0;
    }

    static int column() { return firstCol + cursorCol; }

    static DocumentLines doc() { return documentLines(); }

    // The given document lines get the block mark '2' (the view stays).
    static void mark(std::initializer_list<int> lines, char m = '2') { markDocumentLines(lines, m); }

    static int boxes() { return static_cast<int>(headless_boxes().size()); }

};

// ---------------------------------------------------------------- matching

TEST_F(Search, CaseIsFoldedForTheLatinLettersUnlessCaseMatters) {
    set("\xFC" "ber");  // u-umlaut, lower case
    EXPECT_EQ(findInLine("DAR\xDC" "BER", 0), 3);
    EXPECT_EQ(findInLine("dar\xFC" "ber", 0), 3);
    caseSensitive = 1;
    EXPECT_EQ(findInLine("DAR\xDC" "BER", 0), -1);
    EXPECT_EQ(findInLine("dar\xFC" "ber \xFC" "ber", 4), 8);
    caseSensitive = 0;
    // Sharp s and y-diaeresis have no capital: they match only themselves.
    set("\xDF");
    EXPECT_EQ(findInLine("SS \xDF", 0), 3);
    set("\xFF");
    EXPECT_EQ(findInLine("\xDF\xFF", 0), 1);
}

TEST_F(Search, AWholeWordStandsBetweenDelimitersOrTheLinesEnds) {
    set("id");
    wholeWord = 1;
    EXPECT_EQ(findInLine("valid", 0), -1);
    EXPECT_EQ(findInLine("id_x", 0), -1);
    EXPECT_EQ(findInLine("x@id $id", 0), -1);
    EXPECT_EQ(findInLine("\xE9id", 0), -1);  // bytes from 192 on are word characters
    EXPECT_EQ(findInLine("x=id", 0), 2);
    EXPECT_EQ(findInLine("id", 0), 0);
    EXPECT_EQ(findInLine("id = 1", 0), 0);
    EXPECT_EQ(findInLine("valid id", 0), 6);
    EXPECT_EQ(findInLine("f(id)", 0), 2);
    wholeWord = 0;
    EXPECT_EQ(findInLine("valid", 0), 3);
}

TEST_F(Search, TheLineIsSearchedTrimmedFromTheStartOn) {
    set("a ");
    EXPECT_EQ(findInLine("xa", 0), -1);
    EXPECT_EQ(findInLine("xa   ", 0), -1);  // trailing blanks never match
    EXPECT_EQ(findInLine("xa b", 0), 1);
    set("ab");
    EXPECT_EQ(findInLine("abab", 1), 2);
    EXPECT_EQ(findInLine("abab", 3), -1);  // fewer than n characters left
    EXPECT_EQ(findInLine("abab", 4), -1);
    EXPECT_EQ(findInLine("abab", 0), 0);
    // The empty search text matches where the search starts, inside the text.
    set("");
    EXPECT_EQ(findInLine("abc", 2), 2);
    EXPECT_EQ(findInLine("abc  ", 3), -1);
    EXPECT_EQ(findInLine("", 0), -1);
}

// ---------------------------------------------------------------- F12

TEST_F(Search, F12GoesFromOccurrenceToOccurrenceAndEndsAfterTheDocument) {
    Lines lines = numbered(0, 60);
    lines[3] = "x needle y needle";
    lines[45] = "  needle";
    load(lines);
    // A mark on line 5 stays through F12 and travels with its line.
    cursorRow = 5;
    markSetInLine(0, 4);
    cursorRow = 3;
    set("needle");

    appCommandRoute(nullptr, 0, CMD_SEARCH_NEXT, 0);  // F12, from column 1 of the cursor's own line
    EXPECT_EQ(topLine, 0);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(column(), 2);
    searchNext();
    EXPECT_EQ(column(), 11);
    EXPECT_EQ(topLine, 0);

    // On to a line below the window: the found line comes into the cursor row.
    searchNext();
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(topLine, 42);
    EXPECT_EQ(topLine, aboveCountGet());
    EXPECT_EQ(rowText(3), "  needle");
    EXPECT_EQ(rowText(0), "line 42");
    EXPECT_EQ(rowText(17), "line 59");
    EXPECT_EQ(rowText(18), "");
    EXPECT_EQ(column(), 2);

    // Past the last occurrence: every line above, the cursor on the blank row
    // after the document's end; no box, no wrap-around.
    searchNext();
    EXPECT_EQ(topLine, 57);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(rowText(0), "line 57");
    EXPECT_EQ(rowText(2), "line 59");
    EXPECT_EQ(rowText(3), "");
    EXPECT_EQ(column(), 0);
    EXPECT_EQ(belowCountGet(), 0);
    EXPECT_EQ(boxes(), 0);
    EXPECT_EQ(doc().text, lines);
    EXPECT_EQ(modified, 0);
    searchNext();
    EXPECT_EQ(topLine, 57);
    EXPECT_EQ(doc().text, lines);
    EXPECT_EQ(markInfo().startLine, 5);
    keyDown('C', false, true, false);  // the mark's own text, from the line that carries it
    char clip[16];
    clip_get(clip, sizeof clip - 1);
    EXPECT_STREQ(clip, "line");
}

TEST_F(Search, F12ScrollsSidewaysToAMatchBeyondTheWindowsColumnsAndBack) {
    std::string far(120, '.');
    far += "needle";
    load({"needle at the start", far, "needle"});
    set("needle");
    searchNext();
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(topLine, 1);
    EXPECT_EQ(column(), 120);
    EXPECT_GT(firstCol, 40);
    EXPECT_LT(cursorCol, windowCols);
    searchNext();
    EXPECT_EQ(rowText(0), "needle");
    EXPECT_EQ(firstCol, 0);
    EXPECT_EQ(cursorCol, 0);
}

TEST_F(Search, TheEmptySearchTextStopsOneColumnOnOrAtTheNextTextLine) {
    load({"abc", "", "   ", "def"});
    set("");
    cursorCol = 1;
    searchNext();
    EXPECT_EQ(topLine + cursorRow, 0);
    EXPECT_EQ(column(), 2);
    searchNext();  // column 3 is past the text: the next line with text
    EXPECT_EQ(rowText(cursorRow), "def");
    EXPECT_EQ(column(), 0);
}

// ---------------------------------------------------------------- F11

TEST_F(Search, F11ReplacesOnlyAnOccurrenceAtTheCursorAndOnlyWhenReplacing) {
    load({"say ab to ab"});
    set("AB", "xyz", false);
    cursorCol = 4;
    EXPECT_EQ(replaceAtCursor(), 0);  // "Tauschen" off
    EXPECT_EQ(rowText(0), "say ab to ab");
    replaceEnabled = 1;
    cursorCol = 5;
    EXPECT_EQ(replaceAtCursor(), 0);  // not on an occurrence
    EXPECT_EQ(rowText(0), "say ab to ab");
    EXPECT_EQ(modified, 0);

    cursorCol = 4;
    EXPECT_EQ(replaceAtCursor(), 1);  // the case rule applies
    EXPECT_EQ(rowText(0), "say xyz to ab");
    EXPECT_EQ(column(), 7);
    EXPECT_EQ(modified, 1);

    // F12 then F11 replaces occurrence by occurrence.
    wholeWord = 1;
    std::strcpy(searchText, "to");
    std::strcpy(replaceText, "");
    cursorCol = 0;
    searchNext();
    EXPECT_EQ(column(), 8);
    EXPECT_EQ(replaceAtCursor(), 1);
    EXPECT_EQ(rowText(0), "say xyz  ab");
    EXPECT_EQ(column(), 8);
    // The whole-word rule is not applied at the cursor.
    load({"total"});
    EXPECT_EQ(replaceAtCursor(), 1);
    EXPECT_EQ(rowText(0), "tal");

    // A replacement at the line's end with a shorter text: trailing blanks
    // of the search text do not match the padding after the line.
    load({"ab"});
    set("ab ", "", true);
    EXPECT_EQ(replaceAtCursor(), 0);
    EXPECT_EQ(rowText(0), "ab");
}

TEST_F(Search, F11RefusesALineLongerThan250AndAFullStore) {
    // 248 characters; replacing "ab" by "abcd" makes 250: allowed; by "abcde" 251: refused.
    std::string line = std::string(120, 'x') + "ab" + std::string(126, 'y');
    load({line});
    cursorCol = 40;
    firstCol = 80;
    set("ab", "abcde", true);
    EXPECT_EQ(replaceAtCursor(), -1);
    ASSERT_EQ(boxes(), 1);
    EXPECT_EQ(headless_boxes()[0].text, replaceTooLongText);
    EXPECT_EQ(rowText(0), line);
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(column(), 120);

    std::strcpy(replaceText, "abcd");
    EXPECT_EQ(replaceAtCursor(), 1);
    EXPECT_EQ(rowText(0).size(), 250u);
    EXPECT_EQ(rowText(0).substr(118, 8), "xxabcdyy");
    EXPECT_EQ(column(), 124);

    // The store: the row grows by 3 bytes; with room for 2 it is refused.
    for (long spare : {2L, 3L}) {
        SCOPED_TRACE(spare);
        load({"one ab two", "more"});
        fillStoreLeaving(spare);
        headless_reset();
        cursorCol = 4;
        set("ab", "abcde", true);
        const int result = replaceAtCursor();
        if (spare < 3) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(rowText(0), "one ab two");
            ASSERT_EQ(boxes(), 1);
            EXPECT_EQ(headless_boxes()[0].text, storeFullText);
            EXPECT_EQ(modified, 0);
        } else {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(rowText(0), "one abcde two");
            EXPECT_EQ(boxes(), 0);
            EXPECT_EQ(storeSlack(), 0);
        }
    }
}

// ---------------------------------------------------------------- one line, all matches

TEST_F(Search, ReplaceAllNeverSearchesTheReplacementAndKeepsTooLongLines) {
    char text[kLineChars + 1];
    set("a", "aa", true);
    std::strcpy(text, "aaa");
    EXPECT_EQ(replaceAllInLine(text), 3);
    EXPECT_STREQ(text, "aaaaaa");

    set("x", "", true);
    std::strcpy(text, "axbx   ");
    EXPECT_EQ(replaceAllInLine(text), 2);
    EXPECT_STREQ(text, "ab");

    // The whole-word rule looks at the line as replaced so far.
    set("id", "ident", true);
    wholeWord = 1;
    std::strcpy(text, "id valid id_x x=id");
    EXPECT_EQ(replaceAllInLine(text), 2);
    EXPECT_STREQ(text, "ident valid id_x x=ident");
    wholeWord = 0;

    // Nothing without "Tauschen" or without a search text.
    set("a", "b", false);
    std::strcpy(text, "a");
    EXPECT_EQ(replaceAllInLine(text), 0);
    EXPECT_STREQ(text, "a");
    set("", "b", true);
    EXPECT_EQ(replaceAllInLine(text), 0);
    EXPECT_STREQ(text, "a");

    // 250 characters stay; 251 leave the line as it was.
    set("-", "--", true);
    std::strcpy(text, (std::string(248, '.') + "--").c_str());
    EXPECT_EQ(replaceAllInLine(text), -1);
    EXPECT_EQ(std::string(text), std::string(248, '.') + "--");
    std::strcpy(text, (std::string(248, '.') + "-").c_str());
    EXPECT_EQ(replaceAllInLine(text), 1);
    EXPECT_EQ(std::string(text), std::string(248, '.') + "--");
    // Every character of a full line replaced by fifty: far too long, unchanged.
    set("a", std::string(50, 'b').c_str(), true);
    std::strcpy(text, std::string(250, 'a').c_str());
    EXPECT_EQ(replaceAllInLine(text), -1);
    EXPECT_EQ(std::string(text), std::string(250, 'a'));
    // A replacement that ends in blanks at the end: measured trimmed.
    set("z", "y  ", true);
    std::strcpy(text, (std::string(249, '.') + "z").c_str());
    EXPECT_EQ(replaceAllInLine(text), 1);
    EXPECT_EQ(std::string(text), std::string(249, '.') + "y");
}

// ---------------------------------------------------------------- the dialogs' rules

TEST_F(Search, TheHistoryKeepsTenTextsTheNewestFirst) {
    SearchHistory h{};
    historyAdd(&h, "");
    historyAdd(&h, "   ");
    EXPECT_STREQ(h.items[0], "");
    for (int i = 0; i < 12; ++i) historyAdd(&h, ("t" + std::to_string(i)).c_str());
    EXPECT_STREQ(h.items[0], "t11");
    EXPECT_STREQ(h.items[9], "t2");  // the oldest fell off
    historyAdd(&h, "t11");           // equal at 0: stays
    EXPECT_STREQ(h.items[0], "t11");
    EXPECT_STREQ(h.items[1], "t10");
    historyAdd(&h, "t5");  // further down: moved to the front
    EXPECT_STREQ(h.items[0], "t5");
    EXPECT_STREQ(h.items[1], "t11");
    EXPECT_STREQ(h.items[6], "t6");
    EXPECT_STREQ(h.items[7], "t4");
    EXPECT_STREQ(h.items[9], "t2");
    historyAdd(&h, "T5");  // compared exactly
    EXPECT_STREQ(h.items[0], "T5");
    EXPECT_STREQ(h.items[1], "t5");

    // On a combo box's first items: which to delete, whether to insert.
    SearchHistory combo{};
    std::strcpy(combo.items[0], "a");
    std::strcpy(combo.items[1], "b");
    HistoryStep step = historyStep(&combo, 2, "b");
    EXPECT_TRUE(step.insert);
    EXPECT_EQ(step.remove, 1);
    step = historyStep(&combo, 2, "a");
    EXPECT_FALSE(step.insert);
    step = historyStep(&combo, 1, "b");  // only the items there are compared
    EXPECT_TRUE(step.insert);
    EXPECT_EQ(step.remove, -1);
    step = historyStep(&combo, 2, " \t");
    EXPECT_FALSE(step.insert);
}

TEST_F(Search, ReadingTheDialogSetsTheTextsAndFlags) {
    SearchDialogValues v{1, 1, 1, "", ""};
    std::strcpy(v.searchText, "such");
    std::strcpy(v.replaceText, "tausch");
    dialogRead(0, &v);  // "Tauschen" is not taken: replacing stays off
    EXPECT_EQ(wholeWord, 1);
    EXPECT_EQ(caseSensitive, 1);
    EXPECT_EQ(replaceEnabled, 0);
    EXPECT_STREQ(searchText, "such");
    EXPECT_STREQ(replaceText, "");
    dialogRead(1, &v);
    EXPECT_EQ(replaceEnabled, 1);
    EXPECT_STREQ(replaceText, "tausch");
    v = SearchDialogValues{0, 0, 0, "x", "y"};
    dialogRead(0, &v);  // replacing stays on
    EXPECT_EQ(wholeWord, 0);
    EXPECT_EQ(replaceEnabled, 1);
    EXPECT_STREQ(replaceText, "y");

    EXPECT_EQ(replaceFlagClicked(1), SEARCH_REPLACE_COMBO);
    EXPECT_EQ(replaceEnabled, 1);
    EXPECT_EQ(replaceFlagClicked(0), SEARCH_TEXT_COMBO);
    EXPECT_EQ(replaceEnabled, 0);

    // The search text from elsewhere: cut to 50, also history entry 0.
    std::strcpy(searchHistory.items[0], "old");
    std::strcpy(searchHistory.items[1], "older");
    searchTextSet(std::string(60, 'q').c_str());
    EXPECT_EQ(std::string(searchText), std::string(50, 'q'));
    EXPECT_EQ(std::string(searchHistory.items[0]), std::string(50, 'q'));
    EXPECT_STREQ(searchHistory.items[1], "older");
}

// ---------------------------------------------------------------- the block

TEST_F(Search, BlockReplaceChangesOnlyTheMarkedLinesAndKeepsTheView) {
    Lines lines = numbered(0, 60);
    lines[2] = "aaa";
    lines[30] = "aaa";
    lines[50] = "a b a";
    load(lines);
    mark({2, 50, 51});
    ASSERT_EQ(gotoLineAtTop(25), 0);
    cursorRow = 6;
    set("a", "aa", true);
    EXPECT_EQ(block_replace(), 0);
    Lines want = lines;
    want[2] = "aaaaaa";
    want[50] = "aa b aa";
    EXPECT_EQ(doc().text, want);
    std::string marks(60, '0');
    marks[2] = marks[50] = marks[51] = '2';
    EXPECT_EQ(doc().marks, marks);
    EXPECT_EQ(topLine, 25);
    EXPECT_EQ(topLine, aboveCountGet());
    EXPECT_EQ(cursorRow, 6);
    EXPECT_EQ(rowText(5), "aaa");
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(boxes(), 0);
}

TEST_F(Search, BlockReplaceFollowsWholeWordAndCase) {
    struct Row { int whole, caseMatters; const char* want; };
    static const Row rows[] = {
        {0, 0, "X X Xc _X"},
        {1, 0, "X X abc _ab"},
        {0, 1, "X Ab Xc _X"},
        {1, 1, "X Ab abc _ab"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.whole) + std::to_string(r.caseMatters));
        load({"ab Ab abc _ab", "ab"});
        mark({0});
        set("ab", "X", true);
        wholeWord = r.whole;  // "W&ort"
        caseSensitive = r.caseMatters;  // "&Gross/Klein"
        EXPECT_EQ(block_replace(), 0);
        EXPECT_EQ(doc().text, (Lines{r.want, "ab"}));
    }
}

TEST_F(Search, BlockReplaceLeavesTooLongLinesAndTellsHowManyOnce) {
    const std::string full = std::string(249, '.') + "-";
    load({full, "-", full, "x"});
    mark({0, 1, 2, 3});
    set("-", "--", true);
    EXPECT_EQ(block_replace(), 0);
    EXPECT_EQ(doc().text, (Lines{full, "--", full, "x"}));
    ASSERT_EQ(boxes(), 1);
    char want[200];
    std::snprintf(want, sizeof want, linesLeftTooLongText, 2);
    EXPECT_EQ(headless_boxes()[0].text, want);
}

TEST_F(Search, BlockReplaceMeetingAFullStoreIsRefusedAsAWhole) {
    // The three marked lines grow by 2, 1 and 1 bytes: 4 bytes needed.
    for (long spare : {3L, 4L}) {
        SCOPED_TRACE(spare);
        load({"a-a", "kept a", "b a", "--a--"});
        mark({0, 2, 3});
        set("a", "aa", true);
        fillStoreLeaving(spare);
        const DocumentLines before = doc();
        const int top = topLine;
        headless_reset();
        const int result = block_replace();
        if (spare < 4) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(doc().text, before.text);
            EXPECT_EQ(topLine, top);
            ASSERT_EQ(boxes(), 1);
            EXPECT_EQ(headless_boxes()[0].text, storeFullText);
            EXPECT_EQ(modified, 0);
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(boxes(), 0);
            const Lines& t = doc().text;
            ASSERT_GE(t.size(), 4u);
            EXPECT_EQ(Lines(t.end() - 4, t.end()), (Lines{"aa-aa", "kept a", "b aa", "--aa--"}));
            EXPECT_EQ(topLine, top);
            EXPECT_GE(storeSlack(), 0);
        }
    }
}

// ---------------------------------------------------------------- commands and keys

TEST_F(Search, TheCommandsAndKeysReachTheSearch) {
    load({"one two", "two", "three two"});
    set("two", "2", true);
    appCommandRoute(nullptr, 0, CMD_SEARCH_NEXT, 0);  // F12
    EXPECT_EQ(column(), 4);
    appCommandRoute(nullptr, 0, CMD_REPLACE_AT_CURSOR, 0);  // F11
    EXPECT_EQ(rowText(0), "one 2");
    keyDown('W', false, true, false);  // Ctrl+W
    EXPECT_EQ(rowText(cursorRow), "two");
    EXPECT_EQ(topLine, 1);
    EXPECT_EQ(column(), 0);

    // Ctrl+F: the marked text becomes the search text, the dialog's command is posted.
    cursorRow = 1;  // "three two"
    markSetInLine(0, 5);
    keyDown('F', false, true, false);
    EXPECT_STREQ(searchText, "three");
    EXPECT_STREQ(searchHistory.items[0], "three");
    EXPECT_EQ(markActiveGet(), 0);
    ASSERT_EQ(headless_posted_commands().size(), 1u);
    EXPECT_EQ(headless_posted_commands()[0].id, CMD_SEARCH);
    // Without a mark the search text stays.
    keyDown('F', false, true, false);
    EXPECT_STREQ(searchText, "three");
    EXPECT_EQ(headless_posted_commands().size(), 2u);
    EXPECT_EQ(doc().text, (Lines{"one 2", "two", "three two"}));
}

}  // namespace
