// Store benchmarks: bulk row loading, random cell edits and one large area undo.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "store/CMyHyo.h"
#include "store/UndoArea.h"

namespace {
constexpr int kRows = 500000;
constexpr int kCells = 20;

// A few hundred distinct rows of 20 cells (about 200 bytes each), cycled over the table.
std::vector<std::string> rowTemplates() {
    std::mt19937 random(7);
    std::vector<std::string> rows;
    for (int i = 0; i < 397; ++i) {
        std::string row;
        for (int c = 0; c < kCells; ++c) {
            if (c) row += '\t';
            int length = 4 + static_cast<int>(random() % 13);
            for (int k = 0; k < length; ++k) row += static_cast<char>('a' + random() % 26);
        }
        rows.push_back(row);
    }
    return rows;
}

void fillTable(CMyHyo& hyo, const std::vector<std::string>& templates, long long& bytes) {
    CMyLine& rows = hyo.rowList();
    bytes = 0;
    for (int r = 0; r < kRows; ++r) {
        const std::string& row = templates[r % templates.size()];
        rows.setLine(r, row.data(), static_cast<int>(row.size()));
        bytes += static_cast<long long>(row.size());
    }
}

void BM_SetLine500kRows(benchmark::State& state) {
    std::vector<std::string> templates = rowTemplates();
    long long bytes = 0;
    double memoryRatio = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto hyo = std::make_unique<CMyHyo>();
        state.ResumeTiming();
        fillTable(*hyo, templates, bytes);
        state.PauseTiming();
        memoryRatio = static_cast<double>(hyo->rowList().memoryBytes()) / static_cast<double>(bytes);
        hyo.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MB_stored"] = static_cast<double>(bytes) / 1e6;
    state.counters["memory_per_byte"] = memoryRatio;
}
BENCHMARK(BM_SetLine500kRows)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RandomSetCellEdits(benchmark::State& state) {
    std::vector<std::string> templates = rowTemplates();
    CMyHyo hyo;
    long long bytes = 0;
    fillTable(hyo, templates, bytes);
    std::mt19937 random(11);
    const char* texts[] = {"x", "edited", "a longer replacement text", "", "12345"};
    const int edits = 100000;
    for (auto _ : state) {
        for (int i = 0; i < edits; ++i)
            hyo.setCell(static_cast<int>(random() % kCells), static_cast<int>(random() % kRows), texts[i % 5]);
    }
    state.counters["edits_per_second"] =
        benchmark::Counter(static_cast<double>(edits) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["memory_per_byte"] = static_cast<double>(hyo.rowList().memoryBytes()) / static_cast<double>(bytes);
}
BENCHMARK(BM_RandomSetCellEdits)->Unit(benchmark::kMillisecond)->Iterations(3);

// One cell edit undone in a 500,000-row table (the undo command's everyday case).
void BM_SingleCellUndo(benchmark::State& state) {
    std::vector<std::string> templates = rowTemplates();
    CMyHyo hyo;
    long long bytes = 0;
    fillTable(hyo, templates, bytes);
    for (auto _ : state) {
        state.PauseTiming();
        hyo.setCell(3, 250000, "edited");
        state.ResumeTiming();
        hyo.undo();
    }
}
BENCHMARK(BM_SingleCellUndo)->Unit(benchmark::kMillisecond)->Iterations(20);

// Deleting 40,000 rows (about 9 MB, within the largest journal) of a 500,000-row table, then undoing it.
void BM_Delete40kRowsAndUndo(benchmark::State& state) {
    std::vector<std::string> templates = rowTemplates();
    CMyHyo hyo;
    long long bytes = 0;
    fillTable(hyo, templates, bytes);
    hyo.journal().setLimit(10000000);
    for (auto _ : state) {
        if (hyo.deleteRows(200000, 239999) < 0 || hyo.journal().entryCount() == 0) state.SkipWithError("not journalled");
        hyo.undo();
    }
    state.counters["rows"] = hyo.rowCount();
}
BENCHMARK(BM_Delete40kRowsAndUndo)->Unit(benchmark::kMillisecond)->Iterations(2);

// 5000 rows x 20 columns = 100,000 cells recorded as one area, changed, then undone.
void BM_AreaUndo100kCells(benchmark::State& state) {
    std::vector<std::string> templates = rowTemplates();
    CMyHyo hyo;
    long long bytes = 0;
    fillTable(hyo, templates, bytes);
    hyo.journal().setLimit(10000000);
    const int firstRow = 1000, lastRow = firstRow + 4999;
    bool restored = true;
    for (auto _ : state) {
        state.PauseTiming();
        {
            UndoArea area(hyo.journal(), UndoCellText, 0, 0, firstRow, kCells - 1, lastRow);
            for (int r = firstRow; r <= lastRow && area.collecting(); ++r) {
                for (int c = 0; c < kCells; ++c) hyo.setCell(c, r, nullptr);
                area.nextRow();
            }
            area.commit();
            for (int r = firstRow; r <= lastRow; ++r)
                for (int c = 0; c < kCells; ++c) hyo.setCell(c, r, "changed");
        }
        state.ResumeTiming();
        hyo.undo();
        state.PauseTiming();
        restored = restored && hyo.rowString(lastRow) == templates[lastRow % templates.size()];
        state.ResumeTiming();
    }
    state.counters["cells"] = 100000;
    state.counters["restored"] = restored ? 1 : 0;
}
BENCHMARK(BM_AreaUndo100kCells)->Unit(benchmark::kMillisecond)->Iterations(3);
} // namespace

BENCHMARK_MAIN();
