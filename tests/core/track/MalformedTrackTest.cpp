// Segments that no real track holds: each must give a sound path or a clean
// refusal, never a crash, a hang or an unbounded allocation.
#include "core/track/Corner.h"

#include "TrackTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace vra::testing {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A straight segment along the x axis, with the fields a case needs changed by tweak.
SegmentDesc StraightAlongX(double x0, double length, const std::function<void(SegmentDesc&)>& tweak = {}) {
    TrackLayout layout;
    SegmentDesc s = layout.startAt(x0, 0, 0).straight(length).Segments()[0];
    if (tweak) tweak(s);
    return s;
}

std::string ThrownText(const std::vector<SegmentDesc>& segments) {
    return testing::ThrownText([&] { PathOf(segments); });
}

TEST(MalformedTrack, SegmentsOfOtherTypesAreLeftOut) {
    const auto path =
        PathOf({StraightAlongX(0, 100), StraightAlongX(100, 40, [](auto& s) { s.type = 7; }), StraightAlongX(140, 60)});
    ASSERT_EQ(path->PieceCount(), 2u);
    EXPECT_NEAR(path->Length(), 160.0, 1e-9);
    EXPECT_NEAR(path->PieceAt(1).StartDistance(), 100.0, 1e-9);
    // With nothing left, or nothing at all, there is no track.
    EXPECT_EQ(ThrownText({StraightAlongX(0, 40, [](auto& s) { s.type = 2; })}), "ptf file holds no track");
    EXPECT_EQ(ThrownText({}), "ptf file holds no track");
    EXPECT_THROW({ TrackPath empty{CountedPtr<KtTrack>{}}; }, KtException);
}

TEST(MalformedTrack, SegmentWithoutBoundariesHasNoSurfacesAndWallsOnItsCentreLine) {
    TrackLayout layout;
    layout.boundaries({}).walls({}).straight(80).left(30, 90);
    const auto path = PathOf(layout);
    path->ComputeQuarterMarks();
    const auto expected = layout.Expected();
    for (std::int32_t i = 0; i < 2; ++i) {
        const Segment& piece = path->PieceAt(i);
        EXPECT_TRUE(piece.Surfaces().empty());
        EXPECT_TRUE(piece.Polylines().empty());
        const double s = piece.Length() / 2;
        EXPECT_POINT_NEAR(piece.FirstWallPositionAt(s), expected[static_cast<std::size_t>(i)].PointAt(s, 0));
        EXPECT_POINT_NEAR(piece.LastWallPositionAt(s), expected[static_cast<std::size_t>(i)].PointAt(s, 0));
    }
    EXPECT_POINT_NEAR(path->QuarterMarks()[1].FirstLinePoint(), expected[0].PointAt(path->Length() / 4, 0));
    EXPECT_FALSE(path->EdgeBounds().IsValid()) << "no surfaces, nothing to fit";
}

TEST(MalformedTrack, CountsLargerThanTheListsAreNotFollowed) {
    SegmentDesc s = StraightAlongX(0, 50);
    // Three boundaries counted, one of them a null reference.
    s.fSections.refs = {s.fSections.refs[0], {}, s.fSections.refs[1]};
    s.wSections.refs = {{}, s.wSections.refs[0], {}};
    const auto path = PathOf({s});
    const Segment& piece = path->PieceAt(0);
    ASSERT_EQ(piece.Source()->GetFSectionCount(), 3u);
    EXPECT_EQ(piece.Surfaces().size(), 1u);
    EXPECT_EQ(piece.Polylines().size(), 1u);
    EXPECT_POINT_NEAR(piece.LastWallPositionAt(10), At(10, 7));  // the last boundary stored
    // Segment references: three counted, one of them null.
    TrackDesc track;
    track.segments = {New(StraightAlongX(0, 10)), {}, New(StraightAlongX(10, 20))};
    track.segmentCount = 3;
    const auto twoPieces = PathOf(New(std::move(track)));
    EXPECT_EQ(twoPieces->PieceCount(), 2u);
    EXPECT_NEAR(twoPieces->Length(), 30.0, 1e-9);
}

TEST(MalformedTrack, CornerWithoutTurnIsAStraightAndPiecesOfNoLengthAreLeftOut) {
    const auto path = PathOf({StraightAlongX(0, 70, [](auto& s) { s.type = 1; })});
    ASSERT_EQ(path->PieceCount(), 1u);
    EXPECT_EQ(dynamic_cast<const Corner*>(&path->PieceAt(0)), nullptr);
    EXPECT_NEAR(path->Length(), 70.0, 1e-9);
    EXPECT_POINT_NEAR(path->PieceAt(0).PositionAt(35, 2), At(35, 2));
    SegmentDesc spin = StraightAlongX(100, 0, [](auto& s) { s.type = 1, s.endHeading = 1.0; });  // turns on the spot
    const auto gaps = PathOf({StraightAlongX(0, 100), StraightAlongX(100, 0), spin, StraightAlongX(100, 50)});
    ASSERT_EQ(gaps->PieceCount(), 2u);
    EXPECT_EQ(gaps->FindPieceAtDistance(100.0), 1);
    simkit::RecordingDisplay display;
    gaps->HighlightRange(0, 150);
    gaps->Draw(display);
    gaps->DrawSurfaces(display);
    for (const auto& call : display.Calls())
        for (const Point2D& p : call.points) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
}

TEST(MalformedTrack, NonFinitePosesAreRefused) {
    for (double bad : {kNaN, kInf, -kInf})
        for (int field = 0; field < 6; ++field) {
            SegmentDesc s = StraightAlongX(0, 30, [&](auto& s) { s.type = field % 2; });
            double* values[] = {&s.startX, &s.startY, &s.startHeading, &s.endX, &s.endY, &s.endHeading};
            *values[field] = bad;
            EXPECT_EQ(ThrownText({StraightAlongX(-30, 30), s}), "track geometry is invalid") << field;
        }
    // Finite but so far apart that the length overflows.
    EXPECT_EQ(ThrownText({StraightAlongX(0, 1, [](auto& s) { s.startX = -1e308, s.endX = 1e308; })}),
              "track geometry is invalid");
    EXPECT_EQ(ThrownText({StraightAlongX(0, 10, [](auto& s) { s.fSections.refs[2].object->startOffset = kNaN; })}),
              "track geometry is invalid");
}

// Finite values far beyond any track: refused, as a whole track longer than
// 100 km is. Below the bounds a long corner still makes its map.
TEST(MalformedTrack, AbsurdPositionsLengthsAndHeadingsAreRefused) {
    const std::function<void(SegmentDesc&)> damages[] = {
        [](auto& s) { s.startX = 1e24; },
        [](auto& s) { s.endY = -1e278; },
        [](auto& s) { s.startX = 2e5, s.endX = 2e5 + 30; },  // beyond 100 km from the origin
        [](auto& s) { s.type = 1, s.endHeading = 1e24; },
        [](auto& s) { s.startHeading = -1e278; },
        [](auto& s) { s.fSections.refs[0].object->endOffset = 1e24; },
        [](auto& s) { s.wSections.refs[0].object->startOffset = -1e9; },
    };
    for (const auto& damage : damages)
        EXPECT_EQ(ThrownText({StraightAlongX(0, 30, damage)}), "track geometry is invalid");
    TrackLayout tooLong;
    tooLong.boundaries({}).walls({}).straight(60'000).straight(60'000);
    EXPECT_EQ(testing::ThrownText([&] { PathOf(tooLong); }), "track geometry is invalid");
    // About 94 km of corner: two points a metre.
    TrackLayout layout;
    layout.boundaries({}).walls({}).left(60'000, 90);
    const auto path = PathOf(layout);
    const auto* corner = dynamic_cast<const Corner*>(&path->PieceAt(0));
    ASSERT_NE(corner, nullptr);
    const auto e = layout.Expected()[0];
    EXPECT_EQ(corner->PointCount(), static_cast<std::uint32_t>(2 * e.length));
    EXPECT_NEAR(path->PieceAt(0).PositionAt(e.length / 2, 3).x, e.PointAt(e.length / 2, 3).x, 1e-3);
}

// A damaged heading that bends a segment by a trillionth of a radian puts its
// centre a hundred million kilometres away: it is drawn as its chord.
TEST(MalformedTrack, AHairlineTurnIsAStraight) {
    const auto path = PathOf({StraightAlongX(0, 100, [](auto& s) { s.type = 1, s.endHeading = 1e-12; })});
    EXPECT_EQ(dynamic_cast<const Corner*>(&path->PieceAt(0)), nullptr);
    EXPECT_NEAR(path->Length(), 100.0, 1e-9);
    EXPECT_POINT_NEAR(path->PieceAt(0).PositionAt(50, 2), At(50, 2));
}

// The points a track may take grow with its length: a 10 km corner whose
// boundary list names one F section 100 times asks for four million points,
// far more than ten kilometres of any real track, and is refused before they
// are made; the same corner with its own few boundaries is drawn.
TEST(MalformedTrack, PointsAreBoundedByTheTracksLength) {
    TrackLayout wide;
    wide.boundaries({}).walls({}).left(6'400, 90);
    SegmentDesc s = wide.Segments()[0];
    const auto shared = New(simkit::FSectionDesc{});
    shared->startOffset = shared->endOffset = 5;
    for (int i = 0; i < 100; ++i) s.fSections.refs.push_back(shared);
    EXPECT_EQ(ThrownText({s}), "track geometry is invalid");
    TrackLayout plain;
    plain.left(6'400, 90);
    EXPECT_GT(PathOf(plain)->PieceAt(0).Surfaces().size(), 0u);
}

}  // namespace
}  // namespace vra::testing
