// Benchmarks of the line store on a nearly full area (about 95 KB of C-like
// lines). The reference is a plain memcpy of the whole 100000-byte area:
// every whole-document gap move or walk should stay within 8 times of it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "c_like_lines.h"
#include "document/linestore.h"

namespace {

constexpr std::uint32_t kDocumentBytes = 95000;  // packed bytes of the test document

// A deterministic document of C-like lines of varied length.
const std::vector<LineRecord>& document() {
    static const std::vector<LineRecord> lines = [] {
        std::vector<LineRecord> out;
        for (const std::string& text : cLikeLines(kDocumentBytes)) {
            LineRecord line;
            lineInit(&line);
            std::memcpy(line.text, text.data(), text.size());
            out.push_back(line);
        }
        out.back().text[0] = 'x';  // the document ends with a non-blank line
        return out;
    }();
    return lines;
}

// A fresh store holding the document above an empty window.
void setUpStore() {
    storeCreate();
    windowCreate();
    windowRows = 40;
    windowCols = 80;
    for (const LineRecord& line : document()) pushAbove(&line);
    topLine = aboveCountGet();
    cursorRow = 0;
}

void BM_Memcpy100000(benchmark::State& state) {
    static std::vector<unsigned char> src(kLineAreaSize, 'a');
    static std::vector<unsigned char> dst(kLineAreaSize);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kLineAreaSize);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Memcpy100000)->Unit(benchmark::kMicrosecond);

void BM_PushAllAbove(benchmark::State& state) {
    setUpStore();
    const std::vector<LineRecord>& lines = document();
    for (auto _ : state) {
        storeReset();
        for (const LineRecord& line : lines) pushAbove(&line);
        benchmark::ClobberMemory();
    }
    state.counters["lines"] = static_cast<double>(lines.size());
    state.counters["bytes"] = static_cast<double>(kLineAreaSize - storeFreeBytes());
}
BENCHMARK(BM_PushAllAbove)->Unit(benchmark::kMicrosecond);

// Times one whole-document move per iteration; the move back that readies
// the next iteration is not timed.
template <void (*timed)(), void (*untimed)()>
void wholeDocumentMove(benchmark::State& state) {
    setUpStore();
    if (timed == moveAllAbove) moveAllBelow();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        timed();
        benchmark::ClobberMemory();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
        untimed();
    }
}

void BM_MoveAllBelow(benchmark::State& state) { wholeDocumentMove<moveAllBelow, moveAllAbove>(state); }
BENCHMARK(BM_MoveAllBelow)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_MoveAllAbove(benchmark::State& state) { wholeDocumentMove<moveAllAbove, moveAllBelow>(state); }
BENCHMARK(BM_MoveAllAbove)->UseManualTime()->Unit(benchmark::kMicrosecond);

int countCharacters(LineRecord* line, void* user) {
    *static_cast<std::size_t*>(user) += std::strlen(line->text);
    return 1;
}

void BM_VisitWalk(benchmark::State& state) {
    setUpStore();
    gotoLine(static_cast<std::int32_t>(document().size() / 2));
    flushWindowBelow();  // the whole document lies in the two stacks
    std::size_t characters = 0;
    for (auto _ : state) {
        characters = 0;
        visitAbove(countCharacters, &characters);
        visitBelow(countCharacters, &characters);
        benchmark::DoNotOptimize(characters);
    }
    state.counters["characters"] = static_cast<double>(characters);
}
BENCHMARK(BM_VisitWalk)->Unit(benchmark::kMicrosecond);

void BM_GotoLineMiddle(benchmark::State& state) {
    setUpStore();
    const auto middle = static_cast<std::int32_t>(document().size() / 2);
    for (auto _ : state) {
        gotoLine(middle);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GotoLineMiddle)->Unit(benchmark::kMicrosecond);

}  // namespace
