#pragma once
// A point or vector of the map's world plane: x and y in metres.

namespace vra {

struct Point2D {
    double x = 0.0;
    double y = 0.0;

    friend bool operator==(const Point2D&, const Point2D&) = default;
};

}  // namespace vra
