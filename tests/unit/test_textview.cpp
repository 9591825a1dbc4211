// Tests of the text window's portable half through the headless host: the
// colours, display glyphs, window size, row paint plans, the row-paint
// operations, the caret's rules (with a recording caret device), the scroll
// bar and its requests, and resizing with the rows flushed and refilled.
#include "view/textview.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "document/linestore.h"
#include "host/headless.h"
#include "host/headless_profile.h"
#include "support/profile.h"
#include "view/options.h"
#include "view/taste.h"

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- a recording caret device

struct DeviceLog {
    std::vector<std::string> events;
    bool beginWorks = true;
};
DeviceLog deviceLog;

std::string colourName(Rgb c) {
    if (c == kBlockCursorColour) return "grey";
    if (c == bgColour) return "bg";
    return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

const CaretDevice kRecordingDevice{
    [] {
        deviceLog.events.push_back("begin");
        return deviceLog.beginWorks;
    },
    [] { deviceLog.events.push_back("end"); },
    [](int w, int h) { deviceLog.events.push_back("create " + std::to_string(w) + "x" + std::to_string(h)); },
    [] { deviceLog.events.push_back("destroy"); },
    [](int x, int y) { deviceLog.events.push_back("move " + std::to_string(x) + "," + std::to_string(y)); },
    [] { deviceLog.events.push_back("show"); },
    [] { deviceLog.events.push_back("hide"); },
    [](const CursorCellPlan& p) {
        deviceLog.events.push_back("cell " + std::to_string(p.fill.rect.left) + "," +
                                   std::to_string(p.fill.rect.top) + " " + colourName(p.fill.colour) + " '" +
                                   std::string(p.glyph.text) + "'" + (p.glyph.markedColour ? " marked" : ""));
    },
};

std::vector<std::string> takeEvents() {
    std::vector<std::string> e = deviceLog.events;
    deviceLog.events.clear();
    return e;
}

using Events = std::vector<std::string>;

// ---------------------------------------------------------------- rows and documents

void putRow(int r, const std::string& text, char mark = '0', unsigned char from = 0, unsigned char to = 0) {
    LineRecord line;
    lineInit(&line);
    std::memcpy(line.text, text.data(), std::min<std::size_t>(text.size(), kLineChars));
    line.markState = mark;
    line.markFrom = from;
    line.markTo = to;
    rowPut(r, &line);
}

std::string rowText(int r) {
    LineRecord line;
    rowGet(r, &line);
    return line.text;
}

// A document of n lines "line 0" .. "line n-1", shown from its start.
void loadNumbered(int n) {
    storeReset();
    rowsClearAll();
    for (int i = 0; i < n; ++i) {
        LineRecord line;
        lineInit(&line);
        const std::string text = "line " + std::to_string(i);
        std::memcpy(line.text, text.c_str(), text.size() + 1);
        ASSERT_EQ(pushAbove(&line), 0);
    }
    moveAllBelow();
    fillWindowFromBelow();
    topLine = 0;
    cursorRow = 0;
}

int documentLineCount() {
    int last = -1;
    for (int r = 0; r < windowRows; ++r) {
        if (!rowText(r).empty()) last = r;
    }
    return aboveCountGet() + (belowCountGet() > 0 ? windowRows + belowCountGet() : last + 1);
}

// The view as start-up leaves it: cells of 8 x 16 pixels, a scroll bar of 16,
// an area of 80 columns and 30 rows, an empty document, the focus.
class TextView : public ::testing::Test {
  protected:
    void SetUp() override {
        headless_reset();
        ASSERT_TRUE(storeCreate());
        ASSERT_TRUE(windowCreate());
        storeReset();
        rowsClearAll();
        topLine = cursorRow = cursorCol = firstCol = 0;
        insertMode = 1;
        coloursLoaded = 0;  // no profile: the default colours
        deviceLog = DeviceLog{};
        caretDeviceSet(&kRecordingDevice);
        viewStateStart(16);
        charWidth = 8;
        lineHeight = 16;
        textAreaWidth = 80 * 8 + 16 + 8;
        textAreaHeight = 30 * 16 + 4;
        windowSizeUpdate();
        rowsReady = 1;
        headless_reset();
        deviceLog.events.clear();
    }
    void TearDown() override {
        viewStateEnd();
        rowsReady = 0;
        hasFocus = 0;
        caretDeviceSet(nullptr);
        coloursLoaded = 0;
        headless_reset();
    }
};

// ---------------------------------------------------------------- colours

TEST(TextViewColours, ThreeNumbersInRangeMakeAColourAnythingElseDoesNot) {
    Rgb c{1, 2, 3};
    EXPECT_TRUE(colourParse("0 0 128", &c));
    EXPECT_EQ(c, (Rgb{0, 0, 128}));
    EXPECT_TRUE(colourParse("  10\t20   30 and more", &c));
    EXPECT_EQ(c, (Rgb{10, 20, 30}));
    EXPECT_TRUE(colourParse("255 +255 255", &c));
    EXPECT_EQ(c, (Rgb{255, 255, 255}));

    const Rgb before{7, 8, 9};
    for (const char* bad : {"", "   ", "blau", "1 2", "1,2,3", "12abc 1 1", "256 0 0", "0 -1 0", "0 0 1000",
                            "99999999999999999999 0 0", "- 1 2 3"}) {
        c = before;
        EXPECT_FALSE(colourParse(bad, &c)) << bad;
        EXPECT_EQ(c, before) << bad;
    }
    EXPECT_FALSE(colourParse(nullptr, &c));
}

class TextViewProfile : public ::testing::Test {
  protected:
    void SetUp() override {
        headless_reset();
        // A directory of each test's own: ctest may run tests side by side.
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("y8-textview-") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        const std::string dirText = dir_.string() + static_cast<char>(fs::path::preferred_separator);
        headless_set_ini_dir(dirText.c_str());
        ini_set_file("Y8Test.ini");
        coloursLoaded = 0;
    }
    void TearDown() override {
        coloursLoaded = 0;
        headless_reset();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    fs::path dir_;
};

TEST_F(TextViewProfile, ColoursComeFromGlobalOnceWithDefaultsForBadValues) {
    ini_write("Global", "BgFarbe", "0 0 128");
    ini_write("Global", "MarkBgFarbe", "");             // empty: the default
    ini_write("Global", "BlockBgFarbe", "300 20 20");  // out of range: the default
    coloursLoad();
    EXPECT_EQ(coloursLoaded, 1);
    EXPECT_EQ(bgColour, (Rgb{0, 0, 128}));
    EXPECT_EQ(markLineColour, kDefaultMarkLineColour);
    EXPECT_EQ(inlineMarkColour, kDefaultInlineMarkColour);

    // Read once per run: later changes of the profile are not seen.
    ini_write("Global", "BgFarbe", "1 2 3");
    coloursLoad();
    EXPECT_EQ(bgColour, (Rgb{0, 0, 128}));

    coloursLoaded = 0;
    ini_write("Global", "BgFarbe", "Farbe");
    ini_write("Global", "MarkBgFarbe", "1 2 3");
    coloursLoad();
    EXPECT_EQ(bgColour, kDefaultBgColour);
    EXPECT_EQ(markLineColour, (Rgb{1, 2, 3}));
}

// ---------------------------------------------------------------- display glyphs

TEST(TextViewGlyphs, ControlCharactersAreDrawnAsGlyphs) {
    EXPECT_EQ(displayGlyph('\t'), 153);
    EXPECT_EQ(displayGlyph('\f'), 144);
    EXPECT_EQ(displayGlyph(0), 144);
    EXPECT_EQ(displayGlyph(31), 144);
    EXPECT_EQ(displayGlyph(' '), ' ');
    EXPECT_EQ(displayGlyph(200), 200);
    EXPECT_EQ(displayGlyph(153), 153);

    const char src[] = {'a', '\t', '\0', '\r', static_cast<char>(200), 'z'};
    char dst[sizeof src];
    glyphsMap(dst, src, sizeof src);
    const char want[] = {'a', static_cast<char>(153), static_cast<char>(144), static_cast<char>(144),
                         static_cast<char>(200), 'z'};
    EXPECT_EQ(std::string(dst, sizeof dst), std::string(want, sizeof want));
}

TEST_F(TextView, RowShowsGlyphsButTheStoredLineKeepsItsCharacters) {
    putRow(2, std::string("a\tb\fc") + static_cast<char>(200));
    RowPlan plan;
    ASSERT_TRUE(rowPlan(2, &plan));
    EXPECT_EQ(std::string(plan.text.text, 6), std::string("a") + static_cast<char>(153) + "b" +
                                                  static_cast<char>(144) + "c" + static_cast<char>(200));
    EXPECT_EQ(rowText(2), std::string("a\tb\fc") + static_cast<char>(200));
}

// ---------------------------------------------------------------- window size

TEST(TextViewMetrics, ColumnsAndRowsFromTheAreaWithCapsAndAtLeastOne) {
    EXPECT_EQ(windowColsFor(80 * 8 + 16 + 8, 16, 8), 80);
    EXPECT_EQ(windowColsFor(80 * 8 + 16 + 8 - 1, 16, 8), 79);  // integer division
    EXPECT_EQ(windowColsFor(100000, 16, 8), 250);
    EXPECT_EQ(windowColsFor(24, 16, 8), 1);   // 0 columns would remain
    EXPECT_EQ(windowColsFor(0, 16, 8), 1);    // negative
    EXPECT_EQ(windowColsFor(116, 16, 0), 92); // a cell width of 0 counts as 1
    EXPECT_EQ(windowRowsFor(30 * 16 + 4, 16), 30);
    EXPECT_EQ(windowRowsFor(30 * 16 + 3, 16), 29);
    EXPECT_EQ(windowRowsFor(100000, 16), 100);
    EXPECT_EQ(windowRowsFor(19, 16), 1);
    EXPECT_EQ(windowRowsFor(-500, 16), 1);
    EXPECT_EQ(windowRowsFor(54, -3), 50);
}

TEST_F(TextView, WindowSizeFollowsTheAreaAndTheCursorStaysInside) {
    EXPECT_EQ(windowCols, 80);
    EXPECT_EQ(windowRows, 30);
    cursorCol = 79;
    cursorRow = 29;
    textAreaWidth = 40 * 8 + 16 + 8;
    textAreaHeight = 10 * 16 + 4;
    windowSizeUpdate();
    EXPECT_EQ(windowCols, 40);
    EXPECT_EQ(windowRows, 10);
    EXPECT_EQ(cursorCol, 39);
    EXPECT_EQ(cursorRow, 9);

    textAreaWidth = 5;
    textAreaHeight = 0;
    windowSizeUpdate();
    EXPECT_EQ(windowCols, 1);
    EXPECT_EQ(windowRows, 1);
    EXPECT_EQ(cursorCol, 0);
    EXPECT_EQ(cursorRow, 0);

    cursorCol = -3;
    cursorRow = -1;
    charWidth = 0;
    lineHeight = 0;
    textAreaWidth = 2000;
    textAreaHeight = 2000;
    windowSizeUpdate();
    EXPECT_EQ(windowCols, 250);
    EXPECT_EQ(windowRows, 100);
    EXPECT_EQ(cursorCol, 0);
    EXPECT_EQ(cursorRow, 0);
}

TEST_F(TextView, CellsAndTheScrollBarHaveTheirPixels) {
    EXPECT_EQ(cellRect(0, 0, 1, 1), (PixelRect{4, 2, 12, 18}));
    EXPECT_EQ(cellRect(3, 2, 5, 1), (PixelRect{28, 34, 68, 50}));
    EXPECT_EQ(scrollBarRect(), (PixelRect{textAreaWidth - 16, 0, textAreaWidth, textAreaHeight}));
    textAreaHeight = -20;
    EXPECT_EQ(scrollBarRect().bottom, 0);
}

// ---------------------------------------------------------------- row plans

TEST_F(TextView, RowFromColumn240ShowsTenCharactersOverAFullBackground) {
    std::string text;
    for (int i = 0; i < 250; ++i) text += static_cast<char>('A' + i % 26);
    putRow(4, text);
    firstCol = 240;
    RowPlan plan;
    ASSERT_TRUE(rowPlan(4, &plan));
    EXPECT_EQ(plan.text.length, 10);
    EXPECT_EQ(std::string(plan.text.text), text.substr(240));
    EXPECT_EQ(plan.text.x, 4);
    EXPECT_EQ(plan.text.y, 4 * 16 + 2);
    ASSERT_EQ(plan.cells.count, 1);
    EXPECT_EQ(plan.cells.fills[0].rect, cellRect(0, 4, 80, 1));  // all 80 cells, not 10
    EXPECT_EQ(plan.cells.fills[0].colour, bgColour);
    EXPECT_FALSE(plan.text.markedColour);

    firstCol = 0;
    ASSERT_TRUE(rowPlan(4, &plan));
    EXPECT_EQ(plan.text.length, 80);
    EXPECT_EQ(std::string(plan.text.text), text.substr(0, 80));

    EXPECT_TRUE(rowPlan(29, &plan));  // only window rows have plans
    EXPECT_FALSE(rowPlan(30, &plan));
    EXPECT_FALSE(rowPlan(-1, &plan));
}

TEST_F(TextView, InlineMarkIsClippedToTheView) {
    putRow(1, "some text of the row", '0', 5, 12);
    RowPlan plan;
    firstCol = 10;
    ASSERT_TRUE(rowPlan(1, &plan));
    EXPECT_EQ(plan.markFrom, 0);
    EXPECT_EQ(plan.markTo, 2);
    ASSERT_EQ(plan.cells.count, 2);
    EXPECT_EQ(plan.cells.fills[1].rect, cellRect(0, 1, 2, 1));
    EXPECT_EQ(plan.cells.fills[1].colour, inlineMarkColour);

    firstCol = 20;  // the mark lies left of the view
    ASSERT_TRUE(rowPlan(1, &plan));
    EXPECT_EQ(plan.markFrom, plan.markTo);
    EXPECT_EQ(plan.cells.count, 1);

    firstCol = 0;
    ASSERT_TRUE(rowPlan(1, &plan));
    EXPECT_EQ(plan.cells.fills[1].rect, cellRect(5, 1, 7, 1));

    putRow(1, "reversed", '0', 12, 5);  // from after to: the same columns
    ASSERT_TRUE(rowPlan(1, &plan));
    EXPECT_EQ(plan.markFrom, 5);
    EXPECT_EQ(plan.markTo, 12);
    EXPECT_EQ(plan.cells.fills[1].rect, cellRect(5, 1, 7, 1));

    putRow(1, "beyond the right edge", '0', 70, 250);
    ASSERT_TRUE(rowPlan(1, &plan));
    EXPECT_EQ(plan.markFrom, 70);
    EXPECT_EQ(plan.markTo, 80);

    putRow(1, "entirely right of the view", '0', 100, 120);
    ASSERT_TRUE(rowPlan(1, &plan));
    EXPECT_EQ(plan.cells.count, 1);
}

TEST_F(TextView, MarkedLinesHaveTheirBackgroundAndTextColour) {
    markLineColour = Rgb{1, 2, 3};
    putRow(0, "marked", '1', 2, 4);
    RowPlan plan;
    ASSERT_TRUE(rowPlan(0, &plan));
    EXPECT_EQ(plan.cells.fills[0].colour, (Rgb{1, 2, 3}));
    EXPECT_EQ(plan.cells.fills[1].colour, inlineMarkColour);
    EXPECT_TRUE(plan.text.markedColour);

    CellsPlan cells = cellsPlan(2, 3, 4, 2, false, 0, 0);
    ASSERT_EQ(cells.count, 1);
    EXPECT_EQ(cells.fills[0].rect, (PixelRect{20, 50, 52, 82}));
    EXPECT_EQ(cells.fills[0].colour, bgColour);
}

TEST_F(TextView, TextPlanHasTheLineBackgroundAndGlyphs) {
    RowPlan plan;
    const std::string text(100, 'x');
    ASSERT_TRUE(textPlan(75, 2, text.c_str(), 20, '0', &plan));
    EXPECT_EQ(plan.cells.fills[0].rect, cellRect(75, 2, 5, 1));  // capped at the right edge
    EXPECT_EQ(plan.cells.count, 1);                              // no in-line mark
    ASSERT_TRUE(textPlan(0, 2, "ab\tc", 10, '2', &plan));
    EXPECT_EQ(plan.text.length, 4);
    EXPECT_EQ(static_cast<unsigned char>(plan.text.text[2]), 153);
    EXPECT_TRUE(plan.text.markedColour);
    EXPECT_EQ(plan.cells.fills[0].colour, markLineColour);
    EXPECT_FALSE(textPlan(80, 2, "a", 1, '0', &plan));
    EXPECT_FALSE(textPlan(0, 30, "a", 1, '0', &plan));
}

// ---------------------------------------------------------------- row-paint operations

TEST_F(TextView, RowPaintOperationsNeedTheViewAndNeverNest) {
    viewReady = 0;
    beginRowPaint();
    repaintRow(0);
    drawTextAt(0, 0, "abc", 3, '0');
    endRowPaint();
    invalidateAll();
    caretRefresh();
    EXPECT_EQ(headless_record().rowPaintContexts, 0);
    EXPECT_EQ(headless_record().rowsPainted, 0);
    EXPECT_EQ(headless_record().textsPainted, 0);
    EXPECT_EQ(headless_record().viewRepaints, 0);
    EXPECT_EQ(headless_record().caretRefreshes, 0);

    viewReady = 1;
    repaintRow(0);  // outside a context: nothing
    EXPECT_EQ(headless_record().rowsPainted, 0);
    beginRowPaint();
    beginRowPaint();  // a caller inside a context: no second context
    EXPECT_EQ(headless_record().rowPaintContexts, 1);
    EXPECT_EQ(headless_record().nestedContexts, 0);
    repaintRow(3);
    repaintRow(30);  // not a window row
    endRowPaint();
    EXPECT_TRUE(rowPaintOpen());
    EXPECT_EQ(headless_record().openContexts, 1);
    drawStringAt(2, 3, "hello", '0');
    endRowPaint();
    endRowPaint();  // one end too many: nothing
    EXPECT_FALSE(rowPaintOpen());
    EXPECT_EQ(headless_record().openContexts, 0);
    EXPECT_EQ(headless_record().rowsPainted, 1);
    EXPECT_EQ(headless_record().lastRowPainted, 3);
    EXPECT_EQ(headless_record().textsPainted, 1);
    EXPECT_EQ(headless_record().lastTextCol, 2);
    EXPECT_EQ(headless_record().lastTextLength, 5);

    invalidateAll();
    caretRefresh();
    EXPECT_EQ(headless_record().viewRepaints, 1);
    EXPECT_EQ(headless_record().caretRefreshes, 1);
}

TEST_F(TextView, DrawTextIsCappedAtTheWindowAnd250) {
    const std::string text(300, 'y');
    beginRowPaint();
    drawTextAt(70, 1, text.c_str(), 30, '0');
    EXPECT_EQ(headless_record().lastTextLength, 10);
    textAreaWidth = 100000;
    windowSizeUpdate();
    drawTextAt(0, 1, text.c_str(), 300, '0');
    EXPECT_EQ(headless_record().lastTextLength, 250);
    drawStringAt(0, 1, text.c_str(), '0');
    EXPECT_EQ(headless_record().lastTextLength, 250);
    drawTextAt(0, 1, "short", 40, '0');  // never past the text's end
    EXPECT_EQ(headless_record().lastTextLength, 5);
    const int texts = headless_record().textsPainted;
    drawTextAt(250, 1, "z", 1, '0');
    drawTextAt(-1, 1, "z", 1, '0');
    drawTextAt(0, 1, nullptr, 1, '0');
    EXPECT_EQ(headless_record().textsPainted, texts);
    endRowPaint();
}

// ---------------------------------------------------------------- the caret

TEST_F(TextView, CaretIsCreatedOnceAndTouchedOnlyWhenSomethingChanged) {
    caretUpdate();
    EXPECT_EQ(takeEvents(), (Events{"begin", "create 2x18", "move 4,2", "show", "hide", "show", "end"}));
    EXPECT_EQ(caretState, 1);
    EXPECT_EQ(caretShape, 1);

    caretUpdate();
    EXPECT_TRUE(takeEvents().empty());

    cursorCol = 5;
    cursorRow = 2;
    caretUpdate();
    EXPECT_EQ(takeEvents(), (Events{"begin", "hide", "move 44,34", "show", "end"}));

    insertMode = 0;  // overwrite: a whole cell
    caretUpdate();
    EXPECT_EQ(takeEvents(), (Events{"begin", "hide", "create 8x18", "move 44,34", "show", "end"}));
    EXPECT_EQ(caretShape, 0);
    caretUpdate();
    EXPECT_TRUE(takeEvents().empty());

    firstCol = 10;  // the same cell shows another column
    caretUpdate();
    EXPECT_EQ(takeEvents(), (Events{"begin", "hide", "show", "end"}));
}

TEST_F(TextView, WithoutTheFocusAGreyBlockStandsAtTheCursor) {
    putRow(2, "abcdefgh");
    cursorCol = 3;
    cursorRow = 2;
    caretUpdate();
    takeEvents();

    hasFocus = 0;
    caretUpdate();
    EXPECT_EQ(takeEvents(), (Events{"begin", "destroy", "cell 28,34 grey 'd'", "end"}));
    EXPECT_EQ(caretState, 2);
    caretUpdate();
    EXPECT_TRUE(takeEvents().empty());

    // The block follows the cursor: the old cell gets its background back.
    cursorCol = 4;
    caretUpdate();
    EXPECT_EQ(takeEvents(), (Events{"begin", "cell 28,34 bg 'd'", "cell 36,34 grey 'e'", "end"}));

    // Back to the focus: the block goes, the caret comes.
    hasFocus = 1;
    caretUpdate();
    EXPECT_EQ(takeEvents(), (Events{"begin", "cell 36,34 bg 'e'", "create 2x18", "move 36,34", "show", "hide",
                                    "show", "end"}));
    EXPECT_EQ(caretState, 1);
}

TEST_F(TextView, BlockCursorShowsTheGlyphInTheRowsTextColour) {
    putRow(0, "\tx", '1');
    caretUpdate();
    takeEvents();
    hasFocus = 0;
    caretUpdate();
    const Events e = takeEvents();
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[2], "cell 4,2 grey '" + std::string(1, static_cast<char>(153)) + "' marked");

    // A cursor right of a line's text shows the row's blank.
    const CursorCellPlan plan = cursorCellPlan(60, 60, 0, bgColour);
    EXPECT_EQ(std::string(plan.glyph.text), " ");
    EXPECT_EQ(plan.fill.rect, cellRect(60, 0, 1, 1));
}

TEST_F(TextView, CaretOperationsWaitForTheViewAndAContext) {
    deviceLog.beginWorks = false;
    caretUpdate();
    EXPECT_EQ(takeEvents(), (Events{"begin"}));
    EXPECT_EQ(caretState, 0);

    deviceLog.beginWorks = true;
    caretUpdate();
    EXPECT_EQ(caretState, 1);
    takeEvents();

    viewStateEnd();  // the shown caret goes with the view
    EXPECT_EQ(takeEvents(), (Events{"destroy"}));
    cursorCol = 7;
    caretUpdate();
    caretShow();
    caretHide();
    EXPECT_TRUE(takeEvents().empty());
}

// ---------------------------------------------------------------- the scroll bar

TEST_F(TextView, ScrollBarIsSetOnlyWhenItsInputsChange) {
    loadNumbered(1000);
    scrollInfoUpdate();
    EXPECT_EQ(headless_record().scrollbarSets, 1);
    EXPECT_EQ(headless_record().scrollMax, 999);
    EXPECT_EQ(headless_record().scrollPage, 30);
    EXPECT_EQ(headless_record().scrollPos, 0);
    scrollInfoUpdate();
    EXPECT_EQ(headless_record().scrollbarSets, 1);

    ASSERT_EQ(gotoLineAtTop(200), 0);
    scrollInfoUpdate();
    EXPECT_EQ(headless_record().scrollbarSets, 2);
    EXPECT_EQ(headless_record().scrollMax, 999);
    EXPECT_EQ(headless_record().scrollPos, 200);

    // A short document: the page covers every window row.
    loadNumbered(3);
    scrollInfoUpdate();
    EXPECT_EQ(headless_record().scrollMax, 29);
    EXPECT_EQ(headless_record().scrollPage, 30);

    // A new view forgets what the old scroll bar was given.
    viewStateEnd();
    scrollInfoUpdate();
    EXPECT_EQ(headless_record().scrollbarSets, 3);
    viewStateStart(16);
    scrollInfoUpdate();
    EXPECT_EQ(headless_record().scrollbarSets, 4);
}

TEST_F(TextView, ThumbPutsTheLineInRowZeroWithTheCursor) {
    loadNumbered(1000);
    cursorRow = 12;
    scrollCommand(scroll_request::kThumbTrack, 500);
    EXPECT_EQ(topLine, 500);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(rowText(0), "line 500");
    EXPECT_GE(headless_record().viewRepaints, 1);

    scrollCommand(scroll_request::kThumbPosition, 20);
    EXPECT_EQ(topLine, 20);
    EXPECT_EQ(rowText(0), "line 20");
    EXPECT_EQ(documentLineCount(), 1000);

    const int repaints = headless_record().viewRepaints;
    scrollCommand(scroll_request::kEndScroll, 700);
    scrollCommand(42, 700);
    EXPECT_EQ(topLine, 20);
    EXPECT_EQ(headless_record().viewRepaints, repaints);
}

TEST_F(TextView, LineAndPageRequestsMoveTheViewThroughTheKeyDispatcher) {
    loadNumbered(1000);
    cursorRow = 5;
    scrollCommand(scroll_request::kLineDown, 0);
    EXPECT_EQ(topLine, 1);
    EXPECT_EQ(cursorRow, 5);  // the cursor keeps its window row
    EXPECT_EQ(rowText(0), "line 1");
    scrollCommand(scroll_request::kLineUp, 0);
    EXPECT_EQ(topLine, 0);
    EXPECT_EQ(rowText(0), "line 0");
    scrollCommand(scroll_request::kPageDown, 0);
    EXPECT_GT(topLine, 0);
    EXPECT_EQ(rowText(0), "line " + std::to_string(topLine));
    scrollCommand(scroll_request::kBottom, 0);
    EXPECT_GT(topLine, 900);
    scrollCommand(scroll_request::kTop, 0);
    EXPECT_EQ(topLine, 0);
    EXPECT_EQ(documentLineCount(), 1000);
}

TEST(TextViewScroll, RequestsStandForKeys) {
    struct Case {
        int request;
        int vk;
        bool ctrl;
    };
    const Case cases[] = {
        {scroll_request::kLineUp, vk::kUp, true},
        {scroll_request::kLineDown, vk::kDown, true},
        {scroll_request::kPageUp, vk::kPrior, false},
        {scroll_request::kPageDown, vk::kNext, false},
        {scroll_request::kTop, vk::kPrior, true},
        {scroll_request::kBottom, vk::kNext, true},
    };
    for (const Case& c : cases) {
        ScrollKey key{};
        ASSERT_TRUE(scrollRequestKey(c.request, &key)) << c.request;
        EXPECT_EQ(key.vk, c.vk) << c.request;
        EXPECT_EQ(key.ctrl, c.ctrl) << c.request;
    }
    ScrollKey key{};
    EXPECT_FALSE(scrollRequestKey(scroll_request::kThumbPosition, &key));
    EXPECT_FALSE(scrollRequestKey(scroll_request::kThumbTrack, &key));
    EXPECT_FALSE(scrollRequestKey(scroll_request::kEndScroll, &key));
    EXPECT_FALSE(scrollRequestKey(-1, &key));
}

// ---------------------------------------------------------------- resizing

TEST_F(TextView, ResizeRefillsTheRowsForTheNewSizeAndLosesNoLine) {
    loadNumbered(1000);
    ASSERT_EQ(gotoLineAtTop(100), 0);
    cursorRow = 20;
    putRow(5, "edited in the window");
    headless_reset();

    viewResizeTo(textAreaWidth, 10 * 16 + 4);
    EXPECT_EQ(windowRows, 10);
    EXPECT_EQ(cursorRow, 9);
    EXPECT_EQ(topLine, 100);
    EXPECT_EQ(rowText(0), "line 100");
    EXPECT_EQ(rowText(5), "edited in the window");
    EXPECT_EQ(rowText(9), "line 109");
    EXPECT_EQ(belowCountGet(), 1000 - 110);
    EXPECT_EQ(headless_record().viewRepaints, 1);

    viewResizeTo(textAreaWidth, 40 * 16 + 4);
    EXPECT_EQ(windowRows, 40);
    EXPECT_EQ(rowText(39), "line 139");
    EXPECT_EQ(documentLineCount(), 1000);
}

TEST_F(TextView, ResizeBeforeTheRowsAreReadyOnlyTakesTheSize) {
    rowsReady = 0;
    putRow(0, "not yet a document");
    viewResizeTo(textAreaWidth, 5 * 16 + 4);
    EXPECT_EQ(windowRows, 5);
    EXPECT_EQ(belowCountGet(), 0);
    EXPECT_EQ(rowText(0), "not yet a document");

    viewReady = 0;
    viewResizeTo(400, 50 * 16 + 4);
    EXPECT_EQ(textAreaWidth, 400);
    EXPECT_EQ(windowRows, 5);  // no view: no new window size
    EXPECT_EQ(headless_record().viewRepaints, 1);
}

TEST_F(TextView, ResizeWithAFullStoreKeepsTheRows) {
    // Fill the area so that the window rows no longer fit into it.
    const std::string longText(250, 'x');
    auto rowContent = [&](int r) { return longText.substr(0, 247) + std::to_string(100 + r); };
    for (int r = 0; r < windowRows; ++r) putRow(r, rowContent(r));
    LineRecord line;
    lineInit(&line);
    std::memcpy(line.text, longText.c_str(), longText.size() + 1);
    while (storeFreeBytes() > 3000) ASSERT_EQ(pushAbove(&line), 0);
    topLine = aboveCountGet();
    cursorRow = 25;
    const int above = aboveCountGet();

    viewResizeTo(textAreaWidth, 10 * 16 + 4);
    EXPECT_EQ(windowRows, 30);  // the rows could not go below: the window keeps them
    EXPECT_EQ(cursorRow, 25);
    EXPECT_EQ(aboveCountGet(), above);
    EXPECT_EQ(belowCountGet(), 0);
    for (int r = 0; r < 30; ++r) EXPECT_EQ(rowText(r), rowContent(r)) << r;
    EXPECT_EQ(windowCols, 80);
}

}  // namespace
