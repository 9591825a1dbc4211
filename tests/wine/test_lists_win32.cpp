// The overview, structure and search list panels under Wine: each a child of
// the main window in its top left corner with its template's size, the list
// box filled from the builders, typing into the search list's box (keys taken
// or left to the box), the field 3010, choosing by double click and OK (the
// panel closes, the cursor moves), Cancel, and the commands 1200 and 1201
// with and without a marked text.
#include "textops/lists_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/app_win32.h"
#include "shell/mainwin_win32.h"
#include "textops/lists.h"
#include "view/marking.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

constexpr int kBox = 3000;
constexpr int kFrame = 3001;
constexpr int kField = 3010;

std::string entry(const char* text, int index) {
    char out[kListEntrySize];
    listEntry(out, text, index);
    return out;
}

std::vector<std::string> items(HWND panel) {
    HWND box = GetDlgItem(panel, kBox);
    std::vector<std::string> out;
    const int n = static_cast<int>(SendMessageA(box, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char buf[256] = "";
        if (SendMessageA(box, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof buf))
            SendMessageA(box, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf));
        out.push_back(buf);
    }
    return out;
}

std::string fieldText(HWND panel) {
    char buf[256] = "";
    GetDlgItemTextA(panel, kField, buf, sizeof buf);
    return buf;
}

int selected(HWND panel) { return static_cast<int>(SendDlgItemMessageA(panel, kBox, LB_GETCURSEL, 0, 0)); }

class ListPanels : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        std::vector<std::string> doc{"int a(void)", "{", "    x = needle;", "    y;", "}",
                                     "int b(void)", "{", "    needle();", "}"};
        for (int i = 0; i < 40; ++i) doc.push_back("text " + std::to_string(i));
        storeReset();
        rowsClearAll();
        for (auto it = doc.rbegin(); it != doc.rend(); ++it) {
            LineRecord line;
            lineInit(&line);
            std::strcpy(line.text, it->c_str());
            pushBelow(&line);
        }
        fillWindowFromBelow();
        topLine = cursorRow = cursorCol = firstCol = 0;
        fileName[0] = '\0';
        listText[0] = '\0';
        markReset();
        wine_clear_boxes();
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        EXPECT_EQ(listPanelWindow(), nullptr);
        markReset();
        listText[0] = '\0';
        EXPECT_TRUE(wine_seen_boxes().empty());
    }

    static HWND command(int id, LPARAM lParam = 0) {
        mainWindowProc(App.mainWindow, WM_COMMAND, static_cast<WPARAM>(id), lParam);
        wine_pump();
        return listPanelWindow();
    }
    static void key(HWND panel, int vk) {
        HWND box = GetDlgItem(panel, kBox);
        PostMessageA(box, WM_KEYDOWN, static_cast<WPARAM>(vk), 1);
        PostMessageA(box, WM_KEYUP, static_cast<WPARAM>(vk), 0xC0000001);
        wine_pump();
    }
    static void send(HWND panel, int id, int code = 0) {
        SendMessageA(panel, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(panel, id)));
        wine_pump();
    }
};

TEST_F(ListPanels, OverviewIsAChildPanelAtTheTopLeftAndADoubleClickChooses) {
    cursorRow = 2;
    HWND panel = command(CMD_OVERVIEW);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetParent(panel), App.mainWindow);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(panel, GWL_STYLE));
    EXPECT_EQ(style & 0x50000080u, 0x50000080u);
    EXPECT_EQ(style & WS_CAPTION, 0u);
    RECT at;
    GetWindowRect(panel, &at);
    MapWindowPoints(nullptr, App.mainWindow, reinterpret_cast<POINT*>(&at), 2);
    EXPECT_EQ(at.left, 0);
    EXPECT_EQ(at.top, 0);
    RECT want{0, 0, 294, 234};
    MapDialogRect(panel, &want);
    RECT client;
    GetClientRect(panel, &client);
    EXPECT_EQ(client.right, want.right);
    EXPECT_EQ(client.bottom, want.bottom);
    EXPECT_NE(GetDlgItem(panel, kFrame), nullptr);
    EXPECT_EQ(GetDlgItem(panel, kField), nullptr);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(panel, kBox), GWL_STYLE) & LBS_WANTKEYBOARDINPUT, 0);

    EXPECT_EQ(items(panel), (std::vector<std::string>{entry("int a(void)", 0), entry("int b(void)", 5)}));
    EXPECT_EQ(selected(panel), 0);

    SendDlgItemMessageA(panel, kBox, LB_SETCURSEL, 1, 0);
    send(panel, kBox, LBN_DBLCLK);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(listPanelWindow(), nullptr);
    EXPECT_EQ(topLine + cursorRow, 5);
    EXPECT_EQ(firstCol + cursorCol, 0);
}

TEST_F(ListPanels, StructureChoosesWithOkAndCancelLeavesTheCursor) {
    cursorRow = 3;
    cursorCol = 6;
    HWND overview = command(CMD_OVERVIEW);
    ASSERT_NE(overview, nullptr);
    HWND panel = command(CMD_STRUCTURE);  // one list at a time: the overview closes
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(IsWindow(overview));
    EXPECT_EQ(GetDlgItem(panel, kField), nullptr);
    EXPECT_EQ(items(panel), (std::vector<std::string>{entry("x = needle;", 2), entry("y;", 3)}));
    EXPECT_EQ(selected(panel), 0);

    send(panel, IDCANCEL);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(topLine + cursorRow, 3);
    EXPECT_EQ(cursorCol, 6);

    // The keys post 1200 with the kind set before: the search list without a
    // text shows the overview.
    cursorRow = 5;
    listRequest(kListSearch, "");
    panel = command(CMD_OVERVIEW, kListPostedByKey);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(fieldText(panel), "");
    EXPECT_EQ(items(panel).size(), 2u);
    EXPECT_EQ(selected(panel), 1);
    send(panel, IDCANCEL);
    cursorRow = 3;
    listRequest(kListStructure, "");
    panel = command(CMD_OVERVIEW, kListPostedByKey);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(items(panel).size(), 2u);
    SendDlgItemMessageA(panel, kBox, LB_SETCURSEL, 0, 0);
    send(panel, IDOK);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(topLine + cursorRow, 2);
    EXPECT_EQ(firstCol + cursorCol, 0);
}

TEST_F(ListPanels, SearchListTakesTheMarkedTextAndTypedKeys) {
    cursorRow = 2;
    markSetInLine(8, 14);
    HWND panel = command(CMD_STRUCTURE);  // with a mark: the search list
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_EQ(fieldText(panel), "needle");
    RECT want{0, 0, 294, 246};
    MapDialogRect(panel, &want);
    RECT client;
    GetClientRect(panel, &client);
    EXPECT_EQ(client.bottom, want.bottom);
    std::vector<std::string> list = items(panel);
    ASSERT_EQ(list.size(), 7u);  // headers, gaps and the two matches
    EXPECT_EQ(list[0], entry("int a(void)", 0));
    EXPECT_EQ(list[2], entry("    x = needle;", 2));
    EXPECT_EQ(list[4], entry("int b(void)", 5));
    EXPECT_EQ(list[6], entry("    needle();", 7));
    EXPECT_EQ(selected(panel), 2);

    BYTE saved[256];
    ASSERT_TRUE(GetKeyboardState(saved));
    BYTE keys[256] = {};
    SetKeyboardState(keys);
    key(panel, VK_BACK);  // the first Backspace clears: the overview
    EXPECT_EQ(fieldText(panel), "");
    EXPECT_EQ(items(panel).size(), 2u);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    key(panel, 'N');  // typed in lower case
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    key(panel, 'E');
    key(panel, 'E');
    EXPECT_EQ(fieldText(panel), "nee");
    EXPECT_EQ(listExact, 0);
    EXPECT_EQ(items(panel), list);
    EXPECT_EQ(selected(panel), 2);
    key(panel, VK_DOWN);  // not taken: the box moves its selection
    EXPECT_EQ(selected(panel), 3);
    EXPECT_EQ(std::string(listText), "nee");
    SetKeyboardState(saved);

    // Editing the field compares exactly.
    HWND field = GetDlgItem(panel, kField);
    SetFocus(field);
    SetWindowTextA(field, "  NEEDLE(  ");
    wine_pump();
    EXPECT_EQ(std::string(listText), "NEEDLE(");
    EXPECT_EQ(listExact, 1);
    EXPECT_EQ(items(panel), std::vector<std::string>{""});
    SendDlgItemMessageA(panel, kBox, LB_SETCURSEL, 0, 0);
    send(panel, DLG_ACTION);  // the empty entry names no line: the panel stays
    EXPECT_TRUE(IsWindow(panel));
    send(panel, IDCANCEL);
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(topLine + cursorRow, 2);
}

}  // namespace
