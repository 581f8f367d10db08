// FileCommands: the File and Help menus - other instances, opening, recent files, reloading,
// saving, colour-information files, export, closing, help and the about box.
#pragma once

#include "app/Command.h"

#include <span>

class FileCommands {
public:
    static std::span<const Command> entries();

private:
    static bool newWindow(TfrmMain& w, const Command& c);
    static bool open(TfrmMain& w, const Command& c);
    static bool recentFile(TfrmMain& w, const Command& c);
    static bool reload(TfrmMain& w, const Command& c);
    static bool save(TfrmMain& w, const Command& c);
    static bool saveWithEncoding(TfrmMain& w, const Command& c);
    static bool colourFile(TfrmMain& w, const Command& c);
    static bool saveFormat(TfrmMain& w, const Command& c);
    static bool exportRows(TfrmMain& w, const Command& c);
    static bool exit(TfrmMain& w, const Command& c);
    static bool help(TfrmMain& w, const Command& c);
    static bool openFolder(TfrmMain& w, const Command& c);
    static bool about(TfrmMain& w, const Command& c);
};
