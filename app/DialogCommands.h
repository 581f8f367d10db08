// DialogCommands: the options, card editing, colour-information list and user-key windows.
#pragma once

#include "app/Command.h"

#include <span>

class TfrmOption;

class DialogCommands {
public:
    static std::span<const Command> entries();

private:
    static bool colourList(TfrmMain& w, const Command& c);
    static bool card(TfrmMain& w, const Command& c);
    static bool userKeys(TfrmMain& w, const Command& c);
    static bool options(TfrmMain& w, const Command& c);
    // What an accepted options dialog changes in the window.
    static void applyOptions(TfrmMain& w, const TfrmOption& dialog, int scaleBefore);
};
