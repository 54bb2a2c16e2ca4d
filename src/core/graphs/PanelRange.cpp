#include "core/graphs/PanelRange.h"

#include <cmath>

namespace vra {

void PanelRange::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    hasScales_ = true;
    Rebuild();
}

void PanelRange::Rebuild() {
    x_ = AxisScale(0, width_, range_.x1, range_.x2);
    y_ = AxisScale(height_, 0, range_.y1, range_.y2);
}

bool PanelRange::SetRange(const GraphRange& r) {
    if (r == range_) return false;
    range_ = r;
    Rebuild();
    return true;
}

GraphRange PanelRange::Panned(int fromX, int fromY, int toX, int toY) const {
    const double dx = x_.ToValue(fromX) - x_.ToValue(toX);
    const double dy = y_.ToValue(fromY) - y_.ToValue(toY);
    return {range_.x1 + dx, range_.x2 + dx, range_.y1 + dy, range_.y2 + dy};
}

namespace {
void Widen(double& lo, double& hi) {
    if (lo == hi) {
        lo -= 1.0;
        hi += 1.0;
    }
}
}  // namespace

GraphRange PanelRange::Fitted(int id, double xMin, double xMax, double yMin, double yMax) const {
    GraphRange r = range_;
    if (id == 4103 || id == 4105) {
        r.x1 = xMin, r.x2 = xMax;
        Widen(r.x1, r.x2);
    }
    if (id == 4104 || id == 4105) {
        r.y1 = yMin, r.y2 = yMax;
        Widen(r.y1, r.y2);
    }
    return r;
}

std::optional<GraphRange> PanelRange::Extended(double x, double y) const {
    GraphRange r = range_;
    bool moved = false;
    auto take = [&](double v, double& a, double& b) {
        double& lower = a <= b ? a : b;
        double& upper = a <= b ? b : a;
        if (v < lower) {
            lower = v;
            moved = true;
        } else if (v > upper) {
            upper = v;
            moved = true;
        }
    };
    take(x, r.x1, r.x2);
    take(y, r.y1, r.y2);
    if (!moved) return std::nullopt;
    return r;
}

std::optional<GraphRange> PanelRange::Zoomed(int left, int top, int right, int bottom) const {
    if (left == right || top == bottom) return std::nullopt;
    return GraphRange{x_.ToValue(left), x_.ToValue(right), y_.ToValue(bottom), y_.ToValue(top)};
}

}  // namespace vra
