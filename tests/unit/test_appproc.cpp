// The command table: routed commands reach their operations; command 1402 types a text once from its token.
#include "shell/appproc.h"

#include "document/docfile.h"
#include "document/filehist.h"
#include "editor_fixture.h"
#include "host/headless_messages.h"
#include "resources/resource.h"
#include "shell/startup.h"

namespace fs = std::filesystem;

namespace {

class CommandTable : public SettingsFixture {
  protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        historyCreate();
        startupReset();
        fileName[0] = lastDir[0] = '\0';
        hasName = modified = partlyLoaded = 0;
        std::memset(backList, 0, sizeof backList);
        startLineSet(-1);
        headless_reset();
    }
    void TearDown() override {
        historyDestroy();
        startupReset();
        arg_reset();
        SettingsFixture::TearDown();
    }
    static void command(int id, std::intptr_t lParam = 0) { appCommandRoute(nullptr, 0, id, lParam); }
};

TEST_F(CommandTable, TheFileCommandsReachTheirOperations) {
    write("a.txt", "a\r\n");
    write("b.txt", "b1\r\n");
    write("module", "m\r\n");
    backPush("old");
    backPush("newer");
    struct Row { int id; std::string answer; std::string file; std::string bytes; };  // bytes of a.txt after
    const Row rows[] = {
        {CMD_FILE_OPEN, path("a.txt"), path("a.txt"), "a\r\n"},
        {CMD_FILE_INSERT, path("b.txt"), path("a.txt"), "a\r\n"},  // before the cursor line
        {CMD_FILE_SAVE, "", path("a.txt"), "b1\r\na\r\n"},
        {CMD_FILE_SAVE_AS, path("c.txt"), path("c.txt"), "b1\r\na\r\n"},
        {CMD_FILE_BACK, "", path("a.txt"), "b1\r\na\r\n"},
        {CMD_OPEN_MODULE, "", "module", "b1\r\na\r\n"},  // "module" of the current directory
    };
    fs::current_path(dir_);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.id);
        if (!r.answer.empty()) headless_file_answer(r.answer.c_str());
        if (r.id == CMD_FILE_BACK) backPush(path("a.txt").c_str());
        command(r.id);
        EXPECT_EQ(r.id == CMD_OPEN_MODULE ? fs::path(fileName).filename().string() : std::string(fileName), r.file);
        EXPECT_EQ(read("a.txt"), r.bytes);
    }
    historyAdd(path("a.txt").c_str());
    historyAdd(path("c.txt").c_str());
    command(CMD_RECENT_FIRST + 1);
    EXPECT_EQ(std::string(fileName), path("a.txt"));
    command(CMD_FILE_NEW);
    EXPECT_EQ(std::to_string(hasName) + backList[0] + "|" + backList[1], "0old|");  // the back list reduced
    EXPECT_EQ(read("c.txt"), "b1\r\na\r\n");
}

TEST_F(CommandTable, TheCommandLineFileOpensAtItsStartLine) {
    std::string bytes;
    for (int i = 0; i < 50; ++i) bytes += "line " + std::to_string(i) + "\n";
    fs::create_directory(dir_ / "dir");
    // A start line given with a file that does not exist or cannot be opened
    // never applies to the file opened after it.
    for (const std::string first : {"cl.txt", "missing.txt", "dir"}) {
        SCOPED_TRACE(first);
        write("next_" + first, bytes);
        if (first == "cl.txt") write(first, bytes);
        startupReset();
        headless_set_command_line(("y8.exe -l:21 " + path(first) + " " + path("next_" + first)).c_str());
        commandLineProcess();
        command(CMD_OPEN_PENDING);
        EXPECT_EQ(topLine + cursorRow, first == "cl.txt" ? 20 : 0);
        command(CMD_OPEN_PENDING);
        command(CMD_OPEN_PENDING);  // nothing left: nothing happens
        EXPECT_EQ(std::string(fileName), path("next_" + first));
        EXPECT_EQ(topLine + cursorRow, 0);
    }
}

TEST_F(CommandTable, RecordingAndPostedTextReachTheirOperations) {
    for (const auto& [id, slot] : {std::pair<int, int>{CMD_RECORD_1, 1}, {CMD_RECORD_2, 2}, {CMD_RECORD_0, 0}}) {
        command(id);
        EXPECT_TRUE(isRecording(slot));
    }
    setRow(1, "a\tbb\tc");
    command(CMD_TAB_EXPAND);
    command(CMD_TAB_COMPRESS);
    keyChar('z', false, false, false);
    command(CMD_RECORD_0);
    command(CMD_PLAY_0);
    EXPECT_EQ(rowText(0) + "|" + rowText(1), "zz|a\tbb\tc");

    // 1402: a posted text is typed from its token, once; any other number
    // (an address, a guess, a token already used) types nothing.
    struct Row { const char* posted; std::intptr_t forged; const char* typed; int cursor; };
    const Row rows[] = {
        {"f(?);", 0, "f();", 2},  // a "?" is not typed: the cursor ends where it stood
        {nullptr, reinterpret_cast<std::intptr_t>("Hallo"), "", 0}, {nullptr, 0x7FFF1234, "", 0}, {nullptr, -1, "", 0},
    };
    for (int r = 0; r < 4; ++r) {
        cursorSet(0, r + 2);
        headless_reset();
        if (rows[r].posted != nullptr) phrase_post(rows[r].posted);
        const std::intptr_t token = rows[r].posted ? headless_posted_commands().at(0).lParam : rows[r].forged;
        command(CMD_TYPE_PHRASE, token);
        command(CMD_TYPE_PHRASE, token);
        EXPECT_EQ(rowText(r + 2) + "|" + std::to_string(cursorCol), std::string(rows[r].typed) + "|" +
                  std::to_string(rows[r].cursor)) << r;
    }
    cursorSet(0, 8);
    headless_reset();
    for (int i = 0; i <= PHRASE_POST_SLOTS; ++i) phrase_post(std::to_string(i).c_str());
    for (const auto& posted : headless_posted_commands()) command(posted.id, posted.lParam);
    EXPECT_EQ(rowText(8), "1234");  // more texts than slots: the oldest is taken over
}

}  // namespace
