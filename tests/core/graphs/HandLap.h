#pragma once
// Laps filled by hand: every per-sample array sized for count samples, the
// distance one metre per sample.

#include "core/replay/GetRpyInfo.h"
#include "core/replay/ReplayFormat.h"

#include <cstring>

namespace vra {

inline GetRpyInfo HandLap(int count, bool physics = false) {
    GetRpyInfo d;
    d.sampleCount = count;
    const std::size_t n = static_cast<std::size_t>(count) + 1;
    d.distance.assign(n, 0);
    d.distanceM.assign(n, 0);
    for (std::size_t i = 0; i < n; ++i) {
        d.distanceM[i] = static_cast<double>(i);
        d.distance[i] = static_cast<std::uint32_t>(i * 2000);
    }
    for (auto* v : {&d.speed, &d.revolutions, &d.rideHeightM, &d.oilTemperature, &d.waterTemperature, &d.accelCarLong,
                    &d.accelCarLat, &d.accelTotal})
        v->assign(n, 0.0);
    d.gear.assign(n, 0);
    d.heading.assign(n, 0);
    d.steering.assign(n, 0);
    d.pitch.assign(n, 0);
    d.roll.assign(n, 0);
    d.slipAngle.assign(n, 0);
    d.throttle.assign(n, 0);
    d.brake.assign(n, 0);
    d.oilPressure.assign(n, 0);
    d.fuelPressure.assign(n, 0);
    for (auto& s : d.suspension) s.assign(n, 0);
    d.fullData = physics != 0;
    if (physics)
        for (int b = 0; b < kEngineBlockCount; ++b) d.blocks[std::size_t(b)].assign(n * kEngineBlockSize[b], 0);
    return d;
}

inline void PutFloat(GetRpyInfo& d, int block, int sample, std::size_t offset, float v) {
    std::memcpy(d.blocks[std::size_t(block)].data() + std::size_t(sample) * kEngineBlockSize[block] + offset, &v, 4);
}

}  // namespace vra
