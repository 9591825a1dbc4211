// Tests of the profile file, the command-line words, the placement values and
// the starters, through the headless host (ini values in a real file of a
// directory of each test's own; programs and shell starts recorded, not run).
#include "support/profile.h"

#include "support/platform.h"
#include "host/headless_profile.h"
#include "support/files.h"
#include "support/inifile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A fresh directory for each test, removed afterwards.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        headless_profile_reset();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("y8-profile-") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        dirText_ = dir_.string() + static_cast<char>(fs::path::preferred_separator);
        headless_set_ini_dir(dirText_.c_str());
        ini_set_file("Y8Test.ini");
    }
    void TearDown() override {
        headless_profile_reset();
        arg_reset();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    std::string path(const char* name) const { return dirText_ + name; }
    std::string profile() const { return path("Y8Test.ini"); }

    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void write(const std::string& file, const std::string& text) {
        std::ofstream out(file, std::ios::binary);
        out << text;
    }

    fs::path dir_;
    std::string dirText_;
};

// ---------------------------------------------------------------------------
// The ini functions through the host
// ---------------------------------------------------------------------------

using ProfileIni = ProfileTest;

TEST_F(ProfileIni, ValuesRoundTripAndNamesCompareWithoutCaseKeepingTheirSpelling) {
    EXPECT_EQ(headless_ini_path(), profile());  // a bare name lies in the ini directory
    ini_write("Option", "TabStep", "4");
    ini_write_int("Option", "Indent", -3);
    EXPECT_EQ(read(profile()), "[Option]\r\nTabStep=4\r\nIndent=-3\r\n");

    // Rewritten under other spellings: the file keeps the first ones.
    ini_write("OPTION", "tabstep", "8");
    EXPECT_EQ(read(profile()), "[Option]\r\nTabStep=8\r\nIndent=-3\r\n");

    char buf[INI_BUF_SIZE];
    EXPECT_EQ(ini_read("option", "TABSTEP", buf), 1);
    EXPECT_STREQ(buf, "8");
    EXPECT_EQ(ini_read_int("oPtIoN", "indent"), -3);

    // A new section goes to the end, a new key to the end of its own section.
    ini_write("Global", "MainWindow", "0 1 2");
    ini_write("Option", "Klammer", "1");
    EXPECT_EQ(read(profile()), "[Option]\r\nTabStep=8\r\nIndent=-3\r\nKlammer=1\r\n[Global]\r\nMainWindow=0 1 2\r\n");
}

TEST_F(ProfileIni, ReadsAreCutToSeventyNineAndMissingKeysAreEmpty) {
    char buf[INI_BUF_SIZE + 20];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(ini_read("Nowhere", "Nothing", buf), 0);  // no file yet
    EXPECT_STREQ(buf, "");

    std::string longValue(200, 'v');
    longValue[78] = 'L';
    ini_write("S", "Long", longValue.c_str());
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(ini_read("S", "Long", buf), 79);
    EXPECT_EQ(std::string(buf), longValue.substr(0, 79));
    EXPECT_EQ(buf[78], 'L');
    for (size_t i = INI_BUF_SIZE; i < sizeof buf; ++i) EXPECT_EQ(buf[i], '#') << "byte " << i << " written";

    EXPECT_EQ(ini_read("S", "Other", buf), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(ini_read("T", "Long", buf), 0);
    EXPECT_STREQ(buf, "");
}

TEST_F(ProfileIni, SurroundingQuotesAreStrippedOnRead) {
    struct Row { const char* stored; const char* read; };
    static const Row rows[] = {
        {"\"a b \"", "a b "}, {"'x'", "x"}, {"\"abc'", "\"abc'"}, {"say \"hi\"", "say \"hi\""}, {"\"", "\""},
    };
    for (const Row& r : rows) {
        ini_write("S", "K", r.stored);
        char buf[INI_BUF_SIZE];
        EXPECT_EQ(ini_read("S", "K", buf), static_cast<int>(std::strlen(r.read)));
        EXPECT_STREQ(buf, r.read) << r.stored;
        EXPECT_NE(read(profile()).find(std::string("K=") + r.stored + "\r\n"), std::string::npos);  // the file keeps them
    }
}

TEST_F(ProfileIni, NumbersAreReadFromTheFirstNineteenCharacters) {
    EXPECT_EQ(ini_read_int("Option", "Missing"), 0);
    struct Case {
        const char* value;
        int expected;
    };
    const Case cases[] = {
        {"  42x", 42},
        {"-17", -17},
        {"+5", 5},
        {"abc", 0},
        {"", 0},
        {"0000000000000000001234", 1},  // only "0000000000000000001" is read
        {"99999999999999", INT_MAX},    // clamped, never undefined
        {"-99999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        ini_write("Option", "N", c.value);
        EXPECT_EQ(ini_read_int("Option", "N"), c.expected) << "value \"" << c.value << "\"";
    }
}

TEST_F(ProfileIni, WithoutAProfilePathNothingIsStored) {
    ini_set_file("");
    ini_write("S", "K", "v");
    char buf[INI_BUF_SIZE];
    EXPECT_EQ(ini_read("S", "K", buf), 0);
    EXPECT_FALSE(fs::exists(profile()));
}

TEST_F(ProfileIni, ANamedFileIsUsedForOneCallAndTheProfileStaysInForce) {
    ini_write("Option", "TabStep", "4");
    ini_write_file("Other.ini", "Window", "InUse0", "1");
    EXPECT_EQ(read(path("Other.ini")), "[Window]\r\nInUse0=1\r\n");  // a bare name lies in the ini directory
    EXPECT_EQ(headless_ini_path(), profile());

    // The next plain calls go to the profile again, not to the named file.
    ini_write("Option", "Indent", "3");
    EXPECT_EQ(read(profile()), "[Option]\r\nTabStep=4\r\nIndent=3\r\n");
    EXPECT_EQ(read(path("Other.ini")), "[Window]\r\nInUse0=1\r\n");

    char buf[INI_BUF_SIZE];
    EXPECT_EQ(ini_read_file("Other.ini", "window", "INUSE0", buf), 1);
    EXPECT_STREQ(buf, "1");
    EXPECT_EQ(ini_read_file("Other.ini", "Option", "TabStep", buf), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(ini_read("Option", "TabStep", buf), 1);
    EXPECT_STREQ(buf, "4");
    EXPECT_EQ(headless_ini_path(), profile());

    // A value longer than an ordinary one is read in full with a larger buffer,
    // and cut to size - 1 characters with a smaller one.
    const std::string longValue = "0 1 -32000 -32000 -2147483648 -2147483648 2147483647 2147483647 -2147483648 1";
    ini_write_file("Other.ini", "Window", "Position0", (longValue + "234567").c_str());
    char wide[PLACEMENT_TEXT_SIZE];
    EXPECT_EQ(ini_read_file("Other.ini", "Window", "Position0", wide, sizeof wide), 83);
    EXPECT_EQ(std::string(wide), longValue + "234567");
    EXPECT_EQ(ini_read_file("Other.ini", "Window", "Position0", buf), 79);
    char small[4];
    EXPECT_EQ(ini_read_file("Other.ini", "Window", "Position0", small, sizeof small), 3);
    EXPECT_STREQ(small, "0 1");

    // No file name: nothing read, nothing written, the profile untouched.
    const std::string before = read(profile());
    ini_write_file("", "Option", "TabStep", "9");
    ini_write_file(nullptr, "Option", "TabStep", "9");
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(ini_read_file("", "Option", "TabStep", buf), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(read(profile()), before);
    EXPECT_EQ(headless_ini_path(), profile());

    // The profile's name in another case is the profile, under its own spelling.
    ini_write_file("Y8TEST.INI", "Window", "InUse0", "1");
    EXPECT_EQ(ini_read("window", "inuse0", buf), 1);
    std::vector<std::string> names;  // as the directory spells them, on any file system
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Other.ini", "Y8Test.ini"}));
    EXPECT_EQ(ini_read_file("y8test.ini", "Option", "TabStep", buf), 1);
    EXPECT_STREQ(buf, "4");

    // Without a profile the named file still works, and no profile follows it.
    ini_set_file("");
    ini_write_file("Other.ini", "Window", "InUse1", "0");
    EXPECT_EQ(ini_read_file("Other.ini", "Window", "InUse1", buf), 1);
    EXPECT_STREQ(headless_ini_path(), "");
}

// ---------------------------------------------------------------------------
// The private-profile file itself
// ---------------------------------------------------------------------------

using IniFile = ProfileTest;

TEST_F(IniFile, ReadsHandWrittenFilesAsTheSystemDoes) {
    const std::string file = path("hand.ini");
    write(file,
          "; settings\n"
          "top=before any section\n"
          "[ Alpha ]\n"
          "  Key One  =  spaced value  \r\n"
          "NoValue\n"
          "; note=not a key\n"
          "dup=first\n"
          "dup=second\n"
          "\n"
          "[Beta]\n"
          "k=b\n"
          "[alpha]\n"
          "late=in a second section of the same name\n");
    char buf[64];
    EXPECT_EQ(inifile_get(file.c_str(), "Alpha", "key one", buf, sizeof buf), 12);
    EXPECT_STREQ(buf, "spaced value");
    EXPECT_EQ(inifile_get(file.c_str(), " ALPHA ", " Key One ", buf, sizeof buf), 12);
    EXPECT_EQ(inifile_get(file.c_str(), "Alpha", "NoValue", buf, sizeof buf), 0);
    inifile_get(file.c_str(), "Alpha", "dup", buf, sizeof buf);
    EXPECT_STREQ(buf, "first");
    inifile_get(file.c_str(), "beta", "K", buf, sizeof buf);
    EXPECT_STREQ(buf, "b");
    // Only the first section of a name counts; comments are no keys.
    EXPECT_EQ(inifile_get(file.c_str(), "Alpha", "late", buf, sizeof buf), 0);
    EXPECT_EQ(inifile_get(file.c_str(), "Alpha", "; note", buf, sizeof buf), 0);
    EXPECT_EQ(inifile_get(file.c_str(), "Gamma", "k", buf, sizeof buf), 0);

    // Buffers of one byte and of none.
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(inifile_get(file.c_str(), "Beta", "k", buf, 1), 0);
    EXPECT_EQ(buf[0], '\0');
    buf[0] = '#';
    EXPECT_EQ(inifile_get(file.c_str(), "Beta", "k", buf, 0), 0);
    EXPECT_EQ(buf[0], '#');
}

TEST_F(IniFile, WritingTouchesOnlyTheOneLine) {
    const std::string file = path("keep.ini");
    const std::string before =
        "; comment stays\n"
        "[A]\n"
        "  Width = 10\n"
        "x=1\n"
        "\n"
        "\n"
        "[B]\n"
        "y=2";  // the last line has no line end
    write(file, before);

    ASSERT_EQ(inifile_put(file.c_str(), "a", "WIDTH", "20"), 0);
    EXPECT_EQ(read(file), "; comment stays\n[A]\nWidth=20\r\nx=1\n\n\n[B]\ny=2");

    // A new key follows the section's last filled line, before its blank lines.
    ASSERT_EQ(inifile_put(file.c_str(), "A", "z", "3"), 0);
    EXPECT_EQ(read(file), "; comment stays\n[A]\nWidth=20\r\nx=1\nz=3\r\n\n\n[B]\ny=2");

    // After an unterminated last line a line end comes first.
    ASSERT_EQ(inifile_put(file.c_str(), "B", "w", "4"), 0);
    EXPECT_EQ(read(file), "; comment stays\n[A]\nWidth=20\r\nx=1\nz=3\r\n\n\n[B]\ny=2\r\nw=4\r\n");

    // An empty section gets its first key right after the header.
    write(file, "[Empty]\r\n\r\n[Next]\r\n");
    ASSERT_EQ(inifile_put(file.c_str(), "empty", "k", "v"), 0);
    EXPECT_EQ(read(file), "[Empty]\r\nk=v\r\n\r\n[Next]\r\n");
}

TEST_F(IniFile, RefusesWhatCannotStandOnOneLine) {
    const std::string file = path("refuse.ini");
    const std::string before = "[S]\r\nk=v\r\n";
    write(file, before);
    EXPECT_EQ(inifile_put(file.c_str(), "S", "k", "two\r\nlines"), -1);
    EXPECT_EQ(inifile_put(file.c_str(), "S", "k", "new\nline"), -1);
    EXPECT_EQ(inifile_put(file.c_str(), "S", "a=b", "v"), -1);
    EXPECT_EQ(inifile_put(file.c_str(), "S", "", "v"), -1);
    EXPECT_EQ(inifile_put(file.c_str(), "S", "[X]", "v"), -1);
    EXPECT_EQ(inifile_put(file.c_str(), "S]x", "k", "v"), -1);
    EXPECT_EQ(inifile_put(file.c_str(), "S", "k", nullptr), -1);
    EXPECT_EQ(read(file), before);
    // A file in a directory that does not exist cannot be written.
    EXPECT_EQ(inifile_put(path("missing/dir.ini").c_str(), "S", "k", "v"), -1);
}

// ---------------------------------------------------------------------------
// Installing the profile from a template
// ---------------------------------------------------------------------------

using ProfileInstall = ProfileTest;

TEST_F(ProfileInstall, CopiesTheTemplateOnlyWhenTheProfileIsMissing) {
    fs::create_directories(dir_ / "prog");
    const std::string templ = path("prog/Y8Test.ini");
    write(templ, "[Option]\r\nTabStep=4\r\n");

    // No template: nothing happens.
    EXPECT_EQ(ini_install(path("prog/Absent.ini").c_str()), 0);
    EXPECT_FALSE(fs::exists(path("Absent.ini")));

    EXPECT_EQ(ini_install(templ.c_str()), 1);
    EXPECT_EQ(read(profile()), "[Option]\r\nTabStep=4\r\n");
    EXPECT_EQ(ini_read_int("Option", "TabStep"), 4);

    // An existing profile is never replaced.
    ini_write("Option", "TabStep", "6");
    const std::string changed = read(profile());
    EXPECT_EQ(ini_install(templ.c_str()), 0);
    EXPECT_EQ(read(profile()), changed);

    // A profile path with a directory installs into that directory.
    fs::create_directories(dir_ / "other");
    ini_set_file(path("other/Y8Test.ini").c_str());
    EXPECT_EQ(ini_install(templ.c_str()), 1);
    EXPECT_EQ(read(path("other/Y8Test.ini")), "[Option]\r\nTabStep=4\r\n");

    // A target path beyond the limit is refused, not cut.
    std::string deep = dirText_ + std::string(FILE_PATH_MAX, 'd') + "/";
    headless_set_ini_dir(deep.c_str());
    ini_set_file("Y8Test.ini");
    EXPECT_EQ(ini_install(templ.c_str()), -1);
}

// ---------------------------------------------------------------------------
// Command-line words
// ---------------------------------------------------------------------------

TEST(ProfileArgs, QuotedWordsKeepTheirBlanks) {
    headless_profile_reset();
    headless_set_command_line("C:\\Programme\\y8.exe \"C:\\Eigene Dateien\\brief.txt\"  plain.c");
    ASSERT_EQ(arg_count(), 3);
    EXPECT_STREQ(arg_value(0), "C:\\Programme\\y8.exe");
    EXPECT_STREQ(arg_value(1), "C:\\Eigene Dateien\\brief.txt");
    EXPECT_STREQ(arg_value(2), "plain.c");
    EXPECT_STREQ(arg_value(3), "");
    EXPECT_STREQ(arg_value(-1), "");

    // A split line stands in for the program's until the words are reset.
    EXPECT_EQ(arg_split("a b"), 2);
    EXPECT_EQ(arg_count(), 2);
    arg_reset();
    EXPECT_EQ(arg_count(), 3);
    headless_set_command_line("x");
    EXPECT_EQ(arg_count(), 1);
    headless_profile_reset();
    EXPECT_EQ(arg_count(), 0);
}

TEST(ProfileArgs, WordBoundaries) {
    struct Case {
        const char* line;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"", {}},
        {" \t\r\n", {}},
        {"  lead\ttab\r\nend  ", {"lead", "tab", "end"}},
        {"\"unclosed quote runs to the end", {"unclosed quote runs to the end"}},
        {"a \"\" b", {"a", "", "b"}},
        {"\"x y\"z w", {"x y", "z", "w"}},  // the closing quote ends the word
        {"-l:120 -s\"a b\" f", {"-l:120", "-s\"a", "b\"", "f"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        ASSERT_EQ(arg_split(c.line), static_cast<int>(c.words.size()));
        ASSERT_EQ(arg_count(), static_cast<int>(c.words.size()));
        for (size_t i = 0; i < c.words.size(); ++i) EXPECT_EQ(arg_value(static_cast<int>(i)), c.words[i]);
    }
    EXPECT_EQ(arg_split(nullptr), 0);
    arg_reset();
}

TEST(ProfileArgs, TwentyWordsAtMostAndTheLineIsCutAtAThousandCharacters) {
    std::string line;
    for (int i = 0; i < 25; ++i) line += "w" + std::to_string(i) + " ";
    EXPECT_EQ(arg_split(line.c_str()), 20);
    EXPECT_EQ(arg_count(), 20);
    EXPECT_STREQ(arg_value(19), "w19");
    EXPECT_STREQ(arg_value(20), "");
    EXPECT_STREQ(arg_value(22), "");

    // 3 words of 400 characters: the third is cut where the copy ends.
    std::string big = std::string(400, 'a') + " " + std::string(400, 'b') + " " + std::string(400, 'c');
    ASSERT_EQ(arg_split(big.c_str()), 3);
    EXPECT_EQ(std::strlen(arg_value(0)), 400u);
    EXPECT_EQ(std::strlen(arg_value(1)), 400u);
    EXPECT_EQ(std::string(arg_value(2)), std::string(1000 - 802, 'c'));

    // A quote opened before the cut runs to the cut.
    std::string quoted = std::string(990, 'x') + " \"open and long " + std::string(100, 'y') + "\" z";
    ASSERT_EQ(arg_split(quoted.c_str()), 2);
    EXPECT_EQ(std::string(arg_value(1)), "open and");

    // A cut in a run of blanks leaves no empty word behind.
    std::string blanks = std::string(998, 'q') + std::string(50, ' ') + "r";
    EXPECT_EQ(arg_split(blanks.c_str()), 1);
    arg_reset();
}

// ---------------------------------------------------------------------------
// Placement values
// ---------------------------------------------------------------------------

TEST(ProfilePlacement, FormatAndParseRoundTrip) {
    const PlacementValues maximized{2, 3, -1, -1, -8, -8, 120, 80, 720, 520};
    char text[PLACEMENT_TEXT_SIZE];
    EXPECT_EQ(placement_format(maximized, text, sizeof text), 30);
    EXPECT_STREQ(text, "2 3 -1 -1 -8 -8 120 80 720 520");
    PlacementValues back{};
    ASSERT_TRUE(placement_parse(text, &back));
    EXPECT_EQ(std::memcmp(&back, &maximized, sizeof back), 0);

    // The widest value still fits and reads back.
    const PlacementValues extreme{INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN,
                                  INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN};
    EXPECT_EQ(placement_format(extreme, text, sizeof text), 10 * 11 + 9);
    ASSERT_TRUE(placement_parse(text, &back));
    EXPECT_EQ(back.bottom, INT_MIN);

    // Too small a buffer: nothing but an empty text.
    char small[10];
    EXPECT_EQ(placement_format(maximized, small, sizeof small), -1);
    EXPECT_STREQ(small, "");

    // Tabs and extra blanks between, text after the tenth number.
    ASSERT_TRUE(placement_parse("  0\t1  2 3 4 5 6 7 8 9 trailing", &back));
    EXPECT_EQ(back.flags, 0);
    EXPECT_EQ(back.bottom, 9);
}

TEST(ProfilePlacement, IncompleteOrOversizedValuesAreNoPlacement) {
    const PlacementValues sentinel{7, 7, 7, 7, 7, 7, 7, 7, 7, 7};
    const char* bad[] = {
        "",
        "   ",
        "0 1 2 3 4 5 6 7 8",            // nine numbers
        "0 1 2 3 4 x 6 7 8 9",
        "0 1 2 3 4 5 6 7 8 99999999999",  // beyond int
        "0 1 2 3 4 5 6 7 8 -",
    };
    for (const char* text : bad) {
        PlacementValues values = sentinel;
        EXPECT_FALSE(placement_parse(text, &values)) << '"' << text << '"';
        EXPECT_EQ(std::memcmp(&values, &sentinel, sizeof values), 0) << "changed by \"" << text << '"';
    }
    PlacementValues values = sentinel;
    EXPECT_FALSE(placement_parse(nullptr, &values));
}

TEST(ProfilePlacement, ResultTellsMinimizedAndMaximized) {
    EXPECT_EQ(placement_result(2), 1);
    EXPECT_EQ(placement_result(3), 2);
    for (int other : {1, 4, -1}) EXPECT_EQ(placement_result(other), 0) << other;
}

// ---------------------------------------------------------------------------
// Starting programs and documents
// ---------------------------------------------------------------------------

using ProfileStart = ProfileTest;

TEST_F(ProfileStart, RunProgramTurnsSlashesAndAddsNoShell) {
    headless_set_start_result(33);
    EXPECT_EQ(run_program("C:/Programme/y8.exe C:/Texte/a&b.txt"), 33);
    headless_set_start_result(2);
    EXPECT_EQ(run_program("viewer -K=strcpy"), 2);
    ASSERT_EQ(headless_started_programs().size(), 2u);
    EXPECT_EQ(headless_started_programs()[0], "C:\\Programme\\y8.exe C:\\Texte\\a&b.txt");
    EXPECT_EQ(headless_started_programs()[1], "viewer -K=strcpy");

    EXPECT_EQ(run_program(""), START_REFUSED);
    EXPECT_EQ(run_program(nullptr), START_REFUSED);
    EXPECT_EQ(run_program(std::string(START_LINE_MAX + 1, 'p').c_str()), START_REFUSED);
    EXPECT_EQ(headless_started_programs().size(), 2u);
    EXPECT_TRUE(headless_shell_calls().empty());
}

TEST_F(ProfileStart, OpenDocumentUsesTheFilesDirectory) {
    headless_set_shell_result(42);
    EXPECT_EQ(open_document("C:/Texte/plan.sg"), 42);
    EXPECT_EQ(open_document("C:/plan.sg"), 42);
    EXPECT_EQ(open_document("plan.sg"), 42);
    ASSERT_EQ(headless_shell_calls().size(), 3u);
    const HeadlessShellCall& first = headless_shell_calls()[0];
    EXPECT_EQ(first.file, "C:\\Texte\\plan.sg");
    EXPECT_EQ(first.params, "");
    EXPECT_EQ(first.dir, "C:\\Texte");
    EXPECT_TRUE(first.mainOwner);
    EXPECT_EQ(headless_shell_calls()[1].dir, "C:\\");  // the root keeps its separator
    EXPECT_EQ(headless_shell_calls()[2].dir, "");

    EXPECT_EQ(open_document(""), START_REFUSED);
    EXPECT_EQ(open_document(std::string(FILE_PATH_MAX + 1, 'n').c_str()), START_REFUSED);
    EXPECT_EQ(headless_shell_calls().size(), 3u);
}

TEST_F(ProfileStart, ShellRunPassesHostileNamesAsOneQuotedArgument) {
    struct Case {
        const char* name;
        const char* passed;
    };
    const Case cases[] = {
        {"C:/Texte/a&b.txt", "\"C:/Texte/a&b.txt\""},  // the parameter is passed as it is
        {"x|y", "\"x|y\""},
        {"(c)^d", "\"(c)^d\""},
        {"a b<c>d.txt", "\"a b<c>d.txt\""},
        {"&& del *.*", "\"&& del *.*\""},
        {"C:\\dir\\", "\"C:\\dir\\\\\""},  // a trailing backslash cannot escape the quote
    };
    for (const Case& c : cases) {
        headless_profile_reset();
        EXPECT_EQ(shell_run("C:/Projekt/lint.bat", c.name, "C:/Projekt/src/"), 42) << c.name;
        ASSERT_EQ(headless_shell_calls().size(), 1u) << c.name;
        const HeadlessShellCall& call = headless_shell_calls()[0];
        EXPECT_EQ(call.file, "C:\\Projekt\\lint.bat");
        EXPECT_EQ(call.params, c.passed);
        EXPECT_EQ(call.dir, "C:\\Projekt\\src");
        EXPECT_FALSE(call.mainOwner);
    }

    // What cannot be passed safely starts nothing at all.
    const char* refused[] = {"100%.txt", "%PATH%", "a\"b.txt", "a\" & calc & \"", "line\r\nbreak", "tab\there",
                             "bell\x07", "del\x7F"};
    for (const char* name : refused) {
        headless_profile_reset();
        EXPECT_EQ(shell_run("C:/Projekt/lint.bat", name, "C:/Projekt"), START_REFUSED) << name;
        EXPECT_TRUE(headless_shell_calls().empty()) << name;
    }

    // No parameter, no directory: passed empty.
    headless_profile_reset();
    EXPECT_EQ(shell_run("lint.bat", "", ""), 42);
    EXPECT_EQ(shell_run("lint.bat", nullptr, nullptr), 42);
    ASSERT_EQ(headless_shell_calls().size(), 2u);
    EXPECT_EQ(headless_shell_calls()[0].params, "");
    EXPECT_EQ(headless_shell_calls()[1].dir, "");

    // The system's failure comes back as it is.
    headless_set_shell_result(2);
    EXPECT_EQ(shell_run("gone.bat", "a", "C:\\"), 2);
    EXPECT_EQ(headless_shell_calls().back().dir, "C:\\");
    EXPECT_EQ(shell_run("", "a", ""), START_REFUSED);
    EXPECT_EQ(shell_run("lint.bat", "a", std::string(FILE_PATH_MAX + 1, 'd').c_str()), START_REFUSED);
    EXPECT_EQ(headless_shell_calls().size(), 3u);
}

TEST(ProfileQuote, WordsAreAppendedOneArgumentEach) {
    char out[21] = "";  // room for 16 characters, then one short of 21 and a NUL
    EXPECT_EQ(shell_quote_append(out, sizeof out, "a b"), 0);
    EXPECT_EQ(shell_quote_append(out, sizeof out, ""), 0);
    EXPECT_EQ(shell_quote_append(out, sizeof out, "x\\\\"), 0);
    EXPECT_STREQ(out, "\"a b\" \"\" \"x\\\\\\\\\"");  // "a b" "" "x\\\\"
    // It must fit with its terminator; else out stays as it was.
    const std::string before = out;
    EXPECT_EQ(shell_quote_append(out, sizeof out, "zz"), -1);
    EXPECT_EQ(out, before);
    char exact[5] = "";
    EXPECT_EQ(shell_quote_append(exact, sizeof exact, "abc"), -1);
    EXPECT_EQ(shell_quote_append(exact, sizeof exact, "ab"), 0);
    EXPECT_STREQ(exact, "\"ab\"");
    // Characters 128-255 are ordinary text.
    char umlaut[16] = "";
    EXPECT_EQ(shell_quote_append(umlaut, sizeof umlaut, "\xE4rger.txt"), 0);
    EXPECT_STREQ(umlaut, "\"\xE4rger.txt\"");
}

TEST(ProfileQuote, DirectoryArguments) {
    char out[FILE_PATH_MAX + 1];
    struct Case {
        const char* dir;
        const char* expected;
    };
    const Case cases[] = {
        {"C:/Projekt/src/", "C:\\Projekt\\src"}, {"C:\\Projekt\\", "C:\\Projekt"}, {"C:\\Projekt", "C:\\Projekt"},
        {"C:/", "C:\\"},  {"\\", "\\"}, {"/", "\\"}, {"", ""}, {"rel/dir/", "rel\\dir"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(shell_dir_arg(out, c.dir), 0) << c.dir;
        EXPECT_STREQ(out, c.expected) << c.dir;
    }
    EXPECT_EQ(shell_dir_arg(out, std::string(FILE_PATH_MAX + 1, 'd').c_str()), -1);
    EXPECT_STREQ(out, "");
}

// ---------------------------------------------------------------------------
// The host's clipboard and posted commands, which other modules' tests rely on
// ---------------------------------------------------------------------------

TEST(ProfileHost, ClipboardAndPostedCommands) {
    headless_profile_reset();
    char buf[300];
    std::memset(buf, '#', sizeof buf);
    clip_get(buf, 250);
    EXPECT_STREQ(buf, "");
    EXPECT_FALSE(headless_clipboard_has_text());

    std::string text(1000, 'c');
    text[249] = 'E';
    clip_put(text.c_str());
    clip_get(buf, 250);
    EXPECT_EQ(std::strlen(buf), 250u);
    EXPECT_EQ(buf[249], 'E');
    clip_get(buf, 0);
    EXPECT_STREQ(buf, "");
    headless_clipboard_clear();
    clip_get(buf, 250);
    EXPECT_STREQ(buf, "");

    static const char kText[] = "typed";
    plat_post_command(1009, 0);
    plat_post_command(1402, reinterpret_cast<std::intptr_t>(kText));
    ASSERT_EQ(headless_posted_commands().size(), 2u);
    EXPECT_EQ(headless_posted_commands()[0].id, 1009);
    EXPECT_EQ(reinterpret_cast<const char*>(headless_posted_commands()[1].lParam), kText);
    headless_profile_reset();
    EXPECT_TRUE(headless_posted_commands().empty());
}

}  // namespace
