#pragma once
// A straight piece: from the start point along the start heading.

#include "core/track/Segment.h"

namespace vra {

class Straight : public Segment {
public:
    Straight(CountedPtr<KtSegment> segment, double startDistance);

    std::uint64_t PointsToBuild() const override;
    void AddEndPoints(TrackBounds& bounds) override;
    void BuildSurfaces(TrackEdgeBounds& edgeBounds) override;
    void BuildPolylines() override;
    void Accept(SegmentVisitor& visitor) const override;
    Point2D PositionAt(double s, double d) const override;
    Point2D FirstWallPositionAt(double s) const override;
    Point2D LastWallPositionAt(double s) const override;
    void Draw(CoreDisplay& display) const override;
};

}  // namespace vra
