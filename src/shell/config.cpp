// The configuration: extension patterns, placement slots and the
// field tables of the three settings dialogs. Everything here reaches the
// settings file through the ini functions of support/profile.h.
#include "shell/config.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "document/dirpanel.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/strfunc.h"

namespace {

// ---------------------------------------------------------------- field tables

// The key of a numbered format with n (n >= 0) put in at "%d", or the format
// itself when it has none; built at compile time for the tables.
constexpr ConfigField makeField(int id, const char* section, const char* format, int n, int shown, int saved) {
    ConfigField field{};
    field.id = id;
    field.section = section;
    field.shown = shown;
    field.saved = saved;
    int k = 0;
    for (const char* p = format; *p && k < CFG_KEY_MAX; ++p) {
        if (p[0] == '%' && p[1] == 'd') {
            char digits[12] = {};
            int count = 0;
            int rest = n;
            do {
                digits[count++] = static_cast<char>('0' + rest % 10);
                rest /= 10;
            } while (rest > 0 && count < 11);
            while (count > 0 && k < CFG_KEY_MAX) field.key[k++] = digits[--count];
            ++p;
        } else {
            field.key[k++] = *p;
        }
    }
    return field;
}

// Fields 3000, 3010, ... for the keys format with 0, 1, ...
template <int N>
constexpr std::array<ConfigField, N> numberedFields(const char* section, const char* format, int shown, int saved) {
    std::array<ConfigField, N> fields{};
    for (int i = 0; i < N; ++i) fields[i] = makeField(CFG_FIELD_FIRST + 10 * i, section, format, i, shown, saved);
    return fields;
}

// The whole stored directory is shown (the panel itself takes only the first
// 40): a field filled with less would cut every longer directory on the next
// "&Speichern" of an untouched dialog.
constexpr auto kDirectoryFields = numberedFields<CFG_DIRECTORIES>(CFG_SECTION_DAUER_DIR, CFG_KEY_DIR_FORMAT,
                                                                  CFG_DIRECTORY_SAVED, CFG_DIRECTORY_SAVED);
constexpr auto kExtensionFields = numberedFields<CFG_EXTENSIONS>(CFG_SECTION_ZUSAETZE, CFG_KEY_EXT_FORMAT,
                                                                 CFG_EXTENSION_MAX, CFG_EXTENSION_MAX);
constexpr std::array<ConfigField, 3> kColourFields = {
    makeField(3000, CFG_SECTION_GLOBAL, CFG_KEY_BG_COLOUR, 0, CFG_FIELD_MAX, CFG_FIELD_MAX),
    makeField(3010, CFG_SECTION_GLOBAL, CFG_KEY_MARK_COLOUR, 0, CFG_FIELD_MAX, CFG_FIELD_MAX),
    makeField(3100, CFG_SECTION_GLOBAL, CFG_KEY_PRINT_FONT, 0, CFG_FIELD_MAX, CFG_FIELD_MAX),
};

constexpr bool sameText(const char* a, const char* b) {
    for (; *a && *a == *b; ++a) ++b;
    return *a == *b;
}
static_assert(kDirectoryFields[0].id == 3000 && sameText(kDirectoryFields[0].key, "Dir0") &&
                  kDirectoryFields[19].id == 3190 && sameText(kDirectoryFields[19].key, "Dir19"),
              "the directory fields run 3000 ... 3190 with the keys Dir0 ... Dir19");
static_assert(kExtensionFields[12].id == 3120 && sameText(kExtensionFields[12].key, "Ext12") &&
                  kColourFields[2].id == 3100 && sameText(kColourFields[2].key, "PrintFont"),
              "each field's control id goes with its key");

// ---------------------------------------------------------------- module state

// The extension patterns as loaded: upper-cased, trimmed, at most 10 characters.
struct ExtensionTable {
    char patterns[CFG_EXTENSIONS][CFG_EXTENSION_MAX + 1];
};
ExtensionTable extensions;

// The placement slot this copy took; none until slotChoose finds a free one.
struct SlotState {
    bool owned;  // a slot is taken and not yet released
    int slot;    // which one, while owned
};
SlotState slots;

// The file of the slots: CFG_SLOT_FILE unless a test chose another.
char slotFileName[FILE_PATH_MAX + 1];

// A value cut to limit characters and trimmed on both sides (cutting may leave
// blanks at the end).
void trimAndCut(char* text, int limit) {
    str_trim(text);
    if (static_cast<int>(std::strlen(text)) > limit) text[limit] = '\0';
    str_trim_right(text);
}

int slotFlag(int slot) {
    char key[CFG_KEY_MAX + 1];
    configKeyName(key, CFG_KEY_IN_USE_FORMAT, slot);
    char value[INI_BUF_SIZE];
    ini_read_file(slotFile(), CFG_SECTION_WINDOW, key, value);
    // Read as a number: missing, empty or no digits at all count as free.
    return static_cast<int>(std::strtol(value, nullptr, 10));
}

void slotFlagSet(int slot, const char* value) {
    char key[CFG_KEY_MAX + 1];
    configKeyName(key, CFG_KEY_IN_USE_FORMAT, slot);
    ini_write_file(slotFile(), CFG_SECTION_WINDOW, key, value);
}

bool validSlot(int slot) { return slot >= 0 && slot < CFG_SLOTS; }

}  // namespace

const ConfigDialog configDirectories = {"DB1600", kDirectoryFields.data(), CFG_DIRECTORIES};
const ConfigDialog configExtensions = {"DB1603", kExtensionFields.data(), CFG_EXTENSIONS};
const ConfigDialog configColours = {"DB1604", kColourFields.data(), static_cast<int>(kColourFields.size())};

// ---------------------------------------------------------------- extension patterns

void extensionsLoad() {
    for (int i = 0; i < CFG_EXTENSIONS; ++i) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, CFG_KEY_EXT_FORMAT, i);
        char value[INI_BUF_SIZE];
        ini_read(CFG_SECTION_ZUSAETZE, key, value);
        trimAndCut(value, CFG_EXTENSION_MAX);
        str_upper(value);
        std::strcpy(extensions.patterns[i], value);
    }
}

int extensionAllowed(const char* ext) {
    if (!extensions.patterns[0][0]) extensionsLoad();
    if (!ext) ext = "";
    for (const auto& pattern : extensions.patterns) {
        if (pattern[0] && wild_match_nocase(pattern, ext)) return 0;
    }
    return 1;
}

const char* extensionPattern(int i) { return i >= 0 && i < CFG_EXTENSIONS ? extensions.patterns[i] : ""; }

void extensionsForget() { extensions = ExtensionTable{}; }

void extensionsInstall() {
    static constexpr DirHiddenFiles kPatterns = {extensionsLoad, extensionAllowed};
    dirHiddenFilesSet(&kPatterns);
}

// ---------------------------------------------------------------- placement slots

int slotChoose(int first) {
    // Command 1008 comes once; should it come again, the copy keeps its slot
    // rather than holding two.
    if (slots.owned) return slots.slot;
    if (first == 0) {
        for (int i = 0; i < CFG_SLOTS; ++i) slotFlagSet(i, "0");
    }
    for (int i = 0; i < CFG_SLOTS; ++i) {
        if (slotFlag(i) == 0) {
            slotFlagSet(i, "1");
            slots = SlotState{true, i};
            return i;
        }
    }
    return first;
}

bool slotOwned() { return slots.owned; }

PlacementValues slotDefaultPlacement(const DesktopRect& desktop) {
    const int centreX = desktop.left + (desktop.right - desktop.left) / 2;
    const int centreY = desktop.top + (desktop.bottom - desktop.top) / 2;
    return PlacementValues{0,
                           SLOT_SHOW_NORMAL,
                           -1,
                           -1,
                           -1,
                           -1,
                           centreX - SLOT_DEFAULT_WIDTH / 2,
                           centreY - SLOT_DEFAULT_HEIGHT / 2,
                           centreX + SLOT_DEFAULT_WIDTH / 2,
                           centreY + SLOT_DEFAULT_HEIGHT / 2};
}

PlacementValues slotPlacement(int slot, const DesktopRect& desktop) {
    const PlacementValues fallback = slotDefaultPlacement(desktop);
    if (!validSlot(slot)) return fallback;
    char key[CFG_KEY_MAX + 1];
    configKeyName(key, CFG_KEY_POSITION_FORMAT, slot);
    char text[PLACEMENT_TEXT_SIZE];
    ini_read_file(slotFile(), CFG_SECTION_WINDOW, key, text, sizeof text);
    str_trim(text);
    PlacementValues stored;
    if (!text[0] || !placement_parse(text, &stored)) return fallback;
    // A window without area could not be seen, let alone moved back.
    if (stored.right <= stored.left || stored.bottom <= stored.top) return fallback;
    // 0 would hide the window; numbers past the last show command mean nothing.
    if (stored.showCommand < 1 || stored.showCommand > 11) stored.showCommand = SLOT_SHOW_NORMAL;
    return stored;
}

bool slotStore(int slot, const PlacementValues* placement) {
    if (!slots.owned || slot != slots.slot || !validSlot(slot)) return false;
    if (placement) {
        char key[CFG_KEY_MAX + 1];
        configKeyName(key, CFG_KEY_POSITION_FORMAT, slot);
        char text[PLACEMENT_TEXT_SIZE];
        if (placement_format(*placement, text, sizeof text) > 0) {
            ini_write_file(slotFile(), CFG_SECTION_WINDOW, key, text);
        }
    }
    slotFlagSet(slot, "0");
    slots = SlotState{};
    return true;
}

void slotForget() { slots = SlotState{}; }

void slotFileSet(const char* file) {
    slotFileName[0] = '\0';
    if (file) str_ncopy(slotFileName, file, FILE_PATH_MAX);
}

const char* slotFile() { return slotFileName[0] ? slotFileName : CFG_SLOT_FILE; }

// ---------------------------------------------------------------- settings dialogs

void configFieldsLoad(const ConfigDialog& dialog, ConfigTexts* texts) {
    for (int i = 0; i < CFG_FIELDS_MAX; ++i) (*texts)[i][0] = '\0';
    for (int i = 0; i < dialog.count && i < CFG_FIELDS_MAX; ++i) {
        const ConfigField& field = dialog.fields[i];
        // Read with the field's own width: a stored directory of 80 characters
        // is longer than an ordinary ini value of 79.
        const int size = min_int(field.shown, CFG_FIELD_MAX) + 1;
        ini_read(field.section, field.key, (*texts)[i].data(), size);
    }
}

void configFieldsSave(const ConfigDialog& dialog, const ConfigTexts& texts) {
    for (int i = 0; i < dialog.count && i < CFG_FIELDS_MAX; ++i) {
        const ConfigField& field = dialog.fields[i];
        char value[CFG_FIELD_MAX + 1];
        str_ncopy(value, texts[i].data(), CFG_FIELD_MAX);
        trimAndCut(value, min_int(field.saved, CFG_FIELD_MAX));
        ini_write(field.section, field.key, value);
    }
}

void extensionsStandard(ConfigTexts* texts) {
    for (int i = 0; i < CFG_STANDARD_EXTENSIONS; ++i) {
        str_ncopy((*texts)[i].data(), standardExtensions[i], CFG_FIELD_MAX);
    }
}
