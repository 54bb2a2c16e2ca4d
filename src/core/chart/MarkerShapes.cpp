#include "core/chart/MarkerShapes.h"

#include <algorithm>

namespace vra {

MarkerShape MarkerGeometry(int kind, int x, int y, int s) {
    MarkerShape m;
    const int h = s / 2;
    switch (kind) {
        case 1:
            m.kind = MarkerShapeKind::Ellipse;
            m.box = {x, y, x + s, y + s};
            break;
        case 2:
            m.kind = MarkerShapeKind::Cross;
            m.box = {x, y, x + s, y + s};
            m.outlinedInBlack = false;
            break;
        case 3:
            m.kind = MarkerShapeKind::Polygon;
            m.polygon = {{x + h, y}, {x + s, y + h}, {x + h, y + s}, {x, y + h}};
            break;
        case 4:
            m.kind = MarkerShapeKind::Polygon;
            m.polygon = {{x + s - 1, y}, {x, y + h}, {x + s - 1, y + s}};
            break;
        case 5:
            m.kind = MarkerShapeKind::Polygon;
            m.polygon = {{x + h, y}, {x + s, y + s}, {x, y + s}};
            break;
        case 6:
            m.kind = MarkerShapeKind::Polygon;
            m.polygon = {{x, y}, {x + s, y + h}, {x, y + s}};
            break;
        case 7:
            m.kind = MarkerShapeKind::Polygon;
            m.polygon = {{x, y}, {x + s, y}, {x + h, y + s}};
            break;
        default:
            m.kind = MarkerShapeKind::Rectangle;
            m.box = {x, y, x + s, y + s};
            break;
    }
    return m;
}

Rgb NumberedMarkerTextColour(Rgb fill, bool monochrome) {
    if (monochrome) return kWhite;
    const int v = std::max({static_cast<int>(fill.red), static_cast<int>(fill.green), fill.blue / 2});
    return v <= 128 ? kWhite : kBlack;
}

}  // namespace vra
