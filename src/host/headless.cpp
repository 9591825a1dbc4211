#include "host/headless.h"

#include "framework/platform.h"

namespace {
HeadlessRecord record;  // what the core has asked for since the last reset
}

void headless_reset() { record = HeadlessRecord{}; }
const HeadlessRecord& headless_record() { return record; }

void plat_repaint_view() { ++record.viewRepaints; }
