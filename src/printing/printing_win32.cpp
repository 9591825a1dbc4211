#include "printing/printing_win32.h"

#include <cstring>
#include <memory>
#include <new>

#include "framework/dialog_win32.h"
#include "support/app_win32.h"
#include "support/devices.h"

namespace {

PRINTDLGA dialog;
std::unique_ptr<unsigned char[]> devMode;  // the printer's device mode with its driver's extra bytes
char driverName[256], deviceName[256], portName[256];
HDC printer = nullptr;
HWND progressBox = nullptr;
HWND progressOwner = nullptr;
bool cancelled = false;
HFONT font = nullptr;
bool (*dialogHook)(PRINTDLGA*) = nullptr;

void copyName(char* out, const DEVNAMES* names, WORD offset) {
    const char* text = reinterpret_cast<const char*>(names) + offset;
    std::strncpy(out, text, 255);
    out[255] = '\0';
}

// The device mode and the three names as the dialog left them.
void keepSettings() {
    if (dialog.hDevMode) {
        if (const auto* mode = static_cast<const DEVMODEA*>(GlobalLock(dialog.hDevMode))) {
            const std::size_t size = mode->dmSize + mode->dmDriverExtra;
            devMode.reset(new (std::nothrow) unsigned char[size]);  // none: the printer's defaults
            if (devMode) std::memcpy(devMode.get(), mode, size);
            GlobalUnlock(dialog.hDevMode);
        }
    }
    if (dialog.hDevNames) {
        if (const auto* names = static_cast<const DEVNAMES*>(GlobalLock(dialog.hDevNames))) {
            copyName(driverName, names, names->wDriverOffset);
            copyName(deviceName, names, names->wDeviceOffset);
            copyName(portName, names, names->wOutputOffset);
            GlobalUnlock(dialog.hDevNames);
        }
    }
}

void freeDialogHandles() {
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    dialog.hDevMode = dialog.hDevNames = nullptr;
}

// The print dialog with every program window disabled and the active window
// restored after it.
bool runDialog(DWORD flags, bool interactive) {
    HWND active = GetActiveWindow();
    dlg_enable_all(0);
    dialog.Flags = flags;
    const bool ok = interactive && dialogHook ? dialogHook(&dialog) : PrintDlgA(&dialog) != FALSE;
    dlg_enable_all(1);
    if (active) SetActiveWindow(active);
    return ok;
}

void releasePrinter() {
    if (printer) DeleteDC(printer);
    printer = nullptr;
    devMode.reset();
    driverName[0] = deviceName[0] = portName[0] = '\0';
}

int choose(int* copies, bool* collated) {
    releasePrinter();
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = App.mainWindow;
    dialog.nCopies = 1;
    // Without a default printer there is nothing to choose from: no dialog.
    if (!runDialog(PD_RETURNDEFAULT, false)) return 0;
    keepSettings();
    if (!runDialog(PD_NOSELECTION | PD_NOPAGENUMS, true)) {
        freeDialogHandles();
        return 0;
    }
    *collated = (dialog.Flags & PD_COLLATE) != 0;
    *copies = dialog.nCopies;
    keepSettings();
    freeDialogHandles();
    auto* mode = reinterpret_cast<DEVMODEA*>(devMode.get());
    if (mode) {  // the copies are printed page by page here, not once more by the driver
        mode->dmCopies = 1;
        mode->dmFields &= ~static_cast<DWORD>(DM_COLLATE);
    }
    printer = CreateDCA(driverName, deviceName, portName, mode);
    if (!printer) return -1;
    SetMapMode(printer, MM_TEXT);
    return 1;
}

INT_PTR CALLBACK progressProc(HWND box, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_GRAYED);
        SetWindowTextA(box, App.title);
        RECT r;
        GetWindowRect(box, &r);
        const int width = r.right - r.left;
        const int height = r.bottom - r.top;
        SetWindowPos(box, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return TRUE;
    }
    if (msg == WM_COMMAND) {
        cancelled = true;
        if (progressOwner) EnableWindow(progressOwner, TRUE);
        progressBox = nullptr;
        DestroyWindow(box);
        return TRUE;
    }
    return FALSE;
}

// Runs inside the system's printing calls: keeps the progress box alive.
BOOL CALLBACK abortProc(HDC, int) {
    MSG msg;
    while (!cancelled && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!progressBox || !IsDialogMessageA(progressBox, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return !cancelled;
}

void begin(PrintMeasures* m) {
    *m = {GetDeviceCaps(printer, HORZRES),        GetDeviceCaps(printer, VERTRES),
          GetDeviceCaps(printer, HORZSIZE),       GetDeviceCaps(printer, VERTSIZE),
          GetDeviceCaps(printer, PHYSICALOFFSETX), GetDeviceCaps(printer, PHYSICALOFFSETY)};
    EnableWindow(App.mainWindow, FALSE);
    cancelled = false;
    progressOwner = dlg_hwnd();
    progressBox = CreateDialogA(App.instance, "ANW_LPT", progressOwner, progressProc);
    SetAbortProc(printer, abortProc);
}

bool startDoc() {
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = App.title;
    return StartDocA(printer, &info) > 0;
}

bool makeFont(int height, const char* face, int bold, int style) {
    if (font) DeleteObject(font);
    font = CreateFontA(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, (style & 1) != 0, (style & 2) != 0,
                       (style & 4) != 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
    return font != nullptr;
}

void textOut(int x, int y, int align, const char* text) {
    HGDIOBJ old = SelectObject(printer, font ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FIXED_FONT));
    SetTextAlign(printer, TA_BASELINE | (align == 1 ? TA_RIGHT : align == 2 ? TA_CENTER : TA_LEFT));
    SetBkMode(printer, TRANSPARENT);
    TextOutA(printer, x, y, text, static_cast<int>(std::strlen(text)));
    SelectObject(printer, old);
}

void end() {
    if (font) DeleteObject(font);
    font = nullptr;
    EnableWindow(App.mainWindow, TRUE);
    if (progressBox) DestroyWindow(progressBox);
    progressBox = nullptr;
    SetFocus(App.mainWindow);
}

const PrintDevice kPrinter = {
    choose,
    begin,
    [] { return cancelled; },
    startDoc,
    [] { return StartPage(printer) > 0; },
    [] { return EndPage(printer) > 0; },
    [] { EndDoc(printer); },
    makeFont,
    textOut,
    end,
    releasePrinter,
};

}  // namespace

void printing_win32_install() { printDeviceSet(&kPrinter); }
void printSetDialogHook(bool (*hook)(PRINTDLGA*)) { dialogHook = hook; }
HWND printProgressBox() { return progressBox; }
const PrintDevice& printWin32Device() { return kPrinter; }
