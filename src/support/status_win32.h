// The status bar, the value functions of dialog controls, dialog units and the
// HTML help: the Win32 side. status_set is declared in support/platform.h.
//
// Every control function takes the control id first and addresses that control
// of the current dialog (dlg_hwnd): inside a dialog's message that dialog,
// otherwise the main window.
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

// ---------------------------------------------------------------- control values

void dlg_set_font(int id, HFONT font);            // WM_SETFONT, redrawn
void dlg_set_text(int id, const char* text);      // the program's font (App.font), then the text
void dlg_put_text(int id, const char* text);      // the text only; the font stays
// At most max characters of the control's text into buf (max + 1 bytes); their
// count, 0 and "" when there is no such control.
int dlg_get_text(int id, char* buf, int max);

// The numbers below are written with dlg_set_text and read from at most 80
// characters of the control's text (support/status.h says how).
void dlg_set_int(int id, int n);        // "%d"
int dlg_get_int(int id);
void dlg_set_long(int id, long n);      // "%ld"
long dlg_get_long(int id);
void dlg_set_hex(int id, long n);       // "%lX": upper-case digits, no prefix
long dlg_get_hex(int id);
void dlg_set_fixed(int id, double value);  // two decimals, never "-0.00"
double dlg_get_double(int id);

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
