// The race graphics' series over a built four-car race with a pace car.
#include "core/export/RaceGraphs.h"

#include "core/document/DocumentColours.h"
#include "core/replay/Drivers.h"

#include "simkit/replay/ReplayBuilder.h"

#include <gmock/gmock.h>

namespace vra::testing {
namespace {

using ::testing::DoubleNear;
using ::testing::ElementsAre;

std::vector<double> Values(const RaceGraphSeries& s) {
    std::vector<double> v;
    for (const RaceGraphPoint& p : s.points) v.push_back(p.value);
    return v;
}

class RaceGraphsTest : public ::testing::Test {
protected:
    void SetUp() override {
        simkit::ReplayBuilder b;
        // Laps of 40 s + 0.25 s x driver; the fourth car overtakes the
        // whole field on lap 2; the pace car's laps are the fastest of all.
        b.drivers(5);
        b.desc.drivers[4].carNumber = 65535;
        b.desc.drivers[4].type = 0;
        b.session(3, 3, 40000);
        b.desc.sessions[0].cars[3].laps = {40750, 39000, 40000};
        b.desc.sessions[0].cars[4].laps = {30000, 30000, 30000};
        ASSERT_EQ(drivers.LoadBytes(b.build()), Drivers::LoadResult::Ok);
    }
    Drivers drivers;
};

TEST_F(RaceGraphsTest, GapsToTheFirstCarOverEachLineInFinishingOrder) {
    const RaceGraph g = RaceGapSeries(drivers);
    ASSERT_EQ(g.series.size(), 4u);  // no pace car
    EXPECT_EQ(g.lastLap, 3);
    EXPECT_EQ(g.series[0].legend, "1. #4 Driver3 Racer3");
    EXPECT_EQ(g.series[1].legend, "2. #1 Alex Morgan");
    EXPECT_EQ(g.series[3].legend, "4. #3 Driver2 Racer2");
    EXPECT_EQ(g.series[1].colour, kMapPalette[1]);
    // Lines 0 to 3: the leader stays on the zero line; driver 1 loses 0.25 s a lap.
    EXPECT_THAT(Values(g.series[1]), ElementsAre(0.0, 0.0, -0.25, -0.25));
    EXPECT_THAT(Values(g.series[2]), ElementsAre(0.0, -0.25, -0.75, -1.0));
    EXPECT_THAT(Values(g.series[0]), ElementsAre(0.0, -0.75, 0.0, 0.0));
    EXPECT_THAT(g.minValue, DoubleNear(-1.75, 1e-9));
    EXPECT_EQ(g.series[0].points.back().lap, 3);
}

TEST_F(RaceGraphsTest, PositionsOverEachLineCrossWhereTheOvertakeHappens) {
    const RaceGraph g = RacePositionSeries(drivers);
    ASSERT_EQ(g.series.size(), 4u);
    EXPECT_EQ(g.maxValue, 4.0);
    // Equal start stamps keep the table's order at the start.
    EXPECT_THAT(Values(g.series[0]), ElementsAre(4.0, 4.0, 1.0, 1.0));
    EXPECT_THAT(Values(g.series[1]), ElementsAre(1.0, 1.0, 2.0, 2.0));
    EXPECT_THAT(Values(g.series[3]), ElementsAre(3.0, 3.0, 4.0, 4.0));
}

}  // namespace
}  // namespace vra::testing
