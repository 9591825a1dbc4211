// The configuration's Win32 side: the placement slot of the main window and the
// three settings dialogs "Verzeichnisse" (DB1600), "Zusaetze" (DB1603) and
// "Farben, Fonts" (DB1604). Every decision is made in shell/config.h; this side
// moves placements between the main window and the slots, and texts between the
// dialogs' fields and the settings file.
#pragma once

// Command 1008: chooses this copy's slot (first is 0 when no other copy ran at
// start, else 1) and applies the slot's placement to App.mainWindow (the default
// one centred on the desktop's work area when the slot has none). The slot.
int slotTake(int first);
// At the end: the main window's placement stored in slot and the slot freed;
// nothing for a slot this copy does not hold (slot 10 and above included).
void slotRelease(int slot);

// Command 1600: "Verzeichnisse", the 20 permanent directories.
void directoriesOpen();
// Command 1603: "Zusaetze", the 20 extension patterns of hidden files.
void extensionsOpen();
// Command 1604: "Farben, Fonts", the two background colours and the printer font.
void coloursOpen();
