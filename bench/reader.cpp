// Reader benchmark: loads a generated 500,000 x 20 table (~100 MB) through the real open flow.
#include "platform/core/CodePage.h"
#include "platform/core/VectorState.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/DocumentState.h"
#include "store/OpenFlow.h"

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

constexpr int Rows = 500000;
constexpr int Columns = 20;

const char* const Words[] = {"東京都", "大阪府", "株式会社", "営業部", "山田太郎", "鈴木花子",
                             "ｱｲｳｴｵ", "請求書", "見積", "納品済", "未処理", "北海道札幌市",
                             "備考なし", "ﾃｽﾄ", "確認中"};

// One field: numbers, dates, Japanese words; about one in twenty quoted with a comma, a
// doubled quote or a line break inside.
std::string makeField(std::mt19937& rng, int column, const std::string* words, int wordCount) {
    auto random = [&rng] { return static_cast<unsigned>(rng()); };
    char text[64];
    switch (column % 5) {
    case 0: std::snprintf(text, sizeof text, "%u", random() % 1000000); break;
    case 1:
        std::snprintf(text, sizeof text, "20%02u/%02u/%02u", random() % 30, random() % 12 + 1,
                      random() % 28 + 1);
        break;
    case 2: std::snprintf(text, sizeof text, "%u.%02u", random() % 100000, random() % 100); break;
    default:
        if (random() % 2 == 0) return words[random() % wordCount] + words[random() % wordCount];
        return words[random() % wordCount];
    }
    return text;
}

std::string quoted(std::mt19937& random, const std::string& word) {
    switch (random() % 3) {
    case 0: return "\"" + word + ",\x81\x75" + word + "\"";          // a comma inside
    case 1: return "\"" + word + "\"\"" + word + "\"\"\"";           // doubled quotes
    default: return "\"" + word + "\r\n" + word + "\"";             // a line break
    }
}

// Writes the CP932 file and its UTF-8 twin; returns the CP932 size.
long long generate(const std::string& sjisPath, const std::string& utf8Path) {
    struct stat st;
    if (::stat(sjisPath.c_str(), &st) == 0 && ::stat(utf8Path.c_str(), &st) == 0) {
        ::stat(sjisPath.c_str(), &st);
        return st.st_size;
    }
    std::string words[std::size(Words)];
    for (size_t i = 0; i < std::size(Words); ++i) words[i] = CodePage::toCp932(Words[i]);
    std::mt19937 random(12345u);
    std::ofstream sjis(sjisPath, std::ios::binary), utf8(utf8Path, std::ios::binary);
    std::string block, converted;
    long long total = 0;
    for (int row = 0; row < Rows; ++row) {
        for (int column = 0; column < Columns; ++column) {
            if (column > 0) block += ',';
            std::string field = makeField(random, column, words, std::size(Words));
            block += random() % 20 == 0 ? quoted(random, field) : field;
        }
        block += "\r\n";
        if (block.size() > (1 << 20) || row == Rows - 1) {
            sjis.write(block.data(), block.size());
            CodePage::cp932ToUtf8(block, converted);
            utf8.write(converted.data(), converted.size());
            total += block.size();
            block.clear();
        }
    }
    return total;
}

long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

long currentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

void resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

const std::string SjisPath = "/tmp/vexil_bench_reader_cp932.csv";
const std::string Utf8Path = "/tmp/vexil_bench_reader_utf8.csv";

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
