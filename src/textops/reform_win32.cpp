#include "textops/reform_win32.h"

#include <windows.h>

#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/strfunc.h"
#include "textops/reform.h"

namespace {

HWND reformWindow = nullptr;  // the open dialog

void rulesTake() { dlg_get_text(REFORM_FIELD, reformRules, REFORM_RULES_MAX); }

void reformInit(int, char**) {
    reformWindow = dlg_hwnd();
    if (reformFile[0] != '\0') reformRulesRead(reformFile);
    SendMessageA(dlg_item(REFORM_FIELD), EM_LIMITTEXT, static_cast<WPARAM>(REFORM_RULES_MAX), 0);
    dlg_put_text(REFORM_FIELD, reformRules);
}

// Whatever way the dialog closes, the rules as they stand are kept.
void reformExit() {
    rulesTake();
    reformWindow = nullptr;
}

INT_PTR reformProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    if (id == DLG_ACTION) {
        rulesTake();
        reform_apply();
    }
    if (id == REFORM_TEMPLATE) dlg_put_text(REFORM_FIELD, reformTemplate);
    else if (id == DLG_ACTION || id == DLG_CANCEL) dlg_close();
    return 0;
}

}  // namespace

void reform_open(const char* path) {
    str_ncopy(reformFile, path != nullptr ? path : "", FILE_PATH_MAX);
    // Already open: a rule file still replaces the rules shown.
    if (reformWindow != nullptr && reformFile[0] != '\0' && reformRulesRead(reformFile)) {
        SetDlgItemTextA(reformWindow, REFORM_FIELD, reformRules);
    }
    dlg_open("DB1102", reformInit, reformExit, reformProc);
}
