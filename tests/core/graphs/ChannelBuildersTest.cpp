#include "core/graphs/ChannelBuilders.h"

#include "core/graphs/ChannelTable.h"
#include "core/graphs/GraphModel.h"

#include "HandLap.h"
#include "RecordingParts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace vra;

namespace {

struct Plot {
    GraphModel graph{32};
    RecordingParts parts;
    BuilderRanges ranges;
    Plot() { graph.SetParts(&parts); }

    const CGraphProps& Add(int code, const GetRpyInfo& d, int speedUnit = 0, int wheel = 0,
                           const LockedWheels* locked = nullptr) {
        BuilderLap lap{&d, locked, Rgb{1, 2, 3}, {Rgb{}, Rgb{}, Rgb{9, 9, 9}, Rgb{}}};
        const int slot = AddChannelSeries(graph, code, 0, wheel, lap, speedUnit, ranges);
        return *graph.GetGraph(slot);
    }
    GraphRange Range() const { return parts.panel.Range(); }
};

// The y of the point at x (one metre per sample).
double YAt(const CGraphProps& g, double x) {
    for (const Point2D& p : g.Points())
        if (p.x == x) return p.y;
    return NAN;
}

}  // namespace

TEST(ChannelBuilders, BasicChannelsInTheirDisplayUnits) {
    GetRpyInfo d = HandLap(10);
    d.heading[2] = 0, d.heading[3] = 2048, d.heading[4] = -2048, d.heading[5] = 1024;
    EXPECT_EQ(YAt(Plot().Add(13, d), 2), 180.0);
    Plot yaw;
    const CGraphProps& y = yaw.Add(13, d);
    EXPECT_EQ(YAt(y, 3), 0.0);
    EXPECT_EQ(YAt(y, 4), 360.0);
    EXPECT_EQ(YAt(y, 5), 90.0);

    d.slipAngle[2] = static_cast<std::uint16_t>(-7);
    EXPECT_EQ(YAt(Plot().Add(4, d), 2), -7.0);

    d.throttle[2] = 255;
    EXPECT_DOUBLE_EQ(YAt(Plot().Add(22, d), 2), 100.0);
    EXPECT_EQ(Plot().Add(23, d).Count(), 7);  // released brake is plotted

    d.speed[2] = 200.0;
    Plot mph;
    EXPECT_NEAR(YAt(mph.Add(1, d, 1), 2), 124.2, 1e-9);
    EXPECT_EQ(mph.Range(), (GraphRange{0, 7, 0, 250}));

    d.rideHeightM[2] = 0.30;
    EXPECT_NEAR(YAt(Plot().Add(8, d), 2), 30.0, 1e-9);
    EXPECT_NEAR(YAt(Plot().Add(8, d, 1), 2), 11.811, 1e-9);

    d.oilTemperature[2] = 100, d.oilPressure[2] = 50;
    EXPECT_DOUBLE_EQ(YAt(Plot().Add(19, d), 2), 248.0);
    EXPECT_DOUBLE_EQ(YAt(Plot().Add(15, d), 2), 40.25);

    GetRpyInfo lat = HandLap(20);
    lat.accelCarLat[12] = 0.3, lat.accelCarLat[13] = 0.5;
    EXPECT_NEAR(YAt(Plot().Add(16, lat), 13), 7.2, 1e-12);
    Plot latRange;
    latRange.Add(6, lat);
    EXPECT_DOUBLE_EQ(latRange.ranges.yHigh, 1.0);
    EXPECT_DOUBLE_EQ(latRange.ranges.yLow, -0.5);

    const LockedWheels none;
    EXPECT_EQ(YAt(Plot().Add(17, d, 0, 2, &none), 2), 0.0);
}

TEST(ChannelBuilders, SampleWindowsAndShortLaps) {
    const GetRpyInfo six = HandLap(6);
    Plot p;
    const CGraphProps& rpm = p.Add(3, six);
    ASSERT_EQ(rpm.Count(), 3);
    EXPECT_EQ(rpm.At(0).x, 2);
    EXPECT_EQ(rpm.At(2).x, 4);
    EXPECT_EQ(Plot().Add(1, six).Count(), 2);

    Plot five;
    EXPECT_EQ(five.Add(3, HandLap(5)).Count(), 0);
    EXPECT_EQ(five.ranges.xExtent, 1.0);

    EXPECT_EQ(Plot().Add(2, HandLap(10)).Count(), 0);  // all neutral
}

TEST(ChannelBuilders, ASecondLapKeepsTheAxesAndElapsedTimeGrows) {
    Plot p;
    p.Add(3, HandLap(10));
    EXPECT_EQ(p.Range(), (GraphRange{0, 8, 400, 10000}));
    p.Add(3, HandLap(30));
    EXPECT_EQ(p.Range(), (GraphRange{0, 8, 400, 10000}));
    EXPECT_EQ(p.ranges.xExtent, 28);

    Plot t;
    t.Add(14, HandLap(38));
    EXPECT_EQ(t.Range(), (GraphRange{0, 36, 0, 1.0}));
    t.Add(14, HandLap(74));
    EXPECT_EQ(t.Range(), (GraphRange{0, 72, 0, 2.0}));
}

TEST(ChannelBuilders, PhysicsRecordsInDisplayUnits) {
    GetRpyInfo d = HandLap(10, true);
    PutFloat(d, 3, 2, 16 * 2 + 4, 80.0f);    // tyre, left rear, middle
    PutFloat(d, 3, 2, 16 * 1 + 12, 200.0f);  // tyre pressure, right front
    PutFloat(d, 2, 2, 16 * 0 + 8, 0.05f);    // camber
    PutFloat(d, 2, 2, 16 * 0 + 0, 100.0f);   // rotation
    PutFloat(d, 2, 2, 16 * 0 + 12, 4000.0f);
    PutFloat(d, 2, 2, 16 * 0 + 4, 0.05f);
    PutFloat(d, 4, 2, 4, 100000.0f);
    PutFloat(d, 3, 3, 16 * 2 + 4, std::nanf(""));
    Plot p;
    const CGraphProps& middle = p.Add(32, d, 0, 2);
    EXPECT_EQ(middle.colour, (Rgb{9, 9, 9}));
    EXPECT_DOUBLE_EQ(YAt(middle, 2), 175.99999618530273);
    EXPECT_EQ(middle.Count(), 6);  // not a number is left out
    EXPECT_TRUE(std::isnan(YAt(middle, 3)));
    EXPECT_EQ(p.Range(), (GraphRange{0, 8, 60, 300}));
    EXPECT_NEAR(YAt(Plot().Add(34, d, 0, 1), 2), 29.00753915, 1e-8);
    EXPECT_NEAR(YAt(Plot().Add(35, d), 2), 2.86479134, 1e-8);
    EXPECT_NEAR(YAt(Plot().Add(38, d), 2), 15.9155072, 1e-7);
    EXPECT_NEAR(YAt(Plot().Add(24, d), 2), 134.1021853, 1e-7);
    EXPECT_NEAR(YAt(Plot().Add(36, d), 2), 899.2000222, 1e-7);
    EXPECT_NEAR(YAt(Plot().Add(37, d), 2), 1.9686001, 1e-7);

    PutFloat(d, 1, 2, 16, 10.0f);
    PutFloat(d, 1, 3, 16, 10.1f);
    PutFloat(d, 1, 4, 16, 10.1f);
    EXPECT_NEAR(YAt(Plot().Add(26, d), 3), 0.36709923, 1e-6);
    EXPECT_NEAR(YAt(Plot().Add(28, d), 3), 1.0, 1e-6);
    EXPECT_TRUE(std::isnan(YAt(Plot().Add(27, d), 3)));

    // Without physics: an empty series and the ranges as they were.
    Plot none;
    none.graph.SetRange(0, 5, 0, 5, 0);
    EXPECT_EQ(none.Add(25, HandLap(10)).Count(), 0);
    EXPECT_EQ(none.Range(), (GraphRange{0, 5, 0, 5}));
    EXPECT_EQ(none.ranges.xExtent, 1.0);

    // Advanced channels take the longer lap's x.
    Plot two;
    two.Add(24, d);
    two.Add(24, [] {
        GetRpyInfo l = HandLap(20, true);
        PutFloat(l, 4, 5, 4, 1.0f);
        return l;
    }());
    EXPECT_EQ(two.Range().x2, 18);
}

TEST(ChannelBuilders, AGraphNobodyListensToGetsTheSameSeries) {
    // Without parts a series takes its points in batches; it must end as one
    // that hears of every point does, also where the car stands, goes back,
    // or a value is not a number.
    GetRpyInfo d = HandLap(700, true);
    for (std::size_t i = 0; i < d.distanceM.size(); ++i) {
        const double k = static_cast<double>(i);
        d.distanceM[i] = i < 100   ? k
                         : i < 120 ? 100.0
                         : i < 400 ? k - 19.0
                         : i < 410 ? 380.0 - (k - 400.0) * 2.5
                                   : k - 29.0;
        d.speed[i] = d.accelCarLat[i] = std::sin(k / 7.0) * 90.0;
        d.gear[i] = static_cast<std::int16_t>(i / 50 % 4);
        for (int b = 1; b <= 4; ++b)
            for (std::size_t at = 0; at + 4 <= kEngineBlockSize[b]; at += 4)
                PutFloat(d, b, static_cast<int>(i), at, std::cos(static_cast<float>(k + at)) * 3.0f);
    }
    d.speed[40] = NAN;
    PutFloat(d, 2, 41, 0, NAN);
    const auto same = [](const void* a, const void* b, std::size_t n) { return std::memcmp(a, b, n) == 0; };
    for (const ChannelInfo& c : Channels())
        for (int w = 0; w < (c.perWheel ? 4 : 1); ++w) {
            Plot heard;
            GraphModel alone(32);
            BuilderRanges ranges;
            const CGraphProps& a = heard.Add(c.code, d, 0, w);
            BuilderLap lap{&d, nullptr, Rgb{1, 2, 3}, {Rgb{}, Rgb{}, Rgb{9, 9, 9}, Rgb{}}};
            const CGraphProps& b = *alone.GetGraph(AddChannelSeries(alone, c.code, 0, w, lap, 0, ranges));
            ASSERT_EQ(a.Count(), b.Count()) << c.code;
            EXPECT_TRUE(same(a.Points().data(), b.Points().data(), sizeof(Point2D) * a.Points().size())) << c.code;
            EXPECT_TRUE(same(&a.Minimum(), &b.Minimum(), sizeof(Point2D))) << c.code;
            EXPECT_TRUE(same(&a.Maximum(), &b.Maximum(), sizeof(Point2D))) << c.code;
            EXPECT_TRUE(same(&heard.ranges, &ranges, sizeof ranges)) << c.code;
        }
}
