// RowCells: journalling and rewriting a run of cells of one row in a single pass over the row.
#include "engine/RowCells.h"

#include <algorithm>
#include <string>

#include "store/CMyHyo.h"
#include "store/RowFormat.h"

bool RowCells::record(CMyHyo& hyo, int row, int first, int last) {
    CMyUndo& journal = hyo.journal();
    if (!journal.recording()) return true;
    const int storeIndex = hyo.storeRow(row);
    const char* text = storeIndex >= 0 && storeIndex < hyo.storeRowCount() ? hyo.rowText(row) : nullptr;
    const int length = text ? hyo.rowLength(row) : 0;
    CellSpan span = text ? RowFormat::locate(text, length, first) : CellSpan{};
    for (int column = first; column <= last; ++column) {
        if (!span.exists) {
            // The store writes the marker that tells undo how far the row (or the table)
            // reached; every later cell of the run lies beyond that too.
            return hyo.setCell(column, row, nullptr) >= 0;
        }
        const char terminator = span.end < length ? '\t' : '\0';
        if (journal.recordCellText(column, row, text + span.textStart, span.end - span.textStart,
                                   terminator) < 0)
            return false;
        if (span.end >= length) {
            span.exists = false;
            continue;
        }
        span.start = span.end + 1;
        span.end = RowFormat::cellEnd(text, length, span.start);
        span.textStart = RowFormat::textStart(text, span.end, span.start);
    }
    return true;
}

bool RowCells::write(CMyHyo& hyo, int row, int first, const std::vector<const std::string_view*>& texts) {
    int count = static_cast<int>(texts.size());
    while (count > 0 && !texts[count - 1]) --count;  // kept cells at the end add nothing
    if (count == 0) return true;
    const int storeIndex = hyo.storeRow(row);
    const char* old = storeIndex >= 0 && storeIndex < hyo.storeRowCount() ? hyo.rowText(row) : nullptr;
    const int length = old ? hyo.rowLength(row) : 0;
    std::size_t need = static_cast<std::size_t>(length) + first + count + 16;
    for (int k = 0; k < count; ++k) need += texts[k] ? texts[k]->size() : 0;
    std::string out;
    out.reserve(need);

    CellSpan span = old ? RowFormat::locate(old, length, first) : CellSpan{};
    int pos = 0;
    bool exists = span.exists;
    if (exists) {
        out.assign(old, span.start);
        pos = span.start;
    } else {
        const int cells = RowFormat::positionalCells(old, length);
        if (length > 0) out.assign(old, length);
        out.append(first - cells + (cells > 0 ? 1 : 0), '\t');
    }
    for (int k = 0; k < count; ++k) {
        if (k > 0) out += '\t';
        if (!exists) {
            if (texts[k]) out += *texts[k];
            continue;
        }
        const int end = RowFormat::cellEnd(old, length, pos);
        const int textStart = RowFormat::textStart(old, end, pos);
        out.append(old + pos, textStart - pos);  // the cell's attribute records stay
        if (texts[k]) out += *texts[k];
        else out.append(old + textStart, end - textStart);
        exists = end < length;
        pos = end + 1;
    }
    if (exists) {
        out += '\t';
        out.append(old + pos, length - pos);
    }
    if (!hyo.setRow(row, out)) return false;
    const int cells = RowFormat::cellCount(out.data(), static_cast<int>(out.size()));
    hyo.setWidestRow(std::max({hyo.widestRowValue(), cells, first + count}));
    return true;
}
