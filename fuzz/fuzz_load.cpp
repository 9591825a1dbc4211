// Fuzzes the way a file becomes a document: the raw bytes are written to a file,
// read line by line with the line reader, packed above in the line store until the
// loader's margin is reached, moved below and walked. Every line read is checked
// against a plain model of the line rules, and the store against its own counts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "document/linestore.h"
#include "support/files.h"

namespace {

constexpr int kMaxLine = 250;
constexpr unsigned char kCtrlZ = 26;

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz_load: %s\n", what);
        std::abort();
    }
}

// The line rules, written plainly: CR vanishes, LF ends a line, Ctrl-Z ends the
// file, characters past the 250th are dropped.
std::vector<std::string> modelLines(const uint8_t* data, size_t size) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // a byte of the current line was consumed
    for (size_t i = 0; i < size && data[i] != kCtrlZ; ++i) {
        open = true;
        if (data[i] == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
        } else if (data[i] != '\r' && line.size() < kMaxLine) {
            line.push_back(static_cast<char>(data[i]));
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

struct Walk {
    int lines = 0;
    long chars = 0;
};

int countLine(LineRecord* line, void* user) {
    auto* walk = static_cast<Walk*>(user);
    size_t n = std::strlen(line->text);
    check(n <= kMaxLine, "a stored line is longer than 250 characters");
    check(line->markState == '0', "a loaded line carries a block mark");
    ++walk->lines;
    walk->chars += static_cast<long>(n);
    return 1;
}

bool isBlank(const char* s) {
    for (; *s; ++s)
        if (!std::strchr(" \t\n\v\f\r", *s)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        storeCreate();
        windowCreate();
        return true;
    }();
    (void)ready;

    const char* path = "fuzz-load-input.txt";
    FILE* f = std::fopen(path, "wb");
    check(f != nullptr, "cannot write the input file");
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);

    const std::vector<std::string> expected = modelLines(data, size);

    storeReset();
    LineFile lf;
    check(lf_open(&lf, path) >= 0, "lf_open failed on an existing file");
    char buf[kMaxLine + 1];
    std::vector<std::string> pushed;
    for (;;) {
        int n = lf_read_line(&lf, buf, kMaxLine);
        if (n < 0) break;
        check(n <= kMaxLine && buf[n] == '\0', "a line is not terminated within its bound");
        check(pushed.size() < expected.size(), "more lines read than the file holds");
        check(std::string(buf, n) == expected[pushed.size()], "a line differs from the line rules");
        LineRecord line;
        lineInit(&line);
        std::memcpy(line.text, buf, static_cast<size_t>(n) + 1);
        check(pushAbove(&line) == 0, "a line did not fit although the store had room");
        pushed.emplace_back(line.text);  // as stored: cut at an inner NUL
        if (!storeHasRoom(5)) break;
    }
    check(lf_close(&lf) == 0, "lf_close failed");
    if (storeHasRoom(5)) check(pushed.size() == expected.size(), "lines were lost before the end");
    check(aboveCountGet() == static_cast<int>(pushed.size()), "above count differs from lines pushed");

    // Below an empty below stack the document sheds its trailing blank lines.
    size_t kept = pushed.size();
    while (kept > 0 && isBlank(pushed[kept - 1].c_str())) --kept;
    moveAllBelow();
    check(aboveCountGet() == 0, "moveAllBelow left lines above");
    check(belowCountGet() == static_cast<int>(kept), "trailing blank lines were not dropped exactly");

    Walk walk;
    visitBelow(countLine, &walk);
    check(walk.lines == belowCountGet(), "the walk and the count disagree");
    long chars = 0;
    for (size_t i = 0; i < kept; ++i) chars += static_cast<long>(pushed[i].size());
    check(walk.chars == chars, "characters were lost or gained in the store");

    moveAllAbove();
    check(belowCountGet() == 0 && aboveCountGet() == static_cast<int>(kept), "moveAllAbove lost lines");
    std::remove(path);
    return 0;
}
