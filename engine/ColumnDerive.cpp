// ColumnDerive: the four derived-column commands, their checks and refusals.
#include "engine/ColumnDerive.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/ResultColumns.h"
#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/Cp932Text.h"
#include "store/Progress.h"
#include "store/RowFormat.h"
#include "store/TableLimits.h"

namespace {

const std::string WideSpace = "\x81\x40";
// The split pieces are built in buffers of this size: a piece this long cannot be followed
// by more of its cell.
constexpr std::size_t PieceLimit = 4999;

enum class Operation { Join, Split, Compare, Group };

struct OperationTexts {
    const char* columnCount;
    const char* noData;
};
OperationTexts textsFor(Operation op) {
    switch (op) {
    case Operation::Join: return {"結合する列を複数で選択してください。", "結合するデータがありません。"};
    case Operation::Split: return {"分解する列を１列で選択してください。", "分解するデータがありません。"};
    case Operation::Compare: return {"比較する列を２列で選択してください。", "比較するデータがありません。"};
    case Operation::Group: break;
    }
    return {"グループ化する列を１列で選択してください。", "グループ化するデータがありません。"};
}

bool wrongColumnCount(Operation op, const ColumnSelection& selection) {
    const int width = selection.bounds.right - selection.bounds.left + 1;
    const bool wholeColumns = selection.shape == SelectionShape::WholeColumns;
    switch (op) {
    case Operation::Join: return wholeColumns && width == 1;
    case Operation::Split: return wholeColumns && width > 1;
    case Operation::Compare: return width != 2;
    case Operation::Group: break;
    }
    return width != 1;
}

// The checks every operation makes first, in this order; `range` gets the rows clamped to the
// table.
bool checkSelection(CMyHyo& hyo, const ColumnSelection& selection, Operation op,
                    SelectionRange& range) {
    if (selection.shape == SelectionShape::WholeRows) {
        Prompt::warn("列を選択してください。");
        return false;
    }
    const OperationTexts texts = textsFor(op);
    if (wrongColumnCount(op, selection)) {
        Prompt::warn(texts.columnCount);
        return false;
    }
    if (selection.bounds.top >= hyo.rowCount()) {
        Prompt::warn(texts.noData);
        return false;
    }
    range = selection.bounds;
    range.bottom = std::min(range.bottom, hyo.rowCount() - 1);
    return true;
}

// Inserting `added` columns right of `right` must keep every row within the grid.
bool columnsFit(CMyHyo& hyo, int right, int added) {
    if (TableLimits::columnsFit(std::max(hyo.widestRowValue(), right + 1), added)) return true;
    Prompt::warn("追加される列が多すぎます。");
    return false;
}

// Texts of the cells left..right of a view row (missing cells are empty).
void rowCells(CMyHyo& hyo, int row, int left, int right, std::vector<std::string_view>& cells) {
    cells.assign(static_cast<std::size_t>(right - left + 1), std::string_view());
    const char* text = hyo.rowText(row);
    const int length = hyo.rowLength(row);
    CellSpan span = RowFormat::locate(text, length, left);
    for (int c = left; c <= right && span.exists; ++c) {
        cells[c - left] = std::string_view(text + span.textStart, span.end - span.textStart);
        if (span.end >= length) break;
        const int start = span.end + 1;
        const int end = RowFormat::cellEnd(text, length, start);
        span = {true, start, RowFormat::textStart(text, end, start), end};
    }
}

std::string_view cellText(CMyHyo& hyo, int row, int column) {
    const char* text = hyo.rowText(row);
    const CellSpan span = RowFormat::locate(text, hyo.rowLength(row), column);
    if (!span.exists) return {};
    return std::string_view(text + span.textStart, span.end - span.textStart);
}

// A delimiter from outside is one whole character without TAB or record bytes; empty when
// nothing usable is left (a lone lead byte is no character).
std::string wholeCharacter(std::string_view text) {
    std::string value(text);
    Cp932Text::sanitise(value);
    if (value.empty()) return value;
    if (value.size() == 1 && CodePage::isLeadByte(static_cast<unsigned char>(value[0])))
        return std::string();
    return value.substr(0, static_cast<std::size_t>(Cp932Text::charLength(value, 0)));
}

// The pieces of a cell: each runs up to its delimiter, which is dropped (with the run after it
// when `skipRuns`). A trailing delimiter makes no empty last piece. Double-byte characters are
// never split. Returns false when a piece reaches PieceLimit while more of the cell follows.
bool splitPieces(std::string_view text, std::string_view delimiter, bool skipRuns,
                 std::vector<std::string_view>* pieces, int& count) {
    count = 0;
    std::size_t start = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (!Cp932Text::matchesAt(text, pos, delimiter, false)) {
            pos += static_cast<std::size_t>(Cp932Text::charLength(text, pos));
            continue;
        }
        if (pos - start >= PieceLimit) return false;
        if (pieces) pieces->push_back(text.substr(start, pos - start));
        ++count;
        pos += delimiter.size();
        while (skipRuns && pos < text.size() && Cp932Text::matchesAt(text, pos, delimiter, false))
            pos += delimiter.size();
        start = pos;
    }
    if (start < text.size()) {
        if (pieces) pieces->push_back(text.substr(start));
        ++count;
    }
    return true;
}

std::string joinSeparator(const JoinRequest& request) {
    switch (request.kind) {
    case JoinNone: return std::string();
    case JoinSpace: return " ";
    case JoinWideSpace: return WideSpace;
    default: return wholeCharacter(request.delimiter);
    }
}

std::string splitSeparator(const SplitRequest& request) {
    switch (request.rule) {
    case SplitSpaceRuns: return " ";
    case SplitEveryWideSpace:
    case SplitWideSpaceRuns: return WideSpace;
    default: return wholeCharacter(request.delimiter);
    }
}

ColumnOutcome outcome(int first, int count) { return {true, first, count}; }

// Each operation reports a first pass that changes nothing, then the writing of the new
// columns. Stopped while writing, the stored step takes the columns back out; without one
// (the journal is off or was given up) the writing runs on.
bool stopWriting(Progress& progress, long long done, const ResultColumns& columns) {
    return !progress.report(done) && columns.undoable();
}
ColumnOutcome takeBack(CMyHyo& hyo, ResultColumns& columns) {
    columns.finish();
    hyo.undo();
    hyo.forgetRedo();
    return {};
}
long long rowsOf(const SelectionRange& range) { return range.bottom - range.top + 1; }

}  // namespace

JoinRequest ColumnDerive::joinForTag(int tag) {
    switch (tag) {
    case 0: return {JoinNone, ""};
    case 1: return {JoinSpace, ""};
    case 2: return {JoinWideSpace, ""};
    case 3: return {JoinCharacter, ","};
    default: return {JoinCharacter, ""};
    }
}

SplitRequest ColumnDerive::splitForTag(int tag) {
    switch (tag) {
    case 0: return {SplitEvery, " "};
    case 1: return {SplitSpaceRuns, ""};
    case 2: return {SplitEveryWideSpace, ""};
    case 3: return {SplitWideSpaceRuns, ""};
    case 10: return {SplitEvery, ","};
    default: return {SplitEvery, ""};
    }
}

int ColumnDerive::takeColour() {
    const int colour = 10 + colourCounter_;
    colourCounter_ = (colourCounter_ + 1) % 3;
    return colour;
}

ColumnOutcome ColumnDerive::join(CMyHyo& hyo, const ColumnSelection& selection,
                                 const JoinRequest& request) {
    SelectionRange range;
    if (!checkSelection(hyo, selection, Operation::Join, range)) return {};
    if (!columnsFit(hyo, range.right, 1)) return {};
    const std::string delimiter = joinSeparator(request);
    if (request.kind == JoinCharacter && delimiter.empty()) {
        Prompt::warn("値を入力してください。");
        return {};
    }
    const int first = range.right + 1;
    ResultColumns columns(hyo, first, 1);
    std::vector<std::string_view> cells;
    Progress progress("列の結合データ作成", 2 * rowsOf(range));
    for (int row = range.top; row <= range.bottom; ++row) {
        if (!progress.report(row - range.top)) return {};
        rowCells(hyo, row, range.left, range.right, cells);
        std::size_t length = delimiter.size() * (cells.size() - 1);
        for (std::string_view cell : cells) length += cell.size();
        if (length > static_cast<std::size_t>(TableLimits::MaxCellBytes)) {
            Prompt::warn(std::to_string(row + 1) +
                         "行目の結合した文字列のサイズが大きいため結合できませんでした。");
            return {};
        }
        if (length > 0) columns.willWrite(row);
    }
    if (!columns.insert(takeColour())) return {};
    std::vector<std::string> values(1);
    for (int row = range.top; row <= range.bottom; ++row) {
        if (stopWriting(progress, rowsOf(range) + row - range.top, columns)) return takeBack(hyo, columns);
        rowCells(hyo, row, range.left, range.right, cells);
        std::string& joined = values[0];
        joined.clear();
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) joined += delimiter;
            joined += cells[i];
        }
        columns.write(row, values);
    }
    columns.finish();
    return outcome(first, 1);
}

ColumnOutcome ColumnDerive::split(CMyHyo& hyo, const ColumnSelection& selection,
                                  const SplitRequest& request) {
    SelectionRange range;
    if (!checkSelection(hyo, selection, Operation::Split, range)) return {};
    const std::string delimiter = splitSeparator(request);
    if (delimiter.empty()) {
        Prompt::warn("値を入力してください。");
        return {};
    }
    const bool skipRuns = request.rule == SplitSpaceRuns || request.rule == SplitWideSpaceRuns;
    const int source = range.left;
    int pieces = 0;
    // The question below comes between the two passes, each with its own progress.
    std::optional<Progress> counting(std::in_place, "列の分解データ作成", rowsOf(range));
    for (int row = range.top; row <= range.bottom; ++row) {
        if (!counting->report(row - range.top)) return {};
        const std::string_view text = cellText(hyo, row, source);
        if (text.size() > static_cast<std::size_t>(TableLimits::MaxCellBytes)) {
            Prompt::warn("文字数がオーバーしています。");
            return {};
        }
        int count = 0;
        if (!splitPieces(text, delimiter, skipRuns, nullptr, count)) {
            Prompt::warn("文字数がオーバーしました。");
            return {};
        }
        pieces = std::max(pieces, count);
    }
    counting.reset();
    if (pieces == 0) {
        Prompt::warn("分解するデータがありません。");
        return {};
    }
    // Every column of the table counts, with room to spare, not only those after the source.
    if (std::max(hyo.widestRowValue(), source + 1) + pieces + 10 >= TableLimits::MaxColumns) {
        Prompt::warn("分解されるデータが多すぎます。");
        return {};
    }
    if (!Prompt::askYesNo(std::to_string(pieces) + "列追加されます。よろしいですか？")) return {};
    const int first = source + 1;
    ResultColumns columns(hyo, first, pieces);
    if (!columns.insert(takeColour())) return {};
    std::vector<std::string_view> views;
    std::vector<std::string> values;
    Progress progress("列の分解データ作成", rowsOf(range));
    for (int row = range.top; row <= range.bottom; ++row) {
        if (stopWriting(progress, row - range.top, columns)) return takeBack(hyo, columns);
        views.clear();
        int count = 0;
        splitPieces(cellText(hyo, row, source), delimiter, skipRuns, &views, count);
        values.assign(views.begin(), views.end());
        columns.write(row, values);
    }
    columns.finish();
    return outcome(first, pieces);
}

ColumnOutcome ColumnDerive::compare(CMyHyo& hyo, const ColumnSelection& selection) {
    SelectionRange range;
    if (!checkSelection(hyo, selection, Operation::Compare, range)) return {};
    if (!columnsFit(hyo, range.right, 1)) return {};
    const int first = range.right + 1;
    ResultColumns columns(hyo, first, 1);
    Progress progress("左右の列の相違比較", 2 * rowsOf(range));
    for (int row = range.top; row <= range.bottom; ++row) {
        if (!progress.report(row - range.top)) return {};
        columns.willWrite(row);
    }
    if (!columns.insert(takeColour())) return {};
    std::vector<std::string_view> cells;
    std::vector<std::string> values(1);
    for (int row = range.top; row <= range.bottom; ++row) {
        if (stopWriting(progress, rowsOf(range) + row - range.top, columns)) return takeBack(hyo, columns);
        rowCells(hyo, row, range.left, range.right, cells);
        values[0] = cells[0] == cells[1] ? "\x81\x9B" : "\x81\x7E";   // ○ or ×
        columns.write(row, values);
    }
    columns.finish();
    return outcome(first, 1);
}

ColumnOutcome ColumnDerive::group(CMyHyo& hyo, const ColumnSelection& selection) {
    SelectionRange range;
    if (!checkSelection(hyo, selection, Operation::Group, range)) return {};
    if (!columnsFit(hyo, range.right, 2)) return {};
    // Distinct values in order of first appearance, counted through a hash map; the views
    // point into the rows, which stay as they are until the values are copied out.
    std::unordered_map<std::string_view, std::size_t> index;
    std::vector<std::string_view> order;
    std::vector<int> counts;
    Progress progress("該当列をグループ化", 2 * rowsOf(range));
    for (int row = range.top; row <= range.bottom; ++row) {
        if (!progress.report(row - range.top)) return {};
        const std::string_view value = cellText(hyo, row, range.left);
        auto [it, fresh] = index.try_emplace(value, order.size());
        if (fresh) {
            order.push_back(value);
            counts.push_back(0);
        }
        ++counts[it->second];
    }
    std::vector<std::string> distinct(order.begin(), order.end());
    const int first = range.left + 1;
    ResultColumns columns(hyo, first, 2);
    for (std::size_t i = 0; i < distinct.size(); ++i) columns.willWrite(range.top + static_cast<int>(i));
    if (!columns.insert(takeColour())) return {};
    std::vector<std::string> values(2);
    for (std::size_t i = 0; i < distinct.size(); ++i) {
        if (stopWriting(progress, rowsOf(range) + static_cast<long long>(i), columns)) return takeBack(hyo, columns);
        values[0] = std::move(distinct[i]);
        values[1] = std::to_string(counts[i]);
        columns.write(range.top + static_cast<int>(i), values);
    }
    columns.finish();
    return outcome(first, 2);
}
