// Where the program keeps vexil.ini, its lists and vxc_data.
#pragma once

#include <string>

// VEXIL_HOME when set; else the executable's folder when it is writable and not a system
// folder such as /usr/bin (a portable install);
// else the per-user folder ($XDG_CONFIG_HOME or ~/.config, then "vexil"), created on demand.
class ProgramFolder {
public:
    // The folder, native separators, without a trailing separator.
    static std::string path();
    // Full path of the running executable ("" when it cannot be found).
    static std::string executablePath();
    static char separator();
};
