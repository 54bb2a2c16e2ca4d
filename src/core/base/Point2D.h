#pragma once
// A point or vector of the plane: world points in metres, or a unit vector
// that stands for an angle.

namespace vra {

struct Point2D {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const Point2D&, const Point2D&) = default;
};

}  // namespace vra
