// The line block operations, built on the line store's gap moves and walks.
#include "textops/block.h"

#include <cstdint>
#include <cstring>

#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "framework/messages.h"
#include "support/platform.h"
#include "support/strfunc.h"
#include "view/editing.h"
#include "view/keycommands.h"
#include "view/marking.h"
#include "view/search.h"
#include "view/textview.h"

namespace {

constexpr int kRecordBytes = 5;  // what a packed line takes besides its text

// The clipboard text is built in one scratch area of 30000 x 4 bytes. Every
// line of the document takes its text and 5 bytes in the store but only its
// text and "\r\n" on the clipboard, and the store holds at most kLineAreaSize
// bytes: so the whole document, and its NUL, always fit.
constexpr long kClipCount = 30000;
constexpr long kClipSize = 4;
constexpr std::int64_t kClipBytes = static_cast<std::int64_t>(kClipCount) * kClipSize;
static_assert(kRecordBytes > 2 && static_cast<std::int64_t>(kLineAreaSize) + 1 <= kClipBytes,
              "the whole document and its NUL must fit the clipboard area");

// Copies are collected in batches of marked texts between walks (a visitor
// must not call the store), then pushed above.
constexpr int kCopyBatch = 8192;

// The state of one copy: which marked lines are copied already, and the
// texts of the batch being collected.
struct CopyBatch {
    std::int32_t aboveLines;  // lines of the above stack before the first copy
    std::int32_t done;        // marked lines copied by earlier batches
    std::int32_t seen;        // marked lines passed in this walk
    std::int32_t visited;     // lines of the above stack passed in this walk
    bool inAbove;             // the walk is in the above stack
    bool full;                // the batch stopped the walk for want of room
    int used;                 // bytes of texts (each after its length byte)
    int count;                // texts in the batch
    char texts[kCopyBatch];
};

// The module's state.
struct BlockState {
    // The mark fill's state: '0' before a fill, '1' after a '1' line was
    // passed, '3' after a '3' line was passed.
    char blockFillState = '0';
    CopyBatch batch;
};
BlockState block;

bool isMarked(const LineRecord& line) { return line.markState != '0'; }
bool isMarked(const LineView& line) { return line.markState != '0'; }

int rowsInUse() {
    if (windowRows < 1) return 1;
    return windowRows > kWindowRowsMax ? kWindowRowsMax : windowRows;
}

// Lines from the stacks and from rowGet are trimmed and NUL-terminated.
int textBytes(const LineRecord& line) { return static_cast<int>(std::strlen(line.text)); }

// The growth check of every editing module, for a growth that may be larger
// than any store could take.
bool growthFits(std::int64_t bytes) {
    if (bytes > static_cast<std::int64_t>(kLineAreaSize)) {
        editRefused();
        return false;
    }
    return editFits(static_cast<int>(bytes));
}

// --- The common frame ----------------------------------------------------------


// The rows filled again around the cursor row; the window shows what the
// gap stands next to.
void refillAroundCursor() {
    fillRowsFromAbove(cursorRow);
    fillRowsFromBelow(cursorRow);
    topLine = aboveCountGet();
    invalidateAll();
}

// Every line of the flushed document in order, read in place.
void viewDocument(LineViewer fn, void* user = nullptr) {
    if (viewAbove(fn, user)) viewBelow(fn, user);
}

// With the window flushed and the gap anywhere: document line `line` in window
// row `row` (row <= line), the rows filled from the store. Lines move from
// below to above without needing room.
void showLineInRow(std::int32_t line, int row) {
    moveAllBelow();
    moveBelowToAbove(line - row);
    fillWindowFromBelow();
    topLine = aboveCountGet();
    cursorRow = row;
    invalidateAll();
}

// --- Marks ---------------------------------------------------------------------

int clearMark(LineView* line, void*) {
    line->markState = '0';
    return 1;
}

// The mark fill: the block runs from a '1' line to the next '3' line; stray
// '2' lines outside it are cleared.
int fillMark(LineView* line, void*) {
    switch (line->markState) {
        case '1':
            block.blockFillState = '1';
            break;
        case '3':
            block.blockFillState = '3';
            break;
        case '0':
            if (block.blockFillState == '1') line->markState = '2';
            break;
        case '2':
            if (block.blockFillState != '1') line->markState = '0';
            break;
        default:
            break;
    }
    return 1;
}

// Moving the block's first or last line: the old one loses its mark, the
// cursor line (the below stack's first line) gets it.
struct EdgeWalk {
    char mark;
    bool atCursorLine;
};

int moveEdge(LineView* line, void* user) {
    auto* walk = static_cast<EdgeWalk*>(user);
    if (walk->atCursorLine) {
        line->markState = walk->mark;
        walk->atCursorLine = false;
    } else if (line->markState == walk->mark) {
        line->markState = '0';
    }
    return 1;
}

void setEdge(char mark) {
    if (!flushAroundCursor()) return;
    EdgeWalk walk{mark, false};
    viewAbove(moveEdge, &walk);
    walk.atCursorLine = true;
    viewBelow(moveEdge, &walk);
    block.blockFillState = '0';
    viewDocument(fillMark);
    refillAroundCursor();
}

// A function ends at a line that starts, in its first column, with "}", "[",
// ")" or ".", or with "end" in any case.
bool endsFunction(const LineView& line) {
    if (line.length == 0) return false;
    const char first = line.text[0];
    return first == '}' || first == '[' || first == ')' || first == '.' ||
           (line.length >= 3 && str_ncmp_nocase(line.text, "end", 3) == 0);
}

int markFunctionLine(LineView* line, void* user) {
    bool* ended = static_cast<bool*>(user);
    if (*ended) return 0;
    line->markState = '1';
    *ended = endsFunction(*line);
    return 1;
}

int countMarked(LineView* line, void* user) {
    if (isMarked(*line)) ++*static_cast<int*>(user);
    return 1;
}

// --- Copies ----------------------------------------------------------------------

// What copying the marked lines takes: their packed bytes, and how many of
// them stand above the cursor line. Measured with the window in place, as
// every edit measures its growth.
struct BlockMeasure {
    std::int64_t bytes = 0;
    std::int32_t lines = 0;
    std::int32_t before = 0;  // marked lines above the cursor line
};

void measureLine(bool marked, int length, BlockMeasure* m) {
    if (!marked) return;
    m->bytes += length + kRecordBytes;
    ++m->lines;
}

int measureMarked(LineView* line, void* user) {
    measureLine(isMarked(*line), line->length, static_cast<BlockMeasure*>(user));
    return 1;
}

BlockMeasure measureBlock() {
    BlockMeasure m;
    viewAbove(measureMarked, &m);
    LineRecord line;
    for (int r = 0; r < rowsInUse(); ++r) {
        if (r == cursorRow) m.before = m.lines;
        rowGet(r, &line);
        measureLine(isMarked(line), rowTrimmedLength(r), &m);
    }
    viewBelow(measureMarked, &m);
    return m;
}

// Collects the texts of the marked lines not copied yet, in document order,
// until the batch is full. Copies already pushed above are not walked.
int collectMarked(LineView* line, void* user) {
    CopyBatch& b = *static_cast<CopyBatch*>(user);
    if (b.inAbove && b.visited++ >= b.aboveLines) return 0;
    if (!isMarked(*line)) return 1;
    if (b.seen < b.done) {
        ++b.seen;
        return 1;
    }
    const int n = line->length;
    if (b.used + n + 1 > kCopyBatch) {
        b.full = true;
        return 0;
    }
    b.texts[b.used] = static_cast<char>(n);
    std::memcpy(b.texts + b.used + 1, line->text, static_cast<std::size_t>(n));
    b.used += n + 1;
    ++b.count;
    ++b.seen;
    return 1;
}

// The top n lines of the above stack (copies just pushed) taken away again.
void removeCopies(std::int32_t n) {
    LineRecord line;
    for (; n > 0; --n) popAbove(&line);
}

// With the gap at the cursor line: an unmarked copy of every marked line is
// pushed above, in document order. The number of copies, or -1 when one did
// not fit (then every copy is taken away again: nothing changed).
std::int32_t pushCopies() {
    CopyBatch& b = block.batch;
    b.aboveLines = aboveCountGet();
    b.done = 0;
    std::int32_t pushed = 0;
    for (;;) {
        b.seen = b.visited = 0;
        b.used = b.count = 0;
        b.full = false;
        b.inAbove = true;
        viewAbove(collectMarked, &b);
        b.inAbove = false;
        if (!b.full) viewBelow(collectMarked, &b);
        const char* text = b.texts;
        for (int i = 0; i < b.count; ++i) {
            const int n = static_cast<unsigned char>(text[0]);
            if (pushTextAbove(text + 1, n) != 0) {
                removeCopies(pushed);
                return -1;
            }
            ++pushed;
            text += n + 1;
        }
        b.done += b.count;
        if (!b.full) return pushed;
    }
}

int storeMarkedText(LineView* line, void*) {
    if (isMarked(*line)) {
        char text[kLineChars + 1];
        std::memcpy(text, line->text, static_cast<std::size_t>(line->length));
        text[line->length] = '\0';
        blockStore(text);
    }
    return 1;
}

// With the window flushed: every marked line leaves the document, the rest
// close up in order and end above the gap (in place: no room needed). The
// index of the first marked line, or -1.
std::int32_t dropMarkedLines() {
    moveAllBelow();
    return moveAboveDroppingMarked();
}

// --- The clipboard ---------------------------------------------------------------

struct ClipText {
    char* text;
    std::int64_t used;
};

int appendMarked(LineView* line, void* user) {
    ClipText& clip = *static_cast<ClipText*>(user);
    if (isMarked(*line)) {
        const int n = line->length;
        // The area holds the whole document (see kClipBytes): never false.
        Y8_ASSERT("block", __LINE__, clip.used + n + 2 < kClipBytes, "clip.used + n + 2 < 120000");
        std::memcpy(clip.text + clip.used, line->text, static_cast<std::size_t>(n));
        clip.used += n;
        clip.text[clip.used++] = '\r';
        clip.text[clip.used++] = '\n';
    }
    return 1;
}

// --- Replacing ----------------------------------------------------------------------

// What replacing in every marked line adds to the store at most: the growth
// of each line that grows (lines that shrink are not counted: the walk
// reaches them in document order, perhaps after the growing ones).
int measureReplaceLine(const LineRecord& line, std::int64_t* growth) {
    if (!isMarked(line)) return 1;
    char text[kLineChars + 1];
    std::memcpy(text, line.text, sizeof text);
    const int before = textBytes(line);
    if (replaceAllInLine(text) > 0) {
        const int after = static_cast<int>(std::strlen(text));
        if (after > before) *growth += after - before;
    }
    return 1;
}

int measureReplaceVisit(LineRecord* line, void* user) {
    return measureReplaceLine(*line, static_cast<std::int64_t*>(user));
}

std::int64_t measureReplace() {
    std::int64_t growth = 0;
    visitAbove(measureReplaceVisit, &growth);
    LineRecord line;
    for (int r = 0; r < rowsInUse(); ++r) {
        rowGet(r, &line);
        measureReplaceLine(line, &growth);
    }
    visitBelow(measureReplaceVisit, &growth);
    return growth;
}

}  // namespace

// ============================================================ the operations

void block_begin() { setEdge('1'); }

void block_end() { setEdge('3'); }

void block_function() {
    if (!flushAroundCursor()) return;
    bool ended = false;
    viewBelow(markFunctionLine, &ended);
    refillAroundCursor();
}

void block_unmark() {
    if (!flushAroundCursor()) return;
    viewDocument(clearMark);
    refillAroundCursor();
}

int block_copy(int undelete) {
    if (!growthFits(measureBlock().bytes)) return -1;
    linesChanging();
    if (!flushAroundCursor()) return -1;
    if (pushCopies() < 0) {
        refillAroundCursor();
        editRefused();
        return -1;
    }
    viewDocument(undelete ? storeMarkedText : clearMark);
    refillAroundCursor();
    modified = 1;
    return 0;
}

int block_move() {
    const BlockMeasure m = measureBlock();
    if (!growthFits(m.bytes)) return -1;
    linesChanging();
    const std::int32_t cursorLine = topLine + cursorRow;
    if (!flushAroundCursor()) return -1;
    const std::int32_t copies = pushCopies();
    if (copies < 0 || storeFreeBytes() == 0) {
        if (copies > 0) removeCopies(copies);
        refillAroundCursor();
        editRefused();
        return -1;
    }
    dropMarkedLines();
    // The copies now begin where the cursor line stood, less the marked lines
    // that stood above it and are gone.
    const std::int32_t first = cursorLine - m.before;
    showLineInRow(first, cursorRow < first ? cursorRow : first);
    modified = 1;
    return 0;
}

void block_delete() {
    linesChanging();
    if (flushWindowBelow() != 0) {
        editRefused();
        return;
    }
    if (storeFreeBytes() == 0) {  // cannot happen while every flush fits
        fillWindowFromBelow();
        editRefused();
        return;
    }
    const std::int32_t first = dropMarkedLines();
    showLineInRow(first > cursorRow ? first : cursorRow, cursorRow);
    modified = 1;
}

void block_to_clipboard() {
    char* text = static_cast<char*>(fmalloc_scratch(kClipCount, kClipSize));
    if (text == nullptr) return;
    if (flushAroundCursor()) {
        ClipText clip{text, 0};
        viewDocument(appendMarked, &clip);
        // The block stays marked when the clipboard does not take it.
        if (clip_put_or_tell(text)) viewDocument(clearMark);
        refillAroundCursor();
    }
    ffree(text);
}

int block_replace() {
    if (!growthFits(measureReplace())) return -1;
    const std::int32_t cursorLine = topLine + cursorRow;
    if (flushWindowBelow() != 0) {
        editRefused();
        return -1;
    }
    if (storeFreeBytes() == 0) {  // cannot happen while every flush fits
        fillWindowFromBelow();
        editRefused();
        return -1;
    }
    moveAllBelow();
    // Every line from below to above, the marked ones replaced on the way.
    // The growth was measured: each push finds the room its line needs.
    int tooLong = 0;
    LineRecord line;
    while (popBelow(&line) == 0) {
        LineRecord replaced = line;
        if (isMarked(line) && replaceAllInLine(replaced.text) < 0) ++tooLong;
        if (pushAbove(&replaced) != 0 && pushAbove(&line) != 0) {
            pushBelow(&line);  // cannot happen: the room was measured
            break;
        }
    }
    showLineInRow(cursorLine, cursorRow);
    modified = 1;
    if (tooLong > 0) message_box_fmt(linesLeftTooLongText, tooLong);
    return 0;
}

int block_count() {
    if (!flushAroundCursor()) return 0;
    int n = 0;
    viewDocument(countMarked, &n);
    refillAroundCursor();
    return n;
}

void block_mark_line(int on) {
    LineRecord row;
    rowGetRaw(cursorRow, &row);
    row.markState = on ? '2' : '0';
    rowPut(cursorRow, &row);
    beginRowPaint();
    repaintRow(cursorRow);
    endRowPaint();
}

// --- The keys of blocks --------------------------------------------------------------

void blockKeyCopyOrBack() {
    if (block_count() == 0) {
        keycmd::blockBufferBack();
        return;
    }
    if (block_copy(1) != 0) return;  // refused: nothing changed
    block_to_clipboard();
    blockRestartSet();
}

void blockKeyCopy() {
    if (markActiveGet()) {
        markCopy();
    } else if (block_count() > 0) {
        block_to_clipboard();
    } else {
        blockToClipboard();
    }
}

void blockKeyMarkLine() {
    block_mark_line(1);
    nextLine();
}
