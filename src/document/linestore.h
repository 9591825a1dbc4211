// The line store: the one open document, held as a gap buffer of lines.
//
// One fixed area of 100000 bytes holds the lines above the window, packed
// from its start upwards (the above stack), and the lines below the window,
// packed from its end downwards (the below stack). Between them, in document
// order, stand the 100 window rows, of which the first windowRows are shown
// and edited. All editing works on the window rows; moving through the
// document moves packed lines between the stacks and the rows. There is no
// line index: line numbers follow from the two stack counts and the row.
//
// A packed line of n characters (n = 0..250) takes n + 5 bytes:
//   n + 3, markState, markFrom, markTo, the n characters (no NUL), n + 3.
// The trailing size byte lets the above stack be popped from its top.
//
// Window rows hold their text in window form: blank-padded to exactly 250
// characters and a NUL. Everything a row read hands out, and everything the
// stacks hold, is in trimmed form: trailing white space removed. So trailing
// blanks never reach the stacks, while the cursor may stand in any column.
//
// The store never grows. Its rules for a full area, chosen so that no text
// is ever lost:
//
// * A push that does not fit stores nothing and says so: pushAbove and
//   pushBelow return -1 when the free space is not strictly greater than the
//   packed record. pushBelow returns 0 as well when it drops a blank line on
//   purpose (a blank line in front of an empty below stack: the document
//   never gains blank lines at its end).
// * The flushes (flushRowsAbove, flushWindowAbove, flushRowsBelow,
//   flushWindowBelow) are all-or-nothing: they add up the packed sizes of the
//   rows they would push first, and when those do not fit they change
//   nothing at all and return -1; otherwise they flush and return 0.
// * Moves between the stacks need no free space: moveAllBelow, moveAllAbove
//   and the line moves of gotoLine, gotoLineAtTop and positionReturn shift
//   packed records with one memory move (a record never changes size in
//   transit), so they cannot fail even in a full area. They behave exactly
//   like popping and pushing line by line, including the blank-line rule:
//   moving the above stack onto an empty below stack drops the above stack's
//   trailing blank lines.
// * The edit guard: storeWindowBytes() is what flushing all 100 window rows
//   could take at most, and storeEditFits(extra) tells whether an edit that
//   adds extra bytes of text leaves room for that. Every editing operation
//   that lengthens a row or adds a line asks first and refuses the edit (and
//   tells the user) when the answer is no; so every later flush fits.
// * gotoLine, gotoLineAtTop and positionReturn keep the cursor on a real
//   line and inside the window: a line number beyond the document's end
//   stands for its last line, and when the window is too small for the
//   wanted cursor row the window top moves down instead, so the wanted line
//   stays under the cursor in the window's last row. Afterwards
//   topLine = aboveCountGet() and 0 <= cursorRow < windowRows.
// * windowRows is used as 1..100 and windowCols as 1..250 whatever they
//   hold; row numbers outside 0..99 are ignored (row reads give an empty
//   line and false).
//
// The line store and the view position belong to the one thread of the
// program; nothing here is reentrant, and a visitor must not call the store.
#pragma once

#include <cstdint>

// The form in which every module sees a line.
struct LineRecord {
    char markState;          // '0' unmarked; '1', '2', '3' block marks
    unsigned char markFrom;  // first column of the in-line mark (0..250)
    unsigned char markTo;    // column after it; markFrom == markTo: no mark
    char text[251];          // up to 250 characters and a NUL
};
static_assert(sizeof(LineRecord) == 254, "a LineRecord is 254 bytes");

constexpr int kLineChars = 250;                // characters a line can hold
constexpr int kWindowRowsMax = 100;            // rows of the window array
constexpr std::uint32_t kLineAreaSize = 100000;  // bytes of the packed-line area

// The shared view position, read and written by the view, the editing and
// the document modules. The current line is topLine + cursorRow, the
// cursor's document column firstCol + cursorCol (always below 250).
extern std::int32_t topLine;     // document line in row 0; equals aboveCount between operations
extern std::int32_t cursorRow;   // window row of the cursor, 0..windowRows-1
extern std::int32_t cursorCol;   // screen column of the cursor, 0..windowCols-1
extern std::int32_t firstCol;    // document column shown in screen column 0
extern std::int32_t windowCols;  // text columns the window shows, 1..250
extern std::int32_t windowRows;  // window rows in use, 1..100

// A line visitor: called with each line of a stack in turn. Returns 0 to
// stop the walk at once (that line is not written back); any other result
// writes the line back and goes on. It may change the marks and characters
// of the text, but not the text's length; a text made shorter is filled up
// with blanks to its old length so that the stack stays sound.
using LineVisitor = int (*)(LineRecord* line, void* user);

// A line read where it lies in its stack, for walks that change no text
// (saving, measuring, copying, marking): nothing is unpacked. The viewer may
// change the marks; they are written back unless it returns 0, which stops the
// walk at once. The text is `length` characters with no NUL after them.
struct LineView {
    char markState;
    unsigned char markFrom;
    unsigned char markTo;
    int length;
    const char* text;
};
using LineViewer = int (*)(LineView* line, void* user);

// --- The packed-line area ---------------------------------------------------

// Allocates the area (zero-filled) and empties the document. False when the
// memory is not there. A second call only empties the document.
bool storeCreate();
// Releases the area (at program end).
void storeDestroy();
// Empties the document: both stacks empty.
void storeReset();
// Free bytes between the two stacks.
std::uint32_t storeFreeBytes();
// True when more than k * 1000 bytes are free.
bool storeHasRoom(int k);
std::int32_t aboveCountGet();
std::int32_t belowCountGet();

// Appends the line (trimmed form) to the top of the above stack. 0, or -1
// when it does not fit (nothing stored).
int pushAbove(const LineRecord* line);
// Takes the top line of the above stack: 0, or -1 and an empty line when the
// stack is empty.
int popAbove(LineRecord* line);
// Puts the line (trimmed form) in front of the below stack. 0 when stored or
// when a blank line meets an empty below stack (dropped); -1 when it does
// not fit (nothing stored).
int pushBelow(const LineRecord* line);
// Takes the front line of the below stack: 0, or -1 and an empty line when
// the stack is empty.
int popBelow(LineRecord* line);

// Walk one stack in document order, calling fn(line, user) for each line.
// True when the walk reached the stack's end, false when fn stopped it.
bool visitAbove(LineVisitor fn, void* user = nullptr);
bool visitBelow(LineVisitor fn, void* user = nullptr);
bool viewAbove(LineViewer fn, void* user = nullptr);
bool viewBelow(LineViewer fn, void* user = nullptr);
// Pushes an unmarked line of n characters (0..250, no NUL among them) above:
// 0, or -1 when it does not fit (nothing stored).
int pushTextAbove(const char* text, int n);

// --- The window rows (numbered 0..99) ------------------------------------

// Allocates the 100 rows and clears them. False when the memory is not
// there. A second call only clears the rows.
bool windowCreate();
void windowDestroy();
void rowsClearAll();
// Row r becomes '0', no in-line mark, 250 blanks.
void rowClear(int r);
// A copy of row r with its text trimmed; true when that text is not empty.
bool rowGet(int r, LineRecord* line);
// A copy of row r as it stands (window form).
void rowGetRaw(int r, LineRecord* line);
// Row r becomes line, its text blank-padded to 250 characters (characters
// after the 250th are dropped).
void rowPut(int r, const LineRecord* line);
// rowPut for a window-form text (250 characters, no NUL before them) whose trimmed
// length the caller has worked out: the row is neither padded nor measured again.
void rowPutTrimmed(int r, const LineRecord* line, int trimmedLength);
// The trimmed length of row r as the store keeps it (0 outside the window).
int rowTrimmedLength(int r);
void rowsScrollUp();    // rows 1..99 to 0..98; row 99 cleared
void rowsScrollDown();  // rows 0..98 to 1..99; row 0 cleared
void rowDelete(int r);  // rows r+1..99 up by one; row 99 cleared
void rowInsert(int r);  // rows r..98 down by one (row 99 falls away); row r cleared
// A working line: all bytes 0, then markState '0'.
void lineInit(LineRecord* line);

// --- Moving the gap ---------------------------------------------------------
// Callers set topLine = aboveCountGet() afterwards where the top changed.
// The flushes return 0, or -1 when the rows do not fit (nothing changed).

// Rows 0..n-1 (n at most windowRows), in that order, pushed above and cleared.
int flushRowsAbove(int n);
// All windowRows rows pushed above and cleared; when the below stack is
// empty, trailing blank rows are not pushed.
int flushWindowAbove();
// Pops n lines from above into rows n-1 down to 0.
void fillRowsFromAbove(int n);
// Rows windowRows-1 down to r pushed below and cleared.
int flushRowsBelow(int r);
int flushWindowBelow();  // flushRowsBelow(0)
// Pops lines from below into rows r..windowRows-1 (empty lines past the end).
void fillRowsFromBelow(int r);
void fillWindowFromBelow();  // fillRowsFromBelow(0)
// c = min(aboveCount, windowRows): c lines from above into rows c-1..0, then
// rows c..windowRows-1 from below.
void fillWindowEndingAtTop();
// Every line of the above stack goes below (the document's start comes next
// to the window).
void moveAllBelow();
// Every line of the below stack goes above (the window comes after the
// document's end).
void moveAllAbove();
// The front k lines of the below stack go above (no free space needed).
void moveBelowToAbove(std::int32_t k);
// Every line of the below stack goes above except the marked ones (mark state
// not '0'), which leave the document. The index in the below stack of the
// first line dropped, or -1.
std::int32_t moveAboveDroppingMarked();

// Looks for a line of the below stack, front first, without unpacking the
// lines: finder(text, n, start, user) sees each line's packed text (n
// characters, no NUL), start for the front line and 0 after it, and returns
// a column or -1. The lines before the first one it finds a column in go
// above with one move (as popping and pushing them would); that line stays in
// front. The column, or -1 when no line had one (every line went above).
// With the keys given, finder sees only the lines holding at least one of
// the bytes keys[0], keys[1] (the whole stack is scanned for them at once).
using TextFinder = int (*)(const char* text, int n, int start, void* user);
int moveBelowUntilFound(TextFinder finder, int start, void* user = nullptr,
                        const unsigned char* keys = nullptr);
// --- Navigation ---------------------------------------------------------------
// Each returns 0, or -1 when the window rows could not be flushed (nothing
// changed). On success the whole window is repainted.

// Shows document line n (from 0) four rows below the window top.
int gotoLine(std::int32_t n);
// Shows document line n in row 0, unless the document ends first.
int gotoLineAtTop(std::int32_t n);
// Both remembered positions become empty.
void positionsReset();
// Remembers the current position in slot 0 (the older one moves to slot 1;
// the first position remembered fills both). Nothing at the document start.
void positionRemember();
// Returns to the position in slot i (0 newer, 1 older); nothing when the
// slot is empty or i is no slot.
int positionReturn(int i);

// --- Words at the cursor (document column p = firstCol + cursorCol) ---------

// Letters a-z, A-Z, digits, bytes 192 and above, '_', '@' and '$'.
bool isWordChar(int ch);
// The columns [*from, *to) of the word at or right of p in the current row,
// as wordAtCursor picks it; its length (0: no word, *from == *to == p).
int wordSpanAtCursor(std::int32_t* from, std::int32_t* to);
// The word at or right of p into buf (bufSize bytes, NUL-terminated, cut to
// fit); result: the word's length. Empty at or beyond the trimmed end.
int wordAtCursor(char* buf, int bufSize);
// The same with blank, apostrophe and double quote as the only delimiters:
// a file name or path under the cursor.
int tokenAtCursor(char* buf, int bufSize);
// The word characters immediately left of p into buf; result: their number.
int wordLeftOfCursor(char* buf, int bufSize);

// --- The full-store guard ---------------------------------------------------

// The packed bytes that flushing all 100 window rows could take at most.
std::uint32_t storeWindowBytes();
// True when an edit that adds extraBytes of text to the window still leaves
// room to flush every row afterwards.
bool storeEditFits(int extraBytes);
// The quick half of storeEditFits: true when the edit fits whatever the rows
// hold (the usual case, answered without measuring them); false says only
// that the rows must be measured.
bool storeEditFitsAtOnce(int extraBytes);
// The length of a text (window or trimmed form, at most 250 characters looked at)
// without its trailing white space; runs of padding blanks are skipped in blocks.
int textTrimmedLength(const char* text);

// --- Inspection (tests and diagnostics) -------------------------------------

struct StoreLayout {
    const unsigned char* lineArea;  // null before storeCreate
    std::uint32_t lineAreaSize;
    std::uint32_t aboveTop;    // the above stack occupies 0..aboveTop-1
    std::uint32_t belowStart;  // the below stack occupies belowStart..lineAreaSize-1
    std::int32_t aboveCount;
    std::int32_t belowCount;
};
StoreLayout storeLayout();
