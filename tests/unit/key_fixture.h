// The fixture of the key dispatcher's and the key commands' tests: a document
// in the line store, keys pressed through the dispatcher, the headless host
// recording repaints, boxes, the clipboard and posted commands.
#pragma once

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "view/cursor.h"
#include "view/editing.h"
#include "view/refresh.h"
#include "view/taste.h"
#include "view/textview.h"

using Lines = std::vector<std::string>;

class KeyFixture : public ::testing::Test {
  protected:
    void SetUp() override { editorStart(); }
    void TearDown() override { editorStop(); }

    // The document: the lines, then the window at its start.
    static void load(const Lines& lines) {
        loadLines(lines);
        refreshAll();  // as after loading: the line snapshot is taken
    }

    // Every line of the document in order, trimmed, without the blank lines
    // at its end (which the store may drop or add as the window moves).
    static Lines doc() {
        return documentLines().text;
    }

    static std::string row(int r) {
        LineRecord line;
        rowGet(r, &line);
        return line.text;
    }
    static int col() { return firstCol + cursorCol; }
    static int line() { return topLine + cursorRow; }
    static void at(int c, int r) {
        cursorRow = r;
        cursorToColumn(c);
    }

    static void key(int vk, bool shift = false, bool ctrl = false) { keyDown(vk, shift, ctrl, false); }
    static void ctrl(int code) { keyDown(code, false, true, false); }
    static void ctrlChar(int ch) { keyChar(ch, false, true, false); }
    static void type(const char* s) {
        for (; *s; ++s) keyChar(static_cast<unsigned char>(*s), false, false, false);
    }
    static void repeat(int n, int vk, bool shift = false, bool ctrlDown = false) {
        for (int i = 0; i < n; ++i) key(vk, shift, ctrlDown);
    }

    static int boxes() { return static_cast<int>(headless_boxes().size()); }


    // Both stacks are sound record by record and agree with the counts.
    static ::testing::AssertionResult storeSound() {
        const StoreLayout s = storeLayout();
        if (s.aboveTop > s.belowStart || s.belowStart > s.lineAreaSize)
            return ::testing::AssertionFailure() << "stacks overlap";
        auto walk = [&s](std::uint32_t from, std::uint32_t to, std::int32_t count, const char* name)
            -> ::testing::AssertionResult {
            std::int32_t n = 0;
            std::uint32_t off = from;
            while (off < to) {
                const int size = s.lineArea[off];
                if (size < 3 || size > 253 || off + size + 2 > to || s.lineArea[off + size + 1] != size)
                    return ::testing::AssertionFailure() << name << " record broken at " << off;
                off += size + 2;
                ++n;
            }
            if (n != count) return ::testing::AssertionFailure() << name << " holds " << n << ", count " << count;
            return ::testing::AssertionSuccess();
        };
        auto above = walk(0, s.aboveTop, s.aboveCount, "above");
        if (!above) return above;
        auto below = walk(s.belowStart, s.lineAreaSize, s.belowCount, "below");
        if (!below) return below;
        if (topLine != s.aboveCount) return ::testing::AssertionFailure() << "topLine " << topLine << " != " << s.aboveCount;
        return ::testing::AssertionSuccess();
    }
};
