#include "tools/infotools_win32.h"

#include <windows.h>

#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "tools/infotools.h"

namespace {

int fieldId(int i) { return INFO_FIELD_FIRST + 10 * i; }

void fieldsShow(const InfoFields& fields) {
    for (int i = 0; i < INFO_FIELDS; ++i) dlg_set_text(fieldId(i), fields[static_cast<size_t>(i)].data());
}

void fieldsRead(InfoFields* fields) {
    for (int i = 0; i < INFO_FIELDS; ++i) dlg_get_text(fieldId(i), (*fields)[static_cast<size_t>(i)].data(), INFO_TEMPLATE_MAX);
}

void infoInit(int, char**) {
    InfoFields fields{};
    infoFieldsLoad(&fields);
    for (int i = 0; i < INFO_FIELDS; ++i) {
        SendMessageA(dlg_item(fieldId(i)), EM_LIMITTEXT, static_cast<WPARAM>(INFO_TEMPLATE_MAX), 0);
    }
    fieldsShow(fields);
}

// "&Speichern" stores every field and closes; "Standard" only shows the
// standard values (the field of "LintBAT" stays); Cancel closes.
INT_PTR infoProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    InfoFields fields{};
    if (id == DLG_ACTION || id == IDOK || id == INFO_STANDARD) fieldsRead(&fields);
    if (id == INFO_STANDARD) {
        infoFieldsStandard(&fields);
        fieldsShow(fields);
    } else if (id == DLG_ACTION || id == IDOK) {
        infoFieldsSave(fields);
        dlg_close();
    } else if (id == DLG_CANCEL) {
        dlg_close();
    }
    return 0;
}

}  // namespace

void info_dialog() { dlg_open("DB1601", infoInit, nullptr, infoProc); }
