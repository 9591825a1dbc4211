// Tests of the status bar widths, the control value texts, the date texts and
// the help target.
#include "support/status.h"

#include "support/platform.h"
#include "host/headless_status.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

namespace {

std::string datetime(const TimeRecord& t) {
    char buf[DATE_TEXT_SIZE];
    format_datetime(buf, &t);
    return buf;
}

std::string datetime_wide(const TimeRecord& t) {
    char buf[DATE_TEXT_SIZE];
    format_datetime_wide(buf, &t);
    return buf;
}

std::string fixed(double value, int size = FIXED_TEXT_SIZE) {
    char buf[FIXED_TEXT_SIZE];
    format_fixed(buf, size, value);
    return buf;
}

std::string target(const char* file, const char* program, const char* topic,
                   int size = HELP_TARGET_SIZE, int* result = nullptr) {
    char buf[HELP_TARGET_SIZE];
    std::memset(buf, 'x', sizeof buf);
    int r = help_target(buf, size, file, program, topic);
    if (result) *result = r;
    return buf;
}

// ---------------------------------------------------------------------------
// Dates and times
// ---------------------------------------------------------------------------

TEST(StatusDates, FormatsWithLeadingZerosWithinTheBuffer) {
    struct Row { TimeRecord t; const char* text; };
    static const Row rows[] = {
        {{}, "00.00.0000 00:00"},  // an empty record: year zero
        {{126, 12, 5, 7, 30, 59}, "05.12.2026 07:30"},  // seconds are not shown
        {{1, 1, 1, 0, 0, 0}, "01.01.1901 00:00"},       // a year byte of 1 is 1901
        {{255, 9, 30, 23, 59, 0}, "30.09.2155 23:59"},
        {{255, 255, 255, 255, 255, 255}, "255.255.2155 255:255"},  // every byte at its largest
    };
    for (const Row& r : rows) {
        EXPECT_EQ(datetime(r.t), r.text);
        std::string wide = r.text;
        EXPECT_EQ(datetime_wide(r.t), wide.insert(wide.find(' '), " "));
    }
}

// Runs check(record) with the local time sampled around it; retries when the
// minute changed meanwhile, so that a test never straddles a boundary.
template <typename Check>
void with_stable_minute(Check check) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::time_t before = std::time(nullptr);
        std::tm expected = *std::localtime(&before);
        bool matched = check(expected);
        std::time_t after = std::time(nullptr);
        if (before / 60 == after / 60) {
            EXPECT_TRUE(matched);
            return;
        }
    }
    ADD_FAILURE() << "the minute kept changing";
}

TEST(StatusDates, CurrentTimeAndTodayAreTheLocalTime) {
    with_stable_minute([](const std::tm& expected) {
        TimeRecord t;
        current_time(&t);
        char wanted[DATE_TEXT_SIZE];
        std::snprintf(wanted, sizeof wanted, "%02d.%02d.%04d %02d:%02d", expected.tm_mday,
                      expected.tm_mon + 1, expected.tm_year + 1900, expected.tm_hour,
                      expected.tm_min);
        char today[DATE_TEXT_SIZE];
        today_string(today);
        EXPECT_EQ(datetime(t), wanted);
        EXPECT_EQ(std::string(wanted).substr(0, 10), today);
        return datetime(t) == wanted && std::string(wanted).substr(0, 10) == today;
    });
}

// ---------------------------------------------------------------------------
// Fixed-point texts
// ---------------------------------------------------------------------------

TEST(StatusFixed, RoundsAsPrintfDoesAndNeverCutsANumber) {
    struct Row { double value; const char* text; };
    static const Row rows[] = {
        {-0.004, "0.00"}, {-0.0, "0.00"}, {-0.00499, "0.00"},  // a minus rounded to zero goes
        {-0.01, "-0.01"}, {-0.006, "-0.01"}, {-10.0, "-10.00"},
        // 0.005 is stored a little above, 2.675 and 1.005 a little below the half.
        {0.005, "0.01"}, {-0.005, "-0.01"}, {2.675, "2.67"}, {1.005, "1.00"}, {1234567.891, "1234567.89"},
        {1e20, "100000000000000000000.00"}, {-1e20, "-100000000000000000000.00"},
        {1e300, "1e+300"}, {-1e300, "-1e+300"},  // 303 characters: too long for a field
        {DBL_MAX, "1.79769313486232e+308"}, {1e78, "1e+78"},
    };
    for (const Row& r : rows) EXPECT_EQ(fixed(r.value), r.text);
    for (double v : {1.5, -2.25, 1234.56, -0.01, 1e20, 1e300, -1e300}) {
        EXPECT_DOUBLE_EQ(read_double(fixed(v).c_str()), v) << fixed(v);  // reads back
    }
    // The double nearest 1e77 lies just below it: 77 digits and ".00" fill a field exactly.
    EXPECT_EQ(fixed(1e77).size(), 80u);
    EXPECT_EQ(fixed(1e77).substr(77), ".00");
    // A small buffer takes the short form rather than a cut-off number.
    EXPECT_EQ(fixed(123456.0, 8), "123456");
    EXPECT_EQ(fixed(12.5, 8), "12.50");
    // Infinity has no digit but is no zero: it keeps its sign.
    ASSERT_FALSE(fixed(HUGE_VAL).empty());
    EXPECT_EQ(fixed(-HUGE_VAL), "-" + fixed(HUGE_VAL));
}

// ---------------------------------------------------------------------------
// Number readers
// ---------------------------------------------------------------------------

TEST(StatusNumbers, IntegersSkipBlanksTakeASignAndClampToTheRange) {
    struct Row { const char* in; long value; };
    static const Row rows[] = {
        {"  -12abc", -12}, {"+7", 7}, {"\t 007x", 7}, {"12.9", 12}, {"3 4", 3}, {"", 0}, {"abc", 0},
        {"-", 0}, {"- 5", 0}, {"--5", 0},  // no blank between sign and digits
        {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"2147483648", INT_MAX}, {"-2147483649", INT_MIN},
        {"99999999999999999999999999", INT_MAX}, {"-99999999999999999999999999", INT_MIN},
    };
    for (const Row& r : rows) EXPECT_EQ(read_int(r.in), r.value) << '"' << r.in << '"';
    EXPECT_EQ(read_long("  -12abc"), -12L);
    EXPECT_EQ(read_long("99999999999999999999999999"), LONG_MAX);
    EXPECT_EQ(read_long("-99999999999999999999999999"), LONG_MIN);
    EXPECT_EQ(read_long("-2147483648"), -2147483647L - 1);
}

TEST(StatusNumbers, DoublesReadOnlyTheDecimalForm) {
    struct Row { const char* in; double value; };
    static const Row rows[] = {
        {"", 0}, {"-", 0}, {".", 0}, {"-.e5", 0}, {"1e", 1}, {"1e+", 1}, {"1e-x", 1}, {"2.5e3", 2500},
        {"  -1.25x", -1.25}, {".5", 0.5}, {"5.", 5}, {"-.5e-1", -0.05}, {"1,5", 1}, {"1.2.3", 1.2},
        {"inf", 0}, {"nan", 0}, {"0x10", 0},  // neither the special words nor hexadecimal
        {"1e999", HUGE_VAL}, {"-1e999", -HUGE_VAL},
    };
    for (const Row& r : rows) EXPECT_EQ(read_double(r.in), r.value) << '"' << r.in << '"';
}

// ---------------------------------------------------------------------------
// Status bar widths and dialog units
// ---------------------------------------------------------------------------

TEST(StatusWidths, RightEdgesAreRunningSumsOfAtMostTenBoundedWidths) {
    std::string huge;
    for (int i = 0; i < 10; ++i) huge += "4000000000 ";
    struct Row { std::string text; std::vector<int> edges; };
    const Row rows[] = {
        {"12 60 120", {12, 72, 192}},
        {"\t 5\t\t10   ", {5, 15}},
        {"0 7", {0, 7}},
        {"", {}}, {"    ", {}}, {"abc", {}}, {"12abc 60", {}}, {"-5 10", {}}, {"+5 10", {}},
        {"12 abc 60", {12}}, {"12 60,120", {12}},  // only the leading numbers
        {"1 2 3 4 5 6 7 8 9 10 11 12", {1, 3, 6, 10, 15, 21, 28, 36, 45, 55}},
        {"99999999999999999999 1", {STATUS_MAX_WIDTH, STATUS_MAX_WIDTH + 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text);
        int edges[STATUS_MAX_WIDTHS];  // exactly ten: a write beyond fails under ASan
        ASSERT_EQ(parse_status_widths(r.text.c_str(), edges), static_cast<int>(r.edges.size()));
        EXPECT_EQ(std::vector<int>(edges, edges + r.edges.size()), r.edges);
    }
    int edges[STATUS_MAX_WIDTHS];
    ASSERT_EQ(parse_status_widths(huge.c_str(), edges), 10);
    EXPECT_EQ(edges[9], 10 * STATUS_MAX_WIDTH);
}

TEST(StatusWidths, DialogUnitsRoundToTheNearestPixel) {
    EXPECT_EQ(units_to_pixels(12, 16), 24);  // factor 2
    EXPECT_EQ(units_to_pixels(192, 16), 384);
    EXPECT_EQ(units_to_pixels(12, 8), 12);   // factor 1
    EXPECT_EQ(units_to_pixels(0, 13), 0);
    EXPECT_EQ(units_to_pixels(12, 13), 20);  // 19.5: the half goes up
    EXPECT_EQ(units_to_pixels(1, 13), 2);    // 1.625
    EXPECT_EQ(units_to_pixels(3, 13), 5);    // 4.875
    EXPECT_EQ(units_to_pixels(5, 13), 8);    // 8.125
    EXPECT_EQ(units_to_pixels(-12, 13), -20);
    EXPECT_EQ(units_to_pixels(72, 15), 135);
    EXPECT_EQ(units_to_pixels(7, 15), 13);   // 13.125
    EXPECT_EQ(units_to_pixels(INT_MAX, 16), INT_MAX);  // no wrap-around
    EXPECT_EQ(units_to_pixels(INT_MIN, 16), INT_MIN);
}

// ---------------------------------------------------------------------------
// Help target
// ---------------------------------------------------------------------------

TEST(StatusHelp, TheProgramsChmWithThePageOfTheTopic) {
    EXPECT_EQ(target(nullptr, "C:\\y8\\y8.exe", "DB1100"), "C:\\y8\\y8.chm::/DB1100.html");
    EXPECT_EQ(target("", "C:\\y8\\y8.exe", "DB1100"), "C:\\y8\\y8.chm::/DB1100.html");
    EXPECT_EQ(target(nullptr, "C:\\y8\\y8.exe", nullptr), "C:\\y8\\y8.chm");
    EXPECT_EQ(target(nullptr, "C:\\y8\\y8.exe", ""), "C:\\y8\\y8.chm");
    // No extension: one is added; a dot in a directory name is no extension.
    EXPECT_EQ(target(nullptr, "C:\\y8\\y8", ""), "C:\\y8\\y8.chm");
    EXPECT_EQ(target(nullptr, "C:\\tools.d\\y8", "A"), "C:\\tools.d\\y8.chm::/A.html");
}

TEST(StatusHelp, AGivenFileIsUsedAsItIs) {
    EXPECT_EQ(target("D:\\doc\\other.chm", "C:\\y8\\y8.exe", "DB1601"),
              "D:\\doc\\other.chm::/DB1601.html");
    EXPECT_EQ(target("D:\\doc\\readme.txt", "C:\\y8\\y8.exe", nullptr), "D:\\doc\\readme.txt");
    EXPECT_EQ(target("D:\\doc\\other.chm", nullptr, nullptr), "D:\\doc\\other.chm");
}

TEST(StatusHelp, NoPathOrNoRoomGivesNothing) {
    int result = 0;
    EXPECT_EQ(target(nullptr, nullptr, "DB1100", HELP_TARGET_SIZE, &result), "");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(target(nullptr, "", nullptr, HELP_TARGET_SIZE, &result), "");
    EXPECT_EQ(result, -1);

    // A program path of the longest length whose ".chm" still fits, and one
    // character more.
    std::string longest = "C:\\" + std::string(FILE_PATH_MAX - 7, 'p') + ".exe";
    ASSERT_EQ(longest.size(), static_cast<size_t>(FILE_PATH_MAX));
    std::string chm = longest.substr(0, longest.size() - 3) + "chm";
    EXPECT_EQ(target(nullptr, longest.c_str(), nullptr, HELP_TARGET_SIZE, &result), chm);
    EXPECT_EQ(result, 0);
    std::string noExt = "C:\\" + std::string(FILE_PATH_MAX - 5, 'p');  // + ".chm" is 4 too many
    EXPECT_EQ(target(nullptr, noExt.c_str(), nullptr, HELP_TARGET_SIZE, &result), "");
    EXPECT_EQ(result, -1);

    // The longest path with a topic of a field's length fills the buffer exactly.
    std::string topic(FIELD_TEXT_MAX, 't');
    std::string full = target(nullptr, longest.c_str(), topic.c_str(), HELP_TARGET_SIZE, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(full.size(), static_cast<size_t>(HELP_TARGET_SIZE - 1));
    // A buffer too small for the page gives nothing rather than a cut target.
    EXPECT_EQ(target(nullptr, "C:\\y8\\y8.exe", "DB1100", 20, &result), "");
    EXPECT_EQ(result, -1);
}

// ---------------------------------------------------------------------------
// The headless host's status bar and title
// ---------------------------------------------------------------------------

TEST(StatusHeadless, KeepsTheLastTextOfEachPartWithinItsRoom) {
    headless_status_reset();
    status_set(0, "Z 1");
    status_set(0, "Z 2");
    status_set(STATUS_MAX_PARTS - 1, "last");
    EXPECT_STREQ(headless_status_text(0), "Z 2");
    EXPECT_STREQ(headless_status_text(STATUS_MAX_PARTS - 1), "last");

    // Parts outside the bar are counted but record nothing; long texts are cut.
    status_set(-1, "no");
    status_set(STATUS_MAX_PARTS, "no");
    EXPECT_STREQ(headless_status_text(STATUS_MAX_PARTS), "");
    EXPECT_EQ(headless_status_count(), 5);
    std::string longText(400, 'L');
    status_set(3, longText.c_str());
    set_main_title(longText.c_str());
    EXPECT_EQ(std::strlen(headless_status_text(3)), static_cast<size_t>(HEADLESS_STATUS_TEXT_MAX));
    EXPECT_EQ(std::strlen(headless_title()), static_cast<size_t>(HEADLESS_STATUS_TEXT_MAX));

    headless_status_reset();
    EXPECT_STREQ(headless_status_text(0), "");
    EXPECT_STREQ(headless_title(), "");
}

}  // namespace
