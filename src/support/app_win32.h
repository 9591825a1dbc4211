// The application record of the Win32 layer: what every window-side module reads
// the main window, instance and fonts from. Filled by start-up.
#pragma once

#include <windows.h>

struct AppRecord {
    char title[81] = "ZEMO Testprogramm";  // caption of the main window and of the program's boxes
    char className[41] = "ZEMOtest";       // window class; also the DDE service name
    HINSTANCE instance = nullptr;          // resources, dialogs
    HWND mainWindow = nullptr;             // the main window
    HMENU menu = nullptr;                  // ANW_MENU
    HACCEL accelerators = nullptr;         // ANW_ACCEL
    HCURSOR waitCursor = nullptr, arrowCursor = nullptr, ownCursor = nullptr;
    HFONT font = nullptr;                  // the program's fixed-pitch dialog and text font
    HBRUSH bgBrush = nullptr;              // background of the window class
    const char* cmdLine = "";              // the command line handed to WinMain
};

extern AppRecord App;

// The run state: 0 WinMain entered, 1 class registered, 2 message loop running (only
// now do messages reach the application procedure), 3 loop ended, 4 closing,
// 5 shut-down done, 9 about to return.
extern int runState;
