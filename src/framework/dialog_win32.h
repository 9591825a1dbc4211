// The dialog manager: every modeless dialog and panel of the program.
//
// A fixed table of DLGSUP slots holds the open dialogs. Each dialog belongs to a
// module that hands over three procedures when it opens it (init, exit, message);
// the manager routes the dialog's messages to them with the dialog made *current*,
// so that the control functions below address that dialog's controls by id alone.
// Outside any dialog message there is no current dialog and the control functions
// address the main window (App.mainWindow).
//
// A dialog is identified by its message procedure: opening again with the same
// procedure brings the open dialog forward instead of making a second copy.
#pragma once

#include <windows.h>

#include "support/app_win32.h"  // runState: dialogs open only while the loop runs

constexpr int DLGSUP = 100;       // dialogs that can be open at the same time
constexpr int DLG_NAME_MAX = 20;  // characters of a template name kept in a slot

// Called once while the dialog is initialised, with the dialog current. The
// manager passes a count 0 and a null list.
using DlgInitProc = void (*)(int count, char** list);
// Called once when the dialog is destroyed, with the dialog current.
using DlgExitProc = void (*)();
// Receives the dialog's messages (never WM_INITDIALOG, WM_CLOSE or WM_DESTROY);
// its result is the dialog procedure's result. The program's modules act on
// WM_COMMAND and return 0.
using DlgMsgProc = INT_PTR (*)(UINT message, WPARAM wParam, LPARAM lParam);


// ---------------------------------------------------------------- lifecycle

void dlg_init();                // allocates the table (an assertion when that fails)
void dlg_exit();                // releases it, after the message loop has ended
int dlg_is_message(MSG* msg);   // 1 when an open dialog consumed msg (IsDialogMessage)
void dlg_close_all();           // destroys every open dialog, slot 99 down to 0

// ---------------------------------------------------------------- opening and closing

// Opens the dialog of template name, or brings forward the open dialog with the
// same message procedure (a beep when it is disabled). Returns the dialog's
// window, or 0 when none could be opened (the loop is not running, the table is
// full, the template is missing).
HWND dlg_open(const char* name, DlgInitProc init, DlgExitProc exit, DlgMsgProc proc);
// Posts WM_CLOSE to the current dialog; negative (and nothing done) when no
// dialog message is being handled.
int dlg_close();
// on = 0 disables the main window and every open dialog; else enables them all.
void dlg_enable_all(int on);

// ---------------------------------------------------------------- queries

int dlg_current();                      // slot of the current dialog, -1 for none
HWND dlg_hwnd();                        // the current dialog, else the main window
void dlg_active_name(char* buf);        // template name of the active box, "" for none;
                                        // buf holds DLG_NAME_MAX + 1 bytes
void dlg_set_title(const char* text);   // caption of the current dialog

// ---------------------------------------------------------------- controls of dlg_hwnd()
// Texts read into a caller's buffer: at most max characters, buf holds max + 1 bytes.

HWND dlg_item(int id);
void dlg_enable_item(int id, int on);   // when the control exists
void dlg_update_item(int id);           // repaints the control at once
void dlg_focus_item(int id);
int dlg_focus_id();                     // id of the control with the focus, 0 for none
void dlg_set_check(int id, int state);
int dlg_get_check(int id);

// ---------------------------------------------------------------- control values of dlg_hwnd()

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

void combo_reset(int id);                               // App.font, then empty
int combo_add(int id, const char* text);                // index of the new item
int combo_insert(int id, const char* text, int index);  // index of the new item
int combo_delete(int id, int index);                    // items left, or -1
int combo_get_item(int id, int index, char* buf, int max);  // 0 and "" when no such item
int combo_get_sel_text(int id, char* buf, int max);     // 0 and "" when nothing is selected
void combo_get_text(int id, char* buf, int max);        // the edit field, as the user sees it
void combo_set_text(int id, const char* text);          // select the exact item (or none), set text
bool combo_dropdown(int id, WPARAM wParam);             // CBN_DROPDOWN of id
bool combo_changed(int id, WPARAM wParam);              // CBN_SELCHANGE, CBN_DBLCLK, CBN_EDITUPDATE

void list_reset(int id);                                // App.font, then empty
int list_add(int id, const char* text);                 // index of the new item
int list_get_text(int id, int index, char* buf, int max);  // length, or -1 and "" when no such item
void list_set_top(int id, int index);
int list_get_sel(int id);                               // -1 for none
void list_set_sel(int id, int index);
int list_count(int id);
// 0 not from list id, 1 it got the focus, 2 selection changed, 3 double click.
int list_event(int id, WPARAM wParam);

// EN_CHANGE of id while that control has the focus: typed, not set by the program.
bool edit_changed(int id, WPARAM wParam);
