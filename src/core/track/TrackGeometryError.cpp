#include "track/TrackGeometryError.h"

#include "decode/KtException.h"

namespace vra {

void ThrowTrackGeometryInvalid() { throw KtException(kTrackGeometryInvalid); }

}  // namespace vra
