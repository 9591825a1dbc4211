// The application procedure: every message of the main window while the loop
// runs. The text window sees each message first; WM_COMMAND selects a row of
// the command table and WM_DROPFILES opens the dropped files, and both end
// with the full refresh.
#include <windows.h>

#include <shellapi.h>

#include "framework/messages.h"
#include "resources/resource.h"
#include "shell/app_win32.h"
#include "shell/appproc.h"
#include "shell/mainwin_win32.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/profile_win32.h"
#include "view/refresh.h"
#include "view/textview_win32.h"

namespace {

void restoreWhenMinimized() {
    if (IsIconic(App.mainWindow)) ShowWindow(App.mainWindow, SW_RESTORE);
}

// 1008, posted once at start-up: the window shown as it should be and the text
// window laid out for its size.
void placeWindow(int, std::intptr_t) {
    restoreWhenMinimized();
    viewResize();
}

// The operations of the commands, sorted by number.
constexpr CommandEntry kCommands[] = {
    {CMD_PLACE_WINDOW, placeWindow},
};
constexpr int kCommandCount = static_cast<int>(sizeof kCommands / sizeof kCommands[0]);
static_assert(commandTableSorted(kCommands, kCommandCount), "the command table must rise by number");

int dropFileAt(int i, char* name) { return drop_file(i, name); }

// The first dropped file is opened in this window (queued for the open command
// like a file of the command line); files 2 to 10 start further copies.
void filesDropped(HDROP drop) {
    restoreWhenMinimized();
    char first[FILE_PATH_MAX + 1];
    if (dropFilesHandle(drop_count(drop), dropFileAt, first) && pendingFilePush(first))
        post_message(App.mainWindow, WM_COMMAND, CMD_OPEN_PENDING, 0);
    drop_finish();
}

}  // namespace

void appProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (viewMessage(message, wParam, lParam)) setWindowResult(0);
    switch (message) {
    case WM_COMMAND:
        appCommand(kCommands, kCommandCount, LOWORD(wParam), static_cast<std::intptr_t>(lParam));
        break;
    case WM_DROPFILES:
        filesDropped(reinterpret_cast<HDROP>(wParam));
        refreshAll();
        break;
    default:
        break;  // WM_ACTIVATEAPP and the rest: the text window's alone
    }
}
