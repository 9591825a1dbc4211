// The Baukasten's portable half: the catalogue, the building blocks' heads,
// values and insertion, the phrase lists.
#include "tools/baukasten.h"

#include <climits>
#include <cstdint>
#include <cstring>

#include "document/docfile.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/messages.h"
#include "support/profile.h"
#include "support/settings.h"
#include "support/strfunc.h"
#include "tools/phrases.h"
#include "view/editing.h"
#include "view/textview.h"

char blockPath[FILE_PATH_MAX + 1] = "";
char phraseListPath[FILE_PATH_MAX + 1] = "";

namespace {

constexpr int kRecordBytes = 5;  // what a packed line takes besides its text
constexpr int kTextFilter = 20;  // the string of the file boxes' filter list
constexpr int kPhraseKeyX = 'X' & 31;

bool isPlaceholder(const char* line) { return line[0] == '%' && line[1] >= '0' && line[1] <= '9'; }

// Reads the head of the block in file; with head, records its prompts. True
// when the file has a head: the file then stands behind its separator line.
bool headRead(LineFile* file, BlockHead* head) {
    char line[kLineChars + 1];
    bool inHead = false;
    while (lf_read_line(file, line, kLineChars) >= 0) {
        if (!inHead && !isPlaceholder(line)) continue;
        inHead = true;
        if (line[0] != '%') return true;  // the separator
        if (!isPlaceholder(line) || head == nullptr) continue;
        char word[kLineChars + 1];
        str_next_word(word, line);
        str_ncopy(head->prompts[static_cast<std::size_t>(word[1] - '0')].data(), line, BLOCK_VALUE_MAX);
    }
    return inHead;
}

// The text after every %n of text became value: into out, growing at most to
// kBlockWorkChars.
void replacePlaceholder(const char* text, int n, const char* value, char* out) {
    int used = 0;
    auto put = [&](char ch) {
        if (used < kBlockWorkChars) out[used++] = ch;
    };
    for (int i = 0; text[i] != '\0';) {
        if (text[i] == '%' && text[i + 1] == '0' + n) {
            for (const char* v = value; *v != '\0'; ++v) put(*v);
            i += 2;
        } else {
            put(text[i++]);
        }
    }
    out[used] = '\0';
}

using BodySink = bool (*)(const char* line, void* user);

// Each body line of the block, values put in, to sink (which stops the walk
// with false). -1 when the file does not open.
int bodyWalk(const char* path, bool skipHead, const BlockTexts& values, BodySink sink, void* user) {
    // A file without a head is all body, whichever way it is inserted.
    const bool skip = skipHead && blockHeadRead(path).placeholders;
    LineFile file;
    if (lf_open(&file, path) < 0) return -1;
    if (skip) headRead(&file, nullptr);
    char line[BLOCK_BODY_LINE_MAX + 1];
    char out[kLineChars + 1];
    while (lf_read_line(&file, line, BLOCK_BODY_LINE_MAX) >= 0) {
        blockSubstitute(line, values, out);
        if (!sink(out, user)) break;
    }
    lf_close(&file);
    return 0;
}

bool measureLine(const char* line, void* user) {
    *static_cast<std::int64_t*>(user) += static_cast<std::int64_t>(std::strlen(line)) + kRecordBytes;
    return true;
}

bool pushLine(const char* line, void*) {
    LineRecord record;
    lineInit(&record);
    str_ncopy(record.text, line, kLineChars);
    return pushAbove(&record) == 0;  // always: the room was measured
}

}  // namespace

// ---------------------------------------------------------------- the catalogue

void cataloguePath(char* path) { ini_read_path(CFG_SECTION_INSTALLATION, CFG_KEY_BAUKASTEN, path); }

void catalogueEntries(EntrySink add, void* user) {
    char path[FILE_PATH_MAX + 1];
    cataloguePath(path);
    LineFile file;
    if (path[0] == '\0' || lf_open(&file, path) < 0) {
        add(path, user);
        return;
    }
    char line[BLOCK_LIST_LINE_MAX + 1];
    while (lf_gets(&file, line) >= 0) {
        str_trim(line);
        if (line[0] != '\0') add(line, user);
    }
    lf_close(&file);
}

bool catalogueEntry(const char* entry, char* path, EntryKind* kind) {
    char rest[kLineChars + 1];
    char name[kLineChars + 1];
    char word[kLineChars + 1];
    str_ncopy(rest, entry, kLineChars);
    path[0] = '\0';
    if (str_next_word(name, rest) == 0) return false;
    str_next_word(word, rest);
    *kind = str_cmp_nocase(word, "Floskel:") == 0  ? EntryKind::Phrases
            : str_cmp_nocase(word, "Umform:") == 0 ? EntryKind::Rules
                                                    : EntryKind::Block;
    char catalogue[FILE_PATH_MAX + 1];
    cataloguePath(catalogue);
    if (path_dir(path, catalogue) < 0) return false;
    if (std::strlen(path) + std::strlen(name) > static_cast<std::size_t>(FILE_PATH_MAX)) {
        path[0] = '\0';
        return false;
    }
    std::strcat(path, name);
    return true;
}

// ---------------------------------------------------------------- a building block

BlockHead blockHeadRead(const char* path) {
    BlockHead head;
    LineFile file;
    if (lf_open(&file, path) < 0) return head;
    head.opened = true;
    head.placeholders = headRead(&file, &head);
    lf_close(&file);
    return head;
}

int blockSubstitute(const char* line, const BlockTexts& values, char* out) {
    char text[kBlockWorkChars + 1];
    char next[kBlockWorkChars + 1];
    str_ncopy(text, line, kBlockWorkChars);
    for (int n = 0; n < BLOCK_VALUES; ++n) {
        char value[BLOCK_VALUE_MAX + 1];
        str_ncopy(value, values[static_cast<std::size_t>(n)].data(), BLOCK_VALUE_MAX);
        str_trim(value);
        replacePlaceholder(text, n, value, next);
        std::memcpy(text, next, sizeof text);
    }
    str_ncopy(out, text, kLineChars);
    str_trim_right(out);
    return static_cast<int>(std::strlen(out));
}

int bauklotzInsert(const char* path, bool skipHead, const BlockTexts& values) {
    EditAction action;
    std::int64_t bytes = 0;
    if (bodyWalk(path, skipHead, values, measureLine, &bytes) < 0) return -1;
    if (bytes > INT_MAX || !editFits(static_cast<int>(bytes))) {
        if (bytes > INT_MAX) editRefused();
        return -1;
    }
    linesChanging();
    if (flushRowsAbove(cursorRow) != 0) {
        editRefused();
        return -1;
    }
    bodyWalk(path, skipHead, values, pushLine, nullptr);
    fillRowsFromAbove(cursorRow);
    topLine = aboveCountGet();
    modified = 1;
    invalidateAll();
    return 0;
}

bool bauklotzChoose(char* path) {
    char filter[256];
    load_text_into(kTextFilter, filter, sizeof filter);
    str_ncopy(path, "*.*", FILE_PATH_MAX);
    return file_open_box(path, blockFileBoxTitle, filter) != 0;
}

// ---------------------------------------------------------------- a phrase list

void phraseListEntries(EntrySink add, void* user) {
    LineFile file;
    if (phraseListPath[0] == '\0' || lf_open(&file, phraseListPath) < 0) {
        add(phraseListPath, user);
        return;
    }
    char line[BLOCK_LIST_LINE_MAX + 1];
    for (int i = 0; lf_gets(&file, line) >= 0; ++i) {
        if (i < 3) phrase_set(kPhraseKeyX + i, line);
        add(line, user);
    }
    lf_close(&file);
}

void toolFileEdit(const char* path) {
    if (askSave(1)) docLoad(path, true);
}
