#pragma once
// The length of one step of the 24-bit distances in other cars' records.

namespace vra {

// What a caller uses when no track is loaded: the finest step there is.
inline constexpr double kDefaultTrackDistanceUnit = 1.0 / 1024.0;

// One step in metres on a track of lengthMetres: the 24 bits span the lap with
// 10 m to spare, and no step is finer than 1/1024 m.
double TrackDistanceUnitFor(double lengthMetres);

}  // namespace vra
