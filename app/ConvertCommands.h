// ConvertCommands: character conversion of the selection and the column join, split,
// compare and group.
#pragma once

#include "app/Command.h"

#include <span>

class ConvertCommands {
public:
    static std::span<const Command> entries();

private:
    static bool convert(CommandContext& w, const Command& c);
    static bool joinColumns(CommandContext& w, const Command& c);
    static bool splitColumn(CommandContext& w, const Command& c);
    static bool compareColumns(CommandContext& w, const Command& c);
    static bool groupColumn(CommandContext& w, const Command& c);
};
