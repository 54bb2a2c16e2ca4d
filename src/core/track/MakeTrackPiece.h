#pragma once
// The piece of the map for one decoded segment.

#include "core/decode/CountedPtr.h"
#include "core/track/Segment.h"

#include <memory>

namespace vra {

// A Straight for segment type 0, a Corner for type 1, nothing (null) for any
// other type. A corner whose headings give no turn has no finite radius and
// becomes a Straight. Throws KtException "track geometry is invalid" for
// values that cannot be placed on a map.
std::unique_ptr<Segment> MakeTrackPiece(const CountedPtr<KtSegment>& segment, double startDistance);

}  // namespace vra
