// The status bar, dialog units and the HTML help: the Win32 side. status_set
// is declared in support/platform.h; the value functions of dialog controls
// are the dialog manager's (framework/dialog_win32.h).
#pragma once

#include <windows.h>

constexpr int STATUS_ID = 3000;                // control id of the status bar
constexpr DWORD STATUS_STYLE = 0x54000103;     // child, visible, clip siblings, top,
                                               // no vertical move, size grip

// ---------------------------------------------------------------- status bar

// Creates the status bar at the bottom of the main window (empty text, id
// STATUS_ID), records its height and divides it into parts: widths holds up to
// ten blank-separated widths in dialog units, and one more part fills the rest.
// While a bar exists a further call only divides it anew. The bar, or 0.
HWND status_create(const char* widths);
// The bar's height in pixels; 0 before it exists.
int status_height();
// Destroys the bar (when the main window goes); the status functions then do nothing.
void status_destroy();
// Moves the bar to the bottom of a client area of width x height; nothing
// before it exists.
void status_resize(int width, int height);

// ---------------------------------------------------------------- dialog units

// n dialog units in pixels: n times the dialog base height / 8, rounded to the
// nearest pixel. The base height is asked of the system once.
int dlg_units(int n);

// ---------------------------------------------------------------- help

// Shows a page of a help file through html_help with the main window: file,
// or when file is null or empty the program path (command-line word 0) with
// the extension "chm"; with a topic the page "::/<topic>.html" inside it.
// Nothing happens when there is no help control or no such file.
void show_help(const char* file, const char* topic);
// Calls the system's HTML help function with the four values unchanged and
// returns its result; 0 when the help control cannot be loaded. The control is
// loaded on the first call only; when that fails, every later call returns 0
// at once.
HWND html_help(HWND window, const char* file, UINT command, DWORD_PTR data);

// Test seams: forget the loaded help control and any failure; take the
// registry key (under HKEY_CLASSES_ROOT) and the library file name (in the
// system directory) from the arguments, nullptr meaning the real ones.
void help_test_reset(const char* clsidKey, const char* libraryName);
// How often html_help has tried to load the help control since the last reset.
int help_test_load_runs();
// True when the help control is loaded and its HtmlHelpA entry found.
bool help_test_loaded();
// The text the last show_help handed to html_help since the last reset ("" none).
const char* help_test_last_target();
