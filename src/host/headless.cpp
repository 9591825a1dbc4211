#include "host/headless.h"

#include "framework/platform.h"
#include "host/headless_messages.h"
#include "host/headless_profile.h"
#include "host/headless_status.h"

namespace {
HeadlessRecord record;  // what the core has asked for since the last reset
}

void headless_reset() {
    record = HeadlessRecord{};
    headless_messages_reset();
    headless_profile_reset();
    headless_status_reset();
}
const HeadlessRecord& headless_record() { return record; }

void plat_repaint_view() { ++record.viewRepaints; }
