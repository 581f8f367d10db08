// PrintCommands: print preview, page set-up and printing.
#pragma once

#include "app/Command.h"

#include <span>

class PrintCommands {
public:
    static std::span<const Command> entries();

private:
    static bool preview(CommandContext& w, const Command& c);
    static bool pageSetup(CommandContext& w, const Command& c);
    static bool print(CommandContext& w, const Command& c);
};
