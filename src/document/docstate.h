// The identity of the one document: its file, whether it changed, its line ends;
// and the notices it sends to the floor above it. Every module that changes text
// sets `modified`.
#pragma once

#include "support/files.h"

constexpr int kPathChars = 200;  // paths are at most 200 characters
constexpr int kBackEntries = 5;  // entries of the back list

extern char fileName[kPathChars + 1];  // full path; empty for a new document
extern int hasName;                    // loaded from or saved to fileName
extern int modified;                   // the document differs from its file
extern long fileSize;                  // size of fileName when last loaded or saved
extern TimeRecord fileTime;            // its time then
extern int crlfMode;                   // lines end in CR LF (1) or LF alone (0)
extern int keepFileTime;               // "Dateizeit erhalten": saving keeps the file's time

extern char lastDir[kPathChars + 1];    // directory of the last file loaded or saved, with separator
extern char titleName[kPathChars + 1];  // the name the title shows now ("$": none yet)
extern int titleModified;               // the modified state the title shows (-1: none yet)
// The file was not loaded whole (too long for the store, text the line rules
// dropped, a failed read): the document must not be saved over that file (it
// would cut it on disk).
extern int partlyLoaded;
// The back list of "Zurueck": entry 0 the most recent.
extern char backList[kBackEntries][kPathChars + 1];

// --- Notices to the floor above ------------------------------------------------------
// The document names nothing above it: it tells what happened to its lines, and
// the listeners that the edit session installs answer (mark, snapshot, cursor,
// repaint, the full refresh).

enum class DocEvent {
    Replacing,      // the lines are dropped for a new document or a whole load
    Inserting,      // lines are about to be inserted at the cursor row
    InsertRefused,  // the store cannot take the window rows for an insert
    ColumnWanted,   // a loaded document's cursor goes to document column `column`
    Replaced,       // the window shows new lines (new, loaded or inserted)
    ShowWanted,     // the document's identity changed outside a key: show it now
};

struct DocNotice {
    DocEvent event;
    int column;  // ColumnWanted only
};

using DocListener = void (*)(const DocNotice& notice);
constexpr int kDocListenersMax = 4;

// Adds a listener (once: adding it again changes nothing). False when the
// table is full.
bool docListen(DocListener listener);
// Removes every listener (a test of the document alone).
void docListenersClear();
// Tells every listener, in the order they were added.
void docNotify(DocEvent event, int column = 0);
