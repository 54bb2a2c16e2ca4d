#pragma once
// A mark across the track at a fixed share of its length: the points where the
// track's outermost boundary lines cross that distance.

#include "core/base/Point2D.h"

namespace vra {

class TrackPath;

class QuarterMark {
public:
    // Places the mark at track distance t; a distance that no piece holds
    // leaves the mark where it was.
    void Evaluate(const TrackPath& path, double t);

    // The point on the last boundary line, then the one on the first.
    const Point2D& LastLinePoint() const { return lastLine_; }
    const Point2D& FirstLinePoint() const { return firstLine_; }

private:
    Point2D lastLine_;
    Point2D firstLine_;
};

}  // namespace vra
