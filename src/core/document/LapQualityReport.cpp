#include "core/document/LapQualityReport.h"

#include "core/text/LapTime.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>

namespace vra {

namespace {

constexpr std::int64_t kFramesPerSecond = 36;

struct LapTimeFigures {
    std::int64_t calculatedMs = 0;
    std::int64_t endError = 0;  // raw units between the last sample and the line
};

std::optional<LapTimeFigures> ComputeFigures(const LapTimeCheckInput& in) {
    const std::int64_t n = in.samples;
    const std::int64_t u = in.stepAtStart;
    const std::int64_t w = in.stepAtEnd;
    // Without a step there is no time per distance; with fewer than four
    // samples the start and end corrections overlap.
    if (u <= 0 || w <= 0 || n < 4) return std::nullopt;
    if (static_cast<std::uint64_t>(n - 2) >= in.rawDistance.size()) return std::nullopt;
    const auto& d = in.rawDistance;
    const double ta = static_cast<double>(n - 4) / kFramesPerSecond;
    const double tb = static_cast<double>(d[2]) / kFramesPerSecond / static_cast<double>(u);
    const auto lineRaw = static_cast<std::int64_t>(in.trackLengthMetres * 2000.0);
    const std::int64_t e = lineRaw - static_cast<std::int64_t>(d[static_cast<std::size_t>(n - 2)]);
    const std::int64_t eUsed = std::llabs(e) <= w ? e : std::llabs(e);
    const double tc = static_cast<double>(eUsed) / static_cast<double>(w) / kFramesPerSecond;
    LapTimeFigures f;
    f.calculatedMs = static_cast<std::int64_t>((tc + tb + ta) * 1000.0);
    f.endError = e;
    return f;
}

std::uint32_t AsLapWord(std::int64_t ms) {
    if (ms < 0) return 0;
    return static_cast<std::uint32_t>(std::min<std::int64_t>(ms, 0x0FFFFFFF));
}

}  // namespace

std::string LapQualityReportText(const LapQuality& q) {
    const double percent =
        q.samples > 0 ? 100.0 - (static_cast<double>(q.missing) / static_cast<double>(q.samples)) * 100.0 : 0.0;
    std::string text = fmt::format("Online quality of lapdata: {}%\nLargest online gap: {} seconds",
                                   static_cast<std::int64_t>(percent), q.longestGap / kFramesPerSecond);
    if (q.samples >= 0 && static_cast<std::uint64_t>(q.samples) * 1000u / 36u < q.storedLapMs)
        text += "\n\nPossible partly loss of data due to accelerated time\nor other disturbance.";
    if (q.found == 0 && percent > 0.0)
        text +=
            "This laps seems to be a lap set under\r\naccelerated time and contains no data.\n"
            "The plot and graph will not work OK with this lap,\n but you can run the reports.";
    text += "\n\nIf you don't wish to see this report - \nturn it off in File->Settings";
    return text;
}

std::optional<std::int64_t> CalculatedLapTimeMs(const LapTimeCheckInput& input) {
    const auto f = ComputeFigures(input);
    if (!f) return std::nullopt;
    return f->calculatedMs;
}

std::optional<std::string> LapTimeCheckMessage(const LapTimeCheckInput& input) {
    const auto f = ComputeFigures(input);
    if (!f || f->calculatedMs == 0) return std::nullopt;
    const std::uint64_t u = static_cast<std::uint64_t>(input.stepAtStart);
    if (input.rawDistance[3] > 3 * u || std::llabs(f->endError) > 3 * input.stepAtEnd)
        return std::string(
            "VELMRRA has detected that some data seems to be missing at the start/end of this lap"
            "\nThis is often caused by false (online) laptimes in the replay."
            "\nThe replay laptime for this lap is probably incorrect.");
    const std::int64_t stored = input.storedLapMs & 0x0FFFFFFFu;
    if (std::llabs(stored - f->calculatedMs) > 30 && input.comparable)
        return "VELMRRA has detected the laptime for this lap might be incorrect"
               "\n\nLaptime stored in replay: " +
               FormatLapTime(static_cast<std::uint32_t>(stored)) +
               "\nLaptime calculated by VELMRRA: " + FormatLapTime(AsLapWord(f->calculatedMs));
    return std::nullopt;
}

}  // namespace vra
