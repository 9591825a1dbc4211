// The Win32 side of the profile and shell services: the system's private-profile
// functions, window placement, program starts, dropped files, the clipboard, the
// main menu and a few window functions. Every decision about formats, bounds and
// quoting is made in profile.cpp; this file only passes values to the system.
#include "support/profile_win32.h"

#include <shellapi.h>

#include <cstring>

#include "support/platform.h"
#include "support/app_win32.h"
#include "support/files.h"
#include "support/profile.h"

namespace {

// The profile path and the drop being handled.
struct ProfileState {
    char iniPath[FILE_PATH_MAX + 1];  // empty: no profile (reads give "", writes are dropped)
    HDROP drop;                       // of the last WM_DROPFILES, until drop_finish
};
ProfileState state;

// A long loop's pump handles at most this many messages at once, so that a
// window that never validates itself cannot keep it from returning.
constexpr int kPumpLimit = 1000;

// The clipboard, open for the time of one transfer.
class OpenClipboardScope {
public:
    OpenClipboardScope() : open_(OpenClipboard(App.mainWindow) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool is_open() const { return open_; }

private:
    bool open_;
};

HMENU main_menu() {
    HMENU bar = App.mainWindow ? GetMenu(App.mainWindow) : nullptr;
    return bar ? bar : App.menu;
}

void redraw_menu_bar() {
    if (App.mainWindow) DrawMenuBar(App.mainWindow);
}

// The show command that keeps a window as it is when its placement is set.
UINT current_show_command(HWND window) {
    if (!IsWindowVisible(window)) return SW_HIDE;
    if (IsIconic(window)) return SW_SHOWMINNOACTIVE;
    if (IsZoomed(window)) return SW_SHOWMAXIMIZED;
    return SW_SHOWNOACTIVATE;
}

}  // namespace

// ---------------------------------------------------------------- ini primitives

void plat_ini_set_file(const char* path) {
    state.iniPath[0] = '\0';
    if (path && std::strlen(path) <= FILE_PATH_MAX) std::strcpy(state.iniPath, path);
}

int plat_ini_get(const char* section, const char* key, char* buf, int size) {
    if (size < 1) return 0;
    buf[0] = '\0';
    // A null section or key would make the system list names instead.
    if (!state.iniPath[0] || !section || !key) return 0;
    return static_cast<int>(GetPrivateProfileStringA(section, key, "", buf, static_cast<DWORD>(size), state.iniPath));
}

void plat_ini_put(const char* section, const char* key, const char* value) {
    // A null key or value would make the system delete a section or key.
    if (!state.iniPath[0] || !section || !key) return;
    WritePrivateProfileStringA(section, key, value ? value : "", state.iniPath);
}

void plat_ini_dir(char* buf, int size) {
    if (size < 1) return;
    buf[0] = '\0';
    char dir[MAX_PATH + 2];
    if (path_dir(dir, state.iniPath) <= 0) {
        UINT n = GetWindowsDirectoryA(dir, MAX_PATH);
        if (n == 0 || n >= MAX_PATH) return;
        if (dir[n - 1] != '\\' && dir[n - 1] != '/') std::strcat(dir, "\\");
    }
    if (std::strlen(dir) < static_cast<size_t>(size)) std::strcpy(buf, dir);
}

// ---------------------------------------------------------------- commands, programs, title

void plat_post_command(int id, std::intptr_t lParam) {
    PostMessageA(App.mainWindow, WM_COMMAND, static_cast<WPARAM>(id), static_cast<LPARAM>(lParam));
}

void plat_post_dialog_command(std::intptr_t dialog, int id) {
    if (dialog != 0) PostMessageA(reinterpret_cast<HWND>(dialog), WM_COMMAND, static_cast<WPARAM>(id), 0);
}

const char* plat_command_line() { return GetCommandLineA(); }

bool plat_program_path(char* buf, int size) {
    if (size < 1) return false;
    const DWORD n = GetModuleFileNameA(nullptr, buf, static_cast<DWORD>(size));
    if (n == 0 || n >= static_cast<DWORD>(size)) {  // none, or cut: another file's name
        buf[0] = '\0';
        return false;
    }
    return true;
}

int plat_start_program(const char* cmdline) { return static_cast<int>(WinExec(cmdline, SW_SHOWNORMAL)); }

int plat_shell_execute(const char* file, const char* params, const char* dir, bool main) {
    // The default verb, shown normally; a file that cannot be started is reported
    // by the result only, never by a box of the system's own.
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = main ? App.mainWindow : GetDesktopWindow();
    info.lpFile = file;
    info.lpParameters = params && *params ? params : nullptr;
    info.lpDirectory = dir && *dir ? dir : nullptr;
    info.nShow = SW_SHOWNORMAL;
    bool started = ShellExecuteExA(&info) != FALSE;
    // Set on success and failure alike: above 32, or the system's error code. The
    // call's own result decides where the two disagree.
    int code = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
    if (started) return code > 32 ? code : 33;
    return code <= 32 ? code : 0;
}

void set_main_title(const char* text) {
    if (App.mainWindow) SetWindowTextA(App.mainWindow, text ? text : "");
}

// ---------------------------------------------------------------- window placement

bool window_placement_get(HWND window, PlacementValues* values) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!window || !GetWindowPlacement(window, &wp)) return false;
    const RECT& normal = wp.rcNormalPosition;
    *values = PlacementValues{static_cast<int>(wp.flags),          static_cast<int>(wp.showCmd),
                              static_cast<int>(wp.ptMinPosition.x), static_cast<int>(wp.ptMinPosition.y),
                              static_cast<int>(wp.ptMaxPosition.x), static_cast<int>(wp.ptMaxPosition.y),
                              static_cast<int>(normal.left),        static_cast<int>(normal.top),
                              static_cast<int>(normal.right),       static_cast<int>(normal.bottom)};
    return true;
}

void window_placement_set(HWND window, const PlacementValues& values) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    wp.flags = static_cast<UINT>(values.flags);
    wp.showCmd = static_cast<UINT>(values.showCommand);
    wp.ptMinPosition = POINT{values.minX, values.minY};
    wp.ptMaxPosition = POINT{values.maxX, values.maxY};
    wp.rcNormalPosition = RECT{values.left, values.top, values.right, values.bottom};
    SetWindowPlacement(window, &wp);
}

void save_window_pos(HWND window, const char* key, const char* section) {
    PlacementValues values;
    if (!window_placement_get(window, &values)) return;
    char text[PLACEMENT_TEXT_SIZE];
    if (placement_format(values, text, sizeof text) > 0) ini_write(section, key, text);
}

int restore_window_pos(HWND window, const char* key, const char* section, int move_only) {
    char text[PLACEMENT_TEXT_SIZE];
    PlacementValues saved;
    if (ini_read(section, key, text, sizeof text) == 0 || !placement_parse(text, &saved)) return 0;
    if (move_only) {
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        if (!GetWindowPlacement(window, &wp)) return 0;
        OffsetRect(&wp.rcNormalPosition, saved.left - wp.rcNormalPosition.left, saved.top - wp.rcNormalPosition.top);
        wp.showCmd = current_show_command(window);
        SetWindowPlacement(window, &wp);
    } else {
        window_placement_set(window, saved);
    }
    return placement_result(saved.showCommand);
}

// ---------------------------------------------------------------- dropped files

void drag_accept(HWND window, int on) { DragAcceptFiles(window, on ? TRUE : FALSE); }

int drop_count(HDROP drop) {
    state.drop = drop;
    return drop ? static_cast<int>(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0)) : 0;
}

int drop_file(int i, char* buf) {
    buf[0] = '\0';
    if (!state.drop || i < 0) return -1;
    UINT length = DragQueryFileA(state.drop, static_cast<UINT>(i), nullptr, 0);
    if (length == 0) return 0;  // no name (Wine counts one in an empty drop)
    // A cut path would name another file: such a name is not taken at all.
    if (length > DROP_NAME_MAX) return -1;
    return static_cast<int>(DragQueryFileA(state.drop, static_cast<UINT>(i), buf, DROP_NAME_MAX + 1));
}

void drop_finish() {
    if (state.drop) DragFinish(state.drop);
    state.drop = nullptr;
}

// ---------------------------------------------------------------- clipboard

void clip_get(char* buf, int max) {
    buf[0] = '\0';
    if (max < 1) return;
    OpenClipboardScope clipboard;
    if (!clipboard.is_open()) return;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (!data) return;
    const char* text = static_cast<const char*>(GlobalLock(data));
    if (!text) return;
    // The block need not end in a NUL: never read beyond it.
    size_t limit = GlobalSize(data);
    size_t n = 0;
    while (n < limit && n < static_cast<size_t>(max) && text[n]) ++n;
    std::memcpy(buf, text, n);
    buf[n] = '\0';
    GlobalUnlock(data);
}

bool clip_put(const char* text) {
    if (!text) text = "";
    // The copy is made before the clipboard is emptied, so that a copy that
    // cannot be made leaves the clipboard as it was.
    size_t length = std::strlen(text);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
    if (!block) return false;
    char* copy = static_cast<char*>(GlobalLock(block));
    if (!copy) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(copy, text, length + 1);
    GlobalUnlock(block);
    OpenClipboardScope clipboard;
    // Once set, the block is the clipboard's.
    if (clipboard.is_open() && EmptyClipboard() && SetClipboardData(CF_TEXT, block)) return true;
    GlobalFree(block);
    return false;
}

// ---------------------------------------------------------------- main menu

int menu_append(int submenu, int id, int kind, const char* text) {
    if (kind != 0 && kind != 1) return -1;
    HMENU bar = main_menu();
    HMENU menu = submenu < 0 ? bar : (bar ? GetSubMenu(bar, submenu) : nullptr);
    if (!menu) return -1;
    BOOL added = kind == 0 ? AppendMenuA(menu, MF_SEPARATOR, 0, nullptr)
                           : AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id), text ? text : "");
    if (!added) return -1;
    if (submenu < 0) redraw_menu_bar();
    return GetMenuItemCount(menu) - 1;
}

int menu_delete(int submenu, int item) {
    HMENU bar = main_menu();
    if (!bar || submenu < 0) return -1;
    if (item < 0) {
        if (!DeleteMenu(bar, static_cast<UINT>(submenu), MF_BYPOSITION)) return -1;
        redraw_menu_bar();
        return 0;
    }
    HMENU menu = GetSubMenu(bar, submenu);
    if (!menu || !DeleteMenu(menu, static_cast<UINT>(item), MF_BYPOSITION)) return -1;
    return 0;
}

// ---------------------------------------------------------------- windows and messages

int post_message(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    return PostMessageA(window, msg, wParam, lParam) ? 1 : 0;
}

void pump_messages(HWND dialog) {
    MSG msg;
    for (int handled = 0; handled < kPumpLimit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));  // the main loop must still see it
            return;
        }
        if (dialog && IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void move_window(HWND window, int x, int y, int w, int h) { MoveWindow(window, x, y, w, h, TRUE); }

void window_rect(HWND window, int* x, int* y, int* w, int* h) {
    RECT r = {};
    GetWindowRect(window, &r);
    *x = r.left;
    *y = r.top;
    *w = r.right - r.left;
    *h = r.bottom - r.top;
}

void bring_to_front(HWND window) { SetForegroundWindow(window); }

void panel_place(HWND panel) {
    int x = 0, y = 0, w = 0, h = 0;
    window_rect(panel, &x, &y, &w, &h);
    move_window(panel, 0, 0, w, h);
}

int key_char(int vk) {
    BYTE keys[256];
    if (!GetKeyboardState(keys)) return 0;
    WORD out = 0;
    UINT scan = MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
    if (ToAscii(static_cast<UINT>(vk), scan, keys, &out, 0) != 1) return 0;
    return out & 0xFF;
}
