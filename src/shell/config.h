// The configuration: every section and key of the settings file with its
// default, the extension patterns that hide files, the window placement slots
// that let several running copies keep their own positions, and the portable
// halves of the three settings dialogs "Verzeichnisse" (DB1600), "Zusaetze"
// (DB1603) and "Farben, Fonts" (DB1604).
//
// The dialog procedures and the placement calls of the window system are in
// shell/config_win32.h; they only move texts and numbers between the controls
// or the main window and the functions below.
#pragma once

#include <array>

#include "resources/resource.h"
#include "support/profile.h"

// ---------------------------------------------------------------- sections and keys

// The settings file (its name comes from ANW_CONFIG; without a directory it lies
// in the Windows directory).
constexpr const char* CFG_SECTION_GLOBAL = "Global";
constexpr const char* CFG_KEY_MAIN_WINDOW = "MainWindow";   // the placement of the last closed window
constexpr const char* CFG_KEY_BG_COLOUR = "BgFarbe";        // "%d %d %d" text background
constexpr const char* CFG_KEY_MARK_COLOUR = "MarkBgFarbe";  // block-marked lines
constexpr const char* CFG_KEY_BLOCK_COLOUR = "BlockBgFarbe";  // the in-line mark
constexpr const char* CFG_KEY_PRINT_FONT = "PrintFont";       // printer font face; empty by default
constexpr const char* CFG_DEFAULT_BG_COLOUR = "245 245 245";
constexpr const char* CFG_DEFAULT_MARK_COLOUR = "211 211 211";
constexpr const char* CFG_DEFAULT_BLOCK_COLOUR = "176 176 176";
constexpr const char* CFG_HINT_PRINT_FONT = "Monospace 821 BT";  // shown beside the field only

constexpr const char* CFG_SECTION_OPTION = "Option";
constexpr const char* CFG_KEY_QUOTE = "Klammer";     // decimal, 0 by default
constexpr const char* CFG_KEY_TAB_STEP = "TabStep";  // decimal; below 2 means 8
constexpr const char* CFG_KEY_INDENT = "Indent";     // decimal; below 2 means 2
constexpr int CFG_DEFAULT_QUOTE = 0;
constexpr int CFG_DEFAULT_TAB_STEP = 8;
constexpr int CFG_DEFAULT_INDENT = 2;

constexpr const char* CFG_SECTION_INSTALLATION = "Installation";  // tool files and command lines
constexpr const char* CFG_KEY_BAUKASTEN = "BauKasten";
constexpr const char* CFG_KEY_FLOSKELN = "Floskeln";
constexpr const char* CFG_KEY_LIB_INFO_A = "LibInfoA";
constexpr const char* CFG_KEY_LIB_INFO_B = "LibInfoB";
constexpr const char* CFG_KEY_LIB_INFO_C = "LibInfoC";
constexpr const char* CFG_KEY_PRO_INFO = "ProInfo";
constexpr const char* CFG_KEY_LINT_BAT = "LintBAT";
constexpr const char* CFG_KEY_ARCHIV = "Archiv";

// Phrase texts for Ctrl+Shift and a key: "S-C-%c" with '@' + 0 ... '@' + 31.
constexpr const char* CFG_SECTION_FLOSKEL = "Floskel";
constexpr const char* CFG_KEY_PHRASE_FORMAT = "S-C-%c";
constexpr int CFG_PHRASE_FIRST = '@';
constexpr int CFG_PHRASES = 32;

// The permanent directories of the directory panel: "Dir%d", 0 to 19.
constexpr const char* CFG_SECTION_DAUER_DIR = "DauerDir";
constexpr const char* CFG_KEY_DIR_FORMAT = "Dir%d";
constexpr int CFG_DIRECTORIES = 20;
constexpr int CFG_DIRECTORY_SAVED = 80;  // characters a directory is stored with
constexpr int CFG_DIRECTORY_PANEL = 40;  // characters the directory panel takes of one

// The extension patterns of hidden files: "Ext%d", 0 to 19.
constexpr const char* CFG_SECTION_ZUSAETZE = "Zusaetze";
constexpr const char* CFG_KEY_EXT_FORMAT = "Ext%d";
constexpr int CFG_EXTENSIONS = 20;
constexpr int CFG_EXTENSION_MAX = 10;  // characters of one pattern

// The placement slots: a fixed file name (the settings file under the name the
// slots always used), section "Window", keys "Position%d" and "InUse%d".
constexpr const char* CFG_SLOT_FILE = "Y8.INI";
constexpr const char* CFG_SECTION_WINDOW = "Window";
constexpr const char* CFG_KEY_POSITION_FORMAT = "Position%d";
constexpr const char* CFG_KEY_IN_USE_FORMAT = "InUse%d";
constexpr int CFG_SLOTS = 10;

constexpr int CFG_KEY_MAX = 15;  // characters of the longest key name built from a format

// The key of a numbered format ("Dir%d" with 7 gives "Dir7") into key
// (CFG_KEY_MAX + 1 bytes).
void configKeyName(char* key, const char* format, int n);

// ---------------------------------------------------------------- extension patterns

// Reads the 20 patterns "Ext0" ... "Ext19": each trimmed, cut to 10 characters
// and upper-cased; a missing key gives an empty pattern.
void extensionsLoad();
// 0 when ext matches one of the non-empty patterns ('*' any run, '?' one
// character, '#' one digit; letters without case), else 1. The patterns are
// loaded first when the first one is empty.
int extensionAllowed(const char* ext);
// The pattern i as loaded (upper-cased), "" outside 0..19.
const char* extensionPattern(int i);
// Forgets the loaded patterns (all empty): the next extensionAllowed reads them.
void extensionsForget();

// ---------------------------------------------------------------- placement slots

// The desktop rectangle a default placement is centred on.
struct DesktopRect {
    int left, top, right, bottom;
};

constexpr int SLOT_DEFAULT_WIDTH = 600;
constexpr int SLOT_DEFAULT_HEIGHT = 440;
constexpr int SLOT_SHOW_NORMAL = 1;  // the show command of a window shown normally

// Chooses this copy's slot. first is 0 when no other copy was running at start
// (every "InUse" flag is then cleared: slots left taken by copies that ended
// abnormally become free), else 1. The first slot whose "InUse%d" reads 0 is
// written "1" and taken. When none is free the result is first, but the copy
// owns no slot: its end then writes nothing (the copy that holds slot first is
// still running). A copy that already owns a slot keeps it.
int slotChoose(int first);
// True when this copy has taken a slot that it has not yet released.
bool slotOwned();
// The placement of a window without one of its own: shown normally, the normal
// rectangle 600 x 440 centred on desktop; minimized and maximized positions -1.
PlacementValues slotDefaultPlacement(const DesktopRect& desktop);
// The placement to show for slot: "Position%d" read in full; empty after
// trimming, not ten numbers, or a normal rectangle without area gives the
// default. A show command that would hide the window (0) shows it normally.
PlacementValues slotPlacement(int slot, const DesktopRect& desktop);
// At this copy's end: placement written as "Position%d" of slot (none when
// placement is null) and "InUse%d" set to "0". Only when slot is the one this
// copy took (below 10); otherwise nothing is written. True when written.
bool slotStore(int slot, const PlacementValues* placement);
// Forgets the slot taken (tests start as a copy that has taken none).
void slotForget();
// Test seam: the ini file the slots use instead of CFG_SLOT_FILE (null or ""
// for CFG_SLOT_FILE again), so that a test leaves the program's own alone.
void slotFileSet(const char* file);
// The ini file the slots use now.
const char* slotFile();

// ---------------------------------------------------------------- settings dialogs

// DLG_ACTION "&Speichern" saves every field and closes; DLG_CANCEL closes without writing.
constexpr int CFG_STANDARD = 2501;  // "Standard" of DB1603

constexpr int CFG_FIELD_MAX = 80;    // characters of a field's text
constexpr int CFG_FIELDS_MAX = 20;   // fields of the largest dialog
constexpr int CFG_FIELD_FIRST = 3000;  // the first field's control id; the others follow in tens

// One edit field of a settings dialog and the key it shows.
struct ConfigField {
    int id = 0;                       // control id
    const char* section = "";
    char key[CFG_KEY_MAX + 1] = {};
    int shown = 0;                    // characters of the stored value shown
    int saved = 0;                    // characters saved (the field's text limit)
};

// The fields of one settings dialog.
struct ConfigDialog {
    const char* name;                 // template
    const ConfigField* fields;
    int count;
};

extern const ConfigDialog configDirectories;  // DB1600 "Verzeichnisse"
extern const ConfigDialog configExtensions;   // DB1603 "Zusaetze"
extern const ConfigDialog configColours;      // DB1604 "Farben, Fonts"

// The texts of a dialog's fields, in the order of its table.
using ConfigTexts = std::array<std::array<char, CFG_FIELD_MAX + 1>, CFG_FIELDS_MAX>;

// Every field's text from the settings file: the stored value, at most `shown`
// characters of it.
void configFieldsLoad(const ConfigDialog& dialog, ConfigTexts* texts);
// Every field written back: its text trimmed and cut to `saved` characters (an
// empty text writes an empty value; the key stays).
void configFieldsSave(const ConfigDialog& dialog, const ConfigTexts& texts);

constexpr int CFG_STANDARD_EXTENSIONS = 15;
// What "Standard" puts into the first fifteen fields of DB1603.
constexpr std::array<const char*, CFG_STANDARD_EXTENSIONS> standardExtensions = {
    "bak", "obj", "exe", "map", "lib", "dll", "bin", "o", "a", "dlg", "bmp", "png", "gif", "jpg", "bmp"};
// "Standard": the first fifteen texts replaced by the standard list, the last
// five kept; nothing is saved.
void extensionsStandard(ConfigTexts* texts);
