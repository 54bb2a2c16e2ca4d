// The whole add-lap run on a big replay (about 100 MB: a long race of many
// cars on the oval): header, driver and lap tables with their walks of the
// frame stream, the track's decoding, the lap's extraction and its channels.
// Beside it, a raw read of the whole replay in the same run (more than the run
// needs: it reads the tables, the walks and the lap's frames). Prints both
// rates and the ratio.
#include "core/document/CRpyGraphDoc.h"
#include "core/platform/WaitBox.h"
#include "core/settings/AppSettings.h"

#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/TrackFolderWriter.h"
#include "simkit/track/TrackLayout.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCars = 40;
constexpr int kLaps = 64;
constexpr std::uint32_t kLapMs = 60000;

class SilentWaitBox : public vra::WaitBox {
public:
    void Show(std::string_view) override {}
    void SetText(std::string_view) override {}
    void SetRange(std::int32_t, std::int32_t) override {}
    void SetPos(std::int32_t) override {}
    void ShowProgress() override {}
    void Hide() override {}
};

struct BigSim {
    std::filesystem::path root;
    std::filesystem::path replay;
    std::uint64_t size = 0;
    ~BigSim() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

const BigSim& Sim() {
    static const auto sim = [] {
        auto s = std::make_unique<BigSim>();
        s->root = std::filesystem::temp_directory_path() / ("vra_addlap_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(s->root / "replay");
        std::ofstream(s->root / "VELMAR.exe") << "exe";
        const auto oval = vra::simkit::TrackLayout::Oval();
        vra::simkit::WriteTrackFolder(s->root / "tracks", "oval", oval);
        vra::simkit::ReplayBuilder b;
        b.drivers(kCars).session(3, kLaps, kLapMs).trackLength(oval.TotalLength());
        b.desc.settings.trackName = "OVAL";
        s->replay = s->root / "replay" / "big.rpy";
        if (!b.writeFile(s->replay)) std::fprintf(stderr, "could not write %s\n", s->replay.c_str());
        s->size = std::filesystem::file_size(s->replay);
        return s;
    }();
    return *sim;
}

void AddLapRun(benchmark::State& state) {
    const BigSim& sim = Sim();
    vra::test::MemorySettingsStore store;
    vra::AppSettings settings(store);
    settings.SetSimFolder(sim.root.string());
    SilentWaitBox wait;
    for (auto _ : state) {
        vra::test::ScriptedPrompts prompts;
        vra::CRpyGraphDoc doc(settings, prompts, wait);
        // The saving player's lap in the middle of the race.
        doc.AddLapFromLapFinder(sim.replay, 0, 3, kLaps / 2);
        if (doc.LapCount() != 1 || !doc.TrackLoaded()) state.SkipWithError("the lap was not added");
        benchmark::DoNotOptimize(doc.Slot(0).info.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sim.size));
}

void RawRead(benchmark::State& state) {
    const BigSim& sim = Sim();
    std::vector<char> buffer(1 << 20);
    for (auto _ : state) {
        std::FILE* f = std::fopen(sim.replay.c_str(), "rb");
        std::uint64_t total = 0;
        std::size_t got = 0;
        while (f && (got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0) total += got;
        if (f) std::fclose(f);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sim.size));
}

BENCHMARK(AddLapRun)->Unit(benchmark::kMillisecond);
BENCHMARK(RawRead)->Unit(benchmark::kMillisecond);

class Summary : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end() && run.aggregate_name.empty())
                rates[run.run_name.function_name] = it->second.value;
        }
    }
    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("replay of %d cars, %d laps: %.1f MB\n", kCars, kLaps, static_cast<double>(Sim().size) / 1e6);
    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    auto& r = summary.rates;
    if (r.count("AddLapRun") && r.count("RawRead") && r["RawRead"] > 0) {
        std::printf("add-lap run %.1f MB/s, raw read %.1f MB/s\n", r["AddLapRun"] / 1e6, r["RawRead"] / 1e6);
        std::printf("add-lap/raw %.4f\n", r["AddLapRun"] / r["RawRead"]);
    }
    benchmark::Shutdown();
    return 0;
}
