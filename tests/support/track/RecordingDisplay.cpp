#include "support/track/RecordingDisplay.h"

#include "core/track/PieceOutline.h"
#include "core/track/QuarterMark.h"
#include "core/track/TrackPolyline.h"
#include "core/track/TrackSurface.h"

#include <algorithm>
#include <cmath>

namespace vra::simkit {

namespace {

std::int32_t Round(double v) {
    if (!(v == v)) return 0;
    const double r = v >= 0.0 ? std::trunc(v + 0.5) : std::trunc(v - 0.5);
    return static_cast<std::int32_t>(std::clamp(r, -2147483648.0, 2147483647.0));
}

}  // namespace

DevicePoint RecordingDisplay::ToDevice(const Point2D& p) const {
    return {Round(p.x * scale), Round(-p.y * scale)};
}

void RecordingDisplay::DrawLine(const Point2D& newPoint, const Point2D& previous, Point2D& deviceEnd,
                                std::int32_t colourIndex, bool mapOnly) {
    const DevicePoint d = ToDevice(newPoint);
    deviceEnd = {static_cast<double>(d.x), static_cast<double>(d.y)};
    calls_.push_back({Op::Line, {newPoint, previous}, mapOnly, colourIndex, {}});
}

void RecordingDisplay::DrawArc(const CarMarker&, DevicePoint position, std::int32_t colourIndex) {
    calls_.push_back({Op::Arc, {}, false, colourIndex, position});
}

void RecordingDisplay::DrawCircle(const CarMarker&, DevicePoint position, std::int32_t colourIndex) {
    calls_.push_back({Op::Circle, {}, false, colourIndex, position});
}

void RecordingDisplay::FillPolygon(const TrackSurface& surface) {
    calls_.push_back({Op::Polygon, surface.Points(), false, surface.ColourClass(), {}});
}

void RecordingDisplay::DrawPolyline(const TrackPolyline& polyline) {
    calls_.push_back({Op::Polyline, polyline.Points(), false, polyline.Code(), {}});
}

void RecordingDisplay::DrawMarkerLine(const QuarterMark& mark) {
    calls_.push_back({Op::MarkerLine, {mark.LastLinePoint(), mark.FirstLinePoint()}, false, 0, {}});
}

void RecordingDisplay::DrawColourPolyline(const std::vector<Point2D>& points) {
    calls_.push_back({Op::ColourPolyline, points, false, 14, {}});
}

void RecordingDisplay::DrawPolylineWithPen(const PieceOutline& outline, bool highlighted) {
    calls_.push_back({Op::PolylineWithPen, outline.Points(), highlighted, 0, {}});
}

void RecordingDisplay::FillPolygonList(const SpdTrkVisitor&) {
    calls_.push_back({Op::PolygonList, {}, false, 0, {}});
}

void RecordingDisplay::DrawLineWithPen(const Point2D& from, const Point2D& to, bool highlighted) {
    calls_.push_back({Op::LineWithPen, {from, to}, highlighted, 0, {}});
}

void RecordingDisplay::MapPoint(const Point2D& p, DevicePoint& device) {
    device = ToDevice(p);
    calls_.push_back({Op::MapPoint, {p}, false, 0, device});
}

std::vector<RecordingDisplay::Call> RecordingDisplay::CallsOf(Op op) const {
    std::vector<Call> out;
    for (const Call& c : calls_)
        if (c.op == op) out.push_back(c);
    return out;
}

std::size_t RecordingDisplay::Count(Op op) const {
    return static_cast<std::size_t>(
        std::count_if(calls_.begin(), calls_.end(), [op](const Call& c) { return c.op == op; }));
}

}  // namespace vra::simkit
