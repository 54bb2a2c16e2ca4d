// Feeds arbitrary bytes to the replay readers: the header, the driver and lap
// tables, and the extraction of every counting lap of the first drivers.
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    vra::Header header;
    header.ReadBytes(bytes);
    vra::Drivers drivers;
    if (drivers.LoadBytes(bytes) != vra::Drivers::Ok) return 0;
    const float length = header.lastResult == vra::Header::Ok ? 1000.0f : 400.0f;
    int extracted = 0;
    for (int driver = 0; driver < static_cast<int>(drivers.drivers.size()) && driver < 4; ++driver) {
        for (int kind = 0; kind < vra::kSessionKinds; ++kind) {
            const int laps = drivers.LapCount(kind, driver);
            for (int lap = 1; lap <= laps && extracted < 8; ++lap) {
                if (!drivers.IsLapValid(kind, driver, lap)) continue;
                ++extracted;
                vra::GetRpyInfo info;
                if (info.ExtractLapFromBytes(bytes, drivers, driver, lap, kind, length) == vra::GetRpyInfo::Ok)
                    info.AllocateChannels(1);
            }
        }
    }
    return 0;
}
