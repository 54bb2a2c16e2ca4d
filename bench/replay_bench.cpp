// Reading long replays (races of 40 cars with engine blocks, about 100 MB and
// 400 MB, built here and removed at the end) beside raw reads of the same
// bytes in the same cache state:
// - the driver table's load, which walks the whole frame stream once, beside
//   a read of the whole file, warm (the file in the page cache) and cold (the
//   file's pages dropped before every iteration);
// - a late lap's extraction beside a read of the lap's own bytes (its first to
//   its end frame), warm; and beside an early lap's extraction, to show that
//   its cost does not grow with the lap's place in the file.
// Prints the cost ratios after the table.
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"

#include "simkit/replay/ReplayBuilder.h"

#include "BenchRatio.h"
#include "BenchScratch.h"
#include "RawRead.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kCars = 40;
constexpr double kTrackLength = 2500.0;

struct Replay {
    std::string label;  // "100 MB"
    int laps = 0;
    fs::path path;
    std::uint64_t size = 0;
    vra::Drivers drivers;
    int earlyLap = 2, lateLap = 0;
    std::uint64_t lapFirst = 0, lapEnd = 0;  // the late lap's bytes
};

const vra::bench::Scratch scratch("replay_bench");

// Drops the file's pages from the page cache (no privileges needed).
void DropCache(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) scratch.Fail("cannot open " + path.string());
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

void Build(Replay& r) {
    vra::simkit::ReplayBuilder b;
    b.drivers(kCars).trackLength(kTrackLength);
    vra::simkit::SessionDesc race;
    race.kind = 3;
    race.raceStartMs = 8000;
    race.state = 6;
    for (int i = 0; i < kCars; ++i) {
        vra::simkit::CarSession car;
        car.firstStampMs = 8000 + 100 * static_cast<std::uint32_t>(i);
        car.laps.assign(static_cast<std::size_t>(r.laps), 47000 + 40 * static_cast<std::uint32_t>(i));
        race.cars.push_back(car);
    }
    b.desc.sessions.push_back(race);
    b.desc.engineBlocks = true;
    b.desc.raceControlEvery = 36;
    b.desc.settings.raceWord = static_cast<std::uint32_t>(r.laps) << 8;
    r.path = scratch.Folder() / ("race" + std::to_string(r.laps) + ".rpy");
    std::printf("writing %s (%s) ...\n", r.path.c_str(), r.label.c_str());
    std::fflush(stdout);
    if (!b.writeFile(r.path)) scratch.Fail("cannot write " + r.path.string());
    r.size = fs::file_size(r.path);
    DropCache(r.path);  // written back, so that later drops succeed

    // The set-up checks the work: the load indexes the whole stream, and the
    // late lap lies near the file's end and is read from its own frames.
    if (r.drivers.Load(r.path) != vra::Drivers::LoadResult::Ok) scratch.Fail("the replay does not load");
    const auto& index = r.drivers.frameIndex;
    if (!index.built || index.coveredEnd != index.streamEnd || index.entries.size() < 1000)
        scratch.Fail("the load left the stream unindexed");
    r.lateLap = r.laps - 4;
    vra::GetRpyInfo lap;
    if (lap.ExtractLap(r.drivers, 0, r.lateLap, 3, static_cast<float>(kTrackLength)) != vra::GetRpyInfo::Result::Ok ||
        lap.sampleCount < 1000)
        scratch.Fail("the late lap does not extract");
    r.lapFirst = lap.firstFrameOffset;
    r.lapEnd = lap.endOffset;
    if (r.lapFirst < r.size / 10 * 8) scratch.Fail("the late lap is not late");
    vra::GetRpyInfo early;
    if (early.ExtractLap(r.drivers, 0, r.earlyLap, 3, static_cast<float>(kTrackLength)) !=
            vra::GetRpyInfo::Result::Ok ||
        early.endOffset > r.size / 10)
        scratch.Fail("the early lap does not extract early");
}

std::vector<std::unique_ptr<Replay>>& Replays() {
    static std::vector<std::unique_ptr<Replay>> replays;
    return replays;
}

void Register(Replay& r) {
    const std::string s = "/" + std::to_string(r.size >> 20) + "MB";
    auto raw = [&r](benchmark::State& state, bool cold) {
        for (auto _ : state) {
            if (cold) {
                state.PauseTiming();
                DropCache(r.path);
                state.ResumeTiming();
            }
            if (vra::bench::RawRead(r.path, 0, r.size) != r.size) state.SkipWithError("short read");
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * r.size));
    };
    auto load = [&r](benchmark::State& state, bool cold) {
        for (auto _ : state) {
            if (cold) {
                state.PauseTiming();
                DropCache(r.path);
                state.ResumeTiming();
            }
            vra::Drivers d;
            if (d.Load(r.path) != vra::Drivers::LoadResult::Ok) state.SkipWithError("load failed");
            benchmark::DoNotOptimize(d.windowEnd);
        }
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * r.size));
    };
    auto extract = [&r](benchmark::State& state, int lapNo) {
        for (auto _ : state) {
            vra::GetRpyInfo lap;
            if (lap.ExtractLap(r.drivers, 0, lapNo, 3, static_cast<float>(kTrackLength)) != vra::GetRpyInfo::Result::Ok)
                state.SkipWithError("extraction failed");
            benchmark::DoNotOptimize(lap.distance.data());
        }
    };
    auto rawLap = [&r](benchmark::State& state) {
        for (auto _ : state)
            if (vra::bench::RawRead(r.path, r.lapFirst, r.lapEnd) == 0) state.SkipWithError("short read");
        state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (r.lapEnd - r.lapFirst)));
    };
    const auto ms = benchmark::kMillisecond;
    benchmark::RegisterBenchmark(("RawReadWarm" + s).c_str(), raw, false)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(("DriversLoadWarm" + s).c_str(), load, false)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark(("RawReadCold" + s).c_str(), raw, true)->Unit(ms)->UseRealTime()->Iterations(4);
    benchmark::RegisterBenchmark(("DriversLoadCold" + s).c_str(), load, true)->Unit(ms)->UseRealTime()->Iterations(4);
    benchmark::RegisterBenchmark(("RawReadLateLap" + s).c_str(), rawLap)->Unit(benchmark::kMicrosecond)->UseRealTime();
    benchmark::RegisterBenchmark(("ExtractLateLap" + s).c_str(), extract, r.lateLap)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("ExtractEarlyLap" + s).c_str(), extract, r.earlyLap)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::error_code ec;
    fs::create_directories(scratch.Folder(), ec);
    for (auto [label, laps] : {std::pair{"100 MB", 64}, {"400 MB", 256}}) {
        auto r = std::make_unique<Replay>();
        r->label = label;
        r->laps = laps;
        Build(*r);
        Register(*r);
        Replays().push_back(std::move(r));
    }
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::vector<vra::bench::Ratio> ratios;
    for (const auto& r : Replays()) {
        const std::string s = "/" + std::to_string(r->size >> 20) + "MB";
        const std::string mb = std::to_string(r->size >> 20) + " MB";
        const std::string lapKb = std::to_string((r->lapEnd - r->lapFirst) >> 10) + " kB";
        ratios.push_back({"replay: driver table load, " + mb + ", warm", "DriversLoadWarm" + s, "RawReadWarm" + s,
                          "raw read of the file, warm", 1.5, 0, true});
        ratios.push_back({"replay: driver table load, " + mb + ", cold", "DriversLoadCold" + s, "RawReadCold" + s,
                          "raw read of the file, cold", 1.5});
        ratios.push_back({"replay: late lap extraction, " + mb + ", warm", "ExtractLateLap" + s, "RawReadLateLap" + s,
                          "raw read of the lap's " + lapKb + ", warm", 2.0, 0, true});
        ratios.push_back({"replay: late lap extraction, " + mb + ", warm", "ExtractLateLap" + s, "ExtractEarlyLap" + s,
                          "the extraction of lap 2, warm", 1.5, 0, true});
    }
    vra::bench::PrintRatios(reporter, ratios);
    benchmark::Shutdown();
    fs::remove_all(scratch.Folder(), ec);
    return 0;
}
