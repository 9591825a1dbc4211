// The in-line mark, the mouse and the context menus on a document in the line store; random keys and mouse.
#include "view/marking.h"

#include "file_bytes.h"
#include "key_fixture.h"

#include <random>

#include "framework/messages.h"

namespace {

constexpr int kCell = 8;  // the cell width the fixture gives the view

class Marking : public KeyFixture {
  protected:
    // The lines that carry mark columns (document lines).
    struct MarkedLine { int line, from, to; };
    static std::vector<MarkedLine> markedLines() {
        std::vector<MarkedLine> found;
        eachDocumentLine([&found](LineRecord* l, int i) {
            if (l->markFrom != l->markTo) found.push_back({i, l->markFrom, l->markTo});
        });
        return found;
    }
    // The same as "line:from-to", after "-" when no mark is active.
    static std::string marked() {
        std::string out = markActiveGet() ? "" : "-";
        for (const MarkedLine& m : markedLines()) {
            out += (out.empty() || out == "-" ? "" : " ") + std::to_string(m.line) + ":" + std::to_string(m.from) +
                   "-" + std::to_string(m.to);
        }
        return out;
    }
    // Trailing blanks never reach the stacks.
    static bool stacksTrimmed() {
        bool trimmed = true;
        auto look = [](LineRecord* line, void* user) {
            const std::size_t n = std::strlen(line->text);
            if (n > 0 && line->text[n - 1] == ' ') *static_cast<bool*>(user) = false;
            return 1;
        };
        visitAbove(look, &trimmed);
        visitBelow(look, &trimmed);
        return trimmed;
    }
};

// Ctrl+Q puts back the line's text, never a mark that has ended since (found by the key fuzzing). Typing over,
// copying and cutting a mark: the end-to-end session, with the real keys.
TEST_F(Marking, CtrlQPutsBackTheTextNeverAMarkThatHasEnded) {
    loadText("abcdefghij\nABCDEFGHIJ");
    clip_put("before");
    keys("{S-Right*3}{S-Down}{Up}^Q");
    EXPECT_EQ(std::make_tuple(text(), col(), line(), marked(), clip()),
              std::make_tuple(std::string("abcdefghij\nABCDEFGHIJ"), 3, 0, std::string("-"), std::string("before")));
    EXPECT_TRUE(stacksTrimmed());
}

// Every command that inserts or removes lines (or rewrites them all) leaves
// no stale mark: the mark's line numbers would no longer match the lines that
// carry its columns. And Ctrl+Q right after it never puts an older line back
// over lines that changed around it; after a command that changed only the
// cursor line's text, it undoes that text.
TEST_F(Marking, CommandsThatInsertOrRemoveLinesClearTheMarkAndKeepCtrlQSafe) {
    const std::filesystem::path dir = freshTempDir("y8_marking_");
    const std::string inserted = (dir / "insert.txt").string();
    writeBytes(inserted, "from file\r\n");
    // The keys, or a menu command; the clipboard, the undelete buffers and the
    // file box hold something to insert.
    struct Row {
        const char* name;
        std::vector<int> block;  // block-marked lines
        const char* keys;
        int command = 0;
        bool linesChange = true;  // else only the cursor line's text changed
    };
    const Row rows[] = {
        {"Kopieren 1503", {1, 2}, "", CMD_BLOCK_COPY}, {"Verschieben 1504", {1, 2}, "", CMD_BLOCK_MOVE},
        {"Loeschen 1505", {1, 2}, "", CMD_BLOCK_DELETE},
        {"Loeschen 1505 of the marked line", {4}, "", CMD_BLOCK_DELETE},
        {"Detab 1130", {}, "", CMD_CONVERT_DETAB}, {"Tab expandieren 1510", {}, "", CMD_TAB_EXPAND},
        {"HTML optimieren 1515", {}, "", CMD_HTML_OPTIMISE}, {"Einfuegen 1111", {}, "", CMD_PASTE},
        {"Datei einfuegen 1002", {}, "", CMD_FILE_INSERT}, {"Strich 1420", {}, "", CMD_STRICH_TOP},
        {"Ctrl+V", {}, "^V"}, {"Ctrl+Y", {}, "^Y"}, {"Ctrl+E", {}, "^E"}, {"Ctrl+N", {}, "^N"}, {"Ctrl+A", {}, "^A"},
        {"Ctrl+B with a block", {1, 2}, "^B"}, {"Ctrl+B without a block", {}, "^B"}, {"Ctrl+#", {}, "{C-#}"},
        {"Ctrl+Enter", {}, "{C-Ret}"}, {"Shift+Enter", {}, "{S-Ret}"}, {"Ctrl+Z", {}, "^Z", 0, false},
        {"Ctrl+U", {}, "^U", 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Lines lines = numbered(0, 8);
        lines[2] = "a\tb";  // a tab for the conversions
        lines[6] = "";      // a blank line for "HTML optimieren" to remove
        load(lines);
        markReset();
        undeleteCreate();
        lineInsertMode = 0;
        for (int l : r.block) markDocumentLines({l});
        at(0, 4);
        refreshAll();
        keys("{S-Right*5}");  // "line " of line 4 marked, the cursor behind it
        const Lines before = doc();
        clip_put("new 1\r\nnew 2\r\n");
        lineStore("restored");
        pieceStore("piece", 5);
        blockStore("kept");
        if (r.command == CMD_FILE_INSERT) headless_file_answer(inserted.c_str());
        keys(r.keys);
        if (r.command) menu(r.command);
        EXPECT_EQ(marked(), "-");
        // Ctrl+Q undoes what was typed since; over changed lines it never goes further back.
        const Lines after = doc();
        keys("!^Q");
        EXPECT_EQ(doc(), r.linesChange ? after : before);
        // A new mark copies only itself.
        at(0, cursorRow);
        keys("{S-Right}^C");
        EXPECT_EQ(clip().size(), 1u);
    }
    std::filesystem::remove_all(dir);
}

TEST_F(Marking, MovingAwayFromTheMarkEndsItAndLosesNoText) {
    load(numbered(0, 100));
    at(0, 2);
    keys("{S-Right*4}");
    // The scroll bar's page down is a nested key: no marking update; typing
    // on another line clears the mark and deletes nothing.
    scrollCommand(scroll_request::kPageDown, 0);
    ASSERT_NE(line(), 2);
    const std::string before = row(cursorRow);
    keys("Z");
    EXPECT_EQ(row(cursorRow), before.substr(0, 4) + "Z" + before.substr(4));
    EXPECT_EQ(doc()[2], "line 2");
    EXPECT_EQ(marked(), "-");
}

TEST_F(Marking, CopyAndCutAreBoundedByTheBlock) {
    // n lines of w marked columns give n * (w + 2) characters: 29999 fit, 30000 do not.
    struct Row { int lines, width; bool fits; const char* keys; };
    const Row rows[] = {{131, 227, true, "^C"}, {131, 227, true, "^X"}, {125, 238, false, "^C"},
                        {125, 238, false, "^X"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.lines * (r.width + 2)) + r.keys);
        headless_reset();
        Lines lines;
        for (int i = 0; i < r.lines; ++i) lines.push_back(std::string(250, static_cast<char>('a' + i % 26)));
        load(lines);
        markReset();
        clip_put("before");
        modified = 0;
        windowCols = 250;
        keys("{S-Right*" + std::to_string(r.width) + "}{S-Down*" + std::to_string(r.lines - 1) + "}" + r.keys);
        EXPECT_EQ(std::make_tuple(box(), clip().size(), modified),
                  std::make_tuple(std::string(r.fits ? "" : markTooLargeText), r.fits ? 29999u : 6u,
                                  r.fits && r.keys[1] == 'X' ? 1 : 0));
        if (!r.fits) {
            EXPECT_EQ(doc(), lines);
            EXPECT_EQ(markLineCount(), r.lines);
        }
        markClear();
    }
}

// Without a mark the Applications key opens "RMMENUOHNE" at the cursor; the right button on a mark, Escape
// and "Kopieren" chosen from "RMMENUMARK": the end-to-end session, with the real pointer and keys.
TEST_F(Marking, ContextMenuFollowsTheMarkAndPostsTheChoice) {
    load({"some text here"});
    at(3, 2);
    keys("{Apps}");
    ASSERT_EQ(headless_context_menus().size(), 1u);
    EXPECT_EQ(headless_context_menus()[0].menu, "RMMENUOHNE");
    EXPECT_EQ(headless_context_menus()[0].x, 4 * kCell + 4);  // the cell right of the cursor
    EXPECT_TRUE(headless_posted_commands().empty());  // dismissed
}

// Seeded random keys on documents and in a nearly full store, then marking keys and the mouse: the store
// stays sound with no trailing blank on its stacks, only the lines the mark's state names carry its
// columns, and a movement, a mouse action or a refused key keeps the text.
TEST_F(Marking, RandomKeysAndMouseKeepTheStoreSoundAndTheMarkTrueAndLoseNoText) {
    std::vector<ScriptKey> keyList[2];  // the movements, the edits
    const char* scripts[2] = {"{Left}{Right}{Up}{Down}{C-Left}{C-Right}{C-Up}{C-Down}{S-Up}{S-Down}{PgUp}{PgDn}"
                              "{C-PgUp}{C-PgDn}{Home}{C-Home}{End}{Tab}{S-Tab}^H^J{S-Right}",
                              "{Ret}{S-Ret}{S-C-Ret}{C-Ret}{Back}{C-Back}{Del}{C-Del}{Ins}{S-Ins}{C-Ins}^A^B^E^G"
                              "^K^L^N^Q^R^U^V^X^Y^Z^0^2^9{C-Oe}{C-Ae}{C-#}{C-+}{C- }a {{}(\xFFww"};
    ScriptKey k;
    int times;
    for (int i = 0; i < 2; ++i)
        while (scriptKey(scripts[i], &k, &times)) keyList[i].push_back(k);
    static const char* const marking[] = {"{S-Right}", "{S-Left}", "{S-Down}", "{S-Up}", "{Right}", "{PgDn}", "^C",
                                          "^M", "{Back}", "{S-Del}", "{Del}", "^X", "q"};  // from {Back} on: edits
    const std::string wide(90, 'w');
    const char* const clips[] = {"short", "two\r\nlines\r\n", "", wide.c_str()};
    Lines lines[2];
    for (int i = 0; i < 60; ++i)
        lines[0].push_back(std::string(static_cast<std::size_t>(i % 9), ' ') + "x(" + std::to_string(i));
    for (int i = 0; i < 50; ++i)
        lines[1].push_back(std::string(static_cast<std::size_t>(i % 7), ' ') + "row " + std::to_string(i) + " abc");
    std::mt19937 rng(1);
    for (int run = 0; run < 5 && !HasFatalFailure(); ++run) {
        const bool marks = run == 4;
        windowRows = run < 3 ? 7 : marks ? 8 : 12;
        windowCols = run == 3 ? 60 : 40;
        load(run < 3 ? lines[0] : marks ? lines[1] : Lines{"first line (a, b", "    indented {", "", "last"});
        if (run == 3) fillStoreLeaving(300);
        if (marks) {  // the editor's state as a start leaves it
            undeleteDestroy();
            editorStateReset();
            rng.seed(5);
        }
        for (int i = 0; i < (marks ? 3000 : 2000); ++i) {
            SCOPED_TRACE("run " + std::to_string(run) + " action " + std::to_string(i));
            const Lines before = doc();
            const int boxesBefore = boxes();
            const int pick = static_cast<int>(rng() % (marks ? 17 : 60));
            bool keeps = marks ? pick < 8 || pick > 12 : pick % 2 == 0;
            if (marks) {
                const int x = static_cast<int>(rng() % 400), y = static_cast<int>(rng() % 200);
                switch (pick) {
                    case 13: mouseLeftDown(x, y, rng() % 2); break;
                    case 14: mouseMove(x, y, true); break;
                    case 15: mouseLeftUp(); break;
                    case 16: mouseWheel(static_cast<int>(rng() % 5) * 120 - 240, rng() % 2); break;
                    default: keys(marking[pick]);
                }
            } else {
                switch (pick) {  // now and then an option, the clipboard or the block buffer changes
                    case 0: columnKeep = !columnKeep; continue;
                    case 1: autoIndent = !autoIndent; continue;
                    case 2: pasteWrap = !pasteWrap; continue;
                    case 3: clip_put(clips[rng() % 4]); continue;
                    case 4: blockRestartSet(); blockStore("block line"); continue;
                    default: pressKey(keyList[keeps ? 0 : 1][rng() % keyList[keeps ? 0 : 1].size()]);
                }
            }
            ASSERT_TRUE(storeSound() && stacksTrimmed() && headless_record().openContexts == 0);
            ASSERT_TRUE(cursorRow < windowRows && cursorCol < windowCols && firstCol + cursorCol < kLineChars);
            if (keeps || boxes() != boxesBefore) {
                ASSERT_EQ(doc(), before) << (keeps ? "a movement" : "a refused key");
            }
            const MarkInfo m = markInfo();  // blank lines past the end may have gone with the window
            const int low = std::min(m.startLine, m.endLine);
            const std::vector<MarkedLine> found = markedLines();
            ASSERT_LE(static_cast<int>(found.size()), m.active ? markLineCount() : 0);
            for (const MarkedLine& f : found) {
                ASSERT_TRUE(f.line >= low && f.line < low + markLineCount()) << f.line;
            }
        }
    }
    EXPECT_GT(boxes(), 0);  // the store did fill up on the way
}

}  // namespace
