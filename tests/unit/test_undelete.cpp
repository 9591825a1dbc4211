// The undelete buffers: the block buffer's collections and its clipboard
// text, the line buffer's newest 50000 bytes, the pieces, the edges of all
// three areas and the allocation assertions.
#include "document/undelete.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/messages.h"
#include "support/platform.h"
#include "host/headless.h"
#include "host/headless_profile.h"

namespace {

using Texts = std::vector<std::string>;

class Undelete : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        fmalloc_test_fail_after(-1);
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

// Every text of the block buffer, oldest first.
Texts fetchAllBlocks() {
    Texts texts;
    char out[UNDELETE_TEXT_MAX + 1];
    for (int r = blockFetch(true, out); r == 0; r = blockFetch(false, out)) texts.emplace_back(out);
    EXPECT_STREQ(out, "") << "the end of the buffer gives an empty text";
    return texts;
}

// Texts fetched one after another: Ctrl+E (lines) or Ctrl+U (pieces) pressed
// again and again, the first press after another key.
Texts fetchRepeated(int (*fetch)(char*, bool), int count) {
    Texts texts;
    char out[UNDELETE_TEXT_MAX + 1] = "stale";
    for (int i = 0; i < count; ++i) texts.emplace_back(fetch(out, i > 0) == 0 ? out : "<end>");
    return texts;
}

std::string clipboardText() {
    std::vector<char> buf(4 * ZBRSUP);
    clip_get(buf.data(), static_cast<int>(buf.size()) - 1);
    return std::string(buf.data());
}

// The bytes of an area after the texts were put in front one after another, cut to size.
std::string newestFirst(const Texts& stored, int size) {
    std::string bytes;
    for (auto it = stored.rbegin(); it != stored.rend() && bytes.size() < static_cast<std::size_t>(size); ++it) {
        bytes += *it + '\0';
    }
    bytes.resize(static_cast<std::size_t>(size), '\0');
    return bytes;
}

TEST_F(Undelete, BlockTextsFormOneCollectionUntilAFetchOrTheClipboardRestartsIt) {
    EXPECT_EQ(fetchAllBlocks(), Texts{});
    for (const char* t : {"eins", "", "zwei drei"}) blockStore(t);  // a blank line is kept as one
    EXPECT_EQ(fetchAllBlocks(), (Texts{"eins", "", "zwei drei"}));
    blockStore("c1");  // the fetch set the restart
    blockRestartSet();  // the texts stay readable, and go to the clipboard, until the next store
    EXPECT_EQ(fetchAllBlocks(), Texts{"c1"});
    EXPECT_EQ(blockToClipboard(), 0);  // which restarts as well
    blockStore("f1");
    EXPECT_EQ(fetchAllBlocks(), Texts{"f1"});
    // A stored text is at most a line, in every buffer.
    const std::string longText = numbered(1, 5000, 'z');
    blockRestartSet();
    blockStore(longText.c_str());
    lineStore(longText.c_str());
    pieceStore(longText.c_str(), 5000);
    const std::string line = longText.substr(0, UNDELETE_TEXT_MAX);
    EXPECT_EQ(fetchAllBlocks(), Texts{line});
    EXPECT_EQ(fetchRepeated(lineFetch, 1), Texts{line});
    EXPECT_EQ(fetchRepeated(pieceFetch, 1), Texts{line});
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

TEST_F(Undelete, TheClipboardTakesEveryTextWithALineEndEvenWhenItDoubles) {
    struct Row { const char* what; Texts stored; };
    const Row rows[] = {
        {"three texts", {"erste Zeile", "", "  dritte"}},
        {"the largest", [] { Texts t(ZBRSUP - 1, ""); t.push_back("Q"); return t; }()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        blockRestartSet();
        std::string expected;
        for (const std::string& t : r.stored) {
            blockStore(t.c_str());
            expected += t + "\r\n";
        }
        const int blocks = fmalloc_count();
        EXPECT_EQ(blockToClipboard(), 0);
        EXPECT_TRUE(clipboardText() == expected);
        EXPECT_EQ(fmalloc_count(), blocks) << "the scratch block is released";
        EXPECT_TRUE(fetchAllBlocks() == r.stored);  // still there to be fetched
    }
}

// Repeated Ctrl+E goes back through older lines; another key starts at the
// newest again; a line stored while reading moves the reading position with
// the texts; beyond the stored lines each untouched byte reads as an empty text.
TEST_F(Undelete, RepeatedCtrlEGoesBackThroughOlderLinesToTheBufferEnd) {
    EXPECT_EQ(fetchRepeated(lineFetch, 1), Texts{""});  // the buffer starts with an empty text
    for (const char* t : {"eins", "zwei", "drei"}) lineStore(t);
    EXPECT_EQ(std::string(zwramBytes(), 16), std::string("drei\0zwei\0eins\0\0", 16));  // the newest first
    EXPECT_EQ(fetchRepeated(lineFetch, 3), (Texts{"drei", "zwei", "eins"}));
    char out[UNDELETE_TEXT_MAX + 1];
    EXPECT_EQ(lineFetch(out, false), 0);
    EXPECT_STREQ(out, "drei");
    lineStore("mitten");
    EXPECT_EQ(lineFetch(out, true), 0);
    EXPECT_STREQ(out, "zwei");
    int empties = 0;
    while (lineFetch(out, true) == 0 && ++empties <= ZWRSUP) ASSERT_STREQ(out, empties == 1 ? "eins" : "");
    EXPECT_EQ(empties, ZWRSUP - 22 + 1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(lineFetch(out, true), -1);

    // 50000 = 413 * 121 + 27: the oldest text kept is read cut to 27 characters.
    Texts stored;
    for (int i = 0; i < 500; ++i) {
        stored.push_back(numbered(i, 120));
        lineStore(stored.back().c_str());
    }
    const Texts read = fetchRepeated(lineFetch, 415);
    EXPECT_EQ(read[412], stored[87]);
    EXPECT_EQ(read[413], stored[86].substr(0, 27));
    EXPECT_EQ(read[414], "<end>");
}

TEST_F(Undelete, APieceIsTheTrimmedFirstNCharacters) {
    pieceStore("abc", 0);  // n = 0: nothing
    pieceStore("abc", -3);
    EXPECT_EQ(fetchRepeated(pieceFetch, 1), Texts{"<end>"});
    struct Row { const char* text; int n; const char* piece; };
    const Row rows[] = {
        {"abcdef", 3, "abc"},
        {"  ab  cd  xy", 10, "ab  cd"},  // blanks around removed, inside kept
        {"ab", 6, "ab"},                 // padding beyond the text trims away
        {"     ", 5, " "},               // only blanks: one blank
        {"", 4, " "},
        {"x\ty ", 4, "x\ty"},            // only blanks are trimmed
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        pieceStore(r.text, r.n);
        EXPECT_EQ(fetchRepeated(pieceFetch, 1), Texts{r.piece});
    }
}

// Ctrl+U again goes back through older pieces; past the oldest of a buffer not
// yet full nothing comes, in a full one reading wraps to the newest, and a
// piece cut at the area's end is read up to it.
TEST_F(Undelete, RepeatedCtrlUGoesBackThroughOlderPiecesAndWraps) {
    struct Row { int count; int length; Texts read; };
    const Row rows[] = {
        {3, 4, {"2:xx", "1:xx", "0:xx", "<end>", "<end>"}},
        {5, 199, {numbered(4, 199), numbered(3, 199), numbered(2, 199), numbered(1, 199), numbered(0, 199),
                  numbered(4, 199)}},
        {6, 170, {numbered(5, 170), numbered(4, 170), numbered(3, 170), numbered(2, 170), numbered(1, 170),
                  numbered(0, 170).substr(0, 145), numbered(5, 170)}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.count) + " of " + std::to_string(r.length));
        undeleteCreate();
        Texts stored;
        for (int i = 0; i < r.count; ++i) {
            stored.push_back(numbered(i, r.length));
            pieceStore(stored.back().c_str(), r.length);
        }
        EXPECT_EQ(std::string(cutxtBytes(), CUSUP + 2), newestFirst(stored, CUSUP) + std::string(2, '\0'));
        EXPECT_EQ(fetchRepeated(pieceFetch, static_cast<int>(r.read.size())), r.read);
        pieceStore("neu", 3);  // a store restarts reading even while Ctrl+U repeats
        char out[UNDELETE_TEXT_MAX + 1];
        EXPECT_EQ(pieceFetch(out, true), 0);
        EXPECT_STREQ(out, "neu");
    }
}

TEST_F(Undelete, WithoutTheAreasNothingIsKeptOrRead) {
    const int blocks = fmalloc_count();
    undeleteDestroy();
    EXPECT_EQ(fmalloc_count(), blocks - 3);
    EXPECT_EQ(zbramBytes(), nullptr);
    blockStore("b");
    lineStore("l");
    pieceStore("p", 1);
    EXPECT_EQ(fetchAllBlocks(), Texts{});
    EXPECT_EQ(fetchRepeated(lineFetch, 1), Texts{"<end>"});
    EXPECT_EQ(fetchRepeated(pieceFetch, 1), Texts{"<end>"});
    EXPECT_EQ(blockToClipboard(), -1);
    EXPECT_FALSE(headless_clipboard_has_text());
}

using UndeleteDeathTest = Undelete;

TEST_F(UndeleteDeathTest, FailedAllocationsEndTheProgramNamingTheArea) {
    undeleteDestroy();
    fmalloc_test_fail_after(0);
    EXPECT_DEATH(undeleteCreate(), "ASSERT ERROR\nundelete\\.50\n\\(zbram=fmalloc\\(ZBRSUP\\+2,1\\)\\) != NULL\n");
    fmalloc_test_fail_after(2);
    EXPECT_DEATH(undeleteCreate(), "ASSERT ERROR\nundelete\\.54\n\\(cutxt=fmalloc\\(CUSUP\\+2,1\\)\\) != NULL\n");
    fmalloc_test_fail_after(-1);
    undeleteCreate();
    blockStore("Zeile");
    fmalloc_test_fail_after(0);
    EXPECT_DEATH(blockToClipboard(), "ASSERT ERROR\nundelete\\.127\n\\(text=fmalloc\\(ZBRSUP\\+2,1\\)\\) != NULL\n");
}

}  // namespace
