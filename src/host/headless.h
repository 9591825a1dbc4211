// The headless host: the platform services for tests, benchmarks and fuzzing.
// It records what the core asked of the platform so that a test can check it.
#pragma once

// Counts of requests since the last headless_reset().
struct HeadlessRecord {
    int viewRepaints;  // plat_repaint_view() calls
};

// Forgets everything recorded and queued, in every part of the host.
void headless_reset();
const HeadlessRecord& headless_record();
