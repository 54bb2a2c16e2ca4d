#include "core/document/LapPoints.h"

#include "core/document/LapLinePlotter.h"
#include "core/replay/GetRpyInfo.h"

#include <algorithm>

namespace vra {

void LapPoints::Compute(const GetRpyInfo& lap, const TrackPath& track) {
    Clear();
    const std::size_t count = std::min(
        {static_cast<std::size_t>(std::max(lap.sampleCount, 0)) + 1, lap.distanceM.size(), lap.lateralM.size()});
    points_.assign(count, Point2D{});
    placed_.assign(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const double distance = lap.distanceM[i];
        const double lateral = lap.lateralM[i];
        if (distance == 0.0 && lateral == 0.0) continue;
        const auto point = LapLinePlotter::WorldPoint(track, distance, lateral);
        if (!point) continue;
        points_[i] = *point;
        placed_[i] = 1;
        ++placedCount_;
    }
}

void LapPoints::Clear() {
    points_.clear();
    placed_.clear();
    placedCount_ = 0;
}

}  // namespace vra
