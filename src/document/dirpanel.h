// The directory panel's logic: one directory read into entries (the parent,
// the sub-directories, the files), sorted, filtered by a typed text and shown
// as list lines; choosing a line reads another directory or names the file
// to open. The panel's window (DB1006) only moves texts between its controls
// and these functions (document/filehist_win32.h).
//
// Every path stays within FILE_PATH_MAX characters: an entry whose path would
// not fit is left out, never cut into the path of something else.
#pragma once

#include <cstdint>

#include "support/files.h"

constexpr int DIR_ENTRIES_MAX = 1000;  // entries read from one directory (the parent besides)
constexpr int DIR_NAME_MAX = 80;       // characters of a listed name (a directory's with its separator)
constexpr int DIR_FILTER_MAX = 20;     // characters of the filter text
constexpr int DIR_LINE_MAX = 80;       // characters of a list line
constexpr int DIR_TIME_COLUMN = 32;    // where a file's time starts in its line

constexpr std::int32_t DIR_KIND_FILE = 0;
constexpr std::int32_t DIR_KIND_DIRECTORY = 1;
constexpr std::int32_t DIR_KIND_PARENT = 2;

// One line of the panel.
struct DirEntry {
    std::int32_t kind;              // DIR_KIND_*
    char name[FILE_PATH_MAX + 1];   // the name ("sub\" for a directory); the parent's path
    std::uint32_t size;             // bytes (files)
    TimeRecord time;
    std::int32_t listIndex;         // its list line, -1 when filtered out
};

// Which files the panel hides is decided above it (the extension patterns of
// the settings): reload() when the panel opens, allowed(ext) 0 for an
// upper-cased extension whose files are hidden. Without it nothing is hidden.
struct DirHiddenFiles {
    void (*reload)();
    int (*allowed)(const char* ext);
};
void dirHiddenFilesSet(const DirHiddenFiles* hidden);
// The panel opens: the patterns are read afresh.
void dirHiddenFilesReload();
// True when the patterns hide the files of extension ext (case ignored).
bool dirExtensionHidden(const char* ext);

// Reads directory dir (trailing separator and surrounding blanks ignored): the
// parent first, then every entry whose extension (after the first '.') the
// hidden-extension patterns allow, at most DIR_ENTRIES_MAX, sorted; every
// listIndex -1 until dirFill. The number of entries read from the system; -1
// when the directory cannot be listed (the parent alone remains) or dir is
// longer than a path (nothing changes).
int dirRead(const char* dir);
// The full path of the directory text names into full (FILE_PATH_MAX + 1
// bytes): a relative text is taken from the current directory, "." and ".."
// steps are resolved. False (full empty) for an empty text or one whose path
// does not fit.
bool dirResolve(const char* text, char* full);
// Typing in the directory field: reads the directory text names, resolved
// once; the current directory stays. dirRead's result; -1 when nothing fits.
int dirShow(const char* text);
// Choosing a directory by name: the directory text names (resolved once)
// becomes the current directory and is read. False, with nothing changed, when
// it cannot be entered.
bool dirEnter(const char* text);
// The listed directory, without trailing separator.
const char* dirPanelDir();
// The entries of the last dirRead (the parent is entry 0); dirEntry gives
// nullptr outside 0..count-1.
int dirEntryCount();
const DirEntry* dirEntry(int i);
// Forgets the entries (the panel closed).
void dirRelease();

// The order of the list: parent, directories, files; then by the extension
// from the first '.' without regard to case; then by the upper-cased names
// with runs of digits compared as numbers. Negative, 0 or positive.
int dirEntryCompare(const DirEntry& a, const DirEntry& b);
// The list line of an entry into line (DIR_LINE_MAX + 1 bytes): "..", the
// directory's name, or for a file its size in kilobytes (rounded) right-aligned
// in 30 columns with the name written over the blanks before it, two blanks,
// and from column 32 "dd.mm.yyyy hh:mm".
void dirListLine(const DirEntry& entry, char* line);

// The filter text (kept while the program runs): set from the filter field
// (trimmed, at most DIR_FILTER_MAX characters) or by typed keys.
void dirFilterSet(const char* text);
const char* dirFilterText();
// A key typed in the list: Backspace (8) removes the last character, a
// printable character is appended in lower case (up to DIR_FILTER_MAX). True
// when the key is the filter's (the list is then to be refilled).
bool dirFilterKey(int ch);
// True when name passes the filter: a wildcard pattern ('*', '?', '#') when the
// filter holds one of them, else a text contained in the name; case ignored;
// an empty filter passes everything.
bool dirFilterPasses(const char* name);

// Gives every entry that passes the filter (directories and the parent always
// do) its list line in order, calling addLine with the line's text, and the
// others listIndex -1. currentFile is the document's path: the first file with
// its name (case ignored) gives dirSelectIndex(); the first file listed gives
// dirFirstFileIndex(); -1 each when none.
void dirFill(const char* currentFile, void (*addLine)(const char* line, void* user), void* user);
int dirSelectIndex();
int dirFirstFileIndex();

// What choosing a list line did.
enum class DirChoice {
    None,       // no such line, or the path would be too long
    Read,       // the parent or a directory became the current directory and was read
    OpenFile,   // path holds the file to open ('\' separators)
};
// Chooses list line `line`; path holds FILE_PATH_MAX + 1 bytes.
DirChoice dirChoose(int line, char* path);
