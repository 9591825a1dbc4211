// The file layer: raw files, copying and replacing, the line file, paths, directories (the counting fault seam:
// the save failed at each file call in test_docfile.cpp; the line rules: the model of fuzz/fuzz_load.cpp).
#include "support/files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "file_bytes.h"
#include "support/devices.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

std::string time_text(const TimeRecord& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", 1900 + t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

class Files : public ::testing::Test, protected TempDir {
protected:
    Files() : TempDir("y8_files_") {}
    void TearDown() override {
        files_set_hooks(nullptr);
        files_test_fail_alloc(false);
        files_test_fail_writes_after(-1);
        files_test_fail_reads_after(-1);
        files_test_fail_call(-1);
    }
};

// A directory, a missing file, a missing directory, a path over 200 characters; what a handle refuses.
TEST_F(Files, WhatIsNoFileIsNeverOpenedAndAnOverlongPathNeverUsed) {
    fs::create_directory(dir_ / "sub");
    write("ok.txt", "x");
    const std::string overlong = path(std::string(300, 'L'));
    for (const std::string& p : {path("sub"), path("missing.txt"), path("nodir/missing.txt"), overlong}) {
        SCOPED_TRACE(p.substr(p.size() - 12));
        const bool isDir = p == path("sub");
        const char* q = p.c_str();
        LineFile lf;
        char buf[10];
        // Opened neither raw nor as a line file (whose cleared record is safe to use); no size, copy or delete.
        EXPECT_EQ((std::vector<long>{file_open(q, 0), file_open(q, 2), lf_open(&lf, q), lf_read_line(&lf, buf, 9),
                                     lf_read(&lf, buf, 1), lf_close(&lf), file_exists(q), file_size(q),
                                     file_copy(q, path("copy.txt").c_str()), file_delete(q)}),
                  (std::vector<long>{-1, -1, -1, -1, -1, -1, false, -1, -1, -1}));
        EXPECT_EQ(file_attributes(q) == -1, !isDir);
        TimeRecord t = {1, 1, 1, 1, 1, 1};
        EXPECT_EQ(file_time(q, &t), isDir ? 0 : -1);  // a directory has a time
        EXPECT_EQ(time_text(t) == time_text(TimeRecord{}), !isDir);
    }
    const TimeRecord t = {121, 1, 1, 0, 0, 0};
    const DirListCallback any = [](bool, const char*, long, const TimeRecord*, void*) { return 1; };
    const char* o = overlong.c_str();
    EXPECT_EQ((std::vector<int>{file_create(o), file_create(path("sub").c_str()), set_file_time(o, &t), change_dir(o),
                                file_copy(path("ok.txt").c_str(), o),
                                dir_list((overlong + "\\*").c_str(), any, nullptr)}),
              std::vector<int>(6, -1));
    EXPECT_EQ(make_dirs(o), MKDIR_CANT_CREATE);
    EXPECT_EQ(names(), (std::set<std::string>{"ok.txt", "sub"}));
    const int readOnly = file_open(path("ok.txt").c_str(), 0);  // takes no writes; no such seek or mode
    EXPECT_EQ(file_write(readOnly, "x", 1), -1);
    EXPECT_EQ(file_seek(readOnly, 0, 3), -1);
    EXPECT_EQ(file_open(path("ok.txt").c_str(), 1), -1);
    EXPECT_EQ(file_close(readOnly), 0);
    EXPECT_EQ(file_close(-1), -1);
}

// A refused time changes nothing; a zone with daylight saving shows a wrong daylight rule as an hour.
TEST_F(Files, FileTimesRoundTripInLocalTimeAndImpossibleOnesAreRefused) {
#ifndef _WIN32
    const char* old = std::getenv("TZ");
    const std::string oldZone = old ? old : "";
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
#endif
    write("t.txt", "x");
    const std::string file = path("t.txt");
    struct Row { TimeRecord time; int result; };
    static const Row rows[] = {
        {{121, 7, 15, 13, 45, 30}, 0}, {{124, 2, 29, 0, 5, 59}, 0},  // summer; winter, a leap day
        {{}, -1}, {{121, 13, 1, 0, 0, 0}, -1}, {{121, 2, 29, 0, 0, 0}, -1}, {{121, 4, 31, 0, 0, 0}, -1},
        {{121, 4, 1, 24, 0, 0}, -1},
    };
    TimeRecord last{};
    for (const Row& r : rows) {
        SCOPED_TRACE(time_text(r.time));
        EXPECT_EQ(set_file_time(file.c_str(), &r.time), r.result);
        if (r.result == 0) last = r.time;
        TimeRecord got;
        EXPECT_EQ(file_time(file.c_str(), &got), 0);
        EXPECT_EQ(time_text(got), time_text(last));
    }
    EXPECT_EQ(set_file_time(path("missing").c_str(), &last), -1);
#ifndef _WIN32
    old ? setenv("TZ", oldZone.c_str(), 1) : unsetenv("TZ");
    tzset();
#endif
}

// Attributes kept in a table: the system here cannot keep them all.
std::map<std::string, int> fakeAttributes;
int fake_get_attributes(const char* p) {
    auto found = fakeAttributes.find(fs::path(p).filename().string());
    return found == fakeAttributes.end() ? -1 : found->second;
}
int fake_set_attributes(const char* p, int attributes) {
    fakeAttributes[fs::path(p).filename().string()] = attributes;
    return 0;
}

// Every call the module makes for itself counts; a copy failed at any of them reports failure and leaves no
// destination, or is whole. Copying a file onto itself would empty it.
TEST_F(Files, ACopyKeepsBytesTimeAndAttributesOrLeavesNothing) {
    std::string bytes;
    for (int i = 0; i < 40000; ++i) bytes += static_cast<char>((i * 7) % 256);
    write("src.bin", bytes);
    write("dst.bin", "old content");
    const std::string src = path("src.bin"), dst = path("dst.bin");
    const TimeRecord stamp = {110, 3, 4, 5, 6, 7};
    ASSERT_EQ(set_file_time(src.c_str(), &stamp), 0);
    fakeAttributes = {{"src.bin", FILE_ATTR_ARCHIVE | FILE_ATTR_HIDDEN}};
    const FileHooks fake = {fake_get_attributes, fake_set_attributes, nullptr, nullptr, nullptr, nullptr, nullptr};
    files_set_hooks(&fake);
    files_test_fail_call(-1);
    ASSERT_EQ(file_copy(src.c_str(), dst.c_str()), 0);
    const int calls = files_test_calls();
    EXPECT_EQ(read("dst.bin"), bytes);
    TimeRecord got;
    EXPECT_EQ(file_time(dst.c_str(), &got), 0);
    EXPECT_EQ(time_text(got), time_text(stamp));
    EXPECT_EQ(fakeAttributes["dst.bin"], FILE_ATTR_ARCHIVE | FILE_ATTR_HIDDEN);
    int failed = 0;
    for (int k = 0; k < calls; ++k) {
        SCOPED_TRACE("failing call " + std::to_string(k));
        fs::remove(dir_ / "dst.bin");
        files_test_fail_call(k);
        const int result = file_copy(src.c_str(), dst.c_str());
        failed += result == -1;
        EXPECT_EQ(fs::exists(dir_ / "dst.bin") ? read("dst.bin") : "absent", result == 0 ? bytes : "absent");
    }
    EXPECT_EQ(failed, calls - 3);  // only closing the source, the time and the attributes may fail unnoticed
    files_test_fail_alloc(true);  // the small buffer on the stack still copies all
    ASSERT_EQ(file_copy(src.c_str(), path("small.bin").c_str()), 0);
    EXPECT_EQ(read("small.bin"), bytes);
    files_set_hooks(nullptr);  // the portable default keeps the read-only bit
    ASSERT_EQ(set_file_attributes(src.c_str(), FILE_ATTR_READONLY), 0);
    ASSERT_EQ(file_copy(src.c_str(), path("ro.bin").c_str()), 0);
    EXPECT_NE(file_attributes(path("ro.bin").c_str()) & FILE_ATTR_READONLY, 0);
    EXPECT_EQ(set_file_attributes(path("ro.bin").c_str(), 0), 0);
    fs::create_directory(dir_ / "sub");
    for (const char* to : {"src.bin", "sub/../src.bin", "nodir/dst.bin"}) {
        EXPECT_EQ(file_copy(src.c_str(), path(to).c_str()), -1) << to;
    }
    EXPECT_EQ(read("src.bin"), bytes);
}

// Replace takes the name in one step, never replacing a directory; rename never replaces anything; neither moves
// a missing file or to a name over 200 characters. (The same file: the partly loaded document's spellings in
// test_docfile.cpp, a hard link in the Win32-layer tests.)
TEST_F(Files, ReplaceAndRename) {
    fs::create_directory(dir_ / "dir.txt");
    write("new.txt", "new");
    write("old.txt", "old");
    EXPECT_EQ(file_replace(path("new.txt").c_str(), path("dir.txt").c_str()), -1);
    EXPECT_EQ(file_replace(path("missing").c_str(), path("old.txt").c_str()), -1);
    EXPECT_EQ(file_rename(path("new.txt").c_str(), path("old.txt").c_str()), -1);
    EXPECT_EQ(file_rename(path("new.txt").c_str(), path(std::string(200, 'x')).c_str()), -1);
    EXPECT_EQ(file_rename(path("missing").c_str(), path("d.txt").c_str()), -1);
    EXPECT_EQ(names(), (std::set<std::string>{"dir.txt", "new.txt", "old.txt"}));
    EXPECT_TRUE(fs::is_directory(dir_ / "dir.txt"));
    EXPECT_EQ(file_replace(path("new.txt").c_str(), path("old.txt").c_str()), 0);
    EXPECT_EQ(file_rename(path("old.txt").c_str(), path("dir.txt/c.txt").c_str()), 0);
    EXPECT_EQ(names(), (std::set<std::string>{"dir.txt"}));
    EXPECT_EQ(read("dir.txt/c.txt"), "new");
}

// Every line of a file read with max characters a line and the block size expected; the end of the file stays
// the end. The loss: what the reader dropped beyond the lossless rules.
Lines readLines(const std::string& file, int max, std::string* loss, int blockSize = LF_BLOCK_SIZE) {
    Lines lines;
    LineFile lf;
    EXPECT_GE(lf_open(&lf, file.c_str()), 0);
    EXPECT_EQ(lf.blockSize, blockSize);
    std::vector<char> buf(static_cast<size_t>(max) + 1);
    for (int n; (n = lf_read_line(&lf, buf.data(), max)) >= 0;) lines.emplace_back(buf.data(), static_cast<size_t>(n));
    EXPECT_EQ(lf_read_line(&lf, buf.data(), max), -1);
    EXPECT_EQ(buf[0], '\0');
    const LineLoss& l = lf.loss;
    *loss = "cut " + std::to_string(l.cutLines) + " nul " + std::to_string(l.nulLines) + " cr " +
            std::to_string(l.loneCRs) + " eof " + std::to_string(l.afterEof) + (l.readFailed ? " read failed" : "");
    EXPECT_EQ(lf_close(&lf), 0);
    return lines;
}

// Beside the model of fuzz/fuzz_load.cpp (250 characters): other widths, lines over several blocks, lines of
// every length 0..130 with both line ends putting CR, LF and text on both sides of block boundaries (also of the
// 100-byte reserve): a CR LF parted by a boundary is no lone CR. A failed read ends the file and is reported.
TEST_F(Files, LinesOfEveryWidthAcrossBlockBoundaries) {
    std::string blocks;
    Lines blockLines;
    for (int i = 0; i < 400; ++i) {
        blockLines.emplace_back(static_cast<size_t>(i * 37 % 131), static_cast<char>('A' + i % 26));
        blocks += blockLines.back() + (i % 2 ? "\r\n" : "\n");
    }
    const std::string huge = "A" + std::string(9998, 'h') + "Z";
    struct Row { std::string bytes; int max; bool reserve; Lines lines; const char* loss; };
    const Row rows[] = {
        {"x\n" + huge + "\ny", 10000, false, {"x", huge, "y"}, "cut 0 nul 0 cr 0 eof 0"},  // over five blocks
        {"a\r\x1A", 250, false, {"a"}, "cut 0 nul 0 cr 1 eof 0"},  // a CR before the Ctrl-Z is lone
        {"a\rb\r\rc\rd\r\nxy\n", 3, false, {"abc", "xy"}, "cut 1 nul 0 cr 4 eof 0"},  // CRs inside take no room
        {blocks + "\x1A", 250, true, blockLines, "cut 0 nul 0 cr 0 eof 0"},
        {std::string(99, 'c') + "\rd\n" + std::string(95, 'e') + "\r", 250, true,
         {std::string(99, 'c') + "d", std::string(95, 'e')}, "cut 0 nul 0 cr 2 eof 0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::PrintToString(r.bytes.substr(0, 40)) + " max " + std::to_string(r.max));
        write("t.txt", r.bytes);
        files_test_fail_alloc(r.reserve);
        std::string loss;
        EXPECT_EQ(readLines(path("t.txt"), r.max, &loss, r.reserve ? LF_RESERVE_SIZE : LF_BLOCK_SIZE), r.lines);
        EXPECT_EQ(loss, r.loss);
    }
    write("t.txt", blocks);
    files_test_fail_reads_after(2);
    std::string loss;
    EXPECT_EQ(readLines(path("t.txt"), 250, &loss, LF_RESERVE_SIZE).size(), 4u);
    EXPECT_EQ(loss, "cut 0 nul 0 cr 0 eof 0 read failed");
    files_test_fail_reads_after(-1);
}

// Raw reads and seeks across blocks; changed bytes go back when the block changes or the file closes, and a
// failed write-back or close is reported (the file is closed all the same).
TEST_F(Files, ALineFileReadsSeeksAndWritesBack) {
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(i % 251);
    write("b.bin", bytes);
    LineFile lf;
    ASSERT_GE(lf_open(&lf, path("b.bin").c_str()), 0);
    std::string got(3000, '\0');
    EXPECT_EQ(lf_read(&lf, &got[0], 3000), 0);
    EXPECT_EQ(got, bytes.substr(0, 3000));
    EXPECT_EQ(lf_seek(&lf, 4990), 0);
    EXPECT_EQ(lf_read(&lf, &got[0], 20), -1);  // the file ends first, but the rest is delivered
    EXPECT_EQ(got.substr(0, 10), bytes.substr(4990));
    EXPECT_EQ(lf_seek(&lf, -1), -1);
    const long edge = lf.blockSize;
    ASSERT_EQ(lf_seek(&lf, edge - 8), 0);
    EXPECT_EQ(lf_write(&lf, "0123456789ABCDEF", 16), 0);  // crosses into the next block
    ASSERT_EQ(lf_seek(&lf, 2), 0);  // leaving the block writes it back
    EXPECT_EQ(lf_write(&lf, "xy", 2), 0);
    ASSERT_EQ(lf_seek(&lf, 0), 0);
    char seen[4];
    EXPECT_EQ(lf_read(&lf, seen, 4), 0);
    EXPECT_EQ(std::string(seen, 4), bytes.substr(0, 2) + "xy");  // reads see the buffer
    EXPECT_EQ(read("b.bin").substr(2, 2), bytes.substr(2, 2));   // not yet the file
    ASSERT_EQ(lf_seek(&lf, 5003), 0);  // writing beyond the end leaves zeros between
    EXPECT_EQ(lf_write(&lf, "END", 3), 0);
    EXPECT_EQ(lf_close(&lf), 0);
    std::string expected = bytes;
    expected.replace(2, 2, "xy").replace(static_cast<size_t>(edge - 8), 16, "0123456789ABCDEF");
    EXPECT_EQ(read("b.bin"), expected + std::string(3, '\0') + "END");
    for (bool acrossARead : {false, true}) {
        SCOPED_TRACE(acrossARead);
        write("f.bin", std::string(5000, '.'));
        ASSERT_GE(lf_open(&lf, path("f.bin").c_str()), 0);
        EXPECT_EQ(lf_write(&lf, "abc", 3), 0);
        files_test_fail_writes_after(0);
        char buf[3000];
        EXPECT_EQ(acrossARead ? lf_read(&lf, buf, 3000) : lf_seek(&lf, 3000), acrossARead ? 0 : -1);
        EXPECT_EQ(lf_close(&lf), -1);
        EXPECT_EQ(lf_close(&lf), -1);  // a second close does nothing
        files_test_fail_writes_after(-1);
        EXPECT_EQ(read("f.bin"), std::string(5000, '.'));
    }
    ASSERT_GE(lf_open(&lf, path("f.bin").c_str()), 0);
    files_test_fail_call(0);
    EXPECT_EQ(lf_close(&lf), -1);
    EXPECT_EQ(lf.handle, -1);
}

int addSep(char* d, const char* p) { return path_add_sep(std::strcpy(d, p)); }
int shortened(char* d, const char* p) { return std::strcmp(std::strcpy(d, path_short(p)), p) == 0 ? 0 : 1; }

// Over 200 characters a result is refused, never cut (extensions: the backup names; directories: the ini paths).
TEST_F(Files, PathPieces) {
    using Fn = int (*)(char* dst, const char* path);
    const Fn dir = path_dir, ext = path_ext;
    const std::string a200(FILE_PATH_MAX, 'a'), a199(FILE_PATH_MAX - 1, 'a');
    struct Row { Fn fn; std::string in; int result; std::string out; };
    const Row rows[] = {
        {dir, std::string(300, 'L'), -1, ""},
        {ext, "dir.d/name.tar.gz", 2, "gz"}, {ext, "dir.d/name", 0, ""}, {ext, "a.", 0, ""}, {ext, "x", 0, ""},
        {ext, std::string(250, 'a') + ".b/c." + std::string(250, 'x'), -1, ""},
        {addSep, "C:\\a/b", 0, "C:\\a/b/"},  // the last separator found
        {addSep, a199, 0, a199 + "/"}, {addSep, a200, -1, a200},
        {shortened, "C:\\Projekte\\Editor\\Quellen\\Unterordner\\d.cpp", 1, "...\\Editor\\Quellen\\Unterordner\\d.cpp"},
        {shortened, std::string(39, 'e'), 0, std::string(39, 'e')},  // under 40
        {shortened, std::string(300, 'h') + "\\end.txt", 1, "...\\end.txt"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in.substr(0, 30));
        std::vector<char> buf(FILE_PATH_MAX + 2, '?');  // on the heap, so an overrun is seen
        EXPECT_EQ(r.fn(buf.data(), r.in.c_str()), r.result);
        EXPECT_EQ(std::string(buf.data()), r.out);
    }
}

// A missing directory, a file or no name is never entered; directories are made, the current one kept; a current
// directory longer than a path is refused.
TEST_F(Files, ChangeAndMakeDirectories) {
    fs::current_path(dir_);
    write("plain", "");
    for (const char* bad : {"missing", "plain", ""}) EXPECT_EQ(change_dir(*bad ? path(bad).c_str() : ""), -1) << bad;
    struct Row { std::string dir; int result; const char* made; };
    const Row rows[] = {
        {"  rel//x\\y  ", MKDIR_OK, "rel/x/y"},  // relative, blanks around, doubled separator
        {path("plain/sub"), MKDIR_CANT_CREATE, "plain"},  // a file is in the way
    };
    for (const Row& r : rows) {
        EXPECT_EQ(make_dirs(r.dir.c_str()), r.result) << r.dir;
        EXPECT_EQ(fs::is_directory(dir_ / r.made), r.result == MKDIR_OK) << r.dir;
        EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_));
    }
    fs::path deep = dir_;
    while (deep.string().size() <= FILE_PATH_MAX + 5) deep /= std::string(30, 'd');
    fs::create_directories(deep);
    fs::current_path(deep);
    std::vector<char> buf(FILE_PATH_MAX + 1, '?');
    EXPECT_EQ(get_cwd(buf.data()), -1);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(make_dirs("more"), MKDIR_CANT_CREATE);  // could not come back here
    EXPECT_FALSE(fs::exists(deep / "more"));
}

using Listing = std::map<std::string, std::string>;  // full path: "d" or the size and time

int collect(bool isDir, const char* fullPath, long size, const TimeRecord* time, void* user) {
    (*static_cast<Listing*>(user))[fullPath] = isDir ? "d " + std::to_string(size)
                                                     : std::to_string(size) + " " + time_text(*time);
    return 1;
}

// Names match without case; an empty pattern lists all but "." and ".."; a name that would make the path too
// long is skipped, never cut; "\*" and "/*" list the root of the current drive.
TEST_F(Files, DirListMatchesNamesWithoutCase) {
    const TimeRecord stamp = {120, 12, 24, 18, 0, 1};
    for (const char* name : {"a.h", "a.cpp", "B.C", "a.c"}) write(name, name);
    ASSERT_EQ(set_file_time(path("a.c").c_str(), &stamp), 0);
    fs::create_directory(dir_ / "sub.c");
    const size_t room = FILE_PATH_MAX - dir_.string().size() - 1;  // the longest name that fits
    write(std::string(room, 'n'), "");
    write(std::string(room + 1, 'n'), "");
    std::string base = dir_.string() + "\\";
    for (char& c : base) c = c == '/' ? '\\' : c;
    struct Row { std::string pattern; int count; Listing listed; };
    const Row rows[] = {
        {dir_.string() + "/*.c", 3,
         {{base + "a.c", "3 2020-12-24 18:00:01"}, {base + "B.C", ""}, {base + "sub.c", "d 0"}}},
        {dir_.string() + "\\", 6, {}},
        {"?.H", 1, {{".\\a.h", ""}}},  // without a directory: the current one
        {dir_.string() + "/n*", 1, {{base + std::string(room, 'n'), ""}}},
        {path("missing/*"), -1, {}},
    };
    fs::current_path(dir_);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pattern);
        Listing listing;
        EXPECT_EQ(dir_list(r.pattern.c_str(), collect, &listing), r.count);
        for (const auto& [name, what] : r.listed) {
            ASSERT_EQ(listing.count(name), 1u) << name;
            if (*what.c_str()) { EXPECT_EQ(listing[name], what); }
        }
        EXPECT_EQ(listing.count(base + ".") + listing.count(base + ".."), 0u);
    }
    for (const char* root : {"\\*", "/*"}) {
        Listing listing;
        EXPECT_GT(dir_list(root, collect, &listing), 0) << root;
        for (const auto& entry : listing) EXPECT_EQ(entry.first.rfind('\\'), 0u) << entry.first;
    }
}

}  // namespace
