#pragma once
// The track's ideal driving line from the file "raceline.lp" in the track's
// folder: a lateral offset every 3.0 m along the track, turned into map
// points through the track path.

#include "core/base/Point2D.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vra {

class CoreDisplay;
class TrackPath;

class LpLine {
public:
    // Distance along the track between two records of the file.
    static constexpr double kSpacing = 3.0;

    explicit LpLine(const TrackPath& path) : path_(&path) {}

    // Reads the file of the path's track folder. Returns true; throws
    // KtException when the file cannot be opened ("raceline.lp failed to
    // open") or a record lies beyond the end of the track ("s_idx == -1"),
    // and then keeps no points. A file that ends early gives the records it
    // holds in full; a record whose offset is not a finite number is left out.
    bool Load();
    // The same from the bytes of such a file.
    bool LoadFrom(std::span<const std::uint8_t> data);
    // Draws the points as one line in the race-line colour.
    void Draw(CoreDisplay& display) const;

    const std::vector<Point2D>& Points() const { return points_; }

private:
    const TrackPath* path_;
    std::vector<Point2D> points_;
};

}  // namespace vra
