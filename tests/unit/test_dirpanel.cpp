// The directory panel on real directories: what is read and hidden, the order, the lines, the filter, choosing.
#include "document/dirpanel.h"

#include "editor_fixture.h"
#include "shell/config.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

class DirectoryPanel : public SettingsFixture {
  protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        fs::create_directories(dir_ / "list");
        ini_write(CFG_SECTION_ZUSAETZE, "Ext0", "BAK");
        extensionsForget();
        extensionsInstall();
        dirFilterSet("");
    }
    void TearDown() override {
        dirRelease();
        dirFilterSet("");
        extensionsForget();
        SettingsFixture::TearDown();
    }
    void file(const std::string& name, std::size_t size) const {
        const std::string p = (dir_ / "list" / name).string();
        writeBytes(p, std::string(size, 'x'));
        const TimeRecord t{124, 3, 5, 7, 9, 30};
        ASSERT_EQ(set_file_time(p.c_str(), &t), 0);
    }
    std::string listDir() const { return (dir_ / "list").string(); }
    static Lines lines(const char* current = "") {
        Lines out;
        auto add = [](const char* line, void* user) { static_cast<Lines*>(user)->push_back(line); };
        dirFill(current, add, &out);
        return out;
    }
    static int lineOf(const std::string& name) {  // -1 when it is not listed
        for (int i = 0; i < dirEntryCount(); ++i)
            if (name == dirEntry(i)->name) return dirEntry(i)->listIndex;
        return -1;
    }
};

// What is read, hidden, ordered and listed is held to a model by the panel's fuzz target; here a line's edge.
TEST(DirectoryPanelLine, ANameMeetingTheSizeIsOverwrittenAndTheSizeRoundedIn64Bits) {
    DirEntry e{};
    e.kind = DIR_KIND_FILE;
    std::strcpy(e.name, "a_name_of_thirty_two_characters!");
    e.size = 0xFFFFFFFFu;  // 4194304 KB
    e.time = TimeRecord{99, 12, 31, 23, 59, 0};
    char line[DIR_LINE_MAX + 1];
    dirListLine(e, line);
    EXPECT_STREQ(line, "a_name_of_thirty_two_ch4194304s!31.12.1999 23:59");  // the digits win
}

TEST_F(DirectoryPanel, TypedKeysFilterFilesOnly) {
    for (const char* n : {"main.c", "Tabelle.h", "prog.H", "x.hpp", "Makros.txt"}) file(n, 1);
    fs::create_directories(dir_ / "list" / "inc");
    dirRead(listDir().c_str());
    for (char ch : std::string("*.H")) EXPECT_TRUE(dirFilterKey(ch));
    EXPECT_STREQ(dirFilterText(), "*.h");
    EXPECT_EQ(lines().size(), 4u);  // the parent and the directory are never filtered
    EXPECT_EQ(lineOf("prog.H") * lineOf("Tabelle.h") * lineOf("x.hpp"), -6);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(dirFilterKey(8));  // Backspace, on an empty filter too
    EXPECT_FALSE(dirFilterKey(13));
    dirFilterKey('m');
    dirFilterKey('A');
    lines("C:\\elsewhere\\MAIN.C");
    EXPECT_EQ(lineOf("main.c") * lineOf("Makros.txt") * lineOf("Tabelle.h"), -6);
    EXPECT_EQ(dirSelectIndex(), lineOf("main.c"));  // the document's name, case ignored
    for (int i = 0; i < 30; ++i) dirFilterKey('z');
    EXPECT_EQ(lines(), (Lines{"..", "inc\\"}));
    EXPECT_EQ(std::make_pair(std::strlen(dirFilterText()), dirFirstFileIndex()),
              std::make_pair(static_cast<std::size_t>(DIR_FILTER_MAX), -1));
    dirFilterSet("   ma   ");  // the field's text, trimmed
    EXPECT_STREQ(dirFilterText(), "ma");
}

TEST_F(DirectoryPanel, ChoosingOpensTheEntryBehindTheLineOrEntersTheDirectory) {
    const std::string longName = "a_long_name_that_meets_the_digits.txt";
    file(longName, 3 * 1024 * 1024);
    fs::create_directories(dir_ / "list" / "sub");
    dirRead(listDir().c_str());
    const Lines shown = lines();
    const int line = lineOf(longName);
    EXPECT_EQ(shown.at(static_cast<std::size_t>(line)).find(longName), std::string::npos);  // overwritten on screen
    char path[FILE_PATH_MAX + 1];
    ASSERT_EQ(dirChoose(line, path), DirChoice::OpenFile);  // still the file behind the line
    EXPECT_EQ(std::string(path).substr(std::string(path).size() - longName.size() - 1), "\\" + longName);
    EXPECT_TRUE(file_exists(path));
    EXPECT_EQ(dirChoose(99, path), DirChoice::None);
    ASSERT_EQ(dirChoose(lineOf("sub\\"), path), DirChoice::Read);
    EXPECT_EQ(std::make_pair(fs::current_path(), lines()), std::make_pair(dir_ / "list" / "sub", Lines{".."}));
    ASSERT_EQ(dirChoose(0, path), DirChoice::Read);  // the parent leads back
    EXPECT_EQ(fs::path(dirPanelDir()), dir_ / "list");
    fs::current_path(dir_);  // a current directory cannot be removed on every system
    fs::remove_all(dir_ / "list");  // a gone directory leaves the parent alone
    EXPECT_EQ(dirRead(listDir().c_str()), -1);
    EXPECT_EQ(lines(), Lines{".."});
    EXPECT_EQ(dirChoose(0, path), DirChoice::Read);
    EXPECT_EQ(dirRead(std::string(FILE_PATH_MAX + 1, 'x').c_str()), -1);
    EXPECT_EQ(fs::path(dirPanelDir()), dir_);  // too long: nothing changed
}

TEST_F(DirectoryPanel, ATypedDirectoryIsResolvedOnceAndEnteredOnlyWhenChosen) {
    fs::create_directories(dir_ / "list" / "sub");
    writeBytes(dir_ / "list" / "sub" / "inner.txt", "x");
    fs::current_path(dir_ / "list");
    char base[FILE_PATH_MAX + 1];
    ASSERT_EQ(get_cwd(base), 0);
    const char sep = std::strchr(base, '\\') ? '\\' : '/';
    const std::string list = base;
    const std::string sub = list + sep + "sub";
    struct Row { std::string text; std::string full; };  // "": refused
    const Row rows[] = {
        {"  sub/  ", sub}, {"sub/./../sub", sub}, {"..", list.substr(0, list.find_last_of(sep))},
        {sub + sep + "..", list}, {"   ", ""}, {std::string(FILE_PATH_MAX + 1, 's'), ""},
        {std::string(FILE_PATH_MAX - list.size(), 's'), ""},  // fits alone, not after the directory
        {"\\\\srv\\share\\..\\x", "\\\\srv\\share\\x"}, {"C:/x/../y", "C:/y"},  // never above a share
        {"Q:name", "Q:name"},  // on another drive: from the system's directory of that drive
    };
    for (const Row& row : rows) {
        char full[FILE_PATH_MAX + 1] = "x";
        EXPECT_EQ(dirResolve(row.text.c_str(), full), !row.full.empty()) << row.text;
        EXPECT_EQ(std::string(full), row.full) << row.text;
    }
    EXPECT_EQ(dirShow("sub"), 1);  // typing reads it and stays where it is
    EXPECT_EQ(std::make_pair(std::string(dirPanelDir()), fs::current_path()), std::make_pair(sub, dir_ / "list"));
    EXPECT_TRUE(!dirEnter("nowhere") && dirEnter("sub"));
    EXPECT_EQ(fs::current_path(), dir_ / "list" / "sub");
}

TEST_F(DirectoryPanel, PathsThatWouldNotFitAreLeftOutAndTheFirstThousandAreKept) {
    const std::size_t prefix = listDir().size() + 1;  // a subdirectory's path of exactly FILE_PATH_MAX
    const fs::path deep = dir_ / "list" / std::string(FILE_PATH_MAX - prefix - 41, 'p');
    fs::create_directories(deep / std::string(40, 'd'));
    fs::create_directories(deep / std::string(39, 'e'));
    EXPECT_EQ(dirRead(deep.string().c_str()), 1);
    fs::remove_all(deep);
    for (int i = 0; i < 1005; ++i) file("f" + std::to_string(i) + ".txt", 0);
    for (int i = 0; i < 5; ++i) file("h" + std::to_string(i) + ".bak", 0);
    EXPECT_EQ(dirRead(listDir().c_str()), DIR_ENTRIES_MAX);
    for (int i = 2; i < dirEntryCount(); ++i) {
        ASSERT_EQ(std::strstr(dirEntry(i)->name, ".bak"), nullptr);
        ASSERT_LT(dirEntryCompare(*dirEntry(i - 1), *dirEntry(i)), 0);
    }
    EXPECT_EQ(lines().size(), static_cast<std::size_t>(DIR_ENTRIES_MAX + 1));
}

}  // namespace
