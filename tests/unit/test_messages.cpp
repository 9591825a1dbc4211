// The texts, file boxes and memory blocks, through the headless host (an assertion's box and end: the
// Win32-layer tests).
#include "framework/messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "host/headless_messages.h"
#include "support/platform.h"

namespace {

class Messages : public ::testing::Test {
protected:
    void SetUp() override { headless_messages_reset(); }
    void TearDown() override {
        fmalloc_test_fail_after(-1);
        headless_messages_reset();
    }
};

// Without memory a reserve ring keeps ten texts all the same.
TEST_F(Messages, TextsComeFromARingOfTenCutToTheirBuffersWithOrWithoutMemory) {
    char buf[8] = "#######";
    load_text_into(24, buf, 6);
    EXPECT_STREQ(buf, "Ge\xE4nd");  // single Windows-1252 bytes, cut, nothing written past max
    EXPECT_EQ(buf[6], '#');
    load_text_into(27, buf, 5);  // just past the table: the placeholder, cut too
    EXPECT_STREQ(buf, "Text");
    headless_set_text(900, std::string(600, 'x').c_str());
    EXPECT_EQ(std::string(load_text(900)), std::string(500, 'x'));
    for (bool memory : {true, false}) {
        free_texts();
        const int before = fmalloc_count();
        fmalloc_test_fail_after(memory ? -1 : 0);
        const char* p[11];
        for (int i = 0; i < 11; ++i) p[i] = load_text(i == 0 ? 10 : 11);
        EXPECT_NE(p[9], p[8]) << memory;
        EXPECT_EQ(p[10], p[0]) << memory;  // the eleventh call reuses the first buffer
        fmalloc_test_fail_after(-1);
        free_texts();
        EXPECT_EQ(fmalloc_count(), memory ? before : before + 1);  // a refused request stays counted
    }
}

// The filter's last character separates; a description without a pattern goes; nothing past the limit.
TEST_F(Messages, FileBoxesTakeWholeFilterPairsSplitTheStartNameAndGiveThePathOrNothing) {
    struct Row { std::string filter; std::string pairs; };
    const Row rows[] = {
        {"Alle|Dateien#*.*##", std::string("Alle|Dateien\0*.*\0\0", 19)},
        {"A|*.a|B|", std::string("A\0*.a\0\0", 7)},
        {"", std::string("\0\0", 2)},
        {std::string(190, 'D') + "|*.x|" + std::string(50, 'E') + "|*.y||",
         std::string(190, 'D') + '\0' + "*.x" + '\0' + '\0'},
    };
    for (const Row& r : rows) {
        std::vector<char> guarded(FILE_BOX_FILTER_MAX + 2 + 16, 'g');
        file_box_filter(r.filter.c_str(), guarded.data());
        EXPECT_EQ(std::string(guarded.data(), r.pairs.size()), r.pairs);
        EXPECT_EQ(std::string(guarded.end() - 16, guarded.end()), std::string(16, 'g'));
    }
    struct Split { std::string name; const char* dir; std::string file; };
    const Split splits[] = {
        {"D:notiz.txt", "D:", "notiz.txt"}, {"   \t", "", ""}, {"  /x.txt", "  /", "x.txt"},
        {"C:\\" + std::string(250, 'n'), "C:\\", std::string(197, 'n')},  // only the first 200 count
    };
    for (const Split& r : splits) {
        char dir[FILE_BOX_PATH_MAX + 1], file[FILE_BOX_PATH_MAX + 1];
        file_box_split(r.name.c_str(), dir, file);
        EXPECT_STREQ(dir, r.dir) << r.name;
        EXPECT_EQ(file, r.file) << r.name;
    }
    char name[FILE_BOX_PATH_MAX + 1] = "   ";
    headless_file_answer("");
    EXPECT_EQ(file_save_box(name, "Speichern", "A|*.*||"), 0);  // confirmed without a path: cancelled
    EXPECT_EQ(headless_file_boxes()[0].startName, "");  // a blank start name is no name
    headless_file_answer("C:\\neu\\brief.txt");
    EXPECT_EQ(file_open_box(name, "\326ffnen", "A|*.*||"), 1);
    EXPECT_STREQ(name, "C:\\neu\\brief.txt");
}

// Blocks are refused beyond 2^31 - 1 bytes and when the table is full; foreign and freed ones are never released.
TEST_F(Messages, MemoryBlocksAreZeroedCountedAndNeverTakenFromOthers) {
    const int before = fmalloc_count();
    auto* a = static_cast<unsigned char*>(fmalloc(30000, 4));
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(a, a + 120000), std::vector<unsigned char>(120000, 0));
    for (const auto& [n, size] : {std::pair<long, long>{0, 10}, {10, -1}, {0x10000, 0x10000}, {3, 0x2AAAAAAB}})
        EXPECT_EQ(fmalloc(n, size), nullptr) << n << " x " << size;
    char onStack[16] = "stack";
    void* fromMalloc = std::malloc(32);
    for (void* foreign : {static_cast<void*>(onStack), fromMalloc, static_cast<void*>(a + 1)})
        EXPECT_EQ(ffree(foreign), -1);
    std::free(fromMalloc);
    EXPECT_EQ(ffree(a), 0);
    EXPECT_EQ(ffree(a), -1);
    EXPECT_EQ(fmalloc_count(), before);  // every request counts up, every release down
    std::vector<void*> blocks;
    for (void* p = fmalloc(1, 1); p != nullptr; p = fmalloc(1, 1)) blocks.push_back(p);
    EXPECT_GE(blocks.size() + 8, static_cast<size_t>(FMALLOC_BLOCKS));
    for (void* p : blocks) EXPECT_EQ(ffree(p), 0);
}

}  // namespace
