// Groove file numbers: FormatG10 per number beside {fmt}'s "{:.9e}" of the
// same doubles (warm, in memory). A groove file holds three numbers per
// entry, thousands of entries.
#include "core/export/GrooveFile.h"

#include "BenchRatio.h"

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kNumbers = 15'000;  // 5000 entries x 3 numbers

const std::vector<double>& Numbers() {
    static const std::vector<double> numbers = [] {
        std::vector<double> out;
        for (std::size_t i = 0; i < kNumbers; ++i) {
            const double d = 0.5 * static_cast<double>(i / 3);
            switch (i % 3) {
                case 0:
                    out.push_back(-4.0 + d * 0.0031);
                    break;  // lateral
                case 1:
                    out.push_back((i % 7) * 0.0434782608696);
                    break;  // groove
                default:
                    out.push_back(d);
                    break;  // distance
            }
        }
        return out;
    }();
    return numbers;
}

void FormatG10Numbers(benchmark::State& state) {
    // Set-up check: the work is the file's formatting, not an empty loop.
    if (vra::FormatG10(0.05) != "5.e-002") state.SkipWithError("FormatG10 does not format");
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (double v : Numbers()) bytes += vra::FormatG10(v).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kNumbers));
}

void FmtScientific(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (double v : Numbers()) bytes += fmt::format("{:.9e}", v).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kNumbers));
}

BENCHMARK(FormatG10Numbers)->Unit(benchmark::kMicrosecond);
BENCHMARK(FmtScientific)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("%zu numbers a pass, warm\n", kNumbers);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(reporter, {{"groove numbers formatted (warm, in memory)", "FormatG10Numbers",
                                        "FmtScientific", "{fmt} \"{:.9e}\" of the same doubles", 2.0, 0, true}});
    benchmark::Shutdown();
    return 0;
}
