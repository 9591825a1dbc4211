// The settings dialogs "Verzeichnisse", "Zusaetze" and "Farben, Fonts" and the
// placement slots under Wine: the dialogs opened through the command table,
// filled from a settings file of the test's own, saved with "&Speichern",
// "Standard" and Cancel; the slots applied to and taken from the test's main
// window. Both files are the test's own (named after the process, since several
// test runs may share the prefix): the program's Y8.ini is never touched.
#include "shell/config_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/app_win32.h"
#include "shell/config.h"
#include "shell/mainwin_win32.h"
#include "support/profile.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

std::string tempDir() {
    char dir[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, dir);
    return dir;
}

std::string ownFile(const char* stem) {
    return tempDir() + stem + std::to_string(GetCurrentProcessId()) + ".ini";
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The texts of the dialog's static controls, in creation order.
std::vector<std::string> staticTexts(HWND dialog) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0) continue;
        char text[128] = "";
        GetWindowTextA(child, text, sizeof text);
        texts.push_back(text);
    }
    return texts;
}

bool hasText(const std::vector<std::string>& texts, const std::string& text) {
    for (const std::string& t : texts)
        if (t == text) return true;
    return false;
}

// The template's size in dialog units is the dialog's client area.
void expectClientSize(HWND dialog, int width, int height) {
    RECT units{0, 0, width, height};
    ASSERT_TRUE(MapDialogRect(dialog, &units));
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, units.right);
    EXPECT_EQ(client.bottom, units.bottom);
}

std::string placementOf(HWND window) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    GetWindowPlacement(window, &wp);
    char text[128];
    std::snprintf(text, sizeof text, "%u %ld %ld %ld %ld", wp.showCmd, wp.rcNormalPosition.left,
                  wp.rcNormalPosition.top, wp.rcNormalPosition.right, wp.rcNormalPosition.bottom);
    return text;
}

// A settings file and a slots' file of the test's own, the main window's
// placement as it was before, and a line store for the refresh that follows
// every command.
class ConfigWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));

        settings_ = ownFile("Y8ConfigTest");
        DeleteFileA(settings_.c_str());
        ini_set_file(settings_.c_str());
        slots_ = ownFile("Y8SlotsTest");
        DeleteFileA(slots_.c_str());
        slotFileSet(slots_.c_str());
        placement_.length = sizeof placement_;
        GetWindowPlacement(App.mainWindow, &placement_);
        slotForget();
        savedSlot_ = windowSlot;
        wine_clear_boxes();
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        slotForget();
        windowSlot = savedSlot_;
        SetWindowPlacement(App.mainWindow, &placement_);
        ShowWindow(App.mainWindow, SW_SHOW);
        wine_pump();
        slotFileSet(nullptr);
        DeleteFileA(slots_.c_str());
        ini_set_file("");
        DeleteFileA(settings_.c_str());
        EXPECT_TRUE(wine_seen_boxes().empty()) << wine_seen_boxes()[0].text;
    }

    static void command(int id) {
        appProc(WM_COMMAND, static_cast<WPARAM>(id), 0);
        wine_pump();
    }
    static void press(HWND dialog, int id) {
        SendMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
        wine_pump();
    }
    std::string value(const char* section, const char* key) const {
        char buf[256] = "";
        GetPrivateProfileStringA(section, key, "<none>", buf, sizeof buf, settings_.c_str());
        return buf;
    }
    static std::string slotValue(const char* format, int slot) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, format, slot);
        char buf[PLACEMENT_TEXT_SIZE];
        ini_read_file(slotFile(), CFG_SECTION_WINDOW, key, buf, sizeof buf);
        return buf;
    }
    static void setSlotValue(const char* format, int slot, const char* text) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, format, slot);
        ini_write_file(slotFile(), CFG_SECTION_WINDOW, key, text);
    }
    static void setAllInUse(const char* flags) {
        for (int i = 0; i < CFG_SLOTS; ++i) setSlotValue(CFG_KEY_IN_USE_FORMAT, i, std::string(1, flags[i]).c_str());
    }
    static std::string flags() {
        std::string all;
        for (int i = 0; i < CFG_SLOTS; ++i) all += slotValue(CFG_KEY_IN_USE_FORMAT, i);
        return all;
    }

    std::string settings_;
    std::string slots_;
    WINDOWPLACEMENT placement_ = {};
    int savedSlot_ = 1;
};

// ---------------------------------------------------------------------------
// Settings dialogs
// ---------------------------------------------------------------------------

TEST_F(ConfigWin32, DirectoriesShowEveryStoredDirectoryAndSaveEveryField) {
    const std::string dir80 = "C:\\Projekte\\" + std::string(68, 'd');
    ini_write("DauerDir", "Dir0", dir80.c_str());
    ini_write("DauerDir", "Dir3", "C:\\Texte");
    ini_write("DauerDir", "Dir19", "E:\\Letztes");

    command(CMD_CONF_DIRECTORIES);
    HWND dialog = FindWindowA(nullptr, "Verzeichnisse");
    ASSERT_NE(dialog, nullptr);
    expectClientSize(dialog, 186, 262);
    EXPECT_EQ(itemText(dialog, 3000), dir80);  // whole, not its first 40 characters
    EXPECT_EQ(itemText(dialog, 3030), "C:\\Texte");
    EXPECT_EQ(itemText(dialog, 3190), "E:\\Letztes");
    EXPECT_EQ(itemText(dialog, 3010), "");
    EXPECT_EQ(SendDlgItemMessageA(dialog, 3000, EM_GETLIMITTEXT, 0, 0), 80);
    const std::vector<std::string> labels = staticTexts(dialog);
    ASSERT_EQ(labels.size(), 20u);
    EXPECT_EQ(labels.front(), "1");
    EXPECT_EQ(labels.back(), "20");

    // The command again brings the open dialog forward, no second copy.
    command(CMD_CONF_DIRECTORIES);
    EXPECT_EQ(FindWindowA(nullptr, "Verzeichnisse"), dialog);

    SetDlgItemTextA(dialog, 3010, "  D:\\Neu  ");
    SetDlgItemTextA(dialog, 3030, "");
    press(dialog, DLG_ACTION);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(value("DauerDir", "Dir0"), dir80);  // untouched, saved unchanged
    EXPECT_EQ(value("DauerDir", "Dir1"), "D:\\Neu");
    EXPECT_EQ(value("DauerDir", "Dir3"), "");  // an empty field keeps its key, empty
    EXPECT_EQ(value("DauerDir", "Dir18"), "");
    EXPECT_EQ(value("DauerDir", "Dir19"), "E:\\Letztes");
}

TEST_F(ConfigWin32, ExtensionsStandardAndCancelWriteNothingSaveWritesTrimmedAndCut) {
    for (int i = 0; i < 20; ++i) {
        char key[8];
        std::snprintf(key, sizeof key, "Ext%d", i);
        ini_write("Zusaetze", key, ("e" + std::to_string(i)).c_str());
    }
    const std::string before = fileText(settings_);

    command(CMD_CONF_EXTENSIONS);
    HWND dialog = FindWindowA(nullptr, "Zus\xE4tze");
    ASSERT_NE(dialog, nullptr);
    expectClientSize(dialog, 102, 142);
    EXPECT_EQ(itemText(dialog, 3000), "e0");
    EXPECT_EQ(itemText(dialog, 3190), "e19");
    EXPECT_EQ(SendDlgItemMessageA(dialog, 3100, EM_GETLIMITTEXT, 0, 0), 10);
    EXPECT_EQ(itemText(dialog, 2500), "&Speichern");
    EXPECT_EQ(itemText(dialog, 2501), "Standard");
    EXPECT_EQ(itemText(dialog, 2), "Abbrechen");

    press(dialog, CFG_STANDARD);
    const char* expected[] = {"bak", "obj", "exe", "map", "lib", "dll", "bin", "o",   "a",   "dlg",
                              "bmp", "png", "gif", "jpg", "bmp", "e15", "e16", "e17", "e18", "e19"};
    for (int i = 0; i < 20; ++i) EXPECT_EQ(itemText(dialog, 3000 + 10 * i), expected[i]) << "field " << i;
    EXPECT_EQ(fileText(settings_), before);
    press(dialog, DLG_CANCEL);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(fileText(settings_), before);

    extensionsOpen();
    wine_pump();
    dialog = FindWindowA(nullptr, "Zus\xE4tze");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemText(dialog, 3000), "e0");  // Standard was never saved
    SetDlgItemTextA(dialog, 3000, "  b?k ");
    SetDlgItemTextA(dialog, 3010, "abcdefghijklm");  // set, not typed: longer than the limit
    press(dialog, DLG_ACTION);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(value("Zusaetze", "Ext0"), "b?k");
    EXPECT_EQ(value("Zusaetze", "Ext1"), "abcdefghij");
    EXPECT_EQ(value("Zusaetze", "Ext2"), "e2");
    extensionsLoad();
    EXPECT_EQ(extensionAllowed("BAK"), 0);
    extensionsForget();
}

TEST_F(ConfigWin32, ColoursShowTheirHintsAndSaveTheThreeKeys) {
    ini_write("Global", "BgFarbe", "250 250 240");
    ini_write("Global", "MainWindow", "0 1 -1 -1 -1 -1 1 2 3 4");

    command(CMD_CONF_COLOURS);
    HWND dialog = FindWindowA(nullptr, "Farben, Fonts");
    ASSERT_NE(dialog, nullptr);
    expectClientSize(dialog, 220, 58);
    EXPECT_EQ(itemText(dialog, 3000), "250 250 240");
    EXPECT_EQ(itemText(dialog, 3010), "");
    EXPECT_EQ(itemText(dialog, 3100), "");
    EXPECT_EQ(SendDlgItemMessageA(dialog, 3100, EM_GETLIMITTEXT, 0, 0), 80);
    const std::vector<std::string> statics = staticTexts(dialog);
    for (const char* text : {"Hintergrund:", "Markierte Zeile:", "Druckerschrift:", "245 245 245", "211 211 211",
                             "Monospace 821 BT"}) {
        EXPECT_TRUE(hasText(statics, text)) << text;
    }

    SetDlgItemTextA(dialog, 3010, " 200 200 200 ");
    SetDlgItemTextA(dialog, 3100, "Courier New");
    press(dialog, DLG_ACTION);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(value("Global", "BgFarbe"), "250 250 240");
    EXPECT_EQ(value("Global", "MarkBgFarbe"), "200 200 200");
    EXPECT_EQ(value("Global", "PrintFont"), "Courier New");
    EXPECT_EQ(value("Global", "MainWindow"), "0 1 -1 -1 -1 -1 1 2 3 4");  // not a field of the dialog

    // Cancel after typing: nothing written.
    const std::string before = fileText(settings_);
    coloursOpen();
    wine_pump();
    dialog = FindWindowA(nullptr, "Farben, Fonts");
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextA(dialog, 3000, "0 0 0");
    press(dialog, DLG_CANCEL);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(fileText(settings_), before);
}

// ---------------------------------------------------------------------------
// Placement slots
// ---------------------------------------------------------------------------

TEST_F(ConfigWin32, TakeAppliesTheSlotsPlacementAndReleaseStoresTheWindowsOwn) {
    setAllInUse("1000000000");
    setSlotValue(CFG_KEY_POSITION_FORMAT, 1, "0 1 -1 -1 -1 -1 40 50 540 450");
    EXPECT_EQ(slotTake(1), 1);
    EXPECT_EQ(placementOf(App.mainWindow), "1 40 50 540 450");
    EXPECT_EQ(flags(), "1100000000");

    MoveWindow(App.mainWindow, 60, 70, 500, 400, TRUE);
    slotRelease(10);  // not this copy's: nothing
    EXPECT_EQ(slotValue(CFG_KEY_POSITION_FORMAT, 1), "0 1 -1 -1 -1 -1 40 50 540 450");
    slotRelease(1);
    const std::string stored = slotValue(CFG_KEY_POSITION_FORMAT, 1);
    PlacementValues values;
    ASSERT_TRUE(placement_parse(stored.c_str(), &values)) << stored;
    EXPECT_EQ(values.showCommand, SW_SHOWNORMAL);
    EXPECT_EQ(values.left, 60);
    EXPECT_EQ(values.top, 70);
    EXPECT_EQ(values.right, 560);
    EXPECT_EQ(values.bottom, 470);
    EXPECT_EQ(flags(), "1000000000");
}

TEST_F(ConfigWin32, WithoutAPlacementTheWindowIsCentredOnTheWorkArea) {
    setAllInUse("1100000000");
    setSlotValue(CFG_KEY_POSITION_FORMAT, 2, "  ");
    EXPECT_EQ(slotTake(1), 2);
    RECT area{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    const int cx = (area.right - area.left) / 2, cy = (area.bottom - area.top) / 2;
    char expected[64];
    std::snprintf(expected, sizeof expected, "1 %d %d %d %d", cx - 300, cy - 220, cx + 300, cy + 220);
    EXPECT_EQ(placementOf(App.mainWindow), expected);
    RECT frame{};
    GetWindowRect(App.mainWindow, &frame);
    EXPECT_EQ(frame.right - frame.left, 600);
    EXPECT_EQ(frame.bottom - frame.top, 440);
}

TEST_F(ConfigWin32, CommandPlaceWindowTakesTheSlotOfTheFirstCopyAndRestoresAMinimizedWindow) {
    setAllInUse("0001000000");  // left over by a copy that crashed
    setSlotValue(CFG_KEY_POSITION_FORMAT, 0, "0 2 -1 -1 -1 -1 20 30 520 430");  // closed minimized
    windowSlot = 0;
    command(CMD_PLACE_WINDOW);
    EXPECT_EQ(windowSlot, 0);
    EXPECT_EQ(flags(), "1000000000");
    EXPECT_FALSE(IsIconic(App.mainWindow));
    const std::string now = placementOf(App.mainWindow);
    EXPECT_EQ(now.substr(now.find(' ')), " 20 30 520 430");
}

}  // namespace
