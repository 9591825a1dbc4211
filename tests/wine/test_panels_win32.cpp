// The program's frame under Wine: the main window procedure with its run state, its start-up brush and
// font and dropped files; the directory panel's directories and hostile names. (The panels opened by
// their commands: the dialogs' table; real keys in them: end to end; the panel's rules: the core.)
#include "document/dirpanel.h"
#include "document/docstate.h"
#include "document/filehist.h"
#include "resources/resource.h"
#include "shell/config.h"
#include "shell/mainwin_win32.h"
#include "shell/startup.h"
#include "support/app_win32.h"
#include "support/files.h"
#include "support/profile_win32.h"
#include "wine_environment.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <tuple>

namespace {

using MainWindowProc = Win32Test;
using Lines = std::vector<std::string>;

// The window's brush and the program's font at start-up: when the system makes none, the system's own stand
// in, not counted as the program's, so that the end of the run never deletes them.
TEST_F(MainWindowProc, TheStartUpBrushAndFontFallBackToTheSystemsOwn) {
    StartConfig c;
    configDefaults(&c);
    std::strcpy(c.font, "dejavu sans mono");
    for (Background kind : {Background::Colour, Background::Workspace}) {
        c.background = kind;
        ImportStandIn refused("gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(refuseCreateSolidBrush));
        bool owned = true;
        HBRUSH brush = backgroundBrush(c, GetModuleHandleA(nullptr), &owned);
        EXPECT_EQ(std::make_tuple(refused.found(), brush, owned),
                  std::make_tuple(true, GetSysColorBrush(COLOR_APPWORKSPACE), false)) << static_cast<int>(kind);
    }
    ImportStandIn refused("gdi32.dll", "CreateFontA", reinterpret_cast<void*>(refuseCreateFontA));
    bool owned = true;
    HFONT font = programFont(c, &owned);
    EXPECT_EQ(std::make_tuple(refused.found(), font, owned),
              std::make_tuple(true, GetStockObject(ANSI_FIXED_FONT), false));
}

// Commands and owner-drawn items reach the application only in run state 2 (1008 restores the window).
TEST_F(MainWindowProc, CommandsReachTheirOperationsOnlyWhileTheLoopRuns) {
    for (int state : {0, 1, 3, 4, 5, 2}) {
        ShowWindow(App.mainWindow, SW_MINIMIZE);
        DRAWITEMSTRUCT item = {};
        EXPECT_EQ(call(state, WM_COMMAND, CMD_PLACE_WINDOW, 0), 0);
        const LRESULT drawn = call(state, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::make_tuple(state, IsIconic(App.mainWindow) == FALSE, drawn),
                  std::make_tuple(state, state == 2, LRESULT{state == 2}));
    }
}

// Hostile words as names of real files, 200 a folder, each holding its number (Y8_HOSTILE_NAMES: make test 40,
// the campaign 10,000). The directory panel lists each name once (none beyond 80 characters), each line opening
// exactly its file. Dropped (every fifth drop three), the first file opens here, each other starts a copy of the
// program with its name as one word (the test program as such a copy writes its words into Y8_DROP_COPIES); a
// name too long to pass whole is told and starts nothing, never cut to another's name. No canary file appears.
TEST_F(MainWindowProc, HostileNamesDroppedOrChosenInThePanelOpenExactlyTheirFile) {
    const std::string home = currentDirectory();
    const ScratchDir root("y8names");
    const auto folder = [&root](int f) { return root / std::to_string(f) + "\\"; };
    unsigned seed = 1;
    int made = 0;
    for (int drawn = 0, count = hostileCount("Y8_HOSTILE_NAMES", 40); made < count && drawn < 50 * count; ++drawn) {
        const std::string word = hostileWord(&seed), path = folder(made / 200) + word;
        CreateDirectoryA(folder(made / 200).c_str(), nullptr);
        if (word.find_first_of("\\/") != std::string::npos || file_exists(path.c_str())) continue;
        writeFile(path, std::to_string(made) + "\r\n");
        made += file_exists(path.c_str());  // else a name the system refuses
    }
    const std::string copies = folder(-1), victim = folder(-2) + std::string(DROP_NAME_MAX - folder(-2).size(), 'v');
    for (const std::string& dir : {copies, folder(-2)}) CreateDirectoryA(dir.c_str(), nullptr);
    writeFile(victim, "victim\r\n");  // 199 characters, passed whole
    writeFile(victim + "w", "cut, it names the victim\r\n");
    SetEnvironmentVariableA("Y8_DROP_COPIES", copies.substr(0, copies.size() - 1).c_str());
    const auto text = [](const std::string& path) { return fileText(path).substr(0, fileText(path).find('\r')); };
    const auto fits = [](const std::string& path) { return path.size() <= static_cast<size_t>(DROP_NAME_MAX); };
    const auto drop = [&](const Lines& paths) {
        SCOPED_TRACE(paths.empty() ? "no file" : paths[0]);
        const bool opens = !paths.empty() && fits(paths[0]);
        std::multiset<std::string> wanted, started;
        for (size_t i = 1; i < paths.size(); ++i)
            if (fits(paths[i])) wanted.insert(paths[i] + "\n");
        loadLines({});
        hasName = 0;
        wine_clear_main_commands();
        HDROP block = makeDrop(paths);
        call(2, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
        wine_pump();
        if (opens) command(CMD_OPEN_PENDING);  // posted by the drop: run as the loop would
        EXPECT_EQ(std::make_tuple(GlobalSize(block), wine_main_commands().size(), pendingFileCount(), rowText(0),
                                  std::string(hasName ? fileName : ""), wine_seen_boxes().size()),
                  std::make_tuple(SIZE_T{0}, size_t{opens}, 0, opens ? text(paths[0]) : "", opens ? paths[0] : "",
                                  std::all_of(paths.begin(), paths.end(), fits) ? 0u : 1u));
        wine_clear_boxes();
        for (int wait = 0; wait < 1200 && (wait == 0 || started.size() < wanted.size()); ++wait, Sleep(25)) {
            started.clear();
            for (const std::string& name : filesIn(copies)) {
                const std::string words = fileText(copies + name);
                if (!words.empty() && words.back() == '\n') started.insert(words);  // written to its end
            }
        }
        for (const std::string& name : filesIn(copies)) DeleteFileA((copies + name).c_str());
        EXPECT_EQ(started, wanted);
    };
    historyCreate();
    dirFilterSet("");
    for (const Lines& paths : {Lines{victim + "w"}, {victim}, {victim, victim + "w"}, {}}) drop(paths);
    for (int f = 0; f * 200 < made; ++f) {
        const std::string dir = folder(f);
        const Lines names = filesIn(dir);
        std::set<std::string> listed, chosen;
        for (const std::string& name : names)
            if (name.size() <= static_cast<size_t>(DIR_NAME_MAX)) listed.insert(name);
        for (size_t line = 1; line <= listed.size(); ++line) {
            std::strcpy(lastDir, dir.c_str());
            command(CMD_DIRECTORY_PANEL);  // again: choosing a file closes the panel
            const Lines lines = listLines(GetDlgItem(panel(), 3010));
            ASSERT_EQ(lines.size(), listed.size() + 1) << dir;
            SendDlgItemMessageA(panel(), 3010, LB_SETCURSEL, line, 0);
            press(panel(), 3010, LBN_DBLCLK);
            const std::string name = std::string(fileName).substr(std::min(dir.size(), std::strlen(fileName)));
            const std::string shown = lines[line].substr(0, std::min<size_t>(name.size(), 29));  // before the size
            EXPECT_EQ(std::make_tuple(panel(), std::string(fileName), rowText(0), shown),
                      std::make_tuple(HWND{}, dir + name, text(dir + name), name.substr(0, 29)));
            chosen.insert(name);
        }
        EXPECT_EQ(chosen, listed);
        for (size_t i = 0, drops = 1; i < names.size(); ++drops) {  // every fifth drop three files
            Lines paths;
            for (const size_t end = std::min(names.size(), i + (drops % 5 ? 1 : 3)); i < end; ++i)
                paths.push_back(dir + names[i]);
            drop(paths);
        }
    }
    SetEnvironmentVariableA("Y8_DROP_COPIES", nullptr);
    historyDestroy();
    lastDir[0] = '\0';
    for (int f = -2; f * 200 < made; ++f)  // where a command's ">" would write
        EXPECT_FALSE(file_exists((folder(f) + "canary.txt").c_str())) << folder(f);
    for (const std::string& dir : {tempDir(), root.path + "\\", home + "\\"})
        EXPECT_FALSE(file_exists((dir + "canary.txt").c_str())) << dir;
}

}  // namespace
