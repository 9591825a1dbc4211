// Tests of the adder, the ANSI table's text and the ruling lines: the keys in
// the text through keyChar (with the adder's dialog standing in as a handle
// that the headless host records commands for), the fields' texts and what
// typing into them does, and the commands 1420-1422 through the command table.
#include "tools/adder.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "resources/resource.h"
#include "shell/appproc.h"
#include "view/editing.h"
#include "view/recorder.h"
#include "view/refresh.h"
#include "view/taste.h"

namespace {

using Lines = std::vector<std::string>;

constexpr std::intptr_t kAdderDialog = 0x1410;  // the handle the "dialog" gave

class Adder : public ::testing::Test {
  protected:
    void SetUp() override {
        editorStart();
        adderReset();
    }
    void TearDown() override {
        adderReset();
        editorStop();
    }

    static void load(const Lines& lines) {
        loadLines(lines);
        refreshAll();
        modified = 0;
        headless_reset();
    }

    static Lines doc() {
        return documentLines().text;
    }

    // The adder open with its check box as given.
    static void openAdder(int inText) {
        adderOpening(0);
        adderOpened(kAdderDialog);
        adderInTextSet(inText);
        headless_reset();
    }

    static void type(const char* s) {
        for (; *s; ++s) keyChar(static_cast<unsigned char>(*s), false, false, false);
    }

    // The commands posted to the adder's dialog since the last reset.
    static std::vector<int> dialogCommands() {
        std::vector<int> ids;
        for (const HeadlessPostedCommand& c : headless_dialog_commands()) {
            EXPECT_EQ(c.dialog, kAdderDialog);
            ids.push_back(c.id);
        }
        return ids;
    }
    static bool closeAsked() {
        const std::vector<int> ids = dialogCommands();
        return std::find(ids.begin(), ids.end(), ADDER_CLOSE_COMMAND) != ids.end();
    }

};

// ---------------------------------------------------------------- the keys in the text

TEST_F(Adder, PlusAndMinusAddTheNumberUnderTheCursorAndMoveDown) {
    load({"1.234,50", "2,5 Euro", "abc", "\"-7\" kg", "12.5", "x"});
    openAdder(1);
    type("+");
    EXPECT_EQ(sumInt, 1234);
    EXPECT_DOUBLE_EQ(sumReal, 1234.5);
    EXPECT_EQ(cursorRow, 1);
    type("+");  // 2,5: the comma is the decimal point
    EXPECT_EQ(sumInt, 1236);
    EXPECT_DOUBLE_EQ(sumReal, 1237.0);
    type("+");  // a word without a number adds 0, and the cursor still moves on
    EXPECT_EQ(sumInt, 1236);
    EXPECT_DOUBLE_EQ(sumReal, 1237.0);
    EXPECT_EQ(cursorRow, 3);
    type("-");  // double quotes delimit the word
    EXPECT_EQ(sumInt, 1243);
    EXPECT_DOUBLE_EQ(sumReal, 1244.0);
    type("-");  // a period alone is the decimal point
    EXPECT_EQ(sumInt, 1231);
    EXPECT_DOUBLE_EQ(sumReal, 1231.5);
    EXPECT_EQ(cursorRow, 5);

    // Nothing was typed, and the open dialog is told to show the new sums.
    EXPECT_EQ(doc(), (Lines{"1.234,50", "2,5 Euro", "abc", "\"-7\" kg", "12.5", "x"}));
    EXPECT_EQ(modified, 0);
    const std::vector<int> ids = dialogCommands();
    EXPECT_FALSE(ids.empty());
    for (int id : ids) EXPECT_EQ(id, DLG_REFRESH);

    type("0");
    EXPECT_EQ(sumInt, 0);
    EXPECT_DOUBLE_EQ(sumReal, 0.0);
    EXPECT_EQ(cursorRow, 5);
}

TEST_F(Adder, NumbersOfWordsInGermanAndPlainForm) {
    struct Case {
        const char* word;
        std::int32_t integer;
        double real;
    };
    const Case cases[] = {
        {"1.234,56", 1234, 1234.56}, {"1234,5", 1234, 1234.5}, {"12.5", 12, 12.5},
        {"-3,75", -3, -3.75},        {"+8", 8, 8.0},           {",5", 0, 0.0},  // a leading comma is no decimal point
        {"7kg", 7, 7.0},             {"abc", 0, 0.0},          {"", 0, 0.0},
        {"--5", 0, 0.0},             {"99999999999", INT_MAX, 99999999999.0},
        {"1.234.567,89", 1234567, 1234567.89},  // every thousands dot goes, not only the first
        {"-1.000.000,5", -1000000, -1000000.5},  {"1.234", 1, 1.234},  // without a comma: a point
        {"1,5.", 1, 1.5},  {".,5", 0, 0.5},  // a sentence's full stop; a point before the comma
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        const AdderNumber n = adderNumberOf(c.word);
        EXPECT_EQ(n.integer, c.integer);
        EXPECT_DOUBLE_EQ(n.real, c.real);
    }
    // A word of the longest line is read without running past it.
    const std::string longWord(kLineChars, '9');
    EXPECT_EQ(adderNumberOf(longWord.c_str()).integer, INT_MAX);
}

TEST_F(Adder, EqualsTypesTheSumAndClosesTheAdder) {
    load({"2", "3", "", "2,5", "3", ""});
    openAdder(1);
    type("++");
    type("=");
    EXPECT_EQ(rowText(2), "5");
    EXPECT_EQ(firstCol + cursorCol, 1);
    EXPECT_EQ(modified, 1);
    EXPECT_TRUE(closeAsked());

    // The dialog is still open until the close arrives: the next keys count.
    headless_reset();
    cursorSet(0, 3);
    type("0++=");
    EXPECT_EQ(rowText(5), "5.50");

    // Negative sums, and a real sum that rounds to zero types no "-0.00".
    struct Case {
        const char* realText;
        std::int32_t integer;
        const char* typed;
    };
    const Case cases[] = {
        {"-3", -3, "-3"}, {"-3.75", -3, "-3.75"}, {"-0.001", 0, "0"}, {"0.004", 0, "0"}, {"-0.006", 0, "-0.01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.realText);
        sumInt = c.integer;
        adderRealTyped(c.realText);
        char text[ADDER_TEXT_SIZE];
        adderResultText(text);
        EXPECT_STREQ(text, c.typed);
    }
}

TEST_F(Adder, EqualsInAFullStoreTypesNothingAndTheAdderStaysOpen) {
    load({"12345", "abc"});
    openAdder(1);
    type("+");
    fillStoreLeaving(4);  // "abc" may grow by four characters, not five
    const Lines before = doc();
    headless_reset();
    type("=");
    EXPECT_EQ(doc(), before);
    EXPECT_EQ(modified, 0);
    ASSERT_EQ(headless_boxes().size(), 1u);
    EXPECT_EQ(headless_boxes()[0].text, storeFullText);
    EXPECT_FALSE(closeAsked());
    EXPECT_EQ(sumInt, 12345);

    // With room for exactly the result it is typed.
    load({"12345", "abc"});
    cursorSet(0, 1);
    fillStoreLeaving(5);
    headless_reset();
    type("=");
    EXPECT_EQ(rowText(1), "12345abc");
    EXPECT_TRUE(headless_boxes().empty());
    EXPECT_TRUE(closeAsked());
}

TEST_F(Adder, DollarSumsTheWordsOfTheCursorLine) {
    load({"10 20 abc 5", "x"});
    openAdder(1);
    adderRealTyped("0.25");
    type("$");
    EXPECT_EQ(sumInt, 35);
    EXPECT_DOUBLE_EQ(sumReal, 35.0);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(rowText(0), "10 20 abc 5");

    // Only the first 200 characters count: a number across the limit is cut.
    std::string line = "1";
    line.resize(198, ' ');
    line += "12345 7";
    EXPECT_EQ(adderLineSum(line.c_str()), 1 + 12);
    EXPECT_EQ(adderLineSum("-4 4,5 -1"), -1);
    EXPECT_EQ(adderLineSum("   "), 0);
}

TEST_F(Adder, TheIntegerSumWrapsAsA32BitSumWhileTheRealSumStaysTrue) {
    load({"1", "2", ""});
    openAdder(1);
    char other[ADDER_TEXT_SIZE];
    adderDecimalTyped("2147483647", other);
    adderRealTyped("2147483647");
    type("+");
    EXPECT_EQ(sumInt, INT32_MIN);
    EXPECT_DOUBLE_EQ(sumReal, 2147483648.0);
    // "=" sees that the integer no longer tells the sum and types the real one.
    char text[ADDER_TEXT_SIZE];
    adderResultText(text);
    EXPECT_STREQ(text, "2147483648.00");

    adderDecimalTyped("-2147483648", other);
    type("-");
    EXPECT_EQ(sumInt, INT32_MAX - 1);
    EXPECT_EQ(adderLineSum("2147483647 2147483647 2"), 0);
}

TEST_F(Adder, WithoutTheCheckBoxOrTheDialogTheKeysAreTyped) {
    load({"", ""});
    openAdder(0);
    EXPECT_FALSE(adder_active());
    type("+-0=$_");
    EXPECT_EQ(rowText(0), "+-0=$_");

    adderInTextSet(1);
    EXPECT_TRUE(adder_active());
    type("7");  // not one of the adder's keys
    EXPECT_EQ(rowText(0), "+-0=$_7");

    adderClosed();
    EXPECT_FALSE(adder_active());
    type("+");
    EXPECT_EQ(rowText(0), "+-0=$_7+");
    EXPECT_EQ(sumInt, 0);
}

TEST_F(Adder, AdderKeysAreRecordedAndPlayBackIntoTheAdder) {
    load({"4", "5", "6"});
    openAdder(1);
    recordToggle(0);
    type("+");
    recordToggle(0);
    ASSERT_EQ(recordCountGet(0), 1);
    EXPECT_EQ(recordEventGet(0, 0).kind, kKeyEventChar);
    EXPECT_EQ(recordEventGet(0, 0).code, '+');
    EXPECT_EQ(recordCountGet(0), 1);  // the Down it pressed is not recorded
    playBack(0);
    EXPECT_EQ(sumInt, 9);
    EXPECT_EQ(cursorRow, 2);
}

TEST_F(Adder, CtrlMinusOpensWithRefocusOrClosesTheAdderTakingKeys) {
    load({"a"});
    keyDown(vk::kMinus, false, true, false);
    ASSERT_EQ(headless_posted_commands().size(), 1u);
    EXPECT_EQ(headless_posted_commands()[0].id, CMD_ADDIERER);
    EXPECT_EQ(headless_posted_commands()[0].lParam, 1);

    openAdder(0);  // open, the keys still typed: Ctrl+minus asks for it again
    keyDown(vk::kMinus, false, true, false);
    ASSERT_EQ(headless_posted_commands().size(), 1u);
    EXPECT_EQ(headless_posted_commands()[0].id, CMD_ADDIERER);
    EXPECT_FALSE(closeAsked());

    adderInTextSet(1);
    headless_reset();
    keyDown(vk::kMinus, false, true, false);
    EXPECT_TRUE(headless_posted_commands().empty());
    EXPECT_TRUE(closeAsked());
    EXPECT_EQ(rowText(0), "a");

    headless_reset();
    type("_");
    EXPECT_TRUE(closeAsked());
}

// ---------------------------------------------------------------- the dialog's fields

TEST_F(Adder, TheUpdateWritesOnlyChangedFieldsAndRefocusesOnce) {
    adderOpening(1);
    adderOpened(kAdderDialog);
    EXPECT_EQ(dialogCommands(), std::vector<int>{DLG_REFRESH});

    AdderView view = adderView();  // the first update writes every field
    EXPECT_TRUE(view.intChanged);
    EXPECT_STREQ(view.decimal, "0");
    EXPECT_STREQ(view.hex, "0");
    EXPECT_TRUE(view.realChanged);
    EXPECT_STREQ(view.real, "0.00");
    EXPECT_TRUE(view.refocus);

    view = adderView();
    EXPECT_FALSE(view.intChanged);
    EXPECT_FALSE(view.realChanged);
    EXPECT_FALSE(view.refocus);

    sumInt = -1;
    view = adderView();
    EXPECT_TRUE(view.intChanged);
    EXPECT_STREQ(view.decimal, "-1");
    EXPECT_STREQ(view.hex, "FFFFFFFF");
    EXPECT_FALSE(view.realChanged);

    sumReal = -0.004;
    view = adderView();
    EXPECT_FALSE(view.intChanged);
    EXPECT_TRUE(view.realChanged);
    EXPECT_STREQ(view.real, "0.00");

    // A sum too large to change by 1.0 is still written on a new opening.
    adderClosed();
    sumReal = 1e300;
    adderOpened(kAdderDialog);
    view = adderView();
    EXPECT_TRUE(view.realChanged);
    EXPECT_TRUE(view.intChanged);

    // The full refresh tells only an open dialog.
    headless_reset();
    refreshAll();
    EXPECT_EQ(dialogCommands(), std::vector<int>{DLG_REFRESH});
    adderClosed();
    headless_reset();
    refreshAll();
    EXPECT_TRUE(headless_dialog_commands().empty());
}

TEST_F(Adder, TypingIntoTheFieldsSetsTheSums) {
    char other[ADDER_TEXT_SIZE];
    adderHexTyped("ff", other);
    EXPECT_EQ(sumInt, 255);
    EXPECT_STREQ(other, "255");
    adderDecimalTyped("-2", other);
    EXPECT_EQ(sumInt, -2);
    EXPECT_STREQ(other, "FFFFFFFE");
    adderHexTyped("1FFFFFFFF", other);  // only the last eight digits fit
    EXPECT_EQ(sumInt, -1);
    EXPECT_STREQ(other, "-1");
    adderDecimalTyped("99999999999", other);
    EXPECT_EQ(sumInt, INT32_MAX);
    EXPECT_STREQ(other, "7FFFFFFF");

    // Text that is no number counts 0; the other sum stays as it is.
    sumReal = 2.5;
    adderDecimalTyped("zwei", other);
    EXPECT_EQ(sumInt, 0);
    EXPECT_STREQ(other, "0");
    adderHexTyped("xyz", other);
    EXPECT_EQ(sumInt, 0);
    EXPECT_DOUBLE_EQ(sumReal, 2.5);
    adderDecimalTyped("7", other);
    adderRealTyped("1,5");  // the field reads the plain form: 1
    EXPECT_DOUBLE_EQ(sumReal, 1.0);
    adderRealTyped("nan");
    EXPECT_DOUBLE_EQ(sumReal, 0.0);
    EXPECT_EQ(sumInt, 7);
    adderRealTyped(nullptr);
    adderDecimalTyped(nullptr, other);
    EXPECT_EQ(sumInt, 0);
    EXPECT_DOUBLE_EQ(sumReal, 0.0);
}

// ---------------------------------------------------------------- the ANSI table

std::vector<std::string> tableRows(bool upper, bool decimal) {
    char text[ANSI_TEXT_SIZE];
    const int length = ansiTableText(upper, decimal, text);
    EXPECT_EQ(length, static_cast<int>(std::strlen(text)));
    std::vector<std::string> rows;
    std::string all(text);
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t end = all.find("\r\n", at);
        EXPECT_NE(end, std::string::npos) << "every row ends with CR LF";
        if (end == std::string::npos) break;
        rows.push_back(all.substr(at, end - at));
        at = end + 2;
    }
    return rows;
}

TEST_F(Adder, TheAnsiTableShowsEachHalfInBothNumberForms) {
    struct Case {
        bool upper, decimal;
        std::size_t rowLength;
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {false, true, 42, " 32     48 0   64 @   80 P   96 `  112 p  ",
         " 47 /   63 ?   79 O   95 _  111 o  127 \x7f  "},
        {false, false, 42, "20     30 0   40 @   50 P   60 `   70 p   ",
         "2F /   3F ?   4F O   5F _   6F o   7F \x7f   "},
        {true, true, 56, "128 \x80  144 \x90  160 \xa0  176 \xb0  192 \xc0  208 \xd0  224 \xe0  240 \xf0  ",
         "143 \x8f  159 \x9f  175 \xaf  191 \xbf  207 \xcf  223 \xdf  239 \xef  255 \xff  "},
        {true, false, 56, "80 \x80   90 \x90   A0 \xa0   B0 \xb0   C0 \xc0   D0 \xd0   E0 \xe0   F0 \xf0   ",
         "8F \x8f   9F \x9f   AF \xaf   BF \xbf   CF \xcf   DF \xdf   EF \xef   FF \xff   "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.upper ? "upper" : "lower") + (c.decimal ? " decimal" : " hex"));
        const std::vector<std::string> rows = tableRows(c.upper, c.decimal);
        ASSERT_EQ(rows.size(), 16u);
        EXPECT_EQ(rows.front(), c.first);
        EXPECT_EQ(rows.back(), c.last);
        for (const std::string& row : rows) EXPECT_EQ(row.size(), c.rowLength);
    }
    // The longest table fills its buffer exactly.
    char text[ANSI_TEXT_SIZE];
    EXPECT_EQ(ansiTableText(true, true, text), ANSI_TEXT_SIZE - 1);
}

// ---------------------------------------------------------------- Strich

TEST_F(Adder, StrichPutsARulingLineBeforeTheCursorLine) {
    const char fills[3] = {'\xAF', '\xAD', '_'};
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        load({"a", "b", "c", "d", "e"});
        cursorSet(2, 2);
        appCommandRoute(nullptr, 0, CMD_STRICH_TOP + kind, 0);
        const std::string ruling(STRICH_LENGTH, fills[kind]);
        EXPECT_EQ(doc(), (Lines{"a", "b", ruling, "c", "d", "e"}));
        EXPECT_EQ(cursorRow, 2);
        EXPECT_EQ(cursorCol, 2);
        EXPECT_EQ(rowText(cursorRow), "c");
        EXPECT_EQ(topLine, 1);
        EXPECT_EQ(topLine + cursorRow, 3);
        EXPECT_EQ(modified, 1);
        EXPECT_GT(headless_record().viewRepaints, 0);
    }

    // In the first window row the line goes before the window.
    load({"a", "b"});
    EXPECT_EQ(strich(2), 0);
    EXPECT_EQ(doc(), (Lines{std::string(STRICH_LENGTH, '_'), "a", "b"}));
    EXPECT_EQ(rowText(0), "a");
    EXPECT_EQ(topLine, 1);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(strich(3), -1);
    EXPECT_EQ(strich(-1), -1);
    EXPECT_EQ(doc(), (Lines{std::string(STRICH_LENGTH, '_'), "a", "b"}));
}

TEST_F(Adder, StrichIsRefusedWhenTheStoreCannotTakeTheLine) {
    load({"a", "b", "c"});
    cursorSet(0, 1);
    fillStoreLeaving(STRICH_LENGTH + 4);
    const Lines before = doc();
    const std::int32_t lineBefore = topLine + cursorRow;
    appCommandRoute(nullptr, 0, CMD_STRICH_MIDDLE, 0);
    EXPECT_EQ(doc(), before);
    EXPECT_EQ(topLine + cursorRow, lineBefore);
    EXPECT_EQ(modified, 0);
    ASSERT_EQ(headless_boxes().size(), 1u);
    EXPECT_EQ(headless_boxes()[0].text, storeFullText);

    // Room for exactly the line and its record.
    load({"a", "b", "c"});
    cursorSet(0, 1);
    fillStoreLeaving(STRICH_LENGTH + 5);
    headless_reset();
    EXPECT_EQ(strich(1), 0);
    EXPECT_TRUE(headless_boxes().empty());
    EXPECT_EQ(rowText(0), std::string(STRICH_LENGTH, '\xAD'));
    EXPECT_EQ(rowText(1), "b");
    EXPECT_EQ(modified, 1);
}

}  // namespace
