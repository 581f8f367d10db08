// The command line of vexil: the file to open, then "-h", "-t1", "-t2", "-t3".
#pragma once

#include "store/OpenFlow.h"

#include <string>
#include <vector>

struct CommandLine {
    // Arguments longer than this stop the parse: they and all later ones are ignored.
    static constexpr size_t maxArgumentBytes = 256;

    bool hasPath = false;
    std::string path;          // native path bytes, even when it starts with "-"
    bool header = false;       // "-h": first row becomes the header after loading
    int typeOption = TypeNone;  // a TypeOption of the open flow

    // `arguments` excludes the program name. Options are matched exactly (case counts);
    // anything else is ignored and a later "-t" overrides an earlier one.
    static CommandLine parse(const std::vector<std::string>& arguments);
};
