#include "core/document/LapQualityReport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace vra {
namespace {

constexpr const char* kOff = "\n\nIf you don't wish to see this report - \nturn it off in File->Settings";
constexpr const char* kLoss = "\n\nPossible partly loss of data due to accelerated time\nor other disturbance.";
constexpr const char* kNoData =
    "This laps seems to be a lap set under\r\naccelerated time and contains no data.\n"
    "The plot and graph will not work OK with this lap,\n but you can run the reports.";

TEST(LapQualityReport, PercentGapAndTheAppendedSentences) {
    const std::string full = "Online quality of lapdata: 100%\nLargest online gap: 0 seconds";
    const struct {
        LapQuality quality;
        std::string text;
    } cases[] = {
        // 36 samples a second: 1800 samples are 50 s, the stored time too.
        {{1800, 0, 0, 1800, 50000}, full + kOff},
        // 3 of 9 missing: 66.67 % shows as 66; a gap of 80 samples is 2 s.
        {{9, 3, 80, 6, 0}, "Online quality of lapdata: 66%\nLargest online gap: 2 seconds" + std::string(kOff)},
        // 1800 samples last 50 s, the replay says 60 s.
        {{1800, 0, 0, 1800, 60000}, full + kLoss + kOff},
        // No record at all with some quality left; the separator before the
        // second text is missing on purpose: the users know the message this way.
        {{100, 10, 10, 0, 60000},
         "Online quality of lapdata: 90%\nLargest online gap: 0 seconds" + std::string(kLoss) + kNoData + kOff},
        // Every sample missing: no quality left and nothing more to say.
        {{100, 100, 101, 0, 1000}, "Online quality of lapdata: 0%\nLargest online gap: 2 seconds" + std::string(kOff)},
    };
    for (const auto& c : cases) EXPECT_EQ(LapQualityReportText(c.quality), c.text);
}

// A lap driven at a constant raw step: sample k at distance base + k * step.
LapTimeCheckInput ConstantLap(std::int64_t samples, std::uint32_t base, std::int64_t step, double trackLength,
                              std::uint32_t storedMs, std::vector<std::uint32_t>& storage) {
    storage.assign(static_cast<std::size_t>(samples + 1), 0);
    for (std::size_t k = 0; k < storage.size(); ++k)
        storage[k] = base + static_cast<std::uint32_t>(k * static_cast<std::size_t>(step));
    return {storage, step, step, samples, trackLength, storedMs, true};
}

TEST(LapTimeCheck, CalculatedTimeAndAStoredTimeMoreThanThirtyMillisecondsOff) {
    std::vector<std::uint32_t> d;
    // 1000 m at 1 m a frame (2000 raw units), sample 0 on the line: Ta = 996
    // frames, Tb = D[2] / step = 2 frames, Tc = (2000000 - D[998]) / step = 2 frames.
    auto in = ConstantLap(1000, 0, 2000, 1000.0, 0, d);
    const auto c = static_cast<std::int64_t>((996.0 / 36 + 2.0 / 36 + 2.0 / 36) * 1000);
    EXPECT_EQ(CalculatedLapTimeMs(in), c);
    for (std::int64_t stored : {c + 30, c - 30}) {
        in.storedLapMs = static_cast<std::uint32_t>(stored);
        EXPECT_FALSE(LapTimeCheckMessage(in).has_value());
    }
    in.storedLapMs = 0x10000000u | 30000u;  // a flag bit set: only the time counts
    EXPECT_EQ(LapTimeCheckMessage(in).value_or(""),
              "VELMRRA has detected the laptime for this lap might be incorrect"
              "\n\nLaptime stored in replay: 0m 30.000s\nLaptime calculated by VELMRRA: 0m " +
                  std::to_string(c / 1000) + "." + std::to_string(c % 1000 + 1000).substr(1) + "s");
    // Only laps the check may compare get the message.
    in.comparable = false;
    EXPECT_FALSE(LapTimeCheckMessage(in).has_value());
}

TEST(LapTimeCheck, MissingDataAtStartOrEnd) {
    const std::string missing =
        "VELMRRA has detected that some data seems to be missing at the start/end of this lap"
        "\nThis is often caused by false (online) laptimes in the replay."
        "\nThe replay laptime for this lap is probably incorrect.";
    std::vector<std::uint32_t> d, d2;
    // Start: sample 3 lies more than three steps past the line.
    auto late = ConstantLap(1000, 3000, 2000, 1000.0, 27000, d);
    EXPECT_EQ(LapTimeCheckMessage(late).value_or(""), missing);
    // End: the line lies more than three steps beyond sample n - 2.
    auto shortLap = ConstantLap(1000, 0, 2000, 1010.0, 27000, d2);
    EXPECT_EQ(LapTimeCheckMessage(shortLap).value_or(""), missing);
    // Even for a lap the time check would not compare.
    shortLap.comparable = false;
    EXPECT_EQ(LapTimeCheckMessage(shortLap).value_or(""), missing);
}

TEST(LapTimeCheck, SkippedWithoutAStepWithTooFewSamplesOrCutDistances) {
    std::vector<std::uint32_t> d[4];
    auto noStep = ConstantLap(1000, 3000, 2000, 1000.0, 1, d[0]);
    noStep.stepAtStart = 0;
    EXPECT_FALSE(CalculatedLapTimeMs(noStep).has_value());
    auto backwards = ConstantLap(1000, 3000, 2000, 1000.0, 1, d[1]);
    backwards.stepAtEnd = -2000;
    auto tiny = ConstantLap(3, 3000, 2000, 1000.0, 1, d[2]);
    // Fewer distances than the count claims: no check rather than a read past the end.
    auto cut = ConstantLap(1000, 3000, 2000, 1000.0, 1, d[3]);
    cut.rawDistance = cut.rawDistance.first(500);
    for (const auto* in : {&noStep, &backwards, &tiny, &cut}) EXPECT_FALSE(LapTimeCheckMessage(*in).has_value());
}

// Values a damaged track or replay can give: the check says nothing rather
// than compute with numbers no integer holds.
TEST(LapTimeCheck, SaysNothingWhenItsValuesAreOutOfRange) {
    constexpr std::int64_t kHuge = std::numeric_limits<std::int64_t>::max();
    for (double length : {std::numeric_limits<double>::infinity(), std::nan(""), 1e24, 1e278, -5.0, 5e15}) {
        std::vector<std::uint32_t> d;
        const auto in = ConstantLap(1000, 0, 2000, length, 27000, d);
        EXPECT_FALSE(CalculatedLapTimeMs(in).has_value()) << length;
        EXPECT_FALSE(LapTimeCheckMessage(in).has_value()) << length;
    }
    std::vector<std::uint32_t> d[3];
    // Steps too large to triple: nothing lies three steps away.
    auto huge = ConstantLap(1000, 0, 2000, 1000.0, 27000, d[0]);
    huge.stepAtStart = huge.stepAtEnd = kHuge;
    huge.comparable = false;
    EXPECT_EQ(CalculatedLapTimeMs(huge), static_cast<std::int64_t>(996.0 / 36 * 1000));
    EXPECT_FALSE(LapTimeCheckMessage(huge).has_value());
    // Four samples need sample 3 too.
    auto four = ConstantLap(4, 0, 2000, 1000.0, 27000, d[1]);
    four.rawDistance = four.rawDistance.first(3);
    EXPECT_FALSE(LapTimeCheckMessage(four).has_value());
    // A sample count no lap has still gives a report.
    EXPECT_EQ(LapQualityReportText({kHuge, 0, 0, 1, 0xFFFFFFF}).substr(0, 29), "Online quality of lapdata: 10");
}

}  // namespace
}  // namespace vra
