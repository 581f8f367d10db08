// RedoJournal: notes what an undo replay changes and takes it back on redo.
#include "store/RedoJournal.h"

#include <algorithm>

#include "store/CMyHyo.h"

struct RedoJournal::Step {
    explicit Step(std::size_t limit) : rows(limit), columns(limit) {}
    LineChangeLog rows;
    LineChangeLog columns;
    // The filter as it was before the undo; kept only when the undo changed it.
    bool filterKept = false;
    bool filterActive = false;
    std::vector<int> filterRows;
    bool headerMode = false;
    // The notes on how the file's columns were quoted, kept when the undo moved them.
    bool quotingKept = false;
    ColumnQuoting quoting;
    int widestRow = 0;
    int column = -1;
    int row = -1;

    std::size_t bytes() const {
        return rows.bytes() + columns.bytes() + filterRows.size() * sizeof(int) +
               static_cast<std::size_t>(quoting.knownColumns());
    }
};

namespace {
std::vector<int> filterList(const CMyHyo& hyo) {
    std::vector<int> list(static_cast<std::size_t>(hyo.filterRowCount()));
    for (int i = 0; i < hyo.filterRowCount(); ++i) list[i] = hyo.filterStoreRow(i);
    return list;
}
}  // namespace

RedoJournal::RedoJournal() = default;
RedoJournal::~RedoJournal() = default;

void RedoJournal::clear() {
    dropSteps();
    open_.reset();
}

void RedoJournal::dropSteps() { steps_.clear(); }

// The steps match the journal's popped entries only while none of those was thrown away.
bool RedoJournal::current(const CMyUndo& journal) const { return serial_ == journal.discardSerial(); }

int RedoJournal::count(const CMyUndo& journal) const {
    if (!current(journal)) return 0;
    return static_cast<int>(std::min<std::size_t>(steps_.size(), journal.poppedCount()));
}

void RedoJournal::beginUndo(CMyHyo& hyo) {
    CMyUndo& journal = hyo.journal();
    if (!current(journal)) {
        steps_.clear();
        serial_ = journal.discardSerial();
    }
    const std::size_t limit = static_cast<std::size_t>(std::max(journal.limit(), 0L));
    open_ = std::make_unique<Step>(limit);
    open_->filterActive = hyo.isFiltered();
    if (hyo.isFiltered() || hyo.filterRowCount() > 0) open_->filterRows = filterList(hyo);
    open_->headerMode = hyo.inHeaderMode();
    open_->quoting = hyo.columnQuoting();
    open_->widestRow = hyo.widestRowValue();
    hyo.rowList().setChangeLog(&open_->rows);
    hyo.columnList().setChangeLog(&open_->columns);
}

void RedoJournal::endUndo(CMyHyo& hyo, const UndoPosition& at) {
    hyo.rowList().setChangeLog(nullptr);
    hyo.columnList().setChangeLog(nullptr);
    if (!open_) return;
    std::unique_ptr<Step> step = std::move(open_);
    CMyUndo& journal = hyo.journal();
    if (step->rows.overflowed() || step->columns.overflowed()) {
        giveUp(journal);   // this step cannot be redone, nor any undone before it
        return;
    }
    step->filterKept = step->filterActive != hyo.isFiltered() || step->filterRows != filterList(hyo);
    if (!step->filterKept) step->filterRows = std::vector<int>();
    step->quotingKept = !(step->quoting == hyo.columnQuoting());
    if (!step->quotingKept) step->quoting = ColumnQuoting();
    step->column = at.column;
    step->row = at.row;
    // The step shares the journal's limit: the oldest undo steps give way first, then the
    // undone steps that redo would reach last.
    const std::size_t bytes = step->bytes();
    while (!journal.makeRoomOutside(bytes)) {
        if (steps_.empty()) {
            giveUp(journal);
            return;
        }
        journal.setOutsideBytes(journal.outsideBytes() - steps_.front()->bytes());
        steps_.erase(steps_.begin());
        journal.dropPopped(1);
    }
    journal.setOutsideBytes(journal.outsideBytes() + bytes);
    steps_.push_back(std::move(step));
}

// Nothing undone so far can be redone: the popped entries go with the steps.
void RedoJournal::giveUp(CMyUndo& journal) {
    steps_.clear();
    journal.setOutsideBytes(0);
    journal.dropPopped(journal.poppedCount());
}

UndoPosition RedoJournal::redo(CMyHyo& hyo) {
    UndoPosition none;
    CMyUndo& journal = hyo.journal();
    if (!current(journal)) clear();
    if (count(journal) == 0 || journal.areaOpen()) return none;
    std::unique_ptr<Step> step = std::move(steps_.back());
    steps_.pop_back();
    journal.setOutsideBytes(journal.outsideBytes() - step->bytes());
    const bool previous = journal.setRecording(false);
    // Columns first: the header step brings back the titles before the row they came from.
    const bool restored = step->columns.revert(hyo.columnList()) && step->rows.revert(hyo.rowList());
    if (step->filterKept) {
        hyo.clearFilter();
        for (int storeRow : step->filterRows)
            if (hyo.addFilterRow(storeRow, static_cast<int>(step->filterRows.size())) < 0) break;
        hyo.setFilterActive(step->filterActive && hyo.filterRowCount() == static_cast<int>(step->filterRows.size()));
    }
    hyo.setHeaderMode(step->headerMode);
    if (step->quotingKept) hyo.columnQuoting() = step->quoting;
    hyo.setWidestRow(restored ? step->widestRow : hyo.widestRowCount());
    hyo.forgetSeek();
    journal.setRecording(previous);
    if (!restored) {
        // Memory ran out half way: the entry does not describe the table any more.
        journal.clear();
        clear();
        return none;
    }
    journal.unpop();
    return UndoPosition{step->column, step->row};
}
