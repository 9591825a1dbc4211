// Tests of the in-line mark, the mouse and the context menus: the keys and the
// mouse handlers on a document in the line store, through the headless host
// (repaints, boxes, clipboard, context menus and posted commands recorded).
#include "view/marking.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "key_fixture.h"
#include "file_bytes.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "document/docfile.h"
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
#include "view/refresh.h"
#include "view/taste.h"
#include "view/textview.h"

namespace {

// One marked line: its document index and its two mark columns.
struct MarkedLine {
    int line, from, to;
    bool operator==(const MarkedLine& o) const { return line == o.line && from == o.from && to == o.to; }
};
using MarkedLines = std::vector<MarkedLine>;

constexpr int kCell = 8, kLine = 16;  // the cell size the tests give the view

class Marking : public KeyFixture {
  protected:
    void SetUp() override {
        editorStart();
        markReset();
        mouseLeftUp();
        charWidth = kCell;
        lineHeight = kLine;
    }
    void TearDown() override {
        markReset();
        mouseLeftUp();
        editorStop();
    }

    static void load(const Lines& lines) {
        loadLines(lines);
        markReset();
        refreshAll();
    }
    static Lines numbered(int n) {
        Lines lines;
        for (int i = 0; i < n; ++i) lines.push_back("line " + std::to_string(i) + " text");
        return lines;
    }

    // Every line of the whole document that carries mark columns.
    static MarkedLines marked() {
        struct Walk {
            MarkedLines found;
            int line = 0;
        } walk;
        auto look = [](LineRecord* line, void* user) {
            Walk* w = static_cast<Walk*>(user);
            if (line->markFrom != line->markTo) w->found.push_back({w->line, line->markFrom, line->markTo});
            ++w->line;
            return 1;
        };
        visitAbove(look, &walk);
        for (int r = 0; r < windowRows; ++r) {
            LineRecord row;
            rowGetRaw(r, &row);
            look(&row, &walk);
        }
        visitBelow(look, &walk);
        return walk.found;
    }
    // Trailing blanks never reach the stacks.
    static bool stacksTrimmed() {
        bool trimmed = true;
        auto look = [](LineRecord* line, void* user) {
            const std::size_t n = std::strlen(line->text);
            if (n > 0 && line->text[n - 1] == ' ') *static_cast<bool*>(user) = false;
            return 1;
        };
        visitAbove(look, &trimmed);
        visitBelow(look, &trimmed);
        return trimmed;
    }

    static std::string clip() {
        static char text[40000];
        clip_get(text, sizeof text - 1);
        return text;
    }
    static void menu(int id) { appCommandRoute(nullptr, 0, id, 0); }
    // The pixel in the middle of cell (c, r).
    static int px(int c) { return c * kCell + 4 + kCell / 2; }
    static int py(int r) { return r * kLine + 2 + kLine / 2; }
    // A 16-bit message word for a pixel left of or above the window.
    static int word(int v) { return v & 0xFFFF; }

};

// ---------------------------------------------------------------- marking with the keys

TEST_F(Marking, ShiftRightMarksAndTypingReplacesTheMark) {
    load({"abcdefghij", "second"});
    at(4, 0);
    repeat(3, vk::kRight, true);
    EXPECT_EQ(marked(), (MarkedLines{{0, 4, 7}}));
    EXPECT_EQ(markLineCount(), 1);
    EXPECT_EQ(col(), 7);
    EXPECT_EQ(headless_record().viewRepaints, 0);  // within one line only the row is repainted

    type("X");
    EXPECT_EQ(doc(), (Lines{"abcdXhij", "second"}));
    EXPECT_EQ(col(), 5);
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(modified, 1);
    // The replaced characters went to the piece buffer.
    key('U', false, true);
    EXPECT_EQ(rowText(0), "abcdXefghij");
}

TEST_F(Marking, ShiftLeftMarksLeftwardsAndCtrlCCopiesTheSmallerSpan) {
    load({"abcdefghijklmn"});
    at(10, 0);
    repeat(3, vk::kLeft, true);
    EXPECT_EQ(marked(), (MarkedLines{{0, 10, 7}}));
    const MarkInfo m = markInfo();
    EXPECT_EQ(m.startCol, 10);
    EXPECT_EQ(m.endCol, 7);

    key('C', false, true);
    EXPECT_EQ(clip(), "hij");
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(doc(), (Lines{"abcdefghijklmn"}));
    EXPECT_EQ(modified, 0);

    // A plain move clears a mark; a move back to where the key started does not start one.
    repeat(2, vk::kRight, true);
    EXPECT_EQ(markLineCount(), 1);
    key(vk::kHome);
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
    key(vk::kLeft, true);  // at column 0: the cursor stays, nothing is marked
    EXPECT_EQ(markActiveGet(), 0);
}

TEST_F(Marking, ShiftDownExtendsTheColumnsOverLinesAndCopiesPaddedPieces) {
    load({"0123456789", "ab", "ABCDEFGHIJ", "last"});
    at(1, 0);
    repeat(3, vk::kRight, true);
    repeat(2, vk::kDown, true);
    EXPECT_EQ(marked(), (MarkedLines{{0, 1, 4}, {1, 1, 4}, {2, 1, 4}}));
    EXPECT_EQ(markLineCount(), 3);
    // Shift+Right on another line moves the block's right column on every line.
    key(vk::kRight, true);
    EXPECT_EQ(marked(), (MarkedLines{{0, 1, 5}, {1, 1, 5}, {2, 1, 5}}));
    key(vk::kUp, true);
    EXPECT_EQ(marked(), (MarkedLines{{0, 1, 5}, {1, 1, 5}}));
    key(vk::kDown, true);

    key('C', false, true);
    EXPECT_EQ(clip(), "1234\r\nb   \r\nBCDE\r\n");  // the short line padded to the right column
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(doc(), (Lines{"0123456789", "ab", "ABCDEFGHIJ", "last"}));
    EXPECT_EQ(line(), 2);

    // Shift+Down without a mark makes no in-line mark.
    at(0, 0);
    repeat(2, vk::kDown, true);
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
}

TEST_F(Marking, CopyAndCutKeepTheWindowOnTheSameLines) {
    load(numbered(80));
    at(0, 0);
    repeat(30, vk::kDown);
    at(2, 10);  // line 21, with lines above the window and below it
    const int top = topLine;
    ASSERT_GT(top, 0);
    repeat(4, vk::kRight, true);
    repeat(3, vk::kUp, true);
    EXPECT_EQ(marked(), (MarkedLines{{top + 7, 2, 6}, {top + 8, 2, 6}, {top + 9, 2, 6}, {top + 10, 2, 6}}));

    key('C', false, true);
    EXPECT_EQ(topLine, top);
    EXPECT_EQ(line(), top + 7);
    EXPECT_EQ(rowText(0), "line " + std::to_string(top) + " text");
    EXPECT_TRUE(marked().empty());

    // The same block again, cut: blanked, modified, the window in place.
    at(2, 7);
    repeat(4, vk::kRight, true);
    repeat(3, vk::kDown, true);
    key('X', false, true);
    EXPECT_EQ(clip(), "ne 1\r\nne 1\r\nne 2\r\nne 2\r\n");
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(topLine, top);
    EXPECT_EQ(line(), top + 10);
    Lines want = numbered(80);
    for (int i = top + 7; i <= top + 10; ++i) want[static_cast<std::size_t>(i)].replace(2, 4, "    ");
    EXPECT_EQ(doc(), want);
    EXPECT_TRUE(marked().empty());
    EXPECT_TRUE(stacksTrimmed());
}

TEST_F(Marking, BlankDeleteAndCutOverSeveralLines) {
    const Lines start{"abcdefgh", "ab", "ABCDEFGH", "tail"};
    struct Case {
        const char* name;
        int vk;
        bool shift;
        Lines result;
        const char* clipboard;
    };
    const Case cases[] = {
        {"Backspace blanks", vk::kBack, false, {"a   efgh", "a", "A   EFGH", "tail"}, "before"},
        {"Delete removes", vk::kDelete, false, {"aefgh", "a", "AEFGH", "tail"}, "before"},
        {"Shift+Delete cuts", vk::kDelete, true, {"a   efgh", "a", "A   EFGH", "tail"}, "bcd\r\nb  \r\nBCD\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        load(start);
        clip_put("before");
        modified = 0;
        at(1, 0);
        repeat(3, vk::kRight, true);
        repeat(2, vk::kDown, true);
        key(c.vk, c.shift);
        EXPECT_EQ(doc(), c.result);
        EXPECT_EQ(clip(), c.clipboard);
        EXPECT_EQ(modified, 1);
        EXPECT_EQ(markActiveGet(), 0);
        EXPECT_TRUE(marked().empty());
        EXPECT_EQ(line(), 2);
        EXPECT_TRUE(stacksTrimmed());
    }
}

TEST_F(Marking, LinesBlankedOrCutShortInTheStacksAreStoredTrimmed) {
    for (bool del : {false, true}) {
        SCOPED_TRACE(del ? "delete" : "blank");
        Lines lines(30, "ab  cd");
        load(lines);
        at(4, 0);
        repeat(2, vk::kRight, true);
        repeat(25, vk::kDown, true);  // the first lines leave the window upwards
        ASSERT_GT(topLine, 0);
        key(del ? vk::kDelete : vk::kBack);
        EXPECT_TRUE(stacksTrimmed());
        Lines want(26, "ab");
        want.resize(30, "ab  cd");
        EXPECT_EQ(doc(), want);
        EXPECT_EQ(storeLayout().aboveTop, static_cast<std::uint32_t>(7 * topLine));  // "ab": 2 + 5 bytes each
    }
}

TEST_F(Marking, BackspaceDeleteAndCtrlXOnAMarkInOneLine) {
    load({"one two three"});
    at(4, 0);
    repeat(3, vk::kRight, true);  // "two"
    key(vk::kBack);
    EXPECT_EQ(rowText(0), "one  three");
    EXPECT_EQ(col(), 4);
    EXPECT_EQ(markActiveGet(), 0);

    clip_put("before");
    at(5, 0);
    repeat(5, vk::kRight, true);  // "three"
    key(vk::kDelete);
    EXPECT_EQ(rowText(0), "one");
    EXPECT_EQ(clip(), "before");  // plain Delete does not copy

    load({"one two three"});
    at(7, 0);
    repeat(3, vk::kLeft, true);
    key(vk::kDelete, true);  // Shift+Delete: to the clipboard first
    EXPECT_EQ(rowText(0), "one  three");
    EXPECT_EQ(clip(), "two");

    at(5, 0);
    repeat(5, vk::kRight, true);
    key('X', false, true);
    EXPECT_EQ(rowText(0), "one");
    EXPECT_EQ(clip(), "three");
    EXPECT_EQ(col(), 5);

    // Backspace in column 0 does nothing, even with a mark.
    load({"abc"});
    at(3, 0);
    repeat(3, vk::kLeft, true);
    key(vk::kBack);
    EXPECT_EQ(rowText(0), "abc");
    EXPECT_EQ(markLineCount(), 1);
}

TEST_F(Marking, CtrlMSelectsTheWordAtTheCursor) {
    load({"  foo_bar(x)  ", "next"});
    at(4, 0);
    key('M', false, true);
    EXPECT_EQ(marked(), (MarkedLines{{0, 2, 9}}));
    char text[kLineChars + 1];
    EXPECT_EQ(markedText(text, sizeof text), 1);
    EXPECT_STREQ(text, "foo_bar");
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(markActiveGet(), 0);

    // On a blank before a word: that word; after the text's end: nothing.
    at(1, 0);
    key('M', false, true);
    EXPECT_EQ(marked(), (MarkedLines{{0, 2, 9}}));
    at(13, 0);
    key('M', false, true);
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
    // markedText needs a mark in one line.
    at(0, 0);
    key(vk::kRight, true);
    key(vk::kDown, true);
    EXPECT_EQ(markedText(text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(markLineCount(), 2);
}

// Every command that inserts or removes lines (or rewrites them all) leaves
// no stale mark: the mark's line numbers would no longer match the lines that
// carry its columns. And Ctrl+Q right after it never puts an older line back
// over lines that changed around it; after a command that changed only the
// cursor line's text, it undoes that text.
TEST_F(Marking, CommandsThatInsertOrRemoveLinesClearTheMarkAndKeepCtrlQSafe) {
    static const std::filesystem::path dir = freshTempDir("y8_marking_");
    static const std::string inserted = (dir / "insert.txt").string();
    writeBytes(inserted, "from file\r\n");
    struct Row {
        const char* name;
        std::vector<int> block;  // block-marked lines
        void (*run)();
        bool linesChange = true;  // else only the cursor line's text changed
    };
    const Row rows[] = {
        {"Kopieren 1503", {1, 2}, [] { menu(CMD_BLOCK_COPY); }},
        {"Verschieben 1504", {1, 2}, [] { menu(CMD_BLOCK_MOVE); }},
        {"Loeschen 1505", {1, 2}, [] { menu(CMD_BLOCK_DELETE); }},
        {"Loeschen 1505 of the marked line", {4}, [] { menu(CMD_BLOCK_DELETE); }},
        {"Detab 1130", {}, [] { menu(CMD_CONVERT_DETAB); }},
        {"Tab expandieren 1510", {}, [] { menu(CMD_TAB_EXPAND); }},
        {"HTML optimieren 1515", {}, [] { menu(CMD_HTML_OPTIMISE); }},
        {"Einfuegen 1111", {}, [] { clip_put("new 1\r\nnew 2\r\n"); menu(CMD_PASTE); }},
        {"Ctrl+V", {}, [] { clip_put("new 1\r\nnew 2\r\n"); key('V', false, true); }},
        {"Datei einfuegen 1002", {}, [] { headless_file_answer(inserted.c_str()); menu(CMD_FILE_INSERT); }},
        {"Strich 1420", {}, [] { menu(CMD_STRICH_TOP); }},
        {"Ctrl+Y", {}, [] { key('Y', false, true); }},
        {"Ctrl+E", {}, [] { lineStore("restored"); key('E', false, true); }},
        {"Ctrl+N", {}, [] { key('N', false, true); }},
        {"Ctrl+A", {}, [] { key('A', false, true); }},
        {"Ctrl+B with a block", {1, 2}, [] { key('B', false, true); }},
        {"Ctrl+B without a block", {}, [] { blockStore("kept"); key('B', false, true); }},
        {"Ctrl+#", {}, [] { keyChar(28, false, true, false); }},
        {"Ctrl+Enter", {}, [] { key(vk::kReturn, false, true); }},
        {"Shift+Enter", {}, [] { key(vk::kReturn, true); }},
        {"Ctrl+Z", {}, [] { key('Z', false, true); }, false},
        {"Ctrl+U", {}, [] { pieceStore("piece", 5); key('U', false, true); }, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Lines lines = numbered(8);
        lines[2] = "a\tb";  // a tab for the conversions
        lines[6] = "";      // a blank line for "HTML optimieren" to remove
        load(lines);
        undeleteCreate();
        lineInsertMode = 0;
        for (int l : r.block) markDocumentLines({l});
        at(0, 4);
        refreshAll();
        repeat(5, vk::kRight, true);  // "line " of line 4 marked, the cursor behind it
        const Lines before = doc();
        r.run();
        EXPECT_EQ(markActiveGet(), 0);
        EXPECT_TRUE(marked().empty());
        // Ctrl+Q undoes what was typed since; over changed lines it never goes further back.
        const Lines after = doc();
        type("!");
        key('Q', false, true);
        EXPECT_EQ(doc(), r.linesChange ? after : before);
        // A new mark copies only itself.
        at(0, cursorRow);
        key(vk::kRight, true);
        key('C', false, true);
        EXPECT_EQ(clip().size(), 1u);
    }
    std::filesystem::remove_all(dir);
}

TEST_F(Marking, AMarkOnAnotherLineThanTheCursorIsNotDeletedByTyping) {
    load(numbered(100));
    at(0, 2);
    repeat(4, vk::kRight, true);
    ASSERT_EQ(marked(), (MarkedLines{{2, 0, 4}}));
    // The scroll bar's page down is a nested key: no marking update.
    scrollCommand(scroll_request::kPageDown, 0);
    ASSERT_NE(line(), 2);
    const std::string before = rowText(cursorRow);
    type("Z");
    EXPECT_EQ(rowText(cursorRow), before.substr(0, 4) + "Z" + before.substr(4));
    EXPECT_EQ(doc()[2], "line 2 text");
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
}

TEST_F(Marking, ScrollingByALineClearsTheMarkAndLosesNoLine) {
    load(numbered(60));
    at(0, 0);
    repeat(25, vk::kDown);
    const Lines before = doc();
    at(0, 5);
    repeat(3, vk::kRight, true);
    key(vk::kUp, false, true);  // Ctrl+Up: scrollViewUp
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(doc(), before);
    repeat(3, vk::kRight, true);
    key(vk::kDown, false, true);
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_EQ(doc(), before);
}

// ---------------------------------------------------------------- the 30000-byte block

TEST_F(Marking, CopyAndCutAreBoundedByTheBlock) {
    // n lines of w marked columns give n * (w + 2) characters.
    struct Case {
        int lines, width;
        bool fits;
    };
    const Case cases[] = {{131, 227, true}, {125, 238, false}};  // 29999 and 30000
    for (const Case& c : cases) {
        for (int cut = 0; cut < 2; ++cut) {
            SCOPED_TRACE(std::to_string(c.lines * (c.width + 2)) + (cut ? " cut" : " copy"));
            headless_reset();
            Lines lines;
            for (int i = 0; i < c.lines; ++i) lines.push_back(std::string(250, static_cast<char>('a' + i % 26)));
            load(lines);
            clip_put("before");
            modified = 0;
            windowCols = 250;
            at(0, 0);
            repeat(c.width, vk::kRight, true);
            repeat(c.lines - 1, vk::kDown, true);
            ASSERT_EQ(markLineCount(), c.lines);
            const Lines docBefore = doc();
            key(cut ? 'X' : 'C', false, true);
            if (c.fits) {
                EXPECT_EQ(boxes(), 0);
                const std::string text = clip();
                EXPECT_EQ(text.size(), 29999u);
                EXPECT_EQ(text.substr(0, 3), "aaa");
                EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
                EXPECT_EQ(markActiveGet(), 0);
                EXPECT_EQ(modified, cut);
            } else {
                ASSERT_EQ(boxes(), 1);
                EXPECT_EQ(headless_boxes()[0].text, markTooLargeText);
                EXPECT_EQ(clip(), "before");
                EXPECT_EQ(doc(), docBefore);
                EXPECT_EQ(markLineCount(), c.lines);
                EXPECT_EQ(marked().size(), static_cast<std::size_t>(c.lines));
                EXPECT_EQ(modified, 0);
            }
            markClear();
        }
    }
}

using MarkingDeathTest = Marking;

TEST_F(MarkingDeathTest, CopyWithoutItsBlockEndsTheProgram) {
    load({"abc"});
    key(vk::kRight, true);
    EXPECT_DEATH(
        {
            fmalloc_test_fail_after(0);
            key('C', false, true);
        },
        "ASSERT ERROR\nmarkierung\\.270\n\\(text=fmalloc\\(30000,1\\)\\) != NULL\n");
}

// ---------------------------------------------------------------- a full store

TEST_F(Marking, BlankDeleteAndCutNeverNeedRoomInAFullStore) {
    const Lines start{"abcdefgh", "ab", "ABCDEFGH", "tail"};
    for (int vkey : {vk::kBack, vk::kDelete, int{'X'}}) {
        SCOPED_TRACE(vkey);
        headless_reset();
        load(start);
        at(1, 0);
        repeat(3, vk::kRight, true);
        repeat(2, vk::kDown, true);
        fillStoreLeaving(0);
        const std::uint32_t free = storeFreeBytes();
        if (vkey == 'X') {
            key('X', false, true);
        } else {
            key(vkey);
        }
        EXPECT_EQ(boxes(), 0);
        EXPECT_GE(storeFreeBytes(), free);
        EXPECT_TRUE(marked().empty());
        EXPECT_EQ(topLine, aboveCountGet());
        EXPECT_GT(storeFreeBytes(), storeWindowBytes());  // every flush still fits
        const Lines d = doc();
        ASSERT_GE(d.size(), 4u);
        EXPECT_EQ(d[d.size() - 1], "tail");
        EXPECT_EQ(d[d.size() - 4], vkey == vk::kDelete ? "aefgh" : "a   efgh");
        EXPECT_TRUE(stacksTrimmed());
    }
}

// ---------------------------------------------------------------- the mouse

TEST_F(Marking, PixelsMapToCellsWithinTheWindow) {
    int c = -1, r = -1;
    mouseCell(4, 2, &c, &r);
    EXPECT_EQ(c, 0);
    EXPECT_EQ(r, 0);
    mouseCell(4 + 3 * kCell - 1, 2 + 2 * kLine, &c, &r);
    EXPECT_EQ(c, 2);
    EXPECT_EQ(r, 2);
    mouseCell(5000, 5000, &c, &r);  // right of and below the window
    EXPECT_EQ(c, windowCols - 1);
    EXPECT_EQ(r, windowRows - 1);
    mouseCell(word(-30), word(-50), &c, &r);  // left of and above it while captured
    EXPECT_EQ(c, 0);
    EXPECT_EQ(r, 0);
}

TEST_F(Marking, ClickClearsAndShiftClickMarksFromTheOldCursor) {
    load({"0123456789", "abcdefghij", "ABCDEFGHIJ"});
    at(2, 0);
    repeat(2, vk::kRight, true);
    ASSERT_EQ(markLineCount(), 1);

    EXPECT_TRUE(mouseLeftDown(px(6), py(1), false));
    EXPECT_EQ(markInfo().mouseCaptured, 1);
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(col(), 6);
    EXPECT_EQ(cursorRow, 1);
    EXPECT_TRUE(mouseLeftUp());
    EXPECT_FALSE(mouseLeftUp());  // released once

    mouseLeftDown(px(3), py(2), true);
    mouseLeftUp();
    EXPECT_EQ(marked(), (MarkedLines{{1, 6, 3}, {2, 6, 3}}));
    // Shift+click again extends the same mark.
    mouseLeftDown(px(8), py(1), true);
    mouseLeftUp();
    EXPECT_EQ(marked(), (MarkedLines{{1, 6, 8}}));
    key('C', false, true);
    EXPECT_EQ(clip(), "gh");
}

TEST_F(Marking, DraggingMarksFollowsTheMouseAndStaysInTheWindow) {
    load(numbered(60));
    at(0, 0);
    repeat(25, vk::kDown);
    const int top = topLine;
    mouseLeftDown(px(1), py(3), false);
    mouseMove(px(4), py(3), true);
    EXPECT_EQ(markInfo().dragging, 1);
    EXPECT_EQ(marked(), (MarkedLines{{top + 3, 1, 4}}));
    mouseMove(px(4), py(5), true);
    EXPECT_EQ(marked(), (MarkedLines{{top + 3, 1, 4}, {top + 4, 1, 4}, {top + 5, 1, 4}}));
    // Back onto the first line: the other lines lose their columns.
    mouseMove(px(6), py(3), true);
    EXPECT_EQ(marked(), (MarkedLines{{top + 3, 1, 6}}));

    // Above the window: row 0, no scrolling.
    mouseMove(px(2), word(-40), true);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(topLine, top);
    EXPECT_EQ(marked().front(), (MarkedLine{top, 1, 2}));
    EXPECT_EQ(marked().size(), 4u);
    EXPECT_TRUE(mouseLeftUp());
    EXPECT_EQ(markInfo().dragging, 0);
    EXPECT_EQ(markInfo().mouseCaptured, 0);

    // A move without the button, or without the capture, does nothing.
    const MarkedLines before = marked();
    mouseMove(px(9), py(9), true);
    EXPECT_EQ(cursorRow, 0);
    mouseLeftDown(px(9), py(9), true);
    mouseMove(px(1), py(1), false);
    EXPECT_EQ(cursorRow, 9);
    EXPECT_EQ(markInfo().dragging, 0);
    mouseLeftUp();
    EXPECT_NE(marked(), before);
}

TEST_F(Marking, DoubleClickSelectsTheWordUnderTheFirstClick) {
    load({"say hello world"});
    mouseLeftDown(px(6), py(0), false);
    mouseLeftUp();
    mouseDoubleClick(px(6), py(0));
    mouseLeftUp();
    EXPECT_EQ(marked(), (MarkedLines{{0, 4, 9}}));
    // Not on the cursor's cell: nothing.
    markClear();
    mouseDoubleClick(px(12), py(0));
    EXPECT_EQ(markActiveGet(), 0);
}

TEST_F(Marking, WheelScrollsLinesOrColumnsByWholeNotches) {
    load(numbered(100));
    at(3, 4);
    mouseWheel(-120, false);
    EXPECT_EQ(topLine, 5);
    EXPECT_EQ(cursorRow, 4);
    mouseWheel(-240, false);
    EXPECT_EQ(topLine, 15);
    mouseWheel(120, false);
    EXPECT_EQ(topLine, 10);
    mouseWheel(119, false);  // a part of a notch: nothing
    mouseWheel(-119, false);
    EXPECT_EQ(topLine, 10);

    mouseWheel(-240, true);  // Shift: two notches right
    EXPECT_EQ(firstCol, 20);
    EXPECT_EQ(cursorCol, 3);
    EXPECT_EQ(cursorRow, 4);
    mouseWheel(120, true);
    EXPECT_EQ(firstCol, 10);
    mouseWheel(-60, true);
    EXPECT_EQ(firstCol, 10);

    // Scrolling by lines ends the mark.
    repeat(2, vk::kRight, true);
    mouseWheel(-120, false);
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(doc().size(), 100u);
}

// ---------------------------------------------------------------- the context menus

TEST_F(Marking, ContextMenuFollowsTheMarkAndPostsTheChoice) {
    load({"some text here"});
    at(3, 2);
    key(vk::kApps);
    ASSERT_EQ(headless_context_menus().size(), 1u);
    EXPECT_EQ(headless_context_menus()[0].menu, "RMMENUOHNE");
    EXPECT_EQ(headless_context_menus()[0].x, 4 * kCell + 4);  // the cell right of the cursor
    EXPECT_EQ(headless_context_menus()[0].y, 2 * kLine + 2);
    EXPECT_TRUE(headless_posted_commands().empty());  // dismissed

    at(0, 0);
    repeat(4, vk::kRight, true);
    headless_context_menu_answer(1110);
    mouseRightDown(123, 45);
    ASSERT_EQ(headless_context_menus().size(), 2u);
    EXPECT_EQ(headless_context_menus()[1].menu, "RMMENUMARK");
    EXPECT_EQ(headless_context_menus()[1].x, 123);
    EXPECT_EQ(headless_context_menus()[1].y, 45);
    ASSERT_EQ(headless_posted_commands().size(), 1u);
    EXPECT_EQ(headless_posted_commands()[0].id, 1110);
    EXPECT_EQ(markLineCount(), 1);  // the mark waits for the posted command
    EXPECT_EQ(markInfo().mouseCaptured, 0);
}

// ---------------------------------------------------------------- a new document

TEST_F(Marking, ANewDocumentStartsWithoutAMark) {
    load({"abc"});
    key(vk::kRight, true);
    ASSERT_EQ(markActiveGet(), 1);
    modified = 0;
    docNew();
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_EQ(markLineCount(), 0);
}

// ---------------------------------------------------------------- random marking

TEST_F(Marking, RandomMarkingKeepsTheStoreSoundAndMovesLoseNoText) {
    windowRows = 8;
    windowCols = 40;
    Lines lines;
    for (int i = 0; i < 50; ++i) lines.push_back(std::string(static_cast<std::size_t>(i % 7), ' ') + "row " + std::to_string(i) + " abc");
    load(lines);
    std::mt19937 rng(5);
    for (int i = 0; i < 3000; ++i) {
        SCOPED_TRACE(i);
        const int pick = static_cast<int>(rng() % 16);
        const Lines before = doc();
        bool moves = true;
        switch (pick) {
            case 0: key(vk::kRight, true); break;
            case 1: key(vk::kLeft, true); break;
            case 2: key(vk::kDown, true); break;
            case 3: key(vk::kUp, true); break;
            case 4: key(vk::kRight); break;
            case 5: key(vk::kNext); break;
            case 6: mouseLeftDown(static_cast<int>(rng() % 400), static_cast<int>(rng() % 200), rng() % 2); break;
            case 7: mouseMove(static_cast<int>(rng() % 400), static_cast<int>(rng() % 200), true); break;
            case 8: mouseLeftUp(); break;
            case 9: mouseWheel(static_cast<int>(rng() % 5) * 120 - 240, rng() % 2); break;
            case 10: key('C', false, true); break;
            case 11: moves = false; key(vk::kBack); break;
            case 12: moves = false; key(vk::kDelete, rng() % 2); break;
            case 13: moves = false; key('X', false, true); break;
            case 14: moves = false; type("q"); break;
            default: key('M', false, true); break;
        }
        if (moves) {
            ASSERT_EQ(doc(), before);
        }
        ASSERT_EQ(topLine, aboveCountGet());
        ASSERT_LT(cursorRow, windowRows);
        ASSERT_LT(cursorCol, windowCols);
        ASSERT_TRUE(stacksTrimmed());
        ASSERT_EQ(headless_record().openContexts, 0);
        // Only the lines the state names carry the mark (blank lines past the
        // document's end may have gone with the window).
        const MarkInfo m = markInfo();
        const MarkedLines found = marked();
        if (!m.active) {
            ASSERT_TRUE(found.empty());
        } else {
            ASSERT_LE(static_cast<int>(found.size()), markLineCount());
            const int low = m.startLine < m.endLine ? m.startLine : m.endLine;
            for (const MarkedLine& f : found) {
                ASSERT_GE(f.line, low);
                ASSERT_LT(f.line, low + markLineCount());
            }
        }
    }
}

}  // namespace
