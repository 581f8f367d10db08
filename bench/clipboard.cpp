// Clipboard and structure benchmarks: a 5 MB copy and its paste, 1,000 rows inserted and
// deleted in a 500,000-row table, and a colour on a whole column of 500,000 rows.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "engine/ClipboardText.h"
#include "engine/ColourOperations.h"
#include "engine/PasteOperation.h"
#include "engine/RowColumnOperations.h"
#include "store/CMyHyo.h"

namespace {
constexpr int kRows = 500000;
constexpr long long kCopyLimit = 5000000;

// Rows of `cells` cells of 4 to 12 letters.
std::unique_ptr<CMyHyo> makeTable(int rows, int cells) {
    auto hyo = std::make_unique<CMyHyo>();
    hyo->journal().setLimit(10000000);   // the largest journal the options allow
    CMyLine& lines = hyo->rowList();
    std::string row;
    for (int r = 0; r < rows; ++r) {
        row.clear();
        for (int c = 0; c < cells; ++c) {
            if (c) row += '\t';
            row.append(4 + (r * 7 + c * 3) % 9, static_cast<char>('a' + (r + c) % 26));
        }
        lines.setLine(r, row.data(), static_cast<int>(row.size()));
    }
    hyo->setWidestRow(cells);
    return hyo;
}

// The largest block of whole rows (from row 0) whose copy stays within the copy limit.
SelectionRange fiveMegabytes(CMyHyo& hyo, int cells) {
    SelectionRange bounds{0, 0, cells - 1, 0};
    const std::int64_t oneRow = ClipboardText::copyText(hyo, bounds, 0, true, nullptr);
    bounds.bottom = static_cast<int>(kCopyLimit / oneRow) - 1;
    while (ClipboardText::copyText(hyo, bounds, 0, true, nullptr) > kCopyLimit) --bounds.bottom;
    return bounds;
}

void copyAndPaste(benchmark::State& state, int rows, int cells) {
    auto hyo = makeTable(rows, cells);
    const SelectionRange block = fiveMegabytes(*hyo, cells);
    const SelectionRange target{0, rows / 2, 0, rows / 2};
    double copySeconds = 0, pasteSeconds = 0;
    std::string text;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        text.clear();
        const std::int64_t size = ClipboardText::copyText(*hyo, block, 0, true, nullptr, kCopyLimit);
        text.reserve(size + 10);
        ClipboardText::copyText(*hyo, block, 0, true, &text);
        auto copied = std::chrono::steady_clock::now();
        const PasteOutcome outcome = PasteOperation::paste(*hyo, target, text, PasteOptions{});
        auto pasted = std::chrono::steady_clock::now();
        if (outcome != PasteOutcome::Pasted) state.SkipWithError("paste did not run");
        copySeconds += std::chrono::duration<double>(copied - start).count();
        pasteSeconds += std::chrono::duration<double>(pasted - copied).count();
        state.PauseTiming();
        hyo->undo();
        state.ResumeTiming();
    }
    state.counters["MB_copied"] = static_cast<double>(text.size()) / 1e6;
    state.counters["copy_s"] = copySeconds / state.iterations();
    state.counters["paste_s"] = pasteSeconds / state.iterations();
}

void BM_CopyPaste5MB_20Columns(benchmark::State& state) { copyAndPaste(state, kRows, 20); }
BENCHMARK(BM_CopyPaste5MB_20Columns)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CopyPaste5MB_999Columns(benchmark::State& state) { copyAndPaste(state, 2000, 999); }
BENCHMARK(BM_CopyPaste5MB_999Columns)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_InsertDelete1000RowsIn500k(benchmark::State& state) {
    auto hyo = makeTable(kRows, 20);
    const int first = kRows / 2, last = first + 999;
    double insertSeconds = 0, deleteSeconds = 0;
    for (auto _ : state) {
        // A full table takes no more rows: delete first, then insert as many again.
        auto start = std::chrono::steady_clock::now();
        if (RowColumnOperations::deleteRows(*hyo, first, last) != 1) state.SkipWithError("delete");
        auto deleted = std::chrono::steady_clock::now();
        if (RowColumnOperations::insertRows(*hyo, first, last) != 1) state.SkipWithError("insert");
        auto inserted = std::chrono::steady_clock::now();
        deleteSeconds += std::chrono::duration<double>(deleted - start).count();
        insertSeconds += std::chrono::duration<double>(inserted - deleted).count();
    }
    state.counters["insert_s"] = insertSeconds / state.iterations();
    state.counters["delete_s"] = deleteSeconds / state.iterations();
    state.counters["rows"] = hyo->rowCount();
}
BENCHMARK(BM_InsertDelete1000RowsIn500k)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ColourWholeColumnOf500kRows(benchmark::State& state) {
    auto hyo = makeTable(kRows, 20);
    const std::size_t before = hyo->memoryBytes();
    for (auto _ : state) {
        if (ColourOperations::setColour(*hyo, ColourTarget::Columns, {3, 0, 3, kRows - 1}, false, 5) != 0)
            state.SkipWithError("colour");
        state.PauseTiming();
        hyo->undo();
        state.ResumeTiming();
    }
    state.counters["extra_MB"] = (static_cast<double>(hyo->memoryBytes()) - before) / 1e6;
}
BENCHMARK(BM_ColourWholeColumnOf500kRows)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ColourCellsOfAColumnOf500kRows(benchmark::State& state) {
    auto hyo = makeTable(kRows, 20);
    for (auto _ : state) {
        if (ColourOperations::setColour(*hyo, ColourTarget::Cells, {3, 0, 3, kRows - 1}, false, 5) != 0)
            state.SkipWithError("colour");
        state.PauseTiming();
        hyo->undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ColourCellsOfAColumnOf500kRows)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
