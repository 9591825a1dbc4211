#include "view/cursor.h"

#include "document/docfile.h"
#include "document/linestore.h"
#include "support/platform.h"
#include "support/status.h"
#include "support/strfunc.h"
#include "view/editing.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/refresh.h"
#include "view/textview.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kFlags = 8;  // flags shown in the flags field

// What the status fields show now (-1: unknown, the next refresh writes).
struct StatusCache {
    int line = -1, column = -1;
    int flags[kFlags] = {-1, -1, -1, -1, -1, -1, -1, -1};
};
StatusCache status;

// The current line as it was when the cursor came onto it.
struct Snapshot {
    LineRecord line = {};
    std::int32_t documentLine = -1;  // the line it belongs to; -1: none
};
Snapshot snapshot;

// An open dialog of this module and the values it showed last (-1: none yet).
struct OptionsDialogState {
    std::intptr_t handle = 0;
    int tab = -1, indent = -1;
};
OptionsDialogState optionsDialog;

struct PositionDialogState {
    std::intptr_t handle = 0;
    int line = -1, column = -1;
};
PositionDialogState positionDialog;

// The eight flags of the flags field with their texts, in field order.
struct FlagText {
    const char* text;
    int value;
};
void currentFlags(FlagText out[kFlags]) {
    out[0] = {" Spalte ", columnKeep ? 1 : 0};
    out[1] = {" Indent ", autoIndent ? 1 : 0};
    out[2] = {" Zeile ", lineInsertMode ? 1 : 0};
    out[3] = {" Dateizeit ", keepFileTime ? 1 : 0};
    out[4] = {" AnfZ ", quoteOption ? 1 : 0};
    out[5] = {" F2 ", isRecording(0) ? 1 : 0};
    out[6] = {" F3 ", isRecording(1) ? 1 : 0};
    out[7] = {" F4 ", isRecording(2) ? 1 : 0};
}

void positionFieldRefresh() {
    const CursorPosition now = cursorPosition();
    if (now.line != status.line || now.column != status.column) {
        char text[32];  // " %d  %d"
        char* p = text;
        *p++ = ' ';
        p = str_put_number(p, now.line);  // the position field changes with nearly every key
        *p++ = ' ';
        *p++ = ' ';
        p = str_put_number(p, now.column);
        *p = '\0';
        status_set(POSITION_FIELD, text);
        status.line = now.line;
        status.column = now.column;
    }
    if (positionDialog.handle != 0 &&
        (now.line != positionDialog.line || now.column != positionDialog.column))
        plat_post_dialog_command(positionDialog.handle, DLG_REFRESH);
}

void flagsFieldRefresh() {
    FlagText flags[kFlags];
    currentFlags(flags);
    bool changed = false;
    for (int i = 0; i < kFlags; ++i) changed = changed || flags[i].value != status.flags[i];
    if (changed) {
        char text[96] = "";
        for (int i = 0; i < kFlags; ++i) {
            if (flags[i].value)
                std::strncat(text, flags[i].text, sizeof text - std::strlen(text) - 1);
            status.flags[i] = flags[i].value;
        }
        status_set(FLAGS_FIELD, text);
    }
    if (optionsDialog.handle != 0) plat_post_dialog_command(optionsDialog.handle, DLG_REFRESH);
}

// The option behind a check box of "Optionen", or null.
int* optionOfBox(int id) {
    switch (id) {
        case OPT_INSERT: return &insertMode;
        case OPT_COLUMN_KEEP: return &columnKeep;
        case OPT_AUTO_INDENT: return &autoIndent;
        case OPT_QUOTE: return &quoteOption;
        case OPT_LINE_INSERT: return &lineInsertMode;
        case OPT_PASTE_WRAP: return &pasteWrap;
        case OPT_KEEP_FILE_TIME: return &keepFileTime;
        default: return nullptr;
    }
}

// The tools told at every full refresh.
constexpr int kRefreshListenersMax = 8;
struct RefreshListeners {
    void (*calls[kRefreshListenersMax])() = {};
    int count = 0;
};
RefreshListeners refreshListeners;

int limited(int n, int low, int high) { return n < low ? low : (n > high ? high : n); }

}  // namespace

// --- The full refresh ----------------------------------------------------------------

void refreshAll() {
    caretRefresh();
    snapshotCheck();
    titleUpdate();
    positionFieldRefresh();
    flagsFieldRefresh();
    lineEndStatusUpdate();
    for (int i = 0; i < refreshListeners.count; ++i) refreshListeners.calls[i]();
    scrollInfoUpdate();
}

bool refreshListenerAdd(void (*listener)()) {
    for (int i = 0; i < refreshListeners.count; ++i) {
        if (refreshListeners.calls[i] == listener) return true;
    }
    if (refreshListeners.count >= kRefreshListenersMax) return false;
    refreshListeners.calls[refreshListeners.count++] = listener;
    return true;
}

void statusFieldsReset() { status = StatusCache{}; }

// --- The line snapshot ------------------------------------------------------------------

void snapshotReset() { snapshot.documentLine = -1; }

void snapshotCheck() {
    if (topLine + cursorRow != snapshot.documentLine) snapshotTake();
}

void snapshotTake() {
    rowGetRaw(cursorRow, &snapshot.line);
    snapshot.documentLine = topLine + cursorRow;
}

int snapshotRestore() {
    // A snapshot of another line would put that line's text here.
    if (snapshot.documentLine < 0 || snapshot.documentLine != topLine + cursorRow) return 0;
    LineRecord now;
    rowGetRaw(cursorRow, &now);
    if (!editFits(trimmedTextLength(snapshot.line.text) - trimmedTextLength(now.text))) return -1;
    // Only the text goes back: the marks are the marking's as they stand now,
    // or a block ended since would come back on this one line.
    LineRecord back = snapshot.line;
    back.markState = now.markState;
    back.markFrom = now.markFrom;
    back.markTo = now.markTo;
    rowPut(cursorRow, &back);
    beginRowPaint();
    repaintRow(cursorRow);
    endRowPaint();
    return 0;
}

// --- "Optionen" ------------------------------------------------------------------------------

int tabStepLimited(int n) { return limited(n, 2, 16); }
int indentStepLimited(int n) { return limited(n, 2, 8); }

void optionsDialogOpened(std::intptr_t dialog) {
    optionsDialog = OptionsDialogState{};
    optionsDialog.handle = dialog;
    plat_post_dialog_command(dialog, DLG_REFRESH);
}

void optionsDialogClosed() { optionsDialog = OptionsDialogState{}; }

bool optionsDialogIsOpen() { return optionsDialog.handle != 0; }

OptionsView optionsDialogView() {
    OptionsView view = {};
    for (int i = 0; i < OPTIONS_BOXES; ++i) view.checks[i] = *optionOfBox(optionsBoxIds[i]) ? 1 : 0;
    view.tab = tabStep;
    view.tabChanged = tabStep != optionsDialog.tab;
    view.indent = indentStep;
    view.indentChanged = indentStep != optionsDialog.indent;
    optionsDialog.tab = tabStep;
    optionsDialog.indent = indentStep;
    return view;
}

bool optionsBoxClicked(int id, int checked) {
    int* option = optionOfBox(id);
    if (option == nullptr) return false;
    *option = checked ? 1 : 0;
    refreshAll();
    return true;
}

void optionsStepsSet(const char* tabText, const char* indentText) {
    tabStep = tabStepLimited(read_int(tabText ? tabText : ""));
    indentStep = indentStepLimited(read_int(indentText ? indentText : ""));
    refreshAll();
}

// --- "Position" ------------------------------------------------------------------------------

CursorPosition cursorPosition() {
    return CursorPosition{topLine + cursorRow + 1, firstCol + cursorCol + 1};
}

void positionDialogOpened(std::intptr_t dialog) {
    positionDialog = PositionDialogState{};
    positionDialog.handle = dialog;
    plat_post_dialog_command(dialog, DLG_REFRESH);
}

void positionDialogClosed() { positionDialog = PositionDialogState{}; }

bool positionDialogIsOpen() { return positionDialog.handle != 0; }

CursorPosition positionDialogView() {
    const CursorPosition now = cursorPosition();
    positionDialog.line = now.line;
    positionDialog.column = now.column;
    return now;
}

void positionSet(const char* lineText, const char* columnText) {
    // Entered numbers may be anything: every column left of the first goes to
    // the first, every one right of the last changes nothing.
    const std::int64_t column = std::int64_t{read_int(columnText ? columnText : "")} - 1;
    cursorToColumn(column < 0 ? -1 : (column > kLineChars ? kLineChars : static_cast<int>(column)));
    const std::int64_t line = std::int64_t{read_int(lineText ? lineText : "")} - 1;
    const std::int32_t target = line < 0 ? 0 : static_cast<std::int32_t>(line);
    if (target != topLine + cursorRow && gotoLine(target) != 0) editRefused();
    refreshAll();
}
