#pragma once
// What the report-site listener does at each poll of the simulation's replay
// folder: a replay written after the listener opened is handled once it has
// held its size and time for a whole poll (the simulation may still be
// writing it before that); a replay that failed is listed once and tried
// again only after it changes. The folder listing and the clock come from
// outside, so that polls can be played through without waiting.

#include "core/reports/Report.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vra {

class Header;
class ReportMapPort;

class ReplayWatch {
public:
    struct Entry {
        std::filesystem::path path;
        std::uint64_t size = 0;
        std::int64_t modifiedNs = 0;  // in the clock's time
    };
    // The *.rpy files of the folder now.
    using ListFolder = std::function<std::vector<Entry>()>;
    // The track map of a replay's own track, or nullptr with the reason in
    // error when the track cannot be read.
    using DecodeTrack = std::function<std::unique_ptr<ReportMapPort>(const Header& header, std::string& error)>;

    struct Result {
        std::string status;              // the status line, "" when all is well
        std::vector<std::string> lines;  // one per replay handled at this poll
    };

    // openedNs: the clock when the listener opened; older replays are left alone.
    ReplayWatch(ListFolder list, DecodeTrack decode, std::int64_t openedNs);

    // The user's report switches (names, units, the simulation folder) for
    // the sites to come.
    void SetReportSettings(ReportSettings settings) { settings_ = std::move(settings); }

    // One poll; exportPath is where sites go (read anew each poll).
    Result Poll(const std::string& exportPath);

    // What a replay gives: its line after "<file>: ". True when a site was made
    // or the replay holds no race (both are done with); false on a failure.
    bool Handle(const std::filesystem::path& replay, const std::string& exportPath, std::string& line);

private:
    struct Seen {
        std::uint64_t size = 0;
        std::int64_t modifiedNs = 0;
        enum { Waiting, Done, Failed } state = Waiting;
    };
    ListFolder list_;
    DecodeTrack decode_;
    std::int64_t openedNs_;
    ReportSettings settings_;
    std::map<std::filesystem::path, Seen> seen_;
};

// The *.rpy files of folder (the extension in any case), with their sizes and
// modification times in the file clock's nanoseconds.
std::vector<ReplayWatch::Entry> ListReplays(const std::filesystem::path& folder);
// The file clock now, in the same nanoseconds.
std::int64_t FileClockNowNs();

}  // namespace vra
