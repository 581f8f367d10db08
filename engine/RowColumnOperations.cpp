// RowColumnOperations: inserting and deleting rows and columns, fitting widths, column kinds.
#include "engine/RowColumnOperations.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/RowFormat.h"
#include "store/UndoArea.h"

namespace {
const char* const kTooManyRows = "挿入される行が多すぎます。";
const char* const kTooManyColumns = "追加される列が多すぎます。";
constexpr int kFitMargin = 10;
constexpr int kFitMinimum = 20;
constexpr int kFitMaximum = 500;
} // namespace

int RowColumnOperations::insertRows(CMyHyo& hyo, int first, int last) {
    const int before = hyo.rowCount();
    const int result = hyo.insertRows(first, last);
    if (result == CMyHyo::GridFull) {
        Prompt::warn(kTooManyRows);
        return -1;
    }
    return result == 1 && hyo.rowCount() != before ? 1 : 0;
}

int RowColumnOperations::insertColumns(CMyHyo& hyo, int first, int last) {
    const int result = hyo.insertColumns(first, last);
    if (result == CMyHyo::GridFull) {
        Prompt::warn(kTooManyColumns);
        return -1;
    }
    return result == 1 ? 1 : 0;
}

int RowColumnOperations::deleteRows(CMyHyo& hyo, int first, int last) {
    if (std::min(first, last) >= hyo.rowCount()) return 0;
    return hyo.deleteRows(first, last) < 0 ? -1 : 1;
}

int RowColumnOperations::deleteColumns(CMyHyo& hyo, int first, int last) {
    return hyo.deleteColumns(first, last) < 0 ? -1 : 1;
}

int RowColumnOperations::fittedWidth(int longestBytes, int charWidth, double scale) {
    const int pixels = std::clamp(charWidth * longestBytes + kFitMargin, kFitMinimum, kFitMaximum);
    return static_cast<int>(std::trunc(pixels / (scale > 0 ? scale : 1.0)));
}

int RowColumnOperations::fitWidths(CMyHyo& hyo, int first, int last, int charWidth, double scale) {
    if (first > last) std::swap(first, last);
    if (first < 0) return 0;
    {
        UndoArea area(hyo.journal(), UndoColumnWidth, 0, first, -1, last, -1);
        for (int column = first; column <= last && area.collecting(); ++column)
            hyo.journalColumnRecord(column);
        if (!area.commit()) return -1;
    }
    // One pass over the stored rows measures every column (hidden rows count too).
    std::vector<int> longest(last - first + 1, 0);
    CMyLine& rows = hyo.rowList();
    for (int index = 0; index < rows.lineCount(); ++index) {
        const char* text = rows.lineText(index);
        const int length = rows.lineLength(index);
        if (!text) continue;
        CellSpan span = RowFormat::locate(text, length, first);
        for (int column = first; column <= last && span.exists; ++column) {
            int& widest = longest[column - first];
            widest = std::max(widest, span.end - span.textStart);
            if (span.end >= length) break;
            span.start = span.end + 1;
            span.end = RowFormat::cellEnd(text, length, span.start);
            span.textStart = RowFormat::textStart(text, span.end, span.start);
        }
    }
    for (int column = first; column <= last; ++column)
        hyo.setColumnWidth(column, fittedWidth(longest[column - first], charWidth, scale));
    return 0;
}

int RowColumnOperations::setColumnKind(CMyHyo& hyo, int first, int last, int kind) {
    if (first > last) std::swap(first, last);
    if (first < 0) return 0;
    UndoArea area(hyo.journal(), UndoColumnRecord, 0, first, -1, last, -1);
    for (int column = first; column <= last && area.collecting(); ++column)
        hyo.journalColumnRecord(column);
    if (!area.commit()) return -1;
    for (int column = first; column <= last; ++column) hyo.setColumnKind(column, kind, kind);
    return 0;
}
