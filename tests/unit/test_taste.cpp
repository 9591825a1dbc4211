// Tests of the key dispatcher: which command a key runs (the German chords
// known by their characters, a chord run once), what is refused or left
// unrecorded, and thousands of random keys against the store's invariants.
// What the commands do is tested in test_keycommands.cpp.
#include "view/taste.h"

#include <gtest/gtest.h>

#include "key_fixture.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "document/linestore.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "view/recorder.h"

namespace {

class Taste : public KeyFixture {};

TEST_F(Taste, GermanKeysAreKnownByTheirCharacterFirst) {
    using L = HeadlessLayout;
    struct Row { L layout; int vk; int code; };
    static const Row rows[] = {
        // US: the codes; "`" and "'" name no row, so the keys keep the German codes' rows.
        {L::Us, 192, 192}, {L::Us, 222, 222}, {L::Us, 189, 189}, {L::Us, 188, 188}, {L::Us, 190, 190},
        {L::Us, 219, 0}, {L::Us, 220, 0}, {L::Us, 221, 0}, {L::Us, '7', '7'}, {L::Us, 'Q', 0},
        // German under Wine: the US positions' codes, the German characters.
        {L::GermanUnderWine, 219, 192}, {L::GermanUnderWine, 222, 222}, {L::GermanUnderWine, 189, 27},
        {L::GermanUnderWine, 220, 28}, {L::GermanUnderWine, 221, 29}, {L::GermanUnderWine, 191, 189},
        {L::GermanUnderWine, 188, 188}, {L::GermanUnderWine, 190, 190},
        {L::GermanUnderWine, 192, 192},  // "^" names none: its code's row
        {L::GermanUnderWine, 186, 0},    // "\xDF"
        // German Windows: the key table's codes, the same rows.
        {L::GermanWindows, 192, 192}, {L::GermanWindows, 222, 222}, {L::GermanWindows, 186, 27},
        {L::GermanWindows, 191, 28}, {L::GermanWindows, 187, 29}, {L::GermanWindows, 189, 189},
        // The numeric pad's "+" and "-" are not the German keys.
        {L::GermanWindows, 107, 0}, {L::GermanWindows, 109, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "layout " << static_cast<int>(r.layout) << " vk " << r.vk);
        headless_keyboard_layout(r.layout);
        EXPECT_EQ(ctrlChordCode(r.vk), r.code);
    }
}

TEST_F(Taste, AGermanChordRunsOnceWhenItsCtrlCharacterFollows) {
    using L = HeadlessLayout;
    // A key-down with Ctrl, the character message the layout sends after it
    // (0: none), the document after it (lines joined by "|") and the commands posted.
    struct Row { L layout; int vk; int ch; const char* doc; std::vector<int> posted; };
    const Row rows[] = {
        {L::GermanWindows, 187, 29, "[]", {}},
        {L::Us, 221, 29, "[]", {}},  // the key names nothing: the character runs
        {L::GermanWindows, 191, 28, "{||}", {}},
        {L::GermanUnderWine, 219, 0xF6, "/*  */", {}},  // Ctrl+\xD6 brings the plain letter
        {L::GermanWindows, 186, 27, "", {1200}},
        {L::GermanUnderWine, 189, 0xFC, "", {1200}},  // the search list, not the adder
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "layout " << static_cast<int>(r.layout) << " vk " << r.vk);
        load({""});
        headless_reset();
        headless_keyboard_layout(r.layout);
        key(r.vk, false, true);
        if (r.ch != 0) ctrlChar(r.ch);
        std::string joined;
        const Lines lines = doc();
        for (std::size_t i = 0; i < lines.size(); ++i) joined += (i ? "|" : "") + lines[i];
        EXPECT_EQ(joined, r.doc);
        std::vector<int> posted;
        for (const auto& c : headless_posted_commands()) posted.push_back(c.id);
        EXPECT_EQ(posted, r.posted);
    }
    // Only the character right after its key-down is taken as its echo.
    headless_keyboard_layout(L::GermanWindows);
    load({""});
    key(187, false, true);
    ctrlChar(29);
    ctrlChar(29);
    EXPECT_EQ(row(0), "[[]]");
}

TEST_F(Taste, CtrlLetterWithShiftOrAltDoesNothing) {
    load({"abc"});
    const int refreshes = headless_record().caretRefreshes;
    keyDown('N', true, true, false);
    keyDown('N', false, true, true);
    keyDown('Y', true, true, false);
    EXPECT_EQ(doc(), (Lines{"abc"}));
    EXPECT_EQ(lastKey().code, 0);  // not recorded
    EXPECT_EQ(headless_record().caretRefreshes, refreshes);  // nor refreshed

    // Characters: AltGr types, other Ctrl characters do nothing.
    keyChar('@', false, true, true);
    keyChar(14, false, true, false);  // Ctrl+N's character
    keyChar(13, false, false, false);
    keyChar(9, false, false, false);
    EXPECT_EQ(row(0), "@abc");
    keyChar('x', true, true, false);  // Ctrl+Shift+character: recorded, nothing typed yet
    EXPECT_EQ(row(0), "@abc");
    EXPECT_EQ(lastKey().code, 'x');
}

// ---------------------------------------------------------------- random keys against the invariants

// A key the random test presses.
struct RandomKey {
    int kind;  // 0 keyDown, 1 keyChar
    int code;
    bool shift, ctrl;
    bool moves;  // a pure movement key: the text stays the same
};

const RandomKey kRandomKeys[] = {
    {0, vk::kLeft, false, false, true},    {0, vk::kRight, false, false, true},
    {0, vk::kUp, false, false, true},      {0, vk::kDown, false, false, true},
    {0, vk::kLeft, false, true, true},     {0, vk::kRight, false, true, true},
    {0, vk::kUp, false, true, true},       {0, vk::kDown, false, true, true},
    {0, vk::kUp, true, false, true},       {0, vk::kDown, true, false, true},
    {0, vk::kPrior, false, false, true},   {0, vk::kNext, false, false, true},
    {0, vk::kPrior, false, true, true},    {0, vk::kNext, false, true, true},
    {0, vk::kHome, false, false, true},    {0, vk::kHome, false, true, true},
    {0, vk::kEnd, false, false, true},     {0, vk::kTab, false, false, true},
    {0, vk::kTab, true, false, true},      {0, 'H', false, true, true},
    {0, 'J', false, true, true},           {0, vk::kRight, true, false, true},
    {0, vk::kReturn, false, false, false}, {0, vk::kReturn, true, false, false},
    {0, vk::kReturn, true, true, false},   {0, vk::kReturn, false, true, false},
    {0, vk::kBack, false, false, false},   {0, vk::kBack, false, true, false},
    {0, vk::kDelete, false, false, false}, {0, vk::kDelete, false, true, false},
    {0, vk::kInsert, false, false, false}, {0, vk::kInsert, true, false, false},
    {0, vk::kInsert, false, true, false},  {0, 'A', false, true, false},
    {0, 'B', false, true, false},          {0, 'E', false, true, false},
    {0, 'G', false, true, false},          {0, 'K', false, true, false},
    {0, 'L', false, true, false},          {0, 'N', false, true, false},
    {0, 'Q', false, true, false},          {0, 'R', false, true, false},
    {0, 'U', false, true, false},          {0, 'V', false, true, false},
    {0, 'X', false, true, false},          {0, 'Y', false, true, false},
    {0, 'Z', false, true, false},          {0, '0', false, true, false},
    {0, '2', false, true, false},          {0, '9', false, true, false},
    {0, vk::kOe, false, true, false},      {0, vk::kAe, false, true, false},
    {1, 28, false, true, false},           {1, 29, false, true, false},
    {1, 32, false, true, false},           {1, 'a', false, false, false},
    {1, ' ', false, false, false},         {1, '{', false, false, false},
    {1, '(', false, false, false},         {1, 0xFF, false, false, false},
    {1, 'w', false, false, false},         {1, 'w', false, false, false},
};

class TasteRandom : public Taste {
  protected:
    // A hash of what doc() gives, without building it: blank lines count only
    // once a line with text follows them.
    struct DocHash {
        std::uint64_t hash = 1469598103934665603ull;
        long pendingBlanks = 0;
        void add(const char* text) {
            std::size_t n = std::strlen(text);
            while (n > 0 && text[n - 1] == ' ') --n;
            if (n == 0) {
                ++pendingBlanks;
                return;
            }
            for (; pendingBlanks > 0; --pendingBlanks) mix('\n');
            for (std::size_t i = 0; i < n; ++i) mix(static_cast<unsigned char>(text[i]));
            mix('\n');
        }
        void mix(unsigned char c) { hash = (hash ^ c) * 1099511628211ull; }
    };
    static std::uint64_t docHash() {
        DocHash h;
        auto add = [](LineRecord* line, void* user) {
            static_cast<DocHash*>(user)->add(line->text);
            return 1;
        };
        visitAbove(add, &h);
        for (int r = 0; r < windowRows; ++r) h.add(row(r).c_str());
        visitBelow(add, &h);
        return h.hash;
    }

    // Every flush of the window rows into the stacks still fits: the free
    // space is more than all window rows packed.
    static bool windowRowsFit() {
        std::uint32_t need = 0;
        for (int r = 0; r < windowRows; ++r) need += static_cast<std::uint32_t>(row(r).size() + 5);
        return storeFreeBytes() > need;
    }

    // Presses `count` random keys from a seeded generator and checks the
    // invariants after every one of them.
    void run(unsigned seed, int count) {
        std::mt19937 rng(seed);
        const char* const clips[] = {"short", "two\r\nlines\r\n", "tab\there", "",
                                     "a b c d e f g h i j k l m n o p q r s t u v w x y z a b c d e f g h "
                                     "i j k l m n o p q r s t u v w x y z a b c d e f g h i j k l m n o p "
                                     "q r s t u v w x y z a b c d e f g h i j k l m n o p q r s t u v w x"};
        constexpr int kKeys = sizeof kRandomKeys / sizeof kRandomKeys[0];
        for (int i = 0; i < count; ++i) {
            SCOPED_TRACE("seed " + std::to_string(seed) + " key " + std::to_string(i));
            const int pick = static_cast<int>(rng() % (kKeys + 6));
            if (pick >= kKeys) {
                // Now and then an option, the clipboard or the block buffer changes.
                switch (pick - kKeys) {
                    case 0: columnKeep = !columnKeep; break;
                    case 1: autoIndent = !autoIndent; break;
                    case 2: pasteWrap = !pasteWrap; break;
                    case 3: clip_put(clips[rng() % 5]); break;
                    case 4: blockRestartSet(); blockStore("block line"); blockStore("  second"); break;
                    default: indentStep = 2 + static_cast<int>(rng() % 7); break;
                }
                continue;
            }
            const RandomKey& k = kRandomKeys[pick];
            const std::uint64_t before = docHash();
            const int boxesBefore = boxes();
            if (k.kind == 0) {
                keyDown(k.code, k.shift, k.ctrl, false);
            } else {
                keyChar(k.code, k.shift, k.ctrl, false);
            }
            ASSERT_TRUE(storeSound());
            ASSERT_EQ(keyDepth, 0);
            ASSERT_GE(cursorRow, 0);
            ASSERT_LT(cursorRow, windowRows);
            ASSERT_GE(cursorCol, 0);
            ASSERT_LT(cursorCol, windowCols);
            ASSERT_GE(firstCol, 0);
            ASSERT_LT(firstCol + cursorCol, kLineChars);
            ASSERT_TRUE(windowRowsFit()) << "the window rows no longer fit the store";
            ASSERT_EQ(headless_record().openContexts, 0);
            ASSERT_EQ(headless_record().nestedContexts, 0);
            for (int r = 0; r < windowRows; ++r) {
                LineRecord raw;
                rowGetRaw(r, &raw);
                ASSERT_EQ(std::strlen(raw.text), 250u) << "row " << r;
            }
            if (k.moves) {
                ASSERT_EQ(docHash(), before) << "a movement key changed the text";
            }
            if (boxes() != boxesBefore) {
                ASSERT_EQ(docHash(), before) << "a refused key changed the text";
            }
        }
    }
};

TEST_F(TasteRandom, RandomKeysKeepTheStoreAndTheCursorSound) {
    windowRows = 7;
    windowCols = 40;
    Lines lines;
    for (int i = 0; i < 60; ++i) lines.push_back(std::string(static_cast<std::size_t>(i % 9), ' ') + "text " + std::to_string(i) + " (x, y[z])");
    for (unsigned seed = 1; seed <= 3; ++seed) {
        load(lines);
        windowRows = 7;
        run(seed, 2000);
        if (HasFatalFailure()) return;
    }
}

TEST_F(TasteRandom, RandomKeysInANearlyFullStoreLoseNothing) {
    windowRows = 12;
    windowCols = 60;
    load({"first line (a, b", "    indented {", "", "last"});
    fillStoreLeaving(300);
    run(7, 3000);
    EXPECT_GT(boxes(), 0);  // the store did fill up on the way
}

}  // namespace
