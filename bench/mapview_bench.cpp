// What the map view costs beside the 55 ms playback tick, in a 1920 x 1080
// window on a track of realistic size (more than 150 pieces) with five laps
// ticked: a full redraw of the map (what a toggled lap or a new lap costs)
// and a zoom step (one click of the zoom tool: zoom by 1.25 about the centre
// and rebuild the picture for the new scale). Both are warm: the track and
// the laps are loaded once, before any timing. Runs under the offscreen
// platform. The set-up checks that the track has its pieces and that the
// picture shows each of the five laps in its colour.
//
// Each run reports "tick_ratio", its time over the 55 ms tick, also in the
// aggregates of repeated runs; the closing ratios give the same figure.
#include "core/document/CRpyGraphDoc.h"
#include "core/playback/PlaybackController.h"
#include "core/playback/RaceModel.h"
#include "core/replay/GetRpyInfo.h"
#include "core/settings/AppSettings.h"
#include "core/track/TrackPath.h"
#include "gui/map/CRpyGraphView.h"
#include "gui/map/MapPlayback.h"
#include "gui/map/ViewDialog.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/DemoTrack.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include "BenchRatio.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace vra;

namespace {

constexpr double kTickMs = 55.0;
constexpr double kTarget = 0.05;  // of a tick
constexpr double kLinesTarget = 0.1;
constexpr int kPiecesPerStep = 12;
constexpr std::size_t kMinimumPieces = 150;
constexpr int kLapPixelsWanted = 400;

int CountColour(const QImage& image, QColor colour) {
    const QRgb wanted = colour.rgb();
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) n += (line[x] & 0xFFFFFFu) == (wanted & 0xFFFFFFu);
    }
    return n;
}

QColor LapColour(int slot) {
    const Rgb c = kMapPalette[std::size_t(slot)];
    return QColor(c.red, c.green, c.blue);
}

struct Scene {
    std::filesystem::path root;
    vra::test::MemorySettingsStore store;
    std::unique_ptr<vra::AppSettings> settings;
    vra::test::ScriptedPrompts prompts;
    vra::test::RecordingWaitBox waitBox;
    std::unique_ptr<vra::CRpyGraphDoc> doc;
    std::unique_ptr<ViewDialog> bar;
    std::unique_ptr<CRpyGraphView> view;
    std::string problem;  // why the scene does not do what the names say

    Scene() {
        root = std::filesystem::temp_directory_path() / ("vra_mapview_bench_" + std::to_string(::getpid()));
        vra::simkit::WriteDemoSim(root);
        // The demo course cut into short pieces, as real track files are.
        vra::simkit::WriteDemoTrack(root, kPiecesPerStep);
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
        view = std::make_unique<CRpyGraphView>();
        view->SetDocument(doc.get());
        view->SetViewBar(bar.get());
        view->SetPrompts(&prompts);
        view->resize(1920, 1080);
        view->show();
        QApplication::processEvents();
        // The initial update unticks the boxes of a new document: tick after it.
        view->OnInitialUpdate();
        QApplication::processEvents();
        const QImage bare = Grab();
        for (int box = 1; box <= 5; ++box) bar->SetLapTicked(box, true);
        view->RequestFullRedraw();
        Check(bare, Grab());
    }
    ~Scene() {
        view.reset();
        bar.reset();
        doc.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    QImage Grab() {
        view->viewport()->repaint();
        return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    void Check(const QImage& bare, const QImage& lines) {
        if (doc->LapCount() != 5) {
            problem = "the five laps could not be loaded";
            return;
        }
        if (!doc->GetTrackPath() || doc->GetTrackPath()->PieceCount() < kMinimumPieces) {
            problem = "the track has fewer than 150 pieces";
            return;
        }
        if (view->viewport()->size() != QSize(1920, 1080)) {
            problem = "the map is not 1920 x 1080";
            return;
        }
        // Lap 1 shares its red with the quarter marks: count what it adds.
        for (int slot = 0; slot < 5; ++slot) {
            const int added = CountColour(lines, LapColour(slot)) - CountColour(bare, LapColour(slot));
            if (added < kLapPixelsWanted) {
                problem = "lap " + std::to_string(slot + 1) + " is not drawn";
                return;
            }
        }
        std::printf("Scene: %zu pieces, five laps drawn in their colours at %dx%d\n", doc->GetTrackPath()->PieceCount(),
                    view->viewport()->width(), view->viewport()->height());
    }
};

// Made on first use and gone before the application object.
std::unique_ptr<Scene> g_scene;
Scene& TheScene() {
    if (!g_scene) g_scene = std::make_unique<Scene>();
    return *g_scene;
}

// The time of a run is its real time per iteration, which the ratio table
// reads; the counter puts the same share of the tick beside each run and
// each aggregate.
void Report(benchmark::State& state, double totalMs) {
    state.counters["tick_ratio"] = benchmark::Counter(totalMs / kTickMs, benchmark::Counter::kAvgIterations);
}

bool Ready(benchmark::State& state) {
    const Scene& s = TheScene();
    if (!s.problem.empty()) state.SkipWithError(s.problem.c_str());
    return s.problem.empty();
}

void BM_FullRedrawFiveLaps(benchmark::State& state) {
    if (!Ready(state)) return;
    Scene& s = TheScene();
    s.view->ZoomFull();
    s.view->viewport()->repaint();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.view->RequestFullRedraw();
        s.view->viewport()->repaint();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    Report(state, total);
}
BENCHMARK(BM_FullRedrawFiveLaps)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ZoomStepFiveLaps(benchmark::State& state) {
    if (!Ready(state)) return;
    Scene& s = TheScene();
    s.view->ZoomFull();
    s.view->viewport()->repaint();
    const int builds = s.view->CacheBuilds();
    const QPoint centre(CRpyGraphView::kCanvas / 2, CRpyGraphView::kCanvas / 2);
    bool in = true;
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        // In and out by turns, so the scale stays near the whole track.
        if (in)
            s.view->ZoomByFactor(centre, 1.25f);
        else
            s.view->ZoomOutByFactor(centre, 1.25f);
        s.view->viewport()->repaint();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        in = !in;
    }
    if (s.view->CacheBuilds() - builds != int(state.iterations()))
        state.SkipWithError("a zoom step did not rebuild the picture");
    Report(state, total);
}
BENCHMARK(BM_ZoomStepFiveLaps)->Unit(benchmark::kMillisecond)->UseRealTime();

// One step of the lines playback with the five laps near their end: each lap
// plots its next segment, the read-outs are written, the view follows the
// leader (a scroll, so the static picture is drawn again for the new place)
// and the window shows the static picture with the driven segments over it.
constexpr int kLinesTicks = 60;
void BM_LinesTickFiveLaps(benchmark::State& state) {
    if (!Ready(state)) return;
    Scene& s = TheScene();
    PlaybackController& c = s.view->Playback().Controller();
    std::int32_t shortest = INT32_MAX;
    for (int slot = 0; slot < 5; ++slot) shortest = std::min(shortest, s.doc->Slot(slot).info->sampleCount);
    c.Stop();
    c.Play();
    s.view->Playback().Timer().stop();
    // Untimed: drive on to where the shortest lap has kLinesTicks + 10 ticks left.
    while (c.Playing() && std::int64_t(c.Position()) + 2 * (kLinesTicks + 10) < shortest - 1)
        s.view->Playback().OnTimer();
    s.view->viewport()->repaint();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.view->Playback().OnTimer();
        s.view->viewport()->repaint();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    if (!c.Playing()) state.SkipWithError("the laps ended while measured");
    c.Stop();
    Report(state, total);
}
BENCHMARK(BM_LinesTickFiveLaps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(kLinesTicks);

// A 43-car race on the same track, played in race mode in its own window.
constexpr int kRaceCars = 43;
struct RaceScene {
    std::filesystem::path root;
    vra::test::MemorySettingsStore store;
    std::unique_ptr<vra::AppSettings> settings;
    vra::test::ScriptedPrompts prompts;
    vra::test::RecordingWaitBox waitBox;
    std::unique_ptr<vra::CRpyGraphDoc> doc;
    std::unique_ptr<ViewDialog> bar;
    std::unique_ptr<CRpyGraphView> view;
    std::string problem;

    RaceScene() {
        root = std::filesystem::temp_directory_path() / ("vra_race_view_bench_" + std::to_string(::getpid()));
        vra::simkit::WriteDemoSim(root);
        vra::simkit::WriteDemoTrack(root, kPiecesPerStep);
        vra::simkit::ReplayBuilder b;
        b.drivers(kRaceCars).trackLength(vra::simkit::kDemoTrackLength);
        b.desc.settings.trackName = std::string(vra::simkit::kDemoTrackName);
        b.session(3, 6, 50000, 6000);
        b.desc.sessions.back().raceStartMs = 0;
        b.desc.raceControlEvery = 36;
        const auto replay = root / "replay" / "Race43.rpy";
        if (!b.writeFile(replay)) {
            problem = "the race replay could not be written";
            return;
        }
        store.preset(vra::SettingsKey::Simulation, vra::SettingsScope::System, "Directory", root.string());
        settings = std::make_unique<vra::AppSettings>(store);
        doc = std::make_unique<vra::CRpyGraphDoc>(*settings, prompts, waitBox);
        prompts.lapAnswer(vra::LapChoice{0, 3, 2});
        doc->OnOpenDocument(replay);
        bar = std::make_unique<ViewDialog>();
        view = std::make_unique<CRpyGraphView>();
        view->SetDocument(doc.get());
        view->SetViewBar(bar.get());
        view->SetPrompts(&prompts);
        view->resize(1920, 1080);
        view->show();
        QApplication::processEvents();
        view->OnInitialUpdate();
        view->Playback().Controller().ToggleRaceReplay();
        if (!view->Playback().Race().Loaded() || view->Playback().Race().DriverCount() != kRaceCars)
            problem = "the 43-car race does not load";
    }
    ~RaceScene() {
        view.reset();
        bar.reset();
        doc.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
};

// One step of the race playback late in the race: the frame's 43 cars placed,
// ordered and followed, the status texts made, and the window painted: the
// cars over a copy of the cached static picture.
void BM_RaceTick43Cars(benchmark::State& state) {
    RaceScene s;
    if (!s.problem.empty()) {
        state.SkipWithError(s.problem.c_str());
        return;
    }
    PlaybackController& c = s.view->Playback().Controller();
    const vra::RaceModel& race = s.view->Playback().Race();
    c.Play();
    s.view->Playback().Timer().stop();
    while (c.Playing() && c.Position() < race.FrameCount() / 2) s.view->Playback().OnTimer();
    s.view->viewport()->repaint();
    int present = 0;
    for (const auto& pose : race.Poses()) present += pose.present ? 1 : 0;
    if (present != kRaceCars) state.SkipWithError("not every car is on the track");
    const int builds = s.view->CacheBuilds();
    double total = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        s.view->Playback().OnTimer();
        s.view->viewport()->repaint();
        total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    }
    std::printf("race ticks rebuilt the static picture %d times\n", s.view->CacheBuilds() - builds);
    Report(state, total);
}
BENCHMARK(BM_RaceTick43Cars)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_scene.reset();
    const char* tick = "the 55 ms playback tick";
    vra::bench::PrintRatios(reporter, {{"map full redraw, 5 laps ticked, 1920x1080, 156-piece track (warm)",
                                        "BM_FullRedrawFiveLaps", "", tick, kTarget, kTickMs},
                                       {"map zoom step, 5 laps ticked, 1920x1080, 156-piece track (warm)",
                                        "BM_ZoomStepFiveLaps", "", tick, kTarget, kTickMs},
                                       {"lines playback tick, 5 laps near their end, following the leader, 1920x1080",
                                        "BM_LinesTickFiveLaps", "", tick, kLinesTarget, kTickMs},
                                       {"race playback tick, 43 cars, following the leader, 1920x1080",
                                        "BM_RaceTick43Cars", "", tick, kLinesTarget, kTickMs}});
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
