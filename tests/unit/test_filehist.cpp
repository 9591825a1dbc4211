// The recent files list: order, the 30 entries, the positions, the commands
// of the ten newest entries, the start line of -l and the failed allocation.
#include "document/filehist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/messages.h"

namespace {

class FileHistory : public ::testing::Test {
  protected:
    void SetUp() override {
        historyCreate();
        historyCreate();  // a second call empties the list
        startLineSet(-1);
    }
    void TearDown() override {
        fmalloc_test_fail_after(-1);
        historyDestroy();
    }
    static std::vector<std::string> names() {
        std::vector<std::string> list;
        char name[201];
        for (int i = 0; i < FILHISTSUP; ++i) {
            if (historyName(i, name) == 0) list.push_back(name);
        }
        return list;
    }
};

TEST_F(FileHistory, NewestFirstOneEntryPerNameAndThe31stDropsTheOldest) {
    historyAdd("a");
    historyAdd("b");
    historyAdd("   ");
    historyAdd("");
    historyAdd("a");
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "b"}));
    historyAdd("A");  // names compare exactly
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "a", "b"}));

    historyDestroy();
    historyCreate();
    for (int i = 0; i < 31; ++i) historyAdd(("f" + std::to_string(i)).c_str());
    const std::vector<std::string> list = names();
    ASSERT_EQ(list.size(), 30u);
    EXPECT_EQ(list.front(), "f30");
    EXPECT_EQ(list.back(), "f1");
    char name[201];
    EXPECT_EQ(historyName(30, name), -1);
    EXPECT_EQ(historyName(-1, name), -1);
    EXPECT_STREQ(name, "");
}

TEST_F(FileHistory, TheTenNewestCarryTheirCommands) {
    for (int i = 0; i < 12; ++i) historyAdd(("f" + std::to_string(i)).c_str());
    char name[201];
    historyCommandName(1050, name);
    EXPECT_STREQ(name, "f11");
    historyCommandName(1059, name);
    EXPECT_STREQ(name, "f2");
    historyCommandName(1060, name);
    EXPECT_STREQ(name, "");
    historyAdd("f5");  // moves up: the commands follow the new order
    historyCommandName(1050, name);
    EXPECT_STREQ(name, "f5");
    historyCommandName(1057, name);
    EXPECT_STREQ(name, "f4");
}

TEST_F(FileHistory, PositionsAndTheStartLine) {
    historyAdd("x.c");
    historyAdd("y.c");
    historyStorePosition("x.c", 100, 5, 10, 7);
    std::int32_t top, row, first, col;
    historyPosition("x.c", &top, &row, &first, &col);
    EXPECT_EQ(std::vector<int>({top, row, first, col}), std::vector<int>({100, 5, 10, 7}));
    historyPosition("z.c", &top, &row, &first, &col);  // not in the list
    EXPECT_EQ(std::vector<int>({top, row, first, col}), std::vector<int>({0, 0, 0, 0}));
    historyStorePosition("z.c", 1, 1, 1, 1);  // stores nothing
    EXPECT_EQ(names(), (std::vector<std::string>{"y.c", "x.c"}));

    // The start line wins once, then the stored position is back.
    startLineSet(41);
    historyPosition("x.c", &top, &row, &first, &col);
    EXPECT_EQ(std::vector<int>({top, row, first, col}), std::vector<int>({41, 0, 0, 0}));
    historyPosition("x.c", &top, &row, &first, &col);
    EXPECT_EQ(top, 100);

    // Named again, an entry starts at the top of the file.
    historyAdd("x.c");
    historyPosition("x.c", &top, &row, &first, &col);
    EXPECT_EQ(std::vector<int>({top, row, first, col}), std::vector<int>({0, 0, 0, 0}));

    // Without the list: nothing is stored and nothing found, the start line still counts.
    historyDestroy();
    historyAdd("w.c");
    historyStorePosition("w.c", 3, 3, 3, 3);
    historyPosition("w.c", &top, &row, &first, &col);
    EXPECT_EQ(top, 0);
    startLineSet(2);
    historyPosition("w.c", &top, &row, &first, &col);
    EXPECT_EQ(top, 2);
}

using FileHistoryDeathTest = FileHistory;

TEST_F(FileHistoryDeathTest, AFailedAllocationEndsTheProgram) {
    historyDestroy();
    EXPECT_DEATH(
        {
            fmalloc_test_fail_after(0);
            historyCreate();
        },
        "ASSERT ERROR\nfilehist\\.44\n\\( mps = fmalloc\\( FILHISTSUP,sizeof\\(struct fp\\)\\)\\) != NULL");
}

}  // namespace
