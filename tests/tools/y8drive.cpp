// y8drive: finds, reads and drives the windows of a running program from outside, for the
// tests that start the real program (same Wine prefix and desktop). Verbs, by window class:
//   wait-window|wait-gone|wait-idle <class> <seconds>: a visible one / none / its program idle
//   windows | title|children|client-rect|window-rect|close <class>: "class<tab>caption" of each
//   visible top-level window; the caption; "class<tab>text" of each child (WM_GETTEXT); the
//   client area "left top width height"; "left top right bottom"; WM_CLOSE posted
//   command <class> <id> [lparam] | keys <class> <keylist> | move <class> <l> <t> <r> <b>
//   type <class> <keylist>: keys for the text window, which keeps the focus; done once it handled them
//   clipboard (CF_TEXT as bytes) | dde <service> <topic> <n> (an execute of n bytes a..z)
// A keylist: keys separated by blanks, each a letter, a digit, a name (enter tab esc back
// space del ins home end pgup pgdn up down left right f1..f12) or '#' and a virtual-key
// code, after "shift+", "ctrl+", "alt+". The mouse is the X pointer (wine-harness.sh).
// Exit codes: 0 done, 1 not in time or no text, 2 no window or no DDE server, 3 usage, 4 failed.
#include <windows.h>

#include <ddeml.h>

#include <fcntl.h>
#include <io.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kDone = 0, kNotInTime = 1, kNoWindow = 2, kUsage = 3, kFailed = 4;

// The top-level windows of the class (nullptr: of every class), the visible ones or all.
std::vector<HWND> windowsOf(const char* className, bool visibleOnly) {
    std::vector<HWND> found;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr;)
        if (!visibleOnly || IsWindowVisible(window)) found.push_back(window);
    return found;
}

// The first visible window of the class, else any window of it.
HWND findWindow(const char* className) {
    const std::vector<HWND> visible = windowsOf(className, true), all = windowsOf(className, false);
    return !visible.empty() ? visible.front() : !all.empty() ? all.front() : nullptr;
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

constexpr std::pair<const char*, WORD> kNamedKeys[] = {
    {"enter", VK_RETURN}, {"tab", VK_TAB},     {"esc", VK_ESCAPE},    {"back", VK_BACK}, {"space", VK_SPACE},
    {"del", VK_DELETE},   {"ins", VK_INSERT},  {"home", VK_HOME},     {"end", VK_END},   {"pgup", VK_PRIOR},
    {"pgdn", VK_NEXT},    {"up", VK_UP},       {"down", VK_DOWN},     {"left", VK_LEFT}, {"right", VK_RIGHT},
    {"shift", VK_SHIFT},  {"ctrl", VK_CONTROL}, {"alt", VK_MENU},
};

// The virtual key of one key name; 0 when unknown.
WORD keyCode(const std::string& name) {
    const char c = name.empty() ? '\0' : name[0];
    long long n = 0;
    if (name.size() == 1 && (std::isalnum(static_cast<unsigned char>(c)) != 0))
        return static_cast<WORD>(std::toupper(static_cast<unsigned char>(c)));
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

// One key of the keylist ("ctrl+shift+z"): its parts pressed in order, released in reverse.
bool appendKey(const std::string& key, std::vector<INPUT>& inputs) {
    std::vector<WORD> held;
    std::istringstream parts(key);
    for (std::string part; std::getline(parts, part, '+');)
        if (held.emplace_back(keyCode(part)) == 0) return false;
    for (WORD vk : held) inputs.push_back(keyInput(vk, false));
    for (size_t i = held.size(); i-- > 0;) inputs.push_back(keyInput(held[i], true));
    return !held.empty();
}

// Waits until the program has handled every key sent before, the text window keeping the focus: Ins,
// pressed twice after them, changes the caret's shape each time (WaitForInputIdle answers at once under
// Wine while keys still wait; a sentinel's key state does not do: Wine releases keys on activation).
int waitHandled(HWND window, double seconds) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    const auto caret = [&] {
        return GetGUIThreadInfo(thread, &info) && info.hwndCaret == window ? info.rcCaret : RECT{};
    };
    INPUT ins[] = {keyInput(VK_INSERT, false), keyInput(VK_INSERT, true)};
    if (waitFor(seconds, [&] { return caret().right > caret().left; }) != kDone) return kNotInTime;  // focus back
    for (int round = 0; round < 2; ++round) {
        const LONG width = caret().right - caret().left;
        if (SendInput(2, ins, sizeof *ins) != 2) return kFailed;
        if (waitFor(seconds, [&] { return caret().right - caret().left != width; }) != kDone) return kNotInTime;
    }
    return kDone;
}

int sendKeys(HWND window, const std::string& keylist) {
    std::vector<INPUT> inputs;
    std::istringstream keys(keylist);
    for (std::string key; keys >> key;) {
        if (!appendKey(key, inputs)) {
            std::fprintf(stderr, "y8drive: unknown key \"%s\"\n", key.c_str());
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

int printClipboard() {
    // Another program may hold the clipboard open for a moment.
    if (waitFor(1, [] { return OpenClipboard(nullptr) != FALSE; }) != kDone) return kFailed;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (text) {
        std::fwrite(text, 1, strnlen(text, GlobalSize(data)), stdout);  // to its NUL, never beyond the block
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text ? kDone : kNotInTime;
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

HDDEDATA CALLBACK ddeCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

// The process ends right after: DDEML's handles are left to its end.
int ddeExecute(const char* serviceName, const char* topicName, long long count) {
    DWORD instance = 0;
    if (count < 1 || count > 1000000) return kUsage;
    if (DdeInitializeA(&instance, ddeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return kFailed;
    HCONV conversation = DdeConnect(instance, DdeCreateStringHandleA(instance, serviceName, CP_WINANSI),
                                    DdeCreateStringHandleA(instance, topicName, CP_WINANSI), nullptr);
    if (!conversation) return kNoWindow;
    std::string data(static_cast<size_t>(count), 'a');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>('a' + i % 26);
    DWORD result = 0;
    HDDEDATA answer = DdeClientTransaction(reinterpret_cast<BYTE*>(data.data()), static_cast<DWORD>(count),
                                           conversation, nullptr, CF_TEXT, XTYP_EXECUTE, 5000, &result);
    std::printf("status 0x%lx, error 0x%x\n", result, DdeGetLastError(instance));
    return answer && (result & DDE_FACK) ? kDone : kFailed;
}

// "class<tab>caption" of a window, or its caption alone.
int printCaption(HWND window, bool withClass) {
    char name[256] = "", caption[512] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, caption, sizeof caption);
    std::printf("%s%s%s\n", withClass ? name : "", withClass ? "\t" : "", caption);
    return kDone;
}

int printRect(const RECT& r) {
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);  // LONG is long
    return kDone;
}

int waitIdle(HWND window, double seconds) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) return kFailed;
    // Under Wine the wait fails at once while the program starts its loop: asked again.
    DWORD result = WAIT_FAILED;
    waitFor(seconds, [&] {
        result = WaitForInputIdle(process, static_cast<DWORD>(seconds * 1000.0));
        return result != WAIT_FAILED || !IsWindow(window);
    });
    CloseHandle(process);
    return result == 0 ? kDone : result == WAIT_TIMEOUT ? kNotInTime : kFailed;
}

int run(int argc, char** argv) {
    const std::string verb = argc > 1 ? argv[1] : "";
    const char* className = argc > 2 ? argv[2] : "";
    long long n[5] = {};
    for (int i = 2; i < argc && i < 7; ++i)
        if (!parseLong(argv[i], n[i - 2])) n[i - 2] = -1;
    const double seconds = argc > 3 ? std::strtod(argv[3], nullptr) : 0;

    if (verb == "windows") {
        for (HWND window : windowsOf(nullptr, true)) printCaption(window, true);
        return kDone;
    }
    if (verb == "clipboard") return printClipboard();
    if (verb == "dde" && argc == 5) return ddeExecute(argv[2], argv[3], n[2]);
    if (verb == "wait-window" && argc == 4)
        return waitFor(seconds, [&] { return !windowsOf(className, true).empty(); });
    if (verb == "wait-gone" && argc == 4)
        return waitFor(seconds, [&] { return windowsOf(className, false).empty(); });
    if (argc < 3) return kUsage;

    HWND window = findWindow(className);
    if (!window) {
        std::fprintf(stderr, "y8drive: no window of class \"%s\"\n", className);
        return kNoWindow;
    }
    RECT rect = {};
    POINT origin = {0, 0};
    if (verb == "wait-idle" && argc == 4) return waitIdle(window, seconds);
    if (verb == "keys" && argc == 4) return sendKeys(window, argv[3]);
    if (verb == "type" && argc == 4) return sendKeys(window, argv[3]) == kDone ? waitHandled(window, 20) : kFailed;
    if (verb == "close") return PostMessageA(window, WM_CLOSE, 0, 0) ? kDone : kFailed;
    if (verb == "window-rect") return GetWindowRect(window, &rect) ? printRect(rect) : kFailed;
    if (verb == "client-rect" && GetClientRect(window, &rect) && ClientToScreen(window, &origin))
        return printRect({origin.x, origin.y, rect.right, rect.bottom});
    if (verb == "title") return printCaption(window, false);
    if (verb == "children") {
        EnumChildWindows(window, printChild, 0);
        return kDone;
    }
    long long lParam = 0;
    if (verb == "command" && argc <= 5 && n[1] >= 0 && n[1] <= 0xFFFF && (argc == 4 || parseLong(argv[4], lParam)))
        return PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(n[1]), static_cast<LPARAM>(lParam)) ? kDone
                                                                                                      : kFailed;
    if (verb == "move" && argc == 7) {
        // SetWindowPlacement does not reach another process's window under Wine; this does.
        return SetWindowPos(window, nullptr, static_cast<int>(n[1]), static_cast<int>(n[2]),
                            static_cast<int>(n[3] - n[1]), static_cast<int>(n[4] - n[2]), SWP_NOZORDER | SWP_NOACTIVATE)
                   ? kDone
                   : kFailed;
    }
    std::fprintf(stderr, "y8drive: wrong arguments (see tests/tools/y8drive.cpp)\n");
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain LF lines, so that the scripts read the output as they read any tool's.
    _setmode(_fileno(stdout), _O_BINARY);
    const int result = run(argc, argv);
    std::fflush(stdout);
    return result;
}
