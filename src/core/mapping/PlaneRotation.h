#pragma once
// Turning points of the plane: an angle as a unit vector, and a point turned
// by the angle of a unit vector (the complex product).

#include "core/base/Point2D.h"

#include <cmath>

namespace vra {

// (cos a, sin a) of an angle in radians.
inline Point2D PolarUnit(double angle) {
    return {std::cos(angle), std::sin(angle)};
}

// p turned by the angle of the unit vector u: (u.x p.x - u.y p.y,
// u.y p.x + u.x p.y). Works for any point type with members x and y.
template <class Point>
Point RotateComplex(const Point& p, const Point2D& u) {
    Point r = p;
    r.x = u.x * p.x - u.y * p.y;
    r.y = u.y * p.x + u.x * p.y;
    return r;
}

}  // namespace vra
