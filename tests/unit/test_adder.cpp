// The adder (its dialog a handle the headless host records commands for), the ANSI table, the ruling lines.
#include "tools/adder.h"

#include "key_fixture.h"

#include <climits>

namespace {

constexpr std::intptr_t kAdderDialog = 0x1410;  // the handle the "dialog" gave

class Adder : public KeyFixture {
  protected:
    static void load(const Lines& lines, int inText) {  // the adder open with its check box as given
        adderReset();
        loadLines(lines);
        refreshAll();
        modified = 0;
        adderOpening(0);
        adderOpened(kAdderDialog);
        adderInTextSet(inText);
        headless_reset();
    }
    static bool closeAsked() {
        for (const HeadlessPostedCommand& c : headless_dialog_commands())
            if (c.dialog == kAdderDialog && c.id == ADDER_CLOSE_COMMAND) return true;
        return false;
    }
};

TEST_F(Adder, NumbersOfWordsInGermanAndPlainForm) {
    struct Row { const char* word; std::int32_t integer; double real; };
    const Row rows[] = {
        {"1.234,56", 1234, 1234.56}, {"12.5", 12, 12.5}, {"-3,75", -3, -3.75}, {"+8", 8, 8.0},
        {",5", 0, 0.0},  // a leading comma is no decimal point
        {"1.234.567,89", 1234567, 1234567.89},  // every thousands dot goes, not only the first
        {"-1.000.000,5", -1000000, -1000000.5}, {"1.234", 1, 1.234},  // without a comma: a point
    };
    for (const Row& r : rows) {
        const AdderNumber n = adderNumberOf(r.word);
        EXPECT_EQ(std::make_pair(n.integer, n.real), std::make_pair(r.integer, r.real)) << r.word;
    }
    EXPECT_EQ(adderNumberOf(std::string(kLineChars, '9').c_str()).integer, INT_MAX);  // never past the line
    std::string line = "1";
    line.resize(198, ' ');
    EXPECT_EQ(adderLineSum((line + "12345 7").c_str()), 1 + 12);  // only the first 200 characters count
    EXPECT_EQ(adderLineSum("2147483647 2147483647 2 "), 0);  // the integer sum wraps as 32 bits
}

TEST_F(Adder, TheKeysAddSubtractSumTheLineAndTypeTheSum) {
    load({"1.234,50", "2,5 Euro", "\"-7\" kg", "abc", "10 20 abc 5", ""}, 1);
    struct Row { const char* keys; std::int32_t integer; double real; int row; };
    static const Row rows[] = {
        {"+", 1234, 1234.5, 1}, {"+", 1236, 1237.0, 2}, {"-", 1243, 1244.0, 3},  // quotes delimit the word
        {"+", 1243, 1244.0, 4},  // no number adds 0, the cursor still moves
        {"0$", 35, 35.0, 4}, {"+", 45, 45.0, 5},
    };
    for (const Row& r : rows) {
        keys(r.keys);
        EXPECT_EQ(std::make_tuple(sumInt, sumReal, cursorRow), std::make_tuple(r.integer, r.real, r.row)) << r.keys;
    }
    // Nothing was typed; the dialog was told to show the sums.
    EXPECT_EQ(std::make_pair(modified, headless_dialog_commands().back().id), std::make_pair(0, DLG_REFRESH));
    keys("=");
    EXPECT_EQ(std::make_pair(rowText(5), closeAsked()), std::make_pair(std::string("45"), true));
    headless_reset();
    keys("_");  // the dialog is open until the close arrives: the keys still count
    EXPECT_TRUE(closeAsked());
    headless_reset();
    keyDown(vk::kMinus, false, true, false);  // Ctrl+- while it takes keys: closed; when closed: opened, focused
    adderClosed();
    keyDown(vk::kMinus, false, true, false);
    EXPECT_TRUE(closeAsked() && headless_posted_commands().at(0).lParam == 1);
    struct Sum { const char* real; std::int32_t integer; const char* typed; };
    static const Sum sums[] = {{"-3.75", -3, "-3.75"}, {"-0.001", 0, "0"}, {"-0.006", 0, "-0.01"},
                               {"2147483648", INT32_MIN, "2147483648.00"}};  // the integer no longer tells the sum
    for (const Sum& s : sums) {
        sumInt = s.integer;
        adderRealTyped(s.real);
        char text[ADDER_TEXT_SIZE];
        adderResultText(text);
        EXPECT_STREQ(text, s.typed) << s.real;
    }
}

TEST_F(Adder, EqualsInAFullStoreTypesNothingAndTheAdderStaysOpen) {
    for (long left : {4L, 5L}) {  // "abc" may grow by four characters, not five; then by exactly five
        SCOPED_TRACE(left);
        load({"12345", "abc"}, 1);
        keys("+");
        fillStoreLeaving(left);
        headless_reset();
        keys("=");
        const bool refused = left == 4;
        EXPECT_EQ(rowText(1), refused ? "abc" : "12345abc");
        EXPECT_EQ(std::make_tuple(modified, boxes(), closeAsked()),
                  std::make_tuple(refused ? 0 : 1, refused ? 1 : 0, !refused));
    }
}

// Typing into the fields and their refresh are driven under Wine; here their edges.
TEST_F(Adder, TheFieldsAreWrittenWhenChangedAndTypingIntoThemSetsTheSums) {
    adderOpening(1);
    adderOpened(kAdderDialog);
    struct Row { void (*change)(); bool intChanged, realChanged, refocus; const char* hex; const char* real; };
    static const Row rows[] = {
        {[] {}, true, true, true, "0", "0.00"},  // the first update writes every field and refocuses once
        {[] {}, false, false, false, "", ""},
        {[] { sumInt = -1; }, true, false, false, "FFFFFFFF", ""},
        {[] { sumReal = -0.004; }, false, true, false, "", "0.00"},  // no minus
        {[] {  // too large to change by 1.0: a new opening writes it
             adderClosed();
             sumReal = 1e300;
             adderOpened(kAdderDialog);
         }, true, true, false, "FFFFFFFF", "1e+300"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.hex + std::string(r.real));
        r.change();
        const AdderView view = adderView();
        EXPECT_EQ(std::make_tuple(view.intChanged, view.realChanged, view.refocus),
                  std::make_tuple(r.intChanged, r.realChanged, r.refocus));
        EXPECT_STREQ(view.intChanged ? view.hex : "", r.hex);
        EXPECT_STREQ(view.realChanged ? view.real : "", r.real);
    }
    char other[ADDER_TEXT_SIZE];
    struct Typed { bool hex; const char* text; std::int32_t sum; const char* other; };
    static const Typed typed[] = {{true, "ff", 255, "255"}, {false, "-2", -2, "FFFFFFFE"},
                                  {true, "1FFFFFFFF", -1, "-1"},  // only the last eight digits fit
                                  {false, "99999999999", INT32_MAX, "7FFFFFFF"}, {true, "xyz", 0, "0"}};
    for (const Typed& t : typed) {
        (t.hex ? adderHexTyped : adderDecimalTyped)(t.text, other);
        EXPECT_EQ(std::to_string(sumInt) + " " + other, std::to_string(t.sum) + " " + t.other) << t.text;
    }
    adderRealTyped("1,5");  // the field reads the plain form
    EXPECT_DOUBLE_EQ(sumReal, 1.0);
    adderRealTyped(nullptr);
    adderDecimalTyped(nullptr, other);
    EXPECT_EQ(sumInt + sumReal, 0.0);
    headless_reset();
    adderClosed();
    refreshAll();  // the full refresh tells only an open dialog
    EXPECT_TRUE(headless_dialog_commands().empty());
}

TEST_F(Adder, TheAnsiTableShowsEachHalfInBothNumberForms) {
    struct Row { bool upper, decimal; const char* first; };
    static const Row rows[] = {
        {false, true, " 32     48 0   64 @   80 P   96 `  112 p  \r\n"},
        {false, false, "20     30 0   40 @   50 P   60 `   70 p   \r\n"},
        {true, false, "80 \x80   90 \x90   A0 \xa0   B0 \xb0   C0 \xc0   D0 \xd0   E0 \xe0   F0 \xf0   \r\n"},
    };
    char text[ANSI_TEXT_SIZE];
    for (const Row& r : rows) {
        const int length = ansiTableText(r.upper, r.decimal, text);
        EXPECT_EQ(std::string(text).substr(0, std::strlen(r.first)), r.first);
        EXPECT_EQ(length, static_cast<int>(16 * std::strlen(r.first)));  // sixteen lines of the same width
    }
    EXPECT_EQ(ansiTableText(true, true, text), ANSI_TEXT_SIZE - 1);  // the longest fills its buffer exactly
    EXPECT_EQ(std::string(text).substr(16 * 58 - 58, 8), "143 \x8f  1");
}

TEST_F(Adder, StrichPutsARulingLineBeforeTheCursorLineOrIsRefused) {
    load({"a", "b"}, 0);
    EXPECT_EQ(strich(3) + strich(-1), -2);
    EXPECT_EQ(strich(2), 0);  // in the first window row the line goes before the window
    EXPECT_EQ(topLine * 10 + cursorRow, 10);
    for (long left : {STRICH_LENGTH + 4L, STRICH_LENGTH + 5L}) {  // room for the line and its record, or not
        SCOPED_TRACE(left);
        load({"a", "b", "c"}, 0);
        cursorSet(0, 1);
        fillStoreLeaving(left);
        headless_reset();
        appCommandRoute(nullptr, 0, CMD_STRICH_MIDDLE, 0);
        const bool refused = left == STRICH_LENGTH + 4;
        EXPECT_EQ(rowText(0), refused ? "a" : std::string(STRICH_LENGTH, '\xAD'));
        EXPECT_EQ(std::make_pair(boxes(), modified), std::make_pair(refused ? 1 : 0, refused ? 0 : 1));
    }
}

}  // namespace
