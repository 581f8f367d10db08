// InfoOption: the two terminal answers and the rule that keeps a file of that name openable.
#include "app/InfoOption.h"

#include <filesystem>
#include <system_error>

namespace {

const char* const usage =
    "Usage: vexil [FILE [-h] [-t1|-t2|-t3]]\n"
    "Edit a comma- or TAB-separated table in a window.\n"
    "\n"
    "  FILE   the table to open (the first argument is always the file, even if it\n"
    "         starts with '-')\n"
    "  -h     make the first row the header after loading\n"
    "  -t1    read FILE comma-separated\n"
    "  -t2    read FILE TAB-separated, fields may be enclosed in double quotes\n"
    "  -t3    read FILE TAB-separated, double quotes are plain text\n"
    "\n"
    "  --version  print the version and exit\n"
    "  --help     print this text and exit\n"
    "\n"
    "Settings and lists are kept in $VEXIL_HOME, else beside a program installed outside\n"
    "/usr and /opt, else in ${XDG_CONFIG_HOME:-~/.config}/vexil.\n";

} // namespace

std::optional<std::string> InfoOption::reply(const std::vector<std::string>& arguments,
                                             const std::string& version) {
    if (arguments.size() != 1) return std::nullopt;
    const std::string& only = arguments.front();
    if (only != "--version" && only != "--help") return std::nullopt;
    std::error_code error;
    if (std::filesystem::exists(only, error)) return std::nullopt;
    if (only == "--version") return "vexil " + version + "\n";
    return std::string(usage);
}
