// y8_ini_template: the commented settings file shipped beside y8.exe, written from the
// program's own table of keys and defaults (support/settings.h), and its check.
//   y8_ini_template [Section.Key=value ...]           the template on stdout (CR LF, Windows-1252)
//   y8_ini_template --check FILE [Section.Key=value ...]
//       reads every key of the table from FILE with the program's own ini reader and
//       fails (exit 1) unless each holds its default, or the value given for it.
#include <cstdio>
#include <cstring>

#include "support/inifile.h"
#include "support/settings.h"

namespace {

struct Override {
    const char* section;
    int sectionLength;
    const char* key;
    int keyLength;
    const char* value;
};
constexpr int kOverridesMax = 16;
Override overrides[kOverridesMax];
int overrideCount = 0;

bool addOverride(const char* text) {
    const char* dot = std::strchr(text, '.');
    const char* equals = dot ? std::strchr(dot, '=') : nullptr;
    if (!equals || overrideCount == kOverridesMax) return false;
    overrides[overrideCount++] = {text, static_cast<int>(dot - text), dot + 1,
                                  static_cast<int>(equals - dot - 1), equals + 1};
    return true;
}

bool sameName(const char* a, int length, const char* b) {
    return static_cast<int>(std::strlen(b)) == length && std::strncmp(a, b, length) == 0;
}

// The value the template gives key in section: a value given for it, else the default
// ("" for a key without one).
const char* valueOf(const SettingKey& entry, const char* key) {
    for (int i = 0; i < overrideCount; ++i) {
        const Override& o = overrides[i];
        if (sameName(o.section, o.sectionLength, entry.section) && sameName(o.key, o.keyLength, key)) {
            return o.value;
        }
    }
    return entry.value ? entry.value : "";
}

bool given(const SettingKey& entry, const char* key) {
    return entry.value || std::strcmp(valueOf(entry, key), "") != 0;
}

void writeTemplate() {
    std::printf(
        "; Y8.ini: die Einstellungen des ZEMO Editors Y8.\r\n"
        "; Beim ersten Start kopiert Y8 diese Datei aus seinem Verzeichnis in das Windows-\r\n"
        "; Verzeichnis und liest und schreibt sie dort. Jeder Schl\xFCssel steht mit seinem\r\n"
        "; Standardwert; Schl\xFCssel hinter \";\" schreibt das Programm selbst.\r\n");
    const char* section = "";
    for (int i = 0; i < settingKeyCount; ++i) {
        const SettingKey& entry = settingKeys[i];
        if (std::strcmp(section, entry.section) != 0) {
            section = entry.section;
            std::printf("\r\n[%s]\r\n", section);
        }
        std::printf("; %s\r\n", entry.comment);
        for (int n = 0; n < (entry.count ? entry.count : 1); ++n) {
            char key[CFG_KEY_MAX + 1];
            settingKeyName(entry, n, key);
            std::printf("%s%s=%s\r\n", given(entry, key) ? "" : ";", key, valueOf(entry, key));
        }
    }
}

int check(const char* path) {
    int wrong = 0;
    for (int i = 0; i < settingKeyCount; ++i) {
        const SettingKey& entry = settingKeys[i];
        for (int n = 0; n < (entry.count ? entry.count : 1); ++n) {
            char key[CFG_KEY_MAX + 1];
            settingKeyName(entry, n, key);
            char value[256];
            inifile_get(path, entry.section, key, value, sizeof value);
            if (std::strcmp(value, valueOf(entry, key)) != 0) {
                std::fprintf(stderr, "%s: [%s] %s is \"%s\", not \"%s\"\n", path, entry.section, key, value,
                             valueOf(entry, key));
                ++wrong;
            }
        }
    }
    return wrong == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    const char* checked = nullptr;
    if (argc > 2 && std::strcmp(argv[1], "--check") == 0) {
        checked = argv[2];
        first = 3;
    }
    for (int i = first; i < argc; ++i) {
        if (!addOverride(argv[i])) {
            std::fprintf(stderr, "usage: y8_ini_template [--check FILE] [Section.Key=value ...]\n");
            return 2;
        }
    }
    if (checked) return check(checked);
    writeTemplate();
    return 0;
}
