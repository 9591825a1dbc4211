// The headless host's status bar and main window title: what the core last
// showed there, recorded for tests.
#pragma once

constexpr int HEADLESS_STATUS_TEXT_MAX = 255;  // longer texts are recorded cut

// Forgets every recorded text and count.
void headless_status_reset();
// The last text set on part (0..10), "" when none since the reset or for a
// part outside that range.
const char* headless_status_text(int part);
// status_set calls since the reset, counting those for parts outside 0..10
// (which record nothing).
int headless_status_count();
// The last main window title, "" when none since the reset.
const char* headless_title();
// set_main_title calls since the reset.
int headless_title_count();
