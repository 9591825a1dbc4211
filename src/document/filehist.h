// The recent files list: the last 30 documents of this run, newest first, each
// with the position the user left it at, and the start line of the command
// line's -l option. Not kept on disk: it starts empty at every start.
//
// Entries 0-9 carry the command 1050 + entry number and appear as items
// "&%d %s" at the end of the menu "&Datei", after one separator; the menu
// itself is reached through the device table the window side installs
// (HistoryMenu, support/devices.h).
#pragma once

#include "resources/resource.h"
#include "support/devices.h"

#include <cstdint>

constexpr int FILHISTSUP = 30;          // entries of the list
constexpr int HISTORY_MENU_ENTRIES = 10;  // the newest ones that carry a command

// One entry; an empty name marks a free entry.
struct FilePosition {
    char name[201];
    std::int32_t menuPos;    // position of its menu item, 0 = none
    std::int32_t commandId;  // 1050 + entry number for entries 0-9, else 0
    std::int32_t topLine, cursorRow, firstCol, cursorCol;
};

// Allocates the 30 entries (start-up); an assertion ends the program when the
// memory is not there. A second call empties the list.
void historyCreate();
// Releases them (program end). Every function below does nothing (or answers
// "none") while the list does not exist.
void historyDestroy();
// The document's name changed: name becomes entry 0 with a zero position. A
// name already in the list moves up from its place; a new one pushes entry 29
// out. An empty or blank name is ignored.
void historyAdd(const char* name);
// Stores the position in every entry with exactly that name.
void historyStorePosition(const char* name, std::int32_t top, std::int32_t row, std::int32_t first,
                          std::int32_t col);
// The position to open name at: all zero, then a pending start line (which is
// used up) as the top line; else the stored position of name when it is in the list.
void historyPosition(const char* name, std::int32_t* top, std::int32_t* row, std::int32_t* first,
                     std::int32_t* col);
// The menu itself: HistoryMenu and historySetMenu in support/devices.h.

// The name behind command id (1050-1059) into name (201 bytes); empty when none.
void historyCommandName(int id, char* name);
// Entry i into name (201 bytes): 0, or -1 (name empty) when i is outside 0-29
// or the entry is free.
int historyName(int i, char* name);
// The start line for the next whole load (0-based); -1: none.
void startLineSet(std::int32_t n);
