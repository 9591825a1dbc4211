// Facette, the info tools, lint and the archive copy; the current directory is a/b below a fresh directory.
#include "document/dirpanel.h"
#include "editor_fixture.h"
#include "host/headless_messages.h"
#include "support/devices.h"
#include "tools/archive.h"
#include "tools/facette.h"
#include "tools/infotools.h"

namespace fs = std::filesystem;

TEST(ProgramLine, TheTemplatesProgramRunsAndEachWordIsOneArgument) {
    struct Row { const char* tmpl; std::vector<const char*> args; const char* line; };  // line nullptr: refused
    const Row rows[] = {
        {"D:/UTI/W6.EXE F:/LIB.UFO -K=%s -I", {"strcpy"}, "D:\\UTI\\W6.EXE F:\\LIB.UFO -K=strcpy -I"},
        {"W6.EXE -K=%s -I", {"a & calc"}, "W6.EXE -K=\"a & calc\" -I"},
        {"W6.EXE -K=%s", {"x|y>z^<w"}, "W6.EXE -K=\"x|y>z^<w\""}, {"W6.EXE -K=%s", {"dir\\"}, "W6.EXE -K=dir\\"},
        {"W6.EXE \"-K=%s\"", {"a b\\"}, "W6.EXE \"-K=a b\\\\\""},  // inside the template's quotes
        {"W6.EXE %s -K=%s", {"C:/P/info/Projekt.ufo", "w"}, "W6.EXE C:/P/info/Projekt.ufo -K=w"},
        {"W6.EXE %d%%-K=%s", {"w"}, "W6.EXE %d%%-K=w"},  // no format of its own
        {"W6.EXE -K=%s", {"say \"hi\""}, nullptr}, {"W6.EXE -K=%s", {"%PATH%"}, nullptr},
        {"W6.EXE -K=%s", {"a\nb"}, nullptr},
        {"%s -I", {"calc"}, nullptr}, {"\"C:/x %s.exe\" -I", {"y"}, nullptr},  // a word never chooses the program
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.tmpl);
        char out[START_LINE_MAX + 1];
        const int words = static_cast<int>(r.args.size());
        EXPECT_EQ(program_line(out, sizeof out, r.tmpl, r.args.data(), words), r.line ? 0 : -1);
        EXPECT_STREQ(out, r.line ? r.line : "");
    }
}

namespace {

std::set<std::string> archived;  // the names whose archive attribute is set

int fakeAttributes(const char* path) {
    if (!fs::exists(path)) return -1;
    if (fs::is_directory(path)) return FILE_ATTR_DIRECTORY;
    return archived.count(fs::path(path).filename().string()) ? FILE_ATTR_ARCHIVE : 0;
}
int fakeSetAttributes(const char* path, int attributes) {
    if (!(attributes & FILE_ATTR_ARCHIVE)) archived.erase(fs::path(path).filename().string());
    return 0;
}

class InfoTools : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        fs::create_directories(dir_ / "a" / "b");
        fs::current_path(dir_ / "a" / "b");
        infoTemplatesForget();
        const FileHooks hooks = {fakeAttributes, fakeSetAttributes, nullptr, nullptr, nullptr, nullptr, nullptr};
        files_set_hooks(&hooks);
        archived.clear();
    }
    void TearDown() override {
        files_set_hooks(nullptr);
        dirHiddenFilesSet(nullptr);
        SettingsFixture::TearDown();
    }
    std::string at(const std::string& rel, char sep = fs::path::preferred_separator) const {
        std::string path = (dir_ / rel).string();
        for (char& c : path) c = c == '/' ? sep : c;
        return path;
    }
    void file(const std::string& rel, const std::string& text = "x") {
        fs::create_directories(fs::path(at(rel)).parent_path());
        writeBytes(at(rel), text);
        const TimeRecord noon{110, 12, 5, 12, 0, 0};  // the same day in UTC in every zone within 11 hours
        ASSERT_EQ(set_file_time(at(rel).c_str(), &noon), 0);
        archived.insert(fs::path(rel).filename().string());
    }
};

}  // namespace

TEST_F(InfoTools, FacetteTakesTheFacetsFromAFileTwoLevelsUp) {
    file("facette.txt", "Kunde\nAuf?trag\n");
    std::vector<std::string> facets;
    facetteEntries([](const char* t, void* u) { static_cast<std::vector<std::string>*>(u)->push_back(t); }, &facets);
    EXPECT_EQ(facets, (std::vector<std::string>{"Kunde", "Auf?trag"}));
    EXPECT_EQ(facetPath, at("facette.txt"));
    EXPECT_FALSE(facetteInsert(0, "Kunde", -1));  // a list without selection adds nothing (the rest: the Win32 test)
    char typed[PHRASE_TYPED_MAX + 1];
    EXPECT_TRUE(facetteInsert(1, "Auf?trag", 8) && phrasePostedTake(headless_posted_commands().back().lParam, typed));
    EXPECT_STREQ(typed, "FCT Auf?trag convert");  // the last verb
#ifndef _WIN32  // a directory named "C:" below the current one stands in for a drive
    file("a/b/C:/facette.txt");
    fs::create_directories(at("a/b/C:/x/y"));
    char found[FILE_PATH_MAX + 1];
    const char* names[] = {facetFileName};
    EXPECT_FALSE(findUpwards("C:\\x\\y", names, 1, FACET_SEARCH_LEVELS, 1, found));  // never in the root
#endif
}

TEST_F(InfoTools, TheWordOfEachCallerReachesItsTemplate) {
    ini_write("Installation", "LibInfoA", "W6.EXE A -K=%s -I");
    ini_write("Installation", "LibInfoB", "W6.EXE B -K=%s -I");
    ini_write("Installation", "ProInfo", "W6.EXE %s -K=%s");
    file("info/Projekt.ufo");
    struct Row { const char* line; int col, from, to; void (*act)(); std::string started; };
    const Row rows[] = {
        {"strcpy(a, b);", 2, 0, 0, [] { controlCommand('I'); }, "W6.EXE A -K=strcpy -I"},
        {"x foo(x) y", 0, 2, 8, [] { infoCommand(0); }, "W6.EXE A -K=foo -I"},      // the mark, cut at "("
        {"x (a b) y", 0, 1, 8, [] { infoCommand(1); }, "W6.EXE B -K=\"(a b)\" -I"},  // trimmed; "(" first stays
        {"x foo(x) y", 0, 2, 8, [] { controlCommand('5'); }, "W6.EXE B -K=x -I"},   // Ctrl+5: never the mark
        {"  ", 0, 0, 0, [] { controlCommand('4'); }, ""},                          // no word: nothing
        {"x \"a\" y", 0, 2, 5, [] { infoCommand(0); }, ""},  // a word that cannot be passed: refused
        {"strcpy(a, b);", 0, 0, 0, [] { controlCommand('O'); }, "W6.EXE " + at("info/Projekt.ufo") + " -K=strcpy"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line);
        const size_t before = headless_started_programs().size();
        setRow(0, r.line);
        cursorCol = r.col;
        if (r.to > r.from) markSetInLine(r.from, r.to);
        r.act();
        EXPECT_EQ(headless_started_programs().size() == before ? "" : headless_started_programs().back(), r.started);
    }
}

TEST_F(InfoTools, TheDialogsStandardLeavesLintAndItsSavedFieldsTakeEffectTrimmed) {
    InfoFields fields{};
    std::strcpy(fields[6].data(), " C:\\lint.bat ");
    infoFieldsStandard(&fields);
    std::strcpy(fields[2].data(), "  W6.EXE C -K=%s ");
    infoFieldsSave(fields);
    InfoFields stored{};
    infoFieldsLoad(&stored);
    EXPECT_EQ(std::string(stored[6].data()) + "|" + stored[7].data(), "C:\\lint.bat|D:\\Archiv");
    setRow(0, "strcpy(a, b);");
    controlCommand('6');
    EXPECT_EQ(headless_started_programs().back(), "W6.EXE C -K=strcpy");
}

TEST_F(InfoTools, LintTakesLintBatUpwardsElseLintBatOfTheSettingsElseNothing) {
    std::strcpy(fileName, "C:\\p\\a & b^c (1).c");
    EXPECT_EQ(lint_run(), START_REFUSED);  // neither: nothing (lint.bat two up: the Win32 test)
    ini_write("Installation", "LintBAT", "C:\\lint\\global.bat");
    lint_run();
    std::strcpy(fileName, "C:\\p\\100%.c");
    EXPECT_EQ(lint_run(), START_REFUSED);
    EXPECT_EQ(headless_boxes().size(), 1u);  // the refusal is told
    ASSERT_EQ(headless_shell_calls().size(), 1u);
    EXPECT_EQ(headless_shell_calls()[0].file + headless_shell_calls()[0].params,
              "C:\\lint\\global.bat\"C:\\p\\a & b^c (1).c\"");
}

namespace {

struct Listed {
    std::vector<std::string> entries;
    int top = -1;
    std::string status;
};

Listed archiveRunOf(const std::string& source, const std::string& target, bool testRun) {
    Listed listed;
    const ArchiveView view = {[](const char* text, int top, void* u) {
                                  static_cast<Listed*>(u)->entries.push_back(text);
                                  return static_cast<Listed*>(u)->top = top, true;
                              },
                              [](const char* text, void* u) { static_cast<Listed*>(u)->status = text; }, &listed};
    const int count = archiveRun(source.c_str(), target.c_str(), testRun, view);
    EXPECT_EQ(count, static_cast<int>(listed.entries.size()));
    return listed;
}

const DirHiddenFiles kNoBak = {[] {}, [](const char* ext) { return std::strcmp(ext, "BAK") == 0 ? 0 : 1; }};

}  // namespace

TEST_F(InfoTools, ArchiveCopiesChangedFilesOnceWithTheirDateStamp) {
    archiveInit();  // no project file: the current directory, below the standard root without its drive
    std::string rest = at("a/b/").substr(at("")[1] == ':' ? 2 : 0);
    EXPECT_EQ(archiveSource, at("a/b/"));
    EXPECT_EQ(archiveTarget, "D:\\Archiv\\" + rest.erase(0, rest.find_first_not_of("/\\")));
    file("archiv.txt", "Archiv " + at("arc") + "\nIGNORE *.obj\n");
    for (const char* f :
         {"src/main.c", "src/x.obj", "src/x.bak", "README", "src/deep/u.c", ".git/h.c", "src/.hid", "v1.2/ME"})
        file(f);
    archived.erase("archiv.txt");
    dirHiddenFilesSet(&kNoBak);
    archiveInit();
    EXPECT_EQ(std::string(archiveSource) + "|" + archiveTarget, at("") + "|" + at("arc/"));
    const std::vector<std::string> expected = {"README                              > README-B0C5",
                                               "src\\main.c                          > main-B0C5.c",
                                               "src\\deep\\u.c                        > u-B0C5.c",
                                               "v1.2\\ME                             > ME-B0C5"};  // never v1-B0C5.2
    const Listed test = archiveRunOf(archiveSource, archiveTarget, true);
    // A directory's files before its subdirectories, depth first; the system orders src and v1.2.
    const std::vector<std::string> other = {expected[0], expected[3], expected[1], expected[2]};
    EXPECT_TRUE(test.entries == expected || test.entries == other) << ::testing::PrintToString(test.entries);
    EXPECT_TRUE(test.status == "Fertig." && !fs::exists(at("arc")));  // a test run makes nothing
    EXPECT_EQ(archiveRunOf(archiveSource, archiveTarget, false).entries, test.entries);
    EXPECT_TRUE(fs::exists(at("arc/v1.2/ME-B0C5")) && !fs::exists(at("arc/src/main-B0C5.c.y8~")));
    EXPECT_EQ(readBytes(at("arc/src/deep/u-B0C5.c")), "x");
    EXPECT_TRUE(archiveRunOf(archiveSource, archiveTarget, false).entries.empty());  // the attribute is cleared
    file("src/main.c");
    file("src/deep/v.h");
    fs::current_path(dir_);  // a pattern alone: from the current directory
    EXPECT_EQ(archiveRunOf("*.c", archiveTarget, false).entries, std::vector<std::string>{expected[1]});
    file("f/z.c");  // a copy failed at any file call: no partial target, the attribute stays for the next run
    for (int k = 0, done = 0; !done; ++k) {
        archived.insert("z.c");
        fs::remove(at("arc/z-B0C5.c"));
        files_test_fail_call(k);
        archiveRunOf(at("f/"), at("arc/"), false);
        done = files_test_calls() <= k;  // no call failed: the copy went through
        files_test_fail_call(-1);
        TimeRecord source, copy;
        const bool dated = file_time(at("arc/z-B0C5.c").c_str(), &copy) == 0 &&
                           file_time(at("f/z.c").c_str(), &source) == 0 &&
                           std::memcmp(&copy, &source, sizeof copy) == 0;
        EXPECT_TRUE(dated || archived.count("z.c")) << k;
        EXPECT_FALSE(fs::exists(at("arc/z-B0C5.c.y8~"))) << k;
    }
    EXPECT_FALSE(archived.count("z.c"));
    for (int i = 0; i < 40; ++i) file("t/f" + std::to_string(100 + i));
    const Listed many = archiveRunOf(at("t/"), at("arc"), true);
    EXPECT_EQ(many.entries.size() * 100 + many.top, 4010u);  // forty entries, the last thirty shown
}
