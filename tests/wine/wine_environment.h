// The shared environment of the Wine test program and the one fixture of the Win32 layer.
//
// Before the first test: the main window and App (instance, a fixed-pitch font, the title
// "ZEMO Editor"), the dialog manager, runState 2 (wine_pump stands in for the loop), and a
// box hook: no real box is shown; every box is recorded and answered from a queue, else a
// question with 2 (Cancel) and an OK box with 1. After every test a check fails the test
// that left anything behind (clipboard, caret, capture, hooks, answers, run state, windows,
// the main window's place and state, the current directory, Y8.ini) and puts it right.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

// One box as the program asked for it.
struct WineBox {
    std::string text;
    unsigned style = 0;
    std::string caption;
    HWND owner = nullptr;
    bool mainEnabled = true;  // the main window was enabled while the box was up
};

// The next box answers with answer (first in, first out).
void wine_queue_box_answer(int answer);
// The boxes shown since the last wine_clear_boxes(), oldest first.
const std::vector<WineBox>& wine_seen_boxes();
// Forgets the recorded boxes and any queued answers.
void wine_clear_boxes();

// Handles every pending message as the program's loop does (accelerators, dialogs, dispatch).
void wine_pump();

// Every WM_COMMAND the main window has received (LOWORD of wParam, and lParam), oldest first.
struct WineCommand { int id; LPARAM lParam; };
const std::vector<WineCommand>& wine_main_commands();
void wine_clear_main_commands();

// ---------------------------------------------------------------- files, controls, rows

std::string currentDirectory();
std::string windowsDir();  // with its trailing backslash
std::string tempDir();     // the same
std::string fileText(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::string windowText(HWND window);
HFONT controlFont(HWND window);
std::string itemText(HWND dialog, int id);
std::vector<std::string> itemTexts(HWND dialog, std::initializer_list<int> ids);
bool checked(HWND dialog, int id);
bool enabled(HWND dialog, int id);
void click(HWND dialog, int id);                // BM_CLICK on button id
void press(HWND dialog, int id, int code = 0);  // WM_COMMAND id from its control, then the pump
void key(HWND w, int vk);                       // down and up, then the pump
HWND panel();                                   // the dialog among the main window's children
std::vector<std::string> listLines(HWND listBox);
std::vector<std::string> comboLines(HWND comboBox);
std::string statusPart(int part);               // of the main window's status bar
HMODULE programResources();                     // y8.exe beside the tests as a data file
// A drop as the system hands it over: DROPFILES and the names, double-NUL ended even
// without names (past a single NUL the reader would take what lies behind for more files).
HDROP makeDrop(const std::vector<std::string>& names);
// Window row r holds text, marked as given ('0' unmarked, '1' in-line from..to, '2' block-marked).
void setRow(int r, const char* text, char mark = '0', int from = 0, int to = 0);
std::string rowText(int r);
void loadLines(const std::vector<std::string>& lines);  // the document, the window filled from its top
void loadNumberedLines(int count);                       // "line 0" to "line <count - 1>" so

// ---------------------------------------------------------------- the fixture

// An empty document in 20 x 80 rows, a settings file of the test's own (named after the
// process: runs may share the prefix), no boxes or commands seen, no placement slot taken,
// the start-up state reset. Afterwards the dialogs and the status bar are gone, the file
// removed; the title, the window's placement, the slot and Y8.ini in the Windows directory
// (command 1008 takes a slot there) are back; a box not taken with wine_clear_boxes() fails the test.
class Win32Test : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // The status bar the program makes (its id is the id of other tests' controls).
    static void statusBar();
    // A WM_COMMAND through the main window procedure in run state 2, then the pump.
    static void command(int id, LPARAM lParam = 0);
    // The values of the keys in the test's settings file, "<none>" for a missing key.
    std::vector<std::string> settingsValues(const char* section, const std::vector<const char*>& keys) const;

    // The main window procedure in the given run state.
    static LRESULT call(int state, UINT message, WPARAM wParam, LPARAM lParam);

    std::string settings;

  private:
    char title_[128] = "";
    int slot_ = 1;
    std::optional<std::string> systemProfile_;
    WINDOWPLACEMENT placement_ = {};
};
