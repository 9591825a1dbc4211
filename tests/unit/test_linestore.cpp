// The line store: the full-store boundaries, refusals that change nothing, the word characters, and random
// operations checked against a plain model (tokens and the word left of the cursor: Ctrl+D and the phrases).
#include "document/linestore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "editor_fixture.h"
#include "store_check.h"

namespace {

// A line as the tests see it: text and marks.
struct Line {
    std::string text;
    char mark = '0';
    unsigned char from = 0;
    unsigned char to = 0;
    bool operator==(const Line& o) const {
        return std::tie(text, mark, from, to) == std::tie(o.text, o.mark, o.from, o.to);
    }
};

// A LineRecord with the text; 251 or more characters leave no NUL.
LineRecord record(const Line& l) {
    LineRecord rec;
    lineInit(&rec);
    rec.markState = l.mark;
    rec.markFrom = l.from;
    rec.markTo = l.to;
    std::memcpy(rec.text, l.text.data(), std::min<std::size_t>(l.text.size(), sizeof rec.text));
    return rec;
}

Line toLine(const LineRecord& rec) {
    const void* nul = std::memchr(rec.text, '\0', sizeof rec.text);
    const std::size_t n = nul ? static_cast<const char*>(nul) - rec.text : sizeof rec.text;
    return Line{std::string(rec.text, n), rec.markState, rec.markFrom, rec.markTo};
}

bool isWhite(char c) { return c == ' ' || (c >= 9 && c <= 13); }

int collect(LineRecord* line, void* user) {
    static_cast<std::vector<Line>*>(user)->push_back(toLine(*line));
    return 1;
}
std::vector<Line> stackLines(bool above) {
    std::vector<Line> v;
    above ? visitAbove(collect, &v) : visitBelow(collect, &v);
    return v;
}

// Pushes records above until exactly target bytes are free.
void fillAboveToFree(std::uint32_t target) {
    while (storeFreeBytes() > target) {
        const std::uint32_t rem = storeFreeBytes() - target;
        const std::uint32_t size = rem <= 255 ? rem : std::min<std::uint32_t>(255, rem - 5);
        ASSERT_GE(size, 5u);
        LineRecord rec = record(Line{std::string(size - 5, 'f')});
        ASSERT_EQ(pushAbove(&rec), 0);
    }
    ASSERT_EQ(storeFreeBytes(), target);
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
    LineRecord rec = record(Line{std::string(250, 'w')});
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

// Every rule that refuses for a full store, at the byte where it flips; a
// refusal changes nothing.
TEST_F(LineStore, AFullStoreRefusesAtTheExactByte) {
    struct Row { const char* what; std::uint32_t free; int (*act)(int); int arg; int expected; };
    static const Row rows[] = {
        {"push above 250 into 255", 255, pushBig, 0, -1},
        {"push below 250 into 255", 255, pushBig, 1, -1},
        {"push above 250 into 256", 256, pushBig, 0, 0},
        {"push below 250 into 256", 256, pushBig, 1, 0},
        {"room for 5 K in 5000", 5000, hasRoom, 5, 0},
        {"room for 4 K in 5000", 5000, hasRoom, 4, 1},
        {"room for 5 K in 5001", 5001, hasRoom, 5, 1},
        {"room for 6 K in 5001", 5001, hasRoom, 6, 0},
        {"3 rows below into 24", 24, flushThreeRows, 1, -1},  // trailing blank rows are not counted
        {"3 rows below into 25", 25, flushThreeRows, 1, 0},
        {"3 rows above into 24", 24, flushThreeRows, 0, -1},
        {"3 rows above into 25", 25, flushThreeRows, 0, 0},
        {"edit of 286 in 800", 800, editFits, 286, 1},
        {"edit of 287 in 800", 800, editFits, 287, 0},
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
    EXPECT_EQ(flushWindowBelow(), -1);
    EXPECT_EQ(flushRowsBelow(0), -1);
    EXPECT_EQ(flushRowsAbove(40), -1);
    EXPECT_EQ(flushWindowAbove(), -1);
    EXPECT_EQ(gotoLine(3), -1);
    EXPECT_EQ(gotoLineAtTop(3), -1);
    EXPECT_EQ(positionReturn(0), -1);
    EXPECT_EQ(positionReturn(2), 0);  // no such slot: nothing to do
    EXPECT_EQ(positionReturn(-1), 0);
    EXPECT_TRUE(storeSnapshot() == before);
    EXPECT_EQ(cursorRow, 3);
    EXPECT_EQ(headless_record().viewRepaints, 0);
    EXPECT_EQ(flushRowsAbove(5), 0);  // a part that fits is flushed
    EXPECT_EQ(storeFreeBytes(), 300u - 5 * 15);
}

TEST_F(LineStore, RowsOutsideTheArrayOrWithoutTheAreaAreNeverTouched) {
    windowDestroy();
    storeDestroy();
    LineRecord rec = record(Line{"x"});
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

// The word characters (191 is none), the word after the blank under the cursor, a small buffer taking what
// fits, no word where only delimiters follow.
TEST_F(LineStore, TheWordAtTheCursor) {
    setRow(3, "x = a@b$c\xC4\xFF_9\xBF;");
    cursorRow = 3;
    cursorCol = 3;
    char buf[251];
    EXPECT_EQ(wordAtCursor(buf, sizeof buf), 9);
    EXPECT_STREQ(buf, "a@b$c\xC4\xFF_9");
    char small[4];
    EXPECT_EQ(wordAtCursor(small, sizeof small), 9);
    EXPECT_STREQ(small, "a@b");
    cursorCol = 13;  // only delimiters follow
    EXPECT_EQ(wordAtCursor(buf, sizeof buf), 0);
}

// A line for random documents: possibly with trailing white space, blank or
// longer than a line can hold, with random marks.
Line randomLine(std::mt19937& rng) {
    static const char kChars[] = "abcxyzABC0129_@$ ;,.(){}=+-*/\"'#\t\xC4\xE9\xFF\xBF";
    Line l;
    const unsigned kind = rng() % 20;
    std::size_t len = kind == 0 ? 0 : kind == 1 ? 250 : kind == 2 ? 251 + rng() % 10 : rng() % 60;
    for (std::size_t i = 0; i < len; ++i) l.text += kChars[rng() % (sizeof kChars - 1)];
    if (kind == 3) l.text = std::string(1 + rng() % 4, ' ') + "\t";
    if (kind == 4) l.text += "  \t";
    l.mark = static_cast<char>('0' + rng() % 4);
    l.from = static_cast<unsigned char>(rng() % 251);
    l.to = static_cast<unsigned char>(rng() % 251);
    return l;
}

// What the visitor does to the k-th line it sees: toggles the mark, ends the
// text after its first character, tries to lengthen it, or nothing.
Line visited(Line l, int k) {
    if (k % 4 == 0) l.mark = l.mark == '0' ? '1' : '0';
    if (k % 4 == 1 && !l.text.empty()) l.text.resize(1);
    if (k % 4 == 2) l.text += "Z";
    return l;
}
struct Visit { int calls; int stopAt; };
int visitor(LineRecord* line, void* user) {
    auto* v = static_cast<Visit*>(user);
    if (v->calls == v->stopAt) {
        line->text[0] = '#';  // never written back
        return 0;
    }
    *line = record(visited(toLine(*line), v->calls++));
    return 1;
}

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
    static bool blank(const Line& l) { return trimmed(l).text.empty(); }
    static std::uint64_t size(const Line& l) { return std::min<std::size_t>(l.text.size(), 250) + 5; }
    std::uint64_t freeBytes() const { return kLineAreaSize - used; }
    bool fits(std::uint64_t bytes) const { return bytes == 0 || freeBytes() > bytes; }
    int rowsUsed() const { return std::clamp(windowRows, 1, kWindowRowsMax); }
    static bool inArray(int r) { return r >= 0 && r < kWindowRowsMax; }

    int pushAbove(const Line& l) {
        if (!fits(size(l))) return -1;
        above.push_back(cut(l));
        used += size(l);
        return 0;
    }
    int pushBelow(const Line& l) {
        if (belowRev.empty() && blank(l)) return 0;  // no blank line at the document's end
        if (!fits(size(l))) return -1;
        belowRev.push_back(cut(l));
        used += size(l);
        return 0;
    }
    int pop(std::vector<Line>& v, Line& out) {
        out = Line{};
        if (v.empty()) return -1;
        out = v.back();
        v.pop_back();
        used -= size(out);
        return 0;
    }
    int flushRowsAbove(int n) {
        n = std::clamp(n, 0, rowsUsed());
        std::uint64_t need = 0;
        for (int r = 0; r < n; ++r) need += size(rows[r]);
        if (!fits(need)) return -1;
        for (int r = 0; r < n; ++r) pushAbove(std::exchange(rows[r], Line{}));
        return 0;
    }
    int flushWindowAbove() {
        int pushed = rowsUsed();
        while (belowRev.empty() && pushed > 0 && rows[pushed - 1].text.empty()) --pushed;
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
            pop(above, rows[r]);
            rows[r] = trimmed(rows[r]);
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
        for (int row = rowsUsed() - 1; row >= r; --row) pushBelow(std::exchange(rows[row], Line{}));
        return 0;
    }
    void fillRowsFromBelow(int r) {
        for (int row = std::clamp(r, 0, rowsUsed()); row < rowsUsed(); ++row) {
            pop(belowRev, rows[row]);
            rows[row] = trimmed(rows[row]);
        }
    }
    void fillWindowEndingAtTop() {
        const int c = std::min(static_cast<int>(above.size()), rowsUsed());
        fillRowsFromAbove(c);
        fillRowsFromBelow(c);
    }
    void moveAllBelow() {  // popping and pushing line by line
        while (!above.empty()) {
            if (!belowRev.empty() || !blank(above.back())) belowRev.push_back(above.back());
            above.pop_back();
        }
        used = 0;
        for (const Line& l : belowRev) used += size(l);
    }
    void moveAllAbove() {
        above.insert(above.end(), belowRev.rbegin(), belowRev.rend());
        belowRev.clear();
    }
    int show(long long target, int wantedRow, int& top, int& row) {
        if (flushRowsBelow(0) != 0) return -1;
        moveAllBelow();
        const long long last = std::max<long long>(0, static_cast<long long>(belowRev.size()) - 1);
        const long long line = std::clamp<long long>(target, 0, last);
        row = static_cast<int>(std::min<long long>(std::clamp(wantedRow, 0, rowsUsed() - 1), line));
        for (long long k = line - row; k > 0; --k) {
            above.push_back(belowRev.back());
            belowRev.pop_back();
        }
        top = static_cast<int>(above.size());
        fillRowsFromBelow(0);
        return 0;
    }
    void rowInsert(int r) {
        if (!inArray(r)) return;
        std::move_backward(rows.begin() + r, rows.end() - 1, rows.end());
        rows[r] = Line{};
    }
    void rowDelete(int r) {
        if (!inArray(r)) return;
        std::move(rows.begin() + r + 1, rows.end(), rows.begin() + r);
        rows.back() = Line{};
    }
    // Both walks with the visitor; bit 1: the above walk ran to its end, bit 0: the below walk.
    int visit(int stopAt) {
        int k = 0;
        int result = 0;
        for (bool up : {true, false}) {
            bool done = true;
            std::vector<Line>& stack = up ? above : belowRev;
            for (std::size_t i = 0; i < stack.size() && done; ++i) {
                Line& l = up ? stack[i] : stack[stack.size() - 1 - i];
                if (k == stopAt) {
                    done = false;
                } else {
                    const Line v = cut(visited(l, k++));  // a shortened text is filled up with blanks
                    l = Line{v.text.size() < l.text.size() ? v.text + std::string(l.text.size() - v.text.size(), ' ')
                                                          : l.text, v.mark, v.from, v.to};
                }
            }
            result = result * 2 + (done ? 1 : 0);
        }
        return result;
    }
};

::testing::AssertionResult storeMatches(const Model& m) {
    if (stackLines(true) != m.above) return ::testing::AssertionFailure() << "above stack differs";
    if (stackLines(false) != std::vector<Line>(m.belowRev.rbegin(), m.belowRev.rend()))
        return ::testing::AssertionFailure() << "below stack differs";
    for (int r = 0; r < kWindowRowsMax; ++r) {
        LineRecord rec;
        const bool hasText = rowGet(r, &rec);
        if (!(toLine(rec) == m.rows[r]) || hasText == m.rows[r].text.empty())
            return ::testing::AssertionFailure() << "row " << r << " differs";
    }
    return storeIsSound();
}

void runRandomOperations(unsigned seed, int rows, bool startFull, int operations) {
    std::mt19937 rng(seed);
    Model m;
    windowRows = m.windowRows = rows;
    while (startFull) {  // fill until a push is refused
        const Line l = randomLine(rng);
        LineRecord rec = record(l);
        const int got = pushAbove(&rec);
        ASSERT_EQ(got, m.pushAbove(l));
        startFull = got == 0;
    }
    auto randomRow = [&] { return static_cast<int>(rng() % (std::clamp(rows, 1, kWindowRowsMax) + 5)) - 2; };
    for (int i = 0; i < operations; ++i) {
        const unsigned op = rng() % 22;
        SCOPED_TRACE("operation " + std::to_string(i) + " kind " + std::to_string(op));
        const Line l = randomLine(rng);
        LineRecord rec = record(l);
        const int r = randomRow();
        Line got;
        int expected = 0;
        int actual = 0;
        switch (op) {
            case 0: expected = m.pushAbove(l); actual = pushAbove(&rec); break;
            case 1: expected = m.pushBelow(l); actual = pushBelow(&rec); break;
            case 2: expected = m.pop(m.above, got); actual = popAbove(&rec); EXPECT_EQ(toLine(rec), got); break;
            case 3: expected = m.pop(m.belowRev, got); actual = popBelow(&rec); EXPECT_EQ(toLine(rec), got); break;
            case 4: m.moveAllBelow(); moveAllBelow(); break;
            case 5: m.moveAllAbove(); moveAllAbove(); break;
            case 6: expected = m.flushRowsAbove(r); actual = flushRowsAbove(r); break;
            case 7: expected = m.flushWindowAbove(); actual = flushWindowAbove(); break;
            case 8: m.fillRowsFromAbove(r); fillRowsFromAbove(r); break;
            case 9: expected = m.flushRowsBelow(r); actual = flushRowsBelow(r); break;
            case 10: expected = m.flushRowsBelow(0); actual = flushWindowBelow(); break;
            case 11: m.fillRowsFromBelow(r); fillRowsFromBelow(r); break;
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
            case 15: {  // a line into a row, sometimes beyond the window or the array
                const int at = static_cast<int>(rng() % (kWindowRowsMax + 4)) - 2;
                if (Model::inArray(at)) m.rows[at] = Model::trimmed(l);
                rowPut(at, &rec);
                break;
            }
            case 16: m.rowInsert(r * 3); rowInsert(r * 3); break;
            case 17: m.rowDelete(r * 3); rowDelete(r * 3); break;
            case 18:
                if (Model::inArray(r)) m.rows[r] = Line{};
                rowClear(r);
                break;
            case 19: m.rowDelete(0); rowsScrollUp(); break;
            case 20: m.rowInsert(0); rowsScrollDown(); break;
            default: {
                const int lines = static_cast<int>(m.above.size() + m.belowRev.size());
                Visit v{0, static_cast<int>(rng() % (lines + 3))};
                expected = m.visit(v.stopAt);
                actual = visitAbove(visitor, &v) * 2;
                actual += visitBelow(visitor, &v);
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

// Window sizes 0 and 1000 are taken as 1 and 100.
TEST_F(LineStore, RandomOperationsMatchAPlainModel) {
    struct Run { unsigned seed; int rows; bool startFull; };
    for (const Run& run : {Run{11, 40, false}, Run{12, 3, false}, Run{13, 1000, true}, Run{14, 0, true},
                           Run{15, 40, true}, Run{16, 7, false}}) {
        SCOPED_TRACE("seed " + std::to_string(run.seed));
        storeReset();
        rowsClearAll();
        runRandomOperations(run.seed, run.rows, run.startFull, 1500);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
