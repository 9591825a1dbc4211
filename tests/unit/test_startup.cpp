// Tests of the start-up options, the command line, dropped files, the DDE
// execute rule, the about box's place and the command table, through the
// headless host (posted commands, started programs and the debug trace are
// recorded there).
#include "shell/startup.h"

#include "document/docfile.h"
#include "document/docstate.h"
#include "editor_fixture.h"
#include "file_bytes.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "shell/appproc.h"
#include "support/files.h"
#include "support/profile.h"
#include "view/search.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace std::string_literals;

namespace {

// A run of entries as the resource holds it: the text with its NULs, size = the
// string's length.
StartConfig applied(const std::string& run) {
    StartConfig c;
    configDefaults(&c);
    configApply(&c, run.data(), run.size());
    return c;
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    static void reset() {
        headless_reset();
        startupReset();
        arg_reset();
        searchReset();
    }

    static std::vector<int> postedIds() {
        std::vector<int> ids;
        for (const HeadlessPostedCommand& c : headless_posted_commands()) ids.push_back(c.id);
        return ids;
    }
    static std::vector<std::string> pendingNames() {
        std::vector<std::string> names;
        char name[PENDING_NAME_MAX + 1];
        while (pendingFileTake(name)) names.push_back(name);
        return names;
    }
    static void processCommandLine(const std::string& line) {
        headless_set_command_line(line.c_str());
        commandLineProcess();
    }
};

// ---------------------------------------------------------------- start-up options

TEST(StartConfig, DefaultsStandWithoutTheResource) {
    StartConfig c;
    configDefaults(&c);
    configApply(&c, nullptr, 0);
    configApply(&c, "", 0);
    EXPECT_STREQ(c.className, "ZEMOtest");
    EXPECT_STREQ(c.title, "ZEMO Testprogramm");
    EXPECT_STREQ(c.font, "Fixedsys");
    EXPECT_STREQ(c.largeIcon, "ANW_ICON");
    EXPECT_STREQ(c.smallIcon, "ANW_ICON");
    EXPECT_EQ(c.single, 0);
    EXPECT_EQ(c.maxi, 0);
    EXPECT_EQ(c.ddeServer, 1);
    EXPECT_EQ(c.classStyle, 0x8u);
    EXPECT_EQ(c.windowStyle, 0x3CF0000u);
    EXPECT_STREQ(c.wpFile, "");
    EXPECT_STREQ(c.wpSection, "");
    EXPECT_EQ(c.background, Background::Workspace);
}

TEST(StartConfig, TheProgramsOwnRunSetsItsFiveOptions) {
    const StartConfig c = applied("Class Y8\0Name ZEMO Editor\0WPFile Y8.ini\0WPSection Global\0"
                                  "BGColor 245 245 245\0\0"s);
    EXPECT_STREQ(c.className, "Y8");
    EXPECT_STREQ(c.title, "ZEMO Editor");
    EXPECT_STREQ(c.wpFile, "Y8.ini");
    EXPECT_STREQ(c.wpSection, "Global");
    EXPECT_EQ(c.background, Background::Colour);
    EXPECT_EQ(c.red, 245);
    EXPECT_EQ(c.green, 245);
    EXPECT_EQ(c.blue, 245);
    EXPECT_STREQ(c.font, "Fixedsys");  // untouched
    EXPECT_EQ(c.ddeServer, 1);
}

TEST(StartConfig, EntriesAreSplitAtTheFirstBlankAndKeysCompareExactly) {
    const StartConfig c = applied("Name \t  Zwei Worte \0"  // white space before the value skipped
                                  "NoBlankHere\0"           // ignored
                                  "class Klein\0"           // keys compare exactly
                                  "Unknown Key\0"
                                  "Class Y8\0"
                                  "Single 1\0Maxi 7\0DDEServer 0\0\0"s);
    EXPECT_STREQ(c.title, "Zwei Worte ");
    EXPECT_STREQ(c.className, "Y8");
    EXPECT_EQ(c.single, 1);
    EXPECT_EQ(c.maxi, 7);
    EXPECT_EQ(c.ddeServer, 0);
}

TEST(StartConfig, TextsAreCutToTheirLengths) {
    const std::string longText(120, 'x');
    const std::string run = "Name " + longText + '\0' + "Class " + longText + '\0' + "Font " + longText + '\0' +
                            "LargeIcon " + longText + '\0' + "SmallIcon " + longText + '\0' + "WPFile " +
                            longText + '\0' + "WPSection " + longText + '\0' + "BGBitmap " + longText + '\0' +
                            '\0';
    const StartConfig c = applied(run);
    EXPECT_EQ(std::string(c.title), std::string(80, 'x'));
    EXPECT_EQ(std::string(c.className), std::string(40, 'x'));
    for (const char* text : {c.font, c.largeIcon, c.smallIcon, c.wpFile, c.wpSection, c.bgBitmap})
        EXPECT_EQ(std::string(text), std::string(20, 'x'));
    EXPECT_EQ(c.background, Background::Bitmap);
}

TEST(StartConfig, TheRunEndsAtTheEmptyEntryOrAtTheEndOfTheBytes) {
    // Nothing after the empty entry counts.
    StartConfig c = applied("Class A\0\0Name B\0\0"s);
    EXPECT_STREQ(c.className, "A");
    EXPECT_STREQ(c.title, "ZEMO Testprogramm");

    // Without the closing empty entry the bytes' end ends the run.
    c = applied("Class A\0Name B\0"s);
    EXPECT_STREQ(c.title, "B");

    // An entry cut off by the end of the bytes is not applied, and nothing past
    // the end is read: the copy below has no NUL after its last byte.
    const std::string cut = "Class A\0Name Abgeschnitten"s;
    std::vector<char> exact(cut.begin(), cut.end());
    configDefaults(&c);
    configApply(&c, exact.data(), exact.size());
    EXPECT_STREQ(c.className, "A");
    EXPECT_STREQ(c.title, "ZEMO Testprogramm");
}

TEST(StartConfig, StylesAreHexadecimalWithoutPrefix) {
    StartConfig c = applied("CStyle 2b\0WStyle   10CF0000\0\0"s);
    EXPECT_EQ(c.classStyle, 0x2Bu);
    EXPECT_EQ(c.windowStyle, 0x10CF0000u);

    std::uint32_t style = 5;
    EXPECT_TRUE(styleParse("FFFFFFFF", &style));
    EXPECT_EQ(style, 0xFFFFFFFFu);
    EXPECT_TRUE(styleParse("00000000ff zz", &style));  // leading zeros carry no bits
    EXPECT_EQ(style, 0xFFu);
    EXPECT_TRUE(styleParse("0x20", &style));  // no prefix: reading stops at the x
    EXPECT_EQ(style, 0u);
    style = 5;
    EXPECT_FALSE(styleParse("123456789", &style));  // more than 32 bits: not a wrapped style
    EXPECT_FALSE(styleParse("xyz", &style));
    EXPECT_FALSE(styleParse("", &style));
    EXPECT_EQ(style, 5u);

    c = applied("WStyle nichts\0\0"s);
    EXPECT_EQ(c.windowStyle, 0x3CF0000u);
}

TEST(StartConfig, BackgroundColourSystemOrThreeNumbers) {
    for (const char* system : {"System", "sYsTeM", "SYSTEM"}) {
        StartConfig c;
        configDefaults(&c);
        EXPECT_TRUE(backgroundParse(&c, system)) << system;
        EXPECT_EQ(c.background, Background::System) << system;
    }

    StartConfig c = applied("BGColor 0 0 255\0\0"s);
    EXPECT_EQ(c.background, Background::Colour);
    EXPECT_EQ(c.red, 0);
    EXPECT_EQ(c.green, 0);
    EXPECT_EQ(c.blue, 255);

    // Each part is kept to 0..255 rather than wrapping into another colour.
    ASSERT_TRUE(backgroundParse(&c, "300 -5 7 Rest"));
    EXPECT_EQ(c.red, 255);
    EXPECT_EQ(c.green, 0);
    EXPECT_EQ(c.blue, 7);

    // Anything else leaves the background as it was.
    for (const char* garbage : {"blau", "1 2", "", "Systemfarbe", "1 x 3"}) {
        configDefaults(&c);
        EXPECT_FALSE(backgroundParse(&c, garbage)) << garbage;
        EXPECT_EQ(c.background, Background::Workspace) << garbage;
    }

    // Of a bitmap and a colour the later entry wins.
    c = applied("BGBitmap Muster\0BGColor 1 2 3\0\0"s);
    EXPECT_EQ(c.background, Background::Colour);
    c = applied("BGColor 1 2 3\0BGBitmap Muster\0\0"s);
    EXPECT_EQ(c.background, Background::Bitmap);
    EXPECT_STREQ(c.bgBitmap, "Muster");
}

TEST(StartConfig, TheSettingsTemplateLiesBesideTheProgram) {
    char path[FILE_PATH_MAX + 1];
    EXPECT_EQ(installTemplatePath(path, "C:\\Programme\\Y8\\y8.exe"), 22);
    EXPECT_STREQ(path, "C:\\Programme\\Y8\\Y8.ini");
    EXPECT_GT(installTemplatePath(path, "y8.exe"), 0);
    EXPECT_STREQ(path, "Y8.ini");
    const std::string deep = std::string(196, 'd') + "\\y8.exe";  // directory of 197 + 6 > 200
    EXPECT_EQ(installTemplatePath(path, deep.c_str()), -1);
    EXPECT_STREQ(path, "");
}

// ---------------------------------------------------------------- command line

TEST_F(StartupTest, EachFileIsQueuedAndOpenedByItsOwnCommandThenTheWindowIsPlaced) {
    processCommandLine("C:\\y8\\y8.exe a.txt \"C:\\mit Blank\\b.txt\" 'c.txt' \"d.txt");
    EXPECT_EQ(postedIds(), (std::vector<int>{1009, 1009, 1009, 1009, 1008}));
    EXPECT_EQ(pendingNames(), (std::vector<std::string>{"a.txt", "C:\\mit Blank\\b.txt", "c.txt", "d.txt"}));

    // Nothing on the command line: only the placement.
    reset();
    processCommandLine("y8.exe");
    EXPECT_EQ(postedIds(), (std::vector<int>{1008}));
    EXPECT_EQ(pendingFileCount(), 0);
}

TEST_F(StartupTest, QuotesOfAFileNameComeOffOnlyAroundIt) {
    // Single quotes are left to this rule by the word split; a word too short
    // to hold a name in quotes, and a closing quote of the other kind, stay.
    processCommandLine("y8 'x.txt' 'y.txt '' 'ab\" \"'z.txt'\"");
    EXPECT_EQ(pendingNames(), (std::vector<std::string>{"x.txt", "y.txt", "''", "ab\"", "z.txt"}));
}

TEST_F(StartupTest, StartLineFromTheLOption) {
    processCommandLine("y8.exe -l:120 datei.c");
    EXPECT_EQ(startLineTake(), 119);
    EXPECT_EQ(startLineTake(), -1);  // taken once
    EXPECT_EQ(pendingNames(), (std::vector<std::string>{"datei.c"}));
    EXPECT_EQ(postedIds(), (std::vector<int>{1009, 1008}));

    // Any separator; the number after it.
    reset();
    processCommandLine("y8.exe -l=7");
    EXPECT_EQ(startLineTake(), 6);

    // No line to go to: nothing remembered, nothing read past the word.
    for (const char* word : {"-l", "-l:", "-l:0", "-l:-4", "-l:zehn"}) {
        reset();
        processCommandLine(std::string("y8.exe ") + word);
        EXPECT_EQ(startLineTake(), -1) << word;
        EXPECT_EQ(postedIds(), (std::vector<int>{1008})) << word;
    }
}

TEST_F(StartupTest, FileAndSearchOptionsAndUnknownOptions) {
    processCommandLine("y8.exe -f:erste.txt -s:\"Suchtext\" -x:nicht.txt - -F:gross.txt zweite.txt");
    EXPECT_EQ(pendingNames(), (std::vector<std::string>{"erste.txt", "zweite.txt"}));
    EXPECT_EQ(postedIds(), (std::vector<int>{1009, 1009, 1008}));
    EXPECT_STREQ(searchText, "Suchtext");  // what F12 looks for

    // The search text is cut at 50 characters; an -f without a name opens nothing.
    reset();
    processCommandLine("y8.exe -s:" + std::string(70, 's') + " -f -f:");
    EXPECT_EQ(std::string(searchText), std::string(50, 's'));
    EXPECT_EQ(postedIds(), (std::vector<int>{1008}));
}

TEST_F(StartupTest, WordsPastTheTwentiethAndOverlongNamesAreIgnored) {
    std::string line = "y8.exe";
    for (int i = 1; i <= 24; ++i) line += " f" + std::to_string(i) + ".txt";
    processCommandLine(line);
    std::vector<int> expected(19, 1009);
    expected.push_back(1008);
    EXPECT_EQ(postedIds(), expected);
    std::vector<std::string> names = pendingNames();
    ASSERT_EQ(names.size(), 19u);
    EXPECT_EQ(names.front(), "f1.txt");
    EXPECT_EQ(names.back(), "f19.txt");

    // A name the queue cannot hold whole would open another file: not taken.
    reset();
    processCommandLine("y8.exe " + std::string(201, 'n') + " " + std::string(200, 'k'));
    names = pendingNames();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], std::string(200, 'k'));
    EXPECT_EQ(postedIds(), (std::vector<int>{1009, 1008}));
}

TEST_F(StartupTest, ThePendingQueueKeepsOrderAndRefusesWhenFull) {
    char name[PENDING_NAME_MAX + 1];
    for (int i = 0; i < PENDING_FILES_MAX; ++i) EXPECT_TRUE(pendingFilePush(("p" + std::to_string(i)).c_str()));
    EXPECT_FALSE(pendingFilePush("zuviel"));
    EXPECT_FALSE(pendingFilePush(""));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(pendingFileTake(name));
    EXPECT_STREQ(name, "p4");
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(pendingFilePush(("q" + std::to_string(i)).c_str()));  // wraps round
    std::vector<std::string> names = pendingNames();
    ASSERT_EQ(names.size(), 20u);
    EXPECT_EQ(names.front(), "p5");
    EXPECT_EQ(names[14], "p19");
    EXPECT_EQ(names.back(), "q4");
    EXPECT_FALSE(pendingFileTake(name));
    EXPECT_STREQ(name, "");
}

// ---------------------------------------------------------------- shut-down

TEST_F(StartupTest, ShutDownEndsOnlyWhenTheAnswerToSaveWasCarriedOut) {
    editorStart();
    const std::filesystem::path dir = freshTempDir("y8_shut_");
    struct Row { const char* what; int modified; int answer; const char* saveAs; bool ends; };
    static const Row rows[] = {
        {"unchanged", 0, 0, "", true},
        {"Nein", 1, box_answer::kNo, "", true},
        {"Ja, the save box cancelled", 1, box_answer::kYes, "", false},
        {"Ja, no such directory", 1, box_answer::kYes, "nodir/s.txt", false},
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
    EXPECT_EQ(readBytes(dir / "s.txt"), "");  // the empty document, saved once
    EXPECT_TRUE(std::filesystem::exists(dir / "s.txt"));
    editorStop();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

// ---------------------------------------------------------------- dropped files

std::vector<std::string> droppedFiles;
std::vector<int> unreadable;

int readDropped(int i, char* name) {
    name[0] = '\0';
    if (i < 0 || i >= static_cast<int>(droppedFiles.size())) return -1;
    for (int bad : unreadable)
        if (bad == i) return -1;
    std::strcpy(name, droppedFiles[static_cast<size_t>(i)].c_str());
    return static_cast<int>(std::strlen(name));
}

TEST_F(StartupTest, TwelveDroppedFilesOpenTheFirstAndStartNineCopies) {
    processCommandLine("y8");  // found through the search path: not the program's own path
    headless_set_program_path("C:\\Program Files\\Y8\\y8.exe");
    droppedFiles.clear();
    unreadable.clear();
    for (int i = 1; i <= 12; ++i) droppedFiles.push_back("C:\\Meine Texte\\t" + std::to_string(i) + ".txt");
    char first[FILE_PATH_MAX + 1];
    EXPECT_TRUE(dropFilesHandle(12, readDropped, first));
    EXPECT_STREQ(first, "C:\\Meine Texte\\t1.txt");
    const std::vector<std::string>& started = headless_started_programs();
    ASSERT_EQ(started.size(), 9u);
    EXPECT_EQ(started.front(), "\"C:\\Program Files\\Y8\\y8.exe\" \"C:\\Meine Texte\\t2.txt\"");
    EXPECT_EQ(started.back(), "\"C:\\Program Files\\Y8\\y8.exe\" \"C:\\Meine Texte\\t10.txt\"");

    // The new copy's own split reads the quoted path as one word.
    ASSERT_EQ(arg_split(started.front().c_str()), 2);
    EXPECT_STREQ(arg_value(1), "C:\\Meine Texte\\t2.txt");
}

TEST_F(StartupTest, DropsWithoutFilesOrWithUnreadableOnes) {
    headless_set_program_path("y8.exe");
    droppedFiles = {"a.txt", "b.txt", "c.txt"};
    unreadable = {0, 2};
    char first[FILE_PATH_MAX + 1];
    EXPECT_FALSE(dropFilesHandle(3, readDropped, first));  // the first cannot be opened here
    EXPECT_STREQ(first, "");
    EXPECT_EQ(headless_started_programs(), (std::vector<std::string>{"\"y8.exe\" \"b.txt\""}));

    unreadable.clear();
    EXPECT_FALSE(dropFilesHandle(0, readDropped, first));
    EXPECT_EQ(headless_started_programs().size(), 1u);

    // One file: opened here, nothing started.
    EXPECT_TRUE(dropFilesHandle(1, readDropped, first));
    EXPECT_STREQ(first, "a.txt");
    EXPECT_EQ(headless_started_programs().size(), 1u);

    // Without the program's own path no copy is started from a guessed one.
    headless_set_program_path("");
    processCommandLine("y8.exe");
    EXPECT_TRUE(dropFilesHandle(3, readDropped, first));
    EXPECT_EQ(headless_started_programs().size(), 1u);
}

TEST(DropCommandLine, QuotesBothAndRefusesWhatCannotBePassed) {
    char line[DROP_LINE_MAX + 1];
    EXPECT_EQ(dropCommandLine(line, sizeof line, "y8.exe", "x y.txt"), 18);
    EXPECT_STREQ(line, "\"y8.exe\" \"x y.txt\"");
    EXPECT_EQ(dropCommandLine(line, sizeof line, "", "x.txt"), -1);
    EXPECT_EQ(dropCommandLine(line, sizeof line, "y8.exe", ""), -1);
    EXPECT_EQ(dropCommandLine(line, sizeof line, "y8.exe", "a\"b"), -1);
    EXPECT_STREQ(line, "");
    const std::string program(996, 'p');
    EXPECT_EQ(dropCommandLine(line, sizeof line, program.c_str(), "x"), -1);  // 1002 characters
    char small[10];
    EXPECT_EQ(dropCommandLine(small, sizeof small, "y8", "ab"), 9);
    EXPECT_EQ(dropCommandLine(small, sizeof small, "y8", "abc"), -1);
    EXPECT_STREQ(small, "");
}

// ---------------------------------------------------------------- DDE service

TEST(DdeService, OnlyTheClassNameConnects) {
    EXPECT_TRUE(ddeServiceMatches("Y8", "Y8"));
    EXPECT_FALSE(ddeServiceMatches("Y9", "Y8"));
    EXPECT_FALSE(ddeServiceMatches("Y8 ", "Y8"));
    EXPECT_FALSE(ddeServiceMatches("", "Y8"));
    EXPECT_FALSE(ddeServiceMatches(nullptr, "Y8"));
    // Only the first 80 characters of the name asked for count.
    const std::string name(80, 'N');
    EXPECT_TRUE(ddeServiceMatches((name + "mehr").c_str(), name.c_str()));
}

TEST_F(StartupTest, AnExecuteIsCutTo200BytesAndItsTopicTo80) {
    std::string data;
    for (int i = 0; i < 1000; ++i) data += static_cast<char>('a' + i % 26);
    const std::string topic(100, 't');
    char text[DDE_DATA_MAX + 1];
    char topicText[DDE_TOPIC_MAX + 1];
    ddeExecuteTake(data.data(), data.size(), topic.c_str(), text, topicText);
    EXPECT_EQ(std::string(text), data.substr(0, 200));
    EXPECT_EQ(std::string(topicText), topic.substr(0, 80));

    ddeExecuteHook(text, topicText);
    ASSERT_FALSE(headless_debug_lines().empty());
    EXPECT_EQ(headless_debug_lines().back(), "dde " + data.substr(0, 200) + " " + topic.substr(0, 80) + "\n");

    // Short data without a NUL, data with one, no data at all.
    ddeExecuteTake("[open]", 6, "System", text, topicText);
    EXPECT_STREQ(text, "[open]");
    EXPECT_STREQ(topicText, "System");
    ddeExecuteTake("ab\0cd", 5, nullptr, text, topicText);
    EXPECT_STREQ(text, "ab");
    EXPECT_STREQ(topicText, "");
    ddeExecuteTake(nullptr, 50, "T", text, topicText);
    EXPECT_STREQ(text, "");
}

// ---------------------------------------------------------------- about box

TEST(AboutBox, CentredWithItsTopAtAThirdOfTheFreeHeight) {
    int x = -1;
    int y = -1;
    aboutPlace(1024, 768, 300, 150, &x, &y);
    EXPECT_EQ(x, 362);
    EXPECT_EQ(y, 206);
    aboutPlace(640, 480, 800, 600, &x, &y);  // larger than the screen: its caption stays on it
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

// ---------------------------------------------------------------- command table

std::vector<std::pair<int, std::intptr_t>> handled;
void record(int id, std::intptr_t lParam) { handled.emplace_back(id, lParam); }

TEST_F(StartupTest, CommandsFindTheirRowTraceFrom2000AndOthersDoNothing) {
    constexpr CommandEntry table[] = {{1000, record}, {1008, record}, {1402, record}, {2017, record}};
    static_assert(commandTableSorted(table, 4), "sorted");
    handled.clear();

    appCommand(table, 4, 1402, 1234);
    appCommand(table, 4, 1013, 0);  // no row
    appCommand(table, 4, 2017, 0);
    appCommand(table, 4, 2500, 0);  // no row, traced all the same
    appCommand(table, 4, 1999, 0);
    EXPECT_EQ(handled, (std::vector<std::pair<int, std::intptr_t>>{{1402, 1234}, {2017, 0}}));
    EXPECT_EQ(headless_debug_lines(), (std::vector<std::string>{"cmd 2017\n", "cmd 2500\n"}));

    for (const CommandEntry& row : table) EXPECT_EQ(commandFind(table, 4, row.id), &record);
    EXPECT_EQ(commandFind(table, 4, 999), nullptr);
    EXPECT_EQ(commandFind(table, 4, 3000), nullptr);
    EXPECT_EQ(commandFind(table, 0, 1000), nullptr);

    constexpr CommandEntry unsorted[] = {{1008, record}, {1000, record}};
    constexpr CommandEntry twice[] = {{1000, record}, {1000, record}};
    static_assert(!commandTableSorted(unsorted, 2), "out of order");
    static_assert(!commandTableSorted(twice, 2), "a number twice");
}

}  // namespace
