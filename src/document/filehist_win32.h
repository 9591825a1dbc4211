// The window side of the recent files list and of the directory panel: the
// items of the menu "&Datei", the panel "Letzte Dateien" (DB1012) and the
// directory panel (DB1006). Their logic is portable: document/filehist.h and
// document/dirpanel.h; the procedures here only move texts between the
// controls and those functions.
#pragma once

// Makes the recent files list put its items into the main menu's "&Datei"
// (the first drop-down menu). Called at start-up once the main window has its
// menu; historyMenuRemove() undoes it.
void historyMenuInstall();
void historyMenuRemove();

// Command 1012: opens DB1012 unless it is open.
void historyPanelOpen();
// Command 1006: opens DB1006; when it is open it reads its directory again (the
// directory last opened by name when that changed meanwhile).
void directoryPanelOpen();
