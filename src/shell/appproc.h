// The application procedure's command table: every WM_COMMAND number selects
// one row of a table sorted by number; numbers without a row do nothing. The
// rows that need no window system stand in the portable table here
// (appCommandsCore); the rows that open dialogs or move the main window, and
// the message side of the application procedure (the text window first, then
// commands and dropped files), are in appproc_win32.cpp.
#pragma once

#include <cstdint>

// One operation of the command table; lParam travels with the command
// (command 1402 carries the token of a text left with phrase_post).
using CommandHandler = void (*)(int id, std::intptr_t lParam);

struct CommandEntry {
    int id;
    CommandHandler handler;
};

constexpr int CMD_TRACE_FROM = 2000;  // commands from this number on go to the debug trace

// True when the ids of the table rise strictly (no number twice): the
// lookup relies on it.
constexpr bool commandTableSorted(const CommandEntry* table, int count) {
    for (int i = 1; i < count; ++i) {
        if (table[i - 1].id >= table[i].id) return false;
    }
    return true;
}

// The handler of id in a sorted table, or null when the table has no row for it.
CommandHandler commandFind(const CommandEntry* table, int count, int id);
// A WM_COMMAND: numbers from 2000 on are traced as "cmd %d"; the row of id,
// when there is one, runs; then, whatever the number, the full refresh.
void appCommand(const CommandEntry* table, int count, int id, std::intptr_t lParam);

// The portable rows: files, the recent files, copy/paste/cut, the conversions, the line block,
// search, the ruling lines, the keystroke recordings and the text of command 1402.
extern const CommandEntry* const appCommandsCore;
extern const int appCommandsCoreCount;
// A WM_COMMAND as the program handles it: traced from 2000 on, the row of id
// in the portable table or else in platformTable runs, then the full refresh.
void appCommandRoute(const CommandEntry* platformTable, int platformCount, int id, std::intptr_t lParam);
