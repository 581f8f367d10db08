// ClipboardCommands: copy and paste, row and column insert and delete, fitting column widths,
// the column kind and the cell colours (palette swatches and user keys).
#pragma once

#include "app/Command.h"

#include <span>

class ClipboardCommands {
public:
    static std::span<const Command> entries();

private:
    static bool copy(TfrmMain& w, const Command& c);
    static bool paste(TfrmMain& w, const Command& c);
    static bool pasteTransposed(TfrmMain& w, const Command& c);
    static bool insertRows(TfrmMain& w, const Command& c);
    static bool deleteRows(TfrmMain& w, const Command& c);
    static bool insertColumns(TfrmMain& w, const Command& c);
    static bool deleteColumns(TfrmMain& w, const Command& c);
    static bool fitWidths(TfrmMain& w, const Command& c);
    static bool columnKind(TfrmMain& w, const Command& c);
    static bool backColour(TfrmMain& w, const Command& c);
    static bool textColour(TfrmMain& w, const Command& c);
};
