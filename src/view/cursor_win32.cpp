#include "view/cursor_win32.h"

#include <windows.h>

#include <cstdint>

#include "framework/dialog_win32.h"
#include "support/status.h"
#include "support/status_win32.h"
#include "view/cursor.h"
#include "view/options.h"

namespace {

// The handle the portable side posts its refresh commands to.
std::intptr_t currentDialog() { return reinterpret_cast<std::intptr_t>(dlg_hwnd()); }

// The text of an edit field, at most a field's length.
struct FieldText {
    char text[FIELD_TEXT_MAX + 1] = "";
    explicit FieldText(int id) { dlg_get_text(id, text, FIELD_TEXT_MAX); }
};

// --- "Optionen" -------------------------------------------------------------------------

void optionsInit(int, char**) {
    dlg_set_int(OPT_TAB_ENTERED, tabStep);
    dlg_set_int(OPT_INDENT_ENTERED, indentStep);
    optionsDialogOpened(currentDialog());
}

void optionsExit() { optionsDialogClosed(); }

void optionsShow() {
    const OptionsView view = optionsDialogView();
    for (int i = 0; i < OPTIONS_BOXES; ++i) dlg_set_check(optionsBoxIds[i], view.checks[i]);
    if (view.tabChanged) dlg_set_int(OPT_TAB_SHOWN, view.tab);
    if (view.indentChanged) dlg_set_int(OPT_INDENT_SHOWN, view.indent);
}

INT_PTR optionsProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    if (id == DLG_REFRESH) {
        optionsShow();
    } else if (id == DLG_ACTION) {
        optionsStepsSet(FieldText(OPT_TAB_ENTERED).text, FieldText(OPT_INDENT_ENTERED).text);
    } else if (id == DLG_CANCEL) {
        dlg_close();
    } else if (HIWORD(wParam) == BN_CLICKED) {
        optionsBoxClicked(id, dlg_get_check(id));
    }
    return 0;
}

// --- "Position" ---------------------------------------------------------------------------

void positionInit(int, char**) {
    const CursorPosition now = cursorPosition();
    dlg_set_int(POS_COLUMN_ENTERED, now.column);
    dlg_set_int(POS_LINE_ENTERED, now.line);
    positionDialogOpened(currentDialog());
}

void positionExit() { positionDialogClosed(); }

INT_PTR positionProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    switch (LOWORD(wParam)) {
    case DLG_REFRESH: {
        const CursorPosition shown = positionDialogView();
        dlg_set_int(POS_COLUMN_SHOWN, shown.column);
        dlg_set_int(POS_LINE_SHOWN, shown.line);
        break;
    }
    case DLG_ACTION:
        positionSet(FieldText(POS_LINE_ENTERED).text, FieldText(POS_COLUMN_ENTERED).text);
        dlg_close();
        break;
    case DLG_CANCEL:
        dlg_close();
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace

void optionsDialogOpen() { dlg_open("DB1301", optionsInit, optionsExit, optionsProc); }

void positionDialogOpen() { dlg_open("DB1300", positionInit, positionExit, positionProc); }
