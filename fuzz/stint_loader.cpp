// Feeds arbitrary bytes to the stint loader as a replay's frame chunk: the
// first byte picks the session kind and the older numbering, the rest is the
// chunk. The lap table asks for a stint of the first seconds of the stream.
#include "core/graphs/StintLoader.h"
#include "core/replay/Drivers.h"
#include "core/replay/ReplaySource.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    vra::Drivers drivers;
    drivers.drivers.resize(3);
    drivers.driverCount = 3;
    drivers.savingPlayer = 0;
    drivers.quickRace = data[0] & 4 ? 1 : 0;
    for (int kind = 0; kind < vra::kSessionKinds; ++kind) {
        auto& s = drivers.drivers[0].sessions[std::size_t(kind)];
        s.count = 6;
        s.times[0] = 1000;
        for (int lap = 1; lap <= 6; ++lap) {
            s.times[std::size_t(lap)] = 2000;
            s.valid[std::size_t(lap)] = 1;
        }
    }
    vra::ReplaySource src(std::span<const std::uint8_t>(data + 1, size - 1));
    int lap = 0, kind = data[0] & 3;
    std::uint64_t offset = 0;
    // Chained as the analyser chains them, each from where the last ended.
    for (int n = 0; n < 8; ++n) {
        vra::StintLoader loader(src, drivers, offset, kind, lap, 2);
        vra::Point2D p;
        while (loader.NextWaterTemp(p)) {}
        while (loader.NextTireTemp(1, 1, p)) {}
        while (loader.NextLapTime(p)) {}
        if (!loader.IsComplete()) break;
        offset = loader.EndOffset();
        lap = loader.EndLap();
        kind = loader.SessionKind();
    }
    return 0;
}
