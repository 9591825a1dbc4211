// The overview, structure and search lists: what each builder lists (the document left as it was), the
// selection, the entries and choosing, typing into the search list.
#include "textops/lists.h"

#include "key_fixture.h"

namespace {

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

class Lists : public KeyFixture {
  protected:
    void SetUp() override {
        KeyFixture::SetUp();
        fileName[0] = listText[0] = '\0';
        listRequest(kListOverview, "");
        listInit();
    }
    void TearDown() override {
        fileName[0] = listText[0] = '\0';
        KeyFixture::TearDown();
    }
    static Lines build(int kind, int* selection = nullptr) {
        listKind = kind;
        Lines out;
        const std::string before = snapshot();
        const ListFill fill =
            listBuildEntries([](const char* e, void* user) { static_cast<Lines*>(user)->push_back(e); }, &out);
        EXPECT_EQ(fill.count, static_cast<int>(out.size()));
        EXPECT_EQ(snapshot(), before);  // every builder leaves the store, marks and view exactly as they were
        if (selection) *selection = fill.selection;
        return out;
    }
    // Every byte of the store, the raw window rows and the view position.
    static std::string snapshot() {
        std::string out = storeSnapshot();
        for (std::int32_t v : {topLine, cursorRow, firstCol, cursorCol}) out += " " + std::to_string(v);
        return out;
    }
};

TEST_F(Lists, TheOverviewListsHeadingsByFileClass) {
    const Lines c{"#include <stdio.h>", "#define MAX(a, b) ((a) > (b))", "int f(void);", "int main(void)", "{",
                  "    printf(\"x\");", "/* - section - */", "struct point {", ";x(y)", "a(b); c", "/* /",
                  "   anything at all", "CAPTION \"x\"", "BEGIN"};
    const Lines res{"DB1 DIALOG 0, 0, 10, 10", "BEGIN", "  LTEXT \"a\", 1", "END", "end", "; note", "# x",
                    "Caption text", "ber eins", "MAIN MENU", "help me"};
    struct Row { const char* name; const Lines* doc; std::vector<int> listed; };
    const Row rows[] = {
        {"C:\\src\\main.c", &c, {3, 6, 7, 8, 11}},  // ';' first is a header; after "/* /" any line
        {"C:\\res\\y8.RC", &res, {0, 7, 8, 9, 10}}, {"notes.txt", &res, {7, 8, 10}}, {"app.gm4", &res, {9, 10}},
    };
    for (const Row& r : rows) {
        loadLines(*r.doc);
        std::strcpy(fileName, r.name);
        Lines expected;
        for (int i : r.listed) expected.push_back(entry((*r.doc)[static_cast<size_t>(i)], i));
        EXPECT_EQ(build(kListOverview), expected) << r.name;
    }
    for (const char* line : {"", "\tcall(x)", "{ f(x)", "int x"}) EXPECT_FALSE(listIsFunctionHeader(line)) << line;
    for (const std::string& e : {std::string(), std::string(70, 'x') + "   ", std::string(70, 'a') + " 99999999999"})
        EXPECT_FALSE(listChoose(e.c_str())) << e;  // no number, or none of any document
}

TEST_F(Lists, EntriesHaveTheirIndexAtColumn70AndClosingPlacesTheCursor) {
    EXPECT_EQ(entry(std::string(120, 'a'), 2147483647), std::string(70, 'a') + " 2147483647");
    EXPECT_EQ(gap(12), "  \267\267\267" + std::string(65, ' ') + " 12");
    loadLines(numbered(0, 1000));
    windowCols = 40;
    cursorCol = 7;
    firstCol = 3;
    struct Row { int kind; std::string chosen; int top, row, column; };  // top -1: only the line checked
    const Row rows[] = {
        {kListOverview, entry("  line 100", 100), 96, 4, 0},  // the overview goes to the line's start
        {kListStructure, gap(300), -1, 300, 2},
        {kListSearch, entry(std::string(60, ' ') + "x", 5), -1, 5, 60},  // past a narrow window: the view scrolls
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        listKind = r.kind;
        ASSERT_TRUE(listChoose(r.chosen.c_str()));
        listClosed();
        EXPECT_EQ(std::make_pair(r.top >= 0 ? topLine : -1, r.top >= 0 ? cursorRow : line()),
                  std::make_pair(r.top, r.row));
        EXPECT_EQ(col(), r.column);
        EXPECT_LT(cursorCol, windowCols);
    }
    const std::string before = snapshot();
    listClosed();  // nothing chosen: nothing moves
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Lists, TheStructureListsTheCursorLevelWithGapsForDeeperRuns) {
    loadLines({"int main(void)", "{", "    int a;", "    if (a) {", "        b();", "        c();", "    }",
               "    while (x)", "    {", "        d();", "    }", "", "    return 0;", "}", "    after();"});
    const Lines level4{entry("int a;", 2), entry("if (a) {", 3), gap(3), entry("while (x)", 7), gap(7),
                       entry("return 0;", 12)};
    struct Row { int line, row, col; Lines entries; int selection; };
    const Row rows[] = {
        {12, 5, 0, level4, 4}, {4, 2, 0, {entry("b();", 4), entry("c();", 5)}, -1},  // to one indented less
        {11, 3, 4, level4, 4},  // a blank cursor line: the cursor's column is the level
    };
    for (const Row& r : rows) {
        place(r.line, r.row);
        cursorCol = r.col;
        int selection = 0;
        EXPECT_EQ(build(kListStructure, &selection), r.entries) << r.line;
        EXPECT_EQ(selection, r.selection);
    }
    loadLines({"a", "{", "  b", "}", "c"});  // from the brace above, the first "}" ends the walk
    place(4, 4);
    EXPECT_EQ(build(kListStructure), Lines{""});
}

TEST_F(Lists, TheSearchListGroupsMatchesUnderTheirHeadersWithGaps) {
    loadLines({"int g;", "void a(void)", "{", "  x = needle;", "  y;", "}", "void b(int n)", "{", "}", "void c(void)",
               "{", "  needle(q);", "}", "int needle(void)", "  NEEDLE;"});
    place(11, 4);
    markSetInLine(1, 4);
    mark({3, 13});  // build() checks that marks stay as they were
    listRequest(kListSearch, "needle");
    listInit();
    Lines expected{gap(0),  entry("void a(void)", 1), gap(2),  entry("  x = needle;", 3), gap(5),
                   entry("void c(void)", 9), gap(10), entry("  needle(q);", 11), gap(12),
                   entry("int needle(void)", 13)};
    int selection = 0;
    EXPECT_EQ(build(kListSearch, &selection), expected);
    EXPECT_EQ(selection, 7);
    listExact = 0;  // ignoring case finds the last line as well
    expected.push_back(entry("  NEEDLE;", 14));
    EXPECT_EQ(build(kListSearch), expected);
    listRequest(kListSearch, "ne");  // a search text under three characters: the overview
    EXPECT_EQ(build(kListSearch, &selection), build(kListOverview));
    EXPECT_EQ(selection, 2);  // "void c(void)", the last header above the cursor
}

TEST_F(Lists, TypingBuildsTheSearchTextOfAtMost80WithWildcardsIgnoringCase) {
    loadLines({"xAbC", "abd", "a1c", "nothing"});
    listRequest(kListSearch, "old text");
    listInit();
    EXPECT_TRUE(listKeyTyped(8));  // the first Backspace clears
    for (int ch : {'A', '?', 'C'}) EXPECT_TRUE(listKeyTyped(ch));
    EXPECT_EQ(build(kListSearch), (Lines{entry("xAbC", 0), entry("a1c", 2)}));
    EXPECT_TRUE(listKeyTyped(8));  // later ones take one character
    EXPECT_FALSE(listKeyTyped(13));
    EXPECT_TRUE(listKeyTyped(0xC4));  // an upper-case umlaut is lowered
    EXPECT_EQ(std::string(listText), "a?\344");
    for (int i = 0; i < 100; ++i) listKeyTyped('z');
    EXPECT_EQ(std::strlen(listText), 80u);
    listFieldEdited(("  " + std::string(100, 'q')).c_str());
    EXPECT_EQ(std::string(listText), std::string(78, 'q'));
    while (listText[0] != '\0') EXPECT_TRUE(listKeyTyped(8));
    EXPECT_TRUE(listKeyTyped(8));  // empty stays empty
    EXPECT_STREQ(listText, "");
}

}  // namespace
