// The key commands: what the keys of the key table and the Ctrl commands of
// the command table do, built on the editing primitives. The dispatcher
// (view/taste.cpp) decides which of them a key runs.
#include "view/keycommands.h"

#include <cstdint>
#include <cstring>

#include "document/docfile.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "framework/messages.h"
#include "resources/resource.h"
#include "support/files.h"
#include "support/platform.h"
#include "support/profile.h"
#include "support/status.h"
#include "support/strfunc.h"
#include "view/cursor.h"
#include "view/editing.h"
#include "view/marking.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/search.h"
#include "view/taste.h"
#include "view/textview.h"

int outdentWidth = 0;

namespace {

constexpr int kNewLineBytes = 5;       // what an empty line takes in the store
constexpr int kPasteBlock = 30000;     // the paste scratch block
constexpr int kPasteTypedMax = 200;    // shorter texts without a line feed are typed
constexpr int kPasteWrapWidth = 80;    // "Umbruch bei ^V"
constexpr int kOutdentCountMax = 16;   // Ctrl+L counts at most this many blanks

constexpr const char* nameTooLongText = "Der Name ist l\344nger als 200 Zeichen: %s";
constexpr int kTextCannotOpen = 100;  // "Dateifehler: kann %s nicht \366ffnen."

constexpr const char* joinTooLongText =
    "Die Zeilen w\344ren zusammen l\344nger als 250 Zeichen: sie wurden nicht verbunden.";


// --- The cursor and its row ----------------------------------------------------

int column() { return firstCol + cursorCol; }
int documentLine() { return topLine + cursorRow; }

int lastRow() {
    if (windowRows < 1) return 0;
    return windowRows > kWindowRowsMax ? kWindowRowsMax - 1 : windowRows - 1;
}

// The cursor row in window form (250 characters, blank-padded).
LineRecord cursorRowRaw() {
    LineRecord row;
    rowGetRaw(cursorRow, &row);
    return row;
}

// The length of a text without its trailing white space.
int trimmedLength(const char* text, int n) {
    while (n > 0 && is_white(static_cast<unsigned char>(text[n - 1]))) --n;
    return n;
}

int rowLength(const LineRecord& row) { return trimmedLength(row.text, kLineChars); }

// The first column of the row that holds no blank, or fallback when the
// first `limit` columns are all blanks.
int firstNonBlank(const LineRecord& row, int limit, int fallback) {
    for (int c = 0; c < limit; ++c) {
        if (row.text[c] != ' ') return c;
    }
    return fallback;
}

void repaintCursorRow() {
    beginRowPaint();
    repaintRow(cursorRow);
    endRowPaint();
}

// A key pressed by a command: nested, so neither recorded nor marking.
void press(int key) { keyDown(key, false, false, false); }

// What typing n characters at the cursor can add to the text at most.
int typingGrowth(int n) {
    const int gap = column() - rowLength(cursorRowRaw());
    return (gap > 0 ? gap : 0) + n;
}

// Types the characters of s one by one with repainting; refused as a whole
// when the store cannot take them. False when refused.
bool typeKeys(const char* s) {
    const int n = static_cast<int>(std::strlen(s));
    if (!editFits(typingGrowth(n))) return false;
    for (int i = 0; i < n; ++i) typeChar(static_cast<unsigned char>(s[i]), 1);
    return true;
}

// --- Whole lines -----------------------------------------------------------

// Pushes the last window row below and clears it, so that a row can be
// inserted above it. The edit guard keeps room for every window row, so this
// fits; should it not, nothing changes and the user is told (false).
bool pushLastRowBelow() {
    LineRecord last;
    rowGet(lastRow(), &last);
    if (pushBelow(&last) != 0) {
        editRefused();
        return false;
    }
    rowClear(lastRow());
    return true;
}

// A new empty row at row r; the line there and all below move down.
// extraBytes: what the caller will write into it. False when refused.
bool openRowAt(int r, int extraBytes) {
    if (!editFits(kNewLineBytes + extraBytes)) return false;
    linesChanging();
    if (!pushLastRowBelow()) return false;
    rowInsert(r);
    return true;
}

bool openRowAtCursor(int extraBytes) { return openRowAt(cursorRow, extraBytes); }

// The view one line up, the cursor keeping its window row, the mark kept.
void scrollUpKeepingMark() {
    if (aboveCountGet() <= 0) return;
    if (!pushLastRowBelow()) return;
    rowsScrollDown();
    LineRecord line;
    popAbove(&line);
    rowPut(0, &line);
    topLine = aboveCountGet();
    invalidateAll();
}

// What moving down after Ctrl+L or Ctrl+R can add: a blank line when the
// view moves past the document's end.
int moveDownGrowth() {
    return cursorRow >= windowRows - 3 && belowCountGet() == 0 ? kNewLineBytes : 0;
}

// The cursor one row down, or the view one line down in the window's last
// three rows (Ctrl+L, Ctrl+R).
void moveDownAfterIndent() {
    if (cursorRow < windowRows - 3) {
        cursorSet(cursorCol, cursorRow + 1);
    } else {
        scrollViewDownAlways();
    }
}

// A line of the text as the stacks take it: trimmed, unmarked.
LineRecord packedLine(const char* text, int n) {
    LineRecord line;
    lineInit(&line);
    n = trimmedLength(text, n > kLineChars ? kLineChars : n);
    std::memcpy(line.text, text, static_cast<std::size_t>(n));
    line.text[n] = '\0';
    return line;
}

int packedBytes(const char* text, int n) {
    return trimmedLength(text, n > kLineChars ? kLineChars : n) + kNewLineBytes;
}

// editFits for a growth that may be larger than any store could take.
bool growthFits(std::int64_t bytes) {
    if (bytes > static_cast<std::int64_t>(kLineAreaSize)) {
        editRefused();
        return false;
    }
    return editFits(static_cast<int>(bytes));
}

}  // namespace

namespace keycmd {

// ============================================================ the keys

void charLeft(KeyPress) { cursorToColumn(column() - 1); }
void charRight(KeyPress) { cursorToColumn(column() + 1); }

// Over word characters, delimiters and word characters to the left: to the
// start of the word before the one the cursor stands in.
void wordLeft(KeyPress) {
    const LineRecord row = cursorRowRaw();
    int j = column();
    auto word = [&row](int c) { return isWordChar(static_cast<unsigned char>(row.text[c])); };
    while (j >= 0 && word(j)) --j;
    while (j >= 0 && !word(j)) --j;
    while (j >= 0 && word(j)) --j;
    cursorToColumn(j + 1);
}

// Over word characters, then delimiters, to the next word; at or after the
// text's end the next tab stop.
void wordRight(KeyPress) {
    const LineRecord row = cursorRowRaw();
    const int end = rowLength(row);
    int j = column();
    if (j >= end) {
        press(vk::kTab);
        return;
    }
    auto word = [&row](int c) { return isWordChar(static_cast<unsigned char>(row.text[c])); };
    while (j < end && word(j)) ++j;
    while (j < end && !word(j)) ++j;
    cursorToColumn(j);
}

// With Shift and no in-line mark, Up takes the block mark off the line it
// arrives on and Down block-marks the line it leaves.
void lineUp(KeyPress k) {
    countVerticalMove(-1);
    if (cursorRow > 0) {
        cursorSet(cursorCol, cursorRow - 1);
    } else {
        scrollUpKeepingMark();
    }
    if (k.shift && !markActiveGet()) keyLineMark(0);
}

void lineDown(KeyPress k) {
    if (k.shift && !markActiveGet()) keyLineMark(1);
    cursorLineDown();
}

void viewUp(KeyPress) {
    countVerticalMove(-1);
    scrollViewUp();
}

void viewDown(KeyPress) {
    countVerticalMove(+1);
    scrollViewDown();
}

void pageUp(KeyPress) {
    lineInsertMode = 0;
    if (aboveCountGet() > 0) {
        if (flushWindowBelow() < 0) return;
        fillWindowEndingAtTop();
        invalidateAll();
        topLine = aboveCountGet();
    } else {
        cursorSet(cursorCol, 0);
    }
}

void pageDown(KeyPress) {
    lineInsertMode = 0;
    if (belowCountGet() > 0) {
        if (flushWindowAbove() < 0) return;
        fillWindowFromBelow();
        invalidateAll();
        topLine = aboveCountGet();
    } else {
        cursorSet(cursorCol, lastRow());
    }
}

void documentStart(KeyPress) {
    lineInsertMode = 0;
    if (flushWindowBelow() < 0) return;
    moveAllBelow();
    fillWindowFromBelow();
    invalidateAll();
    topLine = aboveCountGet();
    cursorSet(cursorCol, 0);
}

void documentEnd(KeyPress) {
    lineInsertMode = 0;
    if (flushWindowAbove() < 0) return;
    moveAllAbove();
    fillWindowEndingAtTop();
    invalidateAll();
    topLine = aboveCountGet();
    cursorSet(cursorCol, lastRow());
}

void textStart(KeyPress) {
    const LineRecord row = cursorRowRaw();
    cursorToColumn(firstNonBlank(row, rowLength(row), 0));
}

void lineStart(KeyPress) { cursorToColumn(0); }

// One blank column after the last character.
void lineEnd(KeyPress) { cursorToColumn(rowLength(cursorRowRaw()) + 1); }

namespace {
int tabStepUsed() { return tabStep < 2 ? 2 : (tabStep > 16 ? 16 : tabStep); }
}  // namespace

void nextTabStop(KeyPress) {
    const int step = tabStepUsed();
    cursorToColumn((column() + step) / step * step);
}

// Division truncates toward zero, so column 0 stays 0.
void previousTabStop(KeyPress) {
    const int step = tabStepUsed();
    cursorToColumn((column() - 1) / step * step);
}

void enter(KeyPress) {
    const LineRecord row = cursorRowRaw();
    const int indent = firstNonBlank(row, rowLength(row), column());
    // With lineInsertMode a line may open after the move: ask before moving.
    if (lineInsertMode && !editFits(2 * kNewLineBytes)) return;
    if (nextLine() < 0) return;
    LineRecord now;
    if (lineInsertMode && rowGet(cursorRow, &now)) {
        cursorToColumn(indent);
        controlCommand('N');
    }
}

void enterLineInsert(KeyPress k) {
    lineInsertCounter = 0;
    lineInsertMode = 1;
    enter(k);
}

void toggleLineInsert(KeyPress) {
    lineInsertCounter = 0;
    lineInsertMode = lineInsertMode ? 0 : 1;
}

// Ctrl+Enter: the rest of the line from the cursor goes into a new line below,
// at the line's indentation, and the cursor with it. The new line is stored
// before the first half is cut, so a refusal at any step loses nothing.
void splitLine(KeyPress) {
    const int p = column();
    const LineRecord row = cursorRowRaw();
    int from = p, to = kLineChars;
    while (from < to && row.text[from] == ' ') ++from;
    while (to > from && row.text[to - 1] == ' ') --to;
    if (from == to) return;
    const int indent = firstNonBlank(row, p, p);
    const int room = kLineChars - indent;
    const int n = to - from < room ? to - from : room;
    // The new line, and a blank line when the view must move past the end.
    if (!editFits(2 * kNewLineBytes + indent + n)) return;
    linesChanging();

    LineRecord second;
    lineInit(&second);
    std::memset(second.text, ' ', static_cast<std::size_t>(indent));
    std::memcpy(second.text + indent, row.text + from, static_cast<std::size_t>(n));
    second.text[indent + n] = '\0';
    if (cursorRow < lastRow()) {
        if (!openRowAt(cursorRow + 1, 0)) return;
        rowPut(cursorRow + 1, &second);
    } else if (pushBelow(&second) != 0) {
        editRefused();
        return;
    }
    second = cursorRowRaw();  // without the mark linesChanging took off
    std::memset(second.text + p, ' ', static_cast<std::size_t>(kLineChars - p));
    rowPut(cursorRow, &second);
    modified = 1;
    invalidateAll();
    // The cursor follows onto the new line (in the last row the view moves).
    if (cursorRow < lastRow()) {
        cursorSet(cursorCol, cursorRow + 1);
    } else if (scrollViewDownAlways() != 0) {
        return;
    }
    cursorToColumn(indent);
}

void backspace(KeyPress k) {
    const int p = column();
    if (p == 0) return;  // lines are never joined by Backspace
    if (markActiveGet()) {
        // A column block is blanked, a mark in one line deleted.
        if (markLineCount() > 1) {
            markBlank();
            return;
        }
        if (markDeleteSpan(false) == 0) return;
    }
    if (!k.ctrl) {
        deleteCharLeft();
        return;
    }
    // The run that ends at p - 1: blanks, word characters, or one delimiter.
    const LineRecord row = cursorRowRaw();
    const unsigned char c = static_cast<unsigned char>(row.text[p - 1]);
    int start = p - 1;
    if (c == ' ') {
        while (start > 0 && row.text[start - 1] == ' ') --start;
    } else if (isWordChar(c)) {
        while (start > 0 && isWordChar(static_cast<unsigned char>(row.text[start - 1]))) --start;
    }
    cursorToColumn(start);
    deleteChars(p - start);
}

void deleteKey(KeyPress k) {
    if (markActiveGet()) {
        if (markLineCount() == 1) {
            if (markDeleteSpan(k.shift) != -1) return;  // with Shift to the clipboard first
        } else if (k.shift) {
            markCut();
            return;
        } else {
            markDelete();
            return;
        }
    }
    if (k.ctrl) {
        controlCommand('X');
    } else {
        deleteChars(1);
    }
}

void toggleInsert(KeyPress) { insertMode = insertMode ? 0 : 1; }
void pasteKey(KeyPress) { controlCommand('V'); }
void copyKey(KeyPress) { controlCommand('C'); }
void contextMenuKey(KeyPress) { contextMenu(false); }

// ============================================================ the commands

// Ctrl+#: "{" above, an empty line one indentation step in, "}" below.
void braceBlock() {
    // Three new lines, two of them holding a brace at the cursor's column, and
    // a blank line when the view moves past the end.
    if (!editFits(2 * (column() + 1) + 4 * kNewLineBytes)) return;
    controlCommand('N');
    typeChar('{', 1);
    press(vk::kLeft);
    press(vk::kDown);
    controlCommand('N');
    typeChar('}', 1);
    press(vk::kLeft);
    controlCommand('N');
    for (int i = 0; i < indentStep; ++i) press(vk::kRight);
}

void squareBrackets() {
    if (typeKeys("[]")) press(vk::kLeft);
}

void commentPair() {
    if (!typeKeys("/*  */")) return;
    for (int i = 0; i < 3; ++i) press(vk::kLeft);
}

void quotePair() {
    if (typeKeys("\"\"")) press(vk::kLeft);
}

void charLiteralZero() { typeKeys("'\\0'"); }

void typeDate() {
    char date[DATE_TEXT_SIZE];
    today_string(date);
    typeKeys(date);
}

namespace {
// n blanks at the cursor; the row's last characters fall off. extraBytes:
// what the command adds besides. False when refused.
bool insertBlanks(int n, int extraBytes) {
    const int p = column();
    LineRecord row = cursorRowRaw();
    if (n > kLineChars - p) n = kLineChars - p;
    if (n <= 0) return false;
    if (!editFits((p < rowLength(row) ? n : 0) + extraBytes)) return false;
    std::memmove(row.text + p + n, row.text + p, static_cast<std::size_t>(kLineChars - p - n));
    std::memset(row.text + p, ' ', static_cast<std::size_t>(n));
    rowPut(cursorRow, &row);
    repaintCursorRow();
    modified = 1;
    return true;
}
}  // namespace

void insertBlank() { insertBlanks(1, 0); }

void indent() {
    if (insertBlanks(indentStep, moveDownGrowth())) moveDownAfterIndent();
}

// Ctrl+L: takes away the blanks at the cursor, as many as the first of a run
// of Ctrl+L found there (at least one indentation step). Only blanks go: a
// line indented less keeps its text.
void outdent() {
    if (!editFits(moveDownGrowth())) return;
    const int p = column();
    LineRecord row = cursorRowRaw();
    if (!previousKeyWas('L')) {
        const int end = rowLength(row);
        int blanks = 0;
        while (blanks < kOutdentCountMax && p + blanks < end && row.text[p + blanks] == ' ') ++blanks;
        outdentWidth = blanks > indentStep ? blanks : indentStep;
    }
    int n = 0;
    while (n < outdentWidth && p + n < kLineChars && row.text[p + n] == ' ') ++n;
    std::memmove(row.text + p, row.text + p + n, static_cast<std::size_t>(kLineChars - p - n));
    std::memset(row.text + kLineChars - n, ' ', static_cast<std::size_t>(n));
    rowPut(cursorRow, &row);
    repaintCursorRow();
    modified = 1;
    moveDownAfterIndent();
}

// Ctrl+2: the character at the cursor, one higher, in the same column of the
// next line. There is nothing above 255: then nothing happens.
void continueNumbering() {
    const int ch = static_cast<unsigned char>(cursorRowRaw().text[column()]);
    if (ch >= 255) return;
    // The character may land after the next line's end, and the view may
    // move past the document's end: ask before moving at all.
    if (!editFits(column() + 1 + kNewLineBytes)) return;
    const int line = documentLine();
    press(vk::kDown);
    if (documentLine() != line + 1) return;
    if (typeChar(ch + 1, 1) == 0) press(vk::kLeft);
}

void closeBrackets() {
    const LineRecord row = cursorRowRaw();
    const int end = rowLength(row);
    if (end >= kLineChars) return;  // no column after the text
    char text[kLineChars + 1];
    std::memcpy(text, row.text, static_cast<std::size_t>(end));
    text[end] = '\0';
    char closers[32];
    closingBrackets(text, closers);
    const int room = kLineChars - end;  // only what fits before column 250 is typed
    if (static_cast<int>(std::strlen(closers)) > room) closers[room] = '\0';
    const int n = static_cast<int>(std::strlen(closers));
    if (!editFits(n)) return;
    cursorToColumn(end);
    for (int i = 0; i < n; ++i) typeChar(static_cast<unsigned char>(closers[i]), 1);
}

// Ctrl+A: the next line, without its indentation, after this one with one
// blank between them; a blank next line is simply removed. Refused when the
// joined line would pass column 249.
void joinNextLine() {
    const int end = rowLength(cursorRowRaw());
    const bool nextInWindow = cursorRow < lastRow();
    LineRecord next;
    if (nextInWindow) {
        rowGet(cursorRow + 1, &next);
    } else {
        popBelow(&next);  // past the document's end: an empty line
    }
    const char* text = next.text;
    while (*text == ' ') ++text;
    const int n = static_cast<int>(std::strlen(text));
    if (n > 0 && end + 1 + n > kLineChars) {
        if (!nextInWindow) pushBelow(&next);  // back where it came from: it fits
        message_box_fmt("%s", joinTooLongText);
        return;
    }
    // The same vertical moves as Down and Up.
    countVerticalMove(+1);
    countVerticalMove(-1);
    linesChanging();  // a next line popped from below already gives only its text
    if (nextInWindow) {
        rowDelete(cursorRow + 1);
        LineRecord fill;
        popBelow(&fill);
        rowPut(lastRow(), &fill);
    }
    if (n > 0) {
        LineRecord row = cursorRowRaw();
        std::memcpy(row.text + end + 1, text, static_cast<std::size_t>(n));
        rowPut(cursorRow, &row);
    }
    // Where End stood before the join: no key runs between the join and the
    // refresh that takes the line snapshot of the joined line.
    cursorToColumn(end + 1);
    invalidateAll();
    modified = 1;
}

// Ctrl+B: the block buffer's lines, oldest first, before the cursor line.
void blockBufferBack() {
    char text[UNDELETE_TEXT_MAX + 1];
    std::int64_t bytes = 0;
    for (int r = blockFetch(true, text); r == 0; r = blockFetch(false, text)) {
        bytes += packedBytes(text, static_cast<int>(std::strlen(text)));
    }
    if (!growthFits(bytes)) return;
    linesChanging();
    if (flushRowsAbove(cursorRow) < 0) {
        editRefused();
        return;
    }
    for (int r = blockFetch(true, text); r == 0; r = blockFetch(false, text)) {
        const LineRecord line = packedLine(text, static_cast<int>(std::strlen(text)));
        pushAbove(&line);
    }
    fillRowsFromAbove(cursorRow);
    topLine = aboveCountGet();
    invalidateAll();
    modified = 1;
}


namespace {
void changeCase(int (*convert)(int)) {
    const int p = column();
    LineRecord row = cursorRowRaw();
    row.text[p] = static_cast<char>(convert(static_cast<unsigned char>(row.text[p])));
    rowPut(cursorRow, &row);
    beginRowPaint();
    drawTextAt(cursorCol, cursorRow, row.text + p, 1, row.markState);
    endRowPaint();
    cursorToColumn(p + 1);
    modified = 1;
}
}  // namespace

void upperAtCursor() { changeCase(upper_char); }
void lowerAtCursor() { changeCase(lower_char); }

void rememberPosition() { positionRemember(); }
void returnToPosition() { positionReturn(0); }

void openLine() {
    if (!openRowAtCursor(0)) return;
    invalidateAll();
    modified = 1;
}

// Ctrl+E: a deleted line back at the cursor, older ones on repeated presses.
void restoreLine() {
    char text[UNDELETE_TEXT_MAX + 1];
    lineFetch(text, previousKeyWas('E'));
    const int n = static_cast<int>(std::strlen(text));
    if (!openRowAtCursor(n)) return;
    LineRecord row = cursorRowRaw();
    std::memcpy(row.text, text, static_cast<std::size_t>(n));
    rowPut(cursorRow, &row);
    invalidateAll();
    modified = 1;
}

void restoreSnapshot() { snapshotRestore(); }

void postSave() { plat_post_command(CMD_FILE_SAVE, 0); }
void postPositionDialog() { plat_post_command(CMD_POSITION, 0); }

// Ctrl+F: the marked text becomes the search text; the dialog "Suchen" opens
// through its command, which the Win32 side carries out.
void searchWithDialog() {
    searchTextFromMark();
    plat_post_command(CMD_SEARCH, 0);
}

void searchAgain() { searchNext(); }

void typePiece() {
    char text[UNDELETE_TEXT_MAX + 1];
    pieceFetch(text, previousKeyWas('U'));
    typeText(text);
}

namespace {
// Ctrl+V: a short text without line feed is typed; any other becomes lines
// before the cursor line.
bool insertPastedLines(const char* text) {
    const int width = pasteWrap ? kPasteWrapWidth : kLineChars;
    char line[kLineChars + 1];
    std::int64_t bytes = 0;
    int pos = 0, n;
    while ((n = pasteCutLine(text, &pos, width, line)) >= 0) bytes += packedBytes(line, n);
    if (!growthFits(bytes)) return false;
    linesChanging();
    if (flushRowsAbove(cursorRow) < 0) {
        editRefused();
        return false;
    }
    pos = 0;
    while ((n = pasteCutLine(text, &pos, width, line)) >= 0) {
        const LineRecord packed = packedLine(line, n);
        pushAbove(&packed);
    }
    fillRowsFromAbove(cursorRow);
    return true;
}
}  // namespace

void paste() {
    char* text = static_cast<char*>(fmalloc_scratch(kPasteBlock, 1));
    if (text == nullptr) return;
    clip_get(text, kPasteBlock - 1);  // the block keeps room for the NUL
    const int length = static_cast<int>(std::strlen(text));
    bool done = false;  // an empty clipboard changes nothing
    if (length > 0 && length < kPasteTypedMax && std::strchr(text, '\n') == nullptr) {
        done = typeText(text) == 0;
    } else if (length > 0) {
        done = insertPastedLines(text);
    }
    topLine = aboveCountGet();
    if (done) modified = 1;
    invalidateAll();
    ffree(text);
}

// Ctrl+X: a column block is cut (blanked), a mark in one line goes to the
// clipboard and is deleted. Without a mark the run at the cursor: blanks up
// to the next text, a word, or one delimiter.
void cutRun() {
    if (markLineCount() > 1) {
        markCut();
        return;
    }
    if (markActiveGet() && markDeleteSpan(true) != -1) return;
    const int p = column();
    const LineRecord row = cursorRowRaw();
    const int end = rowLength(row);
    if (p >= end) return;
    const unsigned char c = static_cast<unsigned char>(row.text[p]);
    int stop = p + 1;
    if (c == ' ') {
        while (stop < end && row.text[stop] == ' ') ++stop;
    } else if (isWordChar(c)) {
        while (stop < end && isWordChar(static_cast<unsigned char>(row.text[stop]))) ++stop;
    }
    deleteChars(stop - p);
}

// Ctrl+Y: the line goes to the line buffer; the next line from below fills
// the window's last row.
void deleteLine() {
    linesChanging();
    LineRecord line;
    rowGet(cursorRow, &line);
    lineStore(line.text);
    rowDelete(cursorRow);
    LineRecord fill;
    popBelow(&fill);
    rowPut(lastRow(), &fill);
    invalidateAll();
    modified = 1;
}

// Ctrl+Z: from the cursor to the line's end into the piece buffer.
void deleteToLineEnd() {
    const int p = column();
    LineRecord row = cursorRowRaw();
    pieceStore(row.text + p, kLineChars - p);
    std::memset(row.text + p, ' ', static_cast<std::size_t>(kLineChars - p));
    rowPut(cursorRow, &row);
    repaintCursorRow();
    modified = 1;
}

void selectWord() { selectWordAtCursor(); }

// Ctrl+D: the file named under the cursor. The name is opened as a file (a
// "*.sg" file with its program), never handed to a command interpreter; a
// name too long for a path is refused, never cut into another name.
void openNameAtCursor() {
    char name[kLineChars + 1];
    if (tokenAtCursor(name, sizeof name) == 0) return;
    char path[FILE_PATH_MAX + 1];
    if (!namedFilePath(name, path)) {
        message_box_fmt(nameTooLongText, path_short(name));
        return;
    }
    if (!wild_match_nocase("*.sg", path)) {
        openKeepingBack(path);
    } else if (open_document(path) <= 32) {
        message_box_fmt(load_text(kTextCannotOpen), path_short(path));
    }
}

}  // namespace keycmd

// ============================================================ pure parts

bool namedFilePath(const char* name, char* path) {
    const bool absolute = name[0] == '/' || name[0] == '\\' || (name[0] != '\0' && name[1] == ':');
    path[0] = '\0';
    if (!absolute && (get_cwd(path) != 0 || path_add_sep(path) != 0)) {
        path[0] = '\0';
        return false;
    }
    const std::size_t used = std::strlen(path);
    if (used + std::strlen(name) > static_cast<std::size_t>(FILE_PATH_MAX)) {
        path[0] = '\0';
        return false;
    }
    std::strcpy(path + used, name);
    return true;
}

void closingBrackets(const char* text, char* out) {
    constexpr int kPending = 10;
    char pending[kPending];
    int count = 0;
    int deeper = 0;  // brackets opened beyond the ten kept
    for (const char* s = text; *s != '\0'; ++s) {
        const bool blankNext = s[1] == ' ' || s[1] == '\0';
        if (*s == '(' || *s == '[') {
            const char closer = *s == '(' ? (blankNext ? 'R' : 'r') : (blankNext ? 'E' : 'e');
            if (count < kPending) {
                pending[count++] = closer;
            } else {
                ++deeper;
            }
        } else if (*s == ')' || *s == ']') {
            if (deeper > 0) {
                --deeper;
            } else if (count > 0) {
                --count;
            }
        }
    }
    char* o = out;
    while (count > 0) {
        const char closer = pending[--count];
        if (closer == 'R' || closer == 'E') *o++ = ' ';
        *o++ = (closer == 'R' || closer == 'r') ? ')' : ']';
    }
    *o++ = ' ';
    *o = '\0';
}

int pasteCutLine(const char* text, int* pos, int width, char* out) {
    const char* s = text + *pos;
    if (*s == '\0') return -1;
    int n = 0;
    int lastBlank = -1;
    while (n < width && s[n] != '\0' && s[n] != '\r' && s[n] != '\n') {
        if (s[n] == ' ') lastBlank = n;
        ++n;
    }
    const char follows = s[n];
    const bool goesOn = follows != '\0' && follows != '\r' && follows != '\n';
    int length = n;
    if (goesOn && lastBlank > width - 16) length = lastBlank + 1;
    std::memcpy(out, s, static_cast<std::size_t>(length));
    out[length] = '\0';
    int next = *pos + length;
    if (text[next] == '\r') ++next;
    if (text[next] == '\n') ++next;
    *pos = next;
    return length;
}
