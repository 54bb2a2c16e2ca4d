#include "core/graphs/TimeDifference.h"

#include "core/replay/GetRpyInfo.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vra;

namespace {

// A lap whose raw distance starts at first and grows by step per sample from
// sample 2; sample 1 and the last sample hold the neighbouring laps' values.
GetRpyInfo RampLap(int count, std::uint32_t first, std::uint32_t step, std::uint32_t before) {
    GetRpyInfo d;
    d.sampleCount = count;
    d.distance.assign(std::size_t(count) + 1, 0);
    d.distanceM.assign(std::size_t(count) + 1, 0);
    for (int i = 2; i < count - 1; ++i) d.distance[std::size_t(i)] = first + step * std::uint32_t(i - 2);
    d.distance[1] = before;
    d.distance[std::size_t(count) - 1] = first;
    for (std::size_t i = 0; i < d.distance.size(); ++i) d.distanceM[i] = d.distance[i] * 0.0005;
    d.distanceStepStart = step;
    return d;
}

}  // namespace

TEST(TimeDifference, LapTimesAsTheGraphWritesThem) {
    EXPECT_EQ(FormatGraphLapTime(83456), "1m23.456s");
    EXPECT_EQ(FormatGraphLapTime(5007), "05.007s");
    EXPECT_EQ(FormatGraphLapTime(0), "00.000s");
    EXPECT_EQ(FormatGraphLapTime(0xF0014600u), "1m23.456s");
}

TEST(TimeDifference, CurveTextsAndReadOutOfTwoLaps) {
    const GetRpyInfo b = RampLap(1200, 1000, 2000, 2393000);
    const GetRpyInfo a = RampLap(1333, 900, 1800, 2393100);
    TimeDifference t;
    t.Compute({&a, 36944}, {&b, 33250}, 0, 350);
    EXPECT_EQ(t.N(), 1000);
    EXPECT_DOUBLE_EQ(t.Step(), 1.19655);
    ASSERT_EQ(t.Curve().size(), 998u);
    EXPECT_NEAR(t.Curve().front().x, 3.58965, 1e-9);
    EXPECT_NEAR(t.Curve().front().y, 175.6521329987, 1e-9);
    EXPECT_NEAR(t.Curve()[996].x, 1195.35345, 1e-9);
    EXPECT_NEAR(t.Curve()[996].y, 348.25, 1e-9);
    EXPECT_NEAR(t.Curve().back().x, 1197.74655, 1e-9);
    EXPECT_NEAR(t.Curve().back().y, 348.4465094103, 1e-9);
    EXPECT_EQ(t.ZeroLine()[0].y, 175);
    EXPECT_EQ(t.FinishText(), "+03.694s");
    EXPECT_EQ(t.AheadText(), "NA");
    EXPECT_EQ(t.BehindText(), "+03.689s");
    EXPECT_EQ(t.SpreadText(), "03.689s");
    EXPECT_EQ(t.PositionText(600), "+01.850s");
    EXPECT_EQ(t.CursorText(200), ", timediff=+00.532s");
    EXPECT_EQ(t.PositionText(0), "");
    EXPECT_EQ(t.PositionText(1196), "");

    TimeDifference s;
    s.Compute({&b, 33250}, {&a, 36944}, 0, 350);
    EXPECT_EQ(s.FinishText(), "-03.694s");
    EXPECT_EQ(s.AheadText(), "-03.690s");
    EXPECT_EQ(s.BehindText(), "NA");
    EXPECT_EQ(s.SpreadText(), "03.690s");
}

TEST(TimeDifference, TheSameLapTwiceLiesFlatOnTheZeroLine) {
    // Loaded twice: two copies of the same samples.
    const GetRpyInfo a = RampLap(1333, 900, 1800, 2393100);
    const GetRpyInfo b = a;
    TimeDifference t;
    t.Compute({&a, 36944}, {&b, 36944}, 0, 350);
    for (int i = 3; i < t.N(); ++i) ASSERT_EQ(t.Difference(i), 0.0) << i;
    EXPECT_EQ(t.Scale(), 1.0);
    ASSERT_EQ(t.Curve().size(), 998u);
    for (const Point2D& p : t.Curve()) ASSERT_EQ(p.y, 175.0) << p.x;
    EXPECT_EQ(t.FinishText(), "-00.000s");
    EXPECT_EQ(t.AheadText(), "NA");
    EXPECT_EQ(t.BehindText(), "NA");
    EXPECT_EQ(t.SpreadText(), "NA");
    EXPECT_EQ(t.PositionText(600), "-00.000s");
}

TEST(TimeDifference, ShortStandingAndIdenticalLapsStayFinite) {
    const GetRpyInfo long4000 = RampLap(4000, 1000, 2000, 0);
    const GetRpyInfo short900 = RampLap(900, 1000, 2000, 0);
    TimeDifference t;
    t.Compute({&long4000, 1}, {&short900, 1}, 0, 10);
    EXPECT_EQ(t.N(), 450);
    EXPECT_EQ(t.FinishText(), "-00.000s");

    GetRpyInfo standing = RampLap(3, 0, 0, 0);
    standing.distanceStepStart = 0;
    TimeDifference s;
    s.Compute({&standing, 0}, {&standing, 0}, 0, 10);
    EXPECT_EQ(s.N(), 1);
    for (const Point2D& p : s.Curve()) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_EQ(s.PositionText(1), "");
    EXPECT_TRUE(std::isfinite(s.Scale()));

    GetRpyInfo still = RampLap(50, 1000, 0, 0);
    TimeDifference z;
    z.Compute({&still, 0}, {&long4000, 0}, 0, 10);
    for (const Point2D& p : z.Curve()) EXPECT_TRUE(std::isfinite(p.y));
}
