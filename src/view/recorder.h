// The keystroke recorder: three recording slots that capture the user's
// top-level keystrokes as the key dispatcher sees them and play them back into
// it, and the last two keystrokes, by which some Ctrl commands recognise that
// they are being repeated.
//
// Slot 0 is recorded with Shift+F2 and played with F2, slot 1 with Shift+F3 and
// F3, slot 2 with Shift+F4 and F4. A slot keeps at most 399 keystrokes; later
// ones are not kept. Everything lives in memory for the program run.
#pragma once

#include <cstdint>

// One keystroke.
struct KeyEvent {
    unsigned char kind;  // 0: virtual key (replayed through keyDown); 1: character (keyChar)
    std::int32_t code;   // the key or character code
    unsigned char shift;  // the modifier states, 0 or 1
    unsigned char ctrl;
    unsigned char alt;
};

constexpr int kRecordSlots = 3;      // recordings
constexpr int kRecordCapacity = 400;  // entries of a slot
constexpr int kRecordKept = 399;      // keystrokes a slot keeps and plays back

constexpr unsigned char kKeyEventVirtual = 0;  // KeyEvent::kind
constexpr unsigned char kKeyEventChar = 1;

// Called by keyDown (kind 0) and keyChar (kind 1) for every keystroke they act
// on, before acting. Only keystrokes at nesting depth 1 count: they become the
// last keystroke and go into every slot that is recording.
void recordKey(int kind, int key, bool shift, bool ctrl, bool alt);
// Starts or ends the recording of a slot (0..2); starting discards its old
// content. Other slot numbers do nothing.
void recordToggle(int slot);
// Ends the slot's recording if it runs, then replays its keystrokes in order as
// top-level keys, as one action: the first key the full store refuses ends the
// playback, and the user is told once. Other slot numbers do nothing.
void playBack(int slot);
// True while the slot records.
bool isRecording(int slot);

// True when the keystroke before the current one had Ctrl down and its code,
// folded with upper_char, equals letter.
bool previousKeyWas(int letter);
// The last top-level keystroke and the one before it (all zero before any).
KeyEvent lastKey();
KeyEvent previousKey();

// --- Inspection and reset (tests) ---------------------------------------------

// Keystrokes stored in the slot (0 for other slot numbers).
int recordCountGet(int slot);
// The slot's entry i (0..399), or an all-zero event for anything else.
KeyEvent recordEventGet(int slot, int i);
// All slots empty and not recording, no last keystrokes.
void recorderReset();
