// The text window's Win32 side under Wine: its font, painting without brushes.
#include "view/textview_win32.h"

#include "support/app_win32.h"
#include "view/textview.h"
#include "wine_environment.h"

#include <string>
#include <tuple>

namespace {

int fontsMade = 0;

HFONT WINAPI countCreateFontA(int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD set, DWORD out,
                              DWORD clip, DWORD q, DWORD pitch, LPCSTR face) {
    ++fontsMade;  // the program's own import points here: the system's function is asked for by name
    static const auto real = reinterpret_cast<decltype(&CreateFontA)>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("gdi32.dll"), "CreateFontA")));
    return real(h, w, e, o, weight, i, u, s, set, out, clip, q, pitch, face);
}

// Whether any pixel of cell (c, r) is black.
bool cellHasInk(int c, int r) {
    HDC dc = GetDC(App.mainWindow);
    bool found = false;
    for (int y = r * lineHeight + 2; y < (r + 1) * lineHeight + 2 && !found; ++y)
        for (int x = c * charWidth + 4; x < (c + 1) * charWidth + 4 && !found; ++x)
            found = GetPixel(dc, x, y) == RGB(0, 0, 0);
    ReleaseDC(App.mainWindow, dc);
    return found;
}

// The default colours, the view made afresh; at the end no view, no caret.
class TextViewWin32 : public Win32Test {
  protected:
    void SetUp() override {
        Win32Test::SetUp();
        coloursLoaded = 0;
        rowsReady = 0;
    }
    void TearDown() override {
        viewDestroy();
        viewTestFontFace(nullptr);
        rowsReady = 0;
        DestroyCaret();
        coloursLoaded = 0;
        Win32Test::TearDown();
    }
};

// The face is found without regard to case and its font made once (Wine lists a family once per character
// set); the view's own font goes with the view; without one (refused) the program's serves.
TEST_F(TextViewWin32, TheFontIsMadeOnceGoesWithTheViewAndFallsBackToTheProgramsOwn) {
    viewTestFontFace("dejavu sans mono");
    for (void* standIn : {reinterpret_cast<void*>(countCreateFontA), reinterpret_cast<void*>(refuseCreateFontA)}) {
        fontsMade = 0;
        {
            ImportStandIn stood("gdi32.dll", "CreateFontA", standIn);
            ASSERT_TRUE(stood.found());
            viewCreate();
        }
        const HFONT font = viewFontGet();
        LOGFONTA lf{};
        ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int>(sizeof lf));
        const bool own = standIn == reinterpret_cast<void*>(countCreateFontA);
        EXPECT_EQ(std::make_tuple(fontsMade, std::string(lf.lfFaceName)),
                  std::make_tuple(own ? 1 : 0, std::string(own ? "dejavu sans mono" : "Courier New")));
        viewDestroy();
        EXPECT_EQ(GetObjectType(font) == 0, own) << "the own font goes with the view, no other";
    }
}

// Without brushes the fills are left out and the text is still drawn.
TEST_F(TextViewWin32, PaintingWithTheBrushRefusedStillDrawsTheText) {
    viewCreate();
    rowsReady = 1;
    InvalidateRect(App.mainWindow, nullptr, TRUE);
    EXPECT_TRUE(viewMessage(WM_PAINT, 0, 0));
    ASSERT_FALSE(cellHasInk(0, 1));
    {
        ImportStandIn refused("gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(refuseCreateSolidBrush));
        ASSERT_TRUE(refused.found());
        setRow(1, "MMMM");
        InvalidateRect(App.mainWindow, nullptr, FALSE);
        viewMessage(WM_PAINT, 0, 0);
    }
    EXPECT_EQ(std::make_pair(cellHasInk(0, 1), cellHasInk(5, 1)), std::make_pair(true, false));
}

}  // namespace
