// Sort, find, replace and filter benchmark on the generated 500,000 x 20 table, with GNU sort
// on the same file as the reference for the sort.
#include "bench/BenchTable.h"
#include "engine/FindReplace.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/CellMatch.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>
#include <sys/resource.h>

namespace {

using namespace BenchTable;


CMyHyo& table() {
    static std::unique_ptr<CMyHyo> hyo;
    static FixedAnswerPrompt prompt(PromptAnswer::Yes, PromptAnswer::Yes);
    if (!hyo) {
        Prompt::install(&prompt);
        generate(SjisPath, Utf8Path);
        auto global = std::make_unique<CMyGlobal>();
        global->setColourFileMode(0);
        hyo = std::make_unique<CMyHyo>();
        DocumentState doc;
        OpenFlow flow(*hyo, *global, doc);
        if (flow.openFile(SjisPath, false, "", TypeComma) != 0) std::abort();
    }
    return *hyo;
}

// Puts the rows into a random order, so that every sort starts from an unsorted table.
void shuffle(CMyHyo& hyo) {
    static std::mt19937 random(7);
    std::vector<int> order(hyo.storeRowCount());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    hyo.rowList().permute(nullptr, order.data(), static_cast<int>(order.size()));
}

struct Key {
    int column;
    bool numeric;
};

void sortBy(benchmark::State& state, std::vector<Key> keys) {
    CMyHyo& hyo = table();
    long peakAbove = 0;
    for (auto _ : state) {
        state.PauseTiming();
        shuffle(hyo);
        hyo.clearSortKeys();
        for (const Key& key : keys) hyo.addSortKey(key.column, false, key.numeric, 0);
        long before = currentKilobytes();
        resetPeak();
        state.ResumeTiming();
        if (hyo.sortRows() != 0) state.SkipWithError("sort failed");
        state.PauseTiming();
        peakAbove = std::max(peakAbove, peakKilobytes() - before);
        state.ResumeTiming();
    }
    const double tableMegabytes = hyo.memoryBytes() / (1024.0 * 1024.0);
    state.counters["rows"] = hyo.rowCount();
    state.counters["table_MB"] = tableMegabytes;
    state.counters["sort_extra_MB"] = peakAbove / 1024.0;
    state.counters["peak_x_table"] = (tableMegabytes + peakAbove / 1024.0) / tableMegabytes;
}

void BM_SortOneTextKey(benchmark::State& state) { sortBy(state, {{2, false}}); }
void BM_SortOneNumberKey(benchmark::State& state) { sortBy(state, {{2, true}}); }
void BM_SortThreeKeys(benchmark::State& state) { sortBy(state, {{3, false}, {4, false}, {0, true}}); }

double childCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Reference: GNU sort on the same file, from the third field to the end of the line (its own
// processor time, over its threads, is the child_cpu_ms counter).
void BM_GnuSortK3(benchmark::State& state) {
    table();
    const std::string command = "LC_ALL=C sort -t, -k3 " + SjisPath + " > /dev/null";
    const double before = childCpuSeconds();
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("sort failed");
    state.counters["child_cpu_ms"] = (childCpuSeconds() - before) * 1000 / state.iterations();
}

void findAbsent(benchmark::State& state, const char* utf8, int mode) {
    CMyHyo& hyo = table();
    FindParameters params;
    FindReplace::setFindText(params, CodePage::toCp932(utf8), 1, mode);
    for (auto _ : state) {
        FindOutcome outcome = FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), -1, 0, -1, false);
        if (outcome.found) state.SkipWithError("found the absent text");
    }
    state.counters["cells"] = static_cast<double>(hyo.rowCount()) * 20;
}

void BM_FindAbsentJapanese(benchmark::State& state) { findAbsent(state, "該当なし", MatchContainNoCase); }
void BM_FindAbsentLettersNoCase(benchmark::State& state) { findAbsent(state, "zzz", MatchContainNoCase); }
void BM_FindAbsentLettersCase(benchmark::State& state) { findAbsent(state, "zzz", MatchContain); }

// Replaces all in column 1 (a date in every row) with `find` -> `replace`, timed, and puts the
// dates back with `undoFind` -> `undoReplace` between the timed runs.
void replaceDatesAndPutBack(benchmark::State& state, const char* find, const char* replace,
                            const char* undoFind, const char* undoReplace, int kind) {
    CMyHyo& hyo = table();
    const SelectionRange dates{1, 0, 1, hyo.rowCount() - 1};
    FindParameters forward, back;
    FindReplace::setFindText(forward, find, 1, kind);
    FindReplace::setReplaceText(forward, replace);
    FindReplace::setFindText(back, undoFind, 1, kind);
    FindReplace::setReplaceText(back, undoReplace);
    int replaced = 0;
    for (auto _ : state) {
        FindOutcome outcome = FindReplace::findAll(hyo, forward, dates, -1, true);
        replaced = outcome.replaced;
        state.PauseTiming();
        FindReplace::findAll(hyo, back, dates, -1, true);
        hyo.journal().clear();
        state.ResumeTiming();
    }
    state.counters["replaced"] = replaced;
}

// Filters `column` by `text` (timed) and clears the filter between the timed runs.
void filterAndClear(benchmark::State& state, int column, const std::string& text, int kind) {
    CMyHyo& hyo = table();
    int kept = 0;
    for (auto _ : state) {
        if (hyo.applyFilter(column, text, kind, 0, false) != 0) state.SkipWithError("filter failed");
        state.PauseTiming();
        kept = hyo.rowCount();
        hyo.clearFilter();
        state.ResumeTiming();
    }
    state.counters["kept"] = kept;
}

// "/" -> "-" replaces in 500,000 cells.
void BM_ReplaceAll500k(benchmark::State& state) { replaceDatesAndPutBack(state, "/", "-", "-", "/", MatchContain); }

// Column 0 holds random numbers below 1,000,000: "< 500000" keeps about half the rows.
void BM_FilterHalf(benchmark::State& state) { filterAndClear(state, 0, "500000", MatchNumberBelow); }

// Regular expressions: a find through the whole table for a pattern that occurs nowhere, a
// replace all with groups over the 500,000 dates (put back between the timed runs), and a
// filter on the Japanese words of column 3.
void BM_RegexFindAbsent(benchmark::State& state) {
    CMyHyo& hyo = table();
    FindParameters params;
    FindReplace::setFindText(params, CodePage::toCp932("^[ァ-ヶ]+\\d{3}円$"), 1, MatchRegex);
    for (auto _ : state) {
        FindOutcome outcome = FindReplace::findNext(hyo, params, FindReplace::wholeTable(hyo), -1, 0, -1, false);
        if (outcome.found || outcome.gaveUp) state.SkipWithError("found the absent pattern");
    }
    state.counters["cells"] = static_cast<double>(hyo.rowCount()) * 20;
}

void BM_RegexReplaceAllGroups(benchmark::State& state) {
    replaceDatesAndPutBack(state, "^(\\d+)/(\\d+)/(\\d+)$", "$3.$2.$1", "^(\\d+)\\.(\\d+)\\.(\\d+)$",
                           "$3/$2/$1", MatchRegex);
}

void BM_RegexFilter(benchmark::State& state) {
    filterAndClear(state, 3, CodePage::toCp932("^(東京|大阪)|部$"), MatchRegex);
}

void BM_FilterClear(benchmark::State& state) {
    CMyHyo& hyo = table();
    for (auto _ : state) {
        state.PauseTiming();
        hyo.applyFilter(0, "500000", MatchNumberBelow, 0, false);
        state.ResumeTiming();
        hyo.clearFilter();
    }
}

}  // namespace

BENCHMARK(BM_SortOneTextKey)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_GnuSortK3)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SortOneNumberKey)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_SortThreeKeys)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FindAbsentJapanese)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FindAbsentLettersNoCase)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FindAbsentLettersCase)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ReplaceAll500k)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FilterHalf)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_RegexFindAbsent)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_RegexReplaceAllGroups)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_RegexFilter)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_FilterClear)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
