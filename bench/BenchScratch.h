#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace vra::bench {

// A benchmark's scratch folder, its own for this run, so that two runs at
// once never share the replays they build.
inline std::filesystem::path ScratchFolder(const std::string& bench) {
    return std::filesystem::temp_directory_path() / ("vra_" + bench + "_" + std::to_string(::getpid()));
}

// Ends a benchmark run that cannot do its work, taking its scratch folder
// with it.
[[noreturn]] inline void FailAndClean(const std::string& bench, const std::filesystem::path& folder,
                                      const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", bench.c_str(), what.c_str());
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::exit(1);
}

// A benchmark's scratch folder with the two ways out of its run: failing,
// which takes the folder with it, and removing the folder at the end.
class Scratch {
public:
    explicit Scratch(std::string bench) : bench_(std::move(bench)), folder_(ScratchFolder(bench_)) {}
    const std::filesystem::path& Folder() const { return folder_; }
    [[noreturn]] void Fail(const std::string& what) const { FailAndClean(bench_, folder_, what); }
    void Remove() const {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

private:
    std::string bench_;
    std::filesystem::path folder_;
};

}  // namespace vra::bench
