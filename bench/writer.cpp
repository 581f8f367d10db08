// Saving a 500,000 x 20 table (about 100 MB) with colour information, in CP932 and UTF-8, and
// in CP932 once more after a sort, when the rows are written in an order far from the one
// their texts lie in.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/core/CodePage.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/RowSorter.h"
#include "store/SaveFlow.h"

namespace fs = std::filesystem;

namespace {

constexpr int Rows = 500000;
constexpr int Columns = 20;

std::string folder() {
    static std::string path;
    if (path.empty()) {
        path = (fs::temp_directory_path() / ("vexil-bench-writer-" + std::to_string(::getpid()))).string();
        fs::create_directories(path);
        ::setenv("VEXIL_HOME", path.c_str(), 1);
    }
    return path;
}

// Japanese words, numbers, and every so often a field that needs quotes.
CMyHyo& table() {
    static CMyHyo* hyo = nullptr;
    if (hyo) return *hyo;
    hyo = new CMyHyo;
    hyo->journal().setRecording(false);
    const std::string words[] = {CodePage::toCp932("東京都"), CodePage::toCp932("株式会社"),
                                 CodePage::toCp932("山田太郎"), CodePage::toCp932("商品名"),
                                 CodePage::toCp932("ｶﾀｶﾅﾃｷｽﾄ"), "Tokyo-to", "sample text"};
    std::mt19937 random(42);
    std::string row;
    for (int r = 0; r < Rows; ++r) {
        row.clear();
        if (r % 50 == 0) row += "\x07\x02\x05\x03";  // a background-coloured row
        for (int c = 0; c < Columns; ++c) {
            if (c > 0) row += '\t';
            const unsigned pick = random() % 100;
            if (c % 4 == 0) {
                row += std::to_string(random() % 100000000);
            } else if (pick < 3) {
                row += "a,b \"quoted\"";
            } else if (pick < 5) {
                row += "\x02\x04\x01" + words[pick % 7];  // a coloured cell
            } else {
                row += words[pick % 7];
                if (pick % 3 == 0) row += std::to_string(pick * 1001);
            }
        }
        hyo->setRow(r, row);
    }
    hyo->setWidestRow(Columns);
    return *hyo;
}

// asRead: DBLKIND 4, with the text columns noted as read enclosed and the number columns bare.
void saveTable(benchmark::State& state, int encoding, bool asRead = false) {
    CMyHyo& hyo = table();
    hyo.columnQuoting().reset();
    if (asRead)
        for (int c = 0; c < Columns; ++c) hyo.columnQuoting().note(c, false, c % 4 != 0);
    const std::string path = folder() + "/bench.csv";
    CMyGlobal global;
    global.setColourFileMode(1);
    if (asRead) global.setQuoteKind(CMyGlobal::QuoteAsRead);
    DocumentState doc;
    doc.filePath = path;
    doc.encoding = encoding;
    doc.colourMode = 1;
    SaveFlow flow(hyo, global, doc);
    long long bytes = 0;
    for (auto _ : state) {
        if (!flow.saveDocument(false)) state.SkipWithError("save failed");
        bytes += static_cast<long long>(fs::file_size(path));
    }
    state.SetBytesProcessed(bytes);
    state.counters["file_MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
    state.counters["vxc_KB"] = static_cast<double>(fs::file_size(folder() + "/bench.vxc")) / 1e3;
}

// Sorts the rows by the numbers in column 0 (random, so neighbours in the new order lie far
// apart in memory); returns the order that puts them back.
std::vector<int> sortByFirstColumn(CMyHyo& hyo) {
    hyo.clearSortKeys();
    hyo.addSortKey(0, false, true, 0);
    std::vector<int> back;
    RowSorter::sort(hyo, [&back](const int* order, int count) {
        back.resize(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k) back[order[k]] = k;
        return true;
    });
    return back;
}

void BM_SaveCp932(benchmark::State& state) { saveTable(state, 0); }
void BM_SaveCp932Sorted(benchmark::State& state) {
    CMyHyo& hyo = table();
    const std::vector<int> back = sortByFirstColumn(hyo);
    if (back.empty()) {
        state.SkipWithError("sort failed");
        return;
    }
    saveTable(state, 0);
    hyo.rowList().permute(nullptr, back.data(), static_cast<int>(back.size()));
}
void BM_SaveUtf8(benchmark::State& state) { saveTable(state, 15); }
void BM_SaveCp932AsRead(benchmark::State& state) { saveTable(state, 0, true); }

} // namespace

// A long save formats on every processor: the processor time is the whole process's.
BENCHMARK(BM_SaveCp932)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime();
BENCHMARK(BM_SaveCp932Sorted)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime();
BENCHMARK(BM_SaveUtf8)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime();
BENCHMARK(BM_SaveCp932AsRead)->Unit(benchmark::kMillisecond)->Iterations(3)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(folder(), ignored);
    return 0;
}
