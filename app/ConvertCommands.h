// ConvertCommands: character conversion of the selection and the column join, split,
// compare and group.
#pragma once

#include "app/Command.h"

#include <span>

class ConvertCommands {
public:
    static std::span<const Command> entries();

private:
    static bool convert(TfrmMain& w, const Command& c);
    static bool joinColumns(TfrmMain& w, const Command& c);
    static bool splitColumn(TfrmMain& w, const Command& c);
    static bool compareColumns(TfrmMain& w, const Command& c);
    static bool groupColumn(TfrmMain& w, const Command& c);
};
