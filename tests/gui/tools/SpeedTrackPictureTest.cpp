#include "core/track/Segment.h"
#include "core/track/TrackTestSupport.h"
#include "gui/map/MFCDisplay.h"
#include "gui/tools/SpeedTrack.h"

#include <gtest/gtest.h>

namespace vra::testing {
namespace {

// Lap A faster over the first half of the track, B over the second: the band
// is green along the first half and red along the second, on the dialog's
// own face colour.
TEST(SpeedTrackPicture, TheBandIsGreenWhereTheFirstLapIsFasterAndRedWhereTheSecondIs) {
    const auto path = PathOf(TrackLayout::RoadCourse());
    std::vector<double> bins(1000, 12.0);
    std::fill(bins.begin() + 500, bins.end(), -12.0);
    SpdTrkVisitor visitor(path->Length(), bins, false, 0);
    path->VisitPieces(visitor);

    SpeedTrackPicture picture;
    picture.resize(600, 400);
    picture.SetVisitor(&visitor);
    const QImage image = picture.grab().toImage();
    MFCDisplay display;
    ASSERT_TRUE(display.FitToTrackBounds(visitor.Bounds(), 0, 0, 600, 400));
    auto colourAt = [&](double distance) {
        const std::int32_t piece = path->FindPieceAtDistance(distance);
        const Segment& s = path->PieceAt(piece);
        DevicePoint d;
        display.MapPoint(s.PositionAt(distance - s.StartDistance(), 0.0), d);
        return image.pixelColor(int(d.x), int(d.y));
    };
    for (double share : {0.05, 0.2, 0.3, 0.45}) EXPECT_EQ(colourAt(share * path->Length()), QColor(5, 255, 0)) << share;
    for (double share : {0.55, 0.7, 0.8, 0.95}) EXPECT_EQ(colourAt(share * path->Length()), QColor(255, 0, 0)) << share;
    EXPECT_EQ(image.pixelColor(0, 0), picture.palette().color(QPalette::Window));
}

}  // namespace
}  // namespace vra::testing
