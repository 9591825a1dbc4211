// The status bar and title of the headless host.
#include "host/headless_status.h"

#include "support/platform.h"
#include "support/status.h"

#include <cstdio>
#include <cstring>

namespace {

// What the core last showed in the status bar and the title.
struct StatusRecord {
    char parts[STATUS_MAX_PARTS][HEADLESS_STATUS_TEXT_MAX + 1];
    int statusCount;
    char title[HEADLESS_STATUS_TEXT_MAX + 1];
    int titleCount;
};

StatusRecord record;

void copy_cut(char* dst, const char* text) {
    std::size_t n = 0;
    if (text != nullptr) {
        const void* end = std::memchr(text, '\0', HEADLESS_STATUS_TEXT_MAX);
        n = end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : HEADLESS_STATUS_TEXT_MAX;
        std::memcpy(dst, text, n);
    }
    dst[n] = '\0';
}

}  // namespace

void headless_status_reset() { record = StatusRecord{}; }

const char* headless_status_text(int part) {
    if (part < 0 || part >= STATUS_MAX_PARTS) return "";
    return record.parts[part];
}

int headless_status_count() { return record.statusCount; }
const char* headless_title() { return record.title; }
int headless_title_count() { return record.titleCount; }

void status_set(int part, const char* text) {
    ++record.statusCount;
    if (part < 0 || part >= STATUS_MAX_PARTS) return;
    copy_cut(record.parts[part], text);
}

void set_main_title(const char* text) {
    ++record.titleCount;
    copy_cut(record.title, text);
}
