// The start-up options, the command line, shut-down, dropped files, DDE, the about box, the command table.
#include "shell/startup.h"

#include "editor_fixture.h"
#include "file_bytes.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "shell/appproc.h"
#include "support/profile.h"
#include "view/search.h"

using namespace std::string_literals;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        headless_reset();
        startupReset();
        arg_reset();
        searchReset();
    }
    // The commands posted and the names queued for the given command line.
    static std::string run(const std::string& line) {
        reset();
        headless_set_command_line(line.c_str());
        commandLineProcess();
        std::string out;
        for (const HeadlessPostedCommand& c : headless_posted_commands()) out += std::to_string(c.id) + " ";
        char name[PENDING_NAME_MAX + 1];
        while (pendingFileTake(name)) out += std::string("[") + name + "]";
        return out;
    }
};

TEST(StartConfig, TheRunSetsItsOptionsCutAndBoundedByItsBytes) {
    struct Row { std::string run; const char* title; const char* cls; const char* font; Background bg; int red; };
    const std::string x120(120, 'x');
    const Row rows[] = {
        {"", "ZEMO Testprogramm", "ZEMOtest", "Fixedsys", Background::Workspace, 0},  // the defaults
        {"Class Y8\0Name ZEMO Editor\0BGColor 245 245 245\0\0"s, "ZEMO Editor", "Y8", "Fixedsys",
         Background::Colour, 245},
        {"Name \t  Zwei Worte \0NoBlank\0class Klein\0Unknown Key\0\0Class Nach\0"s, "Zwei Worte ", "ZEMOtest",
         "Fixedsys", Background::Workspace, 0},  // keys compare exactly; the empty entry ends the run
        {"Name " + x120 + "\0Class "s + x120 + "\0Font "s + x120 + "\0BGColor 300 -5 7 Rest\0BGBitmap M"s,
         nullptr, nullptr, nullptr, Background::Colour, 255},  // cut; a colour part clamped; the cut-off last entry
        {"BGColor 1 2 3\0BGBitmap Muster\0\0"s, "ZEMO Testprogramm", "ZEMOtest", "Fixedsys", Background::Bitmap, 1},
        {"BGColor sYsTeM\0BGColor 1 x 3\0BGColor blau\0\0"s, "ZEMO Testprogramm", "ZEMOtest", "Fixedsys",
         Background::System, 0},  // anything else leaves it as it was
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.run.substr(0, 20));
        StartConfig c;
        configDefaults(&c);
        std::vector<char> exact(r.run.begin(), r.run.end());  // no NUL after the last byte
        configApply(&c, exact.data(), exact.size());
        EXPECT_EQ(std::string(c.title), r.title ? r.title : std::string(80, 'x'));
        EXPECT_EQ(std::string(c.className), r.cls ? r.cls : std::string(40, 'x'));
        EXPECT_EQ(std::string(c.font), r.font ? r.font : std::string(20, 'x'));
        EXPECT_EQ(std::make_pair(c.background, c.red), std::make_pair(r.bg, r.red));
    }
    StartConfig c;
    configDefaults(&c);
    const std::string all = "Single 1\0Maxi 7\0DDEServer 0\0CStyle 2b\0WStyle 10CF0000\0LargeIcon L\0SmallIcon S\0"
                            "WPFile Y8.ini\0WPSection Global\0Class A\0Name B\0"s;  // no empty entry: the bytes end it
    configApply(&c, all.data(), all.size());
    EXPECT_EQ(std::make_tuple(c.single, c.maxi, c.ddeServer, c.classStyle, c.windowStyle),
              std::make_tuple(1, 7, 0, 0x2Bu, 0x10CF0000u));
    EXPECT_EQ(std::string(c.largeIcon) + c.smallIcon + c.wpFile + c.wpSection + c.title, "LSY8.iniGlobalB");
    // Hexadecimal, leading zeros carry no bits; more than 32 bits is no wrapped style.
    for (const auto& [text, style] : {std::pair<const char*, std::uint32_t>{"00000000ff zz", 0xFF}, {"7fz", 0x7F},
                                      {"123456789", 5}, {"", 5}}) {
        std::uint32_t got = 5;
        EXPECT_EQ(styleParse(text, &got), style != 5) << text;
        EXPECT_EQ(got, style) << text;
    }
    char path[FILE_PATH_MAX + 1];
    EXPECT_EQ(installTemplatePath(path, "C:\\Programme\\Y8\\y8.exe"), 22);  // the template beside the program
    EXPECT_STREQ(path, "C:\\Programme\\Y8\\Y8.ini");
    EXPECT_EQ(installTemplatePath(path, (std::string(196, 'd') + "\\y8.exe").c_str()), -1);
    EXPECT_STREQ(path, "");
}

TEST_F(Startup, TheCommandLineQueuesEachFileThenPlacesTheWindow) {
    std::string twentyFour = "y8.exe";
    std::string nineteen;
    for (int i = 1; i <= 24; ++i) twentyFour += " f" + std::to_string(i);
    for (int i = 1; i <= 19; ++i) nineteen += "1009 ";
    nineteen += "1008 ";
    for (int i = 1; i <= 19; ++i) nineteen += "[f" + std::to_string(i) + "]";
    struct Row { std::string line; std::string result; std::string sought; int startLine; };
    const Row rows[] = {
        {"y8.exe", "1008 ", "", -1},
        {"y8 a \"C:\\mit Blank\\b\" 'c' \"d", "1009 1009 1009 1009 1008 [a][C:\\mit Blank\\b][c][d]", "", -1},
        {"y8 'x' 'y.txt '' 'ab\" \"'z'\"", "1009 1009 1009 1009 1009 1008 [x][y.txt][''][ab\"][z]", "", -1},
        {"y8 -f:erste -s:\"Such\" -x:nicht - -F:gross zweite -l:120", "1009 1009 1008 [erste][zweite]", "Such", 119},
        {"y8 -f -f: -l=7 -s:" + std::string(70, 's'), "1008 ", std::string(50, 's'), 6},
        {twentyFour, nineteen, "", -1},  // words past the twentieth are ignored
        {"y8 " + std::string(201, 'n') + " k -l", "1009 1008 [k]", "", -1},  // a name too long is never cut
        {"y8 -l:0", "1008 ", "", -1}, {"y8 -l:zehn", "1008 ", "", -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line.substr(0, 40));
        EXPECT_EQ(run(r.line), r.result);
        EXPECT_EQ(searchText, r.sought);  // what F12 looks for
        EXPECT_EQ(startLineTake(), r.startLine);
        EXPECT_EQ(startLineTake(), -1);  // taken once
    }
    char name[PENDING_NAME_MAX + 1];
    EXPECT_FALSE(pendingFilePush(""));
    for (int i = 0; i < PENDING_FILES_MAX; ++i) EXPECT_TRUE(pendingFilePush(("p" + std::to_string(i)).c_str()));
    EXPECT_FALSE(pendingFilePush("zuviel"));
    ASSERT_TRUE(pendingFileTake(name));
    EXPECT_TRUE(pendingFilePush("q"));  // wraps round
    for (int i = 1; i <= PENDING_FILES_MAX; ++i) ASSERT_TRUE(pendingFileTake(name));
    EXPECT_STREQ(name, "q");
    EXPECT_FALSE(pendingFileTake(name));
    EXPECT_EQ(pendingFileCount(), 0);
}

TEST_F(Startup, ShutDownEndsOnlyWhenTheAnswerToSaveWasCarriedOut) {
    editorStart();
    const std::filesystem::path dir = freshTempDir("y8_shut_");
    struct Row { const char* what; int modified; int answer; const char* saveAs; bool ends; };
    static const Row rows[] = {
        {"unchanged", 0, 0, "", true}, {"Nein", 1, box_answer::kNo, "", true},
        {"Ja, the save box cancelled", 1, box_answer::kYes, "", false},
        {"Ja, no such directory", 1, box_answer::kYes, "nodir/s.txt", false},  // the save fails: it stays open
        {"Ja, saved", 1, box_answer::kYes, "s.txt", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        headless_reset();
        fileName[0] = lastDir[0] = '\0';
        hasName = 0;
        modified = r.modified;
        if (r.answer) headless_box_answer(r.answer);
        if (r.saveAs[0]) headless_file_answer((dir / r.saveAs).string().c_str());
        EXPECT_EQ(shutdownMayEnd(), r.ends);
        const std::vector<HeadlessBox>& boxes = headless_boxes();
        const bool toldStays = !boxes.empty() && boxes.back().text.find("bleibt ge\366ffnet") != std::string::npos;
        EXPECT_EQ(toldStays, !r.ends);
        EXPECT_EQ(modified, r.ends && r.answer == box_answer::kYes ? 0 : r.modified);
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "s.txt"));
    editorStop();
    std::filesystem::remove_all(dir);
}

std::vector<std::string> dropped;  // "" stands for a name that cannot be read

int readDropped(int i, char* name) {
    name[0] = '\0';
    if (i < 0 || i >= static_cast<int>(dropped.size()) || dropped[static_cast<size_t>(i)].empty()) return -1;
    std::strcpy(name, dropped[static_cast<size_t>(i)].c_str());
    return static_cast<int>(std::strlen(name));
}

TEST_F(Startup, DroppedFilesOpenTheFirstAndStartCopiesForNineMoreQuoted) {
    dropped.clear();
    for (int i = 1; i <= 12; ++i) dropped.push_back("C:\\Meine Texte\\t" + std::to_string(i) + ".txt");
    // A name that cannot be read whole (too long) is refused, and the user told once a drop.
    struct Row { const char* program; std::vector<std::string> dropped; bool opened; std::string last; size_t copies;
                 size_t told; };
    const Row rows[] = {
        {"C:\\Program Files\\Y8\\y8.exe", dropped, true,  // the program's own path, quoted as the file
         "\"C:\\Program Files\\Y8\\y8.exe\" \"C:\\Meine Texte\\t10.txt\"", 9, 0},
        {"y8.exe", {"", "b.txt", "", "a\"b"}, false, "\"y8.exe\" \"b.txt\"", 1, 1},  // the first cannot be opened
        {"y8.exe", {"a.txt", ""}, true, "", 0, 1},
        {"y8.exe", {}, false, "", 0, 0}, {"", {"a.txt", "b.txt"}, true, "", 0, 0},  // no copy from a guessed path
    };
    char first[FILE_PATH_MAX + 1];
    for (const Row& r : rows) {
        SCOPED_TRACE(r.last);
        run("y8");
        headless_set_program_path(r.program);
        dropped = r.dropped;
        EXPECT_EQ(dropFilesHandle(static_cast<int>(dropped.size()), readDropped, first), r.opened);
        EXPECT_STREQ(first, r.opened ? dropped[0].c_str() : "");
        const std::vector<std::string>& started = headless_started_programs();
        ASSERT_EQ(started.size(), r.copies);
        EXPECT_EQ(started.empty() ? "" : started.back(), r.last);
        EXPECT_EQ(headless_boxes().size(), r.told);
        if (r.copies < 2) continue;
        ASSERT_EQ(arg_split(started.front().c_str()), 2);  // the new copy reads the quoted path as one word
        EXPECT_EQ(arg_value(1), r.dropped[1]);
    }
    char line[DROP_LINE_MAX + 1];
    EXPECT_EQ(dropCommandLine(line, sizeof line, std::string(996, 'p').c_str(), "x"), -1);  // 1002 characters
    EXPECT_EQ(dropCommandLine(line, sizeof line, "", "x.txt"), -1);
    EXPECT_EQ(dropCommandLine(line, sizeof line, "y8.exe", ""), -1);
    char small[10];
    EXPECT_EQ(dropCommandLine(small, sizeof small, "y8", "ab"), 9);
    EXPECT_EQ(dropCommandLine(small, sizeof small, "y8", "abc"), -1);
    EXPECT_STREQ(small, "");
}

TEST_F(Startup, DdeTakesTheClassNameAnExecuteCutTo200AndTheAboutBoxStaysOnTheScreen) {
    const std::string name(80, 'N');
    EXPECT_TRUE(ddeServiceMatches((name + "mehr").c_str(), name.c_str()));  // 80 characters count
    for (const char* other : {"Y8 ", "", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(ddeServiceMatches(other, "Y8"));
    std::string data;
    for (int i = 0; i < 1000; ++i) data += static_cast<char>('a' + i % 26);
    char text[DDE_DATA_MAX + 1];
    char topic[DDE_TOPIC_MAX + 1];
    ddeExecuteTake(data.data(), data.size(), std::string(100, 't').c_str(), text, topic);
    ddeExecuteHook(text, topic);
    EXPECT_EQ(headless_debug_lines().back(), "dde " + data.substr(0, 200) + " " + std::string(80, 't') + "\n");
    ddeExecuteTake("ab\0cd", 5, nullptr, text, topic);
    EXPECT_EQ(std::string(text) + "|" + topic, "ab|");
    ddeExecuteTake(nullptr, 50, "T", text, topic);
    EXPECT_STREQ(text, "");
    int x = -1;
    int y = -1;
    aboutPlace(1024, 768, 300, 150, &x, &y);  // centred, its top at a third of the free height
    EXPECT_EQ(x * 1000 + y, 362206);
    aboutPlace(640, 480, 800, 600, &x, &y);  // larger than the screen: its caption stays on it
    EXPECT_EQ(x * 1000 + y, 0);
}

}  // namespace
