// Fuzzes the way a file becomes a document and goes back to disk: the raw bytes
// are written to a file and taken by the loader's loop (read line by line,
// trimmed, packed above in the line store until the loader's margin is reached),
// then moved below and walked. Every line stored is checked against a plain model
// of the line rules, the losses the loader reports against the model's, and the
// store against its own counts.
// Then the file is loaded as a document and saved with F8: a load that reports no
// loss saves the file back byte for byte but for the lossless rules (trailing
// white space, blank lines at the end, the line ends, one Ctrl-Z as the last
// byte; and the date stamp of line 3); a load that reports a loss never writes
// over the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/docfile.h"
#include "document/docstate.h"
#include "document/filehist.h"
#include "document/linestore.h"
#include "host/headless.h"
#include "support/files.h"
#include "support/status.h"
#include "support/strfunc.h"
#include "view/options.h"
#include "view/textview.h"

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
// file, characters past the 250th are dropped. What they drop beyond the lossless
// rules is counted as the reader must report it.
struct Model {
    std::vector<std::string> lines;
    int cutLines = 0, nulLines = 0, loneCRs = 0;
    long afterEof = 0;
    bool lossy() const { return cutLines || nulLines || loneCRs || afterEof; }
};

Model modelOf(const uint8_t* data, size_t size) {
    Model m;
    std::string line;
    bool open = false;  // a byte of the current line was consumed
    bool cut = false;
    auto endLine = [&] {
        m.lines.push_back(line);
        if (cut) ++m.cutLines;
        if (line.find('\0') != std::string::npos) ++m.nulLines;
        line.clear();
        open = cut = false;
    };
    size_t i = 0;
    for (; i < size && data[i] != kCtrlZ; ++i) {
        open = true;
        if (data[i] == '\n') {
            endLine();
        } else if (data[i] == '\r') {
            if (i + 1 >= size || data[i + 1] != '\n') ++m.loneCRs;
        } else if (line.size() < kMaxLine) {
            line.push_back(static_cast<char>(data[i]));
        } else if (!std::strchr(" \t\v\f", data[i]) || data[i] == 0) {
            cut = true;
        }
    }
    if (open) endLine();
    if (i < size) m.afterEof = static_cast<long>(size - i - 1);
    return m;
}

// What F8 writes for a document loaded without loss: every line trimmed, the
// date of line 3 renewed, no blank lines at the end, the document's line ends.
std::string savedForm(const std::vector<std::string>& lines, bool crlf) {
    std::vector<std::string> kept;
    char today[DATE_TEXT_SIZE];
    today_string(today);
    for (const std::string& line : lines) {
        char text[kMaxLine + 1];
        std::snprintf(text, sizeof text, "%s", line.c_str());
        str_trim_right(text);
        if (kept.size() == 2) dateStampApply(text, today);
        kept.emplace_back(text);
    }
    while (!kept.empty() && kept.back().empty()) kept.pop_back();
    std::string bytes;
    for (const std::string& line : kept) bytes += line + (crlf ? "\r\n" : "\n");
    return bytes;
}

std::string fileBytes(const char* path) {
    std::string bytes;
    FILE* f = std::fopen(path, "rb");
    if (!f) return bytes;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
    std::fclose(f);
    return bytes;
}

struct Walk {
    int lines = 0;
    long chars = 0;
    const std::vector<std::string>* expected = nullptr;  // the lines in document order
};

int countLine(LineRecord* line, void* user) {
    auto* walk = static_cast<Walk*>(user);
    size_t n = std::strlen(line->text);
    check(n <= kMaxLine, "a stored line is longer than 250 characters");
    check(line->markState == '0', "a loaded line carries a block mark");
    check(walk->lines < static_cast<int>(walk->expected->size()) &&
              (*walk->expected)[static_cast<size_t>(walk->lines)] == line->text,
          "a stored line differs from the line rules");
    ++walk->lines;
    walk->chars += static_cast<long>(n);
    return 1;
}

// The input file and its backup live in a folder of this run's own, in memory
// where there is a tmpfs (F8 flushes every save to the disk), and go with the run.
std::string scratchDir;

void removeScratch() {
    std::remove((scratchDir + "/fuzz-load-input.txt").c_str());
    std::remove((scratchDir + "/fuzz-load-input.bak").c_str());
    rmdir(scratchDir.c_str());
}

std::string makeScratch() {
    struct stat st;
    char dir[] = "/dev/shm/y8-fuzz-load-XXXXXX";
    if (stat("/dev/shm", &st) != 0 || !S_ISDIR(st.st_mode) || !mkdtemp(dir)) return ".";
    scratchDir = dir;
    std::atexit(removeScratch);
    return scratchDir;
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
        windowRows = 20;
        windowCols = 80;
        historyCreate();
        optionsSetDefaults();
        viewStateStart(0);
        return true;
    }();
    (void)ready;
    static const int runDir = open(".", O_RDONLY | O_DIRECTORY);
    static const std::string dir = makeScratch();
    static const std::string input = dir + "/fuzz-load-input.txt", backup = dir + "/fuzz-load-input.bak";
    const char* path = input.c_str();
    FILE* f = std::fopen(path, "wb");
    check(f != nullptr, "cannot write the input file");
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);

    const Model model = modelOf(data, size);
    const std::vector<std::string>& expected = model.lines;

    // The loader's own loop, as docLoad runs it.
    storeReset();
    LineFile lf;
    check(lf_open(&lf, path) >= 0, "lf_open failed on an existing file");
    const LoadLoss loss = linesLoad(&lf);
    check(lf_close(&lf) == 0, "lf_close failed");
    const bool readAll = storeHasRoom(kLoadMargin);
    const int taken = aboveCountGet();
    check(taken <= static_cast<int>(expected.size()), "more lines stored than the file holds");
    if (readAll) {
        check(!loss.leftOver, "a load with room left reports lines left over");
        check(taken == static_cast<int>(expected.size()), "lines were lost before the end");
        check(loss.reader.cutLines == model.cutLines, "the reader's count of cut lines is wrong");
        check(loss.reader.nulLines == model.nulLines, "the reader's count of lines with a NUL is wrong");
        check(loss.reader.loneCRs == model.loneCRs, "the reader's count of lone CRs is wrong");
        check(loss.reader.afterEof == model.afterEof, "the reader's count of bytes after Ctrl-Z is wrong");
        check(!loss.reader.readFailed, "the reader reports a failed read");
    } else {
        check(loss.firstLeftOver == taken + 1, "the first line left over is not the one after the last taken");
    }

    // As stored: cut at an inner NUL, without trailing white space.
    std::vector<std::string> pushed;
    for (int i = 0; i < taken; ++i) {
        char text[kMaxLine + 1];
        std::snprintf(text, sizeof text, "%s", expected[static_cast<size_t>(i)].c_str());
        str_trim_right(text);
        pushed.emplace_back(text);
    }

    // Below an empty below stack the document sheds its trailing blank lines.
    size_t kept = pushed.size();
    while (kept > 0 && isBlank(pushed[kept - 1].c_str())) --kept;
    moveAllBelow();
    check(aboveCountGet() == 0, "moveAllBelow left lines above");
    check(belowCountGet() == static_cast<int>(kept), "trailing blank lines were not dropped exactly");

    Walk walk;
    walk.expected = &pushed;
    visitBelow(countLine, &walk);
    check(walk.lines == belowCountGet(), "the walk and the count disagree");
    long chars = 0;
    for (size_t i = 0; i < kept; ++i) chars += static_cast<long>(pushed[i].size());
    check(walk.chars == chars, "characters were lost or gained in the store");

    moveAllAbove();
    check(belowCountGet() == 0 && aboveCountGet() == static_cast<int>(kept), "moveAllAbove lost lines");

    // The document: loaded, changed, F8.
    headless_reset();
    hasName = modified = 0;
    check(docLoad(path, true) == 0, "docLoad failed on an existing file");
    // The load made the file's folder the current one: libFuzzer's folders and
    // findings are named from the run's own.
    check(fchdir(runDir) == 0, "cannot go back to the run's folder");
    if (readAll) check(partlyLoaded == (model.lossy() ? 1 : 0), "the load's report of a loss differs from the model");
    const bool lossy = partlyLoaded != 0;
    modified = 1;
    const int saved = save();
    const std::string after = fileBytes(path);
    const std::string original(reinterpret_cast<const char*>(data), size);
    if (lossy) {
        check(saved == 0 && after == original, "a file loaded with a loss was written over");
    } else {
        check(saved == 1, "a file loaded whole could not be saved");
        check(after == savedForm(expected, crlfMode != 0), "a file loaded whole was not saved back as it was");
    }
    std::remove(path);
    std::remove(backup.c_str());
    return 0;
}
