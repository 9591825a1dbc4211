// Cursor, status bar and options: the full refresh after every key and every
// command (refreshAll, declared in view/refresh.h), the two status bar fields
// of the editor view, the snapshot of the current line that Ctrl+Q puts back,
// and the portable halves of the dialogs "Optionen" and "Position".
//
// The dialog procedures themselves (view/cursor_win32.h) only move values
// between their controls and the functions below. An open dialog is told to
// show fresh values by posting it command 2510 (plat_post_dialog_command).
#pragma once

#include <cstdint>

#include "resources/resource.h"

// --- Status bar fields --------------------------------------------------------------

constexpr int POSITION_FIELD = 1;  // " line  column", both from 1
constexpr int FLAGS_FIELD = 2;     // the texts of the options that are on

// Forgets what the two fields show, so that the next refreshAll writes both
// (when the status bar was made anew).
void statusFieldsReset();

// --- The line snapshot (Ctrl+Q) ------------------------------------------------------

// No snapshot: the next check takes one (a document was loaded, or lines were
// inserted or removed: linesChanging). Until then Ctrl+Q does nothing.
void snapshotReset();
// Takes the snapshot when the cursor is on another line than the one it holds.
void snapshotCheck();
// Takes the snapshot of the cursor row as it stands.
void snapshotTake();
// Puts the snapshot's text back into the cursor row and repaints the row; the
// row's marks and `modified` stay as they are. Nothing when the snapshot
// belongs to another line. 0, or -1 when the store cannot take the longer line
// back (refused, nothing changed).
int snapshotRestore();

// --- Controls of the two dialogs ----------------------------------------------------
// DLG_ACTION is "&Setzen"; DLG_REFRESH shows fresh values (resources/resource.h).

// "Optionen" (DB1301): the seven check boxes, the shown and entered steps.
constexpr int OPT_INSERT = 3000, OPT_COLUMN_KEEP = 3010, OPT_AUTO_INDENT = 3020,
              OPT_LINE_INSERT = 3030, OPT_PASTE_WRAP = 3060, OPT_KEEP_FILE_TIME = 3070,
              OPT_QUOTE = 3080;
constexpr int OPT_TAB_SHOWN = 3040, OPT_INDENT_SHOWN = 3050;
constexpr int OPT_TAB_ENTERED = 3140, OPT_INDENT_ENTERED = 3150;
constexpr int OPTIONS_BOXES = 7;
// The check box ids in the order the dialog shows them.
constexpr int optionsBoxIds[OPTIONS_BOXES] = {OPT_INSERT,      OPT_COLUMN_KEEP, OPT_AUTO_INDENT,
                                              OPT_QUOTE,       OPT_LINE_INSERT, OPT_PASTE_WRAP,
                                              OPT_KEEP_FILE_TIME};

// "Position" (DB1300): the shown and entered line and column.
constexpr int POS_COLUMN_SHOWN = 3000, POS_LINE_SHOWN = 3010;
constexpr int POS_COLUMN_ENTERED = 3100, POS_LINE_ENTERED = 3110;

// --- "Optionen" ------------------------------------------------------------------------

// The tab step limited to 2..16 and the indentation step to 2..8.
int tabStepLimited(int n);
int indentStepLimited(int n);

// The dialog was opened (dialog: its handle for posted commands): its caches
// are emptied and it is told to show its values.
void optionsDialogOpened(std::intptr_t dialog);
// The dialog was closed.
void optionsDialogClosed();
bool optionsDialogIsOpen();

// What command 2510 shows: the state of each check box (in optionsBoxIds
// order), and each step when it differs from the one shown last.
struct OptionsView {
    int checks[OPTIONS_BOXES];
    bool tabChanged;
    int tab;
    bool indentChanged;
    int indent;
};
// The values to show; they count as shown from now on.
OptionsView optionsDialogView();
// A click on check box id: its option takes the box's state at once, then the
// full refresh. False when id is no check box of the dialog.
bool optionsBoxClicked(int id, int checked);
// "&Setzen": the tab and indentation steps from the entered texts (a text
// that is no number counts 0), limited; then the full refresh.
void optionsStepsSet(const char* tabText, const char* indentText);

// --- "Position" ------------------------------------------------------------------------

// The cursor's line and column, both counted from 1.
struct CursorPosition {
    int line;
    int column;
};
CursorPosition cursorPosition();

// The dialog was opened: caches emptied, told to show its values.
void positionDialogOpened(std::intptr_t dialog);
void positionDialogClosed();
bool positionDialogIsOpen();
// What command 2510 shows; it counts as shown from now on.
CursorPosition positionDialogView();
// "&Setzen": the cursor to the entered column (nothing beyond column 250),
// then, when the entered line is another one, to that line; the full refresh.
void positionSet(const char* lineText, const char* columnText);
