// Tests of the line block: marking (begin, end, function, single lines from the
// keyboard), copy, move, delete, clipboard and count on documents longer than
// the window, so that the gap moves between the stacks matter; the full-store
// refusals at their exact boundary; the keys and the menu commands that reach
// the block. Each check looks at the whole document (texts and marks) and at
// the window (top line, cursor row, rows' texts).
#include "textops/block.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
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
#include "resources/resource.h"
#include "shell/appproc.h"
#include "view/editing.h"
#include "view/marking.h"
#include "view/taste.h"

namespace {

using Lines = std::vector<std::string>;

// "line from" .. "line to-1".
Lines numbered(int from, int to) {
    Lines out;
    for (int i = from; i < to; ++i) out.push_back("line " + std::to_string(i));
    return out;
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}


class Block : public ::testing::Test {
  protected:
    void SetUp() override { editorStart(); }
    void TearDown() override { editorStop(); }

    static void load(const Lines& lines) {
        loadLines(lines);
    }

    // Document line `line` in window row `row`, the cursor on it.
    static void place(int line, int row) {
        ASSERT_EQ(gotoLineAtTop(line - row), 0);
        ASSERT_EQ(topLine, line - row);
        cursorRow = row;
        cursorCol = firstCol = 0;
        headless_reset();
    }

    static DocumentLines doc() { return documentLines(); }

    // Sets the mark of the given document lines without moving the view.
    static void mark(std::initializer_list<int> lines, char m = '2') { markDocumentLines(lines, m); }

    // Marks string of n lines: '0' everywhere except the given runs.
    static std::string marks(int n, std::initializer_list<std::pair<int, char>> set) {
        std::string s(static_cast<std::size_t>(n), '0');
        for (const auto& [line, m] : set) s[static_cast<std::size_t>(line)] = m;
        return s;
    }

    // The window shows `expected` from line `top`, the cursor in `row`.
    static ::testing::AssertionResult windowShows(const Lines& expected, int top, int row) {
        if (topLine != top) return ::testing::AssertionFailure() << "topLine " << topLine << ", wanted " << top;
        if (cursorRow != row) return ::testing::AssertionFailure() << "cursorRow " << cursorRow << ", wanted " << row;
        if (topLine != aboveCountGet()) return ::testing::AssertionFailure() << "topLine is not aboveCount";
        for (int r = 0; r < windowRows; ++r) {
            const std::size_t i = static_cast<std::size_t>(top + r);
            const std::string want = i < expected.size() ? expected[i] : "";
            if (rowText(r) != want)
                return ::testing::AssertionFailure() << "row " << r << " is \"" << rowText(r) << "\", wanted \"" << want << "\"";
        }
        return ::testing::AssertionSuccess();
    }

    // Both stacks are sound record by record and agree with the counts.
    static ::testing::AssertionResult storeSound() {
        const StoreLayout s = storeLayout();
        if (s.aboveTop > s.belowStart || s.belowStart > s.lineAreaSize)
            return ::testing::AssertionFailure() << "stacks overlap";
        auto walk = [](const StoreLayout& l, std::uint32_t from, std::uint32_t to) {
            std::int32_t n = 0;
            for (std::uint32_t off = from; off < to; ++n) {
                const int size = l.lineArea[off];
                if (size < 3 || size > 253 || off + size + 2 > to || l.lineArea[off + size + 1] != size) return -1;
                off += static_cast<std::uint32_t>(size) + 2;
            }
            return n;
        };
        if (walk(s, 0, s.aboveTop) != s.aboveCount) return ::testing::AssertionFailure() << "above stack broken";
        if (walk(s, s.belowStart, s.lineAreaSize) != s.belowCount)
            return ::testing::AssertionFailure() << "below stack broken";
        return ::testing::AssertionSuccess();
    }

    static std::string clipboard() {
        std::vector<char> buf(130000);
        clip_get(buf.data(), static_cast<int>(buf.size()) - 1);
        return buf.data();
    }

    static int boxes() { return static_cast<int>(headless_boxes().size()); }


    static void command(int id) { appCommandRoute(nullptr, 0, id, 0); }
};

// ---------------------------------------------------------------- begin, end, fill

TEST_F(Block, BeginAndEndMarkFromTheFirstToTheLastLine) {
    load(numbered(0, 60));
    place(10, 3);  // line 10 in the window, lines above and below in the stacks
    block_begin();
    place(35, 12);  // the end in another window position
    block_end();
    EXPECT_EQ(doc().text, numbered(0, 60));
    std::string want(60, '0');
    want[10] = '1';
    std::fill(want.begin() + 11, want.begin() + 35, '2');
    want[35] = '3';
    EXPECT_EQ(doc().marks, want);
    EXPECT_TRUE(windowShows(numbered(0, 60), 23, 12));  // the view did not move
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(block_count(), 26);
    EXPECT_TRUE(windowShows(numbered(0, 60), 23, 12));

    // A second "Anfang" moves the begin and the fill is recomputed.
    place(20, 5);
    block_begin();
    want.assign(60, '0');
    want[20] = '1';
    std::fill(want.begin() + 21, want.begin() + 35, '2');
    want[35] = '3';
    EXPECT_EQ(doc().marks, want);
    // So does a second "Ende".
    place(25, 19);
    block_end();
    want.assign(60, '0');
    want[20] = '1';
    std::fill(want.begin() + 21, want.begin() + 25, '2');
    want[25] = '3';
    EXPECT_EQ(doc().marks, want);
    EXPECT_TRUE(storeSound());
}

TEST_F(Block, AnEndAboveTheBeginMarksToTheDocumentsEnd) {
    load(numbered(0, 60));
    place(30, 10);
    block_begin();
    place(20, 10);
    block_end();
    std::string want(60, '0');
    want[20] = '3';
    want[30] = '1';
    std::fill(want.begin() + 31, want.end(), '2');
    EXPECT_EQ(doc().marks, want);
    EXPECT_EQ(block_count(), 31);
    EXPECT_EQ(doc().text, numbered(0, 60));  // no blank line gained at the end
}

TEST_F(Block, AKeyboardLineSurvivesUntilTheNextBeginOrEnd) {
    load(numbered(0, 60));
    place(40, 10);
    block_mark_line(1);
    EXPECT_EQ(doc().marks, marks(60, {{40, '2'}}));
    EXPECT_EQ(headless_record().rowPaintContexts, 1);  // its row repainted
    // Walks of the whole document and moves through it keep it.
    EXPECT_EQ(block_count(), 1);
    place(5, 2);
    place(50, 19);
    EXPECT_EQ(doc().marks, marks(60, {{40, '2'}}));
    // "Funktion" keeps other marks too.
    place(0, 0);
    block_function();  // "line 0" never ends a function: to the document's end
    EXPECT_EQ(block_count(), 60);
    block_unmark();
    EXPECT_EQ(doc().marks, std::string(60, '0'));

    place(40, 10);
    block_mark_line(1);
    place(10, 10);
    block_begin();  // no "Ende": from line 10 to the document's end
    std::string want(60, '0');
    want[10] = '1';
    std::fill(want.begin() + 11, want.end(), '2');
    EXPECT_EQ(doc().marks, want);
    block_unmark();

    place(40, 10);
    block_mark_line(1);
    place(10, 10);
    block_end();  // an end without a begin: the stray line is cleared
    EXPECT_EQ(doc().marks, marks(60, {{10, '3'}}));
    EXPECT_TRUE(storeSound());
}

// ---------------------------------------------------------------- function, unmark

TEST_F(Block, FunctionMarksUpToItsEndingLine) {
    const Lines text = numbered(0, 20) +
                       Lines{"int f(void)", "{", "  }", "  x = 1;", "}", "after", "proc p", "  End of it",
                             "ENDPROC", "tail"} +
                       numbered(30, 60);
    load(text);
    place(20, 10);
    block_function();  // "  }" is indented: the function ends at "}"
    EXPECT_EQ(doc().marks, marks(60, {{20, '1'}, {21, '1'}, {22, '1'}, {23, '1'}, {24, '1'}}));
    EXPECT_TRUE(windowShows(text, 10, 10));
    EXPECT_EQ(modified, 0);

    block_unmark();
    EXPECT_EQ(doc().marks, std::string(60, '0'));
    EXPECT_TRUE(windowShows(text, 10, 10));

    place(24, 0);  // on "}" itself: that line only
    block_function();
    EXPECT_EQ(doc().marks, marks(60, {{24, '1'}}));
    place(26, 19);  // "end" in any case, in the first column only
    block_function();
    EXPECT_EQ(doc().marks, marks(60, {{24, '1'}, {26, '1'}, {27, '1'}, {28, '1'}}));
    for (const char* ending : {")x", "[", ".end", "endless"}) {
        SCOPED_TRACE(ending);
        load(Lines{"a", "b", ending, "c"});
        block_function();
        EXPECT_EQ(doc().marks, "1110");
    }
}

// ---------------------------------------------------------------- copy

TEST_F(Block, CopyPutsTheMarkedLinesBeforeTheCursorLine) {
    load(numbered(0, 60));
    mark({5, 31, 32, 50});  // above, below and far below the cursor line
    place(25, 10);
    ASSERT_EQ(block_copy(0), 0);
    const Lines want = numbered(0, 25) + Lines{"line 5", "line 31", "line 32", "line 50"} + numbered(25, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_EQ(doc().marks, std::string(64, '0'));  // copies and originals unmarked
    EXPECT_TRUE(windowShows(want, 19, 10));          // still on "line 25", same row
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(boxes(), 0);
    EXPECT_TRUE(storeSound());

    // With the cursor inside the block the originals stay where they are.
    load(numbered(0, 60));
    mark({30, 31, 32}, '2');
    place(31, 15);
    ASSERT_EQ(block_copy(0), 0);
    const Lines inside = numbered(0, 31) + Lines{"line 30", "line 31", "line 32"} + numbered(31, 60);
    EXPECT_EQ(doc().text, inside);
    EXPECT_TRUE(windowShows(inside, 19, 15));

    // With the undelete flag the marks stay and the texts go to the block buffer.
    load(numbered(0, 60));
    mark({2, 40});
    place(20, 18);
    blockRestartSet();
    ASSERT_EQ(block_copy(1), 0);
    EXPECT_EQ(doc().text, numbered(0, 20) + numbered(2, 3) + numbered(40, 41) + numbered(20, 60));
    EXPECT_EQ(doc().marks, marks(62, {{2, '2'}, {42, '2'}}));
    char text[UNDELETE_TEXT_MAX + 1];
    ASSERT_EQ(blockFetch(true, text), 0);
    EXPECT_STREQ(text, "line 2");
    ASSERT_EQ(blockFetch(false, text), 0);
    EXPECT_STREQ(text, "line 40");
    EXPECT_EQ(blockFetch(false, text), -1);
}

TEST_F(Block, CopyOfManyLongLinesGoesInSeveralBatches) {
    // 150 marked lines of 200 characters: more than one collection of texts.
    Lines text;
    for (int i = 0; i < 150; ++i) text.push_back(std::string(199, static_cast<char>('A' + i % 26)) + char('0' + i % 10));
    load(text + numbered(0, 30));
    for (int i = 0; i < 150; ++i) mark({i});
    place(160, 10);
    ASSERT_EQ(block_copy(0), 0);
    EXPECT_EQ(doc().text, text + numbered(0, 10) + text + numbered(10, 30));
    EXPECT_EQ(block_count(), 0);
    EXPECT_TRUE(storeSound());
}

TEST_F(Block, WithoutMarkedLinesCopyMoveAndDeleteChangeNoTextButSetModified) {
    for (int op = 0; op < 3; ++op) {
        SCOPED_TRACE(op);
        load(numbered(0, 60));
        place(30, 12);
        if (op == 0) {
            EXPECT_EQ(block_copy(0), 0);
        } else if (op == 1) {
            EXPECT_EQ(block_move(), 0);
        } else {
            block_delete();
        }
        EXPECT_EQ(doc().text, numbered(0, 60));
        EXPECT_EQ(modified, 1);
        EXPECT_EQ(boxes(), 0);
        // Delete shows the document's first lines, the cursor in the same row.
        EXPECT_TRUE(windowShows(numbered(0, 60), op == 2 ? 0 : 18, 12));
    }
}

// ---------------------------------------------------------------- move

TEST_F(Block, MoveLeavesTheCursorOnTheFirstMovedLine) {
    // Marked lines below the cursor line.
    load(numbered(0, 60));
    mark({50, 51, 52});
    place(20, 10);
    ASSERT_EQ(block_move(), 0);
    Lines want = numbered(0, 20) + numbered(50, 53) + numbered(20, 50) + numbered(53, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_EQ(doc().marks, std::string(60, '0'));
    EXPECT_TRUE(windowShows(want, 10, 10));
    EXPECT_EQ(modified, 1);

    // Marked lines above, apart from the cursor line.
    load(numbered(0, 60));
    mark({5, 6, 7});
    place(30, 10);
    ASSERT_EQ(block_move(), 0);
    want = numbered(0, 5) + numbered(8, 30) + numbered(5, 8) + numbered(30, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_TRUE(windowShows(want, 17, 10));  // "line 5" in row 10

    // Three marked lines directly above the cursor line: on the first of them.
    load(numbered(0, 60));
    mark({27, 28, 29});
    place(30, 10);
    ASSERT_EQ(block_move(), 0);
    EXPECT_EQ(doc().text, numbered(0, 60));
    EXPECT_EQ(doc().marks, std::string(60, '0'));
    EXPECT_TRUE(windowShows(numbered(0, 60), 17, 10));
    EXPECT_EQ(rowText(cursorRow), "line 27");

    // Lines on both sides, not together; the cursor line itself marked.
    load(numbered(0, 60));
    mark({2, 30, 45});
    place(30, 15);
    ASSERT_EQ(block_move(), 0);
    want = numbered(0, 2) + numbered(3, 30) + Lines{"line 2", "line 30", "line 45"} + numbered(31, 45) +
           numbered(46, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_TRUE(windowShows(want, 14, 15));
    EXPECT_EQ(rowText(cursorRow), "line 2");

    // The first moved line would stand above the cursor row: the window starts
    // at the document's first line.
    load(numbered(0, 60));
    mark({2, 3});
    place(8, 8);
    ASSERT_EQ(block_move(), 0);
    want = numbered(0, 2) + numbered(4, 8) + numbered(2, 4) + numbered(8, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_TRUE(windowShows(want, 0, 6));
    EXPECT_TRUE(storeSound());
}

// ---------------------------------------------------------------- delete

TEST_F(Block, DeletePutsTheCursorWhereTheFirstDeletedLineStood) {
    load(numbered(0, 60));
    mark({30, 31, 32, 33, 34, 45});
    place(20, 10);
    block_delete();
    Lines want = numbered(0, 30) + numbered(35, 45) + numbered(46, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_EQ(doc().marks, std::string(54, '0'));
    EXPECT_TRUE(windowShows(want, 20, 10));  // "line 35" in row 10
    EXPECT_EQ(rowText(cursorRow), "line 35");
    EXPECT_EQ(modified, 1);
    char text[UNDELETE_TEXT_MAX + 1];
    EXPECT_EQ(blockFetch(true, text), -1);  // nothing went to the block buffer

    // The first deleted line stood above the cursor row: the window starts at
    // the document's first line and the cursor keeps its row.
    load(numbered(0, 60));
    mark({3, 4});
    place(30, 10);
    block_delete();
    want = numbered(0, 3) + numbered(5, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_TRUE(windowShows(want, 0, 10));

    // The last lines deleted: the cursor stands just after the document's end.
    load(numbered(0, 60));
    mark({55, 56, 57, 58, 59});
    place(20, 10);
    block_delete();
    EXPECT_EQ(doc().text, numbered(0, 55));
    EXPECT_TRUE(windowShows(numbered(0, 55), 45, 10));
    EXPECT_EQ(rowText(9), "line 54");

    // Everything deleted.
    load(numbered(0, 60));
    place(0, 0);
    block_function();
    block_delete();
    EXPECT_TRUE(doc().text.empty());
    EXPECT_TRUE(windowShows(Lines{}, 0, 0));
    EXPECT_TRUE(storeSound());
}

// ---------------------------------------------------------------- clipboard and count

TEST_F(Block, ClipboardTakesTheMarkedLinesAndUnmarksThem) {
    load(Lines{"x", "a", "y", "  b  ", "z"} + numbered(5, 60));
    mark({1, 3});
    place(30, 10);
    clip_put("old");
    block_to_clipboard();
    EXPECT_EQ(clipboard(), "a\r\n  b\r\n");
    EXPECT_EQ(doc().marks, std::string(60, '0'));
    EXPECT_EQ(modified, 0);
    const Lines trimmed = Lines{"x", "a", "y", "  b", "z"} + numbered(5, 60);
    EXPECT_TRUE(windowShows(trimmed, 20, 10));

    // Nothing marked: the clipboard is emptied.
    const int blocks = fmalloc_count();
    block_to_clipboard();
    EXPECT_TRUE(headless_clipboard_has_text());
    EXPECT_EQ(clipboard(), "");
    EXPECT_EQ(fmalloc_count(), blocks);  // the scratch area was given back
}

TEST_F(Block, TheWholeOfAFullStoreFitsTheClipboard) {
    // Long lines are the worst case: the fewest record bytes saved per line.
    load(Lines{});
    std::string want;
    LineRecord line;
    for (int n = 0; storeHasRoom(5); ++n) {  // as full as the loader leaves it
        lineInit(&line);
        std::memset(line.text, 'a' + n % 26, kLineChars);
        ASSERT_EQ(pushBelow(&line), 0);
        want = std::string(line.text) + "\r\n" + want;
    }
    fillWindowFromBelow();
    topLine = aboveCountGet();
    const int n = belowCountGet() + windowRows;
    block_function();  // no ending line: everything
    ASSERT_EQ(block_count(), n);
    place(n / 2, 10);
    block_to_clipboard();
    EXPECT_GT(want.size(), 90000u);
    EXPECT_EQ(clipboard(), want);
    EXPECT_EQ(block_count(), 0);
    EXPECT_TRUE(windowShows(doc().text, n / 2 - 10, 10));
}

using BlockDeathTest = Block;

TEST_F(BlockDeathTest, ClipboardWithoutItsAreaEndsTheProgram) {
    load(Lines{"a"});
    EXPECT_DEATH(
        {
            fmalloc_test_fail_after(0);
            block_to_clipboard();
        },
        "ASSERT ERROR\nblock\\.344\n\\(text=fmalloc\\(30000,4\\)\\) != NULL\n");
}

// ---------------------------------------------------------------- a full store

TEST_F(Block, CopyAndMoveMeetingAFullStoreAreRefusedAsAWhole) {
    // The two marked lines pack into 6 + 5 and 7 + 5 bytes.
    constexpr long kGrowth = 23;
    for (int op = 0; op < 3; ++op) {
        for (long spare : {kGrowth - 1, kGrowth}) {
            SCOPED_TRACE(std::to_string(op) + " with room for " + std::to_string(spare));
            load(numbered(0, 60));
            mark({5, 50});
            place(30, 10);
            fillStoreLeaving(spare);  // lines before the window: the marks stay on their lines
            const DocumentLines before = doc();
            const int top = topLine;
            const std::int32_t free = static_cast<std::int32_t>(storeFreeBytes());
            blockRestartSet();
            blockStore("kept");
            headless_reset();
            const char* clip = "untouched";
            clip_put(clip);
            modified = 0;
            int result = 0;
            if (op == 0) result = block_copy(0);
            if (op == 1) result = block_move();
            if (op == 2) keyDown('B', false, true, false);  // Ctrl+B with a block
            if (spare < kGrowth) {
                EXPECT_EQ(result, op < 2 ? -1 : 0);
                EXPECT_EQ(doc().text, before.text);
                EXPECT_EQ(doc().marks, before.marks);
                EXPECT_EQ(topLine, top);
                EXPECT_EQ(cursorRow, 10);
                EXPECT_EQ(modified, 0);
                ASSERT_EQ(boxes(), 1);
                EXPECT_EQ(headless_boxes()[0].text, storeFullText);
                EXPECT_EQ(static_cast<std::int32_t>(storeFreeBytes()), free);
                EXPECT_EQ(clipboard(), clip);
                char text[UNDELETE_TEXT_MAX + 1];
                ASSERT_EQ(blockFetch(true, text), 0);
                EXPECT_STREQ(text, "kept");
            } else {
                EXPECT_EQ(result, 0);
                EXPECT_EQ(boxes(), 0);
                EXPECT_EQ(modified, 1);
                EXPECT_EQ(doc().text.size(), before.text.size() + (op == 1 ? 0 : 2));
                EXPECT_GE(storeSlack(), 0);  // every later flush still fits
            }
            EXPECT_TRUE(storeSound());
        }
    }
}

// ---------------------------------------------------------------- keys

TEST_F(Block, ShiftUpAndDownMarkLinesWithoutAnInLineMark) {
    load(numbered(0, 60));
    place(30, 17);
    for (int i = 0; i < 4; ++i) keyDown(vk::kDown, true, false, false);  // the view scrolls at row 19
    EXPECT_EQ(topLine + cursorRow, 34);
    EXPECT_EQ(doc().marks, marks(60, {{30, '2'}, {31, '2'}, {32, '2'}, {33, '2'}}));
    EXPECT_EQ(markActiveGet(), 0);
    keyDown(vk::kUp, true, false, false);  // back onto line 33: its mark goes
    EXPECT_EQ(doc().marks, marks(60, {{30, '2'}, {31, '2'}, {32, '2'}}));
    EXPECT_EQ(doc().text, numbered(0, 60));
    keyDown(vk::kDown, false, false, false);  // without Shift nothing is marked
    EXPECT_EQ(block_count(), 3);

    // With an in-line mark Shift+Down extends it and marks no line.
    block_unmark();
    keyDown(vk::kRight, true, false, false);
    ASSERT_EQ(markActiveGet(), 1);
    keyDown(vk::kDown, true, false, false);
    EXPECT_EQ(block_count(), 0);
    EXPECT_EQ(markLineCount(), 2);

    // Ctrl+P marks the line and goes to the next.
    markClear();
    place(40, 5);
    keyDown('P', false, true, false);
    keyDown('P', false, true, false);
    EXPECT_EQ(topLine + cursorRow, 42);
    EXPECT_EQ(doc().marks, marks(60, {{40, '2'}, {41, '2'}}));
}

TEST_F(Block, CtrlBCopiesTheBlockIntoTheBufferAndCtrlBElsewhereBringsItBack) {
    load(numbered(0, 60));
    mark({40, 41, 42});
    place(20, 10);
    keyDown('B', false, true, false);
    Lines want = numbered(0, 20) + numbered(40, 43) + numbered(20, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_EQ(doc().marks, std::string(63, '0'));
    EXPECT_EQ(clipboard(), "line 40\r\nline 41\r\nline 42\r\n");
    EXPECT_TRUE(windowShows(want, 13, 10));
    EXPECT_EQ(modified, 1);

    // Without a block: the same three lines again, before the cursor line.
    place(5, 2);
    keyDown('B', false, true, false);
    want = numbered(0, 5) + numbered(40, 43) + numbered(5, 20) + numbered(40, 43) + numbered(20, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_EQ(rowText(cursorRow), "line 5");

    // A second block copy replaces the buffer's lines.
    mark({0});
    keyDown('B', false, true, false);
    keyDown('B', false, true, false);  // the block was unmarked: the buffer comes back
    want = numbered(0, 5) + numbered(40, 43) + Lines{"line 0", "line 0"} + numbered(5, 20) + numbered(40, 43) +
           numbered(20, 60);
    EXPECT_EQ(doc().text, want);
}

TEST_F(Block, CtrlCPrefersTheInLineMarkThenTheBlockThenTheBuffer) {
    load(numbered(0, 60));
    blockRestartSet();
    blockStore("buffered");
    mark({33, 35});
    place(30, 10);
    keyDown(vk::kRight, true, false, false);  // "l" marked in line 30
    keyDown('C', false, true, false);
    EXPECT_EQ(clipboard(), "l");
    EXPECT_EQ(block_count(), 2);  // the block stays

    keyDown('C', false, true, false);
    EXPECT_EQ(clipboard(), "line 33\r\nline 35\r\n");
    EXPECT_EQ(block_count(), 0);
    EXPECT_EQ(doc().text, numbered(0, 60));
    EXPECT_EQ(modified, 0);

    keyDown('C', false, true, false);
    EXPECT_EQ(clipboard(), "buffered\r\n");
}

// ---------------------------------------------------------------- commands

TEST_F(Block, TheBlockMenuCommandsReachTheirOperations) {
    load(numbered(0, 60));
    place(10, 5);
    command(CMD_BLOCK_BEGIN);
    place(12, 5);
    command(CMD_BLOCK_END);
    EXPECT_EQ(doc().marks, marks(60, {{10, '1'}, {11, '2'}, {12, '3'}}));

    place(30, 10);
    command(CMD_BLOCK_COPY);
    Lines want = numbered(0, 30) + numbered(10, 13) + numbered(30, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_EQ(block_count(), 0);

    place(31, 10);  // the copy of line 11
    command(CMD_BLOCK_FUNCTION);
    EXPECT_EQ(block_count(), 32);  // nothing ends it
    command(CMD_BLOCK_UNMARK);
    EXPECT_EQ(block_count(), 0);

    mark({1, 2});
    place(40, 10);
    command(CMD_BLOCK_MOVE);
    want = Lines{"line 0"} + numbered(3, 30) + numbered(10, 13) + numbered(30, 37) + numbered(1, 3) + numbered(37, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_EQ(rowText(cursorRow), "line 1");

    mark({0});
    command(CMD_BLOCK_CLIPBOARD);
    EXPECT_EQ(clipboard(), "line 0\r\n");
    mark({0});
    command(CMD_BLOCK_DELETE);
    want.erase(want.begin());
    EXPECT_EQ(doc().text, want);

    // Replace and reformulation open dialogs of their own modules: here they
    // change nothing.
    mark({4});
    modified = 0;
    command(CMD_BLOCK_REPLACE);
    command(CMD_BLOCK_REFORM);
    EXPECT_EQ(doc().text, want);
    EXPECT_EQ(block_count(), 1);
    EXPECT_EQ(modified, 0);
    EXPECT_TRUE(storeSound());
}

}  // namespace
