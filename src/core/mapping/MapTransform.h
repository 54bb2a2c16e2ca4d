#pragma once
// The mapping of world metres onto a device rectangle: a scale and a device
// origin chosen so that a box of world points fits the rectangle inside its
// margins, centred, with world y growing upwards and device y downwards.
// Each user (screen, printer, exported image, lap channels) owns its own.

#include <cstdint>

namespace vra {

// A box of world points; "valid" when its bounds are finite and ordered.
struct WorldBox {
    double minX = 0.0;
    double minY = 0.0;
    double maxX = 0.0;
    double maxY = 0.0;
    bool IsValid() const;
};

struct DevicePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const DevicePoint&, const DevicePoint&) = default;
};

class MapTransform {
public:
    // Half away from zero, saturated to the 32-bit range; NaN gives 0.
    static std::int32_t RoundToInt(double v);

    // Fits box into a width x height rectangle with the margins on each
    // side. A box that is invalid or has no extent, or a rectangle with no
    // room inside its margins, is refused: the transform is then not fitted
    // and its users draw nothing. Returns whether the fit was made.
    bool Fit(const WorldBox& box, std::uint32_t marginX, std::uint32_t marginY, std::uint32_t width,
             std::uint32_t height);
    // The same, and also records the device units per metre over the whole
    // rectangle (margins included), by which the view sizes its markers.
    bool FitToTrackEdges(const WorldBox& box, std::uint32_t marginX, std::uint32_t marginY, std::uint32_t width,
                         std::uint32_t height);

    bool IsFitted() const { return fitted_; }
    // World metres per device unit.
    double Scale() const { return scale_; }
    std::int32_t OriginX() const { return originX_; }
    std::int32_t OriginY() const { return originY_; }
    double UnitsPerMetre() const { return unitsPerMetre_; }

    // The device point of a world point, origin added and y flipped.
    DevicePoint MapPoint(double x, double y) const;
    template <class Point>
    DevicePoint MapPoint(const Point& p) const {
        return MapPoint(p.x, p.y);
    }
    // World lengths in device units: no origin, no flip.
    DevicePoint WorldToDevice(double x, double y) const;

private:
    double scale_ = 1.0;
    std::int32_t originX_ = 10;
    std::int32_t originY_ = 10;
    double unitsPerMetre_ = 0.0;
    bool fitted_ = false;
};

}  // namespace vra
