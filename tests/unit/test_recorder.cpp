// Tests of the keystroke recorder: recording and playing back through the key
// dispatcher, the 399-keystroke limit, several slots at once, nested keys
// counted as one keystroke, and the previous keystroke that repeated Ctrl
// commands look at.
#include "view/recorder.h"

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <cstring>
#include <string>

#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "view/marking.h"
#include "view/cursor.h"
#include "view/options.h"
#include "view/taste.h"
#include "view/textview.h"

namespace {

class Recorder : public ::testing::Test {
  protected:
    void SetUp() override { editorStart(); }
    void TearDown() override { editorStop(); }

    static std::string row(int r) {
        LineRecord line;
        rowGet(r, &line);
        return line.text;
    }
    static void type(const char* s) {
        for (; *s; ++s) keyChar(static_cast<unsigned char>(*s), false, false, false);
    }
    static void ctrl(int letter) { keyDown(letter, false, true, false); }
};

TEST_F(Recorder, ARecordingPlaysBackAtTheCursor) {
    recordToggle(0);  // Shift+F2
    EXPECT_TRUE(isRecording(0));
    type("abc");
    recordToggle(0);  // Shift+F2 again ends it
    EXPECT_FALSE(isRecording(0));
    EXPECT_EQ(recordCountGet(0), 3);
    playBack(0);  // F2
    EXPECT_EQ(row(0), "abcabc");
    playBack(0);
    EXPECT_EQ(row(0), "abcabcabc");
    EXPECT_EQ(recordCountGet(0), 3);  // playing does not record into its own slot

    // F2 while recording ends the recording and plays it.
    recordToggle(1);
    type("xy");
    playBack(1);
    EXPECT_FALSE(isRecording(1));
    EXPECT_EQ(row(0), "abcabcabcxyxy");

    // Starting again forgets the old recording, even with nothing typed.
    recordToggle(0);
    recordToggle(0);
    EXPECT_EQ(recordCountGet(0), 0);
    playBack(0);
    EXPECT_EQ(row(0), "abcabcabcxyxy");

    // Slot numbers outside 0..2 do nothing.
    recordToggle(3);
    recordToggle(-1);
    playBack(7);
    EXPECT_FALSE(isRecording(3));
    EXPECT_EQ(recordCountGet(3), 0);
}

TEST_F(Recorder, KeysAndModifiersAreKeptAsTheDispatcherSawThem) {
    setRow(0, "word one");
    setRow(1, "word two");
    recordToggle(2);
    keyDown(vk::kEnd, false, false, false);
    keyChar('!', true, false, false);
    keyDown(vk::kDown, false, false, false);
    keyDown(vk::kHome, false, true, false);  // Ctrl+Home
    keyChar('@', false, true, true);         // AltGr
    keyDown('N', true, true, false);         // Ctrl+Shift+N: not acted on, not recorded
    keyDown(16, true, false, false);         // the Shift key itself: not recorded
    keyDown('X', false, false, false);       // a letter key without Ctrl: its character counts
    recordToggle(2);
    ASSERT_EQ(recordCountGet(2), 5);
    const KeyEvent bang = recordEventGet(2, 1);
    EXPECT_EQ(bang.kind, kKeyEventChar);
    EXPECT_EQ(bang.code, '!');
    EXPECT_EQ(bang.shift, 1);
    const KeyEvent home = recordEventGet(2, 3);
    EXPECT_EQ(home.kind, kKeyEventVirtual);
    EXPECT_EQ(home.code, vk::kHome);
    EXPECT_EQ(home.ctrl, 1);
    EXPECT_EQ(home.shift, 0);
    const KeyEvent at = recordEventGet(2, 4);
    EXPECT_EQ(at.ctrl, 1);
    EXPECT_EQ(at.alt, 1);

    // Replayed on the next two lines: the same edits there.
    setRow(2, "word three");
    setRow(3, "word four");
    cursorRow = 2;
    cursorCol = 0;
    playBack(2);
    EXPECT_EQ(row(2), "word three !");
    EXPECT_EQ(row(3), "@word four");
}

TEST_F(Recorder, ASlotKeepsTheFirst399Keystrokes) {
    LineRecord line;
    for (int i = 999; i >= 0; --i) {
        lineInit(&line);
        std::snprintf(line.text, sizeof line.text, "%d", i);
        pushBelow(&line);
    }
    fillWindowFromBelow();
    recordToggle(0);
    for (int i = 0; i < 450; ++i) keyDown(vk::kDown, false, false, false);
    recordToggle(0);
    EXPECT_EQ(recordCountGet(0), 399);
    EXPECT_EQ(topLine + cursorRow, 450);
    EXPECT_EQ(recordEventGet(0, 399).code, vk::kDown);  // the 400th entry was overwritten
    playBack(0);
    EXPECT_EQ(topLine + cursorRow, 849);  // 399 more, not 450
}

// A playback is one action: on a full store the user is told once, and the
// playback stops at the first refused key.
TEST_F(Recorder, APlaybackStopsAtTheFirstRefusedKeyWithOneBox) {
    recordToggle(0);
    type("ab");
    keyDown(vk::kDown, false, false, false);
    type("cd");
    recordToggle(0);
    rowsClearAll();
    cursorRow = cursorCol = 0;
    fillStoreLeaving(1);  // room for one character
    headless_reset();
    playBack(0);
    EXPECT_EQ(row(0), "a");
    EXPECT_EQ(row(1), "");
    EXPECT_EQ(cursorRow, 0);  // the Down after the refused "b" was not played
    EXPECT_EQ(headless_boxes().size(), 1u);
}

// Replayed keys are top-level keys: a recorded Shift+Right makes and extends the mark.
TEST_F(Recorder, ARecordedShiftRightExtendsTheMark) {
    setRow(0, "word one two");
    recordToggle(0);
    keyDown(vk::kRight, true, false, false);
    keyDown(vk::kRight, true, false, false);
    recordToggle(0);
    keyDown(vk::kRight, false, false, false);  // the mark goes; the cursor in column 3
    playBack(0);
    playBack(0);
    char text[16];
    EXPECT_EQ(markedText(text, sizeof text), 1);
    EXPECT_STREQ(text, "d on");
}

TEST_F(Recorder, NestedKeysAreNeitherRecordedNorRemembered) {
    setRow(0, "x");
    setRow(1, "1");
    recordToggle(0);
    keyChar(28, false, true, false);  // Ctrl+#: a whole sequence of keys
    ctrl('A');                        // Ctrl+A: Down and Up and End inside
    cursorRow = 4;
    cursorCol = 0;
    ctrl('2');  // Ctrl+2: Down and Left inside
    recordToggle(0);
    EXPECT_EQ(recordCountGet(0), 3);
    EXPECT_EQ(lastKey().code, '2');
    EXPECT_EQ(previousKey().code, 'A');
    EXPECT_EQ(keyDepth, 0);

    // Called at another depth than 1, recordKey keeps nothing.
    recordToggle(1);
    recordKey(kKeyEventChar, 'q', false, false, false);  // depth 0
    keyDepth = 2;
    recordKey(kKeyEventChar, 'q', false, false, false);
    keyDepth = 0;
    recordToggle(1);
    EXPECT_EQ(recordCountGet(1), 0);
    EXPECT_EQ(lastKey().code, '2');

    // A key pressed for the scroll bar is nested too, and so are the keys of
    // a command run from the menu.
    recordToggle(1);
    keyDownNested(vk::kDown, false, true);
    controlCommand(28);
    recordToggle(1);
    EXPECT_EQ(recordCountGet(1), 0);
    EXPECT_EQ(lastKey().code, '2');
    EXPECT_EQ(keyDepth, 0);
}

TEST_F(Recorder, PlayedKeysAreRecordedIntoAnotherRecordingSlot) {
    recordToggle(0);
    type("ab");
    recordToggle(0);
    recordToggle(1);
    type("-");
    playBack(0);
    recordToggle(1);
    EXPECT_EQ(recordCountGet(1), 3);  // "-", then the two played keys
    EXPECT_EQ(recordEventGet(1, 2).code, 'b');
    cursorCol = 0;
    cursorRow = 1;
    playBack(1);
    EXPECT_EQ(row(1), "-ab");
    // Several slots record at once.
    recordToggle(0);
    recordToggle(2);
    type("z");
    recordToggle(0);
    recordToggle(2);
    EXPECT_EQ(recordCountGet(0), 1);
    EXPECT_EQ(recordCountGet(2), 1);
}

TEST_F(Recorder, ThePreviousKeystrokeTellsRepeatedCtrlCommands) {
    EXPECT_FALSE(previousKeyWas('L'));
    ctrl('W');  // search next: nothing yet, but recorded
    EXPECT_EQ(lastKey().code, 'W');
    ctrl('L');
    EXPECT_TRUE(previousKeyWas('W'));
    ctrl('L');
    EXPECT_TRUE(previousKeyWas('L'));
    type("l");  // a character without Ctrl is no Ctrl command
    type("x");
    EXPECT_FALSE(previousKeyWas('L'));
    keyChar('l', false, true, true);  // AltGr: Ctrl is down, the code folds to L
    ctrl('Q');
    EXPECT_TRUE(previousKeyWas('L'));

    // Ctrl+E, Ctrl+E and Ctrl+U, Ctrl+U go back through older texts;
    // Ctrl+L, Ctrl+L reuses the width, also when played back.
    lineStore("older");
    lineStore("newer");
    cursorRow = 5;
    cursorCol = 0;
    ctrl('E');
    ctrl('E');
    EXPECT_EQ(row(5), "older");
    EXPECT_EQ(row(6), "newer");
    setRow(10, "      a");
    setRow(11, "      b");
    cursorRow = 10;
    cursorCol = 0;
    recordToggle(0);
    ctrl('L');
    ctrl('L');
    recordToggle(0);
    EXPECT_EQ(row(10), "a");
    EXPECT_EQ(row(11), "b");
    setRow(12, "        c");
    setRow(13, "        d");
    keyDown(vk::kLeft, false, false, false);
    playBack(0);
    EXPECT_EQ(row(12), "c");  // computed afresh: eight blanks
    EXPECT_EQ(row(13), "d");  // and reused
}

}  // namespace
