// The text window's portable half: variables, colours, window size, paint
// plans, the caret's rules, the scroll bar and the row-paint operations.
#include "view/textview.h"

#include <cstring>

#include "document/linestore.h"
#include "support/platform.h"
#include "support/profile.h"
#include "support/strfunc.h"
#include "view/editing.h"
#include "view/options.h"
#include "view/taste.h"

int viewReady = 0;
int rowsReady = 0;
int hasFocus = 0;
int textAreaWidth = 0;
int textAreaHeight = 0;
int charWidth = 0;
int lineHeight = 0;
int scrollBarWidth = 0;
Rgb bgColour = kDefaultBgColour;
Rgb markLineColour = kDefaultMarkLineColour;
Rgb inlineMarkColour = kDefaultInlineMarkColour;
int coloursLoaded = 0;

int caretState = 0;
int caretShape = -1;
int shownCol = 0;
int shownFirstCol = 0;
int shownRow = 0;

namespace {

constexpr const char* kColourSection = "Global";
constexpr int kAreaMarginX = 8;  // left and right margin besides the scroll bar
constexpr int kAreaMarginY = 4;  // top and bottom margin

// The last values the scroll bar was given; -1: none yet.
struct ScrollCache {
    std::int32_t above = -1, below = -1, rows = -1;
};

// The view's own state besides the shared variables.
struct ViewState {
    ScrollCache scroll;
    int paintDepth = 0;                  // row-paint contexts begun and not ended
    int seenFocus = 0;                   // the focus as the previous caretUpdate saw it
    const CaretDevice* device = nullptr;  // carries out the caret's rules
};

ViewState view;

int clampInt(long long v, int lo, int hi) {
    if (v < lo) return lo;
    if (v > hi) return hi;
    return static_cast<int>(v);
}

// The window size as it is used: the shared variables may hold anything.
int colsInUse() { return clampInt(windowCols, 1, kLineChars); }
int rowsInUse() { return clampInt(windowRows, 1, kWindowRowsMax); }

// One "%d": optional white space, an optional sign, at least one digit.
// Large values saturate (they are out of range either way).
bool readNumber(const char** text, long long* value) {
    const char* p = *text;
    while (is_white(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!is_digit(static_cast<unsigned char>(*p))) return false;
    long long v = 0;
    for (; is_digit(static_cast<unsigned char>(*p)); ++p) {
        if (v < 1000000) v = v * 10 + (*p - '0');
    }
    *value = negative ? -v : v;
    *text = p;
    return true;
}

// The length of text, but at most max (the text need not end within max).
int boundedLength(const char* text, int max) {
    if (max <= 0) return 0;
    const void* end = std::memchr(text, '\0', static_cast<std::size_t>(max));
    return end != nullptr ? static_cast<int>(static_cast<const char*>(end) - text) : max;
}

void textRunInit(TextRun* run, int c, int r) {
    run->x = c * charWidth + kCellLeft;
    run->y = r * lineHeight + kCellTop;
    run->length = 0;
    run->text[0] = '\0';
    run->markedColour = false;
}

// The characters drawTextAt may draw from cell (c, r): at most n, at most to
// the window's right edge and 250, at most the text's length; -1 when the
// cell is not in the window.
int textCap(int c, int r, const char* text, int n) {
    if (text == nullptr || r < 0 || r >= rowsInUse() || c < 0 || c >= colsInUse()) return -1;
    int cap = clampInt(n, 0, colsInUse() - c);
    if (cap > kLineChars) cap = kLineChars;
    return boundedLength(text, cap);
}

void shownRemember() {
    shownCol = cursorCol;
    shownFirstCol = firstCol;
    shownRow = cursorRow;
}

bool cursorAtShownCell() {
    return cursorCol == shownCol && firstCol == shownFirstCol && cursorRow == shownRow;
}

// The system caret in the shape of the current insertMode: a bar in insert
// mode, a whole cell in overwrite mode.
void caretCreate() {
    const int width = insertMode ? 2 : charWidth;
    if (view.device) view.device->create(width, lineHeight + 2);
    caretShape = insertMode;
}

void caretMoveToCursor() {
    if (view.device) view.device->move(cursorCol * charWidth + kCellLeft, cursorRow * lineHeight + kCellTop);
}

}  // namespace

// ---------------------------------------------------------------- colours

bool colourParse(const char* text, Rgb* colour) {
    if (text == nullptr) return false;
    long long part[3];
    for (long long& v : part) {
        if (!readNumber(&text, &v) || v < 0 || v > 255) return false;
    }
    *colour = Rgb{static_cast<unsigned char>(part[0]), static_cast<unsigned char>(part[1]),
                  static_cast<unsigned char>(part[2])};
    return true;
}

Rgb colourRead(const char* key, Rgb fallback) {
    char value[INI_BUF_SIZE] = "";
    ini_read(kColourSection, key, value);
    Rgb colour = fallback;
    colourParse(value, &colour);
    return colour;
}

void coloursLoad() {
    if (coloursLoaded) return;
    bgColour = colourRead("BgFarbe", kDefaultBgColour);
    markLineColour = colourRead("MarkBgFarbe", kDefaultMarkLineColour);
    inlineMarkColour = colourRead("BlockBgFarbe", kDefaultInlineMarkColour);
    coloursLoaded = 1;
}

// ---------------------------------------------------------------- display glyphs

unsigned char displayGlyph(unsigned char ch) {
    if (ch >= 32) return ch;
    return ch == '\t' ? kTabGlyph : kControlGlyph;
}

void glyphsMap(char* dst, const char* src, int n) {
    // Control characters are rare: copy whole, then map the few there are.
    if (n <= 0) return;
    std::memcpy(dst, src, static_cast<std::size_t>(n));
    for (int i = mem_find_control(dst, n); i >= 0 && i < n; ++i) {
        dst[i] = static_cast<char>(displayGlyph(static_cast<unsigned char>(dst[i])));
    }
}

// ---------------------------------------------------------------- metrics

int windowColsFor(int areaWidth, int barWidth, int cellWidth) {
    const long long cols =
        (static_cast<long long>(areaWidth) - barWidth - kAreaMarginX) / (cellWidth < 1 ? 1 : cellWidth);
    return clampInt(cols, 1, kLineChars);
}

int windowRowsFor(int areaHeight, int cellHeight) {
    const long long rows =
        (static_cast<long long>(areaHeight) - kAreaMarginY) / (cellHeight < 1 ? 1 : cellHeight);
    return clampInt(rows, 1, kWindowRowsMax);
}

void windowSizeUpdate() {
    windowCols = windowColsFor(textAreaWidth, scrollBarWidth, charWidth);
    windowRows = windowRowsFor(textAreaHeight, lineHeight);
    cursorCol = clampInt(cursorCol, 0, windowCols - 1);
    cursorRow = clampInt(cursorRow, 0, windowRows - 1);
}

PixelRect cellRect(int c, int r, int ncols, int nrows) {
    return PixelRect{c * charWidth + kCellLeft, r * lineHeight + kCellTop, (c + ncols) * charWidth + kCellLeft,
                     (r + nrows) * lineHeight + kCellTop};
}

PixelRect scrollBarRect() {
    return PixelRect{textAreaWidth - scrollBarWidth, 0, textAreaWidth, textAreaHeight > 0 ? textAreaHeight : 0};
}

void viewResizeTo(int areaWidth, int areaHeight) {
    textAreaWidth = areaWidth;
    textAreaHeight = areaHeight;
    if (!viewReady) return;
    const std::int32_t oldRows = windowRows;
    const std::int32_t oldCursorRow = cursorRow;
    // Rows that cannot go below must stay where they are: a refill from below
    // would overwrite them.
    const bool flushed = !rowsReady || flushWindowBelow() == 0;
    windowSizeUpdate();
    if (!flushed) {
        windowRows = oldRows;
        cursorRow = clampInt(oldCursorRow, 0, rowsInUse() - 1);
    }
    if (rowsReady && flushed) fillWindowFromBelow();
    invalidateAll();
}

// ---------------------------------------------------------------- paint plans

CellsPlan cellsPlan(int c, int r, int ncols, int nrows, bool marked, int from, int to) {
    CellsPlan plan{};
    plan.fills[0] = Fill{cellRect(c, r, ncols, nrows), marked ? markLineColour : bgColour};
    plan.count = 1;
    if (from != to) {
        const int lo = from < to ? from : to;
        const int hi = from < to ? to : from;
        plan.fills[1] = Fill{cellRect(lo, r, hi - lo, nrows), inlineMarkColour};
        plan.count = 2;
    }
    return plan;
}

bool rowPlan(int r, RowPlan* plan) {
    if (r < 0 || r >= rowsInUse()) return false;
    LineRecord line;
    rowGetRaw(r, &line);
    const int cols = colsInUse();
    const int first = clampInt(firstCol, 0, kLineChars);
    const int n = cols < kLineChars - first ? cols : kLineChars - first;
    // The in-line mark in screen columns, clipped to the view on both sides.
    int from = clampInt(static_cast<int>(line.markFrom) - first, 0, cols);
    int to = clampInt(static_cast<int>(line.markTo) - first, 0, cols);
    if (from > to) {
        const int t = from;
        from = to;
        to = t;
    }
    const bool marked = line.markState != '0';
    plan->cells = cellsPlan(0, r, cols, 1, marked, from, to);
    plan->markFrom = from;
    plan->markTo = to;
    textRunInit(&plan->text, 0, r);
    glyphsMap(plan->text.text, line.text + first, n);
    plan->text.text[n] = '\0';
    plan->text.length = n;
    plan->text.markedColour = marked;
    return true;
}

bool textPlan(int c, int r, const char* text, int n, char markState, RowPlan* plan) {
    const int count = textCap(c, r, text, n);
    if (count < 0) return false;
    const bool marked = markState != '0';
    plan->cells = cellsPlan(c, r, count, 1, marked, 0, 0);
    plan->markFrom = plan->markTo = 0;
    textRunInit(&plan->text, c, r);
    glyphsMap(plan->text.text, text, count);
    plan->text.text[count] = '\0';
    plan->text.length = count;
    plan->text.markedColour = marked;
    return true;
}

CursorCellPlan cursorCellPlan(int col, int docCol, int row, Rgb colour) {
    CursorCellPlan plan{};
    plan.fill = Fill{cellRect(col, row, 1, 1), colour};
    LineRecord line;
    rowGetRaw(row, &line);
    const unsigned char ch = docCol >= 0 && docCol < kLineChars ? static_cast<unsigned char>(line.text[docCol])
                                                                : static_cast<unsigned char>(' ');
    textRunInit(&plan.glyph, col, row);
    plan.glyph.text[0] = static_cast<char>(displayGlyph(ch));
    plan.glyph.text[1] = '\0';
    plan.glyph.length = 1;
    plan.glyph.markedColour = line.markState != '0';
    return plan;
}

// ---------------------------------------------------------------- the cursor

void caretDeviceSet(const CaretDevice* device) { view.device = device; }

void caretShow() {
    if (!viewReady) return;
    if (hasFocus) {
        bool place = cursorCol != shownCol || cursorRow != shownRow;
        if (caretShape != insertMode) {
            caretCreate();
            place = true;  // a new caret need not stand where the old one stood
        }
        if (place) caretMoveToCursor();
        if (view.device) view.device->show();
        caretState = 1;
    } else {
        if (view.device)
            view.device->paintCell(
                cursorCellPlan(cursorCol, firstCol + cursorCol, cursorRow, kBlockCursorColour));
        caretState = 2;
    }
    shownRemember();
}

void caretHide() {
    if (!viewReady) return;
    if (caretState == 1) {
        if (view.device) view.device->hide();
    } else if (caretState == 2) {
        if (view.device)
            view.device->paintCell(cursorCellPlan(shownCol, shownFirstCol + shownCol, shownRow, bgColour));
    }
    caretState = 0;
}

void caretUpdate() {
    if (!viewReady) return;
    const int focus = hasFocus ? 1 : 0;
    if ((caretState == 1) == (focus == 1) && caretShape == insertMode && cursorAtShownCell()) return;
    if (view.device && !view.device->begin()) return;
    if (focus != view.seenFocus) {
        if (focus) {
            caretHide();
            caretCreate();
            caretMoveToCursor();
            if (view.device) view.device->show();
            caretState = 1;
            shownRemember();
        } else {
            if (view.device) view.device->destroy();
            caretState = 0;
        }
        view.seenFocus = focus;
    }
    caretHide();
    caretShow();
    if (view.device) view.device->end();
}

// ---------------------------------------------------------------- scroll bar

void scrollInfoUpdate() {
    if (!viewReady) return;
    const std::int32_t a = aboveCountGet();
    const std::int32_t b = belowCountGet();
    const std::int32_t n = rowsInUse();
    if (a == view.scroll.above && b == view.scroll.below && n == view.scroll.rows) return;
    plat_scrollbar_set(a + b + n - 1, n, a);
    view.scroll = ScrollCache{a, b, n};
}

bool scrollRequestKey(int request, ScrollKey* key) {
    switch (request) {
    case scroll_request::kLineUp: *key = ScrollKey{vk::kUp, true}; return true;
    case scroll_request::kLineDown: *key = ScrollKey{vk::kDown, true}; return true;
    case scroll_request::kPageUp: *key = ScrollKey{vk::kPrior, false}; return true;
    case scroll_request::kPageDown: *key = ScrollKey{vk::kNext, false}; return true;
    case scroll_request::kTop: *key = ScrollKey{vk::kPrior, true}; return true;
    case scroll_request::kBottom: *key = ScrollKey{vk::kNext, true}; return true;
    default: return false;
    }
}

void scrollCommand(int request, int position) {
    ScrollKey key{};
    if (scrollRequestKey(request, &key)) {
        keyDownNested(key.vk, false, key.ctrl);
    } else if (request == scroll_request::kThumbPosition || request == scroll_request::kThumbTrack) {
        gotoLineAtTop(position);
    }
}

// ---------------------------------------------------------------- for the other modules

void invalidateAll() {
    if (viewReady) plat_repaint_view();
}

void beginRowPaint() {
    if (!viewReady) return;
    if (view.paintDepth++ == 0) plat_row_paint_begin();
}

void repaintRow(int r) {
    if (!viewReady || view.paintDepth == 0 || r < 0 || r >= rowsInUse()) return;
    plat_row_paint_row(r);
}

void drawTextAt(int c, int r, const char* text, int n, char markState) {
    if (!viewReady || view.paintDepth == 0) return;
    const int count = textCap(c, r, text, n);
    if (count < 0) return;
    char glyphs[kLineChars + 1];
    glyphsMap(glyphs, text, count);
    glyphs[count] = '\0';
    plat_row_paint_text(c, r, glyphs, count, markState);
}

void drawStringAt(int c, int r, const char* text, char markState) {
    if (text == nullptr) return;
    drawTextAt(c, r, text, boundedLength(text, kLineChars), markState);
}

void endRowPaint() {
    if (view.paintDepth == 0) return;
    if (--view.paintDepth == 0) plat_row_paint_end();
}

bool rowPaintOpen() { return view.paintDepth > 0; }

void caretRefresh() {
    if (viewReady) plat_caret_refresh();
}

// ---------------------------------------------------------------- life cycle

void viewStateStart(int barWidth) {
    editSessionListen();  // the document's notices are answered from now on
    scrollBarWidth = barWidth;
    viewReady = 1;
    hasFocus = 1;
    coloursLoad();
    view.scroll = ScrollCache{};
    view.paintDepth = 0;
    view.seenFocus = 0;
    caretState = 0;
    caretShape = -1;
    shownCol = shownFirstCol = shownRow = 0;
}

void viewStateEnd() {
    if (view.paintDepth > 0) {
        view.paintDepth = 1;
        endRowPaint();
    }
    if (caretState == 1 && view.device) view.device->destroy();
    caretState = 0;
    view.seenFocus = 0;
    viewReady = 0;
}
