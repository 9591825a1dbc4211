// The properties dialog "Datei" under Wine: the values it shows, the check
// boxes acting at once, the refresh after a change elsewhere, Cancel; and the
// dialog rows of the command table reaching their dialogs.
#include "document/docfile_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "document/docfile.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/app_win32.h"
#include "shell/mainwin_win32.h"
#include "support/status_win32.h"
#include "view/cursor.h"
#include "view/refresh.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

class PropertiesDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        std::strcpy(fileName, "C:\\Projekt\\quelle\\datei.txt");
        hasName = 1;
        fileSize = 1234567;
        fileTime = TimeRecord{124, 12, 24, 18, 30, 15};
        modified = 0;
        crlfMode = 1;
        ASSERT_NE(status_create("40 80 200"), nullptr);
        statusFieldsReset();
        docShownReset();
        wine_clear_boxes();
        GetWindowTextA(App.mainWindow, title_, sizeof title_);
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        status_destroy();
        wine_pump();
        modified = 0;
        SetWindowTextA(App.mainWindow, title_);  // the refreshes showed the document's name
    }
    char title_[128] = "";
};

TEST_F(PropertiesDialog, ShowsTheFileAndTheBoxesActAtOnce) {
    propertiesDialogOpen();
    wine_pump();
    HWND dialog = FindWindowA(nullptr, "Datei");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(propertiesDialogIsOpen());
    EXPECT_EQ(itemText(dialog, PROP_NAME), "datei.txt");
    EXPECT_EQ(itemText(dialog, PROP_DIR), "C:\\Projekt\\quelle\\");
    EXPECT_EQ(itemText(dialog, PROP_SIZE), "1234.567");
    EXPECT_EQ(itemText(dialog, PROP_TIME), "24.12.2024 18:30");
    EXPECT_EQ(itemText(dialog, PROP_MODIFIED), "Ge\344ndert");
    EXPECT_FALSE(checked(dialog, PROP_MODIFIED));
    EXPECT_TRUE(checked(dialog, PROP_CRLF));

    // A click sets the flag before any other message is handled.
    SendMessageA(GetDlgItem(dialog, PROP_MODIFIED), BM_CLICK, 0, 0);
    EXPECT_EQ(modified, 1);
    SendMessageA(GetDlgItem(dialog, PROP_CRLF), BM_CLICK, 0, 0);
    EXPECT_EQ(crlfMode, 0);
    wine_pump();
    EXPECT_EQ(statusPart(0), " lf");

    // Changes made elsewhere reach the open dialog with the next refresh.
    modified = 0;
    crlfMode = 1;
    fileSize = 999;
    std::strcpy(fileName, "D:\\neu.c");
    refreshAll();
    wine_pump();
    EXPECT_FALSE(checked(dialog, PROP_MODIFIED));
    EXPECT_TRUE(checked(dialog, PROP_CRLF));
    EXPECT_EQ(itemText(dialog, PROP_SIZE), "999");
    EXPECT_EQ(itemText(dialog, PROP_NAME), "neu.c");
    EXPECT_EQ(itemText(dialog, PROP_DIR), "D:\\");
    EXPECT_EQ(statusPart(0), "crlf");

    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(propertiesDialogIsOpen());
    EXPECT_TRUE(wine_seen_boxes().empty());
}

TEST_F(PropertiesDialog, TheDialogRowsOfTheCommandTableOpenTheirDialogs) {
    const int savedState = runState;
    runState = 2;
    const std::pair<int, const char*> rows[] = {
        {CMD_PROPERTIES, "Datei"}, {CMD_POSITION, "Position"}, {CMD_OPTIONS, "Optionen"}};
    for (const auto& row : rows) {
        EXPECT_EQ(FindWindowA(nullptr, row.second), nullptr);
        mainWindowProc(App.mainWindow, WM_COMMAND, row.first, 0);
        wine_pump();
        EXPECT_NE(FindWindowA(nullptr, row.second), nullptr) << row.first;
    }
    runState = savedState;
}

}  // namespace
