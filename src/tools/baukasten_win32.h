// The Baukasten's dialogs: the catalogue panel (DB1400), the fill-in box
// "Bauklotz" (DB1401) and the phrase list "Floskel" (DB1402). The procedures
// only move values between the controls and tools/baukasten.h.
#pragma once

constexpr int BAU_LIST = 3000;          // the catalogue's and the phrase list's entries
constexpr int BAU_EDIT = 2510;          // "Bearbeiten" (the catalogue is never sent a refresh)
constexpr int BAU_CATALOGUE = 2511;     // "Verzeichnis"
constexpr int BAU_PROMPT_FIRST = 3000;  // prompt n: 3000 + 10 n
constexpr int BAU_VALUE_FIRST = 3100;   // value n: 3100 + 10 n
constexpr int BAU_INSERT_ALL = 2501;    // posted to the fill-in box: the whole file at once

// Command 1400 (F6): the catalogue.
void baukasten_open();
// The fill-in box for the building block at path.
void bauklotz_open(const char* path);
// Command 1011: a building block chosen in a file box.
void bauklotz_file();
// Command 1403 (Shift+F6): the open phrase list to the front, else the list
// chosen last opened again, else nothing.
void floskel_reopen();
