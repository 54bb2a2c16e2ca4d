#include "core/track/QuarterMark.h"

#include "TrackTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;

// Straights of the given lengths along the x axis.
std::unique_ptr<TrackPath> Straights(std::initializer_list<double> lengths) {
    TrackLayout layout;
    for (double l : lengths) layout.straight(l);
    return PathOf(layout);
}

// Per piece: entered, left, whole.
std::vector<std::string> Marks(const TrackPath& path) {
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(path.PieceCount()); ++i) {
        const Segment& p = path.PieceAt(i);
        out.push_back(std::string(p.IsEntered() ? "E" : "") + (p.IsLeft() ? "L" : "") + (p.IsWhole() ? "W" : ""));
    }
    return out;
}

TEST(TrackPath, FindsThePieceHoldingADistance) {
    const auto path = Straights({100, 50});
    EXPECT_NEAR(path->Length(), 150.0, 1e-12);
    // A boundary belongs to the later piece; the end of the track to none.
    const double at[] = {0.0, 99.9, 100.0, 149.9, 150.0, 1e9, -5.0, std::numeric_limits<double>::quiet_NaN()};
    const int piece[] = {0, 0, 1, 1, -1, -1, 0, -1};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(path->FindPieceAtDistance(at[i]), piece[i]) << at[i];
    EXPECT_THROW(path->PieceAt(2), std::out_of_range);
    EXPECT_THROW(path->PieceAt(-1), std::out_of_range);
}

TEST(TrackPath, QuarterMarksCrossTheTrackAtEachQuarter) {
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
    simkit::RecordingDisplay display;
    road->DrawQuarterMarks(display);
    const auto marks = display.CallsOf(Op::MarkerLine);
    ASSERT_EQ(marks.size(), 4u);
    EXPECT_POINT_NEAR(marks[3].points[0], road->QuarterMarks()[3].LastLinePoint());  // last line first
    EXPECT_POINT_NEAR(marks[3].points[1], road->QuarterMarks()[3].FirstLinePoint());
}

TEST(TrackPath, HighlightsARangeOfPieces) {
    const auto path = Straights({100, 50, 30});
    path->HighlightRange(-10, 500);
    EXPECT_EQ(path->FirstHighlighted(), 0);
    EXPECT_EQ(path->LastHighlighted(), 2);
    EXPECT_THAT(Marks(*path), ElementsAre("E", "W", "L"));
    EXPECT_DOUBLE_EQ(path->PieceAt(0).EntryDistance(), 0.0);   // the piece's own start
    EXPECT_DOUBLE_EQ(path->PieceAt(2).ExitDistance(), 180.0);  // the piece's own end
    path->HighlightRange(110, 120);                            // a new range replaces the old one
    EXPECT_THAT(Marks(*path), ElementsAre("", "EL", ""));
    EXPECT_DOUBLE_EQ(path->PieceAt(1).EntryDistance(), 110.0);
    EXPECT_DOUBLE_EQ(path->PieceAt(1).ExitDistance(), 120.0);
    path->ClearHighlight();
    EXPECT_THAT(Marks(*path), ElementsAre("", "", ""));
    path->HighlightAround(75, 10);  // a share of the length either side
    EXPECT_EQ(path->FirstHighlighted(), 0);
    EXPECT_EQ(path->LastHighlighted(), 0);
    EXPECT_DOUBLE_EQ(path->PieceAt(0).EntryDistance(), 75.0 - 18.0);
    EXPECT_DOUBLE_EQ(path->PieceAt(0).ExitDistance(), 75.0 + 18.0);
}

TEST(TrackPath, RangesOffTheTrackHighlightNothingAndUnplaceableOnesThrow) {
    const auto path = Straights({100, 50});
    for (auto [from, to] : {std::pair{200.0, 300.0}, {-20.0, -10.0}}) {
        path->HighlightRange(10, 120);
        EXPECT_NO_THROW(path->HighlightRange(from, to));
        EXPECT_THAT(Marks(*path), ElementsAre("", ""));
    }
    path->HighlightRange(10, 120);
    // The end of the last piece is not inside it.
    EXPECT_EQ(ThrownText([&] { path->HighlightRange(150, 160); }), "ERROR! first == -1 || last == -1");
    EXPECT_EQ(ThrownText([&] { path->HighlightRange(120, 30); }), "ERROR! last < first");
    EXPECT_THAT(Marks(*path), ElementsAre("", ""));
    path->HighlightRange(20, 40);  // still usable after a failed range
    EXPECT_TRUE(path->PieceAt(0).IsEntered());
    EXPECT_EQ(path->FirstHighlighted(), 0);
}

TEST(TrackPath, DrawsSurfacesThenWallsPieceByPiece) {
    TrackLayout layout;
    layout.straight(50).left(40, 60);
    simkit::RecordingDisplay display;
    PathOf(layout)->DrawSurfaces(display);
    std::vector<Op> ops;
    std::vector<int> codes;
    for (const auto& c : display.Calls()) ops.push_back(c.op), codes.push_back(c.code);
    EXPECT_THAT(ops, ElementsAre(Op::Polygon, Op::Polygon, Op::Polygon, Op::Polyline, Op::Polyline, Op::Polygon,
                                 Op::Polygon, Op::Polygon, Op::Polyline, Op::Polyline));
    // Colour classes of the default boundaries' codes 5, 1 and 12, then the wall kinds.
    EXPECT_THAT(std::vector<int>(codes.begin(), codes.begin() + 5), ElementsAre(5, 1, 3, 2, 3));
}

TEST(TrackPath, EachPathBoxesItsOwnCentreLineAndSurfaces) {
    const auto path = PathOf(TrackLayout().startAt(10, 20, 0).straight(100).left(50, 90), "/sim/tracks/first");
    // Centre line: (10,20) to (110,20), then a quarter circle round (110,70);
    // the surfaces reach 10 m either side.
    const auto& c = path->Bounds();
    const auto& e = path->EdgeBounds();
    EXPECT_TRUE(c.IsValid());
    const double got[] = {c.MinX(), c.MaxX(), c.MinY(), c.MaxY(), e.MinX(), e.MaxX(), e.MinY(), e.MaxY()};
    const double want[] = {10, 160, 20, 70, 10, 170, 10, 70};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(got[i], want[i], kTol) << i;
    // A second path neither changes the first one's box nor its folder.
    const auto second = PathOf(TrackLayout().startAt(1000, 1000, 0).straight(500), "/sim/tracks/second");
    EXPECT_NEAR(second->Bounds().MaxX(), 1500.0, kTol);
    EXPECT_NEAR(path->Bounds().MaxX(), 160.0, kTol);
    EXPECT_EQ(path->TrackFolder(), "/sim/tracks/first");
    EXPECT_EQ(second->TrackFolder(), "/sim/tracks/second");
}

}  // namespace
}  // namespace vra::testing
