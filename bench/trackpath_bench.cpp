// Map points per second on the road course: a distance and a lateral offset
// placed through the track path (piece lookup, then the piece's position),
// beside a raw read of the same points from a table, in one run. Prints the
// cost ratio after the table (in memory, no file reads).
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtTrack.h"
#include "core/track/TrackPath.h"

#include "simkit/track/PtfBuilder.h"
#include "simkit/track/TrackLayout.h"

#include "BenchRatio.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kSamples = 100'000;  // a lap sampled every few centimetres

const vra::TrackPath& Path() {
    static const auto path = [] {
        const auto image = vra::simkit::PtfBuilder::Build(vra::simkit::TrackLayout::RoadCourse().Describe());
        return std::make_unique<vra::TrackPath>(vra::KtObjectFactory::ReadTrackImage(image));
    }();
    return *path;
}

struct Sample {
    double distance;
    double offset;
};

// Distances in lap order with a weaving lateral offset, as a lap's samples are.
const std::vector<Sample>& Samples() {
    static const std::vector<Sample> samples = [] {
        std::vector<Sample> out;
        const double step = Path().Length() / kSamples;
        for (std::size_t i = 0; i < kSamples; ++i)
            out.push_back({step * static_cast<double>(i), static_cast<double>(i % 11) - 5.0});
        return out;
    }();
    return samples;
}

vra::Point2D Place(const Sample& s) {
    const std::int32_t i = Path().FindPieceAtDistance(s.distance);
    if (i < 0) return {};
    const vra::Segment& piece = Path().PieceAt(i);
    return piece.PositionAt(s.distance - piece.StartDistance(), s.offset);
}

void TrackPathLookup(benchmark::State& state) {
    for (auto _ : state) {
        double sum = 0.0;
        for (const Sample& s : Samples()) {
            const vra::Point2D p = Place(s);
            sum += p.x + p.y;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}

void RawTableRead(benchmark::State& state) {
    static const std::vector<vra::Point2D> table = [] {
        std::vector<vra::Point2D> out;
        for (const Sample& s : Samples()) out.push_back(Place(s));
        return out;
    }();
    for (auto _ : state) {
        double sum = 0.0;
        for (const vra::Point2D& p : table) sum += p.x + p.y;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kSamples));
}

BENCHMARK(TrackPathLookup)->Unit(benchmark::kMicrosecond);
BENCHMARK(RawTableRead)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("road course %.1f m in %zu pieces, %zu samples a pass\n", Path().Length(), Path().PieceCount(),
                kSamples);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(reporter, {{"track path: map points placed (in memory)", "TrackPathLookup", "RawTableRead",
                                        "a read of the same points from a table", 0.0}});
    benchmark::Shutdown();
    return 0;
}
