// Tests of the line store: packing, the two stacks, the window rows, gap
// moves, navigation, remembered positions, visitors, words at the cursor,
// the full-store guard, and a model-based run of random operations.
#include "document/linestore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <iterator>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "host/headless.h"
#include "../lib/empty_store.h"

namespace {

// A line as the tests see it: text and marks.
struct Line {
    std::string text;
    char mark = '0';
    unsigned char from = 0;
    unsigned char to = 0;
    bool operator==(const Line& o) const {
        return text == o.text && mark == o.mark && from == o.from && to == o.to;
    }
};

void PrintTo(const Line& l, std::ostream* os) {
    *os << "{'" << l.mark << "' " << int(l.from) << ".." << int(l.to) << " \"" << l.text << "\"}";
}

// A LineRecord with the text; 251 or more characters leave no NUL.
LineRecord record(const std::string& text, char mark = '0', unsigned char from = 0, unsigned char to = 0) {
    LineRecord rec;
    lineInit(&rec);
    rec.markState = mark;
    rec.markFrom = from;
    rec.markTo = to;
    std::memcpy(rec.text, text.data(), std::min<std::size_t>(text.size(), sizeof rec.text));
    return rec;
}
LineRecord record(const Line& l) { return record(l.text, l.mark, l.from, l.to); }

Line toLine(const LineRecord& rec) {
    const void* nul = std::memchr(rec.text, '\0', sizeof rec.text);
    const std::size_t n = nul ? static_cast<const char*>(nul) - rec.text : sizeof rec.text;
    return Line{std::string(rec.text, n), rec.markState, rec.markFrom, rec.markTo};
}

bool isWhite(char c) { return c == ' ' || (c >= 9 && c <= 13); }
bool isBlank(const std::string& s) { return std::all_of(s.begin(), s.end(), isWhite); }

int collect(LineRecord* line, void* user) {
    static_cast<std::vector<Line>*>(user)->push_back(toLine(*line));
    return 1;
}
std::vector<Line> aboveLines() {
    std::vector<Line> v;
    visitAbove(collect, &v);
    return v;
}
std::vector<Line> belowLines() {
    std::vector<Line> v;
    visitBelow(collect, &v);
    return v;
}
Line rowLine(int r) {
    LineRecord rec;
    rowGet(r, &rec);
    return toLine(rec);
}
std::string rowText(int r) { return rowLine(r).text; }
std::string rawText(int r) {
    LineRecord rec;
    rowGetRaw(r, &rec);
    return toLine(rec).text;
}

// The whole document: above, the window rows, below; when nothing lies below,
// the document ends with the last non-blank row.
std::vector<Line> documentLines() {
    std::vector<Line> doc = aboveLines();
    std::vector<Line> window;
    for (int r = 0; r < windowRows; ++r) window.push_back(rowLine(r));
    std::vector<Line> below = belowLines();
    if (below.empty()) {
        while (!window.empty() && window.back().text.empty()) window.pop_back();
    }
    doc.insert(doc.end(), window.begin(), window.end());
    doc.insert(doc.end(), below.begin(), below.end());
    return doc;
}

// Loads a document and shows its start.
void loadDocument(const std::vector<Line>& doc) {
    storeReset();
    rowsClearAll();
    for (const Line& l : doc) {
        LineRecord rec = record(l);
        ASSERT_EQ(pushAbove(&rec), 0);
    }
    moveAllBelow();
    fillWindowFromBelow();
    topLine = 0;
    cursorRow = 0;
}

std::vector<Line> numberedLines(int n) {
    std::vector<Line> doc;
    for (int i = 0; i < n; ++i) doc.push_back(Line{"line " + std::to_string(i)});
    return doc;
}

// Changes the number of window rows the way the text window must: the rows
// go into the store first and come back in the new size.
void resizeWindow(int rows) {
    ASSERT_EQ(flushWindowBelow(), 0);
    windowRows = rows;
    fillWindowFromBelow();
}

// Pushes records above until exactly target bytes are free.
void fillAboveToFree(std::uint32_t target) {
    while (storeFreeBytes() > target) {
        const std::uint32_t rem = storeFreeBytes() - target;
        const std::uint32_t size = rem <= 255 ? rem : std::min<std::uint32_t>(255, rem - 5);
        ASSERT_GE(size, 5u);
        LineRecord rec = record(std::string(size - 5, 'f'));
        ASSERT_EQ(pushAbove(&rec), 0);
    }
    ASSERT_EQ(storeFreeBytes(), target);
}

// Everything the store holds, byte for byte.
struct Snapshot {
    StoreLayout layout;
    std::vector<unsigned char> area;
    std::vector<unsigned char> rows;
    bool operator==(const Snapshot& o) const {
        return layout.aboveTop == o.layout.aboveTop && layout.belowStart == o.layout.belowStart &&
               layout.aboveCount == o.layout.aboveCount && layout.belowCount == o.layout.belowCount &&
               area == o.area && rows == o.rows;
    }
};
Snapshot snapshot() {
    Snapshot s{storeLayout(), {}, {}};
    s.area.assign(s.layout.lineArea, s.layout.lineArea + s.layout.lineAreaSize);
    for (int r = 0; r < kWindowRowsMax; ++r) {
        LineRecord rec;
        rowGetRaw(r, &rec);
        const auto* p = reinterpret_cast<const unsigned char*>(&rec);
        s.rows.insert(s.rows.end(), p, p + sizeof rec);
    }
    return s;
}

// Only the stacks' bytes and the counters (what two ways of moving must agree on).
struct StackImage {
    std::uint32_t aboveTop, belowStart;
    std::int32_t aboveCount, belowCount;
    std::vector<unsigned char> above, below;
    bool operator==(const StackImage& o) const {
        return aboveTop == o.aboveTop && belowStart == o.belowStart && aboveCount == o.aboveCount &&
               belowCount == o.belowCount && above == o.above && below == o.below;
    }
};
StackImage stackImage() {
    const StoreLayout s = storeLayout();
    return StackImage{s.aboveTop, s.belowStart, s.aboveCount, s.belowCount,
                      {s.lineArea, s.lineArea + s.aboveTop},
                      {s.lineArea + s.belowStart, s.lineArea + s.lineAreaSize}};
}

// The store's own bookkeeping agrees with its bytes.
::testing::AssertionResult storeIsSound() {
    const StoreLayout s = storeLayout();
    if (s.aboveTop > s.belowStart || s.belowStart > s.lineAreaSize)
        return ::testing::AssertionFailure() << "stacks overlap";
    if (storeFreeBytes() != s.belowStart - s.aboveTop) return ::testing::AssertionFailure() << "free bytes";
    std::uint32_t at = 0;
    std::int32_t n = 0;
    for (; at < s.aboveTop; ++n) {
        const std::uint32_t size = s.lineArea[at] + 2u;
        if (size < 5 || at + size > s.aboveTop || s.lineArea[at + size - 1] != s.lineArea[at])
            return ::testing::AssertionFailure() << "bad above record at " << at;
        at += size;
    }
    if (n != s.aboveCount) return ::testing::AssertionFailure() << "above count " << s.aboveCount << " walk " << n;
    at = s.belowStart;
    n = 0;
    for (; at < s.lineAreaSize; ++n) {
        const std::uint32_t size = s.lineArea[at] + 2u;
        if (size < 5 || at + size > s.lineAreaSize || s.lineArea[at + size - 1] != s.lineArea[at])
            return ::testing::AssertionFailure() << "bad below record at " << at;
        at += size;
    }
    if (n != s.belowCount) return ::testing::AssertionFailure() << "below count " << s.belowCount << " walk " << n;
    return ::testing::AssertionSuccess();
}

// A line for random documents: trimmed (or, with raw, possibly with trailing
// white space, blank or longer than a line can hold), with random marks.
Line randomLine(std::mt19937& rng, bool raw) {
    static const char kChars[] = "abcxyzABC0129_@$ ;,.(){}=+-*/\"'#\t\xC4\xE9\xFF\xBF";
    Line l;
    const unsigned kind = rng() % 20;
    std::size_t len = rng() % 60;
    if (kind == 0) len = 0;
    if (kind == 1) len = 250;
    if (raw && kind == 2) len = 251 + rng() % 10;
    for (std::size_t i = 0; i < len; ++i) l.text += kChars[rng() % (sizeof kChars - 1)];
    if (raw && kind == 3) l.text = std::string(1 + rng() % 4, ' ') + "\t";
    if (raw && kind == 4) l.text += "  \t";
    if (!raw) {
        while (!l.text.empty() && isWhite(l.text.back())) l.text.pop_back();
    }
    l.mark = static_cast<char>('0' + rng() % 4);
    l.from = static_cast<unsigned char>(rng() % 251);
    l.to = static_cast<unsigned char>(rng() % 251);
    return l;
}

class LineStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(emptyStoreStart(40, 80));
        positionsReset();
        headless_reset();
    }
    void TearDown() override {
        windowDestroy();
        storeDestroy();
    }
};

using StorePacking = LineStoreTest;
using StoreStacks = LineStoreTest;
using WindowRows = LineStoreTest;
using GapMoves = LineStoreTest;
using Navigation = LineStoreTest;
using Positions = LineStoreTest;
using Visitors = LineStoreTest;
using WordsAtCursor = LineStoreTest;
using FullStore = LineStoreTest;
using StoreModel = LineStoreTest;

// ---------------------------------------------------------------------------
// Packing
// ---------------------------------------------------------------------------

TEST_F(StorePacking, RecordsAreSizeHeaderTextSize) {
    LineRecord ab = record("ab", '1', 3, 7);
    LineRecord empty = record("");
    ASSERT_EQ(pushAbove(&ab), 0);
    ASSERT_EQ(pushAbove(&empty), 0);
    ASSERT_EQ(pushBelow(&ab), 0);
    const StoreLayout s = storeLayout();
    const std::vector<unsigned char> above(s.lineArea, s.lineArea + s.aboveTop);
    const std::vector<unsigned char> below(s.lineArea + s.belowStart, s.lineArea + s.lineAreaSize);
    EXPECT_EQ(above, (std::vector<unsigned char>{5, '1', 3, 7, 'a', 'b', 5, 3, '0', 0, 0, 3}));
    EXPECT_EQ(below, (std::vector<unsigned char>{5, '1', 3, 7, 'a', 'b', 5}));
    EXPECT_EQ(storeFreeBytes(), kLineAreaSize - 19);
}

TEST_F(StorePacking, OverlongTextKeepsItsFirst250Characters) {
    std::string text(260, 'x');
    text[249] = 'L';
    LineRecord rec = record(text);  // 251 characters, no NUL
    ASSERT_EQ(pushAbove(&rec), 0);
    ASSERT_EQ(pushBelow(&rec), 0);
    EXPECT_EQ(storeLayout().aboveTop, 255u);
    LineRecord out;
    ASSERT_EQ(popAbove(&out), 0);
    EXPECT_EQ(toLine(out).text, text.substr(0, 250));
    ASSERT_EQ(popBelow(&out), 0);
    EXPECT_EQ(toLine(out).text, text.substr(0, 250));
}

TEST_F(StorePacking, LargestRecordNeedsOneByteMoreThanItsSize) {
    LineRecord big = record(std::string(250, 'w'));
    fillAboveToFree(255);
    const Snapshot before = snapshot();
    EXPECT_EQ(pushAbove(&big), -1);
    EXPECT_EQ(pushBelow(&big), -1);
    EXPECT_TRUE(snapshot() == before);

    storeReset();
    fillAboveToFree(256);
    EXPECT_EQ(pushAbove(&big), 0);
    EXPECT_EQ(storeFreeBytes(), 1u);
    storeReset();
    fillAboveToFree(256);
    EXPECT_EQ(pushBelow(&big), 0);
    EXPECT_EQ(belowCountGet(), 1);
    EXPECT_TRUE(storeIsSound());
}

// ---------------------------------------------------------------------------
// The two stacks
// ---------------------------------------------------------------------------

TEST_F(StoreStacks, PopsOnEmptyStacksGiveAnEmptyLine) {
    LineRecord out = record("garbage", '3', 9, 12);
    EXPECT_EQ(popAbove(&out), -1);
    EXPECT_EQ(toLine(out), Line{});
    out = record("garbage", '3', 9, 12);
    EXPECT_EQ(popBelow(&out), -1);
    EXPECT_EQ(toLine(out), Line{});
    EXPECT_EQ(storeFreeBytes(), kLineAreaSize);
}

TEST_F(StoreStacks, AboveIsLastInFirstOutBelowTakesFromTheFront) {
    for (const char* t : {"A", "B", "C"}) {
        LineRecord rec = record(t, '2', 1, 4);
        ASSERT_EQ(pushAbove(&rec), 0);
    }
    for (const char* t : {"z", "y", "x"}) {  // pushed in front: x y z in document order
        LineRecord rec = record(t);
        ASSERT_EQ(pushBelow(&rec), 0);
    }
    EXPECT_EQ(aboveLines(), (std::vector<Line>{{"A", '2', 1, 4}, {"B", '2', 1, 4}, {"C", '2', 1, 4}}));
    EXPECT_EQ(belowLines(), (std::vector<Line>{{"x"}, {"y"}, {"z"}}));
    EXPECT_EQ(aboveCountGet(), 3);
    EXPECT_EQ(belowCountGet(), 3);
    LineRecord out;
    std::string popped;
    while (popAbove(&out) == 0) popped += out.text;
    while (popBelow(&out) == 0) popped += out.text;
    EXPECT_EQ(popped, "CBAxyz");
    EXPECT_EQ(storeFreeBytes(), kLineAreaSize);
}

TEST_F(StoreStacks, BlankLineInFrontOfAnEmptyBelowStackIsDropped) {
    LineRecord blank = record(" \t \r", '1', 2, 5);
    LineRecord empty = record("");
    const Snapshot before = snapshot();
    EXPECT_EQ(pushBelow(&blank), 0);
    EXPECT_EQ(pushBelow(&empty), 0);
    EXPECT_TRUE(snapshot() == before);
    LineRecord text = record("end");
    ASSERT_EQ(pushBelow(&text), 0);
    ASSERT_EQ(pushBelow(&blank), 0);
    EXPECT_EQ(belowLines(), (std::vector<Line>{{" \t \r", '1', 2, 5}, {"end"}}));
    ASSERT_EQ(pushAbove(&empty), 0);  // the above stack keeps blank lines
    EXPECT_EQ(aboveCountGet(), 1);
}

TEST_F(StoreStacks, HasRoomNeedsMoreThanKThousandBytes) {
    fillAboveToFree(5000);
    EXPECT_FALSE(storeHasRoom(5));
    EXPECT_TRUE(storeHasRoom(4));
    storeReset();
    fillAboveToFree(5001);
    EXPECT_TRUE(storeHasRoom(5));
    EXPECT_FALSE(storeHasRoom(6));
}

TEST_F(StoreStacks, WithoutTheAreaNothingIsStoredOrRead) {
    windowDestroy();
    storeDestroy();
    LineRecord rec = record("x");
    EXPECT_EQ(pushAbove(&rec), -1);
    EXPECT_EQ(pushBelow(&rec), -1);
    EXPECT_EQ(popAbove(&rec), -1);
    EXPECT_FALSE(rowGet(0, &rec));
    rowPut(0, &rec);
    moveAllBelow();
    EXPECT_EQ(flushWindowBelow(), 0);
    EXPECT_EQ(gotoLine(10), 0);
    EXPECT_EQ(storeFreeBytes(), 0u);
    EXPECT_EQ(wordLeftOfCursor(rec.text, 251), 0);
}

// ---------------------------------------------------------------------------
// Window rows
// ---------------------------------------------------------------------------

TEST_F(WindowRows, RowsHoldPaddedTextAndReadsTrimIt) {
    LineRecord rec;
    rowGetRaw(7, &rec);
    EXPECT_EQ(toLine(rec), (Line{std::string(250, ' ')}));
    rec = record("ab \t", '2', 1, 3);
    rowPut(7, &rec);
    rowGetRaw(7, &rec);
    EXPECT_EQ(toLine(rec), (Line{"ab \t" + std::string(246, ' '), '2', 1, 3}));
    EXPECT_TRUE(rowGet(7, &rec));
    EXPECT_EQ(toLine(rec), (Line{"ab", '2', 1, 3}));
    rec = record(" \t\x0b");
    rowPut(8, &rec);
    EXPECT_FALSE(rowGet(8, &rec));
    EXPECT_EQ(toLine(rec).text, "");
    rec = record(std::string(251, 'q'));  // no NUL in the text
    rowPut(9, &rec);
    EXPECT_EQ(rawText(9), std::string(250, 'q'));
    rowClear(7);
    rowGetRaw(7, &rec);
    EXPECT_EQ(toLine(rec), (Line{std::string(250, ' ')}));
}

TEST_F(WindowRows, ScrollInsertAndDeleteShiftRows) {
    auto label = [] {
        for (int r = 0; r < kWindowRowsMax; ++r) {
            LineRecord rec = record("r" + std::to_string(r));
            rowPut(r, &rec);
        }
    };
    label();
    rowsScrollUp();
    EXPECT_EQ(rowText(0), "r1");
    EXPECT_EQ(rowText(98), "r99");
    EXPECT_EQ(rawText(99), std::string(250, ' '));
    label();
    rowsScrollDown();
    EXPECT_EQ(rowText(0), "");
    EXPECT_EQ(rowText(1), "r0");
    EXPECT_EQ(rowText(99), "r98");
    label();
    rowDelete(5);
    EXPECT_EQ(rowText(4), "r4");
    EXPECT_EQ(rowText(5), "r6");
    EXPECT_EQ(rowText(98), "r99");
    EXPECT_EQ(rowText(99), "");
    label();
    rowInsert(5);
    EXPECT_EQ(rowText(4), "r4");
    EXPECT_EQ(rowText(5), "");
    EXPECT_EQ(rowText(6), "r5");
    EXPECT_EQ(rowText(99), "r98");
    label();
    rowInsert(99);
    EXPECT_EQ(rowText(98), "r98");
    EXPECT_EQ(rowText(99), "");
}

TEST_F(WindowRows, RowNumbersOutsideTheArrayAreIgnored) {
    for (int r = 0; r < kWindowRowsMax; ++r) {
        LineRecord rec = record("r" + std::to_string(r));
        rowPut(r, &rec);
    }
    const Snapshot before = snapshot();
    LineRecord rec = record("junk", '1', 1, 2);
    for (int r : {-1, 100, 1 << 30, -(1 << 30)}) {
        rowClear(r);
        rowPut(r, &rec);
        rowInsert(r);
        rowDelete(r);
        rec = record("junk", '1', 1, 2);
        EXPECT_FALSE(rowGet(r, &rec));
        EXPECT_EQ(toLine(rec), Line{});
    }
    EXPECT_TRUE(snapshot() == before);
}

// ---------------------------------------------------------------------------
// Gap moves
// ---------------------------------------------------------------------------

TEST_F(GapMoves, FlushAndFillRoundTripsKeepTheDocument) {
    for (unsigned seed = 1; seed <= 6; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        std::vector<Line> doc;
        for (int i = 0; i < 300; ++i) doc.push_back(randomLine(rng, false));
        doc.push_back(Line{"last", '1', 2, 3});
        ASSERT_NO_FATAL_FAILURE(loadDocument(doc));
        ASSERT_EQ(documentLines(), doc);

        ASSERT_EQ(gotoLine(static_cast<std::int32_t>(rng() % 300)), 0);
        EXPECT_EQ(documentLines(), doc);
        const int k = 1 + static_cast<int>(rng() % 39);
        ASSERT_EQ(flushRowsAbove(k), 0);
        fillRowsFromAbove(k);
        EXPECT_EQ(documentLines(), doc);
        ASSERT_EQ(flushRowsBelow(k), 0);
        fillRowsFromBelow(k);
        EXPECT_EQ(documentLines(), doc);
        ASSERT_EQ(flushWindowAbove(), 0);
        fillWindowEndingAtTop();
        EXPECT_EQ(documentLines(), doc);
        ASSERT_EQ(flushWindowAbove(), 0);
        moveAllAbove();
        fillWindowEndingAtTop();  // the window shows the document's end
        EXPECT_EQ(belowCountGet(), 0);
        EXPECT_EQ(rowLine(windowRows - 1), doc.back());
        EXPECT_EQ(documentLines(), doc);
        ASSERT_EQ(flushWindowBelow(), 0);
        moveAllBelow();
        fillWindowFromBelow();
        EXPECT_EQ(aboveCountGet(), 0);
        EXPECT_EQ(documentLines(), doc);
        EXPECT_TRUE(storeIsSound());
    }
}

TEST_F(GapMoves, FlushWindowAboveLeavesTrailingBlankRowsOutAtTheEnd) {
    const char* texts[] = {"one", "", "three"};
    for (int r = 0; r < 3; ++r) {
        LineRecord rec = record(texts[r]);
        rowPut(r, &rec);
    }
    LineRecord mark = record("", '1');
    rowPut(10, &mark);  // blank row with a block mark
    ASSERT_EQ(flushWindowAbove(), 0);
    EXPECT_EQ(aboveLines(), (std::vector<Line>{{"one"}, {""}, {"three"}}));
    EXPECT_EQ(rowLine(10), Line{});

    // With lines below, every row is a document line and goes up.
    LineRecord below = record("below");
    ASSERT_EQ(pushBelow(&below), 0);
    ASSERT_EQ(flushWindowAbove(), 0);
    EXPECT_EQ(aboveCountGet(), 3 + windowRows);
}

TEST_F(GapMoves, FillWindowEndingAtTopShowsTheLinesBeforeTheGap) {
    ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(100)));
    ASSERT_EQ(gotoLineAtTop(60), 0);
    ASSERT_EQ(flushWindowBelow(), 0);
    fillWindowEndingAtTop();
    EXPECT_EQ(aboveCountGet(), 20);
    EXPECT_EQ(rowText(0), "line 20");
    EXPECT_EQ(rowText(39), "line 59");
    ASSERT_EQ(gotoLineAtTop(10), 0);
    ASSERT_EQ(flushWindowBelow(), 0);
    fillWindowEndingAtTop();
    EXPECT_EQ(aboveCountGet(), 0);
    EXPECT_EQ(rowText(0), "line 0");
    EXPECT_EQ(rowText(39), "line 39");
}

// Builds the same random stacks for every call with one seed.
void buildRandomStacks(unsigned seed, bool belowEmpty) {
    std::mt19937 rng(seed);
    storeReset();
    const int lines = 50 + static_cast<int>(rng() % 400);
    for (int i = 0; i < lines; ++i) {
        LineRecord rec = record(randomLine(rng, true));
        if (!belowEmpty && rng() % 2) {
            pushBelow(&rec);
        } else {
            pushAbove(&rec);
        }
    }
    for (unsigned i = rng() % 4; i > 0; --i) {  // blank lines on top of the above stack
        LineRecord blank = record(i % 2 ? "" : "  \t");
        pushAbove(&blank);
    }
}

TEST_F(GapMoves, WholeStackMovesEqualPopAndPushLineByLine) {
    LineRecord line;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const bool belowEmpty = seed % 3 == 0;
        buildRandomStacks(seed, belowEmpty);
        moveAllBelow();
        ASSERT_TRUE(storeIsSound());
        const StackImage moved = stackImage();
        buildRandomStacks(seed, belowEmpty);
        while (popAbove(&line) == 0) ASSERT_EQ(pushBelow(&line), 0);
        EXPECT_TRUE(stackImage() == moved);

        buildRandomStacks(seed, belowEmpty);
        moveAllAbove();
        ASSERT_TRUE(storeIsSound());
        const StackImage movedUp = stackImage();
        buildRandomStacks(seed, belowEmpty);
        while (popBelow(&line) == 0) ASSERT_EQ(pushAbove(&line), 0);
        EXPECT_TRUE(stackImage() == movedUp);
    }
}

TEST_F(GapMoves, MovesNeedNoFreeSpace) {
    LineRecord rec = record("first below");
    ASSERT_EQ(pushBelow(&rec), 0);
    fillAboveToFree(1);
    const std::vector<Line> above = aboveLines();
    moveAllBelow();
    EXPECT_EQ(aboveCountGet(), 0);
    moveAllAbove();
    EXPECT_EQ(belowCountGet(), 0);
    std::vector<Line> expected = above;
    expected.push_back(Line{"first below"});
    EXPECT_EQ(aboveLines(), expected);
    EXPECT_EQ(storeFreeBytes(), 1u);
    // A full store can still be walked and navigated when the window is empty.
    ASSERT_EQ(gotoLine(200), 0);
    EXPECT_EQ(topLine, 196);
    // The 40 lines popped into the rows freed their packed bytes.
    EXPECT_EQ(storeFreeBytes(), 1u + storeWindowBytes() - 5 * (kWindowRowsMax - 40));
    EXPECT_TRUE(storeIsSound());
}

// ---------------------------------------------------------------------------
// Navigation
// ---------------------------------------------------------------------------

TEST_F(Navigation, GotoLineShowsTheLineFourRowsDownAndAtTopInRowZero) {
    struct Row { int lines; bool atTop; int target; int top, row; const char* text; };
    static const Row rows[] = {
        {1000, false, 2, 0, 2, "line 2"},
        {1000, false, 100, 96, 4, "line 100"},
        {1000, false, 5000, 995, 4, "line 999"},  // beyond the end: the last line
        {1000, false, -7, 0, 0, "line 0"},
        {3, false, 10, 0, 2, "line 2"},
        {0, false, 10, 0, 0, ""},
        {1000, true, 300, 300, 0, "line 300"},
        {1000, true, 990, 990, 0, "line 990"},
        {1000, true, 5000, 999, 0, "line 999"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.lines) + (r.atTop ? " top " : " ") + std::to_string(r.target));
        ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(r.lines)));
        headless_reset();
        ASSERT_EQ(r.atTop ? gotoLineAtTop(r.target) : gotoLine(r.target), 0);
        EXPECT_EQ(topLine, r.top);
        EXPECT_EQ(cursorRow, r.row);
        EXPECT_EQ(rowText(r.row), r.text);
        const int after = std::max(0, r.lines - r.top);  // the rows past the document's end are blank
        if (after < windowRows) { EXPECT_EQ(rowText(after), ""); }
        EXPECT_EQ(aboveCountGet(), r.top);
        EXPECT_EQ(belowCountGet(), std::max(0, r.lines - r.top - windowRows));
        EXPECT_EQ(headless_record().viewRepaints, 1);
        EXPECT_EQ(documentLines(), numberedLines(r.lines));
    }
}

TEST_F(Navigation, WindowSizeOutsideItsRangeIsClamped) {
    ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(1000)));
    resizeWindow(3);  // too small to show the line four rows down
    ASSERT_EQ(gotoLine(100), 0);
    EXPECT_EQ(cursorRow, 2);
    EXPECT_EQ(topLine, 98);
    EXPECT_EQ(rowText(2), "line 100");
    resizeWindow(0);  // used as 1
    ASSERT_EQ(gotoLine(100), 0);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(rowText(0), "line 100");
    EXPECT_EQ(rowText(1), "");
    resizeWindow(1000);  // used as 100
    ASSERT_EQ(gotoLine(500), 0);
    EXPECT_EQ(topLine, 496);
    EXPECT_EQ(rowText(99), "line 595");
    EXPECT_EQ(belowCountGet(), 1000 - 496 - 100);
}

// ---------------------------------------------------------------------------
// Remembered positions
// ---------------------------------------------------------------------------

TEST_F(Positions, NothingIsRememberedAtTheDocumentStart) {
    ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(1000)));
    positionRemember();
    ASSERT_EQ(gotoLine(500), 0);
    EXPECT_EQ(positionReturn(0), 0);
    EXPECT_EQ(positionReturn(1), 0);
    EXPECT_EQ(positionReturn(2), 0);
    EXPECT_EQ(positionReturn(-1), 0);
    EXPECT_EQ(topLine, 496);
    EXPECT_EQ(headless_record().viewRepaints, 1);
}

TEST_F(Positions, FirstPositionFillsBothSlotsLaterOnesShift) {
    ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(1000)));
    ASSERT_EQ(gotoLine(100), 0);
    firstCol = 10;
    cursorCol = 5;
    positionRemember();
    ASSERT_EQ(gotoLine(700), 0);
    firstCol = cursorCol = 0;
    ASSERT_EQ(positionReturn(1), 0);
    EXPECT_EQ(topLine, 96);
    EXPECT_EQ(cursorRow, 4);
    EXPECT_EQ(firstCol, 10);
    EXPECT_EQ(cursorCol, 5);
    EXPECT_EQ(rowText(4), "line 100");

    ASSERT_EQ(gotoLine(700), 0);
    positionRemember();
    ASSERT_EQ(positionReturn(1), 0);
    EXPECT_EQ(topLine, 96);
    ASSERT_EQ(positionReturn(0), 0);
    EXPECT_EQ(topLine, 696);
    EXPECT_EQ(rowText(cursorRow), "line 700");
    EXPECT_EQ(headless_record().viewRepaints, 6);

    positionsReset();
    EXPECT_EQ(positionReturn(1), 0);
    EXPECT_EQ(topLine, 696);
    EXPECT_EQ(headless_record().viewRepaints, 6);
}

TEST_F(Positions, ReturnKeepsTheLineInASmallerWindowAndAShorterDocument) {
    ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(1000)));
    ASSERT_EQ(gotoLine(100), 0);
    cursorRow = 30;  // line 126
    cursorCol = 70;
    positionRemember();
    resizeWindow(10);
    windowCols = 50;
    ASSERT_EQ(positionReturn(0), 0);
    EXPECT_EQ(cursorRow, 9);
    EXPECT_EQ(topLine, 117);
    EXPECT_EQ(rowText(9), "line 126");
    EXPECT_EQ(cursorCol, 49);
    EXPECT_EQ(firstCol + cursorCol, 70);

    resizeWindow(40);
    ASSERT_EQ(gotoLine(900), 0);
    positionRemember();
    ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(500)));
    ASSERT_EQ(positionReturn(0), 0);
    EXPECT_EQ(topLine + cursorRow, 499);
    EXPECT_EQ(rowText(cursorRow), "line 499");
    EXPECT_LT(cursorRow, windowRows);
}

// ---------------------------------------------------------------------------
// Visitors
// ---------------------------------------------------------------------------

struct VisitLog {
    int calls = 0;
    int stopAt = -1;  // the call that returns 0
};

int upperAndMark(LineRecord* line, void* user) {
    auto* log = static_cast<VisitLog*>(user);
    if (log->calls++ == log->stopAt) {
        line->text[0] = '#';
        return 0;
    }
    for (char* p = line->text; *p; ++p) *p = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    line->markState = '3';
    line->markFrom = 1;
    line->markTo = 2;
    return 1;
}

TEST_F(Visitors, ZeroStopsTheWalkWithNothingWrittenBack) {
    for (const char* t : {"ab", "cd", "ef", "gh"}) {
        LineRecord rec = record(t);
        ASSERT_EQ(pushAbove(&rec), 0);
        ASSERT_EQ(pushBelow(&rec), 0);
    }
    const Snapshot before = snapshot();
    VisitLog log{0, 0};
    EXPECT_FALSE(visitAbove(upperAndMark, &log));
    EXPECT_EQ(log.calls, 1);
    EXPECT_TRUE(snapshot() == before);

    log = VisitLog{0, 2};
    EXPECT_FALSE(visitBelow(upperAndMark, &log));
    EXPECT_EQ(log.calls, 3);
    EXPECT_EQ(belowLines(), (std::vector<Line>{{"GH", '3', 1, 2}, {"EF", '3', 1, 2}, {"cd"}, {"ab"}}));
    EXPECT_EQ(aboveLines(), (std::vector<Line>{{"ab"}, {"cd"}, {"ef"}, {"gh"}}));
}

TEST_F(Visitors, ChangesAreWrittenBackInBothStacks) {
    for (const char* t : {"ab", "", "x y"}) {
        LineRecord rec = record(t);
        ASSERT_EQ(pushAbove(&rec), 0);
        ASSERT_EQ(pushBelow(&rec), 0);
    }
    VisitLog log;
    EXPECT_TRUE(visitAbove(upperAndMark, &log));
    EXPECT_TRUE(visitBelow(upperAndMark, &log));
    EXPECT_EQ(log.calls, 6);
    const std::vector<Line> up{{"AB", '3', 1, 2}, {"", '3', 1, 2}, {"X Y", '3', 1, 2}};
    EXPECT_EQ(aboveLines(), up);
    EXPECT_EQ(belowLines(), (std::vector<Line>{up[2], up[1], up[0]}));
    EXPECT_TRUE(storeIsSound());
}

TEST_F(Visitors, AShortenedTextKeepsItsRecordSize) {
    LineRecord rec = record("abcd");
    ASSERT_EQ(pushAbove(&rec), 0);
    ASSERT_EQ(pushAbove(&rec), 0);
    const std::uint32_t top = storeLayout().aboveTop;
    EXPECT_TRUE(visitAbove([](LineRecord* line, void*) {
        line->text[1] = '\0';
        return 1;
    }));
    EXPECT_EQ(storeLayout().aboveTop, top);
    EXPECT_EQ(aboveLines(), (std::vector<Line>{{"a   "}, {"a   "}}));
    EXPECT_TRUE(storeIsSound());
}

int collectText(LineRecord* line, void* user) {
    static_cast<std::vector<Line>*>(user)->push_back(Line{line->text});
    return 1;
}

TEST_F(Visitors, WholeDocumentVisitAroundTheCursorKeepsTheWindow) {
    ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(1000)));
    ASSERT_EQ(gotoLine(300), 0);
    cursorRow = 7;
    const Snapshot before = snapshot();
    std::vector<Line> seen;
    ASSERT_EQ(flushRowsAbove(cursorRow), 0);
    ASSERT_EQ(flushRowsBelow(cursorRow), 0);
    visitAbove(collectText, &seen);
    visitBelow(collectText, &seen);
    fillRowsFromAbove(cursorRow);
    fillRowsFromBelow(cursorRow);
    EXPECT_EQ(seen, numberedLines(1000));
    EXPECT_TRUE(snapshot() == before);

    // The other form puts the window rows back from below.
    seen.clear();
    ASSERT_EQ(flushWindowBelow(), 0);
    visitAbove(collectText, &seen);
    visitBelow(collectText, &seen);
    fillWindowFromBelow();
    EXPECT_EQ(seen, numberedLines(1000));
    EXPECT_TRUE(snapshot() == before);
}

// ---------------------------------------------------------------------------
// Words at the cursor
// ---------------------------------------------------------------------------

void putCurrentRow(const std::string& text, int column) {
    LineRecord rec = record(text);
    rowPut(cursorRow, &rec);
    firstCol = column / 2;
    cursorCol = column - firstCol;
}

TEST_F(WordsAtCursor, WordTokenAndWordLeftOfTheCursor) {
    using Fn = int (*)(char*, int);
    struct Row { Fn fn; std::string text; int column; int length; const char* word; };
    const Row rows[] = {
        {wordAtCursor, "x = foo_12bar;", 3, 9, "foo_12bar"},  // the blank before the word
        {wordAtCursor, "x = foo_12bar;", 8, 9, "foo_12bar"},  // inside it
        {wordAtCursor, "(a@b$c\xC4\xFF_9+1)", 3, 9, "a@b$c\xC4\xFF_9"},
        {wordAtCursor, "ab\xBF" "cd", 0, 2, "ab"},  // 191 is no word character
        {wordAtCursor, "call();   ", 5, 0, ""},     // only delimiters follow
        {wordAtCursor, "abc", 20, 0, ""},           // past the trimmed end
        {wordAtCursor, "#include \"C:\\dir\\file-1.h\" x", 9, 1, "C"},
        {tokenAtCursor, "#include \"C:\\dir\\file-1.h\" x", 10, 15, "C:\\dir\\file-1.h"},
        {tokenAtCursor, "#include \"C:\\dir\\file-1.h\" x", 9, 15, "C:\\dir\\file-1.h"},  // on the quote
        {tokenAtCursor, "see 'src/a.cpp'", 8, 9, "src/a.cpp"},
        {wordLeftOfCursor, " ab", 3, 2, "ab"},
        {wordLeftOfCursor, " ab", 0, 0, ""},
        {wordLeftOfCursor, "foo bar", 7, 3, "bar"},
        {wordLeftOfCursor, "foo bar", 4, 0, ""},
        {wordLeftOfCursor, "foo bar", 6, 2, "ba"},
        {wordLeftOfCursor, "ab", 10, 0, ""},  // past the end: blanks are left of the cursor
        {wordLeftOfCursor, std::string(250, 'w'), 250, 250, nullptr},
    };
    cursorRow = 3;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text + " at " + std::to_string(r.column));
        char buf[251];
        putCurrentRow(r.text, r.column);
        EXPECT_EQ(r.fn(buf, sizeof buf), r.length);
        EXPECT_EQ(std::strlen(buf), static_cast<std::size_t>(r.length));
        if (r.word) { EXPECT_STREQ(buf, r.word); }
    }
    putCurrentRow("  abcdefgh", 1);  // a small buffer takes what fits
    char small[4];
    EXPECT_EQ(wordAtCursor(small, sizeof small), 8);
    EXPECT_STREQ(small, "abc");
    std::int32_t from = 0, to = 0;
    EXPECT_EQ(wordSpanAtCursor(&from, &to), 8);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 10);
}

// ---------------------------------------------------------------------------
// The full-store guard
// ---------------------------------------------------------------------------

TEST_F(FullStore, EditFitsFlipsExactlyAtTheBoundary) {
    LineRecord rec = record("abcdefghij");
    rowPut(0, &rec);
    rec = record("xyz   ");
    rowPut(5, &rec);
    EXPECT_EQ(storeWindowBytes(), 5u * kWindowRowsMax + 10 + 3);
    fillAboveToFree(800);
    EXPECT_TRUE(storeEditFits(800 - 513 - 1));
    EXPECT_FALSE(storeEditFits(800 - 513));
    // An edit the guard allowed can always be flushed, wherever the gap is.
    rec = record(std::string(250, 'e'));
    ASSERT_TRUE(storeEditFits(250));
    rowPut(10, &rec);
    LineRecord below = record("below");
    rowPut(39, &below);
    ASSERT_EQ(flushRowsBelow(39), 0);  // the window now has a line below it
    EXPECT_EQ(flushWindowAbove(), 0);
    fillWindowEndingAtTop();
    EXPECT_EQ(flushWindowBelow(), 0);
    EXPECT_TRUE(storeIsSound());
}

TEST_F(FullStore, RefusedFlushChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(loadDocument(numberedLines(50)));
    for (int r = 0; r < 40; ++r) {
        LineRecord rec = record("0123456789");
        rowPut(r, &rec);
    }
    fillAboveToFree(300);  // the rows need 40 * 15 bytes
    cursorRow = 3;
    positionRemember();
    const Snapshot before = snapshot();
    EXPECT_FALSE(storeEditFits(0));
    EXPECT_EQ(flushWindowBelow(), -1);
    EXPECT_EQ(flushRowsBelow(0), -1);
    EXPECT_EQ(flushRowsAbove(40), -1);
    EXPECT_EQ(flushWindowAbove(), -1);
    EXPECT_EQ(gotoLine(3), -1);
    EXPECT_EQ(gotoLineAtTop(3), -1);
    EXPECT_EQ(positionReturn(0), -1);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(headless_record().viewRepaints, 0);
    EXPECT_EQ(flushRowsAbove(5), 0);  // a part that fits is flushed
    EXPECT_EQ(storeFreeBytes(), 300u - 5 * 15);
}

TEST_F(FullStore, FlushFitsWithOneByteToSpare) {
    for (int r = 0; r < 3; ++r) {
        LineRecord rec = record("abc");
        rowPut(r, &rec);
    }
    // Below is empty: the trailing blank rows are not counted.
    for (std::uint32_t spare : {0u, 1u}) {
        storeReset();
        fillAboveToFree(24 + spare);
        EXPECT_EQ(flushWindowBelow(), spare ? 0 : -1);
        EXPECT_EQ(rowText(0), spare ? "" : "abc");
        EXPECT_EQ(storeFreeBytes(), spare ? 1u : 24u);
        if (spare) fillRowsFromBelow(0);
    }
    for (std::uint32_t spare : {0u, 1u}) {
        storeReset();
        fillAboveToFree(24 + spare);
        EXPECT_EQ(flushRowsAbove(3), spare ? 0 : -1);
        EXPECT_EQ(rowText(2), spare ? "" : "abc");
        if (spare) {
            EXPECT_EQ(aboveLines().back(), Line{"abc"});
            fillRowsFromAbove(3);
        }
    }
    EXPECT_EQ(rowText(0), "abc");
}

// ---------------------------------------------------------------------------
// Model-based run: random operations against a plain model of the document
// ---------------------------------------------------------------------------

// The store's behaviour in the plainest terms: vectors of lines.
struct Model {
    std::vector<Line> above;     // document order
    std::vector<Line> belowRev;  // reversed: back() lies next to the window
    std::array<Line, kWindowRowsMax> rows{};  // trimmed
    std::uint64_t used = 0;
    int windowRows = 40;

    static Line cut(Line l) {
        if (l.text.size() > 250) l.text.resize(250);
        return l;
    }
    static Line trimmed(Line l) {
        l = cut(l);
        while (!l.text.empty() && isWhite(l.text.back())) l.text.pop_back();
        return l;
    }
    static std::uint64_t size(const Line& l) { return std::min<std::size_t>(l.text.size(), 250) + 5; }
    std::uint64_t freeBytes() const { return kLineAreaSize - used; }
    bool fits(std::uint64_t bytes) const { return bytes == 0 || freeBytes() > bytes; }
    int rowsUsed() const { return std::clamp(windowRows, 1, kWindowRowsMax); }

    int pushAbove(const Line& l) {
        if (!fits(size(l))) return -1;
        above.push_back(cut(l));
        used += size(l);
        return 0;
    }
    int pushBelow(const Line& l) {
        if (belowRev.empty() && isBlank(cut(l).text)) return 0;
        if (!fits(size(l))) return -1;
        belowRev.push_back(cut(l));
        used += size(l);
        return 0;
    }
    static int pop(std::vector<Line>& v, Line& out, std::uint64_t& used) {
        if (v.empty()) {
            out = Line{};
            return -1;
        }
        out = std::move(v.back());
        v.pop_back();
        used -= size(out);
        return 0;
    }
    int popAbove(Line& out) { return pop(above, out, used); }
    int popBelow(Line& out) { return pop(belowRev, out, used); }

    int flushRowsAbove(int n) {
        n = std::clamp(n, 0, rowsUsed());
        std::uint64_t need = 0;
        for (int r = 0; r < n; ++r) need += size(rows[r]);
        if (!fits(need)) return -1;
        for (int r = 0; r < n; ++r) {
            pushAbove(rows[r]);
            rows[r] = Line{};
        }
        return 0;
    }
    int flushWindowAbove() {
        int pushed = rowsUsed();
        if (belowRev.empty()) {
            while (pushed > 0 && rows[pushed - 1].text.empty()) --pushed;
        }
        std::uint64_t need = 0;
        for (int r = 0; r < pushed; ++r) need += size(rows[r]);
        if (!fits(need)) return -1;
        for (int r = 0; r < rowsUsed(); ++r) {
            if (r < pushed) pushAbove(rows[r]);
            rows[r] = Line{};
        }
        return 0;
    }
    void fillRowsFromAbove(int n) {
        for (int r = std::clamp(n, 0, rowsUsed()) - 1; r >= 0; --r) {
            Line l;
            popAbove(l);
            rows[r] = trimmed(l);
        }
    }
    int flushRowsBelow(int r) {
        r = std::clamp(r, 0, rowsUsed());
        std::uint64_t need = 0;
        bool empty = belowRev.empty();
        for (int row = rowsUsed() - 1; row >= r; --row) {
            if (empty && rows[row].text.empty()) continue;
            empty = false;
            need += size(rows[row]);
        }
        if (!fits(need)) return -1;
        for (int row = rowsUsed() - 1; row >= r; --row) {
            pushBelow(rows[row]);
            rows[row] = Line{};
        }
        return 0;
    }
    void fillRowsFromBelow(int r) {
        for (int row = std::clamp(r, 0, rowsUsed()); row < rowsUsed(); ++row) {
            Line l;
            popBelow(l);
            rows[row] = trimmed(l);
        }
    }
    void fillWindowEndingAtTop() {
        const int c = std::min(static_cast<int>(above.size()), rowsUsed());
        fillRowsFromAbove(c);
        fillRowsFromBelow(c);
    }
    void moveAllBelow() {  // popping and pushing line by line
        while (!above.empty()) {
            if (!belowRev.empty() || !isBlank(above.back().text)) belowRev.push_back(std::move(above.back()));
            above.pop_back();
        }
        used = 0;
        for (const Line& l : belowRev) used += size(l);
    }
    void moveAllAbove() {
        above.insert(above.end(), std::make_move_iterator(belowRev.rbegin()), std::make_move_iterator(belowRev.rend()));
        belowRev.clear();
    }
    int show(long long target, int wantedRow, int& top, int& row) {
        if (flushRowsBelow(0) != 0) return -1;
        moveAllBelow();
        const long long last = std::max<long long>(0, static_cast<long long>(belowRev.size()) - 1);
        const long long line = std::clamp<long long>(target, 0, last);
        row = static_cast<int>(std::min<long long>(std::clamp(wantedRow, 0, rowsUsed() - 1), line));
        for (long long k = line - row; k > 0; --k) {
            above.push_back(std::move(belowRev.back()));
            belowRev.pop_back();
        }
        top = static_cast<int>(above.size());
        fillRowsFromBelow(0);
        return 0;
    }
};

::testing::AssertionResult storeMatches(const Model& m) {
    if (aboveLines() != m.above) return ::testing::AssertionFailure() << "above stack differs";
    if (belowLines() != std::vector<Line>(m.belowRev.rbegin(), m.belowRev.rend()))
        return ::testing::AssertionFailure() << "below stack differs";
    for (int r = 0; r < kWindowRowsMax; ++r) {
        if (!(rowLine(r) == m.rows[r])) return ::testing::AssertionFailure() << "row " << r << " differs";
    }
    if (storeFreeBytes() != m.freeBytes()) return ::testing::AssertionFailure() << "free bytes differ";
    if (aboveCountGet() != static_cast<int>(m.above.size()) || belowCountGet() != static_cast<int>(m.belowRev.size()))
        return ::testing::AssertionFailure() << "counts differ";
    return storeIsSound();
}

void runRandomOperations(unsigned seed, int rows, bool startFull, int operations) {
    std::mt19937 rng(seed);
    Model m;
    windowRows = m.windowRows = rows;
    if (startFull) {  // fill until a push is refused
        for (;;) {
            const Line l = randomLine(rng, true);
            LineRecord rec = record(l);
            const int got = pushAbove(&rec);
            ASSERT_EQ(got, m.pushAbove(l));
            if (got != 0) break;
        }
    }
    auto randomRow = [&] { return static_cast<int>(rng() % (rows + 5)) - 2; };
    for (int i = 0; i < operations; ++i) {
        const unsigned op = rng() % 17;
        SCOPED_TRACE("operation " + std::to_string(i) + " kind " + std::to_string(op));
        const Line l = randomLine(rng, true);
        LineRecord rec = record(l);
        Line got;
        int expected = 0;
        int actual = 0;
        switch (op) {
            case 0: expected = m.pushAbove(l); actual = pushAbove(&rec); break;
            case 1: expected = m.pushBelow(l); actual = pushBelow(&rec); break;
            case 2: expected = m.popAbove(got); actual = popAbove(&rec); EXPECT_EQ(toLine(rec), got); break;
            case 3: expected = m.popBelow(got); actual = popBelow(&rec); EXPECT_EQ(toLine(rec), got); break;
            case 4: m.moveAllBelow(); moveAllBelow(); break;
            case 5: m.moveAllAbove(); moveAllAbove(); break;
            case 6: { const int n = randomRow(); expected = m.flushRowsAbove(n); actual = flushRowsAbove(n); break; }
            case 7: expected = m.flushWindowAbove(); actual = flushWindowAbove(); break;
            case 8: { const int n = randomRow(); m.fillRowsFromAbove(n); fillRowsFromAbove(n); break; }
            case 9: { const int r = randomRow(); expected = m.flushRowsBelow(r); actual = flushRowsBelow(r); break; }
            case 10: expected = m.flushRowsBelow(0); actual = flushWindowBelow(); break;
            case 11: { const int r = randomRow(); m.fillRowsFromBelow(r); fillRowsFromBelow(r); break; }
            case 12: m.fillWindowEndingAtTop(); fillWindowEndingAtTop(); break;
            case 13:
            case 14: {
                const int lines = static_cast<int>(m.above.size() + m.belowRev.size()) + rows;
                const int n = static_cast<int>(rng() % (lines + 10)) - 3;
                int top = 0;
                int row = 0;
                const int before = headless_record().viewRepaints;
                expected = m.show(n, op == 13 ? 4 : 0, top, row);
                actual = op == 13 ? gotoLine(n) : gotoLineAtTop(n);
                if (expected == 0) {
                    EXPECT_EQ(topLine, top);
                    EXPECT_EQ(cursorRow, row);
                    EXPECT_EQ(topLine, aboveCountGet());
                }
                EXPECT_EQ(headless_record().viewRepaints, before + (expected == 0 ? 1 : 0));
                break;
            }
            case 15: {  // put a line into a row, sometimes beyond the window or the array
                const int r = static_cast<int>(rng() % (kWindowRowsMax + 4)) - 2;
                if (r >= 0 && r < kWindowRowsMax) m.rows[r] = Model::trimmed(l);
                rowPut(r, &rec);
                break;
            }
            default: {  // a whole-document visit that changes marks
                auto mark = [](LineRecord* line, void*) {
                    line->markState = line->markState == '0' ? '1' : '0';
                    return 1;
                };
                for (Line& x : m.above) x.mark = x.mark == '0' ? '1' : '0';
                for (Line& x : m.belowRev) x.mark = x.mark == '0' ? '1' : '0';
                visitAbove(mark);
                visitBelow(mark);
                break;
            }
        }
        ASSERT_EQ(actual, expected);
        ASSERT_EQ(storeFreeBytes(), m.freeBytes());
        ASSERT_EQ(aboveCountGet(), static_cast<int>(m.above.size()));
        if (i % 8 == 7 || i == operations - 1) {  // the full comparison is slow
            ASSERT_TRUE(storeMatches(m));
        }
    }
}

TEST_F(StoreModel, RandomOperationsMatchAPlainModel) {
    struct Run {
        unsigned seed;
        int rows;
        bool startFull;
    };
    for (const Run& run : {Run{11, 40, false}, Run{12, 7, false}, Run{13, 100, true}, Run{14, 1, true},
                           Run{15, 40, true}}) {
        SCOPED_TRACE("seed " + std::to_string(run.seed));
        storeReset();
        rowsClearAll();
        runRandomOperations(run.seed, run.rows, run.startFull, 1500);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
