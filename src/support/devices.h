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
// full names), and a replacing rename (the Windows C runtime has no call that
// replaces: its default sets the old file aside, renames, and removes it).
struct FileHooks {
    int (*getAttributes)(const char* path);                 // bits, -1: no file
    int (*setAttributes)(const char* path, int attributes);  // 0 or -1
    int (*getTime)(const char* path, TimeRecord* t);  // as file_time
    int (*setTime)(const char* path, const TimeRecord* t);  // 0 or -1; t valid
    int (*sameFile)(const char* a, const char* b);   // as file_same
    int (*replace)(const char* from, const char* to);  // as file_replace
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
