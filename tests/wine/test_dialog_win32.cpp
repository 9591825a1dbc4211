// The dialog manager with real modeless dialogs, driven by messages under Wine. Each probe stands in
// for a module with its own init, exit and message procedures (a dialog is known by its message
// procedure, so the table of 100 needs 101) and records what the manager made it see.
#include "framework/dialog_win32.h"
#include "framework/messages.h"
#include "framework/messages_win32.h"
#include "support/app_win32.h"
#include "test_dialogs.h"
#include "wine_environment.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <tuple>
#include <utility>

namespace {

constexpr int kProbes = DLGSUP + 1;

struct Probe {
    int inits = 0, exits = 0;
    int slotAtInit = -2, slotAtExit = -2;   // dlg_current() inside init and exit
    HWND hwndAtInit = nullptr;
    std::vector<UINT> messages;             // every message the module's procedure got
    std::function<void(WPARAM)> onCommand;
    std::function<void()> onInit, onExit;
    int closeResult = -99;                  // dlg_close() on IDCANCEL
    int nesting = 0, deepest = 0;           // WM_APP recursion
};

std::array<Probe, kProbes> P;
std::vector<int> exitOrder;

template <int N> void initOf(int, char**) {
    P[N].inits++;
    P[N].slotAtInit = dlg_current();
    P[N].hwndAtInit = dlg_hwnd();
    if (P[N].onInit) P[N].onInit();
}

template <int N> void exitOf() {
    P[N].exits++;
    P[N].slotAtExit = dlg_current();
    exitOrder.push_back(N);
    if (P[N].onExit) P[N].onExit();
}

template <int N> INT_PTR procOf(UINT msg, WPARAM wParam, LPARAM) {
    Probe& p = P[N];
    p.messages.push_back(msg);
    if (msg == WM_COMMAND) {
        if (p.onCommand) p.onCommand(wParam);
        if (LOWORD(wParam) == IDCANCEL) p.closeResult = dlg_close();
    } else if (msg == WM_APP) {
        // Nested straight into the slot procedure as the system delivers it (Wine's SendMessage stops at 64).
        p.deepest = std::max(p.deepest, ++p.nesting);
        HWND self = dlg_hwnd();
        auto slotProc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(self, DWLP_DLGPROC));
        if (wParam > 0 && slotProc) slotProc(self, WM_APP, wParam - 1, 0);
        p.nesting--;
    }
    return 0;
}

struct ProbeProcs { DlgInitProc init; DlgExitProc exit; DlgMsgProc proc; };
template <std::size_t... N> std::array<ProbeProcs, sizeof...(N)> procTable(std::index_sequence<N...>) {
    return {{{&initOf<N>, &exitOf<N>, &procOf<N>}...}};
}
const auto kProcs = procTable(std::make_index_sequence<kProbes>{});

HWND openProbe(int n, const char* name = "DB9001") {
    return dlg_open(name, kProcs[n].init, kProcs[n].exit, kProcs[n].proc);
}

bool saw(int n, UINT msg) { return std::find(P[n].messages.begin(), P[n].messages.end(), msg) != P[n].messages.end(); }

bool hasFocus(HWND w) { return GetFocus() && (GetFocus() == w || IsChild(w, GetFocus())); }

// Runs work inside a WM_COMMAND of probe n's dialog, as a module's handler would.
void insideDialog(int n, HWND dialog, std::function<void()> work) {
    bool ran = false;
    P[n].onCommand = [&](WPARAM wParam) {
        if (LOWORD(wParam) != TEST_ACTION) return;
        ran = true;
        work();
    };
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(TEST_ACTION, BN_CLICKED), 0);
    P[n].onCommand = nullptr;
    ASSERT_TRUE(ran) << "the dialog's procedure did not get the command";
}

void closeByPost(HWND w) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    wine_pump();
}

class DialogTest : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        P = {};
        exitOrder.clear();
    }
    void TearDown() override {
        P = {};  // no handler of a test runs when the fixture closes its dialogs
        Win32Test::TearDown();
    }
};

TEST_F(DialogTest, OpenRunsInitOnceReopeningRaisesAndAllAreEnabledTogether) {
    for (int state : {0, 1, 3, 4, 5, 9}) {
        runState = state;
        EXPECT_EQ(openProbe(0), nullptr) << "run state " << state;
    }
    runState = 2;
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(std::make_tuple(GetWindow(a, GW_OWNER), P[0].inits, P[0].slotAtInit, P[0].hwndAtInit),
              std::make_tuple(App.mainWindow, 1, 0, a));
    EXPECT_FALSE(saw(0, WM_INITDIALOG)) << "init is the module's, not its message procedure's";
    EXPECT_EQ(std::make_pair(dlg_current(), dlg_hwnd()), std::make_pair(-1, App.mainWindow));
    HWND b = openProbe(1, "DB9002");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(P[1].slotAtInit, 1);

    // The same procedure with another template: the open one comes forward, on top; disabled, a
    // beep only; while closing (run state 4) still forward, but nothing new opens.
    SetFocus(b);
    EXPECT_EQ(openProbe(0, "DB9002"), a);
    EXPECT_TRUE(hasFocus(a) && GetWindow(a, GW_HWNDPREV) == nullptr);
    SetFocus(b);
    EnableWindow(a, FALSE);
    EXPECT_EQ(openProbe(0), a);
    EXPECT_TRUE(hasFocus(b));
    EnableWindow(a, TRUE);
    runState = 4;
    EXPECT_EQ(std::make_pair(openProbe(0), openProbe(2)), std::make_pair(a, HWND{}));
    runState = 2;
    EXPECT_EQ(P[0].inits, 1);

    HWND n1 = dlg_open("DB9002", nullptr, nullptr, nullptr);  // without a procedure never taken for another
    ASSERT_NE(n1, nullptr);
    EXPECT_NE(dlg_open("DB9002", nullptr, nullptr, nullptr), n1);

    // A panel lives in the main window; enabling all reaches it, the main window and the boxes.
    HWND panel = openProbe(2, "DB9003");
    HWND c = openProbe(3, "DB9004ABCDEFGHIJKLMNOPQRSTUV");
    ASSERT_TRUE(panel && c);
    EXPECT_EQ(GetParent(panel), App.mainWindow);
    for (int on : {0, 1}) {
        dlg_enable_all(on);
        for (HWND w : {App.mainWindow, a, panel}) EXPECT_EQ(IsWindowEnabled(w) != FALSE, on == 1) << on;
    }

    // The active box's template name, kept to 20 characters; none once it has gone.
    char name[DLG_NAME_MAX + 2];
    const std::pair<HWND, const char*> active[] = {
        {a, "DB9001"}, {App.mainWindow, ""}, {c, "DB9004ABCDEFGHIJKLMN"}, {nullptr, ""}};
    for (const auto& [w, expected] : active) {
        if (!w) closeByPost(c);
        SetActiveWindow(w ? w : App.mainWindow);
        std::memset(name, 'x', sizeof name);
        dlg_active_name(name);
        EXPECT_STREQ(name, expected);
        EXPECT_EQ(name[DLG_NAME_MAX + 1], 'x');
    }

    MSG msg = {};  // a message of the main window is none of the dialogs'
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    for (HWND to : {App.mainWindow, GetDlgItem(b, TEST_EDIT)}) {
        msg.hwnd = to;
        EXPECT_EQ(dlg_is_message(&msg), to != App.mainWindow);
    }
}

TEST_F(DialogTest, TheTableHoldsAHundredAndWarnsAtTheNextOrAtAMissingTemplate) {
    // A missing template warns with its whole name (a slot keeps 20 characters) and leaves its
    // slot free; the 101st dialog warns too, with the program's title over the main window.
    const std::string longName = "DB0404_A_NAME_LONGER_THAN_TWENTY_CHARACTERS";
    EXPECT_EQ(openProbe(0, longName.c_str()), nullptr);
    std::set<HWND> windows;
    for (int n = 0; n < DLGSUP; ++n) {
        windows.insert(openProbe(n));
        EXPECT_EQ(P[n].slotAtInit, n);
    }
    windows.erase(nullptr);
    EXPECT_EQ(windows.size(), static_cast<size_t>(DLGSUP));
    EXPECT_EQ(openProbe(DLGSUP), nullptr);
    EXPECT_EQ(P[DLGSUP].inits, 0);
    ASSERT_EQ(wine_seen_boxes().size(), 2u);
    EXPECT_EQ(wine_seen_boxes()[0].text, "Kann Dialogbox " + longName + " nicht herstellen.");
    const WineBox& box = wine_seen_boxes()[1];
    EXPECT_EQ(std::make_tuple(box.text, box.style, box.owner, box.caption),
              std::make_tuple(std::string("Sie haben bereits 100 Dialogboxen ge\366ffnet."), 0x2030u, App.mainWindow,
                              std::string(App.title)));
    wine_clear_boxes();

    closeByPost(P[37].hwndAtInit);  // the lowest free slot takes the next dialog
    ASSERT_NE(openProbe(DLGSUP), nullptr);
    EXPECT_EQ(P[DLGSUP].slotAtInit, 37);

    // All go, from slot 99 down, each exit once with its own dialog current.
    exitOrder.clear();
    dlg_close_all();
    ASSERT_EQ(exitOrder.size(), static_cast<size_t>(DLGSUP));
    EXPECT_EQ(std::make_tuple(exitOrder.front(), exitOrder[62], exitOrder.back()), std::make_tuple(99, DLGSUP, 0));
    for (int n = 0; n <= DLGSUP; ++n) {  // probe 37 closed before: its slot is the last one's
        EXPECT_EQ(std::make_pair(P[n].exits, P[n].slotAtExit), std::make_pair(1, n == DLGSUP || n == 37 ? 37 : n)) << n;
    }
}

// However a dialog goes, its exit runs once with it current, the module never sees WM_CLOSE or
// WM_DESTROY, and its slot is free for the next opening.
TEST_F(DialogTest, EveryWayOfClosingRunsExitOnceAndFreesTheSlot) {
    struct Row { const char* how; const char* name; std::function<void(HWND)> close; };
    const Row rows[] = {
        {"close button", "DB9001", [](HWND w) { SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"behind the manager's back", "DB9001", [](HWND w) { DestroyWindow(w); }},
        {"exit closing again", "DB9001",
         [](HWND w) {
             P[0].onExit = [] { SendMessageA(dlg_hwnd(), WM_CLOSE, 0, 0); };
             closeByPost(w);
         }},
        {"Cancel through dlg_close", "DB9001",
         [](HWND w) {
             SendMessageA(w, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
             EXPECT_TRUE(P[0].closeResult >= 0 && IsWindow(w)) << "closed when the loop gets there";
             wine_pump();
         }},
        {"Escape in a box", "DB9001", [](HWND w) { key(GetDlgItem(w, TEST_EDIT), VK_ESCAPE); }},
        {"Escape in a panel", "DB9003", [](HWND w) { key(GetDlgItem(w, TEST_LIST), VK_ESCAPE); }},
    };
    HWND other = openProbe(1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        P[0] = Probe{};
        HWND w = openProbe(0, row.name);
        ASSERT_NE(w, nullptr);
        EXPECT_LT(dlg_close(), 0) << "outside a dialog message nothing closes";
        row.close(w);
        EXPECT_FALSE(IsWindow(w));
        EXPECT_EQ(std::make_tuple(P[0].exits, P[0].slotAtExit, dlg_current()), std::make_tuple(1, 1, -1));
        for (UINT msg : {WM_CLOSE, WM_DESTROY, WM_NCDESTROY}) EXPECT_FALSE(saw(0, msg)) << msg;
        P[0].onExit = nullptr;
    }
    EXPECT_TRUE(IsWindow(other) && P[1].exits == 0);

    P[0] = Probe{};  // closed at once by its own init: no dialog, no warning, the slot free again
    P[0].onInit = [] { SendMessageA(dlg_hwnd(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(openProbe(0), nullptr);
    EXPECT_EQ(P[0].exits, 1);
    P[0].onInit = nullptr;
    EXPECT_NE(openProbe(0), nullptr);
    EXPECT_EQ(P[0].slotAtInit, 1);
}

TEST_F(DialogTest, NestedDialogsAreCurrentInTheirMessagesAndHandTheFocusToTheirOpener) {
    // main -> a -> b -> c, and d opened from the main window.
    HWND a = openProbe(0);
    HWND b = nullptr, c = nullptr;
    insideDialog(0, a, [&] { b = openProbe(1, "DB9002"); });
    insideDialog(1, b, [&] { c = openProbe(2, "DB9002"); });
    HWND d = openProbe(3);
    ASSERT_TRUE(a && b && c && d);
    // Each dialog message makes its dialog current, nested ones too, 199 deep.
    std::vector<std::pair<int, HWND>> seen;
    const auto record = [&] { seen.push_back({dlg_current(), dlg_hwnd()}); };
    P[3].onCommand = [&](WPARAM) { record(); };
    insideDialog(0, a, [&] {
        record();
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(TEST_ACTION, BN_CLICKED), 0);
        record();
    });
    P[3].onCommand = nullptr;
    EXPECT_EQ(seen, (std::vector<std::pair<int, HWND>>{{0, a}, {3, d}, {0, a}}));
    EXPECT_EQ(std::make_pair(dlg_current(), dlg_hwnd()), std::make_pair(-1, App.mainWindow));
    SendMessageA(a, WM_APP, 198, 0);
    EXPECT_EQ(P[0].deepest, 199);

    SetActiveWindow(d);
    closeByPost(b);  // c keeps working and gets the focus
    EXPECT_TRUE(hasFocus(c));
    SetActiveWindow(d);
    closeByPost(c);  // c now counts as opened from a: a gets the focus, not d, the box active last
    EXPECT_TRUE(hasFocus(a));
    // a was opened from the main window: the box active before it takes the focus, passing
    // over a disabled dialog of a.
    insideDialog(0, a, [&] { b = openProbe(1, "DB9002"); });
    SetActiveWindow(a);
    SetActiveWindow(d);
    EnableWindow(b, FALSE);
    closeByPost(a);
    EXPECT_TRUE(IsWindow(b) && hasFocus(d));
    EnableWindow(b, TRUE);
    closeByPost(b);
    closeByPost(d);  // with no box left the main window gets the focus
    EXPECT_EQ(GetFocus(), App.mainWindow);
}

void nestTooDeep() {
    box_set_hook([](const char* text, unsigned, const char*, HWND) {
        std::fprintf(stderr, "%s\n", text);
        std::fflush(stderr);
        return IDOK;
    });
    if (HWND a = openProbe(0)) SendMessageA(a, WM_APP, 199, 0);
}

// (A failed allocation ends the program through the same assertion: the fatal end's test.)
TEST(DialogDeathTest, TheStackFailingEndsTheProgram) {
    runState = 2;
    EXPECT_EXIT(nestTooDeep(), ::testing::ExitedWithCode(3),
                "ASSERT ERROR\\sdialog\\.228\\s\\+\\+idxtop < 2\\*DLGSUP");
    dlg_close_all();
}

HWND mainChild(const char* cls, DWORD style, int id) {
    return CreateWindowExA(0, cls, "Hauptfenster", WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 24, App.mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), App.instance, nullptr);
}

// Outside any dialog message the control functions address the main window's controls (the
// title stays); inside one, that dialog's. Each row changes its own window only.
TEST_F(DialogTest, ControlFunctionsAddressTheCurrentDialogElseTheMainWindow) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    struct Row { HWND window, edit, check; bool inside; };
    const Row rows[] = {
        {App.mainWindow, mainChild("EDIT", ES_AUTOHSCROLL, TEST_EDIT), mainChild("BUTTON", BS_AUTOCHECKBOX, TEST_CHECK),
         false},
        {a, GetDlgItem(a, TEST_EDIT), GetDlgItem(a, TEST_CHECK), true},
    };
    const std::string mainTitle = windowText(App.mainWindow);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.inside ? "inside" : "outside");
        const auto work = [&] {
            const auto before = std::make_pair(dlg_item(TEST_EDIT), dlg_get_check(TEST_CHECK));
            dlg_set_check(TEST_CHECK, BST_CHECKED);
            dlg_enable_item(TEST_EDIT, 0);
            dlg_enable_item(4711, 0);  // no such control: nothing happens
            dlg_focus_item(TEST_CHECK);
            dlg_set_title("Neuer Titel \344");
            dlg_set_text(TEST_EDIT, "42");
            dlg_update_item(TEST_EDIT);
            RECT r;  // repainted at once
            EXPECT_EQ(std::make_tuple(before, dlg_get_check(TEST_CHECK), dlg_focus_id(), dlg_get_int(TEST_EDIT),
                                      GetUpdateRect(row.edit, &r, FALSE)),
                      std::make_tuple(std::make_pair(row.edit, int{BST_UNCHECKED}), int{BST_CHECKED}, TEST_CHECK, 42,
                                      FALSE));
        };
        if (row.inside) {
            insideDialog(0, a, work);
        } else {
            work();
        }
        for (const Row& other : rows) {
            const bool done = &other <= &row;
            EXPECT_EQ(std::make_pair(checked(other.window, TEST_CHECK), IsWindowEnabled(other.edit) == FALSE),
                      std::make_pair(done, done));
        }
        EXPECT_EQ(std::make_pair(GetFocus(), controlFont(row.edit)), std::make_pair(row.check, App.font));
    }
    EXPECT_EQ(std::make_pair(windowText(a), windowText(App.mainWindow)),
              std::make_pair(std::string("Neuer Titel \344"), mainTitle));

    // Only a field's first 80 characters are read; a text keeps to its buffer; no control, no text.
    SetWindowTextA(rows[0].edit, (std::string(79, ' ') + "75").c_str());
    EXPECT_EQ(dlg_get_int(TEST_EDIT), 7);
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    dlg_put_text(TEST_EDIT, "abcdefgh");
    EXPECT_EQ(dlg_get_text(TEST_EDIT, buf, 5), 5);
    EXPECT_EQ(std::string(buf, 7), std::string("abcde\0#", 7));
    EXPECT_EQ(dlg_get_text(4711, buf, 7), 0);
    EXPECT_STREQ(buf, "");
    DestroyWindow(rows[0].edit);
    DestroyWindow(rows[0].check);
}

// Item texts are cut to the buffer's size (nothing written past it), none beyond the list; a text set
// in the combo box selects the item it names (with case); a change counts as typed only while the
// control has the focus; each notification means what it says only from its own control.
TEST_F(DialogTest, ComboAndListValuesAndTheirNotifications) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(controlFont(GetDlgItem(a, TEST_COMBO)), App.font) << "the template's font differs from the program's";
    insideDialog(0, a, [&] {
        char buf[64];
        combo_reset(TEST_COMBO);
        list_reset(TEST_LIST);
        EXPECT_EQ(std::make_pair(controlFont(dlg_item(TEST_COMBO)), controlFont(dlg_item(TEST_LIST))),
                  std::make_pair(App.font, App.font));
        EXPECT_EQ(combo_add(TEST_COMBO, "beta"), 0);
        EXPECT_EQ(combo_insert(TEST_COMBO, "alpha", 0), 0);  // (moving a history's items: "Suchen")
        list_add(TEST_LIST, "Zeile 00");
        list_add(TEST_LIST, "Zeile 01");
        struct Cut { std::function<int(char*, int)> get; int max, result; std::string kept; };
        const Cut cuts[] = {
            {[](char* b, int max) { return combo_get_item(TEST_COMBO, 0, b, max); }, 3, 1, std::string("alp\0x", 5)},
            {[](char* b, int max) { return combo_get_item(TEST_COMBO, 2, b, max); }, 63, 0, std::string("\0x", 2)},
            {[](char* b, int max) { return list_get_text(TEST_LIST, 1, b, max); }, 5, 5, std::string("Zeile\0x", 7)},
            {[](char* b, int max) { return list_get_text(TEST_LIST, 2, b, max); }, 63, -1, std::string("\0x", 2)},
        };
        for (const Cut& cut : cuts) {
            std::memset(buf, 'x', sizeof buf);
            EXPECT_EQ(cut.get(buf, cut.max), cut.result) << cut.kept;
            EXPECT_EQ(std::string(buf, cut.kept.size()), cut.kept);
        }
        struct Row { const char* set; int selection; int max; const char* read; };
        const Row rows[] = {
            {"Alpha", CB_ERR, 2, "Al"}, {"beta", 1, 63, "beta"}, {"gamma \374", CB_ERR, 63, "gamma \374"}};
        for (const Row& row : rows) {
            SCOPED_TRACE(row.read);
            combo_set_text(TEST_COMBO, row.set);
            EXPECT_EQ(SendMessageA(dlg_item(TEST_COMBO), CB_GETCURSEL, 0, 0), row.selection);
            combo_get_text(TEST_COMBO, buf, row.max);
            EXPECT_STREQ(buf, row.read);
            std::strcpy(buf, "alt");
            EXPECT_EQ(combo_get_sel_text(TEST_COMBO, buf, 63), row.selection >= 0 ? 1 : 0);
            EXPECT_STREQ(buf, row.selection >= 0 ? row.read : "");
        }
        list_set_sel(TEST_LIST, 1);
        EXPECT_EQ(std::make_pair(list_get_sel(TEST_LIST), list_count(TEST_LIST)), std::make_pair(1, 2));
        combo_set_text(TEST_COMBO, "beta");  // an item chosen
        dlg_focus_item(TEST_EDIT);
        EXPECT_EQ(std::make_tuple(edit_changed(TEST_EDIT, MAKEWPARAM(TEST_EDIT, EN_CHANGE)),
                                  edit_changed(TEST_EDIT, MAKEWPARAM(TEST_EDIT, EN_UPDATE)),
                                  edit_changed(TEST_COMBO, MAKEWPARAM(TEST_COMBO, EN_CHANGE))),
                  std::make_tuple(true, false, false));
        dlg_focus_item(TEST_LIST);
        EXPECT_FALSE(edit_changed(TEST_EDIT, MAKEWPARAM(TEST_EDIT, EN_CHANGE)));
    });

    // The first key typed after choosing an item: the combo box reports the edit while its list
    // still selects the item; the text the user sees wins.
    std::string read;
    P[0].onCommand = [&](WPARAM wParam) {
        if (wParam != MAKEWPARAM(TEST_COMBO, CBN_EDITUPDATE)) return;
        char buf[64];
        combo_get_text(TEST_COMBO, buf, 63);
        read = buf;
    };
    HWND combo = GetDlgItem(a, TEST_COMBO);
    ASSERT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(4, 4));
    SendMessageA(FindWindowExA(combo, nullptr, "Edit", nullptr), WM_CHAR, 'x', 1);
    EXPECT_EQ(read, "betax");

    struct Row { int id; WORD code; bool dropdown, changed; int listEvent; };
    const Row rows[] = {
        {TEST_COMBO, CBN_DROPDOWN, true, false, 0},    {TEST_COMBO, CBN_SELCHANGE, false, true, 0},
        {TEST_COMBO, CBN_EDITUPDATE, false, true, 0},  {TEST_COMBO, CBN_EDITCHANGE, false, false, 0},
        {TEST_LIST, CBN_DROPDOWN, false, false, 0},    {TEST_EDIT, CBN_SELCHANGE, false, false, 0},
        {TEST_LIST, LBN_SETFOCUS, false, false, 1},    {TEST_LIST, LBN_SELCHANGE, false, false, 2},
        {TEST_LIST, LBN_DBLCLK, false, false, 3},      {TEST_COMBO, LBN_DBLCLK, false, true, 0},
    };
    for (const Row& row : rows) {
        const WPARAM w = MAKEWPARAM(row.id, row.code);
        const auto seen = std::make_tuple(combo_dropdown(TEST_COMBO, w), combo_changed(TEST_COMBO, w),
                                          list_event(TEST_LIST, w));
        EXPECT_EQ(seen, std::make_tuple(row.dropdown, row.changed, row.listEvent)) << row.id << " " << row.code;
    }
}

}  // namespace
