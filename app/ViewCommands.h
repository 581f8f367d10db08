// ViewCommands: undo, the view modes (header row, frozen columns, alternating background),
// zoom, the Return direction and the selection information window.
#pragma once

#include "app/Command.h"

#include <span>

class ViewCommands {
public:
    static std::span<const Command> entries();

private:
    static bool undo(CommandContext& w, const Command& c);
    static bool header(CommandContext& w, const Command& c);
    static bool freeze(CommandContext& w, const Command& c);
    static bool alternate(CommandContext& w, const Command& c);
    static bool zoom(CommandContext& w, const Command& c);
    static bool returnDirection(CommandContext& w, const Command& c);
    static bool information(CommandContext& w, const Command& c);
};
