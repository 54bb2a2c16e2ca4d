#include "core/document/ChannelDisplay.h"

namespace vra {

void ChannelDisplay::DrawLine(const Point2D& newPoint, const Point2D&, Point2D& deviceEnd, std::int32_t, bool) {
    const DevicePoint d = transform_.MapPoint(newPoint);
    deviceEnd = {static_cast<double>(d.x), static_cast<double>(d.y)};
}

void ChannelDisplay::MapPoint(const Point2D& p, DevicePoint& device) {
    device = transform_.MapPoint(p);
}

}  // namespace vra
