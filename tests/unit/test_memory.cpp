// A command whose scratch block cannot be had says so once and changes nothing: not the text, not the
// clipboard, not the marks; the program goes on.
#include "key_fixture.h"

#include "framework/messages.h"

namespace {

class Memory : public KeyFixture {
  protected:
    void TearDown() override {
        fmalloc_test_fail_after(-1);
        KeyFixture::TearDown();
    }
};

TEST_F(Memory, ACommandWithoutItsScratchBlockIsRefusedAndChangesNothing) {
    // The lines marked and the setup keys with memory to spare; keys: pressed when no block is granted.
    struct Row { const char* what; const char* clipboard; const char* setup; std::vector<int> blockLines;
                 const char* keys; };
    const Row rows[] = {
        {"paste of one line", "pasted", "", {}, "^V"},
        {"paste of lines", "one\r\ntwo\r\n", "", {}, "^V"},
        {"copy of a mark in a line", "before", "{S-Right*3}", {}, "^C"},
        {"cut of a column block", "before", "{S-Right*3}{S-Down}", {}, "^X"},
        {"a line block to the clipboard", "before", "", {0, 1}, "^C"},
        {"the lines kept by a copy to the clipboard again", "before", "^B", {0}, "^C"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
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
        fmalloc_test_fail_after(0);
        keys(r.keys);
        fmalloc_test_fail_after(-1);
        EXPECT_EQ(std::make_tuple(text(), marks(), clip(), boxes(), box()),
                  std::make_tuple(before, marksBefore, clipboard, 1, std::string(memoryShortText)));
        EXPECT_TRUE(storeSound());
    }
}

}  // namespace
