// Status bar refresh on the real main window: whole-column totals over 500,000 rows, a
// row total over 999 cells, and the plain cell excerpt.
#include "app/TfrmMain.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoDraw.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int Rows = 500000;

// One window whose table is filled directly (the reader has its own benchmark).
struct Window {
    std::unique_ptr<TfrmMain> main;

    Window() {
        char folder[] = "/tmp/vexil-bench-XXXXXX";
        if (::mkdtemp(folder)) ::setenv("VEXIL_HOME", folder, 1);
        main = std::make_unique<TfrmMain>(std::vector<std::string>{});
        CMyHyo& hyo = main->hyo();
        hyo.journal().setRecording(false);
        for (int r = 0; r < Rows; ++r)
            hyo.setRow(r, std::to_string(r) + "\t" + std::to_string(r % 97) + ".25\tword");
        std::string wide;
        for (int c = 0; c < 999; ++c) wide += (c ? "\t" : "") + std::to_string(c);
        hyo.setRow(0, wide);
        hyo.setWidestRow(999);
    }
};

Window& window() {
    static Window w;
    return w;
}

// Two selections used in turn, so every refresh sees new bounds and computes again.
void refresh(TfrmMain& w, const CellBlock& a, const CellBlock& b, int kind, bool& flip) {
    w.view().setSelection(SelMade, kind, flip ? a : b);
    flip = !flip;
    w.updateStatus(1);
}

void BM_ColumnTotal500k(benchmark::State& state) {
    TfrmMain& w = *window().main;
    bool flip = false;
    for (auto _ : state) refresh(w, {0, -1, 0, -2}, {1, -1, 1, -2}, SelColumns, flip);
    state.SetLabel(w.statusPanelText(6).toStdString());
}
BENCHMARK(BM_ColumnTotal500k)->Unit(benchmark::kMillisecond);

void BM_RowTotal999(benchmark::State& state) {
    TfrmMain& w = *window().main;
    bool flip = false;
    for (auto _ : state) refresh(w, {0, 0, 998, 0}, {1, 0, 998, 0}, SelCells, flip);
    state.SetLabel(w.statusPanelText(6).toStdString());
}
BENCHMARK(BM_RowTotal999)->Unit(benchmark::kMicrosecond);

void BM_CellExcerpt(benchmark::State& state) {
    TfrmMain& w = *window().main;
    bool flip = false;
    for (auto _ : state) refresh(w, {2, 5, 2, 5}, {2, 6, 2, 6}, SelCells, flip);
}
BENCHMARK(BM_CellExcerpt)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
