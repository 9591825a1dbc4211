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
    int deepest = 0;  // WM_APP recursion
};

std::array<Probe, DLGSUP + 1> P;

template <int N> void initOf(int, char**) {
    P[N].inits++;
    P[N].slotAtInit = dlg_current();
    P[N].hwnd = dlg_hwnd();
}

template <int N> void exitOf() {
    P[N].exits++;
    P[N].slotAtExit = dlg_current();
}

// WM_APP n nests n more calls straight into the slot procedure (Wine's SendMessage stops near 64).
template <int N> INT_PTR procOf(UINT msg, WPARAM wParam, LPARAM) {
    P[N].sawClose |= msg == WM_CLOSE || msg == WM_DESTROY || msg == WM_NCDESTROY;
    if (msg == WM_COMMAND && P[N].onCommand) P[N].onCommand(wParam);
    if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EXPECT_GE(dlg_close(), 0);
    }
    if (msg == WM_APP && wParam > 0)
        reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dlg_hwnd(), DWLP_DLGPROC))(dlg_hwnd(), WM_APP, wParam - 1, 0);
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

// Every test starts with fresh probes.
class DialogTest : public Win32Test {
    void SetUp() override {
        Win32Test::SetUp();
        P = {};
    }
};

// A missing template (its whole name) and the 101st dialog warn; a second open of the same procedure raises the
// open dialog, whatever template it names.
TEST_F(DialogTest, TheTableHoldsAHundredWarnsAtTheNextAndRaisesAnOpenDialog) {
    const std::string longName = "DB0404_A_NAME_LONGER_THAN_TWENTY_CHARACTERS";
    EXPECT_EQ(openProbe(0, longName.c_str()), nullptr);
    for (int n = 0; n < DLGSUP; ++n) {
        ASSERT_NE(openProbe(n), nullptr);
        EXPECT_EQ(std::make_tuple(P[n].slotAtInit, GetWindow(P[n].hwnd, GW_OWNER)), std::make_tuple(n, App.mainWindow));
    }
    EXPECT_EQ(std::make_pair(openProbe(DLGSUP), P[DLGSUP].inits), std::make_pair(HWND{}, 0));
    EXPECT_EQ(wine_seen_boxes(), (std::vector<std::string>{"Kann Dialogbox " + longName + " nicht herstellen.",
                                                           "Sie haben bereits 100 Dialogboxen ge\366ffnet."}));
    wine_clear_boxes();
    SetFocus(P[1].hwnd);
    EXPECT_EQ(openProbe(0, longName.c_str()), P[0].hwnd);
    EXPECT_TRUE(hasFocus(P[0].hwnd) && P[0].inits == 1 && wine_seen_boxes().empty());
}

// Closed by its close button, by Escape (Cancel, closed through dlg_close) or destroyed behind the manager's back, a
// dialog's exit runs once with it current, the module never sees WM_CLOSE or WM_DESTROY, and its slot (1, beside
// another dialog) is free again.
TEST_F(DialogTest, EveryWayOfClosingRunsExitOnceAndFreesTheSlot) {
    struct Row { const char* how; std::function<void(HWND)> close; };
    const Row rows[] = {
        {"close button", [](HWND w) { SendMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"behind the manager's back", [](HWND w) { DestroyWindow(w); }},
        {"Escape",
         [](HWND w) {
             PostMessageA(GetDlgItem(w, TEST_EDIT), WM_KEYDOWN, VK_ESCAPE, 1);
             PostMessageA(GetDlgItem(w, TEST_EDIT), WM_KEYUP, VK_ESCAPE, 0xC0000001);
             wine_pump();
         }},
    };
    HWND other = openProbe(1);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.how);
        P[0] = Probe{};
        HWND w = openProbe(0);
        ASSERT_NE(w, nullptr);
        EXPECT_LT(dlg_close(), 0) << "outside a dialog message nothing closes";
        row.close(w);
        EXPECT_EQ(std::make_tuple(IsWindow(w), P[0].exits, P[0].slotAtExit, dlg_current(), P[0].sawClose),
                  std::make_tuple(FALSE, 1, 1, -1, false));
    }
    EXPECT_TRUE(IsWindow(other) && P[1].exits == 0);
}

// A closed dialog hands the focus to its opener, else to the main window. While a box is up every program
// window is disabled, a dialog too; afterwards the one active before is active again.
TEST_F(DialogTest, AClosedDialogHandsTheFocusToItsOpenerAndABoxDisablesEveryDialog) {
    HWND a = openProbe(0);  // main -> a -> b, and d opened from the main window
    insideDialog(0, [] { openProbe(1); });
    HWND b = P[1].hwnd, d = openProbe(3);
    ASSERT_TRUE(a && b && d);
    SendMessageA(a, WM_APP, 198, 0);  // 199 nested messages fit the stack (200: the death test)
    EXPECT_EQ(P[0].deepest, 199);
    SetActiveWindow(d);
    static BOOL enabledUnderTheBox;
    BoxHook recording = box_set_hook([](const char*, unsigned, const char*, HWND) {
        enabledUnderTheBox = IsWindowEnabled(P[1].hwnd) || IsWindowEnabled(App.mainWindow);
        SetActiveWindow(App.mainWindow);  // a box takes the activation away
        return IDOK;
    });
    message_box("Fertig.");
    box_set_hook(recording);
    EXPECT_EQ(std::make_tuple(enabledUnderTheBox, IsWindowEnabled(b), GetActiveWindow()),
              std::make_tuple(FALSE, TRUE, d));
    closeByPost(b);
    EXPECT_TRUE(hasFocus(a));
    closeByPost(a);
    closeByPost(d);
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

// Outside any dialog message the control functions address the main window's controls; inside one, that
// dialog's. A field is read to its 80th character; a text keeps to its buffer, a list's too; the typed edit
// wins over a chosen item.
TEST_F(DialogTest, ControlFunctionsAddressTheCurrentDialogElseTheMainWindow) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 300, 24, App.mainWindow,
                                reinterpret_cast<HMENU>(TEST_EDIT), App.instance, nullptr);
    for (HWND window : {App.mainWindow, a}) {
        const auto work = [&] {
            dlg_set_text(TEST_EDIT, "42");
            dlg_focus_item(TEST_EDIT);
            EXPECT_EQ(std::make_tuple(dlg_item(TEST_EDIT), dlg_focus_id(), dlg_get_int(TEST_EDIT)),
                      std::make_tuple(GetDlgItem(window, TEST_EDIT), TEST_EDIT, 42));
        };
        if (window == a) insideDialog(0, work);
        if (window != a) work();
        EXPECT_EQ(std::make_pair(itemText(a, TEST_EDIT), GetFocus()),
                  std::make_pair(std::string(window == a ? "42" : ""), GetDlgItem(window, TEST_EDIT)));
    }
    SetWindowTextA(edit, (std::string(79, ' ') + "75").c_str());
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    const int field = dlg_get_int(TEST_EDIT), cut = dlg_get_text(TEST_EDIT, buf, 5);
    EXPECT_EQ(std::make_tuple(field, cut, std::string(buf, 7)), std::make_tuple(7, 5, std::string("     \0#", 7)));
    DestroyWindow(edit);
    insideDialog(0, [] {
        combo_add(TEST_COMBO, "alpha");
        combo_add(TEST_COMBO, "beta");
        combo_set_text(TEST_COMBO, "beta");
        list_add(TEST_LIST, "Zeile 00");
        char text[8];
        std::memset(text, 'x', sizeof text);
        EXPECT_EQ(list_get_text(TEST_LIST, 0, text, 5), 5);
        EXPECT_EQ(std::string(text, 7), std::string("Zeile\0x", 7));
    });
    // The first key typed after choosing an item: the combo box reports the edit while its list still
    // selects the item.
    std::string read;
    P[0].onCommand = [&](WPARAM wParam) {
        char text[64];
        combo_get_text(TEST_COMBO, text, 63);
        if (wParam == MAKEWPARAM(TEST_COMBO, CBN_EDITUPDATE)) read = text;
    };
    HWND combo = GetDlgItem(a, TEST_COMBO);
    ASSERT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
    SendMessageA(combo, CB_SETEDITSEL, 0, MAKELPARAM(4, 4));
    SendMessageA(FindWindowExA(combo, nullptr, "Edit", nullptr), WM_CHAR, 'x', 1);
    EXPECT_EQ(read, "betax");
    P[0].onCommand = nullptr;
}

}  // namespace
