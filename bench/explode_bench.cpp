// Expanding an imploded track stream of a few megabytes, beside inflating a
// deflate stream of the same bytes and a plain copy of them, in one run.
// Prints each throughput and the ratios after the table.
#include "core/decode/DclBitReader.h"
#include "core/decode/DclExplode.h"

#include "simkit/track/ImplodeWriter.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
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

// Keeps each benchmark's throughput for the summary.
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
    std::printf("output %zu bytes; imploded %zu bytes, deflated %zu bytes\n", Data().size(), Imploded().size(),
                Deflated().size());
    Summary summary;
    benchmark::RunSpecifiedBenchmarks(&summary);
    auto& r = summary.rates;
    if (r.count("Explode") && r.count("Inflate") && r.count("RawCopy") && r["Inflate"] > 0 && r["RawCopy"] > 0) {
        std::printf("explode %.1f MB/s, inflate %.1f MB/s, copy %.1f MB/s\n", r["Explode"] / 1e6, r["Inflate"] / 1e6,
                    r["RawCopy"] / 1e6);
        std::printf("explode/inflate %.2f, explode/copy %.4f\n", r["Explode"] / r["Inflate"],
                    r["Explode"] / r["RawCopy"]);
    }
    benchmark::Shutdown();
    return 0;
}
