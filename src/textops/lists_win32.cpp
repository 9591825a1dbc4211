#include "textops/lists_win32.h"

#include <windows.h>

#include "framework/dialog_win32.h"
#include "support/profile_win32.h"
#include "support/status_win32.h"
#include "textops/lists.h"

namespace {

constexpr int kListBox = 3000;
constexpr int kListField = 3010;  // the search text (DB1202 only)
constexpr const char* kTemplates[] = {"DB1200", "DB1201", "DB1202"};

// The open panel, or null.
HWND listPanel = nullptr;

void addToBox(const char* entry, void*) { list_add(kListBox, entry); }

// list_build: the entries into the list box, then the selection and the
// scroll position. The box is not redrawn for every entry.
void listBuild() {
    HWND box = dlg_item(kListBox);
    list_reset(kListBox);
    if (box) SendMessageA(box, WM_SETREDRAW, FALSE, 0);
    const ListFill fill = listBuildEntries(addToBox, nullptr);
    if (fill.selection >= 0) list_set_sel(kListBox, fill.selection);
    if (fill.top >= 0) list_set_top(kListBox, fill.top);
    if (box) {
        SendMessageA(box, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(box, nullptr, TRUE);
    }
}

void postRebuild() { post_message(dlg_hwnd(), WM_COMMAND, kListCommandRebuild, 0); }

// The selected entry chosen: the panel closes when it names a line.
void choose() {
    const int selected = list_get_sel(kListBox);
    if (selected < 0) return;
    char entry[kListEntrySize];
    list_get_text(kListBox, selected, entry, kListEntrySize - 1);
    if (listChoose(entry)) dlg_close();
}

// The box's own keys (PgUp, PgDn, End, Home, the arrows, Ins, Del): never a
// character, although the keypad's scan codes they share can give digits.
bool navigationKey(int vk) { return vk >= VK_PRIOR && vk <= VK_DELETE; }

// WM_VKEYTOITEM of the search list's box: -2 when the key was taken.
INT_PTR keyToItem(int vk) {
    if (navigationKey(vk) || !listKeyTyped(key_char(vk))) return -1;
    dlg_set_text(kListField, listText);
    postRebuild();
    return -2;
}

void fieldEdited() {
    char text[kListTextMax + 1];
    dlg_get_text(kListField, text, kListTextMax);
    listFieldEdited(text);
    postRebuild();
}

void listInitProc(int, char**) {
    listPanel = dlg_hwnd();
    panel_place(listPanel);
    listInit();
    if (listKind == kListSearch) dlg_set_text(kListField, listText);
    listBuild();
}

void listExitProc() {
    listPanel = nullptr;
    listClosed();
}

INT_PTR listProc(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_VKEYTOITEM) return keyToItem(LOWORD(wParam));
    if (message != WM_COMMAND) return 0;
    if (list_event(kListBox, wParam) == 3) {
        choose();
    } else if (edit_changed(kListField, wParam)) {
        fieldEdited();
    } else {
        switch (LOWORD(wParam)) {
        case kListCommandRebuild:
            listBuild();
            break;
        case IDOK:
        case DLG_ACTION:
            choose();
            break;
        case IDCANCEL:
            dlg_close();
            break;
        default:
            break;
        }
    }
    return 0;
}

}  // namespace

void list_open(int kind, const char* text) {
    if (listPanel != nullptr) SendMessageA(listPanel, WM_CLOSE, 0, 0);
    listRequest(kind, text);
    dlg_open(kTemplates[listKind], listInitProc, listExitProc, listProc);
}

HWND listPanelWindow() { return listPanel; }
