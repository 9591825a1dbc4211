// The catalogue, the fill-in box, the phrase list and "Block umformulieren"
// under Wine, each driven once through its controls with the sample
// installation.
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

class BaukastenWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        char dir[MAX_PATH] = "";
        GetTempPathA(MAX_PATH, dir);
        settings_ = std::string(dir) + "Y8BaukastenTest" + std::to_string(GetCurrentProcessId()) + ".ini";
        ini_set_file(settings_.c_str());
        ini_write("Installation", "BauKasten", Y8_SAMPLES_DIR "INHALT.TXT");
        phrasesForget();
        wine_clear_main_commands();
    }
    void TearDown() override {
        dlg_close_all();
        wine_pump();
        phrasesForget();
        ini_set_file("");
        DeleteFileA(settings_.c_str());
    }
    static void command(int id) {
        appProc(WM_COMMAND, static_cast<WPARAM>(id), 0);
        wine_pump();
    }
    // F6, the catalogue's entry chosen (Enter).
    static void choose(int entry) {
        command(CMD_BAUKASTEN);
        HWND panel = FindWindowExA(App.mainWindow, nullptr, "#32770", nullptr);
        ASSERT_NE(panel, nullptr);
        ASSERT_EQ(SendDlgItemMessageA(panel, BAU_LIST, LB_GETCOUNT, 0, 0), 8);
        SendDlgItemMessageA(panel, BAU_LIST, LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
        click(panel, IDOK);
        EXPECT_FALSE(IsWindow(panel));
    }
    std::string settings_;
};

TEST_F(BaukastenWin32, ABlockIsFilledInAndAPhraseListPostsItsChoice) {
    cursorRow = 10;
    choose(0);
    HWND box = FindWindowA(nullptr, Y8_SAMPLES_DIR "c_kopf.txt");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(itemText(box, BAU_PROMPT_FIRST + 10), "Dateiname");
    EXPECT_EQ(itemText(box, BAU_PROMPT_FIRST + 40), "");
    SetDlgItemTextA(box, BAU_VALUE_FIRST + 10, "a.c");
    SetDlgItemTextA(box, BAU_VALUE_FIRST + 20, " Test ");
    click(box, IDOK);
    EXPECT_FALSE(IsWindow(box));
    const char* body[] = {"/*", " * a.c", " *", " * Test", " *", " * Stand:", " */"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(rowText(3 + i), body[i]) << i;

    choose(6);  // c_floskeln.txt, "Floskel:"
    HWND list = FindWindowA(nullptr, "Floskel");
    ASSERT_NE(list, nullptr);
    char x[PHRASE_MAX + 1];
    phrase_get('X', x);
    EXPECT_STREQ(x, "printf(\"?\\n\");");
    SendDlgItemMessageA(list, BAU_LIST, LB_SETCURSEL, 4, 0);
    click(list, DLG_ACTION);
    EXPECT_FALSE(IsWindow(list));
    ASSERT_FALSE(wine_main_commands().empty());
    const WineCommand posted = wine_main_commands().back();
    ASSERT_EQ(posted.id, CMD_TYPE_PHRASE);
    char text[PHRASE_TYPED_MAX + 1];
    ASSERT_TRUE(phrasePostedTake(posted.lParam, text));
    EXPECT_STREQ(text, "return 0;");
    command(CMD_FLOSKELN);  // Shift+F6 after the list closed: the same list again
    EXPECT_NE(FindWindowA(nullptr, "Floskel"), nullptr);
}

TEST_F(BaukastenWin32, ReformulationRunsTheRulesTypedAndKeepsThemForTheNextOpening) {
    reformRules[0] = '\0';
    for (int r = 0; r < 3; ++r) {
        setRow(r, "a/*b*/");
        LineRecord line;
        rowGetRaw(r, &line);
        line.markState = r < 2 ? '2' : '0';
        rowPut(r, &line);
    }
    command(CMD_BLOCK_REFORM);
    HWND box = FindWindowA(nullptr, "Block umformulieren");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(itemText(box, 3000), "");
    click(box, 2501);
    EXPECT_EQ(itemText(box, 3000), reformTemplate);
    SetDlgItemTextA(box, 3000, "s|/*|//|\r\ns|*/||");
    click(box, DLG_ACTION);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(rowText(0), "a//b");
    EXPECT_EQ(rowText(2), "a/*b*/");
    command(CMD_BLOCK_REFORM);
    box = FindWindowA(nullptr, "Block umformulieren");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(itemText(box, 3000), "s|/*|//|\r\ns|*/||");
}

}  // namespace
