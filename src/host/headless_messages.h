// The headless host's message services: boxes answered from a queue that a test
// fills, file boxes answered from a queue of paths, the string table of the
// program's texts, the fatal end as a recorded abort, and the debug trace kept.
#pragma once

#include "support/platform.h"

#include <string>
#include <vector>

// One box the core asked for.
struct HeadlessBox {
    std::string text;
    unsigned style;
    BoxOwner owner;
};

// One file box the core asked for.
struct HeadlessFileBox {
    bool save;
    std::string startName;  // the name handed in (start directory and name field)
    std::string title;
    std::string pairs;      // the filter list up to and with its two final NULs
};

// Forgets every answer, record and extra text.
void headless_messages_reset();

// Queues the button the next box answers with. With an empty queue a box with
// only OK answers OK, every other box Cancel.
void headless_box_answer(int answer);
// Every box since the last reset, oldest first.
const std::vector<HeadlessBox>& headless_boxes();

// Queues the path the next file box returns; an empty path cancels it (as does
// an empty queue).
void headless_file_answer(const char* path);
// Every file box since the last reset, oldest first.
const std::vector<HeadlessFileBox>& headless_file_boxes();

// Puts text under id into the string table (replacing the program's text), or
// with nullptr takes an extra text away again. Until the next reset.
void headless_set_text(int id, const char* text);

// The last HEADLESS_DEBUG_LINES texts of the debug trace, oldest first.
constexpr int HEADLESS_DEBUG_LINES = 100;
const std::vector<std::string>& headless_debug_lines();
