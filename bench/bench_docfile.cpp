// Loading and saving a file that fills the store: the same kind of document
// as the line store's benchmarks (C-like lines of varied length, about 95 KB
// packed, as much as a load takes before the store counts as full), written
// with CR LF. The reference is BM_Memcpy100000 (bench_linestore.cpp) in the
// same binary; bench/callgrind-files.sh gives the instruction counts.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "../tests/lib/empty_store.h"
#include "c_like_lines.h"
#include "document/docfile.h"
#include "document/docstate.h"
#include "document/linestore.h"
#include "host/headless.h"
#include "support/files.h"
#include "view/cursor.h"
#include "view/options.h"

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kPackedBytes = 94900;  // the store keeps more than 5000 bytes free

// The document's file: deterministic C-like lines, CR LF, no trailing blank line.
std::string documentBytes(int* lineCount) {
    std::string bytes;
    int lines = 0;
    for (const std::string& text : cLikeLines(kPackedBytes)) {
        bytes += text + "\r\n";
        ++lines;
    }
    bytes = "x" + bytes;  // the document starts with a non-blank line
    bytes.insert(bytes.size() - 2, "x");  // and ends with one
    *lineCount = lines;
    return bytes;
}

// A directory with the document's file, made on first use, removed at exit.
// With Y8_BENCH_DOCFILE_DIR set the files go there and stay (callgrind-files.sh
// copies the same file with cp).
class DocumentFiles {
public:
    DocumentFiles() {
        const char* given = std::getenv("Y8_BENCH_DOCFILE_DIR");
        keep_ = given && given[0];
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = keep_ ? fs::path(given)
                     : fs::temp_directory_path() / ("y8_bench_docfile_" + std::to_string(stamp % 1000000007));
        fs::create_directories(dir_);
        bytes_ = documentBytes(&lines_);
        source_ = (dir_ / "full.c").string();
        target_ = (dir_ / "saved.c").string();
        std::ofstream(source_, std::ios::binary) << bytes_;
    }
    ~DocumentFiles() {
        std::error_code ec;
        if (!keep_) fs::remove_all(dir_, ec);
    }
    DocumentFiles(const DocumentFiles&) = delete;
    DocumentFiles& operator=(const DocumentFiles&) = delete;
    const char* source() const { return source_.c_str(); }
    const char* target() const { return target_.c_str(); }
    long size() const { return static_cast<long>(bytes_.size()); }
    int lines() const { return lines_; }

private:
    fs::path dir_;
    std::string bytes_, source_, target_;
    int lines_ = 0;
    bool keep_ = false;
};

const DocumentFiles& documentFiles() {
    static const DocumentFiles files;
    return files;
}

// The editor as start-up leaves it: an empty store, a window of 40 rows.
void setUpEditor() {
    headless_reset();
    emptyStoreStart(40, 80);
    optionsSetDefaults();
    keepFileTime = 0;
    hasName = modified = partlyLoaded = 0;
    fileName[0] = '\0';
    snapshotReset();
}

// A load enters the file's directory: the benchmark leaves the current one as it was.
class KeepCurrentDirectory {
public:
    KeepCurrentDirectory() { get_cwd(dir_); }
    ~KeepCurrentDirectory() {
        if (dir_[0]) change_dir(dir_);
    }
    KeepCurrentDirectory(const KeepCurrentDirectory&) = delete;
    KeepCurrentDirectory& operator=(const KeepCurrentDirectory&) = delete;

private:
    char dir_[FILE_PATH_MAX + 1] = "";
};

void BM_DocLoad(benchmark::State& state) {
    const DocumentFiles& files = documentFiles();
    KeepCurrentDirectory keep;
    setUpEditor();
    for (auto _ : state) {
        if (docLoad(files.source(), true) != 0 || partlyLoaded) {
            state.SkipWithError("the file did not load whole");
            break;
        }
        benchmark::ClobberMemory();
    }
    if (aboveCountGet() + belowCountGet() + windowRows < files.lines()) {
        state.SkipWithError("lines are missing after the load");
    }
    state.SetBytesProcessed(state.iterations() * files.size());
    state.counters["lines"] = static_cast<double>(files.lines());
    state.counters["file bytes"] = static_cast<double>(files.size());
    state.counters["store bytes"] = static_cast<double>(kLineAreaSize - storeFreeBytes());
    headless_reset();
}
BENCHMARK(BM_DocLoad)->Unit(benchmark::kMicrosecond);

// The whole save: a temporary file written in 2 KB blocks and closed, the old
// .bak deleted, the old file renamed to .bak, the new one into place.
void BM_DocSave(benchmark::State& state) {
    const DocumentFiles& files = documentFiles();
    KeepCurrentDirectory keep;
    setUpEditor();
    if (docLoad(files.source(), true) != 0 || partlyLoaded) {
        state.SkipWithError("the file did not load whole");
        return;
    }
    for (auto _ : state) {
        if (writeFile(files.target(), false) != 0) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    if (file_size(files.target()) != files.size()) state.SkipWithError("the saved file differs in size");
    state.SetBytesProcessed(state.iterations() * files.size());
    headless_reset();
}
BENCHMARK(BM_DocSave)->Unit(benchmark::kMicrosecond);

}  // namespace
