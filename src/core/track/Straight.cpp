#include "core/track/Straight.h"

#include "core/track/CoreDisplay.h"
#include "core/track/SegmentVisitor.h"
#include "core/track/TrackGeometryError.h"

#include <cmath>

namespace vra {

Straight::Straight(CountedPtr<KtSegment> segment, double startDistance) : Segment(std::move(segment), startDistance) {
    const double length = ChordLength(x0_, y0_, x1_, y1_);
    if (!std::isfinite(length)) ThrowTrackGeometryInvalid();
    length_ = length;
}

std::uint64_t Straight::PointsToBuild() const {
    const std::uint64_t surfaces = fLines_.size() < 2 ? 0 : fLines_.size() - 1;
    return 2 + 4 * surfaces + 2 * wLines_.size();
}

void Straight::AddEndPoints(TrackBounds& bounds) {
    outline_.AddPoint({x0_, y0_}, bounds);
    outline_.AddPoint({x1_, y1_}, bounds);
}

void Straight::BuildSurfaces(TrackEdgeBounds& edgeBounds) {
    for (std::size_t k = 1; k < fLines_.size(); ++k) {
        const SectionLine& a = fLines_[k - 1];
        const SectionLine& b = fLines_[k];
        TrackSurface surface(a.code);
        surface.Reserve(4);
        surface.AddPoint(StartPointAt(a.startOffset), edgeBounds);
        surface.AddPoint(EndPointAt(a.endOffset), edgeBounds);
        surface.AddPoint(EndPointAt(b.endOffset), edgeBounds);
        surface.AddPoint(StartPointAt(b.startOffset), edgeBounds);
        surfaces_.push_back(std::move(surface));
    }
}

void Straight::BuildPolylines() {
    for (const SectionLine& w : wLines_) {
        TrackPolyline line(w.code);
        line.AddPoint(StartPointAt(w.startOffset));
        line.AddPoint(EndPointAt(w.endOffset));
        polylines_.push_back(std::move(line));
    }
}

void Straight::Accept(SegmentVisitor& visitor) const {
    visitor.VisitStraight(*this);
}

Point2D Straight::PositionAt(double s, double d) const {
    return {x0_ + s * cosStart_ - d * sinStart_, y0_ + s * sinStart_ + d * cosStart_};
}

Point2D Straight::FirstWallPositionAt(double s) const {
    return PositionAt(s, fLines_.empty() ? 0.0 : OffsetAt(fLines_.front(), s));
}

Point2D Straight::LastWallPositionAt(double s) const {
    return PositionAt(s, fLines_.empty() ? 0.0 : OffsetAt(fLines_.back(), s));
}

void Straight::Draw(CoreDisplay& display) const {
    const Point2D start{x0_, y0_};
    const Point2D end{x1_, y1_};
    const Point2D a = PositionAt(entryDistance_ - startDistance_, 0.0);
    const Point2D b = PositionAt(exitDistance_ - startDistance_, 0.0);
    if (entered_ && left_) {
        display.DrawLineWithPen(start, a, false);
        display.DrawLineWithPen(a, b, true);
        display.DrawLineWithPen(b, end, false);
    } else if (entered_) {
        display.DrawLineWithPen(start, a, false);
        display.DrawLineWithPen(a, end, true);
    } else if (left_) {
        display.DrawLineWithPen(start, b, true);
        display.DrawLineWithPen(b, end, false);
    }
}

}  // namespace vra
