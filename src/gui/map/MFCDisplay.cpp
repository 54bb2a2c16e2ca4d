#include "gui/map/MFCDisplay.h"

#include "core/document/CarMarker.h"
#include "core/document/LapPoints.h"
#include "core/track/PieceOutline.h"
#include "core/track/QuarterMark.h"
#include "core/track/SpdTrkVisitor.h"
#include "core/track/TrackPolyline.h"
#include "core/track/TrackSurface.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vra {

namespace {

// Width 0: one pixel at any zoom.
QPen ThinPen(const QColor& colour) {
    QPen pen(colour, 0, Qt::SolidLine);
    pen.setCosmetic(true);
    return pen;
}

vra::WorldBox Box(const vra::TrackBounds& b) {
    if (!b.IsValid()) return {0, 0, 0, 0};
    return {b.MinX(), b.MinY(), b.MaxX(), b.MaxY()};
}

// Restores the pen and brush when a drawing operation ends.
class PenScope {
public:
    explicit PenScope(QPainter& p) : p_(p), pen_(p.pen()), brush_(p.brush()) {}
    ~PenScope() {
        p_.setPen(pen_);
        p_.setBrush(brush_);
    }

private:
    QPainter& p_;
    QPen pen_;
    QBrush brush_;
};

}  // namespace

MFCDisplay::MFCDisplay() {
    SetPalette(vra::kMapPalette);
}

void MFCDisplay::SetPalette(const std::array<vra::Rgb, vra::kMapPaletteSize>& palette) {
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette_[i] = QColor(palette[i].red, palette[i].green, palette[i].blue);
}

void MFCDisplay::SetCullRect(const QRect& pixels, const QTransform& toDevice) {
    cull_ = pixels.isEmpty() ? QRectF() : QRectF(pixels);
    cullTransform_ = toDevice;
}

bool MFCDisplay::Culled(const QPolygonF& polygon) const {
    if (cull_.isNull() || polygon.isEmpty()) return false;
    // Two pixels round the shape hold whatever a one-pixel pen or the
    // rounding of an edge could still reach; they also give a shape of no
    // width or height an area to meet the rectangle with.
    return !cullTransform_.mapRect(polygon.boundingRect()).adjusted(-2, -2, 2, 2).intersects(cull_);
}

void MFCDisplay::KeepTrackShapes(bool on, std::uint64_t key) {
    keepShapes_ = on;
    nextShape_ = 0;
    if (!on) return;
    const bool sameFit = shapesScale_ == transform_.Scale() && shapesOriginX_ == transform_.OriginX() &&
                         shapesOriginY_ == transform_.OriginY();
    if (key != shapesKey_ || !sameFit) shapes_.clear();
    shapesKey_ = key;
    shapesScale_ = transform_.Scale();
    shapesOriginX_ = transform_.OriginX();
    shapesOriginY_ = transform_.OriginY();
}

const QPolygonF& MFCDisplay::MapShape(const void* source, const std::vector<vra::Point2D>& points) {
    const auto map = [&](QPolygonF& polygon) {
        polygon.clear();
        polygon.reserve(qsizetype(points.size()));
        for (const vra::Point2D& p : points) polygon << Map(p);
    };
    if (!keepShapes_) {
        map(scratch_);
        return scratch_;
    }
    // The shapes come in the same order each time; one out of step starts
    // the rest afresh.
    if (nextShape_ < shapes_.size() && shapes_[nextShape_].source == source &&
        shapes_[nextShape_].polygon.size() == qsizetype(points.size()))
        return shapes_[nextShape_++].polygon;
    shapes_.resize(nextShape_);
    shapes_.push_back({source, {}});
    map(shapes_.back().polygon);
    return shapes_[nextShape_++].polygon;
}

QColor MFCDisplay::PaletteColour(std::int32_t index) const {
    if (index < 0 || index >= std::int32_t(palette_.size())) return QColor(Qt::black);
    return palette_[std::size_t(index)];
}

std::int32_t MFCDisplay::PaletteIndexForKind(std::int32_t colourClass) {
    return colourClass >= 1 && colourClass <= 8 ? colourClass + 5 : 15;
}

bool MFCDisplay::FitToTrackEdges(const vra::TrackBounds& box, std::uint32_t marginX, std::uint32_t marginY,
                                 std::uint32_t width, std::uint32_t height) {
    return transform_.FitToTrackEdges(Box(box), marginX, marginY, width, height);
}

bool MFCDisplay::FitToTrackBounds(const vra::TrackBounds& box, std::uint32_t marginX, std::uint32_t marginY,
                                  std::uint32_t width, std::uint32_t height) {
    return transform_.Fit(Box(box), marginX, marginY, width, height);
}

QPointF MFCDisplay::Map(const vra::Point2D& p) const {
    const vra::DevicePoint d = transform_.MapPoint(p);
    return QPointF(d.x, d.y);
}

void MFCDisplay::MapPoint(const vra::Point2D& p, vra::DevicePoint& device) {
    device = transform_.MapPoint(p);
}

void MFCDisplay::DrawLine(const vra::Point2D& newPoint, const vra::Point2D& previous, vra::Point2D& deviceEnd,
                          std::int32_t colourIndex, bool mapOnly) {
    const QPointF to = Map(newPoint);
    deviceEnd = {to.x(), to.y()};
    if (mapOnly || !painter_) return;
    const QPointF from = Map(previous);
    PenScope scope(*painter_);
    painter_->setPen(ThinPen(PaletteColour(colourIndex)));
    painter_->drawLine(from, to);
}

void MFCDisplay::DrawLapLine(const vra::LapPoints& lap, std::size_t first, std::size_t end, std::int32_t colourIndex) {
    if (!painter_) return;
    end = std::min(end, lap.Size());
    if (first >= end) return;
    // One call in one pen, but still segment by segment: a poly-line leaves
    // out the square cap at its inner corners, which takes a pixel here and
    // there from the line that the plotter draws during playback.
    std::vector<QLineF> segments;
    segments.reserve(end - first);
    bool started = false;
    QPointF previous;
    for (std::size_t i = first; i < end; ++i) {
        if (!lap.Placed(i)) continue;
        const QPointF point = Map(lap.At(i));
        if (started) segments.emplace_back(previous, point);
        previous = point;
        started = true;
    }
    if (segments.empty()) return;
    PenScope scope(*painter_);
    painter_->setPen(ThinPen(PaletteColour(colourIndex)));
    painter_->drawLines(segments.data(), int(segments.size()));
}

void MFCDisplay::DrawArc(const vra::CarMarker& marker, vra::DevicePoint position, std::int32_t colourIndex) {
    DrawMarkerOutlines(marker.Body(), marker.Rear(), marker.Front(), position, colourIndex);
}

void MFCDisplay::DrawMarkerOutlines(std::span<const vra::Point2D> body, std::span<const vra::Point2D> rear,
                                    std::span<const vra::Point2D> front, vra::DevicePoint position,
                                    std::int32_t colourIndex) {
    if (!painter_) return;
    PenScope scope(*painter_);
    painter_->setPen(ThinPen(PaletteColour(colourIndex)));
    const std::size_t limits[3] = {20, 7, 5};
    const std::span<const vra::Point2D> outlines[3] = {body, rear, front};
    for (int k = 0; k < 3; ++k) {
        const std::size_t n = std::min(outlines[k].size(), limits[k]);
        if (n < 2) continue;
        QPolygonF polygon;
        polygon.reserve(qsizetype(n));
        for (std::size_t i = 0; i < n; ++i) {
            const vra::DevicePoint offset = transform_.WorldToDevice(outlines[k][i].x, outlines[k][i].y);
            polygon << QPointF(double(offset.x) + position.x, double(offset.y) + position.y);
        }
        painter_->drawPolyline(polygon);
    }
}

void MFCDisplay::DrawCircle(const vra::CarMarker&, vra::DevicePoint position, std::int32_t colourIndex) {
    if (!painter_) return;
    // The dot keeps its size in window pixels: its corners are placed in
    // pixels round the mapped position and taken back to painter units. The
    // position lands on a whole pixel first, or the corners, rounded each on
    // its own, would make the dot a pixel narrower at some positions.
    const QTransform toPixels = painter_->combinedTransform();
    const QTransform toLogical = toPixels.inverted();
    const QPointF mapped = toPixels.map(QPointF(position.x, position.y));
    const QPointF centre(vra::MapTransform::RoundToInt(mapped.x()), vra::MapTransform::RoundToInt(mapped.y()));
    const double a = 0.75 * std::numbers::pi;
    const double b = 1.75 * std::numbers::pi;
    const QPointF c1(vra::MapTransform::RoundToInt(centre.x() + kDotRadius * std::cos(a)),
                     vra::MapTransform::RoundToInt(centre.y() + kDotRadius * std::sin(a)));
    const QPointF c2(vra::MapTransform::RoundToInt(centre.x() + kDotRadius * std::cos(b)),
                     vra::MapTransform::RoundToInt(centre.y() + kDotRadius * std::sin(b)));
    PenScope scope(*painter_);
    const QColor colour = PaletteColour(colourIndex);
    painter_->setPen(ThinPen(colour));
    painter_->setBrush(colour);
    painter_->drawEllipse(QRectF(toLogical.map(c1), toLogical.map(c2)).normalized());
}

void MFCDisplay::FillPolygon(const vra::TrackSurface& surface) {
    if (!painter_ || surface.PointCount() == 0) return;
    const QPolygonF& polygon = MapShape(&surface, surface.Points());
    if (Culled(polygon)) return;
    PenScope scope(*painter_);
    const QColor colour = PaletteColour(PaletteIndexForKind(surface.ColourClass()));
    painter_->setPen(ThinPen(colour));
    painter_->setBrush(colour);
    painter_->drawPolygon(polygon);
}

void MFCDisplay::StrokePoints(const std::vector<vra::Point2D>& points, const QColor& colour) {
    if (!painter_ || points.empty()) return;
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const vra::Point2D& p : points) polygon << Map(p);
    painter_->setPen(ThinPen(colour));
    if (!Culled(polygon)) painter_->drawPolyline(polygon);
}

void MFCDisplay::DrawPolyline(const vra::TrackPolyline& polyline) {
    if (!painter_ || polyline.Points().empty()) return;
    const QPolygonF& polygon = MapShape(&polyline, polyline.Points());
    painter_->setPen(ThinPen(Qt::black));
    if (!Culled(polygon)) painter_->drawPolyline(polygon);
}

void MFCDisplay::DrawMarkerLine(const vra::QuarterMark& mark) {
    if (!painter_) return;
    PenScope scope(*painter_);
    // Five painter units wide, bolder zoomed in; but never thinner than a
    // pixel, or the whole-track view would show the marks faint or not at all.
    QPen pen(QColor(255, 0, 0), kMarkerPenWidth, Qt::SolidLine);
    const QTransform t = painter_->combinedTransform();
    const double pixelsPerUnit = std::sqrt(std::abs(t.determinant()));
    if (kMarkerPenWidth * pixelsPerUnit < 1.0) {
        pen.setWidth(1);
        pen.setCosmetic(true);
    }
    painter_->setPen(pen);
    painter_->drawLine(Map(mark.LastLinePoint()), Map(mark.FirstLinePoint()));
}

void MFCDisplay::DrawColourPolyline(const std::vector<vra::Point2D>& points) {
    if (!painter_ || points.empty()) return;
    PenScope scope(*painter_);
    StrokePoints(points, PaletteColour(14));
}

void MFCDisplay::DrawPolylineWithPen(const vra::PieceOutline& outline, bool highlighted) {
    StrokePoints(outline.Points(), highlighted ? Qt::white : Qt::black);
}

void MFCDisplay::FillPolygonList(const vra::SpdTrkVisitor& visitor) {
    if (!painter_) return;
    PenScope scope(*painter_);
    for (const vra::ColouredPolygon& stripe : visitor.Stripes()) {
        if (stripe.points.empty()) continue;
        QPolygonF polygon;
        polygon.reserve(qsizetype(stripe.points.size()));
        for (const vra::Point2D& p : stripe.points) polygon << Map(p);
        const QColor colour(stripe.colour.red, stripe.colour.green, stripe.colour.blue);
        painter_->setPen(ThinPen(colour));
        painter_->setBrush(colour);
        painter_->drawPolygon(polygon);
    }
}

void MFCDisplay::DrawLineWithPen(const vra::Point2D& from, const vra::Point2D& to, bool highlighted) {
    if (!painter_) return;
    painter_->setPen(ThinPen(highlighted ? Qt::white : Qt::black));
    painter_->drawLine(Map(from), Map(to));
}

}  // namespace vra
