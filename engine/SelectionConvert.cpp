// SelectionConvert: records the cells a conversion changes, then rewrites each row once.
#include "engine/SelectionConvert.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "platform/core/MemoryHook.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "store/Progress.h"
#include "store/RowFormat.h"
#include "store/TableLimits.h"
#include "store/UndoArea.h"

namespace {

// Walks the existing cells left..right of one row.
class CellWalk {
public:
    CellWalk(const char* text, int length, int left, int right)
        : text_(text), length_(length), column_(left), right_(right),
          span_(RowFormat::locate(text, length, left)) {}

    bool valid() const { return span_.exists && column_ <= right_; }
    int column() const { return column_; }
    const CellSpan& span() const { return span_; }
    std::string_view cellText() const {
        return std::string_view(text_ + span_.textStart, span_.end - span_.textStart);
    }
    void next() {
        ++column_;
        if (span_.end >= length_) {
            span_.exists = false;
            return;
        }
        const int start = span_.end + 1;
        const int end = RowFormat::cellEnd(text_, length_, start);
        span_ = {true, start, RowFormat::textStart(text_, end, start), end};
    }

private:
    const char* text_;
    int length_;
    int column_;
    int right_;
    CellSpan span_;
};

// The row being rebuilt. Like the table's own buffers it comes from the memory hook: 200
// usable bytes when a conversion starts, regrown to the need + 500 when it runs short.
class WorkBuffer {
public:
    WorkBuffer() : bytes_(static_cast<char*>(MemoryHook::allocate(210))), capacity_(bytes_ ? 200 : 0) {}
    ~WorkBuffer() { MemoryHook::release(bytes_); }
    WorkBuffer(const WorkBuffer&) = delete;
    WorkBuffer& operator=(const WorkBuffer&) = delete;

    bool ready() const { return bytes_ != nullptr; }
    void clear() { size_ = 0; }
    // Throws std::bad_alloc when the buffer cannot grow; what it held stays.
    void append(const char* text, std::size_t length) {
        if (length == 0) return;
        if (size_ + length > capacity_) {
            const std::size_t usable = size_ + length + 500;
            void* grown = MemoryHook::reallocate(bytes_, capacity_ + 10, usable + 10);
            if (!grown) throw std::bad_alloc();
            bytes_ = static_cast<char*>(grown);
            capacity_ = usable;
        }
        std::memcpy(bytes_ + size_, text, length);
        size_ += length;
    }
    const char* data() const { return bytes_; }
    int size() const { return static_cast<int>(size_); }

private:
    char* bytes_;
    std::size_t capacity_;
    std::size_t size_ = 0;
};

// The converted text when it differs and fits a cell.
enum class CellResult { Same, Changed, TooLong };
CellResult convertCell(std::string_view text, ConvertSetting setting, std::string& out) {
    if (text.empty()) return CellResult::Same;
    std::optional<std::string> converted = KanaConvert::convert(text, setting.options, setting.change);
    if (!converted || *converted == text) return CellResult::Same;
    if (converted->size() > static_cast<std::size_t>(TableLimits::MaxCellBytes)) return CellResult::TooLong;
    out = std::move(*converted);
    return CellResult::Changed;
}

// Last column of the row whose text changes, or -1.
int lastChangedColumn(const char* text, int length, const SelectionRange& range,
                      ConvertSetting setting, std::string& scratch) {
    int last = -1;
    for (CellWalk walk(text, length, range.left, range.right); walk.valid(); walk.next())
        if (convertCell(walk.cellText(), setting, scratch) == CellResult::Changed) last = walk.column();
    return last;
}

// Records the old text of each row's cells up to its last changed one. False when nothing
// changes at all or the user stopped it. An area that fills up still has to learn whether a
// later row changes, so the question about going on without undo is not skipped.
bool recordOldTexts(CMyHyo& hyo, UndoArea& area, const SelectionRange& range,
                    ConvertSetting setting, Progress& progress) {
    std::string scratch;
    bool any = false;
    for (int row = range.top; row <= range.bottom && !(any && !area.collecting()); ++row) {
        if (!progress.report(row - range.top)) return false;
        const char* text = hyo.rowText(row);
        const int length = hyo.rowLength(row);
        const int last = lastChangedColumn(text, length, range, setting, scratch);
        if (!area.collecting()) {
            any = last >= 0;
            continue;
        }
        for (CellWalk walk(text, length, range.left, last); walk.valid(); walk.next()) {
            const CellSpan& span = walk.span();
            const char terminator = span.end < length ? '\t' : '\0';
            hyo.journal().recordCellText(walk.column(), row, text + span.textStart,
                                         span.end - span.textStart, terminator);
        }
        any = any || last >= 0;
        area.nextRow();
    }
    return any;
}

// Rewrites one row with its converted cells; returns how many cells changed.
int convertRow(CMyHyo& hyo, int row, const SelectionRange& range, ConvertSetting setting,
               int& skipped, WorkBuffer& out, std::string& scratch) {
    const char* text = hyo.rowText(row);
    const int length = hyo.rowLength(row);
    int changed = 0;
    int copied = 0;
    out.clear();
    for (CellWalk walk(text, length, range.left, range.right); walk.valid(); walk.next()) {
        const CellResult result = convertCell(walk.cellText(), setting, scratch);
        if (result == CellResult::TooLong) ++skipped;
        if (result != CellResult::Changed) continue;
        out.append(text + copied, walk.span().textStart - copied);
        out.append(scratch.data(), scratch.size());
        copied = walk.span().end;
        ++changed;
    }
    if (changed == 0) return 0;
    out.append(text + copied, length - copied);
    return hyo.setRow(row, out.data(), out.size()) ? changed : 0;
}

// Converting needs room for twice a cell; without it the command stops where it is.
void firstAllocationFailed() {
    Prompt::messageBox("CMyHyoCom:Buf領域確保失敗", "システムエラー", PromptButtons::Ok, PromptIcon::Error);
}

void allocationFailed() {
    Prompt::messageBox("CMyHyoにて領域確保に失敗しました。", "システムエラー", PromptButtons::Ok,
                       PromptIcon::Error);
}

}  // namespace

ConvertSetting SelectionConvert::forTag(int tag) {
    switch (tag) {
    case 0: return {ToHalfSymbols | ToHalfDigits | ToHalfLetters | ToHalfPunctuation | KatakanaToHalf,
                    CaseChange::None};
    case 2: return {0, CaseChange::Upper};
    case 3: return {0, CaseChange::Lower};
    case 4: return {HalfToHiragana, CaseChange::None};
    case 5: return {HiraganaToHalf, CaseChange::None};
    default:
        return {ToFullSymbols | ToFullDigits | ToFullLetters | ToFullPunctuation | HalfToKatakana |
                    ToFullSpace,
                CaseChange::None};
    }
}

ConvertOutcome SelectionConvert::run(CMyHyo& hyo, const SelectionRange& bounds, ConvertSetting setting) {
    ConvertOutcome outcome;
    SelectionRange range = bounds;
    range.bottom = std::min(range.bottom, hyo.rowCount() - 1);
    range.right = std::min(range.right, TableLimits::MaxColumns - 1);
    if (range.top > range.bottom || range.left > range.right) return outcome;
    WorkBuffer out;
    if (!out.ready()) {
        firstAllocationFailed();
        return outcome;
    }
    CMyUndo& journal = hyo.journal();
    if (journal.areaOpen()) {
        // Every command closes its area before returning; an open one is a fault of the caller.
        assert(!"an undo area was left open");
        Prompt::warn("既にUNDOがオープンされています。");
        journal.clear();
    }
    const bool previous = journal.recording();
    // Half the reports come from recording the old texts, half from converting; stopped in the
    // first half nothing changed, in the second the stored step is taken back.
    const long long rows = range.bottom - range.top + 1;
    Progress progress("変換", 2 * rows);
    bool undoable = false;
    try {
        // With nothing to change the area is dropped unstored, and the pass below only counts
        // the cells that were too long.
        UndoArea area(journal, UndoCellText, 0, range.left, range.top, range.right, range.bottom);
        const bool anyChange = !area.collecting() || recordOldTexts(hyo, area, range, setting, progress);
        if (progress.cancelled()) return outcome;
        if (anyChange && !area.commit()) {
            outcome.declined = true;
            return outcome;
        }
        undoable = area.kept();
    } catch (const std::bad_alloc&) {
        allocationFailed();
        return outcome;
    }
    journal.setRecording(false);
    std::string scratch;
    try {
        for (int row = range.top; row <= range.bottom; ++row) {
            // Without a stored step there is nothing to go back to: the conversion runs on.
            if (!progress.report(rows + row - range.top) && undoable) break;
            outcome.changedCells += convertRow(hyo, row, range, setting, outcome.skippedCells, out, scratch);
        }
    } catch (const std::bad_alloc&) {
        // The rows converted so far stay, and the recorded step undoes them.
        allocationFailed();
    }
    journal.setRecording(previous);
    if (progress.cancelled() && undoable) {
        hyo.undo();
        hyo.forgetRedo();
        return ConvertOutcome{};
    }
    if (outcome.skippedCells > 0)
        Prompt::warn(std::to_string(outcome.skippedCells) +
                     "箇所のセルは文字数がオーバーするため変更できませんでした。");
    return outcome;
}
