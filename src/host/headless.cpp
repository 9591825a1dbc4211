#include "host/headless.h"

#include "support/platform.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "host/headless_status.h"

#include <deque>

namespace {
HeadlessRecord record;  // what the core has asked for since the last reset
std::vector<HeadlessContextMenu> contextMenus;  // the menus shown
std::deque<int> contextMenuAnswers;             // what the next menus return
HeadlessLayout layout = HeadlessLayout::Us;

// The punctuation keys' characters; letters, digits and the numeric pad's
// operators are the same in all three layouts.
struct KeyChars {
    int vk;
    int us, germanWindows, germanWine;
};
constexpr KeyChars kPunctuation[] = {
    {186, ';', 0xDC, 0xDF}, {187, '=', '+', 0xB4}, {188, ',', ',', ','},   {189, '-', '-', 0xDC},
    {190, '.', '.', '.'},   {191, '/', '#', '-'},  {192, '`', 0xD6, '^'},  {219, '[', 0xDF, 0xD6},
    {220, '\\', '^', '#'},  {221, ']', 0xB4, '+'}, {222, '\'', 0xC4, 0xC4}, {226, '\\', '<', '<'},
};
}

void headless_reset() {
    record = HeadlessRecord{};
    contextMenus.clear();
    contextMenuAnswers.clear();
    layout = HeadlessLayout::Us;
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

void headless_keyboard_layout(HeadlessLayout l) { layout = l; }

int plat_key_char(int vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return vk;
    if (vk == 107) return '+';  // the numeric pad's operators
    if (vk == 109) return '-';
    for (const KeyChars& k : kPunctuation) {
        if (k.vk != vk) continue;
        return layout == HeadlessLayout::Us ? k.us : layout == HeadlessLayout::GermanWindows ? k.germanWindows : k.germanWine;
    }
    return 0;
}
