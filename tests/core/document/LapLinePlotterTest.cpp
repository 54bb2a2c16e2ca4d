#include "document/CarMarker.h"
#include "document/ChannelDisplay.h"
#include "document/LapLinePlotter.h"

#include "decode/KtObjectFactory.h"
#include "track/PtfBuilder.h"
#include "track/RecordingDisplay.h"
#include "track/TrackLayout.h"
#include "track/TrackPath.h"

#include <gtest/gtest.h>

#include <memory>

namespace vra {
namespace {

using simkit::RecordingDisplay;
using simkit::TrackLayout;

std::unique_ptr<TrackPath> PathOf(const TrackLayout& layout)
{
    return std::make_unique<TrackPath>(KtObjectFactory::ReadTrackImage(layout.PtfImage()));
}

// Where the layout says a track position lies.
Point2D Expected(const TrackLayout& layout, double distance, double lateral)
{
    for (const auto& piece : layout.Expected())
        if (distance < piece.startDistance + piece.length)
            return piece.PointAt(distance - piece.startDistance, lateral);
    return {};
}

class PlotterOnOval : public ::testing::Test {
protected:
    TrackLayout layout = TrackLayout::Oval();
    std::unique_ptr<TrackPath> path = PathOf(layout);
    RecordingDisplay display;
};

TEST_F(PlotterOnOval, FirstPointStartsTheLineThenEachDrawsFromThePreviousInTheLapColour)
{
    LapLinePlotter plotter(path.get(), 3);
    EXPECT_EQ(plotter.PlotPoint(display, 10.0, 0.0), (DevicePoint{0, 0}));
    EXPECT_TRUE(display.Calls().empty());
    const Point2D start = Expected(layout, 10.0, 0.0);
    EXPECT_NEAR(plotter.Current().x, start.x, 1e-6);
    EXPECT_NEAR(plotter.Current().y, start.y, 1e-6);

    const DevicePoint end = plotter.PlotPoint(display, 450.0, 5.0);
    ASSERT_EQ(display.Count(RecordingDisplay::Op::Line), 1u);
    const auto call = display.Calls()[0];
    EXPECT_EQ(call.code, 3);
    EXPECT_FALSE(call.flag);
    const Point2D corner = Expected(layout, 450.0, 5.0);
    EXPECT_NEAR(call.points[0].x, corner.x, 1e-6);
    EXPECT_NEAR(call.points[0].y, corner.y, 1e-6);
    EXPECT_NEAR(call.points[1].x, start.x, 1e-6);
    EXPECT_EQ(end, display.ToDevice(corner));
    // Map-only steps reach the display with their flag, so nothing is drawn.
    plotter.PlotPoint(display, 460.0, 5.0, true);
    EXPECT_TRUE(display.Calls().back().flag);
}

TEST_F(PlotterOnOval, DistanceAtTheLengthIsTheStartAndBeyondThePiecesChangesNothing)
{
    LapLinePlotter plotter(path.get(), 0);
    plotter.PlotPoint(display, 100.0, 0.0);
    plotter.PlotPoint(display, layout.TotalLength(), 0.0);
    const Point2D origin = Expected(layout, 0.0, 0.0);
    EXPECT_NEAR(plotter.Current().x, origin.x, 1e-6);
    EXPECT_NEAR(plotter.Current().y, origin.y, 1e-6);
    const DevicePoint before = plotter.LastDevicePoint();
    const std::size_t calls = display.Calls().size();
    plotter.PlotPoint(display, 3.0 * layout.TotalLength(), 0.0);
    EXPECT_EQ(display.Calls().size(), calls);
    EXPECT_EQ(plotter.LastDevicePoint(), before);
}

TEST_F(PlotterOnOval, RestartBeginsANewLineAndNoTrackDrawsNothing)
{
    LapLinePlotter plotter(path.get(), 1);
    plotter.PlotPoint(display, 10.0, 0.0);
    plotter.PlotPoint(display, 20.0, 0.0);
    plotter.Restart();
    EXPECT_FALSE(plotter.HasPoint());
    EXPECT_EQ(plotter.PlotPoint(display, 30.0, 0.0), (DevicePoint{0, 0}));
    EXPECT_EQ(display.Count(RecordingDisplay::Op::Line), 1u);

    LapLinePlotter without(nullptr, 0);
    without.PlotPoint(display, 10.0, 0.0);
    without.PlotPoint(display, 20.0, 0.0);
    EXPECT_EQ(display.Count(RecordingDisplay::Op::Line), 1u);
}

TEST_F(PlotterOnOval, CarMarkerMapsTrackPositionsAndTurnsItsOutline)
{
    CarMarker marker(path.get());
    DevicePoint device{-1, -1};
    marker.TrackToDevice(display, device, 450.0, -3.0);
    EXPECT_EQ(device, display.ToDevice(Expected(layout, 450.0, -3.0)));
    // No wrap for markers: a distance beyond the track leaves the point.
    DevicePoint untouched{7, 7};
    marker.TrackToDevice(display, untouched, layout.TotalLength() + 1.0, 0.0);
    EXPECT_EQ(untouched, (DevicePoint{7, 7}));

    marker.Draw(display, {100, 200}, 180.0, 2, false);
    ASSERT_EQ(display.Count(RecordingDisplay::Op::Arc), 1u);
    EXPECT_EQ(display.Calls().back().device, (DevicePoint{100, 200}));
    EXPECT_EQ(display.Calls().back().code, 2);
    ASSERT_EQ(marker.Body().size(), 20u);
    ASSERT_EQ(marker.Rear().size(), 7u);
    ASSERT_EQ(marker.Front().size(), 5u);
    // Heading 180: the nose (2.513333, 0) points along negative x.
    EXPECT_NEAR(marker.Body()[9].x, -2.513333, 1e-9);
    EXPECT_NEAR(marker.Body()[9].y, 0.0, 1e-9);
    const Point2D rearNormal = marker.Rear()[2];
    marker.Draw(display, {0, 0}, 180.0, 2, true);
    EXPECT_NEAR(marker.Rear()[2].x, 2 * rearNormal.x, 1e-9);
    EXPECT_NEAR(marker.Rear()[2].y, 2 * rearNormal.y, 1e-9);
    // Heading 90 turns the nose onto positive y.
    marker.Draw(display, {0, 0}, 90.0, 2, false);
    EXPECT_NEAR(marker.Front()[2].x, -0.715601757, 1e-9);
    EXPECT_NEAR(marker.Front()[2].y, 1.780277542, 1e-9);

    marker.DrawDot(display, {5, 6}, 4);
    EXPECT_EQ(display.Calls().back().op, RecordingDisplay::Op::Circle);
    EXPECT_EQ(display.Calls().back().device, (DevicePoint{5, 6}));
}

TEST(ChannelDisplay, MapsThroughItsOwnTransformAndDrawsNothing)
{
    ChannelDisplay display;
    ASSERT_TRUE(display.Transform().Fit({0.0, 0.0, 100.0, 100.0}, 0, 0, 1000, 1000));
    Point2D end;
    display.DrawLine({50.0, 25.0}, {0.0, 0.0}, end, 0, false);
    EXPECT_DOUBLE_EQ(end.x, 500.0);
    EXPECT_DOUBLE_EQ(end.y, 750.0);
    DevicePoint d;
    display.MapPoint({100.0, 100.0}, d);
    EXPECT_EQ(d, (DevicePoint{1000, 0}));
}

}  // namespace
}  // namespace vra
