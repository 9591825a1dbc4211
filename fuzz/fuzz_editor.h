// What the editing fuzz targets share: the editor started on a small document
// or on a nearly full store, the document as text, and the store's soundness.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../tests/lib/editor_reset.h"
#include "../tests/lib/empty_store.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "host/headless.h"
#include "shell/bindings.h"
#include "view/cursor.h"
#include "view/editing.h"
#include "view/keycommands.h"
#include "view/marking.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/refresh.h"
#include "view/search.h"
#include "view/taste.h"
#include "view/textview.h"

// The checks give libFuzzer no coverage of their own: their loops and
// comparisons would only count as features of the checking, not of the editor.
#define FUZZ_UNTRACED __attribute__((no_sanitize("coverage")))

FUZZ_UNTRACED inline void fuzzCheck(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz: %s\n", what);
        std::abort();
    }
}

inline int fuzzPushLine(const char* text) {
    LineRecord line;
    lineInit(&line);
    std::snprintf(line.text, sizeof line.text, "%s", text);
    return pushBelow(&line);
}

// An editor on a document of a few odd lines (a tab, umlauts in both code
// pages, a line of 250 characters, blank lines), or, nearly full, on as many
// lines of 250 characters as the store takes while the window rows stay
// flushable. The cursor in the top left corner, nothing changed.
inline void fuzzEditorStart(int rows, int cols, bool nearlyFull, const std::vector<LineRecord>* document = nullptr) {
    fuzzCheck(emptyStoreStart(rows, cols), "no store");
    toolsBind();
    headless_reset();
    editorStateReset();
    searchReset();
    viewStateStart(0);
    std::string full(kLineChars, 'x');
    const char* lines[] = {"int main(void)\t{", "  \xe4\xf6\xfc \x84\x94\x81 text  two  blanks", "",
                           full.c_str(), "    return 0;", "}", "", "last"};
    if (document) {
        for (auto it = document->rbegin(); it != document->rend(); ++it) pushBelow(&*it);
    } else {
        for (int i = static_cast<int>(sizeof lines / sizeof lines[0]) - 1; i >= 0; --i) fuzzPushLine(lines[i]);
    }
    if (nearlyFull) {
        // As many lines of 250 characters as leave what full window rows could
        // take, and a little more (the rows are empty here: measured once). The
        // store is filled only as far as that: filled to the brim and given back
        // line by line, it ends the same.
        const std::uint32_t wanted = storeWindowBytes() + 100 * (kLineChars + 5) + 600;
        static const LineRecord fullLine = [] {
            LineRecord line;
            lineInit(&line);
            std::memset(line.text, 'x', kLineChars);
            line.text[kLineChars] = '\0';
            return line;
        }();
        while (storeFreeBytes() >= wanted && pushBelow(&fullLine) == 0) {
        }
        LineRecord line;
        while (storeFreeBytes() < wanted && popBelow(&line) == 0) {
        }
        static bool seen = false;  // the first time, filled to the brim as well
        if (!seen) {
            seen = true;
            const StoreLayout was = storeLayout();
            const std::vector<unsigned char> below(was.lineArea + was.belowStart, was.lineArea + was.lineAreaSize);
            while (pushBelow(&fullLine) == 0) {
            }
            while (storeFreeBytes() < wanted && popBelow(&line) == 0) {
            }
            const StoreLayout s = storeLayout();
            fuzzCheck(s.belowStart == was.belowStart && s.belowCount == was.belowCount &&
                          std::equal(below.begin(), below.end(), s.lineArea + s.belowStart),
                      "the store filled to the brim ends elsewhere than filled to its margin");
        }
    }
    fillWindowFromBelow();
    topLine = aboveCountGet();
    modified = 0;
    refreshAll();
    headless_reset();
}

// The undelete buffers stay allocated: the next start empties them.
inline void fuzzEditorStop() {
    viewStateEnd();
    recorderReset();
    headless_reset();
}

// The whole document in order, the window rows in trimmed form, without the
// blank lines at its end.
FUZZ_UNTRACED inline std::vector<LineRecord> fuzzDocumentLines() {
    std::vector<LineRecord> lines;
    lines.reserve(static_cast<std::size_t>(aboveCountGet() + windowRows + belowCountGet()));
    auto add = [](LineRecord* line, void* user) {
        static_cast<std::vector<LineRecord>*>(user)->push_back(*line);
        return 1;
    };
    visitAbove(add, &lines);
    for (int r = 0; r < windowRows; ++r) {
        lines.emplace_back();
        rowGet(r, &lines.back());
    }
    visitBelow(add, &lines);
    while (!lines.empty() && lines.back().text[0] == '\0') lines.pop_back();
    return lines;
}

// The whole document, lines joined by '\n', the window rows in trimmed form,
// into text (kept by the caller from step to step: a buffer of the store's size
// taken anew every time would be fresh pages every time).
FUZZ_UNTRACED inline void fuzzDocumentText(std::string& text) {
    text.clear();
    text.reserve(kLineAreaSize + static_cast<std::size_t>(windowRows) * (kLineChars + 1));
    auto add = [](LineRecord* line, void* user) {
        static_cast<std::string*>(user)->append(line->text).push_back('\n');
        return 1;
    };
    visitAbove(add, &text);
    for (int r = 0; r < windowRows; ++r) {
        LineRecord line;
        rowGet(r, &line);
        text.append(line.text).push_back('\n');
    }
    visitBelow(add, &text);
}

// One stack's records from..to in document order: each n + 3, three mark bytes,
// n characters without a NUL, n + 3 again. The number of records, or -1.
FUZZ_UNTRACED inline long fuzzStackRecords(const unsigned char* area, std::uint32_t from, std::uint32_t to) {
    long count = 0;
    for (std::uint32_t at = from; at < to; ++count) {
        const unsigned n = area[at] - 3u;
        if (area[at] < 3 || n > kLineChars || at + n + 5 > to || area[at + n + 4] != area[at]) return -1;
        if (std::memchr(area + at + 4, 0, n) != nullptr) return -1;
        at += n + 5;
    }
    return count;
}

constexpr std::uint64_t kEightBlanks = 0x2020202020202020u;

FUZZ_UNTRACED inline void fuzzCheckStore() {
    const StoreLayout s = storeLayout();
    fuzzCheck(s.aboveTop <= s.belowStart && s.belowStart <= s.lineAreaSize, "the stacks overlap");
    fuzzCheck(fuzzStackRecords(s.lineArea, 0, s.aboveTop) == s.aboveCount, "the above stack is unsound");
    fuzzCheck(fuzzStackRecords(s.lineArea, s.belowStart, s.lineAreaSize) == s.belowCount,
              "the below stack is unsound");
    std::uint32_t rowBytes = 0;  // the rows' measure of the full-store guard: all 100 rows, measured here
    std::uint32_t flushBytes = 0;  // what flushing the window's rows below takes (blank rows at the end: none)
    bool belowEmpty = s.belowCount == 0;
    for (int r = kWindowRowsMax - 1; r >= 0; --r) {
        LineRecord row;
        rowGetRaw(r, &row);
        fuzzCheck(row.text[kLineChars] == '\0' && std::memchr(row.text, 0, kLineChars) == nullptr,
                  "a window row is not in window form");
        fuzzCheck(row.markState >= '0' && row.markState <= '3', "a window row has an unknown block mark");
        std::uint32_t n = kLineChars;
        for (std::uint64_t eight; n >= 8 && (std::memcpy(&eight, row.text + n - 8, 8), eight == kEightBlanks);) n -= 8;
        while (n > 0 && (row.text[n - 1] == ' ' || (row.text[n - 1] >= 9 && row.text[n - 1] <= 13))) --n;
        fuzzCheck(rowTrimmedLength(r) == static_cast<int>(n), "a window row's kept length is not its own");
        rowBytes += n + 5;
        if (r >= windowRows || (belowEmpty && n == 0)) continue;
        belowEmpty = false;
        flushBytes += n + 5;
    }
    fuzzCheck(storeWindowBytes() == rowBytes, "the store's sum of the window rows is not theirs");
    // Not the guard's measure, which keeps room for 100 rows: Page Down at the end of a nearly full
    // store pushes the rows' records above and may leave less than that (edits that add bytes are then
    // refused), while the rows still fit.
    fuzzCheck(flushBytes == 0 || storeFreeBytes() > flushBytes, "the window rows could no longer be flushed");
    fuzzCheck(topLine == s.aboveCount, "the window's top line is not the above stack's count");
    fuzzCheck(cursorRow >= 0 && cursorRow < windowRows && cursorCol >= 0 && cursorCol < windowCols,
              "the cursor stands outside the window");
    fuzzCheck(firstCol >= 0 && firstCol + cursorCol < kLineChars, "the cursor's column is beyond 249");
}
