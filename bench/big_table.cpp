// Open, save, sort, find, filter and replace all on a generated table of millions of rows
// (VEXIL_BIG_ROWS, 2,000,000 unless set; 20 columns, about 200 bytes a row). Each case runs
// once and reports the memory it took above the level just before it, against the file size.
// The open case's table is kept for the cases after it, which work on it in turn.
#include "bench/BigTable.h"
#include "engine/FindReplace.h"
#include "platform/core/CodePage.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"
#include "store/SaveFlow.h"
#include "store/TableLimits.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

using BigTable::Megabyte;

struct BigFile {
    int rows = 0;
    std::string path;
    long long bytes = 0;
    double megabytes() const { return static_cast<double>(bytes) / Megabyte; }
};

// Written (or found) once per process; the row option is raised to hold it.
const BigFile& bigFile() {
    static const BigFile file = [] {
        BigFile made;
        made.rows = BigTable::rowsFromEnvironment();
        made.path = BigTable::dataPath(made.rows);
        made.bytes = BigTable::ensureFile(made.path, made.rows);
        if (made.bytes < 0) {
            std::fprintf(stderr, "could not write %s\n", made.path.c_str());
            std::exit(1);
        }
        TableLimits::setMaxRows(std::max(made.rows, TableLimits::DefaultMaxRows));
        return made;
    }();
    return file;
}

struct Document {
    CMyGlobal global;
    CMyHyo hyo;
    DocumentState doc;
};

std::unique_ptr<Document> freshDocument() {
    BigTable::scratchFolder();   // before the settings object, which finds its folder when made
    auto document = std::make_unique<Document>();
    BigTable::prepare(document->global, document->hyo);
    return document;
}

bool openBigFile(Document& document) {
    OpenFlow flow(document.hyo, document.global, document.doc);
    return flow.openFile(bigFile().path, false, "", TypeComma) == 0;
}

std::unique_ptr<Document>& sharedSlot() {
    static std::unique_ptr<Document> document;
    return document;
}

// The table the open case loaded; loaded here, untimed, when that case did not run.
Document& loaded() {
    if (!sharedSlot()) {
        auto document = freshDocument();
        if (!openBigFile(*document)) std::abort();
        sharedSlot() = std::move(document);
    }
    return *sharedSlot();
}

// The process's memory just before an operation and the peak above it since.
class MemoryWindow {
public:
    MemoryWindow() {
        BigTable::settleHeap();
        before = BenchTable::currentKilobytes();
        BenchTable::resetPeak();
    }
    double peakMegabytes() const { return (BenchTable::peakKilobytes() - before) / 1024.0; }

private:
    long before = 0;
};

void report(benchmark::State& state, double peakMegabytes, const CMyHyo& hyo) {
    const BigFile& file = bigFile();
    const double storeMegabytes = static_cast<double>(hyo.memoryBytes()) / Megabyte;
    state.counters["rows"] = hyo.storeRowCount();
    state.counters["file_MB"] = file.megabytes();
    state.counters["peak_MB"] = peakMegabytes;
    state.counters["peak_x_file"] = peakMegabytes / file.megabytes();
    state.counters["store_MB"] = storeMegabytes;
    state.counters["store_x_file"] = storeMegabytes / file.megabytes();
}

// Times `operation` on the loaded table. The journal is emptied before it, so that each case
// counts only what its own operation keeps.
void timeOnTable(benchmark::State& state, const char* failure, const std::function<bool(Document&)>& operation) {
    Document& document = loaded();
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        document.hyo.journal().clear();
        MemoryWindow window;
        state.ResumeTiming();
        const bool done = operation(document);
        state.PauseTiming();
        peak = window.peakMegabytes();
        if (!done) state.SkipWithError(failure);
        state.ResumeTiming();
    }
    report(state, peak, document.hyo);
}

void BM_Open(benchmark::State& state) {
    const BigFile& file = bigFile();
    double peak = 0;
    bool opened = false;
    for (auto _ : state) {
        state.PauseTiming();
        sharedSlot().reset();   // an earlier table must not count in the level before
        auto document = freshDocument();
        MemoryWindow window;
        state.ResumeTiming();
        opened = openBigFile(*document);
        state.PauseTiming();
        peak = window.peakMegabytes();
        sharedSlot() = std::move(document);
        state.ResumeTiming();
    }
    const CMyHyo& hyo = sharedSlot()->hyo;
    if (!opened || hyo.storeRowCount() != file.rows) state.SkipWithError("the file did not open whole");
    report(state, peak, hyo);
}

// Saves the loaded table under a second name in the scratch folder, removed afterwards.
void BM_Save(benchmark::State& state) {
    const std::string copy = BigTable::scratchFolder() + "/saved.csv";
    timeOnTable(state, "save failed", [&](Document& document) {
        DocumentState target = document.doc;
        target.filePath = copy;
        return SaveFlow(document.hyo, document.global, target).saveDocument(false);
    });
    std::error_code error;
    const auto savedBytes = std::filesystem::file_size(copy, error);
    state.counters["saved_MB"] = error ? 0 : static_cast<double>(savedBytes) / Megabyte;
    std::filesystem::remove(copy, error);
}

// The third column, 0.00 to 99999.99, compared as text.
void BM_SortOneTextKey(benchmark::State& state) {
    CMyHyo& hyo = loaded().hyo;
    hyo.clearSortKeys();
    hyo.addSortKey(2, false, false, 0);
    timeOnTable(state, "sort failed", [](Document& document) { return document.hyo.sortRows() == 0; });
}

void BM_FindAbsent(benchmark::State& state) {
    FindParameters params;
    FindReplace::setFindText(params, CodePage::toCp932("該当なし"), 1, MatchContainNoCase);
    timeOnTable(state, "found the absent text", [&](Document& document) {
        const FindOutcome outcome =
            FindReplace::findNext(document.hyo, params, FindReplace::wholeTable(document.hyo), -1, 0, -1, false);
        return !outcome.found && !outcome.gaveUp;
    });
    state.counters["cells"] = static_cast<double>(loaded().hyo.rowCount()) * BenchTable::Columns;
}

// The first column holds numbers below 1,000,000: "< 500000" keeps about half the rows. The
// store's memory is read with the filter on; it is cleared after.
void BM_FilterHalf(benchmark::State& state) {
    int kept = 0;
    timeOnTable(state, "filter failed", [&](Document& document) {
        const bool done = document.hyo.applyFilter(0, "500000", MatchNumberBelow, 0, false) == 0;
        kept = document.hyo.rowCount();
        return done;
    });
    state.counters["kept"] = kept;
    loaded().hyo.clearFilter();
}

// "/" -> "-" through the whole table: the dates of every fifth column, four cells a row. The journal keeps what the
// replace took as long as UNDOSIZE lets it.
void BM_ReplaceAll(benchmark::State& state) {
    FindParameters params;
    FindReplace::setFindText(params, "/", 1, MatchContain);
    FindReplace::setReplaceText(params, "-");
    int replaced = 0;
    timeOnTable(state, "replace failed", [&](Document& document) {
        const FindOutcome outcome =
            FindReplace::findAll(document.hyo, params, FindReplace::wholeTable(document.hyo), -1, true);
        replaced = outcome.replaced;
        return !outcome.cancelled && !outcome.gaveUp && outcome.replaced > 0;
    });
    state.counters["replaced"] = replaced;
    state.counters["date_cells"] = static_cast<double>(bigFile().rows) * (BenchTable::Columns / 5);
}

}  // namespace

BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SortOneTextKey)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_FindAbsent)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_FilterHalf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

int main(int argc, char** argv) {
    static BigTable::TellingPrompt prompt;
    Prompt::install(&prompt);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedSlot().reset();
    BigTable::removeScratchFolder();
    return 0;
}
