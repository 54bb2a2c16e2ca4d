#include "core/track/PointBudget.h"

#include "core/track/TrackGeometryError.h"
#include "core/track/TrackLimits.h"

#include <cmath>

namespace vra {

std::uint64_t PointBudget::LimitForLength(double metres) {
    constexpr double kFixed = 100'000.0;
    const double limit = kFixed + kMaxPointsPerMetre * std::fmax(metres, 0.0);
    // fmax also takes a NaN length as none.
    return limit >= static_cast<double>(kTrackLimit) ? kTrackLimit : static_cast<std::uint64_t>(limit);
}

void PointBudget::Take(std::uint64_t n) {
    if (n > left_) ThrowTrackGeometryInvalid();
    left_ -= n;
}

}  // namespace vra
