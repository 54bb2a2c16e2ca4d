#include "core/track/Corner.h"

#include "TrackTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace vra::testing {
namespace {

constexpr double kPi = std::numbers::pi;

double Dist(Point2D a, Point2D b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

const Corner* AsCorner(const Segment& s) {
    return dynamic_cast<const Corner*>(&s);
}

TEST(TrackPieces, CornersTurnTheShortWayAndKeepAtLeastTheirEnds) {
    // Stored headings 3.0 and -3.0: a left turn of 2 pi - 6, not a right turn of 6.
    const double sweep = 2.0 * kPi - 6.0;
    const auto path = PathOf(TrackLayout().startAt(0, 0, 3.0).left(40, sweep * 180.0 / kPi));
    ASSERT_TRUE(AsCorner(path->PieceAt(0)));
    EXPECT_NEAR(AsCorner(path->PieceAt(0))->Sweep(), sweep, 1e-9);
    EXPECT_NEAR(path->Length(), 40.0 * sweep, 1e-9);
    TrackLayout shortOne;
    shortOne.startAt(5, 5, 0.5).left(1.0, 0.4 * 180.0 / kPi);  // 0.4 m long
    const auto small = PathOf(shortOne);
    const ExpectedPiece e = shortOne.Expected()[0];
    ASSERT_TRUE(AsCorner(small->PieceAt(0)));
    EXPECT_EQ(AsCorner(small->PieceAt(0))->PointCount(), 1u);
    const auto& points = small->PieceAt(0).Outline().Points();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_POINT_NEAR(points[0], e.PointAt(0, 0));
    EXPECT_POINT_NEAR(points[1], e.PointAt(e.length, 0));
}

TEST(TrackPieces, LengthsAreTheRootOfTheSumOfTheSquares) {
    // Both pieces span (4.5, 43.75): the squares add up exactly to 1934.3125,
    // whose root rounds to 43.980819683130051 (a hypot may answer ...058).
    SegmentDesc straight;
    straight.endX = 4.5;
    straight.endY = 43.75;
    SegmentDesc corner;
    corner.type = 1;
    corner.startX = 10.0;
    corner.endX = 14.5;
    corner.endY = 43.75;
    corner.endHeading = 1.0;
    const auto path = PathOf({straight, corner});
    const double chord = std::sqrt(1934.3125);
    EXPECT_EQ(path->PieceAt(0).Length(), chord);
    const double radius = std::fabs(chord / (2.0 * std::sin(1.0 / 2.0)));
    EXPECT_EQ(path->PieceAt(1).Length(), std::fabs(1.0 * radius));
    EXPECT_EQ(path->PieceAt(1).StartDistance(), chord);
    EXPECT_EQ(path->Length(), chord + std::fabs(1.0 * radius));
}

TEST(TrackPieces, SurfacesLieBetweenConsecutiveBoundaries) {
    TrackLayout layout;
    layout.straight(60).left(50, 45);
    const auto path = PathOf(layout);
    const auto expected = layout.Expected();
    const auto lines = TrackLayout::DefaultBoundaries();
    const auto& flat = path->PieceAt(0).Surfaces();
    ASSERT_EQ(flat.size(), lines.size() - 1);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const auto& s = flat[k - 1];
        EXPECT_EQ(s.Code(), lines[k - 1].code);
        ASSERT_EQ(s.PointCount(), 4u);
        EXPECT_POINT_NEAR(s.Points()[0], expected[0].PointAt(0, lines[k - 1].startOffset));
        EXPECT_POINT_NEAR(s.Points()[1], expected[0].PointAt(60, lines[k - 1].endOffset));
        EXPECT_POINT_NEAR(s.Points()[2], expected[0].PointAt(60, lines[k].endOffset));
        EXPECT_POINT_NEAR(s.Points()[3], expected[0].PointAt(0, lines[k].startOffset));
    }
    const Corner* corner = AsCorner(path->PieceAt(1));
    ASSERT_TRUE(corner);
    const std::size_t n = corner->PointCount();
    const auto& curved = corner->Surfaces();
    ASSERT_EQ(curved.size(), lines.size() - 1);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        const auto& points = curved[k - 1].Points();
        ASSERT_EQ(points.size(), 2 * n + 4);
        // The first line backwards (end to start), then the next one forwards.
        EXPECT_POINT_NEAR(points.front(), expected[1].PointAt(expected[1].length, lines[k - 1].endOffset));
        EXPECT_POINT_NEAR(points[n + 1], expected[1].PointAt(0, lines[k - 1].startOffset));
        EXPECT_POINT_NEAR(points[n + 2], expected[1].PointAt(0, lines[k].startOffset));
        EXPECT_POINT_NEAR(points.back(), expected[1].PointAt(expected[1].length, lines[k].endOffset));
        for (std::size_t i = 0; i <= n + 1; ++i)
            EXPECT_NEAR(Dist(points[i], corner->Centre()), 50.0 - lines[k - 1].startOffset, kTol);
    }
}

TEST(TrackPieces, WallsBecomePolylinesAndStraightFlaggedCornerLinesChords) {
    TrackLayout layout;
    layout.boundaries({{6, 6, 1, false}, {-6, -6, 2, true}, {-9, -9, 3, false}})
        .walls({{11, 13, 2, false}, {-11, -11, 3, true}})
        .straight(80)
        .left(60, 50);
    const auto path = PathOf(layout);
    const auto expected = layout.Expected();
    const auto& flat = path->PieceAt(0).Polylines();
    ASSERT_EQ(flat.size(), 2u);
    EXPECT_EQ(std::vector<int>({flat[0].Code(), flat[1].Code()}), std::vector<int>({2, 3}));
    ASSERT_EQ(flat[0].Points().size(), 2u);
    EXPECT_POINT_NEAR(flat[0].Points()[0], expected[0].PointAt(0, 11));
    EXPECT_POINT_NEAR(flat[0].Points()[1], expected[0].PointAt(80, 13));
    const Corner* corner = AsCorner(path->PieceAt(1));
    ASSERT_TRUE(corner);
    const std::size_t n = corner->PointCount();
    const ExpectedPiece& e = expected[1];
    const auto& curved = corner->Polylines();
    ASSERT_EQ(curved.size(), 2u);
    ASSERT_EQ(curved[0].Points().size(), n + 2u);
    EXPECT_POINT_NEAR(curved[0].Points().front(), e.PointAt(0, 11));
    EXPECT_POINT_NEAR(curved[0].Points().back(), e.PointAt(e.length, 13));
    ASSERT_EQ(curved[1].Points().size(), 2u);  // the chord
    EXPECT_POINT_NEAR(curved[1].Points()[1], e.PointAt(e.length, -11));
    // In a surface, a straight-flagged boundary is a chord of two points.
    ASSERT_EQ(corner->Surfaces().size(), 2u);
    EXPECT_EQ(corner->Surfaces()[1].PointCount(), 2 + (n + 2));
}

TEST(TrackPieces, WallsFollowTheOutermostBoundariesAndOutlinesTheCentreLine) {
    TrackLayout layout;
    layout.boundaries({{10, 14, 5, false}, {7, 7, 1, false}, {-10, -12, 9, false}})
        .straight(90)
        .left(45, 80)
        .right(70, 35);
    const auto path = PathOf(layout);
    const auto expected = layout.Expected();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ExpectedPiece& e = expected[i];
        const Segment& piece = path->PieceAt(static_cast<std::int32_t>(i));
        for (double s : {0.0, e.length * 0.4, e.length}) {
            EXPECT_POINT_NEAR(piece.FirstWallPositionAt(s), e.PointAt(s, e.OffsetAt(e.fLines.front(), s)));
            EXPECT_POINT_NEAR(piece.LastWallPositionAt(s), e.PointAt(s, e.OffsetAt(e.fLines.back(), s)));
        }
        const auto& outline = piece.Outline().Points();
        EXPECT_POINT_NEAR(outline.front(), e.PointAt(0, 0));
        EXPECT_POINT_NEAR(outline.back(), e.PointAt(e.length, 0));
        if (e.corner) {
            for (const Point2D& p : outline) EXPECT_NEAR(Dist(p, e.centre), e.radius, kTol);
        }
    }
}

TEST(TrackPieces, StraightDrawsItsHighlightedStretchWithLines) {
    const auto path = PathOf(TrackLayout().straight(100).straight(50));
    simkit::RecordingDisplay display;
    path->HighlightRange(20, 60);
    path->PieceAt(0).DrawOnDisplay(display);
    auto lines = display.CallsOf(Op::LineWithPen);
    auto expectLines = [&](std::vector<bool> flags, std::vector<Point2D> ends) {
        ASSERT_EQ(lines.size(), flags.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].flag, flags[i]) << i;
            EXPECT_POINT_NEAR(lines[i].points[0], ends[i]);
            EXPECT_POINT_NEAR(lines[i].points[1], ends[i + 1]);
        }
    };
    expectLines({false, true, false}, {At(0, 0), At(20, 0), At(60, 0), At(100, 0)});
    // Across the boundary: the first piece from 70 to its end, the second from its start to 120.
    path->HighlightRange(70, 120);
    display.Clear();
    path->Draw(display);
    lines = display.CallsOf(Op::LineWithPen),
    expectLines({false, true, true, false}, {At(0, 0), At(70, 0), At(100, 0), At(120, 0), At(150, 0)});
    EXPECT_EQ(display.Count(Op::PolylineWithPen), 0u);
}

TEST(TrackPieces, CornersHighlightOverTheirOutlineAndWholePiecesDrawIt) {
    TrackLayout layout;
    layout.straight(10).left(100, 90).straight(10);  // the corner: 157.08 m, outline of 315 points
    const auto path = PathOf(layout);
    const auto& outline = path->PieceAt(1).Outline().Points();
    ASSERT_EQ(outline.size(), 315u);
    simkit::RecordingDisplay display;
    path->Draw(display);
    auto outlines = display.CallsOf(Op::PolylineWithPen);
    ASSERT_EQ(outlines.size(), 3u);
    for (const auto& o : outlines) EXPECT_FALSE(o.flag);
    path->HighlightRange(60, 110);
    display.Clear();
    path->PieceAt(1).DrawOnDisplay(display);
    ASSERT_GE(display.Calls().size(), 2u);
    EXPECT_EQ(display.Calls()[0].op, Op::PolylineWithPen);
    EXPECT_FALSE(display.Calls()[0].flag);
    const auto lines = display.CallsOf(Op::LineWithPen);
    // 315 * 50 / 157.08 rounds to 100 for both the first point and the count.
    ASSERT_EQ(lines.size(), 99u);
    for (const auto& l : lines) EXPECT_TRUE(l.flag);
    EXPECT_EQ(lines.front().points[0], outline[100]);
    EXPECT_EQ(lines.back().points[1], outline[199]);
    path->HighlightRange(-5, 500);
    display.Clear();
    path->Draw(display);
    // The middle piece is highlighted whole; the ends draw their own lines.
    outlines = display.CallsOf(Op::PolylineWithPen);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_TRUE(outlines[0].flag);
    EXPECT_EQ(outlines[0].points, outline);
}

}  // namespace
}  // namespace vra::testing
