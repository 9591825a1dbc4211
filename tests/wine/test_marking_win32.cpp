// The marking's Win32 side under Wine: real mouse messages to the text window
// (capture, drag, double click, wheel), the marked cells painted in the
// in-line mark colour, and the two context menus, in the program's resources
// and shown by plat_context_menu.
#include "view/marking.h"

#include "document/linestore.h"
#include "support/platform.h"
#include "support/app_win32.h"
#include "view/options.h"
#include "view/textview.h"
#include "view/textview_win32.h"
#include "wine_environment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 900;  // the main window's size as the environment made it
constexpr int kHeight = 700;

LPARAM cellPoint(int c, int r) {
    return MAKELPARAM(c * charWidth + 4 + charWidth / 2, r * lineHeight + 2 + lineHeight / 2);
}

COLORREF colourRef(Rgb c) { return RGB(c.r, c.g, c.b); }

// A pixel near the top-right corner of cell (c, r) in the window: no glyph of
// a blank draws there, nor the caret.
COLORREF windowCellPixel(int c, int r) {
    HDC dc = GetDC(App.mainWindow);
    const COLORREF p = GetPixel(dc, (c + 1) * charWidth + 2, r * lineHeight + 3);
    ReleaseDC(App.mainWindow, dc);
    return p;
}

LineRecord rowOf(int r) {
    LineRecord line;
    rowGetRaw(r, &line);
    return line;
}

void putRow(int r, const char* text) {
    LineRecord line;
    lineInit(&line);
    std::strncpy(line.text, text, kLineChars);
    rowPut(r, &line);
}

// A menu item as the menu holds it.
struct MenuItem {
    std::string text;  // "-" for a separator
    UINT id;
    bool operator==(const MenuItem& o) const { return text == o.text && id == o.id; }
};

std::vector<MenuItem> itemsOf(HMENU menu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({(info.fType & MFT_SEPARATOR) ? "-" : text, (info.fType & MFT_SEPARATOR) ? 0 : info.wID});
    }
    return items;
}

const std::vector<MenuItem> kWithMark = {
    {"Suchen", 1100},   {"\334bersicht", 1200}, {"Struktur", 1201},     {"-", 0},
    {"Projekt-Info", 1210}, {"Lib-Info", 1211}, {"-", 0},               {"Ausschneiden", 1112},
    {"Kopieren", 1110}, {"Einf\374gen", 1111}};
const std::vector<MenuItem> kWithoutMark = {{"\334bersicht", 1200}, {"Struktur", 1201}, {"-", 0},
                                            {"Projekt-Info", 1210}, {"Lib-Info", 1211}, {"-", 0},
                                            {"Einf\374gen", 1111}};

// Ends a menu that a test could not end otherwise, so that no run can hang.
void CALLBACK menuWatchdog(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
}

class MarkingWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(storeCreate());
        ASSERT_TRUE(windowCreate());
        storeReset();
        rowsClearAll();
        topLine = cursorRow = cursorCol = firstCol = 0;
        insertMode = 1;
        ReleaseCapture();
        markReset();
        mouseLeftUp();
        SetWindowPos(App.mainWindow, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOMOVE);
        viewCreate();
        rowsReady = 1;
        wine_pump();
        wine_clear_main_commands();
    }
    void TearDown() override {
        markReset();
        mouseLeftUp();
        ReleaseCapture();
        viewDestroy();
        rowsReady = 0;
        DestroyCaret();
        wine_pump();
    }
};

TEST_F(MarkingWin32, DragMarksTheColumnsAndPaintsThemInTheMarkColour) {
    putRow(1, "");
    viewMessage(WM_LBUTTONDOWN, 0, cellPoint(2, 1));
    EXPECT_EQ(GetCapture(), App.mainWindow);
    viewMessage(WM_MOUSEMOVE, MK_LBUTTON, cellPoint(4, 1));
    viewMessage(WM_MOUSEMOVE, MK_LBUTTON, cellPoint(6, 1));
    viewMessage(WM_LBUTTONUP, 0, cellPoint(6, 1));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(rowOf(1).markFrom, 2);
    EXPECT_EQ(rowOf(1).markTo, 6);
    EXPECT_EQ(cursorCol, 6);
    EXPECT_EQ(cursorRow, 1);

    // The row was repainted at once, without a paint message.
    for (int c = 2; c < 6; ++c) EXPECT_EQ(windowCellPixel(c, 1), colourRef(inlineMarkColour)) << c;
    EXPECT_EQ(windowCellPixel(1, 1), colourRef(bgColour));
    EXPECT_EQ(windowCellPixel(6, 1), colourRef(bgColour));

    // A click without Shift takes the mark away; the full repaint shows it.
    viewMessage(WM_LBUTTONDOWN, 0, cellPoint(10, 3));
    viewMessage(WM_LBUTTONUP, 0, cellPoint(10, 3));
    EXPECT_EQ(rowOf(1).markFrom, rowOf(1).markTo);
    EXPECT_EQ(windowCellPixel(3, 1), colourRef(inlineMarkColour));  // not yet painted
    viewMessage(WM_PAINT, 0, 0);
    EXPECT_EQ(windowCellPixel(3, 1), colourRef(bgColour));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MarkingWin32, ShiftClickAndDoubleClick) {
    putRow(0, "say hello world");
    viewMessage(WM_LBUTTONDOWN, 0, cellPoint(6, 0));
    viewMessage(WM_LBUTTONUP, 0, cellPoint(6, 0));
    viewMessage(WM_LBUTTONDBLCLK, 0, cellPoint(6, 0));
    viewMessage(WM_LBUTTONUP, 0, cellPoint(6, 0));
    EXPECT_EQ(rowOf(0).markFrom, 4);
    EXPECT_EQ(rowOf(0).markTo, 9);
    EXPECT_EQ(GetCapture(), nullptr);

    viewMessage(WM_LBUTTONDOWN, MK_SHIFT, cellPoint(12, 0));
    viewMessage(WM_LBUTTONUP, 0, cellPoint(12, 0));
    EXPECT_EQ(rowOf(0).markFrom, 4);
    EXPECT_EQ(rowOf(0).markTo, 12);
}

TEST_F(MarkingWin32, WheelScrollsLinesAndWithShiftColumns) {
    for (int i = 0; i < 200; ++i) {
        LineRecord line;
        lineInit(&line);
        std::snprintf(line.text, sizeof line.text, "line %d", i);
        ASSERT_EQ(pushAbove(&line), 0);
    }
    moveAllBelow();
    fillWindowFromBelow();
    topLine = aboveCountGet();
    cursorRow = 2;
    viewMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), 0);
    EXPECT_EQ(topLine, 10);
    EXPECT_EQ(cursorRow, 2);
    viewMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(topLine, 5);
    viewMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)), 0);
    EXPECT_EQ(topLine, 5);
    viewMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(firstCol, 10);
    EXPECT_EQ(topLine, 5);
}

// y8.exe beside this test program, loaded for its resources only.
TEST_F(MarkingWin32, TheProgramHasBothContextMenus) {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    ASSERT_GT(n, 0u);
    std::string file(path, n);
    file = file.substr(0, file.find_last_of("\\/") + 1) + "y8.exe";
    HMODULE program = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr) << file;
    struct Case {
        const char* name;
        const std::vector<MenuItem>* items;
    };
    for (const Case& c : {Case{"RMMENUMARK", &kWithMark}, Case{"RMMENUOHNE", &kWithoutMark}}) {
        SCOPED_TRACE(c.name);
        HMENU menu = LoadMenuA(program, c.name);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(GetMenuItemCount(menu), 1);
        char title[32] = "";
        GetMenuStringA(menu, 0, title, sizeof title, MF_BYPOSITION);
        EXPECT_STREQ(title, "&Maus");
        HMENU popup = GetSubMenu(menu, 0);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(itemsOf(popup), *c.items);
        DestroyMenu(menu);
    }
    FreeLibrary(program);
}

TEST_F(MarkingWin32, ADismissedMenuChoosesNothing) {
    // WM_CANCELMODE ends the menu loop as soon as it runs; the watchdog ends
    // it should that not work.
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, menuWatchdog);
    PostMessageA(App.mainWindow, WM_CANCELMODE, 0, 0);
    EXPECT_EQ(plat_context_menu(kMenuWithoutMark, 20, 20), 0);
    KillTimer(nullptr, watchdog);
    EXPECT_EQ(plat_context_menu("NO_SUCH_MENU", 20, 20), 0);

    // The right button through the text window: dismissed, nothing is posted.
    const UINT_PTR again = SetTimer(nullptr, 0, 3000, menuWatchdog);
    PostMessageA(App.mainWindow, WM_CANCELMODE, 0, 0);
    viewMessage(WM_RBUTTONDOWN, 0, cellPoint(3, 3));
    KillTimer(nullptr, again);
    wine_pump();
    EXPECT_TRUE(wine_main_commands().empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MarkingWin32, AChosenItemReachesTheMainWindow) {
    // Down selects the first item, Return chooses it (1200).
    const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, menuWatchdog);
    PostMessageA(App.mainWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(App.mainWindow, WM_KEYDOWN, VK_RETURN, 0);
    viewMessage(WM_RBUTTONDOWN, 0, cellPoint(3, 3));
    KillTimer(nullptr, watchdog);
    wine_pump();
    ASSERT_EQ(wine_main_commands().size(), 1u);
    EXPECT_EQ(wine_main_commands()[0].id, 1200);
}

}  // namespace
