// ViewCommands: undo and redo, the view modes (header row, frozen columns, alternating background),
// zoom, the Return direction and the selection information window.
#pragma once

#include "app/Command.h"

#include <span>

struct UndoPosition;

class ViewCommands {
public:
    static std::span<const Command> entries();

private:
    static bool undo(CommandContext& w, const Command& c);
    static bool redo(CommandContext& w, const Command& c);
    static void showUndoneStep(CommandContext& w, const UndoPosition& at);
    static bool header(CommandContext& w, const Command& c);
    static bool freeze(CommandContext& w, const Command& c);
    static bool alternate(CommandContext& w, const Command& c);
    static bool zoom(CommandContext& w, const Command& c);
    static bool returnDirection(CommandContext& w, const Command& c);
    static bool information(CommandContext& w, const Command& c);
};
