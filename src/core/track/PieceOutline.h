#pragma once
// The centre line of one track piece as a list of map points.

#include "core/base/Point2D.h"
#include "core/track/TrackBounds.h"

#include <vector>

namespace vra {

class PieceOutline {
public:
    // Appends the point and widens the path's centre-line box with it.
    void AddPoint(const Point2D& p, TrackBounds& bounds) {
        points_.push_back(p);
        bounds.AddPoint(p);
    }
    void Reserve(std::size_t n) { points_.reserve(n); }

    const std::vector<Point2D>& Points() const { return points_; }
    std::size_t PointCount() const { return points_.size(); }

private:
    std::vector<Point2D> points_;
};

}  // namespace vra
