#include "tools/infotools.h"

#include <cstring>

#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/messages.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/settings.h"
#include "support/strfunc.h"
#include "tools/facette.h"
#include "view/marking.h"

InfoTemplates infoTemplates{};

namespace {

bool templatesLoaded = false;

struct InfoKey {
    const char* key;
    const char* standard;  // nullptr: "Standard" leaves the field
};
// In the order of the dialog's fields; the first four are the templates.
constexpr InfoKey kInfoKeys[INFO_FIELDS] = {
    {CFG_KEY_LIB_INFO_A, "D:\\UTI\\WIN\\W6.EXE F:\\DOK\\IFO2\\LIB2.UFO -K=%s -I"},
    {CFG_KEY_LIB_INFO_B, "D:\\UTI\\WIN\\W6.EXE F:\\DOK\\IFO\\LIB.UFO -K=%s -I"},
    {CFG_KEY_LIB_INFO_C, "D:\\UTI\\WIN\\W6.EXE F:\\DOK\\IFO\\LIB.UFO -K=%s -I"},
    {CFG_KEY_PRO_INFO, "D:\\UTI\\WIN\\W6.EXE %s -K=%s -I"},
    {CFG_KEY_BAUKASTEN, "F:\\LIB2\\BAU\\INHALT.TXT"},
    {CFG_KEY_FLOSKELN, "F:\\LIB2\\BAU\\FLOSKEL.TXT"},
    {CFG_KEY_LINT_BAT, nullptr},
    {CFG_KEY_ARCHIV, "D:\\Archiv"},
};

constexpr int kUnlimitedLevels = 100;
constexpr int kLintPathMin = 6;  // shorter directories are not searched for lint.bat

void readField(int i, char* value) {
    ini_read(CFG_SECTION_INSTALLATION, kInfoKeys[i].key, value, INFO_TEMPLATE_MAX + 1);
}

const char* infoTemplate(int kind) {
    if (!templatesLoaded) {
        for (int i = 0; i < INFO_KINDS; ++i) readField(i, infoTemplates[static_cast<size_t>(i)].data());
        templatesLoaded = true;
    }
    return infoTemplates[static_cast<size_t>(kind)].data();
}

void tellRefused(const char* what) {
    message_box_fmt("Nicht gestartet: \"%s\" enth\344lt Zeichen, die nicht sicher \374bergeben werden k\366nnen.", what);
}

// Builds and starts the template's line; a refused word is told.
int startTemplate(int kind, const char* const* args, int count, const char* shown) {
    const char* tmpl = infoTemplate(kind);
    char line[START_LINE_MAX + 1];
    if (program_line(line, sizeof line, tmpl, args, count) < 0) {
        tellRefused(shown);
        return START_REFUSED;
    }
    return run_template(tmpl, args, count);
}

// The word of the callers: the marked text of the line without the blanks
// around it, else the word at the cursor.
void callerWord(char* word, bool marked) {
    if (!marked || markedText(word, INFO_WORD_MAX + 1) == 0 || str_trim(word) == 0) wordAtCursor(word, INFO_WORD_MAX + 1);
}

}  // namespace

void infoTemplatesForget() {
    infoTemplates = InfoTemplates{};
    templatesLoaded = false;
}

int lib_info(int kind, const char* word) {
    if (kind < 0 || kind >= INFO_PRO || !word || !*word) return START_REFUSED;
    char cut[INFO_WORD_MAX + 1];
    str_ncopy(cut, word, INFO_WORD_MAX);
    if (char* paren = std::strchr(cut + 1, '(')) *paren = '\0';
    const char* args[] = {cut};
    return startTemplate(kind, args, 1, cut);
}

int pro_info(const char* word) {
    if (!word || !*word) return START_REFUSED;
    char dir[FILE_PATH_MAX + 1];
    char project[FILE_PATH_MAX + 1];
    const char* names[] = {"Projekt.ufo", "info/Projekt.ufo"};
    if (get_cwd(dir) != 0 || !findUpwards(dir, names, 2, kUnlimitedLevels, 1, project)) return START_REFUSED;
    const char* args[] = {project, word};
    return startTemplate(INFO_PRO, args, 2, word);
}

int lint_run() {
    char batch[FILE_PATH_MAX + 1];
    char dir[FILE_PATH_MAX + 1];
    if (get_cwd(dir) != 0) return START_REFUSED;
    const char* names[] = {"lint.bat"};
    if (!findUpwards(dir, names, 1, kUnlimitedLevels, kLintPathMin, batch)) {
        ini_read(CFG_SECTION_INSTALLATION, CFG_KEY_LINT_BAT, batch, FILE_PATH_MAX + 1);
        str_trim(batch);
        if (batch[0] == '\0') return START_REFUSED;
    }
    // The batch file and the name both reach the command interpreter: one that
    // could not be passed as it is starts nothing.
    char probe[START_LINE_MAX + 1] = "";
    for (const char* text : {static_cast<const char*>(batch), static_cast<const char*>(fileName)}) {
        if (shell_quote_append(probe, sizeof probe, text) < 0) {
            tellRefused(text);
            return START_REFUSED;
        }
    }
    return shell_run(batch, fileName, dir);
}

void infoCommand(int kind) {
    char word[INFO_WORD_MAX + 1];
    callerWord(word, true);
    if (kind == INFO_PRO) pro_info(word);
    else lib_info(kind, word);
}

void infoKeyA() {
    char word[INFO_WORD_MAX + 1];
    callerWord(word, false);
    lib_info(0, word);
}
void infoKeyB() {
    char word[INFO_WORD_MAX + 1];
    callerWord(word, false);
    lib_info(1, word);
}
void infoKeyC() {
    char word[INFO_WORD_MAX + 1];
    callerWord(word, false);
    lib_info(2, word);
}
void infoKeyMarked() { infoCommand(0); }
void infoKeyProject() { infoCommand(INFO_PRO); }
void lintCommand() { lint_run(); }

// --- The dialog ------------------------------------------------------------------------

void infoFieldsLoad(InfoFields* fields) {
    for (int i = 0; i < INFO_FIELDS; ++i) readField(i, (*fields)[static_cast<size_t>(i)].data());
}

void infoFieldsSave(const InfoFields& fields) {
    for (int i = 0; i < INFO_FIELDS; ++i) {
        char value[INFO_TEMPLATE_MAX + 1];
        str_ncopy(value, fields[static_cast<size_t>(i)].data(), INFO_TEMPLATE_MAX);
        str_trim(value);
        ini_write(CFG_SECTION_INSTALLATION, kInfoKeys[i].key, value);
        if (i < INFO_KINDS) std::strcpy(infoTemplates[static_cast<size_t>(i)].data(), value);
    }
    templatesLoaded = true;
}

void infoFieldsStandard(InfoFields* fields) {
    for (int i = 0; i < INFO_FIELDS; ++i) {
        if (kInfoKeys[i].standard) str_ncopy((*fields)[static_cast<size_t>(i)].data(), kInfoKeys[i].standard, INFO_TEMPLATE_MAX);
    }
}
