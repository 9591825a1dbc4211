// The text window: the document's window rows drawn cell by cell in one
// fixed-pitch font, the cursor, and the vertical scroll bar at the right edge.
//
// This is the portable half. It owns the view's variables, reads the colours,
// sets the window size, keeps the caret's rules and decides what every paint
// draws: a paint is first made into a *plan* (the cells to fill and their
// colours, the clipped in-line mark, the glyphs to draw and their colour), and
// the Win32 half (textview_win32) only carries plans out with GDI and the
// system caret. It also implements the text-window primitives of
// support/platform.h; the headless host records them instead.
//
// Cell (c, r) - screen column c, window row r - has its top-left pixel at
// (c * charWidth + 4, r * lineHeight + 2). Row r shows window row r of the
// line store from document column firstCol on. The view keeps no copy of the
// text: every paint reads the window rows afresh.
//
// Everything here does nothing while viewReady is clear. Row-paint contexts
// never nest: a begin inside an open context is only counted, and the context
// is released by the matching outermost end.
#pragma once

#include <array>

#include "document/linestore.h"
#include "support/devices.h"

// ---------------------------------------------------------------- the view's variables

// A colour as red, green, blue.
struct Rgb {
    unsigned char r, g, b;
};
constexpr bool operator==(Rgb a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
constexpr bool operator!=(Rgb a, Rgb b) { return !(a == b); }

extern int viewReady;       // created by viewCreate and not yet destroyed
extern int rowsReady;       // the first document is in the window rows (end of start-up)
extern int hasFocus;        // the main window has the keyboard focus
extern int textAreaWidth;   // client width in pixels
extern int textAreaHeight;  // client height above the status bar
extern int charWidth;       // the view font's average character width
extern int lineHeight;      // the view font's full height
extern int scrollBarWidth;  // width of the scroll bar at the right edge
extern Rgb bgColour;          // background of unmarked lines
extern Rgb markLineColour;    // background of block-marked lines
extern Rgb inlineMarkColour;  // background of a line's in-line mark
extern int coloursLoaded;     // the colours have been read (once per run)

constexpr Rgb kDefaultBgColour{245, 245, 245};
constexpr Rgb kDefaultMarkLineColour{211, 211, 211};
constexpr Rgb kDefaultInlineMarkColour{176, 176, 176};
constexpr Rgb kMarkedTextColour{0, 0, 160};     // text of block-marked lines
constexpr Rgb kBlockCursorColour{192, 192, 192};  // the system's light grey stock brush

constexpr int kCellLeft = 4;  // pixel offset of cell (0, 0)
constexpr int kCellTop = 2;

// ---------------------------------------------------------------- colours

// Three decimal numbers red, green, blue, each after optional white space and
// with an optional sign ("%d %d %d"); text after the third is ignored. True
// and the colour when all three are there and each lies in 0..255; false and
// the colour untouched otherwise (empty, garbage, fewer numbers, out of range).
bool colourParse(const char* text, Rgb* colour);
// The colour of key in section "Global", or fallback when the value is not a
// colour.
Rgb colourRead(const char* key, Rgb fallback);
// Reads "BgFarbe", "MarkBgFarbe" and "BlockBgFarbe" the first time only.
void coloursLoad();

// ---------------------------------------------------------------- display glyphs

constexpr unsigned char kTabGlyph = 153;      // how a tab is drawn
constexpr unsigned char kControlGlyph = 144;  // how any other character below 32 is drawn

// The byte drawn for ch.
unsigned char displayGlyph(unsigned char ch);
// n bytes of src into dst as display glyphs (the line itself never changes).
void glyphsMap(char* dst, const char* src, int n);

// ---------------------------------------------------------------- metrics

// The window size from the text area, the cell size and the scroll bar width:
// windowCols = (textAreaWidth - scrollBarWidth - 8) / charWidth, at most 250;
// windowRows = (textAreaHeight - 4) / lineHeight, at most 100; each at least 1
// however small the window (a cell size below 1 counts as 1). The cursor is
// brought inside the window (cursorCol below windowCols, cursorRow below
// windowRows, neither negative).
void windowSizeUpdate();
// The same computations on their own.
int windowColsFor(int areaWidth, int barWidth, int cellWidth);
int windowRowsFor(int areaHeight, int cellHeight);

// A rectangle in pixels of the main window's client area (right and bottom
// exclusive).
struct PixelRect {
    int left, top, right, bottom;
};
constexpr bool operator==(PixelRect a, PixelRect b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The pixels of ncols x nrows cells from cell (c, r).
PixelRect cellRect(int c, int r, int ncols, int nrows);
// The scroll bar's place: the right edge of the text area, its full height.
PixelRect scrollBarRect();

// When the client area changes: with rowsReady the window rows are flushed
// below first and filled again afterwards, so that the rows follow the new
// window size; the new area is taken, the window size computed, and the whole
// view repainted. When the rows cannot be flushed (a full store) the number of
// rows stays as it was, so that no line is lost. Without viewReady only the
// area is taken.
void viewResizeTo(int areaWidth, int areaHeight);

// ---------------------------------------------------------------- paint plans

// A background fill.
struct Fill {
    PixelRect rect;
    Rgb colour;
};

// What paintCells fills: the line background over the cells, then the
// in-line mark's columns over the same rows.
struct CellsPlan {
    std::array<Fill, 2> fills;
    int count;  // 1, or 2 with an in-line mark
};
// Cells (c, r) spanning ncols x nrows in markLineColour when marked, else in
// bgColour; then, when from != to, the screen columns from the smaller up to,
// not including, the larger in inlineMarkColour.
CellsPlan cellsPlan(int c, int r, int ncols, int nrows, bool marked, int from, int to);

// Characters to draw at a pixel: already display glyphs.
struct TextRun {
    int x, y;                     // top-left pixel
    int length;                   // characters in text
    char text[kLineChars + 1];     // NUL-terminated
    bool markedColour;            // kMarkedTextColour, else the context's default colour
};

// What painting one row, or a text over a row, does.
struct RowPlan {
    CellsPlan cells;
    int markFrom, markTo;  // the in-line mark in screen columns, from <= to (equal: none)
    TextRun text;
};

// Window row r as paintRow draws it: the whole row's background
// (windowCols cells), the in-line mark clipped to the view, and
// min(windowCols, 250 - firstCol) characters from document column firstCol.
// False when r is not a window row (0..windowRows-1).
bool rowPlan(int r, RowPlan* plan);
// n characters of text from cell (c, r) over the line background of
// markState, no in-line mark: n is capped at windowCols - c, at 250 and at the
// text's length. False when the cell lies outside the window.
bool textPlan(int c, int r, const char* text, int n, char markState, RowPlan* plan);

// One cursor cell filled and its character drawn over it.
struct CursorCellPlan {
    Fill fill;
    TextRun glyph;  // one character
};
// Cell (col, row) filled with colour, with the row's character at document
// column docCol (window form, as a glyph) in the row's text colour.
CursorCellPlan cursorCellPlan(int col, int docCol, int row, Rgb colour);

// ---------------------------------------------------------------- the cursor

// What the caret's rules ask of the system: CaretDevice and caretDeviceSet in
// support/devices.h; without a device the caret operations change only the
// state below.

extern int caretState;  // 0 nothing shown, 1 the system caret, 2 the block cursor
extern int caretShape;  // the insertMode the caret was last created for (-1: none yet)
extern int shownCol, shownFirstCol, shownRow;  // the cell where the cursor was last shown

// With the focus: the caret created anew when its shape is stale, moved when
// the cursor cell changed, shown. Without: the grey block cursor painted.
void caretShow();
// Hides the caret, or paints the block cursor's cell back in bgColour.
void caretHide();
// Brings caret or block cursor up to date with the focus, insertMode and the
// cursor cell; nothing when all three are as last shown.
void caretUpdate();

// ---------------------------------------------------------------- scroll bar

// The scroll bar set from (aboveCount, belowCount, windowRows) when these
// differ from the last values it was given: range 0..a+b+n-1, page n,
// position a.
void scrollInfoUpdate();

// The scroll bar's requests (the system's numbers).
namespace scroll_request {
constexpr int kLineUp = 0, kLineDown = 1, kPageUp = 2, kPageDown = 3, kThumbPosition = 4,
              kThumbTrack = 5, kTop = 6, kBottom = 7, kEndScroll = 8;
}

// A key of the key dispatcher (view/taste.h): a virtual-key code and Ctrl.
struct ScrollKey {
    int vk;
    bool ctrl;
};
// The key a request is done as: line up/down Ctrl+Up/Ctrl+Down, page up/down
// PgUp/PgDn, top/bottom Ctrl+PgUp/Ctrl+PgDn. False for the thumb requests and
// the rest.
bool scrollRequestKey(int request, ScrollKey* key);
// Carries out a scroll bar request: a key request as a nested key of the key
// dispatcher (neither recorded nor moving the marking), the thumb requests as
// gotoLineAtTop(position); others nothing.
void scrollCommand(int request, int position);

// ---------------------------------------------------------------- for the other modules

// Asks for a full repaint of the text area (when viewReady).
void invalidateAll();
// A row-paint context: the cursor is hidden while it is open.
void beginRowPaint();
// Within a context: window row r painted afresh.
void repaintRow(int r);
// Within a context: n characters of text from cell (c, r) over the line
// background of markState (n capped at windowCols - c and at 250).
void drawTextAt(int c, int r, const char* text, int n, char markState);
// The same with n = the text's length.
void drawStringAt(int c, int r, const char* text, char markState);
// Shows the cursor and releases the context.
void endRowPaint();
// True while a row-paint context is open.
bool rowPaintOpen();
// caretUpdate through the platform (when viewReady).
void caretRefresh();

// ---------------------------------------------------------------- life cycle

// The portable part of creating the view: viewReady and hasFocus set, the
// colours loaded (once per run), the scroll bar width taken, the scroll cache
// and the caret state forgotten; the edit session listens to the document.
void viewStateStart(int barWidth);
// The portable part of destroying it: an open row-paint context released, a
// shown system caret destroyed, viewReady cleared.
void viewStateEnd();
