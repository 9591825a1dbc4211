// The panel of the archive copy (DB1216, no title): source 3010, " > ",
// target 3020, the entries in list 3000 (frame 3001), "Start" (2500), the
// check box "Testdurchlauf" (3050) and the status text 3030.
#pragma once

constexpr int ARCHIVE_LIST = 3000;
constexpr int ARCHIVE_SOURCE = 3010;
constexpr int ARCHIVE_TARGET = 3020;
constexpr int ARCHIVE_STATUS = 3030;
constexpr int ARCHIVE_TEST_RUN = 3050;

// Command 1216.
void archive_open();
