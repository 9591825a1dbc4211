// The in-line mark, the mouse and the context menus: the mark state, the
// whole-document walks that set, clear, copy, blank and delete the marked
// columns, and the mouse handlers.
#include "view/marking.h"

#include <cstdint>
#include <cstring>

#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/messages.h"
#include "support/platform.h"
#include "view/editing.h"
#include "view/refresh.h"
#include "view/textview.h"

namespace {

constexpr int kBlockBytes = kMarkTextMax + 1;  // the clipboard block: the text and its NUL
constexpr int kNotch = 120;                    // wheel delta of one notch
constexpr int kWheelLines = 5;                 // lines scrolled per notch

// The mark and the mouse (all process-wide).
struct Marking {
    int active = 0;
    std::int32_t startLine = 0, endLine = 0;  // document lines where the mark began and ends now
    std::int32_t startCol = 0, endCol = 0;    // document columns likewise
    // The cursor before the current key or drag.
    std::int32_t anchorCol = 0, anchorFirstCol = 0, anchorRow = 0, anchorTop = 0;
    int mouseCaptured = 0;
    int dragging = 0;
    int menuX = 0, menuY = 0;  // where the right button went down last
};
Marking mk;

int limited(int n, int low, int high) { return n < low ? low : (n > high ? high : n); }
int rowsInUse() { return limited(windowRows, 1, kWindowRowsMax); }
int colsInUse() { return limited(windowCols, 1, kLineChars); }

std::int32_t cursorLine() { return topLine + cursorRow; }
std::int32_t cursorColumn() { return firstCol + cursorCol; }
std::int32_t anchorLine() { return mk.anchorTop + mk.anchorRow; }
std::int32_t anchorColumn() { return mk.anchorFirstCol + mk.anchorCol; }

// A column as a line record keeps it.
unsigned char markColumn(std::int32_t col) { return static_cast<unsigned char>(limited(col, 0, kLineChars)); }

// The first marked column and the column after the mark of a line; false
// when the line carries no mark.
bool lineSpan(const LineRecord& line, int* from, int* to) {
    if (line.markFrom == line.markTo) return false;
    const int a = line.markFrom < line.markTo ? line.markFrom : line.markTo;
    const int b = line.markFrom < line.markTo ? line.markTo : line.markFrom;
    *from = a;
    *to = b > kLineChars ? kLineChars : b;
    return *from < *to;
}

void repaintCursorRow() {
    beginRowPaint();
    repaintRow(cursorRow);
    endRowPaint();
}

// The cursor row's mark columns set and the row repainted.
void setCursorRowMark(std::int32_t from, std::int32_t to) {
    LineRecord row;
    rowGetRaw(cursorRow, &row);
    row.markFrom = markColumn(from);
    row.markTo = markColumn(to);
    rowPut(cursorRow, &row);
    repaintCursorRow();
}

// True when the mark is a one-line mark on the cursor's line.
bool markOnCursorLine() {
    return mk.active && mk.startLine == mk.endLine && mk.startLine == cursorLine();
}

// --- Walking every line in place ------------------------------------------------------
// The mark columns change, the texts do not: the lines are visited where they
// lie (above, window rows, below) and the window stays as it is.

// Gives each line, numbered from 0 in document order, to fn.
struct NumberedWalk {
    std::int32_t line = 0;
    void (*fn)(LineRecord* line, std::int32_t number, void* user) = nullptr;
    void* user = nullptr;
};

int numberedVisitor(LineRecord* line, void* user) {
    NumberedWalk* walk = static_cast<NumberedWalk*>(user);
    walk->fn(line, walk->line++, walk->user);
    return 1;
}

// Every line in document order; rows beyond the window are no lines and get
// number -1. The rows are written back only when fn changed them.
void walkInPlace(void (*fn)(LineRecord*, std::int32_t, void*), void* user) {
    NumberedWalk walk;
    walk.fn = fn;
    walk.user = user;
    visitAbove(numberedVisitor, &walk);
    walk.line = aboveCountGet();
    const int rows = rowsInUse();
    for (int r = 0; r < kWindowRowsMax; ++r) {
        LineRecord row;
        rowGetRaw(r, &row);
        const LineRecord before = row;
        fn(&row, r < rows ? walk.line + r : -1, user);
        if (std::memcmp(&row, &before, sizeof row) != 0) rowPut(r, &row);
    }
    walk.line = aboveCountGet() + rows;
    visitBelow(numberedVisitor, &walk);
}

void clearColumns(LineRecord* line, std::int32_t, void*) {
    line->markFrom = 0;
    line->markTo = 0;
}

void applyColumns(LineRecord* line, std::int32_t number, void*) {
    const std::int32_t low = mk.startLine < mk.endLine ? mk.startLine : mk.endLine;
    const std::int32_t high = mk.startLine < mk.endLine ? mk.endLine : mk.startLine;
    if (number >= low && number <= high) {
        line->markFrom = markColumn(mk.startCol);
        line->markTo = markColumn(mk.endCol);
    } else {
        line->markFrom = 0;
        line->markTo = 0;
    }
}

// --- Collecting the marked text -----------------------------------------------------------

// The marked columns of every marked line, bounded by the block.
struct Collection {
    char* text = nullptr;
    int length = 0;
    int pieces = 0;
    bool overflow = false;

    void append(const char* s, int n) {
        if (overflow || length + n > kMarkTextMax) {
            overflow = true;
            return;
        }
        std::memcpy(text + length, s, static_cast<std::size_t>(n));
        length += n;
    }
};

void collectLine(LineRecord* line, std::int32_t number, void* user) {
    int from = 0, to = 0;
    if (number < 0 || !lineSpan(*line, &from, &to)) return;
    Collection* c = static_cast<Collection*>(user);
    if (c->pieces++ > 0) c->append("\r\n", 2);
    // A line shorter than the mark counts as padded with blanks to its right column.
    char piece[kLineChars];
    const int n = static_cast<int>(std::strlen(line->text));
    for (int col = from; col < to; ++col) piece[col - from] = col < n ? line->text[col] : ' ';
    c->append(piece, to - from);
}

// The marked text into the block; false (and the user told) when it does not fit.
bool collectMarkedText(Collection* c) {
    walkInPlace(collectLine, c);
    if (c->pieces > 1) c->append("\r\n", 2);
    if (c->overflow) {
        message_box_fmt("%s", markTooLargeText);
        return false;
    }
    c->text[c->length] = '\0';
    return true;
}

char* takeBlock() { return static_cast<char*>(fmalloc_scratch(kBlockBytes, 1)); }

// --- Rewriting the marked lines ------------------------------------------------------------
// Blanking and deleting shorten texts, and the stacks keep texts trimmed: so
// the lines go through the stacks once, each popped, changed and pushed
// again. A changed line is never longer than it was, so every push fits.

using LineEdit = void (*)(LineRecord* line);

// A push stores the text as it stands: what blanking or deleting left at the
// line's end goes, as every row read would have taken it.
void trimEnd(LineRecord* line) { line->text[textTrimmedLength(line->text)] = '\0'; }

// The marked columns become blanks (a shorter line as if padded first).
void blankMarked(LineRecord* line) {
    int from = 0, to = 0;
    if (lineSpan(*line, &from, &to)) {
        const int n = static_cast<int>(std::strlen(line->text));
        for (int col = from; col < to && col < n; ++col) line->text[col] = ' ';
        trimEnd(line);
    }
    line->markFrom = 0;
    line->markTo = 0;
}

// The marked characters are removed; the rest of the line moves left.
void deleteMarked(LineRecord* line) {
    int from = 0, to = 0;
    if (lineSpan(*line, &from, &to)) {
        const int n = static_cast<int>(std::strlen(line->text));
        if (from < n) {
            const int end = to < n ? to : n;
            std::memmove(line->text + from, line->text + end, static_cast<std::size_t>(n - end + 1));
            trimEnd(line);
        }
    }
    line->markFrom = 0;
    line->markTo = 0;
}

// Every line of the document through edit, the window showing the same lines
// afterwards. 0, or -1 when the rows could not be flushed (nothing changed,
// the user told).
int rewriteLines(LineEdit edit) {
    const int keep = limited(cursorRow, 0, rowsInUse() - 1);
    if (flushRowsAbove(keep) != 0) {
        editRefused();
        return -1;
    }
    if (flushRowsBelow(keep) != 0) {
        fillRowsFromAbove(keep);
        editRefused();
        return -1;
    }
    if (storeFreeBytes() < 1) {
        // Without a free byte a popped line could not be pushed again.
        fillRowsFromAbove(keep);
        fillRowsFromBelow(keep);
        editRefused();
        return -1;
    }
    const std::int32_t above = aboveCountGet();  // the lines before the cursor row
    moveAllBelow();  // may drop blank lines at the document's end
    LineRecord line;
    while (popBelow(&line) == 0) {
        edit(&line);
        // Never longer than before, and at least one byte was free: it fits.
        if (pushAbove(&line) != 0) {
            pushBelow(&line);
            break;
        }
    }
    // The same number of lines above the cursor row as before.
    while (aboveCountGet() > above && popAbove(&line) == 0) {
        if (pushBelow(&line) != 0) {
            pushAbove(&line);
            break;
        }
    }
    LineRecord blank;
    lineInit(&blank);
    while (aboveCountGet() < above && pushAbove(&blank) == 0) {
    }
    fillRowsFromAbove(keep);
    fillRowsFromBelow(keep);
    topLine = aboveCountGet();
    invalidateAll();
    return 0;
}

// --- The mouse -----------------------------------------------------------------------------

// A coordinate word of a mouse message, signed.
int signedWord(int v) { return static_cast<std::int16_t>(static_cast<std::uint16_t>(v & 0xFFFF)); }

void placeCursor(int col, int row) {
    cursorSet(col, row);
    refreshAll();
}

}  // namespace

MarkInfo markInfo() {
    return MarkInfo{mk.active,    mk.startLine,      mk.endLine,   mk.startCol,      mk.endCol,   mk.anchorCol,
                    mk.anchorFirstCol, mk.anchorRow, mk.anchorTop, mk.mouseCaptured, mk.dragging};
}

// --- The mark ------------------------------------------------------------------

void markReset() {
    const int captured = mk.mouseCaptured;
    const int dragging = mk.dragging;
    const int x = mk.menuX, y = mk.menuY;
    mk = Marking{};
    // The mouse is not part of the mark: a drag in progress goes on.
    mk.mouseCaptured = captured;
    mk.dragging = dragging;
    mk.menuX = x;
    mk.menuY = y;
}

int markActiveGet() { return mk.active; }

int markLineCount() {
    if (!mk.active) return 0;
    const std::int32_t d = mk.endLine - mk.startLine;
    return (d < 0 ? -d : d) + 1;
}

void markAnchorSet() {
    mk.anchorCol = cursorCol;
    mk.anchorFirstCol = firstCol;
    mk.anchorRow = cursorRow;
    mk.anchorTop = topLine;
}

void markClear() {
    if (!mk.active) return;
    walkInPlace(clearColumns, nullptr);
    topLine = aboveCountGet();
    invalidateAll();
    markReset();
}

void markApply() {
    walkInPlace(applyColumns, nullptr);
    topLine = aboveCountGet();
    invalidateAll();
}

void markSetInLine(int from, int to) {
    mk.active = 1;
    mk.startLine = mk.endLine = cursorLine();
    mk.startCol = from;
    mk.endCol = to;
    setCursorRowMark(from, to);
}

void selectWordAtCursor() {
    markClear();
    std::int32_t from = 0, to = 0;
    // No word, no mark: an empty mark would only make Ctrl+C empty the clipboard.
    if (wordSpanAtCursor(&from, &to) > 0) markSetInLine(from, to);
}

void markingUpdate(bool extend) {
    const std::int32_t p = cursorColumn();
    const std::int32_t l = cursorLine();
    const bool sameLine = l == anchorLine();
    if (sameLine && p == anchorColumn()) return;
    if (!extend) {
        markClear();
        return;
    }
    if (mk.active) {
        if (!sameLine) {
            mk.endLine = l;  // the columns stay: a vertical move extends the block
            markApply();
            return;
        }
        mk.endCol = p;
        if (l != mk.startLine) {
            markApply();
        } else {
            setCursorRowMark(mk.startCol, p);
        }
        return;
    }
    if (!sameLine) return;  // a vertical Shift move without a mark makes none
    mk.active = 1;
    mk.startLine = mk.endLine = l;
    mk.startCol = anchorColumn();
    mk.endCol = p;
    setCursorRowMark(mk.startCol, p);
}

void markExtendTo() {
    const std::int32_t p = cursorColumn();
    const std::int32_t l = cursorLine();
    if (l == anchorLine() && p == anchorColumn()) return;
    if (mk.active) {
        // Only a mark that was and stays in one line may change one row: one
        // that covered other lines must be taken off them.
        const bool wasOneLine = mk.endLine == mk.startLine;
        mk.endLine = l;
        mk.endCol = p;
        if (wasOneLine && l == mk.startLine && l == anchorLine()) {
            setCursorRowMark(mk.startCol, p);
        } else {
            markApply();
        }
        return;
    }
    mk.active = 1;
    mk.startLine = anchorLine();
    mk.endLine = l;
    mk.startCol = anchorColumn();
    mk.endCol = p;
    markApply();
}

// --- Taking the marked text --------------------------------------------------------

int markedText(char* buf, int bufSize) {
    if (buf == nullptr || bufSize < 1) return 0;
    buf[0] = '\0';
    if (!markOnCursorLine()) return 0;
    LineRecord row;
    rowGetRaw(cursorRow, &row);
    int from = 0, to = 0;
    if (lineSpan(row, &from, &to)) {
        int n = to - from;
        if (n > bufSize - 1) n = bufSize - 1;
        std::memcpy(buf, row.text + from, static_cast<std::size_t>(n));
        buf[n] = '\0';
    }
    row.markFrom = row.markTo = 0;
    rowPut(cursorRow, &row);
    repaintCursorRow();
    markReset();
    return 1;
}

int markDeleteSpan(bool copy) {
    if (!markOnCursorLine()) {
        if (markLineCount() == 1) markClear();
        return -1;
    }
    LineRecord row;
    rowGetRaw(cursorRow, &row);
    int from = 0, to = 0;
    const bool marked = lineSpan(row, &from, &to);
    if (marked && copy) {  // the text leaves the line only once the clipboard holds it
        char text[kLineChars + 1];
        std::memcpy(text, row.text + from, static_cast<std::size_t>(to - from));
        text[to - from] = '\0';
        if (!clip_put_or_tell(text)) return -2;
    }
    row.markFrom = row.markTo = 0;
    rowPut(cursorRow, &row);
    markReset();
    if (!marked) {
        repaintCursorRow();
        return 0;
    }
    cursorToColumn(from);
    deleteChars(to - from);
    return 0;
}

int markCopy() {
    Collection c;
    c.text = takeBlock();
    if (c.text == nullptr) return -1;
    if (!collectMarkedText(&c) || !clip_put_or_tell(c.text)) {
        ffree(c.text);
        return -1;
    }
    ffree(c.text);
    walkInPlace(clearColumns, nullptr);
    topLine = aboveCountGet();
    invalidateAll();
    markReset();
    return 0;
}

int markCut() {
    Collection c;
    c.text = takeBlock();
    if (c.text == nullptr) return -1;
    // The text leaves the lines only once the clipboard holds it.
    const bool cut = collectMarkedText(&c) && clip_put_or_tell(c.text) && rewriteLines(blankMarked) == 0;
    ffree(c.text);
    if (!cut) return -1;
    markReset();
    modified = 1;
    return 0;
}

int markBlank() {
    if (rewriteLines(blankMarked) != 0) return -1;
    markReset();
    modified = 1;
    return 0;
}

int markDelete() {
    if (rewriteLines(deleteMarked) != 0) return -1;
    markReset();
    modified = 1;
    return 0;
}

// --- The context menus --------------------------------------------------------------

void contextMenu(bool atMouse) {
    const char* menu = mk.active ? kMenuWithMark : kMenuWithoutMark;
    int x = mk.menuX, y = mk.menuY;
    if (!atMouse) {
        // The cell right of the cursor.
        const PixelRect cell = cellRect(cursorCol + 1, cursorRow, 1, 1);
        x = cell.left;
        y = cell.top;
    }
    const int command = plat_context_menu(menu, x, y);
    if (command != 0) plat_post_command(command, 0);
}

// --- The mouse ---------------------------------------------------------------------

void mouseCell(int x, int y, int* col, int* row) {
    const int width = charWidth > 0 ? charWidth : 1;
    const int height = lineHeight > 0 ? lineHeight : 1;
    // Left of or above the first cell (negative) the division gives 0 or less.
    *col = limited((signedWord(x) - kCellLeft) / width, 0, colsInUse() - 1);
    *row = limited((signedWord(y) - kCellTop) / height, 0, rowsInUse() - 1);
}

bool mouseLeftDown(int x, int y, bool shift) {
    mk.mouseCaptured = 1;
    if (!shift) {
        markClear();
    } else if (!mk.active) {
        markAnchorSet();
    }
    int col = 0, row = 0;
    mouseCell(x, y, &col, &row);
    placeCursor(col, row);
    if (shift) markExtendTo();
    return true;
}

void mouseMove(int x, int y, bool leftDown) {
    if (!mk.mouseCaptured) return;
    mk.dragging = leftDown ? 1 : 0;
    if (!mk.dragging) return;
    if (!mk.active) markAnchorSet();  // where the button went down
    int col = 0, row = 0;
    mouseCell(x, y, &col, &row);
    placeCursor(col, row);
    markExtendTo();
}

bool mouseLeftUp() {
    const bool release = mk.mouseCaptured != 0;
    mk.mouseCaptured = 0;
    // Only the drag's own mark is extended: when a key has taken it meanwhile,
    // the anchor is no longer where the button went down.
    if (mk.dragging && mk.active) markExtendTo();
    mk.dragging = 0;
    return release;
}

void mouseDoubleClick(int x, int y) {
    int col = 0, row = 0;
    mouseCell(x, y, &col, &row);
    if (col != cursorCol || row != cursorRow) return;
    selectWordAtCursor();
    refreshAll();
}

void mouseRightDown(int x, int y) {
    mk.menuX = signedWord(x);
    mk.menuY = signedWord(y);
    contextMenu(true);
}

void mouseWheel(int delta, bool shift) {
    const int notches = delta / kNotch;  // toward zero: a fine wheel's part notch does nothing
    const int count = notches < 0 ? -notches : notches;
    for (int i = 0; i < count; ++i) {
        if (shift) {
            if (notches > 0) viewLeft(); else viewRight();
        } else {
            for (int j = 0; j < kWheelLines; ++j) {
                if (notches > 0) scrollViewUp(); else scrollViewDown();
            }
        }
    }
    refreshAll();
}
