// The search dialogs and the panels under Wine, each driven once through its
// controls: "Suchen", "Im Block tauschen", the overview, structure and search
// lists, the recent files in the menu and their panel, and the directory panel.
#include "document/dirpanel.h"
#include "document/docfile.h"
#include "document/docstate.h"
#include "document/filehist.h"
#include "document/filehist_win32.h"
#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "shell/config.h"
#include "shell/mainwin_win32.h"
#include "support/app_win32.h"
#include "support/profile.h"
#include "textops/block.h"
#include "textops/lists.h"
#include "textops/lists_win32.h"
#include "view/marking.h"
#include "view/search.h"
#include "view/search_win32.h"
#include "wine_environment.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {

using Panels = Win32Test;
using Lines = std::vector<std::string>;

// What the user does when typing into a combo box's edit field: no item selected, text in the field.
void typeInto(HWND dialog, int id, const char* text) {
    SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetDlgItemTextA(dialog, id, text);
}

void setHistory(SearchHistory* h, std::initializer_list<const char*> texts) {
    *h = SearchHistory{};
    int i = 0;
    for (const char* t : texts) std::strcpy(h->items[i++], t);
}

HWND openSearch() {
    searchDialogOpen();
    wine_pump();
    return FindWindowA(nullptr, "Suchen");
}

// "Suchen" (searching, "&Weiter" and replacing are proven end to end): the histories'
// non-empty entries in the combo boxes, the flags in the check boxes; "Ta&uschen" switches
// replacing and moves the focus; there is one dialog of the two; Cancel searches nothing and
// takes the texts into the histories, a blank one not.
TEST_F(Panels, SuchenShowsAndKeepsTheHistories) {
    loadLines({"x", "a zwei"});
    searchReset();
    setHistory(&searchHistory, {"c", "zwei", "", "vier"});
    setHistory(&replaceHistory, {"", "drei"});
    wholeWord = 1;
    HWND dialog = openSearch();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), DLG_ACTION);
    EXPECT_EQ(comboLines(GetDlgItem(dialog, SEARCH_TEXT_COMBO)), (Lines{"c", "zwei", "vier"}));
    EXPECT_EQ(comboLines(GetDlgItem(dialog, SEARCH_REPLACE_COMBO)), Lines{"drei"});
    EXPECT_EQ(itemTexts(dialog, {SEARCH_TEXT_COMBO, SEARCH_REPLACE_COMBO}), (Lines{"c", ""}));
    EXPECT_EQ(std::make_tuple(checked(dialog, SEARCH_WORD_BOX), checked(dialog, SEARCH_CASE_BOX),
                              checked(dialog, SEARCH_REPLACE_BOX)),
              std::make_tuple(true, false, false));
    for (int on : {1, 0}) {
        click(dialog, SEARCH_REPLACE_BOX);
        EXPECT_EQ(std::make_tuple(replaceEnabled, enabled(dialog, SEARCH_REPLACE_COMBO),
                                  enabled(dialog, SEARCH_REPLACE)),
                  std::make_tuple(on, on == 1, on == 1));
        EXPECT_EQ(GetParent(GetFocus()), GetDlgItem(dialog, on ? SEARCH_REPLACE_COMBO : SEARCH_TEXT_COMBO));
    }
    blockReplaceDialogOpen(block_replace);  // the open one comes forward
    wine_pump();
    EXPECT_EQ(FindWindowA(nullptr, "Im Block tauschen"), nullptr);
    typeInto(dialog, SEARCH_TEXT_COMBO, "zwei");
    typeInto(dialog, SEARCH_REPLACE_COMBO, "   ");
    click(dialog, DLG_CANCEL);
    wine_pump();
    EXPECT_EQ(std::make_pair(std::string(searchText), std::string(replaceText)),
              std::make_pair(std::string("zwei"), std::string("   ")));
    const Lines history(std::begin(searchHistory.items), std::end(searchHistory.items));
    EXPECT_EQ(Lines(history.begin(), history.begin() + 2), (Lines{"zwei", "c"}));
    EXPECT_EQ(std::count(history.begin(), history.end(), "zwei"), 1) << "moved to the front, not twice";
    EXPECT_EQ(std::make_pair(std::string(replaceHistory.items[0]), std::string(replaceHistory.items[1])),
              std::make_pair(std::string("drei"), std::string("")));
    EXPECT_EQ(topLine + cursorRow, 0) << "Cancel searches nothing";
    searchReset();
}

// The commands 1100 and 1507 open the dialogs with the marked text; "&Start" replaces in
// the block-marked lines only.
TEST_F(Panels, ImBlockTauschenReplacesInTheMarkedLines) {
    loadLines({"aaa", "a needle", "aaa", "b a"});
    searchReset();
    cursorRow = 1;
    markSetInLine(2, 8);
    command(CMD_SEARCH);
    HWND dialog = FindWindowA(nullptr, "Suchen");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(std::make_tuple(itemText(dialog, SEARCH_TEXT_COMBO), std::string(searchText), markActiveGet()),
              std::make_tuple(std::string("needle"), std::string("needle"), 0));
    click(dialog, DLG_CANCEL);
    wine_pump();

    setRow(0, "aaa", '2');
    setRow(3, "b a", '2');
    setHistory(&replaceHistory, {"aa"});
    command(CMD_BLOCK_REPLACE);
    dialog = FindWindowA(nullptr, "Im Block tauschen");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(searchDialogWindow(), dialog);
    EXPECT_EQ(std::make_tuple(replaceEnabled, checked(dialog, SEARCH_REPLACE_BOX), enabled(dialog, SEARCH_REPLACE_BOX)),
              std::make_tuple(1, true, false));
    EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), SEARCH_BLOCK_START);
    EXPECT_EQ(GetDlgItem(dialog, DLG_ACTION), nullptr);
    typeInto(dialog, SEARCH_TEXT_COMBO, "a");
    click(dialog, SEARCH_BLOCK_START);
    wine_pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ((Lines{rowText(0), rowText(1), rowText(2), rowText(3)}), (Lines{"aaaaaa", "a needle", "aaa", "b aa"}));
    EXPECT_EQ(std::make_pair(std::string(searchHistory.items[0]), std::string(replaceHistory.items[0])),
              std::make_pair(std::string("a"), std::string("aa")));
    searchReset();
    markReset();
}

std::string entry(const char* text, int index) {
    char out[kListEntrySize];
    listEntry(out, text, index);
    return out;
}

HWND listCommand(int id, LPARAM lParam = 0) {
    mainWindowProc(App.mainWindow, WM_COMMAND, static_cast<WPARAM>(id), lParam);
    wine_pump();
    return listPanelWindow();
}

// Every panel stands in the main window's top left corner.
bool atTopLeft(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    POINT corner{0, 0};
    ClientToScreen(App.mainWindow, &corner);
    return GetParent(w) == App.mainWindow && r.left == corner.x && r.top == corner.y;
}

int selected(HWND panel) { return static_cast<int>(SendDlgItemMessageA(panel, 3000, LB_GETCURSEL, 0, 0)); }

// The overview, structure and search lists: one panel at a time in the main window's
// corner, the entries from the builders, choosing by double click or OK moves the cursor,
// Cancel leaves it; the keys post 1200 with the kind set before.
TEST_F(Panels, TheListPanelsChooseALine) {
    loadLines({"int a(void)", "{", "    x = needle;", "    y;", "}", "int b(void)", "{", "    needle();", "}"});
    listText[0] = '\0';
    markReset();
    cursorRow = 2;
    cursorCol = 6;
    HWND overview = listCommand(CMD_OVERVIEW);
    ASSERT_NE(overview, nullptr);
    EXPECT_TRUE(atTopLeft(overview));
    EXPECT_EQ(GetDlgItem(overview, 3010), nullptr) << "no search field";
    EXPECT_EQ(listLines(GetDlgItem(overview, 3000)), (Lines{entry("int a(void)", 0), entry("int b(void)", 5)}));
    EXPECT_EQ(selected(overview), 0);
    HWND structure = listCommand(CMD_STRUCTURE);
    EXPECT_FALSE(IsWindow(overview));
    EXPECT_EQ(listLines(GetDlgItem(structure, 3000)), (Lines{entry("x = needle;", 2), entry("y;", 3)}));

    struct Row { int kind; int cursor; int choose; int id, code; int line, col; };
    const Row rows[] = {
        {-1, 2, 0, IDCANCEL, 0, 2, 6},                // the structure list open: Cancel leaves the cursor
        {kListOverview, 2, 1, 3000, LBN_DBLCLK, 5, 0},  // a double click chooses
        {kListSearch, 5, 0, IDOK, 0, 0, 0},             // the search list without a text: the overview
        {kListStructure, 3, 0, IDOK, 0, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        if (row.kind >= 0) {
            cursorRow = row.cursor;
            listRequest(row.kind, "");
            structure = listCommand(CMD_OVERVIEW, kListPostedByKey);
        }
        ASSERT_NE(structure, nullptr);
        SendDlgItemMessageA(structure, 3000, LB_SETCURSEL, static_cast<WPARAM>(row.choose), 0);
        press(structure, row.id, row.code);
        EXPECT_EQ(listPanelWindow(), nullptr);
        EXPECT_EQ(std::make_pair(topLine + cursorRow, firstCol + cursorCol), std::make_pair(row.line, row.col));
    }

    // With a mark: the search list of the marked text, headers and gaps around the matches.
    cursorRow = 2;
    markSetInLine(8, 14);
    HWND panel = listCommand(CMD_STRUCTURE);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(std::make_pair(markActiveGet(), itemText(panel, 3010)), std::make_pair(0, std::string("needle")));
    const Lines matches = listLines(GetDlgItem(panel, 3000));
    ASSERT_EQ(matches.size(), 7u);
    EXPECT_EQ(std::make_tuple(matches[0], matches[2], matches[4], matches[6]),
              std::make_tuple(entry("int a(void)", 0), entry("    x = needle;", 2), entry("int b(void)", 5),
                              entry("    needle();", 7)));
    EXPECT_EQ(selected(panel), 2);
    // Typed keys: the first Backspace clears (the overview), letters in lower case, Down is
    // left to the box; editing the field compares exactly.
    BYTE saved[256], keys[256] = {};
    GetKeyboardState(saved);
    HWND box = GetDlgItem(panel, 3000);
    const std::tuple<int, bool, const char*, int> typed[] = {{VK_BACK, false, "", -1},
                                                             {'N', true, "n", -1},
                                                             {'E', false, "ne", -1},
                                                             {'E', false, "nee", 2},
                                                             {VK_DOWN, false, "nee", 3}};
    for (const auto& [vk, shift, field, sel] : typed) {
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        key(box, vk);
        EXPECT_EQ(itemText(panel, 3010), field) << vk;
        if (sel >= 0 || !*field) {
            EXPECT_EQ(listLines(box).size(), *field ? matches.size() : 2u) << vk;
        }
        if (sel >= 0) {
            EXPECT_EQ(listLines(box), matches);
            EXPECT_EQ(selected(panel), sel);
        }
    }
    SetKeyboardState(saved);
    EXPECT_EQ(std::make_pair(std::string(listText), listExact), std::make_pair(std::string("nee"), 0));
    SetFocus(GetDlgItem(panel, 3010));
    SetDlgItemTextA(panel, 3010, "  NEEDLE(  ");
    wine_pump();
    EXPECT_EQ(std::make_tuple(std::string(listText), listExact, listLines(box)),
              std::make_tuple(std::string("NEEDLE("), 1, Lines{""}));
    SendMessageA(box, LB_SETCURSEL, 0, 0);
    press(panel, DLG_ACTION);  // the empty entry names no line: the panel stays
    EXPECT_TRUE(IsWindow(panel));
    press(panel, IDCANCEL);
    EXPECT_EQ(topLine + cursorRow, 2);
    markReset();
    listText[0] = '\0';
}

// A directory of the test's own with files, the settings' hidden extension and permanent
// directories, an empty recent files list and an unnamed document.
class FilePanels : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        GetCurrentDirectoryA(MAX_PATH, cwd_);
        dir = tempDir() + "Y8FilesTest" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        CreateDirectoryA((dir + "\\sub").c_str(), nullptr);
        for (const char* name : {"xa.c", "a.txt", "kopf.h", "old.bak"}) writeFile(dir + "\\" + name, "text\r\n");
        writeFile(dir + "\\sub\\inner.txt", "inner\r\n");
        ini_write(CFG_SECTION_ZUSAETZE, "Ext0", "BAK");
        ini_write(CFG_SECTION_DAUER_DIR, "Dir0", "C:\\Kurz");
        ini_write(CFG_SECTION_DAUER_DIR, "Dir4", "C:\\ein\\sehr\\langer\\Pfad\\der\\mehr\\als\\vierzig\\hat");
        ini_write(CFG_SECTION_DAUER_DIR, "Dir7", "..");  // relative: to the current directory
        extensionsForget();
        extensionsInstall();
        dirFilterSet("");
        historyCreate();
        fileName[0] = '\0';
        hasName = modified = 0;
        std::strcpy(lastDir, (dir + "\\").c_str());
        statusBar();
        docShownReset();
    }
    void TearDown() override {
        dlg_close_all();
        historyMenuRemove();
        historyDestroy();
        modified = hasName = 0;
        fileName[0] = lastDir[0] = '\0';
        dirFilterSet("");
        extensionsForget();
        SetCurrentDirectoryA(cwd_);
        DeleteFileA((dir + "\\sub\\inner.txt").c_str());
        RemoveDirectoryA((dir + "\\sub").c_str());
        for (const char* name : {"xa.c", "a.txt", "kopf.h", "old.bak", "neu.txt"})
            DeleteFileA((dir + "\\" + name).c_str());
        RemoveDirectoryA(dir.c_str());
        Win32Test::TearDown();
    }
    std::string currentDir() const {
        char now[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, now);
        return now;
    }
    std::string dir;

  private:
    char cwd_[MAX_PATH] = "";
};

// The ten newest as items of the file menu; the panel "Letzte Dateien" opens the chosen name.
TEST_F(FilePanels, TheRecentFilesAreInTheMenuAndThePanelOpensTheChosenOne) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1000, "A&nlegen");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Datei");
    ASSERT_TRUE(SetMenu(App.mainWindow, bar));
    historyMenuInstall();
    for (int i = 0; i < 12; ++i) historyAdd(("C:\\f" + std::to_string(i) + ".txt").c_str());
    ASSERT_EQ(GetMenuItemCount(file), 12);  // the own item, one separator, ten entries
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    const auto expectItem = [file](int position, const char* text, UINT id) {
        char label[64] = "";
        GetMenuStringA(file, position, label, sizeof label, MF_BYPOSITION);
        EXPECT_EQ(std::make_pair(std::string(label), GetMenuItemID(file, position)),
                  std::make_pair(std::string(text), id));
    };
    expectItem(2, "&0 C:\\f11.txt", 1050);
    expectItem(11, "&9 C:\\f2.txt", 1059);
    historyAdd("C:\\f5.txt");  // moves to the top: the items are made afresh
    ASSERT_EQ(GetMenuItemCount(file), 12);
    expectItem(2, "&0 C:\\f5.txt", 1050);
    expectItem(3, "&1 C:\\f11.txt", 1051);
    historyCreate();  // an emptied list leaves the separator only
    EXPECT_EQ(GetMenuItemCount(file), 2);
    historyMenuRemove();
    SetMenu(App.mainWindow, nullptr);
    DestroyMenu(bar);

    const std::string a = dir + "\\a.txt", x = dir + "\\xa.c";
    historyAdd(a.c_str());
    historyAdd(x.c_str());
    for (bool choose : {false, true}) {
        historyPanelOpen();  // not through the command: its refresh would name the unnamed document
        wine_pump();
        HWND dialog = panel();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(atTopLeft(dialog));
        HWND list = GetDlgItem(dialog, 3010);
        EXPECT_EQ(listLines(list), (Lines{x, a}));
        EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        press(dialog, choose ? 3010 : IDCANCEL, choose ? LBN_DBLCLK : 0);  // a double click is OK
        EXPECT_EQ(panel(), nullptr);
        EXPECT_EQ(std::make_pair(hasName, std::string(fileName)),
                  choose ? std::make_pair(1, a) : std::make_pair(0, std::string()));
    }
    EXPECT_EQ(rowText(0), "text");
}

// The directory panel lists (old.bak hidden), filters by typed keys (the list box does not
// search with them), drops down the permanent directories, reads again on F5, reads a
// directory on OK; Cancel keeps the filter for the next opening. (Opening a file with Enter,
// and Enter outside the list: end to end.)
TEST_F(FilePanels, TheDirectoryPanelListsFiltersReadsAndOpens) {
    command(CMD_DIRECTORY_PANEL);
    HWND dialog = panel();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(atTopLeft(dialog));
    HWND list = GetDlgItem(dialog, 3010), combo = GetDlgItem(dialog, 3000), filter = GetDlgItem(dialog, 3020);
    EXPECT_EQ(windowText(combo), dir + "\\");
    Lines lines = listLines(list);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ((Lines{lines[0], lines[1], lines[2].substr(0, 4), lines[3].substr(0, 6), lines[4].substr(0, 5)}),
              (Lines{"..", "sub\\", "xa.c", "kopf.h", "a.txt"}));
    EXPECT_EQ(lines[4].substr(29, 3), "0  ");
    const std::tuple<int, const char*, int> typed[] = {{'A', "a", 4}, {VK_BACK, "", 5}, {VK_MULTIPLY, "*", -1},
                                                       {VK_OEM_PERIOD, "*.", -1}, {'H', "*.h", 3}, {VK_BACK, "*.", -1},
                                                       {VK_BACK, "*", -1}, {VK_BACK, "", 5}, {'A', "a", 4}};
    for (const auto& [vk, text, count] : typed) {
        key(list, vk);
        EXPECT_EQ(windowText(filter), text) << vk;
        if (count >= 0) {
            EXPECT_EQ(listLines(list).size(), static_cast<size_t>(count)) << vk;
        }
    }
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2) << "the first file selected, not one the box searched";
    key(list, VK_BACK);
    press(dialog, 3000, CBN_DROPDOWN);
    ASSERT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(comboLines(combo)[1],
              std::string("C:\\ein\\sehr\\langer\\Pfad\\der\\mehr\\als\\vierzig\\hat").substr(0, 40));
    EXPECT_EQ(windowText(combo), dir + "\\") << "the drop-down keeps the text";
    writeFile(dir + "\\neu.txt", "");
    command(CMD_DIRECTORY_PANEL);
    EXPECT_EQ(panel(), dialog);
    EXPECT_EQ(listLines(list).size(), 6u);
    SetFocus(list);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    press(dialog, IDOK);
    lines = listLines(list);
    EXPECT_EQ(std::make_tuple(windowText(combo), lines.size(), lines.back().substr(0, 9)),
              std::make_tuple(dir + "\\sub", size_t{2}, std::string("inner.txt")));

    press(dialog, IDCANCEL);
    std::strcpy(lastDir, (dir + "\\").c_str());
    command(CMD_DIRECTORY_PANEL);
    dialog = panel();
    ASSERT_NE(dialog, nullptr);
    key(GetDlgItem(dialog, 3010), 'K');
    press(dialog, IDCANCEL);
    EXPECT_STREQ(dirFilterText(), "k");
    command(CMD_DIRECTORY_PANEL);
    dialog = panel();
    EXPECT_EQ(windowText(GetDlgItem(dialog, 3020)), "k");
    EXPECT_EQ(listLines(GetDlgItem(dialog, 3010)).size(), 3u);  // .., sub\, kopf.h
}

// Keys typed into the combo box's edit field over its whole text.
void typeKeys(HWND combo, const char* text) {
    SetFocus(combo);
    SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
    for (const char* c = text; *c; ++c) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 1);
    wine_pump();
}

TEST_F(FilePanels, ATypedDirectoryIsReadOnceAndEnteredOnlyWhenChosen) {
    command(CMD_DIRECTORY_PANEL);
    HWND dialog = panel();
    ASSERT_NE(dialog, nullptr);
    HWND combo = GetDlgItem(dialog, 3000), list = GetDlgItem(dialog, 3010);
    const std::string sub = dir + "\\sub";
    ASSERT_EQ(currentDir(), dir);

    // Each key reads what the text names from the current directory, which stays.
    typeKeys(combo, "sub");
    Lines lines = listLines(list);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(0, 9), "inner.txt");
    EXPECT_EQ(currentDir(), dir);
    // Enter chooses it: it becomes the current directory, shown as a full path.
    press(dialog, IDOK);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(std::make_tuple(currentDir(), windowText(combo), listLines(list).size()),
              std::make_tuple(sub, sub, size_t{2}));
    // A relative permanent directory chosen from the drop-down list: the same.
    press(dialog, 3000, CBN_DROPDOWN);
    const LRESULT up = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(".."));
    ASSERT_GE(up, 0);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(up), 0);
    press(dialog, 3000, CBN_SELCHANGE);
    EXPECT_EQ(currentDir(), sub) << "a selection alone is no choice";
    press(dialog, 3000, CBN_SELENDOK);
    EXPECT_EQ(std::make_tuple(currentDir(), windowText(combo), listLines(list).size()),
              std::make_tuple(dir, dir, size_t{5}));
}

}  // namespace
