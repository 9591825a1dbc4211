#include "view/editing.h"

#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "framework/messages.h"
#include "support/strfunc.h"
#include "view/cursor.h"
#include "view/marking.h"
#include "view/options.h"
#include "view/refresh.h"
#include "view/textview.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr int kLastCol = kLineChars - 1;  // 249: the last column a line has
constexpr int kViewStep = 10;             // the view moves horizontally in these steps
constexpr int kRecordBytes = 5;           // what a packed line takes besides its text

// The refusal box is shown once per action.
struct RefusalState {
    int actionDepth = 0;  // open EditAction scopes
    bool told = false;    // the box was shown within the outermost action
};
RefusalState refusal;

// The window size as the store uses it: at least one column and one row.
int limited(int n, int low, int high) { return n < low ? low : (n > high ? high : n); }
int viewCols() { return limited(windowCols, 1, kLineChars); }
int viewRows() { return limited(windowRows, 1, kWindowRowsMax); }
int lastRow() { return viewRows() - 1; }
// The view's horizontal step: 10 columns, or the whole width of a narrower
// window, so that a step never passes columns the window could have shown.
int viewStep() { return viewCols() < kViewStep ? viewCols() : kViewStep; }

int cursorColumn() { return firstCol + cursorCol; }

// The first column of text that is not white space; -1 for a blank text.
int firstTextColumn(const char* text) {
    const int n = trimmedTextLength(text);
    for (int i = 0; i < n; ++i)
        if (!is_white(static_cast<unsigned char>(text[i]))) return i;
    return -1;
}

// The first q >= from where two blanks follow each other (q + 1 <= 249), or
// 250 when there is none.
int doubleBlankFrom(const char* text, int from) {
    const int q = mem_find_pair(text, from, kLineChars, ' ');
    return q < 0 ? kLineChars : q;
}

// Puts ch into a window-form text at column p (0..249): in insert mode the
// characters from p move one column right, up to the next double blank with
// "Spaltentreue" (its first blank is overwritten), else up to column 249,
// whose character falls off.
void putChar(char* text, int p, char ch) {
    if (insertMode) {
        const int q = columnKeep ? doubleBlankFrom(text, p) : kLineChars;
        const int end = q < kLastCol ? q : kLastCol;  // last column that receives a character
        std::memmove(text + p + 1, text + p, static_cast<std::size_t>(end - p));
    }
    text[p] = ch;
}

// True when putChar at p would lose a character: in insert mode one that is
// not a blank is pushed off column 249.
bool putLoses(const char* text, int p) {
    if (!insertMode) return false;
    const int q = columnKeep ? doubleBlankFrom(text, p) : kLineChars;
    return q >= kLastCol && text[kLastCol] != ' ';
}

// Removes n characters at p (p + n < 250) from a window-form text: with
// "Spaltentreue" the characters up to the next double blank move left and the
// n columns before that blank become blanks, so the text after it keeps its
// columns; otherwise the rest of the row moves left and its end is blanked.
void removeChars(char* text, int p, int n) {
    const int q = columnKeep ? doubleBlankFrom(text, p + n) : kLineChars;
    std::memmove(text + p, text + p + n, static_cast<std::size_t>(q - p - n));
    std::memset(text + q - n, ' ', static_cast<std::size_t>(n));
}

// The cursor row redrawn from the cursor cell to the window's end.
void repaintFromCursor(const LineRecord& row) {
    beginRowPaint();
    drawStringAt(cursorCol, cursorRow, row.text + cursorColumn(), row.markState);
    endRowPaint();
}

// A scroll by a line ends the in-line mark. It is cleared before any row
// moves: the clearing walks the rows in place, and a row already pushed into
// a stack would be walked twice.
void clearInlineMark() { markClear(); }

// Row 0 goes above, the rows move up, and the next line from below (a blank
// one past the document's end) fills the last row.
int scrollDownOneLine(bool clearMark) {
    // Past the end the window gains a blank row the store must be able to hold.
    if (belowCountGet() == 0 && !editFits(kRecordBytes)) return -1;
    if (clearMark) clearInlineMark();
    LineRecord line;
    rowGet(0, &line);
    if (pushAbove(&line) != 0) {
        editRefused();
        return -1;
    }
    rowsScrollUp();
    popBelow(&line);
    rowPut(lastRow(), &line);
    topLine = aboveCountGet();
    invalidateAll();
    return 0;
}

}  // namespace

// --- The full-store guard ---------------------------------------------------------

int trimmedTextLength(const char* text) { return textTrimmedLength(text); }

bool editFits(int extraBytes) {
    if (extraBytes <= 0 || storeEditFits(extraBytes)) return true;
    editRefused();
    return false;
}

void editRefused() {
    if (refusal.told) return;
    if (refusal.actionDepth > 0) refusal.told = true;
    message_box_fmt("%s", storeFullText);
}

bool flushAroundCursor() {
    if (flushRowsAbove(cursorRow) != 0) {
        editRefused();
        return false;
    }
    if (flushRowsBelow(cursorRow) != 0) {
        fillRowsFromAbove(cursorRow);
        editRefused();
        return false;
    }
    return true;
}

void linesChanging() {
    markClear();
    snapshotReset();
}

namespace {

void answerDocument(const DocNotice& notice) {
    switch (notice.event) {
    case DocEvent::Replacing: markReset(); break;
    case DocEvent::Inserting: linesChanging(); break;
    case DocEvent::InsertRefused: editRefused(); break;
    case DocEvent::ColumnWanted: cursorToColumn(notice.column); break;
    case DocEvent::Replaced:
        snapshotReset();
        invalidateAll();
        break;
    case DocEvent::ShowWanted: refreshAll(); break;
    }
}

}  // namespace

void editSessionListen() { docListen(answerDocument); }

EditAction::EditAction() { ++refusal.actionDepth; }

EditAction::~EditAction() {
    if (--refusal.actionDepth <= 0) {
        refusal.actionDepth = 0;
        refusal.told = false;
    }
}

bool editActionRefused() { return refusal.actionDepth > 0 && refusal.told; }

// --- Typing and deleting ----------------------------------------------------

int typeChar(int ch, int repaint) {
    const int p = cursorColumn();
    if (p < 0 || p >= kLineChars) return 0;
    // A NUL would end the row's text there and lose the rest of it.
    if ((ch & 0xFF) == 0) return 0;

    LineRecord row;
    rowGetRaw(cursorRow, &row);
    // The store keeps the row's trimmed length; after the character nothing but
    // white space stands behind the longer of that length and the cursor column.
    const int before = rowTrimmedLength(cursorRow);
    putChar(row.text, p, static_cast<char>(ch & 0xFF));
    int after = (before > p ? before : p) + 1;
    if (after > kLineChars) after = kLineChars;
    while (after > 0 && is_white(static_cast<unsigned char>(row.text[after - 1]))) --after;
    if (!editFits(after - before)) return -1;

    rowPutTrimmed(cursorRow, &row, after);
    modified = 1;
    if (repaint) repaintFromCursor(row);
    if (p < kLastCol) cursorToColumn(p + 1);
    return 0;
}

int typeText(const char* s) {
    const int p = cursorColumn();
    if (s == nullptr || *s == '\0' || p < 0 || p >= kLineChars) return 0;

    // Type the text on a copy first: the row may only grow as far as the store
    // allows at every step, or the whole text is refused.
    LineRecord row;
    rowGetRaw(cursorRow, &row);
    const int before = trimmedTextLength(row.text);
    int longest = before;
    int col = p;
    for (const char* c = s; *c != '\0'; ++c) {
        // A text that does not fit the line whole is not typed at all: a
        // character pushed off its end, or typed over in column 249, is lost.
        if (putLoses(row.text, col) || (col == kLastCol && c[1] != '\0')) {
            message_box_fmt("%s", typeTooLongText);
            return -1;
        }
        putChar(row.text, col, *c);
        const int length = trimmedTextLength(row.text);
        if (length > longest) longest = length;
        if (col < kLastCol) ++col;
    }
    if (!editFits(longest - before)) return -1;

    for (const char* c = s; *c != '\0'; ++c) typeChar(static_cast<unsigned char>(*c), 0);
    beginRowPaint();
    repaintRow(cursorRow);
    endRowPaint();
    return 0;
}

void deleteChars(int n) {
    const int p = cursorColumn();
    if (p < 0 || p >= kLineChars || n < 1) return;

    LineRecord row;
    rowGetRaw(cursorRow, &row);
    if (n < kLineChars - p) {
        pieceStore(row.text + p, n);
        removeChars(row.text, p, n);
    } else {
        pieceStore(row.text + p, kLineChars - p);
        std::memset(row.text + p, ' ', static_cast<std::size_t>(kLineChars - p));
    }
    rowPut(cursorRow, &row);
    repaintFromCursor(row);
    modified = 1;
}

// --- Moving the cursor ----------------------------------------------------------

void cursorSet(int col, int r) {
    // The window may show columns past 249 when the view stands far right;
    // the cursor never goes there.
    const int lastCol = viewCols() - 1 < kLastCol - firstCol ? viewCols() - 1 : kLastCol - firstCol;
    cursorCol = limited(col, 0, lastCol < 0 ? 0 : lastCol);
    cursorRow = limited(r, 0, lastRow());
}

void cursorToColumn(int col) {
    if (col >= kLineChars) return;
    const std::int64_t r = static_cast<std::int64_t>(col) - firstCol;
    if (r >= 0 && r < viewCols()) {
        cursorSet(static_cast<int>(r), cursorRow);
    } else if (r >= viewCols()) {
        shiftRight(static_cast<int>(r - cursorCol));
    } else if (firstCol <= 0) {
        cursorCol = 0;
    } else {
        // col may lie far left of column 0, where the view stops anyway.
        const std::int64_t n = cursorCol - r;
        const int toColumnZero = cursorColumn() + 1;
        shiftLeft(n > toColumnZero ? toColumnZero : static_cast<int>(n));
    }
}

void shiftRight(int n) {
    // Never past document column 249, whatever n asks for.
    std::int64_t col = static_cast<std::int64_t>(cursorCol) + n;
    if (col > kLastCol - firstCol) col = kLastCol - firstCol;
    while (col >= viewCols()) {
        firstCol += viewStep();
        col -= viewStep();
    }
    cursorSet(static_cast<int>(col), cursorRow);
    invalidateAll();
}

void shiftLeft(int n) {
    std::int64_t col = static_cast<std::int64_t>(cursorCol) - n;
    while (firstCol > 0 && col < 0) {
        // The cursor moves by as much as the view did: a view stopped short of
        // a full step at column 0 keeps the cursor on its document column.
        const int step = firstCol < viewStep() ? firstCol : viewStep();
        firstCol -= step;
        col += step;
    }
    cursorSet(col < 0 ? 0 : static_cast<int>(col > kLastCol ? kLastCol : col), cursorRow);
    invalidateAll();
}

void viewRight() {
    int limit = kLastCol - viewCols();
    if (limit < 0) limit = 0;
    const int next = firstCol + viewStep() < limit ? firstCol + viewStep() : limit;
    if (next > firstCol) firstCol = next;  // never moves the view left
    invalidateAll();
}

void viewLeft() {
    firstCol = firstCol > viewStep() ? firstCol - viewStep() : 0;
    invalidateAll();
}

// --- Keys the tools press ---------------------------------------------------------

int lineInsertCounter = 0;

void countVerticalMove(int delta) {
    if (!lineInsertMode) return;
    lineInsertCounter += delta;
    if (lineInsertCounter < -5 || lineInsertCounter >= 3) lineInsertMode = 0;
}

void cursorLineDown() {
    countVerticalMove(+1);
    if (cursorRow < lastRow()) {
        cursorSet(cursorCol, cursorRow + 1);
    } else {
        scrollViewDownAlways();
    }
}

void deleteCharLeft() {
    const int p = cursorColumn();
    if (p == 0) return;
    cursorToColumn(p - 1);
    deleteChars(1);
}

// --- Scrolling by a line ----------------------------------------------------------

int scrollViewUp() {
    if (aboveCountGet() <= 0) return 0;
    clearInlineMark();
    LineRecord line;
    rowGet(lastRow(), &line);
    if (pushBelow(&line) != 0) {
        editRefused();
        return -1;
    }
    rowClear(lastRow());  // the row went below; no stale copy stays behind the window
    rowsScrollDown();
    popAbove(&line);
    rowPut(0, &line);
    topLine = aboveCountGet();
    invalidateAll();
    return 0;
}

int scrollViewDown() {
    if (belowCountGet() <= 0) return 0;
    return scrollDownOneLine(true);
}

int scrollViewDownAlways() { return scrollDownOneLine(false); }

int nextLine() {
    if (cursorRow >= lastRow()) {
        if (scrollViewDownAlways() != 0) return -1;
    } else {
        cursorSet(cursorCol, cursorRow + 1);
    }
    if (!autoIndent) {
        cursorToColumn(0);
        return 0;
    }
    int col = 0;
    LineRecord line;
    for (int r = cursorRow; r >= 0; --r) {
        if (!rowGet(r, &line)) continue;
        col = firstTextColumn(line.text);
        if (col < 0) col = 0;
        const char opener = line.text[col];
        if (r != cursorRow && (opener == '{' || opener == '[' || opener == '(')) col += indentStep;
        break;
    }
    cursorToColumn(col > kLastCol ? kLastCol : col);
    return 0;
}
