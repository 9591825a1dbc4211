// The text window's Win32 side: GDI and the system caret carry out what the
// portable half (view/textview) decided.
#include "view/textview_win32.h"

#include "support/platform.h"
#include "support/app_win32.h"
#include "support/status_win32.h"
#include "support/strfunc.h"
#include "view/marking.h"
#include "view/refresh.h"
#include "view/taste.h"
#include "view/textview.h"

namespace {

constexpr const char* kFontFace = "FixedSys2";
constexpr int kScrollBarUnits = 8;  // scroll bar width in dialog units

// A device context prepared for drawing cells: the view font selected and a
// transparent background, with what to restore.
struct CellDc {
    HDC dc = nullptr;
    HGDIOBJ oldFont = nullptr;
    int oldMode = 0;
};

// The window side of the view.
struct ViewWindow {
    HFONT ownFont = nullptr;    // created from the "FixedSys2" face, or none
    HFONT viewFont = nullptr;   // the font all text is drawn in
    HWND scrollBar = nullptr;
    HDC cursorDc = nullptr;     // where caretShow and caretHide paint the block cursor
    CellDc rowContext;          // the open row-paint context (dc null: none)
    HDC rowContextPrevious = nullptr;
    CellDc caretContext;        // caretUpdate's own context
    HDC caretContextPrevious = nullptr;
    const char* fontFace = kFontFace;
    int caretCreations = 0;
};

ViewWindow vw;

COLORREF colourRef(Rgb c) { return RGB(c.r, c.g, c.b); }

// A solid brush for one fill, deleted when the fill is done.
class SolidBrush {
  public:
    explicit SolidBrush(Rgb colour) : brush_(CreateSolidBrush(colourRef(colour))) {}
    ~SolidBrush() {
        if (brush_) DeleteObject(brush_);
    }
    SolidBrush(const SolidBrush&) = delete;
    SolidBrush& operator=(const SolidBrush&) = delete;
    HBRUSH get() const { return brush_; }

  private:
    HBRUSH brush_;
};

// A memory device context for reading font metrics.
class MemoryDc {
  public:
    MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

CellDc cellDcSetUp(HDC dc) {
    CellDc c;
    c.dc = dc;
    c.oldFont = vw.viewFont ? SelectObject(dc, vw.viewFont) : nullptr;
    c.oldMode = SetBkMode(dc, TRANSPARENT);
    return c;
}

void cellDcRestore(const CellDc& c) {
    if (c.oldMode) SetBkMode(c.dc, c.oldMode);
    if (c.oldFont) SelectObject(c.dc, c.oldFont);
}

// A window device context of the main window, prepared for cells; dc null
// when there is none.
CellDc windowDcTake() {
    HDC dc = App.mainWindow ? GetDC(App.mainWindow) : nullptr;
    return dc ? cellDcSetUp(dc) : CellDc{};
}

void windowDcRelease(CellDc* c) {
    if (!c->dc) return;
    cellDcRestore(*c);
    ReleaseDC(App.mainWindow, c->dc);
    *c = CellDc{};
}

void fill(HDC dc, const Fill& f) {
    if (f.rect.right <= f.rect.left || f.rect.bottom <= f.rect.top) return;
    RECT rc{f.rect.left, f.rect.top, f.rect.right, f.rect.bottom};
    SolidBrush brush(f.colour);
    if (brush.get()) FillRect(dc, &rc, brush.get());
}

void drawRun(HDC dc, const TextRun& run) {
    if (run.length <= 0) return;
    if (run.markedColour) {
        const COLORREF previous = SetTextColor(dc, colourRef(kMarkedTextColour));
        TextOutA(dc, run.x, run.y, run.text, run.length);
        SetTextColor(dc, previous);
    } else {
        TextOutA(dc, run.x, run.y, run.text, run.length);
    }
}

void cellsDraw(HDC dc, const CellsPlan& plan) {
    for (int i = 0; i < plan.count; ++i) fill(dc, plan.fills[static_cast<std::size_t>(i)]);
}

void rowDraw(HDC dc, const RowPlan& plan) {
    cellsDraw(dc, plan.cells);
    drawRun(dc, plan.text);
}

// ---------------------------------------------------------------- the caret device

bool caretBegin() {
    if (vw.caretContext.dc) return false;  // one at a time
    vw.caretContext = windowDcTake();
    if (!vw.caretContext.dc) return false;
    vw.caretContextPrevious = vw.cursorDc;
    vw.cursorDc = vw.caretContext.dc;
    return true;
}

void caretEnd() {
    if (!vw.caretContext.dc) return;
    vw.cursorDc = vw.caretContextPrevious;
    windowDcRelease(&vw.caretContext);
}

void caretCreate(int width, int height) {
    if (!App.mainWindow) return;
    CreateCaret(App.mainWindow, nullptr, width, height);
    ++vw.caretCreations;
}

void caretDestroy() { DestroyCaret(); }
void caretMove(int x, int y) { SetCaretPos(x, y); }
void caretShowSystem() { ShowCaret(App.mainWindow); }
void caretHideSystem() { HideCaret(App.mainWindow); }

void cursorCellPaint(const CursorCellPlan& plan) {
    if (!vw.cursorDc) return;
    fill(vw.cursorDc, plan.fill);
    drawRun(vw.cursorDc, plan.glyph);
}

const CaretDevice kCaretDevice{caretBegin,      caretEnd,        caretCreate,     caretDestroy,
                               caretMove,       caretShowSystem, caretHideSystem, cursorCellPaint};

// ---------------------------------------------------------------- font and size

int CALLBACK fontFamilySeen(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM) {
    // A family is listed once per character set: one font is enough.
    if (!vw.ownFont && str_cmp_nocase(font->lfFaceName, vw.fontFace) == 0) {
        vw.ownFont = CreateFontA(HIWORD(GetDialogBaseUnits()), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                 ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 FIXED_PITCH, vw.fontFace);
    }
    return 1;  // the enumeration always goes on
}

void fontFind() {
    if (!App.mainWindow) return;
    HDC dc = GetDC(App.mainWindow);
    if (!dc) return;
    EnumFontFamiliesA(dc, nullptr, fontFamilySeen, 0);
    ReleaseDC(App.mainWindow, dc);
}

// charWidth and lineHeight from the view font.
void fontMetricsRead() {
    MemoryDc mem;
    if (!mem.get()) return;
    HGDIOBJ old = vw.viewFont ? SelectObject(mem.get(), vw.viewFont) : nullptr;
    TEXTMETRICA tm{};
    if (GetTextMetricsA(mem.get(), &tm)) {
        charWidth = tm.tmAveCharWidth;
        lineHeight = tm.tmHeight;
    }
    if (old) SelectObject(mem.get(), old);
}

// The text area: the client area above the status bar.
void textAreaRead(int* width, int* height) {
    RECT rc{};
    if (App.mainWindow) GetClientRect(App.mainWindow, &rc);
    const int h = rc.bottom - status_height();
    *width = rc.right;
    *height = h > 0 ? h : 0;
}

void scrollBarPlace() {
    if (!vw.scrollBar) return;
    const PixelRect r = scrollBarRect();
    MoveWindow(vw.scrollBar, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

bool keyIsDown(int vk) { return GetKeyState(vk) < 0; }

// The client point of a mouse message as its two 16-bit words.
int mouseX(LPARAM lParam) { return LOWORD(lParam); }
int mouseY(LPARAM lParam) { return HIWORD(lParam); }

}  // namespace

// ---------------------------------------------------------------- life cycle

void viewCreate() {
    if (viewReady) viewDestroy();
    int width = 0;
    int height = 0;
    textAreaRead(&width, &height);
    textAreaWidth = width;
    textAreaHeight = height;
    fontFind();
    vw.viewFont = vw.ownFont ? vw.ownFont : App.font;
    caretDeviceSet(&kCaretDevice);
    viewStateStart(dlg_units(kScrollBarUnits));
    metricsUpdate();
    caretUpdate();
    const PixelRect r = scrollBarRect();
    vw.scrollBar =
        CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_VERT, r.left, r.top,
                        r.right - r.left, r.bottom - r.top, App.mainWindow, nullptr, App.instance, nullptr);
}

void viewDestroy() {
    viewStateEnd();
    if (vw.scrollBar) DestroyWindow(vw.scrollBar);
    vw.scrollBar = nullptr;
    if (vw.ownFont) DeleteObject(vw.ownFont);
    vw.ownFont = nullptr;
    vw.viewFont = nullptr;
}

HFONT viewFontGet() { return vw.ownFont ? vw.ownFont : vw.viewFont; }

void metricsUpdate() {
    if (!viewReady) return;
    fontMetricsRead();
    windowSizeUpdate();
}

void viewResize() {
    if (!App.mainWindow || IsIconic(App.mainWindow)) return;
    int width = 0;
    int height = 0;
    textAreaRead(&width, &height);
    if (viewReady) fontMetricsRead();
    viewResizeTo(width, height);  // flushes before and refills after the new size
    scrollBarPlace();
}

// ---------------------------------------------------------------- messages

bool viewMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        paintWindow();
        return true;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) viewResize();
        return false;
    case WM_SETFOCUS:
        hasFocus = 1;
        caretUpdate();
        return false;
    case WM_KILLFOCUS:
        hasFocus = 0;
        caretUpdate();
        return false;
    case WM_KEYDOWN:
        keyDown(static_cast<int>(wParam), keyIsDown(VK_SHIFT), keyIsDown(VK_CONTROL), keyIsDown(VK_MENU));
        return false;
    case WM_CHAR:
        keyChar(static_cast<int>(wParam), keyIsDown(VK_SHIFT), keyIsDown(VK_CONTROL), keyIsDown(VK_MENU));
        return false;
    case WM_VSCROLL:
        if (vw.scrollBar && reinterpret_cast<HWND>(lParam) == vw.scrollBar) {
            scrollCommand(LOWORD(wParam), HIWORD(wParam));
            refreshAll();
        }
        return false;
    case WM_LBUTTONDOWN:
        if (mouseLeftDown(mouseX(lParam), mouseY(lParam), (wParam & MK_SHIFT) != 0) && App.mainWindow)
            SetCapture(App.mainWindow);
        return false;
    case WM_MOUSEMOVE:
        mouseMove(mouseX(lParam), mouseY(lParam), (wParam & MK_LBUTTON) != 0);
        return false;
    case WM_LBUTTONUP:
        if (mouseLeftUp() && GetCapture() == App.mainWindow) ReleaseCapture();
        return false;
    case WM_LBUTTONDBLCLK:
        mouseDoubleClick(mouseX(lParam), mouseY(lParam));
        return false;
    case WM_RBUTTONDOWN:
        mouseRightDown(mouseX(lParam), mouseY(lParam));
        return false;
    case WM_MOUSEWHEEL:
        mouseWheel(GET_WHEEL_DELTA_WPARAM(wParam), (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0);
        return false;
    default:
        return false;  // WM_MOUSEACTIVATE and the rest are not the view's
    }
}

// ---------------------------------------------------------------- painting

void paintCells(HDC dc, int c, int r, int ncols, int nrows, bool marked, int from, int to) {
    cellsDraw(dc, cellsPlan(c, r, ncols, nrows, marked, from, to));
}

void paintRow(HDC dc, int r) {
    RowPlan plan;
    if (rowPlan(r, &plan)) rowDraw(dc, plan);
}

void paintWindow() {
    if (!App.mainWindow) return;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(App.mainWindow, &ps);
    if (dc && viewReady) {
        const CellDc cells = cellDcSetUp(dc);
        const HDC previous = vw.cursorDc;
        vw.cursorDc = dc;
        caretHide();
        if (rowsReady) {
            for (int r = 0; r < windowRows; ++r) paintRow(dc, r);
        } else {
            fill(dc, Fill{PixelRect{0, 0, textAreaWidth, textAreaHeight}, bgColour});
        }
        caretShow();
        vw.cursorDc = previous;
        cellDcRestore(cells);
    }
    EndPaint(App.mainWindow, &ps);
}

// ---------------------------------------------------------------- test seams

HWND viewScrollBarGet() { return vw.scrollBar; }

void viewTestFontFace(const char* face) { vw.fontFace = face ? face : kFontFace; }

int viewTestCaretCreations() { return vw.caretCreations; }

// ---------------------------------------------------------------- the platform's text-window primitives

void plat_repaint_view() {
    if (App.mainWindow) InvalidateRect(App.mainWindow, nullptr, FALSE);
}

void plat_row_paint_begin() {
    if (vw.rowContext.dc) return;  // contexts never nest
    vw.rowContext = windowDcTake();
    if (!vw.rowContext.dc) return;
    vw.rowContextPrevious = vw.cursorDc;
    vw.cursorDc = vw.rowContext.dc;
    caretHide();
}

void plat_row_paint_row(int row) {
    if (vw.rowContext.dc) paintRow(vw.rowContext.dc, row);
}

void plat_row_paint_text(int col, int row, const char* text, int n, char markState) {
    RowPlan plan;
    if (vw.rowContext.dc && textPlan(col, row, text, n, markState, &plan)) rowDraw(vw.rowContext.dc, plan);
}

void plat_row_paint_end() {
    if (!vw.rowContext.dc) return;
    caretShow();
    vw.cursorDc = vw.rowContextPrevious;
    windowDcRelease(&vw.rowContext);
}

void plat_caret_refresh() { caretUpdate(); }

// MapVirtualKey, not ToUnicode: it leaves a pending dead key alone.
int plat_key_char(int vk) {
    const UINT ch = MapVirtualKeyW(static_cast<UINT>(vk), MAPVK_VK_TO_CHAR);
    if ((ch & 0x80000000u) != 0) return 0;  // a dead key
    return ch <= 255 ? static_cast<int>(ch) : 0;
}

void plat_scrollbar_set(int max, int page, int pos) {
    if (!vw.scrollBar) return;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = max;
    si.nPage = page > 0 ? static_cast<UINT>(page) : 0u;
    si.nPos = pos;
    SetScrollInfo(vw.scrollBar, SB_CTL, &si, TRUE);
}
