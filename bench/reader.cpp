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
BENCHMARK(BM_LoadCp932AfterAvx)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_IconvReference)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
