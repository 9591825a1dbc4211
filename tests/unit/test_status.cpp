// The date and number texts, the number readers, the status bar widths, dialog units, the help target.
#include "support/status.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "support/platform.h"

namespace {

TEST(Status, DatesWithLeadingZerosAndTodayIsTheLocalTime) {
    struct Row { TimeRecord t; const char* text; };
    static const Row rows[] = {
        {{}, "00.00.0000 00:00"}, {{1, 1, 1, 0, 0, 0}, "01.01.1901 00:00"},  // year zero; no seconds
        {{255, 255, 255, 255, 255, 255}, "255.255.2155 255:255"},
    };
    char buf[DATE_TEXT_SIZE];
    for (const Row& r : rows) {
        format_datetime(buf, &r.t);
        EXPECT_STREQ(buf, r.text);
        format_datetime_wide(buf, &r.t);
        EXPECT_EQ(buf, std::string(r.text).insert(std::strcspn(r.text, " "), " "));
    }
    TimeRecord now;
    current_time(&now);
    const std::time_t seconds = std::time(nullptr);
    EXPECT_EQ(now.year, std::localtime(&seconds)->tm_year);
}

// size 0: a whole field, and the text reads back.
TEST(Status, FixedTextsRoundAsPrintfAndNeverCutANumber) {
    struct Row { double value; int size; const char* text; };
    static const Row rows[] = {
        {-0.004, 80, "0.00"}, {-0.006, 80, "-0.01"},  // a minus rounded to zero goes
        {2.675, 80, "2.67"},  {-1e20, 0, "-100000000000000000000.00"},
        {1e300, 0, "1e+300"},  // 303 characters: too long for a field
        {123456.0, 8, "123456"}, {12.5, 8, "12.50"},  // a small buffer takes the short form
    };
    char buf[FIXED_TEXT_SIZE];
    for (const Row& r : rows) {
        format_fixed(buf, r.size == 0 ? FIXED_TEXT_SIZE : r.size, r.value);
        EXPECT_STREQ(buf, r.text);
        if (r.size == 0) {
            EXPECT_DOUBLE_EQ(read_double(buf), r.value) << buf;
        }
    }
    format_fixed(buf, FIXED_TEXT_SIZE, 1e77);  // 77 digits and ".00" fill a field exactly
    EXPECT_EQ(std::strlen(buf), 80u);
    format_fixed(buf, FIXED_TEXT_SIZE, -HUGE_VAL);  // no digit, but no zero: it keeps its sign
    EXPECT_TRUE(buf[0] == '-' && buf[1] != '\0') << buf;
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

// Without a program path only a given file is a target.
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
        EXPECT_EQ(help_target(buf, r.size, r.file, "", r.topic), r.file && *r.file ? result : -1);
    }
    EXPECT_EQ((chm + "::/" + field + ".html").size(), HELP_TARGET_SIZE - 1u);
}

}  // namespace
