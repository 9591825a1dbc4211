// Tests of the string and character functions.
//
// Windows-1252 characters are written as \xNN escapes; an escape that is
// followed by a hex digit letter is closed by splitting the literal.
#include "support/strfunc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Windows-1252 codes used below.
constexpr int kAGrave = 0xC0;   // À
constexpr int kAUml = 0xC4;     // Ä
constexpr int kTimes = 0xD7;    // ×
constexpr int kThornCap = 0xDE; // Þ
constexpr int kSharpS = 0xDF;   // ß
constexpr int kaUml = 0xE4;     // ä
constexpr int kDivide = 0xF7;   // ÷
constexpr int kThorn = 0xFE;    // þ
constexpr int kyUml = 0xFF;     // ÿ

int W(int ch) { return collation_weight(ch); }

// ---------------------------------------------------------------------------
// Character classes, case folding and collation
// ---------------------------------------------------------------------------

TEST(StrfuncChars, WhiteSpaceIsBlankAndNineToThirteenOnly) {
    for (int c = 0; c < 256; ++c) {
        bool expected = c == ' ' || (c >= 9 && c <= 13);
        EXPECT_EQ(is_white(c), expected) << "code " << c;
    }
    // Bytes 128-255 arrive as negative char values too: never white space.
    EXPECT_FALSE(is_white(static_cast<char>(0xA0)));  // no-break space
    EXPECT_FALSE(is_white(static_cast<char>(0x85)));
}

TEST(StrfuncChars, DigitsAreZeroToNineOnly) {
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(is_digit(c), c >= '0' && c <= '9') << "code " << c;
    }
    EXPECT_FALSE(is_digit(static_cast<char>(0xB2)));  // superscript two
    EXPECT_FALSE(is_digit(static_cast<char>(0xB9)));  // superscript one
}

TEST(StrfuncChars, UpperCharFoldsAsciiAndLatin1SmallLetters) {
    for (int c = 0; c < 256; ++c) {
        int expected = c;
        if ((c >= 'a' && c <= 'z') || (c >= 224 && c <= 254)) expected = c - 32;
        EXPECT_EQ(upper_char(c), expected) << "code " << c;
    }
    EXPECT_EQ(upper_char(kDivide), kTimes);  // ÷ folds like a letter
    EXPECT_EQ(upper_char(kyUml), kyUml);     // ÿ has no capital here
    EXPECT_EQ(upper_char(kSharpS), kSharpS);
}

TEST(StrfuncChars, LowerCharFoldsAsciiAndLatin1Capitals) {
    for (int c = 0; c < 256; ++c) {
        int expected = c;
        if ((c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222)) expected = c + 32;
        EXPECT_EQ(lower_char(c), expected) << "code " << c;
    }
    EXPECT_EQ(lower_char(kTimes), kDivide);
    EXPECT_EQ(lower_char(kThornCap), kThorn);
}

TEST(StrfuncChars, FoldingAcceptsNegativeCharValues) {
    EXPECT_EQ(upper_char(static_cast<char>(kaUml)), kAUml);
    EXPECT_EQ(lower_char(static_cast<char>(kAUml)), kaUml);
    EXPECT_EQ(upper_char(static_cast<char>(kyUml)), kyUml);
    EXPECT_EQ(collation_weight(static_cast<char>(kaUml)), collation_weight(kaUml));
}

TEST(StrfuncCollation, IsAPermutationOfAllCodes) {
    std::vector<int> seen(256, 0);
    for (int c = 0; c < 256; ++c) {
        int w = W(c);
        ASSERT_GE(w, 0);
        ASSERT_LE(w, 255);
        ++seen[w];
    }
    for (int w = 0; w < 256; ++w) EXPECT_EQ(seen[w], 1) << "weight " << w;
}

TEST(StrfuncCollation, CodesUpToAtSignKeepTheirCode) {
    for (int c = 0; c <= 64; ++c) EXPECT_EQ(W(c), c);
    EXPECT_EQ(W('A'), 65);
}

TEST(StrfuncCollation, AccentedFormsFollowTheirLetter) {
    EXPECT_EQ(W(kAGrave), W('A') + 1);          // À right after A
    EXPECT_LT(W(0xC6), W('B'));                 // Æ before B
    EXPECT_EQ(W(0xC7), W('C') + 1);             // Ç after C
    EXPECT_EQ(W(0xD0), W('D') + 1);             // Ð after D
    EXPECT_EQ(W(0xD1), W('N') + 1);             // Ñ after N
    EXPECT_EQ(W(0xD8), W('P') - 1);             // Ø last of the O forms
    EXPECT_EQ(W(0xDD), W('Z') - 1);             // Ý between Y and Z
    EXPECT_EQ(W(0xE0), W('a') + 1);             // à after a
    EXPECT_EQ(W(kaUml), W('a') + 5);            // a à á â ã ä
    EXPECT_EQ(W(kyUml), W('z') - 1);            // ÿ just before z
    EXPECT_EQ(W(0xFD), W('z') - 2);             // ý before ÿ
}

TEST(StrfuncCollation, SharpSSortsBetweenSAndT) {
    EXPECT_EQ(W(kSharpS), W('s') + 1);
    EXPECT_EQ(W('t'), W(kSharpS) + 1);
}

TEST(StrfuncCollation, AllCapitalsBeforeAllSmallLetters) {
    int maxCap = 0;
    int minSmall = 255;
    for (int c = 0; c < 256; ++c) {
        bool cap = (c >= 'A' && c <= 'Z') || (c >= 192 && c <= 221 && c != kTimes);
        bool small = (c >= 'a' && c <= 'z') || (c >= 223 && c <= 253 && c != kDivide) || c == kyUml;
        if (cap) maxCap = std::max(maxCap, W(c));
        if (small) minSmall = std::min(minSmall, W(c));
    }
    EXPECT_LT(maxCap, minSmall);
    EXPECT_EQ(W('Z'), 119);
    EXPECT_EQ(W('a'), 126);
}

TEST(StrfuncCollation, PunctuationBetweenCapitalsAndSmallLettersInCodeOrder) {
    for (int c = 91; c <= 96; ++c) {
        EXPECT_EQ(W(c), W('Z') + 1 + (c - 91)) << "code " << c;
    }
    EXPECT_EQ(W('a'), W(96) + 1);
}

TEST(StrfuncCollation, HighCodesThenTheFourLast) {
    EXPECT_EQ(W(123), W('z') + 1);
    for (int c = 123; c <= 191; ++c) EXPECT_EQ(W(c), W(123) + (c - 123)) << "code " << c;
    EXPECT_EQ(W(kTimes), 252);
    EXPECT_EQ(W(kThornCap), 253);
    EXPECT_EQ(W(kDivide), 254);
    EXPECT_EQ(W(kThorn), 255);
}

// ---------------------------------------------------------------------------
// Small numeric functions
// ---------------------------------------------------------------------------

TEST(StrfuncNumbers, MinMaxAbs) {
    EXPECT_EQ(min_int(3, -2), -2);
    EXPECT_EQ(max_int(3, -2), 3);
    EXPECT_EQ(min_int(4, 4), 4);
    EXPECT_EQ(abs_int(-7), 7);
    EXPECT_EQ(abs_int(7), 7);
    EXPECT_EQ(abs_int(0), 0);
    EXPECT_EQ(abs_int(INT_MIN), INT_MIN);  // no overflow trap
}

TEST(StrfuncNumbers, HexToIntSkipsWhiteSpaceAndStopsAtNonHex) {
    EXPECT_EQ(hex_to_int("1F"), 31L);
    EXPECT_EQ(hex_to_int("ff"), 255L);
    EXPECT_EQ(hex_to_int(" \t\r\n7fZ9"), 127L);
    EXPECT_EQ(hex_to_int("aBc"), 0xABCL);
    EXPECT_EQ(hex_to_int("10 20"), 16L);
    EXPECT_EQ(hex_to_int("0x1F"), 0L);  // stops at the x
    EXPECT_EQ(hex_to_int("G1"), 0L);
    EXPECT_EQ(hex_to_int(""), 0L);
    EXPECT_EQ(hex_to_int("   "), 0L);
    EXPECT_EQ(hex_to_int("-5"), 0L);     // no sign
    EXPECT_EQ(hex_to_int("7FFFFFFF"), 0x7FFFFFFFL);
}

// ---------------------------------------------------------------------------
// Memory
// ---------------------------------------------------------------------------

TEST(StrfuncMemory, MemMoveTakesSourceFirstAndReturnsEndOfCopy) {
    char src[] = "hello";
    char dst[8] = "xxxxxxx";
    char* end = mem_move(src, dst, 3);
    EXPECT_EQ(end, dst + 3);
    EXPECT_EQ(std::string(dst), "helxxxx");
}

TEST(StrfuncMemory, MemMoveHandlesOverlapBothWays) {
    char up[] = "abcdef..";
    mem_move(up, up + 2, 6);  // destination above source
    EXPECT_EQ(std::string(up, 8), "ababcdef");
    char down[] = "..abcdef";
    mem_move(down + 2, down, 6);  // destination below source
    EXPECT_EQ(std::string(down, 8), "abcdefef");
}

TEST(StrfuncMemory, MemMoveOfNothing) {
    char buf[] = "abc";
    EXPECT_EQ(mem_move("zz", buf, 0), buf);
    EXPECT_EQ(std::string(buf), "abc");
}

TEST(StrfuncMemory, FillFunctions) {
    char buf[8] = "abcdefg";
    mem_fill(buf + 1, 3, '-');
    EXPECT_EQ(std::string(buf), "a---efg");  // no terminator written
    mem_fill(buf, 0, '!');
    EXPECT_EQ(std::string(buf), "a---efg");
    str_fill(buf, 4, '*');
    EXPECT_EQ(std::string(buf), "****");
    str_fill(buf, 0, '*');
    EXPECT_EQ(std::string(buf), "");
    str_fill(buf, 2, kAUml);
    EXPECT_EQ(std::string(buf), "\xC4\xC4");
}

// The word-at-a-time searches against a byte-by-byte model, over texts whose
// buffers end exactly at `to` (the sanitizer sees any read beyond), with the
// sought bytes at every offset within and across the eight-byte steps.
TEST(StrfuncMemory, WordSearchesAgreeWithAByteModel) {
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) & 0x7FFF);
    };
    const char alphabet[] = {' ', ' ', 'a', 'x', '\t', '\x1F', '\x20', '\x80', '\x9F', '\xA0', '\xFF', '\0', '!'};
    for (int round = 0; round < 4000; ++round) {
        const int to = next() % 40;
        std::vector<char> text(static_cast<size_t>(to));
        for (char& c : text) c = alphabet[next() % static_cast<int>(sizeof alphabet)];
        const int from = to == 0 ? 0 : next() % (to + 1);
        const char* s = text.data();

        int pair = -1;
        for (int q = from; q + 1 < to && pair < 0; ++q)
            if (s[q] == ' ' && s[q + 1] == ' ') pair = q;
        EXPECT_EQ(mem_find_pair(s, from, to, ' '), pair) << "round " << round;

        int control = -1;
        for (int i = 0; i < to && control < 0; ++i)
            if (static_cast<unsigned char>(s[i]) < 32) control = i;
        EXPECT_EQ(mem_find_control(s, to), control) << "round " << round;
    }
    // Other bytes than blanks pair too; a high byte is never a control character.
    EXPECT_EQ(mem_find_pair("a\xFF\xFF--------", 0, 11, 0xFF), 1);
    EXPECT_EQ(mem_find_control("\x80\x81\xFF\xA0 abcdefgh", 13), -1);
    EXPECT_EQ(mem_find_control("abcdefgh\x7F\x1F", 10), 9);
}

// ---------------------------------------------------------------------------
// Trimming, padding and editing in place
// ---------------------------------------------------------------------------

TEST(StrfuncEditing, TrimRemovesAllSixWhiteSpaceCharacters) {
    char s[] = " \t\n\v\f\rab c\r\n\t ";
    EXPECT_EQ(str_trim(s), 1);
    EXPECT_EQ(std::string(s), "ab c");
}

TEST(StrfuncEditing, TrimOfBlanksAndTabsLeavesEmptyAndReturnsZero) {
    char s[] = " \t  \t";
    EXPECT_EQ(str_trim(s), 0);
    EXPECT_EQ(std::string(s), "");
    char e[] = "";
    EXPECT_EQ(str_trim(e), 0);
}

TEST(StrfuncEditing, TrimKeepsHighCharacters) {
    char s[] = "\xA0x\xA0";  // no-break spaces are not white space
    EXPECT_EQ(str_trim(s), 1);
    EXPECT_EQ(std::string(s), "\xA0x\xA0");
}

TEST(StrfuncEditing, TrimRightOnlyTouchesTheEnd) {
    char s[] = "  ab \t";
    EXPECT_EQ(str_trim_right(s), 1);
    EXPECT_EQ(std::string(s), "  ab");
    char b[] = " \r\n";
    EXPECT_EQ(str_trim_right(b), 0);
    EXPECT_EQ(std::string(b), "");
}

TEST(StrfuncEditing, UpperFoldsEveryCharacter) {
    char s[] = "abc \xE4\xF6\xFC\xDF\xFF 1z";
    str_upper(s);
    EXPECT_EQ(std::string(s), "ABC \xC4\xD6\xDC\xDF\xFF 1Z");
}

TEST(StrfuncEditing, PadCutsOrFillsToExactWidth) {
    char d[16];
    str_pad(d, "abc", 5);
    EXPECT_EQ(std::string(d), "abc  ");
    str_pad(d, "abc", 2);
    EXPECT_EQ(std::string(d), "ab");
    str_pad(d, "", 3);
    EXPECT_EQ(std::string(d), "   ");
    str_pad(d, "abc", 0);
    EXPECT_EQ(std::string(d), "");
}

TEST(StrfuncEditing, PadInPlace) {
    char s[16] = "ab";
    str_pad(s, s, 4);
    EXPECT_EQ(std::string(s), "ab  ");
    str_pad(s, s, 1);
    EXPECT_EQ(std::string(s), "a");
}

TEST(StrfuncEditing, DeleteRemovesUpToTheEnd) {
    char s[] = "abcdef";
    str_delete(s, 1, 2);
    EXPECT_EQ(std::string(s), "adef");
    str_delete(s, 2, 99);
    EXPECT_EQ(std::string(s), "ad");
}

TEST(StrfuncEditing, DeleteDoesNothingOutsideTheString) {
    char s[] = "abc";
    str_delete(s, 3, 1);
    str_delete(s, 10, 1);
    str_delete(s, 0, 0);
    str_delete(s, -1, 2);
    str_delete(s, 1, -2);
    EXPECT_EQ(std::string(s), "abc");
}

TEST(StrfuncEditing, InsertClampsThePosition) {
    char s[32] = "abc";
    str_insert("XY", s, 1);
    EXPECT_EQ(std::string(s), "aXYbc");
    str_insert("<", s, -5);
    EXPECT_EQ(std::string(s), "<aXYbc");
    str_insert(">", s, 99);
    EXPECT_EQ(std::string(s), "<aXYbc>");
    str_insert("", s, 2);
    EXPECT_EQ(std::string(s), "<aXYbc>");
    char e[8] = "";
    str_insert("hi", e, 0);
    EXPECT_EQ(std::string(e), "hi");
}

TEST(StrfuncEditing, InsertOfAPartOfTheSameString) {
    char s[32] = "abcdef";
    str_insert(s + 1, s, 3);  // inserts "bcdef" before d
    EXPECT_EQ(std::string(s), "abcbcdefdef");
    char t[32] = "abcdef";
    str_insert(t + 4, t, 2);  // inserts "ef" before c
    EXPECT_EQ(std::string(t), "abefcdef");
}

TEST(StrfuncEditing, NcopyAlwaysTerminates) {
    char d[8];
    std::memset(d, 'x', sizeof d);
    EXPECT_EQ(str_ncopy(d, "abcdef", 3), 3);
    EXPECT_EQ(std::string(d), "abc");
    EXPECT_EQ(str_ncopy(d, "ab", 5), 2);
    EXPECT_EQ(std::string(d), "ab");
    EXPECT_EQ(str_ncopy(d, "ab", 0), 0);
    EXPECT_EQ(std::string(d), "");
}

TEST(StrfuncEditing, OverlayFillsOnlyBlanksOfTheTemplate) {
    char mask[] = "  .  .    ";
    str_overlay(mask, "05x12y2026");
    EXPECT_EQ(std::string(mask), "05.12.2026");
    char shortSrc[] = "a b c";
    str_overlay(shortSrc, "XYZ");  // stops where src ends
    EXPECT_EQ(std::string(shortSrc), "aYb c");
    char tab[] = "\t ";
    str_overlay(tab, "12");  // only blanks, not other white space
    EXPECT_EQ(std::string(tab), "\t2");
}

TEST(StrfuncEditing, NextWordTakesWordsOneByOne) {
    char s[] = "  eins\tzwei  \r\n drei  ";
    char w[32];
    EXPECT_EQ(str_next_word(w, s), 4);
    EXPECT_EQ(std::string(w), "eins");
    EXPECT_EQ(std::string(s), "zwei  \r\n drei");
    EXPECT_EQ(str_next_word(w, s), 4);
    EXPECT_EQ(std::string(w), "zwei");
    EXPECT_EQ(std::string(s), "drei");
    EXPECT_EQ(str_next_word(w, s), 4);
    EXPECT_EQ(std::string(w), "drei");
    EXPECT_EQ(std::string(s), "");
    EXPECT_EQ(str_next_word(w, s), 0);
    EXPECT_EQ(std::string(w), "");
}

TEST(StrfuncEditing, CutFieldWalksDelimitedFields) {
    char s[] = "|a|b|";
    char f[16];
    str_cut_field(f, s);
    EXPECT_EQ(std::string(f), "a");
    EXPECT_EQ(std::string(s), "|b|");
    str_cut_field(f, s);
    EXPECT_EQ(std::string(f), "b");
    EXPECT_EQ(std::string(s), "|");
    str_cut_field(f, s);
    EXPECT_EQ(std::string(f), "");
    EXPECT_EQ(std::string(s), "");
    str_cut_field(f, s);  // nothing left: still safe
    EXPECT_EQ(std::string(f), "");
    EXPECT_EQ(std::string(s), "");
}

TEST(StrfuncEditing, CutFieldUsesTheFirstCharacterAsDelimiter) {
    char s[] = ";x,y;;z";
    char f[16];
    str_cut_field(f, s);
    EXPECT_EQ(std::string(f), "x,y");
    str_cut_field(f, s);
    EXPECT_EQ(std::string(f), "");  // empty field between ;;
    str_cut_field(f, s);
    EXPECT_EQ(std::string(f), "z");  // last field runs to the end
    EXPECT_EQ(std::string(s), "");
}

// ---------------------------------------------------------------------------
// Searching and comparing
// ---------------------------------------------------------------------------

TEST(StrfuncSearch, EndAndIndex) {
    char s[] = "abc";
    EXPECT_EQ(str_end(s), s + 3);
    const char* c = "xy";
    EXPECT_EQ(str_end(c), c + 2);
    EXPECT_EQ(str_index("abcb", 'b'), 1);
    EXPECT_EQ(str_index("abc", 'z'), -1);
    EXPECT_EQ(str_index("abc", 0), -1);
    EXPECT_EQ(str_index("a\xE4", kaUml), 1);
    EXPECT_EQ(str_index("a\xE4", static_cast<char>(kaUml)), 1);
}

TEST(StrfuncSearch, FindFirstOccurrence) {
    EXPECT_EQ(str_find("abcabc", "bc"), 1);
    EXPECT_EQ(str_find("abc", "abc"), 0);
    EXPECT_EQ(str_find("abc", "abcd"), -1);
    EXPECT_EQ(str_find("abc", "C"), -1);
    EXPECT_EQ(str_find("abc", ""), 0);
    EXPECT_EQ(str_find("", ""), 0);
    EXPECT_EQ(str_find("", "a"), -1);
    EXPECT_EQ(str_find("aab", "ab"), 1);
}

TEST(StrfuncSearch, FindNocaseFoldsLatin1Too) {
    EXPECT_EQ(str_find_nocase("Hallo Welt", "WELT"), 6);
    EXPECT_EQ(str_find_nocase("Gr\xFC\xDF" "e", "\xDC\xDF"), 2);  // üß found as Üß
    EXPECT_EQ(str_find_nocase("abc", "x"), -1);
    EXPECT_EQ(str_find_nocase("abc", ""), 0);
}

TEST(StrfuncSearch, RfindNeedsSubShorterThanS) {
    EXPECT_EQ(str_rfind("ab", "ab"), -1);
    EXPECT_EQ(str_rfind("abb", "b"), 2);
    EXPECT_EQ(str_rfind("abab", "ab"), 2);
    EXPECT_EQ(str_rfind("abcab", "ab"), 3);
    EXPECT_EQ(str_rfind("abc", "x"), -1);
    EXPECT_EQ(str_rfind("a", "abc"), -1);
    EXPECT_EQ(str_rfind("", ""), -1);
    // An empty sub matches at the first position tried: length(s).
    EXPECT_EQ(str_rfind("abc", ""), 3);
}

TEST(StrfuncSearch, BlankTests) {
    EXPECT_TRUE(str_is_blank(""));
    EXPECT_TRUE(str_is_blank(" \t\r\n\v\f"));
    EXPECT_FALSE(str_is_blank("  x "));
    EXPECT_FALSE(str_is_blank("\xA0"));

    EXPECT_TRUE(is_blank_n("abc", 0));
    EXPECT_TRUE(is_blank_n("abc", -3));
    EXPECT_TRUE(is_blank_n("  x", 2));
    EXPECT_FALSE(is_blank_n("  x", 3));
    EXPECT_FALSE(is_blank_n("  ", 3));  // the terminator is not white space
    EXPECT_TRUE(is_blank_n("\t\r\n", 3));
}

TEST(StrfuncCompare, NocaseReturnsDifferenceOfFoldedCharacters) {
    EXPECT_EQ(str_cmp_nocase("abc", "ABC"), 0);
    EXPECT_EQ(str_cmp_nocase("\xE4", "\xC4"), 0);
    EXPECT_EQ(str_cmp_nocase("abd", "ABB"), 'D' - 'B');
    EXPECT_EQ(str_cmp_nocase("ab", "abc"), 0 - 'C');
    EXPECT_EQ(str_cmp_nocase("abc", "ab"), 'C');
    EXPECT_EQ(str_cmp_nocase("a[", "A{"), '[' - '{');  // braces are not folded
    EXPECT_EQ(str_cmp_nocase("\xE4", "a"), 0xC4 - 'A');  // positive: bytes are unsigned
}

TEST(StrfuncCompare, NcmpNocaseStopsAfterNCharacters) {
    EXPECT_EQ(str_ncmp_nocase("abcX", "ABCy", 3), 0);
    EXPECT_EQ(str_ncmp_nocase("abcX", "ABCz", 4), 'X' - 'Z');
    EXPECT_EQ(str_ncmp_nocase("ab", "ab", 10), 0);
    EXPECT_EQ(str_ncmp_nocase("ab", "abc", 10), 0 - 'C');
    EXPECT_EQ(str_ncmp_nocase("x", "y", 0), 0);
}

// ---------------------------------------------------------------------------
// The numeric name order
// ---------------------------------------------------------------------------

int sign(int v) { return (v > 0) - (v < 0); }

TEST(StrfuncNumeric, NumbersCompareByValue) {
    EXPECT_LT(str_cmp_numeric("file9", "file10"), 0);
    EXPECT_GT(str_cmp_numeric("file10", "file9"), 0);
    EXPECT_LT(str_cmp_numeric("a2", "a10"), 0);
    EXPECT_LT(str_cmp_numeric("x99y", "x100a"), 0);
    EXPECT_LT(str_cmp_numeric("v1.9", "v1.10"), 0);
}

TEST(StrfuncNumeric, LengthDifferenceOfDigitRunsIsTheResult) {
    EXPECT_EQ(str_cmp_numeric("a9", "a100"), 1 - 3);
    EXPECT_EQ(str_cmp_numeric("a1000", "a9"), 4 - 1);
}

TEST(StrfuncNumeric, LeadingZerosAreIgnored) {
    EXPECT_EQ(str_cmp_numeric("file010", "file10"), 0);
    EXPECT_EQ(str_cmp_numeric("file000", "file0"), 0);
    EXPECT_LT(str_cmp_numeric("file010a", "file10b"), 0);  // decided after the digits
    EXPECT_LT(str_cmp_numeric("a00", "a1"), 0);            // zeros keep one 0
    EXPECT_LT(str_cmp_numeric("a009", "a10"), 0);
}

TEST(StrfuncNumeric, EqualNumbersGoOnWithTheRest) {
    EXPECT_LT(str_cmp_numeric("12a", "12b"), 0);
    EXPECT_GT(str_cmp_numeric("12b3", "12b1"), 0);
    EXPECT_LT(str_cmp_numeric("7", "7x"), 0);  // after the run: terminator weighs 0
    EXPECT_EQ(str_cmp_numeric("12a3", "12a3"), 0);
    EXPECT_EQ(str_cmp_numeric("1.2", "01.02"), 0);
}

TEST(StrfuncNumeric, DifferingDigitDecidesByWeight) {
    EXPECT_EQ(str_cmp_numeric("a15", "a17"), W('5') - W('7'));
}

TEST(StrfuncNumeric, LettersCompareByCollation) {
    EXPECT_LT(str_cmp_numeric("Zebra", "apple"), 0);
    EXPECT_LT(str_cmp_numeric("\xC4", "B"), 0);  // Ä < B
    EXPECT_GT(str_cmp_numeric("\xE4", "B"), 0);  // ä > B
    EXPECT_LT(str_cmp_numeric("A", "\xC4"), 0);  // A < Ä
    EXPECT_LT(str_cmp_numeric("Stra\xDF" "e", "Strat"), 0);  // ß before t
    EXPECT_GT(str_cmp_numeric("Stra\xDF" "e", "Stras"), 0);  // ß after s
    EXPECT_EQ(str_cmp_numeric("ab", "ad"), W('b') - W('d'));
    EXPECT_LT(str_cmp_numeric("1", "A"), 0);  // digits before letters
}

TEST(StrfuncNumeric, PrefixSortsFirst) {
    EXPECT_LT(str_cmp_numeric("abc", "abcd"), 0);
    EXPECT_GT(str_cmp_numeric("abcd", "abc"), 0);
    EXPECT_LT(str_cmp_numeric("", "a"), 0);
    EXPECT_EQ(str_cmp_numeric("", ""), 0);
    EXPECT_EQ(str_cmp_numeric("abc", "abc"), 0);
}

TEST(StrfuncNumeric, IsAntisymmetric) {
    const char* names[] = {"a", "A", "a1", "a01", "a10", "a2", "b", "\xC4", "\xE4", "Zebra",
                           "apple", "file9", "file10", "file010", "x_", "x[", "", "9", "10"};
    for (const char* x : names) {
        for (const char* y : names) {
            EXPECT_EQ(sign(str_cmp_numeric(x, y)), -sign(str_cmp_numeric(y, x))) << x << " / " << y;
        }
    }
}

// ---------------------------------------------------------------------------
// Patterns
// ---------------------------------------------------------------------------

TEST(StrfuncPatterns, WildMatchWholeString) {
    EXPECT_TRUE(wild_match("*.c", "x.c"));
    EXPECT_FALSE(wild_match("*.c", "x.cpp"));
    EXPECT_TRUE(wild_match("*", ""));
    EXPECT_TRUE(wild_match("", ""));
    EXPECT_FALSE(wild_match("", "a"));
    EXPECT_TRUE(wild_match("a*", "a"));
    EXPECT_TRUE(wild_match("**a**", "bab"));
    EXPECT_TRUE(wild_match("a*b*c", "aXXbYYbc"));
    EXPECT_FALSE(wild_match("a*b*c", "aXXbYYb"));
    EXPECT_FALSE(wild_match("abc", "ab"));
}

TEST(StrfuncPatterns, QuestionMarkAndHash) {
    EXPECT_TRUE(wild_match("a?c", "abc"));
    EXPECT_FALSE(wild_match("a?c", "ac"));
    EXPECT_TRUE(wild_match("v#.#", "v1.2"));
    EXPECT_FALSE(wild_match("v#.#", "vx.2"));
    EXPECT_FALSE(wild_match("#", "12"));
    EXPECT_FALSE(wild_match("#", "\xB2"));  // superscript two is no digit
    EXPECT_TRUE(wild_match("*##", "abc42"));
    EXPECT_TRUE(wild_match("?", "\xE4"));
}

TEST(StrfuncPatterns, CaseOnlyIgnoredByNocaseForm) {
    EXPECT_FALSE(wild_match("*.c", "x.C"));
    EXPECT_TRUE(wild_match_nocase("*.c", "x.C"));
    EXPECT_TRUE(wild_match_nocase("*.TXT", "readme.txt"));
    EXPECT_TRUE(wild_match_nocase("\xE4*", "\xC4rger"));  // ä matches Ä
    EXPECT_FALSE(wild_match_nocase("#", "a"));
    EXPECT_FALSE(wild_match_nocase("*.c", "x.cc"));
}

TEST(StrfuncPatterns, HostilePatternFinishes) {
    std::string s(5000, 'a');
    EXPECT_FALSE(wild_match("*a*a*a*a*a*a*a*a*a*a*b", s.c_str()));
    EXPECT_FALSE(wild_match_nocase("*A*A*A*A*A*A*A*A*A*A*B", s.c_str()));
    s += 'b';
    EXPECT_TRUE(wild_match("*a*a*a*a*a*a*a*a*a*a*b", s.c_str()));
    std::string longStars;
    for (int i = 0; i < 200; ++i) longStars += "*?";
    EXPECT_TRUE(wild_match(longStars.c_str(), s.c_str()));
    EXPECT_FALSE(wild_match((longStars + "c").c_str(), s.c_str()));
}

TEST(StrfuncPatterns, MaskMatchPositionByPosition) {
    EXPECT_TRUE(mask_match("##.##.####", "05.12.2026"));
    EXPECT_FALSE(mask_match("##.##.####", "5.12.2026"));
    EXPECT_FALSE(mask_match("##.##.####", "05.12.20261"));
    EXPECT_FALSE(mask_match("##.##.####", "05-12-2026"));
    EXPECT_TRUE(mask_match("####-##-##", "2026-12-05"));
    EXPECT_FALSE(mask_match("####-##-##", "2026-1a-05"));
    EXPECT_TRUE(mask_match("a?c", "a\xE4" "c"));
    EXPECT_FALSE(mask_match("a*", "abc"));  // '*' is an ordinary character here
    EXPECT_TRUE(mask_match("a*", "a*"));
    EXPECT_TRUE(mask_match("", ""));
    EXPECT_FALSE(mask_match("A", "a"));
}

// ---------------------------------------------------------------------------
// Sorting
// ---------------------------------------------------------------------------

int cmp_names(const void* a, const void* b) {
    return str_cmp_numeric(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
}

int cmp_ints(const void* a, const void* b) {
    int x = *static_cast<const int*>(a);
    int y = *static_cast<const int*>(b);
    return (x > y) - (x < y);
}

TEST(StrfuncSort, NamesInNumericOrder) {
    const char* names[] = {"file10", "apple", "file9", "Zebra", "\xE4pfel", "file2", "B", "\xC4rger", "A"};
    shell_sort(names, 9, sizeof(names[0]), cmp_names);
    std::vector<std::string> got(names, names + 9);
    std::vector<std::string> want = {"A", "\xC4rger", "B", "Zebra", "apple", "\xE4pfel", "file2", "file9", "file10"};
    EXPECT_EQ(got, want);
}

TEST(StrfuncSort, FixedSizeRecordsSortInPlace) {
    // Name buffers of 12 bytes sorted as whole records.
    char recs[5][12] = {"x10", "x9", "x100", "x09b", "x1"};
    shell_sort(recs, 5, 12, [](const void* a, const void* b) {
        return str_cmp_numeric(static_cast<const char*>(a), static_cast<const char*>(b));
    });
    EXPECT_STREQ(recs[0], "x1");
    EXPECT_STREQ(recs[1], "x9");
    EXPECT_STREQ(recs[2], "x09b");
    EXPECT_STREQ(recs[3], "x10");
    EXPECT_STREQ(recs[4], "x100");
}

TEST(StrfuncSort, IntegersAscending) {
    int v[] = {5, -3, 9, 0, 9, 2, -8, 7, 1, 4, 6, 3};
    const int n = sizeof v / sizeof v[0];
    shell_sort(v, n, sizeof(int), cmp_ints);
    for (int i = 1; i < n; ++i) EXPECT_LE(v[i - 1], v[i]);
    EXPECT_EQ(v[0], -8);
    EXPECT_EQ(v[n - 1], 9);
}

TEST(StrfuncSort, ManyElementsAreAPermutationInOrder) {
    std::vector<int> v;
    for (int i = 0; i < 1000; ++i) v.push_back((i * 7919) % 1000);  // 0..999 shuffled
    shell_sort(v.data(), static_cast<int>(v.size()), sizeof(int), cmp_ints);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(v[i], i);
}

TEST(StrfuncSort, FewElementsOrZeroSizeAreHarmless) {
    int one[] = {42};
    shell_sort(one, 1, sizeof(int), cmp_ints);
    EXPECT_EQ(one[0], 42);
    shell_sort(one, 0, sizeof(int), cmp_ints);
    shell_sort(nullptr, 0, sizeof(int), cmp_ints);
    EXPECT_EQ(one[0], 42);
    int two[] = {2, 1};
    shell_sort(two, 2, 0, cmp_ints);
    EXPECT_EQ(two[0], 2);
    EXPECT_EQ(two[1], 1);
    shell_sort(two, 2, sizeof(int), cmp_ints);
    EXPECT_EQ(two[0], 1);
    EXPECT_EQ(two[1], 2);
}

}  // namespace
