// Fuzzes the keyboard: a stream of key-downs (every key, with Shift, Ctrl and
// Alt), typed characters and clipboard texts goes to the key dispatcher of an
// editor started on a small document or on a nearly full store, in insert or
// overwrite mode, with "Spaltentreue" and the paste wrap on or off, in a
// window from 1 to 250 columns wide.
// After every key the store must be sound: both stacks parse record by record
// to their counts, no stored line is longer than 250 characters or holds a
// NUL, every window row is in window form, the window rows can always be
// flushed (the edit guard's promise), and the cursor stands inside the window.
// A paste of an empty clipboard changes nothing, not even the changed flag; a
// paste either is refused with a box and changes nothing, or brings every
// visible character of the clipboard into the document, and in insert mode
// loses none of the document's own.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "fuzz_editor.h"
#include "host/headless_messages.h"
#include "support/platform.h"
#include "view/options.h"
#include "view/taste.h"
#include "view/textview.h"

namespace {

// The keys of the key table, and a few it does not know.
constexpr int kKeys[] = {
    vk::kBack, vk::kTab, vk::kReturn, vk::kPrior, vk::kNext, vk::kEnd, vk::kHome, vk::kLeft, vk::kUp,
    vk::kRight, vk::kDown, vk::kInsert, vk::kDelete, vk::kApps, vk::kOe, vk::kAe, vk::kMinus, vk::kComma,
    vk::kPeriod, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M', 'N', 'O', 'P', 'Q', 'R',
    'S', 'T', 'U', 'V', 'W', 'X', 'Y', 'Z', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9', 112, 113, 114,
    115, 116, 117, 118, 119, 120, 121, 122, 123, 96, 107, 109, 187, 191, 219, 220, 221, 226, 0, 255};
constexpr int kKeyCount = static_cast<int>(sizeof kKeys / sizeof kKeys[0]);
constexpr int kWidths[] = {1, 9, 10, 80, 120, 250, 5, 40};

struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool more() const { return at < size; }
    uint8_t next() { return at < size ? data[at++] : 0; }
};

// The clipboard: up to 255 bytes of the input (a NUL ends the text there).
void putClipboard(Input& in) {
    char text[256];
    const int n = in.next();
    int i = 0;
    for (; i < n && in.more(); ++i) text[i] = static_cast<char>(in.next());
    text[i] = '\0';
    clip_put(text);
}

// Every byte count of the visible characters of text.
struct Counts {
    long of[256];
};
FUZZ_UNTRACED Counts visibleCounts(const char* text, std::size_t size) {
    Counts counts{};
    for (std::size_t i = 0; i < size; ++i) ++counts.of[static_cast<unsigned char>(text[i])];
    for (unsigned char c : " \t\r\n\v\f") counts.of[c] = 0;  // and the NUL
    return counts;
}

std::string before, after;  // the document's text before and after a paste

// Ctrl+V of the clipboard text: refused with a box and nothing changed, or
// every visible character of the text is in the document; in insert mode the
// document lost none of its own.
FUZZ_UNTRACED void pasteChecked() {
    char text[300];
    clip_get(text, sizeof text - 1);
    fuzzDocumentText(before);
    const std::size_t boxes = headless_boxes().size();
    keyDown('V', false, true, false);
    fuzzDocumentText(after);
    if (headless_boxes().size() > boxes) {
        fuzzCheck(after == before, "a refused paste changed the document");
        return;
    }
    const Counts was = visibleCounts(before.data(), before.size()), is = visibleCounts(after.data(), after.size()),
                 pasted = visibleCounts(text, std::strlen(text));
    for (int c = 0; c < 256; ++c) {
        fuzzCheck(is.of[c] >= pasted.of[c], "a pasted character is missing from the document");
        fuzzCheck(!insertMode || is.of[c] == was.of[c] + pasted.of[c],
                  "a paste in insert mode lost or gained a character");
    }
}

void pasteOfNothingChangesNothing() {
    clip_put("");
    fuzzDocumentText(before);
    const int wasModified = modified;
    keyDown('V', false, true, false);
    fuzzDocumentText(after);
    fuzzCheck(after == before && modified == wasModified,
              "a paste of an empty clipboard changed the document or its changed flag");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{data, size};
    const uint8_t setup = in.next();
    fuzzEditorStart(20, kWidths[(setup >> 3) & 7], (setup & 4) != 0);
    insertMode = (setup & 1) != 0;
    columnKeep = (setup & 2) != 0;
    pasteWrap = (setup & 64) != 0;
    if (setup & 128) pasteOfNothingChangesNothing();
    for (int keys = 0; in.more() && keys < 2000; ++keys) {
        const uint8_t op = in.next();
        const uint8_t arg = in.next();
        const bool shift = (op & 4) != 0, ctrl = (op & 8) != 0, alt = (op & 16) != 0;
        switch (op & 3) {
        case 0: keyDown(kKeys[arg % kKeyCount], shift, ctrl, alt); break;
        case 1: keyChar(arg, shift, ctrl, alt); break;
        case 2: keyChar('a' + arg % 26, false, false, false); break;
        default:
            if (op & 32) {
                putClipboard(in);
                if (op & 64) pasteChecked();
            } else {
                keyDown(arg, shift, ctrl, alt);
            }
            break;
        }
        fuzzCheckStore();
    }
    fuzzEditorStop();
    return 0;
}
