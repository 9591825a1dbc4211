// The catalogue, the fill-in box, the phrase list and "Block umformulieren"
// under Wine, each driven once through its controls with the sample installation.
#include "tools/baukasten_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "shell/mainwin_win32.h"
#include "support/profile.h"
#include "textops/reform.h"
#include "tools/phrases.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

void press(HWND dialog, int id) {
    click(dialog, id);
    wine_pump();
}

void command(int id) {
    appProc(WM_COMMAND, static_cast<WPARAM>(id), 0);
    wine_pump();
}

// F6, then the catalogue's entry chosen with a double click.
void choose(int entry) {
    command(CMD_BAUKASTEN);
    HWND panel = FindWindowExA(App.mainWindow, nullptr, "#32770", nullptr);
    ASSERT_EQ(SendDlgItemMessageA(panel, BAU_LIST, LB_GETCOUNT, 0, 0), 8);
    SendDlgItemMessageA(panel, BAU_LIST, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    SendMessageA(panel, WM_COMMAND, MAKEWPARAM(BAU_LIST, LBN_DBLCLK), reinterpret_cast<LPARAM>(GetDlgItem(panel, BAU_LIST)));
    wine_pump();
    EXPECT_FALSE(IsWindow(panel));
}

TEST(BaukastenWin32, TheDialogsMoveTheirValuesToTheDocument) {
    ASSERT_TRUE(emptyStoreStart(20, 80));
    char ini[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, ini);
    const std::string settings = std::string(ini) + "Y8Baukasten" + std::to_string(GetCurrentProcessId()) + ".ini";
    ini_set_file(settings.c_str());
    ini_write("Installation", "BauKasten", Y8_SAMPLES_DIR "INHALT.TXT");
    cursorRow = 10;
    choose(0);  // c_kopf.txt: the fill-in box titled with its path
    HWND box = FindWindowA(nullptr, Y8_SAMPLES_DIR "c_kopf.txt");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(itemText(box, BAU_PROMPT_FIRST + 10), "Dateiname");
    SetDlgItemTextA(box, BAU_VALUE_FIRST + 10, "a.c");
    SetDlgItemTextA(box, BAU_VALUE_FIRST + 20, " Test ");
    press(box, IDOK);
    const char* body[] = {"/*", " * a.c", " *", " * Test", " *", " * Stand:", " */"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(rowText(3 + i), body[i]) << i;

    choose(6);  // c_floskeln.txt, "Floskel:"
    HWND list = FindWindowA(nullptr, "Floskel");
    SendDlgItemMessageA(list, BAU_LIST, LB_SETCURSEL, 4, 0);
    wine_clear_main_commands();
    press(list, DLG_ACTION);
    EXPECT_FALSE(IsWindow(list));
    char text[PHRASE_TYPED_MAX + 1];
    ASSERT_EQ(wine_main_commands().size(), 1u);
    ASSERT_TRUE(phrasePostedTake(wine_main_commands()[0].lParam, text));
    EXPECT_STREQ(text, "return 0;");
    command(CMD_FLOSKELN);  // Shift+F6 after the list closed: the same list again
    EXPECT_NE(FindWindowA(nullptr, "Floskel"), nullptr);

    for (int r = 0; r < 2; ++r) {  // row 0 marked, row 1 not
        LineRecord line{r == 0 ? '2' : '0', 0, 0, "a/*b*/"};
        rowPut(r, &line);
    }
    command(CMD_BLOCK_REFORM);
    HWND rules = FindWindowA(nullptr, "Block umformulieren");
    press(rules, 2501);
    EXPECT_EQ(itemText(rules, 3000), reformTemplate);
    SetDlgItemTextA(rules, 3000, "s|/*|//|\r\ns|*/||");
    press(rules, DLG_ACTION);
    EXPECT_FALSE(IsWindow(rules));
    EXPECT_EQ(rowText(0), "a//b");
    EXPECT_EQ(rowText(1), "a/*b*/");
    command(CMD_BLOCK_REFORM);  // the rules used last
    EXPECT_EQ(itemText(FindWindowA(nullptr, "Block umformulieren"), 3000), "s|/*|//|\r\ns|*/||");
    dlg_close_all();
    wine_pump();
    phrasesForget();
    ini_set_file("");
    DeleteFileA(settings.c_str());
}

}  // namespace
