// Whole tracks written from a layout, decoded and built into a path, against
// the geometry that the layout itself gives.
#include "core/track/Corner.h"

#include "TrackTestSupport.h"

#include <gtest/gtest.h>

namespace vra::testing {
namespace {

TEST(TrackEndToEnd, RoadCoursesDecodeToTheirLayoutWithEveryObjectClass) {
    // The last one cut into short pieces, as the tracks of real size are.
    TrackLayout cut = TrackLayout::RoadCourse(2500.0);
    cut.subdivided(12);
    for (const TrackLayout& course : {TrackLayout::RoadCourse(), TrackLayout::RoadCourse(2500.0), cut}) {
        const CountedPtr<KtTrack> track = Decode(course.Describe());
        ASSERT_TRUE(track);
        EXPECT_EQ(track->GetDetails().size(), 2u);
        EXPECT_EQ(track->GetTSOReferences().size(), 2u);
        EXPECT_EQ(track->GetSegments().at(1)->GetXSections().size(), 2u);
        EXPECT_TRUE(track->GetSegments().at(1)->GetFSections().at(1)->GetAppearance());
        const TrackPath path(track);
        const std::vector<ExpectedPiece> expected = course.Expected();
        ASSERT_EQ(path.PieceCount(), expected.size());
        EXPECT_NEAR(path.Length(), course.TotalLength(), 1e-6);
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const ExpectedPiece& e = expected[i];
            const Segment& piece = path.PieceAt(static_cast<std::int32_t>(i));
            EXPECT_NEAR(piece.StartDistance(), e.startDistance, 1e-6);
            EXPECT_NEAR(piece.Length(), e.length, 1e-6);
            const auto* corner = dynamic_cast<const Corner*>(&piece);
            ASSERT_EQ(corner != nullptr, e.corner) << i;
            if (corner) {
                EXPECT_NEAR(corner->Radius(), e.radius, 1e-6);
                EXPECT_NEAR(corner->Sweep(), e.sweep, 1e-6);
                EXPECT_POINT_NEAR(corner->Centre(), e.centre);
            }
            for (double s : {0.0, e.length / 3.0, e.length})
                for (double d : {0.0, 4.5, -6.25}) EXPECT_POINT_NEAR(piece.PositionAt(s, d), e.PointAt(s, d));
            EXPECT_EQ(piece.Surfaces().size(), e.fLines.size() - 1);
            EXPECT_EQ(piece.Polylines().size(), e.wLines.size());
        }
        // Closed course: last end point on the first start point.
        const Segment& last = path.PieceAt(static_cast<std::int32_t>(path.PieceCount() - 1));
        EXPECT_POINT_NEAR(last.PositionAt(last.Length(), 0), At(0, 0));
    }
    EXPECT_NEAR(PathOf(TrackLayout::RoadCourse(2500.0))->Length(), 2500.0, 1e-6);
    // Cutting changes the pieces, not the course.
    const auto whole = PathOf(TrackLayout::RoadCourse(2500.0));
    const auto pieces = PathOf(cut);
    EXPECT_EQ(pieces->PieceCount(), 12 * whole->PieceCount());
    for (double t : {0.0, 333.3, 1250.0, 2111.1}) {
        const Segment& a = whole->PieceAt(whole->FindPieceAtDistance(t));
        const Segment& b = pieces->PieceAt(pieces->FindPieceAtDistance(t));
        EXPECT_POINT_NEAR(b.PositionAt(t - b.StartDistance(), 3.5), a.PositionAt(t - a.StartDistance(), 3.5));
    }
}

}  // namespace
}  // namespace vra::testing
