// The profile file, the command-line words, the placement values and the starters (recorded, not run).
#include "support/profile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "file_bytes.h"
#include "host/headless_profile.h"
#include "support/files.h"
#include "support/inifile.h"
#include "support/platform.h"

namespace {

namespace fs = std::filesystem;

class Profile : public ::testing::Test, protected TempDir {
protected:
    Profile() : TempDir("y8-profile-") {}
    void SetUp() override {
        headless_profile_reset();
        headless_set_ini_dir(dirText_.c_str());
        ini_set_file("Y8Test.ini");
    }
    void TearDown() override {
        headless_profile_reset();
        arg_reset();
    }
    std::string profile() const { return read("Y8Test.ini"); }

    const std::string dirText_ = dir_.string() + static_cast<char>(fs::path::preferred_separator);
};

TEST_F(Profile, ValuesRoundTripNamesIgnoreCaseNumbersAreClampedAndReadsCut) {
    ini_write("Option", "TabStep", "4");
    ini_write_int("Option", "Indent", -3);
    ini_write("OPTION", "tabstep", "8");  // the file keeps the first spellings
    ini_write("Global", "MainWindow", "0 1 2");
    ini_write("Option", "Klammer", "1");  // a new key goes to the end of its own section
    EXPECT_EQ(profile(), "[Option]\r\nTabStep=8\r\nIndent=-3\r\nKlammer=1\r\n[Global]\r\nMainWindow=0 1 2\r\n");
    // Numbers from the first nineteen characters; surrounding quotes come off on reading.
    struct Row { const char* stored; int n; const char* text; };
    static const Row rows[] = {{"  42x", 42, "42x"}, {"+5", 5, "+5"}, {"0000000000000000001234", 1, nullptr},
                               {"99999999999999", INT_MAX, nullptr}, {"-99999999999999", INT_MIN, nullptr},
                               {"\"a b \"", 0, "a b "}, {"'x'", 0, "x"}, {"\"abc'", 0, nullptr}, {"\"", 0, nullptr}};
    char buf[INI_BUF_SIZE + 20];
    for (const Row& r : rows) {
        ini_write("S", "K", r.stored);
        EXPECT_EQ(ini_read_int("s", "k"), r.n) << r.stored;
        ini_read("S", "K", buf);
        EXPECT_STREQ(buf, r.text ? r.text : r.stored);
    }
    ini_write("S", "K", std::string(200, 'v').c_str());
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(ini_read("S", "K", buf), 79);
    EXPECT_EQ(buf[INI_BUF_SIZE], '#');
}

// No name or one too long is no file; the profile's name in another case is the profile.
TEST_F(Profile, ANamedFileIsUsedForOneCallAndTheProfileUnderAnotherCaseIsTheProfile) {
    const std::string tooLong(FILE_PATH_MAX + 1, 'f');
    for (const char* file : {"Other.ini", static_cast<const char*>(nullptr), "", tooLong.c_str(), "Y8TEST.INI"})
        ini_write_file(file, "W", "K", "1");
    ini_write("Option", "Indent", "3");  // the next plain call goes to the profile again
    EXPECT_EQ(read("Other.ini") + profile(), "[W]\r\nK=1\r\n[W]\r\nK=1\r\n[Option]\r\nIndent=3\r\n");
    char buf[INI_BUF_SIZE];
    EXPECT_EQ(ini_read_file("", "Option", "Indent", buf) + ini_read_file("y8test.ini", "Option", "Indent", buf), 1);
    EXPECT_STREQ(buf, "3");
    EXPECT_EQ(names(), (std::set<std::string>{"Other.ini", "Y8Test.ini"}));  // as the directory spells them
}

TEST_F(Profile, TheFileIsReadAsTheSystemDoesAndWritingTouchesOnlyItsLine) {
    const std::string file = path("hand.ini");
    writeBytes(file, "top=x\n[ Alpha ]\n  Key One  =  spaced  \r\nNoValue\n; n=c\ndup=first\ndup=2\n[alpha]\nlate=1\n");
    struct Row { const char* section; const char* key; int size; const char* value; };
    static const Row rows[] = {
        {" ALPHA ", "key one", 64, "spaced"}, {"Alpha", "NoValue", 64, ""}, {"Alpha", "dup", 64, "first"},
        {"Alpha", "late", 64, ""},  // only the first section of a name counts
        {"Alpha", "; n", 64, ""}, {"Gamma", "k", 64, ""}, {"Alpha", "dup", 1, ""},
    };
    for (const Row& r : rows) {
        char buf[64] = "#";
        EXPECT_EQ(inifile_get(file.c_str(), r.section, r.key, buf, r.size), static_cast<int>(std::strlen(r.value)));
        EXPECT_STREQ(buf, r.value) << r.key;
    }
    char untouched[4] = "#";
    EXPECT_EQ(inifile_get(file.c_str(), "Alpha", "dup", untouched, 0), 0);
    EXPECT_STREQ(untouched, "#");
    writeBytes(file, "; c\n[A]\n  Width = 10\nx=1\n\n[Empty]\r\n\r\n[B]\ny=2");
    ASSERT_EQ(inifile_put(file.c_str(), "a", "WIDTH", "20"), 0);
    ASSERT_EQ(inifile_put(file.c_str(), "A", "z", "3"), 0);  // after the last filled line
    ASSERT_EQ(inifile_put(file.c_str(), "B", "w", "4"), 0);  // after an unterminated line a line end first
    ASSERT_EQ(inifile_put(file.c_str(), "empty", "k", "v"), 0);
    const std::string after = "; c\n[A]\nWidth=20\r\nx=1\nz=3\r\n\n[Empty]\r\nk=v\r\n\r\n[B]\ny=2\r\nw=4\r\n";
    EXPECT_EQ(readBytes(file), after);
    for (const auto& [section, key, value] : {std::tuple<const char*, const char*, const char*>{"S", "k", "a\r\nb"},
                                              {"S", "k", "new\nline"}, {"S", "a=b", "v"}, {"S", "", "v"},
                                              {"S", "[X]", "v"}, {"S]x", "k", "v"}, {"S", "k", nullptr}})
        EXPECT_EQ(inifile_put(file.c_str(), section, key, value), -1) << key;  // what cannot stand on one line
    EXPECT_EQ(readBytes(file), after);
    EXPECT_EQ(inifile_put(path("missing/dir.ini").c_str(), "S", "k", "v"), -1);
}

TEST_F(Profile, TheTemplateIsCopiedOnlyWhenTheProfileIsMissing) {
    fs::create_directories(dir_ / "prog");
    const std::string templ = path("prog/Y8Test.ini");
    writeBytes(templ, "[Option]\r\nTabStep=4\r\n");
    EXPECT_EQ(ini_install(path("prog/Absent.ini").c_str()), 0);
    EXPECT_EQ(ini_install(templ.c_str()), 1);
    EXPECT_EQ(ini_read_int("Option", "TabStep"), 4);
    ini_write("Option", "TabStep", "6");
    EXPECT_EQ(ini_install(templ.c_str()), 0);  // never replaced
    EXPECT_EQ(ini_read_int("Option", "TabStep"), 6);
    fs::create_directories(dir_ / "other");
    ini_set_file(path("other/Y8Test.ini").c_str());  // a profile path with a directory installs there
    EXPECT_EQ(ini_install(templ.c_str()), 1);
    EXPECT_EQ(read("other/Y8Test.ini"), "[Option]\r\nTabStep=4\r\n");
    const std::string deep = dirText_ + std::string(FILE_PATH_MAX, 'd') + "/";
    headless_set_ini_dir(deep.c_str());
    ini_set_file("Y8Test.ini");
    EXPECT_EQ(ini_install(templ.c_str()), -1);  // a target beyond the limit is refused, not cut
}

TEST_F(Profile, APathValueWithoutDriveOrLeadingSeparatorLiesInTheProgramsFolder) {
    struct Row { const char* program; const char* stored; std::string path; };
    const std::string longName(FILE_PATH_MAX - 3, 'n');
    const Row rows[] = {
        {"\"C:\\Program Files\\Y8\\y8.exe\" -l 3", "  k.txt  ", "C:\\Program Files\\Y8\\k.txt"},
        {"C:\\Y8\\y8.exe", "D:\\Tools\\INHALT.TXT", "D:\\Tools\\INHALT.TXT"},  // a drive: as it is
        {"C:\\Y8\\y8.exe", "\\\\server\\share\\a.txt", "\\\\server\\share\\a.txt"},
        {"C:\\Y8\\y8.exe", "/home/a.txt", "/home/a.txt"}, {"C:\\Y8\\y8.exe", "", ""},  // unset stays unset
        {"y8.exe", "k.txt", "k.txt"},  // started without a folder: the current one
        {"C:\\Y8\\y8.exe", longName.c_str(), ""},  // too long with the folder: nothing, never cut
    };
    for (const Row& row : rows) {
        arg_split(row.program);
        ini_write("Installation", "BauKasten", row.stored);
        char got[FILE_PATH_MAX + 1] = "x";
        EXPECT_EQ(ini_read_path("Installation", "BauKasten", got), static_cast<int>(row.path.size())) << row.stored;
        EXPECT_EQ(got, row.path) << row.stored;
    }
}

TEST(ProfileArgs, WordsAreSplitAtBlanksAndQuotesTwentyAtMostFromAThousandCharacters) {
    std::string twentyFive;
    for (int i = 0; i < 25; ++i) twentyFive += "w" + std::to_string(i) + " ";
    const std::string big = std::string(400, 'a') + " " + std::string(400, 'b') + " " + std::string(400, 'c');
    struct Row { std::string line; int count; int at; std::string word; };
    const Row rows[] = {
        {" \t\r\n", 0, 0, ""}, {"\"unclosed quote", 1, 0, "unclosed quote"}, {"a \"\" b", 3, 1, ""},
        {"\"x y\"z w", 3, 1, "z"}, {"-l:120 -s\"a b\"", 3, 2, "b\""}, {twentyFive, 20, 19, "w19"},
        {big, 2, 1, std::string(400, 'b')},  // the word cut at a thousand characters is not taken
        {std::string(990, 'x') + " \"open and long " + std::string(100, 'y'), 1, 0, std::string(990, 'x')},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line.substr(0, 30));
        EXPECT_EQ(arg_split(r.line.c_str()), r.count);
        EXPECT_EQ(arg_value(r.at), r.word);
        EXPECT_STREQ(arg_value(r.count), "");
    }
    EXPECT_STREQ(arg_value(-1), "");
    EXPECT_EQ(arg_split(nullptr), 0);
}

TEST(ProfilePlacement, TenNumbersRoundTripAndAnythingElseIsNoPlacement) {
    const PlacementValues extreme{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 9};
    char text[PLACEMENT_TEXT_SIZE];
    EXPECT_EQ(placement_format(extreme, text, sizeof text), 9 * 12 + 1);  // the widest value still fits
    PlacementValues back{};
    ASSERT_TRUE(placement_parse(text, &back));
    EXPECT_EQ(std::memcmp(&back, &extreme, sizeof back), 0);
    char small[10];
    EXPECT_EQ(placement_format(extreme, small, sizeof small), -1);
    EXPECT_STREQ(small, "");
    const PlacementValues sentinel{7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
    for (const char* bad : {"", "0 1 2 3 4 5 6 7 8", "0 1 2 3 4 x 6 7 8 9", "0 1 2 3 4 5 6 7 8 99999999999",
                            "0 1 2 3 4 5 6 7 8 -", static_cast<const char*>(nullptr)}) {
        PlacementValues values = sentinel;
        EXPECT_FALSE(placement_parse(bad, &values)) << (bad ? bad : "null");
        EXPECT_EQ(std::memcmp(&values, &sentinel, sizeof values), 0);
    }
    EXPECT_EQ(placement_result(2) * 100 + placement_result(3) * 10 + placement_result(1), 120);
}

TEST_F(Profile, StartsTurnSlashesAndPassHostileNamesAsOneQuotedArgumentOrNothing) {
    headless_set_start_result(33);
    EXPECT_EQ(run_program("C:/Programme/y8.exe C:/Texte/a&b.txt"), 33);  // no shell in between
    EXPECT_EQ(headless_started_programs()[0], "C:\\Programme\\y8.exe C:\\Texte\\a&b.txt");
    for (const std::string& refused : {std::string(), std::string(START_LINE_MAX + 1, 'p')})
        EXPECT_EQ(run_program(refused.c_str()), START_REFUSED);
    headless_set_shell_result(42);
    EXPECT_EQ(run_program(nullptr), START_REFUSED);
    for (const char* document : {"C:/plan.sg", "plan.sg", "C:/Texte/plan.sg"}) EXPECT_EQ(open_document(document), 42);
    EXPECT_EQ(open_document(""), START_REFUSED);
    EXPECT_EQ(open_document(std::string(FILE_PATH_MAX + 1, 'n').c_str()), START_REFUSED);
    EXPECT_EQ(headless_shell_calls()[0].dir + (headless_shell_calls()[0].mainOwner ? "|main" : ""), "C:\\|main");
    struct Row { const char* name; const char* passed; };
    static const Row rows[] = {
        {"&& del *.*", "\"&& del *.*\""}, {"C:\\dir\\", "\"C:\\dir\\\\\""},  // a trailing backslash escapes nothing
        {"\xE4rger", "\"\xE4rger\""}, {"", ""},
        {"100%.txt", nullptr}, {"a\" & calc & \"", nullptr}, {"line\r\nbreak", nullptr}, {"del\x7F", nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        headless_profile_reset();
        EXPECT_EQ(shell_run("C:/Projekt/lint.bat", r.name, "C:/Projekt/src/"), r.passed ? 42 : START_REFUSED);
        const auto& calls = headless_shell_calls();
        ASSERT_EQ(calls.size(), r.passed ? 1u : 0u);
        if (r.passed) {
            EXPECT_EQ(calls[0].file + "|" + calls[0].params + "|" + calls[0].dir + (calls[0].mainOwner ? "|main" : ""),
                      "C:\\Projekt\\lint.bat|" + std::string(r.passed) + "|C:\\Projekt\\src");
        }
    }
    headless_set_shell_result(2);  // the system's failure comes back as it is
    EXPECT_EQ(shell_run("gone.bat", nullptr, nullptr), 2);
    EXPECT_EQ(shell_run("", "a", ""), START_REFUSED);
    EXPECT_EQ(shell_run("lint.bat", "a", std::string(FILE_PATH_MAX + 1, 'd').c_str()), START_REFUSED);
    char quoted[9] = "";  // it must fit with its terminator, else the text stays as it was
    EXPECT_EQ(shell_quote_append(quoted, 5, "abc"), -1);
    EXPECT_EQ(shell_quote_append(quoted, 5, "ab"), 0);
    EXPECT_EQ(shell_quote_append(quoted, sizeof quoted, "c"), 0);
    EXPECT_EQ(shell_quote_append(quoted, sizeof quoted, ""), -1);
    EXPECT_STREQ(quoted, "\"ab\" \"c\"");
}

}  // namespace
