// The key commands: what the keys and Ctrl commands of the text window do.
// The dispatcher (view/taste.h) binds them to keys in its tables; the comments
// there and here name the keys that run them today.
//
// Every edit that makes the text longer first asks the line store for room;
// when there is none the whole command is refused, nothing changes and the
// user is told once.
#pragma once

// The width of the last Ctrl+L, used again while Ctrl+L is repeated.
extern int outdentWidth;

namespace keycmd {

// The modifiers of the key that runs a key command.
struct KeyPress {
    bool shift;
    bool ctrl;
};

// --- Moving ---------------------------------------------------------------------

void charLeft(KeyPress);
void charRight(KeyPress);
void wordLeft(KeyPress);   // Ctrl+Left: to the start of the word before
void wordRight(KeyPress);  // Ctrl+Right: to the next word, after the text the next tab stop
// Up and Down; with Shift and no in-line mark Up takes the block mark off the
// line it arrives on and Down block-marks the line it leaves (keyLineMark).
void lineUp(KeyPress);
void lineDown(KeyPress);
void viewUp(KeyPress);    // Ctrl+Up
void viewDown(KeyPress);  // Ctrl+Down
void pageUp(KeyPress);
void pageDown(KeyPress);
void documentStart(KeyPress);  // Ctrl+PageUp
void documentEnd(KeyPress);    // Ctrl+PageDown
void textStart(KeyPress);      // Home
void lineStart(KeyPress);      // Ctrl+Home
void lineEnd(KeyPress);        // End: one blank column after the last character
void nextTabStop(KeyPress);
void previousTabStop(KeyPress);

// --- Enter, deleting, the Insert keys ----------------------------------------------

void enter(KeyPress);
void enterLineInsert(KeyPress);   // Shift+Enter
void toggleLineInsert(KeyPress);  // Ctrl+Shift+Enter
void splitLine(KeyPress);         // Ctrl+Enter
void backspace(KeyPress);
void deleteKey(KeyPress);
void toggleInsert(KeyPress);
void pasteKey(KeyPress);  // Shift+Insert
void copyKey(KeyPress);   // Ctrl+Insert
void contextMenuKey(KeyPress);

// --- The Ctrl commands ------------------------------------------------------------

void braceBlock();         // Ctrl+#
void squareBrackets();     // Ctrl++
void commentPair();        // Ctrl+O-umlaut
void quotePair();          // Ctrl+A-umlaut
void charLiteralZero();    // Ctrl+0
void typeDate();           // Ctrl+1
void insertBlank();        // Ctrl+Space
void indent();             // Ctrl+R
void outdent();            // Ctrl+L
void continueNumbering();  // Ctrl+2
void closeBrackets();      // Ctrl+9
void joinNextLine();       // Ctrl+A
// Ctrl+B without marked lines: the block buffer's lines, oldest first,
// before the cursor line.
void blockBufferBack();
void upperAtCursor();       // Ctrl+G
void lowerAtCursor();       // Ctrl+K
void rememberPosition();    // Ctrl+H
void returnToPosition();    // Ctrl+J
void openLine();            // Ctrl+N
void restoreLine();         // Ctrl+E
void restoreSnapshot();     // Ctrl+Q
void postSave();            // Ctrl+S
void postPositionDialog();  // Ctrl+period
void searchWithDialog();    // Ctrl+F
void searchAgain();         // Ctrl+W
void typePiece();           // Ctrl+U
void paste();               // Ctrl+V
void cutRun();              // Ctrl+X
void deleteLine();          // Ctrl+Y
void deleteToLineEnd();     // Ctrl+Z
void selectWord();          // Ctrl+M
void openNameAtCursor();    // Ctrl+D

}  // namespace keycmd

// --- Parts of the commands that need no window (tested on their own) ---------

// The closers Ctrl+9 types after text (a trimmed line): for each "(" or "[" not
// yet closed, from the innermost, ")" or "]" with a blank before it when the
// bracket is followed by a blank; at most 10. Then one blank. out holds 32 bytes.
void closingBrackets(const char* text, char* out);

// The path Ctrl+D opens for the name under the cursor into path
// (FILE_PATH_MAX + 1 bytes): a name beginning with "/" or "\\" or with ":"
// as its second character as it is, any other after the current directory
// and a separator. False (path empty) when the path would be longer than
// FILE_PATH_MAX: it is never cut.
bool namedFilePath(const char* name, char* path);

// The paste line cutter: from text + *pos, one line of at most width
// characters into out (width + 1 bytes, trailing blanks kept), breaking after
// a blank within the line's last 15 positions when the text goes on, else hard
// at width; one CR and one LF after the line are skipped. *pos advances; the
// result is the line's length, or -1 when the text is at its end.
int pasteCutLine(const char* text, int* pos, int width, char* out);
