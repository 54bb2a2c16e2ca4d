#pragma once
// A drawing surface for tests that records every call with its world points,
// so a test can check what was drawn, in which order and with which pen.
// Device points are world metres rounded half away from zero, with y flipped,
// scaled by `scale` device units per metre.

#include "core/track/CoreDisplay.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vra::simkit {

class RecordingDisplay : public vra::CoreDisplay {
public:
    enum class Op {
        Line,             // DrawLine (flag: map only)
        Arc,              // DrawArc
        Circle,           // DrawCircle
        Polygon,          // FillPolygon (code: colour class)
        Polyline,         // DrawPolyline (code: kind code)
        MarkerLine,       // DrawMarkerLine
        ColourPolyline,   // DrawColourPolyline
        PolylineWithPen,  // DrawPolylineWithPen (flag: highlighted)
        PolygonList,      // FillPolygonList
        LineWithPen,      // DrawLineWithPen (flag: highlighted)
        MapPoint,         // MapPoint
    };
    struct Call {
        Op op;
        std::vector<Point2D> points;  // world points in the order given
        bool flag = false;
        std::int32_t code = 0;  // colour index, colour class or kind code
        DevicePoint device;     // Arc and Circle
    };

    double scale = 1.0;

    void DrawLine(const Point2D& newPoint, const Point2D& previous, Point2D& deviceEnd, std::int32_t colourIndex,
                  bool mapOnly) override;
    void DrawArc(const CarMarker& marker, DevicePoint position, std::int32_t colourIndex) override;
    void DrawCircle(const CarMarker& marker, DevicePoint position, std::int32_t colourIndex) override;
    void FillPolygon(const TrackSurface& surface) override;
    void DrawPolyline(const TrackPolyline& polyline) override;
    void DrawMarkerLine(const QuarterMark& mark) override;
    void DrawColourPolyline(const std::vector<Point2D>& points) override;
    void DrawPolylineWithPen(const PieceOutline& outline, bool highlighted) override;
    void FillPolygonList(const SpdTrkVisitor& visitor) override;
    void DrawLineWithPen(const Point2D& from, const Point2D& to, bool highlighted) override;
    void MapPoint(const Point2D& p, DevicePoint& device) override;

    DevicePoint ToDevice(const Point2D& p) const;

    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<Call> CallsOf(Op op) const;
    std::size_t Count(Op op) const;
    void Clear() { calls_.clear(); }

private:
    std::vector<Call> calls_;
};

}  // namespace vra::simkit
