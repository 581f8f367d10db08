// SearchRunner: wraps the store's sort and filter and the find engine in the window's steps -
// the dialog, the wait cursor, moving the cursor, redraw, caption. Refusing while the editor
// is open, or storing its text first, is the command wrap's part.
#include "app/SearchRunner.h"

#include <QApplication>
#include <QCursor>

#include <cstdio>

#include "grid/Navigator.h"
#include "app/CommandContext.h"
#include "store/DocumentState.h"
#include "dialogs/TfrmFind.h"
#include "platform/core/CodePage.h"
#include "platform/core/Prompt.h"
#include "store/CMyHyo.h"
#include "view/CMyHyoDraw.h"

namespace {

// The wait cursor for the length of a bulk pass.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

SearchRunner::SearchRunner(CommandContext& window, TfrmFind& dialog) : window_(window), dialog_(dialog) {}

// ---- sort ------------------------------------------------------------------------------------

bool SearchRunner::sortBySelection(int direction) {
    const SelectionRange bounds = window_.view().selectionBounds();
    sortHistory_.choose(bounds.left, bounds.right, direction);
    WaitCursor wait;
    if (sortHistory_.sort(window_.hyo()) != 0) return false;
    window_.forgetStatusSelection();
    return true;
}

// ---- find and replace ------------------------------------------------------------------------

void SearchRunner::findWithDialog(int mode) {
    dialog_.showMode(mode);
    dialog_.exec();
    const int result = dialog_.dialogResult;
    if (result == FindCancelled) return;
    FindParameters& params = window_.view().findParams;
    const bool replace = mode == FindModeReplace;
    if (!FindReplace::setFindText(params, dialog_.searchText, result == FindUp ? -1 : 1, dialog_.matchKind())) return;
    if (replace && !FindReplace::setReplaceText(params, dialog_.replaceText)) return;
    findColour_ = dialog_.colourIndex();
    findReplaces_ = replace;
    runFind(result, replace);
}

void SearchRunner::findAgain(int direction) {
    FindParameters& params = window_.view().findParams;
    FindReplace::setDirection(params, direction);
    if (params.text.empty()) {
        findWithDialog(FindModeFind);
        return;
    }
    runFind(params.direction, findReplaces_);
}

void SearchRunner::runFind(int result, bool replace) {
    CMyHyoDraw& view = window_.view();
    FindParameters& params = view.findParams;
    SelectionRange range = FindReplace::wholeTable(window_.hyo());
    if (view.hasSelection() && !view.selectionIsSingleCell()) {
        range = view.selectionBounds();
    } else if (view.hasSelection()) {
        view.clearSelection();
    }
    const bool all = result == FindReplaceAll || result == FindAllCells;
    FindOutcome outcome;
    if (all) {
        WaitCursor wait;
        outcome = FindReplace::findAll(window_.hyo(), params, range, findColour_, result == FindReplaceAll);
    } else {
        outcome = FindReplace::findNext(window_.hyo(), params, range, view.curColumn(), view.curRow(), findColour_,
                                        replace);
    }
    showOutcome(outcome, all, result == FindReplaceAll);
}

void SearchRunner::showOutcome(const FindOutcome& outcome, bool all, bool replace) {
    if (outcome.gaveUp) return;   // the engine said so; nothing moved
    if (outcome.cancelled && !outcome.found) return;   // stopped while looking: nothing moved
    if (outcome.modified()) window_.updateCaption(true, false);
    if (!outcome.found) {
        Prompt::beep();
        window_.setStatusMessage("<<見つかりません>>");
        return;
    }
    window_.goToCell(outcome.column, outcome.row);
    if (all) FindReplace::reportAll(outcome, replace);
    else FindReplace::reportSkipped(outcome);
}

// ---- filter ----------------------------------------------------------------------------------

bool SearchRunner::askFilterCondition() {
    const int column = window_.view().curColumn();
    std::string title = window_.hyo().columnTitle(column);
    QString name = QString::fromStdString(CodePage::toUtf8(title));
    if (name.isEmpty()) name = QStringLiteral("%1列目").arg(column + 1);
    dialog_.showMode(FindModeFilter, name);
    dialog_.exec();
    if (dialog_.dialogResult == FindCancelled) return false;
    filter_ = FilterCondition{true, column, dialog_.searchText, dialog_.matchKind(), dialog_.excludeMatches()};
    return true;
}

void SearchRunner::filterWithDialog() {
    if (!askFilterCondition()) {
        if (!filter_.set) window_.setFilterButton(false);
        return;
    }
    applyFilter();
}

void SearchRunner::filterToggled(bool pressed) {
    if (!pressed) {
        clearFilter();
        return;
    }
    if (!filter_.set && !askFilterCondition()) {
        window_.setFilterButton(false);
        return;
    }
    applyFilter();
}

void SearchRunner::applyFilter() {
    int result;
    {
        WaitCursor wait;
        result = window_.hyo().applyFilter(filter_.column, filter_.text, filter_.kind, 0, filter_.negate);
    }
    // A refused pattern leaves the earlier filter (or none) in force.
    window_.setFilterButton(result == 0 || window_.hyo().isFiltered());
    afterFilterChange();
}

void SearchRunner::clearFilter() {
    window_.hyo().clearFilter();
    window_.setFilterButton(false);
    afterFilterChange();
}

void SearchRunner::afterFilterChange() {
    window_.navigation().fitScrollRanges();
    window_.updateCaption(window_.document().modified, true);
    window_.forgetStatusSelection();
    window_.updateStatus(0);
}
