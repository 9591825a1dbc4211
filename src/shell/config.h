// The configuration: the extension patterns that hide files, the window placement slots
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
#include "support/settings.h"  // the sections, keys and defaults

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
// The directory panel hides files by these patterns from now on.
void extensionsInstall();

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
