#include "document/filehist_win32.h"

#include <windows.h>

#include <cstring>

#include "document/dirpanel.h"
#include "document/docfile.h"
#include "document/docstate.h"
#include "document/filehist.h"
#include "framework/dialog_win32.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/profile_win32.h"
#include "support/settings.h"
#include "support/status_win32.h"
#include "support/strfunc.h"

namespace {

constexpr int kFileMenu = 0;  // "&Datei", the first drop-down menu
constexpr int kDirCombo = 3000;
constexpr int kList = 3010;
constexpr int kFilterField = 3020;
constexpr int kChooseTyped = 2520;  // posted: the directory field's text is chosen

// ---------------------------------------------------------------- menu items

int fileMenuAppend(int kind, int id, const char* text) { return menu_append(kFileMenu, id, kind, text); }
int fileMenuRemove(int pos) { return menu_delete(kFileMenu, pos); }

// ---------------------------------------------------------------- DB1012

void historyInit(int, char**) {
    panel_place(dlg_hwnd());
    list_reset(kList);
    char name[FILE_PATH_MAX + 1];
    for (int i = 0; i < FILHISTSUP && historyName(i, name) == 0; ++i) list_add(kList, name);
    list_set_sel(kList, 0);
}

void historyExit() {}

INT_PTR historyProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    if (list_event(kList, wParam) == 3) {
        PostMessageA(dlg_hwnd(), WM_COMMAND, IDOK, 0);
        return 0;
    }
    const int id = LOWORD(wParam);
    if (id == IDOK || id == DLG_ACTION) {
        char name[FILE_PATH_MAX + 1];
        const int got = list_get_text(kList, list_get_sel(kList), name, FILE_PATH_MAX);
        dlg_close();
        if (got > 0) {
            backReduce();
            openPath(name);
            docNotify(DocEvent::ShowWanted);
        }
    } else if (id == IDCANCEL) {
        dlg_close();
    }
    return 0;
}

// ---------------------------------------------------------------- DB1006

// The open panel (null when closed), the lastDir it last started from, and a
// flag that tells the combo box's own notifications from the user's changes.
struct DirWindow {
    HWND window = nullptr;
    char startDir[FILE_PATH_MAX + 1] = "";
    bool settingCombo = false;
};
DirWindow dirWindow;

void addListLine(const char* line, void*) { list_add(kList, line); }

void listFill(bool firstFile) {
    list_reset(kList);
    dirFill(hasName ? fileName : "", addListLine, nullptr);
    const int wanted = firstFile ? dirFirstFileIndex() : dirSelectIndex();
    list_set_sel(kList, wanted >= 0 ? wanted : 0);
}

void comboShow(const char* text) {
    dirWindow.settingCombo = true;
    combo_set_text(kDirCombo, text);
    dirWindow.settingCombo = false;
}

// Reads dir (a full path) and shows it.
void readAndShow(const char* dir) {
    dirRead(dir);
    listFill(false);
}

// The directory field's text chosen: it becomes the current directory and is
// shown as the full path it resolved to.
void chooseTyped() {
    char text[FILE_PATH_MAX + 1];
    combo_get_text(kDirCombo, text, FILE_PATH_MAX);
    if (!dirEnter(text)) return;  // no directory: the list shows what the text named
    comboShow(dirPanelDir());
    listFill(false);
}

bool focusInCombo() {
    HWND combo = dlg_item(kDirCombo);
    HWND focus = GetFocus();
    return focus && (focus == combo || IsChild(combo, focus));
}

// The directory to start from: lastDir, else the current directory.
void startDirectory(char* dir) {
    if (lastDir[0]) {
        str_ncopy(dir, lastDir, FILE_PATH_MAX);
    } else if (get_cwd(dir) < 0) {
        dir[0] = '\0';
    }
}

void startFrom(const char* dir) {
    str_ncopy(dirWindow.startDir, lastDir, FILE_PATH_MAX);
    change_dir(dir);
    comboShow(dir);
    readAndShow(dir);
}

void directoryInit(int, char**) {
    dirWindow.window = dlg_hwnd();
    panel_place(dirWindow.window);
    dirHiddenFilesReload();
    SendMessageA(dlg_item(kDirCombo), CB_LIMITTEXT, FILE_PATH_MAX, 0);
    SendMessageA(dlg_item(kFilterField), EM_LIMITTEXT, DIR_FILTER_MAX, 0);
    dlg_set_text(kFilterField, dirFilterText());
    char dir[FILE_PATH_MAX + 1];
    startDirectory(dir);
    startFrom(dir);
}

void directoryExit() {
    char text[DIR_FILTER_MAX + 1];
    dlg_get_text(kFilterField, text, DIR_FILTER_MAX);
    dirFilterSet(text);
    dirRelease();
    dirWindow.window = nullptr;
}

// The permanent directories (their first 40 characters), keeping the text shown.
void comboFillPermanent() {
    char shown[FILE_PATH_MAX + 1];
    combo_get_text(kDirCombo, shown, FILE_PATH_MAX);
    dirWindow.settingCombo = true;
    combo_reset(kDirCombo);
    for (int i = 0; i < CFG_DIRECTORIES; ++i) {
        char key[CFG_KEY_MAX + 1];
        char value[INI_BUF_SIZE];
        configKeyName(key, CFG_KEY_DIR_FORMAT, i);
        ini_read(CFG_SECTION_DAUER_DIR, key, value);
        value[CFG_DIRECTORY_PANEL] = '\0';
        if (str_trim(value)) combo_add(kDirCombo, value);
    }
    dirWindow.settingCombo = false;
    comboShow(shown);
}

void chooseLine(int line) {
    char path[FILE_PATH_MAX + 1];
    switch (dirChoose(line, path)) {
    case DirChoice::Read:
        comboShow(dirPanelDir());
        listFill(false);
        break;
    case DirChoice::OpenFile:
        dlg_close();
        openPath(path);
        docNotify(DocEvent::ShowWanted);
        break;
    case DirChoice::None:
        break;
    }
}

// A key in the list box: the filter's keys refill the list (-2: done), others
// keep their list-box meaning (-1).
INT_PTR listKey(WPARAM wParam, LPARAM lParam) {
    HWND list = reinterpret_cast<HWND>(lParam);
    if (list != dlg_item(kList) || !dirFilterKey(key_char(LOWORD(wParam)))) return -1;
    // The character of the key is waiting already: the list box must not search with it.
    MSG pending;
    PeekMessageA(&pending, list, WM_CHAR, WM_CHAR, PM_REMOVE);
    dlg_set_text(kFilterField, dirFilterText());
    listFill(true);
    return -2;
}

void directoryCommand(WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id == kDirCombo) {
        // Typing and moving through the drop-down list only show a directory;
        // it becomes the current one when chosen (an item taken, or Enter).
        char dir[FILE_PATH_MAX + 1];
        if (combo_dropdown(kDirCombo, wParam)) {
            comboFillPermanent();
        } else if (dirWindow.settingCombo) {
        } else if (HIWORD(wParam) == CBN_SELENDOK) {
            // The field takes the item's text only after this notification.
            PostMessageA(dlg_hwnd(), WM_COMMAND, kChooseTyped, 0);
        } else if (HIWORD(wParam) == CBN_SELCHANGE) {
            if (combo_get_sel_text(kDirCombo, dir, FILE_PATH_MAX)) {
                dirShow(dir);
                listFill(false);
            }
        } else if (combo_changed(kDirCombo, wParam)) {
            combo_get_text(kDirCombo, dir, FILE_PATH_MAX);
            if (str_trim(dir)) {
                dirShow(dir);
                listFill(false);
            }
        }
    } else if (id == kChooseTyped) {
        chooseTyped();
    } else if (id == kFilterField) {
        if (edit_changed(kFilterField, wParam)) {
            char text[DIR_LINE_MAX + 1];
            dlg_get_text(kFilterField, text, DIR_LINE_MAX);
            dirFilterSet(text);
            listFill(true);
        }
    } else if (id == kList) {
        if (list_event(kList, wParam) == 3) chooseLine(list_get_sel(kList));
    } else if (id == IDOK) {
        if (dlg_focus_id() == kList) {
            chooseLine(list_get_sel(kList));
        } else {
            if (focusInCombo()) chooseTyped();
            dlg_focus_item(kList);
        }
    } else if (id == DLG_REFRESH) {
        // F5 again: the directory opened by name meanwhile, else the one shown.
        char dir[FILE_PATH_MAX + 1];
        if (std::strcmp(dirWindow.startDir, lastDir) != 0) {
            startDirectory(dir);
            startFrom(dir);
        } else {
            str_ncopy(dir, dirPanelDir(), FILE_PATH_MAX);
            readAndShow(dir);
        }
    } else if (id == IDCANCEL) {
        dlg_close();
    }
}

INT_PTR directoryProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VKEYTOITEM) return listKey(wParam, lParam);
    if (message == WM_COMMAND) directoryCommand(wParam);
    return 0;
}

}  // namespace

void historyMenuInstall() {
    const HistoryMenu menu{fileMenuAppend, fileMenuRemove};
    historySetMenu(&menu);
}

void historyMenuRemove() { historySetMenu(nullptr); }

void historyPanelOpen() { dlg_open("DB1012", historyInit, historyExit, historyProc); }

void directoryPanelOpen() {
    const bool wasOpen = dirWindow.window != nullptr;
    HWND window = dlg_open("DB1006", directoryInit, directoryExit, directoryProc);
    if (wasOpen && window) PostMessageA(window, WM_COMMAND, DLG_REFRESH, 0);
}
