#include "tools/adder_win32.h"

#include <windows.h>

#include <cstdint>

#include "framework/dialog_win32.h"
#include "support/app_win32.h"
#include "support/profile_win32.h"
#include "support/status.h"
#include "support/status_win32.h"
#include "tools/adder.h"

namespace {

// The text of an edit field, at most a field's length.
struct FieldText {
    char text[FIELD_TEXT_MAX + 1] = "";
    explicit FieldText(int id) { dlg_get_text(id, text, FIELD_TEXT_MAX); }
};

// --- "Addierer" --------------------------------------------------------------------------

// Set while the procedure writes a field itself: that change is no typing.
bool writingFields = false;

void putField(int id, const char* text) {
    writingFields = true;
    dlg_set_text(id, text);
    writingFields = false;
}

void adderInit(int, char**) {
    dlg_set_check(ADDER_IN_TEXT_BOX, adderInText);
    adderOpened(reinterpret_cast<std::intptr_t>(dlg_hwnd()));
}

void adderExit() { adderClosed(); }

void adderShow() {
    const AdderView view = adderView();
    if (view.intChanged) {
        putField(ADDER_DECIMAL, view.decimal);
        putField(ADDER_HEX, view.hex);
    }
    if (view.realChanged) putField(ADDER_REAL, view.real);
    if (view.refocus && App.mainWindow) bring_to_front(App.mainWindow);
}

// A field the user typed into: the sum follows, and the other field of the pair.
void adderTyped(int id) {
    char other[ADDER_TEXT_SIZE];
    if (id == ADDER_DECIMAL) {
        adderDecimalTyped(FieldText(id).text, other);
        putField(ADDER_HEX, other);
    } else if (id == ADDER_HEX) {
        adderHexTyped(FieldText(id).text, other);
        putField(ADDER_DECIMAL, other);
    } else {
        adderRealTyped(FieldText(id).text);
    }
}

INT_PTR adderProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    switch (id) {
    case DLG_REFRESH:
        adderShow();
        break;
    case ADDER_CLOSE_COMMAND:
    case DLG_CANCEL:
        dlg_close();
        break;
    case ADDER_IN_TEXT_BOX:
        if (HIWORD(wParam) == BN_CLICKED) adderInTextSet(dlg_get_check(ADDER_IN_TEXT_BOX));
        break;
    case ADDER_DECIMAL:
    case ADDER_HEX:
    case ADDER_REAL:
        if (!writingFields && edit_changed(id, wParam)) adderTyped(id);
        break;
    default:
        break;
    }
    return 0;
}

// --- "ANSI" --------------------------------------------------------------------------------

void ansiInit(int, char**) {
    dlg_set_check(ANSI_UPPER, 1);
    dlg_set_check(ANSI_FONT_USED, 1);
    PostMessageA(dlg_hwnd(), WM_COMMAND, DLG_ACTION, 0);
}

void ansiExit() {}

// The table afresh: in the text window's font with "Benutzt", else in the
// dialog's own font.
void ansiRebuild() {
    char text[ANSI_TEXT_SIZE];
    ansiTableText(dlg_get_check(ANSI_UPPER) != 0, dlg_get_check(ANSI_DECIMAL) != 0, text);
    if (dlg_get_check(ANSI_FONT_USED)) {
        dlg_set_text(ANSI_TABLE, text);
    } else {
        dlg_set_font(ANSI_TABLE, reinterpret_cast<HFONT>(SendMessageA(dlg_hwnd(), WM_GETFONT, 0, 0)));
        dlg_put_text(ANSI_TABLE, text);
    }
}

INT_PTR ansiProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    switch (id) {
    case DLG_ACTION:
        ansiRebuild();
        break;
    case DLG_CANCEL:
        dlg_close();
        break;
    case ANSI_UPPER:
    case ANSI_DECIMAL:
    case ANSI_FONT_USED:
        if (HIWORD(wParam) == BN_CLICKED) PostMessageA(dlg_hwnd(), WM_COMMAND, DLG_ACTION, 0);
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace

void adder_open(int refocus) {
    adderOpening(refocus);
    dlg_open("DB1410", adderInit, adderExit, adderProc);
}

void ansi_open() { dlg_open("DB1411", ansiInit, ansiExit, ansiProc); }
