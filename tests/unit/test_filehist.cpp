// The recent files list: its order, its 30 entries and the menu items of the ten newest.
#include "document/filehist.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// The menu "Datei": five fixed items, then what the list appends.
Names menu;
int menuAppend(int kind, int id, const char* text) {
    menu.push_back(kind == 0 ? "-" : std::to_string(id) + " " + text);
    return static_cast<int>(menu.size()) - 1;
}
int menuRemove(int pos) {
    if (pos < 0 || pos >= static_cast<int>(menu.size())) return -1;
    menu.erase(menu.begin() + pos);
    return 0;
}
Names added() { return Names(menu.begin() + 5, menu.end()); }

TEST(FileHistory, NewestFirstOnceEachAndTheTenNewestAsMenuItems) {
    menu = {"new", "open", "save", "print", "exit"};
    const HistoryMenu hooks{menuAppend, menuRemove};
    historySetMenu(&hooks);
    historyCreate();
    for (const char* name : {"a", "b", "   ", "", "a", "A"}) historyAdd(name);  // blank names are no entries
    EXPECT_EQ(added(), (Names{"-", "1050 &0 A", "1051 &1 a", "1052 &2 b"}));  // names compare exactly
    char name[201];
    EXPECT_EQ(historyName(3, name), -1);
    historyCreate();  // a second call empties the list and its items
    EXPECT_EQ(added(), Names{"-"});
    for (int i = 0; i < 31; ++i) historyAdd(("f" + std::to_string(i)).c_str());
    EXPECT_EQ(historyName(29, name), 0);
    EXPECT_STREQ(name, "f1");  // the 31st dropped the oldest
    EXPECT_EQ(historyName(30, name), -1);
    EXPECT_EQ(historyName(-1, name), -1);
    EXPECT_STREQ(name, "");
    historyAdd("f22");  // moves up from entry 8: the items follow, one separator still
    const Names newest{"f22", "f30", "f29", "f28", "f27", "f26", "f25", "f24", "f23", "f21"};
    Names expected{"-"};
    for (int i = 0; i < 10; ++i)
        expected.push_back(std::to_string(1050 + i) + " &" + std::to_string(i) + " " + newest[i]);
    EXPECT_EQ(added(), expected);
    for (const auto& [command, entry] : {std::pair<int, const char*>{1050, "f22"}, {1059, "f21"}, {1060, ""}}) {
        historyCommandName(command, name);
        EXPECT_STREQ(name, entry) << command;
    }
    historyDestroy();
    historyDestroy();  // a second time does nothing
    EXPECT_EQ(added(), Names{"-"});
    historySetMenu(nullptr);
}

}  // namespace
