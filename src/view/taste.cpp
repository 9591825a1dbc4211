// The key dispatcher: the key table of keyDown, the command table of
// controlCommand, the German chords, and the key map the tools above bind.
// What the keys do is in view/keycommands.cpp.
#include "view/taste.h"

#include "support/platform.h"
#include "support/strfunc.h"
#include "view/editing.h"
#include "view/keycommands.h"
#include "view/marking.h"
#include "view/recorder.h"
#include "view/refresh.h"

int keyDepth = 0;

namespace {

// One level of key nesting for as long as it lives.
struct DepthScope {
    DepthScope() { ++keyDepth; }
    ~DepthScope() { --keyDepth; }
    DepthScope(const DepthScope&) = delete;
    DepthScope& operator=(const DepthScope&) = delete;
};

// How a key's modifier must stand for a binding to apply.
enum class Mod : unsigned char { Any, Up, Down };

constexpr bool modMatches(Mod want, bool state) {
    return want == Mod::Any || (want == Mod::Down) == state;
}

// One row of the key table: the first row that matches a key acts.
struct KeyBinding {
    int key;
    Mod ctrl;
    Mod shift;
    bool recorded;             // recorded by the keystroke recorder before it acts
    void (*act)(keycmd::KeyPress);     // nullptr: the key only refreshes
    bool noExtend = false;     // never extends the in-line mark, Shift or not
};

constexpr KeyBinding kKeyTable[] = {
    {vk::kLeft, Mod::Down, Mod::Any, true, keycmd::wordLeft},
    {vk::kLeft, Mod::Up, Mod::Any, true, keycmd::charLeft},
    {vk::kRight, Mod::Down, Mod::Any, true, keycmd::wordRight},
    {vk::kRight, Mod::Up, Mod::Any, true, keycmd::charRight},
    {vk::kUp, Mod::Down, Mod::Any, true, keycmd::viewUp},
    {vk::kUp, Mod::Up, Mod::Any, true, keycmd::lineUp},
    {vk::kDown, Mod::Down, Mod::Any, true, keycmd::viewDown},
    {vk::kDown, Mod::Up, Mod::Any, true, keycmd::lineDown},
    {vk::kPrior, Mod::Down, Mod::Any, true, keycmd::documentStart},
    {vk::kPrior, Mod::Up, Mod::Any, true, keycmd::pageUp},
    {vk::kNext, Mod::Down, Mod::Any, true, keycmd::documentEnd},
    {vk::kNext, Mod::Up, Mod::Any, true, keycmd::pageDown},
    {vk::kHome, Mod::Down, Mod::Any, true, keycmd::lineStart},
    {vk::kHome, Mod::Up, Mod::Any, true, keycmd::textStart},
    {vk::kEnd, Mod::Any, Mod::Any, true, keycmd::lineEnd},
    {vk::kTab, Mod::Any, Mod::Down, true, keycmd::previousTabStop, true},
    {vk::kTab, Mod::Any, Mod::Up, true, keycmd::nextTabStop, true},
    {vk::kReturn, Mod::Down, Mod::Down, true, keycmd::toggleLineInsert, true},
    {vk::kReturn, Mod::Down, Mod::Up, true, keycmd::splitLine, true},
    {vk::kReturn, Mod::Up, Mod::Down, true, keycmd::enterLineInsert, true},
    {vk::kReturn, Mod::Up, Mod::Up, true, keycmd::enter, true},
    {vk::kBack, Mod::Any, Mod::Any, true, keycmd::backspace, true},
    {vk::kDelete, Mod::Any, Mod::Any, true, keycmd::deleteKey, true},
    {vk::kInsert, Mod::Down, Mod::Any, true, keycmd::copyKey, true},
    {vk::kInsert, Mod::Up, Mod::Down, true, keycmd::pasteKey, true},
    {vk::kInsert, Mod::Up, Mod::Up, true, keycmd::toggleInsert, true},
    // The Applications key: the context menu at the cursor, not recorded.
    {vk::kApps, Mod::Any, Mod::Any, false, keycmd::contextMenuKey},
};

const KeyBinding* keyBinding(int key, bool shift, bool ctrl) {
    for (const KeyBinding& b : kKeyTable) {
        if (b.key == key && modMatches(b.ctrl, ctrl) && modMatches(b.shift, shift)) return &b;
    }
    return nullptr;
}

// Ctrl alone with these keys runs a command: digits and the German layout's
// O-umlaut, A-umlaut, minus, comma and period.
bool isCtrlKeyCommand(int key) {
    return (key >= '0' && key <= '9') || key == vk::kOe || key == vk::kAe || key == vk::kMinus ||
           key == vk::kComma || key == vk::kPeriod;
}

// The German keys of the command table by the character they give. A key is
// known by its character first: Wine on a German X layout reports the keys
// with the codes of their US positions (the U-umlaut as 189, the minus key's
// code), and Ctrl+#, Ctrl++ bring no Ctrl character there.
struct ChordChar {
    int ch;    // the key's character without modifiers, lower case
    int code;  // its command
};
constexpr ChordChar kChordChars[] = {
    {0xF6, vk::kOe}, {0xE4, vk::kAe}, {0xFC, 27}, {'#', 28},
    {'+', 29},       {',', vk::kComma}, {'-', vk::kMinus}, {'.', vk::kPeriod},
};

// The Ctrl character of a command run from its key-down, which the
// character message that may follow must not run again; 0 for none.
int chordCharRun = 0;

// The codes of the tools above the view (the info tools' Ctrl+4/5/6, Ctrl+I
// and Ctrl+O among them) come with the key map.
constexpr KeyCommand kCommandTable[] = {
    {28, keycmd::braceBlock},
    {29, keycmd::squareBrackets},
    {32, keycmd::insertBlank},
    {'0', keycmd::charLiteralZero},
    {'1', keycmd::typeDate},
    {'2', keycmd::continueNumbering},
    {'9', keycmd::closeBrackets},
    {'A', keycmd::joinNextLine},
    {'D', keycmd::openNameAtCursor},
    {'E', keycmd::restoreLine},
    {'F', keycmd::searchWithDialog, true},
    {'G', keycmd::upperAtCursor},
    {'H', keycmd::rememberPosition},
    {'J', keycmd::returnToPosition},
    {'K', keycmd::lowerAtCursor},
    {'L', keycmd::outdent},
    {'M', keycmd::selectWord, true},
    {'N', keycmd::openLine},
    {'Q', keycmd::restoreSnapshot},
    {'R', keycmd::indent},
    {'S', keycmd::postSave},
    {'U', keycmd::typePiece},
    {'V', keycmd::paste},
    {'W', keycmd::searchAgain},
    {'X', keycmd::cutRun, true},
    {'Y', keycmd::deleteLine},
    {'Z', keycmd::deleteToLineEnd},
    {vk::kPeriod, keycmd::postPositionDialog},
    {vk::kOe, keycmd::commentPair},
    {vk::kAe, keycmd::quotePair},
};

// The keys the tools above bound (keyMapInstall).
KeyMap toolKeys;

const KeyCommand* commandBinding(int code) {
    for (const KeyCommand& b : kCommandTable) {
        if (b.code == code) return &b;
    }
    for (int i = 0; i < toolKeys.commandCount; ++i) {
        if (toolKeys.commands[i].code == code) return &toolKeys.commands[i];
    }
    return nullptr;
}

// The key itself, within one level of nesting. True when the key ran to its
// end (the marking is then brought up to date); *extend: whether it may
// extend the in-line mark.
bool keyDownActs(int key, bool shift, bool ctrl, bool alt, bool* extend) {
    EditAction action;
    DepthScope depth;
    if (ctrl && key >= 'A' && key <= 'Z') {
        // Ctrl+Shift+letter and Ctrl+Alt+letter arrive as characters.
        if (!shift && !alt) {
            recordKey(kKeyEventVirtual, key, shift, ctrl, alt);
            controlCommand(key);
        }
        return false;
    }
    if (ctrl && !shift && !alt) {
        if (const int code = ctrlChordCode(key)) {
            recordKey(kKeyEventVirtual, key, shift, ctrl, alt);
            if (code < 32 && keyDepth == 1) chordCharRun = code;
            controlCommand(code);
            return false;
        }
    }
    *extend = shift;
    if (const KeyBinding* binding = keyBinding(key, shift, ctrl)) {
        if (binding->noExtend) *extend = false;
        if (binding->recorded) recordKey(kKeyEventVirtual, key, shift, ctrl, alt);
        if (binding->act != nullptr) binding->act(keycmd::KeyPress{shift, ctrl});
    }
    refreshAll();
    return true;
}

}  // namespace

void keyDown(int key, bool shift, bool ctrl, bool alt) {
    // The user's own key (depth 1) starts from the cursor as it stands and
    // moves the in-line mark after it acted; nested keys do neither.
    const bool topLevel = keyDepth == 0;
    if (topLevel) {
        chordCharRun = 0;
        markAnchorSet();
    }
    bool extend = false;
    if (keyDownActs(key, shift, ctrl, alt, &extend) && topLevel) markingUpdate(extend);
}

void keyChar(int ch, bool shift, bool ctrl, bool alt) {
    if (keyDepth == 0) {
        // The Ctrl character of a German key whose key-down ran its command.
        const bool ranAlready = ctrl && !alt && ch == chordCharRun;
        chordCharRun = 0;
        if (ranAlready) return;
    }
    EditAction action;
    DepthScope depth;
    if (ch >= 32 && ch <= 255 && (!ctrl || alt)) {
        recordKey(kKeyEventChar, ch, shift, ctrl, alt);
        // A tool (the adder) may take the key instead of the text.
        const bool taken = toolKeys.charTaken != nullptr && toolKeys.charTaken(ch);
        if (!taken) {
            if (markLineCount() == 1) markDeleteSpan(false);  // typing replaces a mark in one line
            typeChar(ch, 1);
        }
    } else if (ctrl && !alt) {
        if (shift) {
            // Ctrl+Shift+character: its phrase, replacing a mark in one line.
            recordKey(kKeyEventChar, ch, shift, ctrl, alt);
            if (toolKeys.shiftChar != nullptr) toolKeys.shiftChar(ch);
        } else if (ch >= 27 && ch <= 32) {
            recordKey(kKeyEventChar, ch, shift, ctrl, alt);
            controlCommand(ch);
        }
    }
    refreshAll();
}

void controlCommand(int code) {
    EditAction action;
    // A command run from outside key handling (the menu) still presses its
    // keys as nested keys.
    const bool outside = keyDepth == 0;
    if (outside) ++keyDepth;
    if (const KeyCommand* binding = commandBinding(code)) {
        if (binding->run != nullptr) {
            if (!binding->usesMark) markClear();
            binding->run();
        }
    }
    refreshAll();
    if (outside) --keyDepth;
}

void keyDownNested(int key, bool shift, bool ctrl) {
    DepthScope depth;
    keyDown(key, shift, ctrl, false);
}

void keyMapInstall(const KeyMap& map) { toolKeys = map; }

void keyLineMark(int on) {
    if (toolKeys.lineMark != nullptr) toolKeys.lineMark(on);
}

int ctrlChordCode(int key) {
    const bool numericPad = key >= vk::kNumpadFirst && key <= vk::kNumpadLast;
    if (!numericPad) {
        const int ch = lower_char(plat_key_char(key));
        for (const ChordChar& c : kChordChars) {
            if (c.ch == ch) return c.code;
        }
    }
    return isCtrlKeyCommand(key) ? key : 0;
}
