// What a redraw of the traction circle costs: five whole laps ticked, with
// the circles, the plot at 1920 x 1080 and the track map beside it, beside
// the 55 ms playback tick. The laps are loaded once before any timing. Runs
// under the offscreen platform.
#include "core/document/DocumentColours.h"
#include "core/playback/PlaybackController.h"
#include "gui/graphs/TractionCircle.h"

#include "support/document/LapDocument.h"

#include "BenchRatio.h"

#include <QApplication>
#include <QCheckBox>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kLaps = 5;

struct Circle {
    std::unique_ptr<vra::test::LapDocument> lapDoc;
    std::unique_ptr<vra::TractionCircle> dialog;
    std::string problem;

    Circle() {
        lapDoc = std::make_unique<vra::test::LapDocument>("traction-bench");
        lapDoc->builder = vra::simkit::ReplayBuilder();
        lapDoc->builder.drivers(kLaps).session(3, 3, 46000).trackLength(vra::simkit::kDemoTrackLength);
        lapDoc->builder.desc.settings.trackName = std::string(vra::simkit::kDemoTrackName);
        lapDoc->builder.desc.lateral = [](int driver, double ms) { return 4.0 * std::sin(ms / 2500.0 + driver); };
        lapDoc->Open();
        for (int d = 0; d < kLaps; ++d) lapDoc->AddLap(d, 2);
        if (lapDoc->doc->LapCount() != kLaps) {
            problem = "the laps could not be loaded";
            return;
        }
        dialog = std::make_unique<vra::TractionCircle>(*lapDoc->doc);
        // The plot frame follows the dialog's size one to one.
        const QSize frame = dialog->PlotFrame()->size();
        dialog->resize(dialog->width() + 1920 - frame.width(), dialog->height() + 1080 - frame.height());
        dialog->show();
        QApplication::processEvents();
        dialog->CirclesBox()->setChecked(true);
        for (int lap = 1; lap <= kLaps; ++lap) dialog->LapBox(lap)->setChecked(true);
        dialog->Redraw();
        if (dialog->PlotPicture().size() != QSize(1920, 1080)) {
            std::printf("plot %d x %d\n", dialog->PlotPicture().width(), dialog->PlotPicture().height());
            problem = "the plot is not 1920 x 1080";
        }
        for (int k = 1; k < kLaps && problem.empty(); ++k) {
            const vra::Rgb c = vra::kGraphColours[std::size_t(k)];
            const QRgb want = qRgb(c.red, c.green, c.blue);
            bool found = false;
            const QImage& img = dialog->PlotPicture();
            for (int y = 0; y < img.height() && !found; ++y)
                for (int x = 0; x < img.width() && !found; ++x) found = img.pixel(x, y) == want;
            if (!found) problem = "a lap's trace is missing";
        }
    }
};

Circle& TheCircle() {
    static Circle circle;
    return circle;
}

void TractionRedraw(benchmark::State& state) {
    Circle& c = TheCircle();
    if (!c.problem.empty()) {
        state.SkipWithError(c.problem.c_str());
        return;
    }
    for (auto _ : state) {
        c.dialog->Redraw();
        benchmark::DoNotOptimize(c.dialog->PlotPicture().constBits());
    }
}

BENCHMARK(TractionRedraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(reporter, {{"traction circle redraw, five laps at 1920 x 1080", "TractionRedraw", "",
                                        "55 ms playback tick", 0.2, static_cast<double>(vra::kPlaybackTickMs)}});
    TheCircle().dialog.reset();
    TheCircle().lapDoc.reset();
    benchmark::Shutdown();
    return 0;
}
