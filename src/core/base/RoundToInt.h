#pragma once

#include <climits>
#include <cmath>

namespace vra {

// Rounds half away from zero, as every world-to-device conversion does.
// Values beyond the int range saturate and NaN gives 0, so that a far-off or
// broken point lands off screen instead of being undefined to convert.
inline int RoundToInt(double x) {
    if (std::isnan(x)) return 0;
    const double r = x >= 0 ? std::trunc(x + 0.5) : std::trunc(x - 0.5);
    if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(r);
}

}  // namespace vra
