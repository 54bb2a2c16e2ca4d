#pragma once
// The channels of a lap that need the track: each sample's map point, the
// direction of travel, speed, slip angle, accelerations in three frames,
// locked wheels and the split times at a quarter, half and three quarters.

#include <array>
#include <vector>

namespace vra {

class GetRpyInfo;
class LapLinePlotter;
class LapPoints;
class TrackPath;

// Per wheel (left front, right front, left rear, right rear), per sample: 1
// when the wheel stood still while the car ran faster than 30 km/h.
using LockedWheels = std::array<std::vector<double>, 4>;

// The canvas the channels are measured on: fine enough that rounding to
// device units does not show in speeds and accelerations.
inline constexpr unsigned kChannelCanvas = 10000000;
inline constexpr unsigned kChannelMargin = 50;

// Fills the derived channels of lap (after AllocateChannels) along track.
// plotter is the lap's line plotter; it is restarted and left at the lap's
// last point. savingPlayersLap: the lap's wheels were recorded, so locked
// wheels can be told. Returns false (and leaves the channels as they were)
// when the lap or the track cannot give channels. points, when given, are
// the lap's map points worked out on the same track: they spare walking the
// track for every sample a second time and give the same channels.
bool ComputeLapChannels(GetRpyInfo& lap, const TrackPath& track, LapLinePlotter& plotter, bool savingPlayersLap,
                        LockedWheels& locked, const LapPoints* points = nullptr);

}  // namespace vra
