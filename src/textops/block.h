// The line block: a set of whole lines of the document, told by the mark
// every line carries in markState.
//
//   '0' not marked;
//   '1' the block's first line ("Anfang"), or a line marked by "Funktion";
//   '2' a line inside the block, or a single line marked from the keyboard;
//   '3' the block's last line ("Ende").
//
// A line counts as marked when its mark is anything but '0'. Every operation
// works on all marked lines in document order, whether they stand together or
// not. The in-line mark (markFrom, markTo) belongs to the marking and is not
// looked at here. Marks live only in the line store; files never hold them.
//
// Each operation that walks the document flushes the window rows into the
// store, walks every line, and fills the rows again. The store never grows:
// copying and moving measure the packed bytes of all copies first and, when
// the store cannot take them, refuse as a whole (one box, nothing changed).
#pragma once

// "Anfang": the cursor line becomes the block's first line (the older first
// line loses its mark), then the mark fill. `modified` is not set.
void block_begin();
// "Ende": the same with the last line.
void block_end();
// "Funktion": from the cursor line on, every line is marked '1' up to and
// including the first that starts with "}", "[", ")" or "." in its first
// column or with "end" in any case, or to the document's end. Other marks
// stay; the view does not move; `modified` is not set.
void block_function();
// "Entmarkieren": every line's mark becomes '0'; the view does not move.
void block_unmark();
// "Kopieren": an unmarked copy of every marked line before the cursor line,
// in document order; the cursor stays on its line, which now follows the
// copies. With undelete the marked lines' texts also go into the block buffer
// and the marks stay; without it every mark is cleared. Sets `modified`.
// 0, or -1 when the store cannot take the copies (the user is told, nothing
// changed).
int block_copy(int undelete);
// "Verschieben": the marked lines, unmarked and in order, stand where the
// cursor line was, and the cursor is on the first of them. Sets `modified`.
// 0, or -1 when the store cannot take the copies (the user is told, nothing
// changed).
int block_move();
// "Loeschen": every marked line leaves the document (not into an undelete
// buffer). The cursor keeps its window row and stands on the line that now
// takes the first deleted line's place; when that line would stand above
// the cursor row the window starts at the document's first line. Sets
// `modified`.
void block_delete();
// "Zwischenablage": the marked lines' texts, each followed by "\r\n", go to
// the clipboard (the empty text when nothing is marked), and every mark is
// cleared. The view does not move; `modified` is not set.
void block_to_clipboard();
// "Im Block tauschen": in every marked line each occurrence of the search
// text becomes the replacement text (replaceAllInLine, view/search.h). The
// growth of all lines together is measured first: when the store cannot take
// it nothing changes and the user is told (-1). A line that would pass 250
// characters is left as it was; after the walk one box tells how many were.
// The view keeps its top line and cursor row; sets `modified`. 0 when done.
int block_replace();
// The text of the box after a block replacement or a conversion that left
// lines unchanged because they would have grown past 250 characters (%d: how many).
constexpr const char* linesLeftTooLongText =
    "Zeilen, die l\344nger als 250 Zeichen geworden w\344ren, blieben unver\344ndert: %d.";
// The number of marked lines; the view does not move.
int block_count();
// The cursor line's mark becomes '2' (on) or '0' (off); its row is repainted.
void block_mark_line(int on);

// --- The keys of blocks (bound by the shell's key map) --------------------------

// Ctrl+B: with marked lines, their copies before the cursor line, their texts
// as the block buffer's new collection and the block on the clipboard;
// without, the block buffer's lines back.
void blockKeyCopyOrBack();
// Ctrl+C: the in-line mark, else the marked lines, else the block buffer to
// the clipboard.
void blockKeyCopy();
// Ctrl+P: the line block-marked, then the next line.
void blockKeyMarkLine();
