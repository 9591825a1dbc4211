// The editor as start-up leaves it: an empty document in 80 columns and 20 rows, the default options.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "../lib/document_rows.h"
#include "../lib/editor_reset.h"
#include "../lib/empty_store.h"
#include "document/docstate.h"
#include "file_bytes.h"
#include "host/headless.h"
#include "host/headless_profile.h"
#include "shell/bindings.h"
#include "support/profile.h"
#include "tools/phrases.h"
#include "view/textview.h"

inline void editorStart() {
    toolsBind();
    headless_reset();
    ASSERT_TRUE(emptyStoreStart(20, 80));
    editorStateReset();
    quoteOption = 0;
    tabStep = 8;
    indentStep = 2;
    modified = 0;
    viewStateStart(0);
    headless_reset();
}

inline void editorStop() {
    viewStateEnd();
    undeleteDestroy();
    recorderReset();
    headless_reset();
}

// The editor with its settings file "Y8.ini" in a fresh directory of the test's own, the phrases unread.
class SettingsFixture : public ::testing::Test, protected TempDir {
  protected:
    SettingsFixture() : TempDir("y8_settings_") {}
    void SetUp() override {
        editorStart();
        headless_set_ini_dir((dir_.string() + "/").c_str());
        ini_set_file("Y8.ini");
        phrasesForget();
    }
    void TearDown() override {
        phrasesForget();
        editorStop();
    }
};

// The bytes an edit may still add to the window before the store is full.
inline long storeSlack() {
    return static_cast<long>(storeFreeBytes()) - static_cast<long>(storeWindowBytes()) - 1;
}

// Lines of 'f' pushed above the window until exactly `left` more bytes fit an
// edit: the store's boundary for the full-store tests.
inline void fillStoreLeaving(long left) {
    LineRecord fill;
    long rest = storeSlack() - left;
    while (rest >= 5) {
        int n = static_cast<int>(rest - 5 < 250 ? rest - 5 : 250);
        if (rest - (n + 5) > 0 && rest - (n + 5) < 5) n -= 5;
        lineInit(&fill);
        std::memset(fill.text, 'f', static_cast<std::size_t>(n));
        ASSERT_EQ(pushAbove(&fill), 0);
        rest -= n + 5;
    }
    topLine = aboveCountGet();
    ASSERT_EQ(storeSlack(), left);
}

// Calls f(line, index) on every line of the document in order: the stack above,
// the window rows (padded; put back, so f may change them), the stack below.
template <class F>
void eachDocumentLine(F f) {
    struct Walk { F* f; int index; } walk{&f, 0};
    auto call = [](LineRecord* line, void* user) {
        Walk& w = *static_cast<Walk*>(user);
        (*w.f)(line, w.index++);
        return 1;
    };
    visitAbove(call, &walk);
    for (int r = 0; r < windowRows; ++r) {
        LineRecord row;
        rowGetRaw(r, &row);
        call(&row, &walk);
        rowPut(r, &row);
    }
    visitBelow(call, &walk);
}

// The whole document as texts (trimmed) and marks, without the blank lines at its end.
struct DocumentLines {
    std::vector<std::string> text;
    std::string marks;  // one mark character per line
};
inline DocumentLines documentLines() {
    DocumentLines out;
    eachDocumentLine([&out](LineRecord* line, int) {
        out.text.emplace_back(line->text, static_cast<std::size_t>(textTrimmedLength(line->text)));
        out.marks.push_back(line->markState);
    });
    while (!out.text.empty() && out.text.back().empty()) {
        out.text.pop_back();
        out.marks.pop_back();
    }
    return out;
}

// The block mark m on the given document lines (counted from 0), the view kept.
inline void markDocumentLines(std::initializer_list<int> lines, char m = '2') {
    eachDocumentLine([&](LineRecord* line, int i) {
        if (std::find(lines.begin(), lines.end(), i) != lines.end()) line->markState = m;
    });
}
