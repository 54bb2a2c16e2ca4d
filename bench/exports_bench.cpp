// The exports of a long race (40 cars with engine blocks, about 100 MB, built
// here and removed at the end): the report site and the XML file beside a raw
// read of the whole file, and the race data beside a raw read plus the
// formatting of the same lines into memory. Warm: the file is in the page
// cache. Prints the cost ratios after the table.
#include "core/base/OutputSink.h"
#include "core/export/RaceData.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReplaySource.h"
#include "core/reports/Report.h"

#include "simkit/replay/ReplayBuilder.h"

#include "BenchRatio.h"
#include "BenchScratch.h"
#include "LongRace.h"
#include "RawRead.h"

#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kCars = 40;
constexpr int kLaps = 64;

const vra::bench::Scratch scratch("exports_bench");

struct Line {
    std::uint32_t frame, ms;
    int driver;
    double distance, lateral;
};

struct Replay {
    fs::path path;
    vra::Header header;
    vra::Drivers drivers;
    std::vector<std::string> numbers;
    std::vector<Line> lines;  // the race data, for the reference's formatting
};

Replay& TheReplay() {
    static Replay r;
    return r;
}

// A 64 x 64 picture, as a map port gives one.
class Picture : public vra::ReportMapPort {
public:
    std::optional<vra::RgbImage> TrackPicture() override {
        vra::RgbImage image{64, 64, std::vector<std::uint8_t>(64 * 64 * 3, 255)};
        return image;
    }
};

void Build() {
    Replay& r = TheReplay();
    vra::simkit::ReplayBuilder b = vra::bench::LongRace(kCars, kLaps);
    r.path = scratch.Folder() / "race.rpy";
    std::printf("writing %s ...\n", r.path.c_str());
    std::fflush(stdout);
    if (!b.writeFile(r.path)) scratch.Fail("cannot write " + r.path.string());
    if (r.header.Read(r.path) != 0 || r.drivers.Load(r.path) != vra::Drivers::LoadResult::Ok)
        scratch.Fail("the replay does not load");

    // The lines the export writes, read back once for the reference.
    vra::ReplaySource src(r.path);
    vra::MemorySink sink;
    if (!vra::RaceData::Write(src, r.drivers, 1.0 / 1024.0, sink)) scratch.Fail("the race data was not written");
    const std::string_view text(reinterpret_cast<const char*>(sink.bytes().data()), sink.bytes().size());
    for (std::size_t p = 0; p < text.size();) {
        const std::size_t e = text.find("\r\n", p);
        std::string_view fields[6];
        std::string_view row = text.substr(p, e - p);
        for (int f = 0; f < 6; ++f) {
            const std::size_t comma = row.find(',');
            fields[f] = row.substr(0, comma);
            row = comma == std::string_view::npos ? std::string_view() : row.substr(comma + 1);
        }
        Line line{};
        std::from_chars(fields[0].begin(), fields[0].end(), line.frame);
        std::from_chars(fields[1].begin(), fields[1].end(), line.ms);
        std::from_chars(fields[2].begin(), fields[2].end(), line.driver);
        std::from_chars(fields[4].begin(), fields[4].end(), line.distance);
        std::from_chars(fields[5].begin(), fields[5].end(), line.lateral);
        if (r.numbers.size() <= std::size_t(line.driver)) r.numbers.resize(std::size_t(line.driver) + 1);
        r.numbers[std::size_t(line.driver)] = std::string(fields[3]);
        r.lines.push_back(line);
        p = e + 2;
    }
    std::printf("race data: %zu lines\n", r.lines.size());
}

vra::Report MakeReport(Picture* picture) {
    vra::Report report;
    report.batch = 1;
    report.header = &TheReplay().header;
    report.drivers = &TheReplay().drivers;
    report.mapView = picture;
    return report;
}

void RawReadWarm(benchmark::State& state) {
    const std::uint64_t size = fs::file_size(TheReplay().path);
    for (auto _ : state)
        if (vra::bench::RawRead(TheReplay().path) < size) state.SkipWithError("short read");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}

void RawReadAndFormatWarm(benchmark::State& state) {
    const Replay& r = TheReplay();
    const std::uint64_t size = fs::file_size(r.path);
    fmt::memory_buffer text;
    for (auto _ : state) {
        if (vra::bench::RawRead(r.path) < size) state.SkipWithError("short read");
        text.clear();
        for (const Line& l : r.lines)
            fmt::format_to(std::back_inserter(text), "{},{},{},{},{:.3f},{:.3f}\r\n", l.frame, l.ms, l.driver,
                           r.numbers[std::size_t(l.driver)], l.distance, l.lateral);
        benchmark::DoNotOptimize(text.data());
    }
}

void ReportSiteWarm(benchmark::State& state) {
    Picture picture;
    const vra::Report report = MakeReport(&picture);
    for (auto _ : state)
        if (report.GenerateReportSite(scratch.Folder().string()).empty()) state.SkipWithError("no site");
    if (!fs::exists(scratch.Folder() / "race" / "flags.html")) scratch.Fail("the site was not written");
}

void XmlExportWarm(benchmark::State& state) {
    const vra::Report report = MakeReport(nullptr);
    for (auto _ : state)
        if (report.ExportReportsToXml(scratch.Folder().string()).empty()) state.SkipWithError("no XML file");
}

void RaceDataWarm(benchmark::State& state) {
    vra::RaceData data;
    data.SetReplayFile(TheReplay().path.string());
    data.SetOutputFile((scratch.Folder() / "race.txt").string());
    for (auto _ : state)
        if (data.Run() != 1) state.SkipWithError("no race data");
    if (fs::file_size(scratch.Folder() / "race.txt") < TheReplay().lines.size() * 20)
        scratch.Fail("the race data is short");
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::error_code ec;
    fs::create_directories(scratch.Folder(), ec);
    Build();
    std::printf("replay %.1f MB\n", static_cast<double>(fs::file_size(TheReplay().path)) / 1e6);
    for (const auto& [name, fn] : std::vector<std::pair<const char*, void (*)(benchmark::State&)>>{
             {"RawReadWarm", RawReadWarm},
             {"RawReadAndFormatWarm", RawReadAndFormatWarm},
             {"ReportSiteWarm", ReportSiteWarm},
             {"XmlExportWarm", XmlExportWarm},
             {"RaceDataWarm", RaceDataWarm}})
        benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond)->UseRealTime();
    vra::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    vra::bench::PrintRatios(reporter, {{"exports: report site, 100 MB race, warm", "ReportSiteWarm", "RawReadWarm",
                                        "raw read of the file, warm", 3.0, 0, true},
                                       {"exports: XML file, 100 MB race, warm", "XmlExportWarm", "RawReadWarm",
                                        "raw read of the file, warm", 3.0, 0, true},
                                       {"exports: race data, 100 MB race, warm", "RaceDataWarm", "RawReadAndFormatWarm",
                                        "raw read and formatting of the lines, warm", 1.5, 0, true}});
    benchmark::Shutdown();
    fs::remove_all(scratch.Folder(), ec);
    return 0;
}
