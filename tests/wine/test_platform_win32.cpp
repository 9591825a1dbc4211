// The platform's services with the real system under Wine.
#include "support/app_win32.h"
#include "support/devices.h"
#include "support/files.h"
#include "support/platform.h"
#include "support/profile.h"
#include "support/status_win32.h"
#include "wine_environment.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

using Platform = Win32Test;

// A 200-character value reads back as 79 and nothing past the buffer is written; a null key or value deletes
// nothing.
TEST_F(Platform, ProfileValuesKeepToTheirBuffer) {
    ini_write("Alpha", "long", std::string(200, 'L').c_str());
    plat_ini_put("Alpha", nullptr, "x");
    plat_ini_put("Alpha", "Indent", nullptr);
    char value[INI_BUF_SIZE + 50];
    std::memset(value, '#', sizeof value);
    EXPECT_EQ(ini_read("Alpha", "long", value), 79);
    EXPECT_EQ(std::string(value, 81), std::string(79, 'L') + '\0' + '#');
    EXPECT_EQ(settingsValues("Alpha", {"Indent"}), ",");
}

// The clipboard's text keeps to the caller's buffer.
TEST_F(Platform, TheClipboardsTextKeepsToItsBuffer) {
    char buf[300];
    std::memset(buf, '#', sizeof buf);
    EXPECT_TRUE(clip_put(std::string(1000, 'c').c_str()));
    clip_get(buf, 250);
    EXPECT_EQ(std::string(buf, 252), std::string(250, 'c') + '\0' + '#');
}

// A part outside the byte SB_SETTEXT takes is never set (256 would name part 0).
TEST_F(Platform, TheStatusBarSetsOnlyItsOwnParts) {
    statusBar();
    for (const auto& [part, text] : {std::make_pair(0, "E"), {256, "x"}, {-1, "x"}, {2, "Z 12"}})
        status_set(part, text);
    EXPECT_EQ(std::make_pair(statusPart(0), statusPart(2)), std::make_pair(std::string("E"), std::string("Z 12")));
}

// A program line starts with its words; what cannot be started is a result, never a box of the system's
// own. Generated words full of what a command interpreter reads (& | ^ ( ) < > ! ; ' blanks, bytes above 127),
// each trying to write a canary: every one reaches the batch file as one argument, in one line of its log,
// or, holding a double quote, a '%' or a control character, starts nothing. Y8_HOSTILE_WORDS sets how many
// (make test: 40; the campaign: 10,000).
TEST_F(Platform, ProgramsAndHostileWordsStartAsOneArgumentOrReportWhyNot) {
    const ScratchDir dir("y8hostile");
    const std::string log = dir / "log.txt";
    writeFile(dir / "mark.bat", "@echo %1>> \"%~dp0log.txt\"\r\n");
    writeFile(dir / "lint.bat", "@echo %1>> log.txt\r\n");  // in the folder it is started in
    std::string line = dir.path + "/mark.bat hello";
    std::replace(line.begin(), line.end(), '\\', '/');
    EXPECT_GT(run_program(line.c_str()), 31);
    EXPECT_LE(shell_run("C:/no/such/dir/lint.bat", "a.txt", "C:/"), 32);
    EXPECT_LE(open_document("C:/no/such/dir/plan.sg"), 32);
    EXPECT_LT(run_program("C:/no/such/dir/viewer.exe -K=x"), 32);
    const auto logLines = [&log](long count) {  // the log once it has that many lines, at most about 5 s
        std::string text = fileText(log);
        for (int wait = 0; wait < 250 && std::count(text.begin(), text.end(), '\n') < count; ++wait, Sleep(20))
            text = fileText(log);
        return text;
    };
    EXPECT_EQ(logLines(1), "hello\r\n");
    unsigned seed = 1;
    long started = 1;
    for (int i = 0, count = hostileCount("Y8_HOSTILE_WORDS", 40); i < count; ++i) {
        const std::string word = hostileWord(&seed);
        SCOPED_TRACE(word);
        const bool unsafe = word.find_first_of("\"%\t\x7F") != std::string::npos;  // the pieces' only controls
        const int result = shell_run((dir.path + "/lint.bat").c_str(), word.c_str(), (dir.path + "/").c_str());
        if (unsafe) {
            EXPECT_EQ(result, START_REFUSED);
            continue;
        }
        ASSERT_GT(result, 32);
        const std::string text = logLines(++started);
        const std::string last = text.substr(text.rfind('\n', text.size() - 2) + 1);
        const bool ascii = std::all_of(word.begin(), word.end(), [](char c) { return (c & 0x80) == 0; });
        // Bytes above 127 come back in the console's code page: their count must hold.
        EXPECT_EQ(ascii ? last : std::to_string(last.size()),
                  ascii ? "\"" + word + "\"\r\n" : std::to_string(word.size() + 4));
    }
    const std::string all = fileText(log);
    EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), started);
    EXPECT_FALSE(file_exists((dir / "canary.txt").c_str()));
    EXPECT_FALSE(file_exists((tempDir() + "canary.txt").c_str()));
}

// The help control is loaded once, from the registered path or else by full path from the system directory
// (never a copy in the current folder); a missing help file or control shows no box and leaves no window.
TEST_F(Platform, HelpFailsSilentlyAndLoadsTheControlOnce) {
    const ScratchDir dir("y8help");
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    ASSERT_TRUE(CopyFileA((std::string(system) + "\\hhctrl.ocx").c_str(), (dir / "y8-planted.ocx").c_str(), FALSE));
    SetCurrentDirectoryA(dir.path.c_str());
    const char* noKey = "CLSID\\{00000000-0000-0000-0000-0000000000Y8}\\InprocServer32";
    struct Row { const char* key; const char* library; bool loaded; };
    const Row rows[] = {{nullptr, nullptr, true}, {noKey, nullptr, true}, {noKey, "y8-planted.ocx", false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.key ? "no key " : "") + (row.library ? "planted" : ""));
        help_test_reset(row.key, row.library);
        show_help("C:\\no\\such\\help.chm", "DB1100");
        EXPECT_EQ(html_help(App.mainWindow, "C:\\no\\such\\help.chm", 0, 0), nullptr);
        EXPECT_EQ(std::make_pair(help_test_loaded(), help_test_load_runs()), std::make_pair(row.loaded, 1));
        wine_pump();
    }
    help_test_reset(nullptr, nullptr);
}

// Identity by volume and file index and the one-step replace, through the system's calls.
TEST_F(Platform, TheFileLayersCallsGoThroughTheSystem) {
    const ScratchDir dir("y8_files_win32_");
    const std::string file = dir / "w.txt", link = dir / "link.txt", other = dir / "w2.txt", missing = dir / "missing";
    writeFile(file, "w");
    writeFile(other, "new");
    files_win32_install();
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), file.c_str(), nullptr));
    struct Row { std::string a, b; bool same; };
    const Row rows[] = {
        {file, link, true},  // another name of the same file: only its index tells
        {dir.path, dir / ".", true}, {file, other, false}, {file, missing, false},
    };
    for (const Row& r : rows) EXPECT_EQ(file_same(r.a.c_str(), r.b.c_str()), r.same) << r.a << " " << r.b;
    EXPECT_EQ(file_replace(other.c_str(), dir.path.c_str()), -1);
    ASSERT_EQ(file_replace(other.c_str(), link.c_str()), 0);
    EXPECT_EQ(std::make_tuple(file_same(file.c_str(), link.c_str()), fileText(link), file_exists(other.c_str())),
              std::make_tuple(false, std::string("new"), false));
    files_set_hooks(nullptr);
}

}  // namespace
