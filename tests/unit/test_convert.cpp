// Tests of the conversions: each rule alone on its tricky lines, and the
// common frame on documents longer than the window (marked lines or the whole
// document, the cursor's line and row kept, the lines left unchanged with one
// box, the full-store refusal at its exact boundary).
#include "textops/convert.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "textops/block.h"
#include "view/editing.h"
#include "view/options.h"

namespace {

using Lines = std::vector<std::string>;

constexpr int kKeep = CONVERT_KEEP;

// A rule's result as a string, or "<keep>" / "<remove>".
std::string run(int (*rule)(const char*, char*), const std::string& in) {
    char out[kLineChars + 1];
    std::memset(out, '#', sizeof out);
    const int n = rule(in.c_str(), out);
    if (n == CONVERT_KEEP) return "<keep>";
    if (n == CONVERT_REMOVE) return "<remove>";
    EXPECT_EQ(n, static_cast<int>(std::strlen(out)));
    return out;
}

std::string detab(const std::string& in, int step = 8) {
    char out[kLineChars + 1];
    const int n = detabText(in.c_str(), out, step);
    return n == kKeep ? "<keep>" : out;
}

std::string entab(const std::string& in, int step = 8) {
    char out[kLineChars + 1];
    const int n = entabText(in.c_str(), out, step);
    return n == kKeep ? "<keep>" : out;
}

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

Lines numbered(int from, int to) {
    Lines out;
    for (int i = from; i < to; ++i) out.push_back("line " + std::to_string(i));
    return out;
}

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// ---------------------------------------------------------------- tabs

TEST(ConvertRules, DetabFillsToTheNextTabStop) {
    EXPECT_EQ(detab("a\tb"), "a" + blanks(7) + "b");
    EXPECT_EQ(detab("12345678\tx"), "12345678" + blanks(8) + "x");  // a tab on a stop: a whole step
    EXPECT_EQ(detab("\t\tx"), blanks(16) + "x");
    EXPECT_EQ(detab("ab\tc\td", 4), "ab  c   d");
    EXPECT_EQ(detab("no tabs"), "no tabs");
    // 31 tabs and a letter: 249 characters, still a line; 32 tabs are too long.
    EXPECT_EQ(detab(std::string(31, '\t') + "x"), blanks(248) + "x");
    EXPECT_EQ(detab(std::string(32, '\t') + "x"), "<keep>");
}

TEST(ConvertRules, EntabReplacesRunsThatEndOnATabStop) {
    EXPECT_EQ(entab("abc     d"), "abc\td");  // the d in column 8
    EXPECT_EQ(entab("x       y"), "x\ty");
    EXPECT_EQ(entab("abcdefg h"), "abcdefg h");        // a single blank before a stop stays
    EXPECT_EQ(entab(blanks(16) + "a"), "\t\ta");       // 16 leading blanks: two tabs
    EXPECT_EQ(entab("ab" + blanks(14) + "c"), "ab\t\tc");  // a run across a stop: one tab each
    EXPECT_EQ(entab("ab   c"), "ab   c");              // the run ends in column 5: no stop
    EXPECT_EQ(entab("abcdef   x"), "abcdef   x");      // ends in column 9
    EXPECT_EQ(entab("x" + blanks(6) + "yz"), "x" + blanks(6) + "yz");  // y in column 7
    EXPECT_EQ(entab("\"a      b\""), "\"a\tb\"");      // quotes are not looked at
    EXPECT_EQ(entab("a   b   c", 4), "a\tb\tc");
    EXPECT_EQ(entab(""), "");
    // Entab undoes Detab for text that has its tabs on the stops.
    for (const std::string& line : {std::string("int\tx;\t\t// c"), std::string("\t\tif (a)"),
                                    std::string("a\tb\tc")}) {
        EXPECT_EQ(entab(detab(line)), line);
    }
}

// ---------------------------------------------------------------- code pages

TEST(ConvertRules, TheDosAndAnsiLettersMapBothWays) {
    const int dos[] = {0x81, 0x84, 0x8E, 0x94, 0x99, 0x9A, 0xE1};
    const int ansi[] = {0xFC, 0xE4, 0xC4, 0xF6, 0xD6, 0xDC, 0xDF};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(dosToAnsiChar(dos[i]), ansi[i]);
        EXPECT_EQ(ansiToDosChar(ansi[i]), dos[i]);
        EXPECT_EQ(dosToAnsiChar(static_cast<char>(dos[i])), ansi[i]);  // a negative char is its byte
    }
    // Bytes outside the table stay, among them each table's own other side.
    for (int ch : {int('a'), 0x80, 0x82, 0xE0, 0xFF, 0xE4}) EXPECT_EQ(dosToAnsiChar(ch), ch);
    for (int ch : {int('a'), 0x81, 0xE1, 0xE0, 0xFF}) EXPECT_EQ(ansiToDosChar(ch), ch);

    EXPECT_EQ(run(pcToAnsiText, "Gr\341\201e \216\224\231\232\204!"), "Gr\337\374e \304\366\326\334\344!");
    EXPECT_EQ(run(ansiToPcText, "Gr\337\374e \304\366\326\334\344!"), "Gr\341\201e \216\224\231\232\204!");
}

TEST(ConvertRules, SonderzeichenShowsControlAndUpperControlBytes) {
    EXPECT_EQ(run(visibleText, "a\tb"), "a<_09_>b");
    EXPECT_EQ(run(visibleText, "\240\241"), "<_A0_>\241");  // 160 is shown, 161 stays
    EXPECT_EQ(run(visibleText, "\001\037 \176\177\200"), "<_01_><_1F_> ~<_7F_><_80_>");
    EXPECT_EQ(run(visibleText, "<_09_>"), "<_09_>");  // the form itself is plain text
    std::string shown;
    for (int i = 0; i < 41; ++i) shown += "<_09_>";
    EXPECT_EQ(run(visibleText, std::string(41, '\t') + "abcd"), shown + "abcd");  // 250 characters
    EXPECT_EQ(run(visibleText, std::string(41, '\t') + "abcde"), "<keep>");  // 251
}

TEST(ConvertRules, HtmlEntitiesOfTheGermanLettersOnly) {
    const std::string ansi = "\344\366\374\304\326\334\337 Stra\337e";
    const std::string html = "&auml;&ouml;&uuml;&Auml;&Ouml;&Uuml;&szlig; Stra&szlig;e";
    EXPECT_EQ(run(ansiToHtmlText, ansi), html);
    EXPECT_EQ(run(htmlToAnsiText, html), ansi);
    // Every other entity, and a wrong case, stays untouched both ways.
    EXPECT_EQ(run(htmlToAnsiText, "a &amp; b &AUML; &eacute; &auml"), "a &amp; b &AUML; &eacute; &auml");
    EXPECT_EQ(run(ansiToHtmlText, "a &amp; b \351"), "a &amp; b \351");
    EXPECT_EQ(run(htmlToAnsiText, "&&auml;uml;"), "&\344uml;");  // a replacement never builds a new entity
    // 35 sharp s take 245 characters, 36 would take 252.
    EXPECT_EQ(run(ansiToHtmlText, std::string(35, '\337')).size(), 245u);
    EXPECT_EQ(run(ansiToHtmlText, std::string(36, '\337')), "<keep>");
}

// ---------------------------------------------------------------- C spacing

TEST(ConvertRules, LeertastenSpacesParenthesesCommasAndStatements) {
    EXPECT_EQ(run(cSpacingText, "if(a,b)"), "if ( a, b )");
    EXPECT_EQ(run(cSpacingText, "for(i=0;i<n;i++)"), "for ( i=0;i<n;i++ )");
    EXPECT_EQ(run(cSpacingText, "while(x) f(y);"), "while ( x ) f( y );");
    EXPECT_EQ(run(cSpacingText, "elif(x)"), "elif ( x )");  // plain substrings
    EXPECT_EQ(run(cSpacingText, "f()"), "f()");
    EXPECT_EQ(run(cSpacingText, "f( a, b )"), "f( a, b )");  // already spaced: unchanged
    EXPECT_EQ(run(cSpacingText, ")x"), ")x");                // ")" in the first column
    EXPECT_EQ(run(cSpacingText, "f(a,"), "f( a,");            // nothing after the comma
    // A cast stays tight, also inside parentheses.
    EXPECT_EQ(run(cSpacingText, "p = (char *)q;"), "p = (char *)q;");
    EXPECT_EQ(run(cSpacingText, "f((char *)p)"), "f( (char *)p )");
    EXPECT_EQ(run(cSpacingText, "g((unsigned *)u,(double *)d)"), "g( (unsigned *)u, (double *)d )");
    // Runs of blanks: before a comment kept, between statements one blank,
    // indentation kept, a line that opens a comment later kept as a whole.
    EXPECT_EQ(run(cSpacingText, "x = 1;     // one"), "x = 1;     // one");
    EXPECT_EQ(run(cSpacingText, "x = 1;     /* one */"), "x = 1;     /* one */");
    EXPECT_EQ(run(cSpacingText, "x = 1;     y = 2;"), "x = 1; y = 2;");
    EXPECT_EQ(run(cSpacingText, "        x = 1;"), "        x = 1;");
    EXPECT_EQ(run(cSpacingText, "\t   x = 1;"), "\t   x = 1;");  // tab and blanks: indentation too
    EXPECT_EQ(run(cSpacingText, "a    b    /* c */"), "a    b    /* c */");
    EXPECT_EQ(run(cSpacingText, "a  b"), "a  b");  // two blanks are not a run
    EXPECT_EQ(run(cSpacingText, "a   b   c"), "a b c");
    // Nothing inside quotes is spaced, whichever quote opened the string.
    EXPECT_EQ(run(cSpacingText, "s = \"a(b,c)    d\";"), "s = \"a(b,c)    d\";");
    EXPECT_EQ(run(cSpacingText, "c = ',';"), "c = ',';");
    EXPECT_EQ(run(cSpacingText, "puts(\"it's (x)\");"), "puts( \"it's (x)\" );");
    EXPECT_EQ(run(cSpacingText, "x = '\"';   y(1,2);"), "x = '\"'; y( 1, 2 );");
    EXPECT_EQ(run(cSpacingText, "s = \"a     \";"), "s = \"a     \";");  // the closing quote keeps its blanks
}

// ---------------------------------------------------------------- XOR 7

TEST(ConvertRules, XorSevenTwiceGivesTheTextBack) {
    const std::string line = "Hallo, Welt! \344\366\374 {x} 0123 ~";
    const std::string once = run(xor7Text, line);
    EXPECT_NE(once, line);
    EXPECT_EQ(once.size(), line.size());
    EXPECT_EQ(static_cast<unsigned char>(once[0]), 'H' ^ 7);
    EXPECT_EQ(run(xor7Text, once), line);
    // A byte 7 would end the line; an apostrophe (or SO) at the end would
    // become white space that the store trims: such lines stay.
    EXPECT_EQ(run(xor7Text, "ab\007cd"), "<keep>");
    EXPECT_EQ(run(xor7Text, "say 'x'"), "<keep>");
    EXPECT_EQ(run(xor7Text, "a\016"), "<keep>");
    EXPECT_EQ(run(xor7Text, "'x"), " \177");  // white space inside the line is fine
    EXPECT_EQ(run(xor7Text, ""), "");
}

// ---------------------------------------------------------------- tables

TEST(ConvertRules, TableExpandAndCompressRoundTrip) {
    TableWidths w{};
    tableMeasureText("a\tbb\tc", '\t', &w);
    tableMeasureText("ccc\td\teeeeeeee", '\t', &w);  // the last field is not measured
    EXPECT_EQ(w.width[0], 3);
    EXPECT_EQ(w.width[1], 2);
    EXPECT_EQ(w.width[2], 0);
    char out[kLineChars + 1];
    ASSERT_EQ(tableExpandText("a\tbb\tc", out, '\t', w), 10);
    EXPECT_STREQ(out, "a    bb  c");
    ASSERT_GE(tableExpandText("ccc\td\teeeeeeee", out, '\t', w), 0);
    EXPECT_STREQ(out, "ccc  d   eeeeeeee");
    // An empty field and one with leading blanks begin with the marker.
    ASSERT_GE(tableExpandText("\t x\tz", out, '\t', w), 0);
    EXPECT_STREQ(out, "\267    \267x  z");
    // A field longer than its width is never cut.
    ASSERT_GE(tableExpandText("abcdefgh\tz", out, '\t', w), 0);
    EXPECT_STREQ(out, "abcdefghz");

    EXPECT_EQ(run(tableCompressText, "a    bb  c"), "a\tbb\tc");
    EXPECT_EQ(run(tableCompressText, "ccc  d   eeeeeeee"), "ccc\td\teeeeeeee");
    EXPECT_EQ(run(tableCompressText, "\267    \267x  z"), " \t x\tz");  // the empty field comes back as a blank
    EXPECT_EQ(run(tableCompressText, "New York  10"), "New York\t10");
    EXPECT_EQ(run(tableCompressText, "single"), "single");

    // The 0x1C separator splits instead of the tab.
    TableWidths w1c{};
    tableMeasureText("ab\034c\tx\034d", TABLE_SEPARATOR, &w1c);
    EXPECT_EQ(w1c.width[0], 2);
    EXPECT_EQ(w1c.width[1], 3);
    ASSERT_GE(tableExpandText("ab\034c\tx\034d", out, TABLE_SEPARATOR, w1c), 0);
    EXPECT_STREQ(out, "ab  c\tx  d");

    // A result beyond 250 characters is refused.
    TableWidths wide{};
    wide.width[0] = 248;
    EXPECT_EQ(tableExpandText("a\tb", out, '\t', wide), kKeep);
    wide.width[0] = 247;
    EXPECT_EQ(tableExpandText("a\tb", out, '\t', wide), 250);
}

TEST(ConvertRules, FieldsBeyondTheHundredthAreNeitherMeasuredNorPadded) {
    // 102 one-letter fields: the widths reach field 99 only.
    std::string line;
    for (int i = 0; i < 102; ++i) line += std::string(1, static_cast<char>('a' + i % 26)) + (i < 101 ? "\t" : "");
    TableWidths probe{};
    tableMeasureText(line.c_str(), '\t', &probe);
    for (int i = 0; i < TABLE_FIELDS; ++i) EXPECT_EQ(probe.width[i], 1) << i;

    // With all widths 0 each of the first 100 fields takes two characters;
    // field 100 keeps its separator, so nothing runs together.
    TableWidths zero{};
    std::string shortLine(100, '\t');
    shortLine += "x\ty";
    char out[kLineChars + 1];
    ASSERT_EQ(tableExpandText(shortLine.c_str(), out, '\t', zero), 203);
    std::string want;
    for (int i = 0; i < 100; ++i) want += "\267 ";
    EXPECT_EQ(std::string(out), want + "x\ty");
}

TEST(ConvertRules, HtmlOptimizeRemovesBlankLinesAndDeepIndentation) {
    EXPECT_EQ(run(htmlOptimizeText, ""), "<remove>");
    EXPECT_EQ(run(htmlOptimizeText, "  \t "), "<remove>");
    EXPECT_EQ(run(htmlOptimizeText, "    <p>"), "    <p>");  // four blanks stay
    EXPECT_EQ(run(htmlOptimizeText, "     <p>"), "<p>");      // five go
    EXPECT_EQ(run(htmlOptimizeText, "\t\t \t\t<td>x</td>"), "<td>x</td>");
    EXPECT_EQ(run(htmlOptimizeText, "        text"), "        text");  // not before "<"
    EXPECT_EQ(run(htmlOptimizeText, "<b>x</b>   "), "<b>x</b>");
}

// ---------------------------------------------------------------- the frame


class Convert : public ::testing::Test {
  protected:
    void SetUp() override { editorStart(); }
    void TearDown() override { editorStop(); }

    static void load(const Lines& lines) {
        loadLines(lines);
    }

    // Document line `line` in window row `row`, the cursor on it.
    static void place(int line, int row) {
        ASSERT_EQ(gotoLineAtTop(line - row), 0);
        ASSERT_EQ(topLine, line - row);
        cursorRow = row;
        headless_reset();
    }

    static DocumentLines doc() { return documentLines(); }

    static void mark(std::initializer_list<int> lines, char m = '2') { markDocumentLines(lines, m); }

    static ::testing::AssertionResult windowShows(const Lines& expected, int top, int row) {
        if (topLine != top) return ::testing::AssertionFailure() << "topLine " << topLine << ", wanted " << top;
        if (cursorRow != row) return ::testing::AssertionFailure() << "cursorRow " << cursorRow << ", wanted " << row;
        if (topLine != aboveCountGet()) return ::testing::AssertionFailure() << "topLine is not aboveCount";
        for (int r = 0; r < windowRows; ++r) {
            const std::size_t i = static_cast<std::size_t>(top + r);
            const std::string want = i < expected.size() ? expected[i] : "";
            if (rowText(r) != want)
                return ::testing::AssertionFailure() << "row " << r << " is \"" << rowText(r) << "\", wanted \"" << want
                                                     << "\"";
        }
        return ::testing::AssertionSuccess();
    }

    static int boxes() { return static_cast<int>(headless_boxes().size()); }

};

TEST_F(Convert, MarkedLinesOnlyOrTheWholeDocument) {
    // Tabs on lines above, inside and below the window.
    Lines text = numbered(0, 60);
    for (int i : {3, 25, 31, 50}) text[static_cast<std::size_t>(i)] = "t\t" + std::to_string(i);
    auto detabbed = [](Lines t, std::initializer_list<int> lines) {
        for (int i : lines) t[static_cast<std::size_t>(i)] = "t" + blanks(7) + std::to_string(i);
        return t;
    };

    load(text);
    place(30, 10);
    ASSERT_EQ(convert_lines(CONVERT_DETAB), 0);
    const Lines all = detabbed(text, {3, 25, 31, 50});
    EXPECT_EQ(doc().text, all);
    EXPECT_TRUE(windowShows(all, 20, 10));  // the cursor's line and row kept
    EXPECT_EQ(modified, 1);
    EXPECT_GT(headless_record().viewRepaints, 0);
    EXPECT_EQ(boxes(), 0);

    // One marked line: that line only; the marks stay.
    load(text);
    mark({31});
    place(45, 19);
    ASSERT_EQ(convert_lines(CONVERT_DETAB), 0);
    EXPECT_EQ(doc().text, detabbed(text, {31}));
    std::string marks(60, '0');
    marks[31] = '2';
    EXPECT_EQ(doc().marks, marks);
    EXPECT_TRUE(windowShows(detabbed(text, {31}), 26, 19));

    // Marked lines apart from each other, one in the window, one far above.
    load(text);
    mark({3, 50});
    place(50, 0);
    ASSERT_EQ(convert_lines(CONVERT_DETAB), 0);
    EXPECT_EQ(doc().text, detabbed(text, {3, 50}));
    EXPECT_TRUE(windowShows(detabbed(text, {3, 50}), 50, 0));
}

TEST_F(Convert, EveryKindReachesItsRule) {
    const Lines text{"a\tb", "abc     d", "Gr\341\201e", "Gr\337\374e", "x\240y", "&auml;", "\344", "if(a,b)", "Hi"};
    for (int kind = CONVERT_DETAB; kind <= CONVERT_XOR_7; ++kind) {
        SCOPED_TRACE(kind);
        load(text);
        ASSERT_EQ(convert_lines(kind), 0);
        const Lines got = doc().text;
        ASSERT_EQ(got.size(), text.size());
        const std::size_t k = static_cast<std::size_t>(kind);
        const std::string want[] = {"a" + blanks(7) + "b", "abc\td", "Gr\337\374e", "Gr\341\201e", "x<_A0_>y",
                                    "\344", "&auml;", "if ( a, b )", "On"};
        EXPECT_EQ(got[k], want[k]);
        EXPECT_EQ(modified, 1);
    }
    load(text);
    EXPECT_EQ(convert_lines(9), 0);  // no such kind: nothing happens
    EXPECT_EQ(doc().text, text);
    EXPECT_EQ(modified, 0);
}

TEST_F(Convert, LinesThatWouldGrowPast250StayAndOneBoxCountsThem) {
    const std::string longTabs = std::string(32, '\t') + "x";  // 257 characters detabbed
    const Lines text = numbered(0, 30) + Lines{longTabs, "a\tb", longTabs} + numbered(33, 60);
    load(text);
    place(40, 5);
    ASSERT_EQ(convert_lines(CONVERT_DETAB), 0);
    Lines want = text;
    want[31] = "a" + blanks(7) + "b";
    EXPECT_EQ(doc().text, want);
    ASSERT_EQ(boxes(), 1);
    EXPECT_EQ(headless_boxes()[0].text,
              "Zeilen, die l\344nger als 250 Zeichen geworden w\344ren, blieben unver\344ndert: 2.");
    EXPECT_TRUE(windowShows(want, 35, 5));

    // XOR 7: the line with a byte 7 and the one ending in an apostrophe stay;
    // twice gives the whole document back.
    const Lines code = Lines{"int x = 'a';", "bell \007 here", "c = 'q'", "  { y = 2; }"} + numbered(4, 40);
    load(code);
    place(20, 10);
    ASSERT_EQ(convert_lines(CONVERT_XOR_7), 0);
    ASSERT_EQ(boxes(), 1);
    EXPECT_EQ(headless_boxes()[0].text,
              "Zeilen, die XOR 7 nicht wieder herstellen k\366nnte (Zeichen 7 oder Leerraum am Zeilenende), "
              "blieben unver\344ndert: 2.");
    const Lines once = doc().text;
    EXPECT_EQ(once[1], code[1]);
    EXPECT_EQ(once[2], code[2]);
    EXPECT_NE(once[0], code[0]);
    EXPECT_NE(once[3], code[3]);
    headless_reset();
    ASSERT_EQ(convert_lines(CONVERT_XOR_7), 0);
    EXPECT_EQ(doc().text, code);
    EXPECT_TRUE(windowShows(code, 10, 10));
}

TEST_F(Convert, BlankLinesAtTheEndGoAndNoneAreGainedAtTheStart) {
    // Blank lines inside stay, blank lines at the end go.
    LineRecord line;
    load(Lines{"a\tb", "", "c"});
    ASSERT_EQ(flushRowsAbove(3), 0);
    for (int i = 0; i < 3; ++i) {  // three blank lines after "c", above the window
        lineInit(&line);
        ASSERT_EQ(pushAbove(&line), 0);
    }
    topLine = aboveCountGet();
    ASSERT_EQ(topLine, 6);
    cursorRow = 4;  // on a blank row past the document's end
    ASSERT_EQ(convert_lines(CONVERT_DETAB), 0);
    const Lines want{"a" + blanks(7) + "b", "", "c"};
    EXPECT_EQ(doc().text, want);
    // The window stands at the last line; no blank line came in before it.
    EXPECT_EQ(topLine, 2);
    EXPECT_EQ(cursorRow, 4);
    EXPECT_EQ(rowText(0), "c");
    EXPECT_EQ(aboveCountGet() + belowCountGet(), 2);
    ASSERT_EQ(gotoLineAtTop(0), 0);
    EXPECT_EQ(doc().text, want);
}

TEST_F(Convert, TablesExpandAndCompressThroughTheFrame) {
    const Lines table{"a\tbb\tc", "ccc\td\te", "x\t\ty"};
    load(numbered(0, 30) + table + numbered(33, 50));
    mark({30, 31, 32});
    place(25, 3);
    ASSERT_EQ(table_expand(), 0);
    const Lines expanded{"a    bb  c", "ccc  d   e", "x    \267   y"};
    EXPECT_EQ(doc().text, numbered(0, 30) + expanded + numbered(33, 50));
    EXPECT_TRUE(windowShows(doc().text, 22, 3));
    ASSERT_EQ(table_compress(), 0);
    EXPECT_EQ(doc().text, (numbered(0, 30) + Lines{"a\tbb\tc", "ccc\td\te", "x\t \ty"} + numbered(33, 50)));

    // A line holding 0x1C: from it up to the document's start the fields are
    // split at 0x1C; the lines after it were measured split at tabs, and all
    // are expanded at 0x1C.
    load(Lines{"aaaaaa\034b", "c\034d", "eeeeeeeeee\tf"});
    ASSERT_EQ(table_expand(), 0);
    EXPECT_EQ(doc().text, (Lines{"aaaaaa" + blanks(6) + "b", "c" + blanks(11) + "d", "eeeeeeeeee\tf"}));

    // Unmarked: the whole document, the widths from every line.
    load(Lines{"1\t2", "333\t4", "5"});
    ASSERT_EQ(table_expand(), 0);
    EXPECT_EQ(doc().text, (Lines{"1    2", "333  4", "5"}));
}

TEST_F(Convert, HtmlOptimizeRemovesBlankLinesAndShowsTheStart) {
    const Lines page = Lines{"<html>", "", "    <body>", "   ", "     <p>x</p>", "\t\t\t\t\t<br>"} + numbered(6, 60);
    load(page);
    place(40, 12);
    ASSERT_EQ(html_optimize(), 0);
    const Lines want = Lines{"<html>", "    <body>", "<p>x</p>", "<br>"} + numbered(6, 60);
    EXPECT_EQ(doc().text, want);
    EXPECT_TRUE(windowShows(want, 0, 0));
    EXPECT_EQ(modified, 1);

    // With a block only its blank lines go.
    load(page);
    mark({3, 4});
    place(30, 2);
    ASSERT_EQ(html_optimize(), 0);
    EXPECT_EQ(doc().text, (Lines{"<html>", "", "    <body>", "<p>x</p>", "\t\t\t\t\t<br>"} + numbered(6, 60)));
    EXPECT_TRUE(windowShows(doc().text, 0, 0));
}

TEST_F(Convert, AFullStoreRefusesTheWholeCommandAtItsExactBoundary) {
    // "if(a)" grows by 3 ("if ( a )") before the second line shrinks by 20: the
    // store must take the 3 at the point where the first line is converted,
    // even though the document shrinks as a whole.
    const std::string statements = "x;" + blanks(21) + "y;";
    constexpr long kPeak = 3;
    for (long spare : {kPeak - 1, kPeak}) {
        SCOPED_TRACE(spare);
        load(numbered(0, 30) + Lines{"if(a)", statements} + numbered(32, 60));
        place(31, 10);
        fillStoreLeaving(spare);  // 'f' lines before the document: no rule changes them
        const DocumentLines before = doc();
        const int top = topLine;
        const std::uint32_t free = storeFreeBytes();
        headless_reset();
        const int result = convert_lines(CONVERT_C_SPACING);
        if (spare < kPeak) {
            EXPECT_EQ(result, -1);
            EXPECT_EQ(doc().text, before.text);
            EXPECT_EQ(topLine, top);
            EXPECT_EQ(cursorRow, 10);
            EXPECT_EQ(modified, 0);
            EXPECT_EQ(storeFreeBytes(), free);
            ASSERT_EQ(boxes(), 1);
            EXPECT_EQ(headless_boxes()[0].text, storeFullText);
        } else {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(boxes(), 0);
            Lines want = before.text;
            const std::size_t at = want.size() - 30;  // "if(a)" after the fill lines
            ASSERT_EQ(want[at], "if(a)");
            want[at] = "if ( a )";
            want[at + 1] = "x; y;";
            EXPECT_EQ(doc().text, want);
            EXPECT_EQ(topLine, top);
            EXPECT_GE(storeSlack(), 0);  // every later flush still fits
        }
    }
}

TEST_F(Convert, AGrowthLargerThanTheStoreIsRefused) {
    // A store nearly full of lines that each grow by 40 characters.
    LineRecord line;
    storeReset();
    rowsClearAll();
    for (int n = 0; storeHasRoom(5); ++n) {
        lineInit(&line);
        std::memset(line.text, '\337', 8);  // 8 sharp s: 56 characters as entities
        ASSERT_EQ(pushBelow(&line), 0);
    }
    fillWindowFromBelow();
    topLine = aboveCountGet();
    const DocumentLines before = doc();
    headless_reset();
    EXPECT_EQ(convert_lines(CONVERT_ANSI_TO_HTML), -1);
    EXPECT_EQ(doc().text, before.text);
    ASSERT_EQ(boxes(), 1);
    EXPECT_EQ(headless_boxes()[0].text, storeFullText);
    EXPECT_EQ(modified, 0);
    // A shrinking conversion of the same store goes through.
    headless_reset();
    ASSERT_EQ(convert_lines(CONVERT_ANSI_TO_PC), 0);
    EXPECT_EQ(doc().text.size(), before.text.size());
    EXPECT_EQ(doc().text[0], std::string(8, '\341'));
}

}  // namespace
