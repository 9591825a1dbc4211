// The phrases on the Ctrl+Shift keys and the abbreviations of Ctrl+comma, from real settings and abbreviation files.
#include "tools/phrases.h"

#include "editor_fixture.h"
#include "host/headless_messages.h"

namespace {

class Phrases : public SettingsFixture {
protected:
    static void ctrlShift(int code) { keyChar(code, true, true, false); }  // arrives as its control character
    static int col() { return firstCol + cursorCol; }
    // An abbreviation file of the given lines, named in the settings file.
    void writeAbbrevs(const std::vector<std::string>& lines) {
        std::string bytes;
        for (const std::string& line : lines) bytes += line + "\r\n";
        write("abk.txt", bytes);
        ini_write("Installation", "Floskeln", path("abk.txt").c_str());
    }
};

TEST_F(Phrases, PhrasesAreReadOnceFromTheirKeysAndTypedWithTheCursorAtTheQuestionMark) {
    const std::string eighty = "x" + std::string(78, 'y') + "z";
    ini_write("Floskel", "S-C-@", "at_~q~_?");
    ini_write("Floskel", "S-C-Q", eighty.c_str());
    char out[PHRASE_MAX + 1];
    phrase_get(0, out);
    EXPECT_STREQ(out, "at \"q\" ?");  // "_" a blank, "~" a quote; the "?" stays for the typing
    phrase_get('Q', out);  // code AND 31
    EXPECT_EQ(std::string(out), eighty);  // one more than an ordinary value
    ini_write("Floskel", "S-C-@", "changed");  // loaded once: not seen in this run
    phrase_set(24, "x_~");  // holds for the run, never saved
    phrase_get(0, out);
    EXPECT_STREQ(out, "at \"q\" ?");
    EXPECT_EQ(readBytes(headless_ini_path()).find("S-C-X"), std::string::npos);
    PhraseTexts texts;
    phraseFieldsStandard(&texts);
    phraseFieldsSave(texts);
    phrasesForget();  // as in the next run: from the settings file
    struct Row { int code; const char* before; int at; const char* after; int cursor; };
    static const Row rows[] = {
        {9, "", 0, "#include \"\"", 10},  // between the quotes
        {12, "", 0, "for ( i=0; i<; i++ )", 13}, {3, "", 0, "case", 5},  // behind the blank
        {26, "x", 1, "x", 1},  // Z has none: nothing typed
        {1, "<>", 1, "<abcd>", 3},  // two "?": the cursor stands where the second was
    };
    phrase_set(1, "a?b?cd");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        setRow(0, r.before);
        cursorSet(r.at, 0);
        modified = 0;
        ctrlShift(r.code);
        EXPECT_EQ(std::make_tuple(rowText(0), col(), modified),
                  std::make_tuple(std::string(r.after), r.cursor, r.after != std::string(r.before) ? 1 : 0));
    }
}

// A phrase (code 1..26) replaces a mark, an abbreviation (Ctrl+comma, code 0) the word before
// the cursor; a full store refuses the whole text and keeps the mark and the word.
TEST_F(Phrases, PhrasesAndAbbreviationsAreRefusedWholeByAFullStore) {
    phrase_set(1, "ab?cd");
    phrase_set(2, "Q?");
    writeAbbrevs({"", "fn function_(?)", "big " + std::string(20, 'b')});
    struct Row { const char* line; int code, markFrom; long left; const char* after; int cursor, markLines, boxes; };
    static const Row rows[] = {
        {"", 1, -1, 3, "", 0, 0, 1}, {"", 1, -1, 4, "abcd", 2, 0, 0},  // one byte short: nothing, one box
        {"xx abc yy", 2, 3, 0, "xx abc yy", 6, 1, 1},  // refused before the mark goes
        {"xx abc yy", 2, 3, 1, "xx Q yy", 4, 0, 0},
        {"xx abc yy", 24, 3, 1, "xx abc yy", 6, 1, 0},  // a key without a phrase leaves the mark alone
        {"x = Fn", 0, -1, -1, "x = function ()", 14, 0, 0},  // the cursor inside the parentheses
        {"y zz", 0, -1, -1, "y zz", 4, 0, 0},  // an unknown word stays, no box
        {"big", 0, -1, 19, "big", 3, 0, 1},  // a phrase the store cannot take: the word stays too
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.line) + " " + std::to_string(r.code) + " " + std::to_string(r.left));
        ASSERT_TRUE(emptyStoreStart(20, 80));
        markReset();
        headless_messages_reset();
        setRow(0, r.line);
        if (r.left >= 0) fillStoreLeaving(r.left);
        cursorSet(r.markFrom >= 0 ? 6 : static_cast<int>(std::strlen(r.line)), 0);
        if (r.markFrom >= 0) markSetInLine(r.markFrom, 6);
        modified = 0;
        if (r.code) {
            ctrlShift(r.code);
        } else {
            keyDown(vk::kComma, false, true, false);
        }
        EXPECT_EQ(rowText(0), r.after);
        EXPECT_EQ(std::make_tuple(col(), markLineCount(), static_cast<int>(headless_boxes().size()), modified),
                  std::make_tuple(r.cursor, r.markLines, r.boxes, r.after != std::string(r.line) ? 1 : 0));
    }
}

// The abbreviation file is read to its 100th line, each line cut at 78 characters.
TEST_F(Phrases, AnAbbreviationFileIsReadToLine100WithItsLinesCut) {
    std::vector<std::string> lines(98, "w p");
    lines.insert(lines.begin(), "lg " + std::string(70, 'a') + std::string(20, 'b'));
    lines.push_back("last line100");
    lines.push_back("late line101");
    writeAbbrevs(lines);
    char out[ABBREV_LINE_MAX + 1];
    for (const auto& [word, length] : {std::make_pair("lg", 75), std::make_pair("LAST", 7), std::make_pair("late", 0)})
        EXPECT_EQ(abbrev_expand(word, out), length) << word;
}

}  // namespace
