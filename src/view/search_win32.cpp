#include "view/search_win32.h"

#include <windows.h>

#include "framework/dialog_win32.h"
#include "view/refresh.h"
#include "view/search.h"

namespace {

// The open dialog (either template), or null.
HWND searchDialog = nullptr;
// What "&Start" of "Im Block tauschen" runs: the replacement in the marked
// lines, handed in by its opener.
int (*blockReplacement)() = nullptr;

// The first ten items of a combo box, "" where there are fewer; their number.
int comboItems(int id, SearchHistory* items) {
    int count = 0;
    for (int i = 0; i < SEARCH_HISTORY; ++i) {
        if (combo_get_item(id, i, items->items[i], SEARCH_TEXT_MAX)) count = i + 1;
        else items->items[i][0] = '\0';
    }
    return count;
}

// The text added to the combo box's list by the history rule; the edit field
// shows it selected.
void comboAdd(int id, const char* text) {
    SearchHistory items;
    const int count = comboItems(id, &items);
    const HistoryStep step = historyStep(&items, count, text);
    if (step.remove >= 0) combo_delete(id, step.remove);
    if (step.insert) {
        combo_insert(id, text, 0);
        combo_set_text(id, text);
    }
}

void comboFill(int id, const SearchHistory& history) {
    combo_reset(id);
    SendMessageA(dlg_item(id), CB_LIMITTEXT, SEARCH_TEXT_MAX, 0);
    for (const auto& item : history.items) {
        if (item[0] != '\0') combo_add(id, item);
    }
    combo_set_text(id, history.items[0]);
}

void replaceControlsEnable() {
    dlg_enable_item(SEARCH_REPLACE_COMBO, replaceEnabled);
    dlg_enable_item(SEARCH_REPLACE, replaceEnabled);
}

// dialogRead: the controls' values into the state, then each text into its
// combo box's list.
void readDialog(int withReplaceFlag) {
    SearchDialogValues values{};
    values.wordBox = dlg_get_check(SEARCH_WORD_BOX);
    values.caseBox = dlg_get_check(SEARCH_CASE_BOX);
    values.replaceBox = dlg_get_check(SEARCH_REPLACE_BOX);
    combo_get_text(SEARCH_TEXT_COMBO, values.searchText, SEARCH_TEXT_MAX);
    combo_get_text(SEARCH_REPLACE_COMBO, values.replaceText, SEARCH_TEXT_MAX);
    dialogRead(withReplaceFlag, &values);
    comboAdd(SEARCH_TEXT_COMBO, searchText);
    comboAdd(SEARCH_REPLACE_COMBO, replaceText);
}

void searchInit(int, char**) {
    searchDialog = dlg_hwnd();
    dlg_set_check(SEARCH_WORD_BOX, wholeWord);
    dlg_set_check(SEARCH_CASE_BOX, caseSensitive);
    dlg_set_check(SEARCH_REPLACE_BOX, replaceEnabled);
    comboFill(SEARCH_TEXT_COMBO, searchHistory);
    comboFill(SEARCH_REPLACE_COMBO, replaceHistory);
    replaceControlsEnable();
}

void searchExit() {
    comboItems(SEARCH_TEXT_COMBO, &searchHistory);
    comboItems(SEARCH_REPLACE_COMBO, &replaceHistory);
    searchDialog = nullptr;
}

INT_PTR searchProc(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_COMMAND) return 0;
    switch (LOWORD(wParam)) {
    case DLG_ACTION:
        readDialog(1);
        dlg_close();
        searchNext();
        break;
    case SEARCH_GO_ON:
        readDialog(1);
        searchNext();
        break;
    case SEARCH_REPLACE:
        readDialog(1);
        replaceAtCursor();
        refreshAll();
        break;
    case SEARCH_BLOCK_START:
        readDialog(0);
        dlg_close();
        if (blockReplacement != nullptr) blockReplacement();
        refreshAll();
        break;
    case SEARCH_REPLACE_BOX:
        if (HIWORD(wParam) == BN_CLICKED) {
            const int focus = replaceFlagClicked(dlg_get_check(SEARCH_REPLACE_BOX));
            replaceControlsEnable();
            dlg_focus_item(focus);
        }
        break;
    case DLG_CANCEL:
        readDialog(0);
        dlg_close();
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace

void searchDialogOpen() { dlg_open("DB1100", searchInit, searchExit, searchProc); }

void blockReplaceDialogOpen(int (*replaceInBlock)()) {
    blockReplacement = replaceInBlock;
    replaceEnabled = 1;
    dlg_open("DB1101", searchInit, searchExit, searchProc);
}

HWND searchDialogWindow() { return searchDialog; }
