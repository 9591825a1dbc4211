// The headless host: the platform services for tests, benchmarks and fuzzing.
// It records what the core asked of the platform so that a test can check it.
#pragma once

#include <string>
#include <vector>

// What the core asked of the text window since the last headless_reset().
struct HeadlessRecord {
    int viewRepaints = 0;     // plat_repaint_view() calls
    int rowPaintContexts = 0; // plat_row_paint_begin() calls
    int openContexts = 0;     // contexts taken and not yet released (must end at 0)
    int nestedContexts = 0;   // a context taken while one was open (must stay 0)
    int rowsPainted = 0;      // plat_row_paint_row() calls
    int textsPainted = 0;     // plat_row_paint_text() calls
    int lastRowPainted = -1;  // the row of the last row or text painted
    int lastTextCol = -1;     // the column and length of the last text painted
    int lastTextLength = 0;
    int caretRefreshes = 0;   // plat_caret_refresh() calls
    int scrollbarSets = 0;    // plat_scrollbar_set() calls, and the last values
    int scrollMax = 0, scrollPage = 0, scrollPos = 0;
};

// Forgets everything recorded and queued, in every part of the host.
void headless_reset();
const HeadlessRecord& headless_record();

// One context menu the core showed (plat_context_menu).
struct HeadlessContextMenu {
    std::string menu;  // the menu resource's name
    int x, y;          // the client point it was shown at
};
// Queues the command id the next context menu returns; with an empty queue a
// menu is dismissed (0).
void headless_context_menu_answer(int id);
// Every context menu since the last reset, oldest first.
const std::vector<HeadlessContextMenu>& headless_context_menus();

// The keyboard layout plat_key_char answers from: the US layout (the default
// after a reset), German as Windows reports it, or German as Wine reports it
// on an X server with the German layout (the keys' US codes, German characters).
enum class HeadlessLayout { Us, GermanWindows, GermanUnderWine };
void headless_keyboard_layout(HeadlessLayout layout);
