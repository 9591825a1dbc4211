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

// A menu "&Datei" of five fixed items that records what the list does to it.
struct FakeMenu {
    std::vector<std::string> items{"new", "open", "save", "print", "exit"};
};
FakeMenu fakeMenu;

int fakeAppend(int kind, int id, const char* text) {
    if (kind == 0) {
        fakeMenu.items.push_back("-");
    } else {
        fakeMenu.items.push_back(std::to_string(id) + " " + text);
    }
    return static_cast<int>(fakeMenu.items.size()) - 1;
}

int fakeRemove(int pos) {
    if (pos < 0 || pos >= static_cast<int>(fakeMenu.items.size())) return -1;
    fakeMenu.items.erase(fakeMenu.items.begin() + pos);
    return 0;
}

class FileHistoryMenu : public FileHistory {
  protected:
    void SetUp() override {
        fakeMenu = FakeMenu{};
        const HistoryMenu menu{fakeAppend, fakeRemove};
        historySetMenu(&menu);
        FileHistory::SetUp();
    }
    void TearDown() override {
        FileHistory::TearDown();
        historySetMenu(nullptr);
    }
    static std::vector<std::string> added() {
        return std::vector<std::string>(fakeMenu.items.begin() + 5, fakeMenu.items.end());
    }
};

TEST_F(FileHistoryMenu, TheTenNewestAsNumberedItemsAfterOneSeparator) {
    historyAdd("C:\\a.c");
    EXPECT_EQ(added(), (std::vector<std::string>{"-", "1050 &0 C:\\a.c"}));
    for (int i = 0; i < 12; ++i) historyAdd(("f" + std::to_string(i)).c_str());
    std::vector<std::string> expected{"-"};
    for (int i = 0; i < 10; ++i) expected.push_back(std::to_string(1050 + i) + " &" + std::to_string(i) + " f" + std::to_string(11 - i));
    EXPECT_EQ(added(), expected);
    historyAdd("f3");  // moves up from entry 8: one separator still, the items renumbered
    EXPECT_EQ(added()[1], "1050 &0 f3");
    EXPECT_EQ(added()[2], "1051 &1 f11");
    EXPECT_EQ(added()[10], "1059 &9 f2");
    EXPECT_EQ(added().size(), 11u);
    historyAdd("  ");  // ignored: the menu stays
    EXPECT_EQ(added().size(), 11u);
    // Each entry knows its item: the command behind the item at its position.
    char name[201];
    historyCommandName(1051, name);
    EXPECT_STREQ(name, "f11");
    EXPECT_EQ(fakeMenu.items[7], "1051 &1 f11");
}

TEST_F(FileHistoryMenu, EmptyingAndReleasingTheListRemoveItsItems) {
    historyAdd("a");
    historyAdd("b");
    historyCreate();  // empties the list
    EXPECT_EQ(added(), std::vector<std::string>{"-"});
    historyAdd("c");
    EXPECT_EQ(added(), (std::vector<std::string>{"-", "1050 &0 c"}));
    historyDestroy();
    EXPECT_EQ(added(), std::vector<std::string>{"-"});
    historyCreate();
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
