// The identity of the one document: its file, whether it changed, its line ends.
// Every module that changes text sets `modified`.
#pragma once

#include "support/files.h"

constexpr int kPathChars = 200;  // paths are at most 200 characters

extern char fileName[kPathChars + 1];  // full path; empty for a new document
extern int hasName;                    // loaded from or saved to fileName
extern int modified;                   // the document differs from its file
extern long fileSize;                  // size of fileName when last loaded or saved
extern TimeRecord fileTime;            // its time then
extern int crlfMode;                   // lines end in CR LF (1) or LF alone (0)
