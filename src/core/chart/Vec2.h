#pragma once
// Plane vector helpers of the curve hit test.

#include "core/base/Point2D.h"

namespace vra {

struct Vec2Projection {
    Point2D parallel;
    Point2D perpendicular;
    double parallelLength = 0.0;
    double perpendicularLength = 0.0;
};

Point2D Vec2Sub(Point2D a, Point2D b);
double Vec2LengthSquared(Point2D v);
double Vec2Length(Point2D v);
double Vec2Dot(Point2D a, Point2D b);
Vec2Projection Vec2Project(Point2D a, Point2D b);

// Distance of q from the infinite line through a and b; not a number when a
// and b coincide.
double PointLineDistance(int ax, int ay, int bx, int by, int qx, int qy);

}  // namespace vra
