// The line store: a gap buffer of packed lines around the window rows.
#include "document/linestore.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "support/platform.h"
#include "support/strfunc.h"

std::int32_t topLine = 0;
std::int32_t cursorRow = 0;
std::int32_t cursorCol = 0;
std::int32_t firstCol = 0;
std::int32_t windowCols = 0;
std::int32_t windowRows = 0;

namespace {

constexpr int kRecordOverhead = 5;  // size byte, three header bytes, size byte
constexpr int kSizeBias = 3;        // the size byte holds n + 3
constexpr int kCursorOffset = 4;    // gotoLine shows its line this many rows down

struct SavedPosition {
    std::int32_t topLine;
    std::int32_t cursorRow;
    std::int32_t firstCol;
    std::int32_t cursorCol;
};

// The document. The above stack holds its lines in document order from
// offset 0 up to aboveTop; the below stack holds its lines in document order
// from belowStart to the end of the area, the line just below the window
// first. The window rows stand between the two.
struct LineStore {
    unsigned char* lineArea = nullptr;  // the packed lines; null before storeCreate
    std::uint32_t lineAreaSize = 0;     // kLineAreaSize once allocated
    std::uint32_t aboveTop = 0;         // first free byte above the above stack
    std::uint32_t belowStart = 0;       // first byte of the below stack
    std::int32_t aboveCount = 0;        // lines in the above stack
    std::int32_t belowCount = 0;        // lines in the below stack
    LineRecord* windowLines = nullptr;  // the 100 window rows; null before windowCreate
    // Each row's trimmed length and their sum, kept as the rows are written:
    // the edit guard asks for the sum on every key of a nearly full store.
    std::array<std::int16_t, kWindowRowsMax> rowLengths{};
    std::int32_t rowLengthSum = 0;
    // Remembered positions: slot 0 the newer, slot 1 the older. A slot whose
    // topLine and cursorRow are both 0 is empty.
    std::array<SavedPosition, 2> savedPositions{};
};

LineStore store;

// --- Small helpers ------------------------------------------------------------

int clampInt(std::int64_t v, int lo, int hi) {
    if (v < lo) return lo;
    if (v > hi) return hi;
    return static_cast<int>(v);
}

int rowsInUse() { return clampInt(windowRows, 1, kWindowRowsMax); }
int colsInUse() { return clampInt(windowCols, 1, kLineChars); }

int byteAt(const char* s, int i) { return static_cast<unsigned char>(s[i]); }

// Row r of the window array, or null when there is none.
LineRecord* rowAt(int r) {
    if (store.windowLines == nullptr || r < 0 || r >= kWindowRowsMax) return nullptr;
    return &store.windowLines[r];
}

// The length of a line's text, never more than 250 (a text without a NUL in
// its first 250 characters counts as 250).
int textLength(const LineRecord& line) {
    const void* nul = std::memchr(line.text, '\0', kLineChars);
    return nul != nullptr ? static_cast<int>(static_cast<const char*>(nul) - line.text) : kLineChars;
}

// The length of a row's text without its trailing white space. Rows are
// padded with blanks, so runs of eight blanks are skipped at once.
int trimmedLength(const LineRecord& row) { return textTrimmedLength(row.text); }

void setEmptyLine(LineRecord* line) {
    line->markState = '0';
    line->markFrom = 0;
    line->markTo = 0;
    line->text[0] = '\0';
}

std::uint32_t freeBytes() { return store.belowStart - store.aboveTop; }

// True when records of these many bytes in all can be pushed one after
// another: each push needs more free space than its record.
bool fitsInStore(std::uint32_t bytes) { return bytes == 0 || freeBytes() > bytes; }

// --- Packed records -----------------------------------------------------------

std::uint32_t recordSize(const unsigned char* record) {
    return static_cast<std::uint32_t>(record[0]) + 2;
}

int recordTextLength(const unsigned char* record) {
    return clampInt(static_cast<int>(record[0]) - kSizeBias, 0, kLineChars);
}

// Line texts are copied with mem_move: the compiler would inline a copy of
// unknown length as a string instruction, which is slow for short lines.

// The mark bytes of a record.
struct Marks {
    char state;
    unsigned char from, to;
};
constexpr Marks kUnmarked{'0', 0, 0};
Marks marksOf(const LineRecord& line) { return {line.markState, line.markFrom, line.markTo}; }

// Writes the record of a text n characters long; its size.
std::uint32_t packText(unsigned char* dst, const char* text, int n, Marks marks) {
    const auto sizeByte = static_cast<unsigned char>(n + kSizeBias);
    dst[0] = dst[4 + n] = sizeByte;  // both before the copy: nothing has to outlive the call
    dst[1] = static_cast<unsigned char>(marks.state);
    dst[2] = marks.from;
    dst[3] = marks.to;
    mem_move(text, dst + 4, n);
    return static_cast<std::uint32_t>(n + kRecordOverhead);
}

std::uint32_t packLine(unsigned char* dst, const LineRecord& line, int n) {
    return packText(dst, line.text, n, marksOf(line));
}

void unpackLine(const unsigned char* src, LineRecord* line) {
    const int n = recordTextLength(src);
    line->markState = static_cast<char>(src[1]);
    line->markFrom = src[2];
    line->markTo = src[3];
    mem_move(src + 4, line->text, n);
    line->text[n] = '\0';
}

bool recordIsBlank(const unsigned char* record) {
    return is_blank_n(reinterpret_cast<const char*>(record + 4), recordTextLength(record));
}

// Writes a visited line back into its record without changing the record's
// size: a text made shorter is filled up with blanks. An unchanged line (the
// usual case: saving, searching, counting) is not written at all.
void repackVisited(unsigned char* record, const LineRecord& line) {
    const int n = recordTextLength(record);
    if (record[1] == static_cast<unsigned char>(line.markState) && record[2] == line.markFrom &&
        record[3] == line.markTo && std::memcmp(record + 4, line.text, static_cast<std::size_t>(n)) == 0) {
        return;  // records never hold a NUL, so the text has its old length too
    }
    const void* nul = std::memchr(line.text, '\0', static_cast<std::size_t>(n));
    const int kept = nul != nullptr ? static_cast<int>(static_cast<const char*>(nul) - line.text) : n;
    record[1] = static_cast<unsigned char>(line.markState);
    record[2] = line.markFrom;
    record[3] = line.markTo;
    mem_move(line.text, record + 4, kept);
    if (kept < n) std::memset(record + 4 + kept, ' ', static_cast<std::size_t>(n - kept));
}

// Calls fn for each record in [from, to); false when fn stopped the walk.
bool visitRecords(std::uint32_t from, std::uint32_t to, LineVisitor fn, void* user) {
    if (fn == nullptr) return true;
    LineRecord line;
    for (std::uint32_t at = from; at < to;) {
        unsigned char* record = store.lineArea + at;
        const std::uint32_t size = recordSize(record);  // as it was before the call
        unpackLine(record, &line);
        if (fn(&line, user) == 0) return false;
        repackVisited(record, line);
        at += size;
    }
    return true;
}

// Calls fn for each record in [from, to), reading the text in place; only
// the marks are written back. False when fn stopped the walk.
bool viewRecords(std::uint32_t from, std::uint32_t to, LineViewer fn, void* user) {
    if (fn == nullptr) return true;
    LineView line;
    for (std::uint32_t at = from; at < to; at += recordSize(store.lineArea + at)) {
        unsigned char* record = store.lineArea + at;
        line.markState = static_cast<char>(record[1]);
        line.markFrom = record[2];
        line.markTo = record[3];
        line.length = recordTextLength(record);
        line.text = reinterpret_cast<const char*>(record + 4);
        if (fn(&line, user) == 0) return false;
        record[1] = static_cast<unsigned char>(line.markState);
        record[2] = line.markFrom;
        record[3] = line.markTo;
    }
    return true;
}

// The front k records of the below stack, bytes long, go above.
void moveFrontRecords(std::int32_t k, std::uint32_t bytes) {
    if (bytes > 0) std::memmove(store.lineArea + store.aboveTop, store.lineArea + store.belowStart, bytes);
    store.aboveTop += bytes;
    store.belowStart += bytes;
    store.aboveCount += k;
    store.belowCount -= k;
}

// --- Rows ---------------------------------------------------------------------

void clearRecord(LineRecord* row) {
    row->markState = '0';
    row->markFrom = 0;
    row->markTo = 0;
    str_fill(row->text, kLineChars, ' ');
}

// Each row's trimmed length is kept as the row is written, so that reading,
// pushing and measuring the rows never has to look for a row's end again.
int keptLength(int r) { return store.rowLengths[static_cast<std::size_t>(r)]; }

void setKeptLength(int r, int n) {
    store.rowLengthSum += n - store.rowLengths[static_cast<std::size_t>(r)];
    store.rowLengths[static_cast<std::size_t>(r)] = static_cast<std::int16_t>(n);
}

// Row r was written: its trimmed length noted.
void rowWritten(int r) { setKeptLength(r, trimmedLength(store.windowLines[r])); }

// Moves count rows starting at row from to row to (overlap allowed).
void moveRows(int from, int to, int count) {
    if (count <= 0) return;
    std::memmove(&store.windowLines[to], &store.windowLines[from],
                 static_cast<std::size_t>(count) * sizeof(LineRecord));
    std::memmove(&store.rowLengths[static_cast<std::size_t>(to)], &store.rowLengths[static_cast<std::size_t>(from)],
                 static_cast<std::size_t>(count) * sizeof(std::int16_t));
    store.rowLengthSum = 0;
    for (const std::int16_t n : store.rowLengths) store.rowLengthSum += n;
}

// The packed bytes that pushing rows first..last-1 above would take.
std::uint32_t rowsBytesAbove(int first, int last) {
    std::uint32_t bytes = 0;
    for (int r = first; r < last; ++r) {
        bytes += static_cast<std::uint32_t>(keptLength(r) + kRecordOverhead);
    }
    return bytes;
}

// The packed bytes that pushing rows last-1 down to first below would take,
// leaving out the blank rows that an empty below stack drops.
std::uint32_t rowsBytesBelow(int first, int last) {
    std::uint32_t bytes = 0;
    bool belowEmpty = store.belowCount == 0;
    for (int r = last - 1; r >= first; --r) {
        const int n = keptLength(r);
        if (belowEmpty && n == 0) continue;
        belowEmpty = false;
        bytes += static_cast<std::uint32_t>(n + kRecordOverhead);
    }
    return bytes;
}

void pushRowAbove(int r) {
    LineRecord line;
    rowGet(r, &line);
    pushAbove(&line);  // fits: the caller has added up the sizes
    rowClear(r);
}

void pushRowBelow(int r) {
    LineRecord line;
    rowGet(r, &line);
    pushBelow(&line);  // fits: the caller has added up the sizes
    rowClear(r);
}

// Index of the last row in 0..rows-1 with text, or -1.
int lastTextRow(int rows) {
    for (int r = rows - 1; r >= 0; --r) {
        if (keptLength(r) > 0) return r;
    }
    return -1;
}

// --- Navigation ---------------------------------------------------------------

// Shows document line target in window row wantedRow, as near as the
// document and the window allow: past the end stands for the last line, and
// a row beyond the window moves the window top down instead.
int showLine(std::int64_t target, std::int64_t wantedRow) {
    if (flushWindowBelow() != 0) return -1;
    moveAllBelow();
    const std::int32_t lines = store.belowCount;  // the whole document lies below now
    const int line = clampInt(target, 0, lines > 0 ? lines - 1 : 0);
    int row = clampInt(wantedRow, 0, rowsInUse() - 1);
    if (row > line) row = line;
    moveBelowToAbove(line - row);
    topLine = store.aboveCount;
    cursorRow = row;
    fillWindowFromBelow();
    plat_repaint_view();
    return 0;
}

bool slotEmpty(const SavedPosition& slot) { return slot.topLine == 0 && slot.cursorRow == 0; }

// Puts the cursor's document column p back within the window: when the
// window has become narrower, the horizontal offset moves instead.
void restoreColumns(const SavedPosition& slot) {
    const int p = clampInt(static_cast<std::int64_t>(slot.firstCol) + slot.cursorCol, 0, kLineChars - 1);
    const int col = clampInt(slot.cursorCol, 0, colsInUse() - 1);
    cursorCol = col <= p ? col : p;
    firstCol = p - cursorCol;
}

// --- Words --------------------------------------------------------------------

bool isTokenChar(int ch) {
    ch &= 0xFF;
    return ch != ' ' && ch != '\'' && ch != '"';
}

// The cursor's document column, 0..250.
int cursorColumn() { return clampInt(static_cast<std::int64_t>(firstCol) + cursorCol, 0, kLineChars); }

// The current row, trimmed.
int currentRowText(LineRecord* line) {
    rowGet(clampInt(cursorRow, 0, rowsInUse() - 1), line);
    return textLength(*line);
}

// The span of the word at or right of column p: delimiters at p are skipped
// rightwards, a word through p is taken from its start.
int spanAt(const LineRecord& line, int len, int p, bool (*inWord)(int), int* from, int* to) {
    *from = *to = p;
    if (p >= len) return 0;
    int start = p;
    if (inWord(byteAt(line.text, p))) {
        while (start > 0 && inWord(byteAt(line.text, start - 1))) --start;
    }
    while (start < len && !inWord(byteAt(line.text, start))) ++start;
    int end = start;
    while (end < len && inWord(byteAt(line.text, end))) ++end;
    *from = start;
    *to = end;
    return end - start;
}

// Copies text[from, to) into buf of bufSize bytes, cut to fit.
void copyWord(char* buf, int bufSize, const char* text, int from, int to) {
    if (buf == nullptr || bufSize < 1) return;
    int n = to - from;
    if (n > bufSize - 1) n = bufSize - 1;
    if (n < 0) n = 0;
    std::memcpy(buf, text + from, static_cast<std::size_t>(n));
    buf[n] = '\0';
}

int pickAtCursor(char* buf, int bufSize, bool (*inWord)(int)) {
    LineRecord line;
    const int len = currentRowText(&line);
    int from = 0;
    int to = 0;
    const int n = spanAt(line, len, cursorColumn(), inWord, &from, &to);
    copyWord(buf, bufSize, line.text, from, to);
    return n;
}

// --- Allocation -------------------------------------------------------------

unsigned char* allocateLineArea() {
    return static_cast<unsigned char*>(std::calloc(kLineAreaSize, 1));
}

LineRecord* allocateWindowRows() {
    return static_cast<LineRecord*>(std::calloc(kWindowRowsMax, sizeof(LineRecord)));
}

}  // namespace

// --- The packed-line area -----------------------------------------------------

bool storeCreate() {
    if (store.lineArea == nullptr) {
        store.lineArea = allocateLineArea();
        if (store.lineArea == nullptr) return false;
    }
    store.lineAreaSize = kLineAreaSize;
    storeReset();
    return true;
}

void storeDestroy() {
    std::free(store.lineArea);
    store.lineArea = nullptr;
    store.lineAreaSize = 0;
    storeReset();
}

void storeReset() {
    store.aboveTop = 0;
    store.belowStart = store.lineAreaSize;
    store.aboveCount = 0;
    store.belowCount = 0;
}

std::uint32_t storeFreeBytes() { return freeBytes(); }

bool storeHasRoom(int k) { return static_cast<std::int64_t>(freeBytes()) > static_cast<std::int64_t>(k) * 1000; }

std::int32_t aboveCountGet() { return store.aboveCount; }
std::int32_t belowCountGet() { return store.belowCount; }

int pushAbove(const LineRecord* line) {
    if (line == nullptr) return -1;
    const int n = textLength(*line);
    if (!fitsInStore(static_cast<std::uint32_t>(n + kRecordOverhead))) return -1;
    store.aboveTop += packLine(store.lineArea + store.aboveTop, *line, n);
    ++store.aboveCount;
    return 0;
}

int popAbove(LineRecord* line) {
    if (line == nullptr) return -1;
    if (store.aboveCount == 0) {
        setEmptyLine(line);
        return -1;
    }
    const std::uint32_t size = static_cast<std::uint32_t>(store.lineArea[store.aboveTop - 1]) + 2;
    store.aboveTop -= size;
    unpackLine(store.lineArea + store.aboveTop, line);
    --store.aboveCount;
    return 0;
}

int pushBelow(const LineRecord* line) {
    if (line == nullptr) return -1;
    const int n = textLength(*line);
    if (store.belowCount == 0 && is_blank_n(line->text, n)) return 0;  // no blank lines at the end
    const auto size = static_cast<std::uint32_t>(n + kRecordOverhead);
    if (!fitsInStore(size)) return -1;
    store.belowStart -= size;
    packLine(store.lineArea + store.belowStart, *line, n);
    ++store.belowCount;
    return 0;
}

int popBelow(LineRecord* line) {
    if (line == nullptr) return -1;
    if (store.belowCount == 0) {
        setEmptyLine(line);
        return -1;
    }
    const unsigned char* record = store.lineArea + store.belowStart;
    unpackLine(record, line);
    store.belowStart += recordSize(record);
    --store.belowCount;
    return 0;
}

bool visitAbove(LineVisitor fn, void* user) { return visitRecords(0, store.aboveTop, fn, user); }

bool visitBelow(LineVisitor fn, void* user) { return visitRecords(store.belowStart, store.lineAreaSize, fn, user); }

bool viewAbove(LineViewer fn, void* user) { return viewRecords(0, store.aboveTop, fn, user); }

bool viewBelow(LineViewer fn, void* user) { return viewRecords(store.belowStart, store.lineAreaSize, fn, user); }

int pushTextAbove(const char* text, int n) {
    if (text == nullptr || n < 0 || n > kLineChars) return -1;
    if (!fitsInStore(static_cast<std::uint32_t>(n + kRecordOverhead))) return -1;
    store.aboveTop += packText(store.lineArea + store.aboveTop, text, n, kUnmarked);
    ++store.aboveCount;
    return 0;
}

// --- The window rows ----------------------------------------------------------

bool windowCreate() {
    if (store.windowLines == nullptr) {
        store.windowLines = allocateWindowRows();
        if (store.windowLines == nullptr) return false;
    }
    rowsClearAll();
    return true;
}

void windowDestroy() {
    std::free(store.windowLines);
    store.windowLines = nullptr;
    store.rowLengths.fill(0);
    store.rowLengthSum = 0;
}

void rowsClearAll() {
    for (int r = 0; r < kWindowRowsMax; ++r) rowClear(r);
}

void rowClear(int r) {
    LineRecord* row = rowAt(r);
    if (row == nullptr) return;
    clearRecord(row);
    setKeptLength(r, 0);  // all blanks
}

bool rowGet(int r, LineRecord* line) {
    if (line == nullptr) return false;
    const LineRecord* row = rowAt(r);
    if (row == nullptr) {
        setEmptyLine(line);
        return false;
    }
    *line = *row;
    const int n = keptLength(r);
    line->text[n] = '\0';
    return n > 0;
}

void rowGetRaw(int r, LineRecord* line) {
    if (line == nullptr) return;
    const LineRecord* row = rowAt(r);
    if (row == nullptr) {
        setEmptyLine(line);
        return;
    }
    *line = *row;
}

void rowPut(int r, const LineRecord* line) {
    LineRecord* row = rowAt(r);
    if (row == nullptr || line == nullptr) return;
    *row = *line;
    row->text[kLineChars] = '\0';  // characters after the 250th are dropped
    str_pad(row->text, row->text, kLineChars);
    rowWritten(r);
}

void rowPutTrimmed(int r, const LineRecord* line, int trimmedLength) {
    LineRecord* row = rowAt(r);
    if (row == nullptr || line == nullptr) return;
    *row = *line;
    row->text[kLineChars] = '\0';
    setKeptLength(r, trimmedLength);
}

int rowTrimmedLength(int r) { return rowAt(r) != nullptr ? keptLength(r) : 0; }

void rowsScrollUp() { rowDelete(0); }

void rowsScrollDown() { rowInsert(0); }

void rowDelete(int r) {
    if (rowAt(r) == nullptr) return;
    moveRows(r + 1, r, kWindowRowsMax - 1 - r);
    rowClear(kWindowRowsMax - 1);
}

void rowInsert(int r) {
    if (rowAt(r) == nullptr) return;
    moveRows(r, r + 1, kWindowRowsMax - 1 - r);
    rowClear(r);
}

void lineInit(LineRecord* line) {
    if (line == nullptr) return;
    std::memset(line, 0, sizeof(LineRecord));
    line->markState = '0';
}

// --- Moving the gap -----------------------------------------------------------

int flushRowsAbove(int n) {
    if (store.windowLines == nullptr) return 0;
    n = clampInt(n, 0, rowsInUse());
    if (!fitsInStore(rowsBytesAbove(0, n))) return -1;
    for (int r = 0; r < n; ++r) pushRowAbove(r);
    return 0;
}

int flushWindowAbove() {
    if (store.windowLines == nullptr) return 0;
    const int rows = rowsInUse();
    const int pushed = store.belowCount == 0 ? lastTextRow(rows) + 1 : rows;
    if (!fitsInStore(rowsBytesAbove(0, pushed))) return -1;
    for (int r = 0; r < pushed; ++r) pushRowAbove(r);
    for (int r = pushed; r < rows; ++r) rowClear(r);
    return 0;
}

void fillRowsFromAbove(int n) {
    if (store.windowLines == nullptr) return;
    n = clampInt(n, 0, rowsInUse());
    LineRecord line;
    for (int r = n - 1; r >= 0; --r) {
        popAbove(&line);
        rowPut(r, &line);
    }
}

int flushRowsBelow(int r) {
    if (store.windowLines == nullptr) return 0;
    const int rows = rowsInUse();
    r = clampInt(r, 0, rows);
    if (!fitsInStore(rowsBytesBelow(r, rows))) return -1;
    for (int row = rows - 1; row >= r; --row) pushRowBelow(row);
    return 0;
}

int flushWindowBelow() { return flushRowsBelow(0); }

void fillRowsFromBelow(int r) {
    if (store.windowLines == nullptr) return;
    const int rows = rowsInUse();
    LineRecord line;
    for (int row = clampInt(r, 0, rows); row < rows; ++row) {
        popBelow(&line);  // past the end: an empty line
        rowPut(row, &line);
    }
}

void fillWindowFromBelow() { fillRowsFromBelow(0); }

void fillWindowEndingAtTop() {
    const int c = clampInt(store.aboveCount, 0, rowsInUse());
    fillRowsFromAbove(c);
    fillRowsFromBelow(c);
}

void moveAllBelow() {
    std::uint32_t kept = store.aboveTop;
    std::int32_t count = store.aboveCount;
    if (store.belowCount == 0) {
        // Blank lines arriving first at an empty below stack are dropped.
        while (count > 0) {
            const std::uint32_t size = static_cast<std::uint32_t>(store.lineArea[kept - 1]) + 2;
            if (!recordIsBlank(store.lineArea + kept - size)) break;
            kept -= size;
            --count;
        }
    }
    if (kept > 0) std::memmove(store.lineArea + store.belowStart - kept, store.lineArea, kept);
    store.belowStart -= kept;
    store.belowCount += count;
    store.aboveTop = 0;
    store.aboveCount = 0;
}

void moveAllAbove() {
    const std::uint32_t bytes = store.lineAreaSize - store.belowStart;
    if (bytes > 0) std::memmove(store.lineArea + store.aboveTop, store.lineArea + store.belowStart, bytes);
    store.aboveTop += bytes;
    store.belowStart = store.lineAreaSize;
    store.aboveCount += store.belowCount;
    store.belowCount = 0;
}

// --- Moves between the stacks (no free space needed) -----------------------

void moveBelowToAbove(std::int32_t k) {
    if (k > store.belowCount) k = store.belowCount;
    if (k <= 0) return;
    std::uint32_t bytes = 0;
    for (std::int32_t i = 0; i < k; ++i) bytes += recordSize(store.lineArea + store.belowStart + bytes);
    moveFrontRecords(k, bytes);
}

std::int32_t moveAboveDroppingMarked() {
    // Kept records close up towards the area's start; a run of kept records
    // moves in one step.
    std::int32_t first = -1;
    std::uint32_t runStart = store.belowStart;
    std::uint32_t at = store.belowStart;
    auto keepRun = [&](std::uint32_t end) {
        const std::uint32_t bytes = end - runStart;
        if (bytes > 0) std::memmove(store.lineArea + store.aboveTop, store.lineArea + runStart, bytes);
        store.aboveTop += bytes;
    };
    for (std::int32_t i = 0; i < store.belowCount; ++i) {
        const std::uint32_t size = recordSize(store.lineArea + at);
        if (store.lineArea[at + 1] == '0') {
            ++store.aboveCount;
        } else {
            if (first < 0) first = i;
            keepRun(at);
            runStart = at + size;
        }
        at += size;
    }
    keepRun(at);
    store.belowStart = store.lineAreaSize;
    store.belowCount = 0;
    return first;
}

// The offset of the first byte key at or after from in the area, or its size.
std::uint32_t nextKey(std::uint32_t from, unsigned char key) {
    const void* at = std::memchr(store.lineArea + from, key, store.lineAreaSize - from);
    return at != nullptr ? static_cast<std::uint32_t>(static_cast<const unsigned char*>(at) - store.lineArea)
                         : store.lineAreaSize;
}

int moveBelowUntilFound(TextFinder finder, int start, void* user, const unsigned char* keys) {
    std::uint32_t at = store.belowStart;
    std::uint32_t nextKey0 = at, nextKey1 = at;  // where the keys stand next (before at: not looked for yet)
    std::int32_t passed = 0;
    int found = -1;
    for (; passed < store.belowCount; ++passed, start = 0) {
        const unsigned char* record = store.lineArea + at;
        const std::uint32_t size = recordSize(record);
        if (keys != nullptr) {
            if (nextKey0 <= at) nextKey0 = nextKey(at, keys[0]);
            if (nextKey1 <= at) nextKey1 = keys[1] == keys[0] ? nextKey0 : nextKey(at, keys[1]);
            // A key in the size and mark bytes only costs the finder's look.
            if (std::min(nextKey0, nextKey1) >= at + size) {
                at += size;
                continue;
            }
        }
        found = finder(reinterpret_cast<const char*>(record + 4), recordTextLength(record), start, user);
        if (found >= 0) break;
        at += size;
    }
    moveFrontRecords(passed, at - store.belowStart);
    return found;
}

// --- Navigation ---------------------------------------------------------------

int gotoLine(std::int32_t n) { return showLine(n, kCursorOffset); }

int gotoLineAtTop(std::int32_t n) { return showLine(n, 0); }

void positionsReset() { store.savedPositions = {}; }

void positionRemember() {
    if (topLine == 0 && cursorRow == 0) return;
    auto& slots = store.savedPositions;
    slots[1] = slots[0];
    slots[0] = SavedPosition{topLine, cursorRow, firstCol, cursorCol};
    if (slotEmpty(slots[1])) slots[1] = slots[0];  // the first position fills both
}

int positionReturn(int i) {
    if (i < 0 || i > 1) return 0;
    const SavedPosition slot = store.savedPositions[static_cast<std::size_t>(i)];
    if (slotEmpty(slot)) return 0;
    if (showLine(static_cast<std::int64_t>(slot.topLine) + slot.cursorRow, slot.cursorRow) != 0) return -1;
    restoreColumns(slot);
    return 0;
}

// --- Words at the cursor ------------------------------------------------------

bool isWordChar(int ch) {
    ch &= 0xFF;
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || is_digit(ch) || ch >= 192 || ch == '_' ||
           ch == '@' || ch == '$';
}

int wordSpanAtCursor(std::int32_t* from, std::int32_t* to) {
    LineRecord line;
    const int len = currentRowText(&line);
    int f = 0;
    int t = 0;
    const int n = spanAt(line, len, cursorColumn(), isWordChar, &f, &t);
    if (from != nullptr) *from = f;
    if (to != nullptr) *to = t;
    return n;
}

int wordAtCursor(char* buf, int bufSize) { return pickAtCursor(buf, bufSize, isWordChar); }

int tokenAtCursor(char* buf, int bufSize) { return pickAtCursor(buf, bufSize, isTokenChar); }

int wordLeftOfCursor(char* buf, int bufSize) {
    LineRecord line;
    lineInit(&line);
    // Read in window form, so that columns past the trimmed end are blanks.
    rowGetRaw(clampInt(cursorRow, 0, rowsInUse() - 1), &line);
    const int p = cursorColumn();
    int start = p;
    while (start > 0 && isWordChar(byteAt(line.text, start - 1))) --start;
    copyWord(buf, bufSize, line.text, start, p);
    return p - start;
}

// --- The full-store guard -----------------------------------------------------

int textTrimmedLength(const char* text) {
    // Window rows are padded with blanks to 250: skip them 32, then 8 at a time.
    static constexpr char kBlanks[32] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                         ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                         ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    const void* nul = std::memchr(text, '\0', kLineChars);
    int n = nul != nullptr ? static_cast<int>(static_cast<const char*>(nul) - text) : kLineChars;
    while (n >= 32 && std::memcmp(text + n - 32, kBlanks, 32) == 0) n -= 32;
    while (n >= 8 && std::memcmp(text + n - 8, kBlanks, 8) == 0) n -= 8;
    while (n > 0 && is_white(byteAt(text, n - 1))) --n;
    return n;
}

std::uint32_t storeWindowBytes() {
    if (store.windowLines == nullptr) return 0;
    return static_cast<std::uint32_t>(store.rowLengthSum) +
           static_cast<std::uint32_t>(kWindowRowsMax) * static_cast<std::uint32_t>(kRecordOverhead);
}

bool storeEditFitsAtOnce(int extraBytes) {
    // The rows can never need more than 100 largest records: with that much room
    // to spare (the usual case) the rows need not be measured on every keystroke.
    constexpr std::int64_t kRowsAtMost = static_cast<std::int64_t>(kWindowRowsMax) * (kLineChars + kRecordOverhead);
    return static_cast<std::int64_t>(freeBytes()) - kRowsAtMost - extraBytes >= 1;
}

bool storeEditFits(int extraBytes) {
    if (storeEditFitsAtOnce(extraBytes)) return true;
    const std::int64_t left = static_cast<std::int64_t>(freeBytes()) - storeWindowBytes() - extraBytes;
    return left >= 1;
}

// --- Inspection ---------------------------------------------------------------

StoreLayout storeLayout() {
    return StoreLayout{store.lineArea, store.lineAreaSize, store.aboveTop,
                       store.belowStart, store.aboveCount, store.belowCount};
}
