// Feeds arbitrary bytes to the replay writers, all writing into memory: the
// compression and the ride-height fix of the whole replay, and the saved lap
// of the first laps that extract.
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapReplayWriter.h"
#include "core/replay/ReplayRewrite.h"
#include "core/replay/ReplaySource.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    vra::Drivers drivers;
    const bool loaded = drivers.LoadBytes(bytes) == vra::Drivers::LoadResult::Ok;
    // The rewriters take the frame chunk where the driver table says, or,
    // without one, where a replay of few drivers has it.
    const std::uint64_t frameChunk = loaded ? drivers.frameChunkOffset : 272 + 12 + 188 * 2;
    {
        vra::ReplaySource source(bytes);
        vra::MemorySink out;
        vra::CompressReplayFile(source, frameChunk, out);
        vra::MemorySink fixed;
        vra::FixTransAmRideHeight(source, frameChunk, fixed);
    }
    if (!loaded) return 0;
    int saved = 0;
    for (int driver = 0; driver < static_cast<int>(drivers.drivers.size()) && saved < 3; ++driver) {
        for (int kind = 0; kind < vra::kSessionKinds && saved < 3; ++kind) {
            const int laps = drivers.LapCount(kind, driver);
            for (int lap = 1; lap <= laps && saved < 3; ++lap) {
                if (!drivers.IsLapValid(kind, driver, lap)) continue;
                vra::GetRpyInfo info;
                if (info.ExtractLapFromBytes(bytes, drivers, driver, lap, kind, 1000.0f) != vra::GetRpyInfo::Result::Ok)
                    continue;
                ++saved;
                vra::ReplaySource source(bytes);
                vra::MemorySink out;
                vra::WriteLapReplay(source, vra::LapRangeOf(drivers, info), out);
            }
        }
    }
    return 0;
}
