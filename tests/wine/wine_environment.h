// The shared environment of the Wine test program and the one fixture of the Win32 layer.
//
// Before the first test it registers a window class, creates the main window and
// fills App (instance, mainWindow, a fixed-pitch font, the title "ZEMO Editor"),
// sets up the dialog manager, sets runState to 2 (wine_pump stands in for the
// message loop), and installs a box hook: no real message box is ever shown.
// Every box is recorded and answered from a queue; with an empty queue a question
// box (any buttons besides OK) answers 2 (Cancel) and an OK box answers 1 (OK).
//
// After every test it checks that the test left nothing behind, whatever order
// the tests run in: the clipboard closed, no caret, the recording box hook and
// no file box hook, no unused answers, runState 2, no window besides the main
// window and none in it, the main window enabled, neither minimized nor
// maximized and where it was, the current directory and Y8.ini in the Windows
// directory as they were. What it finds fails that test and is put right.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
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

// Handles every pending message of this thread the way the program's loop does:
// the main window's accelerators (when App has any), then the open dialogs
// (dlg_is_message), else translated and dispatched. Returns when the queue is empty.
void wine_pump();

// Every WM_COMMAND the main window has received (LOWORD of wParam, and lParam),
// oldest first, notifications of its child controls included.
struct WineCommand {
    int id;
    LPARAM lParam;
};
const std::vector<WineCommand>& wine_main_commands();
void wine_clear_main_commands();

// Y8.ini in the Windows directory, the file of the program's placement slots,
// as it is now; and put back as it was (removed when it did not exist).
struct WineFileBytes {
    bool exists = false;
    std::string bytes;
    bool operator!=(const WineFileBytes& other) const { return exists != other.exists || bytes != other.bytes; }
};
WineFileBytes wine_system_profile();
void wine_system_profile_restore(const WineFileBytes& file);

// ---------------------------------------------------------------- files and controls

std::string tempDir();                    // with its trailing backslash
std::string fileText(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
std::string windowText(HWND window);
std::string itemText(HWND dialog, int id);  // the whole text of control id, however long
bool checked(HWND dialog, int id);
bool enabled(HWND dialog, int id);
void click(HWND dialog, int id);            // BM_CLICK on button id
void press(HWND dialog, int id, int code = 0);  // WM_COMMAND id from its control, then the pump
HWND panel();                               // the dialog among the main window's children
std::vector<std::string> listLines(HWND listBox);
std::vector<std::string> comboLines(HWND comboBox);
// The template's size in dialog units is the dialog's client area.
void expectClientSize(HWND dialog, int width, int height);
// A key pressed in control w: down and up, then the pump.
void key(HWND w, int vk);
// The text of part `part` of the main window's status bar.
std::string statusPart(int part);
// y8.exe beside this test program, loaded for its resources only (FreeLibrary it).
HMODULE programResources();

// ---------------------------------------------------------------- the document's window rows

void setRow(int r, const char* text);
std::string rowText(int r);  // trimmed
// The document holds lines, the window filled from its top.
void loadLines(std::initializer_list<std::string> lines);

// ---------------------------------------------------------------- the fixture

// Every test starts with an empty document in 20 x 80 rows, a settings file of its
// own (named after the process: several runs may share the prefix), no boxes and no
// commands seen, run state 2. Afterwards the dialogs and the status bar are gone, the
// settings file is removed, the title is back, and a box the test did not take with
// wine_clear_boxes() fails it.
class Win32Test : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // The status bar the program makes (its id is the id of other tests' controls).
    static void statusBar();
    // A WM_COMMAND through the main window procedure in run state 2, then the pump.
    static void command(int id, LPARAM lParam = 0);
    std::string settingsValue(const char* section, const char* key) const;

    std::string settings;

  private:
    char title_[128] = "";
};
