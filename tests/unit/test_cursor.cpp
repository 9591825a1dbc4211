// Tests of the full refresh, the status fields with their caches, the line
// snapshot of Ctrl+Q and the portable halves of the dialogs "Optionen" and
// "Position". Through the headless host, which records status texts,
// commands posted to dialogs and boxes.
#include "view/cursor.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "host/headless_status.h"
#include "support/profile.h"
#include "view/editing.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/refresh.h"
#include "view/textview.h"

namespace {

constexpr std::intptr_t kOptionsHandle = 0x1301;
constexpr std::intptr_t kPositionHandle = 0x1300;

class Cursor : public ::testing::Test {
  protected:
    void SetUp() override { editorStart(); }
    void TearDown() override {
        optionsDialogClosed();
        positionDialogClosed();
        editorStop();
    }

    // Commands posted to the dialog with handle since the last reset.
    static int postsTo(std::intptr_t handle) {
        int n = 0;
        for (const HeadlessPostedCommand& c : headless_dialog_commands())
            if (c.dialog == handle && c.id == DLG_REFRESH) ++n;
        return n;
    }
};

TEST_F(Cursor, StartUpFieldsAndTheirOrder) {
    refreshAll();
    EXPECT_STREQ(headless_status_text(POSITION_FIELD), " 1  1");
    EXPECT_STREQ(headless_status_text(FLAGS_FIELD), " Spalte  Indent ");
    EXPECT_EQ(headless_record().caretRefreshes, 1);
    EXPECT_EQ(headless_record().scrollbarSets, 1);

    // "Klammer" in the ini file adds " AnfZ ".
    ini_set_file("Y8.ini");
    ini_write("Option", "Klammer", "1");
    optionsLoad();
    refreshAll();
    EXPECT_STREQ(headless_status_text(FLAGS_FIELD), " Spalte  Indent  AnfZ ");

    // Every flag on, in the field's order.
    lineInsertMode = keepFileTime = 1;
    for (int slot = 0; slot < 3; ++slot) recordToggle(slot);
    refreshAll();
    EXPECT_STREQ(headless_status_text(FLAGS_FIELD),
                 " Spalte  Indent  Zeile  Dateizeit  AnfZ  F2  F3  F4 ");
    columnKeep = autoIndent = quoteOption = 0;
    recordToggle(1);
    refreshAll();
    EXPECT_STREQ(headless_status_text(FLAGS_FIELD), " Zeile  Dateizeit  F2  F4 ");
}

TEST_F(Cursor, FieldsAreWrittenOnlyWhenTheyChange) {
    refreshAll();
    const int writes = headless_status_count();
    refreshAll();
    EXPECT_EQ(headless_status_count(), writes);

    makeDocument(40);
    gotoLine(11);
    cursorToColumn(33);
    refreshAll();
    EXPECT_EQ(headless_status_count(), writes + 1);  // only the position
    EXPECT_STREQ(headless_status_text(POSITION_FIELD), " 12  34");

    autoIndent = 0;
    refreshAll();
    EXPECT_EQ(headless_status_count(), writes + 2);  // only the flags
    EXPECT_STREQ(headless_status_text(FLAGS_FIELD), " Spalte ");

    statusFieldsReset();
    refreshAll();
    EXPECT_EQ(headless_status_count(), writes + 4);
}

TEST_F(Cursor, SnapshotRestoresTheLineAsTheCursorFoundIt) {
    setRow(0, "first");
    setRow(1, "second");
    refreshAll();  // the cursor arrives on line 0
    cursorToColumn(5);
    typeText(" edited");
    refreshAll();
    deleteChars(3);
    modified = 0;
    headless_reset();
    EXPECT_EQ(snapshotRestore(), 0);
    EXPECT_EQ(rowText(0), "first");
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(headless_record().rowPaintContexts, 1);
    EXPECT_EQ(headless_record().rowsPainted, 1);

    // Away and back: the snapshot is the line as it was on the second arrival.
    cursorToColumn(5);
    typeText("+1");
    refreshAll();
    cursorSet(0, 1);
    refreshAll();
    cursorSet(0, 0);
    refreshAll();
    typeText("X");
    snapshotRestore();
    EXPECT_EQ(rowText(0), "first+1");

    // A snapshot of another line is never put here.
    snapshotReset();
    cursorSet(0, 0);
    typeText("Y");
    snapshotRestore();
    EXPECT_EQ(rowText(0), "Yfirst+1");
}

TEST_F(Cursor, SnapshotOfALongerLineNeedsRoomInTheStore) {
    setRow(0, std::string(200, 's').c_str());
    refreshAll();
    deleteChars(250);
    // Lines below the window fill the store until the long line no longer fits.
    LineRecord line;
    lineInit(&line);
    std::memset(line.text, 'f', 250);
    while (storeEditFits(100)) ASSERT_EQ(pushBelow(&line), 0);
    EXPECT_EQ(snapshotRestore(), -1);
    EXPECT_EQ(rowText(0), "");
    ASSERT_EQ(headless_boxes().size(), 1u);
    EXPECT_EQ(headless_boxes()[0].text, storeFullText);

    popBelow(&line);
    EXPECT_EQ(snapshotRestore(), 0);
    EXPECT_EQ(rowText(0), std::string(200, 's'));
}

TEST_F(Cursor, OptionsDialogLimitsStepsAndActsAtOnce) {
    EXPECT_EQ(tabStepLimited(1), 2);
    EXPECT_EQ(tabStepLimited(40), 16);
    EXPECT_EQ(indentStepLimited(12), 8);

    optionsDialogOpened(kOptionsHandle);
    EXPECT_TRUE(optionsDialogIsOpen());
    EXPECT_EQ(postsTo(kOptionsHandle), 1);  // it shows its values at once
    OptionsView view = optionsDialogView();
    const int expected[OPTIONS_BOXES] = {1, 1, 1, 0, 0, 0, 0};  // in optionsBoxIds order
    for (int i = 0; i < OPTIONS_BOXES; ++i) EXPECT_EQ(view.checks[i], expected[i]) << i;
    EXPECT_TRUE(view.tabChanged);
    EXPECT_EQ(view.tab, 8);
    view = optionsDialogView();
    EXPECT_FALSE(view.tabChanged);
    EXPECT_FALSE(view.indentChanged);

    optionsStepsSet("1", "12");
    EXPECT_EQ(tabStep, 2);
    EXPECT_EQ(indentStep, 8);
    optionsStepsSet("40", "abc");
    EXPECT_EQ(tabStep, 16);
    EXPECT_EQ(indentStep, 2);
    view = optionsDialogView();
    EXPECT_TRUE(view.tabChanged);
    EXPECT_EQ(view.tab, 16);

    // A click sets its option at once, and the status bar and the dialog follow.
    int* const options[OPTIONS_BOXES] = {&insertMode,     &columnKeep, &autoIndent, &quoteOption,
                                         &lineInsertMode, &pasteWrap,  &keepFileTime};
    for (int i = 0; i < OPTIONS_BOXES; ++i) {
        const int was = *options[i];
        const int posts = postsTo(kOptionsHandle);
        EXPECT_TRUE(optionsBoxClicked(optionsBoxIds[i], !was));
        EXPECT_EQ(*options[i], !was) << optionsBoxIds[i];
        EXPECT_EQ(postsTo(kOptionsHandle), posts + 1);
    }
    EXPECT_STREQ(headless_status_text(FLAGS_FIELD), " Zeile  Dateizeit  AnfZ ");
    EXPECT_FALSE(optionsBoxClicked(3040, 1));

    optionsDialogClosed();
    const int posts = postsTo(kOptionsHandle);
    refreshAll();
    EXPECT_EQ(postsTo(kOptionsHandle), posts);
}

TEST_F(Cursor, PositionDialogFollowsTheCursorAndSetsIt) {
    makeDocument(30);
    positionDialogOpened(kPositionHandle);
    EXPECT_EQ(postsTo(kPositionHandle), 1);
    const CursorPosition shown = positionDialogView();
    EXPECT_EQ(shown.line, 1);
    EXPECT_EQ(shown.column, 1);
    refreshAll();  // the shown position is current: nothing posted
    EXPECT_EQ(postsTo(kPositionHandle), 1);
    cursorToColumn(6);
    refreshAll();
    refreshAll();  // posted again until the dialog has shown it
    EXPECT_EQ(postsTo(kPositionHandle), 3);
    positionDialogView();
    refreshAll();
    EXPECT_EQ(postsTo(kPositionHandle), 3);

    // Column 300 lies beyond the line: the column stays, the line changes.
    positionSet("5", "300");
    EXPECT_EQ(topLine + cursorRow, 4);
    EXPECT_EQ(firstCol + cursorCol, 6);
    EXPECT_STREQ(headless_status_text(POSITION_FIELD), " 5  7");

    // The same line again: the view stays where it is.
    gotoLine(10);
    cursorSet(cursorCol, 0);
    positionSet("7", "120");
    EXPECT_EQ(topLine, 6);
    EXPECT_EQ(cursorRow, 0);
    EXPECT_EQ(firstCol + cursorCol, 119);
    positionSet("28", "-4");
    EXPECT_EQ(topLine + cursorRow, 27);
    EXPECT_EQ(firstCol + cursorCol, 0);
    positionSet("9999", "x");  // beyond the end: the last line
    EXPECT_EQ(topLine + cursorRow, 29);
    EXPECT_TRUE(headless_boxes().empty());
}

}  // namespace
