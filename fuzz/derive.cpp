// Fuzz target: conversions, join, split, compare and group over arbitrary text rows, each
// undone to the exact bytes it started from.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/ColumnDerive.h"
#include "engine/SelectionConvert.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"

namespace {


std::string allRows(CMyHyo& hyo) {
    std::string out;
    for (int i = 0; i < hyo.storeRowCount(); ++i) out += hyo.rowList().line(i) + '\n';
    return out;
}

// Runs `step`; when it made an undo step, undoing it must give back the bytes.
template <typename Step>
void undoneExactly(CMyHyo& hyo, Step step) {
    const std::string before = allRows(hyo);
    const int entries = hyo.journal().entryCount();
    step();
    if (hyo.journal().entryCount() == entries + 1) {
        hyo.undo();
        if (allRows(hyo) != before) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FixedAnswerPrompt agreeable(PromptAnswer::Yes);
    Prompt::install(&agreeable);
    if (size < 2) return 0;
    // The first byte picks the columns; the rest are rows of cell text (no record bytes).
    const int left = data[0] % 4;
    const int filtered = data[0] & 0x80;
    CMyHyo hyo;
    hyo.journal().setLimit(10000000);
    std::string row;
    int rows = 0;
    for (size_t i = 1; i <= size && rows < 200; ++i) {
        if (i == size || data[i] == '\n') {
            hyo.setRow(rows++, row);
            row.clear();
            continue;
        }
        const char c = static_cast<char>(data[i]);
        row += (c == '\0' || (c >= 1 && c <= 5) || c == 7) ? 'x' : c;
    }
    hyo.setWidestRow(hyo.widestRowCount());
    if (filtered) {
        for (int r = 0; r < rows; r += 2) hyo.addFilterRow(r);
        hyo.setFilterActive(true);
    }
    const int last = hyo.rowCount() - 1;
    for (int tag = 0; tag < 6; ++tag)
        undoneExactly(hyo, [&] { SelectionConvert::run(hyo, {left, 0, left + 2, last}, SelectionConvert::forTag(tag)); });
    ColumnDerive derive;
    const ColumnSelection one{{left, 0, left, last}, SelectionShape::WholeColumns};
    const ColumnSelection two{{left, 0, left + 1, last}, SelectionShape::WholeColumns};
    for (int tag : {0, 1, 2, 3})
        undoneExactly(hyo, [&] { derive.join(hyo, two, ColumnDerive::joinForTag(tag)); });
    for (int tag : {0, 1, 2, 3, 10})
        undoneExactly(hyo, [&] { derive.split(hyo, one, ColumnDerive::splitForTag(tag)); });
    undoneExactly(hyo, [&] { derive.compare(hyo, two); });
    undoneExactly(hyo, [&] { derive.group(hyo, one); });
    Prompt::install(nullptr);
    return 0;
}
