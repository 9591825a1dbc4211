// The catalogue, "Bauklotz", "Floskel" and "Block umformulieren" driven once each through their controls.
#include "tools/baukasten_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "shell/mainwin_win32.h"
#include "support/profile.h"
#include "textops/reform.h"
#include "tools/phrases.h"
#include "wine_environment.h"

namespace {

class BaukastenWin32 : public Win32Test {
  protected:
    // F6, then the catalogue's entry chosen with a double click.
    static void choose(int entry) {
        command(CMD_BAUKASTEN);
        HWND catalogue = panel();
        ASSERT_EQ(SendDlgItemMessageA(catalogue, BAU_LIST, LB_GETCOUNT, 0, 0), 8);
        SendDlgItemMessageA(catalogue, BAU_LIST, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        press(catalogue, BAU_LIST, LBN_DBLCLK);
        EXPECT_FALSE(IsWindow(catalogue));
    }
};

TEST_F(BaukastenWin32, TheDialogsMoveTheirValuesToTheDocument) {
    char cwd[MAX_PATH] = "";  // opening a file makes its folder the current one
    GetCurrentDirectoryA(MAX_PATH, cwd);
    ini_write("Installation", "BauKasten", Y8_SAMPLES_DIR "INHALT.TXT");
    cursorRow = 10;
    choose(0);  // c_kopf.txt: the fill-in box titled with its path
    HWND box = FindWindowA(nullptr, Y8_SAMPLES_DIR "c_kopf.txt");
    EXPECT_EQ(itemText(box, BAU_PROMPT_FIRST + 10), "Dateiname");
    SetDlgItemTextA(box, BAU_VALUE_FIRST + 10, "a.c");
    SetDlgItemTextA(box, BAU_VALUE_FIRST + 20, " Test ");
    press(box, IDOK);
    const char* body[] = {"/*", " * a.c", " *", " * Test", " *", " * Stand:", " */"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(rowText(3 + i), body[i]) << i;
    choose(5);  // zeilen.txt asks nothing: inserted at once
    EXPECT_EQ(rowText(8), "/* " + std::string(63, '-') + " */");

    choose(6);  // c_floskeln.txt, "Floskel:": the chosen phrase posted as command 1402
    HWND list = FindWindowA(nullptr, "Floskel");
    SendDlgItemMessageA(list, BAU_LIST, LB_SETCURSEL, 4, 0);
    wine_clear_main_commands();
    press(list, DLG_ACTION);
    char text[PHRASE_TYPED_MAX + 1];
    ASSERT_EQ(wine_main_commands().size(), 1u);
    ASSERT_TRUE(phrasePostedTake(wine_main_commands()[0].lParam, text));
    EXPECT_STREQ(text, "return 0;");
    command(CMD_FLOSKELN);  // Shift+F6 after the list closed: the same list again
    EXPECT_NE(FindWindowA(nullptr, "Floskel"), nullptr);

    setRow(0, "a/*b*/", '2');
    command(CMD_BLOCK_REFORM);
    HWND rules = FindWindowA(nullptr, "Block umformulieren");
    press(rules, 2501);
    EXPECT_EQ(itemText(rules, 3000), reformTemplate);
    SetDlgItemTextA(rules, 3000, "s|/*|//|\r\ns|*/||");
    press(rules, DLG_ACTION);
    EXPECT_EQ(rowText(0), "a//b");
    command(CMD_BLOCK_REFORM);  // the rules used last
    EXPECT_EQ(itemText(FindWindowA(nullptr, "Block umformulieren"), 3000), "s|/*|//|\r\ns|*/||");
    choose(7);  // kommentar.txt, "Umform:": its lines (100 characters kept, CR LF added) replace the rules
    EXPECT_EQ(itemText(FindWindowA(nullptr, "Block umformulieren"), 3000).substr(0, 70),
              "C-Kommentare, die in einer Zeile enden, werden zu C++-Kommentaren.\r\ns|");
    command(CMD_BAUKASTEN);  // "Bearbeiten": the entry's file in place of the document
    SendDlgItemMessageA(panel(), BAU_LIST, LB_SETCURSEL, 1, 0);
    modified = 0;
    press(panel(), BAU_EDIT);
    EXPECT_EQ(rowText(0), "C-Funktion mit Kommentar.");
    command(CMD_BAUKASTEN);  // "Verzeichnis": the catalogue itself
    press(panel(), BAU_CATALOGUE);
    EXPECT_EQ(rowText(0).substr(0, 10), "c_kopf.txt");
    EXPECT_EQ(panel(), nullptr);
    phrasesForget();
    SetCurrentDirectoryA(cwd);
}

}  // namespace
