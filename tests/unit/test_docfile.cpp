// Loading and saving the document through the headless host: line ends, the
// store-full load and the refused save over the cut file, the backup and the
// safe replacement of the old file, failed writes, a save failed at each of
// its file calls in turn, the date stamp, the kept file time, the disk-time
// check, the question before dropping a changed document, the back list, the
// title, the line-end field, the restored position and the portable half of
// the properties dialog.
#include "document/docfile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/filehist.h"
#include "editor_fixture.h"
#include "file_bytes.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "host/headless_status.h"
#include "support/status.h"
#include "view/refresh.h"
#include "view/taste.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

int collect(LineRecord* line, void* user) {
    static_cast<Lines*>(user)->push_back(line->text);
    return 1;
}

// The document alone: an empty store in a window of 20 x 80, nothing above it
// that answers its notices. DocFileInEditor starts the editor around it.
class DocFile : public ::testing::Test {
  protected:
    virtual void start() {
        headless_reset();
        ASSERT_TRUE(emptyStoreStart(20, 80));
        positionsReset();
        docListenersClear();
    }
    virtual void stop() {}
    void SetUp() override {
        start();
        historyCreate();
        home_ = fs::current_path();
        dir_ = freshTempDir("y8_doc_");
        fileName[0] = lastDir[0] = '\0';
        hasName = modified = partlyLoaded = 0;
        fileSize = 0;
        fileTime = TimeRecord{};
        crlfMode = 1;
        keepFileTime = 0;
        std::memset(backList, 0, sizeof backList);
        startLineSet(-1);
        docShownReset();
        headless_reset();
    }
    void TearDown() override {
        files_test_fail_writes_after(-1);
        files_test_fail_reads_after(-1);
        files_test_fail_call(-1);
        fs::current_path(home_);
        historyDestroy();
        stop();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const { writeBytes(dir_ / name, bytes); }
    std::string read(const std::string& name) const { return readBytes(dir_ / name); }
    std::set<std::string> filesInDir() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) names.insert(entry.path().filename().string());
        return names;
    }
    // Every line of the document, the window rows included.
    static Lines documentLines() {
        Lines lines;
        EXPECT_EQ(flushWindowBelow(), 0);
        visitAbove(collect, &lines);
        visitBelow(collect, &lines);
        fillWindowFromBelow();
        topLine = aboveCountGet();
        return lines;
    }
    static std::vector<std::string> boxTexts() {
        std::vector<std::string> texts;
        for (const HeadlessBox& box : headless_boxes()) texts.push_back(box.text);
        return texts;
    }
    // A file of n lines "<prefix> i".
    void writeLines(const std::string& name, int n, const std::string& prefix = "line",
                    const char* end = "\r\n") const {
        std::string bytes;
        for (int i = 0; i < n; ++i) bytes += prefix + " " + std::to_string(i) + end;
        write(name, bytes);
    }

    fs::path dir_;
    fs::path home_;
};

// For what the edit session does with the document's notices (mark, cursor,
// snapshot, keys, the full refresh).
class DocFileInEditor : public DocFile {
  protected:
    void start() override { editorStart(); }
    void stop() override { editorStop(); }
};

const TimeRecord kOldTime = {100, 2, 3, 4, 5, 6};  // 03.02.2000 04:05:06

bool sameTime(const TimeRecord& a, const TimeRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// --- Loading ---------------------------------------------------------------------------

TEST(LineEnds, TheFirstCrOrLfDecidesAndNeitherKeepsTheMode) {
    EXPECT_EQ(lineEndDetect("ab\r\ncd", 6, 0), 1);
    EXPECT_EQ(lineEndDetect("ab\ncd\r\n", 7, 1), 0);
    EXPECT_EQ(lineEndDetect("abc", 3, 0), 0);
    EXPECT_EQ(lineEndDetect("abc", 3, 1), 1);
    EXPECT_EQ(lineEndDetect("ab\ncd", 2, 1), 1);  // only the first n bytes count
}

TEST_F(DocFile, LoadingTakesLineEndsFromTheFirst250BytesOnly) {
    write("lf.txt", "one\ntwo\r\n");
    write("crlf.txt", "one\r\ntwo\n");
    write("late.txt", std::string(260, 'a') + "\nb\n");  // the line feed comes after byte 250
    crlfMode = 1;
    ASSERT_EQ(docLoad(path("lf.txt").c_str(), true), 0);
    EXPECT_EQ(crlfMode, 0);
    ASSERT_EQ(docLoad(path("late.txt").c_str(), true), 0);
    EXPECT_EQ(crlfMode, 0);
    ASSERT_EQ(docLoad(path("crlf.txt").c_str(), true), 0);
    EXPECT_EQ(crlfMode, 1);
    ASSERT_EQ(docLoad(path("late.txt").c_str(), true), 0);
    EXPECT_EQ(crlfMode, 1);
    // The 260 characters load as 250.
    EXPECT_EQ(documentLines(), (Lines{std::string(250, 'a'), "b"}));

    // The field shows the mode on the next refresh.
    refreshAll();
    EXPECT_STREQ(headless_status_text(0), "crlf");
    crlfMode = 0;
    refreshAll();
    EXPECT_STREQ(headless_status_text(0), " lf");
}

TEST_F(DocFileInEditor, AWholeLoadNamesTheDocumentAndEntersItsDirectory) {
    write("a.txt", "first\r\n" + std::string(250, 'x') + "\r\n\tlast  \r\n");
    ASSERT_EQ(set_file_time(path("a.txt").c_str(), &kOldTime), 0);
    modified = 1;  // the caller asked already
    fs::current_path(dir_);
    ASSERT_EQ(docLoad("a.txt", true), 0);  // a relative name becomes the full path

    EXPECT_EQ(std::string(fileName), path("a.txt"));
    EXPECT_EQ(hasName, 1);
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(partlyLoaded, 0);
    EXPECT_EQ(fileSize, static_cast<long>(read("a.txt").size()));
    EXPECT_TRUE(sameTime(fileTime, kOldTime));
    char dir[FILE_PATH_MAX + 1];
    path_dir(dir, path("a.txt").c_str());
    EXPECT_STREQ(lastDir, dir);
    EXPECT_EQ(fs::canonical(fs::current_path()), fs::canonical(dir_));
    EXPECT_EQ(documentLines(), (Lines{"first", std::string(250, 'x'), "\tlast"}));
    EXPECT_EQ(topLine, 0);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_GT(headless_record().viewRepaints, 0);
    EXPECT_TRUE(headless_boxes().empty());

    // A file that cannot be read changes nothing.
    headless_reset();
    ASSERT_EQ(docLoad(path("missing.txt").c_str(), true), -1);
    ASSERT_EQ(headless_boxes().size(), 1u);
    EXPECT_EQ(headless_boxes()[0].text, "Dateifehler: kann " + path("missing.txt") + " nicht \366ffnen.");
    EXPECT_EQ(std::string(fileName), path("a.txt"));
    EXPECT_EQ(documentLines().size(), 3u);
}

TEST_F(DocFile, AnInsertStandsBeforeTheCursorLineWhichKeepsItsRow) {
    for (int i = 0; i < 5; ++i) setRow(i, ("row " + std::to_string(i)).c_str());
    write("ins.txt", "new 1\nnew 2\n");
    crlfMode = 1;
    cursorRow = 2;
    ASSERT_EQ(docLoad(path("ins.txt").c_str(), false), 0);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(hasName, 0);
    EXPECT_EQ(crlfMode, 0);
    EXPECT_EQ(cursorRow, 2);
    EXPECT_EQ(rowText(2), "row 2");
    EXPECT_EQ(rowText(1), "new 2");
    EXPECT_EQ(documentLines(), (Lines{"row 0", "row 1", "new 1", "new 2", "row 2", "row 3", "row 4"}));

    // With 118 bytes free once the rows are flushed, a line of 240 does not fit: the
    // box says so, and the document keeps what it had.
    write("wide.txt", std::string(240, 'w') + "\n");
    loadLines({"a", "b"});
    cursorRow = 1;
    fillStoreLeaving(130 - static_cast<long>(storeWindowBytes()) - 1);
    ASSERT_EQ(storeFreeBytes(), 130u);
    const std::size_t before = documentLines().size();
    headless_reset();
    ASSERT_EQ(docLoad(path("wide.txt").c_str(), false), 0);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{path("wide.txt") + " ist zu lang."}));
    const Lines after = documentLines();
    EXPECT_EQ(after.size(), before);
    EXPECT_EQ(after.back(), "b");
}

// --- A file the store cannot hold as it is -------------------------------------------------

// Loaded whole or inserted, a file the reader's rules shorten beyond the lossless
// ones (trailing white space, blank lines at the end, CR LF or LF, one Ctrl-Z as the
// last byte) is reported in one box; a document loaded so is never saved over its
// file, while "Sichern als" writes what was kept. Every line is saved trimmed.
TEST_F(DocFile, ALoadThatLosesBytesTellsOnceAndIsNeverSavedOver) {
    const std::string x300(300, 'x'), x250(250, 'x');
    std::string read5000, kept5000;  // 100 lines of 50 bytes; the third block's read fails
    for (int i = 0; i < 100; ++i) read5000 += std::string(48, 'r') + "\r\n";
    for (int i = 0; i < 81; ++i) kept5000 += std::string(48, 'r') + "\r\n";
    kept5000 += std::string(46, 'r') + "\r\n";
    std::string blanks30, trimmed30;
    for (int i = 0; i < 30; ++i) blanks30 += "t " + std::to_string(i) + "  \t\r\n", trimmed30 += "t " + std::to_string(i) + "\r\n";
    const std::string refuse =
        " Unter diesem Namen wird nicht gesichert: bitte \"Sichern als\" mit einem anderen Namen w\344hlen.";
    struct Row {
        const char* what;
        std::string bytes;
        bool whole;
        int readsOk;       // file reads that succeed (-1: all)
        std::string box;   // after the file's name; empty: no box
        std::string kept;  // what a save writes
    };
    const Row rows[] = {
        {"a line of 300", "first\r\n" + x300 + "\r\n", true, -1,
         " wurde nicht vollst\344ndig \374bernommen: 1 Zeile l\344nger als 250 Zeichen gek\374rzt." + refuse,
         "first\r\n" + x250 + "\r\n"},
        {"Ctrl-Z inside", "one\r\ntwo\r\n\x1Athree\r\nfour\r\n", true, -1,
         " wurde nicht vollst\344ndig \374bernommen: 13 Bytes nach Strg+Z nicht geladen." + refuse, "one\r\ntwo\r\n"},
        {"CR only", "one\rtwo\rthree\r", true, -1,
         " wurde nicht vollst\344ndig \374bernommen: 3 einzelne CR-Zeichen entfernt." + refuse, "onetwothree\r\n"},
        {"NUL inside", std::string("a\0b\n", 4), true, -1,
         " wurde nicht vollst\344ndig \374bernommen: 1 Zeile mit NUL-Zeichen gek\374rzt." + refuse, "a\n"},
        {"all at once", x300 + "\n" + x300 + "\r\n\r\r\n" + std::string("\0\n\x1A\n", 4), true, -1,
         " wurde nicht vollst\344ndig \374bernommen: 2 Zeilen l\344nger als 250 Zeichen gek\374rzt, 1 Zeile mit "
         "NUL-Zeichen gek\374rzt, 1 einzelnes CR-Zeichen entfernt, 1 Byte nach Strg+Z nicht geladen." + refuse,
         x250 + "\n" + x250 + "\n"},
        {"a read error", read5000, true, 2,
         " wurde nicht vollst\344ndig \374bernommen: Dateifehler beim Lesen: ab Byte 4096 nicht geladen." + refuse,
         kept5000},
        {"inserted", "ins\n" + x300 + "\n", false, -1,
         " wurde nicht vollst\344ndig eingef\374gt: 1 Zeile l\344nger als 250 Zeichen gek\374rzt.",
         "ins\n" + x250 + "\nend\n"},
        {"lossless", "a  \r\nb\t\r\n\r\n \r\n\x1A", true, -1, "", "a\r\nb\r\n"},
        {"blanks past 250", x250 + "   \t\n" + "y\n", true, -1, "", x250 + "\ny\n"},
        {"trailing blanks below the window", blanks30, true, -1, "", trimmed30},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        modified = 0;
        docNew();
        fs::remove(dir_ / "f.bak");
        setRow(0, "end");
        crlfMode = 0;
        headless_reset();
        write("f.txt", r.bytes);
        files_test_fail_reads_after(r.readsOk);
        ASSERT_EQ(docLoad(path("f.txt").c_str(), r.whole), 0);
        files_test_fail_reads_after(-1);
        EXPECT_EQ(boxTexts(), r.box.empty() ? std::vector<std::string>{}
                                            : std::vector<std::string>{path("f.txt") + r.box});
        const bool refused = r.whole && !r.box.empty();
        EXPECT_EQ(partlyLoaded, refused ? 1 : 0);
        // F8 over the file: refused with a box after a loss; otherwise the file is its trimmed form.
        headless_reset();
        modified = 1;
        if (!r.whole) headless_file_answer(path("f.txt").c_str());  // an unnamed document asks for a name
        EXPECT_EQ(save(), refused ? 0 : 1);
        EXPECT_EQ(read("f.txt"), refused ? r.bytes : r.kept);
        if (!refused) continue;
        EXPECT_EQ(boxTexts().size(), 1u);
        EXPECT_FALSE(fs::exists(dir_ / "f.bak"));
        // "Sichern als" another name writes what was kept and lifts the refusal.
        headless_file_answer(path("kept.txt").c_str());
        EXPECT_EQ(saveAs(), 1);
        EXPECT_EQ(read("kept.txt"), r.kept);
        EXPECT_EQ(partlyLoaded, 0);
        EXPECT_EQ(read("f.txt"), r.bytes);
        fs::remove(dir_ / "kept.txt");
    }
}

// --- A file too long for the store ----------------------------------------------------------

TEST_F(DocFile, APartlyLoadedFileIsNeverSavedOverButCanBeSavedElsewhere) {
    writeLines("big.txt", 600, std::string(200, 'b'));  // about 123 KB
    const std::string original = read("big.txt");
    ASSERT_EQ(docLoad(path("big.txt").c_str(), true), 0);
    ASSERT_EQ(boxTexts(), (std::vector<std::string>{path("big.txt") + " ist zu lang."}));
    EXPECT_EQ(partlyLoaded, 1);
    const Lines loaded = documentLines();
    EXPECT_GT(loaded.size(), 300u);
    EXPECT_LT(loaded.size(), 600u);

    // F8 is refused and tells why; the file stays whole.
    headless_reset();
    modified = 1;
    EXPECT_EQ(save(), 0);
    ASSERT_EQ(headless_boxes().size(), 1u);
    EXPECT_NE(headless_boxes()[0].text.find("nur zum Teil"), std::string::npos);
    EXPECT_TRUE(headless_file_boxes().empty());
    EXPECT_EQ(modified, 1);
    // So is a save under the same file chosen in the box, however it is spelled.
    headless_reset();
    fs::create_directory(dir_ / "sub");
    for (const char* name : {"BIG.TXT", "sub/../big.txt", "./sub/../big.txt"}) {
        SCOPED_TRACE(name);
        headless_file_answer(path(name).c_str());
        EXPECT_EQ(saveAs(), 0);
        EXPECT_EQ(partlyLoaded, 1);
    }
    fs::remove(dir_ / "sub");
    EXPECT_EQ(writeFile(path("big.txt").c_str(), false), -1);
    EXPECT_EQ(read("big.txt"), original);
    EXPECT_EQ(filesInDir(), (std::set<std::string>{"big.txt"}));
    // The question, with Cancel or without (shut-down), does not let the
    // document go when the save was refused.
    for (int withCancel : {1, 0}) {
        headless_box_answer(box_answer::kYes);
        EXPECT_EQ(askSave(withCancel), 0) << withCancel;
    }

    // Another name takes what was loaded; from then on that file is the document's.
    headless_reset();
    headless_file_answer(path("part.txt").c_str());
    EXPECT_EQ(saveAs(), 1);
    EXPECT_EQ(read("big.txt"), original);
    std::string expected;
    for (const std::string& line : loaded) expected += line + "\r\n";
    EXPECT_EQ(read("part.txt"), expected);
    EXPECT_EQ(partlyLoaded, 0);
    EXPECT_EQ(std::string(fileName), path("part.txt"));
    modified = 1;
    EXPECT_EQ(save(), 1);

    // A whole reload of a file that fits lifts the refusal as well.
    writeLines("small.txt", 3);
    ASSERT_EQ(docLoad(path("big.txt").c_str(), true), 0);
    EXPECT_EQ(partlyLoaded, 1);
    ASSERT_EQ(docLoad(path("small.txt").c_str(), true), 0);
    EXPECT_EQ(partlyLoaded, 0);
}

// --- Writing ---------------------------------------------------------------------------------

TEST_F(DocFile, SavingKeepsTheOldFileAsBackupAndLeavesNothingElse) {
    write("a.txt", "version 1\r\n");
    write("noext", "plain 1\n");
    ASSERT_EQ(docLoad(path("a.txt").c_str(), true), 0);
    setRow(0, "version 2");
    modified = 1;
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(read("a.txt"), "version 2\r\n");
    EXPECT_EQ(read("a.bak"), "version 1\r\n");
    setRow(0, "version 3");
    modified = 1;
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(read("a.txt"), "version 3\r\n");
    EXPECT_EQ(read("a.bak"), "version 2\r\n");
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(fileSize, 11);

    ASSERT_EQ(docLoad(path("noext").c_str(), true), 0);
    EXPECT_EQ(crlfMode, 0);
    setRow(0, "plain 2");
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(read("noext"), "plain 2\n");
    EXPECT_EQ(read("noext.bak"), "plain 1\n");
    EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt", "a.bak", "noext", "noext.bak"}));
    EXPECT_TRUE(headless_boxes().empty());

    char bak[FILE_PATH_MAX + 1];
    EXPECT_TRUE(backupName("C:\\d.x\\file", bak));
    EXPECT_STREQ(bak, "C:\\d.x\\file.bak");
    EXPECT_FALSE(backupName((std::string(198, 'p') + ".c").c_str(), bak));
    EXPECT_STREQ(bak, "");
}

TEST_F(DocFile, TrailingBlankLinesAreNotWrittenInnerOnesAre) {
    crlfMode = 0;
    setRow(0, "a");
    setRow(2, "   ");
    setRow(3, "b");
    setRow(5, "  ");
    EXPECT_EQ(writeFile(path("blank.txt").c_str(), false), 0);
    EXPECT_EQ(read("blank.txt"), "a\n\n\nb\n");
    // Blank lines that stand above the window at the document's end are not written either.
    storeReset();
    rowsClearAll();
    LineRecord line;
    for (const char* text : {"c", "", "d", "", ""}) {
        lineInit(&line);
        std::strcpy(line.text, text);
        ASSERT_EQ(pushAbove(&line), 0);
    }
    topLine = aboveCountGet();
    EXPECT_EQ(writeFile(path("blank2.txt").c_str(), false), 0);
    EXPECT_EQ(read("blank2.txt"), "c\n\nd\n");
}

TEST_F(DocFile, AFailedWriteLeavesTheOldFilesAndTheChangedDocument) {
    write("a.txt", "good\r\n");
    write("a.bak", "older\r\n");
    ASSERT_EQ(docLoad(path("a.txt").c_str(), true), 0);
    for (int i = 0; i < 19; ++i) setRow(i, std::string(200, static_cast<char>('a' + i)).c_str());
    modified = 1;

    // A block in the middle cannot be written: "Schreibfehler".
    files_test_fail_writes_after(0);
    EXPECT_EQ(save(), 0);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Schreibfehler"}));
    EXPECT_EQ(read("a.txt"), "good\r\n");
    EXPECT_EQ(read("a.bak"), "older\r\n");
    EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt", "a.bak"}));
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(rowText(18), std::string(200, 's'));  // the window rows came back

    // The last block cannot be written: message 102.
    headless_reset();
    for (int i = 1; i < 19; ++i) setRow(i, "");
    setRow(0, "short");
    files_test_fail_writes_after(0);
    EXPECT_EQ(save(), 0);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Dateifehler: kann " + path("a.txt") + " nicht herstellen."}));
    EXPECT_EQ(read("a.txt"), "good\r\n");
    EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt", "a.bak"}));
    EXPECT_EQ(modified, 1);

    // The question still comes; "Ja" does not let the document go while the save fails.
    headless_reset();
    headless_box_answer(box_answer::kYes);
    EXPECT_EQ(askSave(1), 0);
    EXPECT_EQ(headless_boxes().size(), 2u);  // the question, then "Schreibfehler"/102
    files_test_fail_writes_after(-1);

    // A directory that does not exist, and a directory as the target: 102 as
    // well, nothing created, nothing renamed.
    fs::create_directory(dir_ / "d.txt");
    for (const char* name : {"nodir/x.txt", "d.txt"}) {
        SCOPED_TRACE(name);
        headless_reset();
        EXPECT_EQ(writeFile(path(name).c_str(), false), -1);
        EXPECT_EQ(boxTexts(),
                  (std::vector<std::string>{"Dateifehler: kann " + path(name) + " nicht herstellen."}));
    }
    EXPECT_TRUE(fs::is_directory(dir_ / "d.txt"));
    fs::remove(dir_ / "d.txt");
    EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt", "a.bak"}));
    EXPECT_EQ(std::string(fileName), path("a.txt"));

    // With writing possible again the same save succeeds.
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(read("a.txt"), "short\r\n");
    EXPECT_EQ(read("a.bak"), "good\r\n");
}

// --- A save failed at each of its file calls ------------------------------------------------

// The file calls of a save, in their order.
enum class SaveCall {
    CreateTemp,       // the temporary file beside the target
    Write,            // one 2 KB block
    CloseTemp,
    DeleteBackup,     // the old .bak
    RenameToBackup,   // the old file becomes the .bak
    RenameIntoPlace,  // the temporary file takes the name
    KeepTime,         // the old time given to the new file
    SizeOpen,         // the size of the new file read afterwards
    SizeClose,
};

std::vector<SaveCall> saveCalls(int blocks, bool replacesOld, bool keepsTime) {
    std::vector<SaveCall> calls = {SaveCall::CreateTemp};
    calls.insert(calls.end(), static_cast<std::size_t>(blocks), SaveCall::Write);
    calls.push_back(SaveCall::CloseTemp);
    if (replacesOld) calls.insert(calls.end(), {SaveCall::DeleteBackup, SaveCall::RenameToBackup});
    calls.push_back(SaveCall::RenameIntoPlace);
    if (keepsTime) calls.push_back(SaveCall::KeepTime);
    calls.insert(calls.end(), {SaveCall::SizeOpen, SaveCall::SizeClose});
    return calls;
}

// A document of several blocks with an old .bak beside it and "Dateizeit
// erhalten" on: F8, and "Sichern als" to a new name, each failed at every
// one of its file calls in turn.
class DocFileSaveFailures : public DocFile {
  protected:
    void SetUp() override {
        DocFile::SetUp();
        writeLines("a.txt", 300, "original line with a little text");  // about 11 KB
        write("a.bak", "older\r\n");
        original_ = read("a.txt");
        older_ = read("a.bak");
        changed_ = "changed\r\n" + original_.substr(original_.find('\n') + 1);
        keepFileTime = 1;
    }

    // The files as they were, the document loaded and changed.
    void loadAndChange() {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir_)) fs::remove(entry.path(), ec);
        write("a.txt", original_);
        write("a.bak", older_);
        ASSERT_EQ(set_file_time(path("a.txt").c_str(), &kOldTime), 0);
        headless_reset();
        ASSERT_EQ(docLoad(path("a.txt").c_str(), true), 0);
        setRow(0, "changed");
        modified = 1;
    }
    TimeRecord diskTime(const std::string& name) const {
        TimeRecord t;
        EXPECT_EQ(file_time(path(name).c_str(), &t), 0);
        return t;
    }
    std::string cannotCreate(const std::string& name) const {
        return "Dateifehler: kann " + path(name) + " nicht herstellen.";
    }
    // What a failed save leaves: the document changed and still named as it
    // was, one box, no temporary file.
    void expectFailedSave(const std::string& name, const std::string& box) {
        EXPECT_EQ(modified, 1);
        EXPECT_EQ(hasName, 1);
        EXPECT_EQ(std::string(fileName), path(name));
        EXPECT_EQ(boxTexts(), (std::vector<std::string>{box}));
        EXPECT_EQ(documentLines()[0], "changed");
    }

    std::string original_, older_, changed_;
};

TEST_F(DocFileSaveFailures, F8FailedAtAnyCallKeepsTheOriginalUnderItsName) {
    // The good save, counted.
    loadAndChange();
    files_test_fail_call(-1);
    ASSERT_EQ(save(), 1);
    const int count = files_test_calls();
    ASSERT_EQ(read("a.txt"), changed_);
    ASSERT_EQ(read("a.bak"), original_);
    ASSERT_TRUE(sameTime(diskTime("a.txt"), kOldTime));
    const int blocks = static_cast<int>((changed_.size() + 2047) / 2048);
    ASSERT_GE(blocks, 2);
    const std::vector<SaveCall> calls = saveCalls(blocks, true, true);
    ASSERT_EQ(static_cast<std::size_t>(count), calls.size());

    for (int k = 0; k < count; ++k) {
        const SaveCall call = calls[static_cast<std::size_t>(k)];
        SCOPED_TRACE("failing call " + std::to_string(k));
        loadAndChange();
        files_test_fail_call(k);
        const int result = save();
        files_test_fail_call(-1);

        if (call >= SaveCall::KeepTime) {
            // After the new file took the name the save is done.
            EXPECT_EQ(result, 1);
            EXPECT_EQ(read("a.txt"), changed_);
            EXPECT_EQ(read("a.bak"), original_);
            EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt", "a.bak"}));
            EXPECT_EQ(modified, 0);
            EXPECT_TRUE(boxTexts().empty());
            EXPECT_EQ(fileSize, static_cast<long>(changed_.size()));
            // Kept unless keeping it failed; what the document remembers is the disk's.
            EXPECT_EQ(sameTime(diskTime("a.txt"), kOldTime), call != SaveCall::KeepTime);
            EXPECT_TRUE(sameTime(fileTime, diskTime("a.txt")));
            continue;
        }

        EXPECT_EQ(result, 0);
        EXPECT_EQ(read("a.txt"), original_);
        EXPECT_TRUE(sameTime(diskTime("a.txt"), kOldTime));
        // The old .bak goes only once it has been deleted: when renaming the
        // old file or the new one failed after that.
        const bool backupGone = call == SaveCall::RenameToBackup || call == SaveCall::RenameIntoPlace;
        if (backupGone) {
            EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt"}));
        } else {
            EXPECT_EQ(read("a.bak"), older_);
            EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt", "a.bak"}));
        }
        const bool blockInTheWalk = call == SaveCall::Write && k < blocks;  // not the last one
        expectFailedSave("a.txt", blockInTheWalk ? "Schreibfehler" : cannotCreate("a.txt"));

        // F8 again, with the files well: no complaint about the file's time.
        headless_reset();
        EXPECT_EQ(save(), 1);
        EXPECT_TRUE(boxTexts().empty());
        EXPECT_EQ(read("a.txt"), changed_);
        EXPECT_EQ(read("a.bak"), original_);
    }
}

TEST_F(DocFileSaveFailures, SaveAsFailedAtAnyCallLeavesTheNewNameWholeOrAbsent) {
    loadAndChange();
    headless_file_answer(path("b.txt").c_str());
    files_test_fail_call(-1);
    ASSERT_EQ(saveAs(), 1);
    const int count = files_test_calls();
    ASSERT_EQ(read("b.txt"), changed_);
    const int blocks = static_cast<int>((changed_.size() + 2047) / 2048);
    const std::vector<SaveCall> calls = saveCalls(blocks, false, false);
    ASSERT_EQ(static_cast<std::size_t>(count), calls.size());

    for (int k = 0; k < count; ++k) {
        const SaveCall call = calls[static_cast<std::size_t>(k)];
        SCOPED_TRACE("failing call " + std::to_string(k));
        loadAndChange();
        headless_file_answer(path("b.txt").c_str());
        files_test_fail_call(k);
        const int result = saveAs();
        files_test_fail_call(-1);

        EXPECT_EQ(read("a.txt"), original_);
        EXPECT_EQ(read("a.bak"), older_);
        if (call >= SaveCall::SizeOpen) {
            EXPECT_EQ(result, 1);
            EXPECT_EQ(read("b.txt"), changed_);
            EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt", "a.bak", "b.txt"}));
            EXPECT_EQ(std::string(fileName), path("b.txt"));
            EXPECT_EQ(modified, 0);
            EXPECT_EQ(fileSize, static_cast<long>(changed_.size()));
            EXPECT_TRUE(boxTexts().empty());
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(filesInDir(), (std::set<std::string>{"a.txt", "a.bak"}));
            const bool blockInTheWalk = call == SaveCall::Write && k < blocks;
            expectFailedSave("a.txt", blockInTheWalk ? "Schreibfehler" : cannotCreate("b.txt"));
        }
    }
}

TEST_F(DocFileSaveFailures, AFileWithoutABackupNameIsReplacedNeverDeletedFirst) {
    // "a.bak" is its own backup name: F8 replaces it in one step. Failed at
    // each call in turn, the old file keeps its name; a temporary file left
    // behind holds the new text and the box names it.
    auto loadBackupNamed = [&] {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir_)) fs::remove(entry.path(), ec);
        write("a.bak", original_);
        headless_reset();
        ASSERT_EQ(docLoad(path("a.bak").c_str(), true), 0);
        setRow(0, "changed");
        modified = 1;
    };
    loadBackupNamed();
    files_test_fail_call(-1);
    ASSERT_EQ(save(), 1);
    const int count = files_test_calls();
    ASSERT_EQ(read("a.bak"), changed_);
    ASSERT_EQ(filesInDir(), (std::set<std::string>{"a.bak"}));

    for (int k = 0; k < count; ++k) {
        SCOPED_TRACE("failing call " + std::to_string(k));
        loadBackupNamed();
        files_test_fail_call(k);
        const int result = save();
        files_test_fail_call(-1);
        std::set<std::string> left = filesInDir();
        ASSERT_EQ(left.erase("a.bak"), 1u);
        if (result == 1) {
            EXPECT_EQ(read("a.bak"), changed_);
            EXPECT_TRUE(left.empty());
            continue;
        }
        EXPECT_EQ(read("a.bak"), original_);
        EXPECT_EQ(modified, 1);
        if (left.empty()) continue;
        ASSERT_EQ(left.size(), 1u);
        const std::string temp = *left.begin();
        EXPECT_EQ(read(temp), changed_);
        EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Dateifehler: kann " + path("a.bak") +
                                                       " nicht ersetzen. Der neue Text steht in " +
                                                       path(temp) + "."}));
    }
}

TEST(DateStamp, TheFirstDateAtColumn3Or8Or16IsRenewed) {
    const char* today = "24.12.2024";
    char text[251];
    std::strcpy(text, "// 01.02.2003 Stand");
    EXPECT_TRUE(dateStampApply(text, today));
    EXPECT_STREQ(text, "// 24.12.2024 Stand");
    std::strcpy(text, "Version: 2003-02-01");  // column 9: no stamp column
    EXPECT_FALSE(dateStampApply(text, today));
    std::strcpy(text, "Stand:  2003-02-01!");  // column 8, the other form
    EXPECT_TRUE(dateStampApply(text, today));
    EXPECT_STREQ(text, "Stand:  24.12.2024!");
    std::strcpy(text, "                01.01.1999");
    EXPECT_TRUE(dateStampApply(text, today));
    EXPECT_STREQ(text, "                24.12.2024");
    std::strcpy(text, "01.02.2003 at column 0");
    EXPECT_FALSE(dateStampApply(text, today));
    std::strcpy(text, "// 01.02.200");  // the date would run past the line
    EXPECT_FALSE(dateStampApply(text, today));
    std::strcpy(text, "// 01.02.2003 01.02.2003");  // only the first one
    EXPECT_TRUE(dateStampApply(text, today));
    EXPECT_STREQ(text, "// 24.12.2024 01.02.2003");
    std::strcpy(text, "// 01/02/2003");
    EXPECT_FALSE(dateStampApply(text, today));
    EXPECT_FALSE(dateAt("1a.02.2003"));
    EXPECT_TRUE(dateAt("99.99.9999"));
}

TEST_F(DocFile, SavingStampsTheThirdLineOnly) {
    char today[DATE_TEXT_SIZE];
    today_string(today);
    setRow(0, "   01.02.2003");
    setRow(1, "x");
    setRow(2, "// 2003-02-01 Stand");
    setRow(3, "// 01.02.2003");
    EXPECT_EQ(writeFile(path("d.txt").c_str(), false), 0);
    EXPECT_EQ(read("d.txt"),
              "   01.02.2003\r\nx\r\n// " + std::string(today) + " Stand\r\n// 01.02.2003\r\n");
    EXPECT_EQ(rowText(2), "// " + std::string(today) + " Stand");  // the store has it too

    setRow(2, "01.02.2003 Stand");
    EXPECT_EQ(writeFile(path("d.txt").c_str(), false), 0);
    EXPECT_EQ(rowText(2), "01.02.2003 Stand");
}

TEST_F(DocFile, TheFileTimeIsKeptOnlyWithTheOptionAndNeverForANewName) {
    write("t.txt", "text\r\n");
    ASSERT_EQ(set_file_time(path("t.txt").c_str(), &kOldTime), 0);
    ASSERT_EQ(docLoad(path("t.txt").c_str(), true), 0);
    TimeRecord t;

    keepFileTime = 1;
    setRow(0, "kept");
    EXPECT_EQ(save(), 1);
    ASSERT_EQ(file_time(path("t.txt").c_str(), &t), 0);
    EXPECT_TRUE(sameTime(t, kOldTime));
    EXPECT_TRUE(sameTime(fileTime, kOldTime));

    headless_file_answer(path("new.txt").c_str());
    EXPECT_EQ(saveAs(), 1);
    ASSERT_EQ(file_time(path("new.txt").c_str(), &t), 0);
    EXPECT_FALSE(sameTime(t, kOldTime));

    keepFileTime = 0;
    ASSERT_EQ(docLoad(path("t.txt").c_str(), true), 0);
    setRow(0, "not kept");
    EXPECT_EQ(save(), 1);
    ASSERT_EQ(file_time(path("t.txt").c_str(), &t), 0);
    EXPECT_FALSE(sameTime(t, kOldTime));
    EXPECT_TRUE(sameTime(t, fileTime));
}

TEST_F(DocFile, AFileChangedOnDiskLeadsToTheSaveBox) {
    write("c.txt", "mine\r\n");
    ASSERT_EQ(docLoad(path("c.txt").c_str(), true), 0);
    setRow(0, "edited");
    modified = 1;
    // Someone else writes the same number of bytes: only the time tells.
    write("c.txt", "hers\r\n");
    TimeRecord other = fileTime;
    other.second = static_cast<unsigned char>((other.second + 2) % 60);
    if (other.second < 2) other.minute = static_cast<unsigned char>((other.minute + 1) % 60);
    ASSERT_EQ(set_file_time(path("c.txt").c_str(), &other), 0);

    EXPECT_EQ(save(), 0);  // the save box is cancelled
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"Datum/Zeit der Datei wurden ge\344ndert."}));
    ASSERT_EQ(headless_file_boxes().size(), 1u);
    EXPECT_TRUE(headless_file_boxes()[0].save);
    EXPECT_EQ(headless_file_boxes()[0].startName, path("c.txt"));
    EXPECT_EQ(read("c.txt"), "hers\r\n");
    EXPECT_EQ(modified, 1);

    headless_reset();
    headless_file_answer(path("c2.txt").c_str());
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(read("c2.txt"), "edited\r\n");
    EXPECT_EQ(read("c.txt"), "hers\r\n");
}

TEST_F(DocFile, AnUnnamedDocumentIsSavedThroughTheBoxFromNamenlos) {
    std::strcpy(lastDir, path("").c_str());
    path_strip_sep(lastDir);
    setRow(0, "neu");
    modified = 1;
    headless_file_answer(path("neu.txt").c_str());
    EXPECT_EQ(save(), 1);
    ASSERT_EQ(headless_file_boxes().size(), 1u);
    EXPECT_EQ(headless_file_boxes()[0].startName, path("NAMENLOS"));
    EXPECT_EQ(headless_file_boxes()[0].title, "Datei speichern");
    EXPECT_EQ(read("neu.txt"), "neu\r\n");
    EXPECT_EQ(hasName, 1);
    EXPECT_EQ(modified, 0);
    EXPECT_STREQ(lastDir, path("").c_str());
}

// --- Asking --------------------------------------------------------------------------------

TEST_F(DocFile, TheQuestionWithAndWithoutCancel) {
    write("q.txt", "q\r\n");
    ASSERT_EQ(docLoad(path("q.txt").c_str(), true), 0);
    EXPECT_EQ(askSave(1), 1);  // unchanged: no question
    EXPECT_TRUE(headless_boxes().empty());

    setRow(0, "changed");
    modified = 1;
    headless_box_answer(box_answer::kCancel);
    EXPECT_EQ(askSave(1), 0);
    ASSERT_EQ(headless_boxes().size(), 1u);
    EXPECT_EQ(headless_boxes()[0].text, "Ge\344ndert, speichern?");
    EXPECT_EQ(headless_boxes()[0].style & 0xF, box_style::kYesNoCancel);
    EXPECT_EQ(headless_boxes()[0].style & 0xF00, box_style::kDefault2);  // "Nein" is the default
    headless_box_answer(box_answer::kNo);
    EXPECT_EQ(askSave(1), 1);
    EXPECT_EQ(read("q.txt"), "q\r\n");
    EXPECT_EQ(modified, 1);

    headless_reset();
    headless_box_answer(box_answer::kNo);
    EXPECT_EQ(askSave(0), 1);
    ASSERT_EQ(headless_boxes().size(), 1u);
    EXPECT_EQ(headless_boxes()[0].style & 0xF, box_style::kYesNo);
    EXPECT_EQ(headless_boxes()[0].style & 0xF00, 0u);  // "Ja" is the default
    EXPECT_EQ(read("q.txt"), "q\r\n");

    headless_box_answer(box_answer::kYes);
    EXPECT_EQ(askSave(1), 1);
    EXPECT_EQ(read("q.txt"), "changed\r\n");
    EXPECT_EQ(modified, 0);
}

TEST_F(DocFile, NewDocumentAsksFirstAndForgetsTheFile) {
    write("n.txt", "n\r\n");
    ASSERT_EQ(docLoad(path("n.txt").c_str(), true), 0);
    historyAdd(fileName);
    cursorRow = 1;
    modified = 1;
    headless_box_answer(box_answer::kCancel);
    docNew();
    EXPECT_EQ(hasName, 1);  // stopped
    EXPECT_EQ(rowText(0), "n");

    headless_box_answer(box_answer::kNo);
    docNew();
    EXPECT_EQ(hasName, 0);
    EXPECT_STREQ(fileName, "");
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(fileSize, 0);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(rowText(0), "");
    EXPECT_TRUE(documentLines().empty());
    std::int32_t top, row, first, col;
    historyPosition(path("n.txt").c_str(), &top, &row, &first, &col);
    EXPECT_EQ(row, 1);  // the old file's place was remembered
}

TEST_F(DocFile, ANameThatIsNoFileOpensTheDirectoryPanel) {
    fs::create_directory(dir_ / "sub");
    openPath(path("sub").c_str());
    ASSERT_EQ(headless_posted_commands().size(), 1u);
    EXPECT_EQ(headless_posted_commands()[0].id, 1006);
    EXPECT_EQ(fs::canonical(fs::current_path()), fs::canonical(dir_ / "sub"));
    const std::string last = lastDir;
    EXPECT_EQ(last.substr(0, last.size() - 1), path("sub"));
    EXPECT_TRUE(last.back() == '/' || last.back() == '\\');
    EXPECT_EQ(hasName, 0);

    write("f.txt", "f\r\n");
    openPath(path("f.txt").c_str());
    EXPECT_EQ(std::string(fileName), path("f.txt"));
    EXPECT_EQ(headless_posted_commands().size(), 1u);
}

// --- The back list ------------------------------------------------------------------------

TEST(BackList, TheOldestEntryIsNeverRemoved) {
    std::memset(backList, 0, sizeof backList);
    for (const char* name : {"1", "2", "3", "4", "5", "6"}) backPush(name);
    char out[FILE_PATH_MAX + 1];
    std::string popped;
    for (int i = 0; i < 7; ++i) {
        backPop(out);
        popped += out;
    }
    EXPECT_EQ(popped, "6543222");  // "1" fell off the end; "2" stays
    backPush("7");
    backReduce();
    EXPECT_STREQ(backList[0], "2");
    EXPECT_STREQ(backList[1], "");
}

TEST_F(DocFile, BackWithOneEntryReopensItEachTime) {
    write("a.txt", "a\r\n");
    write("b.txt", "b\r\n");
    ASSERT_EQ(docLoad(path("b.txt").c_str(), true), 0);
    backPush(path("a.txt").c_str());
    back();
    EXPECT_EQ(std::string(fileName), path("a.txt"));
    ASSERT_EQ(docLoad(path("b.txt").c_str(), true), 0);
    setRow(0, "b changed");
    modified = 1;
    back();  // saves without asking, then opens a.txt again
    EXPECT_EQ(std::string(fileName), path("a.txt"));
    EXPECT_EQ(read("b.txt"), "b changed\r\n");
    EXPECT_TRUE(headless_boxes().empty());
    EXPECT_STREQ(backList[0], path("a.txt").c_str());

    // With an empty list: "module" of the current directory, else the directory panel.
    std::memset(backList, 0, sizeof backList);
    fs::current_path(dir_);
    back();
    ASSERT_EQ(headless_posted_commands().size(), 1u);
    EXPECT_EQ(headless_posted_commands()[0].id, 1006);
    write("module", "m\r\n");
    back();
    EXPECT_EQ(fs::path(fileName).filename().string(), "module");
    EXPECT_EQ(rowText(0), "m");
}

TEST_F(DocFile, OpenKeepingBackComesBackWithF9) {
    write("a.txt", "a\r\n");
    write("tool.txt", "t\r\n");
    ASSERT_EQ(docLoad(path("a.txt").c_str(), true), 0);
    openKeepingBack(path("tool.txt").c_str());
    EXPECT_EQ(std::string(fileName), path("tool.txt"));
    EXPECT_STREQ(backList[0], path("a.txt").c_str());
    back();
    EXPECT_EQ(std::string(fileName), path("a.txt"));

    // Shift+F5 opens "module" only when it exists.
    fs::current_path(dir_);
    openModuleFile();
    EXPECT_EQ(std::string(fileName), path("a.txt"));
    write("module", "m\r\n");
    openModuleFile();
    EXPECT_EQ(fs::path(fileName).filename().string(), "module");
}

TEST_F(DocFile, CtrlDOpensTheNameUnderTheCursorAndF9ComesBack) {
    write("a.txt", "a\r\n");
    write("b.txt", "b\r\n");
    fs::current_path(dir_);
    const std::string here = (fs::current_path() / "b.txt").string();
    std::string shellPath = path("x.SG");
    for (char& c : shellPath) c = c == '/' ? '\\' : c;
    // The line, the cursor's column, the file then open, the document opened
    // through the shell and its result, the boxes shown.
    struct Row { std::string text; int col; std::string open; std::string shell; int result; int boxes; };
    const Row rows[] = {
        {"siehe " + path("b.txt") + " dort", 8, path("b.txt"), "", 42, 0},
        {"#include \"b.txt\"", 11, here, "", 42, 0},  // after the current directory
        {"'x.SG'", 2, path("a.txt"), shellPath, 42, 0},
        {"'x.SG'", 2, path("a.txt"), shellPath, 2, 1},  // the shell could not open it
        {"  ", 0, path("a.txt"), "", 42, 0},
        {std::string(FILE_PATH_MAX - 1, 'n'), 0, path("a.txt"), "", 42, 1},  // never cut
        {"x " + std::string(FILE_PATH_MAX, 'n') + ";rm", 2, path("a.txt"), "", 42, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text.substr(0, 20));
        ASSERT_EQ(docLoad(path("a.txt").c_str(), true), 0);
        fs::current_path(dir_);
        std::memset(backList, 0, sizeof backList);
        setRow(0, r.text.c_str());
        modified = 0;
        cursorRow = 0;
        cursorCol = r.col;
        headless_reset();
        headless_set_shell_result(r.result);
        keyDown('D', false, true, false);
        EXPECT_EQ(std::string(fileName), r.open);
        EXPECT_EQ(headless_shell_calls().empty() ? "" : headless_shell_calls()[0].file, r.shell);
        EXPECT_EQ(static_cast<int>(headless_boxes().size()), r.boxes);
        if (r.open != path("a.txt")) {
            back();  // F9
            EXPECT_EQ(std::string(fileName), path("a.txt"));
        }
    }
}

// --- Title and position --------------------------------------------------------------------

TEST_F(DocFile, TheTitleShowsTheNameAndMarksAChange) {
    docNew();
    refreshAll();
    EXPECT_STREQ(headless_title(), "C:\\Y8.txt");
    EXPECT_STREQ(fileName, "C:\\Y8.txt");
    char entry[FILE_PATH_MAX + 1];
    EXPECT_EQ(historyName(0, entry), -1);  // the unnamed document is no recent file
    modified = 1;
    refreshAll();
    EXPECT_STREQ(headless_title(), "< C:\\Y8.txt >");
    const int titles = headless_title_count();
    refreshAll();
    EXPECT_EQ(headless_title_count(), titles);  // set only on a change

    write("t.txt", "t\r\n");
    ASSERT_EQ(docLoad(path("t.txt").c_str(), true), 0);
    refreshAll();
    EXPECT_EQ(std::string(headless_title()), std::string(path_short(fileName)));
    EXPECT_EQ(historyName(0, entry), 0);
    EXPECT_EQ(std::string(entry), path("t.txt"));

    std::strcpy(fileName, "C:\\ein\\sehr\\langer\\pfad\\mit\\vielen\\teilen\\datei.txt");
    modified = 1;
    refreshAll();
    EXPECT_EQ(std::string(headless_title()), "< " + std::string(path_short(fileName)) + " >");
    EXPECT_EQ(std::string(headless_title()).substr(0, 5), "< ...");
    EXPECT_LE(std::strlen(headless_title()), 47u);
    std::strcpy(fileName, "C:\\kurz\\mit\\39\\zeichen\\im\\ganzen.txt__");  // under 40 characters
    refreshAll();
    EXPECT_STREQ(headless_title(), "< C:\\kurz\\mit\\39\\zeichen\\im\\ganzen.txt__ >");
}

TEST_F(DocFileInEditor, TheRememberedPositionIsBroughtIntoTheWindow) {
    writeLines("p.txt", 100);
    writeLines("q.txt", 3);
    const std::string p = path("p.txt");
    historyAdd(p.c_str());
    // Leaving p for q stores p's position; then p comes back at the one given.
    auto reopenAt = [&](std::int32_t top, std::int32_t row, std::int32_t first, std::int32_t col) {
        ASSERT_EQ(docLoad(path("q.txt").c_str(), true), 0);
        historyStorePosition(p.c_str(), top, row, first, col);
        ASSERT_EQ(docLoad(p.c_str(), true), 0);
    };
    reopenAt(40, 30, 0, 5);  // row 30 from a taller window
    EXPECT_EQ(cursorRow, 19);
    EXPECT_EQ(topLine, 51);
    EXPECT_EQ(rowText(cursorRow), "line 70");  // the same line stays under the cursor
    EXPECT_EQ(firstCol + cursorCol, 5);

    reopenAt(10, 2, 0, 120);  // a column beyond the 80 shown
    EXPECT_EQ(topLine, 10);
    EXPECT_EQ(rowText(cursorRow), "line 12");
    EXPECT_EQ(firstCol + cursorCol, 120);
    EXPECT_LT(cursorCol, windowCols);

    reopenAt(500, 3, 0, 0);  // beyond the end: as far as the lines go
    EXPECT_EQ(topLine, 100);
    EXPECT_EQ(cursorRow, 3);

    // A start line of -l applies to the next whole load only.
    ASSERT_EQ(docLoad(path("q.txt").c_str(), true), 0);
    startLineSet(60);
    ASSERT_EQ(docLoad(p.c_str(), true), 0);
    EXPECT_EQ(topLine, 60);
    EXPECT_EQ(cursorRow, 0);
    reopenAt(7, 1, 0, 0);
    EXPECT_EQ(topLine, 7);
    EXPECT_EQ(cursorRow, 1);
}

// --- Properties ----------------------------------------------------------------------------

TEST(Properties, SizeHasOneSeparatorBeforeTheLastThreeDigits) {
    char text[16];
    const std::pair<long, const char*> cases[] = {
        {0, "0"}, {999, "999"}, {1000, "1.000"}, {1234567, "1234.567"}, {2147483647L, "2147483.647"}};
    for (const auto& c : cases) {
        fileSizeText(c.first, text);
        EXPECT_STREQ(text, c.second) << c.first;
    }
}

std::vector<DocEvent> told;
void tell(const DocNotice& notice) { told.push_back(notice.event); }

TEST_F(DocFile, TheDocumentTellsTheFloorAboveWhatHappenedInOrder) {
    using E = DocEvent;
    writeLines("a.txt", 3);
    const std::string a = path("a.txt");
    struct Case {
        const char* what;
        void (*act)(const char* path);
        std::vector<DocEvent> events;
    };
    const Case cases[] = {
        {"new document", [](const char*) { docNew(); }, {E::Replacing, E::Replaced}},
        {"whole load", [](const char* p) { docLoad(p, true); }, {E::Replacing, E::ColumnWanted, E::Replaced}},
        {"insert", [](const char* p) { docLoad(p, false); }, {E::Inserting, E::Replaced}},
        {"unreadable file", [](const char*) { docLoad("missing.txt", true); }, {}},
        {"line-end box", [](const char*) { propertiesBoxClicked(PROP_CRLF, 0); }, {E::ShowWanted}},
        {"other box", [](const char*) { propertiesBoxClicked(PROP_NAME, 0); }, {}},
    };
    ASSERT_TRUE(docListen(tell));
    ASSERT_TRUE(docListen(tell));  // a listener added twice hears each notice once
    for (const Case& c : cases) {
        told.clear();
        modified = 0;
        c.act(a.c_str());
        EXPECT_EQ(told, c.events) << c.what;
    }
    docListenersClear();
}

TEST_F(DocFileInEditor, PropertiesShowOnlyWhatChangedAndTheBoxesActAtOnce) {
    std::strcpy(fileName, "C:\\dir\\datei.txt");
    fileSize = 1234567;
    fileTime = kOldTime;
    modified = 0;
    crlfMode = 1;
    propertiesDialogOpened(77);
    ASSERT_EQ(headless_dialog_commands().size(), 1u);
    EXPECT_EQ(headless_dialog_commands()[0].dialog, 77);
    EXPECT_EQ(headless_dialog_commands()[0].id, 2510);

    PropertiesView view = propertiesDialogView();
    EXPECT_TRUE(view.nameChanged && view.dirChanged && view.sizeChanged && view.timeChanged);
    EXPECT_STREQ(view.name, "datei.txt");
    EXPECT_STREQ(view.dir, "C:\\dir\\");
    EXPECT_STREQ(view.size, "1234.567");
    EXPECT_STREQ(view.time, "03.02.2000 04:05");
    EXPECT_TRUE(view.modifiedChanged && view.crlfChanged);
    EXPECT_EQ(view.modified, 0);
    EXPECT_EQ(view.crlf, 1);

    fileTime.second = 59;  // the seconds are not shown
    view = propertiesDialogView();
    EXPECT_FALSE(view.nameChanged || view.dirChanged || view.sizeChanged || view.timeChanged ||
                 view.modifiedChanged || view.crlfChanged);

    EXPECT_TRUE(propertiesBoxClicked(PROP_CRLF, 0));
    EXPECT_EQ(crlfMode, 0);
    EXPECT_STREQ(headless_status_text(0), " lf");
    EXPECT_EQ(headless_dialog_commands().back().id, 2510);  // the refresh tells the open dialog
    EXPECT_TRUE(propertiesBoxClicked(PROP_MODIFIED, 1));
    EXPECT_EQ(modified, 1);
    view = propertiesDialogView();
    EXPECT_TRUE(view.modifiedChanged && view.crlfChanged);
    EXPECT_FALSE(view.nameChanged);
    EXPECT_FALSE(propertiesBoxClicked(PROP_NAME, 1));

    propertiesDialogClosed();
    const std::size_t posted = headless_dialog_commands().size();
    refreshAll();
    EXPECT_EQ(headless_dialog_commands().size(), posted);
}

}  // namespace
