// Listing a directory: the directory panel and the archive copy walk whole
// directories through dir_list.
#include "support/files.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

constexpr int FILE_COUNT = 1000;

// A directory of FILE_COUNT small files, made on first use, removed at exit.
class ThousandFiles {
public:
    ThousandFiles() {
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = fs::temp_directory_path() / ("y8_bench_files_" + std::to_string(stamp % 1000000007));
        fs::create_directories(dir_);
        for (int i = 0; i < FILE_COUNT; ++i) {
            std::ofstream(dir_ / ("datei" + std::to_string(i) + ".txt")) << "Zeile\r\n";
        }
        pattern_ = (dir_ / "*.txt").string();
    }
    ~ThousandFiles() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    ThousandFiles(const ThousandFiles&) = delete;
    ThousandFiles& operator=(const ThousandFiles&) = delete;
    const char* pattern() const { return pattern_.c_str(); }

private:
    fs::path dir_;
    std::string pattern_;
};

int count_entry(bool, const char*, long, const TimeRecord*, void* user) {
    ++*static_cast<int*>(user);
    return 1;
}

void BM_DirList1000(benchmark::State& state) {
    static ThousandFiles files;
    for (auto _ : state) {
        int count = 0;
        dir_list(files.pattern(), count_entry, &count);
        benchmark::DoNotOptimize(count);
        if (count != FILE_COUNT) {
            state.SkipWithError("dir_list did not deliver every file");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * FILE_COUNT);
}
BENCHMARK(BM_DirList1000);

}  // namespace
