// The race playback of a 43-car race: loading the race beside a plain read
// of the same frame bytes, and one race tick (cars of a frame mapped, ordered
// and followed, status texts made) beside the 55 ms playback tick. Warm: the
// file is in the page cache after the first run. The drawing of the cars onto
// the window is not part of the tick measured here. Prints the cost ratios
// after the table.
#include "core/decode/KtObjectFactory.h"
#include "core/document/TrackDistanceUnit.h"
#include "core/platform/Prompts.h"
#include "core/playback/PlaybackController.h"
#include "core/playback/RaceModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/track/TrackPath.h"

#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/TrackLayout.h"
#include "support/track/NullDisplay.h"

#include "BenchRatio.h"
#include "BenchScratch.h"
#include "RawRead.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kCars = 43;
constexpr int kLaps = 15;

const vra::TrackPath& Track() {
    static const auto path = std::make_unique<vra::TrackPath>(
        vra::KtObjectFactory::ReadTrackImage(vra::simkit::TrackLayout::Oval().PtfImage()));
    return *path;
}

const vra::bench::Scratch scratch("race_bench");

const fs::path& ReplayPath() {
    static const fs::path path = [] {
        const fs::path dir = scratch.Folder();
        const fs::path file = dir / "race43_v1.rpy";
        std::error_code ec;
        fs::create_directories(dir, ec);
        vra::simkit::ReplayBuilder b;
        b.drivers(kCars).trackLength(Track().Length());
        b.session(3, kLaps, 50000, 6000);
        b.desc.sessions.back().raceStartMs = 0;
        b.desc.raceControlEvery = 36;
        std::printf("writing %s ...\n", file.c_str());
        if (!b.writeFile(file)) {
            scratch.Fail("cannot write " + file.string());
        }
        return file;
    }();
    return path;
}

struct Loaded {
    vra::Header header;
    vra::Drivers drivers;
};
const Loaded& Replay() {
    static const Loaded loaded = [] {
        Loaded l;
        l.header.Read(ReplayPath());
        if (l.drivers.Load(ReplayPath()) != vra::Drivers::LoadResult::Ok || !l.drivers.raceStartSeen) {
            scratch.Fail("the replay does not load");
        }
        return l;
    }();
    return loaded;
}

class QuietPrompts : public vra::Prompts {
public:
    vra::Button message(std::string_view text, std::string_view, vra::Icon, vra::Buttons) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
        return vra::Button::Ok;
    }
    std::optional<fs::path> openFile(const vra::OpenFileRequest&) override { return std::nullopt; }
    std::optional<vra::LapChoice> chooseLap(const vra::LapChoiceRequest&) override { return std::nullopt; }
    vra::SettingsDialogResult editSettings(const vra::SettingsDialogRequest&) override { return {}; }
};

// Maps world metres to a 1920 x 1080 window, as the map's display does.
class MappingDisplay : public vra::test::NullDisplay {
public:
    void MapPoint(const vra::Point2D& p, vra::DevicePoint& d) override {
        d = {static_cast<std::int32_t>(std::lround(p.x * 2.0)) + 960,
             540 - static_cast<std::int32_t>(std::lround(p.y * 2.0))};
    }
};

bool LoadRace(vra::RaceModel& race) {
    QuietPrompts prompts;
    return race.Load(Replay().drivers, Replay().header, &Track(), vra::TrackDistanceUnitFor(Track().Length()), prompts,
                     nullptr);
}

void RawReadRaceFrames(benchmark::State& state) {
    vra::RaceModel race;
    if (!LoadRace(race)) state.SkipWithError("race does not load");
    const std::uint64_t from = race.RaceStartOffset();
    const std::uint64_t end = Replay().drivers.frameChunkOffset + 12 + Replay().drivers.frameBytes;
    for (auto _ : state)
        if (vra::bench::RawRead(ReplayPath(), from, end) < end - from) state.SkipWithError("short read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (end - from)));
}

void RaceLoad(benchmark::State& state) {
    for (auto _ : state) {
        vra::RaceModel race;
        if (!LoadRace(race) || race.FrameCount() < static_cast<std::uint32_t>(kLaps) * 50 * 36)
            state.SkipWithError("race does not load");
        benchmark::DoNotOptimize(race.FrameCount());
    }
}

// Frames late in the race, every car on the track.
void RaceTick(benchmark::State& state) {
    vra::RaceModel race;
    if (!LoadRace(race)) state.SkipWithError("race does not load");
    MappingDisplay display;
    const std::uint32_t first = race.FrameCount() * 3 / 4;
    std::uint32_t f = first;
    if (race.DrawFrame(f, display) != vra::RaceModel::DrawResult::Drawn) state.SkipWithError("no car drawn");
    int present = 0;
    for (const auto& pose : race.Poses()) present += pose.present ? 1 : 0;
    if (present != kCars) state.SkipWithError("not every car is on the track");
    for (auto _ : state) {
        f = f + 2 < race.FrameCount() ? f + 2 : first;
        benchmark::DoNotOptimize(race.DrawFrame(f, display));
        benchmark::DoNotOptimize(race.GetTexts().elapsed.data());
    }
}

BENCHMARK(RawReadRaceFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(RaceLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(RaceTick)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("replay %s, %.1f MB\n", ReplayPath().c_str(), fs::file_size(ReplayPath()) / 1e6);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(reporter, {{"race load, 43 cars (warm)", "RaceLoad", "RawReadRaceFrames",
                                        "raw read of the race's frames (warm)", 3.0, 0},
                                       {"race tick, 43 cars, without painting", "RaceTick", "", "55 ms playback tick",
                                        0.1, static_cast<double>(vra::kPlaybackTickMs)}});
    benchmark::Shutdown();
    scratch.Remove();
    return 0;
}
