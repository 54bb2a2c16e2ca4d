#include "core/graphs/CPointsCollection.h"

#include <algorithm>
#include <limits>

namespace vra {

namespace {

// Folds the y of points into low and high with std::min and std::max, one
// point after another, as Widen does. Four running extents instead of one
// take a quarter of the steps of one dependent chain; they give the same
// value (each passes over a y that is not a number, as the single chain
// does, and one that starts as not a number stays so), and the zero that
// the single chain would keep, +0 or -0, is its first.
void FoldY(const Point2D* points, std::size_t n, double& low, double& high) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    double lo[4] = {low, inf, inf, inf}, hi[4] = {high, -inf, -inf, -inf};
    std::size_t k = 0;
    for (; k + 4 <= n; k += 4)
        for (std::size_t j = 0; j < 4; ++j) {
            lo[j] = std::min(lo[j], points[k + j].y);
            hi[j] = std::max(hi[j], points[k + j].y);
        }
    for (; k < n; ++k) {
        lo[0] = std::min(lo[0], points[k].y);
        hi[0] = std::max(hi[0], points[k].y);
    }
    const auto firstZero = [&](double start) {
        if (start == 0.0) return start;
        for (std::size_t j = 0;; ++j)
            if (points[j].y == 0.0) return points[j].y;
    };
    const double newLow = std::min(std::min(std::min(lo[0], lo[1]), lo[2]), lo[3]);
    const double newHigh = std::max(std::max(std::max(hi[0], hi[1]), hi[2]), hi[3]);
    low = newLow == 0.0 ? firstZero(low) : newLow;
    high = newHigh == 0.0 ? firstZero(high) : newHigh;
}

}  // namespace

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
        std::size_t end = i + 1;
        while (end < n && points[end].x > points[end - 1].x) ++end;
        Point2D low = first, high = first;
        if (points_.empty()) {
            FoldY(points.data() + i + 1, end - i - 1, low.y, high.y);
        } else {
            low = minimum_, high = maximum_;
            FoldY(points.data() + i, end - i, low.y, high.y);
            low.x = std::min(low.x, first.x);
            high.x = std::max(high.x, first.x);
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
