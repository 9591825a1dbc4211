// Loading and saving the one document: a new empty document, loading a file
// into the line store or inserting one at the cursor line, saving with a
// backup and a date stamp, the question before a changed document is
// dropped, the check that nobody changed the file meanwhile, the line-end
// mode, the window title, the back list of "Zurueck" and the portable half of
// the properties dialog "Datei".
//
// Saving never cuts the file on disk: the document is written to a temporary
// file in the same directory, and only when every byte is written and the
// file closed does the old file become the backup (extension "bak") and the
// temporary file take the name. Any failure leaves the old file as it was,
// removes the temporary file and keeps the document marked as changed. A
// document loaded only in part (the file was too long for the store, or the
// line rules dropped more than trailing white space, line ends and a last
// Ctrl-Z, or a read failed) is never saved over its file; saving it under
// another name stays possible.
#pragma once

#include <cstdint>

#include "support/files.h"

// --- The portable rules --------------------------------------------------------

// The line-end mode of a file from its first bytes: the first CR sets it (1),
// the first LF clears it (0), whichever comes first; with neither, current.
int lineEndDetect(const char* bytes, int n, int current);
// True when the ten characters at text are a date "##.##.####" or "####-##-##".
bool dateAt(const char* text);
// The date stamp of the third line: the first date starting at column 3, 8 or
// 16 (only where the whole date lies inside the line) is replaced by today
// ("dd.mm.yyyy", ten characters). True when a date was replaced.
bool dateStampApply(char* text, const char* today);
// The size as the properties dialog shows it: decimal, with one '.' before the
// last three digits when there are four or more ("1234.567"). buf holds 16 bytes.
void fileSizeText(long size, char* buf);
// The backup name of path: its extension replaced by "bak", or ".bak"
// appended. False (bak empty) when that name would be too long.
bool backupName(const char* path, char* bak);

// --- The document's file ------------------------------------------------------------

// What a load did not take of the file beyond the reader's lossless rules.
struct LoadLoss {
    LineLoss reader;     // dropped by the line rules in the lines taken
    bool leftOver;       // the store was full before the file's text ended
    int firstLeftOver;   // the first line not taken (from 1)
    long readFailedAt;   // the file position where a read failed
};
// The records a load leaves free in the store.
constexpr int kLoadMargin = 5;
// The loader's loop: the lines of lf read, trimmed and pushed above until the
// file ends or the store keeps only kLoadMargin records free. What was not
// taken is in the result (leftOver only when the rest holds text).
LoadLoss linesLoad(LineFile* lf);

// Loads path: whole (open) or inserted before the cursor line. 0, or -1 when
// the file cannot be read (message 100) or, for an insert, the store cannot
// take the window rows (the store-full box). Lines are stored trimmed. What
// the load did not take is told in one box (message 101 when the store was
// full and nothing else was lost); a whole load so becomes partly loaded.
int docLoad(const char* path, bool whole);
// Writes the document to path (keepTime: give the file its old time when the
// option "Dateizeit erhalten" is on). 0, or -1 after telling the user.
int writeFile(const char* path, bool keepTime);

void docNew();                       // command 1000 and start-up
void openWithBox();                  // command 1001
void openPath(const char* path);     // a file, or a directory (command 1006 posted)
void insertWithBox();                // command 1002
// Command 1003: 1 when the document was written, 0 when not.
int save();
// Command 1004: 1 when the document was written, 0 when not.
int saveAs();
// 1: the caller may go on (nothing changed, "Nein", or saved); 0: it must
// stop (Cancel, or "Ja" and the save did not succeed or was refused).
int askSave(int withCancel);
void saveIfModified();
void back();                          // command 1005, F9
void openModuleFile();                // command 1010, Shift+F5
void openKeepingBack(const char* path);

// --- The back list ---------------------------------------------------------------------

void backPush(const char* name);
// Entry 0 into out (201 bytes; may be null); the oldest entry is never removed.
void backPop(char* out);
void backReduce();

// --- Steps of the full refresh ------------------------------------------------------------

void titleUpdate();
void lineEndStatusUpdate();
// Forgets what the title and the line-end field show (the next refresh writes them).
void docShownReset();

// --- The properties dialog "Datei" (DB1302) -------------------------------------------

constexpr int PROP_NAME = 3000, PROP_DIR = 3010, PROP_SIZE = 3020, PROP_TIME = 3030;
constexpr int PROP_MODIFIED = 3040, PROP_CRLF = 3050;

// What command 2510 fills: only what changed since it was last shown.
struct PropertiesView {
    bool nameChanged;
    char name[201];
    bool dirChanged;
    char dir[201];
    bool sizeChanged;
    char size[16];
    bool timeChanged;
    char time[24];
    bool modifiedChanged;
    int modified;
    bool crlfChanged;
    int crlf;
};
// The dialog opened (dialog: its handle for posted commands): remembered values
// reset, told to refresh itself.
void propertiesDialogOpened(std::intptr_t dialog);
void propertiesDialogClosed();
bool propertiesDialogIsOpen();
PropertiesView propertiesDialogView();
// A click on 3040 or 3050: modified or crlfMode from the box, then the full
// refresh. False for other ids.
bool propertiesBoxClicked(int id, int checked);
