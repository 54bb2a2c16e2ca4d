#pragma once
// A corner: a circular arc from the start pose to the end pose, turning left
// for a positive sweep and right for a negative one.

#include "core/track/Segment.h"

#include <vector>

namespace vra {

class Corner : public Segment {
public:
    // The most outline points of one corner, one every half metre up to a
    // corner of 500 km; longer corners are drawn with coarser steps.
    static constexpr std::uint32_t kMaxPointCount = 1'000'000;

    // Throws KtException "track geometry is invalid" when the arc's values are
    // not finite. A segment whose headings give no turn is not a corner;
    // MakeTrackPiece makes a Straight of it instead.
    Corner(CountedPtr<KtSegment> segment, double startDistance);

    // The turn from the start heading to the end heading, brought into
    // [-pi, pi]; positive turns left.
    static double SweepOf(double h0, double h1);
    // A segment whose headings give no turn, or a turn so slight that its
    // radius exceeds kMaxCornerRadius, is drawn as a straight.
    static bool IsNearlyStraight(const KtSegment& segment);

    std::uint64_t PointsToBuild() const override;
    void AddEndPoints(TrackBounds& bounds) override;
    void BuildSurfaces(TrackEdgeBounds& edgeBounds) override;
    void BuildPolylines() override;
    void Accept(SegmentVisitor& visitor) const override;
    Point2D PositionAt(double s, double d) const override;
    Point2D FirstWallPositionAt(double s) const override;
    Point2D LastWallPositionAt(double s) const override;
    void Draw(CoreDisplay& display) const override;

    Point2D Centre() const { return {centreX_, centreY_}; }
    double Radius() const { return radius_; }
    double Sweep() const { return sweep_; }
    std::uint32_t PointCount() const { return pointCount_; }

    // The points of a line from lateral offset d0 at the start to d1 at the
    // end that follows the arc: pointCount + 2 points.
    std::vector<Point2D> ArcLinePoints(double d0, double d1) const;

private:
    // -1 for a left turn (offsets to the left lie nearer the centre), +1 for
    // a right turn.
    double Side() const { return sweep_ >= 0.0 ? -1.0 : 1.0; }
    Point2D PointAround(double r, double angle) const;
    Point2D WallPositionAt(const SectionLine* line, double s) const;
    std::vector<Point2D> LinePoints(const SectionLine& line) const;
    std::uint64_t LinePointCount(const SectionLine& line) const;

    double centreX_ = 0.0;
    double centreY_ = 0.0;
    double radius_ = 0.0;
    double sweep_ = 0.0;
    std::uint32_t pointCount_ = 1;
};

}  // namespace vra
