// The shared environment of the Wine test program.
//
// Before the first test it registers a window class, creates the main window and
// fills App (instance, mainWindow, a fixed-pitch font, the title "ZEMO Editor"),
// sets up the dialog manager, sets runState to 2 (wine_pump stands in for the
// message loop), and installs a box hook: no real message box is ever shown.
// Every box is recorded and answered from a queue; with an empty queue a question
// box (any buttons besides OK) answers 2 (Cancel) and an OK box answers 1 (OK).
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
