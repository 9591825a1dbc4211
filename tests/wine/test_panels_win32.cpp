// The program's frame and its panels under Wine: the menu and accelerators of y8.exe, the main
// window procedure with the run state, its command table and dropped files; "Suchen", the list
// panels, the recent files in the menu and the directory panel, each driven once through its
// controls. (Real keys in them: end to end; the lists' and the directory panel's rules: the core.)
#include "../lib/empty_store.h"
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
#include "shell/startup.h"
#include "support/app_win32.h"
#include "support/platform.h"
#include "support/profile.h"
#include "support/profile_win32.h"
#include "support/status_win32.h"
#include "textops/block.h"
#include "textops/lists.h"
#include "textops/lists_win32.h"
#include "view/marking.h"
#include "view/search.h"
#include "view/search_win32.h"
#include "wine_environment.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <tuple>

namespace {

using Panels = Win32Test;
using MainWindowProc = Win32Test;
using Lines = std::vector<std::string>;

void setHistory(SearchHistory* h, std::initializer_list<const char*> texts) {
    *h = SearchHistory{};
    int i = 0;
    for (const char* t : texts) std::strcpy(h->items[i++], t);
}

// The histories' non-empty entries in the combo boxes, the flags in the check boxes;
// "Ta&uschen" switches replacing and moves the focus; one dialog of the two; Cancel searches
// nothing and takes the texts into the histories, a blank one not. On a mark: the marked text.
TEST_F(Panels, SuchenShowsAndKeepsTheHistories) {
    loadLines({"x", "a needle"});
    searchReset();
    setHistory(&searchHistory, {"c", "zwei", "", "vier"});
    setHistory(&replaceHistory, {"", "drei"});
    wholeWord = 1;
    HWND dialog = opened(CMD_SEARCH, "Suchen");
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
        EXPECT_EQ(std::make_pair(replaceEnabled, IsWindowEnabled(GetDlgItem(dialog, SEARCH_REPLACE_COMBO))),
                  std::make_pair(on, BOOL{on}));
        EXPECT_EQ(GetParent(GetFocus()), GetDlgItem(dialog, on ? SEARCH_REPLACE_COMBO : SEARCH_TEXT_COMBO));
    }
    blockReplaceDialogOpen(block_replace);  // the open one comes forward
    wine_pump();
    EXPECT_EQ(FindWindowA(nullptr, "Im Block tauschen"), nullptr);
    for (const auto& [id, text] : {std::make_pair(SEARCH_TEXT_COMBO, "zwei"), {SEARCH_REPLACE_COMBO, "   "}}) {
        SendDlgItemMessageA(dialog, id, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);  // typed: no item selected
        SetDlgItemTextA(dialog, id, text);
    }
    press(dialog, DLG_CANCEL);
    EXPECT_EQ(std::string(searchText) + "|" + replaceText, "zwei|   ");
    EXPECT_EQ(Lines(std::begin(searchHistory.items), std::begin(searchHistory.items) + 4),
              (Lines{"zwei", "c", "vier", ""}));
    EXPECT_EQ(std::string(replaceHistory.items[0]) + "|" + replaceHistory.items[1], "drei|");
    EXPECT_EQ(topLine + cursorRow, 0) << "Cancel searches nothing";

    cursorRow = 1;
    markSetInLine(2, 8);
    dialog = opened(CMD_SEARCH, "Suchen");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(std::make_tuple(itemText(dialog, SEARCH_TEXT_COMBO), markActiveGet()), std::make_tuple("needle", 0));
    press(dialog, DLG_CANCEL);
    searchReset();
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

// One list panel at a time; a double click or OK moves the cursor, Cancel leaves it. Keys typed in
// the search list reach the core (Backspace first clears, letters lower case, Down is the box's).
TEST_F(Panels, TheListPanelsChooseALine) {
    loadLines({"int a(void)", "{", "    x = needle;", "    y;", "}", "int b(void)", "{", "    needle();", "}"});
    listText[0] = '\0';
    markReset();
    cursorRow = 2;
    cursorCol = 6;
    HWND overview = listCommand(CMD_OVERVIEW);
    ASSERT_NE(overview, nullptr);
    EXPECT_TRUE(atTopLeft(overview));
    EXPECT_EQ(listLines(GetDlgItem(overview, 3000)), (Lines{entry("int a(void)", 0), entry("int b(void)", 5)}));
    HWND structure = listCommand(CMD_STRUCTURE);
    EXPECT_FALSE(IsWindow(overview));
    EXPECT_EQ(listLines(GetDlgItem(structure, 3000)), (Lines{entry("x = needle;", 2), entry("y;", 3)}));

    struct Row { int kind; int cursor; int choose; int id, code; int line, col; };
    const Row rows[] = {
        {-1, 2, 0, IDCANCEL, 0, 2, 6},                  // the structure list open: Cancel leaves the cursor
        {kListOverview, 2, 1, 3000, LBN_DBLCLK, 5, 0},  // a double click chooses
        {kListSearch, 5, 0, IDOK, 0, 0, 0},             // the search list without a text: the overview
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

    cursorRow = 2;
    markSetInLine(8, 14);  // "needle": the search list of the marked text
    HWND panel = listCommand(CMD_STRUCTURE);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(std::make_pair(markActiveGet(), itemText(panel, 3010)), std::make_pair(0, std::string("needle")));
    const Lines matches = listLines(GetDlgItem(panel, 3000));
    ASSERT_EQ(matches.size(), 7u);
    EXPECT_EQ(std::make_pair(matches[2], selected(panel)), std::make_pair(entry("    x = needle;", 2), 2));
    HWND box = GetDlgItem(panel, 3000);
    const std::tuple<int, bool, const char*, int, int> typed[] = {  // -1: not checked
        {VK_BACK, false, "", 2, -1}, {'N', true, "n", -1, -1}, {'E', false, "ne", -1, -1}, {'E', false, "nee", 7, 2},
        {VK_DOWN, false, "nee", 7, 3}};
    for (const auto& [vk, shift, field, count, sel] : typed) {
        key(box, vk, shift);
        EXPECT_EQ(itemText(panel, 3010), field) << vk;
        if (count >= 0) {
            EXPECT_EQ(listLines(box).size(), static_cast<size_t>(count)) << vk;
        }
        if (sel >= 0) {
            EXPECT_EQ(std::make_pair(listLines(box), selected(panel)), std::make_pair(matches, sel)) << vk;
        }
    }
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

// The ten newest as items of the file menu, made afresh when the list changes.
TEST_F(Panels, TheRecentFilesAreInTheFileMenu) {
    historyCreate();
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 1000, "A&nlegen");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&Datei");
    ASSERT_TRUE(SetMenu(App.mainWindow, bar));
    historyMenuInstall();
    for (int i = 0; i < 12; ++i) historyAdd(("C:\\f" + std::to_string(i) + ".txt").c_str());
    ASSERT_EQ(GetMenuItemCount(file), 12);  // the own item, one separator, ten entries
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    const auto itemAt = [file](int position) {
        char label[64] = "";
        GetMenuStringA(file, position, label, sizeof label, MF_BYPOSITION);
        return label + std::string(" ") + std::to_string(GetMenuItemID(file, position));
    };
    historyAdd("C:\\f5.txt");
    EXPECT_EQ(Lines({itemAt(2), itemAt(3), itemAt(11)}),
              (Lines{"&0 C:\\f5.txt 1050", "&1 C:\\f11.txt 1051", "&9 C:\\f2.txt 1059"}));
    historyCreate();  // an emptied list leaves the separator only
    EXPECT_EQ(GetMenuItemCount(file), 2);
    historyMenuRemove();
    SetMenu(App.mainWindow, nullptr);
    DestroyMenu(bar);
    historyDestroy();
}

// Typed keys filter; the permanent directories drop down, 40 characters each; a typed directory is
// read at each key and entered on OK only, a chosen one on CBN_SELENDOK only; Cancel keeps the filter.
TEST_F(Panels, TheDirectoryPanelListsFiltersAndEntersTheChosenDirectory) {
    const ScratchDir scratch("Y8FilesTest");
    const std::string dir = scratch.path, sub = scratch / "sub";
    const std::string longDir = "C:\\ein\\sehr\\langer\\Pfad\\der\\mehr\\als\\vierzig\\hat";
    CreateDirectoryA(sub.c_str(), nullptr);
    for (const char* name : {"xa.c", "a.txt", "kopf.h", "old.bak", "sub\\inner.txt"}) writeFile(scratch / name, "");
    ini_write(CFG_SECTION_ZUSAETZE, "Ext0", "BAK");
    ini_write(CFG_SECTION_DAUER_DIR, "Dir0", longDir.c_str());
    ini_write(CFG_SECTION_DAUER_DIR, "Dir7", "..");  // relative: to the current directory
    extensionsForget();
    extensionsInstall();
    dirFilterSet("");
    std::strcpy(lastDir, (dir + "\\").c_str());
    fileName[0] = '\0';
    hasName = modified = 0;
    statusBar();

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
    EXPECT_EQ(comboLines(combo), (Lines{longDir.substr(0, 40), ".."}));
    EXPECT_EQ(windowText(combo), dir + "\\") << "the drop-down keeps the text";
    writeFile(dir + "\\neu.txt", "");
    command(CMD_DIRECTORY_PANEL);
    EXPECT_EQ(std::make_pair(panel(), listLines(list).size()), std::make_pair(dialog, size_t{6}));

    SetFocus(combo);  // "sub" typed into the combo box's field
    SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    for (char c : std::string("sub")) SendMessageA(FindWindowExA(combo, nullptr, "Edit", nullptr), WM_CHAR, c, 1);
    wine_pump();
    lines = listLines(list);
    EXPECT_EQ(std::make_tuple(lines.size(), lines.back().substr(0, 9), currentDirectory()),
              std::make_tuple(size_t{2}, std::string("inner.txt"), dir));
    press(dialog, IDOK);
    EXPECT_EQ(std::make_tuple(currentDirectory(), windowText(combo), GetFocus()), std::make_tuple(sub, sub, list));
    press(dialog, 3000, CBN_DROPDOWN);
    SendMessageA(combo, CB_SETCURSEL, 1, 0);  // ".."
    press(dialog, 3000, CBN_SELCHANGE);
    EXPECT_EQ(currentDirectory(), sub) << "a selection alone is no choice";
    press(dialog, 3000, CBN_SELENDOK);
    EXPECT_EQ(std::make_tuple(currentDirectory(), windowText(combo), listLines(list).size()),
              std::make_tuple(dir, dir, size_t{6}));

    key(list, 'K');
    press(dialog, IDCANCEL);
    std::strcpy(lastDir, (dir + "\\").c_str());
    command(CMD_DIRECTORY_PANEL);
    dialog = panel();
    EXPECT_EQ(windowText(GetDlgItem(dialog, 3020)), "k");
    EXPECT_EQ(listLines(GetDlgItem(dialog, 3010)).size(), 3u);  // .., sub\, kopf.h
    dlg_close_all();
    dirFilterSet("");
    extensionsForget();
    lastDir[0] = '\0';
}

// The ids of a menu's command items, its submenus' too.
void collect(HMENU menu, std::multiset<int>* ids) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU popup = GetSubMenu(menu, i)) {
            collect(popup, ids);
        } else if (GetMenuItemID(menu, i) != 0 && GetMenuItemID(menu, i) != static_cast<UINT>(-1)) {
            ids->insert(static_cast<int>(GetMenuItemID(menu, i)));
        }
    }
}

// The program's own menu and accelerators (y8.exe beside the tests, as a data file): six titles,
// items in Windows-1252, every command once; function keys only, none bound twice.
TEST(ProgramResources, TheMenuAndTheAcceleratorsCarryEveryCommandOnce) {
    char path[MAX_PATH];
    std::string file(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    file = file.substr(0, file.find_last_of("\\/") + 1) + "y8.exe";
    HMODULE program = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << "the program is built beside the tests";
    HMENU menu = LoadMenuA(program, "ANW_MENU");
    ASSERT_NE(menu, nullptr);
    std::multiset<int> ids;
    collect(menu, &ids);
    EXPECT_EQ(GetMenuItemCount(menu), 6);
    for (int id : ids) EXPECT_EQ(ids.count(id), 1u) << id;
    char text[64] = "";
    GetMenuStringA(menu, CMD_OVERVIEW, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&\xDC" "bersicht...\tCtrl+\xDC");
    DestroyMenu(menu);

    ACCEL entries[64];
    const int count = CopyAcceleratorTableA(LoadAcceleratorsA(program, "ANW_ACCEL"), entries, 64);
    std::set<std::pair<int, int>> keys;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(entries[i].key >= VK_F1 && entries[i].key <= VK_F12 && (entries[i].fVirt & FVIRTKEY)) << i;
        keys.insert({entries[i].key, entries[i].fVirt & (FSHIFT | FCONTROL | FALT)});
    }
    EXPECT_EQ(keys.size(), static_cast<size_t>(count));
    EXPECT_GT(count, 0);
    FreeLibrary(program);
}

// The window's brush and the program's font at start-up: when the system makes none, its own stand in,
// and those are never deleted at the end.
TEST_F(MainWindowProc, TheStartUpBrushAndFontFallBackToTheSystemsOwn) {
    StartConfig c;
    configDefaults(&c);
    std::tie(c.red, c.green, c.blue) = std::make_tuple(1, 2, 3);
    std::strcpy(c.bgBitmap, "NO_SUCH_BITMAP");
    const COLORREF workspace = GetSysColor(COLOR_APPWORKSPACE);
    struct Row { Background kind; bool refused; COLORREF colour; bool owned; };
    for (const Row& r : {Row{Background::Colour, false, RGB(1, 2, 3), true}, {Background::Colour, true, workspace, false},
                         {Background::Bitmap, false, workspace, true}, {Background::Workspace, true, workspace, false},
                         {Background::System, false, GetSysColor(COLOR_WINDOW), false}}) {
        c.background = r.kind;
        ImportStandIn refused("gdi32.dll", r.refused ? "CreateSolidBrush" : "no such function",
                              reinterpret_cast<void*>(refuseCreateSolidBrush));
        ASSERT_EQ(refused.found(), r.refused);
        bool owned = !r.owned;
        HBRUSH brush = backgroundBrush(c, GetModuleHandleA(nullptr), &owned);
        LOGBRUSH lb{};
        ASSERT_EQ(GetObjectA(brush, sizeof lb, &lb), static_cast<int>(sizeof lb)) << static_cast<int>(r.kind);
        EXPECT_EQ(std::make_pair(lb.lbColor, owned), std::make_pair(r.colour, r.owned)) << static_cast<int>(r.kind);
        if (owned) DeleteObject(brush);
    }
    for (const auto& [face, refuse, owned] : {std::make_tuple("dejavu sans mono", false, true),
                                               std::make_tuple("dejavu sans mono", true, false),
                                               std::make_tuple("", false, false)}) {
        std::strcpy(c.font, face);
        ImportStandIn refused("gdi32.dll", refuse ? "CreateFontA" : "no such function",
                              reinterpret_cast<void*>(refuseCreateFontA));
        ASSERT_EQ(refused.found(), refuse);
        bool made = !owned;
        HFONT font = programFont(c, &made);
        EXPECT_EQ(std::make_pair(made, font == GetStockObject(ANSI_FIXED_FONT)), std::make_pair(owned, !owned))
            << face << refuse;
        if (made) DeleteObject(font);
    }
}

// Commands reach the application only in run state 2 (1008 restores the window), exit posts the
// close in every state; a result set for one message never answers the next. The table's commands
// of the platform are seen by what they do (the core's rows: the command table's native tests).
TEST_F(MainWindowProc, CommandsReachTheirOperationsOnlyWhileTheLoopRuns) {
    for (int state : {0, 1, 3, 4, 5, 2}) {
        ShowWindow(App.mainWindow, SW_MINIMIZE);
        EXPECT_EQ(call(state, WM_COMMAND, CMD_PLACE_WINDOW, 0), 0);
        EXPECT_EQ(IsIconic(App.mainWindow) != FALSE, state != 2) << state;
    }
    DRAWITEMSTRUCT item = {};
    EXPECT_EQ(call(2, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 1) << "owner-drawn: the application's";
    EXPECT_EQ(call(1, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    for (int state : {1, 2}) {
        EXPECT_EQ(call(state, WM_COMMAND, CMD_EXIT, 0), 0);
        MSG msg;  // taken off at once: the window must stay
        EXPECT_TRUE(PeekMessageA(&msg, App.mainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << state;
        EXPECT_FALSE(PeekMessageA(&msg, App.mainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    }
    setWindowResult(4711);
    EXPECT_EQ(call(2, WM_GETTEXTLENGTH, 0, 0), GetWindowTextLengthA(App.mainWindow));

    historyCreate();
    setRow(0, "Hallo Welt");
    markSetInLine(0, 5);
    clip_put("");
    command(CMD_COPY);
    char copied[16] = "";
    clip_get(copied, 15);
    EXPECT_EQ(std::string(copied) + "|" + rowText(0), "Hallo|Hallo Welt");
    markReset();
    command(CMD_RECENT_PANEL);
    char cls[32] = "";
    GetClassNameA(GetDlgItem(panel(), 2500), cls, sizeof cls);
    EXPECT_STREQ(cls, "Button");
    dlg_close_all();
    lastDir[0] = '\0';  // no directory opened yet: the current one
    command(CMD_DIRECTORY_PANEL);
    EXPECT_EQ(windowText(GetDlgItem(panel(), 3000)).rfind(currentDirectory(), 0), 0u);
    dlg_close_all();
    historyDestroy();
}

// Hostile words as real files in folders of 200 (the panel reads 1000), each holding its number: every word
// the system takes as a name of its own (not a path, nor another spelling of one made). The directory panel
// lists each folder's names once (one beyond 80 characters not at all), unchanged before the size column; a
// filter typed in its field lists exactly the names it matches; choosing a line opens exactly the file it
// shows. Dropped (every fifth drop three), the first file opens here, the others start copies of the program
// (the test program here: it leaves the words it was given in Y8_DROP_COPIES), one name each. A name too long
// is refused, the user told, never cut to another file's name. Nothing else starts, no canary appears.
// Y8_HOSTILE_NAMES sets how many files (make test: 40; the campaign: 10,000).
TEST_F(MainWindowProc, HostileNamesDroppedOrChosenInThePanelOpenExactlyTheirFile) {
    const std::string home = currentDirectory();
    const ScratchDir root("y8names");
    const auto folder = [&root](int f) { return root / std::to_string(f) + "\\"; };
    unsigned seed = 1;
    int made = 0, drawn = 0;
    for (const int count = hostileCount("Y8_HOSTILE_NAMES", 40); made < count && drawn < 50 * count; ++drawn) {
        const std::string word = hostileWord(&seed), path = folder(made / 200) + word;
        CreateDirectoryA(folder(made / 200).c_str(), nullptr);
        if (word.find_first_of("\\/") != std::string::npos || file_exists(path.c_str())) continue;
        writeFile(path, std::to_string(made) + "\r\n");
        made += file_exists(path.c_str());  // else a name the system refuses
    }
    std::printf("%d hostile files of %d words drawn\n", made, drawn);
    const std::string copies = folder(-1), longDir = folder(-2);
    const std::string victim = longDir + std::string(DROP_NAME_MAX - longDir.size(), 'v');  // 199 characters
    for (const std::string& dir : {copies, longDir}) CreateDirectoryA(dir.c_str(), nullptr);
    writeFile(victim, "victim\r\n");
    writeFile(victim + "w", "cut, it names the victim\r\n");
    SetEnvironmentVariableA("Y8_DROP_COPIES", copies.substr(0, copies.size() - 1).c_str());
    const auto text = [](const std::string& path) { return fileText(path).substr(0, fileText(path).find('\r')); };
    const auto fits = [](const std::string& path) { return path.size() <= static_cast<size_t>(DROP_NAME_MAX); };
    const auto whole = [](const std::string& words) { return !words.empty() && words.back() == '\n'; };
    const auto dropEach = [&](const std::vector<Lines>& drops) {
        for (const Lines& paths : drops) {
            SCOPED_TRACE(paths.empty() ? "no file" : paths[0]);
            const bool opens = !paths.empty() && fits(paths[0]);
            Lines started, wanted;
            for (size_t i = 1; i < paths.size(); ++i)
                if (fits(paths[i])) wanted.push_back(paths[i] + "\n");
            loadLines({});
            hasName = 0;
            wine_clear_main_commands();
            ShowWindow(App.mainWindow, SW_MINIMIZE);
            HDROP drop = makeDrop(paths);
            call(2, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
            EXPECT_EQ(std::make_tuple(IsIconic(App.mainWindow), GlobalSize(drop)), std::make_tuple(FALSE, SIZE_T{0}));
            wine_pump();
            if (opens) command(CMD_OPEN_PENDING);
            std::vector<int> ids;
            for (const WineCommand& c : wine_main_commands()) ids.push_back(c.id);
            const std::string opened = hasName ? fileName : "";
            EXPECT_EQ(std::make_tuple(ids, opened, rowText(0), pendingFileCount(), wine_seen_boxes().size()),
                      std::make_tuple(opens ? std::vector<int>{CMD_OPEN_PENDING} : std::vector<int>{},
                                      opens ? paths[0] : "", opens ? text(paths[0]) : "", 0,
                                      std::all_of(paths.begin(), paths.end(), fits) ? 0u : 1u));
            wine_clear_boxes();
            for (int wait = 0; wait < 1200; ++wait, Sleep(25)) {  // each copy's file, written to its end (30 s)
                started.clear();
                for (const std::string& name : filesIn(copies)) started.push_back(fileText(copies + name));
                if (started.size() >= wanted.size() && std::all_of(started.begin(), started.end(), whole)) break;
            }
            for (const std::string& name : filesIn(copies)) DeleteFileA((copies + name).c_str());
            std::sort(started.begin(), started.end());
            std::sort(wanted.begin(), wanted.end());
            EXPECT_EQ(started, wanted);
        }
    };
    historyCreate();
    dirFilterSet("");
    dropEach({{victim + "w"}, {victim}, {victim, victim + "w"}, {}});
    for (int f = 0; f * 200 < made; ++f) {
        const std::string dir = folder(f);
        const Lines names = filesIn(dir);
        Lines listed;
        for (const std::string& name : names)
            if (name.size() <= static_cast<size_t>(DIR_NAME_MAX)) listed.push_back(name);
        std::strcpy(lastDir, dir.c_str());
        command(CMD_DIRECTORY_PANEL);
        HWND dialog = panel(), list = GetDlgItem(dialog, 3010), field = GetDlgItem(dialog, 3020);
        const Lines lines = listLines(list);
        ASSERT_EQ(lines.size(), listed.size() + 1) << dir;
        EXPECT_EQ(lines[0], "..");
        SetFocus(field);  // as the user types there
        // A text anywhere in the name, a pattern the whole name; case ignored ("er.c" and ".c" stand in lower case).
        const std::pair<const char*, std::string> filters[] = {
            {"&", "&"}, {"(", "("}, {"ER.C", "er.c"}, {"*.C", ".c"}, {"", ""}};
        for (const auto& filter : filters) {
            SetWindowTextA(field, filter.first);
            press(dialog, 3020, EN_CHANGE);
            const auto shown = [&filter](const std::string& n) {
                const std::string& p = filter.second;
                return *filter.first == '*' ? n.size() > 1 && n.substr(n.size() - 2) == p : n.find(p) != n.npos;
            };
            const size_t count = std::count_if(listed.begin(), listed.end(), shown);
            EXPECT_EQ(listLines(list).size() - 1, count) << filter.first;
        }
        std::set<std::string> chosen;
        for (size_t line = 1; line < lines.size(); ++line) {
            std::strcpy(lastDir, dir.c_str());
            command(CMD_DIRECTORY_PANEL);  // again: choosing a file closes the panel
            SendDlgItemMessageA(panel(), 3010, LB_SETCURSEL, line, 0);
            press(panel(), 3010, LBN_DBLCLK);
            const std::string name = std::string(fileName).substr(std::min(dir.size(), std::strlen(fileName)));
            const std::string shown = lines[line].substr(0, std::min<size_t>(name.size(), 29));  // before the size
            EXPECT_EQ(std::make_tuple(panel(), std::string(fileName), rowText(0), shown),
                      std::make_tuple(HWND{}, dir + name, text(dir + name), name.substr(0, 29)));
            EXPECT_TRUE(chosen.insert(name).second) << name << " twice";
        }
        EXPECT_EQ(chosen, std::set<std::string>(listed.begin(), listed.end()));
        std::vector<Lines> drops;
        for (size_t i = 0; i < names.size(); i += drops.back().size()) {
            drops.emplace_back();
            for (size_t k = i; k < std::min(names.size(), i + (drops.size() % 5 ? 1 : 3)); ++k)
                drops.back().push_back(dir + names[k]);
        }
        dropEach(drops);
        std::printf("folder %d: %zu names listed and chosen, %zu dropped\n", f, listed.size(), names.size());
        std::fflush(stdout);  // how far a long run got
    }
    SetEnvironmentVariableA("Y8_DROP_COPIES", nullptr);
    historyDestroy();
    lastDir[0] = '\0';
    SetCurrentDirectoryA(home.c_str());
    for (int f = -2; f * 200 < made; ++f)  // where a command's ">" would write
        EXPECT_FALSE(file_exists((folder(f) + "canary.txt").c_str())) << folder(f);
    for (const std::string& dir : {tempDir(), root.path + "\\", home + "\\"})
        EXPECT_FALSE(file_exists((dir + "canary.txt").c_str())) << dir;
}

}  // namespace
