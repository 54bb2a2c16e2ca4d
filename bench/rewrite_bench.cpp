// Rewriting a long replay (a race of 40 cars with engine blocks, about
// 100 MB, built here and removed at the end) beside a plain copy of the same
// file in the same run, warm (the source in the page cache):
// - the compression, which keeps the records the readers use;
// - the ride-height fix, which rewrites the saving player's full records.
// The copy reads the source in 1 MB blocks and writes them through the same
// atomic file (temporary file, flush to disk, rename), so that the ratio shows
// what the rewriting costs over moving the bytes. Prints the ratios after the
// table.
#include "core/base/AtomicFile.h"
#include "core/replay/Drivers.h"
#include "core/replay/ReplayRewrite.h"
#include "core/replay/ReplaySource.h"

#include "simkit/replay/ReplayBuilder.h"

#include "BenchRatio.h"
#include "BenchScratch.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kCars = 40;
constexpr int kLaps = 64;
constexpr std::size_t kBlock = 1 << 20;

const vra::bench::Scratch scratch("rewrite_bench");

struct Source {
    fs::path path;
    std::uint64_t size = 0;
    std::uint64_t frameChunk = 0;
} source;

const fs::path& Output() {
    static const fs::path out = scratch.Folder() / "out.rpy";
    return out;
}

bool PlainCopy() {
    const int fd = ::open(source.path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    std::vector<std::uint8_t> buffer(kBlock);
    vra::AtomicFile out(Output());
    bool ok = out.isOpen();
    for (std::uint64_t at = 0; ok && at < source.size;) {
        const ssize_t got = ::pread(fd, buffer.data(), kBlock, static_cast<off_t>(at));
        if (got <= 0) {
            ok = false;
            break;
        }
        ok = out.write(std::span<const std::uint8_t>(buffer.data(), static_cast<std::size_t>(got)));
        at += static_cast<std::uint64_t>(got);
    }
    ::close(fd);
    return ok && out.commit();
}

bool Compress() {
    vra::ReplaySource src(source.path);
    return vra::WriteFileAtomic(Output(), [&](vra::OutputSink& out) {
        return vra::CompressReplayFile(src, source.frameChunk, out).result == 0;
    });
}

bool Fix() {
    vra::ReplaySource src(source.path);
    return vra::WriteFileAtomic(
        Output(), [&](vra::OutputSink& out) { return vra::FixTransAmRideHeight(src, source.frameChunk, out) == 0; });
}

void Build() {
    vra::simkit::ReplayBuilder b;
    b.drivers(kCars).trackLength(2500.0);
    vra::simkit::SessionDesc race;
    race.kind = 3;
    race.raceStartMs = 8000;
    for (int i = 0; i < kCars; ++i) {
        vra::simkit::CarSession car;
        car.firstStampMs = 8000 + 100 * static_cast<std::uint32_t>(i);
        car.laps.assign(kLaps, 47000 + 40 * static_cast<std::uint32_t>(i));
        race.cars.push_back(car);
    }
    b.desc.sessions.push_back(race);
    b.desc.engineBlocks = true;
    b.desc.raceControlEvery = 36;
    b.desc.fullHook = [](const vra::simkit::FrameContext& f, vra::simkit::FullRecordFields& r) {
        r.rideHeight = static_cast<std::uint32_t>(f.frameNumber % 4096);
    };
    source.path = scratch.Folder() / "race.rpy";
    std::printf("writing %s ...\n", source.path.c_str());
    std::fflush(stdout);
    if (!b.writeFile(source.path)) scratch.Fail("cannot write the replay");
    source.size = fs::file_size(source.path);
    vra::Drivers d;
    if (d.Load(source.path) != vra::Drivers::LoadResult::Ok) scratch.Fail("the replay does not load");
    source.frameChunk = d.frameChunkOffset;

    // The set-up checks the work: the copy is the file, the compression
    // leaves a smaller replay that loads, the fix one of the same size with
    // other bytes.
    if (!PlainCopy() || fs::file_size(Output()) != source.size) scratch.Fail("the copy failed");
    if (!Compress()) scratch.Fail("the compression failed");
    const std::uint64_t compressed = fs::file_size(Output());
    vra::Drivers c;
    if (compressed >= source.size || c.Load(Output()) != vra::Drivers::LoadResult::Ok)
        scratch.Fail("the compression left no smaller replay");
    if (!Fix() || fs::file_size(Output()) != source.size) scratch.Fail("the fix failed");
    std::printf("source %llu MB, compressed %llu MB\n", static_cast<unsigned long long>(source.size >> 20),
                static_cast<unsigned long long>(compressed >> 20));
}

void Run(benchmark::State& state, bool (*work)()) {
    for (auto _ : state)
        if (!work()) state.SkipWithError("failed");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * source.size));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::error_code ec;
    fs::create_directories(scratch.Folder(), ec);
    Build();
    const std::string s = "/" + std::to_string(source.size >> 20) + "MB";
    for (auto [name, work] : {std::pair{"PlainCopyWarm", &PlainCopy}, {"CompressWarm", &Compress}, {"FixWarm", &Fix}})
        benchmark::RegisterBenchmark((name + s).c_str(), Run, work)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(5);
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const std::string mb = std::to_string(source.size >> 20) + " MB";
    vra::bench::PrintRatios(reporter,
                            {{"replay: compression, " + mb + ", warm", "CompressWarm" + s, "PlainCopyWarm" + s,
                              "plain copy of the file through the atomic file, warm", 2.0},
                             {"replay: ride-height fix, " + mb + ", warm", "FixWarm" + s, "PlainCopyWarm" + s,
                              "plain copy of the file through the atomic file, warm", 2.0}});
    benchmark::Shutdown();
    fs::remove_all(scratch.Folder(), ec);
    return 0;
}
