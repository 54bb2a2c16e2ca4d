#pragma once
// The one refusal of the track geometry: a decoded track whose values cannot
// make a map (non-finite positions or offsets, or far more points than any
// real track needs).

namespace vra {

inline constexpr const char* kTrackGeometryInvalid = "track geometry is invalid";

// Throws KtException with kTrackGeometryInvalid.
[[noreturn]] void ThrowTrackGeometryInvalid();

}  // namespace vra
