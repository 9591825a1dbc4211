#include "tools/baukasten_win32.h"

#include <windows.h>

#include "document/linestore.h"
#include "framework/dialog_win32.h"
#include "resources/resource.h"
#include "support/profile_win32.h"
#include "support/strfunc.h"
#include "textops/reform_win32.h"
#include "tools/baukasten.h"
#include "tools/phrases.h"

namespace {

HWND phraseListWindow = nullptr;  // the open phrase list
HWND blockWindow = nullptr;       // the open fill-in box

// An open box of the same kind closes first, so that the new one is built
// for its own file.
void closeOpen(HWND window) {
    if (window != nullptr) SendMessageA(window, WM_CLOSE, 0, 0);
}

void addToList(const char* text, void*) { list_add(BAU_LIST, text); }

// The selected entry's text into entry; false when none is selected.
bool selectedEntry(char* entry) {
    const int selected = list_get_sel(BAU_LIST);
    return selected >= 0 && list_get_text(BAU_LIST, selected, entry, kLineChars) >= 0;
}

// ---------------------------------------------------------------- the phrase list

void phrasesInit(int, char**) {
    phraseListWindow = dlg_hwnd();
    list_reset(BAU_LIST);
    phraseListEntries(addToList, nullptr);
}

void phrasesExit() { phraseListWindow = nullptr; }

// The phrase is typed by command 1402 after the box has closed.
void phraseUse() {
    char entry[kLineChars + 1];
    if (!selectedEntry(entry)) return;
    phrase_post(entry);
    dlg_close();
}

INT_PTR phrasesProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    if (list_event(BAU_LIST, wParam) == 3 || LOWORD(wParam) == DLG_ACTION || LOWORD(wParam) == IDOK) {
        phraseUse();
    } else if (LOWORD(wParam) == DLG_CANCEL) {
        dlg_close();
    }
    return 0;
}

void phraseListOpen() {
    closeOpen(phraseListWindow);
    dlg_open("DB1402", phrasesInit, phrasesExit, phrasesProc);
}

// ---------------------------------------------------------------- the fill-in box

void blockInit(int, char**) {
    blockWindow = dlg_hwnd();
    dlg_set_title(blockPath);
    const BlockHead head = blockHeadRead(blockPath);
    for (int n = 0; n < BLOCK_VALUES; ++n) {
        dlg_set_text(BAU_PROMPT_FIRST + 10 * n, head.prompts[static_cast<std::size_t>(n)].data());
        dlg_set_text(BAU_VALUE_FIRST + 10 * n, "");
        SendMessageA(dlg_item(BAU_VALUE_FIRST + 10 * n), EM_LIMITTEXT, static_cast<WPARAM>(BLOCK_VALUE_MAX), 0);
    }
    if (head.opened && !head.placeholders) post_message(dlg_hwnd(), WM_COMMAND, BAU_INSERT_ALL, 0);
    // Typing starts in the first field that is asked for (the system would
    // focus the field of %0, which most blocks do not use).
    for (int n = 0; n < BLOCK_VALUES; ++n) {
        if (head.prompts[static_cast<std::size_t>(n)][0] == '\0') continue;
        post_message(dlg_hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(dlg_item(BAU_VALUE_FIRST + 10 * n)), TRUE);
        break;
    }
}

void blockInsert(bool skipHead) {
    BlockTexts values{};
    for (int n = 0; n < BLOCK_VALUES; ++n) {
        dlg_get_text(BAU_VALUE_FIRST + 10 * n, values[static_cast<std::size_t>(n)].data(), BLOCK_VALUE_MAX);
    }
    bauklotzInsert(blockPath, skipHead, values);
    dlg_close();
}

void blockExit() { blockWindow = nullptr; }

INT_PTR blockProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    if (id == IDOK || id == DLG_ACTION || id == BAU_INSERT_ALL) blockInsert(id != BAU_INSERT_ALL);
    else if (id == DLG_CANCEL) dlg_close();
    return 0;
}

// ---------------------------------------------------------------- the catalogue

void catalogueInit(int, char**) {
    panel_place(dlg_hwnd());
    list_reset(BAU_LIST);
    catalogueEntries(addToList, nullptr);
}

// The selected entry's file and kind; false when nothing is selected.
bool selectedFile(char* path, EntryKind* kind) {
    char entry[kLineChars + 1];
    return selectedEntry(entry) && catalogueEntry(entry, path, kind);
}

void catalogueChoose() {
    char path[FILE_PATH_MAX + 1];
    EntryKind kind = EntryKind::Block;
    if (!selectedFile(path, &kind)) return;
    dlg_close();
    switch (kind) {
    case EntryKind::Phrases:
        str_ncopy(phraseListPath, path, FILE_PATH_MAX);
        phraseListOpen();
        break;
    case EntryKind::Rules:
        reform_open(path);
        break;
    case EntryKind::Block:
        bauklotz_open(path);
        break;
    }
}

void catalogueEdit() {
    char path[FILE_PATH_MAX + 1];
    EntryKind kind = EntryKind::Block;
    if (!selectedFile(path, &kind)) return;
    dlg_close();
    toolFileEdit(path);
}

void catalogueItself() {
    char path[FILE_PATH_MAX + 1];
    cataloguePath(path);
    dlg_close();
    if (path[0] != '\0') toolFileEdit(path);
}

INT_PTR catalogueProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    const int id = LOWORD(wParam);
    if (list_event(BAU_LIST, wParam) == 3 || id == IDOK || id == DLG_ACTION) catalogueChoose();
    else if (id == BAU_EDIT) catalogueEdit();
    else if (id == BAU_CATALOGUE) catalogueItself();
    else if (id == DLG_CANCEL) dlg_close();
    return 0;
}

}  // namespace

void baukasten_open() { dlg_open("DB1400", catalogueInit, nullptr, catalogueProc); }

void bauklotz_open(const char* path) {
    closeOpen(blockWindow);
    str_ncopy(blockPath, path != nullptr ? path : "", FILE_PATH_MAX);
    dlg_open("DB1401", blockInit, blockExit, blockProc);
}

void bauklotz_file() {
    char path[FILE_PATH_MAX + 1];
    if (bauklotzChoose(path)) bauklotz_open(path);
}

void floskel_reopen() {
    if (phraseListWindow != nullptr) {
        SetForegroundWindow(phraseListWindow);
        SetActiveWindow(phraseListWindow);
    } else if (phraseListPath[0] != '\0') {
        phraseListOpen();
    }
}
