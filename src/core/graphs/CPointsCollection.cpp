#include "core/graphs/CPointsCollection.h"

#include <algorithm>

namespace vra {

void CPointsCollection::Widen(double x, double y) {
    if (points_.empty()) {
        minimum_ = maximum_ = Point2D{x, y};
        return;
    }
    maximum_.x = std::max(maximum_.x, x);
    maximum_.y = std::max(maximum_.y, y);
    minimum_.x = std::min(minimum_.x, x);
    minimum_.y = std::min(minimum_.y, y);
}

int CPointsCollection::Add(double x, double y, bool recompute) {
    Widen(x, y);
    const int count = Count();
    if (!sorted_ || points_.empty() || x > points_.back().x) {
        points_.push_back({x, y});
        return count;
    }
    if (x < points_.front().x) {
        points_.insert(points_.begin(), {x, y});
        return 0;
    }
    // Binary search finds the first point of equal or greater x; a linear walk
    // would give the same index but grows quadratic on a car standing still.
    const auto it =
        std::lower_bound(points_.begin(), points_.end(), x, [](const Point2D& p, double v) { return p.x < v; });
    const int index = static_cast<int>(it - points_.begin());
    if (it->x == x && !allowDuplicates_) {
        *it = Point2D{x, y};
        if (recompute) RecomputeExtents();
        return index;
    }
    points_.insert(it, {x, y});
    return index;
}

int CPointsCollection::Insert(int index, double x, double y, bool recompute) {
    if (index < 0 || index > Count()) return -1;
    if (index == Count() || sorted_) return Add(x, y, recompute);
    points_.insert(points_.begin() + index, {x, y});
    if (recompute) RecomputeExtents();
    return index;
}

int CPointsCollection::Replace(int index, double x, double y, bool recompute) {
    if (index < 0 || index >= Count()) return -1;
    Remove(index, false);
    if (sorted_) return Add(x, y, recompute);
    points_.insert(points_.begin() + index, {x, y});
    if (recompute) RecomputeExtents();
    return index;
}

void CPointsCollection::Remove(int index, bool recompute) {
    if (index < 0 || index >= Count()) return;
    points_.erase(points_.begin() + index);
    if (recompute) RecomputeExtents();
}

void CPointsCollection::Clear() {
    points_.clear();
    minimum_ = maximum_ = Point2D{};
}

void CPointsCollection::RecomputeExtents() {
    if (points_.empty()) {
        minimum_ = maximum_ = Point2D{};
        return;
    }
    minimum_ = maximum_ = points_.front();
    for (const Point2D& p : points_) {
        minimum_.x = std::min(minimum_.x, p.x);
        minimum_.y = std::min(minimum_.y, p.y);
        maximum_.x = std::max(maximum_.x, p.x);
        maximum_.y = std::max(maximum_.y, p.y);
    }
}

}  // namespace vra
