// CommandLine: parses the arguments vexil was started with.
#include "app/CommandLine.h"

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    CommandLine line;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if (arg.size() > maxArgumentBytes) break;
        if (i == 0) {
            line.hasPath = true;
            line.path = arg;
        } else if (arg == "-h") {
            line.header = true;
        } else if (arg == "-t1") {
            line.typeOption = TypeComma;
        } else if (arg == "-t2") {
            line.typeOption = TypeTab;
        } else if (arg == "-t3") {
            line.typeOption = TypeTabNoQuotes;
        }
    }
    return line;
}
