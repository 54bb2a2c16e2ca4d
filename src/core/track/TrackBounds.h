#pragma once
// The extent of a set of map points: the smallest box that holds every point
// added since the last reset. A track path owns its boxes, so a second loaded
// track never disturbs the extent of the first.

#include "core/base/Point2D.h"
#include "core/mapping/MapTransform.h"  // WorldBox

#include <limits>

namespace vra {

class TrackBounds {
public:
    void AddPoint(const Point2D& p) {
        if (!valid_) {
            minX_ = maxX_ = p.x;
            minY_ = maxY_ = p.y;
            valid_ = true;
            return;
        }
        if (p.x < minX_) minX_ = p.x;
        if (p.y < minY_) minY_ = p.y;
        if (p.x > maxX_) maxX_ = p.x;
        if (p.y > maxY_) maxY_ = p.y;
    }
    void Reset() { valid_ = false; }

    // False after a reset until the next point: the values are then stale.
    bool IsValid() const { return valid_; }

    // The box to fit a map to; invalid (so that no fit is made) while the
    // box holds no point.
    WorldBox Box() const {
        if (!valid_) {
            const double nan = std::numeric_limits<double>::quiet_NaN();
            return {nan, nan, nan, nan};
        }
        return {minX_, minY_, maxX_, maxY_};
    }

    double MinX() const { return minX_; }
    double MaxX() const { return maxX_; }
    double MinY() const { return minY_; }
    double MaxY() const { return maxY_; }

private:
    bool valid_ = false;
    double minX_ = 0.0;
    double maxX_ = 0.0;
    double minY_ = 0.0;
    double maxY_ = 0.0;
};

}  // namespace vra
