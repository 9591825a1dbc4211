// The undelete buffers: blocks and their clipboard text, lines, pieces, and the edges of the three areas.
#include "document/undelete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/messages.h"
#include "host/headless.h"
#include "support/platform.h"

namespace {

using Texts = std::vector<std::string>;

class Undelete : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        undeleteCreate();
    }
    void TearDown() override { undeleteDestroy(); }
};

// A text of length characters that names its number n at the front.
std::string numbered(int n, int length, char fill = 'x') {
    std::string s = std::to_string(n) + ":";
    s.resize(static_cast<std::size_t>(length), fill);
    return s;
}

// Every text of the block buffer, oldest first; the end gives an empty text.
Texts fetchAllBlocks() {
    Texts texts;
    char out[UNDELETE_TEXT_MAX + 1];
    for (int r = blockFetch(true, out); r == 0; r = blockFetch(false, out)) texts.emplace_back(out);
    EXPECT_STREQ(out, "");
    return texts;
}

// Ctrl+E (lines) or Ctrl+U (pieces) pressed count times, the first press after another key.
Texts fetchRepeated(int (*fetch)(char*, bool), int count) {
    Texts texts;
    char out[UNDELETE_TEXT_MAX + 1] = "stale";
    for (int i = 0; i < count; ++i) texts.emplace_back(fetch(out, i > 0) == 0 ? out : "<end>");
    return texts;
}

// Texts stored one after another form one collection (restarted by a fetch: the key model's block commands and
// Ctrl+B); a full buffer of empty texts, each with its line end, fits the clipboard. 199 texts of 249 take 49750
// bytes; then a text of 250 puts its NUL in the spare byte, one of 200 after one of 150 is cut to 99, one of 249
// ends on the last byte.
TEST_F(Undelete, BlockTextsFormOneCollectionToTheBuffersLastByte) {
    EXPECT_EQ(fetchAllBlocks(), Texts{});
    for (const char* t : {"eins", "", "zwei drei"}) blockStore(t);  // a blank line is kept as one
    EXPECT_EQ(fetchAllBlocks(), (Texts{"eins", "", "zwei drei"}));
    Texts stored(ZBRSUP - 1, "");
    stored.push_back("Q");
    for (const std::string& t : stored) blockStore(t.c_str());
    const int blocks = fmalloc_count();
    EXPECT_EQ(blockToClipboard(), 0);
    std::vector<char> clip(4 * ZBRSUP);
    clip_get(clip.data(), static_cast<int>(clip.size()) - 1);
    std::string expected;
    for (int i = 1; i < ZBRSUP; ++i) expected += "\r\n";
    EXPECT_TRUE(std::string(clip.data()) == expected + "Q\r\n");
    EXPECT_EQ(fmalloc_count(), blocks) << "the scratch block is released";
    EXPECT_TRUE(fetchAllBlocks() == stored);  // still there to be fetched
    struct Row { Texts last; int end; Texts kept; };
    const Row rows[] = {
        {{numbered(199, 250, 'y')}, ZBRSUP + 1, {numbered(199, 250, 'y')}},
        {{numbered(7, 150), numbered(8, 200)}, ZBRSUP + 1, {numbered(7, 150), numbered(8, 200).substr(0, 99)}},
        {{numbered(9, 249)}, ZBRSUP, {numbered(9, 249)}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kept.back().size());
        blockRestartSet();
        for (int i = 0; i < 199; ++i) blockStore(numbered(i, 249).c_str());
        for (const std::string& t : r.last) blockStore(t.c_str());
        blockStore("verloren");  // a full buffer keeps nothing, not even an empty text
        blockStore("");
        EXPECT_EQ(blockEndGet(), r.end);
        const Texts texts = fetchAllBlocks();
        ASSERT_EQ(texts.size(), 199 + r.kept.size());
        EXPECT_EQ(Texts(texts.begin() + 199, texts.end()), r.kept);
    }
}

// Repeated Ctrl+E or Ctrl+U goes back through older texts, another key starts at the newest (key by key: the key
// model); here the ends of the areas. The oldest line is cut at the area's end (50000 = 413 * 121 + 27), then
// nothing comes. A piece of n = 0 is none, a shorter text is taken trimmed; past the oldest piece nothing comes,
// in a full buffer reading wraps to the newest (six pieces of 171 bytes: the oldest cut to 145).
TEST_F(Undelete, RepeatedCtrlEAndCtrlUGoBackThroughOlderTextsToTheBufferEnd) {
    pieceStore("abc", 0);
    pieceStore("ab", 6);
    EXPECT_EQ(fetchRepeated(pieceFetch, 2), (Texts{"ab", "<end>"}));
    auto n = [](int i, int length) { return numbered(i, length); };
    struct Row { bool pieces; int count, length, skip; Texts read; };
    const Row rows[] = {
        {false, 500, 120, 412, {n(87, 120), n(86, 120).substr(0, 27), "<end>"}},
        {true, 6, 170, 0, {n(5, 170), n(4, 170), n(3, 170), n(2, 170), n(1, 170), n(0, 170).substr(0, 145),
                           n(5, 170)}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.count);
        undeleteCreate();
        for (int i = 0; i < r.count; ++i) {
            if (r.pieces) pieceStore(n(i, r.length).c_str(), r.length);
            else lineStore(n(i, r.length).c_str());
        }
        const Texts read = fetchRepeated(r.pieces ? pieceFetch : lineFetch, r.skip + static_cast<int>(r.read.size()));
        EXPECT_EQ(Texts(read.begin() + r.skip, read.end()), r.read);
    }
}

}  // namespace
