// The string and character functions, the number readers, the status bar widths, dialog units and the help
// target; a Windows-1252 escape followed by a hex digit letter closes its literal.
#include "support/strfunc.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "support/platform.h"
#include "support/status.h"

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
    str_pad(d + 10, "ab", 3);  // from another string
    EXPECT_STREQ(d + 10, "ab ");
    EXPECT_EQ(str_end(d) + (str_end(static_cast<const char*>(d)) - d), d + 16);
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

TEST(Status, NumberReadersSkipBlanksTakeASignAndClamp) {
    struct Row { const char* in; long value; double real; };
    static const Row rows[] = {
        {"  -12.5x", -12, -12.5}, {"\t+7", 7, 7}, {"- 5", 0, 0}, {"--5", 0, 0},
        {"2147483648", INT_MAX, 2147483648.0}, {"-2147483649", INT_MIN, -2147483649.0},
        {"-.5e-1", 0, -0.05}, {"1e+", 1, 1}, {"1,5", 1, 1}, {".", 0, 0}, {"inf", 0, 0}, {"1e999", 1, HUGE_VAL},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(read_int(r.in), r.value) << r.in;
        EXPECT_EQ(read_double(r.in), r.real) << r.in;
    }
    EXPECT_EQ(read_long("99999999999999999999999999"), LONG_MAX);
    EXPECT_EQ(read_long("-99999999999999999999999999"), LONG_MIN);
}

TEST(Status, WidthsAreRunningSumsOfAtMostTenAndUnitsRoundToPixels) {
    struct Row { std::string text; std::vector<int> edges; };
    const Row rows[] = {
        {"\t 5\t\t10   ", {5, 15}}, {"", {}}, {"12abc 60", {}}, {"-5 10", {}}, {"12 60,120", {12}},
        {"1 2 3 4 5 6 7 8 9 10 11 12", {1, 3, 6, 10, 15, 21, 28, 36, 45, 55}},
        {"99999999999999999999 1", {STATUS_MAX_WIDTH, STATUS_MAX_WIDTH + 1}},
    };
    for (const Row& r : rows) {
        int edges[STATUS_MAX_WIDTHS];  // exactly ten: a write beyond fails under ASan
        ASSERT_EQ(parse_status_widths(r.text.c_str(), edges), static_cast<int>(r.edges.size())) << r.text;
        EXPECT_EQ(std::vector<int>(edges, edges + r.edges.size()), r.edges) << r.text;
    }
    struct Units { int units, height, pixels; };
    static const Units units[] = {{12, 16, 24}, {12, 13, 20}, {5, 13, 8}, {-12, 13, -20},
                                  {INT_MAX, 16, INT_MAX}, {INT_MIN, 16, INT_MIN}};  // no wrap-around
    for (const Units& u : units) EXPECT_EQ(units_to_pixels(u.units, u.height), u.pixels) << u.units << " " << u.height;
}

// Without a program path and without a file there is no target.
TEST(Status, HelpTargetIsTheProgramsChmOrTheGivenFileAndNothingWhenItCannotFit) {
    const std::string longest = "C:\\" + std::string(FILE_PATH_MAX - 7, 'p') + ".exe";
    const std::string chm = longest.substr(0, longest.size() - 3) + "chm";
    const std::string field(FIELD_TEXT_MAX, 't');
    struct Row { const char* file; std::string program; const char* topic; int size; std::string target; };
    const Row rows[] = {
        {"", "C:\\y8\\y8.exe", "DB1100", HELP_TARGET_SIZE, "C:\\y8\\y8.chm::/DB1100.html"},
        {nullptr, "C:\\tools.d\\y8", "", HELP_TARGET_SIZE, "C:\\tools.d\\y8.chm"},  // a dot in a directory
        {"D:\\doc\\readme.txt", "C:\\y8\\y8.exe", nullptr, HELP_TARGET_SIZE, "D:\\doc\\readme.txt"},
        {nullptr, "", "DB1100", HELP_TARGET_SIZE, ""},
        {nullptr, longest, nullptr, HELP_TARGET_SIZE, chm},
        {nullptr, "C:\\" + std::string(FILE_PATH_MAX - 5, 'p'), nullptr, HELP_TARGET_SIZE, ""},  // 4 too many
        {nullptr, longest, field.c_str(), HELP_TARGET_SIZE, chm + "::/" + field + ".html"},  // fills it exactly
        {nullptr, "C:\\y8\\y8.exe", "DB1100", 20, ""},  // too small for the page: nothing, never cut
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.target);
        char buf[HELP_TARGET_SIZE];
        const int result = help_target(buf, r.size, r.file, r.program.empty() ? nullptr : r.program.c_str(), r.topic);
        EXPECT_EQ(result, r.target.empty() ? -1 : 0);
        EXPECT_EQ(buf, r.target);
    }
}

}  // namespace
