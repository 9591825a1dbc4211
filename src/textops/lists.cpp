// The overview, structure and search lists: the entries and the lists' state.
#include "textops/lists.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "document/docstate.h"
#include "document/linestore.h"
#include "resources/resource.h"
#include "support/platform.h"
#include "support/strfunc.h"
#include "view/editing.h"
#include "view/marking.h"
#include "view/refresh.h"

int listKind = kListOverview;
char listText[kListTextMax + 1] = "";
int listExact = 1;
int listFirstKey = 1;
std::int32_t listTarget = -1;
int listColumn = 0;

namespace {

constexpr int kSearchTextMin = 3;  // a shorter listText shows the overview
constexpr char kBackspace = 8;
constexpr const char* kGapText = "\267\267\267";

// --- Reading the document in place ---------------------------------------------

// Called with each line in document order; false ends the walk.
using LineFn = bool (*)(std::int32_t index, const char* text, void* user);

// One walk over the document from line `from` on.
struct DocWalk {
    LineFn fn;
    void* user;
    std::int32_t from;   // lines before it are only counted
    std::int32_t index;  // the next line's document index
    bool stopped;
};

bool walkStep(DocWalk* w, const char* text) {
    const std::int32_t index = w->index++;
    if (index < w->from) return true;
    if (!w->fn(index, text, w->user)) w->stopped = true;
    return !w->stopped;
}

int visitStackLine(LineRecord* line, void* user) {
    return walkStep(static_cast<DocWalk*>(user), line->text) ? 1 : 0;
}

int rowsInUse() {
    if (windowRows < 1) return 1;
    return windowRows > kWindowRowsMax ? kWindowRowsMax : windowRows;
}

// The window rows that belong to the document: all of them, unless the
// below stack is empty, when blank rows after the last text are no lines.
int documentRows() {
    const int rows = rowsInUse();
    if (belowCountGet() > 0) return rows;
    LineRecord line;
    for (int r = rows - 1; r >= 0; --r) {
        if (rowGet(r, &line)) return r + 1;
    }
    return 0;
}

// Every line from `from` on: the above stack, the window rows, the below
// stack, each read where it stands. Nothing moves, nothing is written.
void walkDocument(std::int32_t from, LineFn fn, void* user) {
    DocWalk w{fn, user, from, 0, false};
    if (!visitAbove(visitStackLine, &w)) return;
    const int rows = documentRows();
    LineRecord line;
    for (int r = 0; r < rows; ++r) {
        rowGet(r, &line);
        if (!walkStep(&w, line.text)) return;
    }
    visitBelow(visitStackLine, &w);
}

// The cursor line's document index, counted the way the walk counts.
std::int32_t cursorLine() { return aboveCountGet() + cursorRow; }

// --- Small text tests ------------------------------------------------------------

bool startsWith(const char* s, const char* prefix) {
    return std::strncmp(s, prefix, std::strlen(prefix)) == 0;
}

// At most max characters of text into out (max + 1 bytes).
void copyCut(char* out, const char* text, int max) {
    int n = 0;
    for (; text != nullptr && n < max && text[n] != '\0'; ++n) out[n] = text[n];
    out[n] = '\0';
}

int leadingWhite(const char* s) {
    int n = 0;
    while (s[n] != '\0' && is_white(static_cast<unsigned char>(s[n]))) ++n;
    return n;
}

bool isBracket(char c) { return c != '\0' && std::strchr("{}[]()", c) != nullptr; }

// --- Collecting entries ------------------------------------------------------------

struct Builder {
    ListSink sink;
    void* user;
    int count;
    int selection;
    std::int32_t cursor;  // the cursor line's index
};

void add(Builder* b, const char* entry) {
    b->sink(entry, b->user);
    ++b->count;
}

void addLine(Builder* b, const char* text, std::int32_t index) {
    char entry[kListEntrySize];
    listEntry(entry, text, index);
    add(b, entry);
}

void addTrimmed(Builder* b, const char* text, std::int32_t index) {
    char entry[kListEntrySize];
    listEntryTrimmed(entry, text, index);
    add(b, entry);
}

void addGap(Builder* b, std::int32_t index) {
    char entry[kListEntrySize];
    listGapEntry(entry, index);
    add(b, entry);
}

// After a line at or above the cursor line: the selection follows the list.
void selectLast(Builder* b) { b->selection = b->count - 1; }

// --- The overview ---------------------------------------------------------------------

struct Overview {
    Builder* b;
    int classes;
    bool afterSlashLine;  // the line before started with "/* /"
};

bool overviewLine(std::int32_t index, const char* text, void* user) {
    auto* o = static_cast<Overview*>(user);
    const bool listed = o->afterSlashLine || listIsFunctionHeader(text) || listIsHeading(text, o->classes);
    o->afterSlashLine = text[0] == '/' && startsWith(text, "/* /");
    if (listed) addLine(o->b, text, index);
    if (index <= o->b->cursor) selectLast(o->b);
    return true;
}

void buildOverview(Builder* b) {
    Overview o{b, listFileClass(fileName), false};
    walkDocument(0, overviewLine, &o);
}

// --- The structure list ------------------------------------------------------------

struct Structure {
    Builder* b;
    int level;
    std::int32_t blockStart;  // the last line above the cursor that opens a block
    std::int32_t pending;     // the last listed line, until deeper lines follow it
};

bool opensBlock(const char* text, int level) {
    if (str_is_blank(text)) return false;
    return text[0] == '{' || (level > 0 && leadingWhite(text) < level);
}

bool blockStartLine(std::int32_t index, const char* text, void* user) {
    auto* s = static_cast<Structure*>(user);
    if (index >= s->b->cursor) return false;
    if (opensBlock(text, s->level)) s->blockStart = index;
    return true;
}

// One line of the walk down from the block's start; false ends the walk.
bool structureStep(Structure* s, std::int32_t index, const char* text) {
    if (text[0] == '}') return false;
    if (str_is_blank(text)) return true;
    const bool aboveCursor = index < s->b->cursor;
    const int indent = leadingWhite(text);
    if (aboveCursor && indent < s->level) return true;
    if (!is_blank_n(text, s->level + 1)) {  // at the level or less
        if (!aboveCursor && indent < s->level) return false;
        if (!isBracket(text[indent])) {
            addTrimmed(s->b, text, index);
            s->pending = index;
        }
    } else if (s->pending >= 0) {  // deeper: one gap entry per run
        addGap(s->b, s->pending);
        s->pending = -1;
    }
    return true;
}

bool structureLine(std::int32_t index, const char* text, void* user) {
    auto* s = static_cast<Structure*>(user);
    const bool goOn = structureStep(s, index, text);
    if (index < s->b->cursor) selectLast(s->b);
    return goOn;
}

void buildStructure(Builder* b) {
    LineRecord line;
    Structure s{b, 0, 0, -1};
    if (rowGet(cursorRow, &line)) {
        s.level = leadingWhite(line.text);
    } else {
        s.level = firstCol + cursorCol;
    }
    if (s.level < 0) s.level = 0;
    if (s.level > kLineChars) s.level = kLineChars;
    walkDocument(0, blockStartLine, &s);
    walkDocument(s.blockStart, structureLine, &s);
}

// --- The search list ---------------------------------------------------------------

struct SearchWalk {
    Builder* b;
    bool wildcards;
    char pattern[kListTextMax + 3];  // "*listText*"
    std::int32_t pendingHeader;      // the last header passed and not shown, -1 none
    char headerText[kLineChars + 1];
    std::int32_t pendingGap;  // the first non-matching line after that header
    std::int32_t lastGap;     // the last non-matching line while no header was pending
};

bool searchMatches(const SearchWalk& w, const char* text) {
    if (listExact) return std::strstr(text, listText) != nullptr;
    if (w.wildcards) return wild_match_nocase(w.pattern, text);
    return str_find_nocase(text, listText) >= 0;
}

void flushGap(Builder* b, std::int32_t* gap) {
    if (*gap < 0) return;
    addGap(b, *gap);
    *gap = -1;
}

bool searchLine(std::int32_t index, const char* text, void* user) {
    auto* w = static_cast<SearchWalk*>(user);
    const bool matches = searchMatches(*w, text);
    if (listIsFunctionHeader(text)) {
        w->pendingGap = -1;
        if (matches) {
            flushGap(w->b, &w->lastGap);
            addLine(w->b, text, index);
            w->pendingHeader = -1;
        } else {
            w->pendingHeader = index;
            copyCut(w->headerText, text, kLineChars);
        }
    } else if (matches) {
        if (w->pendingHeader >= 0) {
            flushGap(w->b, &w->lastGap);
            addTrimmed(w->b, w->headerText, w->pendingHeader);
            w->pendingHeader = -1;
        }
        flushGap(w->b, &w->pendingGap);
        addLine(w->b, text, index);
    } else if (w->pendingHeader >= 0) {
        if (w->pendingGap < 0) w->pendingGap = index;
    } else {
        w->lastGap = index;
    }
    if (index <= w->b->cursor) selectLast(w->b);
    return true;
}

void buildSearch(Builder* b) {
    SearchWalk w{};
    w.b = b;
    w.wildcards = std::strpbrk(listText, "?#*") != nullptr;
    std::snprintf(w.pattern, sizeof w.pattern, "*%s*", listText);
    w.pendingHeader = w.pendingGap = w.lastGap = -1;
    walkDocument(0, searchLine, &w);
}

}  // namespace

// --- The parts ---------------------------------------------------------------------------

bool listIsFunctionHeader(const char* line) {
    const char first = line[0];
    if (first == '\0' || is_white(static_cast<unsigned char>(first)) || std::strchr("/*#{}", first) != nullptr) {
        return false;
    }
    if (std::strchr(line, '(') == nullptr) return false;
    const char* semicolon = std::strchr(line, ';');
    return semicolon == nullptr || semicolon == line;
}

int listFileClass(const char* name) {
    if (name == nullptr || name[0] == '\0') return 0;
    const char* rest = name + 1;
    auto holds = [rest](const char* ext) { return str_find_nocase(rest, ext) >= 0; };
    int classes = 0;
    if (holds(".tbf") || holds(".tbi") || holds(".txt")) classes |= kListClassText;
    if (holds(".geo") || holds(".gi") || holds(".gm4")) classes |= kListClassMenu;
    if (holds(".rc")) classes |= kListClassResource;
    return classes;
}

namespace {

constexpr const char* kSectionStarts[] = {
    "dialog", "skript", "help", "struct", "typedef", "EXBEGIN", "sub ", "\\section",
    "\\subsection", "/* -", "# -", "---", "[", ")",
};

// The bytes a section line can start with: every other line is not compared at all.
constexpr std::array<bool, 256> sectionFirstBytes() {
    std::array<bool, 256> first{};
    for (const char* start : kSectionStarts) first[static_cast<unsigned char>(start[0])] = true;
    return first;
}
constexpr std::array<bool, 256> kSectionFirst = sectionFirstBytes();

}  // namespace

bool listIsHeading(const char* line, int classes) {
    if (kSectionFirst[static_cast<unsigned char>(line[0])]) {
        for (const char* start : kSectionStarts) {
            if (startsWith(line, start)) return true;
        }
    }
    if ((classes & kListClassText) != 0 &&
        (str_find_nocase(line, "CAPTION") >= 0 || startsWith(line, "ber ") || startsWith(line, "blo "))) {
        return true;
    }
    if ((classes & kListClassMenu) != 0 && str_find_nocase(line, " MENU") >= 0) return true;
    if ((classes & kListClassResource) != 0) {
        const char first = line[0];
        return first != '\0' && !is_white(static_cast<unsigned char>(first)) && std::strchr("#/;", first) == nullptr &&
               str_ncmp_nocase(line, "BEGIN", 5) != 0 && str_ncmp_nocase(line, "END", 3) != 0;
    }
    return false;
}

void listEntry(char* out, const char* text, std::int32_t index) {
    const void* end = std::memchr(text, '\0', kListEntryWidth);
    const std::size_t n = end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - text)
                                         : kListEntryWidth;
    std::memcpy(out, text, n);
    std::memset(out + n, ' ', kListEntryWidth - n);
    // The search list is built again on every key: no formatted print per line.
    char* tail = out + kListEntryWidth;
    *tail++ = ' ';
    *str_put_number(tail, index) = '\0';
}

void listEntryTrimmed(char* out, const char* text, std::int32_t index) {
    char cut[kListTextMax + 1];
    copyCut(cut, text, kListTextMax);
    str_trim(cut);
    listEntry(out, cut, index);
}

void listGapEntry(char* out, std::int32_t index) {
    char text[kListEntryWidth + 1] = "  ";  // as wide as listEntry looks
    std::strcat(text, kGapText);
    listEntry(out, text, index);
}

// --- The state and the panels' actions --------------------------------------------------

void listRequest(int kind, const char* text) {
    listKind = (kind == kListStructure || kind == kListSearch) ? kind : kListOverview;
    if (text != nullptr && text[0] != '\0') copyCut(listText, text, kListTextMax);
}

namespace {

void listKeyOpen(int kindWithoutMark) {
    char marked[kLineChars + 1];
    const bool hasText = markedText(marked, sizeof marked) != 0 && marked[0] != '\0';
    markClear();
    listRequest(hasText ? kListSearch : kindWithoutMark, hasText ? marked : "");
    plat_post_command(CMD_OVERVIEW, kListPostedByKey);
}

}  // namespace

void listKeySearch() { listKeyOpen(kListSearch); }
void listKeyStructure() { listKeyOpen(kListStructure); }

void listInit() {
    listTarget = -1;
    listExact = 1;
    listFirstKey = 1;
}

ListFill listBuildEntries(ListSink sink, void* user) {
    Builder b{sink, user, 0, -1, cursorLine()};
    if (listKind == kListStructure) {
        buildStructure(&b);
    } else if (listKind == kListSearch && std::strlen(listText) >= kSearchTextMin) {
        buildSearch(&b);
    } else {
        buildOverview(&b);
    }
    if (b.count == 0) add(&b, "");
    const int top = b.selection > kListScrollFrom ? b.selection - kListScrollAbove : -1;
    return ListFill{b.count, b.selection, top};
}

bool listKeyTyped(int ch) {
    const int length = static_cast<int>(std::strlen(listText));
    if (ch == kBackspace) {
        if (listFirstKey) {
            listText[0] = '\0';
        } else if (length > 0) {
            listText[length - 1] = '\0';
        }
    } else if (ch >= 32 && ch <= 255) {
        if (length < kListTextMax) {
            listText[length] = static_cast<char>(lower_char(ch));
            listText[length + 1] = '\0';
        }
        listExact = 0;
    } else {
        return false;
    }
    listFirstKey = 0;
    return true;
}

void listFieldEdited(const char* text) {
    listExact = 1;
    copyCut(listText, text, kListTextMax);
    str_trim(listText);
}

bool listChoose(const char* entry) {
    if (entry == nullptr) return false;
    int length = 0;
    while (length < kListEntryWidth && entry[length] != '\0') ++length;
    if (length < kListEntryWidth) return false;
    const char* p = entry + kListEntryWidth;
    while (*p == ' ') ++p;
    if (!is_digit(static_cast<unsigned char>(*p))) return false;
    std::int64_t number = 0;
    for (; is_digit(static_cast<unsigned char>(*p)); ++p) {
        number = number * 10 + (*p - '0');
        if (number > INT32_MAX) return false;
    }
    int blanks = 0;
    while (blanks < kListEntryWidth && entry[blanks] == ' ') ++blanks;
    listTarget = static_cast<std::int32_t>(number);
    listColumn = blanks;
    return true;
}

void listClosed() {
    if (listTarget < 0) return;
    const std::int32_t target = listTarget;
    listTarget = -1;
    firstCol = 0;
    cursorCol = 0;
    if (gotoLine(target) == 0 && listKind != kListOverview) cursorToColumn(listColumn);
    refreshAll();
}
