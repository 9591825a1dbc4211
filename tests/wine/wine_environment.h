// The shared environment of the Wine test program.
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
// oldest first, notifications of its child controls included;
// wine_clear_main_commands() forgets them.
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

// ---------------------------------------------------------------- controls of the dialogs under test

// The whole text of control id of dialog (however long).
std::string itemText(HWND dialog, int id);
// Clicks the button id of dialog.
void click(HWND dialog, int id);
// The text of part `part` of the main window's status bar.
std::string statusPart(int part);

// ---------------------------------------------------------------- the document's window rows

// Row r of the window holds text (unmarked); the text of row r, trimmed.
void setRow(int r, const char* text);
std::string rowText(int r);
