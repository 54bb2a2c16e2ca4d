// Expanding an imploded track stream of a few megabytes, beside inflating a
// deflate stream of the same bytes and a plain copy of them, in one run.
// In memory (no file reads). Prints the cost ratios after the table.
#include "core/decode/DclBitReader.h"
#include "core/decode/DclExplode.h"

#include "simkit/track/ImplodeWriter.h"

#include "BenchRatio.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes shaped like an object stream: small integers, slowly changing
// coordinates and repeated texture names, about 4 MB.
const Bytes& Data() {
    static const Bytes data = [] {
        Bytes out;
        auto put = [&](const void* p, std::size_t n) {
            const auto* b = static_cast<const std::uint8_t*>(p);
            out.insert(out.end(), b, b + n);
        };
        const char* textures[] = {"asphalt.bmp", "grass.bmp", "wall_concrete.bmp", "curb_red.bmp"};
        for (std::int32_t i = 0; out.size() < (4u << 20); ++i) {
            const std::int32_t header[] = {i + 1, 1, 0, 2};
            put(header, sizeof header);
            const double pose[] = {std::round(std::cos(i * 1e-3) * 8e3) / 8, std::round(std::sin(i * 1e-3) * 8e3) / 8,
                                   i * 1e-3, 12.0, -12.0};
            put(pose, sizeof pose);
            const char* name = textures[(i / 16) % 4];
            const std::int32_t length = static_cast<std::int32_t>(std::strlen(name));
            put(&length, 4);
            put(name, std::strlen(name));
        }
        return out;
    }();
    return data;
}

const Bytes& Imploded() {
    static const Bytes stream = vra::simkit::ImplodeWriter::WithCopies(Data(), 6);
    return stream;
}

const Bytes& Deflated() {
    static const Bytes stream = [] {
        uLongf size = compressBound(Data().size());
        Bytes out(size);
        if (compress2(out.data(), &size, Data().data(), Data().size(), 6) != Z_OK) std::abort();
        out.resize(size);
        return out;
    }();
    return stream;
}

void Explode(benchmark::State& state) {
    Bytes out(Data().size());
    for (auto _ : state) {
        vra::DclBitReader reader(Imploded());
        vra::DclExplode explode(reader);
        std::size_t produced = 0;
        explode.Explode(out, produced);
        if (produced != out.size()) state.SkipWithError("stream refused");
        benchmark::DoNotOptimize(out.data());
    }
    if (out != Data()) state.SkipWithError("wrong output");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Data().size()));
}

void Inflate(benchmark::State& state) {
    Bytes out(Data().size());
    for (auto _ : state) {
        uLongf size = out.size();
        if (uncompress(out.data(), &size, Deflated().data(), Deflated().size()) != Z_OK) state.SkipWithError("zlib");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Data().size()));
}

void RawCopy(benchmark::State& state) {
    Bytes out(Data().size());
    for (auto _ : state) {
        std::memcpy(out.data(), Data().data(), out.size());
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Data().size()));
}

BENCHMARK(Explode)->Unit(benchmark::kMillisecond);
BENCHMARK(Inflate)->Unit(benchmark::kMillisecond);
BENCHMARK(RawCopy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("output %zu bytes; imploded %zu bytes, deflated %zu bytes\n", Data().size(), Imploded().size(),
                Deflated().size());
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(
        reporter,
        {{"explode of the track stream (in memory)", "Explode", "Inflate", "zlib's inflate of the same bytes", 1.0},
         {"explode of the track stream (in memory)", "Explode", "RawCopy", "memcpy of the output", 0.0}});
    benchmark::Shutdown();
    return 0;
}
