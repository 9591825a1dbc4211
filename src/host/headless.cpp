#include "host/headless.h"

#include "framework/platform.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "host/headless_status.h"

#include <deque>

namespace {
HeadlessRecord record;  // what the core has asked for since the last reset
std::vector<HeadlessContextMenu> contextMenus;  // the menus shown
std::deque<int> contextMenuAnswers;             // what the next menus return
}

void headless_reset() {
    record = HeadlessRecord{};
    contextMenus.clear();
    contextMenuAnswers.clear();
    headless_messages_reset();
    headless_profile_reset();
    headless_status_reset();
}

const HeadlessRecord& headless_record() { return record; }

void plat_repaint_view() { ++record.viewRepaints; }

void plat_row_paint_begin() {
    if (record.openContexts > 0) ++record.nestedContexts;
    ++record.openContexts;
    ++record.rowPaintContexts;
}

void plat_row_paint_row(int row) {
    ++record.rowsPainted;
    record.lastRowPainted = row;
}

void plat_row_paint_text(int col, int row, const char*, int n, char) {
    ++record.textsPainted;
    record.lastRowPainted = row;
    record.lastTextCol = col;
    record.lastTextLength = n;
}

void plat_row_paint_end() { --record.openContexts; }

void plat_caret_refresh() { ++record.caretRefreshes; }

void plat_scrollbar_set(int max, int page, int pos) {
    ++record.scrollbarSets;
    record.scrollMax = max;
    record.scrollPage = page;
    record.scrollPos = pos;
}

int plat_context_menu(const char* menuName, int x, int y) {
    contextMenus.push_back(HeadlessContextMenu{menuName ? menuName : "", x, y});
    if (contextMenuAnswers.empty()) return 0;
    const int id = contextMenuAnswers.front();
    contextMenuAnswers.pop_front();
    return id;
}

void headless_context_menu_answer(int id) { contextMenuAnswers.push_back(id); }

const std::vector<HeadlessContextMenu>& headless_context_menus() { return contextMenus; }
