// A command whose scratch block cannot be had, or whose text the clipboard does not take, says so once
// and changes nothing: not the text, not the clipboard, not the marks; the program goes on.
#include "key_fixture.h"

#include "framework/messages.h"
#include "host/headless_profile.h"

namespace {

using Memory = KeyFixture;  // each row puts the memory and the clipboard back

TEST_F(Memory, ACommandWithoutItsScratchBlockOrTheClipboardIsRefusedAndChangesNothing) {
    // The lines marked and the setup keys with memory to spare; keys: pressed when no scratch block is
    // granted (the commands that take one), or when the clipboard refuses (the commands that put on it).
    enum Takes { kBlock = 1, kClipboard = 2 };
    struct Row { const char* what; const char* clipboard; const char* setup; std::vector<int> blockLines;
                 const char* keys; int takes; };
    const Row rows[] = {
        {"paste of one line", "pasted", "", {}, "^V", kBlock},
        {"paste of lines", "one\r\ntwo\r\n", "", {}, "^V", kBlock},
        {"copy of a mark in a line", "before", "{S-Right*3}", {}, "^C", kBlock | kClipboard},
        {"cut of a mark in a line", "before", "{S-Right*3}", {}, "^X", kClipboard},
        {"Shift+Del on a mark in a line", "before", "{S-Right*3}", {}, "{S-Del}", kClipboard},
        {"cut of a column block", "before", "{S-Right*3}{S-Down}", {}, "^X", kBlock | kClipboard},
        {"a line block to the clipboard", "before", "", {0, 1}, "^C", kBlock | kClipboard},
        {"the lines kept by a copy to the clipboard again", "before", "^B", {0}, "^C", kBlock | kClipboard},
    };
    struct Refusal { const char* what; int takes; void (*refuse)(bool); const char* box; };
    const Refusal refusals[] = {
        {"no memory", kBlock, [](bool on) { fmalloc_test_fail_after(on ? 0 : -1); }, memoryShortText},
        {"no clipboard", kClipboard, headless_clipboard_refuse, clipboardRefusedText},
    };
    for (const Refusal& refusal : refusals) {
        for (const Row& r : rows) {
            if ((r.takes & refusal.takes) == 0) continue;
            SCOPED_TRACE(std::string(refusal.what) + ": " + r.what);
            loadText("abcdef\nghijkl\nmnopqr");
            markReset();
            at(1, 0);
            headless_reset();
            clip_put(r.clipboard);
            for (int l : r.blockLines) mark({l});
            keys(r.setup);
            const std::string clipboard = clip();
            const std::string before = text(), marksBefore = marks();
            headless_messages_reset();
            refusal.refuse(true);
            keys(r.keys);
            refusal.refuse(false);
            EXPECT_EQ(std::make_tuple(text(), marks(), clip(), boxes(), box()),
                      std::make_tuple(before, marksBefore, clipboard, 1, std::string(refusal.box)));
            EXPECT_TRUE(storeSound());
        }
    }
}

}  // namespace
