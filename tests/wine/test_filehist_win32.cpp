// The recent files in the menu "&Datei" and the two panels under Wine: the
// items appended and deleted in a real menu, the panel "Letzte Dateien"
// opening the chosen file, and the directory panel listing real files, taking
// typed keys, reading a directory on OK, opening a file and keeping its filter.
// The settings file and the listed directory are the test's own.
#include "document/filehist_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "document/dirpanel.h"
#include "document/docfile.h"
#include "document/docstate.h"
#include "document/filehist.h"
#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "support/app_win32.h"
#include "shell/config.h"
#include "support/profile.h"
#include "support/status_win32.h"
#include "view/cursor.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

std::string tempDir() {
    char dir[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, dir);
    return dir;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string windowText(HWND window) {
    char buf[512] = "";
    GetWindowTextA(window, buf, sizeof buf);
    return buf;
}

std::vector<std::string> listLines(HWND list) {
    std::vector<std::string> lines;
    const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char buf[512] = "";
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buf));
        lines.push_back(buf);
    }
    return lines;
}

// The open panel: the dialog window among the main window's children.
HWND panel() {
    for (HWND child = GetWindow(App.mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(child, cls, sizeof cls);
        if (std::strcmp(cls, "#32770") == 0) return child;
    }
    return nullptr;
}

// The panel stands in the top left corner of the main window's client area,
// its client area of the template's size in dialog units.
void expectPlaced(HWND dialog, int width, int height) {
    RECT units{0, 0, width, height};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
    RECT placed{};
    GetWindowRect(dialog, &placed);
    POINT corner{0, 0};
    ClientToScreen(App.mainWindow, &corner);
    EXPECT_EQ(placed.left, corner.x);
    EXPECT_EQ(placed.top, corner.y);
}

// A directory of the test's own with files, a settings file of its own, an
// empty recent files list and an unnamed document.
class RecentFilesWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        ASSERT_NE(status_create("40 80 200"), nullptr);
        statusFieldsReset();
        docShownReset();
        GetWindowTextA(App.mainWindow, title_, sizeof title_);
        GetCurrentDirectoryA(MAX_PATH, cwd_);
        const std::string stem = "Y8FilesTest" + std::to_string(GetCurrentProcessId());
        dir_ = tempDir() + stem;
        CreateDirectoryA(dir_.c_str(), nullptr);
        CreateDirectoryA((dir_ + "\\sub").c_str(), nullptr);
        for (const char* name : {"xa.c", "a.txt", "kopf.h", "old.bak"}) writeFile(dir_ + "\\" + name, "text\r\n");
        writeFile(dir_ + "\\sub\\inner.txt", "inner\r\n");
        settings_ = tempDir() + stem + ".ini";
        DeleteFileA(settings_.c_str());
        ini_set_file(settings_.c_str());
        ini_write(CFG_SECTION_ZUSAETZE, "Ext0", "BAK");
        ini_write(CFG_SECTION_DAUER_DIR, "Dir0", "C:\\Kurz");
        ini_write(CFG_SECTION_DAUER_DIR, "Dir4", "C:\\ein\\sehr\\langer\\Pfad\\der\\mehr\\als\\vierzig\\hat");
        extensionsForget();
        extensionsInstall();
        dirFilterSet("");
        historyCreate();
        fileName[0] = '\0';
        hasName = 0;
        modified = 0;
        std::strcpy(lastDir, (dir_ + "\\").c_str());
        wine_clear_boxes();
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        historyMenuRemove();
        historyDestroy();
        status_destroy();
        wine_pump();
        modified = 0;
        hasName = 0;
        fileName[0] = '\0';
        lastDir[0] = '\0';
        dirFilterSet("");
        extensionsForget();
        SetWindowTextA(App.mainWindow, title_);
        SetCurrentDirectoryA(cwd_);
        ini_set_file("");
        DeleteFileA(settings_.c_str());
        DeleteFileA((dir_ + "\\sub\\inner.txt").c_str());
        RemoveDirectoryA((dir_ + "\\sub").c_str());
        for (const char* name : {"xa.c", "a.txt", "kopf.h", "old.bak", "neu.txt"}) DeleteFileA((dir_ + "\\" + name).c_str());
        RemoveDirectoryA(dir_.c_str());
        EXPECT_TRUE(wine_seen_boxes().empty()) << wine_seen_boxes()[0].text;
    }
    static void command(HWND dialog, int id, int code = 0, HWND control = nullptr) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
        wine_pump();
    }
    static void key(HWND list, int vk) {
        PostMessageA(list, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        PostMessageA(list, WM_KEYUP, static_cast<WPARAM>(vk), 0xC0000001);
        wine_pump();
    }
    static int selected(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

    std::string dir_;
    std::string settings_;
    char title_[128] = "";
    char cwd_[MAX_PATH] = "";
};

TEST_F(RecentFilesWin32, TheTenNewestAreItemsOfTheFileMenu) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1000, "A&nlegen");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Datei");
    ASSERT_TRUE(SetMenu(App.mainWindow, bar));
    historyMenuInstall();

    for (int i = 0; i < 12; ++i) historyAdd(("C:\\f" + std::to_string(i) + ".txt").c_str());
    ASSERT_EQ(GetMenuItemCount(file), 12);  // the own item, one separator, ten entries
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    char text[64] = "";
    GetMenuStringA(file, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&0 C:\\f11.txt");
    EXPECT_EQ(GetMenuItemID(file, 2), 1050u);
    GetMenuStringA(file, 11, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&9 C:\\f2.txt");
    EXPECT_EQ(GetMenuItemID(file, 11), 1059u);

    historyAdd("C:\\f5.txt");  // moves to the top: the items are made afresh
    ASSERT_EQ(GetMenuItemCount(file), 12);
    GetMenuStringA(file, 2, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&0 C:\\f5.txt");
    GetMenuStringA(file, 3, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&1 C:\\f11.txt");

    historyCreate();  // an emptied list leaves the separator only
    EXPECT_EQ(GetMenuItemCount(file), 2);
    EXPECT_EQ(GetMenuItemID(file, 0), 1000u);

    historyMenuRemove();
    SetMenu(App.mainWindow, nullptr);
    DestroyMenu(bar);
}

TEST_F(RecentFilesWin32, TheRecentFilesPanelOpensTheChosenName) {
    const std::string a = dir_ + "\\a.txt";
    const std::string x = dir_ + "\\xa.c";
    historyAdd(a.c_str());
    historyAdd(x.c_str());
    historyPanelOpen();
    wine_pump();
    HWND dialog = panel();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetParent(dialog), App.mainWindow);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD);
    expectPlaced(dialog, 214, 220);
    HWND list = GetDlgItem(dialog, 3010);
    EXPECT_EQ(listLines(list), (std::vector<std::string>{x, a}));
    EXPECT_EQ(selected(list), 0);

    command(dialog, 2);  // Cancel: nothing opened
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(hasName, 0);

    historyPanelOpen();
    wine_pump();
    dialog = panel();
    ASSERT_NE(dialog, nullptr);
    list = GetDlgItem(dialog, 3010);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    command(dialog, 3010, LBN_DBLCLK, list);  // a double click is OK
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(hasName, 1);
    EXPECT_EQ(std::string(fileName), a);
    EXPECT_EQ(rowText(0), "text");
}

TEST_F(RecentFilesWin32, TheDirectoryPanelListsFiltersReadsAndOpens) {
    directoryPanelOpen();
    wine_pump();
    HWND dialog = panel();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetParent(dialog), App.mainWindow);
    expectPlaced(dialog, 214, 234);
    HWND list = GetDlgItem(dialog, 3010);
    HWND combo = GetDlgItem(dialog, 3000);
    EXPECT_EQ(windowText(combo), dir_ + "\\");
    std::vector<std::string> lines = listLines(list);
    ASSERT_EQ(lines.size(), 5u);  // old.bak hidden
    EXPECT_EQ(lines[0], "..");
    EXPECT_EQ(lines[1], "sub\\");
    EXPECT_EQ(lines[2].substr(0, 4), "xa.c");
    EXPECT_EQ(lines[3].substr(0, 6), "kopf.h");
    EXPECT_EQ(lines[4].substr(0, 5), "a.txt");
    EXPECT_EQ(lines[4].substr(29, 3), "0  ");

    // Typed keys: the filter grows, the first file is selected (the list box
    // does not search with the character).
    key(list, 'A');
    EXPECT_EQ(windowText(GetDlgItem(dialog, 3020)), "a");
    EXPECT_EQ(listLines(list).size(), 4u);  // .., sub\, xa.c, a.txt
    EXPECT_EQ(selected(list), 2);
    key(list, VK_BACK);
    key(list, VK_MULTIPLY);
    key(list, VK_OEM_PERIOD);
    key(list, 'H');
    EXPECT_EQ(windowText(GetDlgItem(dialog, 3020)), "*.h");
    lines = listLines(list);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].substr(0, 6), "kopf.h");
    for (int i = 0; i < 3; ++i) key(list, VK_BACK);
    EXPECT_EQ(listLines(list).size(), 5u);

    // The combo box drops down with the permanent directories, keeping its text.
    command(dialog, 3000, CBN_DROPDOWN, combo);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 2);
    char item[128] = "";
    SendMessageA(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(std::string(item), std::string("C:\\ein\\sehr\\langer\\Pfad\\der\\mehr\\als\\vierzig\\hat").substr(0, 40));
    EXPECT_EQ(windowText(combo), dir_ + "\\");

    // F5 while open reads the directory again.
    writeFile(dir_ + "\\neu.txt", "");
    directoryPanelOpen();
    wine_pump();
    EXPECT_EQ(panel(), dialog);
    EXPECT_EQ(listLines(list).size(), 6u);

    // OK outside the list moves the focus there; in the list it reads a directory.
    SetFocus(GetDlgItem(dialog, 3020));
    command(dialog, IDOK);
    EXPECT_EQ(GetFocus(), list);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    command(dialog, IDOK);
    EXPECT_EQ(windowText(combo), dir_ + "\\sub");
    lines = listLines(list);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(0, 9), "inner.txt");

    // OK on a file opens it and closes the panel.
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    command(dialog, IDOK);
    EXPECT_EQ(panel(), nullptr);
    EXPECT_EQ(std::string(fileName), dir_ + "\\sub\\inner.txt");
    EXPECT_EQ(rowText(0), "inner");
}

std::string currentDir() {
    char dir[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, dir);
    return dir;
}

// Keys typed into the combo box's edit field over its whole text.
void typeInto(HWND combo, const char* text) {
    SetFocus(combo);
    SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    for (const char* c = text; *c; ++c) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
    wine_pump();
}

TEST_F(RecentFilesWin32, ATypedDirectoryIsReadOnceAndEnteredOnlyWhenChosen) {
    ini_write(CFG_SECTION_DAUER_DIR, "Dir7", "..");  // relative: to the current directory
    directoryPanelOpen();
    wine_pump();
    HWND dialog = panel();
    ASSERT_NE(dialog, nullptr);
    HWND combo = GetDlgItem(dialog, 3000);
    HWND list = GetDlgItem(dialog, 3010);
    const std::string sub = dir_ + "\\sub";
    ASSERT_EQ(currentDir(), dir_);

    // Each key reads what the text names from the current directory, which stays.
    typeInto(combo, "sub");
    std::vector<std::string> lines = listLines(list);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(0, 9), "inner.txt");
    EXPECT_EQ(currentDir(), dir_);

    // Enter chooses it: it becomes the current directory, shown as a full path.
    command(dialog, IDOK);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(currentDir(), sub);
    EXPECT_EQ(windowText(combo), sub);
    EXPECT_EQ(listLines(list).size(), 2u);

    // A relative permanent directory chosen from the drop-down list: the same.
    command(dialog, 3000, CBN_DROPDOWN, combo);
    const LRESULT up = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(".."));
    ASSERT_GE(up, 0);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(up), 0);
    command(dialog, 3000, CBN_SELCHANGE, combo);
    EXPECT_EQ(currentDir(), sub) << "a selection alone is no choice";
    command(dialog, 3000, CBN_SELENDOK, combo);
    EXPECT_EQ(currentDir(), dir_);
    EXPECT_EQ(windowText(combo), dir_);
    EXPECT_EQ(listLines(list).size(), 5u);
}

TEST_F(RecentFilesWin32, CancelKeepsTheFilterForTheNextOpening) {
    directoryPanelOpen();
    wine_pump();
    HWND dialog = panel();
    ASSERT_NE(dialog, nullptr);
    key(GetDlgItem(dialog, 3010), 'K');
    command(dialog, IDCANCEL);
    EXPECT_EQ(panel(), nullptr);
    EXPECT_STREQ(dirFilterText(), "k");
    EXPECT_EQ(hasName, 0);

    directoryPanelOpen();
    wine_pump();
    dialog = panel();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(windowText(GetDlgItem(dialog, 3020)), "k");
    EXPECT_EQ(listLines(GetDlgItem(dialog, 3010)).size(), 3u);  // .., sub\, kopf.h
}

}  // namespace
