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
    static bool undo(TfrmMain& w, const Command& c);
    static bool redo(TfrmMain& w, const Command& c);
    static void showUndoneStep(TfrmMain& w, const UndoPosition& at);
    static bool header(TfrmMain& w, const Command& c);
    static bool freeze(TfrmMain& w, const Command& c);
    static bool alternate(TfrmMain& w, const Command& c);
    static bool zoom(TfrmMain& w, const Command& c);
    static bool returnDirection(TfrmMain& w, const Command& c);
    static bool information(TfrmMain& w, const Command& c);
};
