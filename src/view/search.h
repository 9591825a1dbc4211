// Search and replace: forward only and line by line.
//
// F12 (and Ctrl+W) finds the next occurrence of the search text after the
// cursor and puts the cursor on its first character, the found line standing
// in the cursor's window row; F11 replaces the text at the cursor when it is an
// occurrence. The dialogs "Suchen" (DB1100) and "Im Block tauschen" (DB1101)
// set the texts and the three flags and keep ten-entry histories in their two
// combo boxes; "Im Block tauschen" hands over to the block replacement its
// opener gives it (block_replace), which replaces in every block-marked line
// with replaceAllInLine.
//
// The flags, texts and histories live while the program runs; they are not
// written to the ini file.
//
// Lines never pass 250 characters: a replacement that would make a line
// longer is not made (F11 says so, a block replacement counts such lines and
// leaves them as they were). And the store never grows: F11 asks for room
// before its row grows, and is refused as a whole (one box) when there is none.
//
// The dialog procedures themselves (view/search_win32.h) only move values
// between their controls and the functions below.
#pragma once

#include "resources/resource.h"

constexpr int SEARCH_TEXT_MAX = 50;  // characters of a search or replacement text
constexpr int SEARCH_HISTORY = 10;   // entries of each history

// A history: the first ten items of a combo box, "" where there are fewer.
struct SearchHistory {
    char items[SEARCH_HISTORY][SEARCH_TEXT_MAX + 1];
};

// --- The state --------------------------------------------------------------------

extern char searchText[SEARCH_TEXT_MAX + 1];   // what is searched
extern char replaceText[SEARCH_TEXT_MAX + 1];  // what replaces it ("" while replacing is off)
extern int wholeWord;                          // "W&ort": only whole words match
extern int caseSensitive;                      // "&Gross/Klein": letter case must match
extern int replaceEnabled;                     // "Ta&uschen": replacing is allowed
extern SearchHistory searchHistory;            // the search combo box's items
extern SearchHistory replaceHistory;           // the replacement combo box's items

// Everything back to the start: empty texts and histories, all flags off.
void searchReset();

// The text of the box that refuses a replacement at the cursor which would
// make the line longer than 250 characters.
constexpr const char* replaceTooLongText =
    "Die Zeile w\344re l\344nger als 250 Zeichen: es wurde nicht getauscht.";

// --- Searching and replacing --------------------------------------------------------

// The position of the first match of searchText in line at or after start, or
// -1. The line is taken in trimmed form (trailing white space never matches).
// Letter case is folded with upper_char unless caseSensitive; with wholeWord
// a match must stand between delimiters or the line's ends.
int findInLine(const char* line, int start);
// The next match after the cursor in the whole document: the found line in
// the cursor's window row, the cursor on the match's first character (the
// view scrolled sideways when needed). Without a match every line goes above
// the window and the cursor stands in column 0 of the blank row after the
// document's end; no message, no wrap-around. 0; -1 when the window rows
// could not be flushed into a full store (the user told, nothing changed).
int searchNext();
// With replaceEnabled and a search text: when the characters at the cursor
// are an occurrence (the case rule applies, the whole-word rule does not),
// they become replaceText, the cursor moves after the replacement and
// `modified` is set. 1 when replaced, 0 when there was nothing to replace,
// -1 when refused (the line would pass 250 characters, or the store cannot
// take the growth: one box, nothing changed).
int replaceAtCursor();
// With replaceEnabled and a search text: every match in text (a trimmed or
// window-form line of at most 250 characters, with its NUL; 251 bytes) is
// replaced from left to right; the replacement text is never searched again.
// The result is trimmed. The number of replacements made; -1 when the line
// would grow past 250 characters (then text is unchanged).
int replaceAllInLine(char* text);
// searchText and history entry 0 become text, cut to 50 characters.
void searchTextSet(const char* text);
// Ctrl+F and the command "Suchen": the text of a one-line in-line mark on the
// cursor's line, when there is one and it is not empty, becomes the search
// text (the mark is cleared). 1 when it did.
int searchTextFromMark();

// --- The dialogs' portable half ----------------------------------------------------

// Control ids of both dialogs.
// DLG_ACTION "&F11/F12": read, close, search next; DLG_CANCEL "Abbrechen": read, close.
constexpr int SEARCH_BLOCK_START = 2501;  // "&Start": read, close, replace in the block
constexpr int SEARCH_GO_ON = 2502;        // "&Weiter": read, search next, stay
constexpr int SEARCH_REPLACE = 2503;      // "&Tauschen": read, replace at the cursor, stay
constexpr int SEARCH_TEXT_COMBO = 3000;
constexpr int SEARCH_REPLACE_COMBO = 3001;
constexpr int SEARCH_WORD_BOX = 3010;
constexpr int SEARCH_CASE_BOX = 3011;
constexpr int SEARCH_REPLACE_BOX = 3012;

// What the dialog's controls hold when it is read.
struct SearchDialogValues {
    int wordBox;
    int caseBox;
    int replaceBox;
    char searchText[SEARCH_TEXT_MAX + 1];
    char replaceText[SEARCH_TEXT_MAX + 1];
};

// Takes the dialog's values: the two flags, replaceEnabled only with
// withReplaceFlag, the two texts (cut to 50); replaceText becomes empty while
// replacing is off. The combo boxes' lists then take searchText and
// replaceText by historyStep.
void dialogRead(int withReplaceFlag, const SearchDialogValues* values);

// What adding a text to a combo box's list takes.
struct HistoryStep {
    bool insert;  // text goes in at position 0
    int remove;   // the equal item further down to delete first, or -1
};
// The history rule: nothing for an empty or all-blank text; otherwise the
// first count (at most ten) items are compared with it exactly; an equal item
// at 0 stays (nothing to do); an equal item further down is deleted and the
// text inserted at 0; a text not among them is inserted at 0.
HistoryStep historyStep(const SearchHistory* items, int count, const char* text);
// The rule applied to a history of ten (the last entry falls off when a text
// is inserted).
void historyAdd(SearchHistory* history, const char* text);

// The check box "Ta&uschen" clicked to state: replaceEnabled follows it. The
// control that gets the focus: the replacement combo box when replacing is
// on, else the search combo box.
int replaceFlagClicked(int state);
