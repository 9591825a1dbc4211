// The dialogs "Optionen" (DB1301) and "Position" (DB1300): the Win32 side.
// Both are modeless boxes of the dialog manager; their procedures only move
// values between the controls and the portable functions of view/cursor.h.
#pragma once

// Opens "Optionen" (command 1301), or brings the open one forward.
void optionsDialogOpen();
// Opens "Position" (command 1300, Ctrl+.), or brings the open one forward.
void positionDialogOpen();
