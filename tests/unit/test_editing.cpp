// Typing and deleting, the view's steps sideways, the refresh: status fields, Ctrl+Q, "Optionen", "Position".
#include "view/editing.h"

#include "key_fixture.h"

#include "host/headless_status.h"
#include "support/profile.h"

namespace {

using Editing = KeyFixture;

// From 10 columns on the view moves in steps of 10, in a narrower window by its width.
TEST_F(Editing, TypingInAnyWindowWidthLeavesNoGapAndLosesNoCharacter) {
    struct Row { int cols, step; };
    static const Row rows[] = {{1, 1}, {5, 5}, {9, 9}, {10, 10}, {11, 10}, {80, 10}};
    std::string typed;
    for (int i = 0; i < 260; ++i) typed += static_cast<char>('0' + i % 43);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cols);
        rowsClearAll();
        firstCol = cursorCol = 0;
        windowCols = r.cols;
        for (int i = 0; i < 260; ++i) {
            typeChar(static_cast<unsigned char>(typed[i]), 1);
            ASSERT_EQ(col(), std::min(i + 1, 249));  // column 249 keeps the cursor
            ASSERT_LT(cursorCol, r.cols);
            ASSERT_EQ(firstCol % r.step, 0);
        }
        typeChar(0, 1);  // a NUL is never typed: it would cut the row
        EXPECT_EQ(rowText(0), typed.substr(0, 249) + typed.back());
        for (int c = 248; c >= 0; --c) {
            cursorToColumn(c);  // back by single columns, each one visited
            ASSERT_EQ(col(), c);
        }
        viewRight();
        EXPECT_EQ(firstCol, std::min(r.step, 249 - r.cols));
    }
}

constexpr std::intptr_t kOptions = 0x1301, kPosition = 0x1300;

class Cursor : public KeyFixture {
  protected:
    void TearDown() override {
        optionsDialogClosed();
        positionDialogClosed();
        editorStop();
    }
    // Refreshes posted to the dialog with this handle since the last reset.
    static int postsTo(std::intptr_t handle) {
        int n = 0;
        for (const HeadlessPostedCommand& c : headless_dialog_commands())
            n += c.dialog == handle && c.id == DLG_REFRESH;
        return n;
    }
};

TEST_F(Cursor, TheFieldsShowTheFlagsInOrderAndAreWrittenOnlyWhenTheyChange) {
    refreshAll();
    struct Row { void (*change)(); const char* flags; int writes; };
    const Row rows[] = {
        {[] {}, " Spalte  Indent ", 0},
        {[] {
             ini_set_file("Y8.ini");
             ini_write("Option", "Klammer", "1");
             optionsLoad();
         }, " Spalte  Indent  AnfZ ", 1},
        {[] {
             lineInsertMode = keepFileTime = 1;
             for (int slot = 0; slot < 3; ++slot) recordToggle(slot);
         }, " Spalte  Indent  Zeile  Dateizeit  AnfZ  F2  F3  F4 ", 1},
        {[] {
             columnKeep = autoIndent = quoteOption = 0;
             recordToggle(1);
         }, " Zeile  Dateizeit  F2  F4 ", 1},
        {[] { statusFieldsReset(); }, " Zeile  Dateizeit  F2  F4 ", 2},
        {[] { optionsBoxClicked(OPT_COLUMN_KEEP, 1); }, " Spalte  Zeile  Dateizeit  F2  F4 ", 1},  // at once
    };
    for (const Row& r : rows) {
        const int writes = headless_status_count();
        r.change();
        refreshAll();
        EXPECT_STREQ(headless_status_text(FLAGS_FIELD), r.flags);
        EXPECT_EQ(headless_status_count(), writes + r.writes) << r.flags;
    }
}

// Ctrl+Q puts the line back as the cursor found it; a longer line needs room in the store.
TEST_F(Cursor, SnapshotRestoresTheLineAsTheCursorFoundIt) {
    load({std::string(200, 's')});
    deleteChars(250);
    LineRecord line;
    lineInit(&line);
    std::memset(line.text, 'f', 250);
    while (storeEditFits(100)) ASSERT_EQ(pushBelow(&line), 0);
    EXPECT_EQ(snapshotRestore(), -1);
    EXPECT_EQ(box(), storeFullText);
    popBelow(&line);
    EXPECT_EQ(snapshotRestore(), 0);
    EXPECT_EQ(rowText(0), std::string(200, 's'));
}

// The dialogs themselves are driven under Wine; here the limits of what they set and when they are told.
TEST_F(Cursor, OptionsAndPositionLimitWhatIsEnteredAndPostOnlyWhatChanged) {
    optionsDialogOpened(kOptions);
    EXPECT_TRUE(optionsDialogIsOpen());
    EXPECT_EQ(postsTo(kOptions), 1);  // it shows its values at once
    optionsDialogView();
    EXPECT_FALSE(optionsDialogView().tabChanged);
    struct Steps { const char* tab; const char* indent; int tabStep, indentStep; };
    static const Steps steps[] = {{"1", "12", 2, 8}, {"40", "abc", 16, 2}, {nullptr, nullptr, 2, 2}};
    for (const Steps& r : steps) {
        optionsStepsSet(r.tab, r.indent);
        EXPECT_EQ(tabStep * 100 + indentStep, r.tabStep * 100 + r.indentStep) << r.tab;
    }
    EXPECT_TRUE(optionsDialogView().tabChanged);
    EXPECT_FALSE(optionsBoxClicked(3040, 1));
    optionsDialogClosed();
    const int posts = postsTo(kOptions);
    refreshAll();
    EXPECT_EQ(postsTo(kOptions), posts);
    load(numbered(0, 30));
    positionDialogOpened(kPosition);
    EXPECT_EQ(positionDialogView().line, 1);
    refreshAll();  // the shown position is current: nothing posted
    cursorToColumn(6);
    refreshAll();
    refreshAll();  // posted again until the dialog has shown it
    EXPECT_EQ(positionDialogView().column, 7);
    refreshAll();
    EXPECT_EQ(postsTo(kPosition), 3);
    struct Position { const char* line; const char* column; int top, row, col; };  // top -1: not checked
    static const Position positions[] = {
        {"5", "300", -1, 4, 6},  // beyond the line's columns: the column stays, the line changes
        {"11", "7", -1, 10, 6},
        {"7", "120", 6, 0, 119},  // the same line again: the view stays where it is
        {"28", "-4", -1, 27, 0},
        {"9999", "x", -1, 29, 0},  // beyond the end: the last line
    };
    for (const Position& p : positions) {
        if (p.top >= 0) cursorSet(cursorCol, 0);
        positionSet(p.line, p.column);
        EXPECT_EQ(p.top < 0 ? line() : topLine * 100 + cursorRow, p.top < 0 ? p.row : p.top * 100 + p.row) << p.line;
        EXPECT_EQ(col(), p.col) << p.line;
    }
    EXPECT_TRUE(headless_boxes().empty());
}

}  // namespace
