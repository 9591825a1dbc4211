// The boxes "Addierer" (DB1410) and "ANSI" (DB1411): the Win32 side. Both are
// modeless boxes of the dialog manager; their procedures only move values
// between the controls and the portable functions of tools/adder.h.
#pragma once

// Opens "Addierer" (command 1410 with refocus 0, Ctrl+minus with 1), or brings
// the open one forward. With refocus the main window comes back to the front
// after the box's next update, so that typing goes on in the text.
void adder_open(int refocus);
// Opens "ANSI" (command 1411), or brings the open one forward.
void ansi_open();
