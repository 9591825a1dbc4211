// The keystroke recorder through the key dispatcher.
#include "view/recorder.h"

#include "key_fixture.h"

namespace {

using Recorder = KeyFixture;

TEST_F(Recorder, ARecordingPlaysBackAtTheCursorWithItsModifiers) {
    setRow(0, "word one");
    recordToggle(2);
    keyDown(vk::kEnd, false, false, false);
    keyChar('!', true, false, false);
    keyDown(vk::kDown, false, false, false);
    keyDown(vk::kHome, false, true, false);  // Ctrl+Home
    keyChar('@', false, true, true);         // AltGr
    keyDown('N', true, true, false);         // Ctrl+Shift+N: not acted on, not recorded
    setRow(2, "word three");
    setRow(3, "word four");
    cursorSet(0, 2);
    playBack(2);  // F2 while recording ends the recording and plays it, not into its own slot
    EXPECT_EQ(rowText(2) + "|" + rowText(3), "word three !|@word four");
    EXPECT_EQ(recordCountGet(2), 5);
    EXPECT_EQ(recordEventGet(2, 4).alt, 1);
    for (const auto& [slot, i] : {std::pair<int, int>{3, 0}, {0, -1}, {0, 400}})
        EXPECT_EQ(recordEventGet(slot, i).code, 0) << slot << " " << i;  // outside: an empty event
    recordToggle(3);  // slot numbers outside 0..2 do nothing
    playBack(-1);
    EXPECT_FALSE(isRecording(3));
    EXPECT_EQ(recordCountGet(3), 0);
    recordToggle(0);
    keys("{Down*450}");
    recordToggle(0);
    EXPECT_EQ(recordCountGet(0), 399);  // a slot keeps the first 399
}

// A playback is one action: on a full store the user is told once, and the
// playback stops at the first refused key.
TEST_F(Recorder, APlaybackStopsAtTheFirstRefusedKeyWithOneBox) {
    recordToggle(0);
    keys("ab{Down}c");
    recordToggle(0);
    rowsClearAll();
    cursorRow = cursorCol = 0;
    fillStoreLeaving(1);  // room for one character
    headless_reset();
    playBack(0);
    EXPECT_EQ(rowText(0) + "|" + rowText(1), "a|");
    EXPECT_EQ(cursorRow, 0);  // the Down after the refused "b" was not played
    EXPECT_EQ(boxes(), 1);
}

// Replayed keys are top-level keys: a recorded Shift+Right makes and extends the mark.
TEST_F(Recorder, ARecordedShiftRightExtendsTheMark) {
    setRow(0, "word one two");
    recordToggle(0);
    keys("{S-Right*2}");
    recordToggle(0);
    keys("{Right}");  // the mark goes; the cursor in column 3
    playBack(0);
    playBack(0);
    char text[16];
    EXPECT_EQ(markedText(text, sizeof text), 1);
    EXPECT_STREQ(text, "d on");
}

}  // namespace
