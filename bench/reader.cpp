// Reader benchmark: loads a generated 500,000 x 20 table (~100 MB) through the real open flow.
#include "platform/core/CodePage.h"
#include "platform/core/VectorState.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "bench/BenchTable.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>

namespace {

using namespace BenchTable;

// dirtyAvx: the window's code between records (font metrics for multi-line cells, drawing)
// may leave the AVX upper halves dirty; the hook below does that on purpose, before the first
// record and at every record with a line break.
void loadFile(benchmark::State& state, const std::string& path, bool dirtyAvx = false) {
    generate(SjisPath, Utf8Path);
    struct stat st;
    ::stat(path.c_str(), &st);
    double megabytes = st.st_size / (1024.0 * 1024.0);
    long peakAbove = 0;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto global = std::make_unique<CMyGlobal>();
        global->setColourFileMode(0);
        auto hyo = std::make_unique<CMyHyo>();
        DocumentState doc;
        long before = currentKilobytes();
        resetPeak();
        state.ResumeTiming();
        OpenFlowWindow window;
        if (dirtyAvx) {
            VectorState::dirtyUpperHalves();
            window.editorLineHeight = [] {
                VectorState::dirtyUpperHalves();
                return 16;
            };
        }
        OpenFlow flow(*hyo, *global, doc, window);
        int rc = flow.openFile(path, false, "", TypeComma);
        state.PauseTiming();
        peakAbove = peakKilobytes() - before;
        rows = hyo->storeRowCount();
        if (rc != 0) state.SkipWithError("open failed");
        hyo.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * st.st_size);
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(rows) * state.iterations(),
                                                  benchmark::Counter::kIsRate);
    state.counters["rows"] = rows;
    state.counters["file_MB"] = megabytes;
    state.counters["peak_MB"] = peakAbove / 1024.0;
    state.counters["peak_x_file"] = peakAbove / 1024.0 / megabytes;
}

void BM_LoadCp932(benchmark::State& state) { loadFile(state, SjisPath); }
void BM_LoadUtf8(benchmark::State& state) { loadFile(state, Utf8Path); }
void BM_LoadCp932AfterAvx(benchmark::State& state) { loadFile(state, SjisPath, true); }

// The UTF-8 file with characters Shift-JIS lacks: every "東京都" becomes "é€🍣" and every
// "大阪府" "김치도" (the same bytes), so the file keeps its size and shape.
const std::string OutsidePath = "/tmp/vexil_bench_reader_utf8_outside.csv";

void BM_LoadUtf8Outside(benchmark::State& state) {
    generate(SjisPath, Utf8Path);
    struct stat st;
    if (::stat(OutsidePath.c_str(), &st) != 0) {
        std::ifstream in(Utf8Path, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::pair<std::string, std::string> swaps[] = {{"東京都", "\u00e9\u20ac\U0001F363"},
                                                             {"大阪府", "\uAE40\uCE58\uB3C4"}};
        for (const auto& [from, to] : swaps)
            for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
                text.replace(at, from.size(), to);
        std::ofstream(OutsidePath, std::ios::binary) << text;
    }
    loadFile(state, OutsidePath);
}

// Reference: the system iconv converting the same CP932 file to UTF-8.
void BM_IconvReference(benchmark::State& state) {
    generate(SjisPath, Utf8Path);
    struct stat st;
    ::stat(SjisPath.c_str(), &st);
    std::string command = "iconv -f CP932 -t UTF-8 " + SjisPath + " > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("iconv failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * st.st_size);
}

} // namespace

BENCHMARK(BM_LoadCp932)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadUtf8)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadUtf8Outside)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadCp932AfterAvx)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_IconvReference)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
