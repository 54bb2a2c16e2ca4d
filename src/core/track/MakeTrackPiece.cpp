#include "core/track/MakeTrackPiece.h"

#include "core/decode/KtSegment.h"
#include "core/track/Corner.h"
#include "core/track/Straight.h"

namespace vra {

std::unique_ptr<Segment> MakeTrackPiece(const CountedPtr<KtSegment>& segment, double startDistance) {
    if (!segment) return nullptr;
    switch (segment->GetType()) {
        case 0:
            return std::make_unique<Straight>(segment, startDistance);
        case 1:
            if (Corner::IsNearlyStraight(*segment)) return std::make_unique<Straight>(segment, startDistance);
            return std::make_unique<Corner>(segment, startDistance);
        default:
            return nullptr;
    }
}

}  // namespace vra
