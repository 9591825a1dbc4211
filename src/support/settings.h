// The settings file's table: every section and key with its default, for
// every floor that reads a key. What the shell does with them (the placement
// slots, the extension patterns, the settings dialogs) is in shell/config.h.
#pragma once

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

// ---------------------------------------------------------------- every key, for the template

// One key of the settings file, or a numbered family: key is then a format
// ("Dir%d" numbered from 0, "S-C-%c" with the characters from CFG_PHRASE_FIRST)
// and count its keys.
struct SettingKey {
    const char* section;
    const char* key;
    int count;            // 0: one key
    const char* value;    // the default; nullptr: none, the program writes the key
    const char* comment;  // what it is, for the commented template (German)
};
// Every section and key the program reads, section by section, with its default.
extern const SettingKey settingKeys[];
extern const int settingKeyCount;
// The name of key number n of an entry (the key itself when it is not numbered)
// into key (CFG_KEY_MAX + 1 bytes).
void settingKeyName(const SettingKey& entry, int n, char* key);
