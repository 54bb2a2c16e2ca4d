#pragma once
// Where each sample of a loaded lap lies on the map, in world metres. Worked
// out once when the lap is added (or the track changes), so that drawing the
// driving line, playback, the speed overlay and the graphs read points
// instead of walking the track path for every sample again.

#include "core/base/Point2D.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vra {

class GetRpyInfo;
class TrackPath;

class LapPoints {
public:
    // One entry per sample (0 to the lap's sample count). A sample has no
    // position when its distance and lateral offset are both exactly 0 (the
    // car's record was missing) or when its distance lies on no piece.
    void Compute(const GetRpyInfo& lap, const TrackPath& track);
    void Clear();

    std::size_t Size() const { return points_.size(); }
    bool Placed(std::size_t sample) const { return sample < placed_.size() && placed_[sample] != 0; }
    // The sample's world point; (0, 0) for a sample without a position.
    const Point2D& At(std::size_t sample) const { return points_.at(sample); }
    const std::vector<Point2D>& Points() const { return points_; }
    std::size_t PlacedCount() const { return placedCount_; }

private:
    std::vector<Point2D> points_;
    std::vector<std::uint8_t> placed_;
    std::size_t placedCount_ = 0;
};

}  // namespace vra
