// The dialogs "Optionen" and "Position" under Wine: opened from their
// templates, check boxes acting at once, "&Setzen", the refresh command 2510
// and Cancel.
#include "view/cursor_win32.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "support/app_win32.h"
#include "support/status_win32.h"
#include "view/cursor.h"
#include "view/editing.h"
#include "view/options.h"
#include "view/refresh.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

class CursorDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        LineRecord line;
        for (int i = 29; i >= 0; --i) {
            lineInit(&line);
            std::snprintf(line.text, sizeof line.text, "line %d", i);
            pushBelow(&line);
        }
        fillWindowFromBelow();
        optionsSetDefaults();
        quoteOption = 0;
        tabStep = 8;
        indentStep = 2;
        ASSERT_NE(status_create("40 80 200"), nullptr);
        statusFieldsReset();
        wine_clear_boxes();
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        status_destroy();
        wine_pump();
    }
};

TEST_F(CursorDialogs, OptionsShowTheFlagsAndActAtOnce) {
    optionsDialogOpen();
    wine_pump();
    HWND dialog = FindWindowA(nullptr, "Optionen");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(optionsDialogIsOpen());
    const int flags[OPTIONS_BOXES] = {1, 1, 1, 0, 0, 0, 0};  // in optionsBoxIds order
    for (int i = 0; i < OPTIONS_BOXES; ++i)
        EXPECT_EQ(IsDlgButtonChecked(dialog, optionsBoxIds[i]), static_cast<UINT>(flags[i]))
            << optionsBoxIds[i];
    EXPECT_EQ(itemText(dialog, OPT_TAB_ENTERED), "8");
    EXPECT_EQ(itemText(dialog, OPT_INDENT_ENTERED), "2");
    EXPECT_EQ(itemText(dialog, OPT_TAB_SHOWN), "8");
    EXPECT_EQ(itemText(dialog, OPT_INDENT_SHOWN), "2");
    EXPECT_EQ(itemText(dialog, OPT_AUTO_INDENT), "Einr\374ckhilfe");

    // A click changes the option and the status bar before any other step.
    click(dialog, OPT_COLUMN_KEEP);
    EXPECT_EQ(columnKeep, 0);
    EXPECT_EQ(statusPart(FLAGS_FIELD), " Indent ");
    click(dialog, OPT_KEEP_FILE_TIME);
    EXPECT_EQ(keepFileTime, 1);
    EXPECT_EQ(statusPart(FLAGS_FIELD), " Indent  Dateizeit ");
    wine_pump();
    EXPECT_EQ(IsDlgButtonChecked(dialog, OPT_COLUMN_KEEP), 0u);

    // "&Setzen" limits the steps; the dialog stays open and shows them.
    SetDlgItemTextA(dialog, OPT_TAB_ENTERED, "40");
    SetDlgItemTextA(dialog, OPT_INDENT_ENTERED, "x");
    click(dialog, DLG_ACTION);
    EXPECT_EQ(tabStep, 16);
    EXPECT_EQ(indentStep, 2);
    wine_pump();
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(itemText(dialog, OPT_TAB_SHOWN), "16");

    // Options changed elsewhere reach the open dialog through 2510.
    autoIndent = 0;
    tabStep = 4;
    refreshAll();
    wine_pump();
    EXPECT_EQ(IsDlgButtonChecked(dialog, OPT_AUTO_INDENT), 0u);
    EXPECT_EQ(itemText(dialog, OPT_TAB_SHOWN), "4");

    click(dialog, DLG_CANCEL);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(optionsDialogIsOpen());
    EXPECT_TRUE(wine_seen_boxes().empty());
}

TEST_F(CursorDialogs, PositionFollowsTheCursorAndSetsIt) {
    cursorToColumn(9);
    positionDialogOpen();
    wine_pump();
    HWND dialog = FindWindowA(nullptr, "Position");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemText(dialog, POS_LINE_ENTERED), "1");
    EXPECT_EQ(itemText(dialog, POS_COLUMN_ENTERED), "10");
    EXPECT_EQ(itemText(dialog, POS_LINE_SHOWN), "1");
    EXPECT_EQ(itemText(dialog, POS_COLUMN_SHOWN), "10");

    cursorSet(cursorCol, 3);
    cursorToColumn(20);
    refreshAll();
    wine_pump();
    EXPECT_EQ(itemText(dialog, POS_LINE_SHOWN), "4");
    EXPECT_EQ(itemText(dialog, POS_COLUMN_SHOWN), "21");

    // Column 300 lies beyond the line: only the line changes; the box closes.
    SetDlgItemTextA(dialog, POS_LINE_ENTERED, "5");
    SetDlgItemTextA(dialog, POS_COLUMN_ENTERED, "300");
    click(dialog, DLG_ACTION);
    wine_pump();
    EXPECT_EQ(topLine + cursorRow, 4);
    EXPECT_EQ(firstCol + cursorCol, 20);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(positionDialogIsOpen());
    EXPECT_EQ(statusPart(POSITION_FIELD), " 5  21");

    positionDialogOpen();
    wine_pump();
    dialog = FindWindowA(nullptr, "Position");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemText(dialog, POS_LINE_SHOWN), "5");
    click(dialog, DLG_CANCEL);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(topLine + cursorRow, 4);
}

}  // namespace
