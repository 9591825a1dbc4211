// The fixture of the tests of the view and the text operations: a document in
// the line store, keys pressed through the dispatcher as short scripts, the
// headless host recording repaints, boxes, the clipboard and posted commands.
#pragma once

#include <gtest/gtest.h>

#include "editor_fixture.h"

#include <cctype>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"
#include "host/headless.h"
#include "host/headless_messages.h"
#include "resources/resource.h"
#include "shell/appproc.h"
#include "view/cursor.h"
#include "view/editing.h"
#include "view/refresh.h"
#include "view/taste.h"
#include "view/textview.h"

#include "store_check.h"

using Lines = std::vector<std::string>;

// "line from" .. "line to-1".
inline Lines numbered(int from, int to) {
    Lines out;
    for (int i = from; i < to; ++i) out.push_back("line " + std::to_string(i));
    return out;
}
inline Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// Numbered lines by their numbers: "0-24 5 31 25-59".
inline Lines numberedAs(const char* spec) {
    Lines out;
    for (const char* s = spec; *s;) {
        char* end;
        const long from = std::strtol(s, &end, 10);
        const long to = *end == '-' ? std::strtol(end + 1, &end, 10) : from;
        for (long i = from; i <= to; ++i) out.push_back("line " + std::to_string(i));
        for (s = end; *s == ' '; ++s) {
        }
    }
    return out;
}

// One key of a script: a key-down (virtual key) or a character, with its modifiers.
struct ScriptKey { bool isChar; int code; bool shift, ctrl; };

// Reads the key at s and moves s past it; false at the script's end. A script:
// plain characters are typed; "^X" is Ctrl with the key X; "{Name}" a named key
// with the prefixes "S-" (Shift) and "C-" (Ctrl), "{Name*n}" n times. The names
// are the keys below, a letter or digit (the key), or one other character
// (typed; with Ctrl "#" and "+" are the Ctrl characters 28 and 29).
inline bool scriptKey(const char*& s, ScriptKey* k, int* times) {
    struct Named { const char* name; int vk; };
    static const Named names[] = {
        {"Home", vk::kHome}, {"End", vk::kEnd},   {"Left", vk::kLeft},    {"Right", vk::kRight},
        {"Up", vk::kUp},     {"Down", vk::kDown}, {"PgUp", vk::kPrior},   {"PgDn", vk::kNext},
        {"Tab", vk::kTab},   {"Ret", vk::kReturn}, {"Back", vk::kBack},   {"Del", vk::kDelete},
        {"Ins", vk::kInsert}, {"Apps", vk::kApps}, {"Oe", vk::kOe},       {"Ae", vk::kAe},
        {"Period", vk::kPeriod},
    };
    *k = ScriptKey{false, 0, false, false};
    *times = 1;
    if (*s == '\0') return false;
    if (*s == '^' && s[1] != '\0') {
        *k = ScriptKey{false, std::toupper(static_cast<unsigned char>(s[1])), false, true};
        s += 2;
        return true;
    }
    if (*s != '{') {
        *k = ScriptKey{true, static_cast<unsigned char>(*s++), false, false};
        return true;
    }
    const char* end = std::strchr(s + 2, '}');
    std::string name(s + 1, end);
    s = end + 1;
    for (;;) {
        if (name.rfind("S-", 0) == 0 && name.size() > 2) {
            k->shift = true;
        } else if (name.rfind("C-", 0) == 0 && name.size() > 2) {
            k->ctrl = true;
        } else {
            break;
        }
        name.erase(0, 2);
    }
    const std::size_t star = name.find('*', 1);
    if (star != std::string::npos) {
        *times = std::stoi(name.substr(star + 1));
        name.resize(star);
    }
    for (const Named& n : names) {
        if (name == n.name) {
            k->code = n.vk;
            return true;
        }
    }
    const unsigned char c = static_cast<unsigned char>(name[0]);
    k->isChar = !std::isalnum(c);
    k->code = k->isChar ? c : std::toupper(c);
    if (k->isChar && k->ctrl && (c == '#' || c == '+')) k->code = c == '#' ? 28 : 29;
    return true;
}

inline void pressKey(const ScriptKey& k) {
    if (k.isChar) {
        keyChar(k.code, k.shift, k.ctrl, false);
    } else {
        keyDown(k.code, k.shift, k.ctrl, false);
    }
}

// A row of a key table: the document before (lines joined by '\n'), the
// cursor's column and line, the keys, the document and the cursor after (a
// column of -1 is not checked).
struct KeyRow { std::string before; int col, line; const char* keys; std::string after; int colAfter, lineAfter; };

class KeyFixture : public ::testing::Test {
  protected:
    void SetUp() override { editorStart(); }
    void TearDown() override { editorStop(); }

    // The document: the lines, then the window at its start.
    static void load(const Lines& lines) {
        loadLines(lines);
        refreshAll();  // as after loading: the line snapshot is taken
    }
    // The document from its lines joined by '\n'.
    static void loadText(const std::string& text) {
        Lines lines;
        std::size_t from = 0;
        for (std::size_t nl; (nl = text.find('\n', from)) != std::string::npos; from = nl + 1)
            lines.push_back(text.substr(from, nl - from));
        lines.push_back(text.substr(from));
        load(lines);
    }

    // Every line of the document in order, trimmed, without the blank lines
    // at its end (which the store may drop or add as the window moves).
    static Lines doc() { return documentLines().text; }
    static std::string text() { return joined(doc()); }
    static std::string joined(const Lines& lines) {
        std::string out;
        for (std::size_t i = 0; i < lines.size(); ++i) out += (i ? "\n" : "") + lines[i];
        return out;
    }

    static std::string row(int r) { return rowText(r); }
    static int col() { return firstCol + cursorCol; }
    static int line() { return topLine + cursorRow; }
    static void at(int c, int r) {
        cursorRow = r;
        cursorToColumn(c);
    }
    // Document line `line` in window row `row`, the cursor on it in column 0.
    static void place(int line, int row) {
        ASSERT_EQ(gotoLineAtTop(line - row), 0);
        cursorRow = row;
        cursorCol = firstCol = 0;
        headless_reset();
    }
    // The block mark m on the given document lines, the view kept.
    static void mark(std::initializer_list<int> lines, char m = '2') { markDocumentLines(lines, m); }
    static std::string marks() { return documentLines().marks; }

    // Presses the keys of a script (scriptKey).
    static void keys(const char* script) {
        ScriptKey k;
        int times;
        while (scriptKey(script, &k, &times))
            for (int i = 0; i < times; ++i) pressKey(k);
    }
    static void key(int vk, bool shift = false, bool ctrl = false) { keyDown(vk, shift, ctrl, false); }
    static void ctrl(int code) { keyDown(code, false, true, false); }
    static void ctrlChar(int ch) { keyChar(ch, false, true, false); }
    static void repeat(int n, int vk, bool shift = false) {
        for (int i = 0; i < n; ++i) key(vk, shift);
    }
    static void menu(int id) { appCommandRoute(nullptr, 0, id, 0); }

    static int boxes() { return static_cast<int>(headless_boxes().size()); }
    static std::string box(std::size_t i = 0) { return i < headless_boxes().size() ? headless_boxes()[i].text : ""; }
    static std::string clip() {
        static char buf[130000];
        clip_get(buf, sizeof buf - 1);
        return buf;
    }

    // The window shows `expected` from line `top`, the cursor in `row`.
    static ::testing::AssertionResult windowShows(const Lines& expected, int top, int row) {
        if (topLine != top || cursorRow != row)
            return ::testing::AssertionFailure() << "top " << topLine << " row " << cursorRow;
        for (int r = 0; r < windowRows; ++r) {
            const std::size_t i = static_cast<std::size_t>(top + r);
            const std::string want = i < expected.size() ? expected[i] : "";
            if (rowText(r) != want) return ::testing::AssertionFailure() << "row " << r << " \"" << rowText(r) << "\"";
        }
        return storeSound();
    }

    // The store is sound and the window's top line follows the stack above.
    static ::testing::AssertionResult storeSound() {
        const ::testing::AssertionResult sound = storeIsSound();
        if (sound && topLine != aboveCountGet()) return ::testing::AssertionFailure() << "topLine " << topLine;
        return sound;
    }
    // Plays each row on a fresh document after `prepare` and checks the
    // document and the cursor after it.
    template <std::size_t N>
    static void playRows(const KeyRow (&rows)[N], void (*prepare)() = nullptr) {
        for (const KeyRow& r : rows) {
            SCOPED_TRACE(::testing::Message() << '"' << r.before << "\" + " << r.keys);
            lineInsertMode = 0;
            windowRows = 20;
            columnKeep = 1;
            headless_reset();
            if (prepare) prepare();
            loadText(r.before);
            cursorRow = r.line;
            cursorToColumn(r.col);
            keys(r.keys);
            EXPECT_EQ(text(), r.after);
            if (r.colAfter >= 0) {
                EXPECT_EQ(col(), r.colAfter);
            }
            EXPECT_EQ(line(), r.lineAfter);
            EXPECT_TRUE(storeSound());
        }
    }
};
