#include "wine_environment.h"

#include <commctrl.h>
#include <shlobj.h>  // DROPFILES

#include "../lib/empty_store.h"
#include "framework/dialog_win32.h"
#include "framework/messages_win32.h"
#include "shell/bindings.h"
#include "shell/config.h"
#include "shell/mainwin_win32.h"
#include "shell/startup.h"
#include "support/profile.h"
#include "support/status_win32.h"
#include "tools/phrases.h"
#include "view/cursor.h"
#include "view/editing.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr const char* kClassName = "Y8WineTestMain";

// What the environment set up, for every test to find it so.
struct EnvironmentState {
    std::vector<std::string> boxes;
    std::vector<WineCommand> commands;
    RECT mainRect = {};
    std::string directory;
    std::string systemProfile;  // Y8.ini in the Windows directory (the placement slots), "" when there is none
    int slot = 1;
};
EnvironmentState E;
int recordBox(const char* text, unsigned style, const char*, HWND) {
    E.boxes.push_back(text ? text : "");
    return (style & 0x0F) != MB_OK ? IDCANCEL : IDOK;
}
std::string systemProfilePath() {
    char dir[MAX_PATH] = "";
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\Y8.ini";
}
void systemProfileRestore(const std::string& bytes) {
    const std::string path = systemProfilePath();
    DeleteFileA(path.c_str());
    if (!bytes.empty()) writeFile(path, bytes);
    // The system keeps profile files it has read: it is to read this one afresh.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
}
// Not the system's hidden helpers either (the input method's, those Wine's DDE client leaves behind).
BOOL CALLBACK listOtherTopWindow(HWND w, LPARAM list) {
    char cls[64] = "";
    GetClassNameA(w, cls, sizeof cls);
    const bool helper = !IsWindowVisible(w) && (std::strcmp(cls, "IME") == 0 || std::strncmp(cls, "WineDde", 7) == 0);
    if (w != App.mainWindow && !helper) *reinterpret_cast<std::string*>(list) += std::string(" ") + cls;
    return TRUE;
}

LRESULT CALLBACK mainProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND) E.commands.push_back({LOWORD(wParam), lParam});
    return DefWindowProcA(w, msg, wParam, lParam);
}

class WineEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        toolsBind();          // as the program binds the tools' keys at start-up
        editSessionListen();  // and answers the document's notices from the view's start
        App.instance = GetModuleHandleA(nullptr);
        std::strncpy(App.title, "ZEMO Editor", sizeof App.title - 1);
        const WNDCLASSA wc = {CS_DBLCLKS, mainProc, 0, 0, App.instance, nullptr, LoadCursor(nullptr, IDC_ARROW),
                              reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, kClassName};
        ASSERT_NE(RegisterClassA(&wc), 0) << "window class";
        App.mainWindow = CreateWindowExA(0, kClassName, App.title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 900,
                                         700, nullptr, nullptr, App.instance, nullptr);
        ASSERT_NE(App.mainWindow, nullptr) << "main window";
        ShowWindow(App.mainWindow, SW_SHOW);
        SetForegroundWindow(App.mainWindow);
        App.font = CreateFontA(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New");
        ASSERT_NE(App.font, nullptr) << "font";
        dlg_init();
        box_set_hook(recordBox);
        runState = 2;  // wine_pump is the message loop
        wine_pump();
        GetWindowRect(App.mainWindow, &E.mainRect);
        E.directory = currentDirectory();
        E.systemProfile = fileText(systemProfilePath());
        E.slot = windowSlot;
    }
};
::testing::Environment* const kEnvironment = ::testing::AddGlobalTestEnvironment(new WineEnvironment);
// Started with a word that is no option, this program is a copy started for a dropped file: it leaves
// the words after its name, as the program splits them, in a file of the folder Y8_DROP_COPIES and ends.
const bool kDropCopy = [] {
    if (arg_count() < 2 || arg_value(1)[0] == '-') return arg_reset(), false;
    std::string words;
    for (int i = 1; i < arg_count(); ++i) words += std::string(arg_value(i)) + "\n";
    if (const char* dir = std::getenv("Y8_DROP_COPIES"))
        writeFile(dir + ("\\" + std::to_string(GetCurrentProcessId())) + "." + std::to_string(GetTickCount64()), words);
    ExitProcess(0);
}();

}  // namespace

const std::vector<std::string>& wine_seen_boxes() { return E.boxes; }
void wine_clear_boxes() { E.boxes.clear(); }
void wine_pump() {
    // A bound, so that a message that keeps posting itself cannot hang the run.
    MSG msg;
    for (int n = 0; n < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (msg.message == WM_QUIT) continue;
        if (App.accelerators && App.mainWindow && TranslateAcceleratorA(App.mainWindow, App.accelerators, &msg))
            continue;
        if (dlg_is_message(&msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
const std::vector<WineCommand>& wine_main_commands() { return E.commands; }
void wine_clear_main_commands() { E.commands.clear(); }
std::string postedPhrase() {
    char text[PHRASE_TYPED_MAX + 1] = "";
    const bool one = E.commands.size() == 1 && E.commands[0].id == CMD_TYPE_PHRASE;
    return one && phrasePostedTake(E.commands[0].lParam, text) ? text : "";
}

std::string currentDirectory() {
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, dir);
    return dir;
}
std::string tempDir() {
    char dir[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, dir);
    return dir;
}
std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
std::string windowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}
std::string itemText(HWND dialog, int id) { return windowText(GetDlgItem(dialog, id)); }
void press(HWND dialog, int id, int code) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    wine_pump();
}
HWND panel() { return FindWindowExA(App.mainWindow, nullptr, "#32770", nullptr); }

std::vector<std::string> listLines(HWND box) {
    std::vector<std::string> lines;
    for (int i = 0, n = static_cast<int>(SendMessageA(box, LB_GETCOUNT, 0, 0)); i < n; ++i) {
        std::string text(static_cast<size_t>(SendMessageA(box, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        SendMessageA(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&text[0]));
        lines.push_back(text.c_str());
    }
    return lines;
}
std::string statusPart(int part) {
    char buf[256] = "";
    HWND bar = GetDlgItem(App.mainWindow, STATUS_ID);
    if (bar && LOWORD(SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0)) < sizeof buf)
        SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(buf));
    return buf;
}
HDROP makeDrop(const std::vector<std::string>& names) {
    size_t size = sizeof(DROPFILES) + (names.empty() ? 2 : 1);
    for (const std::string& name : names) size += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    char* p = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& name : names) p = std::strcpy(p, name.c_str()) + name.size() + 1;
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}
std::string hostileWord(unsigned* seed) {
    static const char* const pieces[] = {"&echo x>canary.txt&", "|echo x>canary.txt", " & echo x > ..\\canary.txt",
                                         "^", "(", ")", "<", ">", "!", ";", "'", " ", "\"", "%", "%PATH%",
                                         "\xE4\xF6\xFC", "\x84\xE1", "a", "b.c", "&&", "||", "\t", "\x7F",
                                         "Name mit Leer.c"};
    const auto draw = [seed](unsigned n) { return ((*seed = *seed * 1103515245u + 12345u) >> 16) % n; };
    std::string word;
    for (unsigned k = 1 + draw(5); k > 0; --k) word += pieces[draw(sizeof pieces / sizeof *pieces)];
    return word;
}

namespace {

void** importSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    return nullptr;
}
void slotWrite(void** slot, void* value) {
    DWORD old = 0;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
}

}  // namespace

ImportStandIn::ImportStandIn(const char* dll, const char* function, void* standIn) : slot_(importSlot(dll, function)) {
    if (!slot_) return;
    original_ = *slot_;
    slotWrite(slot_, standIn);
}
ImportStandIn::~ImportStandIn() {
    if (slot_) slotWrite(slot_, original_);
}
HFONT WINAPI refuseCreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                               LPCSTR) {
    return nullptr;
}
HBRUSH WINAPI refuseCreateSolidBrush(COLORREF) { return nullptr; }
int hostileCount(const char* variable, int fallback) {
    const char* wanted = std::getenv(variable);
    return wanted != nullptr ? std::atoi(wanted) : fallback;
}

ScratchDir::ScratchDir(const std::string& stem)
    : path(tempDir() + stem + std::to_string(GetCurrentProcessId())), home_(currentDirectory()) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);  // what a run stopped half-way left
    CreateDirectoryA(path.c_str(), nullptr);
}
ScratchDir::~ScratchDir() {
    SetCurrentDirectoryA(home_.c_str());
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}
std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found) != FALSE)
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    FindClose(search);
    return names;
}

void Win32Test::SetUp() {
    ASSERT_TRUE(emptyStoreStart(20, 80));
    settings = tempDir() + "Y8Test" + std::to_string(GetCurrentProcessId()) + ".ini";  // runs may share the prefix
    DeleteFileA(settings.c_str());
    ini_set_file(settings.c_str());
    slotForget();
    startupReset();
    wine_clear_boxes();
    wine_clear_main_commands();
    runState = 2;
}
void Win32Test::TearDown() {
    dlg_close_all();
    wine_pump();
    status_destroy();
    wine_pump();
    ini_set_file("");
    DeleteFileA(settings.c_str());
    SetWindowTextA(App.mainWindow, App.title);
    runState = 2;
    slotForget();
    windowSlot = E.slot;
    systemProfileRestore(E.systemProfile);
    ShowWindow(App.mainWindow, SW_RESTORE);
    const RECT& m = E.mainRect;
    SetWindowPos(App.mainWindow, nullptr, m.left, m.top, m.right - m.left, m.bottom - m.top, SWP_NOZORDER);
    startupReset();
    for (const std::string& box : wine_seen_boxes()) ADD_FAILURE() << "a box nobody expected: " << box;
    wine_clear_boxes();
    // What the test left behind fails it and is put right.
    std::string others;
    EnumThreadWindows(GetCurrentThreadId(), listOtherTopWindow, reinterpret_cast<LPARAM>(&others));
    EXPECT_EQ(others, "") << "top-level windows left";
    EXPECT_EQ(CloseClipboard(), FALSE) << "the clipboard left open";
    EXPECT_EQ(std::make_tuple(GetWindow(App.mainWindow, GW_CHILD), EnableWindow(App.mainWindow, TRUE), GetCapture()),
              std::make_tuple(HWND{}, FALSE, HWND{}))
        << "child windows, the main window disabled or the mouse captured";
    EXPECT_EQ(box_set_hook(recordBox), recordBox);
    EXPECT_EQ(file_box_set_hook(nullptr), nullptr);
    EXPECT_EQ(currentDirectory(), E.directory);
    SetCurrentDirectoryA(E.directory.c_str());
    SetForegroundWindow(App.mainWindow);
    wine_pump();
}
void Win32Test::statusBar() {
    ASSERT_NE(status_create("40 80 200"), nullptr);
    statusFieldsReset();
}
void Win32Test::command(int id, LPARAM lParam) {
    call(2, WM_COMMAND, static_cast<WPARAM>(id), lParam);
    wine_pump();
}
LRESULT Win32Test::call(int state, UINT message, WPARAM wParam, LPARAM lParam) {
    runState = state;
    return mainWindowProc(App.mainWindow, message, wParam, lParam);
}
std::string Win32Test::settingsValues(const char* section, const std::vector<const char*>& keys) const {
    std::string values;
    for (const char* key : keys) {
        char buf[256] = "";
        GetPrivateProfileStringA(section, key, "<none>", buf, sizeof buf, settings.c_str());
        values += std::string(buf) + ",";
    }
    return values;
}