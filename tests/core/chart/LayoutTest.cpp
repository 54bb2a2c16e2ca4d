#include "FixedMeasurer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

namespace vra {
namespace {

using test::ExampleChart;
using ::testing::ElementsAre;

std::vector<int> TickPositions(const CXGraphAxis& a) {
    std::vector<int> out;
    for (const auto& t : a.ticks) out.push_back(t.pos);
    return out;
}

TEST(Layout, PlacesAxesAroundThePlotAndTicksWithoutDrift) {
    ExampleChart c;
    EXPECT_EQ(c.model.plotRect, (Rect{51, 5, 395, 272}));
    EXPECT_EQ(c.y().step, 10.0);
    EXPECT_EQ(c.y().length, 234);
    EXPECT_THAT(TickPositions(c.y()), ElementsAre(272, 248, 225, 201, 178, 155, 131, 108, 84, 61, 38));
    EXPECT_EQ(c.y().ticks.back().value, 100.0);
    EXPECT_EQ(c.y().ticks.back().text, "100.0");
    EXPECT_EQ(c.x().step, 20.0);
    EXPECT_EQ(c.x().length, 298);
    // x ticks start one pixel left of the data and stop before the maximum.
    EXPECT_THAT(TickPositions(c.x()), ElementsAre(50, 109, 169, 228, 288));
    EXPECT_EQ(c.x().rect, (Rect{50, 267, 375, 277}));

    // Value and pixel map back and forth.
    EXPECT_EQ(c.x().GetPointForValue({50, 50}).x, 200);
    EXPECT_EQ(c.y().GetPointForValue({50, 50}).y, 155);
    EXPECT_DOUBLE_EQ(c.x().GetValueForPos(200), 50);
    EXPECT_DOUBLE_EQ(c.y().GetValueForPos(155), 50);

    // The grid replaces every tick but the one at the origin.
    EXPECT_EQ(c.y().ticks[0].lineTo, (IPoint{c.y().originX, 272}));
    EXPECT_EQ(c.y().ticks[1].lineTo, (IPoint{395, 248}));
}

// Minute steps on dates carry rounding far above a billionth of a step:
// a y axis still ends on its top tick, an x axis still has none at its end.
TEST(Layout, MinuteTicksOnDatesKeepTheirEnds) {
    ChartModel m;
    test::FixedMeasurer measurer;
    m.legend = false;
    const Point2D pts[] = {{0, 0}, {1, 1}};
    m.SetData(pts, 2, 0, 0, 0);
    const double minute = 60 / 86400.0;
    for (auto* a : {&m.GetXAxis(0), &m.GetYAxis(0)}) {
        a->autoscale = false;
        a->timeAxis = true;
        a->labelFormat = "%H:%M:%S";
    }
    // 14:22 ... 14:40 and 14:20 ... 14:38, eighteen minutes each.
    m.GetYAxis(0).SetRange(45000 + 862 / 1440.0, 45000 + 880 / 1440.0, minute);
    m.GetXAxis(0).SetRange(45000 + 860 / 1440.0, 45000 + 878 / 1440.0, minute);
    ChartLayout::Run(m, measurer, {0, 0, 600, 600});
    const auto& y = m.GetYAxis(0).ticks;
    EXPECT_EQ(y.size(), 19u);
    EXPECT_EQ(y.front().text, "14:22:00");
    EXPECT_EQ(y.back().text, "14:40:00");
    const auto& x = m.GetXAxis(0).ticks;
    EXPECT_EQ(x.size(), 18u);
    EXPECT_EQ(x.front().text, "14:20:00");
    EXPECT_EQ(x.back().text, "14:37:00");
}

TEST(Layout, DecimalTicksKeepTheirLastValue) {
    ChartModel m;
    test::FixedMeasurer measurer;
    m.legend = false;
    const Point2D pts[] = {{0, 0}, {1, 0.3}};
    m.SetData(pts, 2, 0, 0, 0);
    m.GetYAxis(0).autoscale = false;
    m.GetYAxis(0).SetRange(0, 0.3, 0.1);
    m.GetXAxis(0).autoscale = false;
    m.GetXAxis(0).SetRange(0, 1, 0.1);
    ChartLayout::Run(m, measurer, {0, 0, 400, 300});
    ASSERT_EQ(m.GetYAxis(0).ticks.size(), 4u);
    EXPECT_EQ(m.GetYAxis(0).ticks[3].value, 0.3);
    ASSERT_EQ(m.GetXAxis(0).ticks.size(), 10u);
    EXPECT_EQ(m.GetXAxis(0).ticks[9].value, 0.9);
    EXPECT_EQ(m.GetXAxis(0).ticks[9].text, "  0.9");
}

TEST(Layout, TinyStepsAndTinyWindowsStayBounded) {
    ChartModel m;
    test::FixedMeasurer measurer;
    const Point2D pts[] = {{0, 0}, {1, 1}};
    m.SetData(pts, 2, 0, 0, 0);
    m.GetYAxis(0).autoscale = false;
    ASSERT_TRUE(m.GetYAxis(0).SetRange(0, 1e9, 1e-9));
    ChartLayout::Run(m, measurer, {0, 0, 400, 300});
    EXPECT_LE(m.GetYAxis(0).ticks.size(), 400u);
    EXPECT_GE(m.GetYAxis(0).ticks.size(), 2u);
    for (auto size : {Rect{0, 0, 1, 1}, Rect{0, 0, 39, 39}, Rect{0, 0, 0, 0}}) {
        ChartLayout::Run(m, measurer, size);
        EXPECT_GE(m.GetYAxis(0).length, 1);
        EXPECT_GE(m.GetXAxis(0).length, 1);
        EXPECT_LE(m.GetYAxis(0).ticks.size(), 4u);
    }
}

TEST(Layout, MapsOutsideValuesTowardZeroAndClampsDeepZooms) {
    ExampleChart c;
    auto& x = c.x();
    x.length = 100;
    x.curMin = 0;
    x.curMax = 10;
    c.model.plotRect.left = 0;
    EXPECT_EQ(x.GetPointForValue({-0.25, 0}).x, -2);
    x.curMax = 1e-300;
    EXPECT_EQ(x.GetPointForValue({1, 0}).x, c.model.plotRect.right + 32768);
}

TEST(Layout, LegendTakesItsSideEvenWhenEmpty) {
    ChartModel m;
    test::FixedMeasurer measurer;
    const Point2D pts[] = {{0, 0}, {100, 100}};
    m.SetData(pts, 2, 0, 0, 0)->visible = false;
    ChartLayout::Run(m, measurer, {0, 0, 400, 300});
    EXPECT_EQ(m.legendBox, (Rect{395 - 16 - 10, 15, 385, 17}));
    EXPECT_EQ(m.plotRect.right, 395 - 36);
    m.curves[0].visible = true;
    m.curves[0].name = "Laptime";
    ChartLayout::Run(m, measurer, {0, 0, 400, 300});
    ASSERT_EQ(m.legendEntries.size(), 1u);
    EXPECT_EQ(m.legendEntries[0].rect.height(), 13);
    EXPECT_EQ(m.legendBox.width(), 7 * 7 + 16);
}

TEST(Layout, AlternatingAxesTakeTheSidesInTurn) {
    ChartModel m;
    test::FixedMeasurer measurer;
    const Point2D pts[] = {{0, 0}, {1, 1}};
    m.SetData(pts, 2, 0, 0, 0);
    m.SetData(pts, 2, 1, 0, 1);
    m.SetData(pts, 2, 2, 0, 2);
    m.GetYAxis(1).placement = 1;
    ChartLayout::Run(m, measurer, {0, 0, 400, 300});
    EXPECT_EQ(m.GetYAxis(0).placement, 0);
    EXPECT_EQ(m.GetYAxis(1).placement, 1);
    EXPECT_EQ(m.GetYAxis(2).placement, 1);
    EXPECT_GT(m.GetYAxis(1).originX, m.GetYAxis(2).originX);
}

TEST(Layout, CurvesBreakAtMissingPointsAndKeepMarkersBounded) {
    ChartModel m;
    test::FixedMeasurer measurer;
    m.legend = false;
    std::vector<Point2D> pts;
    for (int i = 0; i < 25; ++i) pts.push_back({double(i), double(i % 5)});
    pts[11].y = NAN;
    auto* c = m.SetData(pts.data(), 25, 0, 0, 0);
    c->showMarkers = true;
    // A plot of 444 pixels has room for 11 markers: every second point gets one.
    ChartLayout::Run(m, measurer, {0, 0, 500, 300});
    ASSERT_EQ(m.plotRect.width(), 444);
    EXPECT_EQ(m.curves[0].runs.size(), 2u);
    EXPECT_EQ(m.curves[0].markerCorners.size(), 13u);
    // A plot narrower than four markers still draws point 0 without dividing by zero.
    ChartLayout::Run(m, measurer, {0, 0, 39, 300});
    EXPECT_FALSE(m.curves[0].markerCorners.empty());
    m.curves[0].markerSize = 0;
    ChartLayout::Run(m, measurer, {0, 0, 500, 300});
    EXPECT_TRUE(m.curves[0].markerCorners.empty());
}

TEST(Layout, DenseColumnsKeepFirstLowestHighestLast) {
    ChartModel m;
    test::FixedMeasurer measurer;
    m.legend = false;
    std::vector<Point2D> pts;
    for (int i = 0; i < 10000; ++i) pts.push_back({i / 10000.0, std::sin(i * 0.37)});
    m.SetData(pts.data(), int(pts.size()), 0, 0, 0);
    ChartLayout::Run(m, measurer, {0, 0, 400, 300});
    const auto& run = m.curves[0].runs.at(0);
    EXPECT_LE(run.size(), 4u * 400);
    ChartLayout::Run(m, measurer, {0, 0, 400, 300}, false);
    int lo = 1 << 30, hi = -(1 << 30);
    for (const auto& p : m.curves[0].runs[0]) lo = std::min(lo, p.y), hi = std::max(hi, p.y);
    ChartLayout::Run(m, measurer, {0, 0, 400, 300}, true);
    int rlo = 1 << 30, rhi = -(1 << 30);
    for (const auto& p : m.curves[0].runs[0]) rlo = std::min(rlo, p.y), rhi = std::max(rhi, p.y);
    EXPECT_EQ(lo, rlo);
    EXPECT_EQ(hi, rhi);
}

TEST(Layout, ACurveGivenPartOfItsOwnPointsKeepsThem) {
    ChartModel m;
    std::vector<Point2D> pts;
    for (int i = 0; i < 6; ++i) pts.push_back({double(i), double(10 * i)});
    m.SetData(pts.data(), 6, 0, 0, 0);
    // The curve's own buffer as the source, shorter and then as long.
    m.SetData(m.curves[0].points.data() + 3, 3, 0, 0, 0);
    ASSERT_EQ(m.curves[0].Count(), 3);
    EXPECT_EQ(m.curves[0].points[0].y, 30.0);
    EXPECT_EQ(m.curves[0].points[2].y, 50.0);
    m.SetData(m.curves[0].points.data(), 3, 0, 0, 0);
    EXPECT_EQ(m.curves[0].points[1].y, 40.0);
}

}  // namespace
}  // namespace vra
