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

// A double that an int64 holds with room to spare, truncated; nullopt for
// anything else (a damaged track length or a step that makes no time).
std::optional<std::int64_t> Truncated(double v) {
    constexpr double kLimit = 4.0e18;
    if (!(v > -kLimit && v < kLimit)) return std::nullopt;
    return static_cast<std::int64_t>(v);
}

// v > 3 x step without overflow: a step too large to triple exceeds every v.
bool AboveThreeSteps(std::uint64_t v, std::uint64_t step) {
    std::uint64_t three = 0;
    if (__builtin_mul_overflow(step, std::uint64_t{3}, &three)) return false;
    return v > three;
}

std::optional<LapTimeFigures> ComputeFigures(const LapTimeCheckInput& in) {
    const std::int64_t n = in.samples;
    const std::int64_t u = in.stepAtStart;
    const std::int64_t w = in.stepAtEnd;
    // Without a step there is no time per distance; with fewer than four
    // samples the start and end corrections overlap.
    if (u <= 0 || w <= 0 || n < 4) return std::nullopt;
    const auto& d = in.rawDistance;
    if (static_cast<std::uint64_t>(n - 2) >= d.size() || d.size() < 4) return std::nullopt;
    const double ta = static_cast<double>(n - 4) / kFramesPerSecond;
    const double tb = static_cast<double>(d[2]) / kFramesPerSecond / static_cast<double>(u);
    // The line in raw units; a track length that does not give one (not
    // finite, negative, or beyond any track) leaves the check unmade.
    const auto lineRaw = Truncated(in.trackLengthMetres * 2000.0);
    if (!lineRaw || *lineRaw < 0 || *lineRaw > (std::int64_t{1} << 53)) return std::nullopt;
    const std::int64_t e = *lineRaw - static_cast<std::int64_t>(d[static_cast<std::size_t>(n - 2)]);
    const std::int64_t eUsed = std::llabs(e) <= w ? e : std::llabs(e);
    const double tc = static_cast<double>(eUsed) / static_cast<double>(w) / kFramesPerSecond;
    const auto calculated = Truncated((tc + tb + ta) * 1000.0);
    if (!calculated) return std::nullopt;
    LapTimeFigures f;
    f.calculatedMs = *calculated;
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
    std::uint64_t samplesMs = 0;
    if (q.samples >= 0 &&
        !__builtin_mul_overflow(static_cast<std::uint64_t>(q.samples), std::uint64_t{1000}, &samplesMs) &&
        samplesMs / 36u < q.storedLapMs)
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
    if (AboveThreeSteps(input.rawDistance[3], static_cast<std::uint64_t>(input.stepAtStart)) ||
        AboveThreeSteps(static_cast<std::uint64_t>(std::llabs(f->endError)),
                        static_cast<std::uint64_t>(input.stepAtEnd)))
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
