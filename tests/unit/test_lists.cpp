// Tests of the overview, structure and search lists: which lines each builder
// lists (function headers, headings by file class, the block at the cursor's
// level with its gap entries, the search list's grouping under headers), the
// selection and scroll position, the entry format and choosing, typing into
// the search list, the keys that ask for a list, closing with the cursor
// placed, and the document and view left exactly as they were.
#include "textops/lists.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "host/headless.h"
#include "host/headless_profile.h"
#include "view/marking.h"
#include "view/taste.h"

namespace {

using Lines = std::vector<std::string>;

// The entries a builder produced.
struct Built {
    Lines entries;
    ListFill fill;
};

std::string entry(const std::string& text, std::int32_t index) {
    char out[kListEntrySize];
    listEntry(out, text.c_str(), index);
    return out;
}

std::string gap(std::int32_t index) {
    char out[kListEntrySize];
    listGapEntry(out, index);
    return out;
}

class Lists : public ::testing::Test {
  protected:
    void SetUp() override {
        editorStart();
        fileName[0] = '\0';
        listText[0] = '\0';
        listRequest(kListOverview, "");
        listInit();
    }
    void TearDown() override {
        fileName[0] = '\0';
        listText[0] = '\0';
        editorStop();
    }

    static void load(const Lines& lines) {
        loadLines(lines);
    }

    // Document line `line` in window row `row`, the cursor on it.
    static void place(int line, int row) {
        ASSERT_EQ(gotoLineAtTop(line - row), 0);
        ASSERT_EQ(topLine, line - row);
        cursorRow = row;
        cursorCol = firstCol = 0;
    }

    static Built build(int kind) {
        listKind = kind;
        Built out;
        out.fill = listBuildEntries(
            [](const char* e, void* user) { static_cast<Lines*>(user)->push_back(e); }, &out.entries);
        EXPECT_EQ(out.fill.count, static_cast<int>(out.entries.size()));
        return out;
    }

    // Every byte of the store, the raw window rows and the view position.
    struct Snapshot {
        std::string area;
        std::int32_t above, below;
        std::string rows;
        std::int32_t top, row, first, col;
        bool operator==(const Snapshot& o) const {
            return area == o.area && above == o.above && below == o.below && rows == o.rows && top == o.top &&
                   row == o.row && first == o.first && col == o.col;
        }
    };
    static Snapshot snapshot() {
        const StoreLayout s = storeLayout();
        Snapshot out;
        out.area.assign(reinterpret_cast<const char*>(s.lineArea), s.lineAreaSize);
        out.above = s.aboveCount;
        out.below = s.belowCount;
        for (int r = 0; r < kWindowRowsMax; ++r) {
            LineRecord line;
            rowGetRaw(r, &line);
            out.rows.append(reinterpret_cast<const char*>(&line), sizeof line);
        }
        out.top = topLine;
        out.row = cursorRow;
        out.first = firstCol;
        out.col = cursorCol;
        return out;
    }
};

// --- The overview -----------------------------------------------------------------

TEST_F(Lists, OverviewOfCSourceListsHeadersAndSectionLines) {
    std::strcpy(fileName, "C:\\src\\main.c");
    load({"#include <stdio.h>",          // 0 preprocessor
          "#define MAX(a, b) ((a) > (b))",  // 1 preprocessor with "("
          "int f(void);",                // 2 a declaration
          "int main(void)",              // 3 listed
          "{",                           // 4
          "    printf(\"x\");",          // 5 an indented call
          "}",                           // 6
          "/* - section - */",           // 7 listed
          "struct point {",              // 8 listed
          ";x(y)",                       // 9 ';' in the first column: a header
          "a(b); c",                     // 10 a ';' later: no header
          "/* /",                        // 11 not by itself
          "   anything at all",          // 12 listed: after "/* /"
          "CAPTION \"x\"",               // 13 text class only
          "BEGIN"});                     // 14 resource class only
    const Built b = build(kListOverview);
    EXPECT_EQ(b.entries, (Lines{entry("int main(void)", 3), entry("/* - section - */", 7),
                                entry("struct point {", 8), entry(";x(y)", 9), entry("   anything at all", 12)}));
    EXPECT_EQ(b.fill.selection, -1);  // the cursor on line 0, above every entry
    EXPECT_EQ(b.fill.top, -1);

    EXPECT_FALSE(listIsFunctionHeader(""));
    EXPECT_FALSE(listIsFunctionHeader("\tcall(x)"));
    EXPECT_FALSE(listIsFunctionHeader("{ f(x)"));
    EXPECT_FALSE(listIsFunctionHeader("int x"));
}

TEST_F(Lists, OverviewRulesFollowTheFileClass) {
    const Lines doc{"DB1 DIALOG 0, 0, 10, 10", "BEGIN", "  LTEXT \"a\", 1", "END", "end", "; note", "# x",
                    "Caption text", "ber eins", "MAIN MENU", "help me"};
    load(doc);
    std::strcpy(fileName, "C:\\res\\y8.RC");
    EXPECT_EQ(listFileClass(fileName), kListClassResource);
    Built b = build(kListOverview);
    EXPECT_EQ(b.entries, (Lines{entry(doc[0], 0), entry(doc[7], 7), entry(doc[8], 8), entry(doc[9], 9),
                                entry(doc[10], 10)}));

    std::strcpy(fileName, "notes.txt");
    b = build(kListOverview);
    EXPECT_EQ(b.entries, (Lines{entry(doc[7], 7), entry(doc[8], 8), entry(doc[10], 10)}));

    std::strcpy(fileName, "app.gm4");
    b = build(kListOverview);
    EXPECT_EQ(b.entries, (Lines{entry(doc[9], 9), entry(doc[10], 10)}));

    // Found after the first character only, ignoring case; a name may have several.
    EXPECT_EQ(listFileClass(".rc"), 0);
    EXPECT_EQ(listFileClass("a.TXT.rc"), kListClassText | kListClassResource);
    EXPECT_EQ(listFileClass(""), 0);
}

TEST_F(Lists, NoHeadingGivesOneEmptyEntryThatCannotBeChosen) {
    load({"plain", "  text", ""});
    const Built b = build(kListOverview);
    EXPECT_EQ(b.entries, Lines{""});
    EXPECT_EQ(b.fill.selection, -1);
    listTarget = -1;
    EXPECT_FALSE(listChoose(b.entries[0].c_str()));
    EXPECT_FALSE(listChoose(std::string(69, 'x').c_str()));
    EXPECT_FALSE(listChoose((std::string(70, 'x') + "   ").c_str()));  // no number
    EXPECT_EQ(listTarget, -1);
}

TEST_F(Lists, SelectionIsTheLastEntryAtOrAboveTheCursorAndScrollsPast24) {
    Lines doc;
    for (int i = 0; i < 60; ++i) doc.push_back(i % 2 == 0 ? "[s" + std::to_string(i) + "]" : "text");
    load(doc);
    place(40, 6);  // line 40 is heading number 20
    Built b = build(kListOverview);
    EXPECT_EQ(b.fill.count, 30);
    EXPECT_EQ(b.fill.selection, 20);
    EXPECT_EQ(b.fill.top, -1);  // 24 or fewer above: no scroll

    place(51, 6);  // line 51 is text: the heading at line 50 (entry 25)
    b = build(kListOverview);
    EXPECT_EQ(b.fill.selection, 25);
    EXPECT_EQ(b.fill.top, 15);
    EXPECT_EQ(b.entries[25], entry("[s50]", 50));

    // The search list without a text of three characters: the same overview.
    listRequest(kListSearch, "");
    const Built search = build(kListSearch);
    EXPECT_EQ(search.entries, b.entries);
    EXPECT_EQ(search.fill.selection, 25);
}

// --- Entries and choosing ------------------------------------------------------------

TEST_F(Lists, EntriesHaveTheirIndexAtColumn70AndChoosingReadsItBack) {
    const std::string longText(120, 'a');
    const std::string e = entry(longText, 2147483647);
    EXPECT_EQ(e, std::string(70, 'a') + " 2147483647");
    EXPECT_EQ(entry("x", 5), "x" + std::string(69, ' ') + " 5");
    EXPECT_EQ(gap(12), "  \267\267\267" + std::string(65, ' ') + " 12");

    char trimmed[kListEntrySize];
    listEntryTrimmed(trimmed, (std::string(78, ' ') + "abcdef").c_str(), 3);  // cut to 80 first
    EXPECT_EQ(std::string(trimmed), entry("ab", 3));

    ASSERT_TRUE(listChoose(e.c_str()));
    EXPECT_EQ(listTarget, 2147483647);
    EXPECT_EQ(listColumn, 0);
    ASSERT_TRUE(listChoose(gap(12).c_str()));
    EXPECT_EQ(listTarget, 12);
    EXPECT_EQ(listColumn, 2);
    ASSERT_TRUE(listChoose(entry("    deep", 7).c_str()));
    EXPECT_EQ(listColumn, 4);
    EXPECT_FALSE(listChoose((std::string(70, 'a') + " 99999999999").c_str()));  // no line of any document
    EXPECT_EQ(listTarget, 7);
}

TEST_F(Lists, ClosingPlacesTheCursorByKindAndGotoLine) {
    Lines doc;
    for (int i = 0; i < 1000; ++i) doc.push_back("line " + std::to_string(i));
    load(doc);
    windowCols = 40;
    cursorCol = 7;
    firstCol = 3;
    listKind = kListOverview;
    ASSERT_TRUE(listChoose(entry("  line 100", 100).c_str()));
    listClosed();
    EXPECT_EQ(topLine, 96);
    EXPECT_EQ(cursorRow, 4);
    EXPECT_EQ(firstCol + cursorCol, 0);
    EXPECT_EQ(listTarget, -1);

    listKind = kListStructure;
    ASSERT_TRUE(listChoose(gap(300).c_str()));
    listClosed();
    EXPECT_EQ(topLine + cursorRow, 300);
    EXPECT_EQ(firstCol, 0);
    EXPECT_EQ(cursorCol, 2);

    // A column beyond a narrow window scrolls the view instead of leaving it.
    listKind = kListSearch;
    ASSERT_TRUE(listChoose(entry(std::string(60, ' ') + "x", 5).c_str()));
    listClosed();
    EXPECT_EQ(topLine + cursorRow, 5);
    EXPECT_EQ(firstCol + cursorCol, 60);
    EXPECT_LT(cursorCol, windowCols);

    // Nothing chosen: nothing moves.
    const Snapshot before = snapshot();
    listClosed();
    EXPECT_TRUE(snapshot() == before);
}

// --- The structure list ----------------------------------------------------------------

TEST_F(Lists, StructureListsTheCursorLevelWithGapsForDeeperRuns) {
    load({"int main(void)",      // 0
          "{",                   // 1
          "    int a;",          // 2
          "    if (a) {",        // 3
          "        b();",        // 4
          "        c();",        // 5
          "    }",               // 6
          "    while (x)",       // 7
          "    {",               // 8
          "        d();",        // 9
          "    }",               // 10
          "",                    // 11
          "    return 0;",       // 12
          "}",                   // 13
          "    after();"});      // 14
    place(12, 5);
    Built b = build(kListStructure);
    const Lines level4{entry("int a;", 2), entry("if (a) {", 3), gap(3), entry("while (x)", 7), gap(7),
                       entry("return 0;", 12)};
    EXPECT_EQ(b.entries, level4);
    EXPECT_EQ(b.fill.selection, 4);  // the last entry made by a line above the cursor

    // The inner block: from its opening line down to the first line indented less.
    place(4, 2);
    b = build(kListStructure);
    EXPECT_EQ(b.entries, (Lines{entry("b();", 4), entry("c();", 5)}));
    EXPECT_EQ(b.fill.selection, -1);

    // A blank cursor line takes the cursor's column as the level.
    place(11, 3);
    cursorCol = 4;
    b = build(kListStructure);
    EXPECT_EQ(b.entries, level4);
    EXPECT_EQ(b.fill.selection, 4);
}

TEST_F(Lists, StructureAtLevelZeroStartsAtTheLastBraceAbove) {
    load({"first", "  deep", "second", "", "third"});
    place(4, 4);
    Built b = build(kListStructure);
    EXPECT_EQ(b.entries, (Lines{entry("first", 0), gap(0), entry("second", 2), entry("third", 4)}));
    EXPECT_EQ(b.fill.selection, 2);

    load({"a", "{", "  b", "}", "c"});
    place(4, 4);
    b = build(kListStructure);
    EXPECT_EQ(b.entries, Lines{""});  // from the brace, the first "}" ends the walk
}

// --- The search list ----------------------------------------------------------------------

TEST_F(Lists, SearchListGroupsMatchesUnderTheirHeadersWithGaps) {
    load({"int g;",             // 0
          "void a(void)",       // 1 header
          "{",                  // 2
          "  x = needle;",      // 3 match
          "  y;",               // 4
          "}",                  // 5
          "void b(int n)",      // 6 header without a match
          "{",                  // 7
          "}",                  // 8
          "void c(void)",       // 9 header
          "{",                  // 10
          "  needle(q);",       // 11 match
          "}",                  // 12
          "int needle(void)",   // 13 a header that matches
          "  NEEDLE;"});        // 14 no exact match
    place(11, 4);
    listRequest(kListSearch, "needle");
    listInit();
    const Lines expected{gap(0),  entry("void a(void)", 1), gap(2),  entry("  x = needle;", 3),
                         gap(5),  entry("void c(void)", 9), gap(10), entry("  needle(q);", 11),
                         gap(12), entry("int needle(void)", 13)};
    Built b = build(kListSearch);
    EXPECT_EQ(b.entries, expected);
    EXPECT_EQ(b.fill.selection, 7);

    // Ignoring case finds line 14 as well.
    listExact = 0;
    b = build(kListSearch);
    Lines more = expected;
    more.push_back(entry("  NEEDLE;", 14));
    EXPECT_EQ(b.entries, more);

    // A text of one or two characters gives the overview.
    listRequest(kListSearch, "ne");
    EXPECT_EQ(std::string(listText), "ne");
    b = build(kListSearch);
    EXPECT_EQ(b.entries, (Lines{entry("void a(void)", 1), entry("void b(int n)", 6), entry("void c(void)", 9),
                                entry("int needle(void)", 13)}));
}

TEST_F(Lists, TypingBuildsTheSearchTextWithWildcardsIgnoringCase) {
    load({"xAbC", "abd", "a1c", "nothing"});
    listRequest(kListSearch, "old text");
    listInit();
    EXPECT_TRUE(listKeyTyped(8));  // the first Backspace clears
    EXPECT_EQ(std::string(listText), "");
    EXPECT_EQ(listFirstKey, 0);
    for (int ch : {'A', '?', 'C'}) EXPECT_TRUE(listKeyTyped(ch));
    EXPECT_EQ(std::string(listText), "a?c");
    EXPECT_EQ(listExact, 0);
    Built b = build(kListSearch);
    EXPECT_EQ(b.entries, (Lines{entry("xAbC", 0), entry("a1c", 2)}));
    EXPECT_TRUE(listKeyTyped(8));  // later ones take one character
    EXPECT_EQ(std::string(listText), "a?");
    EXPECT_FALSE(listKeyTyped(0));   // a key without a character
    EXPECT_FALSE(listKeyTyped(13));  // other control keys
    EXPECT_TRUE(listKeyTyped(0xC4));  // an upper-case umlaut is lowered
    EXPECT_EQ(std::string(listText), "a?\344");

    // The text never passes 80 characters, typed, edited or passed in.
    for (int i = 0; i < 100; ++i) EXPECT_TRUE(listKeyTyped('z'));
    EXPECT_EQ(std::strlen(listText), 80u);
    listFieldEdited(("  " + std::string(100, 'q')).c_str());
    EXPECT_EQ(std::string(listText), std::string(78, 'q'));
    EXPECT_EQ(listExact, 1);
    listFieldEdited("  Foo  ");
    EXPECT_EQ(std::string(listText), "Foo");
    listRequest(kListSearch, std::string(200, 'w').c_str());
    EXPECT_EQ(std::string(listText), std::string(80, 'w'));
    listRequest(kListSearch, "");  // an empty text keeps the old one
    EXPECT_EQ(std::string(listText), std::string(80, 'w'));
    while (listText[0] != '\0') EXPECT_TRUE(listKeyTyped(8));
    EXPECT_TRUE(listKeyTyped(8));  // empty stays empty
    EXPECT_EQ(std::string(listText), "");
}

// --- The document and view stay as they were --------------------------------------------

TEST_F(Lists, EveryBuilderLeavesTheDocumentMarksAndViewExactlyAsTheyWere) {
    Lines doc;
    for (int i = 0; i < 200; ++i) {
        doc.push_back(i % 10 == 0 ? "void f" + std::to_string(i) + "(void)" : "    needle " + std::to_string(i));
    }
    load(doc);
    place(120, 9);
    firstCol = 2;
    cursorCol = 5;
    markSetInLine(1, 4);  // an in-line mark on the cursor row
    LineRecord row;
    rowGetRaw(2, &row);
    row.markState = '2';
    rowPut(2, &row);
    const Snapshot before = snapshot();
    for (int kind : {kListOverview, kListStructure, kListSearch}) {
        listRequest(kind, "needle 1");
        listExact = 1;
        const Built b = build(kind);
        EXPECT_GT(b.fill.count, 1) << kind;
        EXPECT_TRUE(snapshot() == before) << kind;
    }
}

// --- The keys that ask for a list ---------------------------------------------------------

TEST_F(Lists, CtrlTAndCtrlUmlautSetTheListAndPostTheCommand) {
    load({"some needle here", "other"});
    listRequest(kListOverview, "kept text");
    keyDown('T', false, true, false);  // Ctrl+T without a mark: the structure
    ASSERT_EQ(headless_posted_commands().size(), 1u);
    EXPECT_EQ(headless_posted_commands()[0].id, 1200);
    EXPECT_EQ(headless_posted_commands()[0].lParam, kListPostedByKey);
    EXPECT_EQ(listKind, kListStructure);

    keyChar(27, false, true, false);  // Ctrl+\334 without a mark: the search list, text kept
    EXPECT_EQ(listKind, kListSearch);
    EXPECT_EQ(std::string(listText), "kept text");
    EXPECT_EQ(headless_posted_commands().size(), 2u);

    markSetInLine(5, 11);
    keyDown('T', false, true, false);  // Ctrl+T with a mark: the search list of the marked text
    EXPECT_EQ(listKind, kListSearch);
    EXPECT_EQ(std::string(listText), "needle");
    EXPECT_EQ(markActiveGet(), 0);
    EXPECT_EQ(headless_posted_commands().size(), 3u);
}

}  // namespace
