#include "shell/config_win32.h"

#include <windows.h>

#include "framework/dialog_win32.h"
#include "support/app_win32.h"
#include "shell/config.h"
#include "support/profile_win32.h"
#include "support/status_win32.h"

namespace {

// ---------------------------------------------------------------- placement

// The work area in the coordinates a window placement's normal rectangle is
// given in (they start at the work area's corner): the default window then
// stands centred in what the user can see, never under the task bar.
DesktopRect workArea() {
    RECT area{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return DesktopRect{0, 0, area.right - area.left, area.bottom - area.top};
}

// ---------------------------------------------------------------- settings dialogs

// The three dialogs share this code; each has a procedure of its own, since the
// manager knows a dialog by its procedure.
void fieldsShow(const ConfigDialog& dialog, const ConfigTexts& texts) {
    for (int i = 0; i < dialog.count; ++i) dlg_set_text(dialog.fields[i].id, texts[i].data());
}

void fieldsRead(const ConfigDialog& dialog, ConfigTexts* texts) {
    for (int i = 0; i < dialog.count; ++i) dlg_get_text(dialog.fields[i].id, (*texts)[i].data(), CFG_FIELD_MAX);
}

void fieldsInit(const ConfigDialog& dialog) {
    ConfigTexts texts;
    configFieldsLoad(dialog, &texts);
    for (int i = 0; i < dialog.count; ++i) {
        SendMessageA(dlg_item(dialog.fields[i].id), EM_LIMITTEXT, static_cast<WPARAM>(dialog.fields[i].saved), 0);
    }
    fieldsShow(dialog, texts);
}

// "&Speichern" saves every field and closes; Cancel closes without writing.
void fieldsCommand(const ConfigDialog& dialog, int id) {
    if (id == DLG_ACTION) {
        ConfigTexts texts;
        fieldsRead(dialog, &texts);
        configFieldsSave(dialog, texts);
        dlg_close();
    } else if (id == DLG_CANCEL) {
        dlg_close();
    }
}

void directoriesInit(int, char**) { fieldsInit(configDirectories); }
void extensionsInit(int, char**) { fieldsInit(configExtensions); }
void coloursInit(int, char**) { fieldsInit(configColours); }

INT_PTR directoriesProc(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) fieldsCommand(configDirectories, LOWORD(wParam));
    return 0;
}

INT_PTR extensionsProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    if (LOWORD(wParam) == CFG_STANDARD) {
        ConfigTexts texts;
        fieldsRead(configExtensions, &texts);
        extensionsStandard(&texts);
        fieldsShow(configExtensions, texts);
    } else {
        fieldsCommand(configExtensions, LOWORD(wParam));
    }
    return 0;
}

INT_PTR coloursProc(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND) fieldsCommand(configColours, LOWORD(wParam));
    return 0;
}

}  // namespace

int slotTake(int first) {
    const int slot = slotChoose(first);
    if (App.mainWindow) window_placement_set(App.mainWindow, slotPlacement(slot, workArea()));
    return slot;
}

void slotRelease(int slot) {
    if (!slotOwned()) return;
    PlacementValues now;
    const bool known = window_placement_get(App.mainWindow, &now);
    slotStore(slot, known ? &now : nullptr);
}

void directoriesOpen() { dlg_open(configDirectories.name, directoriesInit, nullptr, directoriesProc); }

void extensionsOpen() { dlg_open(configExtensions.name, extensionsInit, nullptr, extensionsProc); }

void coloursOpen() { dlg_open(configColours.name, coloursInit, nullptr, coloursProc); }
