// The editing primitives: every key command and every tool that changes text
// or moves the cursor is built from these. They work only on the window rows
// of the line store; the cursor never leaves the window, and the window
// follows the cursor horizontally in steps of 10 columns (in a window narrower
// than 10 columns, in steps of its width).
//
// p below is the cursor's document column, firstCol + cursorCol (0..249).
// Text pushed past column 249 is dropped silently.
//
// The line store never grows. An edit that would lengthen the text while the
// store cannot take it is refused as a whole: nothing changes, and the user is
// told once per refused action (storeFullText). Operations that can be
// refused return -1 then, else 0.
#pragma once

// The text of the box that tells of a refused edit.
constexpr const char* storeFullText =
    "Der Speicher ist voll: die \304nderung wurde nicht ausgef\374hrt.";

// --- Typing and deleting ----------------------------------------------------

// Types one character at the cursor: in insert mode the row makes room at p
// ("Spaltentreue": only up to the next double blank), in overwrite mode the
// character replaces the one at p. With repaint the row is redrawn from the
// cursor to the window's end in one row-paint context. The cursor then moves
// one column right (in column 249 it stays). Nothing at p >= 250. "Anf.Zeichen"
// does not change what is typed.
int typeChar(int ch, int repaint);
// Types every character of s as typeChar does, then repaints the row once.
// The whole text is refused when the store cannot take it, and, with the box
// typeTooLongText, when the line cannot take it whole (a character would be
// pushed off column 249 or typed over there). 0, or -1 when refused.
int typeText(const char* s);
constexpr const char* typeTooLongText =
    "Die Zeile w\344re l\344nger als 250 Zeichen: es wurde nichts eingef\374gt.";
// Removes n characters at the cursor and hands them to the piece buffer;
// "Spaltentreue" keeps the text after the next double blank in its columns.
// The cursor does not move. Nothing at p >= 250 or for n < 1.
void deleteChars(int n);

// --- Moving the cursor ----------------------------------------------------------

// Puts the cursor on document column col of the current row, scrolling
// horizontally when col lies outside the window. Nothing for col >= 250; a
// negative col goes as far left as the view allows (column 0 at most).
void cursorToColumn(int col);
// cursorCol = col within 0..windowCols-1 (and never past document column
// 249), cursorRow = r within 0..windowRows-1.
void cursorSet(int col, int r);
// Moves the cursor n screen columns right (never past document column 249) or
// left, scrolling the view by whole steps (10, or a narrower window's width)
// until the cursor is visible; repaints the whole window.
void shiftRight(int n);
void shiftLeft(int n);
// Scrolls the view one such step right (never so far that the window shows
// past column 249) or left without moving the cursor cell; repaints the window.
void viewRight();
void viewLeft();

// --- Scrolling by a line ----------------------------------------------------------

// When lines lie above the window: the view moves one line up, the cursor
// keeps its window row. Clears the in-line mark. 0, or -1 when refused.
int scrollViewUp();
// When lines lie below the window: the view moves one line down. Clears the
// in-line mark. 0, or -1 when refused.
int scrollViewDown();
// The view moves one line down even past the document's end (a blank row
// comes in); the mark stays. 0, or -1 when refused.
int scrollViewDownAlways();
// Moves to the next line (scrolling in the last window row, even past the
// document's end) and sets the column: 0, or with automatic indentation the first
// text column of the nearest non-blank window row at or above the new one,
// one indentation step deeper when that row is above and opens with "{", "["
// or "(". 0, or -1 when the view could not move (nothing changed).
int nextLine();

// --- Keys the tools press ---------------------------------------------------------

// Vertical moves since lineInsertMode was switched on by Shift+Enter; the
// mode goes off when the count leaves -5..2.
extern int lineInsertCounter;
// One vertical move (delta -1 up, +1 down) counted for lineInsertMode.
void countVerticalMove(int delta);
// The cursor one line down as the Down key moves it: a vertical move; in the
// window's last row the view moves instead, even past the document's end.
void cursorLineDown();
// Backspace within a line: the character left of the cursor goes to the
// piece buffer and the cursor takes its column. Nothing in column 0.
void deleteCharLeft();

// --- The full-store guard for every editing module --------------------------------

// True when an edit that lengthens the window's text by extraBytes fits the
// store; otherwise tells the user (once per action) and gives false.
bool editFits(int extraBytes);
// The length of a line's text (at most 250 characters) without its trailing
// white space: what the line takes in the store besides its record bytes.
int trimmedTextLength(const char* text);
// Tells the user that an edit was refused, once per action.
void editRefused();
// The window rows into the stacks with the gap at the cursor row: the rows
// above it go above, the cursor row and those below go below (the walks of
// the block and search commands start so). All or nothing: false, the rows
// as they were and the user told, when they do not fit.
bool flushAroundCursor();
// The one rule for every command that inserts or removes lines (or rewrites
// every line, as the conversions do): it calls this once it knows it will go
// ahead, before the first row moves. The in-line mark is cleared, since its
// line numbers would no longer match the lines that carry its columns; and
// the line snapshot is dropped, so that Ctrl+Q never puts a line back over
// lines that moved under it (the next refresh takes it afresh).
void linesChanging();
// The edit session answers the document's notices (document/docstate.h): the
// mark goes with the old lines, lines inserted clear it (linesChanging), a
// refused insert is told, a loaded document's cursor goes to its column, new
// lines drop the snapshot and repaint the window, and a changed identity is
// shown by the full refresh. Installed when the view starts.
void editSessionListen();
// An action made of many edits (a key command built from nested keys, a
// tool typing its text): within it the user is told of a full store at most
// once. Actions nest; the outermost one counts.
struct EditAction {
    EditAction();
    ~EditAction();
    EditAction(const EditAction&) = delete;
    EditAction& operator=(const EditAction&) = delete;
};
// True when an edit was refused within the current action (a playback stops there).
bool editActionRefused();
