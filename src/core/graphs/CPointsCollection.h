#pragma once
// The points of one graph series, optionally kept in ascending x, with the
// extents of x and y taken independently.

#include "core/base/Point2D.h"

#include <span>
#include <vector>

namespace vra {

class CPointsCollection {
public:
    CPointsCollection() = default;
    CPointsCollection(bool sorted, bool allowDuplicates) : sorted_(sorted), allowDuplicates_(allowDuplicates) {}

    // Index of the new point. A sorted collection without duplicates replaces
    // the point of equal x.
    int Add(double x, double y, bool recompute);
    // The same as Add(x, y, true) for each point in turn. A run whose x keeps
    // rising past the last point's appends in one step, which is what a lap
    // mostly is; any other point takes Add's way.
    void AddAll(std::span<const Point2D> points);
    // Points whose x rise strictly from each to the next and whose y are all
    // numbers, with the lowest and highest of those y: what a producer that
    // watched its points go by already knows.
    struct Run {
        std::span<const Point2D> points;
        double lowY = 0.0;
        double highY = 0.0;
    };
    // The same as AddAll(run.points), taking run's word for its points.
    void AddAll(const Run& run);
    // -1 for an index outside 0..count.
    int Insert(int index, double x, double y, bool recompute);
    // The point's new index, or -1 for an index outside the points.
    int Replace(int index, double x, double y, bool recompute);
    // Nothing for an index outside the points.
    void Remove(int index, bool recompute);
    void Clear();
    void RecomputeExtents();
    void Reserve(int n) {
        if (n > 0) points_.reserve(static_cast<std::size_t>(n));
    }

    int Count() const { return static_cast<int>(points_.size()); }
    const Point2D& At(int index) const { return points_[static_cast<std::size_t>(index)]; }
    const std::vector<Point2D>& Points() const { return points_; }
    const Point2D& Minimum() const { return minimum_; }
    const Point2D& Maximum() const { return maximum_; }
    bool Sorted() const { return sorted_; }
    bool AllowDuplicates() const { return allowDuplicates_; }

private:
    void Widen(double x, double y);

    std::vector<Point2D> points_;
    Point2D maximum_;
    Point2D minimum_;
    bool sorted_ = false;
    bool allowDuplicates_ = false;
};

}  // namespace vra
