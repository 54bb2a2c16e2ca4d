#include "core/document/TrackDistanceUnit.h"

#include <algorithm>
#include <cmath>

namespace vra {

double TrackDistanceUnitFor(double lengthMetres) {
    if (!std::isfinite(lengthMetres) || lengthMetres <= 0.0) return kDefaultTrackDistanceUnit;
    const double stepsPerMetre = 16777215.0 / (lengthMetres + 10.0);
    return 1.0 / std::min(stepsPerMetre, 1024.0);
}

}  // namespace vra
