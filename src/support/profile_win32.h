// The window side of the profile and shell services: window placement in the
// profile, dropped files, the main menu, messages and a few window functions.
// The ini primitives, the clipboard and the title (support/platform.h) are
// implemented beside these in profile_win32.cpp.
#pragma once

#include <windows.h>

#include "support/profile.h"

// ---------------------------------------------------------------- window placement

// The window's placement as its ten numbers; false (values untouched) when it
// cannot be had.
bool window_placement_get(HWND window, PlacementValues* values);
// Gives the window the placement of the ten numbers.
void window_placement_set(HWND window, const PlacementValues& values);
// Writes the window's placement as the ten numbers "%d %d ..." (flags, show
// command, minimized x y, maximized x y, normal left top right bottom) under
// key in section.
void save_window_pos(HWND window, const char* key, const char* section);
// Reads a saved placement back. No value (or no ten numbers in it): 0 and the
// window unchanged. move_only = 0 applies the whole placement; otherwise the
// window keeps its state and size and only its normal rectangle moves to the
// saved left top corner. 1 when the saved show command was minimized, 2 when
// it was maximized, else 0.
int restore_window_pos(HWND window, const char* key, const char* section, int move_only);

// ---------------------------------------------------------------- dropped files

constexpr int DROP_NAME_MAX = 199;  // characters of a dropped file's path

void drag_accept(HWND window, int on);
// Remembers the drop of a WM_DROPFILES message; the number of files.
int drop_count(HDROP drop);
// The path of file i of the remembered drop into buf (DROP_NAME_MAX + 1 bytes);
// its length. No name (an index beyond the drop): 0; a path that does not fit,
// a negative index or no drop: -1; buf "" in both.
int drop_file(int i, char* buf);
// Releases the remembered drop.
void drop_finish();

// ---------------------------------------------------------------- main menu

// Appends to the drop-down menu at position submenu of the main menu bar (the
// bar itself when submenu < 0): kind 0 a separator, kind 1 the text item id.
// The position of the new item, or -1 (nothing added) for another kind or a
// missing menu.
int menu_append(int submenu, int id, int kind, const char* text);
// Deletes item at position item of the drop-down menu at position submenu, or
// with item < 0 the menu bar's position submenu itself. 0, or -1.
int menu_delete(int submenu, int item);

// ---------------------------------------------------------------- windows and messages

int post_message(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);  // nonzero when posted
// Handles every message waiting in the queue (offered to the dialog's
// IsDialogMessage first when dialog is not null) and returns when it is empty.
// A quit message is left for the main loop: posted again, and the pump returns.
void pump_messages(HWND dialog);
void move_window(HWND window, int x, int y, int w, int h);  // with repaint
// The window's top left corner on the screen, its width and height.
void window_rect(HWND window, int* x, int* y, int* w, int* h);
void bring_to_front(HWND window);
// Where every panel (a child dialog of the main window) stands: in the top left
// corner of its parent's client area, at its own size. Its module calls it
// when the panel opens.
void panel_place(HWND panel);
// The character virtual key vk gives under the current keyboard state, or 0
// when it gives no single character.
int key_char(int vk);
