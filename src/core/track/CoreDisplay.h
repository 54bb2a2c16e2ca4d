#pragma once
// The drawing surface of the track geometry. Everything is given in world
// coordinates (metres); the implementation owns the mapping to its device and
// the pens, so the geometry never knows where it is drawn.

#include "core/base/Point2D.h"
#include "core/mapping/MapTransform.h"  // DevicePoint

#include <cstdint>
#include <vector>

namespace vra {

class CarMarker;
class PieceOutline;
class QuarterMark;
class SpdTrkVisitor;
class TrackPolyline;
class TrackSurface;

class CoreDisplay {
public:
    virtual ~CoreDisplay() = default;

    // One step of a lap line from previous to newPoint in the colour of
    // colourIndex; deviceEnd receives the device position of newPoint. With
    // mapOnly nothing is drawn, only the position is given back.
    virtual void DrawLine(const Point2D& newPoint, const Point2D& previous, Point2D& deviceEnd,
                          std::int32_t colourIndex, bool mapOnly) = 0;
    // The outlines of a car marker round a device position.
    virtual void DrawArc(const CarMarker& marker, DevicePoint position, std::int32_t colourIndex) = 0;
    // A dot of fixed pixel size at a device position.
    virtual void DrawCircle(const CarMarker& marker, DevicePoint position, std::int32_t colourIndex) = 0;
    // A track surface, filled in the colour of its colour class.
    virtual void FillPolygon(const TrackSurface& surface) = 0;
    // A wall or fence line.
    virtual void DrawPolyline(const TrackPolyline& polyline) = 0;
    // A quarter mark: a thick red line across the track.
    virtual void DrawMarkerLine(const QuarterMark& mark) = 0;
    // The race line.
    virtual void DrawColourPolyline(const std::vector<Point2D>& points) = 0;
    // A piece's centre line, with the highlight pen when highlighted.
    virtual void DrawPolylineWithPen(const PieceOutline& outline, bool highlighted) = 0;
    // The coloured stripes of the speed comparison overlay.
    virtual void FillPolygonList(const SpdTrkVisitor& visitor) = 0;
    // One line, with the highlight pen when highlighted.
    virtual void DrawLineWithPen(const Point2D& from, const Point2D& to, bool highlighted) = 0;
    // The device point of a world point.
    virtual void MapPoint(const Point2D& p, DevicePoint& device) = 0;
};

// A surface that draws nothing, for runs that only walk the geometry or
// measure through a mapping of their own: every point maps to the device
// origin unless a subclass maps it.
class BlankDisplay : public CoreDisplay {
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

}  // namespace vra
