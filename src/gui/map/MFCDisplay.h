#pragma once
// The map's drawing surface on a QPainter: the track geometry, the race line
// and the lap lines draw through it in world metres; it maps them with its
// own transform onto the painter's coordinates and picks pens and brushes
// from the map palette. Each user (screen, printer, exported picture) owns
// one, so a fit made for one never disturbs another.

#include "core/document/DocumentColours.h"
#include "core/mapping/MapTransform.h"
#include "core/track/CoreDisplay.h"
#include "core/track/TrackBounds.h"

#include <QColor>
#include <QPointF>
#include <QPolygonF>
#include <QRect>
#include <QTransform>

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class QPainter;

namespace vra {

class LapPoints;

class MFCDisplay : public vra::CoreDisplay {
public:
    // Half the size of a car dot, in window pixels, whatever the zoom.
    static constexpr double kDotRadius = 5.0;
    static constexpr int kMarkerPenWidth = 5;

    MFCDisplay();

    // The painter of the current pass; every drawing goes to it. Not owned.
    void SetDC(QPainter* painter) { painter_ = painter; }
    QPainter* DC() const { return painter_; }
    // Surfaces and polylines wholly outside pixels (in device pixels, where
    // toDevice takes the painter's coordinates) are left out: they would
    // change none of them. An empty rectangle draws everything.
    void SetCullRect(const QRect& pixels, const QTransform& toDevice);
    void SetPalette(const std::array<vra::Rgb, vra::kMapPaletteSize>& palette);
    QColor PaletteColour(std::int32_t index) const;
    // Surface colour classes 1 to 8 take palette entries 6 to 13, the rest 15.
    static std::int32_t PaletteIndexForKind(std::int32_t colourClass);

    vra::MapTransform& Transform() { return transform_; }
    const vra::MapTransform& Transform() const { return transform_; }
    bool FitToTrackEdges(const vra::TrackBounds& box, std::uint32_t marginX, std::uint32_t marginY, std::uint32_t width,
                         std::uint32_t height);
    bool FitToTrackBounds(const vra::TrackBounds& box, std::uint32_t marginX, std::uint32_t marginY,
                          std::uint32_t width, std::uint32_t height);
    double UnitsPerMetre() const { return transform_.UnitsPerMetre(); }

    void DrawLine(const vra::Point2D& newPoint, const vra::Point2D& previous, vra::Point2D& deviceEnd,
                  std::int32_t colourIndex, bool mapOnly) override;
    void DrawArc(const vra::CarMarker& marker, vra::DevicePoint position, std::int32_t colourIndex) override;
    void DrawCircle(const vra::CarMarker& marker, vra::DevicePoint position, std::int32_t colourIndex) override;
    void FillPolygon(const vra::TrackSurface& surface) override;
    void DrawPolyline(const vra::TrackPolyline& polyline) override;
    void DrawMarkerLine(const vra::QuarterMark& mark) override;
    void DrawColourPolyline(const std::vector<vra::Point2D>& points) override;
    void DrawPolylineWithPen(const vra::PieceOutline& outline, bool highlighted) override;
    void FillPolygonList(const vra::SpdTrkVisitor& visitor) override;
    void DrawLineWithPen(const vra::Point2D& from, const vra::Point2D& to, bool highlighted) override;
    void MapPoint(const vra::Point2D& p, vra::DevicePoint& device) override;

    // The three outlines of a car marker (device-oriented offsets in metres)
    // round a position; at most 20, 7 and 5 of their points are used.
    void DrawMarkerOutlines(std::span<const vra::Point2D> body, std::span<const vra::Point2D> rear,
                            std::span<const vra::Point2D> front, vra::DevicePoint position, std::int32_t colourIndex);

    // A lap's driving line from sample first up to (not including) sample
    // end: a line from each sample with a position to the next, in one pen
    // of the lap's colour. It joins over samples without a position, as a
    // plotter fed the same samples does, and draws the same pixels.
    void DrawLapLine(const vra::LapPoints& lap, std::size_t first, std::size_t end, std::int32_t colourIndex);

    // While on, the track's surfaces and lines keep their mapped shapes from
    // one drawing to the next: the mapping is fixed by the track and its fit,
    // so only the painter's zoom changes between redraws. Off leaves them
    // unused; on with another key (another track) or another fit drops them.
    void KeepTrackShapes(bool on, std::uint64_t key = 0);

private:
    struct MappedShape {
        const void* source = nullptr;
        QPolygonF polygon;
    };

    QPointF Map(const vra::Point2D& p) const;
    const QPolygonF& MapShape(const void* source, const std::vector<vra::Point2D>& points);
    void StrokePoints(const std::vector<vra::Point2D>& points, const QColor& colour);

    bool Culled(const QPolygonF& polygon) const;

    QPainter* painter_ = nullptr;
    QRectF cull_;
    QTransform cullTransform_;
    vra::MapTransform transform_;
    bool keepShapes_ = false;
    std::uint64_t shapesKey_ = 0;
    double shapesScale_ = 0.0;
    std::int32_t shapesOriginX_ = 0;
    std::int32_t shapesOriginY_ = 0;
    std::size_t nextShape_ = 0;
    std::vector<MappedShape> shapes_;
    QPolygonF scratch_;
    std::array<QColor, vra::kMapPaletteSize> palette_;
};

}  // namespace vra
