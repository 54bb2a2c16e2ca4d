#include "core/document/LapLinePlotter.h"

#include "core/decode/KtObjectFactory.h"
#include "core/document/CarMarker.h"
#include "core/track/TrackPath.h"

#include "simkit/track/PtfBuilder.h"
#include "simkit/track/TrackLayout.h"
#include "support/track/RecordingDisplay.h"

#include "SimFolderFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vra {
namespace {

using simkit::RecordingDisplay;
using simkit::TrackLayout;
using vra::testing::LayoutPoint;

std::unique_ptr<TrackPath> PathOf(const TrackLayout& layout) {
    return std::make_unique<TrackPath>(KtObjectFactory::ReadTrackImage(layout.PtfImage()));
}

double Gap(Point2D a, Point2D b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

class PlotterOnOval : public ::testing::Test {
protected:
    TrackLayout layout = TrackLayout::Oval();
    std::unique_ptr<TrackPath> path = PathOf(layout);
    RecordingDisplay display;
};

TEST_F(PlotterOnOval, FirstPointStartsTheLineThenEachDrawsFromThePreviousInTheLapColour) {
    LapLinePlotter plotter(path.get(), 3);
    EXPECT_EQ(plotter.PlotPoint(display, 10.0, 0.0), (DevicePoint{0, 0}));
    EXPECT_TRUE(display.Calls().empty());
    const Point2D start = LayoutPoint(layout, 10.0, 0.0);
    EXPECT_LT(Gap(plotter.Current(), start), 1e-6);
    const DevicePoint end = plotter.PlotPoint(display, 450.0, 5.0);
    ASSERT_EQ(display.Count(RecordingDisplay::Op::Line), 1u);
    const auto call = display.Calls()[0];
    EXPECT_EQ(call.code, 3);
    EXPECT_FALSE(call.flag);
    const Point2D corner = LayoutPoint(layout, 450.0, 5.0);
    EXPECT_LT(Gap(call.points[0], corner), 1e-6);
    EXPECT_LT(Gap(call.points[1], start), 1e-6);
    EXPECT_EQ(end, display.ToDevice(corner));
    // Map-only steps reach the display with their flag, so nothing is drawn.
    plotter.PlotPoint(display, 460.0, 5.0, true);
    EXPECT_TRUE(display.Calls().back().flag);
}

TEST_F(PlotterOnOval, DistanceAtTheLengthIsTheStartAndBeyondThePiecesOrWithoutATrackNothingIsDrawn) {
    LapLinePlotter plotter(path.get(), 0);
    plotter.PlotPoint(display, 100.0, 0.0);
    plotter.PlotPoint(display, layout.TotalLength(), 0.0);
    EXPECT_LT(Gap(plotter.Current(), LayoutPoint(layout, 0.0, 0.0)), 1e-6);
    const DevicePoint before = plotter.LastDevicePoint();
    const std::size_t calls = display.Calls().size();
    plotter.PlotPoint(display, 3.0 * layout.TotalLength(), 0.0);
    EXPECT_EQ(plotter.LastDevicePoint(), before);
    // Nor does a plotter without a track.
    LapLinePlotter without(nullptr, 0);
    without.PlotPoint(display, 10.0, 0.0);
    without.PlotPoint(display, 20.0, 0.0);
    EXPECT_EQ(display.Calls().size(), calls);
}

TEST_F(PlotterOnOval, CarMarkerMapsTrackPositionsAndTurnsItsOutline) {
    CarMarker marker(path.get());
    DevicePoint device{-1, -1};
    marker.TrackToDevice(display, device, 450.0, -3.0);
    EXPECT_EQ(device, display.ToDevice(LayoutPoint(layout, 450.0, -3.0)));
    // No wrap for markers: a distance beyond the track leaves the point.
    DevicePoint untouched{7, 7};
    marker.TrackToDevice(display, untouched, layout.TotalLength() + 1.0, 0.0);
    EXPECT_EQ(untouched, (DevicePoint{7, 7}));
    // Heading 90 turns the nose onto positive y.
    marker.Draw(display, {0, 0}, 90.0, 2, false);
    EXPECT_LT(Gap(marker.Front()[2], (Point2D{-0.715601757, 1.780277542})), 1e-9);
}

// The angle is pi x heading x 0.005555555555555556, in that order; at 1.2
// degrees that is one bit away from pi x heading / 180, which shows in the
// nose's turned y. Oversized doubles each turned point.
TEST_F(PlotterOnOval, CarMarkerTurnsByTheReciprocalOfHalfATurnBitForBit) {
    CarMarker marker(path.get());
    const double heading = 1.2;
    const double a = 3.141592653589793 * heading * 0.005555555555555556;
    const double other = 3.141592653589793 * heading / 180.0;
    const Point2D nose = CarMarker::BodyOutline()[9];  // (2.513333, 0.0)
    const Point2D turned{nose.x * std::cos(a) - nose.y * std::sin(a), nose.x * std::sin(a) + nose.y * std::cos(a)};
    ASSERT_NE(turned.y, nose.x * std::sin(other) + nose.y * std::cos(other));
    marker.Draw(display, {0, 0}, heading, 0, false);
    EXPECT_EQ(marker.Body()[9].x, turned.x);
    EXPECT_EQ(marker.Body()[9].y, turned.y);
    marker.Draw(display, {0, 0}, heading, 0, true);
    EXPECT_EQ(marker.Body()[9].x, 2.0 * turned.x);
    EXPECT_EQ(marker.Body()[9].y, 2.0 * turned.y);
}

}  // namespace
}  // namespace vra
