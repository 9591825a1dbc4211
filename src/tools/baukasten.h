// The Baukasten: a catalogue of building blocks ("Bauklotz"), phrase lists
// ("Floskel:") and rule files of the reformulation ("Umform:"). The catalogue
// is the file the settings name ("Installation", "BauKasten"); each of its
// non-empty lines names a file relative to the catalogue's directory, then
// the kind, then a description.
//
// A building block's head asks for up to ten values: the lines before the
// first line that begins with "%" and a digit are skipped; each such line
// "%n prompt" gives the prompt of value n (a later line of the same number
// wins); lines with "%" and no digit are passed over; the first line that
// does not begin with "%" ends the head and is never inserted. The body
// follows; every %n in it becomes value n, for n from 0 to 9 in turn, so a
// value holding %m (m > n) is replaced again. A file without a "%"-digit
// line is all body.
//
// Inserting is one edit: every line is measured first, and a store that
// cannot take them all refuses the insertion as a whole (one box, nothing
// changed). A line grows at most to kBlockWorkChars while values go in, so
// values that hold placeholders can never loop or overrun; it is then cut to
// 250 characters.
//
// The dialogs are in tools/baukasten_win32.h.
#pragma once

#include <array>

#include "support/files.h"

constexpr int BLOCK_VALUES = 10;         // %0 to %9
constexpr int BLOCK_VALUE_MAX = 80;      // characters of a value and of a prompt
constexpr int BLOCK_BODY_LINE_MAX = 200; // characters of a body line read
constexpr int BLOCK_LIST_LINE_MAX = 78;  // characters of a catalogue or phrase list line
constexpr int kBlockWorkChars = 2048;    // a line's growth while values go in

// The building block being filled (also the fill-in box's title) and the phrase
// list chosen last (empty at start).
extern char blockPath[FILE_PATH_MAX + 1];
extern char phraseListPath[FILE_PATH_MAX + 1];

// The title and the start of the file box of command 1011.
constexpr const char* blockFileBoxTitle = "Baukastendatei einf\374gen";

using EntrySink = void (*)(const char* text, void* user);

// A tool's file (a catalogue entry, the facet file) opened in place of the
// document, after the usual question about a changed one.
void toolFileEdit(const char* path);

// --- The catalogue ---------------------------------------------------------------

// The catalogue's path from the settings, trimmed, a relative one in the program's
// folder ("" when missing).
void cataloguePath(char* path);
// Each non-empty line of the catalogue, trimmed, to add; a catalogue that does
// not open gives its path as the only entry.
void catalogueEntries(EntrySink add, void* user);

enum class EntryKind { Block, Phrases, Rules };
// An entry's file (the catalogue's directory and the entry's first word) into
// path (FILE_PATH_MAX + 1 bytes) and its kind from the second word, compared
// without regard to case. False for an entry without a file name or a path too
// long.
bool catalogueEntry(const char* entry, char* path, EntryKind* kind);

// --- A building block --------------------------------------------------------------

using BlockTexts = std::array<std::array<char, BLOCK_VALUE_MAX + 1>, BLOCK_VALUES>;

struct BlockHead {
    bool opened = false;        // the file could be read
    bool placeholders = false;  // it has a head
    BlockTexts prompts{};
};
BlockHead blockHeadRead(const char* path);

// line with every %n replaced by values[n] (trimmed, at most 80 characters),
// n from 0 to 9, each time going on behind the value put in; into out (251
// bytes), cut to 250 characters and without trailing white space. Its length.
int blockSubstitute(const char* line, const BlockTexts& values, char* out);

// The block's lines (the head skipped, or the whole file) with the values put
// in, before the cursor line in file order; the cursor stays on its line and
// in its row. 0, or -1 when the file does not open (nothing happens) or the
// store cannot take the lines (the user is told, nothing changed).
int bauklotzInsert(const char* path, bool skipHead, const BlockTexts& values);

// Command 1011: a building-block file chosen in a file box into path; false
// when the box was cancelled.
bool bauklotzChoose(char* path);

// --- A phrase list -------------------------------------------------------------------

// Each line of phraseListPath (empty ones too) to add; the first three become
// the phrases of Ctrl+Shift+X, Y and Z for this run. A list that does not open
// gives its path as the only entry and leaves the keys.
void phraseListEntries(EntrySink add, void* user);
