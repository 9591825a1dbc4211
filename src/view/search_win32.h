// The dialogs "Suchen" (DB1100) and "Im Block tauschen" (DB1101): the Win32
// side. Both are modeless boxes of the dialog manager with the same
// procedures; only one of them is open at a time. The procedures only move
// values between the controls and the portable functions of view/search.h.
#pragma once

#include <windows.h>

// Opens "Suchen" (command 1100, Ctrl+F), or brings the open dialog forward.
void searchDialogOpen();
// Replacing is switched on, then "Im Block tauschen" opens (command 1507), or
// the open dialog comes forward. Its "&Start" runs replaceInBlock (the block
// commands' replacement in the marked lines, which the opener above hands in).
void blockReplaceDialogOpen(int (*replaceInBlock)());
// The open dialog (either template), or null.
HWND searchDialogWindow();
