// The document's window rows and lines as the native and the Win32-layer tests set them up.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "document/docstate.h"
#include "document/linestore.h"

// Row r of the window holds text with the given marks ('0' none, '1' in-line from..to, '2' the block's).
inline void setRow(int r, const char* text, char mark = '0', int from = 0, int to = 0) {
    LineRecord line;
    lineInit(&line);
    std::strncpy(line.text, text, kLineChars);
    line.markState = mark;
    line.markFrom = static_cast<unsigned char>(from);
    line.markTo = static_cast<unsigned char>(to);
    rowPut(r, &line);
}

// The text of row r, trimmed.
inline std::string rowText(int r) {
    LineRecord line;
    rowGet(r, &line);
    return line.text;
}

// A document of the given lines (empty store first), the window at its start,
// the cursor in its top left corner, nothing changed.
inline void loadLines(const std::vector<std::string>& lines) {
    storeReset();
    rowsClearAll();
    LineRecord line;
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
        lineInit(&line);
        std::strncpy(line.text, it->c_str(), kLineChars);
        ASSERT_EQ(pushBelow(&line), 0);
    }
    fillWindowFromBelow();
    topLine = aboveCountGet();
    cursorRow = cursorCol = firstCol = 0;
    modified = 0;
}
