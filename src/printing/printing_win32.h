// The printer of the Win32 layer: the print dialog, the printer's device
// context, the progress box and its abort procedure, fonts and text output.
#pragma once

#include <windows.h>

#include <commdlg.h>

// Installs the printer (printDeviceSet) at start-up.
void printing_win32_install();
// Tests: answers the print dialog instead of the user (true: confirmed, with
// nCopies and Flags set as the user left them); nullptr shows the real dialog.
void printSetDialogHook(bool (*hook)(PRINTDLGA* pd));
// Tests: the progress box while a job runs, else nullptr; the printer's table.
HWND printProgressBox();
struct PrintDevice;
const PrintDevice& printWin32Device();
