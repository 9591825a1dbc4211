// The identity of the one document: its file, whether it changed, its line ends.
// Every module that changes text sets `modified`.
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

extern char lastDir[kPathChars + 1];    // directory of the last file loaded or saved, with separator
extern char titleName[kPathChars + 1];  // the name the title shows now ("$": none yet)
extern int titleModified;               // the modified state the title shows (-1: none yet)
// The file was not loaded whole (too long for the store, text the line rules
// dropped, a failed read): the document must not be saved over that file (it
// would cut it on disk).
extern int partlyLoaded;
// The back list of "Zurueck": entry 0 the most recent.
extern char backList[kBackEntries][kPathChars + 1];
