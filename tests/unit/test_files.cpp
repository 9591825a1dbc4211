// Files, the line reader and directories.
#include "support/files.h"

#include <gtest/gtest.h>

#include "file_bytes.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#ifdef _WIN32
#include <direct.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string time_text(const TimeRecord& t) {
    char text[40];
    std::snprintf(text, sizeof text, "%d-%02d-%02d %02d:%02d:%02d", 1900 + t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return text;
}

bool is_zero(const TimeRecord& t) { return time_text(t) == time_text(TimeRecord{}); }

// A fresh directory for each test, removed afterwards with everything in it;
// the current directory, hooks and test seams are restored.
class Files : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = freshTempDir("y8_files_");
        home_ = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(home_);
        files_set_hooks(nullptr);
        files_test_fail_alloc(false);
        files_test_fail_writes_after(-1);
        files_test_fail_reads_after(-1);
        files_test_fail_call(-1);
        std::error_code ec;
        for (const auto& entry : fs::recursive_directory_iterator(dir_, ec)) {  // read-only files block removal
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ec);
        }
        fs::remove_all(dir_, ec);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(dir_ / name, std::ios::binary);
        out << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
    fs::path home_;
};

// What the reader reports lost, as one comparable text.
std::string loss_text(const LineLoss& l) {
    return "cut " + std::to_string(l.cutLines) + " nul " + std::to_string(l.nulLines) + " cr " +
           std::to_string(l.loneCRs) + " eof " + std::to_string(l.afterEof) + (l.readFailed ? " read failed" : "");
}

// Every line of a file (NUL bytes kept), read with max characters a line;
// checks that the end of the file stays the end. *loss: what the reader dropped.
std::vector<std::string> read_lines(const std::string& file, int max, int expectedBlockSize = LF_BLOCK_SIZE,
                                    std::string* loss = nullptr) {
    std::vector<std::string> lines;
    LineFile lf;
    EXPECT_GE(lf_open(&lf, file.c_str()), 0);
    EXPECT_EQ(lf.blockSize, expectedBlockSize);
    if (expectedBlockSize == LF_RESERVE_SIZE) {
        EXPECT_EQ(lf.buffer, lf.reserve);
    }
    std::vector<char> buf(static_cast<size_t>(max) + 1);
    int n;
    while ((n = lf_read_line(&lf, buf.data(), max)) >= 0) {
        EXPECT_EQ(buf[static_cast<size_t>(n)], '\0');
        lines.emplace_back(buf.data(), static_cast<size_t>(n));
    }
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(lf_read_line(&lf, buf.data(), max), -1);
    if (loss) *loss = loss_text(lf.loss);
    EXPECT_EQ(lf_close(&lf), 0);
    return lines;
}

using Lines = std::vector<std::string>;

// --- Line rules -------------------------------------------------------------------

TEST_F(Files, LineEndsCrAndCtrlZ) {
    struct Case {
        std::string bytes;
        Lines lines;
        const char* loss;  // what the rules dropped beyond the lossless ones
    };
    const std::vector<Case> cases = {
        {"a\r\nb", {"a", "b"}, "cut 0 nul 0 cr 0 eof 0"},              // no line end after the last line
        {"a\nb\x1A" "c\n", {"a", "b"}, "cut 0 nul 0 cr 0 eof 2"},      // Ctrl-Z ends line and file
        {"\x1A" "abc\n", {}, "cut 0 nul 0 cr 0 eof 4"},                // Ctrl-Z first: nothing at all
        {"one\r\ntwo\r\n\x1A" "three\r\nfour\r\n", {"one", "two"}, "cut 0 nul 0 cr 0 eof 13"},
        {"a\r\nb\r\n\x1A", {"a", "b"}, "cut 0 nul 0 cr 0 eof 0"},       // Ctrl-Z as the last byte
        {"\n", {""}, "cut 0 nul 0 cr 0 eof 0"},                        // an empty line
        {"", {}, "cut 0 nul 0 cr 0 eof 0"},                            // an empty file
        {"a\rb\r\nc\n\rd\r", {"ab", "c", "d"}, "cut 0 nul 0 cr 3 eof 0"},  // lone CR vanishes, LF CR ends a line
        {"one\rtwo\rthree\r", {"onetwothree"}, "cut 0 nul 0 cr 3 eof 0"},
        {"a\r\x1A", {"a"}, "cut 0 nul 0 cr 1 eof 0"},                  // a CR before the Ctrl-Z is lone
        {"x\ny  \t\n\n", {"x", "y  \t", ""}, "cut 0 nul 0 cr 0 eof 0"},
        {std::string("n\0l\0\nz", 6), {std::string("n\0l\0", 4), "z"}, "cut 0 nul 1 cr 0 eof 0"},  // NUL is a character
        {std::string("a\0b", 3), {std::string("a\0b", 3)}, "cut 0 nul 1 cr 0 eof 0"},
    };
    for (const Case& c : cases) {
        write("t.txt", c.bytes);
        std::string loss;
        EXPECT_EQ(read_lines(path("t.txt"), 250, LF_BLOCK_SIZE, &loss), c.lines)
            << "file: " << testing::PrintToString(c.bytes);
        EXPECT_EQ(loss, c.loss) << "file: " << testing::PrintToString(c.bytes);
    }
}

TEST_F(Files, CtrlZIsNeverConsumed) {
    write("z.txt", "a\nb\x1A" "c\n");
    LineFile lf;
    char buf[251];
    ASSERT_GE(lf_open(&lf, path("z.txt").c_str()), 0);
    EXPECT_EQ(lf_read_line(&lf, buf, 250), 1);
    EXPECT_EQ(lf_read_line(&lf, buf, 250), 1);
    EXPECT_STREQ(buf, "b");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(lf_read_line(&lf, buf, 250), -1);
    EXPECT_EQ(lf_tell(&lf), 3);  // still standing on the Ctrl-Z
    char rest[3] = {};
    EXPECT_EQ(lf_read(&lf, rest, 2), 0);  // raw reads do pass it
    EXPECT_EQ(std::string(rest), "\x1A" "c");
    EXPECT_EQ(lf_close(&lf), 0);
}

TEST_F(Files, OverlongLinesAreCutAndTheirRestDropped) {
    std::string longLine;
    for (int i = 0; i < 300; ++i) longLine += static_cast<char>('a' + i % 26);
    write("long.txt", longLine + "\r\nnext\n");
    std::string loss;
    EXPECT_EQ(read_lines(path("long.txt"), 250, LF_BLOCK_SIZE, &loss), (Lines{longLine.substr(0, 250), "next"}));
    EXPECT_EQ(loss, "cut 1 nul 0 cr 0 eof 0");
    // Only white space past the cut: nothing the trimmed line would keep is lost.
    write("blanks.txt", longLine.substr(0, 250) + " \t \r\n" + longLine.substr(0, 251) + "\n");
    read_lines(path("blanks.txt"), 250, LF_BLOCK_SIZE, &loss);
    EXPECT_EQ(loss, "cut 1 nul 0 cr 0 eof 0");

    std::string huge(10000, 'h');
    huge[0] = 'A';
    huge[9999] = 'Z';
    write("huge.txt", "x\n" + huge + "\ny");
    EXPECT_EQ(read_lines(path("huge.txt"), 250), (Lines{"x", huge.substr(0, 250), "y"}));
    EXPECT_EQ(read_lines(path("huge.txt"), 10000), (Lines{"x", huge, "y"}));  // over five blocks
    EXPECT_EQ(read_lines(path("huge.txt"), 0), (Lines{"", "", ""}));

    // The cut counts the characters kept: CRs inside the line take no room.
    write("cr.txt", "a\rb\r\rc\rd\r\nxy\n");
    EXPECT_EQ(read_lines(path("cr.txt"), 3, LF_BLOCK_SIZE, &loss), (Lines{"abc", "xy"}));
    EXPECT_EQ(loss, "cut 1 nul 0 cr 4 eof 0");
    EXPECT_EQ(read_lines(path("cr.txt"), 250), (Lines{"abcd", "xy"}));

    write("list.txt", std::string(100, 'q') + "\nshort\n");
    LineFile lf;
    char buf[79];
    ASSERT_GE(lf_open(&lf, path("list.txt").c_str()), 0);
    EXPECT_EQ(lf_gets(&lf, buf), 78);
    EXPECT_EQ(lf_gets(&lf, buf), 5);
    EXPECT_EQ(lf_gets(&lf, buf), -1);
    EXPECT_EQ(lf_close(&lf), 0);
}

TEST_F(Files, LinesAcrossBlockBoundaries) {
    // Lines of every length 0..130 with the lossless line end styles, so that
    // CR, LF and text fall on both sides of many 100- and 2048-byte boundaries:
    // a CR LF split by a block boundary is no lone CR.
    Lines lines;
    std::string bytes;
    const char* ends[] = {"\n", "\r\n"};
    for (int i = 0; i < 400; ++i) {
        std::string line(static_cast<size_t>(i * 37 % 131), static_cast<char>('A' + i % 26));
        lines.push_back(line);
        bytes += line + ends[i % 2];
    }
    write("blocks.txt", bytes + "\x1A");
    std::string loss;
    EXPECT_EQ(read_lines(path("blocks.txt"), 250, LF_BLOCK_SIZE, &loss), lines);
    EXPECT_EQ(loss, "cut 0 nul 0 cr 0 eof 0");
    files_test_fail_alloc(true);  // the built-in 100-byte reserve serves as block
    EXPECT_EQ(read_lines(path("blocks.txt"), 250, LF_RESERVE_SIZE, &loss), lines);
    EXPECT_EQ(loss, "cut 0 nul 0 cr 0 eof 0");
    // A lone CR that a block boundary parts from the next line's text, and one at the file's end.
    write("lone.txt", std::string(99, 'c') + "\rd\n" + std::string(95, 'e') + "\r");
    EXPECT_EQ(read_lines(path("lone.txt"), 250, LF_RESERVE_SIZE, &loss),
              (Lines{std::string(99, 'c') + "d", std::string(95, 'e')}));
    EXPECT_EQ(loss, "cut 0 nul 0 cr 2 eof 0");
    // A failed read ends the file and is reported.
    files_test_fail_reads_after(2);
    EXPECT_EQ(read_lines(path("blocks.txt"), 250, LF_RESERVE_SIZE, &loss).size(), 4u);  // the fourth one cut short
    EXPECT_EQ(loss, "cut 0 nul 0 cr 0 eof 0 read failed");
    files_test_fail_reads_after(-1);
    files_test_fail_alloc(false);

    // The file ends exactly at a block end: the empty next block ends it.
    write("exact.txt", std::string(2047, 'e') + "\n");
    EXPECT_EQ(read_lines(path("exact.txt"), 3000), (Lines{std::string(2047, 'e')}));
    write("exact2.txt", std::string(4096, 'f'));
    EXPECT_EQ(read_lines(path("exact2.txt"), 5000), (Lines{std::string(4096, 'f')}));
}

// --- Raw reads, seeks and write-back ---------------------------------------------

TEST_F(Files, ReadAndSeekAcrossBlocks) {
    std::string bytes;
    for (int i = 0; i < 5000; ++i) bytes += static_cast<char>(i % 251);
    write("b.bin", bytes);
    for (bool reserve : {false, true}) {
        files_test_fail_alloc(reserve);
        LineFile lf;
        ASSERT_GE(lf_open(&lf, path("b.bin").c_str()), 0);
        std::string got(3000, '\0');
        EXPECT_EQ(lf_read(&lf, &got[0], 3000), 0);
        EXPECT_EQ(got, bytes.substr(0, 3000));
        EXPECT_EQ(lf_seek(&lf, 4990), 0);
        EXPECT_EQ(lf_tell(&lf), 4990);
        std::string tail(20, '#');
        EXPECT_EQ(lf_read(&lf, &tail[0], 20), -1);  // the file ends first ...
        EXPECT_EQ(tail.substr(0, 10), bytes.substr(4990));  // ... but the rest is delivered
        EXPECT_EQ(lf_seek(&lf, 7), 0);
        char one = 0;
        EXPECT_EQ(lf_read(&lf, &one, 1), 0);
        EXPECT_EQ(one, bytes[7]);
        EXPECT_EQ(lf_seek(&lf, -1), -1);
        EXPECT_EQ(lf_close(&lf), 0);
    }
}

TEST_F(Files, ChangedBytesGoBackWhenTheBlockChanges) {
    for (bool reserve : {false, true}) {
        const long size = 5000;
        write("w.bin", std::string(size, '.'));
        files_test_fail_alloc(reserve);
        LineFile lf;
        ASSERT_GE(lf_open(&lf, path("w.bin").c_str()), 0);
        const long edge = lf.blockSize;  // the end of block 0
        ASSERT_EQ(lf_seek(&lf, edge - 8), 0);
        EXPECT_EQ(lf_write(&lf, "0123456789ABCDEF", 16), 0);  // crosses into block 1
        EXPECT_EQ(read("w.bin").substr(edge - 8, 16), "01234567........");
        ASSERT_EQ(lf_seek(&lf, 2), 0);  // leaving block 1 writes it back
        EXPECT_EQ(read("w.bin").substr(edge - 8, 16), "0123456789ABCDEF");
        EXPECT_EQ(lf_write(&lf, "xy", 2), 0);
        EXPECT_EQ(read("w.bin").substr(0, 4), "....");  // still in the buffer
        ASSERT_EQ(lf_seek(&lf, 0), 0);                   // same block: nothing written yet
        char seen[5] = {};
        EXPECT_EQ(lf_read(&lf, seen, 4), 0);
        EXPECT_STREQ(seen, "..xy");  // reads see the buffer
        ASSERT_EQ(lf_seek(&lf, size + 3), 0);  // writing beyond the end leaves zeros between
        EXPECT_EQ(lf_write(&lf, "END", 3), 0);
        EXPECT_EQ(lf_close(&lf), 0);
        std::string expected(size, '.');
        expected.replace(2, 2, "xy");
        expected.replace(static_cast<size_t>(edge - 8), 16, "0123456789ABCDEF");
        expected += std::string(3, '\0') + "END";
        EXPECT_EQ(read("w.bin"), expected) << "reserve " << reserve;
        files_test_fail_alloc(false);
    }
}

TEST_F(Files, FailedWriteBackIsReported) {
    write("f.bin", std::string(5000, '.'));
    LineFile lf;
    ASSERT_GE(lf_open(&lf, path("f.bin").c_str()), 0);
    EXPECT_EQ(lf_write(&lf, "abc", 3), 0);
    files_test_fail_writes_after(0);
    EXPECT_EQ(lf_seek(&lf, 3000), -1);
    EXPECT_EQ(lf_close(&lf), -1);

    // A failure while reading on across a block is not forgotten either.
    files_test_fail_writes_after(-1);
    ASSERT_GE(lf_open(&lf, path("f.bin").c_str()), 0);
    EXPECT_EQ(lf_write(&lf, "abc", 3), 0);
    files_test_fail_writes_after(0);
    char buf[3000];
    EXPECT_EQ(lf_read(&lf, buf, 3000), 0);
    EXPECT_EQ(lf_close(&lf), -1);
    EXPECT_EQ(lf_close(&lf), -1);  // a second close does nothing
    files_test_fail_writes_after(-1);
    EXPECT_EQ(read("f.bin"), std::string(5000, '.'));
}

// --- Raw and whole files -------------------------------------------------------------

TEST_F(Files, RawFilesAndSizes) {
    const std::string file = path("raw.bin");
    int h = file_create(file.c_str());
    ASSERT_GE(h, 0);
    EXPECT_EQ(file_write(h, "line\r\n\x1A", 7), 7);  // binary: nothing translated
    EXPECT_EQ(file_seek(h, 2, 0), 2);
    char buf[8] = {};
    EXPECT_EQ(file_read(h, buf, 8), 5);
    EXPECT_STREQ(buf, "ne\r\n\x1A");
    EXPECT_EQ(file_seek(h, -1, 2), 6);
    EXPECT_EQ(file_seek(h, 0, 3), -1);
    EXPECT_EQ(file_close(h), 0);
    EXPECT_EQ(file_size(file.c_str()), 7);
    EXPECT_TRUE(file_exists(file.c_str()));

    h = file_open(file.c_str(), 0);
    ASSERT_GE(h, 0);
    EXPECT_EQ(file_write(h, "x", 1), -1);  // read only
    EXPECT_EQ(file_close(h), 0);
    EXPECT_EQ(file_open(file.c_str(), 1), -1);  // no such mode

    h = file_create(file.c_str());  // truncates
    ASSERT_GE(h, 0);
    EXPECT_EQ(file_close(h), 0);
    EXPECT_EQ(file_size(file.c_str()), 0);
    EXPECT_EQ(file_delete(file.c_str()), 0);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(Files, DirectoriesAndMissingFilesAreNeverOpened) {
    fs::create_directory(dir_ / "sub");
    for (const std::string& p : {path("sub"), path("missing.txt"), path("nodir/missing.txt")}) {
        SCOPED_TRACE(p);
        EXPECT_EQ(file_open(p.c_str(), 0), -1);
        EXPECT_EQ(file_open(p.c_str(), 2), -1);
        LineFile lf;
        EXPECT_EQ(lf_open(&lf, p.c_str()), -1);
        char buf[10];
        EXPECT_EQ(lf_read_line(&lf, buf, 9), -1);  // the cleared record is safe to use
        EXPECT_EQ(lf_read(&lf, buf, 1), -1);
        EXPECT_EQ(lf_close(&lf), -1);
        EXPECT_FALSE(file_exists(p.c_str()));
        EXPECT_EQ(file_size(p.c_str()), -1);
        EXPECT_EQ(file_copy(p.c_str(), path("copy.txt").c_str()), -1);
        EXPECT_EQ(file_delete(p.c_str()), -1);
    }
    EXPECT_EQ(file_create(path("sub").c_str()), -1);
    EXPECT_TRUE(fs::is_directory(dir_ / "sub"));
    EXPECT_FALSE(fs::exists(dir_ / "missing.txt"));
    EXPECT_FALSE(fs::exists(dir_ / "copy.txt"));
    TimeRecord t = {1, 1, 1, 1, 1, 1};
    EXPECT_EQ(file_time(path("missing.txt").c_str(), &t), -1);
    EXPECT_TRUE(is_zero(t));
    EXPECT_EQ(file_time(path("sub").c_str(), &t), 0);  // a directory has a time
    EXPECT_FALSE(is_zero(t));
}

#ifndef _WIN32
// A zone with daylight saving, so that a wrong daylight rule shows as an hour.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        const char* old = std::getenv("TZ");
        hadOld_ = old != nullptr;
        if (old) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (hadOld_) setenv("TZ", old_.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    bool hadOld_ = false;
    std::string old_;
};
#endif

TEST_F(Files, FileTimesRoundTripInLocalTime) {
#ifndef _WIN32
    ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
#endif
    write("t.txt", "x");
    const std::string file = path("t.txt");
    const TimeRecord summer = {121, 7, 15, 13, 45, 30};
    const TimeRecord winter = {124, 2, 29, 0, 5, 59};
    for (const TimeRecord& stamp : {summer, winter}) {
        ASSERT_EQ(set_file_time(file.c_str(), &stamp), 0);
        TimeRecord got;
        EXPECT_EQ(file_time(file.c_str(), &got), 0);
        EXPECT_EQ(time_text(got), time_text(stamp));
    }
    // Times that do not exist are refused and change nothing.
    for (const TimeRecord& bad : {TimeRecord{}, TimeRecord{121, 13, 1, 0, 0, 0}, TimeRecord{121, 2, 29, 0, 0, 0},
                                  TimeRecord{121, 4, 31, 0, 0, 0}, TimeRecord{121, 4, 1, 24, 0, 0}}) {
        EXPECT_EQ(set_file_time(file.c_str(), &bad), -1) << time_text(bad);
    }
    TimeRecord got;
    EXPECT_EQ(file_time(file.c_str(), &got), 0);
    EXPECT_EQ(time_text(got), time_text(winter));
    EXPECT_EQ(set_file_time(path("missing").c_str(), &summer), -1);
}

// --- Copying ---------------------------------------------------------------------

// Attributes kept in a table: the system here cannot keep them all.
std::map<std::string, int> fakeAttributes;
std::string name_of(const char* p) { return fs::path(p).filename().string(); }
int fake_get_attributes(const char* p) {
    auto found = fakeAttributes.find(name_of(p));
    return found == fakeAttributes.end() ? -1 : found->second;
}
int fake_set_attributes(const char* p, int attributes) {
    fakeAttributes[name_of(p)] = attributes;
    return 0;
}

TEST_F(Files, CopyKeepsBytesTimeAndAttributes) {
    std::string bytes;
    for (int i = 0; i < 40000; ++i) bytes += static_cast<char>((i * 7) % 256);
    write("src.bin", bytes);
    const TimeRecord stamp = {110, 3, 4, 5, 6, 7};
    ASSERT_EQ(set_file_time(path("src.bin").c_str(), &stamp), 0);
    fakeAttributes = {{"src.bin", FILE_ATTR_ARCHIVE | FILE_ATTR_HIDDEN}};
    const FileHooks fake = {fake_get_attributes, fake_set_attributes, nullptr, nullptr, nullptr, nullptr};
    files_set_hooks(&fake);

    write("dst.bin", "old content");
    ASSERT_EQ(file_copy(path("src.bin").c_str(), path("dst.bin").c_str()), 0);
    EXPECT_EQ(read("dst.bin"), bytes);
    TimeRecord got;
    EXPECT_EQ(file_time(path("dst.bin").c_str(), &got), 0);
    EXPECT_EQ(time_text(got), time_text(stamp));
    EXPECT_EQ(fakeAttributes["dst.bin"], FILE_ATTR_ARCHIVE | FILE_ATTR_HIDDEN);

    files_test_fail_alloc(true);  // the small buffer on the stack still copies all
    ASSERT_EQ(file_copy(path("src.bin").c_str(), path("small.bin").c_str()), 0);
    EXPECT_EQ(read("small.bin"), bytes);
    files_test_fail_alloc(false);

    // The portable default keeps the read-only bit.
    files_set_hooks(nullptr);
    ASSERT_EQ(set_file_attributes(path("src.bin").c_str(), FILE_ATTR_READONLY), 0);
    EXPECT_NE(file_attributes(path("src.bin").c_str()) & FILE_ATTR_READONLY, 0);
    ASSERT_EQ(file_copy(path("src.bin").c_str(), path("ro.bin").c_str()), 0);
    EXPECT_NE(file_attributes(path("ro.bin").c_str()) & FILE_ATTR_READONLY, 0);
    EXPECT_EQ(file_time(path("ro.bin").c_str(), &got), 0);
    EXPECT_EQ(time_text(got), time_text(stamp));
    EXPECT_EQ(set_file_attributes(path("ro.bin").c_str(), 0), 0);
    EXPECT_EQ(file_attributes(path("ro.bin").c_str()) & FILE_ATTR_READONLY, 0);
    EXPECT_EQ(set_file_attributes(path("src.bin").c_str(), 0), 0);
    EXPECT_EQ(file_attributes(path("missing").c_str()), -1);
}

TEST_F(Files, FailedCopyLeavesNoDestination) {
    write("src.bin", std::string(40000, 's'));
    files_test_fail_writes_after(1);  // the second buffer cannot be written
    EXPECT_EQ(file_copy(path("src.bin").c_str(), path("dst.bin").c_str()), -1);
    EXPECT_FALSE(fs::exists(dir_ / "dst.bin"));
    files_test_fail_writes_after(-1);

    EXPECT_EQ(file_copy(path("missing").c_str(), path("dst.bin").c_str()), -1);
    EXPECT_FALSE(fs::exists(dir_ / "dst.bin"));
    EXPECT_EQ(file_copy(path("src.bin").c_str(), path("nodir/dst.bin").c_str()), -1);

    // Copying a file onto itself would empty it.
    fs::create_directory(dir_ / "sub");
    EXPECT_EQ(file_copy(path("src.bin").c_str(), path("src.bin").c_str()), -1);
    EXPECT_EQ(file_copy(path("src.bin").c_str(), path("sub/../src.bin").c_str()), -1);
    EXPECT_EQ(read("src.bin"), std::string(40000, 's'));
}

TEST_F(Files, SameFileIsDecidedByTheFileNotItsSpelling) {
    write("a.txt", "alpha");
    write("b.txt", "beta");
    fs::create_directory(dir_ / "sub");
    struct Row { const char* a; const char* b; bool same; };
    static const Row rows[] = {
        {"a.txt", "a.txt", true},
        {"a.txt", "sub/../a.txt", true},
        {"sub/../a.txt", "./a.txt", true},
        {"sub", "sub/.", true},
        {"a.txt", "b.txt", false},
        {"a.txt", "missing", false},
        {"missing", "missing", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.a) + " " + r.b);
        EXPECT_EQ(file_same(path(r.a).c_str(), path(r.b).c_str()), r.same);
    }
#ifndef _WIN32
    fs::create_hard_link(dir_ / "a.txt", dir_ / "link.txt");  // the Win32 layer's hook knows links
    EXPECT_TRUE(file_same(path("a.txt").c_str(), path("link.txt").c_str()));
#endif
}

TEST_F(Files, ReplaceTakesTheNameInOneStepNeverReplacingADirectory) {
    write("new.txt", "new");
    write("old.txt", "old");
    fs::create_directory(dir_ / "dir.txt");
    EXPECT_EQ(file_replace(path("new.txt").c_str(), path("dir.txt").c_str()), -1);
    EXPECT_TRUE(fs::is_directory(dir_ / "dir.txt"));
    EXPECT_EQ(file_replace(path("missing").c_str(), path("old.txt").c_str()), -1);
    EXPECT_EQ(read("old.txt"), "old");
    files_test_fail_call(0);
    EXPECT_EQ(file_replace(path("new.txt").c_str(), path("old.txt").c_str()), -1);
    EXPECT_EQ(read("old.txt"), "old");
    EXPECT_EQ(file_replace(path("new.txt").c_str(), path("old.txt").c_str()), 0);
    EXPECT_EQ(read("old.txt"), "new");
    EXPECT_EQ(file_replace(path("old.txt").c_str(), path("fresh.txt").c_str()), 0);
    EXPECT_EQ(read("fresh.txt"), "new");
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"dir.txt", "fresh.txt"}));
}

TEST_F(Files, RenameNeverReplacesAnExistingTarget) {
    write("a.txt", "alpha");
    write("b.txt", "beta");
    fs::create_directory(dir_ / "sub");
    EXPECT_EQ(file_rename(path("a.txt").c_str(), path("b.txt").c_str()), -1);
    EXPECT_EQ(read("a.txt"), "alpha");
    EXPECT_EQ(read("b.txt"), "beta");
    EXPECT_EQ(file_rename(path("a.txt").c_str(), path("sub").c_str()), -1);
    EXPECT_EQ(read("a.txt"), "alpha");

    EXPECT_EQ(file_rename(path("a.txt").c_str(), path("sub/c.txt").c_str()), 0);
    EXPECT_FALSE(fs::exists(dir_ / "a.txt"));
    EXPECT_EQ(read("sub/c.txt"), "alpha");
    EXPECT_EQ(file_rename(path("missing").c_str(), path("d.txt").c_str()), -1);
    EXPECT_FALSE(fs::exists(dir_ / "d.txt"));
    EXPECT_EQ(file_rename(path("b.txt").c_str(), (dir_.string() + "/" + std::string(200, 'x')).c_str()), -1);
    EXPECT_EQ(read("b.txt"), "beta");
}

// --- The counting fault seam -------------------------------------------------------

TEST_F(Files, TheCountedCallFailsAsTheSystemWouldAndDoesNothing) {
    write("a.txt", "alpha");
    const std::string a = path("a.txt");
    const TimeRecord stamp = {110, 3, 4, 5, 6, 7};
    ASSERT_EQ(set_file_time(a.c_str(), &stamp), 0);

    files_test_fail_call(0);
    EXPECT_EQ(file_create(a.c_str()), -1);  // not truncated
    const int created = file_create(path("new.txt").c_str());  // the next call is not the one to fail
    EXPECT_GE(created, 0);
    EXPECT_EQ(file_close(created), 0);
    EXPECT_EQ(files_test_calls(), 3);
    EXPECT_EQ(read("a.txt"), "alpha");

    files_test_fail_call(0);
    EXPECT_EQ(file_open(a.c_str(), 2), -1);  // no read-only handle instead
    int h = file_open(a.c_str(), 2);
    EXPECT_GE(h, 0);
    EXPECT_EQ(file_close(h), 0);

    h = file_create(path("w.txt").c_str());
    ASSERT_GE(h, 0);
    files_test_fail_call(0);
    EXPECT_EQ(file_write(h, "abc", 3), -1);
    EXPECT_EQ(file_write(h, "def", 3), 3);
    EXPECT_EQ(file_close(h), 0);
    EXPECT_EQ(read("w.txt"), "def");

    files_test_fail_call(0);
    EXPECT_EQ(file_rename(a.c_str(), path("b.txt").c_str()), -1);
    EXPECT_EQ(read("a.txt"), "alpha");
    EXPECT_FALSE(fs::exists(dir_ / "b.txt"));

    files_test_fail_call(0);
    EXPECT_EQ(file_delete(a.c_str()), -1);
    EXPECT_TRUE(fs::exists(dir_ / "a.txt"));

    files_test_fail_call(0);
    const TimeRecord other = {120, 5, 6, 7, 8, 9};
    EXPECT_EQ(set_file_time(a.c_str(), &other), -1);
    TimeRecord got;
    EXPECT_EQ(file_time(a.c_str(), &got), 0);
    EXPECT_EQ(time_text(got), time_text(stamp));

    files_test_fail_call(0);
    EXPECT_EQ(set_file_attributes(a.c_str(), FILE_ATTR_READONLY), -1);
    EXPECT_EQ(file_attributes(a.c_str()) & FILE_ATTR_READONLY, 0);

    // The k-th call from now, once; -1 turns the seam off but keeps counting.
    write("1", "1");
    write("2", "2");
    write("3", "3");
    files_test_fail_call(2);
    EXPECT_EQ(file_delete(path("1").c_str()), 0);
    EXPECT_EQ(file_delete(path("2").c_str()), 0);
    EXPECT_EQ(file_delete(path("3").c_str()), -1);
    EXPECT_EQ(file_delete(path("3").c_str()), 0);
    files_test_fail_call(-1);
    EXPECT_EQ(files_test_calls(), 0);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(file_rename(a.c_str(), a.c_str()), -1);  // refused, not failed
    EXPECT_EQ(files_test_calls(), 3);
    EXPECT_EQ(read("a.txt"), "alpha");
}

TEST_F(Files, AFailingCloseStillReleasesTheHandle) {
    const std::string c = path("c.txt");
    const int h = file_create(c.c_str());
    ASSERT_GE(h, 0);
    EXPECT_EQ(file_write(h, "kept", 4), 4);
    files_test_fail_call(0);
    EXPECT_EQ(file_close(h), -1);
    // The lowest free handle is the one given back.
    const int again = file_open(c.c_str(), 0);
    EXPECT_EQ(again, h);
    EXPECT_EQ(file_close(again), 0);
    EXPECT_EQ(read("c.txt"), "kept");
    // No handle is left open on it: the system lets it go.
    EXPECT_EQ(file_delete(c.c_str()), 0);
    EXPECT_FALSE(fs::exists(dir_ / "c.txt"));

    // A line file whose close fails reports it and is closed all the same.
    write("l.txt", "x\n");
    LineFile lf;
    ASSERT_GE(lf_open(&lf, path("l.txt").c_str()), 0);
    files_test_fail_call(0);
    EXPECT_EQ(lf_close(&lf), -1);
    EXPECT_EQ(lf.handle, -1);
    EXPECT_EQ(file_delete(path("l.txt").c_str()), 0);
}

// Every call the module makes for itself counts, and a copy failed at any of
// them reports failure with no destination left, or is whole.
TEST_F(Files, CallsInsideTheModuleCountAndACopyFailedAtAnyOfThemLeavesNothing) {
    std::string bytes;
    for (int i = 0; i < 40000; ++i) bytes += static_cast<char>('a' + i % 26);
    write("src.bin", bytes);
    const std::string src = path("src.bin"), dst = path("dst.bin");

    files_test_fail_call(-1);
    EXPECT_EQ(file_size(src.c_str()), 40000);
    EXPECT_EQ(files_test_calls(), 2);  // open, close
    files_test_fail_call(-1);
    LineFile lf;
    ASSERT_GE(lf_open(&lf, src.c_str()), 0);
    EXPECT_EQ(lf_write(&lf, "A", 1), 0);
    EXPECT_EQ(lf_close(&lf), 0);
    EXPECT_EQ(files_test_calls(), 3);  // open, the block written back, close
    bytes[0] = 'A';

    files_test_fail_call(-1);
    ASSERT_EQ(file_copy(src.c_str(), dst.c_str()), 0);
    const int calls = files_test_calls();
    EXPECT_GE(calls, 8);  // open, create, three buffers written, two closes, time, attributes
    ASSERT_EQ(file_delete(dst.c_str()), 0);

    int failed = 0;
    for (int k = 0; k < calls; ++k) {
        SCOPED_TRACE("failing call " + std::to_string(k));
        files_test_fail_call(k);
        const int result = file_copy(src.c_str(), dst.c_str());
        EXPECT_GT(files_test_calls(), k);
        if (result != 0) ++failed;
        if (result == 0) {
            EXPECT_EQ(read("dst.bin"), bytes);
            EXPECT_EQ(file_delete(dst.c_str()), 0);
        } else {
            EXPECT_EQ(result, -1);
            EXPECT_FALSE(fs::exists(dir_ / "dst.bin"));
        }
        EXPECT_EQ(read("src.bin"), bytes);
    }
    // Only closing the source, the time and the attributes may fail unnoticed.
    EXPECT_EQ(failed, calls - 3);
}

// --- Paths --------------------------------------------------------------------------

TEST(FilePaths, Pieces) {
    EXPECT_EQ(path_name_pos("C:\\dir/sub\\name.txt"), 11);
    EXPECT_EQ(path_name_pos("C:name"), 2);
    EXPECT_EQ(path_name_pos("name"), 0);
    char dst[FILE_PATH_MAX + 1];
    EXPECT_EQ(path_dir(dst, "C:\\dir/name.txt"), 7);
    EXPECT_STREQ(dst, "C:\\dir/");
    EXPECT_EQ(path_dir(dst, "name.txt"), 0);
    EXPECT_STREQ(dst, "");

    EXPECT_EQ(path_ext(dst, "dir.d/name.tar.gz"), 2);
    EXPECT_STREQ(dst, "gz");
    for (const char* none : {"dir.d/name", "dir.d\\", "x", "", "a."}) {
        path_ext(dst, none);
        EXPECT_STREQ(dst, "") << none;
    }

    char p[FILE_PATH_MAX + 1] = "C:\\my.dir\\readme";
    EXPECT_EQ(path_set_ext(p, "txt"), 0);  // the dot of the directory is no extension
    EXPECT_STREQ(p, "C:\\my.dir\\readme.txt");
    EXPECT_EQ(path_set_ext(p, "bak"), 0);
    EXPECT_STREQ(p, "C:\\my.dir\\readme.bak");

    std::strcpy(p, "C:\\a/b");
    EXPECT_EQ(path_add_sep(p), 0);
    EXPECT_STREQ(p, "C:\\a/b/");  // the last separator found
    EXPECT_EQ(path_add_sep(p), 0);
    EXPECT_STREQ(p, "C:\\a/b/");
    std::strcpy(p, "C:\\a");
    path_add_sep(p);
    EXPECT_STREQ(p, "C:\\a\\");
    std::strcpy(p, "name");
    path_add_sep(p);
    EXPECT_STREQ(p, "name/");
    p[0] = '\0';
    path_add_sep(p);
    EXPECT_STREQ(p, "");

    std::strcpy(p, "a\\b\\\\");
    path_strip_sep(p);
    EXPECT_STREQ(p, "a\\b\\");  // one only
    std::strcpy(p, "C:\\x/y\\z/");
    path_unify_seps(p);
    EXPECT_STREQ(p, "C:\\x\\y\\z\\");
    std::strcpy(p, "a/x\\y/z");
    path_unify_seps(p);
    EXPECT_STREQ(p, "a/x/y/z");
    path_backslash(p);
    EXPECT_STREQ(p, "a\\x\\y\\z");
}

TEST(FilePaths, ShortForm) {
    const char* shortPath = "C:\\Projekte\\Editor\\quelle.cpp";  // under 40
    EXPECT_EQ(path_short(shortPath), shortPath);
    const std::string long1 = "C:\\Projekte\\Editor\\Quellen\\Unterordner\\datei.cpp";  // 48
    EXPECT_STREQ(path_short(long1.c_str()), "...\\Editor\\Quellen\\Unterordner\\datei.cpp");  // cut inside "Projekte"
    const std::string noSep = "C:\\" + std::string(45, 'n');
    EXPECT_EQ(std::string(path_short(noSep.c_str())), "..." + std::string(40, 'n'));
    const std::string exact(39, 'e');
    EXPECT_STREQ(path_short(exact.c_str()), exact.c_str());
    const std::string huge = std::string(300, 'h') + "\\end.txt";
    EXPECT_EQ(std::string(path_short(huge.c_str())), "...\\end.txt");
}

TEST_F(Files, OverlongPathsAreRefusedSafely) {
    const std::string longPath = path(std::string(300, 'L'));
    std::vector<char> dst(FILE_PATH_MAX + 1, '?');  // on the heap, so an overrun is seen
    EXPECT_EQ(path_dir(dst.data(), longPath.c_str()), -1);
    EXPECT_EQ(dst[0], '\0');
    EXPECT_EQ(path_ext(dst.data(), (std::string(250, 'a') + ".b/c." + std::string(250, 'x')).c_str()), -1);
    EXPECT_EQ(dst[0], '\0');

    std::vector<char> p(FILE_PATH_MAX + 1, '\0');
    std::string base(195, 'p');
    std::strcpy(p.data(), base.c_str());
    EXPECT_EQ(path_set_ext(p.data(), "longext"), -1);  // 203 characters
    EXPECT_EQ(std::string(p.data()), base);
    EXPECT_EQ(path_set_ext(p.data(), "ext"), 0);  // 199
    EXPECT_EQ(std::string(p.data()), base + ".ext");
    std::strcpy(p.data(), std::string(FILE_PATH_MAX, 'a').c_str());
    EXPECT_EQ(path_add_sep(p.data()), -1);
    EXPECT_EQ(std::strlen(p.data()), static_cast<size_t>(FILE_PATH_MAX));
    p[FILE_PATH_MAX - 1] = '\0';
    EXPECT_EQ(path_add_sep(p.data()), 0);
    EXPECT_EQ(p[FILE_PATH_MAX - 1], '/');

    const char* l = longPath.c_str();
    EXPECT_EQ(file_create(l), -1);
    EXPECT_EQ(file_open(l, 2), -1);
    LineFile lf;
    EXPECT_EQ(lf_open(&lf, l), -1);
    EXPECT_FALSE(file_exists(l));
    EXPECT_EQ(file_size(l), -1);
    TimeRecord t = {121, 1, 1, 0, 0, 0};
    EXPECT_EQ(set_file_time(l, &t), -1);
    EXPECT_EQ(file_time(l, &t), -1);
    EXPECT_EQ(file_delete(l), -1);
    write("ok.txt", "x");
    EXPECT_EQ(file_copy(path("ok.txt").c_str(), l), -1);
    EXPECT_EQ(file_copy(l, path("ok2.txt").c_str()), -1);
    EXPECT_EQ(file_attributes(l), -1);
    EXPECT_EQ(change_dir(l), -1);
    EXPECT_EQ(make_dirs(l), MKDIR_CANT_CREATE);
    EXPECT_EQ(dir_list((longPath + "\\*").c_str(), [](bool, const char*, long, const TimeRecord*, void*) { return 1; },
                       nullptr),
              -1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);  // only ok.txt
}

TEST_F(Files, CurrentDirectoryLongerThanAPathIsRefused) {
    fs::path deep = dir_;
    while (deep.string().size() <= FILE_PATH_MAX + 5) deep /= std::string(30, 'd');
    ASSERT_LT(deep.string().size(), 250u);  // still within what the system allows
    fs::create_directories(deep);
    fs::current_path(deep);
    std::vector<char> buf(FILE_PATH_MAX + 1, '?');
    EXPECT_EQ(get_cwd(buf.data()), -1);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(make_dirs("more"), MKDIR_CANT_CREATE);  // could not come back here
    EXPECT_FALSE(fs::exists(deep / "more"));
}

// --- Directories ----------------------------------------------------------------

TEST_F(Files, ChangeDirAndCwd) {
    char cwd[FILE_PATH_MAX + 1];
    ASSERT_EQ(change_dir(dir_.string().c_str()), 0);
    ASSERT_EQ(get_cwd(cwd), 0);
    EXPECT_TRUE(fs::equivalent(cwd, dir_));
    EXPECT_EQ(change_dir(path("missing").c_str()), -1);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_));
    write("file", "");
    EXPECT_EQ(change_dir(path("file").c_str()), -1);
    EXPECT_EQ(change_dir(""), -1);
#ifdef _WIN32
    // A failing change on another drive keeps this drive current.
    int other = 0;
    for (int d = 26; d >= 3 && other == 0; --d) {
        if ((_getdrives() & (1ul << (d - 1))) && d != _getdrive()) other = d;
    }
    if (other != 0) {
        std::string missing = std::string(1, static_cast<char>('A' + other - 1)) + ":\\y8_no_such_dir_here";
        EXPECT_EQ(change_dir(missing.c_str()), -1);
        EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_));
    }
#endif
}

TEST_F(Files, MakeDirsCreatesTheChainAndComesBack) {
    fs::current_path(dir_);
    fs::create_directory(dir_ / "have");
    EXPECT_EQ(make_dirs(path("have").c_str()), MKDIR_OK);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);

    EXPECT_EQ(make_dirs(path("a/b\\c/").c_str()), MKDIR_OK);
    EXPECT_TRUE(fs::is_directory(dir_ / "a" / "b" / "c"));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_));

    EXPECT_EQ(make_dirs("  rel//x\\y  "), MKDIR_OK);  // relative, blanks around, doubled separator
    EXPECT_TRUE(fs::is_directory(dir_ / "rel" / "x" / "y"));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_));

    write("plain", "");
    EXPECT_EQ(make_dirs(path("plain/sub").c_str()), MKDIR_CANT_CREATE);  // a file is in the way
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_));

    fs::current_path(dir_ / "rel");
    EXPECT_EQ(make_dirs(path("a/b/c2").c_str()), MKDIR_OK);
    EXPECT_TRUE(fs::is_directory(dir_ / "a" / "b" / "c2"));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_ / "rel"));
#ifdef _WIN32
    int missing = 0;
    for (int d = 26; d >= 3 && missing == 0; --d) {
        if (!(_getdrives() & (1ul << (d - 1)))) missing = d;
    }
    if (missing == 0) GTEST_SKIP() << "every drive letter is in use";
    std::string onMissing = std::string(1, static_cast<char>('A' + missing - 1)) + ":\\x\\y";
    EXPECT_EQ(make_dirs(onMissing.c_str()), MKDIR_NO_DRIVE);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_ / "rel"));
#endif
}

struct Listed {
    bool isDir;
    long size;
    TimeRecord time;
};
using Listing = std::map<std::string, Listed>;

int collect(bool isDir, const char* fullPath, long size, const TimeRecord* time, void* user) {
    (*static_cast<Listing*>(user))[fullPath] = Listed{isDir, size, *time};
    return 1;
}

std::string with_backslashes(std::string p) {
    for (char& ch : p) {
        if (ch == '/') ch = '\\';
    }
    return p;
}

TEST_F(Files, DirListMatchesNamesWithoutCase) {
    write("a.c", "12345");
    write("B.C", "");
    write("a.h", "");
    write("a.cpp", "");
    fs::create_directory(dir_ / "sub.c");
    fs::create_directory(dir_ / "other");
    const TimeRecord stamp = {120, 12, 24, 18, 0, 1};
    ASSERT_EQ(set_file_time(path("a.c").c_str(), &stamp), 0);

    Listing listing;
    const std::string base = with_backslashes(dir_.string()) + "\\";
    EXPECT_EQ(dir_list((dir_.string() + "/*.c").c_str(), collect, &listing), 3);
    ASSERT_EQ(listing.size(), 3u);
    ASSERT_EQ(listing.count(base + "a.c"), 1u);
    EXPECT_FALSE(listing[base + "a.c"].isDir);
    EXPECT_EQ(listing[base + "a.c"].size, 5);
    EXPECT_EQ(time_text(listing[base + "a.c"].time), time_text(stamp));
    EXPECT_EQ(listing.count(base + "B.C"), 1u);
    ASSERT_EQ(listing.count(base + "sub.c"), 1u);
    EXPECT_TRUE(listing[base + "sub.c"].isDir);
    EXPECT_EQ(listing[base + "sub.c"].size, 0);

    // An empty name pattern lists everything, never "." and "..".
    listing.clear();
    EXPECT_EQ(dir_list((dir_.string() + "\\").c_str(), collect, &listing), 6);
    for (const auto& entry : listing) {
        std::string name = entry.first.substr(base.size());
        EXPECT_NE(name, ".");
        EXPECT_NE(name, "..");
    }
    listing.clear();
    fs::current_path(dir_);  // without a directory: the current one
    EXPECT_EQ(dir_list("?.H", collect, &listing), 1);
    EXPECT_EQ(listing.count(".\\a.h"), 1u);

    int calls = 0;
    auto stopAtOnce = [](bool, const char*, long, const TimeRecord*, void* user) {
        ++*static_cast<int*>(user);
        return 0;
    };
    EXPECT_EQ(dir_list("*", stopAtOnce, &calls), 1);
    EXPECT_EQ(calls, 1);
    // The root of the current drive without a drive letter.
    for (const char* root : {"\\*", "/*"}) {
        SCOPED_TRACE(root);
        listing.clear();
        EXPECT_GT(dir_list(root, collect, &listing), 0);
        for (const auto& entry : listing) {
            EXPECT_EQ(entry.first[0], '\\');
            EXPECT_NE(entry.first[1], '\\');
        }
    }
    EXPECT_EQ(dir_list(path("missing/*").c_str(), collect, &listing), -1);
}

TEST_F(Files, DirListSkipsEntriesWithOverlongPaths) {
    const size_t room = FILE_PATH_MAX + 1 - dir_.string().size() - 1;  // a name one over the limit
    ASSERT_GT(room, 10u);
    write(std::string(room, 'n'), "");
    write(std::string(room - 1, 'n'), "");
    Listing listing;
    EXPECT_EQ(dir_list((dir_.string() + "/n*").c_str(), collect, &listing), 1);
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing.begin()->first.size(), static_cast<size_t>(FILE_PATH_MAX));
}

}  // namespace
