#pragma once
// How large a track can be. The longest circuits are a few tens of
// kilometres; a length or a position beyond these bounds is damage in a file,
// and taking it would only carry nonsense (or an overflow) into every
// distance, point and time computed from it.

namespace vra {

// Length of the whole track and of any piece of it, in metres.
inline constexpr double kMaxTrackLengthMetres = 100'000.0;
// Positions and lateral offsets, in metres from the track's origin.
inline constexpr double kMaxTrackCoordinate = 100'000.0;
// Headings, in radians: real ones lie within a turn or two of zero.
inline constexpr double kMaxHeadingRadians = 1000.0;
// A corner bent less than this radius says is drawn as its chord: beyond it
// the arc lies within millimetres of the chord, and its centre so far away
// that the points around it lose their precision.
inline constexpr double kMaxCornerRadius = 1.0e8;

// Map points one metre of track may need: every boundary and wall line of a
// corner takes two points a metre, and real tracks have a few dozen lines.
inline constexpr double kMaxPointsPerMetre = 200.0;

}  // namespace vra
