#pragma once
// One line along a piece (a wall or fence), stroked as a polyline and tagged
// with the kind code of the line it was built from.

#include "core/base/Point2D.h"

#include <cstdint>
#include <vector>

namespace vra {

class TrackPolyline {
public:
    explicit TrackPolyline(std::int32_t code) : code_(code) {}

    void AddPoint(const Point2D& p) { points_.push_back(p); }
    void Clear() { points_.clear(); }
    void Reserve(std::size_t n) { points_.reserve(n); }

    std::int32_t Code() const { return code_; }
    const std::vector<Point2D>& Points() const { return points_; }

private:
    std::int32_t code_;
    std::vector<Point2D> points_;
};

}  // namespace vra
