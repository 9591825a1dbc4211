// The catalogue, "Bauklotz", "Floskel" and "Block umformulieren" driven once each through their controls.
#include "tools/baukasten_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "document/docstate.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "shell/mainwin_win32.h"
#include "support/profile.h"
#include "textops/reform.h"
#include "tools/phrases.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

namespace {

// A command to a dialog, or to the program (the main window's own procedure only records).
void send(HWND window, int id, int code = 0) {
    if (window == App.mainWindow) appProc(WM_COMMAND, static_cast<WPARAM>(id), 0);
    else SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
    wine_pump();
}

// F6, then the catalogue's entry chosen with a double click.
void choose(int entry) {
    send(App.mainWindow, CMD_BAUKASTEN);
    HWND panel = FindWindowExA(App.mainWindow, nullptr, "#32770", nullptr);
    ASSERT_EQ(SendDlgItemMessageA(panel, BAU_LIST, LB_GETCOUNT, 0, 0), 8);
    SendDlgItemMessageA(panel, BAU_LIST, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    send(panel, BAU_LIST, LBN_DBLCLK);
    EXPECT_FALSE(IsWindow(panel));
}

TEST(BaukastenWin32, TheDialogsMoveTheirValuesToTheDocument) {
    ASSERT_TRUE(emptyStoreStart(20, 80));
    char cwd[MAX_PATH] = "";  // opening a file makes its folder the current one
    GetCurrentDirectoryA(MAX_PATH, cwd);
    const std::string settings = testing::TempDir() + "Y8Baukasten" + std::to_string(GetCurrentProcessId()) + ".ini";
    ini_set_file(settings.c_str());
    ini_write("Installation", "BauKasten", Y8_SAMPLES_DIR "INHALT.TXT");
    cursorRow = 10;
    choose(0);  // c_kopf.txt: the fill-in box titled with its path
    HWND box = FindWindowA(nullptr, Y8_SAMPLES_DIR "c_kopf.txt");
    EXPECT_EQ(itemText(box, BAU_PROMPT_FIRST + 10), "Dateiname");
    SetDlgItemTextA(box, BAU_VALUE_FIRST + 10, "a.c");
    SetDlgItemTextA(box, BAU_VALUE_FIRST + 20, " Test ");
    send(box, IDOK);
    const char* body[] = {"/*", " * a.c", " *", " * Test", " *", " * Stand:", " */"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(rowText(3 + i), body[i]) << i;
    choose(5);  // zeilen.txt asks nothing: inserted at once
    EXPECT_EQ(rowText(8), "/* " + std::string(63, '-') + " */");

    choose(6);  // c_floskeln.txt, "Floskel:": the chosen phrase posted as command 1402
    HWND list = FindWindowA(nullptr, "Floskel");
    SendDlgItemMessageA(list, BAU_LIST, LB_SETCURSEL, 4, 0);
    wine_clear_main_commands();
    send(list, DLG_ACTION);
    char text[PHRASE_TYPED_MAX + 1];
    ASSERT_EQ(wine_main_commands().size(), 1u);
    ASSERT_TRUE(phrasePostedTake(wine_main_commands()[0].lParam, text));
    EXPECT_STREQ(text, "return 0;");
    send(App.mainWindow, CMD_FLOSKELN);  // Shift+F6 after the list closed: the same list again
    EXPECT_NE(FindWindowA(nullptr, "Floskel"), nullptr);

    const LineRecord marked{'2', 0, 0, "a/*b*/"};
    rowPut(0, &marked);
    send(App.mainWindow, CMD_BLOCK_REFORM);
    HWND rules = FindWindowA(nullptr, "Block umformulieren");
    send(rules, 2501);
    EXPECT_EQ(itemText(rules, 3000), reformTemplate);
    SetDlgItemTextA(rules, 3000, "s|/*|//|\r\ns|*/||");
    send(rules, DLG_ACTION);
    EXPECT_EQ(rowText(0), "a//b");
    send(App.mainWindow, CMD_BLOCK_REFORM);  // the rules used last
    EXPECT_EQ(itemText(FindWindowA(nullptr, "Block umformulieren"), 3000), "s|/*|//|\r\ns|*/||");
    choose(7);  // kommentar.txt, "Umform:": its lines (100 characters kept, CR LF added) replace the rules
    EXPECT_EQ(itemText(FindWindowA(nullptr, "Block umformulieren"), 3000).substr(0, 70),
              "C-Kommentare, die in einer Zeile enden, werden zu C++-Kommentaren.\r\ns|");
    send(App.mainWindow, CMD_BAUKASTEN);  // "Bearbeiten": the entry's file in place of the document
    SendDlgItemMessageA(FindWindowExA(App.mainWindow, nullptr, "#32770", nullptr), BAU_LIST, LB_SETCURSEL, 1, 0);
    modified = 0;
    send(FindWindowExA(App.mainWindow, nullptr, "#32770", nullptr), BAU_EDIT);
    EXPECT_EQ(rowText(0), "C-Funktion mit Kommentar.");
    dlg_close_all();
    wine_pump();
    phrasesForget();
    ini_set_file("");
    DeleteFileA(settings.c_str());
    SetCurrentDirectoryA(cwd);
}

}  // namespace
