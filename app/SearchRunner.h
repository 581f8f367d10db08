// SearchRunner: the main window's sort, find, replace and filter commands and what they
// remember between runs (the sort history, the search colour, the filter condition).
#pragma once

#include <string>

#include "engine/FindReplace.h"
#include "engine/SortHistory.h"

class TfrmFind;
class CommandContext;

class SearchRunner {
public:
    SearchRunner(CommandContext& window, TfrmFind& dialog);

    // tb_SortUp passes 0, tb_SortDown 1; the palette -1 (ascending) and 1. True when the
    // rows were sorted (the command table then redraws and marks the document modified).
    bool sortBySelection(int direction);
    // The dialog in find (FindModeFind) or replace (FindModeReplace) mode, then the search.
    void findWithDialog(int mode);
    // F3 (+1) and Shift+F3 (-1): the last search again, or the find dialog when there is none.
    void findAgain(int direction);
    // "抽出...", tb_FilterSet: asks for the condition, then filters.
    void filterWithDialog();
    // tb_Filter pressed (the last condition, asking when there is none) or released (off).
    void filterToggled(bool pressed);
    // "抽出解除": the filter off and the button released.
    void clearFilter();

    bool hasFilterCondition() const { return filter_.set; }
    const SortHistory& sortHistory() const { return sortHistory_; }

private:
    struct FilterCondition {
        bool set = false;
        int column = 0;
        std::string text;
        int kind = 3;
        bool negate = false;
    };

    void runFind(int result, bool replace);
    void showOutcome(const FindOutcome& outcome, bool all, bool replace);
    bool askFilterCondition();
    void applyFilter();
    void afterFilterChange();

    CommandContext& window_;
    TfrmFind& dialog_;
    SortHistory sortHistory_;
    FilterCondition filter_;
    int findColour_ = -1;
    bool findReplaces_ = false;
};
