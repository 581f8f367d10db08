// DialogCommands: the options, card editing, colour-information list and user-key windows.
#pragma once

#include "app/Command.h"

#include <span>

class TfrmOption;

class DialogCommands {
public:
    static std::span<const Command> entries();

private:
    static bool colourList(CommandContext& w, const Command& c);
    static bool card(CommandContext& w, const Command& c);
    static bool userKeys(CommandContext& w, const Command& c);
    static bool options(CommandContext& w, const Command& c);
    // What an accepted options dialog changes in the window.
    static void applyOptions(CommandContext& w, const TfrmOption& dialog, int scaleBefore);
};
