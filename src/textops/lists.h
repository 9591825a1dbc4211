// The overview, structure and search lists: three panels that show the shape
// of the document and let the user jump into it.
//
//   kind 0 "\334bersicht": the headings (function headers and section lines,
//          chosen by rules that depend on the file's extension);
//   kind 1 "Struktur": the lines at the cursor's indentation level within the
//          block around the cursor, a gap entry for each run of deeper lines;
//   kind 2 the search list: the lines that hold listText, grouped under their
//          function headers, gap entries where lines were passed over.
//
// This module builds the entries and keeps the lists' state; the Win32 side
// (lists_win32.cpp) only copies entries into the list box and hands keys,
// texts and the chosen entry back here.
//
// The builders only read the document: they walk the above stack, the window
// rows and the below stack in place, so every line, every mark and the view
// (topLine, cursorRow, firstCol, cursorCol) stay exactly as they were, and a
// full store cannot make a list fail.
//
// A list entry is a line's text cut or blank-padded to exactly 70 characters,
// then a blank and the line's document index (from 0). A gap entry stands for
// lines passed over: two blanks, the three characters "\267\267\267" padded to 68, a
// blank and an index. The index is read back from position 70 on; entries
// shorter than 70 characters carry no line.
#pragma once

#include <cstdint>

#include "resources/resource.h"

constexpr int kListTextMax = 80;    // characters of listText
constexpr int kListEntryWidth = 70; // characters of an entry before its index
constexpr int kListEntrySize = 96;  // bytes of an entry buffer: 70, " ", any index, NUL
constexpr int kListScrollFrom = 24; // a selection further down scrolls the list ...
constexpr int kListScrollAbove = 10; // ... so that this many entries stand above it

// The commands of the panels.
// DLG_ACTION chooses the selected entry (so do OK and a double click).
constexpr int kListCommandRebuild = 2502;  // build the list again
// The key dispatcher asks for a list by posting command 1200 with this
// lParam; the list's kind and text were set by listRequest already.
constexpr int kListPostedByKey = 1;

enum ListKindValue { kListOverview = 0, kListStructure = 1, kListSearch = 2 };

// The lists' state.
extern int listKind;                  // 0 overview, 1 structure, 2 search list
extern char listText[kListTextMax + 1];  // the search text; kept between openings
extern int listExact;                 // 1: compare exactly; 0: ignore case, wildcards
extern int listFirstKey;              // 1 until the first key after opening
extern std::int32_t listTarget;       // the chosen line, -1 while none was chosen
extern int listColumn;                // leading blanks of the chosen entry

// listKind = kind (anything but 1 or 2 counts as 0); text (cut to 80
// characters) becomes listText when it is not empty.
void listRequest(int kind, const char* text);

// Ctrl+\334 and Ctrl+T (bound by the shell's key map): a marked text asks for
// the search list of that text; without one the search list (keeping its
// previous text) or the structure opens. The in-line mark is cleared; the
// panel opens through command 1200 posted with kListPostedByKey.
void listKeySearch();
void listKeyStructure();

// The opening of a panel: nothing chosen, listExact 1, listFirstKey 1.
void listInit();

// What a builder produced besides its entries.
struct ListFill {
    int count;      // entries handed to the sink (at least 1)
    int selection;  // the entry to highlight, -1 for none
    int top;        // the entry to scroll to the top, -1 to leave the list unscrolled
};
// Receives each entry in turn (NUL-terminated, at most kListEntrySize - 1 characters).
using ListSink = void (*)(const char* entry, void* user);

// The list of listKind (kind 2 with fewer than 3 characters of listText: the
// overview), each entry handed to sink; an empty list gets one empty entry.
ListFill listBuildEntries(ListSink sink, void* user);

// Typing in the search list. ch is the character the key gives (0 for none;
// 8 is Backspace). A printable character (32 or above) is appended in lower
// case while listText has room, and listExact becomes 0; Backspace clears
// listText on the first key after opening, later removes its last character.
// True when the key was taken (listFirstKey is then 0 and the caller shows
// listText and rebuilds the list); false for every other key.
bool listKeyTyped(int ch);

// The field under the search list was edited: listExact 1, its text (at most
// 80 characters, trimmed) becomes listText.
void listFieldEdited(const char* text);

// Choosing entry: only an entry of at least 70 characters with a number from
// position 70 on is taken: listTarget becomes that number, listColumn the
// blanks at its start (within its first 70 characters); true, and the panel
// closes. False for any other entry (the panel stays open).
bool listChoose(const char* entry);

// The panel closed: when a line was chosen, the cursor goes to its column
// (overview: column 0; otherwise listColumn, the view scrolling when the
// window is narrower) and the line is shown by gotoLine; the status is
// refreshed. listTarget is -1 afterwards.
void listClosed();

// --- The parts, for the builders and their tests --------------------------------

// A function header: not empty, the first character none of blank, '/', '*',
// '#', '{', '}', a '(' somewhere, and no ';' unless the first ';' stands in
// the first column.
bool listIsFunctionHeader(const char* line);
// The file classes of a file name (case-insensitive, found after its first
// character), as bits: a name may belong to several.
constexpr int kListClassText = 1;      // ".tbf", ".tbi", ".txt"
constexpr int kListClassMenu = 2;      // ".geo", ".gi", ".gm4"
constexpr int kListClassResource = 4;  // ".rc"
int listFileClass(const char* name);
// A heading of the overview by the rules of the classes (without the rule
// for the line after "/* /", which needs the line before).
bool listIsHeading(const char* line, int classes);
// The entry of a line: text cut or padded to 70, " " and the index.
void listEntry(char* out, const char* text, std::int32_t index);
// The same with the text cut to 80 and trimmed at both ends first.
void listEntryTrimmed(char* out, const char* text, std::int32_t index);
// A gap entry for index.
void listGapEntry(char* out, std::int32_t index);
