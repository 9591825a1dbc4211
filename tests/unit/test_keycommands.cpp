// The key dispatcher and the key commands beyond what the key model checks.
#include "view/keycommands.h"

#include "key_fixture.h"

#include "framework/messages.h"
#include "textops/block.h"
#include "view/search.h"

namespace {

using L = HeadlessLayout;
using KeyCommands = KeyFixture;

TEST_F(KeyCommands, GermanChordsAreKnownByTheirCharacterAndRunOnce) {
    struct Row { L layout; int vk; int code; };
    static const Row rows[] = {
        // US: the codes; "`" and "'" name no row, so the keys keep the German codes' rows.
        {L::Us, 192, 192}, {L::Us, 222, 222}, {L::Us, 189, 189}, {L::Us, 219, 0}, {L::Us, 220, 0}, {L::Us, 221, 0},
        {L::Us, '7', '7'}, {L::Us, 'Q', 0},
        // German under Wine: the US positions' codes, the German characters.
        {L::GermanUnderWine, 219, 192}, {L::GermanUnderWine, 222, 222}, {L::GermanUnderWine, 189, 27},
        {L::GermanUnderWine, 220, 28}, {L::GermanUnderWine, 221, 29}, {L::GermanUnderWine, 191, 189},
        {L::GermanUnderWine, 188, 188}, {L::GermanUnderWine, 192, 192},  // "^" names none: its code's row
        {L::GermanUnderWine, 186, 0},  // "\xDF"
        // German Windows: the key table's codes, the same rows.
        {L::GermanWindows, 192, 192}, {L::GermanWindows, 222, 222}, {L::GermanWindows, 186, 27},
        {L::GermanWindows, 191, 28}, {L::GermanWindows, 187, 29}, {L::GermanWindows, 189, 189},
        {L::GermanWindows, 107, 0}, {L::GermanWindows, 109, 0},  // the numeric pad's "+" and "-" are not them
    };
    for (const Row& r : rows) {
        headless_keyboard_layout(r.layout);
        EXPECT_EQ(ctrlChordCode(r.vk), r.code) << "layout " << static_cast<int>(r.layout) << " vk " << r.vk;
    }
    // A key-down with Ctrl, the character message the layout sends after it
    // (0: none, 2 of them: typed twice), the document after it and the commands posted.
    struct Chord { L layout; int vk; int ch, times; const char* doc; std::vector<int> posted; };
    const Chord chords[] = {
        {L::GermanWindows, 187, 29, 1, "[]", {}},
        {L::Us, 221, 29, 1, "[]", {}},  // the key names nothing: the character runs
        {L::GermanWindows, 191, 28, 1, "{\n\n}", {}},
        {L::GermanUnderWine, 219, 0xF6, 1, "/*  */", {}},  // Ctrl+\xD6 brings the plain letter
        {L::GermanWindows, 186, 27, 1, "", {1200}},
        {L::GermanUnderWine, 189, 0xFC, 1, "", {1200}},  // the search list, not the adder
        {L::GermanWindows, 187, 29, 2, "[[]]", {}},  // only the character right after its key-down is its echo
    };
    for (const Chord& c : chords) {
        SCOPED_TRACE(::testing::Message() << "layout " << static_cast<int>(c.layout) << " vk " << c.vk);
        load({""});
        headless_reset();
        headless_keyboard_layout(c.layout);
        keyDown(c.vk, false, true, false);
        for (int i = 0; c.ch && i < c.times; ++i) keyChar(c.ch, false, true, false);
        EXPECT_EQ(text(), c.doc);
        EXPECT_EQ(posted(), c.posted);
    }
}

TEST_F(KeyCommands, EachKeyOnItsEdges) {
    static const std::string x249 = std::string(249, 'x');
    const KeyRow rows[] = {
        {"abc", 8, 0, "{C-Tab}", "abc", 16, 0},  // Ctrl+Tab acts as Tab, Ctrl+Shift+Tab as Shift+Tab
        {"abc", 16, 0, "{S-C-Tab}", "abc", 8, 0},
        {"foo barbaz qux", 0, 0, "{C-Right*5}", "foo barbaz qux", 24, 0},  // then acts as Tab
        {"\tfoo\n    y", 0, 0, "{S-Ret}", "\tfoo\n\n    y", 0, 1},  // the opened line counts only blanks
        {"a\nb\nc", 0, 0, "{S-C-Ret}{C-Down*3}{Ret}", "a\nb\nc", 0, 1},  // three view moves end "Zeile"
        {"abcdef", 3, 0, "^Z{Right*245}^U", "abc", 248, 0},  // a text the line cannot take whole: refused
        {std::string(239, 'L') + "\n  0123456789", 0, 0, "^A", std::string(239, 'L') + " 0123456789", -1, 0},
        {"      a\n      b\n  c\nd", 0, 0, "^L^L^L^L", "a\nb\nc\nd", -1, 4},  // the first width, only blanks
        {"    a\nx\ny\n        b", 0, 0, "^L{Down*2}^L", "a\nx\ny\nb", -1, 4},  // computed afresh
        {" x\n   y", 0, 0, "{Left}^L^L", "x\n y", -1, 2},  // fewer blanks than a step
        {x249 + "Z", 0, 0, "{C- }", " " + x249, 0, 0},  // column 249 falls off
        {"", 0, 0, "^0{End}{C-Oe}{C-Ae}{C-+}", "'\\0' /* \"[]\" */", 10, 0},  // the cursor inside
        {"x = f(a, g[b\nif ( a", 2, 0, "^9", "x = f(a, g[b])\nif ( a", 15, 0},  // after the blank
        {"x = f(a, g[b\nif ( a", 0, 1, "^9", "x = f(a, g[b\nif ( a )", 9, 1},
        {std::string(248, 'x') + "(", 0, 0, "^9", std::string(248, 'x') + "(", -1, 0},  // only what fits
        {"((((((((((((a)))", 16, 0, "^9", "((((((((((((a))))))))))))", 26, 0},  // ten brackets kept
        {"\xFF\na", 0, 0, "^2", "\xFF\na", 0, 0},  // 255 has no successor: nothing at all
        {std::string(240, 'L') + "\n   twenty characters", 0, 0, "^A", std::string(240, 'L') + "\n   twenty characters",
         -1, 0},  // a join past column 249 is refused, told last
    };
    playRows(rows);
    EXPECT_EQ(boxes(), 1);  // the refused join told
    EXPECT_NE(box().find("250"), std::string::npos);
    const KeyRow indent[] = {
        {"    a\n    b", 6, 0, "{Ret}", "    a\n    b", 0, 1},  // without "Auto-Indent" to column 0
        {"a\nb\nc\nd\ne", 0, 0, "^R^R", "  a\n  b\nc\nd\ne", -1, 2},
    };
    playRows(indent, [] {
        windowRows = 4;
        autoIndent = 0;
    });
    EXPECT_EQ(topLine, 1);  // the view scrolls in the last three rows
    headless_reset();
    keys("^S{C-Period}^F");  // post their commands
    EXPECT_EQ(posted(), (std::vector<int>{1003, 1300, CMD_SEARCH}));
    load({""});
    keys("^1");  // the date
    ASSERT_EQ(row(0).size(), 10u);
    EXPECT_EQ(row(0).substr(2, 1) + row(0).substr(5, 1), "..");
    EXPECT_EQ(col(), 10);
}

// A command that would grow the document past a full store is refused as a
// whole with one box and changes nothing, at the exact byte where it no longer
// fits (growth 0: only in a store without a byte to spare); shrinking and
// moving always work.
TEST_F(KeyCommands, GrowingCommandsMeetingAFullStoreAreRefusedWithOneBox) {
    // The keys, or a menu command after them, or a call; the clipboard for Ctrl+V.
    struct Row {
        const char* name;
        long growth;
        const char* keys;
        int command = 0;
        void (*act)() = nullptr;
        Lines lines = {"abc(de", "12 fg"};
        std::vector<int> marked = {};
        const char* clipboard = "untouched";
    };
    const Lines sixty = numbered(0, 60);
    const Row rows[] = {
        {"Ctrl+N", 5, "^N"}, {"Ctrl+E", 0, "^E"}, {"Enter past the end", 0, "{Down*19}{Ret}"},
        {"Shift+Enter", 0, "{S-Ret}"}, {"Ctrl+Enter", 0, "{Right*3}{C-Ret}"}, {"Ctrl+B", 0, "^B"},
        {"Ctrl+U", 0, "^U"}, {"Ctrl+#", 0, "{C-#}"}, {"Ctrl++", 0, "{C-+}"}, {"Ctrl+Space", 0, "{C- }"},
        {"Ctrl+R", 0, "^R"}, {"Ctrl+0", 0, "^0"}, {"Ctrl+9", 0, "^9"}, {"Ctrl+2", 0, "^2"},
        {"Ctrl+\xD6", 0, "{C-Oe}"}, {"typing", 0, "q"}, {"Ctrl+V typed", 0, "^V"},
        {"Ctrl+V lines", 0, "^V", 0, nullptr, {"abc(de", "12 fg"}, {}, "l1\r\nl2\r\n"},
        // The two marked lines pack into 6 + 5 and 7 + 5 bytes.
        {"Kopieren", 23, "", CMD_BLOCK_COPY, nullptr, sixty, {5, 50}},
        {"Verschieben", 23, "", CMD_BLOCK_MOVE, nullptr, sixty, {5, 50}},
        {"Ctrl+B with a block", 23, "^B", 0, nullptr, sixty, {5, 50}},
        // "if(a)" grows by 3 before the next line shrinks by 20: measured at its peak.
        {"Leertasten", 3, "", CMD_CONVERT_BLANKS, nullptr, sixty + Lines{"if(a)", "x;" + std::string(21, ' ') + "y;"}},
        // The marked lines grow by 2, 1 and 1 bytes.
        {"Im Block tauschen", 4, "", 0, [] {
             std::strcpy(searchText, "a");
             std::strcpy(replaceText, "aa");
             replaceEnabled = 1;
             block_replace();
         }, Lines{"a-a", "kept a", "b a", "--a--"}, {0, 2, 3}},
        {"F11", 3, "{Right*4}", CMD_REPLACE_AT_CURSOR, [] {
             std::strcpy(searchText, "ab");
             std::strcpy(replaceText, "abcde");
             replaceEnabled = 1;
         }, Lines{"one ab two", "more"}},
    };
    for (const Row& r : rows) {
        for (long spare = r.growth > 0 ? r.growth - 1 : 0; spare <= r.growth; ++spare) {
            SCOPED_TRACE(std::string(r.name) + " with room for " + std::to_string(spare));
            const bool refused = spare < r.growth || r.growth == 0;
            lineInsertMode = 0;
            searchReset();
            load(r.lines);
            for (int l : r.marked) mark({l});
            const bool longDocument = r.lines.size() > 30;
            place(longDocument ? 30 : 0, longDocument ? 10 : 0);
            fillStoreLeaving(spare);  // lines before the window: marks and rules leave them alone
            const auto state = [] { return std::make_tuple(doc(), marks(), topLine, storeFreeBytes()); };
            const auto before = state();
            headless_reset();
            blockRestartSet();
            blockStore("kept");
            lineStore("restored line");
            pieceStore("piece", 5);
            clip_put(r.clipboard);
            modified = 0;
            if (r.act) r.act();
            keys(r.keys);
            if (r.command) menu(r.command);
            EXPECT_EQ(std::make_tuple(boxes(), box(), modified, keyDepth),
                      std::make_tuple(refused ? 1 : 0, std::string(refused ? storeFullText : ""), refused ? 0 : 1, 0));
            EXPECT_TRUE(storeSound());
            EXPECT_GE(storeSlack(), 0);  // every later flush still fits
            if (refused) {
                EXPECT_EQ(state(), before);
            }
            if (refused && !r.marked.empty()) {
                EXPECT_EQ(clip(), "untouched");
                char text[UNDELETE_TEXT_MAX + 1];
                ASSERT_EQ(blockFetch(true, text), 0);
                EXPECT_STREQ(text, "kept");
            }
        }
    }
    load({"abc", "def"});
    fillStoreLeaving(0);
    keys("{Ins}A{Del}{Ins}");  // typing over and deleting never grow
    EXPECT_EQ(row(0) + row(1), "Acdef");
    keys("^Y{Right}^Y{C-PgUp}{C-PgDn}");
    EXPECT_EQ(boxes(), 0);
    EXPECT_TRUE(storeSound());
}

}  // namespace
