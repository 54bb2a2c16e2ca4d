// The stint analyser's reading over a two-hour race of 20 cars with the
// player's engine blocks: every stint of the player read one after the
// other, each loader starting where the last ended, beside a plain read of
// the same frame bytes. Warm: the file is in the page cache after the first
// run. Prints the cost ratio after the table.
#include "core/graphs/StintLoader.h"
#include "core/replay/Drivers.h"
#include "core/replay/ReplayFormat.h"

#include "simkit/replay/ReplayBuilder.h"

#include "BenchRatio.h"
#include "BenchScratch.h"
#include "RawRead.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

constexpr int kCars = 20;
constexpr int kLaps = 90;  // of 80 s: two hours
constexpr int kPitEvery = 10;

const vra::bench::Scratch scratch("stint_bench");

const fs::path& ReplayPath() {
    static const fs::path path = [] {
        const fs::path file = scratch.Folder() / "race2h.rpy";
        std::error_code ec;
        fs::create_directories(scratch.Folder(), ec);
        vra::simkit::ReplayBuilder b;
        b.drivers(kCars).session(3, kLaps, 80000).engineBlocks();
        auto& laps = b.desc.sessions[0].cars[0].laps;
        for (std::size_t k = kPitEvery - 1; k < laps.size(); k += kPitEvery) laps[k] |= vra::LapWord::Pitted;
        std::printf("writing %s ...\n", file.c_str());
        if (!b.writeFile(file)) scratch.Fail("cannot write " + file.string());
        return file;
    }();
    return path;
}

const vra::Drivers& Replay() {
    static const vra::Drivers drivers = [] {
        vra::Drivers d;
        if (d.Load(ReplayPath()) != vra::Drivers::LoadResult::Ok) scratch.Fail("the replay does not load");
        return d;
    }();
    return drivers;
}

void RawReadFrames(benchmark::State& state) {
    const vra::Drivers& d = Replay();
    const std::uint64_t from = d.frameChunkOffset, end = d.frameChunkOffset + 12 + d.frameBytes;
    for (auto _ : state)
        if (vra::bench::RawRead(ReplayPath(), from, end) < end - from) state.SkipWithError("short read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (end - from)));
}

void ReadStints(benchmark::State& state) {
    const vra::Drivers& d = Replay();
    for (auto _ : state) {
        int stints = 0, lap = 0, kind = 3;
        std::uint64_t offset = 0;
        std::size_t gauges = 0;
        for (;;) {
            vra::StintLoader loader(d, offset, kind, lap, 3);
            if (!loader.IsComplete()) break;
            ++stints;
            gauges += std::size_t(loader.GaugeSampleCount());
            offset = loader.EndOffset();
            lap = loader.EndLap();
            kind = loader.SessionKind();
        }
        // Nine clean runs; the last ends with the race and is not complete.
        if (stints < kLaps / kPitEvery - 1 || gauges < std::size_t(kLaps - 20) * 80 * 36)
            state.SkipWithError("the stints were not read");
        benchmark::DoNotOptimize(gauges);
    }
}

BENCHMARK(RawReadFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadStints)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("replay %s, %.1f MB\n", ReplayPath().c_str(), fs::file_size(ReplayPath()) / 1e6);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(reporter, {{"stint reading, two-hour race of 20 cars (warm)", "ReadStints", "RawReadFrames",
                                        "raw read of the race's frames (warm)", 3.0, 0}});
    benchmark::Shutdown();
    scratch.Remove();
    return 0;
}
