// The in-line mark, the mouse in the text window and the two context menus.
//
// Besides the line blocks (whole lines, markState) the editor has an in-line
// mark: a range of columns, the same columns on every line of a run of
// consecutive lines, made with Shift and the cursor keys or by dragging with
// the mouse. Each line keeps its part in markFrom and markTo of its
// LineRecord; every line outside the run carries 0 and 0. markFrom may be
// larger than markTo (a mark made leftwards): every consumer takes the smaller
// as the first marked column and the larger as the column after the mark.
// A mark within one line is a selection (typing replaces it; Ctrl+C, Ctrl+X
// and Delete work on it); a mark over several lines is a column block.
//
// The mark state below says which lines and columns are marked; the lines
// themselves carry the columns, travel with their lines through the stacks and
// are what the copy, cut, blank and delete operations read.
//
// The line store never grows: blanking and deleting only shorten lines, and
// every whole-document walk here either rewrites records in place or moves
// them between the stacks shrunk or unchanged.
//
// The mouse handlers take the values of the messages and need no system call:
// they tell the Win32 side by their results when to capture the mouse and
// when to release it. The context menu is shown through plat_context_menu and
// the chosen command posted to the main window.
#pragma once

#include <cstdint>

// The mark state, as a copy for tests and diagnostics.
struct MarkInfo {
    int active;                    // an in-line mark exists
    std::int32_t startLine;        // document line where the mark began
    std::int32_t endLine;          // document line of its moving end
    std::int32_t startCol;         // document column where it began
    std::int32_t endCol;           // document column of the moving end
    std::int32_t anchorCol, anchorFirstCol, anchorRow, anchorTop;  // the cursor before the key or drag
    int mouseCaptured;             // the left button went down in the text window
    int dragging;                  // the mouse moved with the left button down since then
};
MarkInfo markInfo();

// The text of the box that refuses a copy or cut whose text would not fit
// the clipboard block.
constexpr const char* markTooLargeText =
    "Die Markierung ist zu gro\337 f\374r die Zwischenablage (h\366chstens 29999 Zeichen): "
    "es wurde nichts ge\344ndert.";
// The most characters a copy or cut hands to the clipboard (the block holds a NUL too).
constexpr int kMarkTextMax = 29999;

// --- The mark ------------------------------------------------------------------

// All mark variables and the anchor to 0, no mark (the lines are not touched).
void markReset();
int markActiveGet();
// 0 without a mark, else the number of marked lines.
int markLineCount();
// The anchor = the cursor position now (cursorCol, firstCol, cursorRow, topLine).
void markAnchorSet();
// With a mark: every line of the document loses its mark columns, the window
// stays where it is and is repainted, and the mark state is reset.
void markClear();
// Every line of the document gets its columns from the mark state (the lines
// from the start to the end line get startCol/endCol, all others 0/0); the
// window is repainted.
void markApply();
// A one-line mark on the cursor's line from column `from` to `to`; the row is
// put back and repainted.
void markSetInLine(int from, int to);
// Ctrl+M and the double click: the mark cleared, then the word at the cursor
// (as wordAtCursor picks it) marked. Where there is no word nothing is marked.
void selectWordAtCursor();
// After each top-level key, with extend = Shift was down and the key may
// extend: starts, extends or clears the mark by where the cursor went from
// the anchor.
void markingUpdate(bool extend);
// The mouse's extension of the mark from the anchor to the cursor.
void markExtendTo();

// --- Taking the marked text --------------------------------------------------------

// The text of a one-line mark on the cursor's line into buf (bufSize bytes,
// cut to fit): the mark is cleared and the row repainted; 1. Otherwise buf is
// empty and the result 0 (the mark, if any, stays).
int markedText(char* buf, int bufSize);
// A one-line mark on the cursor's line deleted: with copy its characters go
// to the clipboard first; the cursor goes to the mark's first column and the
// characters are removed with deleteChars (so they reach the piece buffer).
// 0 when done; -1 when there is no one-line mark on the cursor's line (a
// one-line mark elsewhere, which the user cannot be acting on, is cleared);
// -2 when the clipboard did not take the text (the user is told, nothing
// changed).
int markDeleteSpan(bool copy);
// The marked columns of every marked line to the clipboard: one piece per
// line, "\r\n" between pieces and after the last when there are several;
// lines shorter than the mark count as padded with blanks. The mark is
// cleared, the window shows the same lines. 0, or -1 when refused: a text of
// more than kMarkTextMax characters (one box, nothing changed, the mark stays).
int markCopy();
// As markCopy, then the marked columns blanked and `modified` set.
int markCut();
// The marked columns of every marked line blanked, the mark reset, `modified`
// set. 0, or -1 when the store could not be walked (nothing changed).
int markBlank();
// As markBlank, but the marked characters are removed and the rest of each
// line moves left.
int markDelete();

// --- The context menus --------------------------------------------------------------

constexpr const char* kMenuWithMark = "RMMENUMARK";
constexpr const char* kMenuWithoutMark = "RMMENUOHNE";

// "RMMENUMARK" with a mark, else "RMMENUOHNE", shown at the last right click
// (atMouse) or at the cell right of the cursor (the Applications key); the
// chosen command is posted to the main window.
void contextMenu(bool atMouse);

// --- The mouse ---------------------------------------------------------------------
// x and y are the client coordinates as the message carries them: two 16-bit
// words, read as signed so that a point left of or above the window (during a
// drag with the mouse captured) maps to column or row 0.

// The cell of pixel (x, y): ((x - 4) / charWidth, (y - 2) / lineHeight),
// limited to the window.
void mouseCell(int x, int y, int* col, int* row);
// Left button down: the mouse is to be captured (true). Without Shift the mark
// is cleared; the cursor goes to the cell; with Shift the mark is extended
// (or made) from the cursor's previous position.
bool mouseLeftDown(int x, int y, bool shift);
// Mouse move: while captured and the left button is down, a drag: the cursor
// follows to the cell and the mark is extended from where the button went down.
void mouseMove(int x, int y, bool leftDown);
// Left button up: true when the capture is to be released; a drag ends.
bool mouseLeftUp();
// Left double click: on the cursor's cell the word there is selected.
void mouseDoubleClick(int x, int y);
// Right button down: the context menu at (x, y).
void mouseRightDown(int x, int y);
// The wheel: per notch of 120 five lines up (delta > 0) or down; with Shift
// ten columns left or right. A delta below one notch does nothing.
void mouseWheel(int delta, bool shift);
