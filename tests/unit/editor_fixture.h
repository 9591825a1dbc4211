// The editor as start-up leaves it, for the tests of the editing, key and refresh
// modules: an empty document in a window of 80 columns and 20 rows, the default
// options, empty undelete buffers and recordings, a view that paints into the
// headless host, and nothing recorded yet.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../lib/empty_store.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "document/undelete.h"
#include "host/headless.h"
#include "view/cursor.h"
#include "view/marking.h"
#include "view/options.h"
#include "view/recorder.h"
#include "view/taste.h"
#include "view/textview.h"

inline void editorStart() {
    headless_reset();
    ASSERT_TRUE(emptyStoreStart(20, 80));
    positionsReset();
    undeleteCreate();
    recorderReset();
    optionsSetDefaults();
    quoteOption = 0;
    tabStep = 8;
    indentStep = 2;
    modified = 0;
    keyDepth = 0;
    lineInsertCounter = 0;
    outdentWidth = 0;
    snapshotReset();
    markReset();
    statusFieldsReset();
    viewStateStart(0);
    headless_reset();
}

inline void editorStop() {
    viewStateEnd();
    undeleteDestroy();
    recorderReset();
    headless_reset();
}

// Row r of the window holds text (unmarked).
inline void setRow(int r, const char* text) {
    LineRecord line;
    lineInit(&line);
    std::strncpy(line.text, text, kLineChars);
    rowPut(r, &line);
}

// The text of row r, trimmed.
inline std::string rowText(int r) {
    LineRecord line;
    rowGet(r, &line);
    return line.text;
}

// A document of n lines "line <i>", the window at its start.
inline void makeDocument(int n) {
    LineRecord line;
    for (int i = n - 1; i >= 0; --i) {
        lineInit(&line);
        std::snprintf(line.text, sizeof line.text, "line %d", i);
        ASSERT_EQ(pushBelow(&line), 0);
    }
    fillWindowFromBelow();
    topLine = aboveCountGet();
}
