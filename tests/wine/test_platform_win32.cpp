// The platform services with the real system under Wine: profile files, window
// placement, clipboard, menus, dropped files, keys, posted messages, starting
// programs, texts and boxes, the status bar, help and the file layer's calls.
#include "framework/dialog_win32.h"
#include "framework/messages.h"
#include "framework/messages_win32.h"
#include "support/app_win32.h"
#include "support/devices.h"
#include "support/files.h"
#include "support/inifile.h"
#include "support/platform.h"
#include "support/profile.h"
#include "support/profile_win32.h"
#include "support/status_win32.h"
#include "test_dialogs.h"
#include "wine_environment.h"

#include <commctrl.h>
#include <shlobj.h>  // DROPFILES

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <tuple>

namespace {

using Platform = Win32Test;

std::string windowsDir() {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\";
}

// A bare name lies in the Windows directory, a path stays where it is; keys and
// sections compare without case; a null key or value deletes nothing; a template
// is installed once. The program's own file reads like the system's after the same writes.
TEST_F(Platform, ProfileFilesFollowTheSystemsRules) {
    const std::string bare = windowsDir() + "Y8ProfileTest.ini";
    DeleteFileA(bare.c_str());
    ini_set_file("Y8ProfileTest.ini");
    char dir[FILE_PATH_MAX + 1];
    plat_ini_dir(dir, sizeof dir);
    EXPECT_EQ(std::string(dir), windowsDir());
    ini_write("Option", "TabStep", "4");
    ini_write("OPTION", "tabstep", "8");
    ini_write_int("Option", "Indent", -3);
    EXPECT_EQ(fileText(bare), "[Option]\r\nTabStep=8\r\nIndent=-3\r\n");
    ini_write("Option", "Number", "  42x");
    EXPECT_EQ(ini_read_int("option", "NUMBER"), 42);
    char buf[INI_BUF_SIZE];
    EXPECT_EQ(ini_read("Option", "Missing", buf), 0);
    EXPECT_STREQ(buf, "");
    plat_ini_put("Option", nullptr, "x");
    plat_ini_put("Option", "TabStep", nullptr);
    EXPECT_NE(fileText(bare).find("TabStep=\r\n"), std::string::npos) << "written empty, not removed";
    EXPECT_EQ(ini_read_int("Option", "Indent"), -3);
    EXPECT_EQ(plat_ini_get("Option", nullptr, buf, sizeof buf), 0);
    DeleteFileA(bare.c_str());

    const std::string templ = tempDir() + "Y8InstallTest.ini", installed = windowsDir() + "Y8InstallTest.ini";
    DeleteFileA(installed.c_str());
    writeFile(templ, "[Option]\r\nTabStep=4\r\n");
    ini_set_file("Y8InstallTest.ini");
    EXPECT_EQ(ini_install(templ.c_str()), 1);
    EXPECT_EQ(ini_read_int("option", "tabstep"), 4);
    ini_write_int("Option", "TabStep", 6);
    EXPECT_EQ(ini_install(templ.c_str()), 0) << "installed once";
    EXPECT_EQ(ini_read_int("Option", "TabStep"), 6);
    DeleteFileA(installed.c_str());
    DeleteFileA(templ.c_str());
    ini_set_file(settings.c_str());
    plat_ini_dir(dir, sizeof dir);
    EXPECT_EQ(std::string(dir), tempDir());
    char small[4] = "xyz";
    plat_ini_dir(small, sizeof small);
    EXPECT_STREQ(small, "") << "too small a buffer: empty, never cut";

    const std::string systemFile = tempDir() + "Y8CompareSystem.ini";
    const std::string start = "[Alpha]\r\n  Key One  =  spaced  \r\nquoted=\"in quotes\"\r\nsingle='x'\r\n"
                              "odd=\"abc'\r\ndup=first\r\ndup=second\r\n\r\n[Beta]\r\nk=b\r\n";
    writeFile(systemFile, start);
    writeFile(settings, start);
    const std::string longValue(120, 'L');
    const char* writes[][3] = {{"alpha", "KEY ONE", "changed"}, {"Beta", "new", "1"}, {"Gamma", "g", "7"},
                               {"ALPHA", "dup", "third"},       {"beta", "K", "B2"},  {"Alpha", "long", longValue.c_str()}};
    for (const auto& w : writes) {
        WritePrivateProfileStringA(w[0], w[1], w[2], systemFile.c_str());
        ASSERT_EQ(inifile_put(settings.c_str(), w[0], w[1], w[2]), 0) << w[1];
    }
    for (const char* section : {"Alpha", "beta", "Gamma", "Delta"}) {
        for (const char* key : {"key one", "quoted", "single", "odd", "dup", "new", "k", "g", "long", "none"}) {
            // Not a size of exactly a quoted value's length + 1: there Wine drops the
            // value's last character, where this file keeps the value whole.
            for (int size : {80, 5, 3, 1}) {
                SCOPED_TRACE(std::string(section) + "/" + key + " size " + std::to_string(size));
                char fromSystem[128], fromOwn[128];
                const DWORD n = GetPrivateProfileStringA(section, key, "", fromSystem, size, systemFile.c_str());
                EXPECT_EQ(static_cast<int>(n), inifile_get(settings.c_str(), section, key, fromOwn, size));
                EXPECT_STREQ(fromSystem, fromOwn);
            }
        }
    }
    DeleteFileA(systemFile.c_str());
}

RECT normalRect(HWND window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(window, &wp);
    return wp.rcNormalPosition;
}

// Each row brings the window into a state, saves, disturbs it, and restores.
TEST_F(Platform, PlacementsComeBackWithTheirState) {
    HWND w = CreateWindowExA(0, "STATIC", "Test", WS_OVERLAPPEDWINDOW, 50, 60, 400, 300, nullptr, nullptr,
                             App.instance, nullptr);
    ASSERT_NE(w, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    move_window(w, 70, 80, 410, 310);
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 0) << "nothing saved: stays";
    struct Row { int show; int result; bool zoomed, iconic; };
    const Row rows[] = {{SW_SHOWNORMAL, 0, false, false}, {SW_MAXIMIZE, 2, true, false}, {SW_MINIMIZE, 1, false, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.show);
        ShowWindow(w, row.show);
        save_window_pos(w, "Probe", "Global");
        ShowWindow(w, SW_RESTORE);
        ShowWindow(w, SW_RESTORE);
        move_window(w, 200, 210, 300, 200);
        EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), row.result);
        EXPECT_EQ(IsZoomed(w) != FALSE, row.zoomed);
        EXPECT_EQ(IsIconic(w) != FALSE, row.iconic);
        const RECT r = normalRect(w);
        EXPECT_EQ(std::make_tuple(r.left, r.top, r.right, r.bottom), std::make_tuple(70L, 80L, 480L, 390L));
        ShowWindow(w, SW_RESTORE);
        ShowWindow(w, SW_RESTORE);
    }
    // A damaged value is no placement; moving only keeps size and state, and a hidden window hidden.
    ini_write("Global", "Probe", "1 1 0 0");
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 0);
    ini_write("Global", "Probe", "2 3 -1 -1 -8 -8 150 160 750 660");
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 1), 2);
    EXPECT_FALSE(IsZoomed(w));
    int x, y, cx, cy;
    window_rect(w, &x, &y, &cx, &cy);
    EXPECT_EQ(std::make_tuple(x, y, cx, cy), std::make_tuple(150, 160, 410, 310));
    ShowWindow(w, SW_HIDE);
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 1), 2);
    EXPECT_FALSE(IsWindowVisible(w));
    DestroyWindow(w);
}

TEST_F(Platform, ClipboardTextIsCutToTheCallersMaximum) {
    std::string text(1000, 'c');
    text[249] = 'E';
    clip_put(text.c_str());
    char buf[1100];
    std::memset(buf, '#', sizeof buf);
    clip_get(buf, 250);
    EXPECT_EQ(std::string(buf), text.substr(0, 250));
    EXPECT_EQ(buf[251], '#');
    clip_get(buf, 1099);
    EXPECT_EQ(std::string(buf), text);
    // Another program's text; an emptied clipboard; an empty text.
    const std::function<void()> fills[] = {
        [] {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
            std::memcpy(GlobalLock(block), "Hallo", 6);
            GlobalUnlock(block);
            SetClipboardData(CF_TEXT, block);
        },
        [] {}};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        fills[i]();
        CloseClipboard();
        clip_get(buf, 250);
        EXPECT_STREQ(buf, i == 0 ? "Hallo" : "");
    }
    clip_put("");
    clip_get(buf, 250);
    EXPECT_STREQ(buf, "");
}

TEST_F(Platform, MenuItemsAreAppendedAndDeletedWhereTheyExist) {
    HMENU saved = App.menu;
    App.menu = nullptr;
    EXPECT_EQ(menu_append(0, 4001, 1, "x"), -1) << "without a menu nothing is added";
    EXPECT_EQ(menu_delete(0, 0), -1);
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1001, "&\326ffnen");
    AppendMenuA(file, MF_STRING, 1998, "&Beenden");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Datei");
    App.menu = bar;
    struct Row { int submenu, id, kind; const char* text; int result; HMENU menu; int count; };
    const Row rows[] = {
        {0, 4000, 2, "Falsch", -1, file, 2},   {0, 4000, -1, "Falsch", -1, file, 2}, {0, 0, 0, nullptr, 2, file, 3},
        {0, 4001, 1, "1 C:\\a.txt", 3, file, 4}, {-1, 4100, 1, "Extra", 1, bar, 2},  {7, 4002, 1, "x", -1, bar, 2},
        {1, 4002, 1, "unter Extra", -1, bar, 2},  // a plain item has no drop-down
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(menu_append(row.submenu, row.id, row.kind, row.text), row.result);
        EXPECT_EQ(GetMenuItemCount(row.menu), row.count);
    }
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR);
    char label[64];
    GetMenuStringA(file, 3, label, sizeof label, MF_BYPOSITION);
    EXPECT_STREQ(label, "1 C:\\a.txt");
    EXPECT_EQ(GetMenuItemID(file, 3), 4001u);
    const int deletes[][4] = {{0, 3, 0, 3}, {0, 10, -1, 3}, {1, -1, 0, 1}, {-1, 0, -1, 1}, {5, -1, -1, 1}};
    for (const auto& d : deletes) {
        EXPECT_EQ(menu_delete(d[0], d[1]), d[2]) << d[0] << " " << d[1];
        EXPECT_EQ(GetMenuItemCount(d[0] == 0 ? file : bar), d[3]);
    }
    App.menu = saved;
    DestroyMenu(bar);
}

// A drop as the system hands it over: DROPFILES and the names, double-NUL ended.
// A list without names is still two NULs: the reader skips one name before it looks
// for the end, and past a single NUL it would take what lies behind for more files.
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

TEST_F(Platform, DroppedNamesAreTakenWholeOrNotAtAll) {
    const std::string fits = "C:\\" + std::string(DROP_NAME_MAX - 3, 'f');     // 199 characters
    const std::string tooLong = "C:\\" + std::string(DROP_NAME_MAX - 2, 'g');  // 200
    EXPECT_EQ(drop_count(makeDrop({"C:\\Texte\\a b.txt", fits, tooLong})), 3);
    const std::pair<int, const char*> rows[] = {{0, "C:\\Texte\\a b.txt"}, {1, fits.c_str()}, {2, ""}, {3, ""}, {-1, ""}};
    for (const auto& [index, name] : rows) {
        char buf[DROP_NAME_MAX + 1];
        EXPECT_EQ(drop_file(index, buf), *name ? static_cast<int>(std::strlen(name)) : -1) << index;
        EXPECT_STREQ(buf, name);
    }
    drop_finish();  // releases the block
    char buf[DROP_NAME_MAX + 1];
    EXPECT_EQ(drop_file(0, buf), -1);
    EXPECT_EQ(drop_count(nullptr), 0);
    drop_finish();  // nothing to release: harmless
}

// key_char follows the keyboard state; plat_key_char is the key's unshifted character
// in the active layout (here US: the German chords are found by these characters).
TEST_F(Platform, KeysGiveTheirCharacters) {
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    struct Row { int vk; bool shift; int keyChar, layoutChar; };
    const Row rows[] = {
        {'A', false, 'a', 'A'}, {'A', true, 'A', 'A'}, {'7', false, '7', '7'},   {VK_SPACE, false, ' ', ' '},
        {VK_F1, false, 0, 0},   {VK_SHIFT, false, 0, 0}, {VK_LEFT, false, 0, 0}, {VK_OEM_3, false, '`', '`'},
        {VK_OEM_PLUS, false, '=', '='}, {VK_OEM_MINUS, true, '_', '-'}, {VK_OEM_COMMA, false, ',', ','},
        {VK_OEM_PERIOD, false, '.', '.'}, {VK_OEM_7, false, '\'', '\''},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.vk);
        BYTE keys[256] = {};
        keys[VK_SHIFT] = row.shift ? 0x80 : 0;
        SetKeyboardState(keys);
        EXPECT_EQ(key_char(row.vk), row.keyChar);
        EXPECT_EQ(plat_key_char(row.vk), row.layoutChar);
    }
    SetKeyboardState(saved);
}

std::vector<UINT> received;
LRESULT CALLBACK recordingProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= WM_APP) received.push_back(msg);
    return DefWindowProcA(w, msg, wParam, lParam);
}
INT_PTR CALLBACK plainDialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

TEST_F(Platform, PostedMessagesArriveAndThePumpLeavesTheQuit) {
    plat_post_command(1009, 5);
    plat_post_command(1008, 0);
    wine_pump();
    ASSERT_EQ(wine_main_commands().size(), 2u);
    EXPECT_EQ(std::make_pair(wine_main_commands()[0].id, wine_main_commands()[0].lParam), std::make_pair(1009, LPARAM{5}));
    EXPECT_EQ(wine_main_commands()[1].id, 1008);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = recordingProc;
    wc.hInstance = App.instance;
    wc.lpszClassName = "Y8RecordingWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, App.instance, nullptr);
    received.clear();
    EXPECT_EQ(post_message(window, WM_APP + 1, 0, 0), 1);
    EXPECT_EQ(post_message(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7FFF0000)), WM_APP + 1, 0, 0), 0);
    PostMessageA(window, WM_APP + 2, 0, 0);
    pump_messages(nullptr);
    EXPECT_EQ(received, (std::vector<UINT>{WM_APP + 1, WM_APP + 2}));

    // Keys for a dialog go through its dialog manager only when it is named: Tab moves the focus.
    HWND dialog = CreateDialogParamA(App.instance, "DB9002", App.mainWindow, plainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    HWND first = GetDlgItem(dialog, TEST_EDIT);
    SetFocus(first);
    for (HWND named : {HWND{nullptr}, dialog}) {
        PostMessageA(first, WM_KEYDOWN, VK_TAB, 0);
        pump_messages(named);
        EXPECT_EQ(GetFocus() == first, named == nullptr);
    }
    DestroyWindow(dialog);

    PostMessageA(window, WM_APP + 3, 0, 0);
    PostQuitMessage(7);
    pump_messages(nullptr);
    EXPECT_EQ(received.size(), 3u);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
    DestroyWindow(window);
}

// Waits until a file has a complete line, at most about ten seconds.
std::string waitForLine(const std::string& path) {
    for (int i = 0; i < 200 && (fileText(path).empty() || fileText(path).back() != '\n'); ++i) Sleep(50);
    return fileText(path);
}

TEST_F(Platform, ABatchFileGetsAHostileNameAsOneArgumentAndFailuresShowNoBox) {
    const std::string dir = tempDir() + "y8start" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    writeFile(dir + "\\lint.bat", "@echo %1> out.txt\r\n");
    writeFile(dir + "\\mark.bat", "@echo %1> \"%~dp0run.txt\"\r\n");
    const std::string hostile = "(c)^d x|y a&echo INJECTED>inj.txt&rem .txt";
    const std::string bat = dir + "/lint.bat";
    EXPECT_GT(shell_run(bat.c_str(), hostile.c_str(), (dir + "/").c_str()), 32);
    EXPECT_EQ(waitForLine(dir + "\\out.txt"), "\"" + hostile + "\"\r\n");
    DeleteFileA((dir + "\\out.txt").c_str());
    // A name that cannot be passed safely starts nothing.
    EXPECT_EQ(shell_run(bat.c_str(), "100%.txt", dir.c_str()), START_REFUSED);
    EXPECT_EQ(shell_run(bat.c_str(), "a\"&echo INJECTED>inj.txt&\"", dir.c_str()), START_REFUSED);
    std::string line = dir + "/mark.bat hello";
    std::replace(line.begin(), line.end(), '\\', '/');
    EXPECT_GT(run_program(line.c_str()), 31);
    EXPECT_EQ(waitForLine(dir + "\\run.txt"), "hello\r\n");
    EXPECT_FALSE(file_exists((dir + "\\out.txt").c_str()));
    EXPECT_FALSE(file_exists((dir + "\\inj.txt").c_str()));
    // A box of the system's own would stop this headless run.
    EXPECT_LE(shell_run("C:/no/such/dir/lint.bat", "a.txt", "C:/"), 32);
    EXPECT_LE(open_document("C:/no/such/dir/plan.sg"), 32);
    EXPECT_LT(run_program("C:/no/such/dir/viewer.exe -K=x"), 32);
    for (const char* file : {"lint.bat", "mark.bat", "run.txt"}) DeleteFileA((dir + "\\" + file).c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
