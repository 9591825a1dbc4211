// The key dispatcher: every key of the text window becomes an editing command
// (the commands themselves: view/keycommands.h).
//
// Two entry points are fed by the text window: keyDown for virtual keys and
// keyChar for characters. Ctrl commands of both end in controlCommand, keyed by
// a code: the virtual key of Ctrl+letter, Ctrl+digit and Ctrl+punctuation, or a
// Ctrl character 27..32. Many commands are written as sequences of other keys;
// those nested keys run deeper than depth 1, so they are neither recorded nor
// do they update the marking. Every key and command ends with refreshAll.
#pragma once

// The nesting depth of keyDown/keyChar: 0 outside key handling, 1 for the
// user's own keystroke, more for keys that commands press.
extern int keyDepth;

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

// --- The German chords ---------------------------------------------------------

// The command Ctrl alone with virtual key `key` runs (a letter aside), 0 for
// none. The key's character in the active layout decides first: O-umlaut,
// A-umlaut, U-umlaut, "#", "+", comma, minus and period name the German
// keys' commands (192, 222, 27, 28, 29, 188, 189, 190) whatever the key's
// code; a key of the numeric pad, or one whose character names none, keeps
// its code's command (digits and 188, 189, 190, 192, 222).
int ctrlChordCode(int key);

// --- The keys bound from above ------------------------------------------------------
// The keys that drive the tools above the view (blocks, lists, the adder, the
// phrases) are bound by the shell at start-up through a key map, so that the
// dispatcher names no tool. A key whose binding is missing only refreshes.

// One Ctrl command: its code as controlCommand takes it and what it runs.
struct KeyCommand {
    int code;
    void (*run)();          // nullptr: the command belongs to a module still to come
    bool usesMark = false;  // works on the in-line mark; every other command clears it first
};

struct KeyMap {
    // Ctrl commands besides the view's own (the view's own table is asked first).
    const KeyCommand* commands = nullptr;
    int commandCount = 0;
    // Shift+Up (on 0) and Shift+Down (on 1) without an in-line mark: the
    // cursor line block-unmarked or block-marked.
    void (*lineMark)(int on) = nullptr;
    // A typed character 32..255: true when a tool took it instead of the text.
    bool (*charTaken)(int ch) = nullptr;
    // Ctrl+Shift+character.
    void (*shiftChar)(int ch) = nullptr;
};

// The map in force from now on; the commands it points to must live as long.
void keyMapInstall(const KeyMap& map);
// The line mark of the key map for the key commands; nothing when unbound.
void keyLineMark(int on);
