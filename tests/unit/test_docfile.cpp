// Loading and saving through the headless host: a reading's loss, the backup and the safe replacement, a save
// failed at each file call, the date stamp, questions, going back, the recent files. (A lossless load saves its
// file back byte for byte: the oracle of fuzz/fuzz_load.cpp.)
#include "document/docfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/filehist.h"
#include "editor_fixture.h"
#include "file_bytes.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "host/headless_status.h"
#include "view/refresh.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;
using Names = std::set<std::string>;

const TimeRecord kOldTime = {100, 2, 3, 4, 5, 6};  // 03.02.2000 04:05:06

bool sameTime(const TimeRecord& a, const TimeRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The editor around a document with no file, in a fresh directory.
class DocFile : public ::testing::Test, protected TempDir {
protected:
    DocFile() : TempDir("y8_doc_") {}
    void SetUp() override {
        editorStart();
        historyCreate();
        fileName[0] = lastDir[0] = '\0';
        hasName = modified = partlyLoaded = keepFileTime = 0;
        fileSize = 0;
        fileTime = TimeRecord{};
        crlfMode = 1;
        std::memset(backList, 0, sizeof backList);
        startLineSet(-1);
        docShownReset();
        headless_reset();
    }
    void TearDown() override {
        files_test_fail_writes_after(-1);
        files_test_fail_reads_after(-1);
        files_test_fail_call(-1);
        historyDestroy();
        editorStop();
    }
    // A file of n lines "<prefix> i".
    void writeLines(const std::string& name, int n, const std::string& prefix = "line") const {
        std::string bytes;
        for (int i = 0; i < n; ++i) bytes += prefix + " " + std::to_string(i) + "\r\n";
        write(name, bytes);
    }
    static Lines lines() { return documentLines().text; }
    static Lines boxTexts() {
        Lines texts;
        for (const HeadlessBox& box : headless_boxes()) texts.push_back(box.text);
        return texts;
    }
    void load(const std::string& name) { ASSERT_EQ(docLoad(path(name).c_str(), true), 0); }
    // The file written (with the time given), loaded whole and its first line changed.
    void loadAndChange(const std::string& name, const std::string& bytes, const char* first = "changed",
                       const TimeRecord* time = nullptr) {
        write(name, bytes);
        if (time) { ASSERT_EQ(set_file_time(path(name).c_str(), time), 0); }
        load(name);
        setRow(0, first);
        modified = 1;
        headless_reset();
    }
    std::string cannot(const std::string& name) const {
        return "Dateifehler: kann " + path(name) + " nicht herstellen.";
    }
};

// With 118 bytes free once the rows are flushed, an inserted line of 240 does not fit: the document keeps what it had.
TEST_F(DocFile, AnInsertStandsBeforeTheCursorLineAndIsRefusedWholeWhenItCannotFit) {
    for (int i = 0; i < 5; ++i) setRow(i, ("row " + std::to_string(i)).c_str());
    write("ins.txt", "new 1\nnew 2\n");
    cursorRow = 2;
    ASSERT_EQ(docLoad(path("ins.txt").c_str(), false), 0);
    EXPECT_EQ(modified - hasName - crlfMode, 1);
    EXPECT_EQ(cursorRow, 2);
    EXPECT_EQ(lines(), (Lines{"row 0", "row 1", "new 1", "new 2", "row 2", "row 3", "row 4"}));
    write("wide.txt", std::string(240, 'w') + "\n");
    loadLines({"a", "b"});
    cursorRow = 1;
    fillStoreLeaving(130 - static_cast<long>(storeWindowBytes()) - 1);
    headless_reset();
    ASSERT_EQ(docLoad(path("wide.txt").c_str(), false), 0);
    EXPECT_EQ(boxTexts(), Lines{path("wide.txt") + " ist zu lang."});
    const Lines after = lines();
    EXPECT_EQ(Lines(after.end() - 2, after.end()), (Lines{"a", "b"}));
}

// A file shortened beyond the lossless rules (trailing white space, blank lines at the end, CR LF or LF, a last
// Ctrl-Z) or too long for the store is reported in one box. Loaded whole so, it is never saved over its file,
// however spelled, whatever the question's answer; "Sichern als" another name writes what was kept, trimmed.
TEST_F(DocFile, ALoadThatLosesBytesTellsOnceAndIsNeverSavedOver) {
    const std::string x300(300, 'x'), x250(250, 'x'), r48 = std::string(48, 'r') + "\r\n";
    std::string read5000, kept5000, blanks30, trimmed30, big;  // 100 lines of 50 bytes; the third block fails
    for (int i = 0; i < 100; ++i) read5000 += r48;
    kept5000 = read5000.substr(0, 4096) + "\r\n";  // the line the failed block cut, with its line end
    for (int i = 0; i < 30; ++i) {
        blanks30 += "t " + std::to_string(i) + "  \t\r\n";
        trimmed30 += "t " + std::to_string(i) + "\r\n";
    }
    for (int i = 0; i < 600; ++i) big += std::string(200, 'b') + " " + std::to_string(i) + "\r\n";  // 123 KB
    const std::string lost = " wurde nicht vollst\344ndig \374bernommen: ";
    const std::string refuse =
        " Unter diesem Namen wird nicht gesichert: bitte \"Sichern als\" mit einem anderen Namen w\344hlen.";
    // readsOk: file reads that succeed (-1: all); box: after the file's name, empty for none; kept: what is
    // saved, empty for the lines loaded.
    struct Row { const char* what; std::string bytes; bool whole; int readsOk; std::string box; std::string kept; };
    const Row rows[] = {
        {"a line of 300", "first\r\n" + x300 + "\r\n", true, -1,
         lost + "1 Zeile l\344nger als 250 Zeichen gek\374rzt." + refuse, "first\r\n" + x250 + "\r\n"},
        {"Ctrl-Z inside", "one\r\ntwo\r\n\x1Athree\r\nfour\r\n", true, -1,
         lost + "13 Bytes nach Strg+Z nicht geladen." + refuse, "one\r\ntwo\r\n"},
        {"CR only", "one\rtwo\rthree\r", true, -1, lost + "3 einzelne CR-Zeichen entfernt." + refuse,
         "onetwothree\r\n"},
        {"NUL inside", std::string("a\0b\n", 4), true, -1, lost + "1 Zeile mit NUL-Zeichen gek\374rzt." + refuse,
         "a\n"},
        {"all at once", x300 + "\n" + x300 + "\r\n\r\r\n" + std::string("\0\n\x1A\n", 4), true, -1,
         lost + "2 Zeilen l\344nger als 250 Zeichen gek\374rzt, 1 Zeile mit NUL-Zeichen gek\374rzt, 1 einzelnes "
                "CR-Zeichen entfernt, 1 Byte nach Strg+Z nicht geladen." + refuse,
         x250 + "\n" + x250 + "\n"},
        {"a read error", read5000, true, 2, lost + "Dateifehler beim Lesen: ab Byte 4096 nicht geladen." + refuse,
         kept5000},
        {"too long for the store", big, true, -1, " ist zu lang.", ""},
        {"inserted", "ins\n" + x300 + "\n", false, -1,
         " wurde nicht vollst\344ndig eingef\374gt: 1 Zeile l\344nger als 250 Zeichen gek\374rzt.",
         "ins\n" + x250 + "\nend\n"},
        {"blanks past 250", x250 + "   \t\n" + "y\n", true, -1, "", x250 + "\ny\n"},
        {"trailing blanks below the window", blanks30, true, -1, "", trimmed30},
    };
    fs::create_directory(dir_ / "sub");
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
        EXPECT_EQ(boxTexts(), r.box.empty() ? Lines{} : Lines{path("f.txt") + r.box});
        const bool refused = r.whole && !r.box.empty();
        EXPECT_EQ(partlyLoaded, refused ? 1 : 0);
        std::string kept = r.kept;
        for (const std::string& line : r.kept.empty() ? lines() : Lines{}) kept += line + "\r\n";
        headless_reset();  // F8 over the file
        modified = 1;
        if (!r.whole) headless_file_answer(path("f.txt").c_str());  // an unnamed document asks for a name
        EXPECT_EQ(save(), refused ? 0 : 1);
        EXPECT_EQ(read("f.txt"), refused ? r.bytes : kept);
        if (!refused) continue;
        EXPECT_NE(boxTexts().at(0).find(" nur zum Teil geladen."), std::string::npos);
        for (const char* name : {"F.TXT", "sub/../f.txt", "./sub/../f.txt"}) {
            headless_file_answer(path(name).c_str());
            EXPECT_EQ(saveAs(), 0) << name;
        }
        for (int withCancel : {1, 0}) {
            headless_box_answer(box_answer::kYes);
            EXPECT_EQ(askSave(withCancel), 0) << withCancel;  // "Ja" that cannot be carried out holds the caller
        }
        EXPECT_EQ(names(), (Names{"f.txt", "sub"}));
        EXPECT_EQ(read("f.txt"), r.bytes);
        headless_file_answer(path("kept.txt").c_str());
        EXPECT_EQ(saveAs(), 1);
        EXPECT_EQ(read("kept.txt"), kept);
        EXPECT_EQ(partlyLoaded, 0);
        fs::remove(dir_ / "kept.txt");
    }
}

// The backup of a name without extension; inner blank lines are written, trailing ones not.
TEST_F(DocFile, SavingKeepsTheOldFileAsBackupAndWritesNoTrailingBlankLines) {
    loadAndChange("noext", "plain 1\n", "plain 2");
    setRow(2, "   ");
    setRow(3, "b");
    setRow(5, "  ");
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(read("noext") + read("noext.bak"), "plain 2\n\n\nb\nplain 1\n");
    char bak[FILE_PATH_MAX + 1];
    EXPECT_TRUE(backupName("C:\\d.x\\file", bak));
    EXPECT_STREQ(bak, "C:\\d.x\\file.bak");
    EXPECT_FALSE(backupName((std::string(198, 'p') + ".c").c_str(), bak));  // too long: none
}

// A target that cannot be created (a missing directory, a directory) is refused and leaves every file. The
// question: with Cancel "Nein" is the default, without it "Ja"; "Ja" saves, and does not let the document go
// while its save fails; a new document asks first.
TEST_F(DocFile, AFailedWriteLeavesTheOldFilesAndTheQuestionHoldsTheCaller) {
    fs::create_directory(dir_ / "d.txt");
    loadAndChange("a.txt", "good\r\n");
    for (const char* target : {"nodir/x.txt", "d.txt"}) {
        headless_reset();
        EXPECT_EQ(writeFile(path(target).c_str(), false), -1);
        EXPECT_EQ(boxTexts(), Lines{cannot(target)});
    }
    EXPECT_EQ(names(), (Names{"a.txt", "d.txt"}));
    EXPECT_TRUE(fs::is_directory(dir_ / "d.txt"));
    const unsigned withCancel = box_style::kYesNoCancel | box_style::kDefault2;
    struct Row { int withCancel; int answer; int writesOk; int result; const char* file; unsigned style; };
    const Row rows[] = {
        {1, box_answer::kCancel, -1, 0, "good\r\n", withCancel}, {1, box_answer::kNo, -1, 1, "good\r\n", withCancel},
        {1, box_answer::kYes, 0, 0, "good\r\n", withCancel},  // "Ja" that fails holds the caller
        {0, box_answer::kYes, -1, 1, "changed\r\n", box_style::kYesNo},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.answer);
        modified = 1;
        headless_reset();
        headless_box_answer(r.answer);
        files_test_fail_writes_after(r.writesOk);
        EXPECT_EQ(askSave(r.withCancel), r.result);
        const Lines boxes = {"Ge\344ndert, speichern?", cannot("a.txt")};
        EXPECT_EQ(boxTexts(), Lines(boxes.begin(), boxes.end() - (r.writesOk == 0 ? 0 : 1)));
        EXPECT_EQ(headless_boxes().at(0).style & 0xF0F, r.style);
        EXPECT_EQ(read("a.txt"), r.file);
        EXPECT_EQ(modified, r.file[0] == 'g' ? 1 : 0);
    }
    modified = 1;
    headless_box_answer(box_answer::kCancel);
    docNew();
    EXPECT_EQ(hasName, 1);
}

// The file calls of a save, in their order. Where the file system has no hard links (the Windows C
// runtime's default), the link fails and the old file is copied to its backup name.
enum class SaveCall {
    CreateTemp, Write, FlushTemp, CloseTemp, DeleteBackup, LinkBackup, CopyBackup, IntoPlace, KeepTime, Size
};

std::vector<SaveCall> saveCalls(int blocks, bool replacesOld, bool keepsTime, int copyCalls = 0) {
    std::vector<SaveCall> calls = {SaveCall::CreateTemp};
    calls.insert(calls.end(), static_cast<std::size_t>(blocks), SaveCall::Write);
    calls.insert(calls.end(), {SaveCall::FlushTemp, SaveCall::CloseTemp});
    if (replacesOld) calls.insert(calls.end(), {SaveCall::DeleteBackup, SaveCall::LinkBackup});
    if (replacesOld) calls.insert(calls.end(), static_cast<std::size_t>(copyCalls), SaveCall::CopyBackup);
    calls.push_back(SaveCall::IntoPlace);
    if (keepsTime) calls.push_back(SaveCall::KeepTime);
    calls.insert(calls.end(), {SaveCall::Size, SaveCall::Size});  // open and close to read it
    return calls;
}

// A document of several blocks with an old .bak beside it and "Dateizeit erhalten" on: F8, "Sichern als"
// to a new name, and F8 of a file whose own name ends in .bak, each failed at every one of its file calls.
class DocFileSaveFailures : public DocFile {
protected:
    void SetUp() override {
        DocFile::SetUp();
        writeLines("a.txt", 300, "original line with a little text");  // about 11 KB
        original_ = read("a.txt");
        changed_ = "changed\r\n" + original_.substr(original_.find('\n') + 1);
        blocks_ = static_cast<int>((changed_.size() + 2047) / 2048);
        keepFileTime = 1;
    }
    // The calls of copying the old file to its backup name: 0 where it is linked.
    int backupCopyCalls() {
        write("probe.txt", original_);
        if (file_link(path("probe.txt").c_str(), path("probe.lnk").c_str()) == 0) return 0;
        files_test_fail_call(-1);
        EXPECT_EQ(file_copy(path("probe.txt").c_str(), path("probe.bak").c_str()), 0);
        return files_test_calls();
    }
    TimeRecord diskTime(const std::string& name) const {
        TimeRecord t;
        EXPECT_EQ(file_time(path(name).c_str(), &t), 0);
        return t;
    }
    std::string original_, changed_;
    int blocks_ = 0;
};

// A call after the new file took the name fails harmlessly, and so does one of the backup that the link or the
// copy could still make. Any other failure keeps the changed document and the old file under its name with its
// time, and tells why; a temporary file left behind holds the new text and the box names it. F8 keeps the old
// file as backup, linked or else copied (over an old one it could not delete), and the time unless that failed.
TEST_F(DocFileSaveFailures, ASaveFailedAtAnyCallLeavesEveryNameWholeOrOld) {
    using C = SaveCall;
    struct Scenario { const char* name; int (*saveIt)(); const char* answer; std::vector<C> calls, harmless; };
    const Scenario scenarios[] = {
        {"a.txt", save, nullptr, saveCalls(blocks_, true, true, backupCopyCalls()),
         {C::DeleteBackup, C::LinkBackup, C::KeepTime, C::Size}},
        {"a.txt", saveAs, "b.txt", saveCalls(blocks_, false, false), {C::Size}},
        {"a.bak", save, nullptr, saveCalls(blocks_, false, true), {C::KeepTime, C::Size}},  // its own backup name
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(std::string(s.name) + (s.answer ? " as " + std::string(s.answer) : ""));
        const std::string target = s.answer ? s.answer : s.name;
        const bool f8 = target == "a.txt";
        // The good save counted, then the save failed at each call in turn, the files as they were each time.
        for (int k = -1; k < static_cast<int>(s.calls.size()); ++k) {
            SCOPED_TRACE("failing call " + std::to_string(k));
            for (const auto& entry : fs::directory_iterator(dir_)) fs::remove(entry.path());
            if (std::string(s.name) == "a.txt") write("a.bak", "older\r\n");
            loadAndChange(s.name, original_, "changed", &kOldTime);
            if (s.answer) headless_file_answer(path(s.answer).c_str());
            files_test_fail_call(k);
            const int result = s.saveIt();
            const int counted = files_test_calls();
            files_test_fail_call(-1);
            if (k < 0) {
                ASSERT_EQ(result, 1);
                ASSERT_EQ(counted, static_cast<int>(s.calls.size()));
                continue;
            }
            const C call = s.calls[k];
            const bool harmless = std::count(s.harmless.begin(), s.harmless.end(), call) > 0;
            EXPECT_EQ(result, harmless || (call == C::CopyBackup && result == 1) ? 1 : 0);
            EXPECT_EQ(modified, 1 - result);
            EXPECT_EQ(std::string(fileName), path(result ? target : s.name));
            EXPECT_EQ(read(s.name), result && !s.answer ? changed_ : original_);
            EXPECT_EQ(sameTime(diskTime(s.name), kOldTime), !result || call != C::KeepTime || s.answer != nullptr);
            Names left = names();
            for (const std::string& known : {std::string(s.name), target, std::string("a.bak")}) left.erase(known);
            if (s.answer) { EXPECT_EQ(names().count(target) ? read(target) : "absent", result ? changed_ : "absent"); }
            if (s.answer && result) { EXPECT_FALSE(sameTime(diskTime(target), kOldTime)); }
            if (s.answer) { EXPECT_EQ(read("a.bak"), "older\r\n"); }
            if (f8) {  // the backup: the old one until it is deleted, none when the copy failed, else the original
                std::string bak = !result && call < C::DeleteBackup ? "older\r\n" : original_;
                if (!result && call == C::CopyBackup) bak = "absent";
                EXPECT_EQ(names().count("a.bak") ? read("a.bak") : "absent", bak);
            }
            if (result) {
                EXPECT_TRUE(left.empty() && boxTexts().empty());
                EXPECT_TRUE(sameTime(fileTime, diskTime(target)));
                EXPECT_EQ(fileSize, static_cast<long>(changed_.size()));
            } else if (!left.empty()) {
                ASSERT_EQ(left.size(), 1u);
                EXPECT_EQ(read(*left.begin()), changed_);
                EXPECT_EQ(boxTexts(), Lines{"Dateifehler: kann " + path(target) +
                                            " nicht ersetzen. Der neue Text steht in " + path(*left.begin()) + "."});
            } else {
                // A block within the walk (not the last) is a write error.
                EXPECT_EQ(boxTexts(), Lines{call == C::Write && k < blocks_ ? "Schreibfehler" : cannot(target)});
                EXPECT_EQ(lines()[0], "changed");
                headless_reset();  // F8 again, with the files well: no complaint about the file's time
                if (s.answer) headless_file_answer(path(target).c_str());
                EXPECT_EQ(s.saveIt(), 1);
                EXPECT_EQ(read(target) + std::to_string(boxTexts().size()), changed_ + "0");
            }
        }
    }
}

// The first date at column 3, 8 or 16 is renewed (in the third line of every save: the fuzz loader's oracle).
TEST_F(DocFile, TheFirstDateAtColumn3Or8Or16IsRenewedInTheThirdLine) {
    struct Row { const char* text; const char* stamped; };
    static const Row rows[] = {
        {"// 01.02.2003 Stand", "// 24.12.2024 Stand"}, {"Stand:  2003-02-01!", "Stand:  24.12.2024!"},
        {"                01.01.1999", "                24.12.2024"}, {"01.02.2003 at column 0", nullptr},
        {"Version: 2003-02-01", nullptr},  // column 9: no stamp column
        {"// 01.02.200", nullptr},  // the date would run past the line
        {"// 01.02.2003 01.02.2003", "// 24.12.2024 01.02.2003"}, {"// 1a.02.2003", nullptr},
    };
    for (const Row& r : rows) {
        char text[251];
        std::strcpy(text, r.text);
        EXPECT_EQ(dateStampApply(text, "24.12.2024"), r.stamped != nullptr) << r.text;
        EXPECT_STREQ(text, r.stamped ? r.stamped : r.text);
    }
}

// Only the time tells (the same number of bytes).
TEST_F(DocFile, AFileChangedOnDiskLeadsToTheSaveBox) {
    loadAndChange("c.txt", "mine\r\n", "edited", &kOldTime);
    write("c.txt", "hers\r\n");
    const TimeRecord other = {100, 2, 3, 4, 5, 8};  // two seconds after kOldTime
    ASSERT_EQ(set_file_time(path("c.txt").c_str(), &other), 0);
    EXPECT_EQ(save(), 0);  // the save box is cancelled
    EXPECT_EQ(boxTexts(), Lines{"Datum/Zeit der Datei wurden ge\344ndert."});
    EXPECT_EQ(headless_file_boxes().at(0).startName, path("c.txt"));
    headless_file_answer(path("c2.txt").c_str());
    EXPECT_EQ(save(), 1);
    EXPECT_EQ(read("c2.txt") + read("c.txt"), "edited\r\nhers\r\n");
}

// Ctrl+D: the line, the cursor's column, the file then open, the document opened through the shell and its
// result, the boxes shown; F9 comes back. F9 saves without asking; with an empty back list it opens the file
// "module" of the current directory, or the directory panel when there is none; so does a name that is no file.
TEST_F(DocFile, CtrlDOpensTheNameUnderTheCursorAndF9ComesBack) {
    write("a.txt", "a\r\n");
    write("b.txt", "b\r\n");
    fs::current_path(dir_);
    const std::string here = (fs::current_path() / "b.txt").string();
    std::string shellPath = path("x.SG");
    for (char& c : shellPath) c = c == '/' ? '\\' : c;
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
        load("a.txt");
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
        back();  // F9
        EXPECT_EQ(std::string(fileName), path("a.txt"));
    }
    for (const char* name : {"1", "2", "3", "4", "5", "6"}) backPush(name);
    char out[FILE_PATH_MAX + 1];
    std::string popped;
    for (int i = 0; i < 7; ++i) {
        backPop(out);
        popped += out;
    }
    EXPECT_EQ(popped, "6543222");  // "1" fell off the end; the oldest entry stays
    std::memset(backList, 0, sizeof backList);
    setRow(0, "a changed");
    modified = 1;
    back();  // the list empty and no "module": the directory panel
    EXPECT_EQ(read("a.txt") + std::to_string(headless_posted_commands().back().id), "a changed\r\n1006");
    openModuleFile();
    EXPECT_EQ(std::string(fileName), path("a.txt"));
    write("module", "m\r\n");
    back();
    EXPECT_EQ(fs::path(fileName).filename().string(), "module");
    fs::create_directory(dir_ / "sub");
    openPath(path("sub").c_str());  // no file of that name: the directory panel in that directory
    EXPECT_TRUE(fs::equivalent(fs::current_path(), dir_ / "sub") && headless_posted_commands().back().id == 1006);
}

std::vector<DocEvent> told;
void tell(const DocNotice& notice) { told.push_back(notice.event); }

// A listener added twice hears each notice once.
TEST_F(DocFile, TheDocumentTellsTheFloorAboveWhatHappenedInOrder) {
    using E = DocEvent;
    writeLines("a.txt", 3);
    struct Row { const char* what; void (*act)(const char* path); std::vector<DocEvent> events; };
    const Row rows[] = {
        {"new document", [](const char*) { docNew(); }, {E::Replacing, E::Replaced}},
        {"whole load", [](const char* p) { docLoad(p, true); }, {E::Replacing, E::ColumnWanted, E::Replaced}},
        {"insert", [](const char* p) { docLoad(p, false); }, {E::Inserting, E::Replaced}},
        {"unreadable file", [](const char*) { docLoad("missing.txt", true); }, {}},
    };
    docListenersClear();
    ASSERT_TRUE(docListen(tell));
    ASSERT_TRUE(docListen(tell));
    for (const Row& r : rows) {
        told.clear();
        modified = 0;
        r.act(path("a.txt").c_str());
        EXPECT_EQ(told, r.events) << r.what;
    }
    docListenersClear();
}

// The seconds are not shown; the refresh tells the open dialog.
TEST_F(DocFile, PropertiesShowOnlyWhatChangedAndTheBoxesActAtOnce) {
    for (const auto& [size, text] : {std::pair<long, const char*>{999, "999"}, {2147483647L, "2147483.647"}}) {
        char got[16];
        fileSizeText(size, got);
        EXPECT_STREQ(got, text) << size;
    }
    std::strcpy(fileName, "C:\\dir\\datei.txt");
    fileSize = 1234567;
    fileTime = kOldTime;
    propertiesDialogOpened(77);
    EXPECT_EQ(headless_dialog_commands().at(0).dialog, 77);
    PropertiesView view = propertiesDialogView();
    EXPECT_EQ(std::string(view.name) + "|" + view.dir + "|" + view.size + "|" + view.time,
              "datei.txt|C:\\dir\\|1234.567|03.02.2000 04:05");
    EXPECT_EQ(view.modified * 10 + view.crlf, 1);
    fileTime.second = 59;
    view = propertiesDialogView();
    EXPECT_FALSE(view.nameChanged || view.dirChanged || view.sizeChanged || view.timeChanged ||
                 view.modifiedChanged || view.crlfChanged);
    EXPECT_TRUE(propertiesBoxClicked(PROP_CRLF, 0));
    EXPECT_STREQ(headless_status_text(0), " lf");
    EXPECT_EQ(headless_dialog_commands().back().id, 2510);
    EXPECT_TRUE(propertiesBoxClicked(PROP_MODIFIED, 1));
    view = propertiesDialogView();
    EXPECT_TRUE(view.modifiedChanged && view.crlfChanged && !view.nameChanged);
    EXPECT_FALSE(propertiesBoxClicked(PROP_NAME, 1));
    propertiesDialogClosed();
}

// The recent files: order, 30 entries, the ten newest as items of the menu "Datei" (five fixed items first).
Lines menu;
int menuAppend(int kind, int id, const char* text) {
    menu.push_back(kind == 0 ? "-" : std::to_string(id) + " " + text);
    return static_cast<int>(menu.size()) - 1;
}
int menuRemove(int pos) {
    if (pos < 0 || pos >= static_cast<int>(menu.size())) return -1;
    menu.erase(menu.begin() + pos);
    return 0;
}
Lines added() { return Lines(menu.begin() + 5, menu.end()); }

TEST(FileHistory, NewestFirstOnceEachAndTheTenNewestAsMenuItems) {
    menu = {"new", "open", "save", "print", "exit"};
    const HistoryMenu hooks{menuAppend, menuRemove};
    historySetMenu(&hooks);
    historyCreate();
    for (const char* name : {"a", "b", "   ", "", "a", "A"}) historyAdd(name);  // blank names are no entries
    EXPECT_EQ(added(), (Lines{"-", "1050 &0 A", "1051 &1 a", "1052 &2 b"}));  // names compare exactly
    char name[201];
    EXPECT_EQ(historyName(3, name), -1);
    historyCreate();  // a second call empties the list and its items
    EXPECT_EQ(added(), Lines{"-"});
    for (int i = 0; i < 31; ++i) historyAdd(("f" + std::to_string(i)).c_str());
    EXPECT_EQ(historyName(29, name), 0);
    EXPECT_STREQ(name, "f1");  // the 31st dropped the oldest
    EXPECT_EQ(historyName(30, name), -1);
    EXPECT_EQ(historyName(-1, name), -1);
    EXPECT_STREQ(name, "");
    historyAdd("f22");  // moves up from entry 8: the items follow, one separator still
    EXPECT_EQ(added(), (Lines{"-", "1050 &0 f22", "1051 &1 f30", "1052 &2 f29", "1053 &3 f28", "1054 &4 f27",
                              "1055 &5 f26", "1056 &6 f25", "1057 &7 f24", "1058 &8 f23", "1059 &9 f21"}));
    historyDestroy();
    historyDestroy();  // a second time does nothing
    EXPECT_EQ(added(), Lines{"-"});
    historySetMenu(nullptr);
}

}  // namespace
