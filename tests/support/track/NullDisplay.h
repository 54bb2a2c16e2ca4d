#pragma once
// A drawing surface that draws nothing, for runs that only walk the geometry
// (fuzzing, timing): every point maps to the device origin unless a subclass
// maps it.

#include "core/track/CoreDisplay.h"

namespace vra::test {

class NullDisplay : public CoreDisplay {
public:
    void DrawLine(const Point2D&, const Point2D&, Point2D&, std::int32_t, bool) override {}
    void DrawArc(const CarMarker&, DevicePoint, std::int32_t) override {}
    void DrawCircle(const CarMarker&, DevicePoint, std::int32_t) override {}
    void FillPolygon(const TrackSurface&) override {}
    void DrawPolyline(const TrackPolyline&) override {}
    void DrawMarkerLine(const QuarterMark&) override {}
    void DrawColourPolyline(const std::vector<Point2D>&) override {}
    void DrawPolylineWithPen(const PieceOutline&, bool) override {}
    void FillPolygonList(const SpdTrkVisitor&) override {}
    void DrawLineWithPen(const Point2D&, const Point2D&, bool) override {}
    void MapPoint(const Point2D&, DevicePoint& device) override { device = {}; }
};

}  // namespace vra::test
