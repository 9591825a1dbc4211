// The text window's portable half: colours, glyphs, row plans, the caret (a recording device), resizing.
#include "view/textview.h"

#include "file_bytes.h"
#include "key_fixture.h"

#include <utility>

#include "support/profile.h"

namespace {

std::string caretLog;  // the caret device's calls since the last look, joined by "|"
bool caretBeginWorks = true;

void logged(const std::string& event) { caretLog += (caretLog.empty() ? "" : "|") + event; }
std::string taken() { return std::exchange(caretLog, std::string()); }

const CaretDevice kRecordingDevice{
    [] { return logged("begin"), caretBeginWorks; },
    [] { logged("end"); },
    [](int w, int h) { logged("create " + std::to_string(w) + "x" + std::to_string(h)); },
    [] { logged("destroy"); },
    [](int x, int y) { logged("move " + std::to_string(x) + "," + std::to_string(y)); },
    [] { logged("show"); },
    [] { logged("hide"); },
    [](const CursorCellPlan& p) {
        logged("cell " + std::to_string(p.fill.rect.left) + "," + std::to_string(p.fill.rect.top) +
               (p.fill.colour == kBlockCursorColour ? " grey '" : " bg '") + p.glyph.text + "'" +
               (p.glyph.markedColour ? " marked" : ""));
    },
};

// The view as start-up leaves it: cells of 8 x 16 pixels, a scroll bar of 16,
// an area of 80 columns and 30 rows, an empty document, the focus.
class TextView : public ::testing::Test, protected TempDir {
  protected:
    TextView() : TempDir("y8_textview_") {}
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(30, 80));
        insertMode = 1;
        coloursLoaded = 0;  // no profile: the default colours
        caretBeginWorks = true;
        caretDeviceSet(&kRecordingDevice);
        viewStateStart(16);
        charWidth = 8;
        lineHeight = 16;
        textAreaWidth = 80 * 8 + 16 + 8;
        textAreaHeight = 30 * 16 + 4;
        windowSizeUpdate();
        rowsReady = 1;
        headless_reset();
        caretLog.clear();
    }
    void TearDown() override {
        viewStateEnd();
        rowsReady = hasFocus = coloursLoaded = 0;
        caretDeviceSet(nullptr);
        headless_reset();
    }
};

TEST_F(TextView, ColoursAreThreeNumbersInRangeReadOnceFromGlobal) {
    struct Row { const char* text; bool ok; Rgb colour; };
    static const Row rows[] = {
        {"  10\t20   30 and more", true, {10, 20, 30}}, {"255 +255 255", true, {255, 255, 255}}, {"", false, {}},
        {"12abc 1 1", false, {}}, {"256 0 0", false, {}}, {"0 -1 0", false, {}},
        {"99999999999999999999 0 0", false, {}}, {"- 1 2 3", false, {}}, {nullptr, false, {}},
    };
    for (const Row& r : rows) {
        Rgb c{7, 8, 9};
        EXPECT_EQ(colourParse(r.text, &c), r.ok) << r.text;
        EXPECT_EQ(c, (r.ok ? r.colour : Rgb{7, 8, 9})) << r.text;
    }
    headless_set_ini_dir((dir_.string() + "/").c_str());
    ini_set_file("Y8Test.ini");
    ini_write("Global", "BgFarbe", "0 0 128");
    ini_write("Global", "BlockBgFarbe", "300 20 20");  // out of range: the default
    coloursLoaded = 0;
    coloursLoad();
    EXPECT_EQ(markLineColour, kDefaultMarkLineColour);
    ini_write("Global", "BgFarbe", "1 2 3");
    coloursLoad();  // once per run
    EXPECT_EQ(bgColour, (Rgb{0, 0, 128}));
    coloursLoaded = 0;
    ini_write("Global", "MarkBgFarbe", "1 2 3");
    ini_write("Global", "BgFarbe", "Farbe");
    coloursLoad();
    EXPECT_EQ(bgColour, kDefaultBgColour);
    EXPECT_EQ(markLineColour, (Rgb{1, 2, 3}));
}

TEST_F(TextView, RowPlansShowGlyphsFromTheFirstColumnWithTheMarkClipped) {
    std::string text;
    for (int i = 0; i < 250; ++i) text += static_cast<char>('A' + i % 26);
    text.replace(0, 4, "a\tb\f");
    struct Row { int firstCol; char mark; int from, to; int length, markFrom, markTo, fills; };
    static const Row rows[] = {
        {240, '0', 0, 0, 10, -1, -1, 1},  // ten characters over a full background
        {10, '0', 5, 12, 80, 0, 2, 2},   // the mark clipped to the view
        {0, '0', 12, 5, 80, 5, 12, 2},   // from after to: the same columns
        {0, '2', 70, 250, 80, 70, 80, 2},
    };
    markLineColour = Rgb{1, 2, 3};
    RowPlan plan;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.firstCol);
        setRow(4, text.c_str(), r.mark, static_cast<unsigned char>(r.from), static_cast<unsigned char>(r.to));
        firstCol = r.firstCol;
        ASSERT_TRUE(rowPlan(4, &plan));
        EXPECT_EQ(plan.text.length, r.length);
        if (r.markFrom < 0) {
            EXPECT_EQ(plan.markFrom, plan.markTo);  // no columns
        } else {
            EXPECT_EQ(std::make_pair(plan.markFrom, plan.markTo), std::make_pair(r.markFrom, r.markTo));
        }
        ASSERT_EQ(plan.cells.count, r.fills);
        EXPECT_EQ(plan.cells.fills[0].rect, cellRect(0, 4, 80, 1));  // all 80 cells, not 10
        EXPECT_EQ(plan.cells.fills[0].colour, r.mark == '0' ? bgColour : markLineColour);
        EXPECT_EQ(plan.text.markedColour, r.mark != '0');
        if (r.fills == 2) {
            EXPECT_EQ(plan.cells.fills[1].rect, cellRect(r.markFrom, 4, r.markTo - r.markFrom, 1));
            EXPECT_EQ(plan.cells.fills[1].colour, inlineMarkColour);
        }
    }
    // Control characters are drawn as glyphs; the stored line keeps them. Only window rows have plans.
    firstCol = 0;
    ASSERT_TRUE(rowPlan(4, &plan));
    EXPECT_EQ(std::string(plan.text.text, 4), "a\x99" "b\x90");
    EXPECT_EQ(rowText(4).substr(0, 4), "a\tb\f");
    EXPECT_TRUE(rowPlan(29, &plan));
    EXPECT_FALSE(rowPlan(30, &plan) || rowPlan(-1, &plan));
    const char src[] = {'\0', '\r', ' ', static_cast<char>(200), static_cast<char>(153)};
    char dst[sizeof src];
    glyphsMap(dst, src, sizeof src);
    EXPECT_EQ(std::string(dst, sizeof dst), "\x90\x90 \xC8\x99");
    // A text plan: capped at the right edge, its line's background.
    ASSERT_TRUE(textPlan(75, 2, std::string(100, 'x').c_str(), 20, '0', &plan));
    EXPECT_EQ(plan.cells.fills[0].rect, cellRect(75, 2, 5, 1));
    ASSERT_TRUE(textPlan(0, 2, "ab", 10, '2', &plan));
    EXPECT_EQ(plan.cells.fills[0].colour, markLineColour);
    EXPECT_FALSE(textPlan(80, 2, "a", 1, '0', &plan) || textPlan(0, 30, "a", 1, '0', &plan));
    EXPECT_EQ(cellsPlan(2, 3, 4, 2, false, 0, 0).fills[0].rect, (PixelRect{20, 50, 52, 82}));
}

// Without the view nothing reaches the host; a context is taken once however often it is asked for.
TEST_F(TextView, RowPaintOperationsNeedTheViewAndNeverNest) {
    const HeadlessRecord& rec = headless_record();
    for (int ready : {0, 1}) {
        viewReady = ready;
        repaintRow(0);  // outside a context: nothing
        beginRowPaint();
        beginRowPaint();
        repaintRow(3);
        repaintRow(30);  // not a window row
        drawTextAt(250, 3, "z", 1, '0');
        drawTextAt(-1, 3, "z", 1, '0');
        drawStringAt(0, 3, nullptr, '0');
        drawStringAt(2, 3, "hello", '0');
        endRowPaint();
        endRowPaint();
        endRowPaint();  // one end too many: nothing
        invalidateAll();
        caretRefresh();
    }
    EXPECT_EQ(std::make_tuple(rec.rowPaintContexts, rec.nestedContexts + rec.openContexts, rec.rowsPainted,
                              rec.textsPainted, rec.lastTextLength, rec.viewRepaints + rec.caretRefreshes),
              std::make_tuple(1, 0, 1, 1, 5, 2));
}

TEST_F(TextView, CaretIsTouchedOnlyWhenSomethingChangedAndABlockStandsWithoutTheFocus) {
    setRow(2, "abcdefgh");
    setRow(0, "\tx", '1');
    struct Step { void (*change)(); const char* events; };
    const Step steps[] = {
        {[] {}, "begin|create 2x18|move 4,2|show|hide|show|end"},
        {[] {}, ""},
        {[] { cursorSet(5, 2); }, "begin|hide|move 44,34|show|end"},
        {[] { insertMode = 0; }, "begin|hide|create 8x18|move 44,34|show|end"},  // overwrite: a whole cell
        {[] { firstCol = 10; }, "begin|hide|show|end"},  // the same cell shows another column
        {[] { firstCol = 0; cursorCol = 3; hasFocus = 0; }, "begin|destroy|cell 28,34 grey 'd'|end"},
        {[] {}, ""},
        {[] { cursorCol = 4; }, "begin|cell 28,34 bg 'd'|cell 36,34 grey 'e'|end"},  // the old cell restored
        {[] { hasFocus = insertMode = 1; }, "begin|cell 36,34 bg 'e'|create 2x18|move 36,34|show|hide|show|end"},
        {[] { viewStateEnd(); }, "destroy"},  // the shown caret goes with the view
        {[] { caretShow(); caretHide(); }, ""},
        {[] { viewStateStart(16); cursorSet(0, 0); caretUpdate(); hasFocus = 0; caretLog.clear(); },
         "begin|destroy|cell 4,2 grey '\x99' marked|end"},  // the glyph in the row's text colour
        {[] { caretBeginWorks = false; cursorCol = 1; }, "begin"},  // a failed context does nothing
    };
    for (const Step& s : steps) {
        s.change();
        caretUpdate();
        EXPECT_EQ(taken(), s.events);
    }
}

TEST_F(TextView, ScrollBarIsSetOnlyWhenItsInputsChangeAndItsRequestsMoveTheView) {
    loadLines(numbered(0, 1000));
    struct Step { void (*change)(); int sets, max, page, pos; };
    const Step steps[] = {
        {[] {}, 1, 999, 30, 0},
        {[] {}, 1, 999, 30, 0},
        {[] { gotoLineAtTop(200); }, 2, 999, 30, 200},
        {[] { loadLines(numbered(0, 3)); }, 3, 29, 30, 0},  // a short document: the page covers every row
        {[] { viewStateEnd(); }, 3, 29, 30, 0},  // no view: nothing
        {[] { viewStateStart(16); }, 4, 29, 30, 0},  // a new view forgets what the old one was given
    };
    for (const Step& s : steps) {
        s.change();
        scrollInfoUpdate();
        const HeadlessRecord& rec = headless_record();
        EXPECT_EQ(std::vector<int>({rec.scrollbarSets, rec.scrollMax, rec.scrollPage, rec.scrollPos}),
                  std::vector<int>({s.sets, s.max, s.page, s.pos}));
    }
    loadLines(numbered(0, 1000));
    cursorRow = 12;
    struct Request { int request, value, top, row; };
    static const Request requests[] = {
        {scroll_request::kThumbTrack, 500, 500, 0},  // the line in row 0 with the cursor
        {scroll_request::kThumbPosition, 20, 20, 0},
        {42, 700, 20, 0},  // an end of scrolling or an unknown request: nothing
        {scroll_request::kLineDown, 0, 21, 0},  // through the key dispatcher: the row kept
        {scroll_request::kLineUp, 0, 20, 0},
        {scroll_request::kPageDown, 0, 50, 0},
        {scroll_request::kPageUp, 0, 20, 0},
        {scroll_request::kBottom, 0, 970, 29},
        {scroll_request::kTop, 0, 0, 0},
    };
    for (const Request& r : requests) {
        scrollCommand(r.request, r.value);
        EXPECT_EQ(topLine * 100 + cursorRow, r.top * 100 + r.row) << r.request;
        EXPECT_EQ(rowText(0), "line " + std::to_string(r.top)) << r.request;
    }
    ScrollKey key{};
    EXPECT_FALSE(scrollRequestKey(-1, &key));
}

TEST_F(TextView, ResizeRefillsTheRowsAndLosesNoLineButKeepsThemInAFullStore) {
    loadLines(numbered(0, 1000));
    ASSERT_EQ(gotoLineAtTop(100), 0);
    cursorRow = 20;
    setRow(5, "edited in the window");
    headless_reset();
    viewResizeTo(textAreaWidth, 10 * 16 + 4);
    EXPECT_EQ(rowText(5), "edited in the window");
    EXPECT_EQ(std::make_tuple(cursorRow, belowCountGet(), headless_record().viewRepaints), std::make_tuple(9, 890, 1));
    viewResizeTo(textAreaWidth, 40 * 16 + 4);
    EXPECT_EQ(rowText(39), "line 139");
    // Before the rows are ready only the size is taken; without a view not even that.
    rowsReady = 0;
    viewResizeTo(textAreaWidth, 5 * 16 + 4);
    EXPECT_EQ(windowRows, 5);
    EXPECT_EQ(rowText(0), "line 100");
    viewReady = 0;
    viewResizeTo(400, 50 * 16 + 4);
    EXPECT_EQ(textAreaWidth * 100 + windowRows, 40005);
    // A store too full for the rows to go below: the window keeps them.
    viewReady = rowsReady = 1;
    viewResizeTo(80 * 8 + 24, 30 * 16 + 4);
    storeReset();
    for (int r = 0; r < windowRows; ++r) setRow(r, (std::string(247, 'x') + std::to_string(100 + r)).c_str());
    LineRecord line;
    lineInit(&line);
    std::memset(line.text, 'x', kLineChars);
    while (storeFreeBytes() > 3000) ASSERT_EQ(pushAbove(&line), 0);
    topLine = aboveCountGet();
    cursorRow = 25;
    viewResizeTo(textAreaWidth, 10 * 16 + 4);
    EXPECT_EQ(windowRows, 30);
    for (int r = 0; r < 30; ++r) EXPECT_EQ(rowText(r), std::string(247, 'x') + std::to_string(100 + r)) << r;
}

}  // namespace
