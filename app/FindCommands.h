// FindCommands: sort, find, replace and filter.
#pragma once

#include "app/Command.h"

#include <span>

class FindCommands {
public:
    static std::span<const Command> entries();

private:
    static bool sort(CommandContext& w, const Command& c);
    static bool find(CommandContext& w, const Command& c);
    static bool findAgain(CommandContext& w, const Command& c);
    static bool filterDialog(CommandContext& w, const Command& c);
    static bool filterButton(CommandContext& w, const Command& c);
    static bool filterClear(CommandContext& w, const Command& c);
};
