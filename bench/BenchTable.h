// BenchTable: the generated 500,000 x 20 table the reader, sort and find benchmarks share, and
// the process memory readings they report.
#pragma once

#include "platform/core/CodePage.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/stat.h>

namespace BenchTable {

constexpr int Rows = 500000;
constexpr int Columns = 20;

inline const char* const Words[] = {"東京都", "大阪府", "株式会社", "営業部", "山田太郎", "鈴木花子",
                             "ｱｲｳｴｵ", "請求書", "見積", "納品済", "未処理", "北海道札幌市",
                             "備考なし", "ﾃｽﾄ", "確認中"};

// One field: numbers, dates, Japanese words; about one in twenty quoted with a comma, a
// doubled quote or a line break inside.
inline std::string makeField(std::mt19937& rng, int column, const std::string* words, int wordCount) {
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

inline std::string quoted(std::mt19937& random, const std::string& word) {
    switch (random() % 3) {
    case 0: return "\"" + word + ",\x81\x75" + word + "\"";          // a comma inside
    case 1: return "\"" + word + "\"\"" + word + "\"\"\"";           // doubled quotes
    default: return "\"" + word + "\r\n" + word + "\"";             // a line break
    }
}

// The seed every generated table starts from, so that a larger table begins with the rows of
// the smaller one.
constexpr unsigned Seed = 12345u;

// Words converted to CP932 once, indexed like Words.
struct Cp932Words {
    std::string words[std::size(Words)];
    Cp932Words() {
        for (size_t i = 0; i < std::size(Words); ++i) words[i] = CodePage::toCp932(Words[i]);
    }
};

// Appends one record of Columns fields (about 200 bytes) ended by CR LF.
inline void appendRecord(std::mt19937& random, const Cp932Words& cp932, std::string& block) {
    for (int column = 0; column < Columns; ++column) {
        if (column > 0) block += ',';
        std::string field = makeField(random, column, cp932.words, std::size(Words));
        block += random() % 20 == 0 ? quoted(random, field) : field;
    }
    block += "\r\n";
}

// Writes the CP932 file and its UTF-8 twin; returns the CP932 size.
inline long long generate(const std::string& sjisPath, const std::string& utf8Path) {
    struct stat st;
    if (::stat(sjisPath.c_str(), &st) == 0 && ::stat(utf8Path.c_str(), &st) == 0) {
        ::stat(sjisPath.c_str(), &st);
        return st.st_size;
    }
    const Cp932Words cp932;
    std::mt19937 random(Seed);
    std::ofstream sjis(sjisPath, std::ios::binary), utf8(utf8Path, std::ios::binary);
    std::string block, converted;
    long long total = 0;
    for (int row = 0; row < Rows; ++row) {
        appendRecord(random, cp932, block);
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

inline long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

inline long currentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

inline void resetPeak() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

inline const std::string SjisPath = "/tmp/vexil_bench_reader_cp932.csv";
inline const std::string Utf8Path = "/tmp/vexil_bench_reader_utf8.csv";

}  // namespace BenchTable
