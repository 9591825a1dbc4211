// The info tools' command lines started for real: a batch file logs the
// arguments it was given; no hostile word or file name may reach the command
// interpreter as anything but that argument, and the canary never appears.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "document/docstate.h"
#include "resources/resource.h"
#include "support/profile.h"
#include "tools/infotools.h"
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

}  // namespace
