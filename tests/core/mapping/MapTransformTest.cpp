#include "core/mapping/MapTransform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vra;

TEST(RoundToInt, HalfAwayFromZeroAndSaturated) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    const std::pair<double, std::int32_t> cases[] = {
        {2.5, 3},         {-2.5, -3},   {2.49, 2},     {-2.49, -2},
        {0.0, 0},         {1e12, kMax}, {-1e12, kMin}, {std::numeric_limits<double>::infinity(), kMax},
        {std::nan(""), 0}};
    for (const auto& [v, rounded] : cases) EXPECT_EQ(MapTransform::RoundToInt(v), rounded) << v;
}

// A box 100 m wide and 50 m high into a 1000 x 1000 canvas with margins 50:
// 900 units of room each way, so 100 m take 900 units (scale 1/9 m per
// unit), the box is 450 units high and sits (900 - 450) / 2 = 225 units
// below the top margin.
TEST(MapTransform, FitCentresTheBoxInsideTheMargins) {
    MapTransform t;
    const WorldBox box{-20.0, 30.0, 80.0, 80.0};
    ASSERT_TRUE(t.Fit(box, 50, 50, 1000, 1000));
    EXPECT_TRUE(t.IsFitted());
    EXPECT_NEAR(t.Scale(), 100.0 / 900.0, 1e-12);

    EXPECT_EQ(t.MapPoint(box.minX, box.maxY), (DevicePoint{50, 50 + 225}));
    EXPECT_EQ(t.MapPoint(box.maxX, box.minY), (DevicePoint{950, 50 + 225 + 450}));
    EXPECT_EQ(t.MapPoint(30.0, 55.0), (DevicePoint{500, 500}));
}

TEST(MapTransform, AWideCanvasLimitsByHeight) {
    MapTransform t;
    ASSERT_TRUE(t.Fit({0, 0, 100, 100}, 0, 0, 400, 200));
    EXPECT_NEAR(t.Scale(), 0.5, 1e-12);
    EXPECT_EQ(t.MapPoint(0.0, 100.0), (DevicePoint{100, 0}));
    EXPECT_EQ(t.MapPoint(100.0, 0.0), (DevicePoint{300, 200}));
}

TEST(MapTransform, TrackEdgesAlsoGiveUnitsPerMetreOverTheWholeCanvas) {
    MapTransform t;
    ASSERT_TRUE(t.FitToTrackEdges({0, 0, 100, 50}, 50, 50, 1000, 800));
    EXPECT_DOUBLE_EQ(t.UnitsPerMetre(), 10.0);
    MapTransform plain;
    ASSERT_TRUE(plain.Fit({0, 0, 100, 50}, 50, 50, 1000, 800));
    EXPECT_EQ(plain.UnitsPerMetre(), 0.0);
}

TEST(MapTransform, RefusesBoxesAndCanvasesWithoutAMapping) {
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const WorldBox refused[] = {
        {5, 5, 5, 5},                                      // one point
        {10, 0, 0, 10},                                    // min above max
        {nan, 0, 10, 10},                                  // never filled
        {0, 0, inf, 10},  {-1e308, -1e308, 1e308, 1e308},  // extent overflows
    };
    for (const auto& box : refused) {
        MapTransform t;
        ASSERT_TRUE(t.Fit({0, 0, 10, 10}, 0, 0, 100, 100));
        EXPECT_FALSE(t.Fit(box, 0, 0, 100, 100));
        EXPECT_FALSE(t.IsFitted());
    }
    MapTransform t;
    EXPECT_FALSE(t.Fit({0, 0, 10, 10}, 50, 0, 100, 100)) << "no room between the margins";
    EXPECT_FALSE(t.Fit({0, 0, 10, 10}, 0, 0, 0, 0));
    EXPECT_FALSE(t.FitToTrackEdges({3, 3, 3, 3}, 0, 0, 100, 100));
}

TEST(MapTransform, AFlatBoxStillFits) {
    MapTransform t;
    ASSERT_TRUE(t.FitToTrackEdges({0, 7, 100, 7}, 0, 0, 100, 100));
    EXPECT_DOUBLE_EQ(t.Scale(), 1.0);
    EXPECT_DOUBLE_EQ(t.UnitsPerMetre(), 1.0);
    EXPECT_EQ(t.MapPoint(0.0, 7.0), (DevicePoint{0, 50}));
}

TEST(MapTransform, FarPointsSaturateInsteadOfWrapping) {
    MapTransform t;
    ASSERT_TRUE(t.Fit({0, 0, 1, 1}, 0, 0, 1000, 1000));
    const DevicePoint p = t.MapPoint(1e300, -1e300);
    EXPECT_EQ(p.x, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(p.y, std::numeric_limits<std::int32_t>::max());
}
