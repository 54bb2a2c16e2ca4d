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

void CPointsCollection::AddAll(std::span<const Point2D> points) {
    const std::size_t n = points.size();
    std::size_t i = 0;
    while (i < n) {
        const Point2D& first = points[i];
        if (!sorted_ || (!points_.empty() && !(first.x > points_.back().x))) {
            Add(first.x, first.y, true);
            ++i;
            continue;
        }
        // first goes to the end, and so does every point after it whose x
        // rises strictly, widening the extents as Add would.
        Point2D low = first, high = first;
        if (!points_.empty()) {
            high.x = std::max(maximum_.x, first.x);
            high.y = std::max(maximum_.y, first.y);
            low.x = std::min(minimum_.x, first.x);
            low.y = std::min(minimum_.y, first.y);
        }
        std::size_t end = i + 1;
        for (; end < n && points[end].x > points[end - 1].x; ++end) {
            high.y = std::max(high.y, points[end].y);
            low.y = std::min(low.y, points[end].y);
        }
        // Within the run x only rises: its first point is the only one that
        // can lower the minimum, its last the only one that can raise the
        // maximum.
        high.x = std::max(high.x, points[end - 1].x);
        points_.insert(points_.end(), points.begin() + static_cast<std::ptrdiff_t>(i),
                       points.begin() + static_cast<std::ptrdiff_t>(end));
        minimum_ = low;
        maximum_ = high;
        i = end;
    }
}

void CPointsCollection::AddAll(const Run& run) {
    const std::span<const Point2D> points = run.points;
    if (points.empty()) return;
    const Point2D& first = points.front();
    if (!sorted_ || (!points_.empty() && !(first.x > points_.back().x))) {
        AddAll(points);
        return;
    }
    // As in a rising run above; the least and greatest y are the first of
    // their value, which is where Add's widening stops too.
    Point2D low{first.x, run.lowY}, high{first.x, run.highY};
    if (!points_.empty()) {
        low = {std::min(minimum_.x, first.x), std::min(minimum_.y, run.lowY)};
        high = {std::max(maximum_.x, first.x), std::max(maximum_.y, run.highY)};
    }
    high.x = std::max(high.x, points.back().x);
    points_.insert(points_.end(), points.begin(), points.end());
    minimum_ = low;
    maximum_ = high;
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
