#include "core/track/TrackGeometryError.h"

#include "core/decode/KtException.h"

namespace vra {

void ThrowTrackGeometryInvalid() {
    throw KtException(kTrackGeometryInvalid);
}

}  // namespace vra
