// The boxes "Addierer" and "ANSI" under Wine: opened from their templates, the
// adder's fields after the refresh command 2510, typing into them, the check
// box, closing by 2520, Cancel and Ctrl+minus; the ANSI table's text and its
// font with "Benutzt".
#include "tools/adder_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/app_win32.h"
#include "support/status_win32.h"
#include "tools/adder.h"
#include "view/cursor.h"
#include "view/options.h"
#include "view/refresh.h"
#include "view/taste.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// What the user does when typing into an edit field: the field has the
// focus and its text changes (EN_CHANGE follows WM_SETTEXT).
void typeInto(HWND dialog, int id, const char* text) {
    HWND field = GetDlgItem(dialog, id);
    SetFocus(field);
    SetWindowTextA(field, text);
}

HFONT fontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)); }

class AdderDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        optionsSetDefaults();
        ASSERT_NE(status_create("40 80 200"), nullptr);
        statusFieldsReset();
        adderReset();
        wine_clear_boxes();
        wine_clear_main_commands();
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        status_destroy();
        wine_pump();
        adderReset();
        wine_clear_main_commands();
    }

    static HWND openAdder(int refocus) {
        adder_open(refocus);
        wine_pump();
        return FindWindowA(nullptr, "Addierer");
    }
};

TEST_F(AdderDialogs, TheAdderShowsTheSumsAndTakesTypedValues) {
    sumInt = -2;
    sumReal = -2.5;
    HWND dialog = openAdder(0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(adderIsOpen());
    EXPECT_EQ(GetActiveWindow(), dialog);  // from the menu the box keeps the focus
    EXPECT_EQ(itemText(dialog, ADDER_DECIMAL), "-2");
    EXPECT_EQ(itemText(dialog, ADDER_HEX), "FFFFFFFE");
    EXPECT_EQ(itemText(dialog, ADDER_REAL), "-2.50");
    EXPECT_EQ(itemText(dialog, ADDER_IN_TEXT_BOX), "0+-=$_ im Text");
    EXPECT_FALSE(checked(dialog, ADDER_IN_TEXT_BOX));

    // Hexadecimal ff shows 255 in the decimal field; the real sum stays.
    typeInto(dialog, ADDER_HEX, "ff");
    EXPECT_EQ(sumInt, 255);
    EXPECT_EQ(itemText(dialog, ADDER_DECIMAL), "255");
    EXPECT_EQ(sumReal, -2.5);
    typeInto(dialog, ADDER_DECIMAL, "-16");
    EXPECT_EQ(sumInt, -16);
    EXPECT_EQ(itemText(dialog, ADDER_HEX), "FFFFFFF0");
    typeInto(dialog, ADDER_DECIMAL, "Summe");
    EXPECT_EQ(sumInt, 0);
    EXPECT_EQ(itemText(dialog, ADDER_HEX), "0");
    typeInto(dialog, ADDER_REAL, "12.25");
    EXPECT_EQ(sumReal, 12.25);
    EXPECT_EQ(sumInt, 0);

    // Changes made elsewhere arrive with the refresh; what the box writes
    // itself is no typing, even in the field with the focus (the real sum
    // keeps all its digits, not the two shown).
    SetFocus(GetDlgItem(dialog, ADDER_REAL));
    sumInt = 100;
    sumReal = 1.004;
    refreshAll();
    wine_pump();
    EXPECT_EQ(itemText(dialog, ADDER_DECIMAL), "100");
    EXPECT_EQ(itemText(dialog, ADDER_HEX), "64");
    EXPECT_EQ(itemText(dialog, ADDER_REAL), "1.00");
    EXPECT_EQ(sumReal, 1.004);
    EXPECT_EQ(sumInt, 100);
    sumReal = -0.001;
    refreshAll();
    wine_pump();
    EXPECT_EQ(itemText(dialog, ADDER_REAL), "0.00");

    // The check box hands the keys of the text to the adder.
    click(dialog, ADDER_IN_TEXT_BOX);
    EXPECT_EQ(adderInText, 1);
    EXPECT_TRUE(adder_active());
    click(dialog, ADDER_IN_TEXT_BOX);
    EXPECT_EQ(adderInText, 0);

    PostMessageA(dialog, WM_COMMAND, ADDER_CLOSE_COMMAND, 0);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(adderIsOpen());
    EXPECT_TRUE(wine_seen_boxes().empty());
}

TEST_F(AdderDialogs, CancelCtrlMinusAndTheCheckBoxStateAcrossOpenings) {
    adderInText = 1;
    HWND dialog = openAdder(0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(checked(dialog, ADDER_IN_TEXT_BOX));
    EXPECT_TRUE(adder_active());

    // Ctrl+minus closes the adder that takes the keys.
    controlCommand(vk::kMinus);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(adder_active());
    EXPECT_TRUE(wine_main_commands().empty());

    // Closed, it asks the main window for the adder with refocus.
    controlCommand(vk::kMinus);
    wine_pump();
    ASSERT_EQ(wine_main_commands().size(), 1u);
    EXPECT_EQ(wine_main_commands()[0].id, CMD_ADDIERER);
    EXPECT_EQ(wine_main_commands()[0].lParam, 1);

    // Opened that way, the main window comes back to the front.
    dialog = openAdder(1);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetActiveWindow(), App.mainWindow);
    EXPECT_TRUE(checked(dialog, ADDER_IN_TEXT_BOX));  // the state lasts the program run

    PostMessageA(dialog, WM_COMMAND, DLG_CANCEL, 0);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(adderIsOpen());
}

TEST_F(AdderDialogs, TheAnsiTableFollowsItsCheckBoxes) {
    ansi_open();
    wine_pump();
    HWND dialog = FindWindowA(nullptr, "ANSI");
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(checked(dialog, ANSI_UPPER));
    EXPECT_TRUE(checked(dialog, ANSI_FONT_USED));
    EXPECT_FALSE(checked(dialog, ANSI_DECIMAL));
    EXPECT_EQ(itemText(dialog, ANSI_UPPER), "Codes >= 128");
    EXPECT_EQ(itemText(dialog, ANSI_DECIMAL), "Dezimal");
    EXPECT_EQ(itemText(dialog, ANSI_FONT_USED), "Benutzt");

    char expected[ANSI_TEXT_SIZE];
    ansiTableText(true, false, expected);
    EXPECT_EQ(itemText(dialog, ANSI_TABLE), expected);
    EXPECT_EQ(itemText(dialog, ANSI_TABLE).substr(0, 10), "80 \x80   90 ");
    HWND table = GetDlgItem(dialog, ANSI_TABLE);
    EXPECT_EQ(fontOf(table), App.font);

    click(dialog, ANSI_DECIMAL);
    wine_pump();
    ansiTableText(true, true, expected);
    EXPECT_EQ(itemText(dialog, ANSI_TABLE), expected);

    click(dialog, ANSI_UPPER);
    wine_pump();
    ansiTableText(false, true, expected);
    EXPECT_EQ(itemText(dialog, ANSI_TABLE), expected);
    EXPECT_EQ(itemText(dialog, ANSI_TABLE).substr(0, 7), " 32    ");

    // Without "Benutzt" the table takes the dialog's own font.
    click(dialog, ANSI_FONT_USED);
    wine_pump();
    EXPECT_EQ(fontOf(table), fontOf(dialog));
    EXPECT_NE(fontOf(table), App.font);
    EXPECT_EQ(itemText(dialog, ANSI_TABLE), expected);
    click(dialog, ANSI_FONT_USED);
    wine_pump();
    EXPECT_EQ(fontOf(table), App.font);

    // Opening again brings the same box forward.
    ansi_open();
    wine_pump();
    EXPECT_EQ(FindWindowA(nullptr, "ANSI"), dialog);

    PostMessageA(dialog, WM_COMMAND, DLG_CANCEL, 0);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(wine_seen_boxes().empty());
}

}  // namespace
