// The conversions: one rule per line, and one frame that walks the document.
#include "textops/convert.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "document/docstate.h"
#include "document/linestore.h"
#include "framework/messages.h"
#include "support/strfunc.h"
#include "textops/block.h"
#include "textops/worktext.h"
#include "view/editing.h"
#include "view/options.h"
#include "view/textview.h"

namespace {

constexpr int kRecordBytes = 5;  // what a packed line takes besides its text

// Replace-all of a fixed string: while it occurs, its first occurrence
// (searched from the start each time) gives way to the replacement. None of
// the replacements used here holds its own search string.
void replaceAll(WorkText& w, const char* find, const char* by) {
    const int n = static_cast<int>(std::strlen(find));
    for (int at = str_find(w.text, find); at >= 0 && !w.overflow; at = str_find(w.text, find)) {
        w.erase(at, n);
        w.insert(at, by);
    }
}

int tabStepOf(int step) { return std::max(1, step); }

unsigned char byteAt(const char* s, int i) { return static_cast<unsigned char>(s[i]); }

// ============================================================ the tables

// The German letters: DOS code, ANSI code, HTML entity.
struct Letter {
    unsigned char dos;
    unsigned char ansi;
    const char* entity;
};
constexpr std::array<Letter, 7> kLetters = {{
    {0x84, 0xE4, "&auml;"},
    {0x94, 0xF6, "&ouml;"},
    {0x81, 0xFC, "&uuml;"},
    {0x8E, 0xC4, "&Auml;"},
    {0x99, 0xD6, "&Ouml;"},
    {0x9A, 0xDC, "&Uuml;"},
    {0xE1, 0xDF, "&szlig;"},
}};

// The casts that the spacing must leave tight.
constexpr std::array<std::array<const char*, 2>, 6> kCasts = {{
    {"( char * )", "(char *)"},
    {"( int * )", "(int *)"},
    {"( long * )", "(long *)"},
    {"( unsigned * )", "(unsigned *)"},
    {"( float * )", "(float *)"},
    {"( double * )", "(double *)"},
}};

// A byte map: every byte to itself but the letters, one way or the other.
using ByteMap = std::array<unsigned char, 256>;
constexpr ByteMap letterMap(bool dosToAnsi) {
    ByteMap map{};
    for (int i = 0; i < 256; ++i) map[static_cast<std::size_t>(i)] = static_cast<unsigned char>(i);
    for (const Letter& l : kLetters) map[dosToAnsi ? l.dos : l.ansi] = static_cast<unsigned char>(dosToAnsi ? l.ansi : l.dos);
    return map;
}
constexpr ByteMap kDosToAnsi = letterMap(true);
constexpr std::array<const char*, 256> entityMap() {
    std::array<const char*, 256> map{};
    for (const Letter& l : kLetters) map[l.ansi] = l.entity;
    return map;
}
constexpr std::array<const char*, 256> kAnsiEntity = entityMap();
constexpr ByteMap kAnsiToDos = letterMap(false);

int mapBytes(const char* in, char* out, const ByteMap& map) {
    WorkText w(in);
    for (int i = 0; i < w.length; ++i) w.text[i] = static_cast<char>(map[byteAt(w.text, i)]);
    return workFinish(w, out);
}

// ============================================================ C-code spacing

bool isQuote(int ch) { return ch == '"' || ch == '\''; }

bool opensOrClosesComment(const char* t, int i) {
    return (t[i] == '/' && t[i + 1] == '*') || (t[i] == '*' && t[i + 1] == '/') ||
           (t[i] == '/' && t[i + 1] == '/');
}

// The character at i, preceded by three or more blanks inside a statement,
// with no comment opening from it to the line's end: the run shrinks to one
// blank. A run that reaches back to the line's start (only white space
// before it) is indentation and stays. The position of the character
// afterwards.
int shortenRunBefore(WorkText& w, int i) {
    const char* t = w.text;
    if (i < 4 || is_white(byteAt(t, i))) return i;
    if (t[i - 1] != ' ' || t[i - 2] != ' ' || t[i - 3] != ' ') return i;
    if (opensOrClosesComment(t, i) || str_find(t + i, "/*") >= 0) return i;
    int start = i;
    while (start > 0 && t[start - 1] == ' ') --start;
    if (is_blank_n(t, start)) return i;
    w.erase(start + 1, i - start - 1);
    return start + 1;
}

// ============================================================ the frame

enum class Rule { Kind, TableExpand, TableCompress, HtmlOptimize, Given };

// One command's state.
struct Conversion {
    Rule rule = Rule::Kind;
    int kind = 0;             // the rule of convert_lines
    LineRule given = nullptr; // the rule of convert_marked_lines
    bool markedOnly = false;  // never the whole document
    bool selected = false;    // only the marked lines are converted
    int separator = '\t';     // the table fields' separator
    TableWidths widths{};     // the table's column widths
    int kept = 0;             // lines left unchanged
    // The dry run: the growth so far and its largest value.
    std::int64_t growth = 0;
    std::int64_t peak = 0;
    // The table measure: widths of the lines up to the last one holding the
    // byte 0x1C (split there), and of the lines after it (split at tabs).
    TableWidths all1C{};
    TableWidths upTo1C{};
    TableWidths tabTail{};
    bool any1C = false;
};

bool converts(const Conversion& c, const LineRecord& line) { return !c.selected || line.markState != '0'; }

int applyRule(const Conversion& c, const char* in, char* out) {
    switch (c.rule) {
        case Rule::TableExpand:
            return tableExpandText(in, out, c.separator, c.widths);
        case Rule::TableCompress:
            return tableCompressText(in, out);
        case Rule::HtmlOptimize:
            return htmlOptimizeText(in, out);
        case Rule::Given:
            return c.given(in, out);
        case Rule::Kind:
            break;
    }
    switch (c.kind) {
        case CONVERT_DETAB:
            return detabText(in, out, tabStep);
        case CONVERT_ENTAB:
            return entabText(in, out, tabStep);
        case CONVERT_PC_TO_ANSI:
            return pcToAnsiText(in, out);
        case CONVERT_ANSI_TO_PC:
            return ansiToPcText(in, out);
        case CONVERT_VISIBLE:
            return visibleText(in, out);
        case CONVERT_HTML_TO_ANSI:
            return htmlToAnsiText(in, out);
        case CONVERT_ANSI_TO_HTML:
            return ansiToHtmlText(in, out);
        case CONVERT_C_SPACING:
            return cSpacingText(in, out);
        case CONVERT_XOR_7:
            return xor7Text(in, out);
        default:
            return CONVERT_KEEP;
    }
}

using LineStep = void (*)(const LineRecord& line, Conversion* c);

// Every line of the document in order, with the window in place (the rows
// past the document's end are blank lines, which no rule makes longer).
void walkDocument(LineStep step, Conversion* c) {
    struct Walk {
        LineStep step;
        Conversion* c;
    } walk{step, c};
    auto visit = [](LineRecord* line, void* user) {
        Walk& w = *static_cast<Walk*>(user);
        w.step(*line, w.c);
        return 1;
    };
    visitAbove(visit, &walk);
    LineRecord row;
    for (int r = 0; r < std::clamp(windowRows, 1, kWindowRowsMax); ++r) {
        rowGet(r, &row);
        step(row, c);
    }
    visitBelow(visit, &walk);
}

// The table's widths as the conversion from the last line to the first
// measures them: it splits at tabs until it meets a line holding 0x1C, and
// at 0x1C from there on; the second pass splits every line at the last
// separator used.
void measureTableLine(const LineRecord& line, Conversion* c) {
    if (!converts(*c, line)) return;
    tableMeasureText(line.text, TABLE_SEPARATOR, &c->all1C);
    tableMeasureText(line.text, '\t', &c->tabTail);
    if (str_index(line.text, TABLE_SEPARATOR) >= 0) {
        c->any1C = true;
        c->upTo1C = c->all1C;
        c->tabTail = TableWidths{};
    }
}

void measureTable(Conversion* c) {
    walkDocument(measureTableLine, c);
    for (int i = 0; i < TABLE_FIELDS; ++i) c->widths.width[i] = std::max(c->upTo1C.width[i], c->tabTail.width[i]);
    c->separator = c->any1C ? TABLE_SEPARATOR : '\t';
}

// What detabText gives for in, counted without writing the text: the columns
// its tabs reach, up to the last character that is not white space.
int detabLength(const char* in, int tabStep) {
    const int step = tabStepOf(tabStep);
    const int n = static_cast<int>(std::min<std::size_t>(std::strlen(in), kLineChars));
    int last = n;  // the text after the last character that stays
    while (last > 0 && is_white(byteAt(in, last - 1))) --last;
    long col = 0, kept = 0;
    for (int i = 0; i < n;) {
        const void* tab = std::memchr(in + i, '\t', static_cast<std::size_t>(n - i));
        const int runEnd = tab != nullptr ? static_cast<int>(static_cast<const char*>(tab) - in) : n;
        if (i < last && last <= runEnd) kept = col + (last - i);
        col += runEnd - i;
        if (tab == nullptr) break;
        col += step - col % step;
        i = runEnd + 1;
    }
    return col > kWorkChars || kept > kLineChars ? CONVERT_KEEP : static_cast<int>(kept);
}

// The dry run: what each converted line adds to the store, in the order the
// lines are converted; the peak is what the store must have room for.
void measureLine(const LineRecord& line, Conversion* c) {
    if (!converts(*c, line)) return;
    char out[kLineChars + 1];
    const bool detab = c->rule == Rule::Kind && c->kind == CONVERT_DETAB;
    const int n = detab ? detabLength(line.text, tabStep) : applyRule(*c, line.text, out);
    if (n == CONVERT_KEEP) return;
    const int before = static_cast<int>(std::strlen(line.text));
    c->growth += n == CONVERT_REMOVE ? -(before + kRecordBytes) : n - before;
    c->peak = std::max(c->peak, c->growth);
}

// The lines from below the gap to above it, in document order, each line to
// convert through the rule. The growth was measured: every push finds room.
void convertDocument(Conversion* c) {
    moveAllBelow();
    LineRecord line;
    while (popBelow(&line) == 0) {
        LineRecord result = line;
        if (converts(*c, line)) {
            const int n = applyRule(*c, line.text, result.text);
            if (n == CONVERT_REMOVE) continue;
            if (n == CONVERT_KEEP) {
                ++c->kept;
                result = line;
            }
        }
        if (pushAbove(&result) != 0 && pushAbove(&line) != 0) {
            pushBelow(&line);  // cannot happen: the room was measured
            break;
        }
    }
}

int runConversion(Conversion* c) {
    EditAction action;  // a full store is told once
    c->selected = c->markedOnly || block_count() > 0;
    if (c->rule == Rule::TableExpand) measureTable(c);
    walkDocument(measureLine, c);
    if (!editFits(static_cast<int>(std::min<std::int64_t>(c->peak, INT_MAX)))) return -1;
    linesChanging();

    const std::int32_t cursorLine = topLine + cursorRow;
    const std::int32_t row = cursorRow;
    if (flushWindowBelow() != 0) {
        editRefused();
        return -1;
    }
    if (storeFreeBytes() == 0) {  // cannot happen while every flush fits
        fillWindowFromBelow();
        editRefused();
        return -1;
    }
    convertDocument(c);
    // The window rows are blank and the below stack empty: showing a line
    // drops them, and the blank lines at the document's end with them.
    if (c->rule == Rule::HtmlOptimize) {
        gotoLineAtTop(0);
        cursorRow = 0;
    } else {
        gotoLineAtTop(cursorLine - row);
        cursorRow = row;
    }
    invalidateAll();
    modified = 1;
    if (c->kept > 0) {
        const bool xor7 = c->rule == Rule::Kind && c->kind == CONVERT_XOR_7;
        message_box_fmt(xor7 ? convertXorKeptText : linesLeftTooLongText, c->kept);
    }
    return 0;
}

}  // namespace

// ============================================================ the rules

int detabText(const char* in, char* out, int tabStep) {
    const int step = tabStepOf(tabStep);
    WorkText w;
    const char* at = in;
    const char* const end = in + std::min<std::size_t>(std::strlen(in), kLineChars);
    while (at < end && !w.overflow) {
        const auto* tab = static_cast<const char*>(std::memchr(at, '\t', static_cast<std::size_t>(end - at)));
        const char* runEnd = tab != nullptr ? tab : end;
        w.add(at, static_cast<int>(runEnd - at));
        if (tab == nullptr) break;
        w.fill(' ', step - w.length % step);  // to the next stop, at least one blank
        at = tab + 1;
    }
    return workFinish(w, out);
}

int entabText(const char* in, char* out, int tabStep) {
    const int step = tabStepOf(tabStep);
    WorkText w(in);
    char* t = w.text;
    int p = w.length - 1;
    while (p > 1) {
        if (t[p] == ' ' || t[p - 1] != ' ' || p % step != 0) {
            --p;
            continue;
        }
        // p is a tab stop where a run of blanks ends: its start, but never
        // before the previous tab stop.
        int s = p - 1;
        while (s % step != 0 && s > 0 && t[s - 1] == ' ') --s;
        if (p - s >= 2) {
            w.erase(s + 1, p - s - 1);
            t[s] = '\t';
        }
        p = s;
    }
    return workFinish(w, out);
}

int dosToAnsiChar(int ch) { return kDosToAnsi[static_cast<unsigned char>(ch)]; }

int ansiToDosChar(int ch) { return kAnsiToDos[static_cast<unsigned char>(ch)]; }

int pcToAnsiText(const char* in, char* out) { return mapBytes(in, out, kDosToAnsi); }

int ansiToPcText(const char* in, char* out) { return mapBytes(in, out, kAnsiToDos); }

int visibleText(const char* in, char* out) {
    WorkText w;
    for (int i = 0; in[i] != '\0' && i < kLineChars; ++i) {
        const unsigned char ch = byteAt(in, i);
        if (ch < 32 || ch == 127 || (ch >= 128 && ch <= 160)) {
            char code[8];
            std::snprintf(code, sizeof code, "<_%02X_>", ch);
            w.add(code);
        } else {
            w.add(ch);
        }
    }
    return workFinish(w, out);
}

int htmlToAnsiText(const char* in, char* out) {
    WorkText w(in);
    for (const Letter& l : kLetters) {
        const char letter[2] = {static_cast<char>(l.ansi), '\0'};
        replaceAll(w, l.entity, letter);
    }
    return workFinish(w, out);
}

int ansiToHtmlText(const char* in, char* out) {
    // No entity holds a letter of the table: one pass gives what replacing
    // letter after letter would.
    WorkText w;
    const int n = static_cast<int>(std::min<std::size_t>(std::strlen(in), kLineChars));
    int run = 0;  // the first character not yet taken
    for (int i = 0; i < n; ++i) {
        const char* entity = kAnsiEntity[byteAt(in, i)];
        if (entity == nullptr) continue;
        w.add(in + run, i - run);
        w.add(entity);
        run = i + 1;
    }
    w.add(in + run, n - run);
    return workFinish(w, out);
}

int cSpacingText(const char* in, char* out) {
    WorkText w(in);
    replaceAll(w, "if(", "if (");
    replaceAll(w, "for(", "for (");
    replaceAll(w, "while(", "while (");
    // The quote that opened the string the walk stands in (0: none). Only the
    // same quote closes it, and the quotes themselves are never moved: no
    // text inside a string is spaced. Escapes are not recognised.
    char quote = 0;
    for (int i = 0; i < w.length && !w.overflow; ++i) {
        const char ch = w.text[i];
        if (isQuote(ch)) {
            if (quote == 0) {
                quote = ch;
            } else if (quote == ch) {
                quote = 0;
            }
            continue;
        }
        if (quote != 0) continue;
        const char next = w.text[i + 1];
        if (ch == '(' && next != '\0' && !is_white(static_cast<unsigned char>(next)) && next != ')') {
            w.insert(i + 1, " ");
        } else if (ch == ')' && i > 0 && !is_white(byteAt(w.text, i - 1)) && w.text[i - 1] != '(') {
            w.insert(i, " ");
            continue;  // the walk stands on the new blank
        } else if (ch == ',' && next != '\0' && !is_white(static_cast<unsigned char>(next))) {
            w.insert(i + 1, " ");
        }
        i = shortenRunBefore(w, i);
    }
    for (const auto& cast : kCasts) replaceAll(w, cast[0], cast[1]);
    return workFinish(w, out);
}

int xor7Text(const char* in, char* out) {
    WorkText w(in);
    for (int i = 0; i < w.length; ++i) {
        const unsigned char ch = byteAt(w.text, i);
        if (ch == 7) return CONVERT_KEEP;  // would become the line's end
        w.text[i] = static_cast<char>(ch ^ 7);
    }
    if (w.length > 0 && is_white(byteAt(w.text, w.length - 1))) return CONVERT_KEEP;  // would be trimmed
    return workFinish(w, out);
}

void tableMeasureText(const char* text, int separator, TableWidths* widths) {
    int field = 0;
    int start = 0;
    for (int i = 0; text[i] != '\0' && i < kLineChars; ++i) {
        if (byteAt(text, i) != (separator & 0xFF)) continue;
        if (field < TABLE_FIELDS) widths->width[field] = std::max(widths->width[field], i - start);
        ++field;
        start = i + 1;
    }
}

int tableExpandText(const char* in, char* out, int separator, const TableWidths& widths) {
    WorkText w;
    int field = 0;
    int start = 0;
    int i = 0;
    for (; in[i] != '\0' && i < kLineChars && !w.overflow; ++i) {
        if (byteAt(in, i) != (separator & 0xFF)) continue;
        const int length = i - start;
        const int begin = w.length;
        w.add(in + start, length);
        if (field < TABLE_FIELDS) {
            const int width = std::max(length, widths.width[field] + 2);
            while (w.length - begin < width && !w.overflow) w.add(' ');
            if (!w.overflow && w.text[begin] == ' ') w.text[begin] = static_cast<char>(TABLE_MARKER);
        } else {
            w.add(separator);  // beyond the 100th field: kept as it is
        }
        ++field;
        start = i + 1;
    }
    w.add(in + start, i - start);
    return workFinish(w, out);
}

int tableCompressText(const char* in, char* out) {
    WorkText rest(in);
    WorkText w;
    for (int q = str_find(rest.text, "  "); q >= 0 && !w.overflow; q = str_find(rest.text, "  ")) {
        const int begin = w.length;
        w.add(rest.text, q);
        if (q > 0 && byteAt(w.text, begin) == TABLE_MARKER) w.text[begin] = ' ';
        w.add('\t');
        rest.erase(0, q + 2);
        str_trim(rest.text);
        rest.length = static_cast<int>(std::strlen(rest.text));
    }
    w.add(rest.text);
    return workFinish(w, out);
}

int htmlOptimizeText(const char* in, char* out) {
    if (str_is_blank(in)) return CONVERT_REMOVE;
    int lead = 0;
    while (is_white(byteAt(in, lead))) ++lead;
    WorkText w(lead >= 5 && in[lead] == '<' ? in + lead : in);
    return workFinish(w, out);
}

// ============================================================ the commands

int convert_lines(int kind) {
    if (kind < CONVERT_DETAB || kind > CONVERT_XOR_7) return 0;
    Conversion c;
    c.kind = kind;
    return runConversion(&c);
}

int table_expand() {
    Conversion c;
    c.rule = Rule::TableExpand;
    return runConversion(&c);
}

int table_compress() {
    Conversion c;
    c.rule = Rule::TableCompress;
    return runConversion(&c);
}

int html_optimize() {
    Conversion c;
    c.rule = Rule::HtmlOptimize;
    return runConversion(&c);
}

int convert_marked_lines(LineRule rule) {
    Conversion c;
    c.rule = Rule::Given;
    c.given = rule;
    c.markedOnly = true;
    return runConversion(&c);
}
