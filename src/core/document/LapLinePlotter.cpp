#include "core/document/LapLinePlotter.h"

#include "core/track/CoreDisplay.h"
#include "core/track/TrackPath.h"

namespace vra {

LapLinePlotter::LapLinePlotter(const TrackPath* trackPath, std::int32_t colourIndex)
    : trackPath_(trackPath), colourIndex_(colourIndex) {}

std::optional<Point2D> LapLinePlotter::WorldPoint(const TrackPath& trackPath, double distance, double lateral) {
    // A lap runs a little past the line; those samples belong at the start.
    if (distance >= trackPath.Length()) distance -= trackPath.Length();
    const std::int32_t piece = trackPath.FindPieceAtDistance(distance);
    if (piece < 0) return std::nullopt;
    const Segment& segment = trackPath.PieceAt(piece);
    return segment.PositionAt(distance - segment.StartDistance(), lateral);
}

const DevicePoint& LapLinePlotter::PlotPoint(CoreDisplay& display, double distance, double lateral, bool mapOnly) {
    if (trackPath_ == nullptr) return device_;
    const std::optional<Point2D> mapped = WorldPoint(*trackPath_, distance, lateral);
    if (!mapped) return device_;
    return PlotWorldPoint(display, *mapped, mapOnly);
}

const DevicePoint& LapLinePlotter::PlotWorldPoint(CoreDisplay& display, const Point2D& point, bool mapOnly) {
    if (restart_) {
        current_ = previous_ = point;
        restart_ = false;
        device_ = {};
        return device_;
    }
    previous_ = current_;
    current_ = point;
    Point2D end;
    display.DrawLine(current_, previous_, end, colourIndex_, mapOnly);
    device_ = {MapTransform::RoundToInt(end.x), MapTransform::RoundToInt(end.y)};
    return device_;
}

void LapLinePlotter::Restart() {
    restart_ = true;
    current_ = previous_ = {};
    device_ = {};
}

}  // namespace vra
