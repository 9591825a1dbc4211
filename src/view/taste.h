// The key dispatcher: every key of the text window becomes an editing command.
//
// Two entry points are fed by the text window: keyDown for virtual keys and
// keyChar for characters. Ctrl commands of both end in controlCommand, keyed by
// a code: the virtual key of Ctrl+letter, Ctrl+digit and Ctrl+punctuation, or a
// Ctrl character 27..32. Many commands are written as sequences of other keys;
// those nested keys run deeper than depth 1, so they are neither recorded nor
// do they update the marking. Every key and command ends with refreshAll.
//
// Every edit that makes the text longer first asks the line store for room;
// when there is none the whole command is refused, nothing changes and the
// user is told once.
#pragma once

// The nesting depth of keyDown/keyChar: 0 outside key handling, 1 for the
// user's own keystroke, more for keys that commands press.
extern int keyDepth;
// Vertical moves since lineInsertMode was switched on by Shift+Enter; the
// mode goes off when the count leaves -5..2.
extern int lineInsertCounter;
// The width of the last Ctrl+L, used again while Ctrl+L is repeated.
extern int outdentWidth;

// Virtual-key codes as the system numbers them (the German layout's
// punctuation keys included).
namespace vk {
constexpr int kBack = 8, kTab = 9, kReturn = 13;
constexpr int kPrior = 33, kNext = 34, kEnd = 35, kHome = 36;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr int kInsert = 45, kDelete = 46, kApps = 93;
constexpr int kOe = 192, kAe = 222, kMinus = 189, kComma = 188, kPeriod = 190;  // O-umlaut, A-umlaut, - , .
constexpr int kNumpadFirst = 96, kNumpadLast = 111;  // the numeric pad's digits and operators
}  // namespace vk

// A key went down: virtual key vk with the modifier states at the time of the message.
void keyDown(int vk, bool shift, bool ctrl, bool alt);
// A character arrived (WM_CHAR, 0..255) with the modifier states at the time of the message.
// A Ctrl character 27..29 right after the key-down that already ran its command
// (a German keyboard's Ctrl+U-umlaut, Ctrl+#, Ctrl++) is not run again.
void keyChar(int ch, bool shift, bool ctrl, bool alt);
// One Ctrl command: 'A'..'Z', '0'..'9', 188, 189, 190, 192, 222 or a Ctrl
// character 27..32; other codes only refresh. Called by the two entry points
// and, for the menu's copy, paste and cut (1110, 1111, 1112), with 'C', 'V'
// and 'X' by the command dispatcher. The keys a command presses count as
// nested keys also when it runs from outside key handling.
void controlCommand(int code);
// A key pressed on behalf of another part (the scroll bar): runs as keyDown
// with a depth above 1, so it is neither recorded nor does it update the marking.
void keyDownNested(int vk, bool shift, bool ctrl);

// --- Parts of the commands that need no window (tested on their own) ---------

// The command Ctrl alone with virtual key `key` runs (a letter aside), 0 for
// none. The key's character in the active layout decides first: O-umlaut,
// A-umlaut, U-umlaut, "#", "+", comma, minus and period name the German
// keys' commands (192, 222, 27, 28, 29, 188, 189, 190) whatever the key's
// code; a key of the numeric pad, or one whose character names none, keeps
// its code's command (digits and 188, 189, 190, 192, 222).
int ctrlChordCode(int key);

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
