// The status bar, the control value functions and the help control under Wine.
#include "support/status_win32.h"

#include "framework/dialog_win32.h"
#include "support/platform.h"
#include "support/app_win32.h"
#include "support/profile.h"
#include "support/status.h"
#include "test_dialogs.h"
#include "wine_environment.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string window_text(HWND w) {
    char buf[512] = "";
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

// The right edges of the bar's parts (SB_GETPARTS).
std::vector<int> parts_of(HWND bar) {
    int edges[STATUS_MAX_PARTS + 5];
    int n = static_cast<int>(SendMessageA(bar, SB_GETPARTS, STATUS_MAX_PARTS + 5,
                                          reinterpret_cast<LPARAM>(edges)));
    return std::vector<int>(edges, edges + (n > 0 ? n : 0));
}

std::string part_text(HWND bar, int part) {
    char buf[256] = "";
    LRESULT length = SendMessageA(bar, SB_GETTEXTLENGTHA, part, 0);
    if (LOWORD(length) >= sizeof buf) return "<too long>";
    SendMessageA(bar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(buf));
    return buf;
}

int status_bars_of_main() {
    int n = 0;
    for (HWND w = FindWindowExA(App.mainWindow, nullptr, STATUSCLASSNAMEA, nullptr); w;
         w = FindWindowExA(App.mainWindow, w, STATUSCLASSNAMEA, nullptr))
        ++n;
    return n;
}

// Each test makes its own bar and leaves none behind: its id is the id of
// other tests' controls.
class StatusBarWin32 : public ::testing::Test {
  protected:
    void TearDown() override {
        if (HWND bar = GetDlgItem(App.mainWindow, STATUS_ID)) DestroyWindow(bar);
        wine_pump();
    }
};

TEST_F(StatusBarWin32, NothingHappensBeforeTheBarExists) {
    status_destroy();  // whatever an earlier test made
    status_resize(500, 400);
    status_set(0, "nowhere");
    EXPECT_EQ(status_height(), 0);
    EXPECT_EQ(status_bars_of_main(), 0);
}

TEST_F(StatusBarWin32, WidthsInDialogUnitsMakeTheParts) {
    HWND bar = status_create("12 60 120");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetDlgItem(App.mainWindow, STATUS_ID), bar);
    EXPECT_EQ(GetParent(bar), App.mainWindow);
    DWORD style = static_cast<DWORD>(GetWindowLongA(bar, GWL_STYLE));
    EXPECT_EQ(style & STATUS_STYLE, STATUS_STYLE);
    EXPECT_EQ(window_text(bar), "");

    // The edges: running sums of the widths, scaled by the dialog base height.
    int base = HIWORD(GetDialogBaseUnits());
    EXPECT_EQ(dlg_units(12), static_cast<int>(std::lround(12 * base / 8.0)));
    EXPECT_EQ(dlg_units(192), static_cast<int>(std::lround(192 * base / 8.0)));
    std::vector<int> expected{dlg_units(12), dlg_units(72), dlg_units(192), -1};
    EXPECT_EQ(parts_of(bar), expected);

    RECT r;
    ASSERT_TRUE(GetWindowRect(bar, &r));
    EXPECT_GT(status_height(), 0);
    EXPECT_EQ(status_height(), r.bottom - r.top);

    // A second call divides the same bar anew; an empty text leaves one part.
    EXPECT_EQ(status_create(""), bar);
    EXPECT_EQ(parts_of(bar), std::vector<int>{-1});
    EXPECT_EQ(status_create("1 2 3 4 5 6 7 8 9 10 11 12"), bar);
    EXPECT_EQ(parts_of(bar).size(), static_cast<size_t>(STATUS_MAX_PARTS));
    EXPECT_EQ(parts_of(bar)[9], dlg_units(55));
    EXPECT_EQ(status_bars_of_main(), 1);
}

TEST_F(StatusBarWin32, TextsGoToTheirParts) {
    HWND bar = status_create("12 60 120");
    ASSERT_NE(bar, nullptr);
    status_set(0, "E");
    status_set(1, "Z 12  S 5");
    status_set(3, "Datei ge\xE4ndert");
    EXPECT_EQ(part_text(bar, 0), "E");
    EXPECT_EQ(part_text(bar, 1), "Z 12  S 5");
    EXPECT_EQ(part_text(bar, 2), "");
    EXPECT_EQ(part_text(bar, 3), "Datei ge\xE4ndert");

    status_set(1, nullptr);  // clears
    EXPECT_EQ(part_text(bar, 1), "");
    // A part number outside the byte of SB_SETTEXT never reaches the bar.
    status_set(256, "x");
    status_set(-1, "x");
    EXPECT_EQ(part_text(bar, 0), "E");
    EXPECT_EQ(part_text(bar, 3), "Datei ge\xE4ndert");
}

TEST_F(StatusBarWin32, ResizeMovesTheBarToTheBottom) {
    HWND bar = status_create("12 60 120");
    ASSERT_NE(bar, nullptr);
    int height = status_height();
    RECT client;
    ASSERT_TRUE(GetClientRect(App.mainWindow, &client));
    status_resize(client.right, client.bottom);

    RECT r;
    ASSERT_TRUE(GetWindowRect(bar, &r));
    MapWindowPoints(nullptr, App.mainWindow, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, client.bottom - height);
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(r.bottom, client.bottom);
    EXPECT_EQ(status_height(), height);
}

// ---------------------------------------------------------------------------
// Control values on a control of the main window (no dialog is current)
// ---------------------------------------------------------------------------

constexpr int kEdit = 3990;
constexpr int kMissing = 3999;

class ControlValuesWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(dlg_current(), -1);
        ASSERT_EQ(dlg_hwnd(), App.mainWindow);
        edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 40,
                               300, 24, App.mainWindow,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEdit)),
                               App.instance, nullptr);
        ASSERT_NE(edit, nullptr);
    }
    void TearDown() override { DestroyWindow(edit); }
    void put(const char* text) { SetWindowTextA(edit, text); }
    std::string text() const { return window_text(edit); }
    HWND edit = nullptr;
};

TEST_F(ControlValuesWin32, NumbersRoundTrip) {
    dlg_set_int(kEdit, -12);
    EXPECT_EQ(text(), "-12");
    EXPECT_EQ(dlg_get_int(kEdit), -12);

    dlg_set_long(kEdit, -2147483647L - 1);
    EXPECT_EQ(text(), "-2147483648");
    EXPECT_EQ(dlg_get_long(kEdit), -2147483647L - 1);

    dlg_set_hex(kEdit, 255);
    EXPECT_EQ(text(), "FF");
    EXPECT_EQ(dlg_get_hex(kEdit), 255);
    dlg_set_hex(kEdit, -1);  // long has 32 bits here
    EXPECT_EQ(text(), "FFFFFFFF");

    dlg_set_fixed(kEdit, -0.004);
    EXPECT_EQ(text(), "0.00");
    dlg_set_fixed(kEdit, 1234.5);
    EXPECT_EQ(text(), "1234.50");
    EXPECT_EQ(dlg_get_double(kEdit), 1234.5);
}

TEST_F(ControlValuesWin32, ReadersTakeTheLeadingNumberOfTheText) {
    put("  -12abc");
    EXPECT_EQ(dlg_get_int(kEdit), -12);
    EXPECT_EQ(dlg_get_long(kEdit), -12L);
    EXPECT_EQ(dlg_get_double(kEdit), -12.0);
    put(" 1a2g");
    EXPECT_EQ(dlg_get_hex(kEdit), 0x1A2);
    put("2.5e3 Euro");
    EXPECT_EQ(dlg_get_double(kEdit), 2500.0);
    put("abc");
    EXPECT_EQ(dlg_get_double(kEdit), 0.0);

    // Only the first 80 characters count: digits beyond them are not read.
    std::string longNumber = std::string(79, ' ') + "75";
    put(longNumber.c_str());
    EXPECT_EQ(dlg_get_int(kEdit), 7);
}

TEST_F(ControlValuesWin32, TextsWithAndWithoutTheProgramsFont) {
    ASSERT_NE(App.font, nullptr);
    HFONT other = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    ASSERT_NE(other, App.font);

    dlg_set_font(kEdit, other);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), other);
    dlg_put_text(kEdit, "nur Text");
    EXPECT_EQ(text(), "nur Text");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), other);

    dlg_set_text(kEdit, "mit Schrift");
    EXPECT_EQ(text(), "mit Schrift");
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)), App.font);
}

TEST_F(ControlValuesWin32, GetTextKeepsToItsBuffer) {
    put("abcdefgh");
    char buf[8];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(dlg_get_text(kEdit, buf, 5), 5);
    EXPECT_STREQ(buf, "abcde");
    EXPECT_EQ(buf[6], '#');  // max + 1 bytes and not one more

    EXPECT_EQ(dlg_get_text(kEdit, buf, 0), 0);
    EXPECT_STREQ(buf, "");

    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(dlg_get_text(kMissing, buf, 7), 0);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(dlg_get_int(kMissing), 0);
    dlg_set_int(kMissing, 5);  // no such control: nothing happens
}

// ---------------------------------------------------------------------------
// Inside a dialog's message the functions address that dialog's controls
// ---------------------------------------------------------------------------

struct DialogProbe {
    int readBack = -1;
    double fixedBack = -1;
};
DialogProbe probe;

INT_PTR probeProc(UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_COMMAND && LOWORD(wParam) == TEST_ACTION) {
        dlg_set_int(TEST_EDIT, 42);
        probe.readBack = dlg_get_int(TEST_EDIT);
        dlg_set_fixed(TEST_EDIT, -0.004);
        probe.fixedBack = dlg_get_double(TEST_EDIT);
        dlg_set_int(TEST_EDIT, 42);
    }
    return 0;
}

TEST_F(ControlValuesWin32, InsideADialogMessageTheDialogsControlIsMeant) {
    // The main window has a control of the dialog's edit id too.
    HWND mainTwin = CreateWindowExA(0, "EDIT", "main", WS_CHILD, 0, 0, 50, 20, App.mainWindow,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(TEST_EDIT)),
                                    App.instance, nullptr);
    ASSERT_NE(mainTwin, nullptr);
    probe = DialogProbe{};
    HWND dlg = dlg_open("DB9001", nullptr, nullptr, probeProc);
    ASSERT_NE(dlg, nullptr);
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(TEST_ACTION, BN_CLICKED), 0);

    EXPECT_EQ(window_text(GetDlgItem(dlg, TEST_EDIT)), "42");
    EXPECT_EQ(probe.readBack, 42);
    EXPECT_EQ(probe.fixedBack, 0.0);
    EXPECT_EQ(window_text(mainTwin), "main");

    SendMessageA(dlg, WM_CLOSE, 0, 0);
    wine_pump();
    DestroyWindow(mainTwin);
}

// ---------------------------------------------------------------------------
// Help
// ---------------------------------------------------------------------------

constexpr const char* kNoKey = "CLSID\\{00000000-0000-0000-0000-0000000000Y8}\\InprocServer32";
constexpr const char* kNoLibrary = "y8-no-such-help.ocx";

BOOL CALLBACK count_window(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The top-level windows of this thread: a help viewer would be one more.
int thread_windows() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), count_window, reinterpret_cast<LPARAM>(&n));
    return n;
}

class HelpWin32 : public ::testing::Test {
  protected:
    void TearDown() override { help_test_reset(nullptr, nullptr); }
};

TEST_F(HelpWin32, AMissingHelpFileOpensNoWindowAndTheControlLoadsOnce) {
    help_test_reset(nullptr, nullptr);
    wine_clear_boxes();
    int windows = thread_windows();
    ASSERT_STRNE(arg_value(0), "");

    show_help(nullptr, "DB1100");  // the test program has no .chm beside it
    EXPECT_EQ(help_test_load_runs(), 1);
    EXPECT_TRUE(help_test_loaded());
    show_help(nullptr, nullptr);
    show_help("C:\\no\\such\\help.chm", "DB1100");
    EXPECT_EQ(html_help(App.mainWindow, "C:\\no\\such\\help.chm", 0, 0), nullptr);
    EXPECT_EQ(help_test_load_runs(), 1);
    wine_pump();
    EXPECT_EQ(thread_windows(), windows);
    EXPECT_EQ(wine_seen_boxes().size(), 0u);
}

TEST_F(HelpWin32, TheControlIsFoundByTheRegistryOrInTheSystemDirectory) {
    help_test_reset(nullptr, kNoLibrary);  // only the registered path can work
    EXPECT_EQ(html_help(App.mainWindow, "C:\\no\\such\\help.chm", 0, 0), nullptr);
    EXPECT_TRUE(help_test_loaded());

    help_test_reset(kNoKey, nullptr);  // only the system directory can work
    EXPECT_EQ(html_help(App.mainWindow, "C:\\no\\such\\help.chm", 0, 0), nullptr);
    EXPECT_TRUE(help_test_loaded());
    EXPECT_EQ(help_test_load_runs(), 1);
}

TEST_F(HelpWin32, WithoutTheControlHelpFailsSilentlyAndForGood) {
    help_test_reset(kNoKey, kNoLibrary);
    wine_clear_boxes();
    int windows = thread_windows();
    EXPECT_EQ(html_help(App.mainWindow, "C:\\no\\such\\help.chm", 0, 0), nullptr);
    EXPECT_FALSE(help_test_loaded());
    EXPECT_EQ(help_test_load_runs(), 1);
    show_help(nullptr, "DB1100");
    EXPECT_EQ(html_help(App.mainWindow, nullptr, 0, 0), nullptr);
    EXPECT_EQ(help_test_load_runs(), 1);  // never tried again
    EXPECT_EQ(thread_windows(), windows);
    EXPECT_EQ(wine_seen_boxes().size(), 0u);
}

}  // namespace
