#pragma once
// What the playback drew over the map's static picture since its last full
// redraw: the lap segments of the running lines playback, kept in canvas
// units so that a scroll or a zoom draws them again at their place. It is the
// drawing surface the playback draws through, with the screen's mapping.

#include "gui/map/MFCDisplay.h"

#include <vector>

namespace vra {

class PlaybackLayer : public MFCDisplay {
public:
    struct Segment {
        DevicePoint from, to;
        std::int32_t colour = 0;
    };

    // Records the segment instead of drawing it; the view paints it.
    void DrawLine(const Point2D& newPoint, const Point2D& previous, Point2D& deviceEnd, std::int32_t colourIndex,
                  bool mapOnly) override;

    const std::vector<Segment>& Segments() const { return segments_; }
    void Clear() { segments_.clear(); }
    // Draws segments [first, end) through painter, which maps canvas units.
    void PaintSegments(QPainter& painter, std::size_t first) const;

private:
    std::vector<Segment> segments_;
};

}  // namespace vra
