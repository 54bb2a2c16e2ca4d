#include "core/export/GrooveExport.h"

#include "core/base/AtomicFile.h"
#include "core/base/FileUtil.h"
#include "core/document/CRpyGraphDoc.h"
#include "core/document/ReplayFiles.h"
#include "core/document/TrackmapExport.h"
#include "core/platform/Prompts.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/track/TrackPath.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace vra {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<long long> ParseGrooveFactor(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        // Anything this long is out of range anyway; stop before it wraps.
        if (value < 1'000'000'000) value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

bool IsGrooveWidth(std::string_view text) {
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    if (whole.empty() && fraction.empty()) return false;
    bool nonZero = false;
    for (std::string_view part : {whole, fraction})
        for (char c : part) {
            if (!IsDigit(c)) return false;
            nonZero = nonZero || c != '0';
        }
    return nonZero;
}

GrooveLap GrooveLapOf(const GetRpyInfo& info) {
    // Samples are counted from index 0 of the channels, as the table's
    // sample numbers are: the last recorded sample stays out of it.
    std::size_t n = std::size_t(std::max(info.sampleCount, 0));
    n = std::min({n, info.distanceM.size(), info.lateralM.size(), info.speed.size(), info.roll.size()});
    GrooveLap lap;
    lap.distance = std::span(info.distanceM).first(n);
    lap.lateral = std::span(info.lateralM).first(n);
    lap.speed = std::span(info.speed).first(n);
    lap.roll = std::span(info.roll).first(n);
    return lap;
}

bool GrooveTrackLoaded(const CRpyGraphDoc& document, Prompts& prompts) {
    if (document.TrackLoaded() && document.GetTrackPath()) return true;
    prompts.alert(kNoTrackLoadedText);
    return false;
}

std::optional<std::filesystem::path> ExportGroove(const CRpyGraphDoc& document, int slot,
                                                  const GrooveSettings& settings, Prompts& prompts) {
    if (!GrooveTrackLoaded(document, prompts)) return std::nullopt;
    if (!document.IsSlotUsed(slot) || !document.Slot(slot).info || !document.Slot(slot).header) return std::nullopt;
    const LapSlot& lap = document.Slot(slot);
    const std::string text = GrooveFileText(GrooveLapOf(*lap.info), document.GetTrackPath()->Length(), settings);

    SaveFileRequest request;
    std::error_code ec;
    request.initialFolder = std::filesystem::current_path(ec);
    request.defaultName = SafeFileName(ToUpperAscii(lap.header->trackName) + ".grv");
    request.filters = {{"Groove files (*.grv)", "*.grv"}};
    const auto chosen = AskSavePath(prompts, std::move(request), ".grv");
    if (!chosen) return std::nullopt;
    const std::filesystem::path& path = *chosen;
    if (!WriteFileAtomic(path, text)) {
        prompts.alert(kErrorCreatingFileText);
        return std::nullopt;
    }
    return path;
}

}  // namespace vra
