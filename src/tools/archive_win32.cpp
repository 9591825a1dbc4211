#include "tools/archive_win32.h"

#include <windows.h>

#include <initializer_list>

#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/profile_win32.h"
#include "tools/archive.h"

namespace {

HWND archiveWindow = nullptr;
bool running = false;  // "Start" again while a run pumps messages does nothing

// Each entry is shown at once, and the messages waiting are handled, so that
// the panel stays alive during a long run; a panel closed meanwhile ends it.
bool showEntry(const char* text, int top, void*) {
    list_add(ARCHIVE_LIST, text);
    if (top >= 0) list_set_top(ARCHIVE_LIST, top);
    dlg_update_item(ARCHIVE_LIST);
    pump_messages(archiveWindow);
    return archiveWindow != nullptr;
}

void showStatus(const char* text, void*) {
    if (archiveWindow == nullptr) return;
    dlg_put_text(ARCHIVE_STATUS, text);
    dlg_update_item(ARCHIVE_STATUS);
}

void archiveInitDialog(int, char**) {
    archiveWindow = dlg_hwnd();
    panel_place(archiveWindow);
    list_reset(ARCHIVE_LIST);
    archiveInit();
    for (int id : {ARCHIVE_SOURCE, ARCHIVE_TARGET}) {
        SendMessageA(dlg_item(id), EM_LIMITTEXT, static_cast<WPARAM>(ARCHIVE_FIELD_MAX), 0);
    }
    dlg_set_text(ARCHIVE_SOURCE, archiveSource);
    dlg_set_text(ARCHIVE_TARGET, archiveTarget);
    dlg_set_text(ARCHIVE_STATUS, "");
}

void archiveExit() { archiveWindow = nullptr; }

void archiveStart() {
    if (running) return;
    char source[ARCHIVE_FIELD_MAX + 1];
    char target[ARCHIVE_FIELD_MAX + 1];
    list_reset(ARCHIVE_LIST);
    dlg_get_text(ARCHIVE_SOURCE, source, ARCHIVE_FIELD_MAX);
    dlg_get_text(ARCHIVE_TARGET, target, ARCHIVE_FIELD_MAX);
    const ArchiveView view = {showEntry, showStatus, nullptr};
    running = true;
    archiveRun(source, target, dlg_get_check(ARCHIVE_TEST_RUN) != 0, view);
    running = false;
}

INT_PTR archiveProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    if (id == DLG_ACTION || id == IDOK) archiveStart();
    else if (id == DLG_CANCEL) dlg_close();
    return 0;
}

}  // namespace

void archive_open() { dlg_open("DB1216", archiveInitDialog, archiveExit, archiveProc); }
