// BigTable: the generated table of millions of rows (BenchTable's records, VEXIL_BIG_ROWS of
// them) that the big-table benchmark and the big round trip share, with the settings and the
// answers they run the store under.
#pragma once

#include "bench/BenchTable.h"
#include "platform/core/Prompt.h"
#include "settings/CMyGlobal.h"
#include "store/CMyHyo.h"
#include "store/TableLimits.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include <unistd.h>

namespace BigTable {

namespace fs = std::filesystem;

constexpr int DefaultRows = 2000000;
constexpr double Megabyte = 1024.0 * 1024.0;

// VEXIL_BIG_ROWS, DefaultRows when unset; a value the store cannot hold ends the program.
inline int rowsFromEnvironment() {
    const char* text = std::getenv("VEXIL_BIG_ROWS");
    if (!text || !*text) return DefaultRows;
    char* end = nullptr;
    const long rows = std::strtol(text, &end, 10);
    if (*end != '\0' || rows < 1 || rows > TableLimits::HighestMaxRows) {
        std::fprintf(stderr, "VEXIL_BIG_ROWS=%s: give 1..%d rows\n", text, TableLimits::HighestMaxRows);
        std::exit(2);
    }
    return static_cast<int>(rows);
}

// Named by its row count, so that runs of different sizes keep their own file.
inline std::string dataPath(int rows) {
    return (fs::temp_directory_path() / ("vexil_bench_big_" + std::to_string(rows) + ".csv")).string();
}

// The size noted beside the file when it was last written whole; -1 when there is none.
inline long long notedSize(const std::string& path) {
    std::ifstream in(path + ".bytes");
    long long bytes = -1;
    in >> bytes;
    return in ? bytes : -1;
}

// Writes `rows` records through a temporary name, so that an interrupted run leaves nothing
// that looks whole, and notes the size beside the file. The size, or -1 when writing failed.
inline long long write(const std::string& path, int rows) {
    const std::string partial = path + ".partial";
    const BenchTable::Cp932Words cp932;
    std::mt19937 random(BenchTable::Seed);
    std::ofstream out(partial, std::ios::binary);
    std::string block;
    long long total = 0;
    for (int row = 0; row < rows && out; ++row) {
        BenchTable::appendRecord(random, cp932, block);
        if (block.size() > (1u << 20) || row == rows - 1) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            total += static_cast<long long>(block.size());
            block.clear();
        }
    }
    out.close();
    std::error_code error;
    if (out) fs::rename(partial, path, error);
    if (!out || error) {
        fs::remove(partial, error);
        return -1;
    }
    std::ofstream(path + ".bytes") << total << '\n';
    return total;
}

// The file of `rows` records: the one already there when it has the size noted for it,
// otherwise written now. Its size, or -1 when it could not be written.
inline long long ensureFile(const std::string& path, int rows) {
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (!error && static_cast<long long>(size) == notedSize(path)) return static_cast<long long>(size);
    return write(path, rows);
}

// A folder of this process for the settings and history files (VEXIL_HOME) and saved copies.
inline const std::string& scratchFolder() {
    static std::string path;
    if (path.empty()) {
        path = (fs::temp_directory_path() / ("vexil-bench-big-" + std::to_string(::getpid()))).string();
        fs::create_directories(path);
        ::setenv("VEXIL_HOME", path.c_str(), 1);
    }
    return path;
}

inline void removeScratchFolder() {
    std::error_code ignored;
    fs::remove_all(scratchFolder(), ignored);
}

// As the window sets a document up: the settings read, no colour file, and the journal limited
// by UNDOSIZE. `global` was made after scratchFolder(), so the settings are looked for in that
// empty folder and every option has its default.
inline void prepare(CMyGlobal& global, CMyHyo& hyo) {
    global.loadSettings(1920, 1080);
    global.setColourFileMode(0);
    hyo.journal().setLimit(global.undoSize());
}

// Freed blocks the allocator keeps would count in the level before the next operation and
// hide what that operation takes; they go back to the system first.
inline void settleHeap() { ::malloc_trim(0); }

// Answers every question Yes, as a user who wants the operation done, and prints each message,
// so that a run shows what the window would have asked or said.
class TellingPrompt : public FixedAnswerPrompt {
public:
    TellingPrompt() : FixedAnswerPrompt(PromptAnswer::Yes) {}
    PromptAnswer messageBox(const std::string& text, const std::string& caption, PromptButtons buttons,
                            PromptIcon icon, PromptAnswer defaultAnswer) override {
        ++messages;
        std::fprintf(stderr, "  [%s] %s\n", caption.c_str(), text.c_str());
        return FixedAnswerPrompt::messageBox(text, caption, buttons, icon, defaultAnswer);
    }
    int messages = 0;
};

}  // namespace BigTable
