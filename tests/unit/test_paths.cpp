// Path pieces, the current directory, creating directories, listing a directory.
#include "files_fixture.h"

#include <cstring>
#include <map>
#include <set>
#include <string>

#ifdef _WIN32
#include <direct.h>
#endif

namespace {

class Paths : public Files {};

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

    // The functions that change a path in place (0 for a path that fits): before, after.
    struct InPlace {
        const char* name;
        int (*edit)(char* path);
        const char* before;
        const char* after;
    };
    const auto addSep = [](char* s) { return path_add_sep(s); };
    const auto stripSep = [](char* s) { return path_strip_sep(s), 0; };
    const auto unify = [](char* s) { return path_unify_seps(s), 0; };
    const auto backslash = [](char* s) { return path_backslash(s), 0; };
    const InPlace rows[] = {
        {"add_sep", addSep, "C:\\a/b", "C:\\a/b/"},  // the last separator found
        {"add_sep", addSep, "C:\\a/b/", "C:\\a/b/"},
        {"add_sep", addSep, "C:\\a", "C:\\a\\"},
        {"add_sep", addSep, "name", "name/"},
        {"add_sep", addSep, "", ""},
        {"strip_sep", stripSep, "a\\b\\\\", "a\\b\\"},  // one only
        {"unify_seps", unify, "C:\\x/y\\z/", "C:\\x\\y\\z\\"},
        {"unify_seps", unify, "a/x\\y/z", "a/x/y/z"},
        {"backslash", backslash, "a/x/y/z", "a\\x\\y\\z"},
    };
    for (const InPlace& row : rows) {
        std::strcpy(p, row.before);
        EXPECT_EQ(row.edit(p), 0) << row.name << " " << row.before;
        EXPECT_STREQ(p, row.after) << row.name << " " << row.before;
    }
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

TEST_F(Paths, OverlongPathsAreRefusedSafely) {
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

TEST_F(Paths, CurrentDirectoryLongerThanAPathIsRefused) {
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

TEST_F(Paths, ChangeDirAndCwd) {
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

TEST_F(Paths, MakeDirsCreatesTheChainAndComesBack) {
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

TEST_F(Paths, DirListMatchesNamesWithoutCase) {
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

TEST_F(Paths, DirListSkipsEntriesWithOverlongPaths) {
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
