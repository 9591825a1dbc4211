// Search and replace on the line store: the matching rule, F12, F11, the
// replacement within one line, and the dialogs' portable half.
#include "view/search.h"

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

int foldedChar(int ch) { return caseSensitive ? (ch & 0xFF) : upper_char(ch); }

// The n characters at s equal searchText under the case rule.
bool equalsSearchText(const char* s, int n) {
    for (int i = 0; i < n; ++i) {
        if (foldedChar(static_cast<unsigned char>(s[i])) != foldedChar(static_cast<unsigned char>(searchText[i])))
            return false;
    }
    return true;
}

bool delimiter(const char* line, int i) { return !isWordChar(static_cast<unsigned char>(line[i])); }

// A match of n characters at q in a line of length len.
bool matchesAt(const char* line, int len, int q, int n) {
    if (!equalsSearchText(line + q, n)) return false;
    if (!wholeWord) return true;
    const bool startOk = q == 0 || delimiter(line, q - 1);
    const bool endOk = q + n >= len || delimiter(line, q + n);
    return startOk && endOk;
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
    const int len = trimmedLength(line, static_cast<int>(std::strlen(line)));
    const int n = searchLength();
    if (start >= len || len - start < n) return -1;
    for (int q = start; q <= len - n; ++q) {
        if (matchesAt(line, len, q, n)) return q;
    }
    return -1;
}

int searchNext() {
    // A line popped from below goes above again: that needs a byte of room
    // besides the record it freed (never lacking while every flush fits).
    if (storeFreeBytes() == 0) {
        editRefused();
        return -1;
    }
    if (!flushAroundCursor()) return -1;
    int start = firstCol + cursorCol + 1;
    int found = -1;
    LineRecord line;
    while (popBelow(&line) == 0) {
        found = findInLine(line.text, start);
        if (found >= 0) {
            pushBelow(&line);  // back where it was: it fits
            break;
        }
        if (pushAbove(&line) != 0) {  // cannot happen: the record's own room
            pushBelow(&line);
            break;
        }
        start = 0;
    }
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
    if (p < 0 || p + n > before || !equalsSearchText(row.text + p, n)) return 0;

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
