#include "core/track/SpdTrkVisitor.h"

#include "TrackTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vra::testing {
namespace {

void ExpectPoint(const Point2D& p, double x, double y) {
    EXPECT_NEAR(p.x, x, 1e-6);
    EXPECT_NEAR(p.y, y, 1e-6);
}

TEST(SpdTrkVisitor, ColoursGrowFromBlackToFullGreenOrRed) {
    EXPECT_EQ(SpdTrkVisitor::StripeColour(20, -5, 20), (Rgb{5, 255, 0}));
    EXPECT_EQ(SpdTrkVisitor::StripeColour(-20, -20, 5), (Rgb{255, 0, 0}));
    EXPECT_EQ(SpdTrkVisitor::StripeColour(10, -5, 20), (Rgb{2, 127, 0}));
    EXPECT_EQ(SpdTrkVisitor::StripeColour(-5, -5, 20), (Rgb{63, 0, 0}));
    EXPECT_EQ(SpdTrkVisitor::StripeColour(30, -20, 20), (Rgb{5, 255, 0}));  // beyond a manual range: full
    EXPECT_EQ(SpdTrkVisitor::StripeColour(0, 0, 0), (Rgb{0, 0, 0}));        // identical laps
    // A manual range of 0: any difference is beyond it.
    EXPECT_EQ(SpdTrkVisitor::StripeColour(3, 0, 0), (Rgb{5, 255, 0}));
    EXPECT_EQ(SpdTrkVisitor::StripeColour(-0.5, 0, 0), (Rgb{255, 0, 0}));
    EXPECT_EQ(SpdTrkVisitor::StripeColour(std::nan(""), -1, 1), (Rgb{0, 0, 0}));
}

TEST(SpdTrkVisitor, CutsPiecesAtTheBinBoundariesIntoBandsAroundTheLine) {
    // 100 m straight along x, then a quarter circle of radius 50 to the left.
    const auto path = PathOf(TrackLayout().straight(100).left(50, 90));
    const double length = path->Length();
    const double corner = 25.0 * std::numbers::pi;
    ASSERT_NEAR(length, 100.0 + corner, 1e-6);
    const std::vector<double> bins = {10, -5, 0, 20};
    SpdTrkVisitor visitor(length, bins, false, 0);
    path->VisitPieces(visitor);
    EXPECT_EQ(visitor.ScaleMinimum(), -5);
    EXPECT_EQ(visitor.ScaleMaximum(), 20);
    const auto& s = visitor.Stripes();
    // Straight: two full bins and the start of the third; the corner: the
    // rest of the third and the fourth (a last cut at the very end may add
    // an empty stripe in the last bin's colour).
    ASSERT_GE(s.size(), 5u);
    ASSERT_LE(s.size(), 6u);
    const double step = length / 4;
    ASSERT_EQ(s[0].points.size(), 4u);
    ExpectPoint(s[0].points[0], 0, -10);
    ExpectPoint(s[0].points[1], 0, 10);
    ExpectPoint(s[0].points[2], step, 10);
    ExpectPoint(s[0].points[3], step, -10);
    EXPECT_EQ(s[0].colour, (Rgb{2, 127, 0}));
    EXPECT_EQ(s[1].colour, (Rgb{63, 0, 0}));
    EXPECT_EQ(s[2].colour, (Rgb{0, 0, 0}));
    ExpectPoint(s[2].points[2], 100, 10);
    // The corner's first stripe runs on to the third boundary, a point every
    // half metre on each side, the inner side walked back.
    const auto& bend = s[3];
    const double span = 3 * step - 100;
    const std::size_t n = std::size_t(2 * span);
    ASSERT_EQ(bend.points.size(), 2 * (n + 1));
    EXPECT_EQ(bend.colour, (Rgb{0, 0, 0}));
    const Segment& piece = path->PieceAt(1);
    auto at = [&](double d, double lateral) { return piece.PositionAt(d, lateral); };
    ExpectPoint(bend.points[0], at(0, 10).x, at(0, 10).y);
    ExpectPoint(bend.points[1], at(span / double(n), 10).x, at(span / double(n), 10).y);
    ExpectPoint(bend.points[n], at(span, 10).x, at(span, 10).y);
    // Point i lies at i (b - a) / n, worked out in that order.
    for (std::size_t i : {20u, 42u, 45u, 63u}) {
        EXPECT_EQ(bend.points[i].x, at(double(i) * span / double(n), 10).x) << i;
        EXPECT_EQ(bend.points[i].y, at(double(i) * span / double(n), 10).y) << i;
    }
    ExpectPoint(bend.points[n + 1], at(span, -10).x, at(span, -10).y);
    ExpectPoint(bend.points.back(), at(0, -10).x, at(0, -10).y);
    for (std::size_t i = 4; i < s.size(); ++i) EXPECT_EQ(s[i].colour, (Rgb{5, 255, 0}));
    // The bounds hold every band point.
    EXPECT_NEAR(visitor.Bounds().Box().minY, -10, 1e-6);
    EXPECT_NEAR(visitor.Bounds().Box().maxX, 160, 1e-6);
}

TEST(SpdTrkVisitor, AShortCornerStillGivesOneStripeAndAManualRangeSetsTheScale) {
    const auto path = PathOf(TrackLayout().straight(100).left(10, 1.5));  // a corner of 0.26 m
    const std::vector<double> bins = {3};
    SpdTrkVisitor visitor(path->Length(), bins, true, 20);
    path->VisitPieces(visitor);
    EXPECT_EQ(visitor.ScaleMinimum(), -20);
    EXPECT_EQ(visitor.ScaleMaximum(), 20);
    ASSERT_EQ(visitor.Stripes().size(), 2u);
    EXPECT_EQ(visitor.Stripes()[1].points.size(), 4u);

    // No bins at all: one black stripe a piece, no endless cutting.
    SpdTrkVisitor empty(path->Length(), {}, false, 0);
    path->VisitPieces(empty);
    ASSERT_EQ(empty.Stripes().size(), 2u);
    EXPECT_EQ(empty.Stripes()[0].colour, (Rgb{0, 0, 0}));
}

}  // namespace
}  // namespace vra::testing
