#include "core/mapping/MapTransform.h"

#include "core/base/RoundToInt.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vra {

namespace {

std::int32_t Saturate(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

bool WorldBox::IsValid() const {
    return std::isfinite(minX) && std::isfinite(minY) && std::isfinite(maxX) && std::isfinite(maxY) && minX <= maxX &&
           minY <= maxY;
}

std::int32_t MapTransform::RoundToInt(double v) {
    return vra::RoundToInt(v);
}

bool MapTransform::Fit(const WorldBox& box, std::uint32_t marginX, std::uint32_t marginY, std::uint32_t width,
                       std::uint32_t height) {
    fitted_ = false;
    if (!box.IsValid()) return false;
    const double availW = double(width) - 2.0 * marginX;
    const double availH = double(height) - 2.0 * marginY;
    if (!(availW > 0.0) || !(availH > 0.0)) return false;
    const double boxW = box.maxX - box.minX;
    const double boxH = box.maxY - box.minY;
    const double sx = boxW / availW;
    const double sy = boxH / availH;
    const double scale = sx > sy ? sx : sy;
    // A box of one point, or of such a spread that the scale overflows, has no
    // usable mapping.
    if (!(scale > 0.0) || !std::isfinite(scale) || !std::isfinite(boxW) || !std::isfinite(boxH)) return false;

    scale_ = scale;
    originX_ =
        Saturate(std::int64_t{RoundToInt((availW - boxW / scale) / 2.0)} - RoundToInt(box.minX / scale) + marginX);
    originY_ =
        Saturate(std::int64_t{RoundToInt((availH - boxH / scale) / 2.0)} + RoundToInt(box.maxY / scale) + marginY);
    fitted_ = true;
    return true;
}

bool MapTransform::FitToTrackEdges(const WorldBox& box, std::uint32_t marginX, std::uint32_t marginY,
                                   std::uint32_t width, std::uint32_t height) {
    if (!Fit(box, marginX, marginY, width, height)) return false;
    const double boxW = box.maxX - box.minX;
    const double boxH = box.maxY - box.minY;
    // A box without width or height limits by the other side alone.
    const double ux = boxW > 0.0 ? width / boxW : std::numeric_limits<double>::infinity();
    const double uy = boxH > 0.0 ? height / boxH : std::numeric_limits<double>::infinity();
    unitsPerMetre_ = std::min(ux, uy);
    return true;
}

DevicePoint MapTransform::MapPoint(double x, double y) const {
    const DevicePoint d = WorldToDevice(x, y);
    return {Saturate(std::int64_t{d.x} + originX_), Saturate(std::int64_t{originY_} - d.y)};
}

DevicePoint MapTransform::WorldToDevice(double x, double y) const {
    return {RoundToInt(x / scale_), RoundToInt(y / scale_)};
}

}  // namespace vra
