// The map view's two costs beside the 55 ms playback tick: a full redraw of
// the map with five laps in a 1920 x 1080 window (what a zoom, a scroll or a
// toggled lap costs), and one playback-sized update (five new line segments
// and five car markers drawn into a picture of that size, then the window's
// paint that copies the cached map). Runs under the offscreen platform;
// prints each time in milliseconds and its share of the tick.
#include "core/document/CRpyGraphDoc.h"
#include "core/document/CarMarker.h"
#include "core/document/LapLinePlotter.h"
#include "core/replay/GetRpyInfo.h"
#include "core/settings/AppSettings.h"
#include "core/track/TrackPath.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/MFCDisplay.h"
#include "gui/map/ViewDialog.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/track/DemoTrack.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vra;

namespace {

constexpr double kTickMs = 55.0;

struct Scene {
    std::filesystem::path root;
    vra::test::MemorySettingsStore store;
    std::unique_ptr<vra::AppSettings> settings;
    vra::test::ScriptedPrompts prompts;
    vra::test::RecordingWaitBox waitBox;
    std::unique_ptr<vra::CRpyGraphDoc> doc;
    std::unique_ptr<ViewDialog> bar;
    std::unique_ptr<CRpyGraphView> view;

    Scene() {
        root = std::filesystem::temp_directory_path() / ("vra_mapview_bench_" + std::to_string(::getpid()));
        vra::simkit::WriteDemoSim(root);
        vra::simkit::WriteDemoTrack(root);
        store.preset(vra::SettingsKey::Simulation, vra::SettingsScope::System, "Directory", root.string());
        settings = std::make_unique<vra::AppSettings>(store);
        doc = std::make_unique<vra::CRpyGraphDoc>(*settings, prompts, waitBox);
        for (int driver = 0; driver < 5; ++driver) {
            prompts.lapAnswer(vra::LapChoice{driver, 3, 4});
            doc->OnOpenDocument(root / "replay" / "Demo Race.rpy");
        }
        bar = std::make_unique<ViewDialog>();
        std::vector<ViewDialog::LapEntry> laps;
        for (int slot = 0; slot < doc->LapCount(); ++slot) laps.push_back({slot, "lap", {}});
        bar->UpdateLapControls(laps);
        for (int box = 1; box <= 5; ++box) bar->SetLapTicked(box, true);
        view = std::make_unique<CRpyGraphView>();
        view->SetDocument(doc.get());
        view->SetViewBar(bar.get());
        view->resize(1920, 1080);
        view->show();
        QApplication::processEvents();
        view->OnInitialUpdate();
        view->viewport()->repaint();
    }
    ~Scene() {
        view.reset();
        doc.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

Scene& TheScene() {
    static Scene scene;
    return scene;
}

std::map<std::string, double> g_ms;

void Report(benchmark::State& state, const char* name, double totalMs) {
    const double ms = totalMs / double(state.iterations());
    state.counters["ms"] = ms;
    state.counters["of_tick"] = ms / kTickMs;
    g_ms[name] = ms;
}

void BM_FullRedrawFiveLaps(benchmark::State& state) {
    Scene& s = TheScene();
    if (s.doc->LapCount() != 5) {
        state.SkipWithError("the five laps could not be loaded");
        return;
    }
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.view->RequestFullRedraw();
        s.view->viewport()->repaint();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    Report(state, "full redraw, five laps, 1920x1080", total);
}
BENCHMARK(BM_FullRedrawFiveLaps)->Unit(benchmark::kMillisecond);

void BM_PlaybackSizedUpdate(benchmark::State& state) {
    Scene& s = TheScene();
    if (s.doc->LapCount() != 5) {
        state.SkipWithError("the five laps could not be loaded");
        return;
    }
    QImage layer(1920, 1080, QImage::Format_RGB32);
    layer.fill(Qt::white);
    MFCDisplay display;
    display.FitToTrackEdges(s.doc->GetTrackPath()->EdgeBounds(), 50, 50, 1920, 1080);
    vra::CarMarker marker(s.doc->GetTrackPath());
    std::vector<std::unique_ptr<vra::LapLinePlotter>> plotters;
    for (int slot = 0; slot < 5; ++slot)
        plotters.push_back(std::make_unique<vra::LapLinePlotter>(s.doc->GetTrackPath(), slot));
    int sample = 1;
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        {
            QPainter painter(&layer);
            display.SetDC(&painter);
            for (int slot = 0; slot < 5; ++slot) {
                const vra::GetRpyInfo& info = *s.doc->Slot(slot).info;
                const std::size_t n = std::min(info.distanceM.size(), info.lateralM.size());
                if (n == 0) continue;
                const std::size_t i = std::size_t(sample) % n;
                if (i == 0) plotters[std::size_t(slot)]->Restart();
                const vra::DevicePoint at =
                    plotters[std::size_t(slot)]->PlotPoint(display, info.distanceM[i], info.lateralM[i]);
                marker.Draw(display, at, double(i % 360), slot, false);
            }
            display.SetDC(nullptr);
        }
        s.view->viewport()->repaint();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        ++sample;
    }
    Report(state, "one playback-sized update", total);
}
BENCHMARK(BM_PlaybackSizedUpdate)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nBeside the %.0f ms playback tick:\n", kTickMs);
    for (const auto& [name, ms] : g_ms)
        std::printf("  %-36s %8.2f ms  = %5.1f%% of a tick\n", name.c_str(), ms, 100.0 * ms / kTickMs);
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
