// The phrases on the Ctrl+Shift keys, the abbreviation list and the portable
// half of the dialog "Floskeln".
#include "tools/phrases.h"

#include <cstdio>
#include <cstring>

#include "document/linestore.h"
#include "support/platform.h"
#include "resources/resource.h"
#include "support/settings.h"
#include "support/files.h"
#include "support/profile.h"
#include "support/strfunc.h"
#include "view/editing.h"
#include "view/marking.h"
#include "view/refresh.h"

std::array<std::array<char, PHRASE_MAX + 1>, PHRASE_COUNT> phraseTable{};
bool phrasesLoaded = false;

const std::array<const char*, PHRASE_FIELDS> standardPhrases = {
    "default:_", "break;",   "case_",    "#define_", "ERROR",        "FALSE",     "struct_",
    "else_",     "#include_~?~", "int_",  "char_",    "for ( i=0; i<?; i++ )", "movmem(_", "setmem(_",
    "sizeof(",   "extern_",  "static_",  "return",   "switch (_",    "TRUE",      "continue;",
    "/* @@@ */", "while (_", "",         "",         ""};

namespace {

// The abbreviation list: the file's first 100 lines, 78 characters each, read
// once. An empty first entry becomes "?" after reading.
struct AbbrevList {
    bool loaded = false;
    char lines[ABBREV_LINES][ABBREV_LINE_MAX + 1] = {};
};
AbbrevList abbrevs;

int slot(int code) { return code & (PHRASE_COUNT - 1); }

void phrasesLoad() {
    if (phrasesLoaded) return;
    for (int i = 0; i < PHRASE_COUNT; ++i) {
        char key[8];
        phraseKeyName(key, i);
        ini_read(CFG_SECTION_FLOSKEL, key, phraseTable[i].data(), PHRASE_MAX + 1);
    }
    phrasesLoaded = true;
}

// "_" becomes a blank, "~" a double quote; every other character stays.
void applyNotation(char* s) {
    for (; *s != '\0'; ++s) {
        if (*s == '_') *s = ' ';
        else if (*s == '~') *s = '"';
    }
}

void abbrevLoad() {
    if (abbrevs.loaded) return;
    abbrevs = AbbrevList{};
    char path[FILE_PATH_MAX + 1];
    ini_read_path(CFG_SECTION_INSTALLATION, CFG_KEY_FLOSKELN, path);
    LineFile file;
    if (path[0] != '\0' && lf_open(&file, path) >= 0) {
        for (int i = 0; i < ABBREV_LINES; ++i) {
            if (lf_gets(&file, abbrevs.lines[i]) < 0) break;
        }
        lf_close(&file);
    }
    if (abbrevs.lines[0][0] == '\0') str_ncopy(abbrevs.lines[0], "?", ABBREV_LINE_MAX);
    abbrevs.loaded = true;
}

int cursorColumnNow() { return firstCol + cursorCol; }

// The characters phrase_type types of text: all but "?".
int typedLength(const char* text) {
    int n = 0;
    for (int i = 0; text[i] != '\0' && i < PHRASE_TYPED_MAX; ++i) {
        if (text[i] != '?') ++n;
    }
    return n;
}

// What typing n characters at column at can add to the cursor row at most,
// whatever is deleted from the row first: each typed character lengthens the
// row by one at most, and deleting never lengthens it.
int growthAtMost(int at, int n) {
    LineRecord row;
    rowGetRaw(cursorRow, &row);
    const int length = trimmedTextLength(row.text);
    const int gap = at > length ? at - length : 0;
    const int most = gap + n;
    return most < kLineChars - length ? most : kLineChars - length;
}

}  // namespace

void phraseKeyName(char* key, int code) {
    std::snprintf(key, 8, CFG_KEY_PHRASE_FORMAT, CFG_PHRASE_FIRST + slot(code));
}

void phrase_get(int code, char* out) {
    phrasesLoad();
    str_ncopy(out, phraseTable[slot(code)].data(), PHRASE_MAX);
    applyNotation(out);
}

void phrase_set(int code, const char* text) {
    phrasesLoad();
    str_ncopy(phraseTable[slot(code)].data(), text != nullptr ? text : "", PHRASE_MAX);
}

int phrase_type(const char* text) {
    if (text == nullptr) return 0;
    // The characters to type, and how many of them follow the last "?".
    char typed[PHRASE_TYPED_MAX + 1];
    int n = 0;
    int afterMark = 0;
    bool marked = false;  // without "?" the cursor stays behind the phrase
    for (int i = 0; text[i] != '\0' && i < PHRASE_TYPED_MAX; ++i) {
        if (text[i] == '?') {
            marked = true;
            afterMark = 0;
        } else {
            typed[n++] = text[i];
            if (marked) ++afterMark;
        }
    }
    typed[n] = '\0';
    // typeText measures the whole text first and refuses it as a whole.
    if (n > 0 && typeText(typed) != 0) return -1;
    for (int i = 0; i < afterMark; ++i) cursorToColumn(cursorColumnNow() - 1);
    return 0;
}

namespace {

// The texts posted with command 1402 that wait for it; token 0 is a free slot.
struct PostedText {
    std::intptr_t token = 0;
    char text[PHRASE_TYPED_MAX + 1] = {};
};
PostedText postedTexts[PHRASE_POST_SLOTS];
std::uint32_t lastToken = 0;
int nextSlot = 0;

}  // namespace

void phrase_post(const char* text) {
    // The oldest slot is taken over when every slot waits: its command then
    // finds nothing, and no text is ever typed twice or at a wrong address.
    PostedText& slot = postedTexts[nextSlot];
    nextSlot = (nextSlot + 1) % PHRASE_POST_SLOTS;
    if (++lastToken == 0) lastToken = 1;
    slot.token = static_cast<std::intptr_t>(lastToken);
    str_ncopy(slot.text, text != nullptr ? text : "", PHRASE_TYPED_MAX);
    plat_post_command(CMD_TYPE_PHRASE, slot.token);
}

bool phrasePostedTake(std::intptr_t token, char* out) {
    out[0] = '\0';
    if (token == 0) return false;
    for (PostedText& slot : postedTexts) {
        if (slot.token != token) continue;
        std::memcpy(out, slot.text, sizeof slot.text);
        slot.token = 0;
        return true;
    }
    return false;
}

int abbrev_expand(const char* word, char* out) {
    out[0] = '\0';
    if (word == nullptr) return 0;
    abbrevLoad();
    for (int i = 0; i < ABBREV_LINES; ++i) {
        char rest[ABBREV_LINE_MAX + 1];
        char first[ABBREV_LINE_MAX + 1];
        str_ncopy(rest, abbrevs.lines[i], ABBREV_LINE_MAX);
        str_next_word(first, rest);
        if (str_cmp_nocase(first, word) != 0) continue;
        str_ncopy(out, rest, ABBREV_LINE_MAX);
        applyNotation(out);
        return static_cast<int>(std::strlen(out));
    }
    return 0;
}

void phrasesForget() {
    phrasesLoaded = false;
    phraseTable = {};
    abbrevs.loaded = false;
}

// ---------------------------------------------------------------- the two keys

void phraseKey(int ch) {
    char phrase[PHRASE_MAX + 1];
    phrase_get(ch, phrase);
    if (phrase[0] == '\0') return;  // nothing to type: the text and its mark stay
    if (markLineCount() == 1) {
        // The phrase replaces the mark: only when the store will take the
        // phrase is the mark deleted.
        const MarkInfo mark = markInfo();
        int at = cursorColumnNow();
        if (mark.startLine == mark.endLine && mark.startLine == topLine + cursorRow) {
            at = mark.startCol < mark.endCol ? mark.startCol : mark.endCol;
        }
        if (!editFits(growthAtMost(at, typedLength(phrase)))) return;
        markDeleteSpan(false);
    }
    phrase_type(phrase);
}

void abbrevKey() {
    char word[kLineChars + 1];
    const int n = wordLeftOfCursor(word, sizeof word);
    if (n == 0) return;
    char phrase[ABBREV_LINE_MAX + 1];
    if (abbrev_expand(word, phrase) == 0) return;  // an unknown word stays
    // Measured before the word goes, so that a refusal keeps it.
    if (!editFits(growthAtMost(cursorColumnNow() - n, typedLength(phrase)))) return;
    // The word goes as Backspace takes it, character by character, each
    // ending with the refresh of a key.
    for (int i = 0; i < n; ++i) {
        deleteCharLeft();
        refreshAll();
    }
    phrase_type(phrase);
}

// ---------------------------------------------------------------- the dialog

void phraseFieldsLoad(PhraseTexts* texts) {
    phrasesLoad();
    for (int i = 0; i < PHRASE_FIELDS; ++i) str_ncopy((*texts)[i].data(), phraseTable[i + 1].data(), PHRASE_MAX);
}

void phraseFieldsSave(const PhraseTexts& texts) {
    phrasesLoad();
    for (int i = 0; i < PHRASE_FIELDS; ++i) {
        char value[PHRASE_MAX + 1];
        str_ncopy(value, texts[i].data(), PHRASE_MAX);
        str_trim(value);
        str_ncopy(phraseTable[i + 1].data(), value, PHRASE_MAX);
        char key[8];
        phraseKeyName(key, i + 1);
        ini_write(CFG_SECTION_FLOSKEL, key, value);
    }
}

void phraseFieldsStandard(PhraseTexts* texts) {
    for (int i = 0; i < PHRASE_FIELDS; ++i) str_ncopy((*texts)[i].data(), standardPhrases[i], PHRASE_MAX);
}
