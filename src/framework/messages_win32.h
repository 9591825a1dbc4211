// Messages, texts and boxes: the Win32 layer's side (the plat_ primitives of
// support/platform.h) and its test hooks.
//
// No real box may block a test run: with a box hook set, every message box and
// the fatal box go to the hook instead (with the same disabling of the program's
// windows and the same caption and owner), and the fatal end becomes
// ExitProcess(3); with a file box hook set, the hook stands in for the system's
// open and save boxes.
#pragma once

#include <windows.h>

// Answers a box instead of MessageBoxA: the button pressed (IDOK, IDYES ...).
using BoxHook = int (*)(const char* text, unsigned style, const char* caption, HWND owner);
// nullptr shows the system's boxes again. Returns the hook set before.
BoxHook box_set_hook(BoxHook hook);

// Answers a file box instead of the system's: name holds the name field on entry
// and receives the chosen path (at most 200 characters, 201 bytes of room);
// initialDir is the start directory (the current directory when the start name
// has none); pairs is the system's filter list. 1 confirmed, 0 cancelled.
using FileBoxHook = int (*)(bool save, char* name, const char* initialDir, const char* title,
                            const char* pairs);
// nullptr shows the system's boxes again. Returns the hook set before.
FileBoxHook file_box_set_hook(FileBoxHook hook);
