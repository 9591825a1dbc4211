// The application procedure: every message of the main window while the loop
// runs. The text window sees each message first; WM_COMMAND selects a row of
// the command table and WM_DROPFILES opens the dropped files, and both end
// with the full refresh.
#include <windows.h>

#include <shellapi.h>

#include "document/docfile.h"
#include "document/docfile_win32.h"
#include "document/filehist_win32.h"
#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "framework/messages.h"
#include "resources/resource.h"
#include "support/app_win32.h"
#include "shell/appproc.h"
#include "shell/config_win32.h"
#include "shell/mainwin_win32.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/profile_win32.h"
#include "support/status_win32.h"
#include "textops/block.h"
#include "textops/lists.h"
#include "textops/lists_win32.h"
#include "textops/reform_win32.h"
#include "tools/adder_win32.h"
#include "tools/archive_win32.h"
#include "tools/baukasten_win32.h"
#include "tools/facette_win32.h"
#include "tools/infotools_win32.h"
#include "tools/phrases_win32.h"
#include "view/cursor_win32.h"
#include "view/marking.h"
#include "view/refresh.h"
#include "view/search.h"
#include "view/search_win32.h"
#include "view/textview_win32.h"

namespace {

void restoreWhenMinimized() {
    if (IsIconic(App.mainWindow)) ShowWindow(App.mainWindow, SW_RESTORE);
}

// 1008, posted once at start-up: the window placed from this copy's slot, shown
// as it should be and the text window laid out for its size.
void placeWindow(int, std::intptr_t) {
    windowSlot = slotTake(windowSlot);
    restoreWhenMinimized();
    viewResize();
}

// 1100: the marked text, when there is one, becomes the search text first.
void searchOpen(int, std::intptr_t) {
    searchTextFromMark();
    searchDialogOpen();
}
void blockReplaceOpen(int, std::intptr_t) { blockReplaceDialogOpen(block_replace); }

// 1200 and 1201: every in-line mark cleared; a marked text opens the search
// list for it, else the overview or the structure. Ctrl+\334 and Ctrl+T post 1200
// with lParam kListPostedByKey after setting the list's kind and text.
void listCommand(int kind, std::intptr_t lParam) {
    if (lParam == kListPostedByKey) {
        list_open(listKind, nullptr);
        return;
    }
    char marked[kLineChars + 1];
    const bool hasText = markedText(marked, sizeof marked) != 0 && marked[0] != '\0';
    markClear();
    list_open(hasText ? kListSearch : kind, hasText ? marked : "");
}
void overviewOpen(int, std::intptr_t lParam) { listCommand(kListOverview, lParam); }
void structureOpen(int, std::intptr_t lParam) { listCommand(kListStructure, lParam); }
void directoryPanelCommand(int, std::intptr_t) { directoryPanelOpen(); }
void historyPanelCommand(int, std::intptr_t) { historyPanelOpen(); }
void positionOpen(int, std::intptr_t) { positionDialogOpen(); }
void optionsOpen(int, std::intptr_t) { optionsDialogOpen(); }
void propertiesOpen(int, std::intptr_t) { propertiesDialogOpen(); }
// 1410: from the menu; Ctrl+minus posts it with lParam 1, so that the text
// window gets the focus back.
void adderOpen(int, std::intptr_t lParam) { adder_open(lParam == 1 ? 1 : 0); }
void ansiOpen(int, std::intptr_t) { ansi_open(); }
void baukastenCommand(int, std::intptr_t) { baukasten_open(); }
void blockFileCommand(int, std::intptr_t) { bauklotz_file(); }
void phraseListCommand(int, std::intptr_t) { floskel_reopen(); }
void reformCommand(int, std::intptr_t) { reform_open(""); }
void directoriesCommand(int, std::intptr_t) { directoriesOpen(); }
void phrasesCommand(int, std::intptr_t) { floskeln_dialog(); }
void archiveCommand(int, std::intptr_t) { archive_open(); }
void facetteCommand(int, std::intptr_t) { facette_open(); }
void infoDialogCommand(int, std::intptr_t) { info_dialog(); }
void extensionsCommand(int, std::intptr_t) { extensionsOpen(); }
void coloursCommand(int, std::intptr_t) { coloursOpen(); }
void helpContents(int, std::intptr_t) { show_help(nullptr, nullptr); }

// F1: the page of the active dialog box, the contents when none is active.
void helpContext(int, std::intptr_t) {
    char name[DLG_NAME_MAX + 1];
    dlg_active_name(name);
    show_help(nullptr, name);
}

// The rows that need the window system, sorted by number; the portable rows
// (shell/appproc.cpp) are consulted first.
constexpr CommandEntry kCommands[] = {
    {CMD_DIRECTORY_PANEL, directoryPanelCommand},
    {CMD_PLACE_WINDOW, placeWindow},
    {CMD_BAUKASTEN_FILE, blockFileCommand},
    {CMD_RECENT_PANEL, historyPanelCommand},
    {CMD_SEARCH, searchOpen},
    {CMD_OVERVIEW, overviewOpen},
    {CMD_STRUCTURE, structureOpen},
    {CMD_ARCHIVE, archiveCommand},
    {CMD_POSITION, positionOpen},
    {CMD_OPTIONS, optionsOpen},
    {CMD_PROPERTIES, propertiesOpen},
    {CMD_BAUKASTEN, baukastenCommand},
    {CMD_FLOSKELN, phraseListCommand},
    {CMD_FACETTE, facetteCommand},
    {CMD_ADDIERER, adderOpen},
    {CMD_ANSI_TABLE, ansiOpen},
    {CMD_BLOCK_REPLACE, blockReplaceOpen},
    {CMD_BLOCK_REFORM, reformCommand},
    {CMD_CONF_DIRECTORIES, directoriesCommand},
    {CMD_CONF_TOOLS, infoDialogCommand},
    {CMD_CONF_FLOSKELN, phrasesCommand},
    {CMD_CONF_EXTENSIONS, extensionsCommand},
    {CMD_CONF_COLOURS, coloursCommand},
    {CMD_HELP_CONTENTS, helpContents},
    {CMD_HELP_CONTEXT, helpContext},
};
constexpr int kCommandCount = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);
static_assert(commandTableSorted(kCommands, kCommandCount), "the command table must rise by number");

int dropFileAt(int i, char* name) { return drop_file(i, name); }

// The back list is reduced and the first dropped file opened in this window
// (queued for the open command like a file of the command line); files 2 to
// 10 start further copies.
void filesDropped(HDROP drop) {
    restoreWhenMinimized();
    char first[FILE_PATH_MAX + 1];
    if (dropFilesHandle(drop_count(drop), dropFileAt, first)) {
        backReduce();
        if (pendingFilePush(first)) post_message(App.mainWindow, WM_COMMAND, CMD_OPEN_PENDING, 0);
    }
    drop_finish();
}

}  // namespace

void appProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (viewMessage(message, wParam, lParam)) setWindowResult(0);
    switch (message) {
    case WM_COMMAND:
        appCommandRoute(kCommands, kCommandCount, LOWORD(wParam), static_cast<std::intptr_t>(lParam));
        break;
    case WM_DROPFILES:
        filesDropped(reinterpret_cast<HDROP>(wParam));
        refreshAll();
        break;
    default:
        break;  // WM_ACTIVATEAPP and the rest: the text window's alone
    }
}
