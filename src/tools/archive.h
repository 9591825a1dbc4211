// The archive copy: every file of a source tree whose archive attribute is
// set is copied into an archive tree under a name with a date stamp
// ("main.c" of 5 December 2010 becomes "main-B0C5.c"), so that copies of
// different days stand side by side; the attribute is cleared once the copy
// is complete. A test run lists what would be copied and touches nothing.
//
// The project file "archiv.txt" (found like "facette.txt") names the target
// ("archiv" lines) and file patterns never copied ("ignore" lines); the
// extension patterns of the settings ("Zusaetze") are never copied either.
// The panel DB1216 is in tools/archive_win32.h.
#pragma once

#include "support/files.h"

constexpr int ARCHIVE_FIELD_MAX = 80;      // characters of the source and target fields
constexpr int ARCHIVE_IGNORE_MAX = 100;    // "ignore" patterns kept
constexpr int ARCHIVE_PATTERN_MAX = 20;    // characters of one pattern
constexpr int ARCHIVE_LINES_MAX = 100;     // lines of archiv.txt read
constexpr int ARCHIVE_LIST_ROWS = 30;      // entries the list shows before it scrolls
constexpr int ARCHIVE_ENTRY_MAX = 2 * FILE_PATH_MAX + 40;
constexpr const char* archiveFileName = "archiv.txt";
constexpr const char* archiveDefaultRoot = "D:\\Archiv";

extern char archiveSource[FILE_PATH_MAX + 1];
extern char archiveTarget[FILE_PATH_MAX + 1];
extern int archiveCount;

// The stamp "-" and four base-36 digits: (year - 1900) / 10, (year - 1900)
// mod 10, month, day of t (a UTC time) into out (6 bytes).
void archiveStamp(const TimeRecord& t, char* out);
// The stamp put into path's file name: before its last "." when that is not
// the name's first character, else at its end. False (path unchanged) when
// the result would be longer than a path.
bool archiveStampName(char* path, const char* stamp);

// What a run tells the panel: an entry listed (top: the entry to scroll to the
// top, -1 to leave the list; false when the panel is gone: the run stops after
// this file), and the status text.
struct ArchiveView {
    bool (*entry)(const char* text, int top, void* user);
    void (*status)(const char* text, void* user);
    void* user;
};

// The fields' first values: from archiv.txt when found upwards from the
// current directory (source: its directory), else the current directory
// into the archive root of the settings ("Installation", "Archiv"; "D:\Archiv"
// when empty) followed by the source without its drive.
void archiveInit();
// A run over the source (a directory with its separator, optionally followed
// by a file pattern) into the target: each directory's files before its
// subdirectories, depth first, names beginning with "." skipped. Returns the
// number of entries listed.
int archiveRun(const char* source, const char* target, bool testRun, const ArchiveView& view);
