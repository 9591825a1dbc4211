// The device tables: what the core asks of the system through tables of
// functions the edge installs (the Win32 layer at start-up, tests their own
// recording ones). With platform.h this is the core's whole door to the
// platform: each table is declared here with the function that installs it;
// the module named beside it owns the table and calls through it.
#pragma once

#include "support/files.h"  // TimeRecord

// ---------------------------------------------------------------- file hooks (support/files)

// The services only the platform gives faithfully. Each hook receives a path
// already checked for length (and, natively, with '\' turned into '/').
// A null member means the portable default: the read-only bit mapped to the
// file's write permission (other bits: none read, setting them succeeds
// without effect), file times through the C runtime, the file identity from
// device and inode (the Windows C runtime has none: its default compares the
// full names), a replacing rename (the Windows C runtime has no call that
// replaces: its default sets the old file aside, renames, and removes it), and
// hard links (none in the Windows C runtime).
struct FileHooks {
    int (*getAttributes)(const char* path);                 // bits, -1: no file
    int (*setAttributes)(const char* path, int attributes);  // 0 or -1
    int (*getTime)(const char* path, TimeRecord* t);  // as file_time
    int (*setTime)(const char* path, const TimeRecord* t);  // 0 or -1; t valid
    int (*sameFile)(const char* a, const char* b);   // as file_same
    int (*replace)(const char* from, const char* to);  // as file_replace
    int (*link)(const char* existing, const char* name);  // as file_link
};

// Installs hooks (copied; null members take the defaults); nullptr restores
// every default.
void files_set_hooks(const FileHooks* hooks);
// The Win32 layer's hooks (file attributes and times through the system's
// own calls). Only in the Windows builds.
void files_win32_install();

// ---------------------------------------------------------------- the history menu (document/filehist)

// The menu "&Datei" as the recent-files list sees it. append: kind 0 a
// separator, kind 1 the item id with text; the item's position, or -1.
// remove: deletes the item at position pos; 0 or -1.
struct HistoryMenu {
    int (*append)(int kind, int id, const char* text);
    int (*remove)(int pos);
};
// Installs the menu (copied); nullptr: no menu (the default). Either way the
// separator counts as not yet appended.
void historySetMenu(const HistoryMenu* menu);

// ---------------------------------------------------------------- the caret device (view/textview)

struct CursorCellPlan;  // the view's plan of the block cursor's cell (view/textview.h)

// What the caret's rules ask of the system; the Win32 half supplies the real
// one, tests a recording one. Without a device the caret operations change
// only the view's caret state.
struct CaretDevice {
    bool (*begin)();  // a painting context for caretUpdate (font, transparent); false: none
    void (*end)();
    void (*create)(int width, int height);  // the system caret, hidden
    void (*destroy)();
    void (*move)(int x, int y);
    void (*show)();
    void (*hide)();
    void (*paintCell)(const CursorCellPlan& plan);  // on the current painting context
};
void caretDeviceSet(const CaretDevice* device);

// ---------------------------------------------------------------- the printer (printing/printing)

// The printed page's measures, read from the printer when a job starts:
// printable area in device pixels and in millimetres, and its distance from
// the paper's edge in device pixels.
struct PrintMeasures {
    int horzRes, vertRes;
    int horzSize, vertSize;
    int offsetX, offsetY;
};

// What printing asks of the system; the Win32 half supplies the real printer,
// tests a recording one. Without a device there is no printer.
struct PrintDevice {
    // The default printer, then the print dialog: 1 when a printer is chosen
    // and its device context made, 0 when there is none or the user cancelled,
    // -1 when the chosen printer's device context cannot be made. copies: the
    // dialog's count; collated: whether the user asked for collated copies.
    int (*choose)(int* copies, bool* collated);
    // The job starts: measures read, main window disabled, progress box shown.
    void (*begin)(PrintMeasures* measures);
    bool (*cancelled)();  // the progress box's button was pressed
    bool (*startDoc)();
    bool (*startPage)();
    bool (*endPage)();
    void (*endDoc)();
    // A new font replaces the current one; false when it cannot be made (the
    // stock fixed-pitch font is selected instead).
    bool (*makeFont)(int height, const char* face, int bold, int style);
    // text at device (x, y), on its baseline; align 0 left, 1 right, 2 centre.
    void (*textOut)(int x, int y, int align, const char* text);
    // The job ends: font deleted, main window enabled and focused, box gone.
    void (*end)();
    void (*release)();  // device context and printer settings dropped
};
// Installs the device (copied); nullptr: no printer (the default).
void printDeviceSet(const PrintDevice* device);
