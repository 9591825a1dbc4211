// The undelete buffers: three fixed byte areas that keep deleted or copied
// text so that it can be brought back.
//
// * zbram, the block buffer: a group of line texts, oldest first. A store
//   appends; the first store after blockRestartSet (or a fetch, or a
//   clipboard transfer) empties the buffer first, so every new collection
//   replaces the old one. Read from the oldest.
// * zwram, the line buffer: single deleted lines, newest first. A store puts
//   the text in front and pushes the rest back; what is pushed beyond the end
//   falls off.
// * cutxt, the piece buffer: deleted pieces of a line, newest first, with the
//   same falling-off rule.
//
// Each area holds NUL-terminated texts back to back and never grows. Every
// text is a line's text: at most 250 characters of a stored text are kept,
// and every fetch hands out at most 250 characters and a NUL. The two spare
// bytes behind each area always stay zero, so a text cut at the end of an
// area still reads as a terminated text; no read goes beyond an area.
//
// Before undeleteCreate (or after undeleteDestroy) the buffers are empty:
// stores keep nothing and fetches give empty texts.
#pragma once

constexpr int ZBRSUP = 50000;  // bytes of text in the block buffer
constexpr int ZWRSUP = 50000;  // bytes of the line buffer
constexpr int CUSUP = 1000;    // bytes of the piece buffer
constexpr int UNDELETE_TEXT_MAX = 250;  // characters a fetched text holds at most

// Allocates the three areas (zero-filled, each with two spare bytes); a
// failed allocation ends the program through an assertion. A second call
// empties the buffers again.
void undeleteCreate();
// Releases the three areas (at program end).
void undeleteDestroy();

// --- The block buffer ------------------------------------------------------

// Appends text when fewer than ZBRSUP bytes are used (cut to the room left,
// NUL after it); after a restart the buffer is emptied first. A store into a
// full buffer keeps nothing.
void blockStore(const char* text);
// With first set, reading starts at the oldest text. Copies the next text to
// out (UNDELETE_TEXT_MAX + 1 bytes) and advances: 0, or -1 and out empty when
// every text was read. Sets blockRestart.
int blockFetch(bool first, char* out);
// The next store starts a new collection.
void blockRestartSet();
// Puts every stored text, each followed by "\r\n", on the clipboard as one
// text, and sets blockRestart. 0, or -1 when nothing is stored (the
// clipboard is then left as it is).
int blockToClipboard();

// --- The line buffer -------------------------------------------------------

// Puts text in front of the line buffer; the oldest bytes fall off the end.
void lineStore(const char* text);
// Unless again (the previous key command was Ctrl+E too), reading starts at
// the newest text. Copies the text at the reading position to out (UNDELETE_TEXT_MAX + 1
// bytes) and advances past it: 0, or -1 and out empty when the reading
// position has reached the end of the buffer (it never goes beyond).
int lineFetch(char* out, bool again);

// --- The piece buffer ------------------------------------------------------

// Takes the first n characters of text (blank-padded when text is shorter;
// n is used as 0..250) without leading and trailing blanks; when n > 0 and
// nothing is left the piece is a single blank. A non-empty piece goes in
// front of the buffer, and reading restarts at the newest.
void pieceStore(const char* text, int n);
// Unless again (the previous key command was Ctrl+U too), reading starts at
// the newest piece. When the text at the reading position is not empty, copies it to out
// (UNDELETE_TEXT_MAX + 1 bytes) and advances past it: 0; else out is empty:
// -1. Reading wraps to the newest when it reaches the end of the buffer.
int pieceFetch(char* out, bool again);

// --- For tests -------------------------------------------------------------

// The raw areas (their size plus the two spare bytes), or nullptr before
// undeleteCreate.
const char* zbramBytes();
const char* zwramBytes();
const char* cutxtBytes();
// Bytes of zbram in use (the stored texts with their NULs).
int blockEndGet();
