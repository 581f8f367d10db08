// What undo costs on a 500,000-row table: a whole-column conversion or a sort, then undo and
// redo, with the journal of a new settings file (64,000 KB). Run under /usr/bin/time -v and
// compare the peak resident size of "table" (the table alone) with "convert" and "sort".
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/SelectionConvert.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"

namespace {

constexpr int kRows = 500000;
constexpr int kColumns = 10;

void fill(CMyHyo& hyo) {
    const bool previous = hyo.journal().setRecording(false);
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    std::string row;
    for (int r = 0; r < kRows; ++r) {
        row.clear();
        for (int c = 0; c < kColumns; ++c) {
            if (c) row += '\t';
            if (c == 3) row += "ward-" + std::to_string(next() % 1000) + "-street";
            else row += std::to_string(next() % 100000000);
        }
        hyo.setRow(r, row);
    }
    hyo.journal().setRecording(previous);
}

// The peak resident size so far, in KB (VmHWM).
long peakKb() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status) return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, status))
        if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    std::fclose(status);
    return kb;
}

bool undoAndRedo(CMyHyo& hyo) {
    std::printf("  peak after the change %ld KB\n", peakKb());
    if (hyo.undo().row == -1) return false;
    std::printf("  peak after undo %ld KB (redo keeps %zu bytes)\n", peakKb(), hyo.journal().outsideBytes());
    if (hyo.redo().row == -1) return false;
    std::printf("  peak after redo %ld KB\n", peakKb());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const char* mode = argc > 1 ? argv[1] : "table";
    CMyHyo hyo;
    hyo.journal().setLimit(64000000);
    fill(hyo);
    const std::size_t table = hyo.memoryBytes();
    std::printf("  peak with the table %ld KB\n", peakKb());
    bool done = true;
    if (std::strcmp(mode, "convert") == 0) {
        const ConvertOutcome out = SelectionConvert::run(hyo, {3, 0, 3, kRows - 1}, SelectionConvert::forTag(2));
        done = out.changedCells == kRows && hyo.journal().entryCount() == 1 && undoAndRedo(hyo);
    } else if (std::strcmp(mode, "sort") == 0) {
        hyo.clearSortKeys();
        hyo.addSortKey(3, false, false, 0);
        done = hyo.sortRows() == 0 && hyo.journal().entryCount() == 1 && undoAndRedo(hyo);
    }
    std::printf("%s: table %zu bytes, journal %zu + redo %zu bytes, %s\n", mode, table,
                hyo.journal().usedBytes(), hyo.journal().outsideBytes(), done ? "done" : "FAILED");
    return done ? 0 : 1;
}
