// What the speed comparison overlay costs on each change (a lap chosen, the
// scale switched): the bins of both laps, their difference, the band cut
// over every piece of the track, and one paint of the band fitted to a
// 1920 x 1080 picture, set against the 55 ms playback tick. Warm: the track
// and the laps are loaded once. The set-up checks that the track has its
// pieces and that the painted band shows the faster lap's green.
#include "core/document/CRpyGraphDoc.h"
#include "core/document/SpeedTrackModel.h"
#include "core/settings/AppSettings.h"
#include "core/track/TrackPath.h"
#include "gui/map/MFCDisplay.h"

#include "simkit/replay/DemoSim.h"
#include "simkit/track/DemoTrack.h"
#include "support/platform/FakeDesktop.h"
#include "support/platform/MemorySettingsStore.h"
#include "support/platform/ScriptedPrompts.h"

#include "BenchRatio.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

using namespace vra;

namespace {

constexpr double kTickMs = 55.0;
constexpr double kTarget = 1.0;  // of a tick
constexpr int kPiecesPerStep = 12;
constexpr std::size_t kMinimumPieces = 150;
const QSize kPicture(1920, 1080);

struct Scene {
    std::filesystem::path root;
    test::MemorySettingsStore store;
    std::unique_ptr<AppSettings> settings;
    test::ScriptedPrompts prompts;
    test::RecordingWaitBox waitBox;
    std::unique_ptr<CRpyGraphDoc> doc;
    std::unique_ptr<SpeedTrackModel> model;
    QImage picture{kPicture, QImage::Format_RGB32};
    std::string problem;

    Scene() {
        root = std::filesystem::temp_directory_path() / ("vra_speedtrack_bench_" + std::to_string(::getpid()));
        simkit::WriteDemoSim(root);
        simkit::WriteDemoTrack(root, kPiecesPerStep);
        store.preset(SettingsKey::Simulation, SettingsScope::System, "Directory", root.string());
        settings = std::make_unique<AppSettings>(store);
        doc = std::make_unique<CRpyGraphDoc>(*settings, prompts, waitBox);
        for (int driver = 0; driver < 2; ++driver) {
            prompts.lapAnswer(LapChoice{driver, 3, 4});
            doc->OnOpenDocument(root / "replay" / "Demo Race.rpy");
        }
        model = std::make_unique<SpeedTrackModel>(*doc);
        model->Choose(SpeedTrackModel::First, 0);
        model->Choose(SpeedTrackModel::Second, 1);
        if (doc->LapCount() != 2) {
            problem = "the two laps could not be loaded";
            return;
        }
        if (!doc->GetTrackPath() || doc->GetTrackPath()->PieceCount() < kMinimumPieces) {
            problem = "the track has fewer than 150 pieces";
            return;
        }
        auto visitor = RecomputeAndPaint();
        int green = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) green += qGreen(picture.pixel(x, y)) > 60;
        if (!visitor || green < 10000) {
            problem = "the band is not painted";
            return;
        }
        std::printf("Scene: %zu pieces, %zu stripes, %d green pixels at 1920x1080\n", doc->GetTrackPath()->PieceCount(),
                    visitor->Stripes().size(), green);
    }
    ~Scene() {
        model.reset();
        doc.reset();
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }

    std::unique_ptr<SpdTrkVisitor> RecomputeAndPaint() {
        auto visitor = model->Recompute(false, 0);
        if (!visitor) return visitor;
        QPainter painter(&picture);
        painter.fillRect(picture.rect(), QColor(240, 240, 240));
        MFCDisplay display;
        display.FitToTrackBounds(visitor->Bounds(), 0, 0, std::uint32_t(kPicture.width()),
                                 std::uint32_t(kPicture.height()));
        display.SetDC(&painter);
        display.FillPolygonList(*visitor);
        return visitor;
    }
};

std::unique_ptr<Scene> g_scene;

void BM_SpeedOverlayRecomputeAndPaint(benchmark::State& state) {
    if (!g_scene) g_scene = std::make_unique<Scene>();
    if (!g_scene->problem.empty()) {
        state.SkipWithError(g_scene->problem.c_str());
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(g_scene->RecomputeAndPaint());
}
BENCHMARK(BM_SpeedOverlayRecomputeAndPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_scene.reset();
    bench::PrintRatios(reporter,
                       {{"speed overlay recomputation and paint, 1920x1080, 156-piece track (warm)",
                         "BM_SpeedOverlayRecomputeAndPaint", "", "the 55 ms playback tick", kTarget, kTickMs}});
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
