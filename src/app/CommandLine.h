#pragma once
// What the command line asks of a start: a replay to add as a lap, and the
// batch mode named by the first argument.

#include <optional>
#include <string>
#include <vector>

namespace vra {

struct CommandLine {
    // The first argument that is not a flag ("-x"): opened as a lap.
    std::optional<std::string> fileToOpen;
    // The first argument when at least two follow the program name, or when
    // it names a batch export; else empty.
    std::string mode;
    // Whether the mode is one of the batch exports: such a command line is a
    // batch run whatever follows, never a start of the window.
    bool IsBatchMode() const;

    // args excludes the program itself.
    static CommandLine Parse(const std::vector<std::string>& args);
};

}  // namespace vra
