// The line block, the conversions, search and replace (their full-store refusals: the key commands' table).
#include "key_fixture.h"

#include "framework/messages.h"
#include "textops/block.h"
#include "textops/convert.h"
#include "view/marking.h"
#include "view/search.h"

namespace {

// The marks of n lines: '0' but for the runs "from-to:m" or "line:m", a blank between runs.
std::string marksOf(int n, const char* runs) {
    std::string out(static_cast<std::size_t>(n), '0');
    for (char* end; *runs; runs = end + 2 + (end[2] == ' ')) {
        const long from = std::strtol(runs, &end, 10);
        const long to = *end == '-' ? std::strtol(end + 1, &end, 10) : from;
        std::fill(out.begin() + from, out.begin() + to + 1, end[1]);
    }
    return out;
}
std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

using Block = KeyFixture;

TEST_F(Block, MarkingFromTheMenuAndTheKeyboard) {
    load(numbered(0, 60));
    struct Step { int line, row, command; const char* marks; };  // command 0: the keyboard's line mark
    static const Step steps[] = {
        {10, 3, CMD_BLOCK_BEGIN, "10-59:2 10:1"},  // no end yet: to the document's end
        {35, 12, CMD_BLOCK_END, "10:1 11-34:2 35:3"},
        {20, 5, CMD_BLOCK_BEGIN, "20:1 21-34:2 35:3"},  // a second begin: the fill recomputed
        {25, 19, CMD_BLOCK_END, "20:1 21-24:2 25:3"}, {0, 0, CMD_BLOCK_UNMARK, ""},
        {30, 10, CMD_BLOCK_BEGIN, "30:1 31-59:2"}, {20, 10, CMD_BLOCK_END, "20:3 30:1 31-59:2"},  // end above begin
        {0, 0, CMD_BLOCK_UNMARK, ""}, {40, 10, 0, "40:2"},
        {10, 10, CMD_BLOCK_BEGIN, "10:1 11-59:2"},  // the keyboard line survives until then
        {0, 0, CMD_BLOCK_UNMARK, ""}, {40, 10, 0, "40:2"},
        {10, 10, CMD_BLOCK_END, "10:3"},  // an end without a begin: the stray line cleared
        {0, 0, CMD_BLOCK_FUNCTION, "0-59:1"},  // "line 0" never ends a function
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << s.line << " " << s.command);
        place(s.line, s.row);
        s.command ? menu(s.command) : block_mark_line(1);
        EXPECT_EQ(marks(), marksOf(60, s.marks));
        EXPECT_TRUE(windowShows(numbered(0, 60), s.line - s.row, s.row));  // the view did not move
    }
    EXPECT_EQ(block_count(), 60);
    EXPECT_EQ(modified, 0);
    // A function ends at a line starting with "}", "[", ")", "." or "end" in any case.
    const Lines code{"int f(void)", "{", "  }", "  x = 1;", "}", "after", "proc p", "  End of it", "ENDPROC", "tail"};
    struct Function { Lines doc; int line; const char* marks; };
    const Function functions[] = {
        {code, 0, "0-4:1"}, {code, 4, "4:1"}, {code, 6, "6-8:1"}, {{"a", "b", ")x", "c"}, 0, "0-2:1"},
        {{"a", "b", "[", "c"}, 0, "0-2:1"}, {{"a", "b", ".end", "c"}, 0, "0-2:1"},
    };
    for (const Function& f : functions) {
        load(f.doc);
        place(f.line, 0);
        menu(CMD_BLOCK_FUNCTION);
        EXPECT_EQ(marks(), marksOf(static_cast<int>(f.doc.size()), f.marks)) << f.line << " " << f.doc[2];
    }
}

// Copy, move and delete as Ctrl+B and the menu send them: the key model; the block to the clipboard: the
// end-to-end session. Here a copy too large for one batch.
TEST_F(Block, ACopyTooLargeForOneBatchGoesInBatches) {
    Lines text;  // 150 marked lines of 200 characters
    for (int i = 0; i < 150; ++i)
        text.push_back(std::string(199, static_cast<char>('A' + i % 26)) + static_cast<char>('0' + i % 10));
    load(text + numbered(0, 30));
    for (int i = 0; i < 150; ++i) mark({i});
    place(160, 10);
    ASSERT_EQ(block_copy(0), 0);
    EXPECT_EQ(doc(), text + numbered(0, 10) + text + numbered(10, 30));
    EXPECT_TRUE(storeSound());
}

using Rule = int (*)(const char*, char*);
int detab8(const char* in, char* out) { return detabText(in, out, 8); }
int entab8(const char* in, char* out) { return entabText(in, out, 8); }

std::string run(Rule rule, const std::string& in) {
    char out[kLineChars + 1];
    std::memset(out, '#', sizeof out);
    const int n = rule(in.c_str(), out);
    if (n == CONVERT_KEEP) return "<keep>";
    if (n == CONVERT_REMOVE) return "<remove>";
    EXPECT_EQ(n, static_cast<int>(std::strlen(out)));
    return out;
}

TEST(ConvertRules, EachRuleOnItsEdges) {
    struct Row { Rule rule; std::string in, out; };
    std::string shown41;
    for (int i = 0; i < 41; ++i) shown41 += "<_09_>";
    const Row rows[] = {
        {detab8, "a\tb", "a" + blanks(7) + "b"}, {entab8, "abc     d", "abc\td"},
        {detab8, std::string(31, '\t') + "x", blanks(248) + "x"},  // 249 characters
        {detab8, std::string(32, '\t') + "x", "<keep>"},
        {entab8, "abcdefg h", "abcdefg h"},  // a single blank before a stop stays
        {visibleText, "\001\037 \176\177\200\240\241\t", "<_01_><_1F_> ~<_7F_><_80_><_A0_>\241<_09_>"},
        {visibleText, std::string(41, '\t') + "abcd", shown41 + "abcd"},  // 250 characters
        {visibleText, std::string(41, '\t') + "abcde", "<keep>"},
        {htmlToAnsiText, "&&auml;uml;", "&\344uml;"},  // a replacement never builds a new entity
        {ansiToHtmlText, std::string(36, '\337'), "<keep>"},  // 252 characters
        {cSpacingText, "while(x) f(y);", "while ( x ) f( y );"},
        {cSpacingText, "f()", "f()"}, {cSpacingText, "f( a, b )", "f( a, b )"}, {cSpacingText, ")x", ")x"},
        {cSpacingText, "f(a,", "f( a,"},
        {cSpacingText, "g((unsigned *)u,(double *)d)", "g( (unsigned *)u, (double *)d )"},  // casts stay tight
        {cSpacingText, "x = 1;     // one", "x = 1;     // one"},  // before a comment kept
        {cSpacingText, "x = 1;     y = 2;", "x = 1; y = 2;"},  // between statements one blank
        {cSpacingText, "\t   x = 1;", "\t   x = 1;"},  // indentation kept
        {cSpacingText, "a    b    /* c */", "a    b    /* c */"},  // a comment later: the line kept
        {cSpacingText, "s = \"a(b,c)    d\";", "s = \"a(b,c)    d\";"},  // nothing inside quotes
        {cSpacingText, "puts(\"it's (x)\");", "puts( \"it's (x)\" );"},  // only the opening quote closes
        {cSpacingText, "x = '\"';   y(1,2);", "x = '\"'; y( 1, 2 );"},
        {xor7Text, "ab\007cd", "<keep>"},  // a byte 7 would end the line
        {xor7Text, "say 'x'", "<keep>"},   // white space at the end would be trimmed
        {xor7Text, "'x", " \177"},
        {tableCompressText, "a    bb  c", "a\tbb\tc"},
        {tableCompressText, "\267    \267x  z", " \t x\tz"},  // the empty field comes back as a blank
        {htmlOptimizeText, "  \t ", "<remove>"}, {htmlOptimizeText, "\t\t \t\t<td>x</td>", "<td>x</td>"},
        {htmlOptimizeText, "        text", "        text"},  // not before "<"
    };
    for (const Row& r : rows) EXPECT_EQ(run(r.rule, r.in), r.out) << r.in;
    // Entab undoes Detab for text with its tabs on the stops; XOR 7 undoes itself.
    for (const char* line : {"int\tx;\t\t// c", "\t\tif (a)", "Hallo, Welt! \344\366\374 {x} ~"}) {
        EXPECT_EQ(run(entab8, run(detab8, line)), line);
        EXPECT_EQ(run(xor7Text, run(xor7Text, line)), line);
    }
}

using Convert = KeyFixture;

TEST_F(Convert, TheFrameConvertsMarkedLinesOrAllAndKeepsTheCursor) {
    Lines text = numbered(0, 60);
    for (int i : {3, 25, 31, 50}) text[static_cast<std::size_t>(i)] = "t\t" + std::to_string(i);
    load(text);
    mark({31});
    place(45, 19);
    menu(CMD_CONVERT_DETAB);
    text[31] = "t" + blanks(7) + "31";  // only the marked line
    EXPECT_EQ(doc(), text);
    EXPECT_EQ(marks(), marksOf(60, "31:2"));
    EXPECT_TRUE(windowShows(text, 26, 19));
    // Every kind reaches its rule (nothing marked: all lines); no such kind changes nothing.
    const Lines lines{"a\tb", "abc     d", "Gr\341\201e", "Gr\337\374e", "x\240y", "&auml;", "\344", "if(a,b)", "Hi"};
    const Lines want{"a" + blanks(7) + "b", "abc\td", "Gr\337\374e", "Gr\341\201e", "x<_A0_>y", "\344", "&auml;",
                     "if ( a, b )", "On"};
    for (int kind = CONVERT_DETAB; kind <= CONVERT_XOR_7 + 1; ++kind) {
        load(lines);
        ASSERT_EQ(convert_lines(kind), 0);
        const std::size_t k = static_cast<std::size_t>(kind);
        EXPECT_EQ(doc()[k % 9], k < 9 ? want[k] : lines[0]) << kind;
        EXPECT_EQ(modified, k < 9 ? 1 : 0);
    }
}

class Search : public KeyFixture {
  protected:
    static void set(const char* text, const char* replacement = "", int replacing = 0, int whole = 0) {
        std::strcpy(searchText, text);
        std::strcpy(replaceText, replacement);
        replaceEnabled = replacing;
        wholeWord = whole;
    }
};

TEST_F(Search, F12GoesFromOccurrenceToOccurrenceAndEndsAfterTheDocument) {
    Lines lines = numbered(0, 60);
    lines[3] = "x needle y needle";
    lines[45] = "  needle";
    load(lines);
    cursorRow = 5;  // a mark on line 5 stays through F12 and travels with its line
    markSetInLine(0, 4);
    cursorRow = 3;
    set("needle");
    struct Step { int top, row, col; };
    static const Step steps[] = {
        {0, 3, 2},  // from column 1 of the cursor's own line
        {0, 3, 11},
        {42, 3, 2},  // below the window: the found line comes into the cursor row
        {57, 3, 0},  // past the last: every line above, the blank row after the end
        {57, 3, 0},  // no box, no wrap-around
    };
    for (const Step& s : steps) {
        menu(CMD_SEARCH_NEXT);
        EXPECT_TRUE(windowShows(lines, s.top, s.row));
        EXPECT_EQ(col(), s.col) << s.top;
    }
    EXPECT_EQ(boxes(), 0);
    EXPECT_EQ(doc(), lines);
    EXPECT_EQ(markInfo().startLine, 5);
    keys("^C");  // the mark's own text, from the line that carries it
    EXPECT_EQ(clip(), "line");
}

TEST_F(Search, F11ReplacesOnlyAnOccurrenceAtTheCursorAndOnlyWhenReplacing) {
    struct Row { std::string line; const char* search; const char* replacement; int replacing, whole, col, result;
                 std::string after; int colAfter; const char* box; };
    const std::string long248 = std::string(120, 'x') + "ab" + std::string(126, 'y');
    const Row rows[] = {
        {"say ab to ab", "AB", "xyz", 0, 0, 4, 0, "say ab to ab", 4, ""},  // "Tauschen" off
        {"say ab to ab", "AB", "xyz", 1, 0, 5, 0, "say ab to ab", 5, ""},  // not on an occurrence
        {"say ab to ab", "AB", "xyz", 1, 0, 4, 1, "say xyz to ab", 7, ""},  // the case rule applies
        {"total", "to", "", 1, 1, 0, 1, "tal", 0, ""},  // the whole-word rule is not applied at the cursor
        {"ab", "ab ", "", 1, 0, 0, 0, "ab", 0, ""},  // trailing blanks do not match the padding
        {long248, "ab", "abcde", 1, 0, 120, -1, long248, 120, replaceTooLongText},  // 251 characters
        {long248, "ab", "abcd", 1, 0, 120, 1, std::string(120, 'x') + "abcd" + std::string(126, 'y'), 124, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.line + " " + r.search + r.replacement);
        load({r.line});
        headless_reset();
        set(r.search, r.replacement, r.replacing, r.whole);
        cursorToColumn(r.col);
        EXPECT_EQ(replaceAtCursor(), r.result);
        EXPECT_EQ(row(0), r.after);
        EXPECT_EQ(std::make_tuple(col(), box(), modified),
                  std::make_tuple(r.colAfter, std::string(r.box), r.result > 0 ? 1 : 0));
    }
}

TEST_F(Search, TheHistoryAndTheDialogsValues) {
    SearchHistory h{};
    historyAdd(&h, "   ");  // white space is not kept
    EXPECT_STREQ(h.items[0], "");
    for (int i = 0; i < 12; ++i) historyAdd(&h, ("t" + std::to_string(i)).c_str());
    historyAdd(&h, "t11");  // equal at 0: stays
    historyAdd(&h, "t5");   // further down: moved to the front
    historyAdd(&h, "T5");   // compared exactly; the oldest falls off
    const char* const want[] = {"T5", "t5", "t11", "t10", "t9", "t8", "t7", "t6", "t4", "t3"};
    for (int i = 0; i < 10; ++i) EXPECT_STREQ(h.items[i], want[i]) << i;
    // The dialog's values: "Tauschen" is not taken from it, replacing stays as it was.
    SearchDialogValues v{1, 1, 1, "such", "tausch"};
    dialogRead(0, &v);
    EXPECT_EQ(std::string(searchText) + "|" + replaceText, "such|");
    EXPECT_EQ(replaceEnabled * 100 + wholeWord * 10 + caseSensitive, 11);
    dialogRead(1, &v);
    EXPECT_EQ(std::string(replaceText) + "|" + std::to_string(replaceEnabled), "tausch|1");
    v = SearchDialogValues{0, 0, 0, "x", "y"};
    dialogRead(0, &v);
    EXPECT_EQ(std::string(replaceText) + "|" + std::to_string(replaceEnabled + wholeWord), "y|1");
    EXPECT_EQ(replaceFlagClicked(0), SEARCH_TEXT_COMBO);
    EXPECT_EQ(replaceEnabled, 0);
    EXPECT_EQ(replaceFlagClicked(1), SEARCH_REPLACE_COMBO);
}

TEST_F(Search, BlockReplaceChangesOnlyTheMarkedLinesByTheRulesAndKeepsTheView) {
    Lines lines = numbered(0, 60);
    lines[2] = lines[30] = "aaa";
    lines[50] = "a b a";
    lines[52] = lines[53] = std::string(249, '.') + "a";
    load(lines);
    mark({2, 50, 51, 52, 53});
    place(31, 6);
    set("a", "aa", 1);
    EXPECT_EQ(block_replace(), 0);
    lines[2] = "aaaaaa";
    lines[50] = "aa b aa";
    EXPECT_EQ(doc(), lines);
    EXPECT_EQ(marks(), marksOf(60, "2:2 50-53:2"));
    EXPECT_TRUE(windowShows(lines, 25, 6));
    char text[200];  // lines that would grow past 250 stay and are counted in one box
    std::snprintf(text, sizeof text, linesLeftTooLongText, 2);
    EXPECT_EQ(box(), text);
    EXPECT_EQ(boxes(), 1);
    struct Row { int whole, caseMatters; const char* want; };
    static const Row rows[] = {
        {0, 0, "X X Xc _X"}, {1, 0, "X X abc _ab"}, {0, 1, "X Ab Xc _X"}, {1, 1, "X Ab abc _ab"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.whole) + std::to_string(r.caseMatters));
        load({"ab Ab abc _ab", "ab"});
        mark({0});
        set("ab", "X", 1, r.whole);
        caseSensitive = r.caseMatters;
        EXPECT_EQ(block_replace(), 0);
        EXPECT_EQ(doc(), (Lines{r.want, "ab"}));
    }
}

}  // namespace
