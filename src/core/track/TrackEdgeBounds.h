#pragma once
// The extent of the filled track surfaces (the outer edges of the track), a
// box of its own type so that the centre-line box cannot be passed in its place.

#include "core/track/TrackBounds.h"

namespace vra {

class TrackEdgeBounds : public TrackBounds {};

}  // namespace vra
