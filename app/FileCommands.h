// FileCommands: the File and Help menus - other instances, opening, recent files, reloading,
// saving, colour-information files, export, closing, help and the about box.
#pragma once

#include "app/Command.h"

#include <span>

class FileCommands {
public:
    static std::span<const Command> entries();

private:
    static bool newWindow(CommandContext& w, const Command& c);
    static bool open(CommandContext& w, const Command& c);
    static bool recentFile(CommandContext& w, const Command& c);
    static bool reload(CommandContext& w, const Command& c);
    static bool save(CommandContext& w, const Command& c);
    static bool saveWithEncoding(CommandContext& w, const Command& c);
    static bool colourFile(CommandContext& w, const Command& c);
    static bool saveFormat(CommandContext& w, const Command& c);
    static bool exportRows(CommandContext& w, const Command& c);
    static bool exit(CommandContext& w, const Command& c);
    static bool help(CommandContext& w, const Command& c);
    static bool openFolder(CommandContext& w, const Command& c);
    static bool about(CommandContext& w, const Command& c);
};
