#pragma once
// A drawing surface that draws nothing and only maps world points through its
// own transform. The lap channels are measured on it, so that their large
// canvas never disturbs the transform of a display someone looks at.

#include "core/mapping/MapTransform.h"
#include "core/track/CoreDisplay.h"

namespace vra {

class ChannelDisplay : public BlankDisplay {
public:
    MapTransform& Transform() { return transform_; }
    const MapTransform& Transform() const { return transform_; }

    void DrawLine(const Point2D& newPoint, const Point2D& previous, Point2D& deviceEnd, std::int32_t colourIndex,
                  bool mapOnly) override;
    void MapPoint(const Point2D& p, DevicePoint& device) override;

private:
    MapTransform transform_;
};

}  // namespace vra
