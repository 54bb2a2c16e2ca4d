#include "app/CommandLine.h"

namespace vra {

bool CommandLine::IsBatchMode() const {
    return mode == "-expreports" || mode == "-racedata" || mode == "-reportsite" || mode == "-xml";
}

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine line;
    for (const std::string& arg : args) {
        // Only "-" marks a flag: on this system "/" begins an absolute path.
        if (arg.empty() || arg[0] == '-') continue;
        line.fileToOpen = arg;
        break;
    }
    if (args.size() >= 2) line.mode = args[0];
    return line;
}

}  // namespace vra
