// The reference model of the document: seeded, reproducible sequences of random
// keys go to the key dispatcher of an editor on a small document, exactly as a
// user's keys arrive (the line block's menu commands as the menu sends them),
// and to a plain model of what the key table and its help say those keys do.
// After every key the whole document (texts and line marks), the cursor, the
// window's top line and the boxes shown must be the model's. A sequence that
// fails is shrunk (runs of keys, then document lines, left out while it still
// fails) and printed as a row for the key tables of tests/unit/test_keycommands.cpp.
//   y8_key_model [seed] [sequences] [keys a sequence]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "fuzz_editor.h"
#include "host/headless_messages.h"
#include "resources/resource.h"
#include "shell/appproc.h"

namespace {

constexpr int kCols = kLineChars;      // a line's 250 columns
constexpr int kLast = kLineChars - 1;  // the last column a character can stand in
using Lines = std::vector<std::string>;

// The keys the model knows; the last three are the line block's menu commands.
enum Key { Type, Ins, Back, Del, Ret, CtrlRet, Left, Right, Up, Down, ShiftUp, ShiftDown, Home, CtrlHome, End,
           CtrlY, CtrlE, CtrlZ, CtrlU, CtrlA, CtrlP, CtrlB, Move, Delete, Unmark, kKeyKinds };
struct Step {
    Key key;
    char ch;  // the typed character
};
// Each key as the key scripts of tests/unit/key_fixture.h write it, and how often it is drawn.
const char* const kScript[] = {"", "{Ins}", "{Back}", "{Del}", "{Ret}", "{C-Ret}", "{Left}", "{Right}", "{Up}",
                               "{Down}", "{S-Up}", "{S-Down}", "{Home}", "{C-Home}", "{End}", "^Y", "^E", "^Z",
                               "^U", "^A", "^P", "^B", "CMD_BLOCK_MOVE", "CMD_BLOCK_DELETE", "CMD_BLOCK_UNMARK"};
constexpr int kWeight[] = {30, 2, 6, 6, 4, 3, 5, 5, 4, 4, 2, 3, 2, 2, 4, 3, 3, 2, 3, 3, 3, 2, 1, 1, 1};
static_assert(sizeof kScript / sizeof *kScript == kKeyKinds && sizeof kWeight / sizeof *kWeight == kKeyKinds,
              "one script and one weight a key");

// Where a sequence starts: the document, the cursor, the window, "Spaltentreue".
struct Setup {
    Lines doc;
    int line, col, rows, cols;
    bool columnKeep;
};

bool white(char c) { return c == ' ' || (c >= 9 && c <= 13); }
// A line as it is stored: at most 250 characters, no white space at its end.
std::string trimmed(std::string s) {
    if (s.size() > kCols) s.resize(kCols);
    while (!s.empty() && white(s.back())) s.pop_back();
    return s;
}
std::string stripBlanks(const std::string& s) {
    const std::size_t from = s.find_first_not_of(' ');
    return from == std::string::npos ? "" : s.substr(from, s.find_last_not_of(' ') - from + 1);
}
// The first column from `from` on where two blanks follow each other, or 250.
int doubleBlank(const std::string& s, int from) {
    for (int q = from; q + 1 < kCols; ++q)
        if (s[q] == ' ' && s[q + 1] == ' ') return q;
    return kCols;
}

// A buffer of texts in a fixed number of bytes, newest first, each with its
// NUL; what a new text pushes past the end falls off (the line and piece buffers).
struct Area {
    std::string bytes;
    int read = 0;
    explicit Area(int size) : bytes(size, '\0') {}
    void put(const std::string& text) { bytes = (text + '\0' + bytes).substr(0, bytes.size()); }
    // The text at the reading position, to its NUL or the area's end; the position moves past it.
    std::string take() {
        const std::string text = bytes.substr(read, bytes.find('\0', read) - read);
        read += text.size() + 1;
        return text.substr(0, UNDELETE_TEXT_MAX);
    }
};

// The document as the key table says the keys change it.
struct Model {
    Lines lines;                // as stored
    std::vector<bool> marked;   // the line block
    int top = 0, row = 0, col = 0, rows = 20, boxes = 0;
    bool insert = true, columnKeep = true;
    Area pieces{CUSUP}, deleted{ZWRSUP};
    Lines block;
    Key previous = kKeyKinds;
    explicit Model(const Setup& s)
        : lines(s.doc), marked(s.doc.size()), row(s.line), col(s.col), rows(s.rows), columnKeep(s.columnKeep) {}

    int line() const { return top + row; }
    int count() const { return lines.size(); }
    std::string text(int i) const { return i < count() ? lines[i] : ""; }
    std::string padded(int i) const { return text(i) + std::string(kCols - text(i).size(), ' '); }
    void reach(int n) {  // at least n lines: the blank ones past the end become lines
        if (count() < n) lines.resize(n), marked.resize(n);
    }
    void set(int i, const std::string& s) { reach(i + 1), lines[i] = trimmed(s); }
    void insertLines(int at, const Lines& add) {
        reach(at);
        lines.insert(lines.begin() + at, add.begin(), add.end());
        marked.insert(marked.begin() + at, add.size(), false);
    }
    void erase(int i) {
        if (i < count()) lines.erase(lines.begin() + i), marked.erase(marked.begin() + i);
    }
    void mark(int i, bool on) {
        if (on || i < count()) reach(i + 1), marked[i] = on;
    }
    // Lines up to the last that holds text.
    int textLines() const {
        int n = count();
        while (n > 0 && text(n - 1).empty()) --n;
        return n;
    }
    // A marked blank line at the document's end: the store drops it, mark and
    // all, whenever the window's rows go into it (a key that leads here is skipped).
    bool markAtTheEnd() const { return std::find(marked.begin() + textLines(), marked.end(), true) != marked.end(); }
    // Nothing for a column past 249; a negative one is column 0.
    void toColumn(int c) {
        if (c < kCols) col = std::max(c, 0);
    }
    void down() { row < rows - 1 ? ++row : ++top; }
    // Enter: a line down, to the first text column of the nearest window row
    // at or above with text, a step deeper below a row that opens with a bracket.
    void nextLine() {
        down();
        int c = 0;
        for (int i = line(); i >= top; --i) {
            const std::string t = text(i);
            if (t.empty()) continue;
            while (white(t[c])) ++c;
            if (i != line() && (t[c] == '{' || t[c] == '[' || t[c] == '(')) c += indentStep;
            break;
        }
        toColumn(std::min(c, kLast));
    }
    // A character into a 250-column row at p: in insert mode the text from p
    // moves right (with "Spaltentreue" only up to the next double blank, whose
    // first blank it takes); column 249 falls off.
    void typeInto(std::string& s, int p, char ch) const {
        if (!insert) {
            s[p] = ch;
            return;
        }
        const int q = columnKeep ? doubleBlank(s, p) : kCols;
        s.insert(p, 1, ch);
        if (q < kCols) s.erase(q + 1, 1);
        s.resize(kCols);
    }
    // The character at p out, into the piece buffer; with "Spaltentreue" the
    // text from the next double blank on keeps its columns.
    void removeAt(std::string& s, int p) {
        piece(s.substr(p, 1));
        const int q = columnKeep ? doubleBlank(s, p + 1) : kCols;
        s.erase(p, 1);
        if (q < kCols) s.insert(q - 1, 1, ' ');
        s.resize(kCols, ' ');
    }
    void piece(const std::string& text) {
        const std::string kept = stripBlanks(text);
        pieces.put(kept.empty() ? " " : kept);
        pieces.read = 0;
    }
    // A text typed as a whole, or refused with a box when a character would
    // be pushed off column 249 or typed over there.
    void typeText(const std::string& t) {
        std::string s = padded(line());
        int c = col;
        for (std::size_t i = 0; i < t.size(); ++i) {
            const bool pushedOff = insert && (columnKeep ? doubleBlank(s, c) : kCols) == kCols && s[kLast] != ' ';
            if (pushedOff || (c == kLast && i + 1 < t.size())) {
                ++boxes;
                return;
            }
            typeInto(s, c, t[i]);
            c = std::min(c + 1, kLast);
        }
        if (!t.empty()) set(line(), s);
        col = c;
    }
    void press(const Step& k);
};

void Model::press(const Step& k) {
    const int l = line();
    std::string s = padded(l);
    switch (k.key) {
    case Type:
        typeInto(s, col, k.ch);
        set(l, s);
        col = std::min(col + 1, kLast);
        break;
    case Ins: insert = !insert; break;
    case Back:  // never joins lines
        if (col == 0) break;
        --col;
        [[fallthrough]];
    case Del:  // never joins lines either
        removeAt(s, col);
        set(l, s);
        break;
    case Ret: nextLine(); break;
    case CtrlRet: {  // the rest of the line into a new line below, at the line's indentation
        const std::string rest = stripBlanks(s.substr(col));
        if (rest.empty()) break;
        const int indent = std::min<int>(s.find_first_not_of(' '), col);
        set(l, s.substr(0, col));
        insertLines(l + 1, {trimmed(std::string(indent, ' ') + rest)});
        down();
        toColumn(indent);
        break;
    }
    case Left: toColumn(col - 1); break;
    case Right: toColumn(col + 1); break;
    case Up:
    case ShiftUp:  // with Shift the line it arrives on loses its block mark
        if (row > 0) --row;
        else if (top > 0) --top;
        if (k.key == ShiftUp) mark(line(), false);
        break;
    case ShiftDown: mark(l, true); [[fallthrough]];  // the line it leaves is marked
    case Down: down(); break;
    case Home: toColumn(std::max<int>(text(l).find_first_not_of(' '), 0)); break;
    case CtrlHome: col = 0; break;
    case End: toColumn(text(l).size() + 1); break;
    case CtrlY:
        deleted.put(text(l));
        erase(l);
        break;
    case CtrlE:  // the newest deleted line, on repeated presses the older ones
        if (previous != CtrlE) deleted.read = 0;
        insertLines(l, {deleted.read < ZWRSUP ? deleted.take() : ""});
        deleted.read = std::min(deleted.read, ZWRSUP);
        break;
    case CtrlZ:
        piece(s.substr(col));
        set(l, s.substr(0, col));
        break;
    case CtrlU: {  // the newest piece, on repeated presses the older ones; past the area's end the newest
        if (previous != CtrlU) pieces.read = 0;
        const std::string t = pieces.bytes[pieces.read] ? pieces.take() : "";
        if (pieces.read >= CUSUP) pieces.read = 0;
        typeText(t);
        break;
    }
    case CtrlA: {  // the next line without its indentation, one blank between; refused past 250
        const std::string t = text(l), after = text(l + 1);
        const std::string next = after.substr(std::min(after.find_first_not_of(' '), after.size()));
        if (!next.empty() && t.size() + 1 + next.size() > kCols) {
            ++boxes;
            break;
        }
        erase(l + 1);
        if (!next.empty()) set(l, t + ' ' + next);
        toColumn(t.size() + 1);
        break;
    }
    case CtrlP:
        mark(l, true);
        nextLine();
        break;
    case CtrlB: {  // copies of the marked lines before the cursor line, else the block buffer's lines
        Lines copies;
        for (int i = 0; i < count(); ++i)
            if (marked[i]) copies.push_back(lines[i]);
        if (!copies.empty()) block = copies;
        marked.assign(marked.size(), false);
        insertLines(l, block);
        top += block.size();
        break;
    }
    case Move:
    case Delete: {
        reach(l);
        Lines before, copies, after;
        int first = -1;
        for (int i = 0; i < count(); ++i) {
            if (!marked[i]) {
                (i < l ? before : after).push_back(lines[i]);
            } else {
                if (first < 0) first = i;
                copies.push_back(lines[i]);
            }
        }
        lines = before;
        if (k.key == Move) {
            // The marked lines stand where the cursor line was, the cursor on the first of them.
            lines.insert(lines.end(), copies.begin(), copies.end());
            row = std::min<int>(row, before.size());
            top = before.size() - row;
        } else {
            // The cursor keeps its row, on the line in the first deleted one's place;
            // when that would stand above the row the window starts at the first line.
            top = first >= row ? first - row : 0;
        }
        lines.insert(lines.end(), after.begin(), after.end());
        marked.assign(lines.size(), false);
        top = std::min(top, textLines());  // blank lines at the end are not kept: the view stops there
        break;
    }
    case Unmark: marked.assign(marked.size(), false); break;
    case kKeyKinds: break;
    }
    if (k.key < Move) previous = k.key;
}

// What a comparison looks at.
struct State {
    Lines text;
    std::string marks;
    int top, line, col, boxes;
    auto tied() const { return std::tie(text, marks, top, line, col, boxes); }
};

State programState() {
    State s{{}, "", topLine, topLine + cursorRow, firstCol + cursorCol, static_cast<int>(headless_boxes().size())};
    for (const LineRecord& line : fuzzDocumentLines()) {
        s.text.push_back(line.text);
        s.marks += line.markState;
    }
    return s;
}

State modelState(const Model& m) {
    State s{Lines(m.lines.begin(), m.lines.begin() + m.textLines()), "", m.top, m.line(), m.col, m.boxes};
    for (std::size_t i = 0; i < s.text.size(); ++i) s.marks += m.marked[i] ? '2' : '0';  // as Ctrl+P marks
    return s;
}

void pressProgram(const Step& k) {
    static const int vks[] = {0, vk::kInsert, vk::kBack, vk::kDelete, vk::kReturn, vk::kReturn, vk::kLeft,
                              vk::kRight, vk::kUp, vk::kDown, vk::kUp, vk::kDown, vk::kHome, vk::kHome, vk::kEnd,
                              'Y', 'E', 'Z', 'U', 'A', 'P', 'B'};
    static const int menu[] = {CMD_BLOCK_MOVE, CMD_BLOCK_DELETE, CMD_BLOCK_UNMARK};
    if (k.key == Type) {
        keyChar(static_cast<unsigned char>(k.ch), false, false, false);
    } else if (k.key >= Move) {
        appCommandRoute(nullptr, 0, menu[k.key - Move], 0);
    } else {
        const bool ctrl = k.key == CtrlRet || k.key == CtrlHome || k.key >= CtrlY;
        keyDown(vks[k.key], k.key == ShiftUp || k.key == ShiftDown, ctrl, false);
    }
}

// A sequence played: the index of the first key after which the program and
// the model differ (-1: none), the keys pressed (not those the model cannot
// state simply from where it stands) and what each showed last.
struct Run {
    int failed = -1;
    std::vector<Step> pressed;
    State program, model;
};

Run play(const Setup& setup, const std::vector<Step>& keys) {
    std::vector<LineRecord> records(setup.doc.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        lineInit(&records[i]);
        std::snprintf(records[i].text, sizeof records[i].text, "%s", setup.doc[i].c_str());
    }
    fuzzEditorStart(setup.rows, setup.cols, false, &records);
    tabStep = 8;  // as the key tables' fixture has them
    indentStep = 2;
    columnKeep = setup.columnKeep;
    cursorRow = setup.line;
    cursorToColumn(setup.col);
    Model m(setup);
    Run run;
    for (std::size_t i = 0; i < keys.size() && run.failed < 0; ++i) {
        Model next = m;
        next.press(keys[i]);
        if (next.markAtTheEnd()) continue;
        m = next;
        pressProgram(keys[i]);
        run.pressed.push_back(keys[i]);
        run.program = programState();
        run.model = modelState(m);
        if (run.program.tied() != run.model.tied()) run.failed = i;
    }
    fuzzEditorStop();
    return run;
}

// Runs of keys, then document lines, left out while the sequence still fails.
void shrink(Setup& setup, std::vector<Step>& keys) {
    auto stillFails = [&](const Setup& s, std::vector<Step> k) {
        const int failed = play(s, k).failed;
        if (failed < 0) return false;
        setup = s;
        keys.assign(k.begin(), k.begin() + failed + 1);
        return true;
    };
    stillFails(setup, keys);
    for (bool changed = true; changed;) {
        changed = false;
        for (std::size_t chunk = keys.size() / 2; chunk >= 1; chunk /= 2) {
            for (std::size_t at = 0; at < keys.size();) {
                std::vector<Step> fewer = keys;
                fewer.erase(fewer.begin() + at, fewer.begin() + std::min(at + chunk, fewer.size()));
                if (stillFails(setup, fewer)) changed = true;
                else at += chunk;
            }
        }
        for (std::size_t i = setup.doc.size(); i-- > 0 && setup.doc != Lines{""};) {
            Setup smaller = setup;
            smaller.doc.erase(smaller.doc.begin() + i);
            smaller.line -= smaller.line > static_cast<int>(i);  // the cursor stays on its line
            if (smaller.doc.empty()) smaller.doc.push_back("");
            changed = stillFails(smaller, keys) || changed;
        }
    }
}

// A C++ expression of the text; with runs, 16 or more of one character as std::string(n, 'c').
std::string literal(const std::string& s, bool runs = true) {
    std::string out, quoted;
    auto flush = [&] {
        if (!quoted.empty()) out += (out.empty() ? "\"" : " + \"") + quoted + "\"";
        quoted.clear();
    };
    for (std::size_t i = 0, n; i < s.size(); i += n) {
        const unsigned char c = s[i];
        for (n = 1; i + n < s.size() && s[i + n] == s[i];) ++n;
        if (runs && n >= 16 && c >= 32 && c < 127 && c != '\'' && c != '\\') {
            flush();
            out += (out.empty() ? "" : " + ") + ("std::string(" + std::to_string(n) + ", '") + char(c) + "')";
            continue;
        }
        n = 1;
        char octal[8];
        std::snprintf(octal, sizeof octal, "\\%03o", c);
        quoted += c == '\n' ? "\\n" : c == '"' || c == '\\' ? std::string("\\") + char(c)
                  : c >= 32 && c < 127           ? std::string(1, char(c))
                                                 : std::string(octal);
    }
    flush();
    return out.empty() ? "\"\"" : out;
}

std::string joined(const Lines& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
    return out;
}

// The keys from..to-1 as a key script; named keys pressed again as {Name*n}.
std::string script(const std::vector<Step>& keys, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t i = from, n; i < to; i += n) {
        const Key key = keys[i].key;
        for (n = 1; key != Type && key <= End && i + n < to && keys[i + n].key == key;) ++n;
        const std::string name = kScript[key];
        const char c = keys[i].ch;
        out += key == Type ? (c == '{' ? "{{}" : c == '^' ? "{^}" : std::string(1, c))
               : n == 1    ? name
                           : name.substr(0, name.size() - 1) + "*" + std::to_string(n) + "}";
    }
    return out;
}

// The shrunk sequence as a test to paste: a key table row, or with the menu's
// block commands the body of a KeyCommands test; then the window's top line,
// the block marks and the boxes. It expects what the model says.
void printTest(const Setup& setup, const Run& run) {
    for (const auto& [who, s] : {std::pair{"the program", run.program}, std::pair{"the model", run.model}})
        std::printf("//   %s: %s\n//     marks \"%s\", top line %d, line %d, column %d, %d boxes\n", who,
                    literal(joined(s.text)).c_str(), s.marks.c_str(), s.top, s.line, s.col, s.boxes);
    const std::vector<Step>& keys = run.pressed;
    const std::string prepare = "windowRows = " + std::to_string(setup.rows) + "; windowCols = " +
                                std::to_string(setup.cols) + "; columnKeep = " + (setup.columnKeep ? "1;" : "0;");
    const std::string before = literal(joined(setup.doc)), after = literal(joined(run.model.text));
    if (std::none_of(keys.begin(), keys.end(), [](const Step& k) { return k.key >= Move; })) {
        std::printf("    const KeyRow rows[] = {\n        {%s, %d, %d, %s, %s, %d, %d},\n    };\n"
                    "    playRows(rows, [] { %s });\n",
                    before.c_str(), setup.col, setup.line, literal(script(keys, 0, keys.size()), false).c_str(),
                    after.c_str(), run.model.col, run.model.line, prepare.c_str());
    } else {
        std::printf("    %s\n    loadText(%s);\n    at(%d, %d);\n", prepare.c_str(), before.c_str(), setup.col,
                    setup.line);
        for (std::size_t i = 0, from = 0; i <= keys.size(); ++i) {
            if (i < keys.size() && keys[i].key < Move) continue;
            if (i > from) std::printf("    keys(%s);\n", literal(script(keys, from, i), false).c_str());
            if (i < keys.size()) std::printf("    menu(%s);\n", kScript[keys[i].key]);
            from = i + 1;
        }
        std::printf("    EXPECT_EQ(text(), %s);\n    EXPECT_EQ(col(), %d);\n    EXPECT_EQ(line(), %d);\n",
                    after.c_str(), run.model.col, run.model.line);
    }
    std::printf("    EXPECT_EQ(topLine, %d);\n    EXPECT_EQ(marks(), \"%s\");\n    EXPECT_EQ(boxes(), %d);\n",
                run.model.top, run.model.marks.c_str(), run.model.boxes);
}

// A small document: blank lines, short lines of words with single and double
// blanks, indented lines opening with a brace, lines of 235 to 250 characters.
Setup randomSetup(std::mt19937& rng) {
    static const int rows[] = {20, 20, 7, 3, 1}, cols[] = {80, 80, 40, 10, 7, 1, 250};
    static const char* const words[] = {"ab", "x", "  ", "{", "(a", "\344\366", "end.", "y "};
    Setup s{{}, 0, 0, rows[rng() % 5], cols[rng() % 7], rng() % 3 != 0};
    for (int n = 1 + rng() % 30, i = 0; i < n; ++i) {
        std::string line;
        const unsigned kind = rng() % 10;
        if (kind >= 2 && kind < 4) line = std::string(235 + rng() % 16, static_cast<char>('k' + rng() % 3));
        for (int w = kind < 4 ? -1 : rng() % 8; w >= 0; --w) line += std::string(words[rng() % 8]) + " ";
        if (kind == 4) line = std::string(rng() % 6, ' ') + "{ " + line;
        s.doc.push_back(trimmed(line));
    }
    s.line = rng() % std::min<unsigned>(s.rows, s.doc.size() + 1);
    s.col = rng() % 3 == 0 ? rng() % kCols : rng() % 12;
    return s;
}

// Keys drawn by their weights; Ctrl+E and Ctrl+U are often pressed again, and
// typing and the cursor keys come in runs.
std::vector<Step> randomKeys(std::mt19937& rng, std::size_t count) {
    static const char typed[] = "abcxyz     {([.e\344^";
    const int total = std::accumulate(std::begin(kWeight), std::end(kWeight), 0);
    std::vector<Step> keys;
    while (keys.size() < count) {
        int pick = rng() % total, k = 0;
        while (pick >= kWeight[k]) pick -= kWeight[k++];
        const Step step{static_cast<Key>(k), typed[rng() % (sizeof typed - 1)]};
        const int again = (k == CtrlE || k == CtrlU) && rng() % 2 ? 1 + rng() % 3
                          : (k == Type || k == Left || k == Right) && rng() % 5 == 0 ? rng() % 40
                                                                                     : 0;
        keys.insert(keys.end(), again + 1, step);
    }
    keys.resize(count);
    return keys;
}

}  // namespace

int main(int argc, char** argv) {
    const unsigned seed = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1;
    const long sequences = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 100;
    const long length = argc > 3 ? std::strtol(argv[3], nullptr, 10) : 200;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const auto start = std::chrono::steady_clock::now();
    long keys = 0, mismatches = 0;
    for (long n = 0; n < sequences; ++n) {
        std::seed_seq sequenceSeed{seed, static_cast<unsigned>(n)};
        std::mt19937 rng(sequenceSeed);
        Setup setup = randomSetup(rng);
        std::vector<Step> steps = randomKeys(rng, length);
        const Run run = play(setup, steps);
        keys += run.pressed.size();
        if (run.failed < 0 || ++mismatches > 1) continue;  // the first mismatch is shrunk and printed
        std::printf("y8_key_model: seed %u, sequence %ld: a mismatch after key %d of %ld; shrunk:\n", seed, n,
                    run.failed + 1, length);
        shrink(setup, steps);
        printTest(setup, play(setup, steps));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("y8_key_model: seed %u, %ld sequences, %ld keys, %ld mismatches, %.0f seconds\n", seed, sequences,
                keys, mismatches, seconds);
    return mismatches == 0 ? 0 : 1;
}
