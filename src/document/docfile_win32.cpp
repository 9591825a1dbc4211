#include "document/docfile_win32.h"

#include <windows.h>

#include <cstdint>

#include "document/docfile.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/status_win32.h"

namespace {

void propertiesInit(int, char**) { propertiesDialogOpened(reinterpret_cast<std::intptr_t>(dlg_hwnd())); }

void propertiesExit() { propertiesDialogClosed(); }

void propertiesShow() {
    const PropertiesView view = propertiesDialogView();
    if (view.nameChanged) dlg_set_text(PROP_NAME, view.name);
    if (view.dirChanged) dlg_set_text(PROP_DIR, view.dir);
    if (view.sizeChanged) dlg_set_text(PROP_SIZE, view.size);
    if (view.timeChanged) dlg_set_text(PROP_TIME, view.time);
    if (view.modifiedChanged) dlg_set_check(PROP_MODIFIED, view.modified);
    if (view.crlfChanged) dlg_set_check(PROP_CRLF, view.crlf);
}

INT_PTR propertiesProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    if (id == DLG_REFRESH) {
        propertiesShow();
    } else if (id == DLG_CANCEL) {
        dlg_close();
    } else if (HIWORD(wParam) == BN_CLICKED) {
        propertiesBoxClicked(id, dlg_get_check(id));
    }
    return 0;
}

}  // namespace

void propertiesDialogOpen() { dlg_open("DB1302", propertiesInit, propertiesExit, propertiesProc); }
