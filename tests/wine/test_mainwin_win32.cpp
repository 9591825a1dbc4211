// The program's frame under Wine: the menu and accelerators of y8.exe (read as a data
// file, so the program's own are checked), the main window procedure with the run state,
// its command table and dropped files. (The DDE service is proven as a process.)
#include "shell/mainwin_win32.h"

#include "../lib/empty_store.h"
#include "document/filehist.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "shell/config.h"
#include "shell/startup.h"
#include "support/app_win32.h"
#include "support/platform.h"
#include "support/status_win32.h"
#include "view/marking.h"
#include "wine_environment.h"

#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

#include <cstring>
#include <functional>
#include <set>
#include <tuple>

namespace {

std::string menuText(HMENU menu, int position) {
    char text[128] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
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

// The menu bar's titles and items in Windows-1252, every command once; the accelerators
// function keys, none bound twice.
TEST(ProgramResources, TheMenuAndTheAcceleratorsCarryEveryCommandOnce) {
    HMODULE program = programResources();
    ASSERT_NE(program, nullptr) << "the program is built beside the tests";
    HMENU menu = LoadMenuA(program, "ANW_MENU");
    ASSERT_NE(menu, nullptr);
    std::multiset<int> ids;
    std::vector<std::string> bar;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) bar.push_back(menuText(menu, i));
    collect(menu, &ids);
    EXPECT_EQ(bar,
              (std::vector<std::string>{"&Datei", "&Bearbeiten", "Bloc&k", "&Werkzeug", "Konfi&gurieren", "&Hilfe"}));
    for (int id : ids) EXPECT_EQ(ids.count(id), 1u) << id;
    char text[64] = "";
    GetMenuStringA(menu, CMD_OVERVIEW, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "&\xDC" "bersicht...\tCtrl+\xDC");
    DestroyMenu(menu);

    HACCEL table = LoadAcceleratorsA(program, "ANW_ACCEL");
    ACCEL entries[64];
    const int count = CopyAcceleratorTableA(table, entries, 64);
    std::set<std::pair<int, int>> keys;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(entries[i].key >= VK_F1 && entries[i].key <= VK_F12 && (entries[i].fVirt & FVIRTKEY)) << i;
        keys.insert({entries[i].key, entries[i].fVirt & (FSHIFT | FCONTROL | FALT)});
    }
    EXPECT_EQ(keys.size(), static_cast<size_t>(count));
    EXPECT_GT(count, 0);
    DestroyAcceleratorTable(table);
    FreeLibrary(program);
}

// Calls the main window procedure and puts back the window's placement and this
// copy's placement slot (command 1008 takes one, marks it in Y8.ini and moves the window).
class MainWindowProc : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        savedSlot_ = windowSlot;
        slotFile_ = wine_system_profile();
        placement_.length = sizeof placement_;
        GetWindowPlacement(App.mainWindow, &placement_);
        slotForget();
        startupReset();
    }
    void TearDown() override {
        runState = 2;
        slotForget();
        windowSlot = savedSlot_;
        wine_system_profile_restore(slotFile_);
        SetWindowPlacement(App.mainWindow, &placement_);
        SetForegroundWindow(App.mainWindow);
        startupReset();
        Win32Test::TearDown();
    }
    static LRESULT call(int state, UINT message, WPARAM wParam, LPARAM lParam) {
        runState = state;
        return mainWindowProc(App.mainWindow, message, wParam, lParam);
    }

    int savedSlot_ = 1;
    std::optional<std::string> slotFile_;
    WINDOWPLACEMENT placement_ = {};
};

TEST_F(MainWindowProc, CommandsReachTheApplicationOnlyWhileTheLoopRuns) {
    for (int state : {0, 1, 3, 4, 5, 2}) {
        ShowWindow(App.mainWindow, SW_MINIMIZE);
        EXPECT_EQ(call(state, WM_COMMAND, CMD_PLACE_WINDOW, 0), 0);
        EXPECT_EQ(IsIconic(App.mainWindow) != FALSE, state != 2) << "1008 restores in run state 2 only: " << state;
    }
    DRAWITEMSTRUCT item = {};
    EXPECT_EQ(call(2, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 1)
        << "an owner-drawn item is the application's";
    EXPECT_EQ(call(1, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
    for (int state : {1, 2}) {
        EXPECT_EQ(call(state, WM_COMMAND, CMD_EXIT, 0), 0);
        MSG msg;  // exit posts the close in every run state; taken off at once: the window must stay
        EXPECT_TRUE(PeekMessageA(&msg, App.mainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << state;
        EXPECT_FALSE(PeekMessageA(&msg, App.mainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    }
    setWindowResult(4711);  // a result set for one message never answers the next
    EXPECT_EQ(call(2, WM_GETTEXTLENGTH, 0, 0), GetWindowTextLengthA(App.mainWindow));
}

std::string clipboardText() {
    char buf[256] = "";
    clip_get(buf, 255);
    return buf;
}

// Commands as the menu and the accelerators deliver them, through both parts of
// the table; each row is seen by what its operation does.
TEST_F(MainWindowProc, TheCommandsReachTheirOperationsThroughTheTable) {
    historyCreate();
    struct Row {
        int id;
        std::function<void()> before;
        std::function<bool()> done;
    };
    const auto markedWord = [] {
        setRow(0, "Hallo Welt");
        markSetInLine(0, 5);
    };
    const auto panelWith = [](int id, const char* cls) {
        char name[32] = "";
        GetClassNameA(GetDlgItem(panel(), id), name, sizeof name);
        return lstrcmpiA(name, cls) == 0;
    };
    const Row rows[] = {
        {CMD_DIRECTORY_PANEL, nullptr, [&] { return panelWith(3000, "ComboBox"); }},
        {CMD_RECENT_PANEL, nullptr, [&] { return panelWith(2500, "Button"); }},
        {CMD_COPY, markedWord, [] { return clipboardText() == "Hallo" && rowText(0) == "Hallo Welt"; }},
        {CMD_ANSI_TABLE, nullptr, [] { return FindWindowA("#32770", "ANSI") != nullptr; }},
        {CMD_STRICH_BOTTOM,  // a ruling line before the cursor's line "b"
         [] {
             setRow(0, "a");
             setRow(1, "b");
             cursorRow = 1;
         },
         [] {
             return topLine + cursorRow == 2 && rowText(cursorRow) == "b" &&
                    rowText(cursorRow - 1) == std::string(72, '_');
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        ASSERT_TRUE(emptyStoreStart(20, 80));
        markReset();
        clip_put("");
        if (row.before) row.before();
        call(2, WM_COMMAND, static_cast<WPARAM>(row.id), 0);
        wine_pump();
        EXPECT_TRUE(row.done());
        dlg_close_all();
        wine_pump();
    }
    historyDestroy();
    SetForegroundWindow(App.mainWindow);
}

TEST_F(MainWindowProc, ADroppedFileIsOpenedHereAndTheDropReleased) {
    for (const char* name : {"C:\\Meine Texte\\a b.txt", static_cast<const char*>(nullptr)}) {
        SCOPED_TRACE(name ? name : "no file");
        wine_clear_main_commands();
        ShowWindow(App.mainWindow, SW_MINIMIZE);
        HDROP drop = name ? makeDrop({name}) : makeDrop({});
        ASSERT_LE(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 1u) << "no second file to start a copy for";
        call(2, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
        EXPECT_FALSE(IsIconic(App.mainWindow)) << "a drop restores the window";
        EXPECT_EQ(GlobalSize(drop), 0u) << "the drop is released";
        wine_pump();
        std::vector<int> ids;
        for (const WineCommand& c : wine_main_commands()) ids.push_back(c.id);
        EXPECT_EQ(ids, name ? std::vector<int>{CMD_OPEN_PENDING} : std::vector<int>{});
        char taken[PENDING_NAME_MAX + 1] = "";
        EXPECT_EQ(pendingFileTake(taken), name != nullptr);
        EXPECT_STREQ(taken, name ? name : "");
    }
}

}  // namespace
