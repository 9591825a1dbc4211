// The phrases on the Ctrl+Shift keys and the abbreviations of Ctrl+comma, as
// the key dispatcher receives them, with the settings file and the
// abbreviation file as real files of the headless host.
#include "tools/phrases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "editor_fixture.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "support/profile.h"
#include "view/editing.h"

namespace {

namespace fs = std::filesystem;

constexpr int kCtrlShiftC = 3, kCtrlShiftI = 9, kCtrlShiftL = 12, kCtrlShiftX = 24;

class Phrases : public ::testing::Test {
protected:
    void SetUp() override {
        editorStart();
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = fs::temp_directory_path() / (std::string("y8-phrases-") + info->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        headless_set_ini_dir((dir_.string() + "/").c_str());
        ini_set_file("Y8.ini");
        phrasesForget();
    }
    void TearDown() override {
        phrasesForget();
        editorStop();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // Ctrl+Shift with a letter arrives as its control character.
    static void ctrlShift(int code) { keyChar(code, true, true, false); }
    static void ctrlComma() { keyDown(vk::kComma, false, true, false); }
    static int col() { return firstCol + cursorCol; }
    static int boxes() { return static_cast<int>(headless_boxes().size()); }

    // An abbreviation file of the given lines, named in the settings file.
    std::string writeAbbrevs(const std::vector<std::string>& lines) {
        const std::string path = (dir_ / "abk.txt").string();
        std::ofstream out(path, std::ios::binary);
        for (const std::string& line : lines) out << line << "\r\n";
        ini_write("Installation", "Floskeln", path.c_str());
        return path;
    }
    std::string settingsText() const {
        std::ifstream in(headless_ini_path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }


    // An empty store again, no mark, no boxes.
    static void emptyStore() {
        ASSERT_TRUE(emptyStoreStart(20, 80));
        markReset();
        headless_messages_reset();
    }
    // Row 0 "xx abc yy" with "abc" marked, the cursor behind it, and room
    // for `left` bytes more.
    static void markedRow(long left) {
        setRow(0, "xx abc yy");
        fillStoreLeaving(left);
        cursorSet(6, 0);
        markSetInLine(3, 6);
    }

    fs::path dir_;
};

TEST_F(Phrases, KeysNotationAndLoadingFromTheSettingsFile) {
    char key[8];
    const std::pair<int, const char*> keys[] = {{0, "S-C-@"}, {1, "S-C-A"}, {26, "S-C-Z"}, {27, "S-C-["},
                                                {31, "S-C-_"}, {'A', "S-C-A"}, {'_', "S-C-_"}};
    for (const auto& k : keys) {
        phraseKeyName(key, k.first);
        EXPECT_STREQ(key, k.second) << k.first;
    }

    const std::string eighty = "x" + std::string(78, 'y') + "z";
    ini_write("Floskel", "S-C-@", "at_~q~_?");
    ini_write("Floskel", "S-C-_", "under_score");
    ini_write("Floskel", "S-C-Q", eighty.c_str());
    ini_write("Floskel", "S-C-V", "/* @@@ */");
    char out[PHRASE_MAX + 1];
    phrase_get(0, out);
    EXPECT_STREQ(out, "at \"q\" ?");  // the "?" stays for the typing
    phrase_get(31, out);
    EXPECT_STREQ(out, "under score");
    phrase_get('Q', out);  // code AND 31
    EXPECT_EQ(std::string(out), eighty);  // 80 characters, one more than an ordinary value
    phrase_get(22, out);
    EXPECT_STREQ(out, "/* @@@ */");
    phrase_get(kCtrlShiftX, out);
    EXPECT_STREQ(out, "");

    // Loaded once: later changes of the file are not seen in this run;
    // phrase_set holds for the run and is not saved.
    ini_write("Floskel", "S-C-_", "changed");
    phrase_set(kCtrlShiftX, "x_~");
    phrase_get(31, out);
    EXPECT_STREQ(out, "under score");
    phrase_get(kCtrlShiftX, out);
    EXPECT_STREQ(out, "x \"");
    EXPECT_EQ(settingsText().find("S-C-X"), std::string::npos);
}

TEST_F(Phrases, StandardPhrasesTypedByCtrlShiftKeys) {
    PhraseTexts texts;
    phraseFieldsStandard(&texts);
    phraseFieldsSave(texts);
    phrasesForget();  // as in the next run: from the settings file

    ctrlShift(kCtrlShiftI);
    EXPECT_EQ(rowText(0), "#include \"\"");
    EXPECT_EQ(col(), 10);  // between the quotes

    setRow(1, "");
    cursorSet(0, 1);
    ctrlShift(kCtrlShiftL);
    EXPECT_EQ(rowText(1), "for ( i=0; i<; i++ )");
    EXPECT_EQ(col(), 13);  // right after "i<"

    setRow(2, "");
    cursorSet(0, 2);
    ctrlShift(kCtrlShiftC);
    EXPECT_EQ(rowText(2), "case");
    EXPECT_EQ(col(), 5);  // behind the blank

    // X, Y and Z have none: nothing typed, nothing changed.
    modified = 0;
    for (int code : {24, 25, 26}) ctrlShift(code);
    EXPECT_EQ(col(), 5);
    EXPECT_EQ(modified, 0);

    // Ctrl+Shift+letter as a virtual key does nothing: it arrives as a character.
    keyDown('C', true, true, false);
    EXPECT_EQ(rowText(2), "case");

    // Two "?": the cursor stands where the second was; inserted into text.
    setRow(3, "<>");
    cursorSet(1, 3);
    phrase_set(1, "a?b?cd");
    ctrlShift(1);
    EXPECT_EQ(rowText(3), "<abcd>");
    EXPECT_EQ(col(), 3);
    EXPECT_EQ(boxes(), 0);
}

TEST_F(Phrases, APhraseReplacesAMarkInTheCursorLine) {
    setRow(0, "xx abc yy");
    cursorSet(6, 0);
    markSetInLine(3, 6);
    phrase_set(17, "Q?");
    ctrlShift(17);
    EXPECT_EQ(rowText(0), "xx Q yy");
    EXPECT_EQ(col(), 4);
    EXPECT_EQ(markLineCount(), 0);

    // A key without a phrase leaves the mark and its text alone.
    markSetInLine(0, 2);
    ctrlShift(kCtrlShiftX);
    EXPECT_EQ(rowText(0), "xx Q yy");
    EXPECT_EQ(markLineCount(), 1);
}

TEST_F(Phrases, AFullStoreRefusesTheWholePhraseAndKeepsTheMark) {
    phrase_set(1, "ab?cd");
    // One byte less than the four characters need: nothing typed, one box.
    fillStoreLeaving(3);
    modified = 0;
    ctrlShift(1);
    EXPECT_EQ(rowText(0), "");
    EXPECT_EQ(col(), 0);
    EXPECT_EQ(modified, 0);
    ASSERT_EQ(boxes(), 1);
    EXPECT_EQ(headless_boxes()[0].text, storeFullText);

    // Exactly room for them: typed.
    emptyStore();
    fillStoreLeaving(4);
    ctrlShift(1);
    EXPECT_EQ(rowText(0), "abcd");
    EXPECT_EQ(col(), 2);
    EXPECT_EQ(boxes(), 0);

    // With a mark to replace: refused before the mark goes.
    phrase_set(2, "Q");
    emptyStore();
    markedRow(0);
    ctrlShift(2);
    EXPECT_EQ(rowText(0), "xx abc yy");
    EXPECT_EQ(markLineCount(), 1);
    EXPECT_EQ(boxes(), 1);
    emptyStore();
    markedRow(1);
    ctrlShift(2);
    EXPECT_EQ(rowText(0), "xx Q yy");
    EXPECT_EQ(boxes(), 0);
}

TEST_F(Phrases, AbbreviationsFromTheFile) {
    std::vector<std::string> lines = {"fn   function_~?~_  ", "", "For for (;;) {"};
    for (int i = 3; i < 99; ++i) lines.push_back("w" + std::to_string(i) + " p" + std::to_string(i));
    lines.push_back("last line100");      // line 100: read
    lines.push_back("late line101");      // line 101: never read
    writeAbbrevs(lines);
    char out[ABBREV_LINE_MAX + 1];
    EXPECT_EQ(abbrev_expand("FN", out), 13);
    EXPECT_STREQ(out, "function \"?\" ");  // trimmed as read, then "_" is a blank
    abbrev_expand("fOR", out);
    EXPECT_STREQ(out, "for (;;) {");
    abbrev_expand("LAST", out);
    EXPECT_STREQ(out, "line100");
    EXPECT_EQ(abbrev_expand("late", out), 0);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(abbrev_expand("function", out), 0);  // only the first word is looked up

    // Read once: a changed file counts only after the list is forgotten.
    const std::string longLine = "lg " + std::string(70, 'a') + "bbbbbbbbbbbbbbbbbbbb";
    writeAbbrevs({"", longLine});
    EXPECT_EQ(abbrev_expand("fn", out), 13);
    phrasesForget();
    // An empty first line becomes "?"; the others are read; a long line is cut at 78.
    EXPECT_EQ(abbrev_expand("?", out), 0);
    EXPECT_EQ(abbrev_expand("lg", out), 75);
    EXPECT_EQ(std::string(out), std::string(70, 'a') + "bbbbb");

    // No file: an empty list.
    ini_write("Installation", "Floskeln", (dir_ / "missing.txt").string().c_str());
    phrasesForget();
    EXPECT_EQ(abbrev_expand("fn", out), 0);
}

TEST_F(Phrases, CtrlCommaReplacesTheWordOrKeepsAnUnknownOne) {
    writeAbbrevs({"fn function_(?)", "big " + std::string(20, 'b')});
    setRow(0, "x = Fn");
    cursorSet(6, 0);
    ctrlComma();
    EXPECT_EQ(rowText(0), "x = function ()");
    EXPECT_EQ(col(), 14);  // inside the parentheses

    // An unknown word stays, nothing happens, no box.
    setRow(1, "y zz");
    cursorSet(4, 1);
    modified = 0;
    ctrlComma();
    EXPECT_EQ(rowText(1), "y zz");
    EXPECT_EQ(col(), 4);
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(boxes(), 0);

    // A phrase the store cannot take: the word stays too.
    setRow(2, "big");
    cursorSet(3, 2);
    fillStoreLeaving(19);
    ctrlComma();
    EXPECT_EQ(rowText(2), "big");
    EXPECT_EQ(col(), 3);
    EXPECT_EQ(boxes(), 1);
}

}  // namespace
