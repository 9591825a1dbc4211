// The program's command table: every routed command reaches its operation, a
// number without a row only refreshes, numbers from 2000 on are traced, and
// the text of command 1402 is copied before it is typed.
#include "shell/appproc.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "document/docfile.h"
#include "document/docstate.h"
#include "document/filehist.h"
#include "editor_fixture.h"
#include "file_bytes.h"
#include "support/platform.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "resources/resource.h"
#include "shell/startup.h"
#include "support/profile.h"
#include "tools/phrases.h"

namespace fs = std::filesystem;

namespace {

class CommandTable : public ::testing::Test {
  protected:
    void SetUp() override {
        editorStart();
        historyCreate();
        startupReset();
        arg_reset();
        home_ = fs::current_path();
        dir_ = freshTempDir("y8_cmd_");
        fileName[0] = lastDir[0] = '\0';
        hasName = modified = partlyLoaded = 0;
        crlfMode = 1;
        std::memset(backList, 0, sizeof backList);
        startLineSet(-1);
        docShownReset();
        headless_reset();
    }
    void TearDown() override {
        fs::current_path(home_);
        historyDestroy();
        startupReset();
        arg_reset();
        editorStop();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const { writeBytes(dir_ / name, bytes); }
    std::string read(const std::string& name) const { return readBytes(dir_ / name); }
    static void command(int id, std::intptr_t lParam = 0) { appCommandRoute(nullptr, 0, id, lParam); }

    fs::path dir_;
    fs::path home_;
};

TEST_F(CommandTable, ANumberWithoutARowOnlyRefreshesAndFrom2000OnItIsTraced) {
    setRow(0, "text");
    command(1013);
    EXPECT_EQ(rowText(0), "text");
    EXPECT_EQ(modified, 0);
    EXPECT_GT(headless_record().caretRefreshes, 0);  // the full refresh ran
    EXPECT_STREQ(fileName, "C:\\Y8.txt");             // and so did the title
    EXPECT_TRUE(headless_boxes().empty());
    EXPECT_TRUE(headless_file_boxes().empty());
    EXPECT_TRUE(headless_posted_commands().empty());
    command(1999);
    command(2000);
    command(2510);
    EXPECT_EQ(headless_debug_lines(), (std::vector<std::string>{"cmd 2000\n", "cmd 2510\n"}));

    // The platform's rows come after the portable ones.
    static int platformCalls = 0;
    constexpr CommandEntry platform[] = {{1003, [](int, std::intptr_t) { ++platformCalls; }},
                                         {1300, [](int, std::intptr_t) { ++platformCalls; }}};
    appCommandRoute(platform, 2, 1300, 0);
    EXPECT_EQ(platformCalls, 1);
    std::strcpy(lastDir, "");
    appCommandRoute(platform, 2, 1003, 0);  // the portable save: its box, not the platform row
    EXPECT_EQ(platformCalls, 1);
    EXPECT_EQ(headless_file_boxes().size(), 1u);

    for (int i = 1; i < appCommandsCoreCount; ++i) EXPECT_LT(appCommandsCore[i - 1].id, appCommandsCore[i].id);
}

TEST_F(CommandTable, TheFileCommandsReachTheirOperations) {
    write("a.txt", "a\r\n");
    write("b.txt", "b1\r\nb2\r\n");
    // 1001: the back list reduced, the open box.
    backPush("old");
    backPush("newer");
    headless_file_answer(path("a.txt").c_str());
    command(CMD_FILE_OPEN);
    ASSERT_EQ(headless_file_boxes().size(), 1u);
    EXPECT_EQ(headless_file_boxes()[0].title, "Datei \366ffnen");
    EXPECT_FALSE(headless_file_boxes()[0].save);
    EXPECT_EQ(std::string(fileName), path("a.txt"));
    EXPECT_STREQ(backList[0], "old");
    EXPECT_STREQ(backList[1], "");

    // 1002: inserted before the cursor line.
    headless_file_answer(path("b.txt").c_str());
    command(CMD_FILE_INSERT);
    EXPECT_EQ(headless_file_boxes().back().title, "Datei einf\374gen");
    EXPECT_EQ(topLine, 2);  // the cursor stood in row 0: the new lines went above the window
    EXPECT_EQ(rowText(0), "a");
    EXPECT_EQ(modified, 1);

    // 1003 writes the file, 1004 asks for a name.
    command(CMD_FILE_SAVE);
    EXPECT_EQ(read("a.txt"), "b1\r\nb2\r\na\r\n");
    EXPECT_EQ(modified, 0);
    headless_file_answer(path("c.txt").c_str());
    command(CMD_FILE_SAVE_AS);
    EXPECT_EQ(headless_file_boxes().back().title, "Datei speichern");
    EXPECT_EQ(read("c.txt"), "b1\r\nb2\r\na\r\n");

    // 1005 goes back, 1000 starts anew with the back list reduced.
    backPush(path("b.txt").c_str());
    command(CMD_FILE_BACK);
    EXPECT_EQ(std::string(fileName), path("b.txt"));
    backPush("x");
    command(CMD_FILE_NEW);
    EXPECT_EQ(hasName, 0);
    EXPECT_STREQ(backList[0], "old");  // the oldest entry stays
    EXPECT_STREQ(backList[1], "");

    // 1010: "module" of the current directory.
    write("module", "m\r\n");
    fs::current_path(dir_);
    command(CMD_OPEN_MODULE);
    EXPECT_EQ(fs::path(fileName).filename().string(), "module");

    // 1050-1059: a recent file by its command.
    historyAdd(path("a.txt").c_str());
    historyAdd(path("c.txt").c_str());
    command(CMD_RECENT_FIRST + 1);
    EXPECT_EQ(std::string(fileName), path("a.txt"));
}

TEST_F(CommandTable, TheCommandLineFileOpensAtItsStartLine) {
    std::string bytes;
    for (int i = 0; i < 50; ++i) bytes += "line " + std::to_string(i) + "\n";
    write("cl.txt", bytes);
    write("second.txt", "s\n");
    headless_set_command_line(("y8.exe -l:21 " + path("cl.txt") + " " + path("second.txt")).c_str());
    commandLineProcess();
    command(CMD_OPEN_PENDING);
    EXPECT_EQ(std::string(fileName), path("cl.txt"));
    EXPECT_EQ(topLine + cursorRow, 20);
    command(CMD_OPEN_PENDING);
    EXPECT_EQ(std::string(fileName), path("second.txt"));
    EXPECT_EQ(topLine, 0);
    command(CMD_OPEN_PENDING);  // nothing left: nothing happens
    EXPECT_EQ(std::string(fileName), path("second.txt"));

    // A start line given with a file that does not exist, or cannot be opened,
    // never applies to the file opened after it.
    fs::create_directory(dir_ / "dir");
    for (const std::string first : {"missing.txt", "dir"}) {
        SCOPED_TRACE(first);
        write("next_" + first, bytes);  // never opened before: no remembered position
        startupReset();
        headless_set_command_line(("y8.exe -l:21 " + path(first) + " " + path("next_" + first)).c_str());
        commandLineProcess();
        command(CMD_OPEN_PENDING);
        command(CMD_OPEN_PENDING);
        EXPECT_EQ(std::string(fileName), path("next_" + first));
        EXPECT_EQ(topLine + cursorRow, 0);
    }
}

TEST_F(CommandTable, EditingRecordingAndPostedTextReachTheirOperations) {
    clip_put("vom Klemmbrett");
    command(CMD_PASTE);
    EXPECT_EQ(rowText(0), "vom Klemmbrett");

    command(CMD_RECORD_1);
    EXPECT_TRUE(isRecording(1));
    command(CMD_RECORD_1);
    EXPECT_FALSE(isRecording(1));
    command(CMD_RECORD_2);
    EXPECT_TRUE(isRecording(2));
    command(CMD_RECORD_2);
    command(CMD_RECORD_0);
    EXPECT_TRUE(isRecording(0));
    setRow(1, "");
    cursorRow = 1;
    cursorCol = 0;
    keyChar('z', false, false, false);
    command(CMD_RECORD_0);
    EXPECT_FALSE(isRecording(0));
    command(CMD_PLAY_0);
    EXPECT_EQ(rowText(1), "zz");

    // 1402: a posted text is typed from the token the program gave out, once;
    // any other number (an address, a guess, a token already used) types nothing.
    struct Row { const char* posted; std::intptr_t forged; const char* typed; int cursor; };
    const Row rows[] = {
        {"Hallo", 0, "Hallo", 5},
        {"f(?);", 0, "f();", 2},  // a "?" is not typed: the cursor ends where it stood
        {nullptr, reinterpret_cast<std::intptr_t>("Hallo"), "", 0},
        {nullptr, 0x7FFF1234, "", 0},
        {nullptr, -1, "", 0},
    };
    int r = 2;
    for (const Row& row : rows) {
        SCOPED_TRACE(r);
        cursorRow = r++;
        cursorCol = 0;
        headless_reset();
        std::intptr_t token = row.forged;
        if (row.posted != nullptr) {
            phrase_post(row.posted);
            ASSERT_EQ(headless_posted_commands().size(), 1u);
            EXPECT_EQ(headless_posted_commands()[0].id, CMD_TYPE_PHRASE);
            token = headless_posted_commands()[0].lParam;
        }
        command(CMD_TYPE_PHRASE, token);
        command(CMD_TYPE_PHRASE, token);  // taken once
        EXPECT_EQ(rowText(cursorRow), row.typed);
        EXPECT_EQ(cursorCol, row.cursor);
    }
    // More texts posted than slots: the oldest is taken over, the newest typed.
    cursorRow = 8;
    cursorCol = 0;
    headless_reset();
    for (int i = 0; i <= PHRASE_POST_SLOTS; ++i) phrase_post(std::to_string(i).c_str());
    for (const auto& posted : headless_posted_commands()) command(CMD_TYPE_PHRASE, posted.lParam);
    EXPECT_EQ(rowText(8), "1234");
}

TEST_F(CommandTable, TheConversionsReachTheirRules) {
    setRow(0, "a\tbb\tc");
    setRow(1, "ccc\td\te");
    setRow(2, "\xE4");
    command(CMD_TAB_EXPAND);  // the fields padded to their widths and two blanks
    EXPECT_EQ(rowText(0), "a    bb  c");
    EXPECT_EQ(rowText(1), "ccc  d   e");
    command(CMD_TAB_COMPRESS);
    EXPECT_EQ(rowText(0), "a\tbb\tc");

    command(CMD_CONVERT_ANSI_PC);  // the last of the rows 1130-1138 that maps letters
    EXPECT_EQ(rowText(2), "\x84");
    command(CMD_CONVERT_PC_ANSI);
    EXPECT_EQ(rowText(2), "\xE4");
    command(CMD_CONVERT_XOR);
    EXPECT_EQ(rowText(0), "f\x0E" "ee\x0E" "d");
    command(CMD_CONVERT_XOR);
    EXPECT_EQ(rowText(0), "a\tbb\tc");
    EXPECT_EQ(modified, 1);

    setRow(3, "");
    setRow(4, "     <p>");
    command(CMD_HTML_OPTIMISE);  // blank lines go, the deep indentation before "<" too
    EXPECT_EQ(rowText(3), "<p>");
}

}  // namespace
