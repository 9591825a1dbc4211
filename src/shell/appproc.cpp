#include "shell/appproc.h"

#include "framework/messages.h"
#include "view/refresh.h"

CommandHandler commandFind(const CommandEntry* table, int count, int id) {
    int low = 0;
    int high = count - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        if (table[middle].id == id) return table[middle].handler;
        if (table[middle].id < id) low = middle + 1;
        else high = middle - 1;
    }
    return nullptr;
}

void appCommand(const CommandEntry* table, int count, int id, std::intptr_t lParam) {
    if (id >= CMD_TRACE_FROM) debug_out("cmd %d\n", id);
    if (CommandHandler handler = commandFind(table, count, id)) handler(id, lParam);
    refreshAll();
}
