// What the telemetry graphs cost: every channel of five 90-second laps with
// engine blocks (all four wheels where a channel has them) beside a raw read
// of those laps' frame bytes, and a full render of twenty series with the
// grid at 1920 x 1080 beside the 55 ms playback tick. Both warm: the laps
// are extracted once before any timing. Runs under the offscreen platform.
#include "core/graphs/ChannelBuilders.h"
#include "core/graphs/ChannelTable.h"
#include "core/graphs/GraphModel.h"
#include "core/graphs/PanelRange.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "gui/graphs/CGraphPanel.h"
#include "gui/graphs/CGraphWnd.h"

#include "simkit/replay/ReplayBuilder.h"

#include "BenchRatio.h"
#include "RawRead.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace vra;

namespace {

constexpr int kLaps = 5;

struct Laps {
    std::filesystem::path file;
    Drivers drivers;
    std::vector<std::unique_ptr<GetRpyInfo>> laps;
    LockedWheels locked;
    std::string problem;

    Laps() {
        simkit::ReplayBuilder b;
        b.drivers(1).trackLength(3000).session(3, kLaps + 1, 90000, 2010).engineBlocks();
        file = std::filesystem::temp_directory_path() / "vra-graphs-bench.rpy";
        if (!b.writeFile(file) || drivers.Load(file) != vra::Drivers::LoadResult::Ok) {
            problem = "the replay could not be written or read";
            return;
        }
        for (int lap = 2; lap < 2 + kLaps; ++lap) {
            auto info = std::make_unique<GetRpyInfo>();
            if (info->ExtractLap(drivers, 0, lap, 3, 3000.0f) != vra::GetRpyInfo::Result::Ok ||
                info->AllocateChannels(1) != vra::GetRpyInfo::Result::Ok || !info->fullData) {
                problem = "a lap could not be extracted with its engine blocks";
                return;
            }
            laps.push_back(std::move(info));
        }
        std::printf("Laps: %d of %d samples with engine blocks\n", kLaps, laps.front()->sampleCount);
    }
    ~Laps() {
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
};

std::unique_ptr<Laps> g_laps;

Laps& TheLaps() {
    if (!g_laps) g_laps = std::make_unique<Laps>();
    return *g_laps;
}

void BM_AllChannels(benchmark::State& state) {
    Laps& l = TheLaps();
    if (!l.problem.empty()) {
        state.SkipWithError(l.problem.c_str());
        return;
    }
    for (auto _ : state) {
        std::size_t points = 0;
        for (const ChannelInfo& c : Channels()) {
            GraphModel graph(32);
            BuilderRanges ranges;
            for (int k = 0; k < kLaps; ++k) {
                BuilderLap lap{l.laps[std::size_t(k)].get(), &l.locked, {}, {}};
                for (int w = 0; w < (c.perWheel ? 4 : 1); ++w) {
                    const int slot = AddChannelSeries(graph, c.code, k, w, lap, 0, ranges);
                    if (slot >= 0) points += std::size_t(graph.GetGraph(slot)->Count());
                }
            }
        }
        benchmark::DoNotOptimize(points);
    }
}
BENCHMARK(BM_AllChannels)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawReadOfTheLaps(benchmark::State& state) {
    Laps& l = TheLaps();
    if (!l.problem.empty()) {
        state.SkipWithError(l.problem.c_str());
        return;
    }
    for (auto _ : state) {
        std::uint64_t bytes = 0;
        for (const auto& lap : l.laps) bytes += bench::RawRead(l.file, lap->firstFrameOffset, lap->endOffset);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_RawReadOfTheLaps)->Unit(benchmark::kMillisecond)->UseRealTime();

struct RenderScene {
    std::unique_ptr<CGraphWnd> graph;
    std::string problem;
    RenderScene() {
        Laps& l = TheLaps();
        if (!l.problem.empty()) {
            problem = l.problem;
            return;
        }
        graph = std::make_unique<CGraphWnd>(32, nullptr);
        graph->resize(1920 + 150, 1080);
        graph->show();
        QApplication::processEvents();
        BuilderRanges ranges;
        for (int k = 0; k < kLaps; ++k) {
            BuilderLap lap{l.laps[std::size_t(k)].get(), &l.locked, {}, {}};
            for (int w = 0; w < 4; ++w) AddChannelSeries(graph->Model(), 38, k, w, lap, 0, ranges);
        }
        graph->Model().SetFlags(kGrid | kCoordinates, 1);
        if (graph->Model().GetGraphCount() != 20) problem = "the graph does not hold twenty series";
    }
};

std::unique_ptr<RenderScene> g_scene;

void BM_RenderTwentySeries(benchmark::State& state) {
    if (!g_scene) g_scene = std::make_unique<RenderScene>();
    if (!g_scene->problem.empty()) {
        state.SkipWithError(g_scene->problem.c_str());
        return;
    }
    for (auto _ : state) g_scene->graph->Panel()->Render();
}
BENCHMARK(BM_RenderTwentySeries)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_scene.reset();
    g_laps.reset();
    vra::bench::PrintRatios(reporter, {{"telemetry graph, 37 channels of five 90-s laps (warm)", "BM_AllChannels",
                                        "BM_RawReadOfTheLaps", "raw read of the laps' frame bytes", 3.0, 0.0, true},
                                       {"telemetry graph render, 20 series with grid, 1920x1080 (warm)",
                                        "BM_RenderTwentySeries", "", "55 ms tick", 0.2, 55.0, true}});
    benchmark::Shutdown();
    return 0;
}
