// Printing on a PostScript printer that writes to C:\print.ps: the progress box's button,
// pressed after the first page, stops the job; the main window is enabled and focused again.
#include "../lib/test_printer.h"
#include "printing/printing_win32.h"
#include "resource.h"
#include "support/app_win32.h"
#include "support/devices.h"
#include "wine_environment.h"

TEST_F(Win32Test, PrintCancelledFromTheProgressBoxStopsAfterThatPage) {
    ASSERT_TRUE(testPrinterAdd());
    printSetDialogHook([](PRINTDLGA*) { return true; });
    static PrintDevice device;
    device = printWin32Device();
    device.endPage = [] {
        const bool ended = printWin32Device().endPage();
        SendMessageA(printProgressBox(), WM_COMMAND, IDCANCEL, 0);
        return ended;
    };
    printDeviceSet(&device);
    loadNumbered(200);  // three pages
    DeleteFileA("C:\\print.ps");
    command(CMD_PRINT);
    const std::string ps = fileText("C:\\print.ps");
    EXPECT_NE(ps.find("%%EOF"), std::string::npos) << "the job was not ended";
    EXPECT_EQ(ps.find("%%Page: 2"), std::string::npos) << "a page after the one cancelled on";
    EXPECT_NE(ps.find("%%Page: 1"), std::string::npos);
    EXPECT_TRUE(IsWindowEnabled(App.mainWindow) && GetFocus() == App.mainWindow && !printProgressBox());
    printSetDialogHook(nullptr);
    printing_win32_install();
    DeleteFileA("C:\\print.ps");
}
