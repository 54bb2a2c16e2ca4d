// Loading the driver table of a long replay (over 100 MB: 40 cars, a long
// race, engine blocks on) and extracting a lap late in its race, each beside a
// plain read of the same bytes in the same run. Prints the ratios after the
// table.
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"

#include "simkit/replay/ReplayBuilder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kCars = 40;
constexpr int kLaps = 64;
constexpr int kLateLap = 60;
constexpr double kTrackLength = 2500.0;
constexpr std::uint64_t kMinSize = 100ull << 20;

// Built once; kept in the temporary folder between runs.
const fs::path& ReplayPath() {
    static const fs::path path = [] {
        const fs::path dir = fs::temp_directory_path() / "vra_replay_bench";
        const fs::path file = dir / "race40_v1.rpy";
        std::error_code ec;
        if (fs::exists(file, ec) && fs::file_size(file, ec) >= kMinSize) return file;
        fs::create_directories(dir, ec);
        vra::simkit::ReplayBuilder b;
        b.drivers(kCars).trackLength(kTrackLength);
        vra::simkit::SessionDesc race;
        race.kind = 3;
        race.raceStartMs = 8000;
        race.state = 6;
        for (int i = 0; i < kCars; ++i) {
            vra::simkit::CarSession car;
            car.firstStampMs = 8000 + 100 * static_cast<std::uint32_t>(i);
            car.laps.assign(kLaps, 47000 + 40 * static_cast<std::uint32_t>(i));
            race.cars.push_back(car);
        }
        b.desc.sessions.push_back(race);
        b.desc.engineBlocks = true;
        b.desc.raceControlEvery = 36;
        b.desc.settings.raceWord = kLaps << 8;
        std::printf("writing %s ...\n", file.c_str());
        if (!b.writeFile(file)) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            std::exit(1);
        }
        return file;
    }();
    return path;
}

const vra::Drivers& LoadedDrivers() {
    static const vra::Drivers drivers = [] {
        vra::Drivers d;
        if (d.Load(ReplayPath()) != 0) {
            std::fprintf(stderr, "replay does not load\n");
            std::exit(1);
        }
        return d;
    }();
    return drivers;
}

// The end of the bytes an extraction of the late lap reads: it walks the frame
// stream from its start to just past the lap.
std::uint64_t ExtractedBytes(int driver) {
    vra::GetRpyInfo lap;
    if (lap.ExtractLap(LoadedDrivers(), driver, kLateLap, 3, static_cast<float>(kTrackLength)) != 0) {
        std::fprintf(stderr, "late lap does not extract\n");
        std::exit(1);
    }
    return lap.endOffset;
}

// fread of the first n bytes of the replay in large blocks.
void RawRead(benchmark::State& state, std::uint64_t n) {
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        std::FILE* f = std::fopen(ReplayPath().c_str(), "rb");
        std::uint64_t left = n;
        while (left > 0) {
            const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(left, buffer.size()));
            const std::size_t got = std::fread(buffer.data(), 1, want, f);
            if (got == 0) break;
            left -= got;
            benchmark::DoNotOptimize(buffer.data());
        }
        std::fclose(f);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * n));
}

void RawReadWholeFile(benchmark::State& state) {
    RawRead(state, fs::file_size(ReplayPath()));
}
void RawReadToPlayerLap(benchmark::State& state) {
    RawRead(state, ExtractedBytes(0));
}
void RawReadToOtherLap(benchmark::State& state) {
    RawRead(state, ExtractedBytes(kCars / 2));
}

void DriversLoad(benchmark::State& state) {
    for (auto _ : state) {
        vra::Drivers d;
        if (d.Load(ReplayPath()) != 0) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(d.windowEnd);
    }
}

void ExtractLate(benchmark::State& state, int driver) {
    const vra::Drivers& d = LoadedDrivers();
    for (auto _ : state) {
        vra::GetRpyInfo lap;
        if (lap.ExtractLap(d, driver, kLateLap, 3, static_cast<float>(kTrackLength)) != 0)
            state.SkipWithError("extraction failed");
        benchmark::DoNotOptimize(lap.distance.data());
    }
}
void ExtractPlayerLap(benchmark::State& state) {
    ExtractLate(state, 0);
}
void ExtractOtherLap(benchmark::State& state) {
    ExtractLate(state, kCars / 2);
}

BENCHMARK(RawReadWholeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(DriversLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(RawReadToPlayerLap)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractPlayerLap)->Unit(benchmark::kMillisecond);
BENCHMARK(RawReadToOtherLap)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractOtherLap)->Unit(benchmark::kMillisecond);

// Keeps each benchmark's time per iteration for the summary.
class Summary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.aggregate_name.empty() && run.iterations > 0)
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("replay %s, %.1f MB\n", ReplayPath().c_str(), fs::file_size(ReplayPath()) / 1e6);
    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    auto& t = summary.times;
    auto ratio = [&](const char* what, const char* raw) {
        if (t.count(what) && t.count(raw) && t[raw] > 0) std::printf("%s / %s: %.2f\n", what, raw, t[what] / t[raw]);
    };
    ratio("DriversLoad", "RawReadWholeFile");
    ratio("ExtractPlayerLap", "RawReadToPlayerLap");
    ratio("ExtractOtherLap", "RawReadToOtherLap");
    benchmark::Shutdown();
    return 0;
}
