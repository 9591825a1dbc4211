// Messages, texts and boxes: the Win32 primitives. Each box remembers the active
// window, disables the program's windows for the time it is up and activates
// the remembered window again afterwards.
#include "framework/messages_win32.h"

#include <commdlg.h>

#include "framework/dialog_win32.h"
#include "framework/messages.h"
#include "support/platform.h"
#include "support/app_win32.h"
#include "support/strfunc.h"

namespace {

constexpr int kCaptionMax = 79;  // characters of a box caption taken from a window

// The hooks that stand in for the system's boxes in tests.
struct BoxHooks {
    BoxHook box = nullptr;
    FileBoxHook fileBox = nullptr;
};
BoxHooks hooks;

HINSTANCE resource_module() { return App.instance ? App.instance : GetModuleHandleA(nullptr); }

// The window that is active when a box is called: the program's windows are
// disabled while the box is up and this one is activated again afterwards.
class BoxBracket {
public:
    BoxBracket() : active_(GetActiveWindow()) { dlg_enable_all(0); }
    ~BoxBracket() {
        dlg_enable_all(1);
        if (active_ && IsWindow(active_)) SetActiveWindow(active_);
    }
    BoxBracket(const BoxBracket&) = delete;
    BoxBracket& operator=(const BoxBracket&) = delete;
    HWND active() const { return active_; }

private:
    HWND active_;
};

// The current directory, set again when the scope ends (a file box may change it).
class CurrentDirectoryKeeper {
public:
    CurrentDirectoryKeeper() {
        DWORD n = GetCurrentDirectoryA(sizeof dir_, dir_);
        if (n == 0 || n >= sizeof dir_) dir_[0] = '\0';
    }
    ~CurrentDirectoryKeeper() {
        if (dir_[0]) SetCurrentDirectoryA(dir_);
    }
    CurrentDirectoryKeeper(const CurrentDirectoryKeeper&) = delete;
    CurrentDirectoryKeeper& operator=(const CurrentDirectoryKeeper&) = delete;
    const char* dir() const { return dir_; }

private:
    char dir_[MAX_PATH + 1];
};

int show_box(const char* text, unsigned style, const char* caption, HWND owner) {
    if (hooks.box) return hooks.box(text, style, caption, owner);
    return MessageBoxA(owner, text, caption, style);
}

}  // namespace

BoxHook box_set_hook(BoxHook hook) {
    BoxHook before = hooks.box;
    hooks.box = hook;
    return before;
}

FileBoxHook file_box_set_hook(FileBoxHook hook) {
    FileBoxHook before = hooks.fileBox;
    hooks.fileBox = hook;
    return before;
}

// ---------------------------------------------------------------- texts

bool plat_load_string(int id, char* buf, int max) {
    if (!buf || max < 1) return false;
    buf[0] = '\0';
    // An id outside the resource range would be a pointer to LoadString.
    if (id < 0 || id > 0xFFFF) return false;
    return LoadStringA(resource_module(), static_cast<UINT>(id), buf, max) > 0;
}

// ---------------------------------------------------------------- boxes

int plat_message_box(const char* text, unsigned style, BoxOwner owner) {
    // The caption is read before the windows are disabled.
    char activeCaption[kCaptionMax + 1] = "";
    HWND active = GetActiveWindow();  // a window of this program, or none
    if (owner == BoxOwner::ActiveWindow && active) GetWindowTextA(active, activeCaption, sizeof activeCaption);
    const bool main = owner == BoxOwner::MainWindow;
    BoxBracket bracket;
    return show_box(text ? text : "", style, main ? App.title : activeCaption, main ? App.mainWindow : nullptr);
}

int plat_file_box(bool save, char* name, const char* title, const char* pairs) {
    char dir[FILE_BOX_PATH_MAX + 1], file[FILE_BOX_PATH_MAX + 1];
    file_box_split(name, dir, file);
    name[0] = '\0';

    CurrentDirectoryKeeper keeper;
    const char* initialDir = dir[0] ? dir : keeper.dir();
    char path[FILE_BOX_PATH_MAX + 1];
    str_ncopy(path, file, FILE_BOX_PATH_MAX);

    BOOL chosen;
    {
        BoxBracket bracket;
        if (hooks.fileBox) {
            chosen = hooks.fileBox(save, path, initialDir, title, pairs) == 1;
        } else {
            OPENFILENAMEA ofn = {};
            ofn.lStructSize = sizeof ofn;
            ofn.hwndOwner = App.mainWindow;
            ofn.hInstance = App.instance;
            ofn.lpstrFilter = pairs && pairs[0] ? pairs : nullptr;
            ofn.nFilterIndex = 1;
            ofn.lpstrFile = path;
            ofn.nMaxFile = sizeof path;
            ofn.lpstrInitialDir = initialDir[0] ? initialDir : nullptr;
            ofn.lpstrTitle = title && title[0] ? title : nullptr;
            ofn.Flags = save ? OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY
                             : OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
            chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
        }
    }
    if (!chosen) return 0;
    path[FILE_BOX_PATH_MAX] = '\0';  // whatever a hook left behind
    str_ncopy(name, path, FILE_BOX_PATH_MAX);
    return name[0] ? 1 : 0;
}

// ---------------------------------------------------------------- fatal end and trace

void plat_fatal(const char* text) {
    dlg_enable_all(0);
    if (hooks.box) {
        hooks.box(text ? text : "", MB_TASKMODAL | MB_ICONSTOP | MB_OK, App.title, App.mainWindow);
        ExitProcess(3);
    }
    MessageBoxA(App.mainWindow, text ? text : "", App.title, MB_TASKMODAL | MB_ICONSTOP | MB_OK);
    FatalAppExitA(0, "Das Programm wird beendet.");
    ExitProcess(3);  // FatalAppExit does not come back; this says so to the compiler
}

void plat_debug_text(const char* text) { OutputDebugStringA(text ? text : ""); }
