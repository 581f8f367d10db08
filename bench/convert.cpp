// Conversion and derived-column benchmarks over a 500,000-row column: the six conversions,
// a split into three columns and a group of 1,000 distinct values, with time and memory.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/ColumnDerive.h"
#include "engine/SelectionConvert.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"

namespace {

constexpr int kRows = 500000;


}  // namespace

// Every allocation of this program passes through these, so the heap in use and its peak are
// known exactly (the resident size would not show memory the allocator reuses).
extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void __libc_free(void*);
}
namespace {
std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};
void counted(void* block, long long sign) {
    if (!block) return;
    const long long now = heapInUse += sign * static_cast<long long>(malloc_usable_size(block));
    long long peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {}
}
}  // namespace
extern "C" {
void* malloc(std::size_t bytes) {
    void* block = __libc_malloc(bytes);
    counted(block, 1);
    return block;
}
void* calloc(std::size_t count, std::size_t bytes) {
    void* block = __libc_calloc(count, bytes);
    counted(block, 1);
    return block;
}
void* realloc(void* old, std::size_t bytes) {
    counted(old, -1);
    void* block = __libc_realloc(old, bytes);
    counted(block ? block : old, 1);
    return block;
}
void free(void* block) {
    counted(block, -1);
    __libc_free(block);
}
}

namespace {

// Rows of five cells; column 1 holds the text every benchmark works on.
std::unique_ptr<CMyHyo> makeTable(std::string (*column)(int row)) {
    auto hyo = std::make_unique<CMyHyo>();
    CMyLine& rows = hyo->rowList();
    for (int r = 0; r < kRows; ++r) {
        std::string row = "id";
        row += std::to_string(r);
        row += '\t';
        row += column(r);
        row += "\tfirst\tsecond\t42";
        rows.setLine(r, row.data(), static_cast<int>(row.size()));
    }
    hyo->setWidestRow(5);
    return hyo;
}

// Half-width kana with marks, ASCII letters, digits and symbols, hiragana, full-width letters.
std::string mixedText(int row) {
    static const std::string texts[] = {
        "\xB6\xDE\xCA\xDF abc-12",       // ｶﾞﾊﾟ abc-12
        "\x82\xA9\x82\xC8 XYZ/9",        // かな XYZ/9
        "\x82\x60\x82\x61\x83\x4B 7",    // ＡＢガ 7
        "Mixed Case 100%",
    };
    return texts[row % 4];
}
std::string threePieces(int row) { return std::to_string(row % 97).append(" bb cc"); }
std::string thousandValues(int row) { return std::to_string((row * 7919) % 1000).insert(0, "value"); }

// Runs `operation` on a fresh table each iteration and reports the peak heap it took above
// what was in use before, against the heap the table itself holds.
template <typename Operation>
void measure(benchmark::State& state, std::string (*column)(int), Operation operation) {
    FixedAnswerPrompt yes(PromptAnswer::Yes, PromptAnswer::Yes);
    Prompt::install(&yes);
    double tableMegabytes = 0;
    double peakMegabytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const long long empty = heapInUse.load();
        std::unique_ptr<CMyHyo> hyo = makeTable(column);
        const long long before = heapInUse.load();
        tableMegabytes = static_cast<double>(before - empty) / (1024.0 * 1024.0);
        heapPeak = before;
        state.ResumeTiming();
        if (!operation(*hyo)) state.SkipWithError("the operation changed nothing");
        state.PauseTiming();
        peakMegabytes = static_cast<double>(heapPeak.load() - before) / (1024.0 * 1024.0);
        hyo.reset();
        state.ResumeTiming();
    }
    Prompt::install(nullptr);
    state.counters["table_MB"] = tableMegabytes;
    state.counters["peak_above_MB"] = peakMegabytes;
    state.counters["peak_x_table"] = peakMegabytes / tableMegabytes;
}

void BM_Convert(benchmark::State& state) {
    const ConvertSetting setting = SelectionConvert::forTag(static_cast<int>(state.range(0)));
    measure(state, mixedText, [&](CMyHyo& hyo) {
        return SelectionConvert::run(hyo, {1, 0, 1, kRows - 1}, setting).changedCells > 0;
    });
}
// Tags: 0 全角->半角, 1 半角->全角, 2 upper, 3 lower, 4 ｶﾀｶﾅ->ひらがな, 5 ひらがな->ｶﾀｶﾅ.
BENCHMARK(BM_Convert)->DenseRange(0, 5)->Unit(benchmark::kMillisecond)->Iterations(3);

const ColumnSelection kColumnOne{{1, 0, 1, kRows - 1}, SelectionShape::WholeColumns};

void BM_SplitIntoThree(benchmark::State& state) {
    measure(state, threePieces, [](CMyHyo& hyo) {
        ColumnDerive derive;
        return derive.split(hyo, kColumnOne, ColumnDerive::splitForTag(0)).newColumns == 3;
    });
}
BENCHMARK(BM_SplitIntoThree)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_GroupThousandValues(benchmark::State& state) {
    measure(state, thousandValues, [](CMyHyo& hyo) {
        ColumnDerive derive;
        return derive.group(hyo, kColumnOne).changed;
    });
}
BENCHMARK(BM_GroupThousandValues)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
