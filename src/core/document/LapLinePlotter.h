#pragma once
// Draws a lap's driving line: fed with the lap's track positions one after
// another, it maps each onto the track and draws a segment from the point
// before. One per loaded lap, drawn in the lap's colour.

#include "core/base/Point2D.h"
#include "core/mapping/MapTransform.h"

#include <cstdint>
#include <optional>

namespace vra {

class CoreDisplay;
class TrackPath;

class LapLinePlotter {
public:
    // trackPath may be null (a lap without a track draws nothing); it is not
    // owned and must outlive the plotter.
    LapLinePlotter(const TrackPath* trackPath, std::int32_t colourIndex);

    // Maps (distance along the track, lateral offset) to the track, draws the
    // segment from the previous point unless mapOnly, and returns where the
    // point landed on the device. The first point after construction or
    // Restart only starts the line and returns (0, 0). A distance on no piece
    // changes nothing.
    const DevicePoint& PlotPoint(CoreDisplay& display, double distance, double lateral, bool mapOnly = false);
    // The same for a position already mapped onto the track (WorldPoint).
    const DevicePoint& PlotWorldPoint(CoreDisplay& display, const Point2D& point, bool mapOnly = false);
    // The next point starts a new line.
    void Restart();

    // Where (distance along the track, lateral offset) lies on the map: a
    // distance at or past the track's length is taken into the next lap;
    // none when it then lies on no piece.
    static std::optional<Point2D> WorldPoint(const TrackPath& trackPath, double distance, double lateral);

    // Whether a point has started the line since construction or Restart.
    bool HasPoint() const { return !restart_; }
    const Point2D& Current() const { return current_; }
    const Point2D& Previous() const { return previous_; }
    const DevicePoint& LastDevicePoint() const { return device_; }
    std::int32_t ColourIndex() const { return colourIndex_; }
    void SetColourIndex(std::int32_t index) { colourIndex_ = index; }

private:
    Point2D current_;
    Point2D previous_;
    const TrackPath* trackPath_;
    bool restart_ = true;
    DevicePoint device_;
    std::int32_t colourIndex_;
};

}  // namespace vra
