// y8drive: drives a running program's main window from outside, for the tests that
// start the real program. Runs in the same Wine prefix and desktop as the program.
//
//   y8drive wait-window <class> <seconds>   0 once a visible top-level window of the class exists
//   y8drive wait-gone <class> <seconds>     0 once no top-level window of the class exists
//   y8drive wait-count <class> <n> <sec>    0 once exactly n visible windows of the class exist
//   y8drive wait-idle <class> <seconds>     0 once the window's program waits for input with
//                                           nothing left in its queue (WaitForInputIdle): its
//                                           loop runs and has handled what it posted itself
//   y8drive count <class>                   prints the number of visible windows of the class
//   y8drive windows                         prints every visible top-level window: class, tab, caption
//   y8drive title <class>                   prints the caption
//   y8drive menu <class> [menu]             prints the menu bar's item texts, one a line
//   y8drive twin-menu <class> <y> <sec>     shows a window with the same frame, client width
//                                           and menu bar as the class window, at its left
//                                           edge and at y (class "Y8DriveTwin"), for seconds
//   y8drive metric <index>                  prints GetSystemMetrics(index)
//   y8drive command <class> <id> [lparam]   posts WM_COMMAND id (lParam a decimal number, 0
//                                           without; as any program on the desktop can)
//   y8drive close <class>                   posts WM_CLOSE
//   y8drive keys <class> <keylist>             brings the window to the front and types keylist (below)
//   y8drive pixel <class> <x> <y>           prints the client-area pixel as "r g b"
//   y8drive client-rect <class>             prints the client area on the screen: "left top width height"
//   y8drive window-rect <class>             prints the window's rectangle: "left top right bottom"
//   y8drive children <class>                prints each child window: class, tab, text
//   y8drive child-texts <class>             the same, each text asked of the control itself
//                                           (WM_GETTEXT): an edit field's current contents
//   y8drive placement <class>               prints the placement as the ini keeps it (ten numbers)
//   y8drive move <class> <l> <t> <r> <b>    restores the window and gives it that rectangle
//   y8drive idle <seconds>                  only waits (keeps the Wine server and desktop warm)
//   y8drive key-log <seconds>               shows a window of class "Y8DriveKeys" that prints each
//                                           key it receives: "down|sysdown <vk> <shift> <ctrl> <alt>"
//                                           and "char|syschar <code>" (to check "keys" itself)
//   y8drive mouse-log <seconds>             shows a window of class "Y8DriveMouse" (double clicks
//                                           reported, the mouse captured while the left button is
//                                           down, as the program does) that prints each mouse button
//                                           message and each move with the button down:
//                                           "<message> <x> <y> <left> <shift>" (to check pointer_at)
//   y8drive clipboard                       prints the clipboard's text (CF_TEXT) exactly as its bytes,
//                                           without a line end; 1 when it holds no text
//
// A key list is a list of keys separated by blanks; each key is optional modifiers
// joined with '+' ("shift", "ctrl", "alt") and a key: a letter or digit, a name
// (enter tab esc back space del ins home end pgup pgdn up down left right f1..f12)
// or '#' and a decimal virtual-key code ("#192"). Example: "ctrl+shift+z a #190 enter".
//
// Wine keeps a menu inside the process that made it: another process cannot read the
// items of a window's live menu bar. "menu" therefore reads the bar from the menu
// resource (default ANW_MENU) of the program that owns the window, after checking that
// the window has a menu bar; "twin-menu" lets a screenshot show that the live bar
// draws exactly that resource.
//
// The mouse is not driven from here: under Wine's virtual desktop a pointer moved with
// SendInput or SetCursorPos is moved back for a moment by the X server's own pointer
// (a later process's button then lands at the earlier point, and stray moves with the
// button down arrive between the events). The tests move the X pointer itself
// (tests/lib/wine-harness.sh, pointer_at); "mouse-log" shows what a window receives.
//
// Exit codes: 0 done, 1 the condition did not come true in time, 2 no window of the
// class, 3 wrong arguments, 4 a system call failed.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDone = 0, kNotInTime = 1, kNoWindow = 2, kUsage = 3, kFailed = 4;
constexpr DWORD kPollMs = 25;

struct WindowQuery {
    const char* className;     // nullptr: every class
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    if (query->visibleOnly && !IsWindowVisible(window)) return TRUE;
    if (query->className) {
        char name[256] = "";
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpiA(name, query->className) != 0) return TRUE;
    }
    query->found.push_back(window);
    return TRUE;
}

std::vector<HWND> windowsOf(const char* className, bool visibleOnly) {
    WindowQuery query{className, visibleOnly, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

// The first visible window of the class, else any window of it.
HWND findWindow(const char* className) {
    std::vector<HWND> visible = windowsOf(className, true);
    if (!visible.empty()) return visible.front();
    std::vector<HWND> any = windowsOf(className, false);
    return any.empty() ? nullptr : any.front();
}

// Polls until test() holds or the seconds have passed.
template <typename Test>
int waitFor(double seconds, Test test) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    for (;;) {
        if (test()) return kDone;
        if (GetTickCount64() >= end) return kNotInTime;
        Sleep(kPollMs);
    }
}

bool parseInt(const char* text, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0';
}

bool parseSeconds(const char* text, double& seconds) {
    char* end = nullptr;
    seconds = std::strtod(text, &end);
    return end != text && *end == '\0' && seconds >= 0 && seconds <= 600;
}

// ---------------------------------------------------------------- keys

struct NamedKey {
    const char* name;
    WORD vk;
    bool extended;
};

constexpr NamedKey kNamedKeys[] = {
    {"enter", VK_RETURN, false}, {"tab", VK_TAB, false},     {"esc", VK_ESCAPE, false},
    {"back", VK_BACK, false},    {"space", VK_SPACE, false}, {"del", VK_DELETE, true},
    {"ins", VK_INSERT, true},    {"home", VK_HOME, true},    {"end", VK_END, true},
    {"pgup", VK_PRIOR, true},    {"pgdn", VK_NEXT, true},    {"up", VK_UP, true},
    {"down", VK_DOWN, true},     {"left", VK_LEFT, true},    {"right", VK_RIGHT, true},
};

bool isExtendedVk(WORD vk) {
    for (const NamedKey& key : kNamedKeys)
        if (key.vk == vk) return key.extended;
    return false;
}

// The virtual key of one key name; 0 when unknown.
WORD keyCode(const std::string& name) {
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z') return static_cast<WORD>(c - 'a' + 'A');
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<WORD>(c);
        return 0;
    }
    if (name[0] == '#') {
        long vk = 0;
        return parseInt(name.c_str() + 1, vk) && vk > 0 && vk < 255 ? static_cast<WORD>(vk) : 0;
    }
    if ((name[0] == 'f' || name[0] == 'F') && name.size() <= 3) {
        long n = 0;
        if (parseInt(name.c_str() + 1, n) && n >= 1 && n <= 12) return static_cast<WORD>(VK_F1 + n - 1);
    }
    for (const NamedKey& key : kNamedKeys)
        if (lstrcmpiA(key.name, name.c_str()) == 0) return key.vk;
    return 0;
}

INPUT keyInput(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0u) | (isExtendedVk(vk) ? KEYEVENTF_EXTENDEDKEY : 0u);
    return input;
}

// Turns one key of the keylist ("ctrl+shift+z") into its presses and releases.
bool appendKey(const std::string& token, std::vector<INPUT>& inputs) {
    std::vector<WORD> modifiers;
    size_t start = 0;
    for (;;) {
        const size_t plus = token.find('+', start);
        // The '+' key itself is written as its code ("#187").
        if (plus == std::string::npos) break;
        const std::string part = token.substr(start, plus - start);
        if (lstrcmpiA(part.c_str(), "shift") == 0) modifiers.push_back(VK_SHIFT);
        else if (lstrcmpiA(part.c_str(), "ctrl") == 0) modifiers.push_back(VK_CONTROL);
        else if (lstrcmpiA(part.c_str(), "alt") == 0) modifiers.push_back(VK_MENU);
        else return false;
        start = plus + 1;
    }
    const WORD vk = start < token.size() ? keyCode(token.substr(start)) : 0;
    if (vk == 0) return false;
    for (WORD modifier : modifiers) inputs.push_back(keyInput(modifier, false));
    inputs.push_back(keyInput(vk, false));
    inputs.push_back(keyInput(vk, true));
    for (size_t i = modifiers.size(); i-- > 0;) inputs.push_back(keyInput(modifiers[i], true));
    return true;
}

int sendKeys(HWND window, const char* keylist) {
    std::vector<INPUT> inputs;
    std::string text(keylist);
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t blank = text.find(' ', pos);
        const std::string token = text.substr(pos, blank == std::string::npos ? std::string::npos : blank - pos);
        if (!token.empty() && !appendKey(token, inputs)) {
            std::fprintf(stderr, "y8drive: unknown key \"%s\"\n", token.c_str());
            return kUsage;
        }
        if (blank == std::string::npos) break;
        pos = blank + 1;
    }
    SetForegroundWindow(window);
    const ULONGLONG end = GetTickCount64() + 2000;
    while (GetForegroundWindow() != window && GetTickCount64() < end) Sleep(kPollMs);
    if (GetForegroundWindow() != window) {
        std::fprintf(stderr, "y8drive: the window did not come to the front\n");
        return kFailed;
    }
    // One event at a time, so that the target sees each key state as it was sent.
    for (INPUT& input : inputs) {
        if (SendInput(1, &input, sizeof input) != 1) {
            std::fprintf(stderr, "y8drive: SendInput failed (%lu)\n", GetLastError());
            return kFailed;
        }
        Sleep(5);
    }
    return kDone;
}

// ---------------------------------------------------------------- the clipboard

int printClipboard() {
    // Another program may hold the clipboard open for a moment.
    bool open = false;
    for (int i = 0; i < 40 && !(open = OpenClipboard(nullptr) != FALSE); ++i) Sleep(kPollMs);
    if (!open) {
        std::fprintf(stderr, "y8drive: the clipboard cannot be opened (%lu)\n", GetLastError());
        return kFailed;
    }
    int result = kNotInTime;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            // The text ends at its NUL, and never beyond the block.
            const SIZE_T size = GlobalSize(data);
            SIZE_T length = 0;
            while (length < size && text[length] != '\0') ++length;
            std::fwrite(text, 1, length, stdout);
            GlobalUnlock(data);
            result = kDone;
        }
    }
    CloseClipboard();
    return result;
}

// ---------------------------------------------------------------- the commands

// The program file of the process that owns the window.
bool ownerProgram(HWND window, char (&path)[MAX_PATH]) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return false;
    DWORD size = MAX_PATH;
    const BOOL found = QueryFullProcessImageNameA(process, 0, path, &size);
    CloseHandle(process);
    return found != FALSE;
}

// The menu resource of the window's program, loaded into this process.
HMENU loadOwnerMenu(HWND window, const char* menuName) {
    if (!GetMenu(window)) {
        std::fprintf(stderr, "y8drive: the window has no menu bar\n");
        return nullptr;
    }
    char path[MAX_PATH] = "";
    if (!ownerProgram(window, path)) {
        std::fprintf(stderr, "y8drive: the window's program is unknown (%lu)\n", GetLastError());
        return nullptr;
    }
    HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMENU menu = module ? LoadMenuA(module, menuName) : nullptr;
    if (!menu) std::fprintf(stderr, "y8drive: no menu %s in %s (%lu)\n", menuName, path, GetLastError());
    return menu;  // the module stays loaded: this process ends soon
}

int printMenu(HWND window, const char* menuName) {
    HMENU menu = loadOwnerMenu(window, menuName);
    if (!menu) return kFailed;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        std::printf("%s\n", text);
    }
    return kDone;
}

LRESULT CALLBACK twinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;  // the client area is of no interest
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window of the same frame and client width as the class window, with the same
// menu resource, at the same left edge and at y, shown without taking the focus.
int showTwinMenu(HWND window, const char* menuName, long y, double seconds) {
    HMENU menu = loadOwnerMenu(window, menuName);
    if (!menu) return kFailed;
    WNDCLASSA twinClass = {};
    twinClass.lpfnWndProc = twinProc;
    twinClass.hInstance = GetModuleHandleA(nullptr);
    twinClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    twinClass.lpszClassName = "Y8DriveTwin";
    if (!RegisterClassA(&twinClass)) return kFailed;
    const DWORD style =
        static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ~(WS_MAXIMIZE | WS_MINIMIZE | WS_VISIBLE);
    RECT client = {}, outer = {};
    GetClientRect(window, &client);
    GetWindowRect(window, &outer);
    RECT frame = {0, 0, client.right, 200};
    AdjustWindowRect(&frame, style, TRUE);
    HWND twin = CreateWindowA("Y8DriveTwin", "twin", style, static_cast<int>(outer.left), static_cast<int>(y),
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, menu,
                              twinClass.hInstance, nullptr);
    if (!twin) return kFailed;
    // A long bar may wrap into more lines, which AdjustWindowRect does not know of:
    // the client width is what must match.
    RECT twinClient = {};
    GetClientRect(twin, &twinClient);
    SetWindowPos(twin, nullptr, 0, 0, frame.right - frame.left + (client.right - twinClient.right),
                 frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(twin, SW_SHOWNOACTIVATE);
    UpdateWindow(twin);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    MSG message;
    while (GetTickCount64() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    DestroyWindow(twin);
    return kDone;
}

int printPixel(HWND window, long x, long y) {
    HDC dc = GetDC(window);
    if (!dc) return kFailed;
    const COLORREF colour = GetPixel(dc, static_cast<int>(x), static_cast<int>(y));
    ReleaseDC(window, dc);
    if (colour == CLR_INVALID) {
        std::fprintf(stderr, "y8drive: no pixel at %ld %ld\n", x, y);
        return kFailed;
    }
    std::printf("%d %d %d\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
    return kDone;
}

int printClientRect(HWND window) {
    RECT client = {};
    POINT origin = {0, 0};
    if (!GetClientRect(window, &client) || !ClientToScreen(window, &origin)) return kFailed;
    std::printf("%ld %ld %ld %ld\n", static_cast<long>(origin.x), static_cast<long>(origin.y),
                static_cast<long>(client.right), static_cast<long>(client.bottom));
    return kDone;
}

int printWindowRect(HWND window) {
    RECT rect = {};
    if (!GetWindowRect(window, &rect)) return kFailed;
    std::printf("%ld %ld %ld %ld\n", static_cast<long>(rect.left), static_cast<long>(rect.top),
                static_cast<long>(rect.right), static_cast<long>(rect.bottom));
    return kDone;
}

BOOL CALLBACK printChild(HWND child, LPARAM) {
    char name[256] = "", text[512] = "";
    GetClassNameA(child, name, sizeof name);
    GetWindowTextA(child, text, sizeof text);
    std::printf("%s\t%s\n", name, text);
    return TRUE;
}

// Another process's edit field keeps its text to itself (GetWindowText does not ask
// it): the text is asked for with WM_GETTEXT, bounded in time.
BOOL CALLBACK printChildAsked(HWND child, LPARAM) {
    char name[256] = "", text[512] = "";
    GetClassNameA(child, name, sizeof name);
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                             2000, &length))
        text[0] = '\0';
    text[sizeof text - 1] = '\0';
    std::printf("%s\t%s\n", name, text);
    return TRUE;
}

int printPlacement(HWND window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(window, &wp)) return kFailed;
    std::printf("%u %u %ld %ld %ld %ld %ld %ld %ld %ld\n", wp.flags, wp.showCmd,
                static_cast<long>(wp.ptMinPosition.x), static_cast<long>(wp.ptMinPosition.y),
                static_cast<long>(wp.ptMaxPosition.x), static_cast<long>(wp.ptMaxPosition.y),
                static_cast<long>(wp.rcNormalPosition.left), static_cast<long>(wp.rcNormalPosition.top),
                static_cast<long>(wp.rcNormalPosition.right), static_cast<long>(wp.rcNormalPosition.bottom));
    return kDone;
}

int moveWindow(HWND window, const long (&rect)[4]) {
    // SetWindowPlacement does not reach another process's window under Wine; these do.
    if (IsZoomed(window) || IsIconic(window)) ShowWindow(window, SW_RESTORE);
    const BOOL moved = SetWindowPos(window, nullptr, static_cast<int>(rect[0]), static_cast<int>(rect[1]),
                                    static_cast<int>(rect[2] - rect[0]), static_cast<int>(rect[3] - rect[1]),
                                    SWP_NOZORDER | SWP_NOACTIVATE);
    if (!moved) std::fprintf(stderr, "y8drive: the window could not be moved (%lu)\n", GetLastError());
    return moved ? kDone : kFailed;
}

int printWindows() {
    for (HWND window : windowsOf(nullptr, true)) {
        char name[256] = "", caption[256] = "";
        GetClassNameA(window, name, sizeof name);
        GetWindowTextA(window, caption, sizeof caption);
        std::printf("%s\t%s\n", name, caption);
    }
    return kDone;
}

int waitIdle(HWND window, double seconds) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) return kFailed;
    // Under Wine the wait can fail at once while the program is still starting
    // its loop: asked again while the window lives, until the time is up.
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    DWORD result = WAIT_FAILED;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        result = WaitForInputIdle(process, now < end ? static_cast<DWORD>(end - now) : 0);
        if (result != WAIT_FAILED || !IsWindow(window) || GetTickCount64() >= end) break;
        Sleep(50);
    }
    CloseHandle(process);
    if (result == 0) return kDone;
    return result == WAIT_TIMEOUT ? kNotInTime : kFailed;
}

// ---------------------------------------------------------------- the key log

LRESULT CALLBACK keyLogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int shift = GetKeyState(VK_SHIFT) < 0;
    const int ctrl = GetKeyState(VK_CONTROL) < 0;
    const int alt = GetKeyState(VK_MENU) < 0;
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        std::printf("%s %u %d %d %d\n", message == WM_KEYDOWN ? "down" : "sysdown", static_cast<unsigned>(wParam),
                    shift, ctrl, alt);
        std::fflush(stdout);
        return 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        std::printf("%s %u\n", message == WM_CHAR ? "char" : "syschar", static_cast<unsigned>(wParam));
        std::fflush(stdout);
        return 0;
    case WM_SYSKEYUP:
        return 0;  // no menu mode: every key stays with the log
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// Shows a window of class className that handles its messages with proc for
// the given seconds (the key and mouse logs).
int runLogWindow(const char* className, const char* title, WNDPROC proc, UINT style, double seconds) {
    WNDCLASSA logClass = {};
    logClass.style = style;
    logClass.lpfnWndProc = proc;
    logClass.hInstance = GetModuleHandleA(nullptr);
    logClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    logClass.lpszClassName = className;
    if (!RegisterClassA(&logClass)) return kFailed;
    HWND window = CreateWindowA(className, title, WS_OVERLAPPEDWINDOW, 50, 50, 300, 200, nullptr, nullptr,
                                logClass.hInstance, nullptr);
    if (!window) return kFailed;
    ShowWindow(window, SW_SHOWNORMAL);
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    MSG message;
    while (GetTickCount64() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return kDone;
            TranslateMessage(&message);  // the key log shows the characters too
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return kDone;
}

int runKeyLog(double seconds) { return runLogWindow("Y8DriveKeys", "keys", keyLogProc, 0, seconds); }

// ---------------------------------------------------------------- the mouse log

LRESULT CALLBACK mouseLogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* name = nullptr;
    switch (message) {
    case WM_LBUTTONDOWN:
        name = "ldown";
        SetCapture(window);
        break;
    case WM_LBUTTONUP:
        name = "lup";
        if (GetCapture() == window) ReleaseCapture();
        break;
    case WM_LBUTTONDBLCLK:
        name = "ldbl";
        break;
    case WM_RBUTTONDOWN:
        name = "rdown";
        break;
    case WM_RBUTTONUP:
        name = "rup";
        break;
    case WM_MOUSEMOVE:
        if (wParam & MK_LBUTTON) name = "move";
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    if (!name) return DefWindowProcA(window, message, wParam, lParam);
    std::printf("%s %d %d %d %d\n", name, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                (wParam & MK_LBUTTON) != 0, (wParam & MK_SHIFT) != 0);
    std::fflush(stdout);
    return 0;
}

int runMouseLog(double seconds) { return runLogWindow("Y8DriveMouse", "mouse", mouseLogProc, CS_DBLCLKS, seconds); }

int usage() {
    std::fprintf(stderr,
                 "usage: y8drive wait-window|wait-gone|wait-idle <class> <seconds>\n"
                 "       | wait-count <class> <n> <seconds> | count|title|close <class>\n"
                 "       | client-rect|window-rect|children|child-texts|placement <class>\n"
                 "       | menu <class> [menu]\n"
                 "       | command <class> <id> | twin-menu <class> <y> <seconds>\n"
                 "       | keys <class> <keylist> | pixel <class> <x> <y> | move <class> <l> <t> <r> <b>\n"
                 "       | windows | idle <seconds> | key-log|mouse-log <seconds> | metric <index> | clipboard\n");
    return kUsage;
}

int run(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string verb = argv[1];
    const char* className = argc > 2 ? argv[2] : "";
    double seconds = 0;
    long number = 0;

    if (verb == "windows" && argc == 2) return printWindows();
    if (verb == "clipboard" && argc == 2) return printClipboard();
    if (verb == "key-log" && argc == 3 && parseSeconds(argv[2], seconds)) return runKeyLog(seconds);
    if (verb == "mouse-log" && argc == 3 && parseSeconds(argv[2], seconds)) return runMouseLog(seconds);
    if (verb == "idle" && argc == 3 && parseSeconds(argv[2], seconds)) {
        GetDesktopWindow();  // makes sure the desktop exists for the programs started later
        Sleep(static_cast<DWORD>(seconds * 1000.0));
        return kDone;
    }
    if (verb == "wait-window" && argc == 4 && parseSeconds(argv[3], seconds))
        return waitFor(seconds, [&] { return !windowsOf(className, true).empty(); });
    if (verb == "wait-gone" && argc == 4 && parseSeconds(argv[3], seconds))
        return waitFor(seconds, [&] { return windowsOf(className, false).empty(); });
    if (verb == "wait-count" && argc == 5 && parseInt(argv[3], number) && parseSeconds(argv[4], seconds))
        return waitFor(seconds, [&] { return static_cast<long>(windowsOf(className, true).size()) == number; });
    if (verb == "metric" && argc == 3 && parseInt(argv[2], number)) {
        std::printf("%d\n", GetSystemMetrics(static_cast<int>(number)));
        return kDone;
    }
    if (verb == "count" && argc == 3) {
        std::printf("%u\n", static_cast<unsigned>(windowsOf(className, true).size()));
        return kDone;
    }

    // Every other verb acts on one existing window.
    const bool known = (argc == 3 && (verb == "title" || verb == "close" || verb == "client-rect" ||
                                      verb == "window-rect" || verb == "children" || verb == "child-texts" ||
                                      verb == "placement")) ||
                       ((argc == 3 || argc == 4) && verb == "menu") ||
                       (argc == 4 && (verb == "command" || verb == "keys" || verb == "wait-idle")) ||
                       (argc == 5 && verb == "command") ||
                       (argc == 5 && (verb == "pixel" || verb == "twin-menu")) ||
                       (argc == 7 && verb == "move");
    if (!known) return usage();
    HWND window = findWindow(className);
    if (!window) {
        std::fprintf(stderr, "y8drive: no window of class \"%s\"\n", className);
        return kNoWindow;
    }
    if (verb == "title") {
        char caption[512] = "";
        GetWindowTextA(window, caption, sizeof caption);
        std::printf("%s\n", caption);
        return kDone;
    }
    if (verb == "menu") return printMenu(window, argc == 4 ? argv[3] : "ANW_MENU");
    if (verb == "twin-menu") {
        long y = 0;
        if (!parseInt(argv[3], y) || !parseSeconds(argv[4], seconds)) return usage();
        return showTwinMenu(window, "ANW_MENU", y, seconds);
    }
    if (verb == "close") return PostMessageA(window, WM_CLOSE, 0, 0) ? kDone : kFailed;
    if (verb == "client-rect") return printClientRect(window);
    if (verb == "placement") return printPlacement(window);
    if (verb == "window-rect") return printWindowRect(window);
    if (verb == "children") {
        EnumChildWindows(window, printChild, 0);
        return kDone;
    }
    if (verb == "child-texts") {
        EnumChildWindows(window, printChildAsked, 0);
        return kDone;
    }
    if (verb == "keys") return sendKeys(window, argv[3]);
    if (verb == "wait-idle") return parseSeconds(argv[3], seconds) ? waitIdle(window, seconds) : usage();
    if (verb == "command") {
        if (!parseInt(argv[3], number) || number < 0 || number > 0xFFFF) return usage();
        long long lParam = 0;
        char* end = nullptr;
        if (argc == 5 && ((lParam = std::strtoll(argv[4], &end, 10)), end == argv[4] || *end != '\0'))
            return usage();
        return PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(number), static_cast<LPARAM>(lParam))
                   ? kDone
                   : kFailed;
    }
    if (verb == "pixel") {
        long x = 0, y = 0;
        if (!parseInt(argv[3], x) || !parseInt(argv[4], y)) return usage();
        return printPixel(window, x, y);
    }
    long rect[4] = {};
    for (int i = 0; i < 4; ++i)
        if (!parseInt(argv[3 + i], rect[i])) return usage();
    return moveWindow(window, rect);
}

}  // namespace

int main(int argc, char** argv) {
    // Plain LF lines, so that the scripts read the output as they read any tool's.
    _setmode(_fileno(stdout), _O_BINARY);
    const int result = run(argc, argv);
    std::fflush(stdout);
    return result;
}
