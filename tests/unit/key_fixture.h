// A document in the line store and keys pressed through the dispatcher as short scripts.
#pragma once

#include "editor_fixture.h"

#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "resources/resource.h"
#include "shell/appproc.h"
#include "tools/adder.h"
#include "view/refresh.h"
#include "view/search.h"
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

// One key of a script: a key-down (virtual key) or a character, with its modifiers.
struct ScriptKey { bool isChar; int code; bool shift, ctrl; };

// Reads the key at s and moves s past it; false at the script's end. A script:
// plain characters are typed; "^X" is Ctrl with the key X; "{Name}" a named key
// with the prefixes "S-" (Shift) and "C-" (Ctrl), "{Name*n}" n times. The names
// are the keys below, a letter or digit (the key), or one other character
// (typed; with Ctrl "#" and "+" are the Ctrl characters 28 and 29).
inline bool scriptKey(const char*& s, ScriptKey* k, int* times) {
    static const std::pair<const char*, int> names[] = {
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
    for (; name.size() > 2 && (name.rfind("S-", 0) == 0 || name.rfind("C-", 0) == 0); name.erase(0, 2))
        (name[0] == 'S' ? k->shift : k->ctrl) = true;
    const std::size_t star = name.find('*', 1);
    if (star != std::string::npos) {
        *times = std::stoi(name.substr(star + 1));
        name.resize(star);
    }
    for (const auto& [n, code] : names) {
        if (name == n) {
            k->code = code;
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
    (k.isChar ? keyChar : keyDown)(k.code, k.shift, k.ctrl, false);
}

// A row of a key table: the document before (lines joined by '\n'), the
// cursor's column and line, the keys, the document and the cursor after (a
// column of -1 is not checked).
struct KeyRow { std::string before; int col, line; const char* keys; std::string after; int colAfter, lineAfter; };

class KeyFixture : public ::testing::Test {
  protected:
    // Besides the editor: no search, no adder, no mouse button down, cells of 8 x 16 pixels.
    void SetUp() override {
        editorStart();
        searchReset();
        adderReset();
        mouseLeftUp();
        charWidth = 8;
        lineHeight = 16;
    }
    void TearDown() override {
        searchReset();
        adderReset();
        markReset();
        mouseLeftUp();
        editorStop();
    }

    // The document: the lines, the window at its start, the line snapshot taken.
    static void load(const Lines& lines) {
        loadLines(lines);
        refreshAll();
    }
    static void loadText(const std::string& text) {
        Lines lines(1);
        for (char c : text) {
            if (c == '\n') {
                lines.emplace_back();
            } else {
                lines.back().push_back(c);
            }
        }
        load(lines);
    }

    // Every line of the document in order, trimmed, without the blank lines
    // at its end (which the store may drop or add as the window moves).
    static Lines doc() { return documentLines().text; }
    static std::string text() {
        std::string out;
        for (const std::string& l : doc()) out += l + "\n";
        return out.substr(0, out.empty() ? 0 : out.size() - 1);
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
    static void mark(std::initializer_list<int> lines) { markDocumentLines(lines); }
    static std::string marks() { return documentLines().marks; }

    static void keys(const char* script) {
        ScriptKey k;
        int times;
        while (scriptKey(script, &k, &times))
            for (int i = 0; i < times; ++i) pressKey(k);
    }
    static void keys(const std::string& script) { keys(script.c_str()); }
    static void menu(int id) { appCommandRoute(nullptr, 0, id, 0); }

    static int boxes() { return static_cast<int>(headless_boxes().size()); }
    static std::string box(std::size_t i = 0) { return i < headless_boxes().size() ? headless_boxes()[i].text : ""; }
    static std::string clip() {
        static char buf[130000];
        clip_get(buf, sizeof buf - 1);
        return buf;
    }
    static std::vector<int> posted() {
        std::vector<int> ids;
        for (const auto& c : headless_posted_commands()) ids.push_back(c.id);
        return ids;
    }

    // The window shows `expected` from line `top`, the cursor in `row`.
    static ::testing::AssertionResult windowShows(const Lines& expected, int top, int row) {
        if (topLine != top || cursorRow != row)
            return ::testing::AssertionFailure() << "top " << topLine << " row " << cursorRow;
        for (int r = 0; r < windowRows; ++r) {
            const std::size_t i = static_cast<std::size_t>(top + r);
            if (rowText(r) != (i < expected.size() ? expected[i] : ""))
                return ::testing::AssertionFailure() << "row " << r << " \"" << rowText(r) << "\"";
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
            at(r.col, r.line);
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
