// The text window's Win32 side: the font, the scroll bar control, the
// messages of the text area, and GDI and the system caret carrying out the
// plans of view/textview.h. It also implements the text-window primitives of
// support/platform.h (repaint, row-paint context, caret refresh, scroll bar).
#pragma once

#include <windows.h>

// At start-up, after the line store and the window rows exist: reads the
// client size, finds the font ("FixedSys2", else App.font), sets viewReady
// and hasFocus, loads the colours (once per run), computes the window size,
// shows the caret and creates the scroll bar at the right edge.
void viewCreate();
// When the main window goes: viewReady cleared, the own font deleted, the
// scroll bar destroyed.
void viewDestroy();
// The font the editor's text is drawn in (null before viewCreate).
HFONT viewFontGet();
// The client area changed: rows flushed and refilled for the new window size,
// scroll bar moved, everything repainted. Nothing while the window is
// minimised, so that the cursor and the rows stay as they were.
void viewResize();
// The messages of the text area. True when the message is settled with the
// result 0 (WM_PAINT): the window procedure then returns 0 without the default
// processing; false for every other message.
bool viewMessage(UINT message, WPARAM wParam, LPARAM lParam);
// Cell size from the view font, then the window size (when viewReady).
void metricsUpdate();

// Painting on a device context that has the view font selected and a
// transparent background.
void paintCells(HDC dc, int c, int r, int ncols, int nrows, bool marked, int from, int to);
void paintRow(HDC dc, int r);
// The whole text area (WM_PAINT).
void paintWindow();

// Test seams: the scroll bar control; the face the font search looks for
// (nullptr: "FixedSys2"); how often the system caret has been created.
HWND viewScrollBarGet();
void viewTestFontFace(const char* face);
int viewTestCaretCreations();
