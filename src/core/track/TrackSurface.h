#pragma once
// A filled band of track surface between two consecutive boundary lines of a
// piece, coloured by the kind of surface that begins at the first line.

#include "core/base/Point2D.h"
#include "core/track/TrackEdgeBounds.h"

#include <cstdint>
#include <vector>

namespace vra {

class TrackSurface {
public:
    explicit TrackSurface(std::int32_t code);

    // Appends a corner of the polygon and widens the path's edge box with it.
    void AddPoint(const Point2D& p, TrackEdgeBounds& bounds) {
        points_.push_back(p);
        bounds.AddPoint(p);
    }
    void Reserve(std::size_t n) { points_.reserve(n); }

    std::int32_t Code() const { return code_; }
    std::int32_t ColourClass() const { return colourClass_; }
    std::size_t PointCount() const { return points_.size(); }
    const std::vector<Point2D>& Points() const { return points_; }

    // The colour class of a surface code: 1 to 8 name the drawn surface kinds
    // (some codes share one), anything else is drawn in the fallback colour 11.
    static std::int32_t ColourClassOf(std::int32_t code);

private:
    std::int32_t code_;
    std::vector<Point2D> points_;
    std::int32_t colourClass_;
};

}  // namespace vra
