// ClipboardCommands: copy and paste, row and column insert and delete, fitting column widths,
// the column kind and the cell colours (palette swatches and user keys).
#pragma once

#include "app/Command.h"

#include <span>

class ClipboardCommands {
public:
    static std::span<const Command> entries();

private:
    static bool copy(CommandContext& w, const Command& c);
    static bool paste(CommandContext& w, const Command& c);
    static bool pasteTransposed(CommandContext& w, const Command& c);
    static bool insertRows(CommandContext& w, const Command& c);
    static bool deleteRows(CommandContext& w, const Command& c);
    static bool insertColumns(CommandContext& w, const Command& c);
    static bool deleteColumns(CommandContext& w, const Command& c);
    static bool fitWidths(CommandContext& w, const Command& c);
    static bool columnKind(CommandContext& w, const Command& c);
    static bool backColour(CommandContext& w, const Command& c);
    static bool textColour(CommandContext& w, const Command& c);
};
