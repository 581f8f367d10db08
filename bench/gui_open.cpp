// Opening a 500,000 x 20 CP932 file (~50 MB) in the real main window against the same open
// without a window, in one process after the window has drawn: prints both times and their
// ratio.
#include "app/TfrmMain.h"
#include "platform/core/CodePage.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <sys/stat.h>
#include <time.h>

namespace {

constexpr int Rows = 500000;
constexpr int Columns = 20;
const std::string DataPath = "/tmp/vexil_bench_open_cp932.csv";

// Numbers, dates and Japanese words; one field in twenty quoted with a comma inside.
void generate() {
    struct stat st;
    if (::stat(DataPath.c_str(), &st) == 0) return;
    const std::string words[] = {CodePage::toCp932("東京都"), CodePage::toCp932("株式会社"),
                                 CodePage::toCp932("山田太郎"), CodePage::toCp932("ｱｲｳｴｵ"),
                                 CodePage::toCp932("請求書"), "sample"};
    std::mt19937 random(7u);
    std::ofstream out(DataPath, std::ios::binary);
    std::string block;
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            if (column > 0) block += ',';
            const unsigned pick = random();
            if (column % 4 == 0) block += std::to_string(pick % 1000000);
            else if (pick % 20 == 0) block += "\"" + words[pick % 6] + "," + words[(pick >> 8) % 6] + "\"";
            else block += words[pick % 6];
        }
        block += "\r\n";
        if (block.size() > (1 << 20)) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
}

// Wall time and this thread's processor time: on a loaded machine only the latter compares.
struct Timing {
    double wall = 0;
    double cpu = 0;
};

double threadSeconds() {
    timespec now {};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = threadSeconds();
    Timing elapsed() const {
        return {std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
                threadSeconds() - cpu};
    }
};

Timing headlessOpen() {
    CMyGlobal global;
    global.setColourFileMode(0);
    auto hyo = std::make_unique<CMyHyo>();
    DocumentState doc;
    Stopwatch watch;
    OpenFlow flow(*hyo, global, doc);
    if (flow.openFile(DataPath, false, "", TypeComma) != 0) return {-1, -1};
    return watch.elapsed();
}

Timing windowOpen() {
    auto main = std::make_unique<TfrmMain>(std::vector<std::string>{});
    main->resize(1000, 700);
    main->show();
    QApplication::processEvents();
    Stopwatch watch;
    if (main->openFile(&DataPath, false, nullptr, TypeComma) != 0) return {-1, -1};
    QApplication::processEvents();
    return watch.elapsed();
}

// Each iteration opens the file both ways; the counters are the mean times and their ratio.
void BM_WindowVsHeadlessOpen(benchmark::State& state) {
    generate();
    Timing window, headless;
    for (auto _ : state) {
        Timing w = windowOpen();
        Timing h = headlessOpen();
        if (w.wall < 0 || h.wall < 0) state.SkipWithError("open failed");
        window.wall += w.wall;
        window.cpu += w.cpu;
        headless.wall += h.wall;
        headless.cpu += h.cpu;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["window_ms"] = window.wall / n * 1000;
    state.counters["headless_ms"] = headless.wall / n * 1000;
    state.counters["ratio"] = headless.wall > 0 ? window.wall / headless.wall : 0;
    state.counters["window_cpu_ms"] = window.cpu / n * 1000;
    state.counters["headless_cpu_ms"] = headless.cpu / n * 1000;
    state.counters["cpu_ratio"] = headless.cpu > 0 ? window.cpu / headless.cpu : 0;
}
BENCHMARK(BM_WindowVsHeadlessOpen)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    char folder[] = "/tmp/vexil-bench-open-XXXXXX";
    if (::mkdtemp(folder)) ::setenv("VEXIL_HOME", folder, 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
