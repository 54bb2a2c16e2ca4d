#include "core/track/PointBudget.h"

#include "core/track/TrackGeometryError.h"

namespace vra {

void PointBudget::Take(std::uint64_t n) {
    if (n > left_) ThrowTrackGeometryInvalid();
    left_ -= n;
}

}  // namespace vra
