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

TEST(StatusDates, FormatsWithLeadingZerosAndYearZeroForAnEmptyRecord) {
    TimeRecord zero{};
    EXPECT_EQ(datetime(zero), "00.00.0000 00:00");
    EXPECT_EQ(datetime_wide(zero), "00.00.0000  00:00");

    TimeRecord t{126, 12, 5, 7, 30, 59};
    EXPECT_EQ(datetime(t), "05.12.2026 07:30");  // seconds are not shown
    EXPECT_EQ(datetime_wide(t), "05.12.2026  07:30");

    TimeRecord early{1, 1, 1, 0, 0, 0};  // a year byte of 1 is 1901, not 0001
    EXPECT_EQ(datetime(early), "01.01.1901 00:00");
    TimeRecord late{255, 9, 30, 23, 59, 0};
    EXPECT_EQ(datetime(late), "30.09.2155 23:59");
}

TEST(StatusDates, BytesOutOfRangeStayInsideTheBuffer) {
    // Every byte at its largest: three-digit fields, all within DATE_TEXT_SIZE.
    TimeRecord wild{255, 255, 255, 255, 255, 255};
    EXPECT_EQ(datetime(wild), "255.255.2155 255:255");
    EXPECT_EQ(datetime_wide(wild), "255.255.2155  255:255");
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

TEST(StatusFixed, NegativeValuesThatRoundToZeroLoseTheMinus) {
    EXPECT_EQ(fixed(-0.004), "0.00");
    EXPECT_EQ(fixed(-0.001), "0.00");
    EXPECT_EQ(fixed(-0.0), "0.00");
    EXPECT_EQ(fixed(-0.00499), "0.00");
    EXPECT_EQ(fixed(-0.01), "-0.01");
    EXPECT_EQ(fixed(-0.006), "-0.01");
    EXPECT_EQ(fixed(-10.0), "-10.00");  // zeros after a 1: still negative
    EXPECT_EQ(fixed(-100000.0), "-100000.00");
}

TEST(StatusFixed, RoundsTheStoredBinaryValueAsPrintfDoes) {
    // 0.005 is stored a little above, 2.675 and 1.005 a little below the half.
    EXPECT_EQ(fixed(0.005), "0.01");
    EXPECT_EQ(fixed(-0.005), "-0.01");
    EXPECT_EQ(fixed(2.675), "2.67");
    EXPECT_EQ(fixed(1.005), "1.00");
    EXPECT_EQ(fixed(0.0), "0.00");
    EXPECT_EQ(fixed(3.14159), "3.14");
    EXPECT_EQ(fixed(1234567.891), "1234567.89");
}

TEST(StatusFixed, LargeValuesAreNeverCutOff) {
    EXPECT_EQ(fixed(1e20), "100000000000000000000.00");
    EXPECT_EQ(fixed(-1e20), "-100000000000000000000.00");
    // The fixed text of 1e300 has 303 characters: too long for a field.
    EXPECT_EQ(fixed(1e300), "1e+300");
    EXPECT_EQ(fixed(-1e300), "-1e+300");
    EXPECT_EQ(fixed(DBL_MAX), "1.79769313486232e+308");
    // The double nearest 1e77 lies just below it: 77 digits and ".00" fill a
    // field exactly. 1e78 needs at least 78 digits: one character too many.
    std::string fits = fixed(1e77);
    EXPECT_EQ(fits.size(), 80u);
    EXPECT_EQ(fixed(1e78), "1e+78");
    EXPECT_EQ(fits.substr(fits.size() - 3), ".00");
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

TEST(StatusNumbers, IntegersSkipBlanksTakeASignAndStopAtOtherCharacters) {
    EXPECT_EQ(read_int("  -12abc"), -12);
    EXPECT_EQ(read_int("42"), 42);
    EXPECT_EQ(read_int("+7"), 7);
    EXPECT_EQ(read_int("\t 007x"), 7);
    EXPECT_EQ(read_int("12.9"), 12);
    EXPECT_EQ(read_int("3 4"), 3);
    EXPECT_EQ(read_int(""), 0);
    EXPECT_EQ(read_int("abc"), 0);
    EXPECT_EQ(read_int("-"), 0);
    EXPECT_EQ(read_int("- 5"), 0);  // no blank between sign and digits
    EXPECT_EQ(read_int("--5"), 0);
    EXPECT_EQ(read_long("  -12abc"), -12L);
}

TEST(StatusNumbers, IntegersBeyondTheRangeGiveTheLimit) {
    EXPECT_EQ(read_int("2147483647"), INT_MAX);
    EXPECT_EQ(read_int("-2147483648"), INT_MIN);
    EXPECT_EQ(read_int("2147483648"), INT_MAX);
    EXPECT_EQ(read_int("-2147483649"), INT_MIN);
    EXPECT_EQ(read_int("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(read_int("-99999999999999999999999999"), INT_MIN);
    EXPECT_EQ(read_long("99999999999999999999999999"), LONG_MAX);
    EXPECT_EQ(read_long("-99999999999999999999999999"), LONG_MIN);
    EXPECT_EQ(read_long("-2147483648"), -2147483647L - 1);
}

TEST(StatusNumbers, DoublesReadOnlyTheDecimalForm) {
    EXPECT_EQ(read_double(""), 0.0);
    EXPECT_EQ(read_double("abc"), 0.0);
    EXPECT_EQ(read_double("-"), 0.0);
    EXPECT_EQ(read_double("."), 0.0);
    EXPECT_EQ(read_double("-.e5"), 0.0);
    EXPECT_EQ(read_double("1e"), 1.0);
    EXPECT_EQ(read_double("1e+"), 1.0);
    EXPECT_EQ(read_double("1e-x"), 1.0);
    EXPECT_EQ(read_double("2.5e3"), 2500.0);
    EXPECT_EQ(read_double("  -1.25x"), -1.25);
    EXPECT_EQ(read_double(".5"), 0.5);
    EXPECT_EQ(read_double("5."), 5.0);
    EXPECT_EQ(read_double("-.5e-1"), -0.05);
    EXPECT_EQ(read_double("1,5"), 1.0);  // the decimal point only
    EXPECT_EQ(read_double("1.2.3"), 1.2);
    // Neither the special words nor hexadecimal count as a number here.
    EXPECT_EQ(read_double("inf"), 0.0);
    EXPECT_EQ(read_double("nan"), 0.0);
    EXPECT_EQ(read_double("0x10"), 0.0);
    EXPECT_EQ(read_double("1e999"), HUGE_VAL);
    EXPECT_EQ(read_double("-1e999"), -HUGE_VAL);
}

TEST(StatusNumbers, FixedTextsReadBackAsTheirValue) {
    for (double v : {0.0, 1.5, -2.25, 1234.56, -0.01, 1e20, 1e300, -1e300}) {
        EXPECT_DOUBLE_EQ(read_double(fixed(v).c_str()), v) << fixed(v);
    }
}

// ---------------------------------------------------------------------------
// Status bar widths and dialog units
// ---------------------------------------------------------------------------

TEST(StatusWidths, RightEdgesAreRunningSums) {
    int edges[STATUS_MAX_WIDTHS];
    ASSERT_EQ(parse_status_widths("12 60 120", edges), 3);
    EXPECT_EQ(edges[0], 12);
    EXPECT_EQ(edges[1], 72);
    EXPECT_EQ(edges[2], 192);

    ASSERT_EQ(parse_status_widths("\t 5\t\t10   ", edges), 2);
    EXPECT_EQ(edges[0], 5);
    EXPECT_EQ(edges[1], 15);

    ASSERT_EQ(parse_status_widths("0 7", edges), 2);
    EXPECT_EQ(edges[0], 0);
    EXPECT_EQ(edges[1], 7);
}

TEST(StatusWidths, EmptyTextsAndGarbageGiveNoMoreThanTheLeadingNumbers) {
    int edges[STATUS_MAX_WIDTHS];
    EXPECT_EQ(parse_status_widths("", edges), 0);
    EXPECT_EQ(parse_status_widths("    ", edges), 0);
    EXPECT_EQ(parse_status_widths("abc", edges), 0);
    EXPECT_EQ(parse_status_widths("12abc 60", edges), 0);
    EXPECT_EQ(parse_status_widths("-5 10", edges), 0);
    EXPECT_EQ(parse_status_widths("+5 10", edges), 0);
    ASSERT_EQ(parse_status_widths("12 abc 60", edges), 1);
    EXPECT_EQ(edges[0], 12);
    ASSERT_EQ(parse_status_widths("12 60,120", edges), 1);
    EXPECT_EQ(edges[0], 12);
}

TEST(StatusWidths, AtMostTenWidthsOfBoundedSize) {
    int edges[STATUS_MAX_WIDTHS];  // exactly ten: a write beyond fails under ASan
    ASSERT_EQ(parse_status_widths("1 2 3 4 5 6 7 8 9 10 11 12", edges), 10);
    EXPECT_EQ(edges[9], 55);
    ASSERT_EQ(parse_status_widths("1 1 1 1 1 1 1 1 1 1", edges), 10);
    EXPECT_EQ(edges[9], 10);

    ASSERT_EQ(parse_status_widths("99999999999999999999 1", edges), 2);
    EXPECT_EQ(edges[0], STATUS_MAX_WIDTH);
    EXPECT_EQ(edges[1], STATUS_MAX_WIDTH + 1);
    std::string huge;
    for (int i = 0; i < 10; ++i) huge += "4000000000 ";
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
