// PrintCommands: print preview, page set-up and printing.
#pragma once

#include "app/Command.h"

#include <span>

class PrintCommands {
public:
    static std::span<const Command> entries();

private:
    static bool preview(TfrmMain& w, const Command& c);
    static bool pageSetup(TfrmMain& w, const Command& c);
    static bool print(TfrmMain& w, const Command& c);
};
