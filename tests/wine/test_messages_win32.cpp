// Messages, texts and boxes through the Win32 layer under Wine: the real string
// table, the captions, owners and disabling around every box, the file boxes'
// start directory and current directory, and the fatal end.
//
// Windows-1252 characters are written as \xNN escapes; an escape that is
// followed by a hex digit letter is closed by splitting the literal.
#include "framework/dialog_win32.h"
#include "framework/messages.h"
#include "framework/messages_win32.h"
#include "support/platform.h"
#include "support/app_win32.h"
#include "wine_environment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// The string table
// ---------------------------------------------------------------------------

TEST(MessagesStrings, TheRealTableGivesTheWindows1252Texts) {
    EXPECT_STREQ(load_text(10), "C:\\Y8.txt");
    EXPECT_STREQ(load_text(11), "NAMENLOS");
    EXPECT_STREQ(load_text(21), "Datei \xF6"
                                "ffnen");
    EXPECT_STREQ(load_text(24), "Ge\xE4ndert, speichern?");
    EXPECT_STREQ(load_text(26), "Baukastendatei einf\xFCgen");
    EXPECT_STREQ(load_text(104), "Datum/Zeit der Datei wurden ge\xE4ndert.");
    EXPECT_STREQ(load_text(20), "Alle Dateien|*.*|Quellen|*.c*;*.h*;*.l*;*.d*;*.rc;*.g*;*.txt;*.ini;makefile|"
                                "Textdateien|*.txt|Klartexte|*.c*|Definitionen|*.h*||");
    EXPECT_STREQ(load_text(22), load_text(20));

    // The resource itself holds the Unicode letters, whatever the code page.
    wchar_t wide[64] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleA(nullptr), 24, wide, 64), 0);
    EXPECT_EQ(wide[2], 0x00E4);
    ASSERT_GT(LoadStringW(GetModuleHandleA(nullptr), 100, wide, 64), 0);
    EXPECT_EQ(std::wstring(wide), L"Dateifehler: kann %s nicht \x00F6"
                                  L"ffnen.");
}

TEST(MessagesStrings, MissingIdsCutsAndTheModuleWithoutInstance) {
    char buf[16];
    EXPECT_FALSE(plat_load_string(7, buf, sizeof buf));
    EXPECT_STREQ(load_text(7), "Text 7 fehlt.");
    EXPECT_STREQ(load_text(70000), "Text 70000 fehlt.");  // no resource id, no pointer either

    std::memset(buf, '#', sizeof buf);
    EXPECT_TRUE(plat_load_string(24, buf, 6));
    EXPECT_STREQ(buf, "Ge\xE4nd");
    EXPECT_EQ(buf[6], '#');

    // Without an instance in App the program's own module holds the table.
    HINSTANCE instance = App.instance;
    App.instance = nullptr;
    std::string text = load_text(23);
    App.instance = instance;
    EXPECT_EQ(text, "Datei speichern");
}

// ---------------------------------------------------------------------------
// Message boxes
// ---------------------------------------------------------------------------

// A top-level window of the program with a caption, owned by the main window.
HWND make_window(const char* caption) {
    HWND w = CreateWindowExA(0, "STATIC", caption, WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 300, 120,
                             App.mainWindow, nullptr, App.instance, nullptr);
    EXPECT_NE(w, nullptr);
    return w;
}

class MessagesBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        wine_clear_boxes();
        SetActiveWindow(App.mainWindow);
    }
    void TearDown() override {
        for (HWND w : windows_) DestroyWindow(w);
        dlg_close_all();
        wine_pump();
        wine_clear_boxes();
    }
    HWND window(const char* caption) {
        HWND w = make_window(caption);
        windows_.push_back(w);
        return w;
    }
    const WineBox& last() {
        EXPECT_FALSE(wine_seen_boxes().empty());
        return wine_seen_boxes().back();
    }

private:
    std::vector<HWND> windows_;
};

TEST_F(MessagesBoxes, MainWindowBoxesCarryTheProgramTitle) {
    HWND other = window("Andere Box");
    SetActiveWindow(other);
    message_box_fmt("Kann Dialogbox %s nicht herstellen.", "DB1100");
    EXPECT_EQ(last().text, "Kann Dialogbox DB1100 nicht herstellen.");
    EXPECT_EQ(last().caption, "ZEMO Editor");
    EXPECT_EQ(last().owner, App.mainWindow);
    EXPECT_EQ(last().style, 0x2030u);
    EXPECT_FALSE(last().mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(App.mainWindow));
}

TEST_F(MessagesBoxes, OtherBoxesCarryTheActiveWindowsCaptionCutAt79) {
    HWND box = window("Pr\xFC"
                      "fbox");
    SetActiveWindow(box);
    ASSERT_EQ(GetActiveWindow(), box);
    message_box("Fertig.");
    EXPECT_EQ(last().caption, "Pr\xFC"
                              "fbox");
    EXPECT_EQ(last().owner, nullptr);
    EXPECT_EQ(last().style, 0x2040u);
    EXPECT_FALSE(last().mainEnabled);

    std::string longCaption;
    for (int i = 0; longCaption.size() < 120; ++i) longCaption += std::to_string(i % 10);
    HWND wide = window(longCaption.c_str());
    SetActiveWindow(wide);
    wine_queue_box_answer(IDNO);
    EXPECT_EQ(ask_yes_no_cancel("Speichern?", 1), 0);
    EXPECT_EQ(last().caption, longCaption.substr(0, 79));
    EXPECT_EQ(last().style, 0x2123u);

    SetWindowTextA(App.mainWindow, "ZEMO Editor");  // earlier tests may have shown a document's name
    SetActiveWindow(App.mainWindow);
    wine_queue_box_answer(IDYES);
    EXPECT_EQ(ask_yes_no("Weiter?", 1), 1);
    EXPECT_EQ(last().caption, "ZEMO Editor");  // the main window's own caption
    EXPECT_EQ(last().style, 0x2124u);
}

TEST_F(MessagesBoxes, WithNoActiveWindowTheCaptionIsEmpty) {
    SetActiveWindow(nullptr);
    if (GetActiveWindow() != nullptr) GTEST_SKIP() << "Wine kept a window active";
    message_box("Hallo");
    EXPECT_EQ(last().caption, "");
    EXPECT_EQ(last().owner, nullptr);
}

// What a probing hook saw while the box was up.
struct Seen {
    HWND dialog = nullptr;   // an open dialog of the program
    bool mainEnabled = true, dialogEnabled = true;
    int calls = 0;
    int answer = IDOK;
};
Seen seen;

int probe_box(const char* text, unsigned style, const char* caption, HWND owner) {
    (void)text, (void)style, (void)caption, (void)owner;
    seen.calls++;
    seen.mainEnabled = IsWindowEnabled(App.mainWindow) != FALSE;
    seen.dialogEnabled = seen.dialog && IsWindowEnabled(seen.dialog) != FALSE;
    SetActiveWindow(App.mainWindow);  // a box takes the activation away
    return seen.answer;
}

INT_PTR quiet_dialog(UINT, WPARAM, LPARAM) { return 0; }

TEST_F(MessagesBoxes, EveryProgramWindowIsDisabledWhileTheBoxIsUpAndTheActiveOneReturns) {
    seen = Seen{};
    seen.dialog = dlg_open("DB9002", nullptr, nullptr, quiet_dialog);
    ASSERT_NE(seen.dialog, nullptr);
    wine_pump();
    SetActiveWindow(seen.dialog);
    ASSERT_EQ(GetActiveWindow(), seen.dialog);

    BoxHook recording = box_set_hook(probe_box);
    seen.answer = IDCANCEL;
    int answer = ask_yes_no_cancel("Ge\xE4ndert, speichern?", 0);
    box_set_hook(recording);

    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(answer, 2);
    EXPECT_FALSE(seen.mainEnabled);
    EXPECT_FALSE(seen.dialogEnabled);
    EXPECT_TRUE(IsWindowEnabled(App.mainWindow));
    EXPECT_TRUE(IsWindowEnabled(seen.dialog));
    EXPECT_EQ(GetActiveWindow(), seen.dialog);
}

// ---------------------------------------------------------------------------
// File boxes
// ---------------------------------------------------------------------------

// What the file box hook saw, and what it does.
struct FileSeen {
    int calls = 0;
    bool save = false;
    std::string name, initialDir, title;
    std::vector<std::string> pairs;
    bool mainEnabled = true;
    const char* answer = nullptr;  // nullptr: cancel
    const char* wanderTo = nullptr;  // the box changes the current directory
};
FileSeen fileSeen;

int probe_file_box(bool save, char* name, const char* initialDir, const char* title, const char* pairs) {
    fileSeen.calls++;
    fileSeen.save = save;
    fileSeen.name = name;
    fileSeen.initialDir = initialDir ? initialDir : "(null)";
    fileSeen.title = title ? title : "(null)";
    fileSeen.pairs.clear();
    for (const char* p = pairs; *p; p += std::strlen(p) + 1) fileSeen.pairs.emplace_back(p);
    fileSeen.mainEnabled = IsWindowEnabled(App.mainWindow) != FALSE;
    if (fileSeen.wanderTo) SetCurrentDirectoryA(fileSeen.wanderTo);
    if (!fileSeen.answer) return 0;
    std::strcpy(name, fileSeen.answer);
    return 1;
}

std::string current_dir() {
    char dir[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(sizeof dir, dir);
    return dir;
}

class MessagesFileBoxes : public ::testing::Test {
protected:
    void SetUp() override {
        fileSeen = FileSeen{};
        file_box_set_hook(probe_file_box);
        cwd_ = current_dir();
        GetWindowsDirectoryA(windows_, sizeof windows_);
    }
    void TearDown() override {
        file_box_set_hook(nullptr);
        SetCurrentDirectoryA(cwd_.c_str());
    }
    std::string cwd_;
    char windows_[MAX_PATH + 1] = "";
};

TEST_F(MessagesFileBoxes, StartNameSplitsIntoDirectoryAndNameField) {
    char name[FILE_BOX_PATH_MAX + 1] = "C:\\windows\\win.ini";
    fileSeen.answer = "C:\\windows\\system.ini";
    EXPECT_EQ(file_open_box(name, load_text(21), load_text(20)), 1);
    EXPECT_STREQ(name, "C:\\windows\\system.ini");
    ASSERT_EQ(fileSeen.calls, 1);
    EXPECT_FALSE(fileSeen.save);
    EXPECT_EQ(fileSeen.initialDir, "C:\\windows\\");
    EXPECT_EQ(fileSeen.name, "win.ini");
    EXPECT_EQ(fileSeen.title, "Datei \xF6"
                              "ffnen");
    ASSERT_EQ(fileSeen.pairs.size(), 10u);
    EXPECT_EQ(fileSeen.pairs[0], "Alle Dateien");
    EXPECT_EQ(fileSeen.pairs[1], "*.*");
    EXPECT_EQ(fileSeen.pairs[9], "*.h*");
    EXPECT_FALSE(fileSeen.mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(App.mainWindow));

    // A name without a directory, and a blank one: the current directory.
    std::strcpy(name, "brief.txt");
    fileSeen.answer = "C:\\brief.txt";
    EXPECT_EQ(file_save_box(name, load_text(23), "Texte#*.txt##"), 1);
    EXPECT_TRUE(fileSeen.save);
    EXPECT_EQ(fileSeen.name, "brief.txt");
    EXPECT_EQ(fileSeen.initialDir, cwd_);
    EXPECT_EQ(fileSeen.pairs, (std::vector<std::string>{"Texte", "*.txt"}));

    std::strcpy(name, "   ");
    EXPECT_EQ(file_save_box(name, "Speichern", "A|*.*||"), 1);
    EXPECT_EQ(fileSeen.name, "");
    EXPECT_EQ(fileSeen.initialDir, cwd_);
}

TEST_F(MessagesFileBoxes, TheCurrentDirectoryIsTheSameAfterwards) {
    ASSERT_NE(cwd_, windows_);
    char name[FILE_BOX_PATH_MAX + 1] = "";
    fileSeen.wanderTo = windows_;
    fileSeen.answer = "C:\\windows\\win.ini";
    EXPECT_EQ(file_open_box(name, "Datei", "A|*.*||"), 1);
    EXPECT_EQ(current_dir(), cwd_);

    // Cancelled: name empty, 0, and the directory kept all the same.
    std::strcpy(name, "C:\\windows\\win.ini");
    fileSeen.answer = nullptr;
    EXPECT_EQ(file_open_box(name, "Datei", "A|*.*||"), 0);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(current_dir(), cwd_);
    EXPECT_EQ(fileSeen.calls, 2);
}

// ---------------------------------------------------------------------------
// The fatal end
// ---------------------------------------------------------------------------

int print_fatal_box(const char* text, unsigned style, const char* caption, HWND owner) {
    std::fprintf(stderr, "%s|style %#x|caption %s|owner %s|main %s\n", text, style, caption,
                 owner == App.mainWindow ? "main" : "other",
                 IsWindowEnabled(App.mainWindow) ? "enabled" : "disabled");
    std::fflush(stderr);
    return IDOK;
}

void fail_an_assertion() {
    box_set_hook(print_fatal_box);
    Y8_ASSERT("undelete", 50, fmalloc(-1, 1) != nullptr, "(zbram=fmalloc(ZBRSUP+2,1)) != NULL");
}

TEST(MessagesDeathTest, AssertFailShowsTheStopBoxAndEndsTheProgram) {
    EXPECT_EXIT(fail_an_assertion(), ::testing::ExitedWithCode(3),
                "ASSERT ERROR\\sundelete\\.50\\s\\(zbram=fmalloc\\(ZBRSUP\\+2,1\\)\\) != NULL\\|"
                "style 0x2010\\|caption ZEMO Editor\\|owner main\\|main disabled");
}

}  // namespace
