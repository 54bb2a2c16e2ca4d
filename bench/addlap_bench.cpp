// The whole add-lap run of the document on long replays (races of 40 cars on
// the oval, about 10 MB and 100 MB, built here and removed at the end): the
// header, the driver and lap tables with their walk of the frame stream, the
// lap's extraction and its channels, for an early and a late lap. The
// reference is a raw read of the whole replay (pread()s of 1 MB into a
// page-aligned buffer), warm like the run: the run must walk the whole file
// once, and should cost little more.
//
// The first lap of a document also decodes the track, a cost that does not
// depend on the replay: it is measured on its own (the document's track load)
// and beside the add-lap run of a first lap, and the runs above add a lap to a
// document whose track is loaded (a small replay's lap first, not timed).
#include "core/document/CRpyGraphDoc.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/settings/AppSettings.h"

#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/TrackFolderWriter.h"
#include "simkit/track/TrackLayout.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include "BenchRatio.h"
#include "RawRead.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kCars = 40;
constexpr std::uint32_t kLapMs = 60000;

struct Replay {
    int laps = 0;
    fs::path path;
    std::uint64_t size = 0;
};

struct Sim {
    fs::path root;
    Replay small;
    std::vector<Replay> big;
    ~Sim() {
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

Sim& TheSim() {
    static Sim sim;
    return sim;
}

void Fail(const std::string& what) {
    std::fprintf(stderr, "addlap_bench: %s\n", what.c_str());
    std::error_code ec;
    fs::remove_all(TheSim().root, ec);
    std::exit(1);
}

Replay Write(const fs::path& folder, int laps, double length) {
    vra::simkit::ReplayBuilder b;
    b.drivers(kCars).session(3, laps, kLapMs).trackLength(length);
    b.desc.settings.trackName = "OVAL";
    Replay r;
    r.laps = laps;
    r.path = folder / ("race" + std::to_string(laps) + ".rpy");
    std::printf("writing %s ...\n", r.path.c_str());
    std::fflush(stdout);
    if (!b.writeFile(r.path)) Fail("cannot write " + r.path.string());
    r.size = fs::file_size(r.path);
    return r;
}

void MakeSim() {
    Sim& s = TheSim();
    s.root = fs::temp_directory_path() / ("vra_addlap_bench_" + std::to_string(::getpid()));
    fs::create_directories(s.root / "replay");
    std::ofstream(s.root / "VELMAR.exe") << "exe";
    const auto oval = vra::simkit::TrackLayout::Oval();
    vra::simkit::WriteTrackFolder(s.root / "tracks", "oval", oval);
    s.small = Write(s.root / "replay", 3, oval.TotalLength());
    for (int laps : {7, 64}) s.big.push_back(Write(s.root / "replay", laps, oval.TotalLength()));
}

struct Doc {
    vra::test::MemorySettingsStore store;
    vra::AppSettings settings{store};
    vra::test::SilentWaitBox wait;
    vra::test::ScriptedPrompts prompts;
    std::unique_ptr<vra::CRpyGraphDoc> doc;
    Doc() {
        settings.SetSimFolder(TheSim().root.string());
        doc = std::make_unique<vra::CRpyGraphDoc>(settings, prompts, wait);
    }
};

// The saving player's lap `lap` of the race; checks that it was added with
// its channels (and, for a first lap, the track).
void Add(Doc& d, const Replay& r, int lap, benchmark::State& state) {
    const int before = d.doc->LapCount();
    d.doc->AddLapFromLapFinder(r.path, 0, 3, lap);
    if (d.doc->LapCount() != before + 1 || !d.doc->TrackLoaded()) state.SkipWithError("the lap was not added");
}

void AddLapTrackLoaded(benchmark::State& state, const Replay* r, int lap) {
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<Doc>();
        Add(*d, TheSim().small, 2, state);
        state.ResumeTiming();
        Add(*d, *r, lap, state);
        state.PauseTiming();
        d.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * r->size));
}

void AddLapFirst(benchmark::State& state, const Replay* r, int lap) {
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<Doc>();
        state.ResumeTiming();
        Add(*d, *r, lap, state);
        state.PauseTiming();
        d.reset();
        state.ResumeTiming();
    }
}

// The header read and the track's decoding as the document's first lap does
// it, with the small replay's header.
void TrackLoad(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<Doc>();
        state.ResumeTiming();
        Add(*d, TheSim().small, 2, state);
        state.PauseTiming();
        d.reset();
        state.ResumeTiming();
    }
}

void SmallLap(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto d = std::make_unique<Doc>();
        Add(*d, TheSim().small, 2, state);
        state.ResumeTiming();
        Add(*d, TheSim().small, 2, state);
        state.PauseTiming();
        d.reset();
        state.ResumeTiming();
    }
}

// The two steps of the run that read the replay, on their own: its driver
// table's load, and that load followed by the lap's extraction. They show how
// much of the run is left for the lap's channels and the document.
void LoadAndExtract(benchmark::State& state, const Replay* r, int lap, bool extract) {
    for (auto _ : state) {
        vra::Drivers drivers;
        if (drivers.Load(r->path) != vra::Drivers::LoadResult::Ok) state.SkipWithError("load failed");
        if (!extract) continue;
        vra::GetRpyInfo info;
        if (info.ExtractLap(drivers, 0, lap, 3, 0.0f) != vra::GetRpyInfo::Result::Ok)
            state.SkipWithError("extraction failed");
        benchmark::DoNotOptimize(info.distance.data());
    }
}

void RawReadWarm(benchmark::State& state, const Replay* r) {
    for (auto _ : state)
        if (vra::bench::RawRead(r->path) != r->size) state.SkipWithError("short read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * r->size));
}

std::string Mb(const Replay& r) {
    return std::to_string((r.size + (1 << 19)) >> 20) + "MB";
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MakeSim();
    const Sim& sim = TheSim();
    const auto ms = benchmark::kMillisecond;
    std::vector<vra::bench::Ratio> ratios;
    for (const Replay& r : sim.big) {
        const std::string s = "/" + Mb(r);
        const int late = r.laps - 1;
        benchmark::RegisterBenchmark(("RawReadWarm" + s).c_str(), RawReadWarm, &r)->Unit(ms)->UseRealTime();
        benchmark::RegisterBenchmark(("AddLapEarly" + s).c_str(), AddLapTrackLoaded, &r, 2)->Unit(ms)->UseRealTime();
        benchmark::RegisterBenchmark(("AddLapLate" + s).c_str(), AddLapTrackLoaded, &r, late)->Unit(ms)->UseRealTime();
        benchmark::RegisterBenchmark(("AddFirstLapLate" + s).c_str(), AddLapFirst, &r, late)->Unit(ms)->UseRealTime();
        benchmark::RegisterBenchmark(("LoadOnly" + s).c_str(), LoadAndExtract, &r, late, false)
            ->Unit(ms)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("LoadAndExtractLate" + s).c_str(), LoadAndExtract, &r, late, true)
            ->Unit(ms)
            ->UseRealTime();
        const std::string mb = Mb(r).substr(0, Mb(r).size() - 2) + " MB";
        ratios.push_back({"add-lap run, " + mb + ", lap 2, warm", "AddLapEarly" + s, "RawReadWarm" + s,
                          "raw read of the file, warm", 2.0, 0, true});
        ratios.push_back({"add-lap run, " + mb + ", lap " + std::to_string(late) + ", warm", "AddLapLate" + s,
                          "RawReadWarm" + s, "raw read of the file, warm", 2.0, 0, true});
        ratios.push_back({"its driver table load alone, " + mb + ", warm", "LoadOnly" + s, "RawReadWarm" + s,
                          "raw read of the file, warm", 0.0, 0, true});
        ratios.push_back({"its load and lap " + std::to_string(late) + "'s extraction alone, " + mb + ", warm",
                          "LoadAndExtractLate" + s, "RawReadWarm" + s, "raw read of the file, warm", 0.0, 0, true});
        ratios.push_back({"add-lap run, first lap with the track, " + mb + ", warm", "AddFirstLapLate" + s,
                          "AddLapLate" + s, "the same lap's run, track loaded, warm", 0.0, 0, true});
    }
    benchmark::RegisterBenchmark("TrackLoad", TrackLoad)->Unit(ms)->UseRealTime();
    benchmark::RegisterBenchmark("SmallReplayLap", SmallLap)->Unit(ms)->UseRealTime();
    ratios.push_back({"track load (first lap of a small replay), warm", "TrackLoad", "SmallReplayLap",
                      "a later lap of the same small replay, warm", 0.0, 0, true});

    std::printf("replays of %d cars: %.1f MB (%d laps), %.1f MB (%d laps); small replay %.1f MB\n", kCars,
                sim.big[0].size / 1e6, sim.big[0].laps, sim.big[1].size / 1e6, sim.big[1].laps, sim.small.size / 1e6);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(reporter, ratios);
    benchmark::Shutdown();
    return 0;
}
