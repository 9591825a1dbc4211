// The keystroke recorder: three slots of 400 keystrokes and the last two
// top-level keystrokes.
#include "view/recorder.h"

#include <array>

#include "support/strfunc.h"
#include "view/editing.h"
#include "view/taste.h"

namespace {

// The recordings and the last two keystrokes; nothing of it is saved.
struct Recorder {
    std::array<std::array<KeyEvent, kRecordCapacity>, kRecordSlots> recordSlots{};
    std::array<std::int32_t, kRecordSlots> recordCount{};  // keystrokes stored per slot
    std::array<bool, kRecordSlots> recording{};            // the slot is recording
    KeyEvent lastKey{};                                    // the last top-level keystroke
    KeyEvent previousKey{};                                // the one before it
    bool playing = false;  // a playback runs (a replayed key cannot start another)
};

Recorder rec;

bool isSlot(int slot) { return slot >= 0 && slot < kRecordSlots; }

unsigned char flag(bool b) { return b ? 1 : 0; }

}  // namespace

void recordKey(int kind, int key, bool shift, bool ctrl, bool alt) {
    // Keys pressed by commands inside other keys are neither recorded nor remembered.
    if (keyDepth != 1) return;
    const KeyEvent event{static_cast<unsigned char>(kind == kKeyEventChar ? kKeyEventChar : kKeyEventVirtual),
                         key, flag(shift), flag(ctrl), flag(alt)};
    rec.previousKey = rec.lastKey;
    rec.lastKey = event;
    for (int slot = 0; slot < kRecordSlots; ++slot) {
        if (!rec.recording[slot]) continue;
        // Once 399 are kept, later keystrokes only overwrite the 400th entry,
        // which playback never reaches.
        std::int32_t& count = rec.recordCount[slot];
        rec.recordSlots[slot][count] = event;
        if (count < kRecordKept) ++count;
    }
}

void recordToggle(int slot) {
    if (!isSlot(slot)) return;
    rec.recording[slot] = !rec.recording[slot];
    if (rec.recording[slot]) rec.recordCount[slot] = 0;
}

void playBack(int slot) {
    if (!isSlot(slot) || rec.playing) return;
    rec.recording[slot] = false;  // F2 right after recording ends it and plays it
    rec.playing = true;
    // A playback is one action: a full store is told once, and the keys after
    // the first refused one would act on a text that lacks its change.
    EditAction action;
    // The slot no longer records, so the replayed keys cannot change it.
    const std::int32_t count = rec.recordCount[slot];
    for (std::int32_t i = 0; i < count && !editActionRefused(); ++i) {
        const KeyEvent event = rec.recordSlots[slot][i];
        const bool shift = event.shift != 0, ctrl = event.ctrl != 0, alt = event.alt != 0;
        if (event.kind == kKeyEventChar) {
            keyChar(event.code, shift, ctrl, alt);
        } else {
            keyDown(event.code, shift, ctrl, alt);
        }
    }
    rec.playing = false;
}

bool isRecording(int slot) { return isSlot(slot) && rec.recording[slot]; }

bool previousKeyWas(int letter) {
    return rec.previousKey.ctrl != 0 && upper_char(rec.previousKey.code) == letter;
}

KeyEvent lastKey() { return rec.lastKey; }
KeyEvent previousKey() { return rec.previousKey; }

int recordCountGet(int slot) { return isSlot(slot) ? rec.recordCount[slot] : 0; }

KeyEvent recordEventGet(int slot, int i) {
    if (!isSlot(slot) || i < 0 || i >= kRecordCapacity) return KeyEvent{};
    return rec.recordSlots[slot][i];
}

void recorderReset() { rec = Recorder{}; }
