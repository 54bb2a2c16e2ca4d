// What the chart costs: a repaint of a 1920 x 1080 chart with ten curves of
// 100,000 points each (the dense columns cut to what can show) beside the
// 55 ms playback tick, and handing a curve of 1,000,000 points to the chart
// beside one plain pass that finds the same points' minimum and maximum.
// Both warm (compared by processor time): the points are made once before
// any timing. Runs under the
// offscreen platform. The set-up checks that every curve shows in its colour
// and that the chart holds all the points it was given.
#include "gui/chart/CXGraph.h"

#include "BenchRatio.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace vra;

namespace {

constexpr int kCurves = 10;
constexpr int kPoints = 100000;
constexpr int kBigCurve = 1000000;

std::vector<Point2D> LapLike(int n, int seed) {
    std::vector<Point2D> pts(static_cast<std::size_t>(n));
    std::uint32_t noise = 12345u + static_cast<std::uint32_t>(seed);
    for (int i = 0; i < n; ++i) {
        noise = noise * 1664525u + 1013904223u;
        const double x = i * 0.05;  // metres along a 5 km lap
        pts[static_cast<std::size_t>(i)] = {x, 40 * seed + 30 * std::sin(x / 300 + seed) + (noise >> 24) / 32.0};
    }
    return pts;
}

struct PaintScene {
    std::unique_ptr<CXGraph> graph;
    std::string problem;
    PaintScene() {
        graph = std::make_unique<CXGraph>();
        graph->resize(1920, 1080);
        graph->model().legend = true;
        for (int c = 0; c < kCurves; ++c) {
            const auto pts = LapLike(kPoints, c);
            graph->SetData(pts.data(), kPoints, c, 0, 0);
        }
        graph->show();
        QApplication::processEvents();
        const QImage picture = graph->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int c = 0; c < kCurves; ++c) {
            const QRgb want = ToQColor(ChartModel::kCurveColours[c]).rgb() & 0xFFFFFFu;
            int n = 0;
            for (int y = 0; y < picture.height(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
                for (int x = graph->model().plotRect.left; x < graph->model().plotRect.right; ++x)
                    n += (line[x] & 0xFFFFFFu) == want;
            }
            if (n < 1000) problem = "curve " + std::to_string(c + 1) + " is not drawn";
        }
        if (graph->model().CurveCount() != kCurves || graph->GetCurve(kCurves - 1).Count() != kPoints)
            problem = "the chart does not hold ten curves of 100,000 points";
        if (problem.empty())
            std::printf("Scene: %d curves of %d points drawn in their colours at 1920x1080\n", kCurves, kPoints);
    }
};

std::unique_ptr<PaintScene> g_scene;

void BM_PaintTenCurves(benchmark::State& state) {
    if (!g_scene) g_scene = std::make_unique<PaintScene>();
    if (!g_scene->problem.empty()) {
        state.SkipWithError(g_scene->problem.c_str());
        return;
    }
    for (auto _ : state) g_scene->graph->repaint();
}
BENCHMARK(BM_PaintTenCurves)->Unit(benchmark::kMillisecond)->UseRealTime();

const std::vector<Point2D>& BigCurve() {
    static const std::vector<Point2D> pts = LapLike(kBigCurve, 3);
    return pts;
}

void BM_SetDataMillion(benchmark::State& state) {
    const auto& pts = BigCurve();
    ChartModel model;
    model.SetData(pts.data(), kBigCurve, 0, 0, 0);
    if (model.GetCurve(0).Count() != kBigCurve) {
        state.SkipWithError("the chart does not hold the million points");
        return;
    }
    for (auto _ : state) {
        auto* c = model.SetData(pts.data(), kBigCurve, 0, 0, 0);
        benchmark::DoNotOptimize(c->points.data());
    }
}
BENCHMARK(BM_SetDataMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MinMaxMillion(benchmark::State& state) {
    const auto& pts = BigCurve();
    for (auto _ : state) {
        double lo = pts[0].y, hi = pts[0].y, xl = pts[0].x, xh = pts[0].x;
        for (const auto& p : pts) {
            lo = std::min(lo, p.y);
            hi = std::max(hi, p.y);
            xl = std::min(xl, p.x);
            xh = std::max(xh, p.x);
        }
        benchmark::DoNotOptimize(lo + hi + xl + xh);
    }
}
BENCHMARK(BM_MinMaxMillion)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_scene.reset();
    vra::bench::PrintRatios(reporter, {{"chart repaint, 10 curves x 100,000 points, 1920x1080 (warm)",
                                        "BM_PaintTenCurves", "", "55 ms tick", 0.2, 55.0, true},
                                       {"chart SetData, 1,000,000 points (warm)", "BM_SetDataMillion",
                                        "BM_MinMaxMillion", "one min/max pass over the points", 3.0, 0.0, true}});
    benchmark::Shutdown();
    return 0;
}
