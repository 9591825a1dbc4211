// The info tools' command lines started for real: a batch file logs the
// arguments it was given; no hostile word or file name may reach the command
// interpreter as anything but that argument, and the canary never appears.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "document/docstate.h"
#include "resources/resource.h"
#include "support/profile.h"
#include "tools/facette_win32.h"
#include "tools/infotools.h"
#include "tools/phrases.h"
#include "view/marking.h"
#include "wine_environment.h"

namespace {

class InfoToolsWin32 : public Win32Test {};

// The file's line once it is written (at most 10 s), "" when it never is.
std::string awaited(const std::string& path) {
    std::string text;
    for (int i = 0; i < 200 && (text = fileText(path)).find('\n') == std::string::npos; ++i) Sleep(50);
    DeleteFileA(path.c_str());
    return text;
}

std::string replaced(std::string text, const std::string& canary) {
    const size_t at = text.find('C');
    return at == std::string::npos ? text : text.replace(at, 1, canary);
}

TEST_F(InfoToolsWin32, NoWordOrNameBreaksOutOfItsCommandLine) {
    char home[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, home);
    const std::string dir = tempDir() + "y8 inj\\", work = dir + "a\\b";
    const std::string canary = tempDir() + "y8canary.txt", log = dir + "args.log";  // a breakout makes it
    for (const std::string& d : {dir, dir + "a", work}) CreateDirectoryA(d.c_str(), nullptr);
    for (const char* name : {"probe.bat", "lint.bat"}) writeFile(dir + name, "@echo %*>\"%~dp0args.log\"\r\n");
    ini_write("Installation", "LibInfoA", ("\"" + dir + "probe.bat\" -K=%s -I").c_str());
    infoTemplatesForget();
    SetCurrentDirectoryA(work.c_str());  // lint.bat two directories up
    // "C" stands for the canary; lint is given dir + text and logs it quoted; logged nullptr: refused.
    struct Row { int command; const char* text; const char* logged; };
    const Row rows[] = {
        {CMD_LIB_INFO_A, "strcpy", "-K=strcpy -I"},
        {CMD_LIB_INFO_A, "a & echo 1 > C", "-K=\"a & echo 1 > C\" -I"},
        {CMD_LIB_INFO_A, "a|echo 1>C", "-K=\"a|echo 1>C\" -I"},
        {CMD_LIB_INFO_A, "^& echo 1 >> C ^", "-K=\"^& echo 1 >> C ^\" -I"},
        {CMD_LIB_INFO_A, "(a) && echo 1 > C", "-K=\"(a) && echo 1 > C\" -I"},
        {CMD_LIB_INFO_A, "x\" & echo 1 > C & \"", nullptr},
        {CMD_LIB_INFO_A, "%comspec% /c echo 1 > C", nullptr},
        {CMD_LINT, "a & b^c (1).c", ""},
        {CMD_LINT, "x&echo 1>C&rem .c", ""},
        {CMD_LINT, "100%.c", nullptr},
    };
    for (const Row& r : rows) {
        const std::string text = replaced(r.text, canary);
        SCOPED_TRACE(text);
        setRow(0, text.c_str());
        markSetInLine(0, static_cast<int>(text.size()));
        std::strcpy(fileName, (dir + text).c_str());
        command(r.command);
        EXPECT_EQ(wine_seen_boxes().size(), r.logged ? 0u : 1u);
        wine_clear_boxes();
        const std::string logged = !r.logged ? "" : *r.logged ? replaced(r.logged, canary) : "\"" + dir + text + "\"";
        EXPECT_EQ(r.logged ? awaited(log) : "", r.logged ? logged + "\r\n" : "");
    }
    SetCurrentDirectoryA(home);
    Sleep(500);
    EXPECT_EQ(GetFileAttributesA(canary.c_str()), INVALID_FILE_ATTRIBUTES);
    fileName[0] = '\0';
    for (const std::string& path : {canary, dir + "probe.bat", dir + "lint.bat"}) DeleteFileA(path.c_str());
    for (const std::string& d : {work, dir + "a", dir}) RemoveDirectoryA(d.c_str());
}

TEST_F(InfoToolsWin32, FacetteAndInfoBaukastenMoveTheirValues) {
    command(CMD_CONF_TOOLS);
    HWND box = FindWindowA(nullptr, "Info/Baukasten");
    SetDlgItemTextA(box, 3060, "mein.bat");
    press(box, INFO_STANDARD);
    EXPECT_EQ(itemText(box, 3070) + itemText(box, 3060), "D:\\Archivmein.bat");  // "LintBAT" stays
    press(box, DLG_CANCEL);
    EXPECT_EQ(settingsValue("Installation", "Archiv"), "<none>");  // nothing stored
    command(CMD_CONF_TOOLS);
    SetDlgItemTextA(box = FindWindowA(nullptr, "Info/Baukasten"), 3000, "  V.EXE -K=%s ");
    press(box, DLG_ACTION);
    EXPECT_EQ(settingsValue("Installation", "LibInfoA"), "V.EXE -K=%s");

    char home[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, home);
    SetCurrentDirectoryA(tempDir().c_str());
    writeFile(tempDir() + "facette.txt", "Kunde\r\nLager\r\n");
    wine_clear_main_commands();
    modified = 0;  // "Bearbeiten" asks nothing about an unchanged document
    for (int round = 0; round < 2; ++round) {  // the second opening shows the first one's choice
        command(CMD_FACETTE);
        box = FindWindowA(nullptr, "Facette");
        EXPECT_EQ(SendDlgItemMessageA(box, FACET_LIST, LB_GETCURSEL, 0, 0) * 10 +
                      SendDlgItemMessageA(box, FACET_VERB_LIST, LB_GETCURSEL, 0, 0), round ? 18 : -11);
        SendDlgItemMessageA(box, FACET_LIST, LB_SETCURSEL, 1, 0);
        SendDlgItemMessageA(box, FACET_VERB_LIST, LB_SETCURSEL, 8, 0);
        press(box, round ? FACET_EDIT : DLG_ACTION);
    }
    SetCurrentDirectoryA(home);
    DeleteFileA((tempDir() + "facette.txt").c_str());
    EXPECT_EQ(rowText(0), "Kunde");  // "Bearbeiten": the facet file in place of the document
    char text[PHRASE_TYPED_MAX + 1];
    ASSERT_EQ(wine_main_commands().size(), 1u);
    ASSERT_TRUE(phrasePostedTake(wine_main_commands()[0].lParam, text));
    EXPECT_STREQ(text, "FCT Lager convert");
}

}  // namespace
