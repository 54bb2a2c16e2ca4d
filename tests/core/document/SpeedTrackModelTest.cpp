#include "core/document/SpeedTrackModel.h"

#include "core/replay/GetRpyInfo.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vra {
namespace {

using ::testing::ElementsAre;

// A lap of n samples (1..n): distance and speed per sample.
GetRpyInfo Lap(const std::vector<double>& distance, const std::vector<double>& speed) {
    GetRpyInfo lap;
    lap.sampleCount = int(distance.size());
    lap.distanceM.assign(1, 0.0);
    lap.speed.assign(1, 0.0);
    lap.distanceM.insert(lap.distanceM.end(), distance.begin(), distance.end());
    lap.speed.insert(lap.speed.end(), speed.begin(), speed.end());
    return lap;
}

TEST(SpeedByDistance, AveragesEachBinClosingOneBinPerSample) {
    // 16 samples 1 m apart; samples 1-9 count with sample 10's speed.
    std::vector<double> d, v;
    for (int i = 1; i <= 16; ++i) {
        d.push_back(i);
        v.push_back(i * 10.0);
    }
    // Samples 1..11 walk; bins of 4 m: {1..4}, {5..8}, {9..11}.
    EXPECT_THAT(SpeedByDistance(Lap(d, v), 4.0, false), ElementsAre(100, 100, 100 + 10.0 / 3));
    const auto mph = SpeedByDistance(Lap(d, v), 4.0, true);
    EXPECT_DOUBLE_EQ(mph[0], 62.1);

    // A jump over three bins closes one bin per sample, so the samples after
    // it fill the bins the jump passed; a lap starting beyond the first bin
    // leaves that one empty.
    std::vector<double> jump = {1, 2, 3, 20, 21, 22, 23, 24, 25, 26, 27};
    EXPECT_THAT(SpeedByDistance(Lap(jump, std::vector<double>(11, 50.0)), 4.0, false), ElementsAre(50, 50, 50, 50));
    EXPECT_THAT(SpeedByDistance(Lap({10, 11, 12, 13, 14, 15}, std::vector<double>(6, 50.0)), 4.0, false),
                ElementsAre(0, 50));

    for (int n : {0, 3, 5})
        EXPECT_THAT(
            SpeedByDistance(Lap(std::vector<double>(std::size_t(n), 1.0), std::vector<double>(std::size_t(n), 9.0)),
                            4.0, false),
            ElementsAre(0.0))
            << n;
    // Six samples: sample 10 does not exist, the last one stands in.
    EXPECT_THAT(SpeedByDistance(Lap({1, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6}), 4.0, false), ElementsAre(6.0));
}

TEST(SpeedByDistance, DifferencesAndLegendTexts) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THAT(DifferenceBins(std::vector<double>{100, 700, nan, 50, 9}, std::vector<double>{90, 100, 1, 650}),
                ElementsAre(10, 0, 0, 0));
    const SpeedLegend manual = LegendTexts(-20, 20, true);
    EXPECT_EQ(manual.minimum, "<-20.0");
    EXPECT_EQ(manual.halfMinimum, "-10.0");
    EXPECT_EQ(manual.halfMaximum, "10.0");
    EXPECT_EQ(manual.maximum, ">20.0");
    const SpeedLegend automatic = LegendTexts(-3.5, 12.4, false);
    EXPECT_EQ(automatic.minimum, "-12.4");
    EXPECT_EQ(automatic.halfMaximum, "6.2");
    EXPECT_EQ(automatic.maximum, "12.4");
}

}  // namespace
}  // namespace vra
