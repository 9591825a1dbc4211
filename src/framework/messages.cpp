// Messages, texts, assertions and memory blocks: the portable half. The
// system's boxes, string table and debug output are reached through the
// plat_ primitives; everything decided here (ring, styles, answers, bounds,
// the filter list and the start name) needs no system.
#include "framework/messages.h"

#include "support/platform.h"
#include "support/files.h"
#include "support/strfunc.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// ---------------------------------------------------------------- formatting

// vsnprintf into buf of size bytes, always terminated and never past buf, also
// with a runtime whose vsnprintf leaves a cut text unterminated.
void format_into(char* buf, int size, const char* fmt, va_list args) {
    buf[0] = '\0';
    std::vsnprintf(buf, static_cast<size_t>(size), fmt ? fmt : "", args);
    buf[size - 1] = '\0';
}

// ---------------------------------------------------------------- texts

constexpr int kRingBuffers = 10;
constexpr int kTextBytes = 501;  // 500 characters and the terminator

// The text ring: ten buffers in one fmalloc block, used in turn.
struct TextRing {
    char* block = nullptr;  // kRingBuffers * kTextBytes bytes, null until first use
    bool own = false;       // block came from fmalloc (else it is the reserve)
    int next = 0;           // the buffer the next load_text fills
};
TextRing ring;
// Used when the ring's block cannot be had, so that texts still keep their
// promise of ten calls' life.
std::array<char, kRingBuffers * kTextBytes> ringReserve;

char* next_ring_buffer() {
    if (!ring.block) {
        ring.block = static_cast<char*>(fmalloc(kRingBuffers, kTextBytes));
        ring.own = ring.block != nullptr;
        if (!ring.block) ring.block = ringReserve.data();
    }
    char* buf = ring.block + ring.next * kTextBytes;
    ring.next = (ring.next + 1) % kRingBuffers;
    return buf;
}

// ---------------------------------------------------------------- boxes

// The message box styles of the program's boxes.
constexpr unsigned kStyleMessage = box_style::kTaskModal | box_style::kIconInformation;      // 0x2040
constexpr unsigned kStyleMessageFmt = box_style::kTaskModal | box_style::kIconExclamation;  // 0x2030
constexpr unsigned kStyleYesNo = box_style::kTaskModal | box_style::kIconQuestion | box_style::kYesNo;
constexpr unsigned kStyleYesNoCancel =
    box_style::kTaskModal | box_style::kIconQuestion | box_style::kYesNoCancel;
constexpr unsigned kStyleFatal = box_style::kTaskModal | box_style::kIconStop;  // 0x2010
static_assert(kStyleYesNo == 0x2024 && kStyleYesNoCancel == 0x2023 && kStyleFatal == 0x2010,
              "the system's style values");

constexpr int kFormatBytes = 504;  // message_box_fmt
constexpr int kDebugBytes = 512;   // debug_out
constexpr int kAssertBytes = 512;  // assert_fail

int file_box(bool save, char* name_io, const char* title, const char* filter) {
    char pairs[FILE_BOX_FILTER_MAX + 2];
    file_box_filter(filter ? filter : "", pairs);
    char work[FILE_BOX_PATH_MAX + 1] = "";
    if (!str_is_blank(name_io)) str_ncopy(work, name_io, FILE_BOX_PATH_MAX);
    name_io[0] = '\0';
    int chosen = plat_file_box(save, work, title ? title : "", pairs);
    // A confirmed box without a path is no choice either.
    if (chosen != 1 || work[0] == '\0') return 0;
    str_ncopy(name_io, work, FILE_BOX_PATH_MAX);
    return 1;
}

// ---------------------------------------------------------------- memory

constexpr long kMaxBlockBytes = 0x7FFFFFFFL;  // what a 32-bit long can count

// The allocator's record: every block handed out and not yet released, so that
// ffree can tell a block from any other pointer without touching its memory.
struct BlockTable {
    std::array<void*, FMALLOC_BLOCKS> blocks{};
    int count = 0;        // outstanding: +1 per request, -1 per release
    int grantsLeft = -1;  // test seam: requests still granted (< 0: all)
};
BlockTable table;

}  // namespace

// ---------------------------------------------------------------- texts

const char* load_text(int id) {
    char* buf = next_ring_buffer();
    load_text_into(id, buf, kTextBytes);
    return buf;
}

void load_text_into(int id, char* buf, int max) {
    if (!buf || max < 1) return;
    buf[0] = '\0';
    if (!plat_load_string(id, buf, max)) std::snprintf(buf, static_cast<size_t>(max), "Text %d fehlt.", id);
    buf[max - 1] = '\0';
}

void free_texts() {
    if (ring.own) ffree(ring.block);
    ring = TextRing{};
}

// ---------------------------------------------------------------- boxes

void message_box(const char* text) { plat_message_box(text ? text : "", kStyleMessage, BoxOwner::ActiveWindow); }

void message_box_fmt(const char* fmt, ...) {
    char text[kFormatBytes];
    va_list args;
    va_start(args, fmt);
    format_into(text, sizeof text, fmt, args);
    va_end(args);
    plat_message_box(text, kStyleMessageFmt, BoxOwner::MainWindow);
}

int ask_yes_no(const char* text, int default_no) {
    unsigned style = kStyleYesNo | (default_no ? box_style::kDefault2 : 0u);
    return plat_message_box(text ? text : "", style, BoxOwner::ActiveWindow) == box_answer::kYes ? 1 : 0;
}

int ask_yes(const char* text) { return ask_yes_no(text, 0); }

int ask_yes_no_cancel(const char* text, int mode) {
    unsigned style = kStyleYesNoCancel;
    if (mode == 1) style |= box_style::kDefault2;
    if (mode == 2) style |= box_style::kDefault3;
    switch (plat_message_box(text ? text : "", style, BoxOwner::ActiveWindow)) {
    case box_answer::kYes: return 1;
    case box_answer::kNo: return 0;
    default: return 2;  // Cancel, Escape, the close button, or no box at all
    }
}

// ---------------------------------------------------------------- file boxes

void file_box_filter(const char* filter, char* pairs) {
    pairs[0] = pairs[1] = '\0';
    size_t len = std::strlen(filter);
    if (len == 0) return;
    const char sep = filter[len - 1];
    int n = static_cast<int>(len < FILE_BOX_FILTER_MAX ? len : FILE_BOX_FILTER_MAX);
    std::memcpy(pairs, filter, static_cast<size_t>(n));
    // A cut filter keeps only the entries that end within the limit.
    if (len > FILE_BOX_FILTER_MAX)
        while (n > 0 && pairs[n - 1] != sep) --n;
    for (int i = 0; i < n; ++i)
        if (pairs[i] == sep) pairs[i] = '\0';
    pairs[n] = pairs[n + 1] = '\0';
    // Walk the list as the system does (a description, then its pattern, until an
    // empty description): a description without its pattern would make it read
    // past the two NULs, so it ends the list instead.
    int i = 0;
    while (pairs[i] != '\0') {
        int description = i;
        i += static_cast<int>(std::strlen(pairs + i)) + 1;
        if (i >= n) {
            pairs[description] = pairs[description + 1] = '\0';
            return;
        }
        i += static_cast<int>(std::strlen(pairs + i)) + 1;
    }
}

void file_box_split(const char* name, char* dir, char* file) {
    dir[0] = file[0] = '\0';
    char start[FILE_BOX_PATH_MAX + 1];
    str_ncopy(start, name, FILE_BOX_PATH_MAX);
    if (str_is_blank(start)) return;
    int pos = path_name_pos(start);
    std::memcpy(dir, start, static_cast<size_t>(pos));
    dir[pos] = '\0';  // ends in a separator, so never blank: always a start directory
    std::strcpy(file, start + pos);
}

int file_open_box(char* name_io, const char* title, const char* filter) {
    return file_box(false, name_io, title, filter);
}

int file_save_box(char* name_io, const char* title, const char* filter) {
    return file_box(true, name_io, title, filter);
}

// ---------------------------------------------------------------- assertions

void assert_fail(const char* file, int line, const char* expr) {
    char text[kAssertBytes];
    std::snprintf(text, sizeof text, "ASSERT ERROR\n%s.%d\n%s", file ? file : "", line, expr ? expr : "");
    text[sizeof text - 1] = '\0';
    plat_fatal(text);
}

// ---------------------------------------------------------------- memory

void* fmalloc(long n, long size) {
    ++table.count;
    if (n < 1 || size < 1 || n > kMaxBlockBytes / size) return nullptr;
    if (table.grantsLeft == 0) return nullptr;
    void** slot = nullptr;
    for (void*& b : table.blocks)
        if (!b) {
            slot = &b;
            break;
        }
    if (!slot) return nullptr;
    void* p = std::calloc(static_cast<size_t>(n), static_cast<size_t>(size));
    if (!p) return nullptr;
    if (table.grantsLeft > 0) --table.grantsLeft;
    *slot = p;
    return p;
}

int ffree(void* p) {
    --table.count;
    if (!p) return -1;
    for (void*& b : table.blocks)
        if (b == p) {
            std::free(p);
            b = nullptr;
            return 0;
        }
    return -1;
}

int fmalloc_count() { return table.count; }

void fmalloc_test_fail_after(int n) { table.grantsLeft = n < 0 ? -1 : n; }

void* fmalloc_scratch(long n, long size) {
    void* p = fmalloc(n, size);
    if (p == nullptr) message_box_fmt("%s", memoryShortText);
    return p;
}

bool clip_put_or_tell(const char* text) {
    if (clip_put(text)) return true;
    message_box_fmt("%s", clipboardRefusedText);
    return false;
}

// ---------------------------------------------------------------- debug trace

void debug_out(const char* fmt, ...) {
    char text[kDebugBytes];
    va_list args;
    va_start(args, fmt);
    format_into(text, sizeof text, fmt, args);
    va_end(args);
    plat_debug_text(text);
}
