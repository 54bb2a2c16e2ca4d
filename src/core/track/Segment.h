#pragma once
// One piece of the track map, built from one decoded segment: it knows where
// it starts along the track and how long it is, maps a distance into the piece
// and a lateral offset to a map point, and builds and draws its map elements.
// Lateral offsets are positive to the left of the direction of travel.

#include "core/base/Point2D.h"
#include "core/decode/CountedPtr.h"
#include "core/track/PieceOutline.h"
#include "core/track/TrackPolyline.h"
#include "core/track/TrackSurface.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace vra {

class CoreDisplay;
class KtSegment;
class PointBudget;
class SegmentVisitor;
class TrackBounds;
class TrackEdgeBounds;

// The distance from (x0, y0) to (x1, y1) as the root of the sum of squares,
// not hypot: every length and distance along a track follows from these, and
// hypot rounds differently.
inline double ChordLength(double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    return std::sqrt(dx * dx + dy * dy);
}

class Segment {
public:
    // A boundary line (F section) or a wall line (W section) of the segment:
    // its lateral offsets at the piece's start and end, whether a corner draws
    // it as a straight chord, and its code.
    struct SectionLine {
        bool straight = false;
        double startOffset = 0.0;
        double endOffset = 0.0;
        std::int32_t code = 0;
    };

    virtual ~Segment();
    Segment(const Segment&) = delete;
    Segment& operator=(const Segment&) = delete;

    // Map points this piece will create in AddEndPoints, BuildSurfaces and
    // BuildPolylines together, known before any of them runs.
    virtual std::uint64_t PointsToBuild() const = 0;
    virtual void AddEndPoints(TrackBounds& bounds) = 0;
    virtual void BuildSurfaces(TrackEdgeBounds& edgeBounds) = 0;
    virtual void BuildPolylines() = 0;
    virtual void Accept(SegmentVisitor& visitor) const = 0;
    // s is the distance into the piece, d the lateral offset.
    virtual Point2D PositionAt(double s, double d) const = 0;
    virtual Point2D FirstWallPositionAt(double s) const = 0;
    virtual Point2D LastWallPositionAt(double s) const = 0;
    virtual void Draw(CoreDisplay& display) const = 0;

    double StartDistance() const { return startDistance_; }
    double Length() const { return length_; }
    const PieceOutline& Outline() const { return outline_; }
    const std::vector<TrackSurface>& Surfaces() const { return surfaces_; }
    const std::vector<TrackPolyline>& Polylines() const { return polylines_; }
    const CountedPtr<KtSegment>& Source() const { return segment_; }

    // The points at lateral offset d beside the start and the end point.
    Point2D StartPointAt(double d) const;
    Point2D EndPointAt(double d) const;

    // Highlight: Enter and Exit mark where a highlighted stretch begins and
    // ends inside the piece; HighlightWhole marks all of it.
    void Enter(double t);
    void Exit(double t);
    void HighlightWhole();
    void ClearHighlight();
    bool IsEntered() const { return entered_; }
    bool IsLeft() const { return left_; }
    bool IsWhole() const { return whole_; }
    double EntryDistance() const { return entryDistance_; }
    double ExitDistance() const { return exitDistance_; }

    void DrawOnDisplay(CoreDisplay& display) const;

protected:
    // Reads the pose and the section lines of the segment; throws KtException
    // "track geometry is invalid" for a pose or an offset that is not finite.
    Segment(CountedPtr<KtSegment> segment, double startDistance);

    // The offset of a boundary line at distance s into the piece.
    double OffsetAt(const SectionLine& line, double s) const;

    PieceOutline outline_;
    std::vector<TrackSurface> surfaces_;
    std::vector<TrackPolyline> polylines_;
    CountedPtr<KtSegment> segment_;
    double length_ = 0.0;
    double startDistance_ = 0.0;
    bool entered_ = false;
    bool left_ = false;
    bool whole_ = false;
    double entryDistance_ = 0.0;
    double exitDistance_ = 0.0;
    double sinStart_ = 0.0;
    double cosStart_ = 1.0;
    double sinEnd_ = 0.0;
    double cosEnd_ = 1.0;

    // The segment's values, read once: start and end pose, boundary lines
    // and wall lines in list order.
    double x0_ = 0.0, y0_ = 0.0, h0_ = 0.0;
    double x1_ = 0.0, y1_ = 0.0, h1_ = 0.0;
    std::vector<SectionLine> fLines_;
    std::vector<SectionLine> wLines_;
};

}  // namespace vra
