#include "app/CommandLine.h"

namespace vra {

namespace {

bool IsBatchFlag(const std::string& arg) {
    return arg == "-expreports" || arg == "-racedata" || arg == "-reportsite" || arg == "-xml";
}

}  // namespace

bool CommandLine::IsBatchMode() const {
    return IsBatchFlag(mode);
}

CommandLine CommandLine::Parse(const std::vector<std::string>& args) {
    CommandLine line;
    for (const std::string& arg : args) {
        // Only "-" marks a flag: on this system "/" begins an absolute path.
        if (arg.empty() || arg[0] == '-') continue;
        line.fileToOpen = arg;
        break;
    }
    // A batch flag without its values is still a batch run (one that tells
    // how it is used): a server has no display to start the window on.
    if (args.size() >= 2 || (!args.empty() && IsBatchFlag(args[0]))) line.mode = args[0];
    return line;
}

}  // namespace vra
