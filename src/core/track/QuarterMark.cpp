#include "core/track/QuarterMark.h"

#include "core/track/TrackPath.h"

namespace vra {

void QuarterMark::Evaluate(const TrackPath& path, double t) {
    const std::int32_t i = path.FindPieceAtDistance(t);
    if (i == -1) return;
    const Segment& piece = path.PieceAt(i);
    const double s = t - piece.StartDistance();
    firstLine_ = piece.FirstWallPositionAt(s);
    lastLine_ = piece.LastWallPositionAt(s);
}

}  // namespace vra
