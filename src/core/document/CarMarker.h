#pragma once
// A car on the map during a race playback: its track position mapped to the
// device, drawn as the car's outline turned to its heading, or as a dot.

#include "core/base/Point2D.h"
#include "core/mapping/MapTransform.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vra {

class CoreDisplay;
class TrackPath;

class CarMarker {
public:
    // The car's outline in metres, x forward along the car, y across it:
    // body (20 points), rear part (7) and front part (5), each closed.
    static std::span<const Point2D> BodyOutline();
    static std::span<const Point2D> RearOutline();
    static std::span<const Point2D> FrontOutline();

    // trackPath may be null: nothing is then mapped. Not owned.
    explicit CarMarker(const TrackPath* trackPath);

    // The device point of a track position; device is left unchanged when
    // the distance lies on no piece.
    void TrackToDevice(CoreDisplay& display, DevicePoint& device, double distance, double lateral) const;
    // The outline turned to headingDegrees (doubled when oversized), drawn
    // round the device point.
    void Draw(CoreDisplay& display, DevicePoint device, double headingDegrees, std::int32_t colourIndex,
              bool oversized);
    void DrawDot(CoreDisplay& display, DevicePoint device, std::int32_t colourIndex);

    // The outline as last turned, for the display to draw.
    const std::vector<Point2D>& Body() const { return body_; }
    const std::vector<Point2D>& Rear() const { return rear_; }
    const std::vector<Point2D>& Front() const { return front_; }

private:
    const TrackPath* trackPath_;
    std::vector<Point2D> body_;
    std::vector<Point2D> rear_;
    std::vector<Point2D> front_;
};

}  // namespace vra
