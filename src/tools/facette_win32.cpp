#include "tools/facette_win32.h"

#include <windows.h>

#include <cstring>

#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "tools/baukasten.h"
#include "tools/facette.h"

namespace {

void addFacet(const char* text, void*) { list_add(FACET_LIST, text); }

void facetteInit(int, char**) {
    list_reset(FACET_LIST);
    list_reset(FACET_VERB_LIST);
    facetPath[0] = '\0';
    facetteEntries(addFacet, nullptr);
    for (const char* verb : facetVerbs) list_add(FACET_VERB_LIST, verb);
    list_set_sel(FACET_LIST, facetSel);
    list_set_sel(FACET_VERB_LIST, verbSel);
}

void facetteEnter() {
    char facet[FACET_LINE_MAX + 1];
    const int selected = list_get_sel(FACET_LIST);
    if (selected < 0 || list_get_text(FACET_LIST, selected, facet, FACET_LINE_MAX) < 0) return;
    if (facetteInsert(selected, facet, list_get_sel(FACET_VERB_LIST))) dlg_close();
}

void facetteEdit() {
    char path[FILE_PATH_MAX + 1];
    std::strcpy(path, facetPath);
    dlg_close();
    if (path[0] != '\0') toolFileEdit(path);
}

INT_PTR facetteProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    if (id == DLG_ACTION || id == IDOK) facetteEnter();
    else if (id == FACET_EDIT) facetteEdit();
    else if (id == DLG_CANCEL) dlg_close();
    return 0;
}

}  // namespace

void facette_open() { dlg_open("DB1404", facetteInit, nullptr, facetteProc); }
