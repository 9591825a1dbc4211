// The overview, structure and search list panels (DB1200, DB1201, DB1202):
// the Win32 side. Each is a child window of the main window, placed in its
// top left corner; the procedures only move values between the controls
// and the portable functions of textops/lists.h.
#pragma once

#include <windows.h>

// Opens the panel of kind (0 overview, 1 structure, 2 search list); a text
// that is not empty becomes the search text. A list panel that is open
// already closes first, so the new one is built for the cursor as it
// stands now.
void list_open(int kind, const char* text);
// The open list panel, or null.
HWND listPanelWindow();
