// Tests of the string and character functions.
//
// Windows-1252 characters are written as \xNN escapes; an escape that is
// followed by a hex digit letter is closed by splitting the literal.
#include "support/strfunc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

int W(int ch) { return collation_weight(ch); }
int sign(int v) { return (v > 0) - (v < 0); }

// ---------------------------------------------------------------------------
// Character classes, case folding and collation
// ---------------------------------------------------------------------------

TEST(StrfuncChars, ClassesAndFoldingOverAllCodes) {
    for (int c = 0; c < 256; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(is_white(c), c == ' ' || (c >= 9 && c <= 13));
        EXPECT_EQ(is_digit(c), c >= '0' && c <= '9');
        // ÷ folds like a letter (to ×); ÿ and ß have no capital here.
        EXPECT_EQ(upper_char(c), (c >= 'a' && c <= 'z') || (c >= 224 && c <= 254) ? c - 32 : c);
        EXPECT_EQ(lower_char(c), (c >= 'A' && c <= 'Z') || (c >= 192 && c <= 222) ? c + 32 : c);
    }
    // Bytes 128-255 arrive as negative char values too.
    EXPECT_FALSE(is_white(static_cast<char>(0xA0)));
    EXPECT_FALSE(is_digit(static_cast<char>(0xB2)));
    EXPECT_EQ(upper_char(static_cast<char>(0xE4)), 0xC4);
    EXPECT_EQ(lower_char(static_cast<char>(0xC4)), 0xE4);
    EXPECT_EQ(upper_char(static_cast<char>(0xFF)), 0xFF);
    EXPECT_EQ(collation_weight(static_cast<char>(0xE4)), collation_weight(0xE4));
}

TEST(StrfuncCollation, APermutationInTheNameOrder) {
    std::vector<int> seen(256, 0);
    for (int c = 0; c < 256; ++c) {
        ASSERT_GE(W(c), 0);
        ASSERT_LE(W(c), 255);
        ++seen[W(c)];
        if (c <= 65) { EXPECT_EQ(W(c), c); }                           // up to A: the code
        if (c >= 91 && c <= 96) { EXPECT_EQ(W(c), W('Z') + 1 + (c - 91)); }  // punctuation after Z
        if (c >= 123 && c <= 191) { EXPECT_EQ(W(c), W('z') + 1 + (c - 123)); }
    }
    for (int w = 0; w < 256; ++w) EXPECT_EQ(seen[w], 1) << "weight " << w;
    // Accented forms follow their letter: {code, letter, offset}.
    struct Row { int code, base, offset; };
    static const Row rows[] = {
        {0xC0, 'A', 1},  {0xC7, 'C', 1},  {0xD0, 'D', 1},  {0xD1, 'N', 1},  {0xD8, 'P', -1},
        {0xDD, 'Z', -1}, {0xE0, 'a', 1},  {0xE4, 'a', 5},  {0xFF, 'z', -1}, {0xFD, 'z', -2},
        {0xDF, 's', 1},  {'t', 0xDF, 1},  {'a', 96, 1},
    };
    for (const Row& r : rows) EXPECT_EQ(W(r.code), W(r.base) + r.offset) << "code " << r.code;
    EXPECT_LT(W(0xC6), W('B'));
    EXPECT_EQ(W('Z'), 119);
    EXPECT_EQ(W('a'), 126);
    EXPECT_EQ(W(0xD7), 252);  // × Þ ÷ þ come last
    EXPECT_EQ(W(0xDE), 253);
    EXPECT_EQ(W(0xF7), 254);
    EXPECT_EQ(W(0xFE), 255);
}

// ---------------------------------------------------------------------------
// Numbers and memory
// ---------------------------------------------------------------------------

TEST(StrfuncNumbers, MinMaxAbsAndHex) {
    EXPECT_EQ(min_int(3, -2), -2);
    EXPECT_EQ(max_int(3, -2), 3);
    EXPECT_EQ(abs_int(-7), 7);
    EXPECT_EQ(abs_int(0), 0);
    EXPECT_EQ(abs_int(INT_MIN), INT_MIN);  // no overflow trap
    struct Row { const char* in; long out; };
    static const Row rows[] = {
        {"1F", 31}, {"ff", 255}, {" \t\r\n7fZ9", 127}, {"aBc", 0xABC}, {"10 20", 16}, {"0x1F", 0},
        {"G1", 0},  {"", 0},     {"   ", 0},           {"-5", 0},      {"7FFFFFFF", 0x7FFFFFFF},
    };
    for (const Row& r : rows) EXPECT_EQ(hex_to_int(r.in), r.out) << '"' << r.in << '"';
}

TEST(StrfuncMemory, MoveAndFill) {
    char dst[8] = "xxxxxxx";
    EXPECT_EQ(mem_move("hello", dst, 3), dst + 3);  // source first, returns the end
    EXPECT_EQ(std::string(dst), "helxxxx");
    EXPECT_EQ(mem_move("zz", dst, 0), dst);
    char up[] = "abcdef..";
    mem_move(up, up + 2, 6);
    EXPECT_EQ(std::string(up, 8), "ababcdef");
    char down[] = "..abcdef";
    mem_move(down + 2, down, 6);
    EXPECT_EQ(std::string(down, 8), "abcdefef");

    char buf[8] = "abcdefg";
    mem_fill(buf + 1, 3, '-');
    mem_fill(buf, 0, '!');
    EXPECT_EQ(std::string(buf), "a---efg");  // no terminator written
    str_fill(buf, 2, 0xC4);
    EXPECT_EQ(std::string(buf), "\xC4\xC4");
    str_fill(buf, 0, '*');
    EXPECT_EQ(std::string(buf), "");
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
// Editing in place
// ---------------------------------------------------------------------------

TEST(StrfuncEditing, TrimAndUpper) {
    struct Row { const char* in; bool right; const char* out; int result; };
    static const Row rows[] = {
        {" \t\n\v\f\rab c\r\n\t ", false, "ab c", 1},  // all six white space characters
        {" \t  \t", false, "", 0},
        {"", false, "", 0},
        {"\xA0x\xA0", false, "\xA0x\xA0", 1},  // no-break spaces are no white space
        {"  ab \t", true, "  ab", 1},
        {" \r\n", true, "", 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.in);
        char s[32];
        std::strcpy(s, r.in);
        EXPECT_EQ(r.right ? str_trim_right(s) : str_trim(s), r.result);
        EXPECT_STREQ(s, r.out);
    }
    char s[] = "abc \xE4\xF6\xFC\xDF\xFF 1z";
    str_upper(s);
    EXPECT_STREQ(s, "ABC \xC4\xD6\xDC\xDF\xFF 1Z");
}

TEST(StrfuncEditing, PadDeleteInsertAndCopy) {
    char d[32];
    struct Pad { const char* in; int width; const char* out; };
    for (const Pad& r : {Pad{"abc", 5, "abc  "}, Pad{"abc", 2, "ab"}, Pad{"", 3, "   "}, Pad{"abc", 0, ""}}) {
        str_pad(d, r.in, r.width);
        EXPECT_STREQ(d, r.out) << r.in << " " << r.width;
    }
    std::strcpy(d, "ab");
    str_pad(d, d, 4);  // in place
    EXPECT_STREQ(d, "ab  ");

    struct Del { int pos, n; const char* out; };
    for (const Del& r : {Del{1, 2, "adef"}, Del{2, 99, "ab"}, Del{6, 1, "abcdef"}, Del{10, 1, "abcdef"},
                         Del{0, 0, "abcdef"}, Del{-1, 2, "abcdef"}, Del{1, -2, "abcdef"}}) {
        std::strcpy(d, "abcdef");
        str_delete(d, r.pos, r.n);
        EXPECT_STREQ(d, r.out) << r.pos << " " << r.n;
    }

    struct Ins { const char* ins; int pos; const char* out; };
    for (const Ins& r : {Ins{"XY", 1, "aXYbc"}, Ins{"<", -5, "<abc"}, Ins{">", 99, "abc>"}, Ins{"", 2, "abc"}}) {
        std::strcpy(d, "abc");
        str_insert(r.ins, d, r.pos);
        EXPECT_STREQ(d, r.out) << r.ins << " " << r.pos;
    }
    std::strcpy(d, "");
    str_insert("hi", d, 0);
    EXPECT_STREQ(d, "hi");
    std::strcpy(d, "abcdef");
    str_insert(d + 1, d, 3);  // a part of the same string
    EXPECT_STREQ(d, "abcbcdefdef");
    std::strcpy(d, "abcdef");
    str_insert(d + 4, d, 2);
    EXPECT_STREQ(d, "abefcdef");

    std::memset(d, 'x', sizeof d);
    EXPECT_EQ(str_ncopy(d, "abcdef", 3), 3);  // always terminated
    EXPECT_STREQ(d, "abc");
    EXPECT_EQ(str_ncopy(d, "ab", 5), 2);
    EXPECT_EQ(str_ncopy(d, "ab", 0), 0);
    EXPECT_STREQ(d, "");
}

TEST(StrfuncEditing, OverlayFillsOnlyBlanksOfTheTemplate) {
    struct Row { const char* mask; const char* src; const char* out; };
    static const Row rows[] = {
        {"  .  .    ", "05x12y2026", "05.12.2026"},
        {"a b c", "XYZ", "aYb c"},  // stops where src ends
        {"\t ", "12", "\t2"},       // only blanks, not other white space
    };
    for (const Row& r : rows) {
        char s[16];
        std::strcpy(s, r.mask);
        str_overlay(s, r.src);
        EXPECT_STREQ(s, r.out) << r.mask;
    }
}

TEST(StrfuncEditing, NextWordAndCutFieldTakeOnePieceAtATime) {
    char s[] = "  eins\tzwei  \r\n drei  ";
    char w[32];
    EXPECT_EQ(str_next_word(w, s), 4);
    EXPECT_STREQ(w, "eins");
    EXPECT_STREQ(s, "zwei  \r\n drei");
    EXPECT_EQ(str_next_word(w, s), 4);
    EXPECT_EQ(str_next_word(w, s), 4);
    EXPECT_STREQ(w, "drei");
    EXPECT_STREQ(s, "");
    EXPECT_EQ(str_next_word(w, s), 0);
    EXPECT_STREQ(w, "");

    // The first character is the delimiter; ;; is an empty field; the last runs to the end.
    char f[] = ";x,y;;z";
    for (const char* want : {"x,y", "", "z", ""}) {
        str_cut_field(w, f);
        EXPECT_STREQ(w, want);
    }
    EXPECT_STREQ(f, "");
    char g[] = "|a|";
    str_cut_field(w, g);
    EXPECT_STREQ(g, "|");
    str_cut_field(w, g);
    EXPECT_STREQ(w, "");
    EXPECT_STREQ(g, "");
}

// ---------------------------------------------------------------------------
// Searching and comparing
// ---------------------------------------------------------------------------

TEST(StrfuncSearch, FindIndexAndBlank) {
    char s[] = "abc";
    EXPECT_EQ(str_end(s), s + 3);
    EXPECT_EQ(str_end(static_cast<const char*>(s)), s + 3);
    EXPECT_EQ(str_index("abcb", 'b'), 1);
    EXPECT_EQ(str_index("abc", 0), -1);
    EXPECT_EQ(str_index("a\xE4", static_cast<char>(0xE4)), 1);

    struct Row { int (*fn)(const char*, const char*); const char* s; const char* sub; int at; };
    static const Row rows[] = {
        {str_find, "abcabc", "bc", 1},  {str_find, "abc", "abcd", -1}, {str_find, "abc", "C", -1},
        {str_find, "", "", 0},          {str_find, "", "a", -1},       {str_find, "aab", "ab", 1},
        {str_find_nocase, "Hallo Welt", "WELT", 6},  {str_find_nocase, "Gr\xFC\xDF" "e", "\xDC\xDF", 2},
        {str_find_nocase, "abc", "x", -1},           {str_find_nocase, "abc", "", 0},
        {str_rfind, "ab", "ab", -1},  // sub must be shorter than s
        {str_rfind, "abab", "ab", 2}, {str_rfind, "abcab", "ab", 3}, {str_rfind, "abc", "x", -1},
        {str_rfind, "a", "abc", -1},  {str_rfind, "", "", -1},       {str_rfind, "abc", "", 3},
    };
    for (const Row& r : rows) EXPECT_EQ(r.fn(r.s, r.sub), r.at) << '"' << r.s << "\" / \"" << r.sub << '"';

    EXPECT_TRUE(str_is_blank(""));
    EXPECT_TRUE(str_is_blank(" \t\r\n\v\f"));
    EXPECT_FALSE(str_is_blank("  x "));
    EXPECT_FALSE(str_is_blank("\xA0"));
    EXPECT_TRUE(is_blank_n("abc", 0));
    EXPECT_TRUE(is_blank_n("abc", -3));
    EXPECT_TRUE(is_blank_n("  x", 2));
    EXPECT_FALSE(is_blank_n("  x", 3));
    EXPECT_FALSE(is_blank_n("  ", 3));  // the terminator is not white space
}

TEST(StrfuncCompare, NocaseGivesTheDifferenceOfFoldedCharacters) {
    struct Row { const char* a; const char* b; int n; int result; };  // n < 0: the whole strings
    static const Row rows[] = {
        {"abc", "ABC", -1, 0},          {"\xE4", "\xC4", -1, 0},      {"abd", "ABB", -1, 'D' - 'B'},
        {"ab", "abc", -1, -'C'},        {"abc", "ab", -1, 'C'},       {"a[", "A{", -1, '[' - '{'},
        {"\xE4", "a", -1, 0xC4 - 'A'},  // positive: bytes are unsigned
        {"abcX", "ABCy", 3, 0},         {"abcX", "ABCz", 4, 'X' - 'Z'}, {"ab", "abc", 10, -'C'},
        {"ab", "ab", 10, 0},  // equal up to the terminator
        {"x", "y", 0, 0},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.n < 0 ? str_cmp_nocase(r.a, r.b) : str_ncmp_nocase(r.a, r.b, r.n), r.result)
            << r.a << " / " << r.b << " " << r.n;
    }
}

// ---------------------------------------------------------------------------
// The numeric name order
// ---------------------------------------------------------------------------

TEST(StrfuncNumeric, NumbersByValueLettersByCollation) {
    struct Row { const char* a; const char* b; int sign; };
    static const Row rows[] = {
        {"file9", "file10", -1},   {"x99y", "x100a", -1},   {"v1.9", "v1.10", -1},
        {"file010", "file10", 0},  {"file000", "file0", 0}, {"file010a", "file10b", -1},  // leading zeros ignored
        {"a00", "a1", -1},         {"a009", "a10", -1},     {"12b3", "12b1", 1},
        {"7", "7x", -1},           {"1.2", "01.02", 0},     {"Zebra", "apple", -1},
        {"\xC4", "B", -1},         {"\xE4", "B", 1},        {"A", "\xC4", -1},
        {"Stra\xDF" "e", "Strat", -1}, {"Stra\xDF" "e", "Stras", 1}, {"1", "A", -1},
        {"abc", "abcd", -1},       {"", "a", -1},           {"", "", 0},
    };
    for (const Row& r : rows) EXPECT_EQ(sign(str_cmp_numeric(r.a, r.b)), r.sign) << r.a << " / " << r.b;
    // The result: the length difference of the digit runs, else the weight difference.
    EXPECT_EQ(str_cmp_numeric("a9", "a100"), 1 - 3);
    EXPECT_EQ(str_cmp_numeric("a1000", "a9"), 4 - 1);
    EXPECT_EQ(str_cmp_numeric("a15", "a17"), W('5') - W('7'));
    EXPECT_EQ(str_cmp_numeric("ab", "ad"), W('b') - W('d'));
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

TEST(StrfuncPatterns, WildAndMaskMatch) {
    struct Row { bool (*fn)(const char*, const char*); const char* pattern; const char* text; bool match; };
    static const Row rows[] = {
        {wild_match, "*.c", "x.c", true},        {wild_match, "*.c", "x.cpp", false},
        {wild_match, "*", "", true},             {wild_match, "", "", true},
        {wild_match, "", "a", false},            {wild_match, "**a**", "bab", true},
        {wild_match, "a*b*c", "aXXbYYbc", true}, {wild_match, "a*b*c", "aXXbYYb", false},
        {wild_match, "abc", "ab", false},        {wild_match, "a?c", "abc", true},
        {wild_match, "a?c", "ac", false},        {wild_match, "v#.#", "v1.2", true},
        {wild_match, "v#.#", "vx.2", false},     {wild_match, "#", "12", false},
        {wild_match, "#", "\xB2", false},        {wild_match, "*##", "abc42", true},
        {wild_match, "?", "\xE4", true},         {wild_match, "*.c", "x.C", false},
        {wild_match_nocase, "*.c", "x.C", true}, {wild_match_nocase, "\xE4*", "\xC4rger", true},
        {wild_match_nocase, "#", "a", false},    {wild_match_nocase, "*.c", "x.cc", false},
        {mask_match, "##.##.####", "05.12.2026", true},   {mask_match, "##.##.####", "5.12.2026", false},
        {mask_match, "##.##.####", "05.12.20261", false}, {mask_match, "##.##.####", "05-12-2026", false},
        {mask_match, "a?c", "a\xE4" "c", true},  {mask_match, "a*", "abc", false},  // '*' is ordinary here
        {mask_match, "a*", "a*", true},          {mask_match, "", "", true},
        {mask_match, "A", "a", false},
    };
    for (const Row& r : rows) EXPECT_EQ(r.fn(r.pattern, r.text), r.match) << r.pattern << " / " << r.text;
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

// ---------------------------------------------------------------------------
// Sorting
// ---------------------------------------------------------------------------

int cmp_ints(const void* a, const void* b) {
    int x = *static_cast<const int*>(a);
    int y = *static_cast<const int*>(b);
    return (x > y) - (x < y);
}

TEST(StrfuncSort, ShellSortOrdersRecordsOfAnySize) {
    const char* names[] = {"file10", "apple", "file9", "Zebra", "\xE4pfel", "file2", "B", "\xC4rger", "A"};
    shell_sort(names, 9, sizeof(names[0]), [](const void* a, const void* b) {
        return str_cmp_numeric(*static_cast<const char* const*>(a), *static_cast<const char* const*>(b));
    });
    EXPECT_EQ(std::vector<std::string>(names, names + 9),
              (std::vector<std::string>{"A", "\xC4rger", "B", "Zebra", "apple", "\xE4pfel", "file2", "file9", "file10"}));

    char recs[5][12] = {"x10", "x9", "x100", "x09b", "x1"};  // whole 12-byte records
    shell_sort(recs, 5, 12, [](const void* a, const void* b) {
        return str_cmp_numeric(static_cast<const char*>(a), static_cast<const char*>(b));
    });
    const char* sorted[] = {"x1", "x9", "x09b", "x10", "x100"};
    for (int i = 0; i < 5; ++i) EXPECT_STREQ(recs[i], sorted[i]);

    std::vector<int> v;
    for (int i = 0; i < 1000; ++i) v.push_back((i * 7919) % 1000);  // 0..999 shuffled
    shell_sort(v.data(), static_cast<int>(v.size()), sizeof(int), cmp_ints);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(v[i], i);

    // Few elements or a zero size are harmless.
    shell_sort(nullptr, 0, sizeof(int), cmp_ints);
    int two[] = {2, 1};
    shell_sort(two, 1, sizeof(int), cmp_ints);
    shell_sort(two, 2, 0, cmp_ints);
    EXPECT_EQ(two[0], 2);
    shell_sort(two, 2, sizeof(int), cmp_ints);
    EXPECT_EQ(two[0], 1);
    EXPECT_EQ(two[1], 2);
}

}  // namespace
