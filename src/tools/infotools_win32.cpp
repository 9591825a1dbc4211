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

INT_PTR infoProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    InfoFields fields{};
    switch (LOWORD(wParam)) {
    case DLG_ACTION:
    case IDOK:
        fieldsRead(&fields);
        infoFieldsSave(fields);
        dlg_close();
        break;
    case INFO_STANDARD:
        fieldsRead(&fields);  // the field of "LintBAT" stays as it is
        infoFieldsStandard(&fields);
        fieldsShow(fields);
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

void info_dialog() { dlg_open("DB1601", infoInit, nullptr, infoProc); }
