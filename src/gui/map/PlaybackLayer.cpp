#include "gui/map/PlaybackLayer.h"

#include <QPainter>

namespace vra {

void PlaybackLayer::DrawLine(const Point2D& newPoint, const Point2D& previous, Point2D& deviceEnd,
                             std::int32_t colourIndex, bool mapOnly) {
    const DevicePoint to = Transform().MapPoint(newPoint);
    deviceEnd = {double(to.x), double(to.y)};
    if (mapOnly) return;
    segments_.push_back({Transform().MapPoint(previous), to, colourIndex});
}

void PlaybackLayer::PaintSegments(QPainter& painter, std::size_t first) const {
    if (first >= segments_.size()) return;
    // The pen of the static lines: one pixel at any zoom.
    QPen pen;
    pen.setWidth(0);
    pen.setCosmetic(true);
    std::int32_t colour = -1;
    for (std::size_t i = first; i < segments_.size(); ++i) {
        const Segment& s = segments_[i];
        if (s.colour != colour) {
            colour = s.colour;
            pen.setColor(PaletteColour(colour));
            painter.setPen(pen);
        }
        painter.drawLine(QPointF(s.from.x, s.from.y), QPointF(s.to.x, s.to.y));
    }
}

}  // namespace vra
