#include "core/graphs/AxisScale.h"

#include "core/graphs/PanelRange.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vra;
using ::testing::DoubleNear;
using ::testing::ElementsAre;
using ::testing::Pointwise;

namespace {
constexpr double kFifth = static_cast<double>(0.2f);
}

TEST(AxisScale, TicksStopShortOfAnEndTheStepsOvershoot) {
    const AxisTicks t = AxisScale(0, 200, 0, 10).ComputeTicks(5);
    EXPECT_EQ(t.exponent, 1);
    EXPECT_EQ(t.step, kFifth);
    EXPECT_THAT(t.positions, Pointwise(DoubleNear(1e-5), {0.0, 40.0, 80.0, 120.0, 160.0}));
    EXPECT_DOUBLE_EQ(t.values[1], 10 * kFifth);

    const AxisTicks r = AxisScale(200, 0, 10, 0).ComputeTicks(5);
    EXPECT_THAT(r.values, Pointwise(DoubleNear(1e-6), {8.0, 6.0, 4.0, 2.0, 0.0}));
}

TEST(AxisScale, TicksOfSmallNegativeAndWideRanges) {
    const AxisTicks small = AxisScale(0, 200, 0, 0.05).ComputeTicks(5);
    EXPECT_EQ(small.exponent, -2);
    EXPECT_EQ(small.step, 1.0);
    EXPECT_EQ(small.Count(), 6);

    const AxisTicks sym = AxisScale(0, 300, -1, 1).ComputeTicks(4);
    EXPECT_EQ(sym.exponent, 0);
    EXPECT_EQ(sym.step, 0.5);
    EXPECT_THAT(sym.positions, Pointwise(DoubleNear(1e-9), {0.0, 75.0, 150.0, 225.0, 300.0}));

    const AxisTicks wide = AxisScale(0, 500, 0, 350).ComputeTicks(10);
    EXPECT_EQ(wide.exponent, 2);
    EXPECT_THAT(wide.values, ElementsAre(0, 50, 100, 150, 200, 250, 300, 350));
}

TEST(AxisScale, DegenerateRangesStayBoundedAndFinite) {
    // Negative or adjacent values narrow only so far.
    EXPECT_LE(AxisScale(0, 100, -5.0, std::nextafter(-5.0, 0.0)).ComputeTicks(5).Count(), 10);
    EXPECT_EQ(AxisScale(0, 100, 0, 5e-324).ComputeTicks(5).Count(), 0);
    EXPECT_EQ(AxisScale(0, 100, 0, std::numeric_limits<double>::infinity()).ComputeTicks(5).Count(), 0);

    const AxisScale flat(0, 100, 3, 3);
    EXPECT_EQ(flat.ToPixel(50), 0);
    EXPECT_EQ(flat.ToValue(40), 3);
    const AxisScale normal(0, 100, 0, 1);
    EXPECT_EQ(normal.ToPixel(1e300), 1 << 30);
    EXPECT_EQ(normal.ToPixel(-std::numeric_limits<double>::infinity()), -(1 << 30));
    EXPECT_EQ(normal.ToPixel(std::nan("")), 0);
}

TEST(PanelRange, MapsPansFitsAndZooms) {
    PanelRange p;
    p.SetRange({0, 100, 0, 10});
    p.Resize(201, 100);
    EXPECT_EQ(p.XScale().ToPixel(50), 100);

    PanelRange pan;
    pan.SetRange({0, 100, 0, 10});
    pan.Resize(200, 100);
    const GraphRange moved = pan.Panned(50, 20, 60, 20);
    EXPECT_DOUBLE_EQ(moved.x1, -5);
    EXPECT_DOUBLE_EQ(moved.x2, 95);
    EXPECT_DOUBLE_EQ(moved.y1, 0);

    EXPECT_EQ(*pan.Extended(120, 5), (GraphRange{0, 120, 0, 10}));
    EXPECT_FALSE(pan.Extended(50, 5));

    EXPECT_EQ(pan.Fitted(4103, 100, 2500, -3, 3), (GraphRange{100, 2500, 0, 10}));
    EXPECT_EQ(pan.Fitted(4105, 7, 7, 2, 2), (GraphRange{6, 8, 1, 3}));

    EXPECT_FALSE(pan.Zoomed(10, 30, 50, 30));  // a flat rubber band
    const GraphRange z = *pan.Zoomed(0, 0, 100, 50);
    EXPECT_DOUBLE_EQ(z.x2, 50);
    EXPECT_DOUBLE_EQ(z.y1, 5);
    EXPECT_DOUBLE_EQ(z.y2, 10);
    EXPECT_EQ(pan.Toggled(kPointMarks | kGrid), kExtendRange);
}
