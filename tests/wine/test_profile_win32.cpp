// The profile file, window placement and shell services with the real system
// under Wine: the private-profile functions, placements of a real window,
// the clipboard, menus, dropped files, the keyboard and the message pump, and
// batch files started with hostile parameters.
#include "support/profile.h"
#include "support/profile_win32.h"

#include "support/platform.h"
#include "support/app_win32.h"
#include "support/files.h"
#include "support/inifile.h"
#include "wine_environment.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kWindowClass = "Y8ProfileTestWindow";

// Messages a test window has received, by number.
std::vector<UINT> received;

LRESULT CALLBACK recordingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_APP) received.push_back(msg);
    return DefWindowProcA(window, msg, wParam, lParam);
}

// A top-level test window of the tests' own class, destroyed at the end.
class TestWindow {
public:
    explicit TestWindow(HMENU menu = nullptr, DWORD style = WS_OVERLAPPEDWINDOW) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc = {};
            wc.lpfnWndProc = recordingProc;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = kWindowClass;
            registered = RegisterClassA(&wc) != 0;
        }
        window_ = CreateWindowExA(0, kWindowClass, "Test", style, 50, 60, 400, 300, nullptr, menu,
                                  GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() {
        if (window_) DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

// Makes a test window the program's main window for the time of a test.
class MainWindowSwap {
public:
    explicit MainWindowSwap(HWND window) : window_(App.mainWindow), menu_(App.menu) {
        App.mainWindow = window;
        App.menu = GetMenu(window);
    }
    ~MainWindowSwap() {
        App.mainWindow = window_;
        App.menu = menu_;
    }
    MainWindowSwap(const MainWindowSwap&) = delete;
    MainWindowSwap& operator=(const MainWindowSwap&) = delete;

private:
    HWND window_;
    HMENU menu_;
};

std::string temp_dir() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return dir;
}

std::string windows_dir() {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    std::string text = dir;
    if (text.back() != '\\') text += '\\';
    return text;
}

std::string read_file(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char chunk[512];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) text.append(chunk, n);
        std::fclose(f);
    }
    return text;
}

void write_file(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

// The rectangle of the window's normal placement.
RECT normal_rect(HWND window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(window, &wp);
    return wp.rcNormalPosition;
}

// Every test works on its own profile and leaves no file behind.
class ProfileWin32 : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& file : cleanup_) DeleteFileA(file.c_str());
        plat_ini_set_file("");
    }
    void remove_later(const std::string& file) { cleanup_.push_back(file); }

    std::vector<std::string> cleanup_;
};

// ---------------------------------------------------------------------------
// The system's private-profile functions
// ---------------------------------------------------------------------------

TEST_F(ProfileWin32, ABareProfileNameLiesInTheWindowsDirectory) {
    const std::string expected = windows_dir() + "Y8ProfileTest.ini";
    remove_later(expected);
    DeleteFileA(expected.c_str());
    ini_set_file("Y8ProfileTest.ini");
    char dir[FILE_PATH_MAX + 1];
    plat_ini_dir(dir, sizeof dir);
    EXPECT_EQ(std::string(dir), windows_dir());

    ini_write("Option", "TabStep", "4");
    ini_write("OPTION", "tabstep", "8");
    ini_write_int("Option", "Indent", -3);
    EXPECT_EQ(read_file(expected), "[Option]\r\nTabStep=8\r\nIndent=-3\r\n");

    // Reading, cutting and quotes are compared with the program's own file below.
    char buf[INI_BUF_SIZE];
    EXPECT_EQ(ini_read("option", "TABSTEP", buf), 1);
    EXPECT_STREQ(buf, "8");
    EXPECT_EQ(ini_read("Option", "Missing", buf), 0);
    EXPECT_STREQ(buf, "");
    ini_write("Option", "Number", "  42x");
    EXPECT_EQ(ini_read_int("Option", "Number"), 42);

    // A null key or value never deletes anything.
    plat_ini_put("Option", nullptr, "x");
    plat_ini_put("Option", "TabStep", nullptr);
    EXPECT_NE(read_file(expected).find("TabStep=\r\n"), std::string::npos);  // written empty, not removed
    EXPECT_EQ(ini_read_int("Option", "Indent"), -3);
    EXPECT_EQ(plat_ini_get("Option", nullptr, buf, sizeof buf), 0);
}

TEST_F(ProfileWin32, AProfilePathWithADirectoryStaysThere) {
    const std::string path = temp_dir() + "Y8ProfileDir.ini";
    remove_later(path);
    DeleteFileA(path.c_str());
    ini_set_file(path.c_str());
    char dir[FILE_PATH_MAX + 1];
    plat_ini_dir(dir, sizeof dir);
    EXPECT_EQ(std::string(dir), temp_dir());
    ini_write("S", "K", "v");
    EXPECT_EQ(read_file(path), "[S]\r\nK=v\r\n");

    // Too small a buffer for the directory: empty, never cut.
    char small[4] = "xyz";
    plat_ini_dir(small, sizeof small);
    EXPECT_STREQ(small, "");
}

// The program's own profile file follows the same rules as the system's: the
// same writes on both read back the same everywhere.
TEST_F(ProfileWin32, TheOwnProfileFileReadsLikeTheSystems) {
    const std::string systemFile = temp_dir() + "Y8CompareSystem.ini";
    const std::string ownFile = temp_dir() + "Y8CompareOwn.ini";
    remove_later(systemFile);
    remove_later(ownFile);
    const std::string start =
        "[Alpha]\r\n"
        "  Key One  =  spaced  \r\n"
        "quoted=\"in quotes\"\r\n"
        "single='x'\r\n"
        "odd=\"abc'\r\n"
        "dup=first\r\n"
        "dup=second\r\n"
        "\r\n"
        "[Beta]\r\n"
        "k=b\r\n";
    write_file(systemFile, start);
    write_file(ownFile, start);

    struct Write {
        const char *section, *key, *value;
    };
    const Write writes[] = {
        {"alpha", "KEY ONE", "changed"}, {"Beta", "new", "1"}, {"Gamma", "g", "7"},
        {"ALPHA", "dup", "third"},       {"beta", "K", "B2"},  {"Alpha", "long", nullptr},
    };
    std::string longValue(120, 'L');
    for (const Write& w : writes) {
        const char* value = w.value ? w.value : longValue.c_str();
        WritePrivateProfileStringA(w.section, w.key, value, systemFile.c_str());
        ASSERT_EQ(inifile_put(ownFile.c_str(), w.section, w.key, value), 0) << w.key;
    }

    const char* sections[] = {"Alpha", "beta", "Gamma", "Delta"};
    const char* keys[] = {"key one", "quoted", "single", "odd", "dup", "new", "k", "g", "long", "none"};
    for (const char* section : sections) {
        for (const char* key : keys) {
            // Not a size of exactly a quoted value's length + 1: there Wine drops the
            // value's last character, where this file keeps the value whole.
            for (int size : {80, 5, 3, 1}) {
                char fromSystem[128], fromOwn[128];
                DWORD n = GetPrivateProfileStringA(section, key, "", fromSystem, static_cast<DWORD>(size),
                                                   systemFile.c_str());
                int m = inifile_get(ownFile.c_str(), section, key, fromOwn, size);
                EXPECT_EQ(static_cast<int>(n), m) << section << "/" << key << " size " << size;
                EXPECT_STREQ(fromSystem, fromOwn) << section << "/" << key << " size " << size;
            }
        }
    }
}

TEST_F(ProfileWin32, InstallCopiesTheTemplateIntoTheWindowsDirectoryOnce) {
    const std::string templ = temp_dir() + "Y8InstallTest.ini";
    const std::string target = windows_dir() + "Y8InstallTest.ini";
    remove_later(templ);
    remove_later(target);
    DeleteFileA(target.c_str());
    write_file(templ, "[Option]\r\nTabStep=4\r\n");
    ini_set_file("Y8InstallTest.ini");

    EXPECT_EQ(ini_install(templ.c_str()), 1);
    EXPECT_EQ(read_file(target), "[Option]\r\nTabStep=4\r\n");
    EXPECT_EQ(ini_read_int("option", "tabstep"), 4);

    ini_write_int("Option", "TabStep", 6);
    EXPECT_EQ(ini_install(templ.c_str()), 0);
    EXPECT_EQ(ini_read_int("Option", "TabStep"), 6);
}

// ---------------------------------------------------------------------------
// Window placement
// ---------------------------------------------------------------------------

TEST_F(ProfileWin32, PlacementSavedNormalAndMaximizedRestores) {
    const std::string file = temp_dir() + "Y8Placement.ini";
    remove_later(file);
    DeleteFileA(file.c_str());
    ini_set_file(file.c_str());
    TestWindow window;
    HWND w = window.get();
    ASSERT_NE(w, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);

    // Nothing saved: 0 and the window stays where it is.
    MoveWindow(w, 70, 80, 410, 310, TRUE);
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 0);
    RECT r = normal_rect(w);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.right - r.left, 410);

    // A normal placement comes back as it was.
    save_window_pos(w, "Probe", "Global");
    char text[PLACEMENT_TEXT_SIZE];
    ASSERT_GT(plat_ini_get("Global", "Probe", text, sizeof text), 0);
    PlacementValues saved{};
    ASSERT_TRUE(placement_parse(text, &saved)) << text;
    EXPECT_EQ(saved.showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(saved.left, 70);
    EXPECT_EQ(saved.bottom, 80 + 310);
    MoveWindow(w, 200, 210, 300, 200, TRUE);
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 0);
    r = normal_rect(w);
    EXPECT_EQ(r.left, 70);
    EXPECT_EQ(r.top, 80);
    EXPECT_EQ(r.right, 70 + 410);
    EXPECT_EQ(r.bottom, 80 + 310);

    // Saved while maximized: restoring says 2 and maximizes.
    ShowWindow(w, SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(w));
    save_window_pos(w, "Probe", "Global");
    ShowWindow(w, SW_RESTORE);
    ASSERT_FALSE(IsZoomed(w));
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 2);
    EXPECT_TRUE(IsZoomed(w));
    r = normal_rect(w);
    EXPECT_EQ(r.left, 70);  // the normal rectangle travels with it

    // Saved while minimized: 1.
    ShowWindow(w, SW_MINIMIZE);
    save_window_pos(w, "Probe", "Global");
    ShowWindow(w, SW_RESTORE);
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 1);
    EXPECT_TRUE(IsIconic(w));
    ShowWindow(w, SW_RESTORE);  // back to maximized, as it was before minimizing
    ShowWindow(w, SW_RESTORE);
    ASSERT_FALSE(IsIconic(w) || IsZoomed(w));

    // A damaged value is no placement: 0, nothing moves.
    ini_write("Global", "Probe", "1 1 0 0");
    MoveWindow(w, 90, 100, 300, 200, TRUE);
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 0);
    r = normal_rect(w);
    EXPECT_EQ(r.left, 90);
    EXPECT_EQ(r.top, 100);
}

TEST_F(ProfileWin32, MoveOnlyKeepsSizeAndState) {
    const std::string file = temp_dir() + "Y8PlacementMove.ini";
    remove_later(file);
    DeleteFileA(file.c_str());
    ini_set_file(file.c_str());
    ini_write("Global", "Probe", "2 3 -1 -1 -8 -8 150 160 750 660");  // maximized, 600 by 500

    TestWindow window;
    HWND w = window.get();
    ShowWindow(w, SW_SHOWNORMAL);
    MoveWindow(w, 10, 20, 300, 200, TRUE);
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 1), 2);
    EXPECT_FALSE(IsZoomed(w));
    EXPECT_TRUE(IsWindowVisible(w));
    int x, y, cx, cy;
    window_rect(w, &x, &y, &cx, &cy);
    EXPECT_EQ(x, 150);
    EXPECT_EQ(y, 160);
    EXPECT_EQ(cx, 300);
    EXPECT_EQ(cy, 200);

    // A hidden window is moved and stays hidden.
    TestWindow hidden;
    EXPECT_EQ(restore_window_pos(hidden.get(), "Probe", "Global", 1), 2);
    EXPECT_FALSE(IsWindowVisible(hidden.get()));
    RECT r = normal_rect(hidden.get());
    EXPECT_EQ(r.left, 150);
    EXPECT_EQ(r.right - r.left, 400);
}

TEST_F(ProfileWin32, MoveWindowAndWindowRect) {
    TestWindow window;
    move_window(window.get(), 30, 40, 320, 240);
    int x = 0, y = 0, w = 0, h = 0;
    window_rect(window.get(), &x, &y, &w, &h);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 40);
    EXPECT_EQ(w, 320);
    EXPECT_EQ(h, 240);
}

// ---------------------------------------------------------------------------
// Clipboard
// ---------------------------------------------------------------------------

TEST_F(ProfileWin32, ClipboardTextIsCutToTheCallersMaximum) {
    std::string text(1000, 'c');
    text[0] = 'A';
    text[249] = 'E';
    text[250] = 'X';
    clip_put(text.c_str());
    char buf[1100];
    std::memset(buf, '#', sizeof buf);
    clip_get(buf, 250);
    EXPECT_EQ(std::string(buf), text.substr(0, 250));
    EXPECT_EQ(buf[251], '#');
    clip_get(buf, 1099);
    EXPECT_EQ(std::string(buf), text);

    // Another program's text in the clipboard is read the same way.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(block), "Hallo", 6);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    clip_get(buf, 250);
    EXPECT_STREQ(buf, "Hallo");

    // An empty clipboard gives an empty text.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    buf[0] = '#';
    clip_get(buf, 250);
    EXPECT_STREQ(buf, "");
    clip_put("");
    buf[0] = '#';
    clip_get(buf, 250);
    EXPECT_STREQ(buf, "");
}

// ---------------------------------------------------------------------------
// Main menu
// ---------------------------------------------------------------------------

HMENU make_menu_bar() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1001, "&\326ffnen");
    AppendMenuA(file, MF_STRING, 1998, "&Beenden");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Datei");
    HMENU help = CreatePopupMenu();
    AppendMenuA(help, MF_STRING, 1999, "&Info");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), "&Hilfe");
    return bar;
}

TEST_F(ProfileWin32, MenuAppendAndDelete) {
    TestWindow window(make_menu_bar());
    ASSERT_NE(GetMenu(window.get()), nullptr);
    MainWindowSwap swap(window.get());
    HMENU bar = GetMenu(window.get());
    HMENU file = GetSubMenu(bar, 0);

    EXPECT_EQ(menu_append(0, 4000, 2, "Falsch"), -1);
    EXPECT_EQ(menu_append(0, 4000, -1, "Falsch"), -1);
    EXPECT_EQ(GetMenuItemCount(file), 2);

    EXPECT_EQ(menu_append(0, 0, 0, nullptr), 2);
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(menu_append(0, 4001, 1, "1 C:\\Texte\\brief.txt"), 3);
    char label[64];
    GetMenuStringA(file, 3, label, sizeof label, MF_BYPOSITION);
    EXPECT_STREQ(label, "1 C:\\Texte\\brief.txt");
    EXPECT_EQ(GetMenuItemID(file, 3), 4001u);

    // The bar itself, and a drop-down menu that does not exist.
    EXPECT_EQ(menu_append(-1, 4100, 1, "Extra"), 2);
    EXPECT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(GetMenuItemID(bar, 2), 4100u);
    EXPECT_EQ(menu_append(7, 4002, 1, "nirgends"), -1);
    EXPECT_EQ(menu_append(2, 4002, 1, "unter Extra"), -1);  // a plain item has no drop-down

    EXPECT_EQ(menu_delete(0, 3), 0);
    EXPECT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(menu_delete(0, 10), -1);
    EXPECT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(menu_delete(2, -1), 0);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(menu_delete(-1, 0), -1);
    EXPECT_EQ(menu_delete(5, -1), -1);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
}

TEST_F(ProfileWin32, WithoutAMenuNothingIsAdded) {
    TestWindow window;
    MainWindowSwap swap(window.get());
    EXPECT_EQ(menu_append(0, 4001, 1, "x"), -1);
    EXPECT_EQ(menu_append(-1, 4001, 1, "x"), -1);
    EXPECT_EQ(menu_delete(0, 0), -1);
}

// ---------------------------------------------------------------------------
// Dropped files
// ---------------------------------------------------------------------------

// A drop as the system hands it over: DROPFILES and the names, double-NUL ended.
HDROP make_drop(const std::vector<std::string>& names) {
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& name : names) size += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* p = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& name : names) {
        std::memcpy(p, name.c_str(), name.size() + 1);
        p += name.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

TEST_F(ProfileWin32, DroppedFilesAreTakenWholeOrNotAtAll) {
    const std::string fits = "C:\\" + std::string(DROP_NAME_MAX - 3, 'f');  // 199 characters
    const std::string tooLong = "C:\\" + std::string(DROP_NAME_MAX - 2, 'g');  // 200 characters
    HDROP drop = make_drop({"C:\\Texte\\a b.txt", fits, tooLong});
    EXPECT_EQ(drop_count(drop), 3);
    char buf[DROP_NAME_MAX + 1];
    EXPECT_EQ(drop_file(0, buf), 16);
    EXPECT_STREQ(buf, "C:\\Texte\\a b.txt");
    EXPECT_EQ(drop_file(1, buf), DROP_NAME_MAX);
    EXPECT_EQ(std::string(buf), fits);
    EXPECT_EQ(drop_file(2, buf), -1);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(drop_file(3, buf), -1);
    EXPECT_EQ(drop_file(-1, buf), -1);
    drop_finish();  // releases the block
    EXPECT_EQ(drop_file(0, buf), -1);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(drop_count(nullptr), 0);
    drop_finish();  // nothing to release: harmless
}

// ---------------------------------------------------------------------------
// Keyboard and messages
// ---------------------------------------------------------------------------

TEST_F(ProfileWin32, KeyCharFollowsTheKeyboardState) {
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    EXPECT_EQ(key_char('A'), 'a');
    EXPECT_EQ(key_char('7'), '7');
    EXPECT_EQ(key_char(VK_SPACE), ' ');
    EXPECT_EQ(key_char(VK_F1), 0);
    EXPECT_EQ(key_char(VK_SHIFT), 0);
    EXPECT_EQ(key_char(VK_LEFT), 0);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    EXPECT_EQ(key_char('A'), 'A');
    SetKeyboardState(saved);
}

TEST_F(ProfileWin32, PostedCommandsAndMessagesArrive) {
    wine_pump();
    wine_clear_main_commands();
    plat_post_command(1009, 5);
    plat_post_command(1008, 0);
    wine_pump();
    ASSERT_EQ(wine_main_commands().size(), 2u);
    EXPECT_EQ(wine_main_commands()[0].id, 1009);
    EXPECT_EQ(wine_main_commands()[0].lParam, 5);
    EXPECT_EQ(wine_main_commands()[1].id, 1008);

    TestWindow window;
    received.clear();
    EXPECT_EQ(post_message(window.get(), WM_APP + 1, 0, 0), 1);
    EXPECT_EQ(post_message(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0000)), WM_APP + 1, 0, 0), 0);
    wine_pump();
    ASSERT_EQ(received.size(), 1u);
}

TEST_F(ProfileWin32, SetMainTitle) {
    char before[128];
    GetWindowTextA(App.mainWindow, before, sizeof before);
    set_main_title("< C:\\Texte\\brief.txt > ZEMO Editor");
    char now[128];
    GetWindowTextA(App.mainWindow, now, sizeof now);
    EXPECT_STREQ(now, "< C:\\Texte\\brief.txt > ZEMO Editor");
    set_main_title(before);
}

// A modeless dialog with two edit fields, built in memory.
INT_PTR CALLBACK plainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG ? TRUE : FALSE; }

HWND make_two_field_dialog() {
    alignas(4) static WORD tmpl[128];
    std::memset(tmpl, 0, sizeof tmpl);
    WORD* p = tmpl;
    auto put_dword = [&p](DWORD v) {
        std::memcpy(p, &v, sizeof v);
        p += 2;
    };
    put_dword(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    put_dword(0);
    *p++ = 2;  // items
    *p++ = 10;
    *p++ = 10;
    *p++ = 120;
    *p++ = 60;
    *p++ = 0;  // no menu
    *p++ = 0;  // standard class
    *p++ = 0;  // no title
    for (int i = 0; i < 2; ++i) {
        if ((p - tmpl) % 2) ++p;  // items start on a DWORD
        put_dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER);
        put_dword(0);
        *p++ = 5;
        *p++ = static_cast<WORD>(5 + 20 * i);
        *p++ = 100;
        *p++ = 12;
        *p++ = static_cast<WORD>(3000 + 10 * i);
        *p++ = 0xFFFF;
        *p++ = 0x0081;  // edit
        *p++ = 0;       // no text
        *p++ = 0;       // no creation data
    }
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl),
                                      App.mainWindow, plainDialogProc, 0);
}

TEST_F(ProfileWin32, PumpHandlesWhatIsWaitingAndLeavesTheQuit) {
    TestWindow window;
    wine_pump();
    received.clear();
    for (int i = 0; i < 3; ++i) PostMessageA(window.get(), WM_APP + 2, 0, 0);
    pump_messages(nullptr);
    EXPECT_EQ(received.size(), 3u);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));

    // Keys for the dialog go through its dialog manager: Tab moves the focus.
    HWND dialog = make_two_field_dialog();
    ASSERT_NE(dialog, nullptr);
    HWND first = GetDlgItem(dialog, 3000), second = GetDlgItem(dialog, 3010);
    SetForegroundWindow(dialog);
    SetFocus(first);
    wine_pump();
    ASSERT_EQ(GetFocus(), first);
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0);
    pump_messages(nullptr);  // without the dialog the field keeps the focus
    EXPECT_EQ(GetFocus(), first);
    PostMessageA(first, WM_KEYDOWN, VK_TAB, 0);
    pump_messages(dialog);
    EXPECT_EQ(GetFocus(), second);
    DestroyWindow(dialog);

    // The quit message stays for the main loop.
    received.clear();
    PostMessageA(window.get(), WM_APP + 3, 0, 0);
    PostQuitMessage(7);
    pump_messages(nullptr);
    EXPECT_EQ(received.size(), 1u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

// ---------------------------------------------------------------------------
// Starting programs and batch files
// ---------------------------------------------------------------------------

// Waits until a file has a complete line, at most about ten seconds.
std::string wait_for_line(const std::string& path) {
    for (int i = 0; i < 200; ++i) {
        std::string text = read_file(path);
        if (!text.empty() && text.back() == '\n') return text;
        Sleep(50);
    }
    return read_file(path);
}

class ProfileStartWin32 : public ProfileWin32 {
protected:
    void SetUp() override {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%sy8start%lu", temp_dir().c_str(), GetCurrentProcessId());
        dir_ = name;
        CreateDirectoryA(dir_.c_str(), nullptr);
    }
    void TearDown() override {
        for (const char* file : {"lint.bat", "out.txt", "inj.txt", "mark.bat", "run.txt"}) {
            DeleteFileA((dir_ + "\\" + file).c_str());
        }
        RemoveDirectoryA(dir_.c_str());
        ProfileWin32::TearDown();
    }
    std::string dir_;
};

TEST_F(ProfileStartWin32, ABatchFileGetsAHostileNameAsOneArgument) {
    write_file(dir_ + "\\lint.bat", "@echo %1> out.txt\r\n");
    const std::string hostile = "(c)^d x|y a&echo INJECTED>inj.txt&rem .txt";
    std::string bat = dir_ + "/lint.bat";
    int result = shell_run(bat.c_str(), hostile.c_str(), (dir_ + "/").c_str());
    EXPECT_GT(result, 32);
    EXPECT_EQ(wait_for_line(dir_ + "\\out.txt"), "\"" + hostile + "\"\r\n");
    EXPECT_FALSE(file_exists((dir_ + "\\inj.txt").c_str()));

    // A name that cannot be passed safely starts nothing.
    DeleteFileA((dir_ + "\\out.txt").c_str());
    EXPECT_EQ(shell_run(bat.c_str(), "100%.txt", dir_.c_str()), START_REFUSED);
    EXPECT_EQ(shell_run(bat.c_str(), "a\"&echo INJECTED>inj.txt&\"", dir_.c_str()), START_REFUSED);
    Sleep(300);
    EXPECT_FALSE(file_exists((dir_ + "\\out.txt").c_str()));
    EXPECT_FALSE(file_exists((dir_ + "\\inj.txt").c_str()));
}

// A box of the system's own would stop this headless run; the program shows none either.
TEST_F(ProfileStartWin32, FailuresAreResultsNotBoxes) {
    wine_clear_boxes();
    EXPECT_LE(shell_run("C:/no/such/dir/lint.bat", "a.txt", "C:/"), 32);
    EXPECT_LE(open_document("C:/no/such/dir/plan.sg"), 32);
    EXPECT_LT(run_program("C:/no/such/dir/viewer.exe -K=x"), 32);
    EXPECT_TRUE(wine_seen_boxes().empty());
}

TEST_F(ProfileStartWin32, RunProgramStartsWithBackslashes) {
    write_file(dir_ + "\\mark.bat", "@echo %1> \"%~dp0run.txt\"\r\n");
    std::string line = dir_ + "/mark.bat hello";
    for (char& c : line) {
        if (c == '\\') c = '/';
    }
    EXPECT_GT(run_program(line.c_str()), 31);
    EXPECT_EQ(wait_for_line(dir_ + "\\run.txt"), "hello\r\n");
}

}  // namespace
