// Feeds arbitrary bytes to the replay readers: the header, the driver and lap
// tables, the extraction of every counting lap of the first drivers, and the
// race playback's load with a walk over its frames; then the race-data export
// over the same frames.
#include "core/base/OutputSink.h"
#include "core/export/RaceData.h"
#include "core/platform/Prompts.h"
#include "core/playback/RaceModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ReplaySource.h"

#include "support/track/NullDisplay.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace {

class SilentPrompts : public vra::Prompts {
public:
    vra::Button message(std::string_view, std::string_view, vra::Icon, vra::Buttons) override {
        return vra::Button::Ok;
    }
    std::optional<std::filesystem::path> openFile(const vra::OpenFileRequest&) override { return std::nullopt; }
    std::optional<vra::LapChoice> chooseLap(const vra::LapChoiceRequest&) override { return std::nullopt; }
    vra::SettingsDialogResult editSettings(const vra::SettingsDialogRequest&) override { return {}; }
};

void PlayRace(std::span<const std::uint8_t> bytes, const vra::Header& header, const vra::Drivers& drivers) {
    if (!drivers.raceStartSeen) return;
    SilentPrompts prompts;
    vra::test::NullDisplay display;
    vra::ReplaySource src(bytes);
    vra::RaceModel race;
    if (!race.Load(src, drivers, header, nullptr, 1.0 / 1024.0, prompts, nullptr)) return;
    const std::uint32_t count = race.FrameCount();
    for (std::uint32_t f = 0; f < count; f += 1 + count / 16) {
        race.DrawFrame(f, display);
        race.NextLap(false);
        race.PreviousLap(true);
        race.ClosestFight();
        race.DriverAhead();
    }
    race.DrawFrame(count, display);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    vra::Header header;
    header.ReadBytes(bytes);
    vra::Drivers drivers;
    if (drivers.LoadBytes(bytes) != vra::Drivers::LoadResult::Ok) return 0;
    PlayRace(bytes, header, drivers);
    {
        vra::ReplaySource src(bytes);
        vra::MemorySink sink;
        vra::RaceData::Write(src, drivers, 1.0 / 1024.0, sink);
    }
    const float length = header.lastResult == vra::Header::Ok ? 1000.0f : 400.0f;
    int extracted = 0;
    for (int driver = 0; driver < static_cast<int>(drivers.drivers.size()) && driver < 4; ++driver) {
        for (int kind = 0; kind < vra::kSessionKinds; ++kind) {
            const int laps = drivers.LapCount(kind, driver);
            for (int lap = 1; lap <= laps && extracted < 8; ++lap) {
                if (!drivers.IsLapValid(kind, driver, lap)) continue;
                ++extracted;
                vra::GetRpyInfo info;
                if (info.ExtractLapFromBytes(bytes, drivers, driver, lap, kind, length) == vra::GetRpyInfo::Result::Ok)
                    info.AllocateChannels(1);
            }
        }
    }
    return 0;
}
