// InfoOption: "vexil --version" and "vexil --help", answered on the terminal without a window.
#pragma once

#include <optional>
#include <string>
#include <vector>

class InfoOption {
public:
    // The text to print when the only argument is "--version" or "--help" and no file of that
    // name exists (an existing file is opened like any first argument); nullopt otherwise.
    static std::optional<std::string> reply(const std::vector<std::string>& arguments,
                                            const std::string& version);
};
