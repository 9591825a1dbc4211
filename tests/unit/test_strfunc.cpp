// The string and character functions; a Windows-1252 escape followed by a hex digit letter closes its literal.
#include "support/strfunc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

namespace {

int W(int ch) { return collation_weight(ch); }
int sign(int v) { return (v > 0) - (v < 0); }

TEST(Strfunc, NumbersHexAndEditingInPlace) {
    EXPECT_EQ(std::make_tuple(abs_int(-7), abs_int(7), abs_int(INT_MIN)), std::make_tuple(7, 7, INT_MIN));  // no trap
    struct Hex { const char* in; long out; };
    static const Hex hex[] = {{" \t\r\n7fZ9", 127}, {"aBc", 0xABC}, {"0x1F", 0}, {"G1", 0}};
    for (const Hex& r : hex) EXPECT_EQ(hex_to_int(r.in), r.out) << '"' << r.in << '"';

    struct Row { const char* in; int op; int a, b; const char* out; };  // op: pad, delete, insert
    static const Row rows[] = {
        {"abc", 0, 5, 0, "abc  "},        {"abc", 0, 2, 0, "ab"},            {"abcdef", 1, 1, 2, "adef"},
        {"abcdef", 1, 2, 99, "ab"},       {"abcdef", 1, 6, 1, "abcdef"},     {"abcdef", 1, -1, 2, "abcdef"},
        {"abcdef", 1, 1, -2, "abcdef"},   {"abc", 2, -5, 0, "XYabc"},        {"abc", 2, 99, 0, "abcXY"},
    };
    char d[32];
    for (const Row& r : rows) {
        std::strcpy(d, r.in);
        (r.op == 0 ? str_pad(d, d, r.a) : r.op == 1 ? str_delete(d, r.a, r.b) : str_insert("XY", d, r.a));
        EXPECT_STREQ(d, r.out) << r.in << " op " << r.op << " " << r.a;
    }
    std::strcpy(d, "abcdef");
    str_insert(d + 1, d, 3);  // a part of the same string
    EXPECT_STREQ(d, "abcbcdefdef");
    std::strcpy(d, "abcdef");
    str_insert(d + 4, d, 2);
    EXPECT_STREQ(d, "abefcdef");
    str_insert("", d, 2);
    str_pad(d + 10, "ab", 3);  // from another string
    EXPECT_STREQ(d + 10, "ab ");
    EXPECT_EQ(str_end(d) + (str_end(static_cast<const char*>(d)) - d), d + 16);
    str_fill(d, 2, 0xC4);
    EXPECT_STREQ(d, "\xC4\xC4");
    char s[] = "abc \xE4\xDF\xFF 1z";
    str_upper(s);
    EXPECT_STREQ(s, "ABC \xC4\xDF\xFF 1Z");
    std::strcpy(d, "a b  c");
    str_overlay(d, "XYZ\t");  // only blanks of the template, up to the source's end
    EXPECT_STREQ(d, "aYb\t c");
}

TEST(Strfunc, FindFromTheRight) {
    EXPECT_EQ(str_index("abcb", 'b'), 1);
    struct Row { int (*fn)(const char*, const char*); const char* s; const char* sub; int at; };
    static const Row rows[] = {
        {str_find, "abc", "abcd", -1}, {str_find, "", "a", -1}, {str_find, "", "", 0},
        {str_find_nocase, "Gr\xFC\xDF" "e", "\xDC\xDF", 2},
        {str_rfind, "ab", "ab", -1},  // sub must be shorter than s
        {str_rfind, "abcab", "ab", 3}, {str_rfind, "abc", "x", -1}, {str_rfind, "abc", "", 3},
    };
    for (const Row& r : rows) EXPECT_EQ(r.fn(r.s, r.sub), r.at) << '"' << r.s << "\" / \"" << r.sub << '"';
}

TEST(Strfunc, CompareWithoutCaseAndInTheNumericNameOrder) {
    EXPECT_EQ(str_ncmp_nocase("ab", "AB", 10), 0);  // equal up to the terminator
    EXPECT_EQ(str_ncmp_nocase("\xE4X", "\xC4Y", 1), 0);
    // Numbers by value (the result: the length difference of the digit runs), letters by collation.
    struct Num { const char* a; const char* b; int result; };
    static const Num nums[] = {
        {"a9", "a100", 1 - 3}, {"a1000", "a9", 4 - 1}, {"a15", "a17", W('5') - W('7')}, {"file010", "file10", 0},
        {"file000", "file0", 0}, {"a009", "a10", -1}, {"1.2", "01.02", 0}, {"7", "7x", -1}, {"1", "A", -1},
        {"12b3", "12b1", 1}, {"x99y", "x100a", -1}, {"\xE4", "B", 1}, {"", "", 0}, {"Stra\xDF" "e", "Strat", -1},
        {"a", "\xE4", -1}, {"\xD8", "P", -1}, {"Z", "[", -1},  // accented letters follow their letter
    };
    for (const Num& r : nums) {
        SCOPED_TRACE(std::string(r.a) + " / " + r.b);
        const int result = str_cmp_numeric(r.a, r.b);
        EXPECT_EQ(r.result == 1 || r.result == -1 ? sign(result) : result, r.result);
        EXPECT_EQ(sign(str_cmp_numeric(r.b, r.a)), -sign(result));
    }
}

TEST(Strfunc, WildAndMaskMatchAndAHostilePatternFinishes) {
    struct Row { bool (*fn)(const char*, const char*); const char* pattern; const char* text; bool match; };
    static const Row rows[] = {
        {wild_match, "*", "", true},             {wild_match, "", "a", false},
        {wild_match, "**a**", "bab", true},      {wild_match, "a*b*c", "aXXbYYbc", true},
        {wild_match, "a*b*c", "aXXbYYb", false}, {wild_match, "abc", "ab", false},
        {wild_match, "a?c", "ac", false},        {wild_match, "v#.#", "v1.2", true},
        {wild_match, "#", "\xB2", false},        {wild_match, "*.c", "x.C", false},
        {wild_match_nocase, "\xE4*", "\xC4rger", true}, {wild_match_nocase, "#", "a", false},
        {mask_match, "##.##.####", "05.12.2026", true}, {mask_match, "##.##.####", "05.12.20261", false},
        {mask_match, "##", "5", false},          {mask_match, "##", "0x", false},
        {mask_match, "a?c", "a\xE4" "c", true},  {mask_match, "a*", "abc", false}, {mask_match, "A", "a", false},
    };
    for (const Row& r : rows) EXPECT_EQ(r.fn(r.pattern, r.text), r.match) << r.pattern << " / " << r.text;
    std::string s(5000, 'a');
    EXPECT_FALSE(wild_match_nocase("*A*A*A*A*A*A*A*A*A*A*B", s.c_str()));
    std::string stars;
    for (int i = 0; i < 200; ++i) stars += "*?";
    EXPECT_TRUE(wild_match(stars.c_str(), s.c_str()));
    EXPECT_FALSE(wild_match((stars + "c").c_str(), s.c_str()));
}

// The word-at-a-time searches against a byte-by-byte model, over texts whose
// buffers end exactly at `to` (the sanitizer sees any read beyond), with the
// sought bytes at every offset within and across the eight-byte steps.
TEST(Strfunc, WordSearchesAgreeWithAByteModel) {
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
    EXPECT_EQ(mem_find_pair("a\xFF\xFF--------", 0, 11, 0xFF), 1);  // other bytes than blanks pair too
    EXPECT_EQ(mem_find_control("abcdefgh\x7F\x1F", 10), 9);
}

}  // namespace
