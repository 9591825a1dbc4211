// Benchmarks of the key dispatcher on the headless host: a typed character
// and the cursor keys, each the whole way from keyChar/keyDown through the
// editing primitives to refreshAll. Besides the time, every benchmark reports
// per key what it asked the text window to paint (from headless_record):
// row-paint contexts, row segments drawn, whole rows painted and full
// repaints. A typed character should draw one row segment in one context.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "../tests/lib/empty_store.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "host/headless.h"
#include "view/cursor.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/refresh.h"
#include "view/taste.h"
#include "view/textview.h"

namespace {

constexpr int kLines = 1000;
constexpr char kLineText[] = "    if (count > 0) value = buffer[index];  /* note */";

// A document of 1000 C-like lines in a window of 40 rows and 80 columns, the
// cursor on row 10, column 4.
void setUpView() {
    headless_reset();
    emptyStoreStart(40, 80);
    undeleteCreate();
    optionsSetDefaults();
    recorderReset();
    snapshotReset();
    viewStateStart(0);
    LineRecord line;
    for (int i = 0; i < kLines; ++i) {
        lineInit(&line);
        std::snprintf(line.text, sizeof line.text, "%s %d", kLineText, i);
        pushBelow(&line);
    }
    fillWindowFromBelow();
    topLine = aboveCountGet();
    cursorRow = 10;
    cursorCol = 4;
    refreshAll();
    headless_reset();
}

// What the keys asked the text window to paint, per key.
void reportPainting(benchmark::State& state, long keys) {
    const HeadlessRecord& rec = headless_record();
    const double n = keys > 0 ? static_cast<double>(keys) : 1.0;
    state.counters["contexts/key"] = rec.rowPaintContexts / n;
    state.counters["segments/key"] = rec.textsPainted / n;
    state.counters["rows/key"] = rec.rowsPainted / n;
    state.counters["repaints/key"] = rec.viewRepaints / n;
}

// Types characters into row 10 in insert mode with "Spaltentreue"; every 60
// characters the row gets its text back and the cursor goes to column 4 (not
// a key, so nothing is painted for it).
void BM_TypeChar(benchmark::State& state) {
    setUpView();
    LineRecord original;
    rowGetRaw(cursorRow, &original);
    long keys = 0;
    for (auto _ : state) {
        keyChar('a' + static_cast<int>(keys % 26), false, false, false);
        if (++keys % 60 == 0) {
            rowPut(cursorRow, &original);
            cursorCol = 4;
        }
    }
    reportPainting(state, keys);
    state.SetItemsProcessed(keys);
}
BENCHMARK(BM_TypeChar);

// Right and Left in turn inside the row.
void BM_CursorRightLeft(benchmark::State& state) {
    setUpView();
    long keys = 0;
    for (auto _ : state) {
        keyDown((keys & 1) != 0 ? vk::kLeft : vk::kRight, false, false, false);
        ++keys;
    }
    reportPainting(state, keys);
    state.SetItemsProcessed(keys);
}
BENCHMARK(BM_CursorRightLeft);

// Down and Up in turn inside the window: the line snapshot follows the cursor.
void BM_CursorDownUp(benchmark::State& state) {
    setUpView();
    long keys = 0;
    for (auto _ : state) {
        keyDown((keys & 1) != 0 ? vk::kUp : vk::kDown, false, false, false);
        ++keys;
    }
    reportPainting(state, keys);
    state.SetItemsProcessed(keys);
}
BENCHMARK(BM_CursorDownUp);

// Down in the window's last row: the view scrolls one line per key. Near the
// document's end the view goes back to its start (a key of its own, counted).
void BM_CursorDownScrolling(benchmark::State& state) {
    setUpView();
    cursorRow = windowRows - 1;
    long keys = 0;
    for (auto _ : state) {
        keyDown(vk::kDown, false, false, false);
        if (++keys % 900 == 0) {
            keyDown(vk::kPrior, false, true, false);
            cursorRow = windowRows - 1;
            ++keys;
        }
    }
    reportPainting(state, keys);
    state.SetItemsProcessed(keys);
}
BENCHMARK(BM_CursorDownScrolling);

}  // namespace
