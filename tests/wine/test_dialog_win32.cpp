// The dialog manager with real modeless dialogs under Wine. Each probe stands in for a module with its own
// init, exit and message procedures (a dialog is known by its message procedure, so the table of 100 needs
// 101) and records what the manager made it see.
#include "framework/dialog_win32.h"
#include "framework/messages.h"
#include "framework/messages_win32.h"
#include "test_dialogs.h"
#include "wine_environment.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <tuple>
#include <utility>

namespace {

struct Probe {
    int inits = 0, exits = 0;
    int slotAtInit = -2, slotAtExit = -2;  // dlg_current() inside init and exit
    HWND hwnd = nullptr;                   // dlg_hwnd() inside init
    bool sawClose = false;                 // WM_CLOSE, WM_DESTROY or WM_NCDESTROY reached the module
    std::function<void(WPARAM)> onCommand;
    std::function<void()> onInit, onExit;
    int deepest = 0;  // WM_APP recursion
};

std::array<Probe, DLGSUP + 1> P;

template <int N> void initOf(int, char**) {
    P[N].inits++;
    P[N].slotAtInit = dlg_current();
    P[N].hwnd = dlg_hwnd();
    if (P[N].onInit) P[N].onInit();
}

template <int N> void exitOf() {
    P[N].exits++;
    P[N].slotAtExit = dlg_current();
    if (P[N].onExit) P[N].onExit();
}

// WM_APP n nests n more calls straight into the slot procedure (Wine's SendMessage stops near 64); each
// level finds its dialog current again after the nested call.
template <int N> INT_PTR procOf(UINT msg, WPARAM wParam, LPARAM) {
    P[N].sawClose |= msg == WM_CLOSE || msg == WM_DESTROY || msg == WM_NCDESTROY;
    if (msg == WM_COMMAND && P[N].onCommand) P[N].onCommand(wParam);
    if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EXPECT_GE(dlg_close(), 0);
    }
    HWND self = dlg_hwnd();
    if (msg == WM_APP && wParam > 0) {
        reinterpret_cast<DLGPROC>(GetWindowLongPtrA(self, DWLP_DLGPROC))(self, WM_APP, wParam - 1, 0);
        EXPECT_EQ(dlg_hwnd(), self);
    }
    if (msg == WM_APP) P[N].deepest = std::max(P[N].deepest, static_cast<int>(wParam) + 1);
    return 0;
}

struct ProbeProcs { DlgInitProc init; DlgExitProc exit; DlgMsgProc proc; };
template <std::size_t... N> std::array<ProbeProcs, sizeof...(N)> procTable(std::index_sequence<N...>) {
    return {{{&initOf<N>, &exitOf<N>, &procOf<N>}...}};
}
const auto kProcs = procTable(std::make_index_sequence<DLGSUP + 1>{});

HWND openProbe(int n, const char* name = "DB9001") {
    return dlg_open(name, kProcs[n].init, kProcs[n].exit, kProcs[n].proc);
}
bool hasFocus(HWND w) { return GetFocus() && (GetFocus() == w || IsChild(w, GetFocus())); }

void closeByPost(HWND w) {
    PostMessageA(w, WM_CLOSE, 0, 0);
    wine_pump();
}

// Runs work inside a WM_COMMAND of probe n's dialog, as a module's handler would.
void insideDialog(int n, std::function<void()> work) {
    bool ran = false;
    P[n].onCommand = [&](WPARAM wParam) {
        if (LOWORD(wParam) != TEST_ACTION) return;
        ran = true;
        work();
    };
    SendMessageA(P[n].hwnd, WM_COMMAND, MAKEWPARAM(TEST_ACTION, BN_CLICKED), 0);
    P[n].onCommand = nullptr;
    ASSERT_TRUE(ran) << "the dialog's procedure did not get the command";
}

// Every test starts with fresh probes; no handler of a test runs when the fixture closes its dialogs.
class DialogTest : public Win32Test {
    void SetUp() override {
        Win32Test::SetUp();
        P = {};
    }
    void TearDown() override {
        P = {};
        Win32Test::TearDown();
    }
};

// Dialogs open only while the loop runs; a missing template and the 101st dialog warn (the whole name, the
// program's title over the main window); a second open of the same procedure raises the open dialog.
TEST_F(DialogTest, TheTableHoldsAHundredWarnsAtTheNextAndRaisesAnOpenDialog) {
    for (int state : {0, 1, 3, 4, 5, 9}) {
        runState = state;
        EXPECT_EQ(openProbe(0), nullptr) << "run state " << state;
    }
    runState = 2;
    const std::string longName = "DB0404_A_NAME_LONGER_THAN_TWENTY_CHARACTERS";
    EXPECT_EQ(openProbe(0, longName.c_str()), nullptr);
    for (int n = 0; n < DLGSUP; ++n) {
        ASSERT_NE(openProbe(n), nullptr);
        EXPECT_EQ(std::make_tuple(P[n].slotAtInit, GetWindow(P[n].hwnd, GW_OWNER)), std::make_tuple(n, App.mainWindow));
    }
    EXPECT_EQ(std::make_pair(openProbe(DLGSUP), P[DLGSUP].inits), std::make_pair(HWND{}, 0));
    ASSERT_EQ(wine_seen_boxes().size(), 2u);
    EXPECT_EQ(wine_seen_boxes()[0].text, "Kann Dialogbox " + longName + " nicht herstellen.");
    const WineBox& box = wine_seen_boxes()[1];
    EXPECT_EQ(std::make_tuple(box.text, box.style, box.owner, box.caption),
              std::make_tuple(std::string("Sie haben bereits 100 Dialogboxen ge\366ffnet."), 0x2030u, App.mainWindow,
                              std::string(App.title)));
    wine_clear_boxes();
    SetFocus(P[1].hwnd);
    EXPECT_EQ(openProbe(0, "DB9003"), P[0].hwnd);
    EXPECT_TRUE(hasFocus(P[0].hwnd) && P[0].inits == 1);
    dlg_close_all();
    for (int n = 0; n < DLGSUP; ++n) EXPECT_EQ(std::make_pair(P[n].exits, P[n].slotAtExit), std::make_pair(1, n));
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
             EXPECT_TRUE(IsWindow(w)) << "closed when the loop gets there";
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
        EXPECT_EQ(std::make_tuple(IsWindow(w), P[0].exits, P[0].slotAtExit, dlg_current(), P[0].sawClose),
                  std::make_tuple(FALSE, 1, 1, -1, false));
    }
    EXPECT_TRUE(IsWindow(other) && P[1].exits == 0);
    P[0] = Probe{};  // closed at once by its own init: no dialog, no warning, the slot free again
    P[0].onInit = [] { SendMessageA(dlg_hwnd(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(std::make_pair(openProbe(0), P[0].exits), std::make_pair(HWND{}, 1));
    P[0].onInit = nullptr;
    EXPECT_NE(openProbe(0), nullptr);
    EXPECT_EQ(P[0].slotAtInit, 1);
}

// A closed dialog hands the focus to its opener (a dialog it opened takes its place as the opener of
// those it opened), else to the box active before it, passing over a disabled one, else to the main window.
TEST_F(DialogTest, AClosedDialogHandsTheFocusToItsOpener) {
    HWND a = openProbe(0);  // main -> a -> b -> c, and d opened from the main window
    insideDialog(0, [] { openProbe(1); });
    insideDialog(1, [] { openProbe(2); });
    HWND d = openProbe(3);
    HWND b = P[1].hwnd, c = P[2].hwnd;
    ASSERT_TRUE(a && b && c && d);
    SendMessageA(a, WM_APP, 198, 0);  // 199 nested messages fit the stack (200: the death test)
    EXPECT_EQ(P[0].deepest, 199);
    SetActiveWindow(d);
    closeByPost(b);
    EXPECT_TRUE(hasFocus(c));
    SetActiveWindow(d);
    closeByPost(c);
    EXPECT_TRUE(hasFocus(a));
    insideDialog(0, [&] { b = openProbe(1); });
    SetActiveWindow(a);
    SetActiveWindow(d);
    EnableWindow(b, FALSE);
    closeByPost(a);
    EXPECT_TRUE(IsWindow(b) && hasFocus(d));
    EnableWindow(b, TRUE);
    closeByPost(b);
    closeByPost(d);
    EXPECT_EQ(GetFocus(), App.mainWindow);
}

// While a box is up every program window is disabled, a dialog too; afterwards the active one is active again.
TEST_F(DialogTest, ABoxDisablesEveryDialogAndGivesTheActivationBack) {
    static HWND dialog;
    static BOOL enabled[2];
    dialog = openProbe(0);
    SetActiveWindow(dialog);
    BoxHook recording = box_set_hook([](const char*, unsigned, const char*, HWND) {
        enabled[0] = IsWindowEnabled(dialog);
        enabled[1] = IsWindowEnabled(App.mainWindow);
        SetActiveWindow(App.mainWindow);  // a box takes the activation away
        return IDOK;
    });
    message_box("Fertig.");
    box_set_hook(recording);
    EXPECT_EQ(std::make_tuple(enabled[0], enabled[1], IsWindowEnabled(dialog), GetActiveWindow()),
              std::make_tuple(FALSE, FALSE, TRUE, dialog));
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
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 10, 10, 300, 24, App.mainWindow,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), App.instance, nullptr);
}

// Outside any dialog message the control functions address the main window's controls (its title stays);
// inside one, that dialog's. A list's text is cut to the buffer (nothing written past it), none beyond the
// list; the typed edit wins over a chosen item.
TEST_F(DialogTest, ControlFunctionsAddressTheCurrentDialogElseTheMainWindow) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    struct Row { HWND window, edit, check; };
    const Row rows[] = {
        {App.mainWindow, mainChild("EDIT", ES_AUTOHSCROLL, TEST_EDIT),
         mainChild("BUTTON", BS_AUTOCHECKBOX, TEST_CHECK)},
        {a, GetDlgItem(a, TEST_EDIT), GetDlgItem(a, TEST_CHECK)},
    };
    const std::string mainTitle = windowText(App.mainWindow);
    for (const Row& row : rows) {
        const auto work = [&] {
            const auto before = std::make_pair(dlg_item(TEST_EDIT), dlg_get_check(TEST_CHECK));
            dlg_set_check(TEST_CHECK, BST_CHECKED);
            dlg_enable_item(TEST_EDIT, 0);
            dlg_enable_item(4711, 0);  // no such control: nothing happens
            dlg_focus_item(TEST_CHECK);
            dlg_set_title("Neuer Titel \344");
            dlg_set_text(TEST_EDIT, "42");
            EXPECT_EQ(std::make_tuple(before, dlg_get_check(TEST_CHECK), dlg_focus_id(), dlg_get_int(TEST_EDIT)),
                      std::make_tuple(std::make_pair(row.edit, int{BST_UNCHECKED}), int{BST_CHECKED}, TEST_CHECK, 42));
        };
        if (row.window == a) insideDialog(0, work);
        if (row.window != a) work();
        EXPECT_EQ(std::make_tuple(checked(a, TEST_CHECK), IsWindowEnabled(rows[1].edit), GetFocus()),
                  std::make_tuple(row.window == a, BOOL{row.window != a}, row.check));
        EXPECT_EQ(controlFont(row.edit), App.font);
    }
    EXPECT_EQ(std::make_pair(windowText(a), windowText(App.mainWindow)),
              std::make_pair(std::string("Neuer Titel \344"), mainTitle));
    // A field is read to its 80th character; a text keeps to its buffer; no control, no text.
    SetWindowTextA(rows[0].edit, (std::string(79, ' ') + "75").c_str());
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    const int field = dlg_get_int(TEST_EDIT), cut = dlg_get_text(TEST_EDIT, buf, 5);
    const std::string kept(buf, 7);
    const int none = dlg_get_text(4711, buf, 7);
    EXPECT_EQ(std::make_tuple(field, cut, kept, none, buf[0]),
              std::make_tuple(7, 5, std::string("     \0#", 7), 0, '\0'));
    DestroyWindow(rows[0].edit);
    DestroyWindow(rows[0].check);

    insideDialog(0, [] {
        combo_reset(TEST_COMBO);
        list_reset(TEST_LIST);
        combo_add(TEST_COMBO, "alpha");
        combo_add(TEST_COMBO, "beta");
        combo_set_text(TEST_COMBO, "beta");
        list_add(TEST_LIST, "Zeile 00");
        for (const auto& [max, result, kept] : {std::make_tuple(5, 5, std::string("Zeile\0x", 7)),
                                                std::make_tuple(63, 8, std::string("Zeile 00\0x", 10))}) {
            char buf[64];
            std::memset(buf, 'x', sizeof buf);
            EXPECT_EQ(list_get_text(TEST_LIST, 0, buf, max), result);
            EXPECT_EQ(std::string(buf, kept.size()), kept);
        }
        char none[4] = "abc";
        EXPECT_EQ(list_get_text(TEST_LIST, 1, none, 3), -1);
        EXPECT_STREQ(none, "");
    });
    // The first key typed after choosing an item: the combo box reports the edit while its list still
    // selects the item.
    std::string read;
    P[0].onCommand = [&](WPARAM wParam) {
        char buf[64];
        combo_get_text(TEST_COMBO, buf, 63);
        if (wParam == MAKEWPARAM(TEST_COMBO, CBN_EDITUPDATE)) read = buf;
    };
    HWND combo = GetDlgItem(a, TEST_COMBO);
    ASSERT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(4, 4));
    SendMessageA(FindWindowExA(combo, nullptr, "Edit", nullptr), WM_CHAR, 'x', 1);
    EXPECT_EQ(read, "betax");
}

}  // namespace
