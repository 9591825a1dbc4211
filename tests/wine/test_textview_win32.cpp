// The text window's Win32 side under Wine: the font and the cell size, the
// window size from the client area, the scroll bar control, painting rows
// with GDI, the system caret and the block cursor, and the messages.
#include "view/textview_win32.h"

#include "document/linestore.h"
#include "support/platform.h"
#include "support/app_win32.h"
#include "support/profile.h"
#include "support/status_win32.h"
#include "view/options.h"
#include "view/textview.h"
#include "wine_environment.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kWidth = 900;  // the main window's size as the environment made it
constexpr int kHeight = 700;

// A 32-bit bitmap in a memory device context, prepared as the view paints:
// the view font selected, transparent background, white to begin with.
class Canvas {
  public:
    Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        oldFont_ = SelectObject(dc_, viewFontGet());
        SetBkMode(dc_, TRANSPARENT);
    }
    ~Canvas() {
        SelectObject(dc_, oldFont_);
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_; }

  private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
    HGDIOBJ oldFont_ = nullptr;
};

// A pixel near the top-right corner of cell (c, r): no glyph of a blank draws
// there, nor does a caret in insert mode (it inverts the cell's left edge).
COLORREF cellPixel(HDC dc, int c, int r) { return GetPixel(dc, (c + 1) * charWidth + 2, r * lineHeight + 3); }

COLORREF windowCellPixel(int c, int r) {
    HDC dc = GetDC(App.mainWindow);
    const COLORREF p = cellPixel(dc, c, r);
    ReleaseDC(App.mainWindow, dc);
    return p;
}

// Whether any pixel of cell (c, r) has exactly the colour.
bool cellHasColour(HDC dc, int c, int r, COLORREF colour) {
    for (int y = r * lineHeight + 2; y < (r + 1) * lineHeight + 2; ++y) {
        for (int x = c * charWidth + 4; x < (c + 1) * charWidth + 4; ++x) {
            if (GetPixel(dc, x, y) == colour) return true;
        }
    }
    return false;
}

void putRow(int r, const std::string& text, char mark = '0', unsigned char from = 0, unsigned char to = 0) {
    LineRecord line;
    lineInit(&line);
    std::memcpy(line.text, text.data(), text.size() < 250 ? text.size() : 250);
    line.markState = mark;
    line.markFrom = from;
    line.markTo = to;
    rowPut(r, &line);
}

RECT scrollBarClientRect() {
    RECT r{};
    GetWindowRect(viewScrollBarGet(), &r);
    MapWindowPoints(nullptr, App.mainWindow, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The caret's rectangle as the system keeps it; null window when there is none.
GUITHREADINFO caretInfo() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetCurrentThreadId(), &info);
    return info;
}

TEXTMETRICA metricsOf(HFONT font) {
    TEXTMETRICA tm{};
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return tm;
}

// Every test starts from an empty document and default options, and leaves no
// view, no caret and the window at its size behind.
class TextViewWin32 : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(storeCreate());
        ASSERT_TRUE(windowCreate());
        storeReset();
        rowsClearAll();
        topLine = cursorRow = cursorCol = firstCol = 0;
        insertMode = 1;
        rowsReady = 0;
        SetWindowPos(App.mainWindow, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOMOVE);
        wine_pump();
    }
    void TearDown() override {
        viewDestroy();
        viewTestFontFace(nullptr);
        rowsReady = 0;
        DestroyCaret();
        SetWindowPos(App.mainWindow, nullptr, 0, 0, kWidth, kHeight, SWP_NOZORDER | SWP_NOMOVE);
        if (!iniPath_.empty()) {
            ini_set_file("");
            DeleteFileA(iniPath_.c_str());
        }
        coloursLoaded = 0;
        wine_pump();
    }

    // The colours of this test's profile, read afresh by the next viewCreate.
    void useColours(const char* bg, const char* markLine, const char* inlineMark) {
        char dir[MAX_PATH];
        GetTempPathA(MAX_PATH, dir);
        iniPath_ = std::string(dir) + "y8-textview-test.ini";
        DeleteFileA(iniPath_.c_str());
        ini_set_file(iniPath_.c_str());
        ini_write("Global", "BgFarbe", bg);
        ini_write("Global", "MarkBgFarbe", markLine);
        ini_write("Global", "BlockBgFarbe", inlineMark);
        coloursLoaded = 0;
    }

    std::string iniPath_;
};

TEST_F(TextViewWin32, CreateTakesTheDefaultFontTheClientSizeAndMakesTheScrollBar) {
    viewCreate();
    ASSERT_EQ(viewReady, 1);
    EXPECT_EQ(hasFocus, 1);
    // No "FixedSys2" here: the shell's font and the cell size from it.
    EXPECT_EQ(viewFontGet(), App.font);
    const TEXTMETRICA tm = metricsOf(App.font);
    EXPECT_GT(charWidth, 0);
    EXPECT_GT(lineHeight, 0);
    EXPECT_EQ(charWidth, tm.tmAveCharWidth);
    EXPECT_EQ(lineHeight, tm.tmHeight);

    RECT client{};
    GetClientRect(App.mainWindow, &client);
    const int bar = dlg_units(8);
    EXPECT_EQ(textAreaWidth, client.right);
    EXPECT_EQ(textAreaHeight, client.bottom - status_height());
    EXPECT_EQ(windowCols, (client.right - bar - 8) / charWidth);
    EXPECT_EQ(windowRows, (textAreaHeight - 4) / lineHeight);

    HWND sb = viewScrollBarGet();
    ASSERT_TRUE(sb && IsWindow(sb));
    EXPECT_EQ(GetParent(sb), App.mainWindow);
    char cls[32] = "";
    GetClassNameA(sb, cls, sizeof cls);
    EXPECT_STREQ(CharUpperA(cls), "SCROLLBAR");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(sb, GWL_STYLE));
    const DWORD want = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_VERT;
    EXPECT_EQ(style & want, want);
    const RECT r = scrollBarClientRect();
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(r.right - r.left, bar);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, textAreaHeight);

    viewDestroy();
    EXPECT_EQ(viewReady, 0);
    EXPECT_FALSE(IsWindow(sb));
    EXPECT_EQ(viewScrollBarGet(), nullptr);
}

TEST_F(TextViewWin32, FontFaceIsFoundWithoutRegardToCase) {
    viewTestFontFace("dejavu sans mono");  // a fixed-pitch family Wine has
    viewCreate();
    HFONT font = viewFontGet();
    ASSERT_NE(font, nullptr);
    ASSERT_NE(font, App.font);
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
    EXPECT_STREQ(lf.lfFaceName, "dejavu sans mono");
    EXPECT_EQ(lf.lfHeight, HIWORD(GetDialogBaseUnits()));
    EXPECT_EQ(lf.lfWeight, FW_NORMAL);
    EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(lf.lfPitchAndFamily & 3, FIXED_PITCH);
    EXPECT_EQ(lineHeight, metricsOf(font).tmHeight);

    viewDestroy();  // the own font goes with the view
    EXPECT_EQ(GetObjectType(font), 0u);
}

TEST_F(TextViewWin32, WindowSizeAndScrollBarFollowTheClientArea) {
    viewCreate();
    const int colsBefore = windowCols;
    SetWindowPos(App.mainWindow, nullptr, 0, 0, 500, 300, SWP_NOZORDER | SWP_NOMOVE);
    viewMessage(WM_SIZE, SIZE_RESTORED, 0);
    RECT client{};
    GetClientRect(App.mainWindow, &client);
    EXPECT_LT(windowCols, colsBefore);
    EXPECT_EQ(windowCols, (client.right - dlg_units(8) - 8) / charWidth);
    EXPECT_EQ(windowRows, (client.bottom - status_height() - 4) / lineHeight);
    RECT r = scrollBarClientRect();
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(r.bottom, client.bottom - status_height());

    // A minimised window keeps its size and cursor.
    cursorRow = windowRows - 1;
    const int rows = windowRows;
    viewMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(windowRows, rows);
    EXPECT_EQ(cursorRow, rows - 1);

    // Too small for a single cell: still one column and one row.
    SetWindowPos(App.mainWindow, nullptr, 0, 0, 30, 40, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSENDCHANGING);
    GetClientRect(App.mainWindow, &client);
    ASSERT_LT(client.right, dlg_units(8) + 8 + charWidth);
    viewResize();
    EXPECT_EQ(windowCols, 1);
    EXPECT_EQ(windowRows, 1);
    EXPECT_EQ(cursorRow, 0);
}

TEST_F(TextViewWin32, ScrollBarValuesAndThumbRequests) {
    viewCreate();
    HWND sb = viewScrollBarGet();
    plat_scrollbar_set(999, 30, 200);
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(sb, SB_CTL, &si));
    EXPECT_EQ(si.nMin, 0);
    EXPECT_EQ(si.nMax, 999);
    EXPECT_EQ(si.nPage, 30u);
    EXPECT_EQ(si.nPos, 200);
    EXPECT_TRUE(IsWindowEnabled(sb));

    plat_scrollbar_set(29, 30, 0);  // everything visible: disabled, not hidden
    EXPECT_FALSE(IsWindowEnabled(sb));
    EXPECT_TRUE(IsWindowVisible(sb));

    // A document of 1000 lines and a thumb drag to 500.
    for (int i = 0; i < 1000; ++i) {
        LineRecord line;
        lineInit(&line);
        std::snprintf(line.text, sizeof line.text, "line %d", i);
        ASSERT_EQ(pushAbove(&line), 0);
    }
    moveAllBelow();
    fillWindowFromBelow();
    rowsReady = 1;
    cursorRow = 7;
    scrollInfoUpdate();
    si.fMask = SIF_ALL;
    GetScrollInfo(sb, SB_CTL, &si);
    EXPECT_EQ(si.nMax, 1000 - 1);  // 0 above, 1000 - rows below, the rows
    EXPECT_EQ(si.nPage, static_cast<UINT>(windowRows));
    EXPECT_TRUE(IsWindowEnabled(sb));

    viewMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), 0);  // not from the scroll bar
    EXPECT_EQ(topLine, 0);
    viewMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 500), reinterpret_cast<LPARAM>(sb));
    EXPECT_EQ(topLine, 500);
    EXPECT_EQ(cursorRow, 0);
    LineRecord row;
    rowGet(0, &row);
    EXPECT_STREQ(row.text, "line 500");
    scrollInfoUpdate();
    si.fMask = SIF_POS;
    GetScrollInfo(sb, SB_CTL, &si);
    EXPECT_EQ(si.nPos, 500);
}

TEST_F(TextViewWin32, RowsArePaintedInTheProfileColours) {
    useColours("0 0 128", "0 128 0", "128 0 0");
    viewCreate();
    ASSERT_EQ(bgColour, (Rgb{0, 0, 128}));
    putRow(0, "");                               // blank
    putRow(1, "          ", '1', 2, 5);            // block-marked with an in-line mark
    putRow(2, "MMMM", '1');                      // marked text
    putRow(3, "MMMM");
    firstCol = 0;

    Canvas canvas(kWidth, 5 * lineHeight + 4);
    for (int r = 0; r < 4; ++r) paintRow(canvas.dc(), r);
    EXPECT_EQ(cellPixel(canvas.dc(), 0, 0), RGB(0, 0, 128));
    EXPECT_EQ(cellPixel(canvas.dc(), windowCols - 1, 0), RGB(0, 0, 128));
    // Right of the last column the view paints nothing.
    EXPECT_EQ(GetPixel(canvas.dc(), windowCols * charWidth + 5, 3), RGB(255, 255, 255));
    EXPECT_EQ(cellPixel(canvas.dc(), 1, 1), RGB(0, 128, 0));
    EXPECT_EQ(cellPixel(canvas.dc(), 2, 1), RGB(128, 0, 0));
    EXPECT_EQ(cellPixel(canvas.dc(), 4, 1), RGB(128, 0, 0));
    EXPECT_EQ(cellPixel(canvas.dc(), 5, 1), RGB(0, 128, 0));
    // Text of marked lines in dark blue, other text in the context's colour (black).
    EXPECT_TRUE(cellHasColour(canvas.dc(), 0, 2, RGB(0, 0, 160)));
    EXPECT_FALSE(cellHasColour(canvas.dc(), 0, 3, RGB(0, 0, 160)));
    EXPECT_TRUE(cellHasColour(canvas.dc(), 0, 3, RGB(0, 0, 0)));
    EXPECT_FALSE(cellHasColour(canvas.dc(), 5, 3, RGB(0, 0, 0)));  // a blank cell

    // The in-line mark scrolled out of view is not painted.
    firstCol = 20;
    paintRow(canvas.dc(), 1);
    EXPECT_EQ(cellPixel(canvas.dc(), 0, 1), RGB(0, 128, 0));
    EXPECT_EQ(cellPixel(canvas.dc(), 2, 1), RGB(0, 128, 0));

    paintCells(canvas.dc(), 10, 4, 3, 1, false, 11, 12);
    EXPECT_EQ(cellPixel(canvas.dc(), 10, 4), RGB(0, 0, 128));
    EXPECT_EQ(cellPixel(canvas.dc(), 11, 4), RGB(128, 0, 0));
    EXPECT_EQ(cellPixel(canvas.dc(), 13, 4), RGB(255, 255, 255));
}

TEST_F(TextViewWin32, PaintMessageAndRowContextsPaintTheWindow) {
    useColours("0 0 128", "0 128 0", "128 0 0");
    viewCreate();
    // Before the rows are ready the whole text area gets the background.
    InvalidateRect(App.mainWindow, nullptr, TRUE);
    EXPECT_TRUE(viewMessage(WM_PAINT, 0, 0));
    EXPECT_EQ(windowCellPixel(0, 0), RGB(0, 0, 128));
    HDC dc = GetDC(App.mainWindow);
    EXPECT_EQ(GetPixel(dc, textAreaWidth - dlg_units(8) - 2, textAreaHeight - 2), RGB(0, 0, 128));
    ReleaseDC(App.mainWindow, dc);

    rowsReady = 1;
    putRow(2, "", '1');
    InvalidateRect(App.mainWindow, nullptr, FALSE);
    viewMessage(WM_PAINT, 0, 0);
    EXPECT_EQ(windowCellPixel(3, 2), RGB(0, 128, 0));

    // A text drawn through a row-paint context has its line background.
    beginRowPaint();
    drawStringAt(6, 5, "    ", '1');
    endRowPaint();
    EXPECT_EQ(windowCellPixel(6, 5), RGB(0, 128, 0));
    EXPECT_EQ(windowCellPixel(9, 5), RGB(0, 128, 0));
    EXPECT_EQ(windowCellPixel(10, 5), RGB(0, 0, 128));
    beginRowPaint();
    repaintRow(5);
    endRowPaint();
    EXPECT_EQ(windowCellPixel(6, 5), RGB(0, 0, 128));

    EXPECT_FALSE(viewMessage(WM_KEYDOWN, VK_RIGHT, 0));
    EXPECT_FALSE(viewMessage(WM_LBUTTONDOWN, 0, 0));
    EXPECT_FALSE(viewMessage(WM_LBUTTONUP, 0, 0));
    EXPECT_EQ(GetCapture(), nullptr);  // the button went up: the mouse is free again
}

TEST_F(TextViewWin32, CaretFollowsInsertModeAndTheCursor) {
    viewCreate();
    GUITHREADINFO info = caretInfo();
    ASSERT_EQ(info.hwndCaret, App.mainWindow);
    EXPECT_EQ(info.rcCaret.left, 4);
    EXPECT_EQ(info.rcCaret.top, 2);
    EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, 2);
    EXPECT_EQ(info.rcCaret.bottom - info.rcCaret.top, lineHeight + 2);
    EXPECT_EQ(caretState, 1);

    const int created = viewTestCaretCreations();
    caretRefresh();  // nothing changed
    EXPECT_EQ(viewTestCaretCreations(), created);

    insertMode = 0;
    cursorCol = 5;
    cursorRow = 3;
    caretRefresh();
    EXPECT_EQ(viewTestCaretCreations(), created + 1);
    info = caretInfo();
    EXPECT_EQ(info.rcCaret.left, 5 * charWidth + 4);
    EXPECT_EQ(info.rcCaret.top, 3 * lineHeight + 2);
    EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, charWidth);

    insertMode = 1;
    caretRefresh();
    EXPECT_EQ(viewTestCaretCreations(), created + 2);
    info = caretInfo();
    EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, 2);
}

TEST_F(TextViewWin32, FocusLossLeavesAGreyBlockAndRegainingRestoresTheCaret) {
    useColours("0 0 128", "", "");
    viewCreate();
    rowsReady = 1;
    cursorCol = 4;
    cursorRow = 2;
    caretRefresh();
    InvalidateRect(App.mainWindow, nullptr, FALSE);
    viewMessage(WM_PAINT, 0, 0);
    EXPECT_EQ(windowCellPixel(4, 2), RGB(0, 0, 128));

    viewMessage(WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(hasFocus, 0);
    EXPECT_EQ(caretState, 2);
    EXPECT_EQ(caretInfo().hwndCaret, nullptr);
    EXPECT_EQ(windowCellPixel(4, 2), RGB(192, 192, 192));
    EXPECT_EQ(windowCellPixel(5, 2), RGB(0, 0, 128));

    // A full paint shows the block again at the end.
    InvalidateRect(App.mainWindow, nullptr, FALSE);
    viewMessage(WM_PAINT, 0, 0);
    EXPECT_EQ(windowCellPixel(4, 2), RGB(192, 192, 192));

    viewMessage(WM_SETFOCUS, 0, 0);
    EXPECT_EQ(hasFocus, 1);
    EXPECT_EQ(caretState, 1);
    EXPECT_EQ(windowCellPixel(4, 2), RGB(0, 0, 128));
    const GUITHREADINFO info = caretInfo();
    EXPECT_EQ(info.hwndCaret, App.mainWindow);
    EXPECT_EQ(info.rcCaret.left, 4 * charWidth + 4);
}

}  // namespace
