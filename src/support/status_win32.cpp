// The status bar, the value functions of dialog controls, dialog units and the
// HTML help: the Win32 side of support/status.
#include "support/status_win32.h"

#include "support/platform.h"
#include "support/app_win32.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/status.h"
#include "support/strfunc.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

namespace {

// The status bar: one window (or none) and its height in pixels.
struct StatusBar {
    HWND window = nullptr;
    int height = 0;
};
StatusBar bar;

// The dialog base height in pixels, asked of the system on first use.
int baseHeight = 0;

// Sets the parts of the bar: the given right edges (dialog units), then one
// part to the bar's right edge.
void status_divide(const char* widths) {
    int edges[STATUS_MAX_WIDTHS];
    int count = parse_status_widths(widths ? widths : "", edges);
    int pixels[STATUS_MAX_PARTS];
    for (int i = 0; i < count; ++i) pixels[i] = dlg_units(edges[i]);
    pixels[count] = -1;
    SendMessageA(bar.window, SB_SETPARTS, static_cast<WPARAM>(count + 1),
                 reinterpret_cast<LPARAM>(pixels));
}

}  // namespace

// ---------------------------------------------------------------- status bar

HWND status_create(const char* widths) {
    if (!bar.window || !IsWindow(bar.window)) {
        InitCommonControls();  // the status bar class comes with the common controls
        bar.window = CreateStatusWindowA(static_cast<LONG>(STATUS_STYLE), "", App.mainWindow,
                                         STATUS_ID);
        bar.height = 0;
        if (!bar.window) return nullptr;
        RECT r;
        if (GetWindowRect(bar.window, &r)) bar.height = r.bottom - r.top;
    }
    status_divide(widths);
    return bar.window;
}

void status_set(int part, const char* text) {
    // The part shares wParam with the drawing type: keep it in its byte.
    if (!bar.window || part < 0 || part > 255) return;
    SendMessageA(bar.window, SB_SETTEXTA, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(text ? text : ""));
}

int status_height() { return bar.window ? bar.height : 0; }

void status_destroy() {
    if (bar.window && IsWindow(bar.window)) DestroyWindow(bar.window);
    bar = StatusBar{};
}

void status_resize(int width, int height) {
    if (!bar.window) return;
    MoveWindow(bar.window, 0, height - bar.height, width, bar.height, TRUE);
}

// ---------------------------------------------------------------- dialog units

int dlg_units(int n) {
    if (baseHeight == 0) baseHeight = HIWORD(GetDialogBaseUnits());
    return units_to_pixels(n, baseHeight);
}

// ---------------------------------------------------------------- help

namespace {

constexpr const char* kHelpClsidKey =
    "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr const char* kHelpLibrary = "hhctrl.ocx";
constexpr DWORD kRegistryValueMax = 260;  // bytes of the registered path read
constexpr WORD kHtmlHelpOrdinal = 14;     // HtmlHelpA

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// The help control: loaded on the first html_help, or failed for good.
struct HelpState {
    HMODULE library = nullptr;
    HtmlHelpFunction htmlHelp = nullptr;
    bool failed = false;
    int loadRuns = 0;
    char lastTarget[HELP_TARGET_SIZE] = "";
    const char* clsidKey = kHelpClsidKey;
    const char* libraryName = kHelpLibrary;
};
HelpState help;

// The registered path of the help control into path (MAX_PATH bytes); false
// when the registry does not tell one.
bool registered_help_path(char* path) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, help.clsidKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char value[kRegistryValueMax + 1];
    DWORD size = kRegistryValueMax;
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                   &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    value[size <= kRegistryValueMax ? size : kRegistryValueMax] = '\0';  // stored unterminated?
    if (type == REG_EXPAND_SZ) {
        DWORD n = ExpandEnvironmentStringsA(value, path, MAX_PATH);
        if (n == 0 || n > MAX_PATH) return false;
    } else {
        if (std::strlen(value) >= MAX_PATH) return false;  // never load a cut path
        std::strcpy(path, value);
    }
    return path[0] != '\0';
}

// The help control from the system directory only: a file of that name in the
// current directory (a folder of documents, say) is never loaded.
HMODULE load_help_from_system() {
    char path[MAX_PATH];
    UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    size_t used = n;
    int added = std::snprintf(path + used, MAX_PATH - used, "\\%s", help.libraryName);
    if (added < 0 || used + static_cast<size_t>(added) >= MAX_PATH) return nullptr;
    return LoadLibraryA(path);
}

// Loads the help control and finds HtmlHelpA; on failure, never again.
void load_help() {
    ++help.loadRuns;
    char path[MAX_PATH];
    if (registered_help_path(path)) help.library = LoadLibraryA(path);
    if (!help.library) help.library = load_help_from_system();
    if (help.library) {
        FARPROC entry = GetProcAddress(help.library, MAKEINTRESOURCEA(kHtmlHelpOrdinal));
        help.htmlHelp = reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(entry));
    }
    if (!help.htmlHelp) help.failed = true;
}

}  // namespace

HWND html_help(HWND window, const char* file, UINT command, DWORD_PTR data) {
    if (help.failed) return nullptr;
    if (!help.htmlHelp) load_help();
    if (!help.htmlHelp) return nullptr;
    return help.htmlHelp(window, file, command, data);
}

void show_help(const char* file, const char* topic) {
    char target[HELP_TARGET_SIZE], program[FILE_PATH_MAX + 1];
    if (!plat_program_path(program, sizeof program)) program[0] = '\0';
    if (help_target(target, sizeof target, file, program, topic) != 0) return;
    std::strcpy(help.lastTarget, target);
    html_help(App.mainWindow, target, 0, 0);  // 0: display a topic
}

void help_test_reset(const char* clsidKey, const char* libraryName) {
    // A loaded library stays loaded: the help control may still own windows.
    help = HelpState{};
    if (clsidKey) help.clsidKey = clsidKey;
    if (libraryName) help.libraryName = libraryName;
}

int help_test_load_runs() { return help.loadRuns; }

bool help_test_loaded() { return help.htmlHelp != nullptr; }

const char* help_test_last_target() { return help.lastTarget; }
