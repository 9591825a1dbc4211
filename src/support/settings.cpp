#include "support/settings.h"

#include <cstdio>
#include <cstring>

void configKeyName(char* key, const char* format, int n) {
    std::snprintf(key, CFG_KEY_MAX + 1, format, n);
}

// The numbers' defaults as the ini holds them.
static_assert(CFG_DEFAULT_QUOTE == 0 && CFG_DEFAULT_TAB_STEP == 8 && CFG_DEFAULT_INDENT == 2,
              "the template's number defaults below follow these");

const SettingKey settingKeys[] = {
    {CFG_SECTION_GLOBAL, CFG_KEY_MAIN_WINDOW, 0, nullptr, "Lage des zuletzt geschlossenen Fensters"},
    {CFG_SECTION_GLOBAL, CFG_KEY_BG_COLOUR, 0, CFG_DEFAULT_BG_COLOUR, "Hintergrund: Rot Gr\xFCn Blau"},
    {CFG_SECTION_GLOBAL, CFG_KEY_MARK_COLOUR, 0, CFG_DEFAULT_MARK_COLOUR, "blockmarkierte Zeilen"},
    {CFG_SECTION_GLOBAL, CFG_KEY_BLOCK_COLOUR, 0, CFG_DEFAULT_BLOCK_COLOUR, "Markierung in der Zeile"},
    {CFG_SECTION_GLOBAL, CFG_KEY_PRINT_FONT, 0, "", "Druckerschrift; leer: die des Druckers"},
    {CFG_SECTION_OPTION, CFG_KEY_QUOTE, 0, "0", "Anf.Zeichen: 0 aus, 1 an"},
    {CFG_SECTION_OPTION, CFG_KEY_TAB_STEP, 0, "8", "Abstand der Tabstopps, 2 bis 16"},
    {CFG_SECTION_OPTION, CFG_KEY_INDENT, 0, "2", "Schritt von Strg+R und Strg+L, 2 bis 8"},
    {CFG_SECTION_INSTALLATION, CFG_KEY_BAUKASTEN, 0, "", "Katalog des Baukastens (ohne Laufwerk: im Programmverzeichnis)"},
    {CFG_SECTION_INSTALLATION, CFG_KEY_FLOSKELN, 0, "", "K\xFCrzelliste f\xFCr Strg+Komma (ohne Laufwerk: im Programmverzeichnis)"},
    {CFG_SECTION_INSTALLATION, CFG_KEY_LIB_INFO_A, 0, "", "Befehlszeile lib-Info A"},
    {CFG_SECTION_INSTALLATION, CFG_KEY_LIB_INFO_B, 0, "", "Befehlszeile lib-Info B"},
    {CFG_SECTION_INSTALLATION, CFG_KEY_LIB_INFO_C, 0, "", "Befehlszeile lib-Info C"},
    {CFG_SECTION_INSTALLATION, CFG_KEY_PRO_INFO, 0, "", "Befehlszeile pro-Info"},
    {CFG_SECTION_INSTALLATION, CFG_KEY_LINT_BAT, 0, "", "Batchdatei f\xFCr Lint"},
    {CFG_SECTION_INSTALLATION, CFG_KEY_ARCHIV, 0, "", "Archivkopie"},
    {CFG_SECTION_FLOSKEL, CFG_KEY_PHRASE_FORMAT, CFG_PHRASES, "", "Floskel auf Strg+Umschalt und der Taste"},
    {CFG_SECTION_DAUER_DIR, CFG_KEY_DIR_FORMAT, CFG_DIRECTORIES, "", "feste Verzeichnisse der Verzeichnisleiste"},
    {CFG_SECTION_ZUSAETZE, CFG_KEY_EXT_FORMAT, CFG_EXTENSIONS, "", "Endungen, die die Verzeichnisleiste nicht zeigt"},
    {CFG_SECTION_WINDOW, CFG_KEY_POSITION_FORMAT, CFG_SLOTS, nullptr, "Fensterlage je laufender Kopie"},
    {CFG_SECTION_WINDOW, CFG_KEY_IN_USE_FORMAT, CFG_SLOTS, "0", "1: eine laufende Kopie h\xE4lt die Fensterlage"},
};
const int settingKeyCount = static_cast<int>(sizeof settingKeys / sizeof settingKeys[0]);

void settingKeyName(const SettingKey& entry, int n, char* key) {
    if (entry.count == 0) {
        std::snprintf(key, CFG_KEY_MAX + 1, "%s", entry.key);
    } else if (std::strstr(entry.key, "%c")) {
        std::snprintf(key, CFG_KEY_MAX + 1, entry.key, CFG_PHRASE_FIRST + n);
    } else {
        configKeyName(key, entry.key, n);
    }
}
