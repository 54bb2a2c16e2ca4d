// Writing all text reports of a long race (40 cars with engine blocks, about
// 100 MB, built here and removed at the end), with the mechanical and flag
// reports, beside a raw read of the whole file. Warm: the file is in the page
// cache. The flag report reads the race's frames, so the reports cost about
// one pass over the file. Prints the cost ratio after the table.
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/reports/Report.h"

#include "simkit/replay/ReplayBuilder.h"

#include "BenchRatio.h"
#include "BenchScratch.h"
#include "LongRace.h"
#include "RawRead.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kCars = 40;
constexpr int kLaps = 64;

const vra::bench::Scratch scratch("reports_bench");

struct Replay {
    fs::path path;
    vra::Header header;
    vra::Drivers drivers;
};

Replay& TheReplay() {
    static Replay r;
    return r;
}

void Build() {
    Replay& r = TheReplay();
    vra::simkit::ReplayBuilder b = vra::bench::LongRace(kCars, kLaps);
    r.path = scratch.Folder() / "race.rpy";
    std::printf("writing %s ...\n", r.path.c_str());
    std::fflush(stdout);
    if (!b.writeFile(r.path)) scratch.Fail("cannot write " + r.path.string());
    if (r.header.Read(r.path) != 0 || r.drivers.Load(r.path) != vra::Drivers::LoadResult::Ok)
        scratch.Fail("the replay does not load");
}

// The set-up checks the work: ten files, the flag report with its rows and
// the race report with every car.
void Check(const fs::path& out) {
    int files = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(out)) ++files;
    std::ifstream flags(out / "race_Flag.txt", std::ios::binary);
    std::stringstream text;
    text << flags.rdbuf();
    if (files != 10 || text.str().find("White flag waved") == std::string::npos)
        scratch.Fail("the reports were not all written");
}

void RawReadWarm(benchmark::State& state) {
    const std::uint64_t size = fs::file_size(TheReplay().path);
    for (auto _ : state)
        if (vra::bench::RawRead(TheReplay().path) < size) state.SkipWithError("short read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void WriteAllTextReportsWarm(benchmark::State& state) {
    const fs::path out = scratch.Folder() / "out";
    fs::create_directories(out);
    vra::Report report;
    report.header = &TheReplay().header;
    report.drivers = &TheReplay().drivers;
    for (auto _ : state)
        if (!report.WriteAllTextReports(out.string() + "/", 1)) state.SkipWithError("a report was not written");
    Check(out);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::error_code ec;
    fs::create_directories(scratch.Folder(), ec);
    Build();
    std::printf("replay %.1f MB\n", static_cast<double>(fs::file_size(TheReplay().path)) / 1e6);
    benchmark::RegisterBenchmark("RawReadWarm", RawReadWarm)->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::RegisterBenchmark("WriteAllTextReportsWarm", WriteAllTextReportsWarm)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(
        reporter, {{"reports: all text reports with flags, 100 MB race, warm", "WriteAllTextReportsWarm", "RawReadWarm",
                    "raw read of the file, warm", 3.0, 0, true}});
    benchmark::Shutdown();
    fs::remove_all(scratch.Folder(), ec);
    return 0;
}
