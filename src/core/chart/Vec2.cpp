#include "core/chart/Vec2.h"

#include <cmath>

namespace vra {

Point2D Vec2Sub(Point2D a, Point2D b) {
    return {a.x - b.x, a.y - b.y};
}
double Vec2LengthSquared(Point2D v) {
    return v.x * v.x + v.y * v.y;
}
double Vec2Length(Point2D v) {
    return std::sqrt(Vec2LengthSquared(v));
}
double Vec2Dot(Point2D a, Point2D b) {
    return a.x * b.x + a.y * b.y;
}

Vec2Projection Vec2Project(Point2D a, Point2D b) {
    Vec2Projection out;
    const double k = Vec2Dot(a, b) / Vec2Dot(b, b);
    out.parallel = {k * b.x, k * b.y};
    out.perpendicular = Vec2Sub(a, out.parallel);
    out.parallelLength = Vec2Length(out.parallel);
    out.perpendicularLength = Vec2Length(out.perpendicular);
    return out;
}

double PointLineDistance(int ax, int ay, int bx, int by, int qx, int qy) {
    const Point2D a{static_cast<double>(ax), static_cast<double>(ay)};
    const Point2D b{static_cast<double>(bx), static_cast<double>(by)};
    const Point2D q{static_cast<double>(qx), static_cast<double>(qy)};
    return Vec2Project(Vec2Sub(q, a), Vec2Sub(b, a)).perpendicularLength;
}

}  // namespace vra
