// PasteOperation: writes pasted text into the table (normal, without line breaks, transposed).
#include "engine/PasteOperation.h"

#include <algorithm>
#include <vector>

#include "engine/ClipboardText.h"
#include "engine/RowCells.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/TableLimits.h"
#include "store/UndoArea.h"

namespace {

const char* const kTooMany = "貼り付けるデータが多すぎます。";
const char* const kCellTooBig = "サイズをオーバーするためコピーはできません。";
const char* const kNoMemory = "領域確保に失敗しました。";
const char* const kNoRange = "貼付（縦横変換）では範囲指定出来ません。";
const char* const kBreakNotice =
    "改行データがありました。\nダブルコーテーションを囲みと判断しました。\n"
    "データとする場合は「貼付(改行なし)」を使用します。";

ParseMode modeFor(const PasteOptions& options) {
    if (options.plain) return ParseMode::Plain;
    return options.lineBreakOnly ? ParseMode::Smart : ParseMode::Strict;
}

// What one target row receives: the texts from its left column on (null keeps a cell).
using RowTexts = std::vector<const std::string_view*>;

// The cells a paste writes: rows top..bottom from the left column, at most to `right`.
struct Plan {
    int left = 0;
    int top = 0;
    int bottom = 0;
    int right = 0;
};

// Records every target row, asks when the journal cannot hold it, then writes each row.
template <class FillRow>
PasteOutcome apply(CMyHyo& hyo, const Plan& plan, FillRow fillRow) {
    RowTexts texts;
    {
        UndoArea area(hyo.journal(), UndoCellText, 0, plan.left, plan.top, plan.right, plan.bottom);
        for (int row = plan.top; row <= plan.bottom && area.collecting(); ++row) {
            fillRow(row, texts);
            if (!RowCells::record(hyo, row, plan.left, plan.left + static_cast<int>(texts.size()) - 1))
                break;
            area.nextRow();
        }
        if (!area.commit()) return PasteOutcome::Declined;
        for (int row = plan.top; row <= plan.bottom; ++row) {
            fillRow(row, texts);
            if (!RowCells::write(hyo, row, plan.left, texts)) {
                Prompt::warn(kNoMemory);
                return PasteOutcome::Failed;
            }
        }
    }
    return PasteOutcome::Pasted;
}

bool cellsFit(const PastedBlock& block) {
    if (block.longest <= static_cast<std::size_t>(TableLimits::MaxCellBytes)) return true;
    Prompt::warn(kCellTooBig);
    return false;
}

// While filtered, view rows past the shown ones append store rows at the end of the table, so
// the row limit applies to the store row the bottom view row comes to.
long long storeBottom(const CMyHyo& hyo, int bottom) {
    if (!hyo.isFiltered() || bottom < 0) return bottom;
    if (bottom < hyo.filterRowCount()) return hyo.storeRow(bottom);
    return static_cast<long long>(hyo.storeRowCount()) + bottom - hyo.filterRowCount();
}

bool gridFits(const CMyHyo& hyo, int right, int bottom) {
    if (TableLimits::fitsGrid(right, storeBottom(hyo, bottom))) return true;
    Prompt::warn(kTooMany);
    return false;
}

void noticeLineBreaks(const PastedBlock& block, const PasteOptions& options) {
    if (block.enclosedBreaks && options.warnLineBreaks) Prompt::warn(kBreakNotice);
}

} // namespace

PasteOutcome PasteOperation::paste(CMyHyo& hyo, const SelectionRange& bounds, std::string_view text,
                                   const PasteOptions& options) {
    const PastedBlock block = ClipboardText::parse(modeFor(options), text);
    if (!cellsFit(block)) return PasteOutcome::Refused;
    const bool oneCell = bounds.left == bounds.right && bounds.top == bounds.bottom;
    Plan plan{bounds.left, bounds.top, bounds.top, bounds.left};
    PasteOutcome outcome;
    if (block.single() && !oneCell) {
        plan.bottom = bounds.bottom;
        plan.right = bounds.right;
        if (!gridFits(hyo, plan.right, plan.bottom)) return PasteOutcome::Refused;
        const std::string_view value = block.value(0, 0);
        const RowTexts filled(bounds.right - bounds.left + 1, &value);
        outcome = apply(hyo, plan, [&](int, RowTexts& texts) { texts = filled; });
    } else {
        // One selected row takes the block once; several rows repeat it down to the last.
        plan.bottom = bounds.top == bounds.bottom ? bounds.top + block.rows() - 1 : bounds.bottom;
        const int usedRows = std::min(block.rows(), plan.bottom - plan.top + 1);
        int widest = 0;
        for (int r = 0; r < usedRows; ++r) widest = std::max(widest, block.width(r));
        plan.right = bounds.left + widest - 1;
        if (!gridFits(hyo, plan.right, plan.bottom)) return PasteOutcome::Refused;
        std::vector<std::string_view> values;
        outcome = apply(hyo, plan, [&](int row, RowTexts& texts) {
            const int source = (row - plan.top) % block.rows();
            const int width = block.width(source);
            values.resize(width);
            texts.resize(width);
            for (int c = 0; c < width; ++c) {
                values[c] = block.value(source, c);
                texts[c] = &values[c];
            }
        });
    }
    if (outcome == PasteOutcome::Pasted) noticeLineBreaks(block, options);
    return outcome;
}

PasteOutcome PasteOperation::pasteTransposed(CMyHyo& hyo, const SelectionRange& bounds,
                                             std::string_view text, const PasteOptions& options) {
    if (bounds.left != bounds.right || bounds.top != bounds.bottom) {
        Prompt::warn(kNoRange);
        return PasteOutcome::Refused;
    }
    const PastedBlock block = ClipboardText::parse(modeFor(options), text);
    if (!cellsFit(block)) return PasteOutcome::Refused;
    // Text row r, value c goes to (column + r, row + c).
    const Plan plan{bounds.left, bounds.top, bounds.top + block.widest - 1,
                    bounds.left + block.rows() - 1};
    if (!gridFits(hyo, plan.right, plan.bottom)) return PasteOutcome::Refused;
    std::vector<std::string_view> values(block.rows());
    const PasteOutcome outcome = apply(hyo, plan, [&](int row, RowTexts& texts) {
        const int c = row - plan.top;
        texts.assign(block.rows(), nullptr);
        for (int r = 0; r < block.rows(); ++r) {
            if (c >= block.width(r)) continue;  // a short text row leaves the cell as it is
            values[r] = block.value(r, c);
            texts[r] = &values[r];
        }
        // The journal covers the run up to the last written cell only.
        while (!texts.empty() && !texts.back()) texts.pop_back();
    });
    if (outcome == PasteOutcome::Pasted) noticeLineBreaks(block, options);
    return outcome;
}
