// The text window's Win32 side under Wine: font and cells, the client area, the scroll bar,
// painting, the caret and the block cursor, the mouse.
#include "view/textview_win32.h"

#include "document/linestore.h"
#include "support/app_win32.h"
#include "support/platform.h"
#include "support/profile.h"
#include "support/status_win32.h"
#include "view/marking.h"
#include "view/options.h"
#include "view/textview.h"
#include "wine_environment.h"

#include <cstdio>
#include <cstring>
#include <tuple>

namespace {

constexpr COLORREF kBg = RGB(0, 0, 128), kMarkLine = RGB(0, 128, 0), kInline = RGB(128, 0, 0);

// Near the top-right corner of cell (c, r): no glyph of a blank draws there, nor an insert caret.
COLORREF windowCellPixel(int c, int r) {
    HDC dc = GetDC(App.mainWindow);
    const COLORREF p = GetPixel(dc, (c + 1) * charWidth + 2, r * lineHeight + 3);
    ReleaseDC(App.mainWindow, dc);
    return p;
}

// Whether any pixel of cell (c, r) has exactly the colour.
bool cellHasColour(int c, int r, COLORREF colour) {
    HDC dc = GetDC(App.mainWindow);
    bool found = false;
    for (int y = r * lineHeight + 2; y < (r + 1) * lineHeight + 2 && !found; ++y) {
        for (int x = c * charWidth + 4; x < (c + 1) * charWidth + 4 && !found; ++x)
            found = GetPixel(dc, x, y) == colour;
    }
    ReleaseDC(App.mainWindow, dc);
    return found;
}

// The caret's left, top, right and bottom, all -1 without a caret.
std::tuple<LONG, LONG, LONG, LONG> caretRect() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const bool shown = GetGUIThreadInfo(GetCurrentThreadId(), &info) && info.hwndCaret;
    const RECT r = shown ? info.rcCaret : RECT{-1, -1, -1, -1};
    return {r.left, r.top, r.right, r.bottom};
}

LPARAM cellPoint(int c, int r) {
    return MAKELPARAM(c * charWidth + 4 + charWidth / 2, r * lineHeight + 2 + lineHeight / 2);
}

// The colours of the test's own settings file, the view made afresh; at the end no view, no caret.
class TextViewWin32 : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        ini_write("Global", "BgFarbe", "0 0 128");
        ini_write("Global", "MarkBgFarbe", "0 128 0");
        ini_write("Global", "BlockBgFarbe", "128 0 0");
        coloursLoaded = 0;
        insertMode = 1;
        rowsReady = 0;
        markReset();
        mouseLeftUp();
    }
    void TearDown() override {
        markReset();
        mouseLeftUp();
        viewDestroy();
        viewTestFontFace(nullptr);
        rowsReady = 0;
        DestroyCaret();
        coloursLoaded = 0;
        Win32Test::TearDown();
    }
    static void paintAll() {
        InvalidateRect(App.mainWindow, nullptr, FALSE);
        viewMessage(WM_PAINT, 0, 0);
    }
};

// The shell's font (a face of the settings found without regard to case, and gone with the
// view; the program's when none can be made), the cell size from it, the window size and scroll bar
// from the client area.
TEST_F(TextViewWin32, TheFontTheClientAreaAndTheScrollBar) {
    viewCreate();
    EXPECT_EQ(std::make_tuple(viewReady, hasFocus, viewFontGet()), std::make_tuple(1, 1, App.font));
    TEXTMETRICA tm{};
    HDC dc = GetDC(App.mainWindow);
    HGDIOBJ old = SelectObject(dc, App.font);
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(App.mainWindow, dc);
    EXPECT_EQ(std::make_pair(charWidth, lineHeight), std::make_pair(int{tm.tmAveCharWidth}, int{tm.tmHeight}));

    const int bar = dlg_units(8);
    HWND sb = viewScrollBarGet();
    ASSERT_TRUE(sb && (GetWindowLongA(sb, GWL_STYLE) & SBS_VERT) == SBS_VERT);
    SetWindowPos(App.mainWindow, nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
    viewMessage(WM_SIZE, SIZE_RESTORED, 0);
    RECT client{}, r{};
    GetClientRect(App.mainWindow, &client);
    EXPECT_EQ(std::make_tuple(textAreaHeight, windowCols, windowRows),
              std::make_tuple(int{client.bottom} - status_height(), (int{client.right} - bar - 8) / charWidth,
                              (textAreaHeight - 4) / lineHeight));
    GetWindowRect(sb, &r);
    MapWindowPoints(nullptr, App.mainWindow, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(std::make_tuple(r.left, r.top, r.right, r.bottom),
              std::make_tuple(client.right - bar, 0L, client.right, LONG{textAreaHeight}));
    // The scroll bar shows the place (disabled, not hidden, when all is visible); its thumb moves the window.
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    plat_scrollbar_set(999, 30, 200);
    GetScrollInfo(sb, SB_CTL, &si);
    EXPECT_EQ(std::make_tuple(si.nMin, si.nMax, si.nPage, si.nPos, IsWindowEnabled(sb)),
              std::make_tuple(0, 999, 30u, 200, TRUE));
    plat_scrollbar_set(29, 30, 0);
    EXPECT_EQ(std::make_pair(IsWindowEnabled(sb), IsWindowVisible(sb)), std::make_pair(FALSE, TRUE));
    loadNumberedLines(1000);
    rowsReady = 1;
    cursorRow = 7;
    scrollInfoUpdate();
    GetScrollInfo(sb, SB_CTL, &si);
    EXPECT_EQ(std::make_pair(si.nMax, si.nPage), std::make_pair(999, static_cast<UINT>(windowRows)));
    viewMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), 0);  // not from the scroll bar
    EXPECT_EQ(topLine, 0);
    viewMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), reinterpret_cast<LPARAM>(sb));
    EXPECT_EQ(std::make_tuple(topLine, cursorRow, rowText(0)), std::make_tuple(500, 0, std::string("line 500")));
    scrollInfoUpdate();
    GetScrollInfo(sb, SB_CTL, &si);
    EXPECT_EQ(si.nPos, 500);
    rowsReady = 0;

    // A minimised window keeps its size and cursor; one too small for a cell has one row and column.
    cursorRow = windowRows - 1;
    const int rows = windowRows;
    viewMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(std::make_pair(windowRows, cursorRow), std::make_pair(rows, rows - 1));
    SetWindowPos(App.mainWindow, nullptr, 0, 0, 30, 40, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSENDCHANGING);
    viewResize();
    EXPECT_EQ(std::make_tuple(windowCols, windowRows, cursorRow), std::make_tuple(1, 1, 0));
    viewDestroy();
    EXPECT_FALSE(IsWindow(sb));

    viewTestFontFace("dejavu sans mono");  // a fixed-pitch family Wine has
    viewCreate();
    HFONT font = viewFontGet();
    ASSERT_NE(font, App.font);
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, "dejavu sans mono");
    EXPECT_EQ(std::make_tuple(lf.lfHeight, lf.lfCharSet, lf.lfPitchAndFamily & 3),
              std::make_tuple(LONG{HIWORD(GetDialogBaseUnits())}, BYTE{ANSI_CHARSET}, FIXED_PITCH));
    viewDestroy();
    EXPECT_EQ(GetObjectType(font), 0u) << "the own font goes with the view";
    {  // without a font of the face the view keeps the program's
        ImportStandIn refused("gdi32.dll", "CreateFontA", reinterpret_cast<void*>(refuseCreateFontA));
        ASSERT_TRUE(refused.found());
        viewCreate();
    }
    EXPECT_EQ(viewFontGet(), App.font);
}

// Rows in the settings' colours (an in-line mark not when scrolled out of view, marked text dark
// blue); row-paint contexts paint at once; the caret follows; focus loss leaves a grey block.
TEST_F(TextViewWin32, PaintingTheRowsTheCaretAndTheBlockCursor) {
    viewCreate();
    InvalidateRect(App.mainWindow, nullptr, TRUE);
    EXPECT_TRUE(viewMessage(WM_PAINT, 0, 0));
    EXPECT_EQ(windowCellPixel(0, 1), kBg);
    rowsReady = 1;
    setRow(1, "          ", '1', 2, 5);
    setRow(2, "MMMM", '1');
    setRow(3, "MMMM");
    paintAll();
    struct Cell { int c, r; COLORREF colour; };
    for (const Cell& cell : {Cell{0, 0, kBg}, Cell{windowCols - 1, 0, kBg}, Cell{1, 1, kMarkLine}, Cell{2, 1, kInline},
                             Cell{4, 1, kInline}, Cell{5, 1, kMarkLine}}) {
        EXPECT_EQ(windowCellPixel(cell.c, cell.r), cell.colour) << cell.c << "," << cell.r;
    }
    EXPECT_TRUE(cellHasColour(0, 2, RGB(0, 0, 160)));
    EXPECT_FALSE(cellHasColour(0, 3, RGB(0, 0, 160)));
    EXPECT_TRUE(cellHasColour(0, 3, RGB(0, 0, 0)));
    EXPECT_FALSE(cellHasColour(5, 3, RGB(0, 0, 0)));  // a blank cell
    {  // without brushes the fills are left out and the text is still drawn
        ImportStandIn refused("gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(refuseCreateSolidBrush));
        ASSERT_TRUE(refused.found());
        setRow(3, "WWWW");
        paintAll();
    }
    EXPECT_TRUE(cellHasColour(0, 3, RGB(0, 0, 0)));
    setRow(3, "MMMM");
    firstCol = 20;
    paintAll();
    EXPECT_EQ(windowCellPixel(2, 1), kMarkLine);
    firstCol = 0;
    beginRowPaint();
    drawStringAt(6, 5, "    ", '1');
    endRowPaint();
    EXPECT_EQ(std::make_tuple(windowCellPixel(6, 5), windowCellPixel(9, 5), windowCellPixel(10, 5)),
              std::make_tuple(kMarkLine, kMarkLine, kBg));
    beginRowPaint();
    repaintRow(5);
    endRowPaint();
    EXPECT_EQ(windowCellPixel(6, 5), kBg);

    EXPECT_EQ(caretRect(), std::make_tuple(4L, 2L, 6L, LONG{lineHeight + 4}));
    const int created = viewTestCaretCreations();
    caretRefresh();
    EXPECT_EQ(viewTestCaretCreations(), created) << "nothing changed";
    insertMode = 0;
    cursorCol = 4;
    cursorRow = 3;
    caretRefresh();
    const auto over = caretRect();
    EXPECT_EQ(std::make_tuple(std::get<0>(over), std::get<1>(over), std::get<2>(over) - std::get<0>(over)),
              std::make_tuple(LONG{4 * charWidth + 4}, LONG{3 * lineHeight + 2}, LONG{charWidth}));
    insertMode = 1;
    caretRefresh();
    EXPECT_EQ(viewTestCaretCreations(), created + 2);
    paintAll();
    EXPECT_EQ(windowCellPixel(4, 3), kBg);

    viewMessage(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(std::make_pair(hasFocus, caretState), std::make_pair(0, 2));
    EXPECT_EQ(std::get<0>(caretRect()), -1);
    EXPECT_EQ(windowCellPixel(4, 3), RGB(192, 192, 192));
    EXPECT_EQ(windowCellPixel(5, 3), kBg);
    paintAll();  // a full paint shows the block again at the end
    EXPECT_EQ(windowCellPixel(4, 3), RGB(192, 192, 192));
    viewMessage(WM_SETFOCUS, 0, 0);
    EXPECT_EQ(std::make_pair(hasFocus, caretState), std::make_pair(1, 1));
    EXPECT_EQ(windowCellPixel(4, 3), kBg);
    EXPECT_EQ(std::get<0>(caretRect()), 4 * charWidth + 4);
}

// (The real mouse on the real window and the context menu: end to end.)
TEST_F(TextViewWin32, TheMouseMarksAndScrolls) {
    viewCreate();
    rowsReady = 1;
    setRow(0, "say hello world");
    viewMessage(WM_LBUTTONDOWN, 0, cellPoint(2, 0));
    EXPECT_EQ(GetCapture(), App.mainWindow);
    viewMessage(WM_MOUSEMOVE, MK_LBUTTON, cellPoint(4, 0));
    viewMessage(WM_MOUSEMOVE, MK_LBUTTON, cellPoint(6, 0));
    viewMessage(WM_LBUTTONUP, 0, cellPoint(6, 0));
    EXPECT_EQ(GetCapture(), nullptr);
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(windowCellPixel(c, 0), c >= 2 && c < 6 ? kInline : kBg) << c;
    viewMessage(WM_LBUTTONDOWN, MK_SHIFT, cellPoint(12, 0));
    viewMessage(WM_LBUTTONUP, 0, cellPoint(12, 0));
    LineRecord row;
    rowGetRaw(0, &row);
    EXPECT_EQ(std::make_tuple(row.markFrom, row.markTo, cursorCol, cursorRow), std::make_tuple(2, 12, 12, 0));
    EXPECT_EQ(plat_context_menu("NO_SUCH_MENU", 20, 20), 0);

    loadNumberedLines(200);
    topLine = aboveCountGet();
    cursorRow = 2;
    const std::tuple<WPARAM, int, int> wheel[] = {
        {MAKEWPARAM(0, static_cast<WORD>(-240)), 10, 0}, {MAKEWPARAM(0, 120), 5, 0},
        {MAKEWPARAM(0, static_cast<WORD>(-60)), 5, 0}, {MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), 5, 10}};
    for (const auto& [wParam, top, first] : wheel) {
        viewMessage(WM_MOUSEWHEEL, wParam, 0);
        EXPECT_EQ(std::make_tuple(topLine, firstCol, cursorRow), std::make_tuple(top, first, 2)) << wParam;
    }
}

}  // namespace
