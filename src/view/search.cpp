// Search and replace on the line store: the matching rule, F12, F11, the
// replacement within one line, and the dialogs' portable half.
#include "view/search.h"

#include <array>
#include <cstring>

#include "document/docstate.h"
#include "document/linestore.h"
#include "support/strfunc.h"
#include "framework/messages.h"
#include "view/editing.h"
#include "view/marking.h"
#include "view/refresh.h"
#include "view/textview.h"

char searchText[SEARCH_TEXT_MAX + 1] = "";
char replaceText[SEARCH_TEXT_MAX + 1] = "";
int wholeWord = 0;
int caseSensitive = 0;
int replaceEnabled = 0;
SearchHistory searchHistory = {};
SearchHistory replaceHistory = {};

namespace {

constexpr int kLastCol = kLineChars - 1;  // 249
// A line being replaced can grow far beyond a line before it is measured: at
// most every character a match of one replaced by fifty.
constexpr int kWorkChars = kLineChars * SEARCH_TEXT_MAX;

int trimmedLength(const char* text, int n) {
    while (n > 0 && is_white(static_cast<unsigned char>(text[n - 1]))) --n;
    return n;
}

// Byte maps for comparing: every byte to itself, or to its capital.
using FoldTable = std::array<unsigned char, 256>;
FoldTable makeFoldTable(bool fold) {
    FoldTable t{};
    for (int ch = 0; ch < 256; ++ch) t[static_cast<std::size_t>(ch)] = static_cast<unsigned char>(fold ? upper_char(ch) : ch);
    return t;
}
const FoldTable kSameByte = makeFoldTable(false);
const FoldTable kCapital = makeFoldTable(true);

// The search text as the comparisons need it, taken once per search: its
// length, the byte map of the case rule, and the (at most two) bytes a match
// can start with under that rule.
struct Pattern {
    const char* text;
    int n;
    const FoldTable* fold;
    unsigned char first, firstOther;
};

// The bytes that stand for ch under the case rule: itself, or its capital and
// its small letter.
void foldPair(const FoldTable& fold, unsigned char ch, unsigned char pair[2]) {
    pair[0] = fold[ch];
    pair[1] = &fold == &kSameByte ? pair[0] : static_cast<unsigned char>(lower_char(pair[0]));
}

// Bytes of program texts and prose, the most common first; bytes not listed
// are rarer than all of them.
constexpr char kCommonBytes[] = " etaoinsrlcdu;()hmpf=,._gbyw\"{}*v10k-x2>q<jz";

int commonness(unsigned char ch) {
    const void* at = std::memchr(kCommonBytes, lower_char(ch), sizeof kCommonBytes - 1);
    return at != nullptr ? static_cast<int>(sizeof kCommonBytes - (static_cast<const char*>(at) - kCommonBytes)) : 0;
}

// The store is scanned for the search text's rarest byte, so that few lines
// are compared: every line holding a match holds that byte.
void rarestKeys(const Pattern& p, unsigned char keys[2]) {
    int rarest = 0;
    for (int i = 1; i < p.n; ++i) {
        if (commonness(static_cast<unsigned char>(p.text[i])) <
            commonness(static_cast<unsigned char>(p.text[rarest]))) {
            rarest = i;
        }
    }
    foldPair(*p.fold, static_cast<unsigned char>(p.text[rarest]), keys);
}

Pattern currentPattern() {
    Pattern p{searchText, static_cast<int>(std::strlen(searchText)), caseSensitive ? &kSameByte : &kCapital, 0, 0};
    unsigned char pair[2];
    foldPair(*p.fold, static_cast<unsigned char>(searchText[0]), pair);
    p.first = pair[0];
    p.firstOther = pair[1];
    return p;
}

// The n characters at s equal the search text under the case rule.
bool equalsSearchText(const Pattern& p, const char* s) {
    const FoldTable& fold = *p.fold;
    for (int i = 0; i < p.n; ++i) {
        if (fold[static_cast<unsigned char>(s[i])] != fold[static_cast<unsigned char>(p.text[i])]) return false;
    }
    return true;
}

bool delimiter(const char* line, int i) { return !isWordChar(static_cast<unsigned char>(line[i])); }

// A match of the search text at q in a line of length len.
bool matchesAt(const Pattern& p, const char* line, int len, int q) {
    if (!equalsSearchText(p, line + q)) return false;
    if (!wholeWord) return true;
    const bool startOk = q == 0 || delimiter(line, q - 1);
    const bool endOk = q + p.n >= len || delimiter(line, q + p.n);
    return startOk && endOk;
}

const char* nextByte(const char* from, const char* end, unsigned char c) {
    const void* at = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return at != nullptr ? static_cast<const char*>(at) : end;
}

// The first match at or after start in the len characters at line (its
// trailing white space not counted), or -1. Only the positions holding a
// byte a match can start with are compared.
int findInText(const Pattern& p, const char* line, int len, int start) {
    len = trimmedLength(line, len);
    if (start >= len || len - start < p.n) return -1;
    if (p.n == 0) {  // an empty search text: every position is a candidate
        for (int q = start; q <= len; ++q) {
            if (matchesAt(p, line, len, q)) return q;
        }
        return -1;
    }
    const char* const end = line + len - p.n + 1;  // past the last possible start
    const char* nextFirst = nextByte(line + start, end, p.first);
    const char* nextOther = p.firstOther == p.first ? end : nextByte(line + start, end, p.firstOther);
    while (nextFirst < end || nextOther < end) {
        const char* at = nextFirst < nextOther ? nextFirst : nextOther;
        if (matchesAt(p, line, len, static_cast<int>(at - line))) return static_cast<int>(at - line);
        if (at == nextFirst) nextFirst = nextByte(at + 1, end, p.first);
        if (at == nextOther) nextOther = nextByte(at + 1, end, p.firstOther);
    }
    return -1;
}

int findInPackedLine(const char* text, int n, int start, void* pattern) {
    return findInText(*static_cast<const Pattern*>(pattern), text, n, start);
}

int searchLength() { return static_cast<int>(std::strlen(searchText)); }

bool canReplace() { return replaceEnabled && searchText[0] != '\0'; }

void repaintCursorRow() {
    beginRowPaint();
    repaintRow(cursorRow);
    endRowPaint();
}


void copyCut(char* dst, const char* src) { str_ncopy(dst, src != nullptr ? src : "", SEARCH_TEXT_MAX); }

void historyRemove(SearchHistory* h, int index) {
    for (int i = index; i < SEARCH_HISTORY - 1; ++i) std::memcpy(h->items[i], h->items[i + 1], sizeof h->items[i]);
    h->items[SEARCH_HISTORY - 1][0] = '\0';
}

void historyInsertFirst(SearchHistory* h, const char* text) {
    for (int i = SEARCH_HISTORY - 1; i > 0; --i) std::memcpy(h->items[i], h->items[i - 1], sizeof h->items[i]);
    copyCut(h->items[0], text);
}

}  // namespace

void searchReset() {
    searchText[0] = replaceText[0] = '\0';
    wholeWord = caseSensitive = replaceEnabled = 0;
    searchHistory = SearchHistory{};
    replaceHistory = SearchHistory{};
}

// ============================================================ searching

int findInLine(const char* line, int start) {
    if (line == nullptr || start < 0) return -1;
    return findInText(currentPattern(), line, static_cast<int>(std::strlen(line)), start);
}

int searchNext() {
    // A store without a free byte refuses the search, as it always has (never
    // the case while every flush fits).
    if (storeFreeBytes() == 0) {
        editRefused();
        return -1;
    }
    if (!flushAroundCursor()) return -1;
    // The lines before the one found go above as they are, never unpacked.
    // Only the lines holding the search text's rarest byte are looked at.
    Pattern pattern = currentPattern();
    unsigned char keys[2];
    rarestKeys(pattern, keys);
    const int found = moveBelowUntilFound(findInPackedLine, firstCol + cursorCol + 1, &pattern,
                                          pattern.n > 0 ? keys : nullptr);
    fillRowsFromAbove(cursorRow);
    fillRowsFromBelow(cursorRow);
    topLine = aboveCountGet();
    firstCol = cursorCol = 0;
    cursorToColumn(found > 0 ? found : 0);
    invalidateAll();
    refreshAll();
    return 0;
}

// ============================================================ replacing

int replaceAtCursor() {
    if (!canReplace()) return 0;
    const int p = firstCol + cursorCol;
    const int n = searchLength();
    LineRecord row;
    rowGetRaw(cursorRow, &row);
    const int before = trimmedLength(row.text, kLineChars);
    // The occurrence lies within the line's text: a search text ending in a
    // blank does not match the padding after the line's end.
    if (p < 0 || p + n > before || !equalsSearchText(currentPattern(), row.text + p)) return 0;

    const int r = static_cast<int>(std::strlen(replaceText));
    const int grown = before - n + r;
    if (grown > kLineChars) {
        message_box_fmt("%s", replaceTooLongText);
        return -1;
    }
    char text[kLineChars + SEARCH_TEXT_MAX + 1];
    std::memcpy(text, row.text, static_cast<std::size_t>(p));
    std::memcpy(text + p, replaceText, static_cast<std::size_t>(r));
    std::memcpy(text + p + r, row.text + p + n, static_cast<std::size_t>(before - p - n));
    const int after = trimmedLength(text, grown);
    if (!editFits(after - before)) return -1;

    std::memset(row.text, ' ', kLineChars);
    std::memcpy(row.text, text, static_cast<std::size_t>(after));
    rowPut(cursorRow, &row);
    repaintCursorRow();
    const int to = p + r;
    cursorToColumn(to < kLastCol ? to : kLastCol);
    modified = 1;
    return 1;
}

int replaceAllInLine(char* text) {
    if (text == nullptr || !canReplace()) return 0;
    static char work[kWorkChars + 1];
    const int n = searchLength();
    const int r = static_cast<int>(std::strlen(replaceText));
    int len = 0;
    while (len < kLineChars && text[len] != '\0') ++len;
    len = trimmedLength(text, len);
    std::memcpy(work, text, static_cast<std::size_t>(len));
    work[len] = '\0';
    int count = 0;
    for (int pos = 0, q; (q = findInLine(work, pos)) >= 0; pos = q + r) {
        // The rest of the line moves by r - n; n >= 1, so it never outgrows work.
        std::memmove(work + q + r, work + q + n, static_cast<std::size_t>(len - q - n + 1));
        std::memcpy(work + q, replaceText, static_cast<std::size_t>(r));
        len += r - n;
        ++count;
    }
    len = trimmedLength(work, len);
    if (len > kLineChars) return -1;
    if (count > 0) {
        std::memcpy(text, work, static_cast<std::size_t>(len));
        text[len] = '\0';
    } else {
        text[len] = '\0';  // trimmed as well
    }
    return count;
}

void searchTextSet(const char* text) {
    copyCut(searchText, text);
    copyCut(searchHistory.items[0], searchText);
}

int searchTextFromMark() {
    char marked[kLineChars + 1];
    if (!markedText(marked, sizeof marked) || marked[0] == '\0') return 0;
    searchTextSet(marked);
    return 1;
}

// ============================================================ the dialogs

void dialogRead(int withReplaceFlag, const SearchDialogValues* values) {
    if (values == nullptr) return;
    wholeWord = values->wordBox ? 1 : 0;
    caseSensitive = values->caseBox ? 1 : 0;
    if (withReplaceFlag) replaceEnabled = values->replaceBox ? 1 : 0;
    copyCut(searchText, values->searchText);
    copyCut(replaceText, replaceEnabled ? values->replaceText : "");
}

HistoryStep historyStep(const SearchHistory* items, int count, const char* text) {
    HistoryStep step{false, -1};
    if (text == nullptr || str_is_blank(text)) return step;
    if (count > SEARCH_HISTORY) count = SEARCH_HISTORY;
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(items->items[i], text) != 0) continue;
        if (i == 0) return step;  // already first
        step.remove = i;
        break;
    }
    step.insert = true;
    return step;
}

void historyAdd(SearchHistory* history, const char* text) {
    if (history == nullptr) return;
    const HistoryStep step = historyStep(history, SEARCH_HISTORY, text);
    if (step.remove >= 0) historyRemove(history, step.remove);
    if (step.insert) historyInsertFirst(history, text);
}

int replaceFlagClicked(int state) {
    replaceEnabled = state ? 1 : 0;
    return replaceEnabled ? SEARCH_REPLACE_COMBO : SEARCH_TEXT_COMBO;
}
