// The dialog "Facette" (DB1404): the facets in list 3000 (frame 3001), the
// verbs in list 3100 (frame 3101), "Eintragen" (2500) posts the phrase,
// "Bearbeiten" (2510) opens the facet file in place of the document.
#pragma once

constexpr int FACET_LIST = 3000;
constexpr int FACET_VERB_LIST = 3100;
constexpr int FACET_EDIT = 2510;  // "Bearbeiten" (the dialog is never sent a refresh)

// Command 1404 (Ctrl+F6).
void facette_open();
