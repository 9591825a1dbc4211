// The program's frame under Wine: the resources of y8.exe (menu, accelerators,
// start-up options, icon, cursor, about box), the main window procedure with
// the run state, dropped files and the DDE service. y8.exe is read as a data
// file from the folder of this test program, so the program's own resources
// are checked, not a copy of them.
#include "shell/mainwin_win32.h"

#include "document/filehist.h"
#include "framework/dialog_win32.h"
#include "support/platform.h"
#include "resources/resource.h"
#include "support/app_win32.h"
#include "shell/config.h"
#include "shell/startup.h"
#include "support/status_win32.h"
#include "view/marking.h"
#include "wine_environment.h"
#include "../lib/empty_store.h"

#include <gtest/gtest.h>

#include <shellapi.h>
#include <shlobj.h>  // DROPFILES

#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

// y8.exe beside this test program, loaded for its resources only.
class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override {
        char path[MAX_PATH];
        const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
        ASSERT_GT(n, 0u);
        std::string file(path, n);
        file = file.substr(0, file.find_last_of("\\/") + 1) + "y8.exe";
        program_ = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(program_, nullptr) << "the program is built beside the tests: " << file;
    }
    void TearDown() override {
        if (program_) FreeLibrary(program_);
    }

    HMODULE program_ = nullptr;
};

std::string menuText(HMENU menu, int position) {
    char text[128] = "";
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

// Every command item of a menu and its submenus: id -> (text, title of the
// menu bar entry it stands under, title of its submenu or "").
struct Item {
    std::string text;
    std::string menu;
    std::string submenu;
};

void collectItems(HMENU menu, const std::string& top, const std::string& sub, std::multimap<int, Item>* items) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU popup = GetSubMenu(menu, i)) {
            collectItems(popup, top, menuText(menu, i), items);
            continue;
        }
        const UINT id = GetMenuItemID(menu, i);
        if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separator
        items->insert({static_cast<int>(id), Item{menuText(menu, i), top, sub}});
    }
}

// The menu texts of the command table, exactly as the user sees them.
const std::map<int, std::string> kMenuTexts = {
    {1000, "A&nlegen\tCtrl+F7"},          {1001, "&Oeffnen...\tShift+F7"},
    {1002, "E&inf\xFCgen..."},            {1003, "&Sichern\tF8"},
    {1004, "Sichern &als...\tShift+F8"}, {1005, "&Zur\xFC" "ck\tF9"},
    {1006, "&Verzeichnis...\tF5"},       {1007, "&Drucken"},
    {1011, "&Baukasten..."},             {1012, "&Letzte Dateien...\tF7"},
    {1100, "&Suchen...\tCtrl+F"},        {1110, "&Kopieren..\tCtrl+C"},
    {1111, "&Einf\xFCgen..\tCtrl+V"},     {1112, "&Ausschneiden..\tCtrl+X"},
    {1120, "A&bspielen..\tF2"},          {1121, "Au&fzeichnen..\tShift+F2"},
    {1130, "&Detab"},                    {1131, "&Entab"},
    {1132, "PC>&ANSI"},                  {1133, "ANSI>&PC"},
    {1134, "&Sonderzeichen"},            {1135, "HTML>ANSI"},
    {1136, "ANSI>HTML"},                 {1137, "&Leertasten"},
    {1138, "XOR 7"},                     {1200, "&\xDC" "bersicht...\tCtrl+\xDC"},
    {1201, "&Struktur...\tCtrl+T"},      {1210, "&pro-Info...\tCtrl+O"},
    {1211, "&lib-Info A...\tCtrl+I"},    {1212, "&lib-Info B..."},
    {1213, "&lib-Info C..."},            {1215, "&Lint..."},
    {1216, "&Archivkopie..."},           {1300, "&Position...\tCtrl+."},
    {1301, "&Optionen..."},              {1302, "&Eigenschaften..."},
    {1400, "&Baukasten...\tF6"},         {1403, "&Floskeln...\tShift+F6"},
    {1404, "&Facette...\tCtrl-F6"},      {1410, "&Addierer..."},
    {1411, "&ANSI..."},                  {1420, "&Oben"},
    {1422, "&Unten"},                    {1500, "&Anfang"},
    {1501, "&Ende"},                     {1502, "Ent&markieren"},
    {1503, "&Kopieren"},                 {1504, "&Verschieben"},
    {1505, "&L\xF6schen"},                {1506, "&Zwischenablage"},
    {1507, "&Tauschen"},                 {1508, "&Funktion"},
    {1509, "&Umformulieren"},            {1510, "Tab expan&dieren"},
    {1511, "Tab komp&rimieren"},         {1515, "HTML optimieren"},
    {1600, "&Verzeichnisse..."},         {1601, "&Info/Baukasten..."},
    {1602, "F&loskeln..."},              {1603, "&Zus\xE4tze..."},
    {1604, "&Farben, Fonts..."},         {1991, "&Inhalt..."},
    {1998, "E&xit"},                     {1999, "\xDC" "ber Y8..."},
};

TEST_F(ProgramResources, TheMenuHasEveryItemOfTheCommandTableWithItsExactText) {
    HMENU menu = LoadMenuA(program_, "ANW_MENU");
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> bar;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) bar.push_back(menuText(menu, i));
    EXPECT_EQ(bar, (std::vector<std::string>{"&Datei", "&Bearbeiten", "Bloc&k", "&Werkzeug", "Konfi&gurieren",
                                             "&Hilfe"}));

    std::multimap<int, Item> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) collectItems(GetSubMenu(menu, i), bar[i], "", &items);
    for (const auto& [id, text] : kMenuTexts) {
        ASSERT_EQ(items.count(id), 1u) << "command " << id;
        EXPECT_EQ(items.find(id)->second.text, text) << "command " << id;
    }
    EXPECT_EQ(items.size(), kMenuTexts.size()) << "an item the command table does not name";

    // Where the command table places them.
    const auto where = [&](int id) {
        const Item& item = items.find(id)->second;
        return std::make_pair(item.menu, item.submenu);
    };
    for (int id = 1130; id <= 1138; ++id) EXPECT_EQ(where(id), std::make_pair(bar[1], std::string("&Uebersetzen")));
    for (int id : {1420, 1422}) EXPECT_EQ(where(id), std::make_pair(bar[3], std::string("&Strich")));
    for (int id : {1000, 1001, 1011, 1216, 1998}) EXPECT_EQ(where(id).first, "&Datei") << id;
    for (int id = 1500; id <= 1515; ++id) {
        if (kMenuTexts.count(id)) {
            EXPECT_EQ(where(id).first, "Bloc&k") << id;
        }
    }
    for (int id : {1400, 1403, 1404, 1410, 1411}) EXPECT_EQ(where(id).first, "&Werkzeug") << id;
    for (int id = 1600; id <= 1604; ++id) EXPECT_EQ(where(id).first, "Konfi&gurieren") << id;
    for (int id : {1991, 1999}) EXPECT_EQ(where(id).first, "&Hilfe") << id;
    DestroyMenu(menu);
}

TEST_F(ProgramResources, TheAcceleratorsAreTheFunctionKeysOfTheCommandTable) {
    HACCEL table = LoadAcceleratorsA(program_, "ANW_ACCEL");
    ASSERT_NE(table, nullptr);
    ACCEL entries[64];
    const int count = CopyAcceleratorTableA(table, entries, 64);
    // (key, modifiers, command)
    using Key = std::tuple<int, int, int>;
    std::set<Key> found;
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(entries[i].fVirt & FVIRTKEY) << "entry " << i;
        found.insert({entries[i].key, entries[i].fVirt & (FSHIFT | FCONTROL | FALT), entries[i].cmd});
    }
    const std::set<Key> expected = {
        {VK_F7, FCONTROL, 1000}, {VK_F7, FSHIFT, 1001}, {VK_F8, 0, 1003},       {VK_F8, FSHIFT, 1004},
        {VK_F9, 0, 1005},        {VK_F5, 0, 1006},      {VK_F5, FSHIFT, 1010},  {VK_F7, 0, 1012},
        {VK_F2, 0, 1120},        {VK_F2, FSHIFT, 1121}, {VK_F3, 0, 1122},       {VK_F3, FSHIFT, 1123},
        {VK_F4, 0, 1124},        {VK_F4, FSHIFT, 1125}, {VK_F6, 0, 1400},       {VK_F6, FSHIFT, 1403},
        {VK_F6, FCONTROL, 1404}, {VK_F11, 0, 1800},     {VK_F12, 0, 1801},      {VK_F1, 0, 1992},
    };
    EXPECT_EQ(count, 20);
    EXPECT_EQ(found, expected);
    DestroyAcceleratorTable(table);
}

TEST_F(ProgramResources, TheProgramsStartOptionsIconAndCursor) {
    HRSRC found = FindResourceA(program_, "ANW_CONFIG", RT_RCDATA);
    ASSERT_NE(found, nullptr);
    const DWORD size = SizeofResource(program_, found);
    const char* data = static_cast<const char*>(LockResource(LoadResource(program_, found)));
    ASSERT_NE(data, nullptr);
    StartConfig c;
    configDefaults(&c);
    configApply(&c, data, size);
    EXPECT_STREQ(c.className, "Y8");
    EXPECT_STREQ(c.title, "ZEMO Editor");
    EXPECT_STREQ(c.wpFile, "Y8.ini");
    EXPECT_STREQ(c.wpSection, "Global");
    EXPECT_EQ(c.background, Background::Colour);
    EXPECT_EQ(std::make_tuple(c.red, c.green, c.blue), std::make_tuple(245, 245, 245));
    EXPECT_STREQ(c.font, "Fixedsys");  // the rest keeps its defaults
    EXPECT_EQ(c.ddeServer, 1);
    EXPECT_EQ(c.single, 0);
    // The run ends in its empty entry, within the resource.
    ASSERT_GE(size, 2u);
    const std::string bytes(data, size);
    EXPECT_NE(bytes.find(std::string("245 245 245\0\0", 13)), std::string::npos);

    EXPECT_NE(FindResourceA(program_, "ANW_ABOUT", RT_DIALOG), nullptr);
}

TEST_F(ProgramResources, TheIconHasBothSizesAndTheCursorItsHotSpotInTheMiddle) {
    for (int size : {32, 16}) {
        HICON icon = static_cast<HICON>(LoadImageA(program_, "ANW_ICON", IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour = {};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    HCURSOR cursor = static_cast<HCURSOR>(LoadImageA(program_, "KAL_CUR", IMAGE_CURSOR, 32, 32, 0));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 15u);
    EXPECT_EQ(info.yHotspot, 15u);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);
}

TEST_F(ProgramResources, TheAboutBoxCentresItselfAndOkEndsIt) {
    HWND box = CreateDialogParamA(program_, "ANW_ABOUT", App.mainWindow, aboutProc, 0);
    ASSERT_NE(box, nullptr);
    RECT r = {};
    GetWindowRect(box, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 3);

    char text[64] = "";
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ(text, "ZEMO Editor");
    GetDlgItemTextA(box, ABOUT_VERSION, text, sizeof text);
    EXPECT_STREQ(text, "Version 5.32");
    EXPECT_NE(GetDlgItem(box, ABOUT_ICON), nullptr);

    EXPECT_TRUE(IsWindowVisible(box));
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindowVisible(box)) << "OK ends the box";
    DestroyWindow(box);

    box = CreateDialogParamA(program_, "ANW_ABOUT", App.mainWindow, aboutProc, 0);
    ASSERT_NE(box, nullptr);
    SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindowVisible(box)) << "Cancel ends the box";
    DestroyWindow(box);
    SetForegroundWindow(App.mainWindow);
    wine_pump();
}

// ---------------------------------------------------------------- the main window procedure

// Calls the main window procedure for the environment's main window with a
// run state, and puts back the state, the window's placement and this copy's
// placement slot (command 1008 takes one, marks it in Y8.ini and moves the
// window to it).
class MainWindowProc : public ::testing::Test {
protected:
    void SetUp() override {
        savedState_ = runState;
        savedSlot_ = windowSlot;
        slotFile_ = wine_system_profile();
        placement_.length = sizeof placement_;
        GetWindowPlacement(App.mainWindow, &placement_);
        slotForget();
        wine_pump();
        wine_clear_main_commands();
        startupReset();
    }
    void TearDown() override {
        runState = savedState_;
        slotForget();
        windowSlot = savedSlot_;
        wine_system_profile_restore(slotFile_);
        SetWindowPlacement(App.mainWindow, &placement_);
        SetForegroundWindow(App.mainWindow);  // as the environment left it
        wine_pump();
        startupReset();
    }
    static LRESULT call(int state, UINT message, WPARAM wParam, LPARAM lParam) {
        runState = state;
        return mainWindowProc(App.mainWindow, message, wParam, lParam);
    }

    int savedState_ = 2;
    int savedSlot_ = 1;
    WineFileBytes slotFile_;
    WINDOWPLACEMENT placement_ = {};
};

TEST_F(MainWindowProc, CommandsReachTheApplicationOnlyWhileTheLoopRuns) {
    // Command 1008 restores a minimized window: only in run state 2.
    for (int state : {0, 1, 3, 4, 5}) {
        ShowWindow(App.mainWindow, SW_MINIMIZE);
        EXPECT_EQ(call(state, WM_COMMAND, CMD_PLACE_WINDOW, 0), 0);
        EXPECT_TRUE(IsIconic(App.mainWindow)) << "run state " << state;
    }
    EXPECT_EQ(call(2, WM_COMMAND, CMD_PLACE_WINDOW, 0), 0);
    EXPECT_FALSE(IsIconic(App.mainWindow));

    // An owner-drawn item is the application's, and then counts as drawn.
    DRAWITEMSTRUCT item = {};
    EXPECT_EQ(call(2, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 1);
    EXPECT_EQ(call(1, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item)), 0);
}

TEST_F(MainWindowProc, ExitPostsTheCloseInEveryRunState) {
    for (int state : {1, 2}) {
        EXPECT_EQ(call(state, WM_COMMAND, CMD_EXIT, 0), 0);
        MSG msg;
        // Taken off the queue at once: the environment's window must stay.
        EXPECT_TRUE(PeekMessageA(&msg, App.mainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "run state " << state;
        EXPECT_FALSE(PeekMessageA(&msg, App.mainWindow, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    }
    EXPECT_TRUE(IsWindow(App.mainWindow));
}

TEST_F(MainWindowProc, AResultSetForOneMessageNeverAnswersTheNext) {
    char title[128] = "";
    const int length = GetWindowTextA(App.mainWindow, title, sizeof title);
    ASSERT_GT(length, 0);
    setWindowResult(4711);
    EXPECT_EQ(call(2, WM_GETTEXTLENGTH, 0, 0), length);
}

std::string clipboardText() {
    char buf[256] = "";
    clip_get(buf, 255);
    return buf;
}

// The panel among the main window's children whose control id is of class cls.
bool panelWith(int id, const char* cls) {
    for (HWND child = GetWindow(App.mainWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        GetClassNameA(GetDlgItem(child, id), name, sizeof name);
        if (lstrcmpiA(name, cls) == 0) return true;
    }
    return false;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
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
    const Row rows[] = {
        {CMD_DIRECTORY_PANEL, nullptr, [] { return panelWith(3000, "ComboBox"); }},
        {CMD_RECENT_PANEL, nullptr, [] { return panelWith(2500, "Button"); }},
        {CMD_COPY, markedWord, [] { return clipboardText() == "Hallo" && rowText(0) == "Hallo Welt"; }},
        {CMD_CUT, markedWord, [] { return clipboardText() == "Hallo" && rowText(0) == " Welt"; }},
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
        {CMD_HELP_CONTENTS, nullptr, [] { return endsWith(help_test_last_target(), ".chm"); }},
        {CMD_HELP_CONTEXT,  // the page of the active box
         [] {
             call(2, WM_COMMAND, CMD_ANSI_TABLE, 0);
             SetActiveWindow(FindWindowA("#32770", "ANSI"));
         },
         [] { return endsWith(help_test_last_target(), ".chm::/DB1411.html"); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        ASSERT_TRUE(emptyStoreStart(20, 80));
        markReset();
        clip_put("");
        help_test_reset(nullptr, nullptr);
        if (row.before) row.before();
        call(2, WM_COMMAND, static_cast<WPARAM>(row.id), 0);
        wine_pump();
        EXPECT_TRUE(row.done());
        dlg_close_all();
        wine_pump();
    }
    help_test_reset(nullptr, nullptr);
    historyDestroy();
    SetForegroundWindow(App.mainWindow);
}

// A drop as the system hands it over: DROPFILES and the names, double-NUL ended.
// A list without names is still two NULs: the reader skips one name before it
// looks for the end, and past a single NUL it would read whatever lies behind
// the block and take it for more files (which this program starts copies of).
HDROP makeDrop(const std::vector<std::string>& names) {
    size_t size = sizeof(DROPFILES) + (names.empty() ? 2 : 1);
    for (const std::string& name : names) size += name.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    char* p = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& name : names) {
        std::memcpy(p, name.c_str(), name.size() + 1);
        p += name.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

TEST_F(MainWindowProc, ADroppedFileIsOpenedHereAndTheDropReleased) {
    ShowWindow(App.mainWindow, SW_MINIMIZE);
    HDROP drop = makeDrop({"C:\\Meine Texte\\a b.txt"});
    call(2, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_FALSE(IsIconic(App.mainWindow)) << "a drop restores the window";
    EXPECT_EQ(GlobalSize(drop), 0u) << "the drop is released";

    wine_pump();
    std::vector<int> ids;
    for (const WineCommand& c : wine_main_commands()) ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<int>{CMD_OPEN_PENDING}));
    char name[PENDING_NAME_MAX + 1];
    EXPECT_TRUE(pendingFileTake(name));
    EXPECT_STREQ(name, "C:\\Meine Texte\\a b.txt");

    // A drop that brings no file opens nothing, and is released all the same.
    wine_clear_main_commands();
    drop = makeDrop({});
    ASSERT_LE(DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0), 1u) << "no second file to start a copy for";
    call(2, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(GlobalSize(drop), 0u);
    wine_pump();
    EXPECT_TRUE(wine_main_commands().empty());
    EXPECT_EQ(pendingFileCount(), 0);
}

// ---------------------------------------------------------------- DDE service

HDDEDATA CALLBACK clientCallback(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// A DDEML client of its own in this process.
class DdeClient {
public:
    DdeClient() {
        if (DdeInitializeA(&instance_, clientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) instance_ = 0;
    }
    ~DdeClient() {
        if (conversation_) DdeDisconnect(conversation_);
        if (instance_) DdeUninitialize(instance_);
    }
    DdeClient(const DdeClient&) = delete;
    DdeClient& operator=(const DdeClient&) = delete;

    bool connect(const char* service, const char* topic) {
        HSZ s = DdeCreateStringHandleA(instance_, service, CP_WINANSI);
        HSZ t = DdeCreateStringHandleA(instance_, topic, CP_WINANSI);
        conversation_ = DdeConnect(instance_, s, t, nullptr);
        DdeFreeStringHandle(instance_, s);
        DdeFreeStringHandle(instance_, t);
        return conversation_ != nullptr;
    }
    // True when the server acknowledged the execute.
    bool execute(const std::string& data) {
        DWORD result = 0;
        HDDEDATA done = DdeClientTransaction(reinterpret_cast<BYTE*>(const_cast<char*>(data.data())),
                                             static_cast<DWORD>(data.size()), conversation_, nullptr, 0,
                                             XTYP_EXECUTE, 5000, &result);
        return done != nullptr && (result & DDE_FACK) != 0;
    }
    DWORD instance() const { return instance_; }

private:
    DWORD instance_ = 0;
    HCONV conversation_ = nullptr;
};

TEST(DdeServiceWin32, TheClassNameConnectsAndALongExecuteIsAcknowledged) {
    // A name of this process's own: test programs running side by side each
    // have their own service.
    const std::string service = "Y8Wine" + std::to_string(GetCurrentProcessId());
    char savedClass[sizeof App.className];
    std::strcpy(savedClass, App.className);
    std::strcpy(App.className, service.c_str());
    ASSERT_TRUE(ddeStart(App.className));
    EXPECT_FALSE(ddeStart(App.className)) << "one service per program";
    {
        DdeClient client;
        ASSERT_NE(client.instance(), 0u);
        EXPECT_FALSE(client.connect((service + "X").c_str(), "System"));
        ASSERT_TRUE(client.connect(service.c_str(), "System"));
        std::string data;
        for (int i = 0; i < 1000; ++i) data += static_cast<char>('a' + i % 26);
        data += '\0';
        EXPECT_TRUE(client.execute(data));
        EXPECT_TRUE(client.execute(std::string("[kurz]", 7)));
    }
    ddeStop();
    {
        DdeClient client;
        EXPECT_FALSE(client.connect(service.c_str(), "System")) << "the service is gone";
    }
    std::strcpy(App.className, savedClass);
}

}  // namespace
