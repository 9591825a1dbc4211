// Raw and whole files, copying, renaming, the file hooks and the counting fault seam.
#include "files_fixture.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>

namespace {

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

}  // namespace
