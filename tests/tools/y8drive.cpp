// y8drive: finds, reads and drives a running program's windows from outside, for the
// tests that start the real program. Runs in the same Wine prefix and desktop.
//
//   wait-window|wait-gone|wait-idle <class> <seconds>
//                               0 once a visible window of the class exists / none exists /
//                               its program waits for input with an empty queue
//   windows                     every visible top-level window: class, tab, caption
//   title|close|client-rect|window-rect|children <class>
//                               the caption; posts WM_CLOSE; "left top width height" of the
//                               client area on the screen; "left top right bottom"; each
//                               child: class, tab, the text it gives on WM_GETTEXT
//   command <class> <id> [lparam]   posts WM_COMMAND, as any program on the desktop can
//   keys <class> <keylist>      brings the window to the front and types the keys
//   move <class> <l> <t> <r> <b>    restores the window and gives it that rectangle
//   metric <index>              GetSystemMetrics(index)
//   clipboard                   the clipboard's text (CF_TEXT) as its bytes; 1 when none
//
// A keylist: keys separated by blanks, each with optional modifiers joined by '+'
// (shift, ctrl, alt) and a letter, a digit, a name (enter tab esc back space del ins
// home end pgup pgdn up down left right f1..f12) or '#' and a virtual-key code.
// The mouse is not driven from here: in Wine's virtual desktop a pointer moved with
// SendInput is moved back by the X server's own pointer; the tests move the X pointer.
// Exit codes: 0 done, 1 not in time, 2 no window of the class, 3 usage, 4 a call failed.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDone = 0, kNotInTime = 1, kNoWindow = 2, kUsage = 3, kFailed = 4;

struct WindowQuery {
    const char* className;  // nullptr: every class
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND window, LPARAM param) {
    auto* query = reinterpret_cast<WindowQuery*>(param);
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    if ((!query->visibleOnly || IsWindowVisible(window)) &&
        (!query->className || lstrcmpiA(name, query->className) == 0))
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
    std::vector<HWND> found = windowsOf(className, true);
    if (found.empty()) found = windowsOf(className, false);
    return found.empty() ? nullptr : found.front();
}

template <typename Test>
int waitFor(double seconds, Test test) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    while (!test()) {
        if (GetTickCount64() >= end) return kNotInTime;
        Sleep(25);
    }
    return kDone;
}

bool parseLong(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0';
}

// ---------------------------------------------------------------- keys

constexpr std::pair<const char*, WORD> kNamedKeys[] = {
    {"enter", VK_RETURN}, {"tab", VK_TAB},   {"esc", VK_ESCAPE}, {"back", VK_BACK}, {"space", VK_SPACE},
    {"del", VK_DELETE},   {"ins", VK_INSERT}, {"home", VK_HOME},  {"end", VK_END},   {"pgup", VK_PRIOR},
    {"pgdn", VK_NEXT},    {"up", VK_UP},     {"down", VK_DOWN},  {"left", VK_LEFT}, {"right", VK_RIGHT},
};

// The virtual key of one key name; 0 when unknown.
WORD keyCode(const std::string& name) {
    const char c = name.empty() ? '\0' : name[0];
    long long n = 0;
    if (name.size() == 1 && c >= 'a' && c <= 'z') return static_cast<WORD>(c - 'a' + 'A');
    if (name.size() == 1 && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return static_cast<WORD>(c);
    if (c == '#' && parseLong(name.c_str() + 1, n) && n > 0 && n < 255) return static_cast<WORD>(n);
    if (c == 'f' && name.size() <= 3 && parseLong(name.c_str() + 1, n) && n >= 1 && n <= 12)
        return static_cast<WORD>(VK_F1 + n - 1);
    for (const auto& key : kNamedKeys)
        if (name == key.first) return key.second;
    return 0;
}

INPUT keyInput(WORD vk, bool up) {
    // The cursor block (Ins, Del, Home, End, PgUp, PgDn, the arrows) sends extended keys.
    const bool extended = (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE;
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0u) | (extended ? KEYEVENTF_EXTENDEDKEY : 0u);
    return input;
}

// One key of the keylist ("ctrl+shift+z") as its presses and releases.
bool appendKey(const std::string& token, std::vector<INPUT>& inputs) {
    static const std::pair<const char*, WORD> kModifiers[] = {{"shift", VK_SHIFT}, {"ctrl", VK_CONTROL},
                                                              {"alt", VK_MENU}};
    std::vector<WORD> modifiers;
    size_t start = 0;
    for (size_t plus; (plus = token.find('+', start)) != std::string::npos; start = plus + 1) {
        const std::string part = token.substr(start, plus - start);
        const size_t before = modifiers.size();
        for (const auto& modifier : kModifiers)
            if (part == modifier.first) modifiers.push_back(modifier.second);
        if (modifiers.size() == before) return false;
    }
    const WORD vk = keyCode(token.substr(start));
    if (vk == 0) return false;
    for (WORD modifier : modifiers) inputs.push_back(keyInput(modifier, false));
    inputs.push_back(keyInput(vk, false));
    inputs.push_back(keyInput(vk, true));
    for (size_t i = modifiers.size(); i-- > 0;) inputs.push_back(keyInput(modifiers[i], true));
    return true;
}

int sendKeys(HWND window, const std::string& keylist) {
    std::vector<INPUT> inputs;
    for (size_t pos = 0, blank = 0; pos < keylist.size(); pos = blank + 1) {
        blank = keylist.find(' ', pos);
        if (blank == std::string::npos) blank = keylist.size();
        const std::string token = keylist.substr(pos, blank - pos);
        if (!token.empty() && !appendKey(token, inputs)) {
            std::fprintf(stderr, "y8drive: unknown key \"%s\"\n", token.c_str());
            return kUsage;
        }
    }
    SetForegroundWindow(window);
    if (waitFor(2, [&] { return GetForegroundWindow() == window; }) != kDone) {
        std::fprintf(stderr, "y8drive: the window did not come to the front\n");
        return kFailed;
    }
    // One event at a time, so that the target sees each key state as it was sent.
    for (INPUT& input : inputs) {
        if (SendInput(1, &input, sizeof input) != 1) return kFailed;
        Sleep(5);
    }
    return kDone;
}

// ---------------------------------------------------------------- reading

int printClipboard() {
    // Another program may hold the clipboard open for a moment.
    if (waitFor(1, [] { return OpenClipboard(nullptr) != FALSE; }) != kDone) return kFailed;
    int result = kNotInTime;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
        // The text ends at its NUL, and never beyond the block.
        const SIZE_T size = GlobalSize(data);
        SIZE_T length = 0;
        while (length < size && text[length] != '\0') ++length;
        std::fwrite(text, 1, length, stdout);
        GlobalUnlock(data);
        result = kDone;
    }
    CloseClipboard();
    return result;
}

// Another process's edit field keeps its text to itself (GetWindowText does not ask
// it): every child is asked with WM_GETTEXT, bounded in time.
BOOL CALLBACK printChild(HWND child, LPARAM) {
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

int printRect(const RECT& r) {
    std::printf("%ld %ld %ld %ld\n", static_cast<long>(r.left), static_cast<long>(r.top), static_cast<long>(r.right),
                static_cast<long>(r.bottom));
    return kDone;
}

int waitIdle(HWND window, double seconds) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) return kFailed;
    // Under Wine the wait can fail at once while the program is still starting its
    // loop: asked again while the window lives, until the time is up.
    DWORD result = WAIT_FAILED;
    waitFor(seconds, [&] {
        result = WaitForInputIdle(process, 100);
        return result == 0 || !IsWindow(window);
    });
    CloseHandle(process);
    return result == 0 ? kDone : result == WAIT_TIMEOUT ? kNotInTime : kFailed;
}

int usage() {
    std::fprintf(stderr, "usage: see the head of tests/tools/y8drive.cpp\n");
    return kUsage;
}

int run(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    const char* className = argc > 2 ? argv[2] : "";
    long long n[5] = {};
    for (int i = 2; i < argc && i < 7; ++i)
        if (!parseLong(argv[i], n[i - 2])) n[i - 2] = -1;
    const double seconds = argc > 3 ? std::strtod(argv[3], nullptr) : 0;

    if (verb == "windows") {
        for (HWND window : windowsOf(nullptr, true)) {
            char name[256] = "", caption[256] = "";
            GetClassNameA(window, name, sizeof name);
            GetWindowTextA(window, caption, sizeof caption);
            std::printf("%s\t%s\n", name, caption);
        }
        return kDone;
    }
    if (verb == "clipboard") return printClipboard();
    if (verb == "metric" && argc == 3) {
        std::printf("%d\n", GetSystemMetrics(static_cast<int>(n[0])));
        return kDone;
    }
    if (verb == "wait-window" && argc == 4)
        return waitFor(seconds, [&] { return !windowsOf(className, true).empty(); });
    if (verb == "wait-gone" && argc == 4)
        return waitFor(seconds, [&] { return windowsOf(className, false).empty(); });
    if (argc < 3) return usage();

    HWND window = findWindow(className);
    if (!window) {
        std::fprintf(stderr, "y8drive: no window of class \"%s\"\n", className);
        return kNoWindow;
    }
    RECT rect = {};
    POINT origin = {0, 0};
    if (verb == "wait-idle" && argc == 4) return waitIdle(window, seconds);
    if (verb == "keys" && argc == 4) return sendKeys(window, argv[3]);
    if (verb == "close") return PostMessageA(window, WM_CLOSE, 0, 0) ? kDone : kFailed;
    if (verb == "window-rect") return GetWindowRect(window, &rect) ? printRect(rect) : kFailed;
    if (verb == "client-rect" && GetClientRect(window, &rect) && ClientToScreen(window, &origin))
        return printRect({origin.x, origin.y, rect.right, rect.bottom});
    if (verb == "title") {
        char caption[512] = "";
        GetWindowTextA(window, caption, sizeof caption);
        std::printf("%s\n", caption);
        return kDone;
    }
    if (verb == "children") {
        EnumChildWindows(window, printChild, 0);
        return kDone;
    }
    long long lParam = 0;
    if (verb == "command" && argc <= 5 && n[1] >= 0 && n[1] <= 0xFFFF && (argc == 4 || parseLong(argv[4], lParam)))
        return PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(n[1]), static_cast<LPARAM>(lParam)) ? kDone
                                                                                                      : kFailed;
    if (verb == "move" && argc == 7) {
        // SetWindowPlacement does not reach another process's window under Wine; these do.
        if (IsZoomed(window) || IsIconic(window)) ShowWindow(window, SW_RESTORE);
        return SetWindowPos(window, nullptr, static_cast<int>(n[1]), static_cast<int>(n[2]),
                            static_cast<int>(n[3] - n[1]), static_cast<int>(n[4] - n[2]), SWP_NOZORDER | SWP_NOACTIVATE)
                   ? kDone
                   : kFailed;
    }
    return usage();
}

}  // namespace

int main(int argc, char** argv) {
    // Plain LF lines, so that the scripts read the output as they read any tool's.
    _setmode(_fileno(stdout), _O_BINARY);
    const int result = run(argc, argv);
    std::fflush(stdout);
    return result;
}
