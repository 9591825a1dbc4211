// Tests of the editing primitives: typing and deleting with and without
// "Spaltentreue", the 250-column edge, horizontal scrolling in steps of 10,
// scrolling by a line at the document's ends, the next line with
// automatic indentation, what typing repaints, and the refusals of a full store.
// Through the headless host, which records repaints and boxes.
#include "view/editing.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "view/options.h"
#include "view/textview.h"

namespace {

class Editing : public ::testing::Test {
  protected:
    void SetUp() override { editorStart(); }
    void TearDown() override { editorStop(); }

    static int column() { return firstCol + cursorCol; }
    static void typeAll(const char* s) {
        for (; *s; ++s) typeChar(static_cast<unsigned char>(*s), 1);
    }
    // Both stacks walk to their counts and the offsets fit the area.
    static bool storeConsistent() {
        int above = 0, below = 0;
        visitAbove([](LineRecord*, void* n) { ++*static_cast<int*>(n); return 1; }, &above);
        visitBelow([](LineRecord*, void* n) { ++*static_cast<int*>(n); return 1; }, &below);
        const StoreLayout s = storeLayout();
        return above == s.aboveCount && below == s.belowCount && s.aboveTop <= s.belowStart &&
               s.belowStart <= s.lineAreaSize && topLine == s.aboveCount;
    }
};

TEST_F(Editing, InsertWithColumnKeepPushesOnlyUpToTheNextDoubleBlank) {
    setRow(0, "abcd  xy");
    cursorToColumn(2);
    typeChar('Z', 1);
    EXPECT_EQ(rowText(0), "abZcd xy");  // x stays in column 6
    EXPECT_EQ(column(), 3);
    typeChar('Z', 1);
    EXPECT_EQ(rowText(0), "abZZcd xy");  // the gap was one blank: the rest moves
    EXPECT_EQ(modified, 1);
    setRow(3, "ab  cd");
    cursorSet(2, 3);
    typeChar('X', 1);  // on the double blank itself: nothing moves
    EXPECT_EQ(rowText(3), "abX cd");

    columnKeep = 0;
    setRow(1, "abcd  xy");
    cursorSet(2, 1);
    typeChar('Z', 1);
    EXPECT_EQ(rowText(1), "abZcd  xy");

    // A full row loses its last character to an insert.
    std::string full(250, 'a');
    full[249] = 'z';
    setRow(2, full.c_str());
    cursorSet(0, 2);
    typeChar('b', 1);
    EXPECT_EQ(rowText(2), "b" + std::string(249, 'a'));
}

TEST_F(Editing, DeleteWithColumnKeepBlanksBeforeTheDoubleBlank) {
    setRow(0, "abcd  xy");
    cursorToColumn(2);
    deleteChars(1);
    EXPECT_EQ(rowText(0), "abd   xy");  // x still in column 6
    EXPECT_EQ(column(), 2);
    EXPECT_EQ(modified, 1);
    char piece[UNDELETE_TEXT_MAX + 1];
    ASSERT_EQ(pieceFetch(piece, false), 0);
    EXPECT_STREQ(piece, "c");

    columnKeep = 0;
    setRow(0, "abcd  xy");
    deleteChars(2);
    EXPECT_EQ(rowText(0), "ab  xy");

    // Past the row's end only columns up to 249 go, into the piece buffer.
    std::string tail(250, '-');
    tail.replace(245, 5, "VWXYZ");
    setRow(1, tail.c_str());
    cursorToColumn(245);
    cursorRow = 1;
    deleteChars(10);
    EXPECT_EQ(rowText(1), std::string(245, '-'));
    ASSERT_EQ(pieceFetch(piece, false), 0);
    EXPECT_STREQ(piece, "VWXYZ");
    deleteChars(0);
    EXPECT_EQ(rowText(1), std::string(245, '-'));
}

TEST_F(Editing, OverwriteMovesNothingAndColumn249KeepsTheCursor) {
    insertMode = 0;
    setRow(0, "abcd  xy");
    cursorToColumn(1);
    typeAll("XY");
    EXPECT_EQ(rowText(0), "aXYd  xy");

    cursorToColumn(249);
    EXPECT_EQ(column(), 249);
    typeChar('Q', 1);
    typeChar('R', 1);
    LineRecord row;
    rowGetRaw(0, &row);
    EXPECT_EQ(row.text[249], 'R');
    EXPECT_EQ(row.text[248], ' ');
    EXPECT_EQ(column(), 249);

    // "Anf.Zeichen" types the same characters; a NUL is never typed.
    quoteOption = 1;
    firstCol = 0;
    setRow(1, "a1 (x");
    cursorSet(2, 1);
    typeAll("\"b");
    typeChar(0, 1);
    EXPECT_EQ(rowText(1), "a1\"bx");
}

TEST_F(Editing, CursorColumnsScrollTheViewInStepsOfTen) {
    cursorToColumn(250);
    EXPECT_EQ(column(), 0);
    cursorToColumn(-3);
    EXPECT_EQ(cursorCol, 0);
    EXPECT_EQ(headless_record().viewRepaints, 0);  // inside the window nothing repaints

    cursorToColumn(85);
    EXPECT_EQ(firstCol, 10);
    EXPECT_EQ(cursorCol, 75);
    EXPECT_EQ(headless_record().viewRepaints, 1);
    shiftRight(1000);  // never past column 249
    EXPECT_EQ(column(), 249);
    EXPECT_EQ(firstCol % 10, 0);
    cursorToColumn(5);
    EXPECT_EQ(firstCol, 0);
    EXPECT_EQ(cursorCol, 5);

    // viewRight stops where the window shows column 249 last; the cursor cell stays.
    firstCol = 0;
    cursorCol = 7;
    viewRight();
    EXPECT_EQ(firstCol, 10);
    EXPECT_EQ(cursorCol, 7);
    for (int i = 0; i < 30; ++i) viewRight();
    EXPECT_EQ(firstCol, 169);
    // From an offset that is no multiple of 10 the cursor still lands on its column.
    cursorToColumn(3);
    EXPECT_EQ(firstCol, 0);
    EXPECT_EQ(column(), 3);
    viewRight();
    viewLeft();
    viewLeft();
    EXPECT_EQ(firstCol, 0);

    // A narrower window reaches further right; cells past column 249 take no cursor.
    windowCols = 75;
    cursorToColumn(249);
    EXPECT_EQ(firstCol, 180);
    cursorSet(74, 2);
    EXPECT_EQ(column(), 249);
    EXPECT_EQ(cursorRow, 2);
    cursorSet(-5, 40);
    EXPECT_EQ(cursorCol, 0);
    EXPECT_EQ(cursorRow, 19);
}

// Typing in any window width puts every character next to the one before
// and keeps the cursor in the window; from 10 columns on the view moves in
// steps of 10, in a narrower window by its width.
TEST_F(Editing, TypingInAnyWindowWidthLeavesNoGapAndLosesNoCharacter) {
    struct Row { int cols, step; };
    static const Row rows[] = {{1, 1}, {5, 5}, {9, 9}, {10, 10}, {11, 10}, {80, 10}};
    std::string typed;
    for (int i = 0; i < 260; ++i) typed += static_cast<char>('0' + i % 43);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cols);
        rowsClearAll();
        firstCol = cursorCol = 0;
        windowCols = r.cols;
        for (int i = 0; i < 260; ++i) {
            typeChar(static_cast<unsigned char>(typed[i]), 1);
            ASSERT_EQ(column(), std::min(i + 1, 249));  // column 249 keeps the cursor
            ASSERT_LT(cursorCol, r.cols);
            ASSERT_EQ(firstCol % r.step, 0);
        }
        EXPECT_EQ(rowText(0), typed.substr(0, 249) + typed.back());
        for (int c = 248; c >= 0; --c) {
            cursorToColumn(c);  // back by single columns, each one visited
            ASSERT_EQ(column(), c);
        }
        viewRight();
        EXPECT_EQ(firstCol, std::min(r.step, 249 - r.cols));
    }
}

TEST_F(Editing, TypingRepaintsOneRowSegmentWithoutAFullRepaint) {
    setRow(3, "hello");
    cursorSet(5, 3);
    typeChar('!', 1);
    const HeadlessRecord& rec = headless_record();
    EXPECT_EQ(rec.rowPaintContexts, 1);
    EXPECT_EQ(rec.textsPainted, 1);
    EXPECT_EQ(rec.lastRowPainted, 3);
    EXPECT_EQ(rec.lastTextCol, 5);
    EXPECT_EQ(rec.lastTextLength, 75);  // from the cursor to the window's end
    EXPECT_EQ(rec.rowsPainted, 0);
    EXPECT_EQ(rec.viewRepaints, 0);
    EXPECT_EQ(rec.openContexts, 0);

    headless_reset();
    typeText("abc");
    EXPECT_EQ(rowText(3), "hello!abc");
    EXPECT_EQ(rec.rowPaintContexts, 1);
    EXPECT_EQ(rec.rowsPainted, 1);
    EXPECT_EQ(rec.textsPainted, 0);
    EXPECT_EQ(rec.viewRepaints, 0);
    EXPECT_EQ(rec.nestedContexts, 0);

    headless_reset();
    deleteChars(1);
    EXPECT_EQ(rec.rowPaintContexts, 1);
    EXPECT_EQ(rec.textsPainted, 1);
    EXPECT_EQ(rec.viewRepaints, 0);
}

TEST_F(Editing, NextLineIndentsAfterAnOpeningBracket) {
    setRow(0, "  if (x) {");  // merely ends with "{": no extra step
    cursorSet(9, 0);
    nextLine();
    EXPECT_EQ(cursorRow, 1);
    EXPECT_EQ(column(), 2);

    setRow(2, "    {");
    cursorSet(0, 2);
    nextLine();  // onto a blank row: one step deeper
    EXPECT_EQ(column(), 6);
    indentStep = 4;
    setRow(4, " (a,");
    cursorSet(0, 4);
    nextLine();
    nextLine();  // the blank rows above are passed over
    EXPECT_EQ(cursorRow, 6);
    EXPECT_EQ(column(), 5);

    setRow(8, "   [");
    setRow(9, "      { text");
    cursorSet(0, 8);
    nextLine();  // a next line with text: its first character, no extra step
    EXPECT_EQ(column(), 6);

    autoIndent = 0;
    cursorSet(0, 8);
    nextLine();
    EXPECT_EQ(column(), 0);
}

TEST_F(Editing, ScrollingStopsAtTheDocumentsEnds) {
    makeDocument(30);
    cursorSet(3, 7);
    EXPECT_EQ(scrollViewUp(), 0);  // nothing above
    EXPECT_EQ(topLine, 0);
    EXPECT_EQ(headless_record().viewRepaints, 0);

    EXPECT_EQ(scrollViewDown(), 0);
    EXPECT_EQ(topLine, 1);
    EXPECT_EQ(rowText(0), "line 1");
    EXPECT_EQ(rowText(19), "line 20");
    EXPECT_EQ(cursorRow, 7);
    EXPECT_EQ(scrollViewUp(), 0);
    EXPECT_EQ(topLine, 0);
    EXPECT_EQ(rowText(0), "line 0");
    EXPECT_EQ(rowText(19), "line 19");
    EXPECT_TRUE(storeConsistent());

    for (int i = 0; i < 15; ++i) scrollViewDown();
    EXPECT_EQ(topLine, 10);  // the last line reached the last row
    EXPECT_EQ(rowText(19), "line 29");
    EXPECT_EQ(belowCountGet(), 0);

    // Past the end only scrollViewDownAlways goes on, with blank rows.
    scrollViewDownAlways();
    EXPECT_EQ(topLine, 11);
    EXPECT_EQ(rowText(18), "line 29");
    EXPECT_EQ(rowText(19), "");
    cursorSet(0, 19);
    nextLine();  // in the last row Enter scrolls even past the end
    EXPECT_EQ(topLine, 12);
    EXPECT_EQ(cursorRow, 19);
    EXPECT_TRUE(storeConsistent());

    // All 30 lines are still there.
    ASSERT_EQ(flushWindowBelow(), 0);
    moveAllBelow();
    topLine = 0;
    fillWindowFromBelow();
    EXPECT_EQ(rowText(0), "line 0");
    EXPECT_EQ(belowCountGet(), 10);
}

TEST_F(Editing, AFullStoreRefusesTheEditAndLosesNothing) {
    fillStoreLeaving(10);
    const StoreLayout before = storeLayout();
    std::string typed;
    for (int i = 0; i < 20; ++i) {
        const char c = static_cast<char>('a' + i);
        if (typeChar(c, 1) == 0) typed += c;
    }
    EXPECT_EQ(typed, "abcdefghij");
    EXPECT_EQ(rowText(0), typed);
    ASSERT_EQ(headless_boxes().size(), 10u);  // one per refused keystroke
    EXPECT_EQ(headless_boxes()[0].text, storeFullText);
    EXPECT_EQ(storeLayout().aboveTop, before.aboveTop);

    // Edits that do not grow the text still work; deleting always does.
    insertMode = 0;
    cursorToColumn(0);
    EXPECT_EQ(typeChar('A', 1), 0);
    deleteChars(3);
    EXPECT_EQ(rowText(0), "Aefghij");

    // A text is refused as a whole, told once; within one action one box.
    headless_reset();
    insertMode = 1;
    EXPECT_EQ(typeText("123456"), -1);
    EXPECT_EQ(rowText(0), "Aefghij");
    {
        EditAction action;
        EXPECT_EQ(typeText("123456"), -1);
        cursorToColumn(120);
        EXPECT_EQ(typeChar('x', 1), -1);  // an empty row would grow by 121
    }
    EXPECT_EQ(headless_boxes().size(), 2u);

    // Past the document's end a blank row needs room too; with none the view stays.
    fillStoreLeaving(3);
    headless_reset();
    cursorSet(0, windowRows - 1);
    EXPECT_EQ(nextLine(), -1);
    EXPECT_EQ(topLine, aboveCountGet());
    EXPECT_EQ(headless_boxes().size(), 1u);

    // Everything typed is there after the rows went into the store.
    EXPECT_TRUE(storeConsistent());
    ASSERT_EQ(flushWindowBelow(), 0);
    LineRecord line;
    ASSERT_EQ(popBelow(&line), 0);
    EXPECT_STREQ(line.text, "Aefghij");
}

}  // namespace
