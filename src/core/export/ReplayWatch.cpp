#include "core/export/ReplayWatch.h"

#include "core/base/FileUtil.h"
#include "core/export/ExportFlows.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReadErrorTexts.h"
#include "core/reports/Report.h"

#include <system_error>

namespace vra {

namespace {

constexpr std::string_view kNoRaceInfoText = "This replay file does not contain race info!";

std::int64_t Ns(std::filesystem::file_time_type t) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
}

}  // namespace

std::vector<ReplayWatch::Entry> ListReplays(const std::filesystem::path& folder) {
    std::vector<ReplayWatch::Entry> entries;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::filesystem::path& p = it->path();
        if (!EqualsIgnoreCase(p.extension().string(), ".rpy") || !it->is_regular_file(ec)) continue;
        ReplayWatch::Entry e{p, it->file_size(ec), 0};
        if (ec) continue;
        const auto time = it->last_write_time(ec);
        if (ec) continue;
        e.modifiedNs = Ns(time);
        entries.push_back(std::move(e));
    }
    return entries;
}

std::int64_t FileClockNowNs() {
    return Ns(std::filesystem::file_time_type::clock::now());
}

ReplayWatch::ReplayWatch(ListFolder list, DecodeTrack decode, std::int64_t openedNs)
    : list_(std::move(list)), decode_(std::move(decode)), openedNs_(openedNs) {}

bool ReplayWatch::Handle(const std::filesystem::path& replay, const std::string& exportPath, std::string& line) {
    Header header;
    if (header.Read(replay) != Header::Ok) {
        line = kHeaderReadErrorText;
        return false;
    }
    Drivers drivers;
    if (drivers.Load(replay) != Drivers::LoadResult::Ok) {
        line = drivers.Message().empty() ? std::string(kDriversReadErrorText) : drivers.Message();
        return false;
    }
    if (drivers.driverCount != drivers.loadedCount) {
        line = kDriverCountsErrorText;
        return false;
    }
    if (!drivers.raceStartSeen) {
        line = kNoRaceInfoText;
        return true;
    }
    std::string error;
    std::unique_ptr<ReportMapPort> picture = decode_ ? decode_(header, error) : nullptr;
    if (decode_ && !picture) {
        line = error;
        return false;
    }
    Report report;
    report.batch = 1;
    report.settings = settings_;
    report.header = &header;
    report.drivers = &drivers;
    report.mapView = picture.get();
    const std::string folder = report.GenerateReportSite(exportPath);
    if (folder.empty()) {
        line = kSiteFailedText;
        return false;
    }
    line = "Report site created in " + folder;
    return true;
}

ReplayWatch::Result ReplayWatch::Poll(const std::string& exportPath) {
    Result result;
    if (exportPath.empty()) {
        result.status = kNoExportPathText;
        return result;
    }
    for (const Entry& e : list_ ? list_() : std::vector<Entry>{}) {
        if (e.modifiedNs <= openedNs_) continue;
        auto [it, added] = seen_.try_emplace(e.path, Seen{e.size, e.modifiedNs});
        Seen& seen = it->second;
        const bool changed = seen.size != e.size || seen.modifiedNs != e.modifiedNs;
        seen.size = e.size;
        seen.modifiedNs = e.modifiedNs;
        if (added) continue;  // seen once: it must hold still for a poll
        if (changed) {
            seen.state = Seen::Waiting;
            continue;
        }
        if (seen.state != Seen::Waiting) continue;
        std::string line;
        seen.state = Handle(e.path, exportPath, line) ? Seen::Done : Seen::Failed;
        result.lines.push_back(e.path.filename().string() + ": " + line);
    }
    return result;
}

}  // namespace vra
