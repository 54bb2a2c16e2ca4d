#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>

#include "decode/KtException.h"
#include "track/QuarterMark.h"
#include "track/RecordingDisplay.h"
#include "TrackTestSupport.h"

namespace vra::testing {
namespace {

using simkit::ExpectedPiece;
using Op = simkit::RecordingDisplay::Op;

// Two straights of 100 m and 50 m.
std::unique_ptr<TrackPath> TwoStraights() {
    TrackLayout layout;
    layout.straight(100).straight(50);
    return PathOf(layout);
}

std::string ThrownText(const std::function<void()>& f) {
    try {
        f();
    } catch (const KtException& e) {
        return e.what();
    }
    return "";
}

TEST(TrackPath, FindsThePieceHoldingADistance) {
    const auto path = TwoStraights();
    EXPECT_NEAR(path->Length(), 150.0, 1e-12);
    EXPECT_EQ(path->FindPieceAtDistance(0.0), 0);
    EXPECT_EQ(path->FindPieceAtDistance(99.9), 0);
    EXPECT_EQ(path->FindPieceAtDistance(100.0), 1);  // a boundary belongs to the later piece
    EXPECT_EQ(path->FindPieceAtDistance(149.9), 1);
    EXPECT_EQ(path->FindPieceAtDistance(150.0), -1);
    EXPECT_EQ(path->FindPieceAtDistance(1e9), -1);
    EXPECT_EQ(path->FindPieceAtDistance(-5.0), 0);
    EXPECT_EQ(path->FindPieceAtDistance(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_THROW(path->PieceAt(2), std::out_of_range);
    EXPECT_THROW(path->PieceAt(-1), std::out_of_range);
}

TEST(TrackPath, QuarterMarksCrossTheTrackAtEachQuarter) {
    TrackLayout layout;
    layout.straight(100).straight(50);
    const auto path = PathOf(layout);
    // Before they are computed the marks sit at the origin.
    EXPECT_EQ(path->QuarterMarks()[2].FirstLinePoint(), Point2D{});
    path->ComputeQuarterMarks();
    const double quarter[] = {0.0, 37.5, 75.0, 112.5};
    for (int i = 0; i < 4; ++i) {
        const QuarterMark& m = path->QuarterMarks()[static_cast<std::size_t>(i)];
        EXPECT_POINT_NEAR(m.FirstLinePoint(), At(quarter[i], 10.0));
        EXPECT_POINT_NEAR(m.LastLinePoint(), At(quarter[i], -10.0));
    }
    simkit::RecordingDisplay display;
    path->DrawQuarterMarks(display);
    const auto marks = display.CallsOf(Op::MarkerLine);
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_POINT_NEAR(marks[3].points[0], At(112.5, -10.0));  // last line first
    EXPECT_POINT_NEAR(marks[3].points[1], At(112.5, 10.0));

    // On corners the marks follow the corner's geometry.
    const TrackLayout course = TrackLayout::RoadCourse();
    const auto road = PathOf(course);
    road->ComputeQuarterMarks();
    const auto expected = course.Expected();
    for (int q = 0; q < 4; ++q) {
        const double t = course.TotalLength() * 0.25 * q;
        const ExpectedPiece& e = expected[static_cast<std::size_t>(road->FindPieceAtDistance(t))];
        const QuarterMark& m = road->QuarterMarks()[static_cast<std::size_t>(q)];
        EXPECT_POINT_NEAR(m.FirstLinePoint(), e.PointAt(t - e.startDistance, 10.0));
        EXPECT_POINT_NEAR(m.LastLinePoint(), e.PointAt(t - e.startDistance, -10.0));
    }
}

TEST(TrackPath, HighlightsARangeOfPieces) {
    TrackLayout layout;
    layout.straight(100).straight(50).straight(30);
    const auto path = PathOf(layout);

    path->HighlightRange(-10, 500);
    EXPECT_EQ(path->FirstHighlighted(), 0);
    EXPECT_EQ(path->LastHighlighted(), 2);
    EXPECT_TRUE(path->PieceAt(0).IsEntered());
    EXPECT_DOUBLE_EQ(path->PieceAt(0).EntryDistance(), 0.0);  // the piece's own start
    EXPECT_TRUE(path->PieceAt(1).IsWhole());
    EXPECT_TRUE(path->PieceAt(2).IsLeft());
    EXPECT_DOUBLE_EQ(path->PieceAt(2).ExitDistance(), 180.0);  // the piece's own end

    // A new range replaces the old one.
    path->HighlightRange(110, 120);
    EXPECT_FALSE(path->PieceAt(0).IsEntered() || path->PieceAt(0).IsWhole());
    EXPECT_FALSE(path->PieceAt(2).IsLeft() || path->PieceAt(2).IsWhole());
    EXPECT_TRUE(path->PieceAt(1).IsEntered() && path->PieceAt(1).IsLeft());
    EXPECT_DOUBLE_EQ(path->PieceAt(1).EntryDistance(), 110.0);
    EXPECT_DOUBLE_EQ(path->PieceAt(1).ExitDistance(), 120.0);

    path->ClearHighlight();
    for (std::int32_t i = 0; i < 3; ++i)
        EXPECT_FALSE(path->PieceAt(i).IsEntered() || path->PieceAt(i).IsLeft() || path->PieceAt(i).IsWhole());
}

TEST(TrackPath, HighlightAroundCoversAShareOfTheLength) {
    const auto path = TwoStraights();
    path->HighlightAround(75, 10);
    EXPECT_EQ(path->FirstHighlighted(), 0);
    EXPECT_EQ(path->LastHighlighted(), 0);
    EXPECT_DOUBLE_EQ(path->PieceAt(0).EntryDistance(), 60.0);
    EXPECT_DOUBLE_EQ(path->PieceAt(0).ExitDistance(), 90.0);
}

TEST(TrackPath, RangesOffTheTrackHighlightNothingAndUnplaceableOnesThrow) {
    const auto path = TwoStraights();
    auto nothingHighlighted = [&] {
        for (std::int32_t i = 0; i < 2; ++i)
            EXPECT_FALSE(path->PieceAt(i).IsEntered() || path->PieceAt(i).IsLeft() || path->PieceAt(i).IsWhole());
    };
    for (auto [from, to] : {std::pair{200.0, 300.0}, {-20.0, -10.0}}) {
        path->HighlightRange(10, 120);
        EXPECT_NO_THROW(path->HighlightRange(from, to));
        nothingHighlighted();
    }
    path->HighlightRange(10, 120);
    // The end of the last piece is not inside it.
    EXPECT_EQ(ThrownText([&] { path->HighlightRange(150, 160); }), "ERROR! first == -1 || last == -1");
    EXPECT_EQ(ThrownText([&] { path->HighlightRange(120, 30); }), "ERROR! last < first");
    nothingHighlighted();
    // The path stays usable after a failed range.
    path->HighlightRange(20, 40);
    EXPECT_TRUE(path->PieceAt(0).IsEntered());
    EXPECT_EQ(path->FirstHighlighted(), 0);
}

TEST(TrackPath, DrawsSurfacesThenWallsPieceByPiece) {
    TrackLayout layout;
    layout.straight(50).left(40, 60);
    const auto path = PathOf(layout);
    simkit::RecordingDisplay display;
    path->DrawSurfaces(display);
    std::vector<Op> ops;
    for (const auto& c : display.Calls()) ops.push_back(c.op);
    EXPECT_THAT(ops, ::testing::ElementsAre(Op::Polygon, Op::Polygon, Op::Polygon, Op::Polyline, Op::Polyline,
                                            Op::Polygon, Op::Polygon, Op::Polygon, Op::Polyline, Op::Polyline));
    // Colour classes of the default boundaries' codes 5, 1 and 12.
    EXPECT_EQ(display.Calls()[0].code, 5);
    EXPECT_EQ(display.Calls()[1].code, 1);
    EXPECT_EQ(display.Calls()[2].code, 3);
    EXPECT_EQ(display.Calls()[3].code, 2);  // wall kinds
    EXPECT_EQ(display.Calls()[4].code, 3);
}

TEST(TrackPath, EachPathBoxesItsOwnCentreLineAndSurfaces) {
    TrackLayout layout;
    layout.startAt(10, 20, 0).straight(100).left(50, 90);
    const auto path = PathOf(layout, "/sim/tracks/first");
    // Centre line: (10,20) to (110,20), then a quarter circle round (110,70);
    // the surfaces reach 10 m either side.
    const auto& c = path->Bounds();
    const auto& e = path->EdgeBounds();
    EXPECT_TRUE(c.IsValid());
    const double got[] = {c.MinX(), c.MaxX(), c.MinY(), c.MaxY(), e.MinX(), e.MaxX(), e.MinY(), e.MaxY()};
    const double want[] = {10, 160, 20, 70, 10, 170, 10, 70};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(got[i], want[i], kTol) << i;

    // A second path neither changes the first one's box nor its folder.
    TrackLayout large;
    large.startAt(1000, 1000, 0).straight(500);
    const auto second = PathOf(large, "/sim/tracks/second");
    EXPECT_NEAR(second->Bounds().MaxX(), 1500.0, kTol);
    EXPECT_NEAR(path->Bounds().MaxX(), 160.0, kTol);
    EXPECT_EQ(path->TrackFolder(), "/sim/tracks/first");
    EXPECT_EQ(second->TrackFolder(), "/sim/tracks/second");
}

TEST(TrackBounds, StartsAtTheFirstPointAndOnlyGrows) {
    TrackBounds box;
    EXPECT_FALSE(box.Box().IsValid());
    box.AddPoint({3, 4});
    EXPECT_EQ(std::vector<double>({box.MinX(), box.MaxX(), box.MinY(), box.MaxY()}), std::vector<double>({3, 3, 4, 4}));
    box.AddPoint({-1, 9});
    EXPECT_EQ(std::vector<double>({box.MinX(), box.MaxX(), box.MinY(), box.MaxY()}), std::vector<double>({-1, 3, 4, 9}));
    box.Reset();
    EXPECT_FALSE(box.IsValid());
    EXPECT_FALSE(box.Box().IsValid());  // a stale box is never fitted to
    box.AddPoint({7, 7});
    EXPECT_EQ(box.MinX(), 7);
}

}  // namespace
}  // namespace vra::testing
