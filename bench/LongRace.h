#pragma once

#include "simkit/replay/ReplayBuilder.h"

#include <cstdint>

namespace vra::bench {

// A long race with engine blocks and race control, the size of a real
// server's race (40 cars of 64 laps make about 100 MB): cars one after the
// other on the line, each a little slower than the one before.
inline simkit::ReplayBuilder LongRace(int cars, int laps) {
    simkit::ReplayBuilder b;
    b.drivers(cars).trackLength(2500.0);
    simkit::SessionDesc race;
    race.kind = 3;
    race.raceStartMs = 8000;
    race.state = 6;
    for (int i = 0; i < cars; ++i) {
        simkit::CarSession car;
        car.firstStampMs = 8000 + 100 * static_cast<std::uint32_t>(i);
        car.laps.assign(laps, 47000 + 40 * static_cast<std::uint32_t>(i));
        race.cars.push_back(car);
    }
    b.desc.sessions.push_back(race);
    b.desc.engineBlocks = true;
    b.desc.raceControlEvery = 36;
    return b;
}

}  // namespace vra::bench
