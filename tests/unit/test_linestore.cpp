// The line store: the full-store boundaries, refusals that change nothing, rows that are not there, the
// visitor's write-back. (Every push, pop, flush and move is compared with the key model: fuzz/key_model.cpp.)
#include "document/linestore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "store_check.h"

namespace {

LineRecord record(const std::string& text, char mark = '0') {
    LineRecord rec;
    lineInit(&rec);
    rec.markState = mark;
    std::memcpy(rec.text, text.data(), std::min<std::size_t>(text.size(), kLineChars));
    return rec;
}

// Each line of the above stack as its mark and text.
std::vector<std::string> aboveLines() {
    std::vector<std::string> lines;
    visitAbove([](LineRecord* line, void* user) {
        static_cast<std::vector<std::string>*>(user)->push_back(line->markState + std::string(line->text));
        return 1;
    }, &lines);
    return lines;
}

// Lines pushed above until exactly target bytes are free.
void fillAboveToFree(std::uint32_t target) {
    fillStoreLeaving(static_cast<long>(target) - static_cast<long>(storeWindowBytes()) - 1);
}

class LineStore : public ::testing::Test {
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

// The acts of the boundary table: each sets up its rows and returns its result.
int pushBig(int below) {
    LineRecord rec = record(std::string(250, 'w'));
    return below ? pushBelow(&rec) : pushAbove(&rec);
}
int hasRoom(int k) { return storeHasRoom(k) ? 1 : 0; }
int flushThreeRows(int below) {
    for (int r = 0; r < 3; ++r) setRow(r, "abc");
    return below ? flushWindowBelow() : flushRowsAbove(3);
}
int editFits(int extra) {  // the rows cost 5 bytes each and their trimmed text: 513
    setRow(0, "abcdefghij");
    setRow(5, "xyz   ");
    return storeEditFits(extra) ? 1 : 0;
}

// Every rule that refuses for a full store, at the byte where it flips; a refusal changes nothing.
TEST_F(LineStore, AFullStoreRefusesAtTheExactByte) {
    struct Row { const char* what; std::uint32_t free; int (*act)(int); int arg; int expected; };
    static const Row rows[] = {
        {"push above 250 into 255", 255, pushBig, 0, -1},  {"push below 250 into 255", 255, pushBig, 1, -1},
        {"push above 250 into 256", 256, pushBig, 0, 0},   {"push below 250 into 256", 256, pushBig, 1, 0},
        {"room for 5 K in 5000", 5000, hasRoom, 5, 0},     {"room for 4 K in 5000", 5000, hasRoom, 4, 1},
        {"room for 5 K in 5001", 5001, hasRoom, 5, 1},     {"room for 6 K in 5001", 5001, hasRoom, 6, 0},
        {"3 rows below into 24", 24, flushThreeRows, 1, -1},  // trailing blank rows are not counted
        {"3 rows below into 25", 25, flushThreeRows, 1, 0},
        {"3 rows above into 24", 24, flushThreeRows, 0, -1}, {"3 rows above into 25", 25, flushThreeRows, 0, 0},
        {"edit of 286 in 800", 800, editFits, 286, 1},     {"edit of 287 in 800", 800, editFits, 287, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        storeReset();
        rowsClearAll();
        ASSERT_NO_FATAL_FAILURE(fillAboveToFree(r.free));
        const std::int32_t lines = aboveCountGet() + belowCountGet();
        EXPECT_EQ(r.act(r.arg), r.expected);
        if (r.expected == -1) {
            EXPECT_EQ(storeFreeBytes(), r.free);
            EXPECT_EQ(aboveCountGet() + belowCountGet(), lines);
            if (r.act == flushThreeRows) { EXPECT_EQ(rowText(2), "abc"); }
        }
        EXPECT_TRUE(storeIsSound());
    }
}

TEST_F(LineStore, ARefusedFlushOrMoveChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(loadLines(std::vector<std::string>(50, "line")));
    for (int r = 0; r < 40; ++r) setRow(r, "0123456789");
    fillAboveToFree(300);  // the rows need 40 * 15 bytes
    cursorRow = 3;
    positionRemember();
    const std::string before = storeSnapshot();
    EXPECT_FALSE(storeEditFits(0));
    // In order: the window and rows below, rows and the window above, both moves, the remembered position, and
    // two slots that do not exist (nothing to do).
    EXPECT_EQ((std::vector<int>{flushWindowBelow(), flushRowsBelow(0), flushRowsAbove(40), flushWindowAbove(),
                                gotoLine(3), gotoLineAtTop(3), positionReturn(0), positionReturn(2),
                                positionReturn(-1)}),
              (std::vector<int>{-1, -1, -1, -1, -1, -1, -1, 0, 0}));
    EXPECT_TRUE(storeSnapshot() == before);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(headless_record().viewRepaints, 0);
    EXPECT_EQ(flushRowsAbove(5), 0);  // a part that fits is flushed
    EXPECT_EQ(storeFreeBytes(), 300u - 5 * 15);
}

// Rows outside 0..99 are never touched and a window of 0 rows is one; a visitor's shorter text is padded to
// the record's length, a visitor that stops writes nothing back.
TEST_F(LineStore, RowsOutsideTheArrayAndVisitsKeepTheStoreSound) {
    for (int r = 0; r < kWindowRowsMax; ++r) setRow(r, ("row " + std::to_string(r)).c_str());
    LineRecord rec = record("x");
    const std::string before = storeSnapshot();
    for (int r : {-1, kWindowRowsMax}) {
        rowInsert(r);
        rowDelete(r);
        rowClear(r);
        rowPut(r, &rec);
        rowGetRaw(r, &rec);
        EXPECT_STREQ(rec.text, "");
    }
    EXPECT_TRUE(storeSnapshot() == before);
    rowDelete(kWindowRowsMax - 1);
    EXPECT_EQ(rowText(kWindowRowsMax - 2) + "|" + rowText(kWindowRowsMax - 1), "row 98|");
    windowRows = 0;
    EXPECT_EQ(flushWindowAbove(), 0);
    EXPECT_EQ(aboveLines(), std::vector<std::string>{"0row 0"});
    rowsClearAll();
    EXPECT_EQ(flushWindowAbove(), 0);  // a blank row before an empty below stack is dropped
    for (const char* text : {"abcd", "efgh"}) {
        rec = record(text, '1');
        ASSERT_EQ(pushAbove(&rec), 0);
    }
    int calls = 0;
    EXPECT_FALSE(visitAbove([](LineRecord* line, void* user) {
        line->markState = '2';
        std::strcpy(line->text, ++*static_cast<int*>(user) == 3 ? "stop" : "ab");
        return *static_cast<int*>(user) < 3 ? 1 : 0;
    }, &calls));
    EXPECT_EQ(aboveLines(), (std::vector<std::string>{"2ab   ", "2ab  ", "1efgh"}));
    EXPECT_TRUE(storeIsSound());
    windowRows = 40;
    EXPECT_EQ(gotoLine(1), 0);  // line 1 cannot stand four rows down
    EXPECT_EQ(cursorRow, 1);
}

}  // namespace
