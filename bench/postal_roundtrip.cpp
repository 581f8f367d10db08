// Postal-code table, 120,000 rows in the form public data comes in: opened and saved "as read"
// (DBLKIND 4) in CP932 and UTF-8, the saved file is compared byte for byte with the original.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "bench/PostalTable.h"
#include "platform/core/CodePage.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/SaveFlow.h"

namespace fs = std::filesystem;

namespace {

constexpr int Rows = 120000;

std::string folder() {
    static std::string path;
    if (path.empty()) {
        path = (fs::temp_directory_path() / ("vexil-bench-postal-" + std::to_string(::getpid()))).string();
        fs::create_directories(path);
        ::setenv("VEXIL_HOME", path.c_str(), 1);
    }
    return path;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void roundTrip(benchmark::State& state, bool utf8) {
    static const std::string cp932 = PostalTable::generate(Rows);
    const std::string original = utf8 ? CodePage::toUtf8(cp932) : cp932;
    const std::string path = folder() + (utf8 ? "/postal_utf8.csv" : "/postal_cp932.csv");
    bool identical = true;
    int rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::ofstream(path, std::ios::binary).write(original.data(), static_cast<std::streamsize>(original.size()));
        CMyGlobal global;
        global.setColourFileMode(0);
        global.setQuoteKind(CMyGlobal::QuoteAsRead);
        global.setFileQuoteLineBreakOnly(false);
        CMyHyo hyo;
        DocumentState doc;
        state.ResumeTiming();
        OpenFlow open(hyo, global, doc);
        if (open.openFile(path, false, "", TypeNone) != 0) state.SkipWithError("open failed");
        SaveFlow save(hyo, global, doc);
        if (!save.saveDocument(false)) state.SkipWithError("save failed");
        state.PauseTiming();
        rows = hyo.storeRowCount();
        identical = identical && readAll(path) == original;
        state.ResumeTiming();
    }
    if (!identical) state.SkipWithError("the saved file differs from the original");
    state.counters["rows"] = rows;
    state.counters["file_MB"] = static_cast<double>(original.size()) / 1e6;
    state.counters["identical"] = identical ? 1 : 0;
}

void BM_PostalCp932(benchmark::State& state) { roundTrip(state, false); }
void BM_PostalUtf8(benchmark::State& state) { roundTrip(state, true); }

} // namespace

BENCHMARK(BM_PostalCp932)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();
BENCHMARK(BM_PostalUtf8)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

BENCHMARK_MAIN();
