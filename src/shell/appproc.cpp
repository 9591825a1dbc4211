#include "shell/appproc.h"

#include <cstring>

#include "document/docfile.h"
#include "document/filehist.h"
#include "framework/messages.h"
#include "printing/printing.h"
#include "resources/resource.h"
#include "shell/startup.h"
#include "support/strfunc.h"
#include "textops/block.h"
#include "textops/convert.h"
#include "tools/phrases.h"
#include "tools/adder.h"
#include "tools/infotools.h"
#include "view/editing.h"
#include "view/recorder.h"
#include "view/refresh.h"
#include "view/search.h"
#include "view/taste.h"

namespace {

void fileNew(int, std::intptr_t) {
    backReduce();
    docNew();
}

void fileOpen(int, std::intptr_t) {
    backReduce();
    openWithBox();
}

void fileInsert(int, std::intptr_t) { insertWithBox(); }
void fileSave(int, std::intptr_t) { save(); }
void fileSaveAs(int, std::intptr_t) { saveAs(); }
void fileBack(int, std::intptr_t) { back(); }
void fileModule(int, std::intptr_t) { openModuleFile(); }
void filePrint(int, std::intptr_t) { printDocument(); }

// 1009: the next file of the command line; a start line of -l goes with it.
void openPending(int, std::intptr_t) {
    char name[PENDING_NAME_MAX + 1];
    if (!pendingFileTake(name)) return;
    const int line = startLineTake();
    if (line >= 0) startLineSet(line);
    openPath(name);
    startLineSet(-1);  // the line belongs to this file, even when it could not be opened
}

// 1050-1059: a recent file at its remembered position.
void openRecent(int id, std::intptr_t) {
    backReduce();
    char name[FILE_PATH_MAX + 1];
    historyCommandName(id, name);
    if (name[0]) openPath(name);
}

void copyPasteCut(int id, std::intptr_t) {
    controlCommand(id == CMD_COPY ? 'C' : id == CMD_PASTE ? 'V' : 'X');
}

// 1120-1125: play (even ids) or start/stop (odd ids) recordings 0, 1, 2.
void recording(int id, std::intptr_t) {
    const int slot = (id - CMD_PLAY_0) / 2;
    if ((id - CMD_PLAY_0) % 2 == 0) playBack(slot);
    else recordToggle(slot);
}

// 1402: the text left with phrase_post under the token in lParam; an
// unknown token (any number another program may post) does nothing.
void typePosted(int, std::intptr_t token) {
    static char text[PHRASE_TYPED_MAX + 1];
    if (!phrasePostedTake(token, text)) return;
    EditAction action;
    phrase_type(text);  // a "?" marks where the cursor ends
}

// 1210-1213: pro-Info and lib-Info A to C; 1215: lint.
void infoTool(int id, std::intptr_t) { infoCommand(id == CMD_PRO_INFO ? INFO_PRO : id - CMD_LIB_INFO_A); }
void lintTool(int, std::intptr_t) { lintCommand(); }

// 1420-1422: a ruling line before the cursor line ("Strich").
void rulingLine(int id, std::intptr_t) { strich(id - CMD_STRICH_TOP); }

// 1500-1506, 1508: the line block.
void blockBegin(int, std::intptr_t) { block_begin(); }
void blockEnd(int, std::intptr_t) { block_end(); }
void blockUnmark(int, std::intptr_t) { block_unmark(); }
void blockCopy(int, std::intptr_t) { block_copy(0); }
void blockMove(int, std::intptr_t) { block_move(); }
void blockDelete(int, std::intptr_t) { block_delete(); }
void blockClipboard(int, std::intptr_t) { block_to_clipboard(); }
void blockFunction(int, std::intptr_t) { block_function(); }

// 1130-1138: the conversions of "Uebersetzen"; 1510, 1511, 1515: the tables and HTML.
void convertLines(int id, std::intptr_t) { convert_lines(id - CMD_CONVERT_DETAB); }
void tabExpand(int, std::intptr_t) { table_expand(); }
void tabCompress(int, std::intptr_t) { table_compress(); }
void htmlOptimise(int, std::intptr_t) { html_optimize(); }

// 1800 (F11), 1801 (F12): replace at the cursor, search next.
void replaceKey(int, std::intptr_t) {
    EditAction action;
    replaceAtCursor();
}
void searchKey(int, std::intptr_t) { searchNext(); }

// The portable rows, sorted by number.
constexpr CommandEntry kCoreCommands[] = {
    {CMD_FILE_NEW, fileNew},        {CMD_FILE_OPEN, fileOpen},       {CMD_FILE_INSERT, fileInsert},
    {CMD_FILE_SAVE, fileSave},      {CMD_FILE_SAVE_AS, fileSaveAs},  {CMD_FILE_BACK, fileBack},
    {CMD_PRINT, filePrint},
    {CMD_OPEN_PENDING, openPending}, {CMD_OPEN_MODULE, fileModule},
    {1050, openRecent}, {1051, openRecent}, {1052, openRecent}, {1053, openRecent}, {1054, openRecent},
    {1055, openRecent}, {1056, openRecent}, {1057, openRecent}, {1058, openRecent}, {1059, openRecent},
    {CMD_COPY, copyPasteCut},       {CMD_PASTE, copyPasteCut},       {CMD_CUT, copyPasteCut},
    {CMD_PLAY_0, recording},        {CMD_RECORD_0, recording},       {CMD_PLAY_1, recording},
    {CMD_RECORD_1, recording},      {CMD_PLAY_2, recording},         {CMD_RECORD_2, recording},
    {CMD_CONVERT_DETAB, convertLines},     {CMD_CONVERT_ENTAB, convertLines},
    {CMD_CONVERT_PC_ANSI, convertLines},   {CMD_CONVERT_ANSI_PC, convertLines},
    {CMD_CONVERT_SPECIAL, convertLines},   {CMD_CONVERT_HTML_ANSI, convertLines},
    {CMD_CONVERT_ANSI_HTML, convertLines}, {CMD_CONVERT_BLANKS, convertLines},
    {CMD_CONVERT_XOR, convertLines},
    {CMD_PRO_INFO, infoTool},       {CMD_LIB_INFO_A, infoTool},      {CMD_LIB_INFO_B, infoTool},
    {CMD_LIB_INFO_C, infoTool},     {CMD_LINT, lintTool},
    {CMD_TYPE_PHRASE, typePosted},
    {CMD_STRICH_TOP, rulingLine},   {CMD_STRICH_MIDDLE, rulingLine}, {CMD_STRICH_BOTTOM, rulingLine},
    {CMD_BLOCK_BEGIN, blockBegin},  {CMD_BLOCK_END, blockEnd},        {CMD_BLOCK_UNMARK, blockUnmark},
    {CMD_BLOCK_COPY, blockCopy},    {CMD_BLOCK_MOVE, blockMove},      {CMD_BLOCK_DELETE, blockDelete},
    {CMD_BLOCK_CLIPBOARD, blockClipboard}, {CMD_BLOCK_FUNCTION, blockFunction},
    {CMD_TAB_EXPAND, tabExpand},    {CMD_TAB_COMPRESS, tabCompress}, {CMD_HTML_OPTIMISE, htmlOptimise},
    {CMD_REPLACE_AT_CURSOR, replaceKey}, {CMD_SEARCH_NEXT, searchKey},
};
constexpr int kCoreCount = static_cast<int>(sizeof kCoreCommands / sizeof kCoreCommands[0]);
static_assert(commandTableSorted(kCoreCommands, kCoreCount), "the command table must rise by number");
static_assert(CMD_RECENT_FIRST == 1050 && CMD_RECENT_LAST == 1059, "ten recent-file rows");

}  // namespace

const CommandEntry* const appCommandsCore = kCoreCommands;
const int appCommandsCoreCount = kCoreCount;

CommandHandler commandFind(const CommandEntry* table, int count, int id) {
    int low = 0;
    int high = count - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        if (table[middle].id == id) return table[middle].handler;
        if (table[middle].id < id) low = middle + 1;
        else high = middle - 1;
    }
    return nullptr;
}

void appCommand(const CommandEntry* table, int count, int id, std::intptr_t lParam) {
    if (id >= CMD_TRACE_FROM) debug_out("cmd %d\n", id);
    if (CommandHandler handler = commandFind(table, count, id)) handler(id, lParam);
    refreshAll();
}

void appCommandRoute(const CommandEntry* platformTable, int platformCount, int id, std::intptr_t lParam) {
    if (id >= CMD_TRACE_FROM) debug_out("cmd %d\n", id);
    CommandHandler handler = commandFind(appCommandsCore, appCommandsCoreCount, id);
    if (!handler) handler = commandFind(platformTable, platformCount, id);
    if (handler) handler(id, lParam);
    refreshAll();
}
