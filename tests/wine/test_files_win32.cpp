// The file layer's Win32 hooks under Wine: attributes through the system's own
// calls, the identity of a file by volume and file index, the one-step replace,
// and local file times with the daylight rule of the stamp's own date.
#include "support/devices.h"
#include "support/files.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::string time_text(const TimeRecord& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", 1900 + t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

class FilesWin32 : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("y8_files_win32_" + std::to_string(GetCurrentProcessId()));
        fs::create_directories(dir_);
        std::ofstream(dir_ / "w.txt") << "w";
        file_ = (dir_ / "w.txt").string();
        files_win32_install();
    }
    void TearDown() override {
        files_set_hooks(nullptr);
        for (const char* name : {"w.txt", "w2.txt"}) {
            SetFileAttributesA((dir_ / name).string().c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path dir_;
    std::string file_;
};

TEST_F(FilesWin32, AttributesGoThroughTheSystem) {
    ASSERT_EQ(set_file_attributes(file_.c_str(), FILE_ATTR_HIDDEN), 0);
    EXPECT_NE(GetFileAttributesA(file_.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_NE(file_attributes(file_.c_str()) & FILE_ATTR_HIDDEN, 0);
    EXPECT_NE(file_attributes(dir_.string().c_str()) & FILE_ATTR_DIRECTORY, 0);
    ASSERT_EQ(file_copy(file_.c_str(), (dir_ / "w2.txt").string().c_str()), 0);
    EXPECT_NE(GetFileAttributesA((dir_ / "w2.txt").string().c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    ASSERT_EQ(set_file_attributes(file_.c_str(), 0), 0);
    EXPECT_EQ(file_attributes(file_.c_str()) & FILE_ATTR_HIDDEN, 0);
    EXPECT_EQ(file_attributes((dir_ / "missing").string().c_str()), -1);
}

TEST_F(FilesWin32, IdentityAndReplaceGoThroughTheSystem) {
    const std::string link = (dir_ / "link.txt").string(), other = (dir_ / "w2.txt").string();
    ASSERT_TRUE(CreateHardLinkA(link.c_str(), file_.c_str(), nullptr));
    std::ofstream(other) << "new";
    struct Row { std::string a, b; bool same; };
    const Row rows[] = {
        {file_, link, true},  // another name of the same file: only its index tells
        {file_, (dir_ / "." / "w.txt").string(), true},
        {dir_.string(), (dir_ / ".").string(), true},
        {file_, other, false},
        {file_, (dir_ / "missing").string(), false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.a + " " + r.b);
        EXPECT_EQ(file_same(r.a.c_str(), r.b.c_str()), r.same);
    }
    EXPECT_EQ(file_replace(other.c_str(), dir_.string().c_str()), -1);
    ASSERT_EQ(file_replace(other.c_str(), link.c_str()), 0);
    EXPECT_FALSE(file_same(file_.c_str(), link.c_str()));
    std::ifstream in(link);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "new");
    EXPECT_FALSE(fs::exists(other));
}

TEST_F(FilesWin32, TimesRoundTripInLocalTime) {
    for (const TimeRecord& stamp : {TimeRecord{121, 7, 15, 13, 45, 30}, TimeRecord{124, 2, 29, 0, 5, 59}}) {
        ASSERT_EQ(set_file_time(file_.c_str(), &stamp), 0);
        TimeRecord got;
        EXPECT_EQ(file_time(file_.c_str(), &got), 0);
        EXPECT_EQ(time_text(got), time_text(stamp));
    }
    ASSERT_EQ(set_file_attributes(file_.c_str(), FILE_ATTR_READONLY), 0);  // a read-only file takes times too
    const TimeRecord later = {125, 1, 2, 3, 4, 5};
    EXPECT_EQ(set_file_time(file_.c_str(), &later), 0);
    TimeRecord got;
    EXPECT_EQ(file_time(file_.c_str(), &got), 0);
    EXPECT_EQ(time_text(got), time_text(later));
    EXPECT_EQ(file_time((dir_ / "missing").string().c_str(), &got), -1);
}

}  // namespace
