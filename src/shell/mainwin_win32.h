// The program's frame: WinMain with the start-up and clean-up, the main window
// procedure, the message loop, the program's own initialisation and shut-down,
// the DDE service and the about box. The decisions that need no system call
// (the start-up options, the command line, dropped files, the DDE execute
// rule, the about box's place) are made in shell/startup.h.
#pragma once

#include <windows.h>

#include <ddeml.h>

#include "shell/startup.h"

// True when a window of the program's class existed at start.
extern bool otherInstance;
// The placement slot of this copy: 1 at first, 0 when no other copy was running.
extern int windowSlot;

// The start-up options as ANW_CONFIG gave them (defaults before WinMain reads it).
const StartConfig& startConfig();
// The window class's brush as config asks for it; when none can be made, the
// system's brush of the work space. *owned: made here, to be deleted at the end.
HBRUSH backgroundBrush(const StartConfig& config, HINSTANCE instance, bool* owned);
// The program's font: config's face at the dialog base height, else (no face,
// or none made) the stock ANSI fixed font. *owned as above.
HFONT programFont(const StartConfig& config, bool* owned);

// The main window's class procedure. WM_COMMAND 1998 closes, 1999 shows the
// about box; while runState is 2 every other message goes to the application
// procedure first.
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Called by the application procedure: the main window procedure returns value
// for the message being handled instead of calling the default procedure.
void setWindowResult(LRESULT value);

// The program's own start-up, after the main window exists: 0, or -1 to stop.
int appInit();
// The shut-down sequence, when the main window closes.
void appShutdown();
// The mouse cursor: 0 the arrow, 1 the hour-glass, 2 the program's own.
void appCursor(int kind);

// The application procedure (appproc_win32.cpp): the text window first, then
// WM_COMMAND through the command table and WM_DROPFILES, each followed by the
// full refresh.
void appProc(UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------- DDE service

// Registers the DDE service named service (at most 40 characters): notifications
// skipped, advise transactions refused. True when it is registered.
bool ddeStart(const char* service);
// Unregisters and frees the service and ends DDE (nothing when not started).
void ddeStop();
HDDEDATA CALLBACK ddeCallback(UINT type, UINT format, HCONV conversation, HSZ string1, HSZ string2,
                              HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);

// ---------------------------------------------------------------- about box

// The procedure of ANW_ABOUT: centred horizontally, its top at one third of the
// free height; OK or Cancel ends it.
INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
