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
    const std::string dir = tempDir() + "y8 inj\\";
    const std::string canary = tempDir() + "y8canary.txt", log = dir + "args.log";  // a breakout makes it
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA((dir + "a").c_str(), nullptr);
    CreateDirectoryA((dir + "a\\b").c_str(), nullptr);
    for (const char* name : {"probe.bat", "lint.bat"}) writeFile(dir + name, "@echo %*>\"%~dp0args.log\"\r\n");
    ini_write("Installation", "LibInfoA", ("\"" + dir + "probe.bat\" -K=%s -I").c_str());
    infoTemplatesForget();
    struct Row { const char* word; const char* args; };  // "C" is the canary; args nullptr: refused
    const Row rows[] = {
        {"strcpy", "-K=strcpy -I"},
        {"a & echo 1 > C", "-K=\"a & echo 1 > C\" -I"},
        {"a|echo 1>C", "-K=\"a|echo 1>C\" -I"},
        {"^& echo 1 >> C ^", "-K=\"^& echo 1 >> C ^\" -I"},
        {"(a) && echo 1 > C", "-K=\"(a) && echo 1 > C\" -I"},
        {"x\" & echo 1 > C & \"", nullptr},
        {"%comspec% /c echo 1 > C", nullptr},
    };
    for (const Row& r : rows) {
        const std::string word = replaced(r.word, canary);
        SCOPED_TRACE(word);
        setRow(0, word.c_str());
        markSetInLine(0, static_cast<int>(word.size()));
        command(CMD_LIB_INFO_A);
        EXPECT_EQ(wine_seen_boxes().size(), r.args ? 0u : 1u);
        wine_clear_boxes();
        if (r.args) {
            EXPECT_EQ(awaited(log), replaced(r.args, canary) + "\r\n");
        }
    }
    SetCurrentDirectoryA((dir + "a\\b").c_str());
    for (const std::string name : {"a & b^c (1).c", "x&echo 1>C&rem .c", "100%.c"}) {
        std::strcpy(fileName, (dir + replaced(name, canary)).c_str());
        SCOPED_TRACE(fileName);
        command(CMD_LINT);
        const bool refused = name == "100%.c";
        EXPECT_EQ(wine_seen_boxes().size(), refused ? 1u : 0u);
        wine_clear_boxes();
        if (!refused) {
            EXPECT_EQ(awaited(log), "\"" + std::string(fileName) + "\"\r\n");
        }
    }
    SetCurrentDirectoryA(home);
    Sleep(500);
    EXPECT_EQ(GetFileAttributesA(canary.c_str()), INVALID_FILE_ATTRIBUTES);
    fileName[0] = '\0';
    for (const std::string& path : {canary, dir + "probe.bat", dir + "lint.bat"}) DeleteFileA(path.c_str());
    RemoveDirectoryA((dir + "a\\b").c_str());
    RemoveDirectoryA((dir + "a").c_str());
    RemoveDirectoryA(dir.c_str());
}

}  // namespace
