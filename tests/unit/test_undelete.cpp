// The undelete buffers: blocks and their clipboard text, lines, pieces, and the edges of the three areas.
#include "document/undelete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/messages.h"
#include "host/headless.h"
#include "host/headless_profile.h"
#include "support/platform.h"

namespace {

using Texts = std::vector<std::string>;

class Undelete : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        undeleteCreate();
    }
    void TearDown() override {
        undeleteDestroy();
        fmalloc_test_fail_after(-1);
    }
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

// A fetch or the clipboard restarts the collection; a text is at most a line in every buffer; the largest
// clipboard text, a full buffer of empty texts each with its line end, fits.
TEST_F(Undelete, BlockTextsFormOneCollectionUntilAFetchOrTheClipboardRestartsIt) {
    EXPECT_EQ(fetchAllBlocks(), Texts{});
    for (const char* t : {"eins", "", "zwei drei"}) blockStore(t);  // a blank line is kept as one
    EXPECT_EQ(fetchAllBlocks(), (Texts{"eins", "", "zwei drei"}));
    blockStore("c1");
    blockRestartSet();  // the texts stay readable until the next store
    EXPECT_EQ(fetchAllBlocks(), Texts{"c1"});
    EXPECT_EQ(blockToClipboard(), 0);
    blockStore("f1");
    EXPECT_EQ(fetchAllBlocks(), Texts{"f1"});
    const std::string longText = numbered(1, 5000, 'z');
    blockRestartSet();
    blockStore(longText.c_str());
    lineStore(longText.c_str());
    pieceStore(longText.c_str(), 5000);
    const Texts line{longText.substr(0, UNDELETE_TEXT_MAX)};
    EXPECT_EQ(fetchAllBlocks(), line);
    EXPECT_EQ(fetchRepeated(lineFetch, 1), line);
    EXPECT_EQ(fetchRepeated(pieceFetch, 1), line);
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
}

// 199 texts of 249 characters take 49750 bytes, then: a text of 250 fills
// the rest with its NUL in the spare byte; one of 200 after one of 150 is cut
// to the 99 characters left; one more of 249 ends on the last byte.
TEST_F(Undelete, AFullBlockBufferCutsTheLastTextAndKeepsNothingMore) {
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

// Repeated Ctrl+E goes back through older lines, another key starts at the newest; a line stored while
// reading moves the reading position with the texts; beyond the stored lines each byte reads as an empty text.
TEST_F(Undelete, RepeatedCtrlEGoesBackThroughOlderLinesToTheBufferEnd) {
    EXPECT_EQ(fetchRepeated(lineFetch, 1), Texts{""});
    for (const char* t : {"eins", "zwei", "drei"}) lineStore(t);
    EXPECT_EQ(fetchRepeated(lineFetch, 3), (Texts{"drei", "zwei", "eins"}));
    EXPECT_EQ(fetchRepeated(lineFetch, 1), Texts{"drei"});
    lineStore("mitten");
    char out[UNDELETE_TEXT_MAX + 1];
    EXPECT_EQ(lineFetch(out, true), 0);
    EXPECT_STREQ(out, "zwei");
    int empties = 0;
    while (lineFetch(out, true) == 0 && ++empties <= ZWRSUP) ASSERT_STREQ(out, empties == 1 ? "eins" : "");
    EXPECT_EQ(empties, ZWRSUP - 22 + 1);
    EXPECT_EQ(lineFetch(out, true), -1);
    // 50000 = 413 * 121 + 27: the oldest text kept is read cut to 27 characters.
    Texts stored;
    for (int i = 0; i < 500; ++i) {
        stored.push_back(numbered(i, 120));
        lineStore(stored.back().c_str());
    }
    const Texts read = fetchRepeated(lineFetch, 415);
    EXPECT_EQ(Texts(read.begin() + 412, read.end()), (Texts{stored[87], stored[86].substr(0, 27), "<end>"}));
}

// A piece is the trimmed first n characters; Ctrl+U again goes back through older pieces; past the
// oldest of a buffer not yet full nothing comes, in a full one reading wraps to the newest, and a
// piece cut at the area's end is read up to it.
TEST_F(Undelete, PiecesAreTrimmedAndRepeatedCtrlUGoesBackAndWraps) {
    pieceStore("abc", 0);
    EXPECT_EQ(fetchRepeated(pieceFetch, 1), Texts{"<end>"});
    struct Piece { const char* text; int n; const char* piece; };
    static const Piece pieces[] = {
        {"  ab  cd  xy", 10, "ab  cd"}, {"ab", 6, "ab"}, {"     ", 5, " "}, {"x\ty ", 4, "x\ty"},
    };
    for (const Piece& p : pieces) {
        pieceStore(p.text, p.n);
        EXPECT_EQ(fetchRepeated(pieceFetch, 1), Texts{p.piece}) << p.text;
    }
    struct Row { int count; int length; Texts read; };
    const Row rows[] = {
        {3, 4, {"2:xx", "1:xx", "0:xx", "<end>"}},
        {5, 199, {numbered(4, 199), numbered(3, 199), numbered(2, 199), numbered(1, 199), numbered(0, 199),
                  numbered(4, 199)}},  // exactly full
        {6, 170, {numbered(5, 170), numbered(4, 170), numbered(3, 170), numbered(2, 170), numbered(1, 170),
                  numbered(0, 170).substr(0, 145), numbered(5, 170)}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.count);
        undeleteCreate();
        for (int i = 0; i < r.count; ++i) pieceStore(numbered(i, r.length).c_str(), r.length);
        EXPECT_EQ(fetchRepeated(pieceFetch, static_cast<int>(r.read.size())), r.read);
        pieceStore("neu", 3);  // a store restarts reading even while Ctrl+U repeats
        char out[UNDELETE_TEXT_MAX + 1];
        EXPECT_EQ(pieceFetch(out, true), 0);
        EXPECT_STREQ(out, "neu");
    }
}

using UndeleteDeathTest = Undelete;

// An area that cannot be had at start-up ends the program; without its areas a buffer keeps nothing and
// reads nothing.
TEST_F(UndeleteDeathTest, AFailedAllocationEndsTheProgramAndWithoutTheAreasNothingIsKept) {
    const int blocks = fmalloc_count();
    undeleteDestroy();
    EXPECT_EQ(fmalloc_count(), blocks - 3);
    fmalloc_test_fail_after(2);
    EXPECT_DEATH(undeleteCreate(), "ASSERT ERROR\nundelete\\.54\n\\(cutxt=fmalloc\\(CUSUP\\+2,1\\)\\) != NULL\n");
    fmalloc_test_fail_after(-1);
    blockStore("b");
    lineStore("l");
    pieceStore("p", 1);
    EXPECT_EQ(fetchAllBlocks(), Texts{});
    EXPECT_EQ(fetchRepeated(lineFetch, 1), Texts{"<end>"});
    EXPECT_EQ(fetchRepeated(pieceFetch, 1), Texts{"<end>"});
    EXPECT_EQ(blockToClipboard(), -1);
    EXPECT_FALSE(headless_clipboard_has_text());
}

}  // namespace
