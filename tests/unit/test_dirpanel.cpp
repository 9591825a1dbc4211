// The directory panel's logic on real directories: what is read and hidden,
// the order, the list lines, the filter and its typed keys, and what choosing
// a line does.
#include "document/dirpanel.h"

#include <gtest/gtest.h>

#include "file_bytes.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/headless.h"
#include "host/headless_profile.h"
#include "shell/config.h"
#include "support/profile.h"

namespace fs = std::filesystem;

namespace {

void collect(const char* line, void* user) { static_cast<std::vector<std::string>*>(user)->push_back(line); }

class DirectoryPanel : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = freshTempDir("y8_dirpanel_");
        fs::create_directories(dir_ / "list");
        home_ = fs::current_path();
        const std::string iniDir = dir_.string() + "/";
        headless_set_ini_dir(iniDir.c_str());
        ini_set_file("Y8.ini");
        ini_write(CFG_SECTION_ZUSAETZE, "Ext0", "BAK");
        extensionsForget();
        extensionsInstall();
        dirFilterSet("");
    }
    void TearDown() override {
        dirRelease();
        dirFilterSet("");
        extensionsForget();
        headless_reset();
        fs::current_path(home_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // A file of size bytes in the listed directory, with time t when given.
    void file(const std::string& name, std::size_t size, const TimeRecord* t = nullptr) const {
        const std::string p = (dir_ / "list" / name).string();
        std::ofstream(p, std::ios::binary) << std::string(size, 'x');
        if (t) {
            ASSERT_EQ(set_file_time(p.c_str(), t), 0);
        }
    }
    std::string listDir() const { return (dir_ / "list").string(); }
    static std::vector<std::string> lines(const char* current = "") {
        std::vector<std::string> out;
        dirFill(current, collect, &out);
        return out;
    }
    // The line of the entry whose name is name, -1 when it is not listed.
    static int lineOf(const char* name) {
        for (int i = 0; i < dirEntryCount(); ++i)
            if (std::strcmp(dirEntry(i)->name, name) == 0) return dirEntry(i)->listIndex;
        return -1;
    }
    fs::path dir_;
    fs::path home_;
};

std::string pad(const std::string& s, std::size_t width) { return s + std::string(width - s.size(), ' '); }

TEST_F(DirectoryPanel, ReadsHidesSortsAndShowsSizeAndTime) {
    const TimeRecord t{124, 3, 5, 7, 9, 30};
    file("a10.txt", 1536, &t);
    file("a9.txt", 511, &t);
    file("b.c", 512, &t);
    file("README", 0, &t);
    file("old.bak", 10, &t);  // hidden by the pattern BAK
    file("Old.Bak", 10, &t);
    fs::create_directories(dir_ / "list" / "zeta");
    fs::create_directories(dir_ / "list" / "Alpha");

    EXPECT_EQ(dirRead((listDir() + "\\").c_str()), 6);
    EXPECT_EQ(std::string(dirPanelDir()), listDir());
    ASSERT_EQ(dirEntryCount(), 7);
    EXPECT_EQ(dirEntry(0)->kind, DIR_KIND_PARENT);
    EXPECT_EQ(fs::path(dirEntry(0)->name), dir_ / "");

    const std::string time = "05.03.2024 07:09";
    const std::vector<std::string> expected{
        "..", "Alpha\\", "zeta\\",
        pad("README", 29) + "0  " + time,   // no extension sorts first
        pad("b.c", 29) + "1  " + time,      // C before TXT; 512 bytes round up
        pad("a9.txt", 29) + "0  " + time,   // 511 bytes round down
        pad("a10.txt", 29) + "2  " + time,  // 9 before 10
    };
    EXPECT_EQ(lines(), expected);
    EXPECT_EQ(dirFirstFileIndex(), 3);
    EXPECT_EQ(dirSelectIndex(), -1);
    lines("C:\\elsewhere\\A9.TXT");  // the document's name, case ignored
    EXPECT_EQ(dirSelectIndex(), 5);
}

TEST_F(DirectoryPanel, AListLineKeepsTheDigitsAndSizesDoNotWrap) {
    DirEntry e{};
    e.kind = DIR_KIND_FILE;
    std::strcpy(e.name, "a_name_of_thirty_two_characters!");
    e.size = 0xFFFFFFFFu;  // 4194304 KB
    e.time = TimeRecord{99, 12, 31, 23, 59, 0};
    char line[DIR_LINE_MAX + 1];
    dirListLine(e, line);
    // The name takes the blanks only: where it meets the digits its characters are lost.
    EXPECT_EQ(std::string(line), "a_name_of_thirty_two_ch4194304s!31.12.1999 23:59");
    e.size = 1023;
    std::strcpy(e.name, "x");
    dirListLine(e, line);
    EXPECT_EQ(std::string(line).substr(0, 34), pad("x", 29) + "1  31");
}

TEST_F(DirectoryPanel, TypedKeysFilterFilesOnly) {
    for (const char* n : {"main.c", "Tabelle.h", "prog.H", "x.hpp", "Makros.txt", "note.txt"}) file(n, 1);
    fs::create_directories(dir_ / "list" / "inc");
    dirRead(listDir().c_str());

    for (char ch : std::string("*.H")) EXPECT_TRUE(dirFilterKey(ch));
    EXPECT_STREQ(dirFilterText(), "*.h");
    EXPECT_EQ(lines().size(), 4u);  // the parent and the directory are never filtered
    EXPECT_NE(lineOf("prog.H"), -1);
    EXPECT_NE(lineOf("Tabelle.h"), -1);
    EXPECT_EQ(lineOf("x.hpp"), -1);
    EXPECT_EQ(dirFirstFileIndex(), 2);

    for (int i = 0; i < 3; ++i) EXPECT_TRUE(dirFilterKey(8));
    EXPECT_TRUE(dirFilterKey(8));  // Backspace on an empty filter is still the filter's
    EXPECT_FALSE(dirFilterKey(13));
    EXPECT_FALSE(dirFilterKey(0));
    dirFilterKey('m');
    dirFilterKey('A');
    lines();
    EXPECT_NE(lineOf("main.c"), -1);
    EXPECT_NE(lineOf("Makros.txt"), -1);
    EXPECT_EQ(lineOf("note.txt"), -1);
    EXPECT_EQ(lineOf("Tabelle.h"), -1);

    for (int i = 0; i < 30; ++i) dirFilterKey('z');
    EXPECT_EQ(std::strlen(dirFilterText()), static_cast<std::size_t>(DIR_FILTER_MAX));
    EXPECT_EQ(lines(), (std::vector<std::string>{"..", "inc\\"}));
    EXPECT_EQ(dirFirstFileIndex(), -1);
    dirFilterSet("   ma   ");  // the field's text, trimmed
    EXPECT_STREQ(dirFilterText(), "ma");
}

TEST_F(DirectoryPanel, ChoosingOpensTheEntryBehindTheLine) {
    // A name long enough to run into the size digits still opens itself.
    const std::string longName = "a_long_name_that_meets_the_digits.txt";
    file(longName, 3 * 1024 * 1024);
    file("short.txt", 1);
    fs::create_directories(dir_ / "list" / "sub");
    file("sub_file.txt", 1);
    dirRead(listDir().c_str());
    std::vector<std::string> shown = lines();
    const int line = lineOf(longName.c_str());
    ASSERT_GE(line, 0);
    EXPECT_EQ(shown[static_cast<std::size_t>(line)].find(longName), std::string::npos);

    char path[FILE_PATH_MAX + 1];
    ASSERT_EQ(dirChoose(line, path), DirChoice::OpenFile);
    std::string expected = listDir() + "/" + longName;
    for (char& c : expected) c = c == '/' ? '\\' : c;
    EXPECT_EQ(std::string(path), expected);
    EXPECT_TRUE(file_exists(path));
    EXPECT_EQ(dirChoose(99, path), DirChoice::None);
    EXPECT_STREQ(path, "");

    // A directory becomes the current directory and is read; the parent leads back.
    ASSERT_EQ(dirChoose(lineOf("sub\\"), path), DirChoice::Read);
    EXPECT_EQ(fs::path(dirPanelDir()), dir_ / "list" / "sub");
    EXPECT_EQ(fs::current_path(), dir_ / "list" / "sub");
    EXPECT_EQ(lines(), std::vector<std::string>{".."});
    ASSERT_EQ(dirChoose(0, path), DirChoice::Read);
    EXPECT_EQ(fs::path(dirPanelDir()), dir_ / "list");
    lines();
    EXPECT_NE(lineOf("short.txt"), -1);
}

TEST_F(DirectoryPanel, ATypedDirectoryIsResolvedOnceFromTheCurrentDirectory) {
    fs::create_directories(dir_ / "list" / "sub");
    std::ofstream((dir_ / "list" / "sub" / "inner.txt").string()) << "x";
    fs::current_path(dir_ / "list");
    char base[FILE_PATH_MAX + 1];
    ASSERT_EQ(get_cwd(base), 0);
    const char sep = std::strchr(base, '\\') ? '\\' : '/';
    const std::string list = base;
    const std::string sub = list + sep + "sub";
    const std::string parent = list.substr(0, list.find_last_of(sep));
    struct Row {
        std::string text;
        std::string full;  // "": refused
    };
    const Row rows[] = {
        {"sub", sub},
        {"  sub/  ", sub},
        {"sub/./../sub", sub},
        {"..", parent},
        {"../list/sub", sub},
        {sub + sep + "..", list},
        {"", ""},
        {"   ", ""},
        {std::string(FILE_PATH_MAX + 1, 's'), ""},
        {std::string(FILE_PATH_MAX - list.size(), 's'), ""},  // fits alone, not after the directory
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        char full[FILE_PATH_MAX + 1] = "x";
        EXPECT_EQ(dirResolve(row.text.c_str(), full), !row.full.empty());
        EXPECT_EQ(std::string(full), row.full);
    }

    // Typing reads the named directory, not one below it, and stays where it is.
    EXPECT_EQ(dirShow("sub"), 1);
    EXPECT_EQ(std::string(dirPanelDir()), sub);
    EXPECT_EQ(fs::current_path(), dir_ / "list");
    // Choosing it enters it; a name that is no directory changes nothing.
    EXPECT_TRUE(dirEnter("sub"));
    EXPECT_EQ(fs::current_path(), dir_ / "list" / "sub");
    EXPECT_FALSE(dirEnter("nowhere"));
    EXPECT_EQ(fs::current_path(), dir_ / "list" / "sub");
    EXPECT_EQ(std::string(dirPanelDir()), sub);
}

TEST_F(DirectoryPanel, AGoneDirectoryLeavesTheParentAlone) {
    file("a.txt", 1);
    dirRead(listDir().c_str());
    fs::remove_all(dir_ / "list");
    EXPECT_EQ(dirRead(listDir().c_str()), -1);
    EXPECT_EQ(lines(), std::vector<std::string>{".."});
    char path[FILE_PATH_MAX + 1];
    EXPECT_EQ(dirChoose(0, path), DirChoice::Read);  // the parent still exists
    EXPECT_EQ(fs::path(dirPanelDir()), dir_);
    EXPECT_EQ(dirRead(std::string(FILE_PATH_MAX + 1, 'x').c_str()), -1);
    EXPECT_EQ(fs::path(dirPanelDir()), dir_);  // too long: nothing changed
}

TEST_F(DirectoryPanel, ADirectoryWhosePathWouldNotFitIsLeftOut) {
    // A listed directory whose subdirectory's path has exactly FILE_PATH_MAX
    // characters: with its separator that would not be a path any more.
    const std::size_t nameLength = 40;
    const std::size_t prefix = listDir().size() + 1;
    ASSERT_LT(prefix + nameLength + 2, static_cast<std::size_t>(FILE_PATH_MAX));
    const fs::path deep = dir_ / "list" / std::string(FILE_PATH_MAX - prefix - nameLength - 1, 'p');
    fs::create_directories(deep / std::string(nameLength, 'd'));
    fs::create_directories(deep / std::string(nameLength - 1, 'e'));
    EXPECT_EQ(dirRead(deep.string().c_str()), 1);
    lines();
    EXPECT_EQ(lineOf((std::string(nameLength - 1, 'e') + "\\").c_str()), 1);
}

TEST_F(DirectoryPanel, TheFirstThousandReadAreKept) {
    for (int i = 0; i < 1005; ++i) file("f" + std::to_string(i) + ".txt", 0);
    for (int i = 0; i < 5; ++i) file("h" + std::to_string(i) + ".bak", 0);
    EXPECT_EQ(dirRead(listDir().c_str()), DIR_ENTRIES_MAX);
    ASSERT_EQ(dirEntryCount(), DIR_ENTRIES_MAX + 1);
    for (int i = 1; i < dirEntryCount(); ++i) {
        EXPECT_EQ(std::strstr(dirEntry(i)->name, ".bak"), nullptr);
        if (i > 1) {
            EXPECT_LT(dirEntryCompare(*dirEntry(i - 1), *dirEntry(i)), 0);
        }
    }
    EXPECT_EQ(lines().size(), static_cast<std::size_t>(DIR_ENTRIES_MAX + 1));
}

}  // namespace
