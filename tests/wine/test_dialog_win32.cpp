// The dialog manager with real modeless dialogs, driven by messages under Wine.
//
// Each "probe" is a module stand-in with its own init, exit and message
// procedures (a dialog is identified by its message procedure, so the table of
// 100 needs 101 different ones). The probes record what the manager made them see.
#include "framework/dialog_win32.h"
#include "framework/messages.h"
#include "framework/messages_win32.h"
#include "support/app_win32.h"
#include "test_dialogs.h"
#include "wine_environment.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kProbes = DLGSUP + 1;

struct Probe {
    int inits = 0;
    int exits = 0;
    int slotAtInit = -2, slotAtExit = -2;  // dlg_current() inside init and exit
    HWND hwndAtInit = nullptr, hwndAtExit = nullptr;
    std::vector<UINT> messages;                // every message the module's procedure got
    std::vector<int> commands;                 // the control ids of its WM_COMMANDs
    std::function<void(WPARAM)> onCommand;     // extra work on WM_COMMAND
    std::function<void()> onInit;              // extra work in the init procedure
    std::function<void()> onExit;              // extra work in the exit procedure
    int closeResult = -99;                     // dlg_close() on IDCANCEL
    int nesting = 0, deepest = 0;              // WM_APP recursion
};

std::array<Probe, kProbes> P;
std::vector<int> exitOrder;  // probe numbers in the order their exit ran

void probeInit(int n) {
    P[n].inits++;
    P[n].slotAtInit = dlg_current();
    P[n].hwndAtInit = dlg_hwnd();
    if (P[n].onInit) P[n].onInit();
}

void probeExit(int n) {
    P[n].exits++;
    P[n].slotAtExit = dlg_current();
    P[n].hwndAtExit = dlg_hwnd();
    exitOrder.push_back(n);
    if (P[n].onExit) P[n].onExit();
}

INT_PTR probeMessage(int n, UINT msg, WPARAM wParam, LPARAM) {
    Probe& p = P[n];
    p.messages.push_back(msg);
    if (msg == WM_COMMAND) {
        p.commands.push_back(LOWORD(wParam));
        if (p.onCommand) p.onCommand(wParam);
        if (LOWORD(wParam) == IDCANCEL) p.closeResult = dlg_close();
    } else if (msg == WM_APP) {
        // Sends itself wParam more nested messages.
        p.nesting++;
        if (p.nesting > p.deepest) p.deepest = p.nesting;
        // Straight into the dialog's slot procedure, as the system delivers a
        // message: SendMessage under Wine stops nesting at 64 levels.
        HWND self = dlg_hwnd();
        auto slotProc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(self, DWLP_DLGPROC));
        if (wParam > 0 && slotProc) slotProc(self, WM_APP, wParam - 1, 0);
        p.nesting--;
    }
    return 0;
}

template <int N> void initOf(int, char**) { probeInit(N); }
template <int N> void exitOf() { probeExit(N); }
template <int N> INT_PTR procOf(UINT m, WPARAM w, LPARAM l) { return probeMessage(N, m, w, l); }

template <std::size_t... N>
std::array<DlgInitProc, sizeof...(N)> initTable(std::index_sequence<N...>) { return {{&initOf<N>...}}; }
template <std::size_t... N>
std::array<DlgExitProc, sizeof...(N)> exitTable(std::index_sequence<N...>) { return {{&exitOf<N>...}}; }
template <std::size_t... N>
std::array<DlgMsgProc, sizeof...(N)> procTable(std::index_sequence<N...>) { return {{&procOf<N>...}}; }

const auto kInit = initTable(std::make_index_sequence<kProbes>{});
const auto kExit = exitTable(std::make_index_sequence<kProbes>{});
const auto kProc = procTable(std::make_index_sequence<kProbes>{});

HWND openProbe(int n, const char* name = "DB9001") {
    return dlg_open(name, kInit[n], kExit[n], kProc[n]);
}

bool saw(int n, UINT msg) {
    for (UINT m : P[n].messages)
        if (m == msg) return true;
    return false;
}

bool sawCommand(int n, int id) {
    for (int c : P[n].commands)
        if (c == id) return true;
    return false;
}

// The focus is inside dialog w (on it or on one of its controls).
bool hasFocus(HWND w) {
    HWND f = GetFocus();
    return f && (f == w || IsChild(w, f));
}

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

std::string caption(HWND w) {
    char buf[100] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dlg_close_all();
        wine_pump();
        reset();
        runState = 2;
    }
    void TearDown() override {
        for (Probe& p : P) {
            p.onCommand = nullptr;
            p.onInit = nullptr;
            p.onExit = nullptr;
        }
        dlg_close_all();
        wine_pump();
        reset();
        runState = 2;
    }
    static void reset() {
        P = {};
        exitOrder.clear();
        wine_clear_boxes();
    }
};

// ---------------------------------------------------------------------------
// Opening
// ---------------------------------------------------------------------------

TEST_F(DialogTest, OpenRunsInitOnceWithTheDialogCurrentAndReopeningRaisesIt) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(IsWindow(a));
    EXPECT_EQ(GetWindow(a, GW_OWNER), App.mainWindow);
    EXPECT_EQ(P[0].inits, 1);
    EXPECT_EQ(P[0].slotAtInit, 0);
    EXPECT_EQ(P[0].hwndAtInit, a);
    EXPECT_FALSE(saw(0, WM_INITDIALOG)) << "init is the module's, not its message procedure's";
    EXPECT_EQ(dlg_current(), -1);
    EXPECT_EQ(dlg_hwnd(), App.mainWindow);

    HWND b = openProbe(1, "DB9002");
    ASSERT_NE(b, nullptr);
    ASSERT_NE(b, a);
    EXPECT_EQ(P[1].slotAtInit, 1);
    SetFocus(b);
    ASSERT_TRUE(hasFocus(b));

    // Same procedure, another template name: the open one comes forward, no new copy.
    EXPECT_EQ(openProbe(0, "DB9002"), a);
    EXPECT_EQ(P[0].inits, 1);
    EXPECT_TRUE(hasFocus(a));
    EXPECT_EQ(GetWindow(a, GW_HWNDPREV), nullptr) << "on top of the Z order";

    // Disabled: a beep only; the focus stays where it is.
    SetFocus(b);
    EnableWindow(a, FALSE);
    EXPECT_EQ(openProbe(0), a);
    EXPECT_TRUE(hasFocus(b));
    EXPECT_EQ(P[0].inits, 1);
    EnableWindow(a, TRUE);

    // Dialogs without a message procedure are never taken for one another.
    HWND n1 = dlg_open("DB9002", nullptr, nullptr, nullptr);
    HWND n2 = dlg_open("DB9002", nullptr, nullptr, nullptr);
    ASSERT_NE(n1, nullptr);
    ASSERT_NE(n2, nullptr);
    EXPECT_NE(n1, n2);
    EXPECT_TRUE(wine_seen_boxes().empty());
}

TEST_F(DialogTest, NothingOpensWhileTheMessageLoopIsNotRunning) {
    for (int state : {0, 1, 3, 4, 5, 9}) {
        runState = state;
        EXPECT_EQ(openProbe(0), nullptr) << "run state " << state;
    }
    EXPECT_EQ(P[0].inits, 0);
    EXPECT_TRUE(wine_seen_boxes().empty());

    runState = 2;
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    // An open dialog is still brought forward while the main window closes.
    runState = 4;
    EXPECT_EQ(openProbe(0), a);
    EXPECT_EQ(openProbe(1), nullptr);
    runState = 2;
}

TEST_F(DialogTest, TheTableHoldsAHundredDialogsAndWarnsAtTheNext) {
    std::set<HWND> windows;
    for (int n = 0; n < DLGSUP; ++n) {
        HWND w = openProbe(n);
        ASSERT_NE(w, nullptr) << "dialog " << n;
        EXPECT_EQ(P[n].slotAtInit, n);
        windows.insert(w);
    }
    EXPECT_EQ(windows.size(), static_cast<size_t>(DLGSUP));

    EXPECT_EQ(openProbe(DLGSUP), nullptr);
    EXPECT_EQ(P[DLGSUP].inits, 0);
    ASSERT_EQ(wine_seen_boxes().size(), 1u);
    const WineBox& box = wine_seen_boxes()[0];
    EXPECT_EQ(box.text, "Sie haben bereits 100 Dialogboxen ge\366ffnet.");
    EXPECT_EQ(box.style, 0x2030u);
    EXPECT_EQ(box.owner, App.mainWindow);
    EXPECT_EQ(box.caption, App.title);
    EXPECT_FALSE(box.mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(App.mainWindow));

    // A freed slot is the lowest free one and takes the next dialog.
    HWND w37 = P[37].hwndAtInit;
    PostMessageA(w37, WM_CLOSE, 0, 0);
    wine_pump();
    EXPECT_EQ(P[37].exits, 1);
    EXPECT_FALSE(IsWindow(w37));
    ASSERT_NE(openProbe(DLGSUP), nullptr);
    EXPECT_EQ(P[DLGSUP].slotAtInit, 37);

    // All go, from slot 99 down, each exit once with its own dialog current.
    exitOrder.clear();
    dlg_close_all();
    ASSERT_EQ(exitOrder.size(), static_cast<size_t>(DLGSUP));
    EXPECT_EQ(exitOrder.front(), 99);
    EXPECT_EQ(exitOrder[62], DLGSUP) << "slot 37 holds the last one opened";
    EXPECT_EQ(exitOrder.back(), 0);
    for (int n = 0; n <= DLGSUP; ++n) {
        if (n == 37) continue;
        EXPECT_EQ(P[n].exits, 1) << "probe " << n;
        EXPECT_EQ(P[n].slotAtExit, n == DLGSUP ? 37 : n) << "probe " << n;
        EXPECT_FALSE(IsWindow(P[n].hwndAtInit)) << "probe " << n;
    }
    EXPECT_NE(openProbe(0), nullptr) << "the table is free again";
}

TEST_F(DialogTest, AMissingTemplateWarnsAndLeavesTheSlotFree) {
    EXPECT_EQ(openProbe(0, "DB0404"), nullptr);
    EXPECT_EQ(P[0].inits, 0);
    EXPECT_EQ(P[0].exits, 0);
    ASSERT_EQ(wine_seen_boxes().size(), 1u);
    EXPECT_EQ(wine_seen_boxes()[0].text, "Kann Dialogbox DB0404 nicht herstellen.");
    EXPECT_EQ(wine_seen_boxes()[0].style, 0x2030u);
    EXPECT_TRUE(IsWindowEnabled(App.mainWindow));

    // The whole name is reported, though a slot keeps only 20 characters of it.
    const char* longName = "DB0404_A_NAME_LONGER_THAN_TWENTY_CHARACTERS";
    EXPECT_EQ(openProbe(0, longName), nullptr);
    ASSERT_EQ(wine_seen_boxes().size(), 2u);
    EXPECT_EQ(wine_seen_boxes()[1].text, std::string("Kann Dialogbox ") + longName + " nicht herstellen.");

    // The failed attempts left nothing behind: the same procedure opens in slot 0.
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(P[0].inits, 1);
    EXPECT_EQ(P[0].slotAtInit, 0);
}

// ---------------------------------------------------------------------------
// Closing
// ---------------------------------------------------------------------------

TEST_F(DialogTest, TheCloseButtonRunsExitOnceAndHidesCloseAndDestroyFromTheModule) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    SendMessageA(a, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(P[0].exits, 1);
    EXPECT_EQ(P[0].slotAtExit, 0);
    EXPECT_EQ(P[0].hwndAtExit, a);
    EXPECT_TRUE(saw(0, WM_SYSCOMMAND)) << "other messages do reach the module";

    HWND b = openProbe(1);
    ASSERT_NE(b, nullptr);
    PostMessageA(b, WM_CLOSE, 0, 0);
    wine_pump();
    EXPECT_FALSE(IsWindow(b));
    EXPECT_EQ(P[1].exits, 1);

    for (int n : {0, 1}) {
        EXPECT_FALSE(saw(n, WM_CLOSE)) << "probe " << n;
        EXPECT_FALSE(saw(n, WM_DESTROY)) << "probe " << n;
        EXPECT_FALSE(saw(n, WM_NCDESTROY)) << "probe " << n;
    }

    // Each opening has its own init and exit.
    HWND again = openProbe(0);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(P[0].inits, 2);
    dlg_close_all();
    EXPECT_EQ(P[0].exits, 2);
    EXPECT_EQ(P[1].exits, 1) << "a closed dialog is not closed again";
}

TEST_F(DialogTest, ADialogClosedByItsOwnInitOrExitClosesOnce) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    P[0].onExit = [] { SendMessageA(dlg_hwnd(), WM_CLOSE, 0, 0); };
    PostMessageA(a, WM_CLOSE, 0, 0);
    wine_pump();
    EXPECT_EQ(P[0].exits, 1);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(dlg_current(), -1);
    P[0].onExit = nullptr;

    // Closed at once by its init: no dialog, no warning, the slot free again.
    P[1].onInit = [] { SendMessageA(dlg_hwnd(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(openProbe(1), nullptr);
    EXPECT_EQ(P[1].inits, 1);
    EXPECT_EQ(P[1].exits, 1);
    EXPECT_TRUE(wine_seen_boxes().empty());
    P[1].onInit = nullptr;
    EXPECT_NE(openProbe(1), nullptr);
    EXPECT_EQ(P[1].slotAtInit, 0) << "the slot is free again";
}

TEST_F(DialogTest, DlgCloseClosesOnlyTheDialogWhoseMessageIsHandled) {
    HWND a = openProbe(0);
    HWND b = openProbe(1);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);

    EXPECT_LT(dlg_close(), 0);
    wine_pump();
    EXPECT_TRUE(IsWindow(a));
    EXPECT_TRUE(IsWindow(b));
    EXPECT_EQ(P[0].exits + P[1].exits, 0);

    // Cancel in b: b posts its own close, which happens when the loop gets there.
    SendMessageA(b, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_GE(P[1].closeResult, 0);
    EXPECT_TRUE(IsWindow(b));
    wine_pump();
    EXPECT_FALSE(IsWindow(b));
    EXPECT_TRUE(IsWindow(a));
    EXPECT_EQ(P[1].exits, 1);
    EXPECT_EQ(P[0].exits, 0);
}

TEST_F(DialogTest, ADialogDestroyedBehindTheManagersBackFreesItsSlot) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    DestroyWindow(a);
    EXPECT_EQ(P[0].exits, 1);
    EXPECT_FALSE(saw(0, WM_DESTROY));
    HWND again = openProbe(0);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(IsWindow(again));
    EXPECT_EQ(P[0].inits, 2);
    EXPECT_EQ(P[0].slotAtInit, 0);
}

TEST_F(DialogTest, ClosingABoxHandsItsDialogsToItsOpenerAndTheFocusToThem) {
    // main -> a -> b -> c, and d opened from the main window.
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    HWND b = nullptr, c = nullptr;
    insideDialog(0, a, [&] { b = openProbe(1, "DB9002"); });
    ASSERT_NE(b, nullptr);
    insideDialog(1, b, [&] { c = openProbe(2, "DB9002"); });
    ASSERT_NE(c, nullptr);
    HWND d = openProbe(3);
    ASSERT_NE(d, nullptr);
    SetActiveWindow(d);

    // b goes: c keeps working and gets the focus.
    PostMessageA(b, WM_CLOSE, 0, 0);
    wine_pump();
    EXPECT_FALSE(IsWindow(b));
    EXPECT_TRUE(IsWindow(c));
    EXPECT_TRUE(hasFocus(c));

    // c now counts as opened from a: when it goes, a gets the focus, not d,
    // the box that was active last.
    SetActiveWindow(d);
    ASSERT_TRUE(hasFocus(d));
    PostMessageA(c, WM_CLOSE, 0, 0);
    wine_pump();
    EXPECT_FALSE(IsWindow(c));
    EXPECT_TRUE(hasFocus(a));

    // a was opened from the main window: the box active before it takes the focus.
    PostMessageA(a, WM_CLOSE, 0, 0);
    wine_pump();
    EXPECT_TRUE(hasFocus(d));

    // d goes last: with no box left the main window gets the focus.
    PostMessageA(d, WM_CLOSE, 0, 0);
    wine_pump();
    EXPECT_EQ(GetFocus(), App.mainWindow);
}

TEST_F(DialogTest, AClosingDialogPassesOverADisabledOne) {
    HWND a = openProbe(0);
    HWND b = nullptr;
    insideDialog(0, a, [&] { b = openProbe(1, "DB9002"); });
    ASSERT_NE(b, nullptr);
    HWND d = openProbe(2);
    ASSERT_NE(d, nullptr);
    SetActiveWindow(a);
    SetActiveWindow(d);

    // a's dialog b is disabled: a's opener is the main window, so the box active
    // last (d) takes the focus.
    EnableWindow(b, FALSE);
    PostMessageA(a, WM_CLOSE, 0, 0);
    wine_pump();
    EXPECT_FALSE(IsWindow(a));
    EXPECT_TRUE(IsWindow(b));
    EXPECT_TRUE(hasFocus(d));
    EnableWindow(b, TRUE);
}

// ---------------------------------------------------------------------------
// The current dialog
// ---------------------------------------------------------------------------

TEST_F(DialogTest, EachDialogMessageMakesItsDialogCurrentNestedOnesToo) {
    HWND a = openProbe(0);
    HWND b = openProbe(1);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);

    int slotInA = -2, slotInB = -2, slotBackInA = -2;
    HWND hwndInA = nullptr, hwndInB = nullptr, hwndBackInA = nullptr;
    P[1].onCommand = [&](WPARAM) {
        slotInB = dlg_current();
        hwndInB = dlg_hwnd();
    };
    insideDialog(0, a, [&] {
        slotInA = dlg_current();
        hwndInA = dlg_hwnd();
        SendMessageA(b, WM_COMMAND, MAKEWPARAM(TEST_ACTION, BN_CLICKED), 0);
        slotBackInA = dlg_current();
        hwndBackInA = dlg_hwnd();
    });
    EXPECT_EQ(slotInA, 0);
    EXPECT_EQ(hwndInA, a);
    EXPECT_EQ(slotInB, 1);
    EXPECT_EQ(hwndInB, b);
    EXPECT_EQ(slotBackInA, 0);
    EXPECT_EQ(hwndBackInA, a);
    EXPECT_EQ(dlg_current(), -1);
    EXPECT_EQ(dlg_hwnd(), App.mainWindow);

    // 199 nested dialog messages fit the stack.
    SendMessageA(a, WM_APP, 198, 0);
    EXPECT_EQ(P[0].deepest, 199);
    EXPECT_EQ(dlg_current(), -1);
}

int printBox(const char* text, unsigned, const char*, HWND) {
    std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
    return IDOK;
}

void nestTooDeep() {
    box_set_hook(printBox);
    HWND a = openProbe(0);
    if (a) SendMessageA(a, WM_APP, 199, 0);
}

void initWithoutMemory() {
    box_set_hook(printBox);
    dlg_exit();
    fmalloc_test_fail_after(0);
    dlg_init();
}

TEST(DialogDeathTest, TheTableOrTheStackFailingEndsTheProgram) {
    runState = 2;
    EXPECT_EXIT(nestTooDeep(), ::testing::ExitedWithCode(3),
                "ASSERT ERROR\\sdialog\\.228\\s\\+\\+idxtop < 2\\*DLGSUP");
    EXPECT_EXIT(initWithoutMemory(), ::testing::ExitedWithCode(3),
                "ASSERT ERROR\\sdialog\\.97\\s"
                "\\(box=fmalloc\\( DLGSUP, sizeof\\(struct dlgbox\\)\\)\\) != NULL");
    dlg_close_all();
}

TEST_F(DialogTest, ControlFunctionsAddressTheCurrentDialogElseTheMainWindow) {
    HWND mainEdit = CreateWindowExA(0, "EDIT", "Hauptfenster", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                    10, 10, 200, 20, App.mainWindow,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(TEST_EDIT)),
                                    App.instance, nullptr);
    HWND mainCheck = CreateWindowExA(0, "BUTTON", "Haken", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX,
                                     10, 40, 200, 20, App.mainWindow,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(TEST_CHECK)),
                                     App.instance, nullptr);
    ASSERT_NE(mainEdit, nullptr);
    ASSERT_NE(mainCheck, nullptr);
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    HWND dialogEdit = GetDlgItem(a, TEST_EDIT);
    HWND dialogCheck = GetDlgItem(a, TEST_CHECK);

    // Outside any dialog message: the main window's controls.
    EXPECT_EQ(dlg_item(TEST_EDIT), mainEdit);
    dlg_set_check(TEST_CHECK, BST_CHECKED);
    EXPECT_EQ(SendMessageA(mainCheck, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(dialogCheck, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(dlg_get_check(TEST_CHECK), BST_CHECKED);
    dlg_enable_item(TEST_EDIT, 0);
    EXPECT_FALSE(IsWindowEnabled(mainEdit));
    EXPECT_TRUE(IsWindowEnabled(dialogEdit));
    dlg_enable_item(TEST_EDIT, 1);
    EXPECT_TRUE(IsWindowEnabled(mainEdit));
    dlg_enable_item(4711, 0);  // no such control: nothing happens
    dlg_focus_item(TEST_EDIT);
    EXPECT_EQ(GetFocus(), mainEdit);
    EXPECT_EQ(dlg_focus_id(), TEST_EDIT);
    std::string mainTitle = caption(App.mainWindow);
    dlg_set_title("Nicht hier");
    EXPECT_EQ(caption(App.mainWindow), mainTitle);

    // Inside a message of the dialog: the dialog's controls.
    insideDialog(0, a, [&] {
        EXPECT_EQ(dlg_item(TEST_EDIT), dialogEdit);
        EXPECT_EQ(dlg_get_check(TEST_CHECK), BST_UNCHECKED);
        dlg_set_check(TEST_CHECK, BST_CHECKED);
        dlg_enable_item(TEST_EDIT, 0);
        dlg_focus_item(TEST_LIST);
        EXPECT_EQ(dlg_focus_id(), TEST_LIST);
        dlg_set_title("Neuer Titel \344");
        dlg_update_item(TEST_LIST);
        RECT r;
        EXPECT_FALSE(GetUpdateRect(dlg_item(TEST_LIST), &r, FALSE)) << "repainted at once";
    });
    EXPECT_EQ(SendMessageA(dialogCheck, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(dialogEdit));
    EXPECT_TRUE(IsWindowEnabled(mainEdit));
    EXPECT_EQ(GetFocus(), GetDlgItem(a, TEST_LIST));
    EXPECT_EQ(caption(a), "Neuer Titel \344");
    EXPECT_EQ(caption(App.mainWindow), mainTitle);

    DestroyWindow(mainEdit);
    DestroyWindow(mainCheck);
}

TEST_F(DialogTest, ComboListAndCheckValuesRoundTrip) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    HFONT fontBefore = reinterpret_cast<HFONT>(SendDlgItemMessageA(a, TEST_COMBO, WM_GETFONT, 0, 0));
    ASSERT_NE(fontBefore, App.font) << "the template's font differs from the program's";

    insideDialog(0, a, [&] {
        char buf[64];
        HWND combo = dlg_item(TEST_COMBO);

        combo_reset(TEST_COMBO);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(combo, WM_GETFONT, 0, 0)), App.font);
        EXPECT_EQ(combo_add(TEST_COMBO, "alpha"), 0);
        EXPECT_EQ(combo_add(TEST_COMBO, "beta"), 1);
        EXPECT_EQ(combo_insert(TEST_COMBO, "erstes", 0), 0);
        EXPECT_EQ(combo_get_item(TEST_COMBO, 0, buf, 63), 1);
        EXPECT_STREQ(buf, "erstes");
        EXPECT_EQ(combo_get_item(TEST_COMBO, 2, buf, 63), 1);
        EXPECT_STREQ(buf, "beta");
        // Cut to max characters; beyond the list nothing.
        std::memset(buf, 'x', sizeof buf);
        EXPECT_EQ(combo_get_item(TEST_COMBO, 0, buf, 3), 1);
        EXPECT_STREQ(buf, "ers");
        EXPECT_EQ(buf[4], 'x') << "nothing written past max + 1 bytes";
        std::strcpy(buf, "alt");
        EXPECT_EQ(combo_get_item(TEST_COMBO, 3, buf, 63), 0);
        EXPECT_STREQ(buf, "");
        EXPECT_EQ(combo_get_item(TEST_COMBO, -1, buf, 63), 0);
        EXPECT_EQ(combo_delete(TEST_COMBO, 0), 2);
        EXPECT_EQ(combo_get_item(TEST_COMBO, 0, buf, 63), 1);
        EXPECT_STREQ(buf, "alpha");

        // Nothing selected: the edit field's text.
        std::strcpy(buf, "alt");
        EXPECT_EQ(combo_get_sel_text(TEST_COMBO, buf, 63), 0);
        EXPECT_STREQ(buf, "");
        // Items compare with case: "Alpha" selects nothing but stands in the field.
        combo_set_text(TEST_COMBO, "Alpha");
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
        combo_get_text(TEST_COMBO, buf, 63);
        EXPECT_STREQ(buf, "Alpha");
        combo_get_text(TEST_COMBO, buf, 2);
        EXPECT_STREQ(buf, "Al");
        combo_set_text(TEST_COMBO, "beta");
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(combo_get_sel_text(TEST_COMBO, buf, 63), 1);
        EXPECT_STREQ(buf, "beta");
        combo_get_text(TEST_COMBO, buf, 63);
        EXPECT_STREQ(buf, "beta");
        // A text that is no item clears the selection again.
        combo_set_text(TEST_COMBO, "gamma \374");
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), CB_ERR);
        combo_get_text(TEST_COMBO, buf, 63);
        EXPECT_STREQ(buf, "gamma \374");

        HWND list = dlg_item(TEST_LIST);
        list_reset(TEST_LIST);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)), App.font);
        EXPECT_EQ(list_count(TEST_LIST), 0);
        EXPECT_EQ(list_get_sel(TEST_LIST), -1);
        char line[16];
        for (int i = 0; i < 30; ++i) {
            std::snprintf(line, sizeof line, "Zeile %02d", i);
            EXPECT_EQ(list_add(TEST_LIST, line), i);
        }
        EXPECT_EQ(list_count(TEST_LIST), 30);
        EXPECT_EQ(list_get_text(TEST_LIST, 7, buf, 63), 8);
        EXPECT_STREQ(buf, "Zeile 07");
        std::memset(buf, 'x', sizeof buf);
        EXPECT_EQ(list_get_text(TEST_LIST, 7, buf, 5), 5);
        EXPECT_STREQ(buf, "Zeile");
        EXPECT_EQ(buf[6], 'x');
        EXPECT_EQ(list_get_text(TEST_LIST, 30, buf, 63), -1);
        EXPECT_STREQ(buf, "");
        list_set_sel(TEST_LIST, 12);
        EXPECT_EQ(list_get_sel(TEST_LIST), 12);
        list_set_sel(TEST_LIST, -1);
        EXPECT_EQ(list_get_sel(TEST_LIST), -1);
        list_set_top(TEST_LIST, 10);
        EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 10);
        list_reset(TEST_LIST);
        EXPECT_EQ(list_count(TEST_LIST), 0);

        dlg_set_check(TEST_CHECK, BST_CHECKED);
        EXPECT_EQ(dlg_get_check(TEST_CHECK), BST_CHECKED);
        dlg_set_check(TEST_CHECK, BST_UNCHECKED);
        EXPECT_EQ(dlg_get_check(TEST_CHECK), BST_UNCHECKED);
        combo_set_text(TEST_COMBO, "beta");  // an item chosen
    });

    // The first key typed after choosing an item: the combo box reports the
    // edit while its list still selects the item; the text the user sees wins.
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
    P[0].onCommand = nullptr;
    EXPECT_EQ(read, "betax");
}

TEST_F(DialogTest, NotificationsAreClassifiedByControlAndCode) {
    EXPECT_TRUE(combo_dropdown(TEST_COMBO, MAKEWPARAM(TEST_COMBO, CBN_DROPDOWN)));
    EXPECT_FALSE(combo_dropdown(TEST_COMBO, MAKEWPARAM(TEST_COMBO, CBN_SELCHANGE)));
    EXPECT_FALSE(combo_dropdown(TEST_COMBO, MAKEWPARAM(TEST_LIST, CBN_DROPDOWN)));
    for (WORD code : {CBN_SELCHANGE, CBN_DBLCLK, CBN_EDITUPDATE})
        EXPECT_TRUE(combo_changed(TEST_COMBO, MAKEWPARAM(TEST_COMBO, code))) << code;
    for (WORD code : {CBN_EDITCHANGE, CBN_DROPDOWN, CBN_SETFOCUS, CBN_KILLFOCUS})
        EXPECT_FALSE(combo_changed(TEST_COMBO, MAKEWPARAM(TEST_COMBO, code))) << code;
    EXPECT_FALSE(combo_changed(TEST_COMBO, MAKEWPARAM(TEST_EDIT, CBN_SELCHANGE)));

    EXPECT_EQ(list_event(TEST_LIST, MAKEWPARAM(TEST_LIST, LBN_SETFOCUS)), 1);
    EXPECT_EQ(list_event(TEST_LIST, MAKEWPARAM(TEST_LIST, LBN_SELCHANGE)), 2);
    EXPECT_EQ(list_event(TEST_LIST, MAKEWPARAM(TEST_LIST, LBN_DBLCLK)), 3);
    EXPECT_EQ(list_event(TEST_LIST, MAKEWPARAM(TEST_LIST, LBN_KILLFOCUS)), 0);
    EXPECT_EQ(list_event(TEST_LIST, MAKEWPARAM(TEST_COMBO, LBN_DBLCLK)), 0);

    // A change counts as typed only while the control has the focus.
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    insideDialog(0, a, [&] {
        dlg_focus_item(TEST_EDIT);
        EXPECT_TRUE(edit_changed(TEST_EDIT, MAKEWPARAM(TEST_EDIT, EN_CHANGE)));
        EXPECT_FALSE(edit_changed(TEST_EDIT, MAKEWPARAM(TEST_EDIT, EN_UPDATE)));
        EXPECT_FALSE(edit_changed(TEST_COMBO, MAKEWPARAM(TEST_COMBO, EN_CHANGE)));
        dlg_focus_item(TEST_LIST);
        EXPECT_FALSE(edit_changed(TEST_EDIT, MAKEWPARAM(TEST_EDIT, EN_CHANGE)));
    });
}

// ---------------------------------------------------------------------------
// Enabling, activation, keyboard
// ---------------------------------------------------------------------------

TEST_F(DialogTest, EnableAllSwitchesTheMainWindowAndEveryDialog) {
    HWND a = openProbe(0);
    HWND panel = openProbe(1, "DB9003");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetParent(panel), App.mainWindow) << "a panel lives in the main window";

    dlg_enable_all(0);
    EXPECT_FALSE(IsWindowEnabled(App.mainWindow));
    EXPECT_FALSE(IsWindowEnabled(a));
    EXPECT_FALSE(IsWindowEnabled(panel));
    EXPECT_EQ(openProbe(0), a) << "a disabled dialog is not opened twice";
    EXPECT_EQ(P[0].inits, 1);

    dlg_enable_all(1);
    EXPECT_TRUE(IsWindowEnabled(App.mainWindow));
    EXPECT_TRUE(IsWindowEnabled(a));
    EXPECT_TRUE(IsWindowEnabled(panel));
}

TEST_F(DialogTest, TheActiveNameFollowsActivation) {
    HWND a = openProbe(0, "DB9001");
    HWND b = openProbe(1, "DB9002");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    char name[DLG_NAME_MAX + 2];

    SetActiveWindow(a);
    dlg_active_name(name);
    EXPECT_STREQ(name, "DB9001");
    SetActiveWindow(b);
    dlg_active_name(name);
    EXPECT_STREQ(name, "DB9002");
    SetActiveWindow(App.mainWindow);
    dlg_active_name(name);
    EXPECT_STREQ(name, "");

    // A longer template name is kept to 20 characters.
    HWND c = openProbe(2, "DB9004ABCDEFGHIJKLMNOPQRSTUV");
    ASSERT_NE(c, nullptr);
    SetActiveWindow(c);
    std::memset(name, 'x', sizeof name);
    dlg_active_name(name);
    EXPECT_STREQ(name, "DB9004ABCDEFGHIJKLMN");
    EXPECT_EQ(name[DLG_NAME_MAX + 1], 'x');

    // The box that was active goes: nothing is active of the dialogs.
    PostMessageA(c, WM_CLOSE, 0, 0);
    wine_pump();
    SetActiveWindow(App.mainWindow);
    dlg_active_name(name);
    EXPECT_STREQ(name, "");
}

TEST_F(DialogTest, TheLoopHandsDialogKeysToTheDialog) {
    HWND a = openProbe(0);
    ASSERT_NE(a, nullptr);
    HWND edit = GetDlgItem(a, TEST_EDIT);

    // Tab moves to the next control.
    SetFocus(edit);
    PostMessageA(edit, WM_KEYDOWN, VK_TAB, 1);
    wine_pump();
    HWND combo = GetDlgItem(a, TEST_COMBO);
    EXPECT_TRUE(GetFocus() == combo || IsChild(combo, GetFocus()));

    // Escape is the dialog's Cancel, which closes it through the module.
    PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    wine_pump();
    EXPECT_TRUE(sawCommand(0, IDCANCEL));
    EXPECT_GE(P[0].closeResult, 0);
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(P[0].exits, 1);

    // The same in a panel.
    HWND panel = openProbe(1, "DB9003");
    ASSERT_NE(panel, nullptr);
    PostMessageA(GetDlgItem(panel, TEST_LIST), WM_KEYDOWN, VK_ESCAPE, 1);
    wine_pump();
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(P[1].exits, 1);

    // A message for the main window is none of the dialogs' business.
    HWND b = openProbe(2);
    ASSERT_NE(b, nullptr);
    MSG msg = {};
    msg.hwnd = App.mainWindow;
    msg.message = WM_KEYDOWN;
    msg.wParam = VK_ESCAPE;
    EXPECT_EQ(dlg_is_message(&msg), 0);
    msg.hwnd = GetDlgItem(b, TEST_EDIT);
    EXPECT_EQ(dlg_is_message(&msg), 1);
}

}  // namespace
