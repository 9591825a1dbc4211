// The Wine test program's environment and the one fixture of the Win32 layer. Before the first test: the
// main window and App (a fixed-pitch font, the title "ZEMO Editor"), the dialog manager, runState 2 (wine_pump
// stands in for the loop) and a box hook that shows no box: each is recorded and answered Cancel to a question,
// OK to the rest. After every test the fixture fails the test that left anything behind and puts back what it can.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "../lib/document_rows.h"

#include <string>
#include <vector>

const std::vector<std::string>& wine_seen_boxes();  // the texts of the boxes shown
void wine_clear_boxes();
void wine_pump();  // every pending message, as the program's loop
struct WineCommand { int id; LPARAM lParam; };
const std::vector<WineCommand>& wine_main_commands();  // WM_COMMANDs the main window received
void wine_clear_main_commands();
std::string postedPhrase();  // the phrase of the one command the main window received, else ""

std::string currentDirectory();
std::string tempDir();  // with its trailing backslash
std::string fileText(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::vector<std::string> filesIn(const std::string& dir);  // dir's files (dir ends in \) as the system spells them
// A folder of the test's own in the temporary folder; gone, and the current directory back, at its end.
class ScratchDir {
  public:
    explicit ScratchDir(const std::string& stem);
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string operator/(const std::string& name) const { return path + "\\" + name; }

    const std::string path;  // without a trailing backslash

  private:
    const std::string home_;
};

std::string windowText(HWND window);
std::string itemText(HWND dialog, int id);
void press(HWND dialog, int id, int code = 0);  // WM_COMMAND id from its control, then the pump
HWND panel();                                   // the dialog among the main window's children
std::vector<std::string> listLines(HWND listBox);
std::string statusPart(int part);
HDROP makeDrop(const std::vector<std::string>& names);  // as the system hands it over
// Words full of what a command interpreter reads (& | ^ ( ) < > ! ; ' blanks, % and quotes, tabs, bytes
// above 127, some writing canary.txt): word after word of one series, started by a seed of 1. How many a
// test takes: the number in the environment variable, else the fallback.
std::string hostileWord(unsigned* seed);
int hostileCount(const char* variable, int fallback);
// While it lives, every call of the test program's code to the system's function goes to standIn
// instead: the function's entry in the program's import table is changed and put back afterwards.
class ImportStandIn {
  public:
    ImportStandIn(const char* dll, const char* function, void* standIn);
    ~ImportStandIn();
    ImportStandIn(const ImportStandIn&) = delete;
    ImportStandIn& operator=(const ImportStandIn&) = delete;
    bool found() const { return slot_ != nullptr; }

  private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};
// Stand-ins of CreateFontA and CreateSolidBrush when no font or brush can be made.
HFONT WINAPI refuseCreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR);
HBRUSH WINAPI refuseCreateSolidBrush(COLORREF);

// An empty document in 20 x 80 rows, a settings file of the test's own, no boxes or commands seen, no
// placement slot, the start-up state reset. Afterwards the dialogs, the status bar and the file are gone; the
// title, the window's place, the slot and Y8.ini in the Windows directory are back; a box not taken with
// wine_clear_boxes() fails the test.
class Win32Test : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    static void statusBar();
    static void command(int id, LPARAM lParam = 0);   // through the main window procedure, then the pump
    // The keys' values in the test's settings file, each followed by a comma, "<none>" for a missing key.
    std::string settingsValues(const char* section, const std::vector<const char*>& keys) const;
    static LRESULT call(int state, UINT message, WPARAM wParam, LPARAM lParam);  // in that run state

    std::string settings;
};
