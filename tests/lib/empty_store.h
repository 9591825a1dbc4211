// What tests and benchmarks start from: an empty document in a window of rows x
// cols, the cursor in its top left corner.
#pragma once

#include "document/linestore.h"

// False when the store or the window rows cannot be had.
inline bool emptyStoreStart(int rows, int cols) {
    if (!storeCreate() || !windowCreate()) return false;
    storeReset();
    rowsClearAll();
    windowRows = rows;
    windowCols = cols;
    topLine = cursorRow = cursorCol = firstCol = 0;
    return true;
}
