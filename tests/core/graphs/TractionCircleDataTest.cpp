#include "core/graphs/TractionCircleData.h"

#include "core/graphs/SliderSelection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vra {
namespace {

using Move = SliderSelection::Move;

// A lap of n samples one metre apart: raw 1000 + 2000 (i - 2), steps of 2000
// at both ends, lateral g = i / 1000 and longitudinal -i / 1000 in the
// car's frame, the travel frame twice that.
struct Lap {
    explicit Lap(int n) {
        for (int i = 0; i < n; ++i) {
            raw.push_back(std::uint32_t(1000 + 2000 * (i - 2) + (i < 2 ? 4000 : 0)));
            dist.push_back(raw.back() * 0.0005);
            lat.push_back(i / 1000.0);
            lon.push_back(-i / 1000.0);
            tLat.push_back(2 * i / 1000.0);
            tLon.push_back(-2 * i / 1000.0);
        }
    }
    TractionLap View(std::int64_t first = 2000, std::int64_t last = 2000) const {
        return {int(raw.size()), dist, raw, lat, lon, tLat, tLon, first, last};
    }
    std::vector<std::uint32_t> raw;
    std::vector<double> dist, lat, lon, tLat, tLon;
};

double raw(const Lap& lap, int i) {
    return lap.raw[std::size_t(i)];
}

const PlotGeometry kPlot{100.0, {350, 300}};

TEST(TractionCircleData, RangeAndTimeOverAStretch) {
    const Lap lap(1200);
    LapTrace t = TraceLap(lap.View(), 100, 200, 1198, true, kPlot);
    EXPECT_EQ(t.first, 102);
    EXPECT_EQ(t.last, 202);
    ASSERT_TRUE(t.seconds);
    EXPECT_EQ(RangeTimeText(*t.seconds), "2.77");
    ASSERT_EQ(t.points.size(), 101u);
    EXPECT_EQ(t.points.front(), (PlotPoint{350 + 10, 300 - 10}));  // 0.102 g x 100
    EXPECT_EQ(TraceLap(lap.View(), 100, 200, 1198, false, kPlot).points.front(), (PlotPoint{370, 280}));

    // The whole lap: each end timed by the lap's own end steps; samples 2 to
    // count - 2 lie on it, so 1196 intervals and half a step at each end.
    t = TraceLap(lap.View(4000, 4000), 0, 1198, 1198, true, kPlot);
    EXPECT_EQ(t.first, 2);
    EXPECT_NEAR(*t.seconds, (1000.0 / 4000 + 1196 - (raw(lap, 1198) - 2000.0 * 1198) / 4000) / 36, 1e-9);
    // The trace never starts before sample 12.
    EXPECT_EQ(t.points.front(), (PlotPoint{350 + 1, 300 - 1}));

    // A step that does not move forward drops its term instead of dividing.
    t = TraceLap(lap.View(0, 0), 0, 1198, 1198, true, kPlot);
    EXPECT_NEAR(*t.seconds, 1196 / 36.0, 1e-9);
    // No sample reaches the start: the last on the lap stands for it.
    t = TraceLap(lap.View(), 5000, 6000, 6000, true, kPlot);
    EXPECT_EQ(t.first, 1198);
    EXPECT_EQ(t.last, 1198);
}

TEST(TractionCircleData, ShortLapsAndNegativeTimes) {
    // Fewer than 13 samples: no trace, but a time.
    const LapTrace t = TraceLap(Lap(12).View(), 0, 5, 100, true, kPlot);
    EXPECT_TRUE(t.points.empty());
    EXPECT_TRUE(t.seconds);
    EXPECT_FALSE(TraceLap(Lap(3).View(), 0, 1, 100, true, kPlot).seconds);
    // With 13 samples the lap ends on sample 11 and sample 12 has crossed the
    // line: still nothing to draw. With 14 the trace is sample 12 alone.
    const PlotGeometry fine{1000.0, {350, 300}};
    const LapTrace thirteen = TraceLap(Lap(13).View(), 0, 100, 100, true, fine);
    EXPECT_TRUE(thirteen.points.empty());
    EXPECT_TRUE(thirteen.seconds);
    const LapTrace fourteen = TraceLap(Lap(14).View(), 0, 100, 100, true, fine);
    ASSERT_EQ(fourteen.points.size(), 1u);
    EXPECT_EQ(fourteen.points[0], (PlotPoint{350 + 12, 300 - 12}));  // 0.012 g x 1000
    // A range that ends before the trace's first sample: one point.
    const LapTrace early = TraceLap(Lap(100).View(), 2, 3, 100, true, kPlot);
    EXPECT_EQ(early.points.size(), 1u);
    EXPECT_EQ(early.last, 12);
    EXPECT_EQ(RangeTimeText(-0.05), "-0.05");
    EXPECT_EQ(RangeTimeText(12.349), "12.34");
    EXPECT_EQ(RangeTimeText(0.0), "0.00");
}

TEST(TractionCircleData, SliderRangeAndPlotGeometry) {
    EXPECT_EQ(RangeFromSlider(100, 300, 250), (TrackRange{100, 300}));
    EXPECT_EQ(RangeFromSlider(-1, -1, 500), (TrackRange{499, 500}));
    EXPECT_EQ(RangeFromSlider(-1, -1, 0), (TrackRange{0, 1}));

    const PlotGeometry g = PlotGeometryFor(701, 351);
    EXPECT_DOUBLE_EQ(g.scale, 351 / 7.0);
    EXPECT_EQ(g.centre, (PlotPoint{350, 175}));
    const std::vector<PlotPoint> c = CirclePoints(g, 3);
    ASSERT_EQ(c.size(), 361u);
    const int r = int(3 * 351 / 7.0);  // 150
    EXPECT_EQ(c[0], (PlotPoint{350 + r, 175}));
    EXPECT_EQ(c[90], (PlotPoint{350, 175 + r}));
    EXPECT_EQ(c[180], (PlotPoint{350 - r, 175}));
    EXPECT_EQ(c[360], c[0]);
}

TEST(SliderSelection, ShiftMovesSelectFromTheirAnchor) {
    SliderSelection sel;
    SliderSelection::Change c;
    bool has = false;
    auto move = [&](Move m, int p, bool shift) {
        c = sel.OnMove(m, p, 1, 10, shift, has);
        if (c.clear) has = false;
        if (c.select) has = true;
    };
    // From 100, 200 line-downs with Shift.
    for (int p = 101; p <= 300; ++p) move(Move::LineDown, p, true);
    EXPECT_EQ(c.select, (std::pair{100, 300}));
    // The drag ends with Shift held: the anchor stays for the next move.
    move(Move::EndTracking, 300, true);
    EXPECT_EQ(sel.Anchor(), 100);
    move(Move::Position, 50, true);
    EXPECT_EQ(c.select, (std::pair{50, 100}));
    // Ended without Shift, then moved without Shift: cleared and forgotten.
    move(Move::EndTracking, 50, false);
    move(Move::Position, 60, false);
    EXPECT_TRUE(c.clear);
    EXPECT_FALSE(c.select);
    EXPECT_EQ(sel.Anchor(), -1);
    // A thumb drag anchors at the first position it tracks.
    move(Move::Position, 70, true);
    move(Move::Position, 90, true);
    EXPECT_EQ(c.select, (std::pair{70, 90}));
    // Page steps start where the thumb stood before the step.
    SliderSelection page;
    EXPECT_EQ(page.OnMove(Move::PageUp, 40, 1, 10, true, false).select, (std::pair{40, 50}));
}

}  // namespace
}  // namespace vra
