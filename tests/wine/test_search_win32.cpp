// The dialogs "Suchen" and "Im Block tauschen" under Wine: their templates,
// the combo boxes filled from the histories and the check boxes from the
// flags, "Ta&uschen" switching the replacement on, "&Weiter" searching with
// the dialog staying, "&Tauschen", "&F11/F12" closing and searching, Cancel
// updating the histories, "&Start" replacing in the block; and the commands
// 1100 and 1507 opening them.
#include "view/search_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/app_win32.h"
#include "shell/mainwin_win32.h"
#include "textops/block.h"
#include "view/marking.h"
#include "view/search.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

std::vector<std::string> comboList(HWND dialog, int id) {
    std::vector<std::string> items;
    HWND combo = GetDlgItem(dialog, id);
    const int n = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char buf[256] = "";
        if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof buf))
            SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
        items.push_back(buf);
    }
    return items;
}

// What the user does when typing into a combo box's edit field: no item is
// selected, the field holds text.
void typeInto(HWND dialog, int id, const char* text) {
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextA(combo, text);
}

bool checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

bool hasFocus(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    HWND focus = GetFocus();
    return focus != nullptr && (focus == control || GetParent(focus) == control);
}

void setHistory(SearchHistory* h, std::initializer_list<const char*> texts) {
    *h = SearchHistory{};
    int i = 0;
    for (const char* t : texts) std::strcpy(h->items[i++], t);
}

class SearchDialogs : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        load({"a needle", "x", "needle two"});
        searchReset();
        modified = 0;
        wine_clear_boxes();
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        EXPECT_EQ(searchDialogWindow(), nullptr);
        searchReset();
        markReset();
    }

    static void load(std::initializer_list<const char*> lines) {
        storeReset();
        rowsClearAll();
        for (auto it = std::rbegin(lines); it != std::rend(lines); ++it) {
            LineRecord line;
            lineInit(&line);
            std::strcpy(line.text, *it);
            pushBelow(&line);
        }
        fillWindowFromBelow();
        topLine = cursorRow = cursorCol = firstCol = 0;
    }

    static HWND open(bool block) {
        if (block) blockReplaceDialogOpen(block_replace);
        else searchDialogOpen();
        wine_pump();
        return FindWindowA(nullptr, block ? "Im Block tauschen" : "Suchen");
    }
};

TEST_F(SearchDialogs, SuchenShowsTheHistoriesAndFlagsAndSwitchesReplacing) {
    setHistory(&searchHistory, {"eins", "zwei", "", "vier"});
    setHistory(&replaceHistory, {"", "drei"});
    wholeWord = 1;
    HWND dialog = open(false);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(searchDialogWindow(), dialog);

    // The template: a box of 140 x 62 dialog units with its controls.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)) & 0x90C80080u, 0x90C80080u);
    RECT want{0, 0, 140, 62};
    MapDialogRect(dialog, &want);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
    EXPECT_EQ(itemText(dialog, SEARCH_WORD_BOX), "W&ort");
    EXPECT_EQ(itemText(dialog, SEARCH_CASE_BOX), "&Gross/Klein");
    EXPECT_EQ(itemText(dialog, SEARCH_REPLACE_BOX), "Ta&uschen");
    EXPECT_EQ(itemText(dialog, DLG_ACTION), "&F11/F12");
    EXPECT_EQ(itemText(dialog, SEARCH_GO_ON), "&Weiter");
    EXPECT_EQ(itemText(dialog, SEARCH_REPLACE), "&Tauschen");
    EXPECT_EQ(itemText(dialog, DLG_CANCEL), "Abbrechen");
    const LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    EXPECT_EQ(HIWORD(def), DC_HASDEFID);
    EXPECT_EQ(LOWORD(def), DLG_ACTION);

    // The non-empty history entries in order, entry 0 in the edit field.
    EXPECT_EQ(comboList(dialog, SEARCH_TEXT_COMBO), (std::vector<std::string>{"eins", "zwei", "vier"}));
    EXPECT_EQ(itemText(dialog, SEARCH_TEXT_COMBO), "eins");
    EXPECT_EQ(comboList(dialog, SEARCH_REPLACE_COMBO), (std::vector<std::string>{"drei"}));
    EXPECT_EQ(itemText(dialog, SEARCH_REPLACE_COMBO), "");
    EXPECT_TRUE(checked(dialog, SEARCH_WORD_BOX));
    EXPECT_FALSE(checked(dialog, SEARCH_CASE_BOX));
    EXPECT_FALSE(checked(dialog, SEARCH_REPLACE_BOX));
    EXPECT_TRUE(enabled(dialog, SEARCH_REPLACE_BOX));
    EXPECT_FALSE(enabled(dialog, SEARCH_REPLACE_COMBO));
    EXPECT_FALSE(enabled(dialog, SEARCH_REPLACE));

    // "Ta&uschen" switches replacing at once and moves the focus.
    click(dialog, SEARCH_REPLACE_BOX);
    EXPECT_EQ(replaceEnabled, 1);
    EXPECT_TRUE(enabled(dialog, SEARCH_REPLACE_COMBO));
    EXPECT_TRUE(enabled(dialog, SEARCH_REPLACE));
    EXPECT_TRUE(hasFocus(dialog, SEARCH_REPLACE_COMBO));
    click(dialog, SEARCH_REPLACE_BOX);
    EXPECT_EQ(replaceEnabled, 0);
    EXPECT_FALSE(enabled(dialog, SEARCH_REPLACE_COMBO));
    EXPECT_FALSE(enabled(dialog, SEARCH_REPLACE));
    EXPECT_TRUE(hasFocus(dialog, SEARCH_TEXT_COMBO));

    // Opening again brings the open dialog forward: there is only one.
    EXPECT_EQ(open(true), nullptr);
    EXPECT_EQ(FindWindowA(nullptr, "Suchen"), dialog);
    EXPECT_TRUE(wine_seen_boxes().empty());
}

TEST_F(SearchDialogs, WeiterAndTauschenStayAndF11F12ClosesAndSearches) {
    HWND dialog = open(false);
    ASSERT_NE(dialog, nullptr);
    typeInto(dialog, SEARCH_TEXT_COMBO, "needle");
    click(dialog, SEARCH_GO_ON);
    EXPECT_STREQ(searchText, "needle");
    EXPECT_EQ(topLine + cursorRow, 0);
    EXPECT_EQ(firstCol + cursorCol, 2);
    EXPECT_EQ(comboList(dialog, SEARCH_TEXT_COMBO), (std::vector<std::string>{"needle"}));
    click(dialog, SEARCH_GO_ON);  // the text is now the selected item: the same search
    wine_pump();
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(rowText(cursorRow), "needle two");
    EXPECT_EQ(firstCol + cursorCol, 0);
    EXPECT_EQ(comboList(dialog, SEARCH_TEXT_COMBO), (std::vector<std::string>{"needle"}));

    click(dialog, SEARCH_REPLACE_BOX);
    typeInto(dialog, SEARCH_REPLACE_COMBO, "nadel");
    click(dialog, SEARCH_REPLACE);
    wine_pump();
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(rowText(cursorRow), "nadel two");
    EXPECT_EQ(firstCol + cursorCol, 5);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(comboList(dialog, SEARCH_REPLACE_COMBO), (std::vector<std::string>{"nadel"}));

    // "&F11/F12" with a text that was there before: it moves to the front.
    typeInto(dialog, SEARCH_TEXT_COMBO, "two");
    click(dialog, SEARCH_GO_ON);
    EXPECT_EQ(firstCol + cursorCol, 6);
    typeInto(dialog, SEARCH_TEXT_COMBO, "needle");
    click(dialog, DLG_ACTION);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(searchDialogWindow(), nullptr);
    // No "needle" after the cursor: it stands after the document's end.
    EXPECT_EQ(topLine, 3);
    EXPECT_EQ(rowText(cursorRow), "");
    EXPECT_STREQ(searchHistory.items[0], "needle");
    EXPECT_STREQ(searchHistory.items[1], "two");
    EXPECT_STREQ(searchHistory.items[2], "");
    EXPECT_STREQ(replaceHistory.items[0], "nadel");
    EXPECT_TRUE(wine_seen_boxes().empty());
}

TEST_F(SearchDialogs, CancelTakesTheTextsIntoTheHistories) {
    setHistory(&searchHistory, {"a", "b", "c"});
    setHistory(&replaceHistory, {"r"});
    replaceEnabled = 1;
    HWND dialog = open(false);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(checked(dialog, SEARCH_REPLACE_BOX));
    EXPECT_TRUE(enabled(dialog, SEARCH_REPLACE_COMBO));
    EXPECT_EQ(itemText(dialog, SEARCH_REPLACE_COMBO), "r");
    typeInto(dialog, SEARCH_TEXT_COMBO, "c");
    typeInto(dialog, SEARCH_REPLACE_COMBO, "   ");  // all blank: not added
    click(dialog, DLG_CANCEL);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_STREQ(searchText, "c");
    EXPECT_STREQ(replaceText, "   ");
    EXPECT_STREQ(searchHistory.items[0], "c");
    EXPECT_STREQ(searchHistory.items[1], "a");
    EXPECT_STREQ(searchHistory.items[2], "b");
    EXPECT_STREQ(searchHistory.items[3], "");
    EXPECT_STREQ(replaceHistory.items[0], "r");
    EXPECT_STREQ(replaceHistory.items[1], "");
    EXPECT_EQ(topLine + cursorRow, 0);  // nothing searched
    EXPECT_EQ(modified, 0);

    // Eleven new texts: the histories keep the first ten items.
    dialog = open(false);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(comboList(dialog, SEARCH_TEXT_COMBO), (std::vector<std::string>{"c", "a", "b"}));
    for (int i = 0; i < 11; ++i) {
        typeInto(dialog, SEARCH_TEXT_COMBO, ("t" + std::to_string(i)).c_str());
        click(dialog, SEARCH_GO_ON);
    }
    EXPECT_EQ(comboList(dialog, SEARCH_TEXT_COMBO).size(), 14u);
    click(dialog, DLG_CANCEL);
    wine_pump();
    EXPECT_STREQ(searchHistory.items[0], "t10");
    EXPECT_STREQ(searchHistory.items[9], "t1");
}

TEST_F(SearchDialogs, ImBlockTauschenReplacesInTheMarkedLines) {
    load({"aaa", "a", "aaa", "b a"});
    LineRecord row;
    for (int r : {0, 3}) {
        rowGetRaw(r, &row);
        row.markState = '2';
        rowPut(r, &row);
    }
    setHistory(&replaceHistory, {"aa"});
    HWND dialog = open(true);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(searchDialogWindow(), dialog);
    EXPECT_EQ(replaceEnabled, 1);
    EXPECT_TRUE(checked(dialog, SEARCH_REPLACE_BOX));
    EXPECT_FALSE(enabled(dialog, SEARCH_REPLACE_BOX));
    EXPECT_TRUE(enabled(dialog, SEARCH_REPLACE_COMBO));
    EXPECT_EQ(itemText(dialog, SEARCH_BLOCK_START), "&Start");
    EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), SEARCH_BLOCK_START);
    EXPECT_EQ(GetDlgItem(dialog, DLG_ACTION), nullptr);
    RECT want{0, 0, 140, 62};
    MapDialogRect(dialog, &want);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);

    typeInto(dialog, SEARCH_TEXT_COMBO, "a");
    click(dialog, SEARCH_BLOCK_START);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(rowText(0), "aaaaaa");
    EXPECT_EQ(rowText(1), "a");
    EXPECT_EQ(rowText(2), "aaa");
    EXPECT_EQ(rowText(3), "b aa");
    EXPECT_EQ(modified, 1);
    EXPECT_STREQ(searchHistory.items[0], "a");
    EXPECT_STREQ(replaceHistory.items[0], "aa");
    EXPECT_TRUE(wine_seen_boxes().empty());
}

TEST_F(SearchDialogs, TheCommandsOpenTheDialogsWithTheMarkedText) {
    const int savedState = runState;
    runState = 2;
    cursorRow = 2;
    markSetInLine(0, 6);
    mainWindowProc(App.mainWindow, WM_COMMAND, CMD_SEARCH, 0);
    wine_pump();
    HWND dialog = FindWindowA(nullptr, "Suchen");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemText(dialog, SEARCH_TEXT_COMBO), "needle");
    EXPECT_STREQ(searchText, "needle");
    EXPECT_EQ(markActiveGet(), 0);
    click(dialog, DLG_CANCEL);
    wine_pump();

    mainWindowProc(App.mainWindow, WM_COMMAND, CMD_BLOCK_REPLACE, 0);
    wine_pump();
    dialog = FindWindowA(nullptr, "Im Block tauschen");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(itemText(dialog, SEARCH_TEXT_COMBO), "needle");
    EXPECT_EQ(replaceEnabled, 1);
    runState = savedState;
}

}  // namespace
