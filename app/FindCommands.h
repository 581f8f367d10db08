// FindCommands: sort, find, replace and filter.
#pragma once

#include "app/Command.h"

#include <span>

class FindCommands {
public:
    static std::span<const Command> entries();

private:
    static bool sort(TfrmMain& w, const Command& c);
    static bool find(TfrmMain& w, const Command& c);
    static bool findAgain(TfrmMain& w, const Command& c);
    static bool filterDialog(TfrmMain& w, const Command& c);
    static bool filterButton(TfrmMain& w, const Command& c);
    static bool filterClear(TfrmMain& w, const Command& c);
};
