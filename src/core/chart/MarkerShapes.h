#pragma once
// The eight point markers, as shapes a painter can draw: 0 square, 1 circle,
// 2 cross, 3 diamond, 4-7 triangles pointing left, up, right and down.

#include "core/chart/ChartTypes.h"

#include <vector>

namespace vra {

enum class MarkerShapeKind { Rectangle, Ellipse, Cross, Polygon };

struct MarkerShape {
    MarkerShapeKind kind = MarkerShapeKind::Rectangle;
    Rect box;                     // rectangle, ellipse, cross
    std::vector<IPoint> polygon;  // polygon corners
    bool outlinedInBlack = true;  // the cross is drawn in its own colour, 2 wide
};

inline constexpr int kMarkerKinds = 8;

// Nothing sensible for an unknown kind: the square is drawn instead.
MarkerShape MarkerGeometry(int kind, int x, int y, int size);

// The number on a numbered marker square: white on dark colours (blue
// counts half), black on light ones.
Rgb NumberedMarkerTextColour(Rgb fill, bool monochrome);

}  // namespace vra
