#include "document/filehist.h"

#include <cstdio>
#include <cstring>

#include "framework/messages.h"
#include "support/strfunc.h"

namespace {

// The list (null until historyCreate) and the start line of -l.
struct History {
    FilePosition* mps = nullptr;  // FILHISTSUP entries, entry 0 the newest
    std::int32_t startLine = -1;  // -1: none pending
    HistoryMenu menu{};           // both null: no menu
    bool separatorAdded = false;  // the separator before the first item exists
};
History history;

// The entry with exactly name, or -1.
int historyFind(const char* name) {
    for (int i = 0; i < FILHISTSUP; ++i) {
        if (history.mps[i].name[0] && std::strcmp(history.mps[i].name, name) == 0) return i;
    }
    return -1;
}

// Removes the menu items of all entries, the last first, so that the positions
// of the remaining items stay valid.
void menuItemsDelete() {
    for (int i = FILHISTSUP - 1; i >= 0; --i) {
        FilePosition& entry = history.mps[i];
        if (entry.menuPos > 0 && history.menu.remove) history.menu.remove(entry.menuPos);
        entry.menuPos = 0;
    }
}

// Entries 0-9 with a name get their command and, with a menu, their item.
void menuItemsAppend() {
    for (int i = 0; i < FILHISTSUP; ++i) {
        FilePosition& entry = history.mps[i];
        entry.menuPos = 0;
        const bool carriesCommand = i < HISTORY_MENU_ENTRIES && !str_is_blank(entry.name);
        entry.commandId = carriesCommand ? CMD_RECENT_FIRST + i : 0;
        if (!carriesCommand || !history.menu.append) continue;
        if (!history.separatorAdded) history.separatorAdded = history.menu.append(0, 0, nullptr) >= 0;
        char text[210];
        std::snprintf(text, sizeof text, "&%d %s", i, entry.name);
        const int pos = history.menu.append(1, entry.commandId, text);
        entry.menuPos = pos > 0 ? pos : 0;
    }
}

}  // namespace

void historySetMenu(const HistoryMenu* menu) {
    history.menu = menu ? *menu : HistoryMenu{};
    history.separatorAdded = false;
}

void historyCreate() {
    if (history.mps) {
        menuItemsDelete();
        std::memset(history.mps, 0, sizeof(FilePosition) * FILHISTSUP);
        return;
    }
    FilePosition* mps;
    Y8_ASSERT("filehist", 44, (mps = static_cast<FilePosition*>(fmalloc(FILHISTSUP, sizeof(FilePosition)))) != nullptr,
              "( mps = fmalloc( FILHISTSUP,sizeof(struct fp))) != NULL");
    history.mps = mps;
}

void historyDestroy() {
    if (!history.mps) return;
    menuItemsDelete();
    ffree(history.mps);
    history.mps = nullptr;
}

void historyAdd(const char* name) {
    if (!history.mps || !name || str_is_blank(name)) return;
    FilePosition* list = history.mps;
    menuItemsDelete();
    int from = historyFind(name);
    if (from < 0) from = FILHISTSUP - 1;  // a new name: the oldest entry drops out
    std::memmove(&list[1], &list[0], sizeof(FilePosition) * static_cast<std::size_t>(from));
    list[0] = FilePosition{};
    str_ncopy(list[0].name, name, 200);
    menuItemsAppend();
}

void historyStorePosition(const char* name, std::int32_t top, std::int32_t row, std::int32_t first,
                          std::int32_t col) {
    if (!history.mps || !name || !name[0]) return;
    for (int i = 0; i < FILHISTSUP; ++i) {
        FilePosition& entry = history.mps[i];
        if (std::strcmp(entry.name, name) != 0) continue;
        entry.topLine = top;
        entry.cursorRow = row;
        entry.firstCol = first;
        entry.cursorCol = col;
    }
}

void historyPosition(const char* name, std::int32_t* top, std::int32_t* row, std::int32_t* first,
                     std::int32_t* col) {
    *top = *row = *first = *col = 0;
    if (history.startLine >= 0) {
        *top = history.startLine;
        history.startLine = -1;
        return;
    }
    if (!history.mps || !name || !name[0]) return;
    const int i = historyFind(name);
    if (i < 0) return;
    *top = history.mps[i].topLine;
    *row = history.mps[i].cursorRow;
    *first = history.mps[i].firstCol;
    *col = history.mps[i].cursorCol;
}

void historyCommandName(int id, char* name) {
    name[0] = '\0';
    if (!history.mps) return;
    for (int i = 0; i < HISTORY_MENU_ENTRIES; ++i) {
        if (history.mps[i].commandId == id && history.mps[i].name[0]) {
            str_ncopy(name, history.mps[i].name, 200);
            return;
        }
    }
}

int historyName(int i, char* name) {
    name[0] = '\0';
    if (!history.mps || i < 0 || i >= FILHISTSUP || !history.mps[i].name[0]) return -1;
    str_ncopy(name, history.mps[i].name, 200);
    return 0;
}

void startLineSet(std::int32_t n) { history.startLine = n < 0 ? -1 : n; }
