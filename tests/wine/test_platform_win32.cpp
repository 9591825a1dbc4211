// The platform services with the real system under Wine: profile files, window
// placement, clipboard, dropped files, keys and starting programs (posted commands reach
// the main window in the tests of the drop and of the catalogue's phrases).
#include "support/app_win32.h"
#include "support/files.h"
#include "support/inifile.h"
#include "support/platform.h"
#include "support/profile.h"
#include "support/profile_win32.h"
#include "wine_environment.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

using Platform = Win32Test;

std::string windowsDir() {
    char dir[MAX_PATH];
    GetWindowsDirectoryA(dir, MAX_PATH);
    return std::string(dir) + "\\";
}

// A bare name lies in the Windows directory; sections and keys compare without case; a
// null key or value deletes nothing; a template of the same name is installed once. The program's own
// file reads like the system's after the same writes, at every buffer size.
TEST_F(Platform, ProfileFilesFollowTheSystemsRules) {
    const std::string bare = windowsDir() + "Y8ProfileTest.ini", templ = tempDir() + "Y8ProfileTest.ini";
    writeFile(templ, "[Option]\r\nTabStep=4\r\n");
    ini_set_file("Y8ProfileTest.ini");
    EXPECT_EQ(ini_install(templ.c_str()), 1);
    EXPECT_EQ(ini_install(templ.c_str()), 0);
    EXPECT_EQ(ini_read_int("option", "TABSTEP"), 4);
    ini_write("OPTION", "tabstep", "8");
    plat_ini_put("Option", nullptr, "x");
    plat_ini_put("Option", "Indent", nullptr);
    EXPECT_EQ(fileText(bare), "[Option]\r\nTabStep=8\r\nIndent=\r\n");
    DeleteFileA(bare.c_str());
    DeleteFileA(templ.c_str());
    ini_set_file(settings.c_str());
    char dir[FILE_PATH_MAX + 1];
    plat_ini_dir(dir, sizeof dir);
    EXPECT_EQ(std::string(dir), tempDir()) << "a path stays where it is";

    const std::string systemFile = tempDir() + "Y8CompareSystem.ini";
    const std::string start = "[Alpha]\r\n  Key One  =  spaced  \r\nquoted=\"in quotes\"\r\nsingle='x'\r\n"
                              "odd=\"abc'\r\ndup=first\r\ndup=second\r\n\r\n[Beta]\r\nk=b\r\n";
    writeFile(systemFile, start);
    writeFile(settings, start);
    const std::string longValue(120, 'L');
    const char* writes[][3] = {
        {"alpha", "KEY ONE", "changed"}, {"Beta", "new", "1"}, {"Gamma", "g", "7"},
        {"ALPHA", "dup", "third"},       {"beta", "K", "B2"},  {"Alpha", "long", longValue.c_str()}};
    for (const auto& w : writes) {
        WritePrivateProfileStringA(w[0], w[1], w[2], systemFile.c_str());
        ASSERT_EQ(inifile_put(settings.c_str(), w[0], w[1], w[2]), 0) << w[1];
    }
    for (const char* section : {"Alpha", "beta", "Gamma", "Delta"}) {
        for (const char* key : {"key one", "quoted", "single", "odd", "dup", "new", "k", "g", "long", "none"}) {
            // Not a size of a quoted value's length + 1: there Wine drops the value's last character.
            for (int size : {80, 5, 3, 1}) {
                char fromSystem[128], fromOwn[128];
                const DWORD n = GetPrivateProfileStringA(section, key, "", fromSystem, size, systemFile.c_str());
                EXPECT_EQ(static_cast<int>(n), inifile_get(settings.c_str(), section, key, fromOwn, size));
                EXPECT_STREQ(fromSystem, fromOwn) << section << "/" << key << " size " << size;
            }
        }
    }
    DeleteFileA(systemFile.c_str());
}

// Saved normal, maximized or minimized, a placement comes back with its state and its normal
// rectangle; a damaged value is none; moving only keeps the size, the state and a hidden window hidden.
TEST_F(Platform, PlacementsComeBackWithTheirState) {
    HWND w = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 9, 9, nullptr, nullptr, App.instance, nullptr);
    ShowWindow(w, SW_SHOWNORMAL);
    move_window(w, 70, 80, 410, 310);
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 0) << "nothing saved";
    for (const auto& [show, result] : {std::make_pair(SW_SHOWNORMAL, 0), {SW_MAXIMIZE, 2}, {SW_MINIMIZE, 1}}) {
        ShowWindow(w, show);
        save_window_pos(w, "Probe", "Global");
        ShowWindow(w, SW_RESTORE);
        move_window(w, 200, 210, 300, 200);
        EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), result);
        EXPECT_EQ(std::make_pair(IsZoomed(w), IsIconic(w)), std::make_pair(BOOL{result == 2}, BOOL{result == 1}));
        WINDOWPLACEMENT wp = {};
        wp.length = sizeof wp;
        GetWindowPlacement(w, &wp);
        const RECT& r = wp.rcNormalPosition;
        EXPECT_EQ(std::make_tuple(r.left, r.top, r.right, r.bottom), std::make_tuple(70L, 80L, 480L, 390L)) << show;
        ShowWindow(w, SW_RESTORE);
    }
    ini_write("Global", "Probe", "1 1 0 0");
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 0), 0);
    ini_write("Global", "Probe", "2 3 -1 -1 -8 -8 150 160 750 660");
    EXPECT_EQ(restore_window_pos(w, "Probe", "Global", 1), 2);
    int x, y, cx, cy;
    window_rect(w, &x, &y, &cx, &cy);
    EXPECT_EQ(std::make_tuple(x, y, cx, cy, IsZoomed(w)), std::make_tuple(150, 160, 410, 310, FALSE));
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
    ASSERT_TRUE(OpenClipboard(nullptr));  // another program's text
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(block), "Hallo", 6);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    clip_get(buf, 1099);
    EXPECT_STREQ(buf, "Hallo");
    clip_put("");
    clip_get(buf, 250);
    EXPECT_STREQ(buf, "");
}

TEST_F(Platform, DroppedNamesAreTakenWholeOrNotAtAll) {
    const std::string fits = "C:\\" + std::string(DROP_NAME_MAX - 3, 'f');  // 199 characters; 200 are too long
    EXPECT_EQ(drop_count(makeDrop({"C:\\Texte\\a b.txt", fits, fits + "g"})), 3);
    for (const auto& [index, name] :
         {std::make_pair(0, "C:\\Texte\\a b.txt"), {1, fits.c_str()}, {2, ""}, {3, ""}, {-1, ""}}) {
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

// key_char follows the keyboard state; plat_key_char is the key's unshifted character in
// the active layout (US here), by which the German chords are found whatever their codes.
TEST_F(Platform, KeysGiveTheirCharacters) {
    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    const std::tuple<int, bool, int, int> rows[] = {
        {'A', false, 'a', 'A'}, {'A', true, 'A', 'A'}, {VK_F1, false, 0, 0}, {VK_OEM_3, false, '`', '`'},
        {VK_OEM_MINUS, true, '_', '-'}, {VK_ADD, false, '+', '+'},
    };
    for (const auto& [vk, shift, keyChar, layoutChar] : rows) {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        EXPECT_EQ(std::make_pair(key_char(vk), plat_key_char(vk)), std::make_pair(keyChar, layoutChar)) << vk;
    }
    SetKeyboardState(saved);
}

// Waits until a file has a complete line, at most about ten seconds.
std::string waitForLine(const std::string& path) {
    for (int i = 0; i < 200 && (fileText(path).empty() || fileText(path).back() != '\n'); ++i) Sleep(50);
    return fileText(path);
}

// A batch file gets a hostile name as one argument; a name that cannot be passed safely
// starts nothing; failures are results, never a box of the system's own.
TEST_F(Platform, ABatchFileGetsAHostileNameAsOneArgument) {
    const std::string dir = tempDir() + "y8start" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    writeFile(dir + "\\lint.bat", "@echo %1> out.txt\r\n");
    writeFile(dir + "\\mark.bat", "@echo %1> \"%~dp0run.txt\"\r\n");
    const std::string hostile = "(c)^d x|y a&echo INJECTED>inj.txt&rem .txt", bat = dir + "/lint.bat";
    EXPECT_GT(shell_run(bat.c_str(), hostile.c_str(), (dir + "/").c_str()), 32);
    EXPECT_EQ(waitForLine(dir + "\\out.txt"), "\"" + hostile + "\"\r\n");
    DeleteFileA((dir + "\\out.txt").c_str());
    EXPECT_EQ(shell_run(bat.c_str(), "100%.txt", dir.c_str()), START_REFUSED);
    EXPECT_EQ(shell_run(bat.c_str(), "a\"&echo INJECTED>inj.txt&\"", dir.c_str()), START_REFUSED);
    std::string line = dir + "/mark.bat hello";
    std::replace(line.begin(), line.end(), '\\', '/');
    EXPECT_GT(run_program(line.c_str()), 31);
    EXPECT_EQ(waitForLine(dir + "\\run.txt"), "hello\r\n");
    EXPECT_FALSE(file_exists((dir + "\\out.txt").c_str()));
    EXPECT_FALSE(file_exists((dir + "\\inj.txt").c_str()));
    EXPECT_LE(shell_run("C:/no/such/dir/lint.bat", "a.txt", "C:/"), 32);
    EXPECT_LE(open_document("C:/no/such/dir/plan.sg"), 32);
    EXPECT_LT(run_program("C:/no/such/dir/viewer.exe -K=x"), 32);
    for (const char* file : {"lint.bat", "mark.bat", "run.txt"}) DeleteFileA((dir + "\\" + file).c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
