// Tests of the undelete buffers: the block buffer's collections and its
// clipboard text, the line buffer's order and its 50000 bytes, the piece
// rules, the capacity edges of all three areas and the allocation
// assertions. Through the headless host (clipboard in memory, fatal end as
// an abort).
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

// The last two keys pressed at the top level (0: a key without Ctrl).
struct Keys {
    int last = 0, previous = 0;
};
Keys keys;

class Undelete : public ::testing::Test {
protected:
    void SetUp() override {
        headless_reset();
        keys = Keys{};
        fmalloc_test_fail_after(-1);
        undeleteCreate();
    }
    void TearDown() override {
        undeleteDestroy();
        fmalloc_test_fail_after(-1);
        headless_reset();
    }
};

// The user presses a key at the top level: Ctrl with a letter, or a key
// without Ctrl (0). The key commands ask whether the one before the current
// key was the same Ctrl key.
void pressCtrl(int letter) { keys = Keys{letter, keys.last}; }
void pressDown() { keys = Keys{0, keys.last}; }
bool again(int letter) { return keys.previous == letter; }

// Ctrl+E or Ctrl+U pressed and handled: the fetch it makes.
int ctrlE(char* out) {
    pressCtrl('E');
    return lineFetch(out, again('E'));
}
int ctrlU(char* out) {
    pressCtrl('U');
    return pieceFetch(out, again('U'));
}

// A text of length characters that names its number n at the front, so that
// every stored text can be told from the others.
std::string numbered(int n, int length, char fill = 'x') {
    std::string s = std::to_string(n) + ":";
    s.resize(static_cast<std::size_t>(length), fill);
    return s;
}

// Every text of the block buffer, oldest first, read with blockFetch.
std::vector<std::string> fetchAllBlocks() {
    std::vector<std::string> texts;
    char out[UNDELETE_TEXT_MAX + 1];
    for (int r = blockFetch(true, out); r == 0; r = blockFetch(false, out)) texts.emplace_back(out);
    EXPECT_STREQ(out, "") << "the end of the buffer gives an empty text";
    return texts;
}

// Compares long texts without the line diff of EXPECT_EQ (which needs memory
// by the square of the line count): the lengths and the first difference.
::testing::AssertionResult sameText(const std::string& got, const std::string& want) {
    if (got == want) return ::testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
    return ::testing::AssertionFailure() << "lengths " << got.size() << " and " << want.size()
                                         << ", first difference at " << at;
}

std::string clipboardText() {
    std::vector<char> buf(4 * ZBRSUP);
    clip_get(buf.data(), static_cast<int>(buf.size()) - 1);
    return std::string(buf.data());
}

// The bytes an area holds after the texts were put in front of it one after
// another (the newest first), cut to size bytes.
std::string newestFirst(const std::vector<std::string>& stored, int size) {
    std::string bytes;
    for (auto it = stored.rbegin(); it != stored.rend() && bytes.size() < static_cast<std::size_t>(size); ++it) {
        bytes += *it;
        bytes += '\0';
    }
    bytes.resize(static_cast<std::size_t>(size), '\0');
    return bytes;
}

// ---------------------------------------------------------------------------
// The block buffer
// ---------------------------------------------------------------------------

TEST_F(Undelete, BlockTextsComeBackOldestFirstAndTheEndIsMinusOne) {
    char out[UNDELETE_TEXT_MAX + 1] = "stale";
    EXPECT_EQ(blockFetch(true, out), -1) << "an empty buffer";
    EXPECT_STREQ(out, "");

    blockStore("eins");
    blockStore("");  // a blank line of the block is kept as one
    blockStore("zwei drei");
    EXPECT_EQ(fetchAllBlocks(), (std::vector<std::string>{"eins", "", "zwei drei"}));

    // Reading on after the end stays at the end; first starts over.
    EXPECT_EQ(blockFetch(false, out), -1);
    EXPECT_EQ(blockFetch(true, out), 0);
    EXPECT_STREQ(out, "eins");
    EXPECT_EQ(blockFetch(false, out), 0);
    EXPECT_STREQ(out, "");
}

TEST_F(Undelete, EachNewCollectionReplacesTheOldOne) {
    // Stores without a restart in between form one collection.
    blockStore("a1");
    blockStore("a2");
    blockStore("a3");
    EXPECT_EQ(fetchAllBlocks(), (std::vector<std::string>{"a1", "a2", "a3"}));

    // The fetch set the restart: the next store empties the buffer first.
    blockStore("b1");
    blockStore("b2");
    EXPECT_EQ(fetchAllBlocks(), (std::vector<std::string>{"b1", "b2"}));

    // A restart keeps the texts readable until the next store.
    blockStore("c1");
    blockRestartSet();
    EXPECT_EQ(fetchAllBlocks(), (std::vector<std::string>{"c1"}));
    blockRestartSet();
    blockStore("d1");
    EXPECT_EQ(fetchAllBlocks(), (std::vector<std::string>{"d1"}));

    // The clipboard transfer sets the restart as well.
    blockStore("e1");
    blockStore("e2");
    EXPECT_EQ(blockToClipboard(), 0);
    blockStore("f1");
    EXPECT_EQ(fetchAllBlocks(), (std::vector<std::string>{"f1"}));
    EXPECT_EQ(blockEndGet(), 3);
}

TEST_F(Undelete, BlockBufferCutsTheLastTextAndThenKeepsNothing) {
    // 199 texts of 249 characters take 49750 bytes; a text of the full line
    // length fills the rest exactly, its NUL in the first spare byte.
    std::vector<std::string> stored;
    for (int i = 0; i < 199; ++i) {
        stored.push_back(numbered(i, 249));
        blockStore(stored.back().c_str());
    }
    EXPECT_EQ(blockEndGet(), 49750);
    stored.push_back(numbered(199, 250, 'y'));
    blockStore(stored.back().c_str());
    EXPECT_EQ(blockEndGet(), ZBRSUP + 1);
    blockStore("verloren");  // a full buffer keeps nothing
    blockStore("");
    EXPECT_EQ(blockEndGet(), ZBRSUP + 1);
    EXPECT_EQ(zbramBytes()[ZBRSUP], '\0');
    EXPECT_EQ(zbramBytes()[ZBRSUP + 1], '\0');
    EXPECT_EQ(fetchAllBlocks(), stored);

    // A text that fits only in part is cut to the room left.
    blockRestartSet();
    for (int i = 0; i < 199; ++i) blockStore(numbered(i, 249).c_str());
    blockStore(numbered(7, 150).c_str());  // 49901 bytes used, 99 left
    blockStore(numbered(8, 200).c_str());
    EXPECT_EQ(blockEndGet(), ZBRSUP + 1);
    std::vector<std::string> texts = fetchAllBlocks();
    ASSERT_EQ(texts.size(), 201u);
    EXPECT_EQ(texts[199], numbered(7, 150));
    EXPECT_EQ(texts[200], numbered(8, 200).substr(0, 99));

    // With the last text's NUL on the last byte of the area, the next store
    // keeps nothing rather than an empty text.
    blockRestartSet();
    for (int i = 0; i < 200; ++i) blockStore(numbered(i, 249).c_str());
    EXPECT_EQ(blockEndGet(), ZBRSUP);
    blockStore("");
    EXPECT_EQ(blockEndGet(), ZBRSUP);
    EXPECT_EQ(fetchAllBlocks().size(), 200u);
}

TEST_F(Undelete, AStoredTextIsAtMostALine) {
    const std::string longText = numbered(1, 5000, 'z');
    blockStore(longText.c_str());
    lineStore(longText.c_str());
    pieceStore(longText.c_str(), 5000);
    EXPECT_EQ(blockEndGet(), UNDELETE_TEXT_MAX + 1);

    char out[UNDELETE_TEXT_MAX + 1];
    const std::string line = longText.substr(0, UNDELETE_TEXT_MAX);
    ASSERT_EQ(blockFetch(true, out), 0);
    EXPECT_EQ(out, line);
    ASSERT_EQ(lineFetch(out, again('E')), 0);
    EXPECT_EQ(out, line);
    ASSERT_EQ(pieceFetch(out, again('U')), 0);
    EXPECT_EQ(out, line);
}

// ---------------------------------------------------------------------------
// The block buffer on the clipboard
// ---------------------------------------------------------------------------

TEST_F(Undelete, ClipboardTextHasALineEndAfterEveryText) {
    blockStore("erste Zeile");
    blockStore("");
    blockStore("  dritte");
    const int blocks = fmalloc_count();
    EXPECT_EQ(blockToClipboard(), 0);
    EXPECT_EQ(clipboardText(), "erste Zeile\r\n\r\n  dritte\r\n");
    EXPECT_EQ(fmalloc_count(), blocks) << "the scratch block is released";
    // The texts are still there to be fetched.
    EXPECT_EQ(fetchAllBlocks(), (std::vector<std::string>{"erste Zeile", "", "  dritte"}));
}

TEST_F(Undelete, ClipboardTextOfAFullBufferIsWholeEvenWhenItDoubles) {
    // 200 texts of 249 characters: 50000 bytes, nothing cut.
    std::string expected;
    for (int i = 0; i < 200; ++i) {
        const std::string t = numbered(i, 249);
        blockStore(t.c_str());
        expected += t + "\r\n";
    }
    ASSERT_EQ(blockEndGet(), ZBRSUP);
    EXPECT_EQ(blockToClipboard(), 0);
    EXPECT_TRUE(sameText(clipboardText(), expected));

    // Empty texts only: every byte of the area becomes two characters.
    blockRestartSet();
    for (int i = 0; i < ZBRSUP; ++i) blockStore("");
    ASSERT_EQ(blockEndGet(), ZBRSUP);
    EXPECT_EQ(blockToClipboard(), 0);
    std::string doubled;
    for (int i = 0; i < ZBRSUP; ++i) doubled += "\r\n";
    EXPECT_TRUE(sameText(clipboardText(), doubled));

    // The largest text of all: empty texts up to the last byte, then one
    // character with its NUL in the spare byte.
    blockRestartSet();
    for (int i = 0; i < ZBRSUP - 1; ++i) blockStore("");
    blockStore("QR");
    ASSERT_EQ(blockEndGet(), ZBRSUP + 1);
    const int blocks = fmalloc_count();
    EXPECT_EQ(blockToClipboard(), 0);
    EXPECT_TRUE(sameText(clipboardText(), doubled.substr(2) + "Q\r\n"));
    EXPECT_EQ(fmalloc_count(), blocks);
}

TEST_F(Undelete, AnEmptyBlockBufferLeavesTheClipboardAlone) {
    clip_put("fremder Text");
    EXPECT_EQ(blockToClipboard(), -1);
    EXPECT_EQ(clipboardText(), "fremder Text");

    // A restart empties the buffer only at the next store: until then the
    // old collection still goes on the clipboard.
    blockStore("alt");
    blockRestartSet();
    EXPECT_EQ(blockToClipboard(), 0);
    EXPECT_EQ(clipboardText(), "alt\r\n");
}

// ---------------------------------------------------------------------------
// The line buffer
// ---------------------------------------------------------------------------

TEST_F(Undelete, LineBufferKeepsTheNewest50000Bytes) {
    // 60000 bytes of deleted lines, 240 texts of 249 characters: the newest
    // 200 fill the buffer exactly.
    std::vector<std::string> stored;
    for (int i = 0; i < 240; ++i) {
        stored.push_back(numbered(i, 249));
        lineStore(stored.back().c_str());
    }
    EXPECT_TRUE(sameText(std::string(zwramBytes(), ZWRSUP), newestFirst(stored, ZWRSUP)));
    EXPECT_EQ(std::string(zwramBytes(), ZWRSUP).substr(0, 4), "239:");
    EXPECT_EQ(std::string(zwramBytes() + ZWRSUP - 250, 4), "40:x");

    // Lengths that do not divide the buffer: the oldest kept text is cut,
    // without a NUL inside the area; the spare bytes stay zero.
    for (int i = 0; i < 300; ++i) {
        stored.push_back(numbered(1000 + i, 37 + (i * 53) % 214));
        lineStore(stored.back().c_str());
    }
    const std::string expected = newestFirst(stored, ZWRSUP);
    ASSERT_NE(expected.back(), '\0') << "the test wants a cut text at the end";
    EXPECT_TRUE(sameText(std::string(zwramBytes(), ZWRSUP), expected));
    EXPECT_EQ(zwramBytes()[ZWRSUP], '\0');
    EXPECT_EQ(zwramBytes()[ZWRSUP + 1], '\0');
}

TEST_F(Undelete, ALineLongerThanTheBufferKeepsItsLineAndTheOlderTexts) {
    lineStore("davor");
    const std::string huge = numbered(5, 60000, 'h');
    lineStore(huge.c_str());
    EXPECT_EQ(std::string(zwramBytes(), 257), huge.substr(0, 250) + std::string("\0davor\0", 7));
}

TEST_F(Undelete, RepeatedCtrlEGoesBackThroughOlderLinesAndStopsAtTheEnd) {
    char out[UNDELETE_TEXT_MAX + 1] = "stale";
    EXPECT_EQ(ctrlE(out), 0) << "the buffer starts with an empty text";
    EXPECT_STREQ(out, "");

    lineStore("eins");
    lineStore("zwei");
    lineStore("drei");
    EXPECT_EQ(std::string(zwramBytes(), 16), std::string("drei\0zwei\0eins\0\0", 16));
    pressCtrl('Y');  // the last deletion
    for (const char* want : {"drei", "zwei", "eins"}) {
        EXPECT_EQ(ctrlE(out), 0);
        EXPECT_STREQ(out, want);
    }
    // Another key in between: the next Ctrl+E starts at the newest again.
    pressDown();
    EXPECT_EQ(ctrlE(out), 0);
    EXPECT_STREQ(out, "drei");
    // A Ctrl key of another letter does the same.
    pressCtrl('Y');
    EXPECT_EQ(ctrlE(out), 0);
    EXPECT_STREQ(out, "drei");

    // Beyond the stored lines the untouched bytes read as empty texts, one
    // byte each, until the end of the buffer, where reading stays.
    for (const char* want : {"zwei", "eins"}) {
        ASSERT_EQ(ctrlE(out), 0);
        EXPECT_STREQ(out, want);
    }
    const int stored = 5 + 5 + 5;  // the three texts with their NULs
    int empties = 0;
    while (ctrlE(out) == 0) {
        ASSERT_STREQ(out, "");
        ASSERT_LE(++empties, ZWRSUP);
    }
    EXPECT_EQ(empties, ZWRSUP - stored);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(ctrlE(out), -1);
    pressDown();
    EXPECT_EQ(ctrlE(out), 0);
    EXPECT_STREQ(out, "drei");
}

TEST_F(Undelete, CtrlEReadsAFullLineBufferToItsCutEnd) {
    // Texts of 120 characters (121 bytes): 50000 = 413 * 121 + 27, so the
    // oldest text kept is cut to 27 characters and has no NUL in the area.
    std::vector<std::string> stored;
    for (int i = 0; i < 500; ++i) {
        stored.push_back(numbered(i, 120));
        lineStore(stored.back().c_str());
    }
    char out[UNDELETE_TEXT_MAX + 1];
    for (int k = 0; k < 413; ++k) {
        ASSERT_EQ(ctrlE(out), 0);
        ASSERT_EQ(out, stored[499 - k]) << k;
    }
    EXPECT_EQ(ctrlE(out), 0);
    EXPECT_EQ(out, stored[499 - 413].substr(0, 27));
    EXPECT_EQ(ctrlE(out), -1);
    EXPECT_STREQ(out, "");

    // A line stored while reading goes on: the reading position moves with
    // the texts it stands on.
    pressDown();
    EXPECT_EQ(ctrlE(out), 0);
    EXPECT_EQ(out, stored[499]);
    pressCtrl('E');
    lineStore("mitten");
    EXPECT_EQ(lineFetch(out, again('E')), 0);
    EXPECT_EQ(out, stored[498]);
}

// ---------------------------------------------------------------------------
// The piece buffer
// ---------------------------------------------------------------------------

TEST_F(Undelete, PieceIsTheTrimmedFirstNCharacters) {
    const std::string empty(CUSUP + 2, '\0');
    pieceStore("abc", 0);  // n = 0: nothing
    pieceStore("abc", -3);
    EXPECT_EQ(std::string(cutxtBytes(), CUSUP + 2), empty);
    char out[UNDELETE_TEXT_MAX + 1] = "stale";
    EXPECT_EQ(pieceFetch(out, again('U')), -1) << "an empty piece buffer";
    EXPECT_STREQ(out, "");

    struct Case {
        const char* text;
        int n;
        const char* piece;
    };
    const Case cases[] = {
        {"abcdef", 3, "abc"},              // the first n characters
        {"  ab  cd  xy", 10, "ab  cd"},    // blanks around removed, inside kept
        {"ab", 6, "ab"},                   // padding beyond the text trims away
        {"     ", 5, " "},                 // only blanks: one blank
        {"", 4, " "},                      // padding only: one blank
        {"x\ty ", 4, "x\ty"},              // only blanks are trimmed
    };
    for (const Case& c : cases) {
        pieceStore(c.text, c.n);
        EXPECT_EQ(pieceFetch(out, again('U')), 0) << c.text;
        EXPECT_STREQ(out, c.piece) << '"' << c.text << "\", " << c.n;
    }
    EXPECT_EQ(std::string(cutxtBytes(), 20), std::string("x\ty\0 \0 \0ab\0ab  cd\0ab", 20));
}

TEST_F(Undelete, PieceBufferLetsTheOldestFallOff) {
    // Five pieces of 249 characters: 1250 bytes into 1000; the oldest is
    // lost, the one before it cut.
    std::vector<std::string> stored;
    for (int i = 0; i < 5; ++i) {
        stored.push_back(numbered(i, 249, 'p'));
        pieceStore(stored.back().c_str(), 249);
    }
    EXPECT_TRUE(sameText(std::string(cutxtBytes(), CUSUP), newestFirst(stored, CUSUP)));
    EXPECT_EQ(cutxtBytes()[CUSUP], '\0');
    EXPECT_EQ(cutxtBytes()[CUSUP + 1], '\0');

    // A store always restarts reading at the newest.
    char out[UNDELETE_TEXT_MAX + 1];
    EXPECT_EQ(pieceFetch(out, again('U')), 0);
    EXPECT_EQ(out, stored[4]);
    pieceStore("neu", 3);
    EXPECT_EQ(pieceFetch(out, again('U')), 0);
    EXPECT_STREQ(out, "neu");
}

TEST_F(Undelete, RepeatedCtrlUGoesBackThroughOlderPiecesAndWraps) {
    pieceStore("eins", 4);
    pieceStore("zwei", 4);
    pieceStore("drei", 4);
    char out[UNDELETE_TEXT_MAX + 1];
    for (const char* want : {"drei", "zwei"}) {
        EXPECT_EQ(ctrlU(out), 0);
        EXPECT_STREQ(out, want);
    }
    // Another key in between: the next Ctrl+U starts at the newest again.
    pressDown();
    for (const char* want : {"drei", "zwei", "eins"}) {
        EXPECT_EQ(ctrlU(out), 0);
        EXPECT_STREQ(out, want);
    }
    // Past the oldest piece of a buffer not yet full: nothing, and it stays so.
    std::strcpy(out, "stale");
    EXPECT_EQ(ctrlU(out), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(ctrlU(out), -1);

    // Pieces that fill the 1000 bytes exactly: after the oldest, reading
    // wraps to the newest.
    for (int i = 0; i < 5; ++i) pieceStore(numbered(i, 199, 'w').c_str(), 199);
    for (int i = 4; i >= 0; --i) {
        ASSERT_EQ(ctrlU(out), 0);
        EXPECT_EQ(out, numbered(i, 199, 'w'));
    }
    EXPECT_EQ(ctrlU(out), 0);
    EXPECT_EQ(out, numbered(4, 199, 'w'));

    // A buffer that ends in a cut piece: 5 * 171 + 145 bytes; the cut piece
    // is read up to the end of the area, then reading wraps.
    for (int i = 0; i < 6; ++i) pieceStore(numbered(i, 170, 'c').c_str(), 170);
    for (int i = 5; i >= 1; --i) {
        ASSERT_EQ(ctrlU(out), 0);
        EXPECT_EQ(out, numbered(i, 170, 'c'));
    }
    EXPECT_EQ(ctrlU(out), 0);
    EXPECT_EQ(out, numbered(0, 170, 'c').substr(0, 145));
    EXPECT_EQ(ctrlU(out), 0);
    EXPECT_EQ(out, numbered(5, 170, 'c'));

    // A store restarts reading even while Ctrl+U repeats.
    pressCtrl('U');
    pieceStore("neu", 3);
    EXPECT_EQ(pieceFetch(out, again('U')), 0);
    EXPECT_STREQ(out, "neu");
}

// ---------------------------------------------------------------------------
// Life cycle
// ---------------------------------------------------------------------------

TEST_F(Undelete, BuffersAreEmptyBeforeCreateAndAfterASecondCreate) {
    blockStore("b");
    lineStore("l");
    pieceStore("p", 1);
    undeleteCreate();  // a second call empties them again
    char out[UNDELETE_TEXT_MAX + 1];
    EXPECT_EQ(blockFetch(true, out), -1);
    EXPECT_EQ(lineFetch(out, again('E')), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(pieceFetch(out, again('U')), -1);

    const int blocks = fmalloc_count();
    undeleteDestroy();
    EXPECT_EQ(fmalloc_count(), blocks - 3);
    EXPECT_EQ(zbramBytes(), nullptr);
    // Without the areas nothing is kept and nothing is read.
    blockStore("b");
    lineStore("l");
    pieceStore("p", 1);
    std::strcpy(out, "stale");
    EXPECT_EQ(blockFetch(true, out), -1);
    EXPECT_STREQ(out, "");
    std::strcpy(out, "stale");
    EXPECT_EQ(lineFetch(out, again('E')), -1);
    EXPECT_STREQ(out, "");
    std::strcpy(out, "stale");
    EXPECT_EQ(pieceFetch(out, again('U')), -1);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(blockToClipboard(), -1);
    EXPECT_FALSE(headless_clipboard_has_text());
}

// ---------------------------------------------------------------------------
// Allocation assertions
// ---------------------------------------------------------------------------

using UndeleteDeathTest = Undelete;

TEST_F(UndeleteDeathTest, FailedAllocationsEndTheProgramNamingTheArea) {
    undeleteDestroy();
    fmalloc_test_fail_after(0);
    EXPECT_DEATH(undeleteCreate(), "ASSERT ERROR\nundelete\\.50\n\\(zbram=fmalloc\\(ZBRSUP\\+2,1\\)\\) != NULL\n");
    fmalloc_test_fail_after(1);
    EXPECT_DEATH(undeleteCreate(), "ASSERT ERROR\nundelete\\.52\n\\(zwram=fmalloc\\(ZWRSUP\\+2,1\\)\\) != NULL\n");
    fmalloc_test_fail_after(2);
    EXPECT_DEATH(undeleteCreate(), "ASSERT ERROR\nundelete\\.54\n\\(cutxt=fmalloc\\(CUSUP\\+2,1\\)\\) != NULL\n");
    fmalloc_test_fail_after(-1);
    undeleteCreate();

    blockStore("Zeile");
    fmalloc_test_fail_after(0);
    EXPECT_DEATH(blockToClipboard(), "ASSERT ERROR\nundelete\\.127\n\\(text=fmalloc\\(ZBRSUP\\+2,1\\)\\) != NULL\n");
}

}  // namespace
