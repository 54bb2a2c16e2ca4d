// The lap finder's scan of a large collection (500 replays of all sessions,
// 4 to 20 cars, 0.2 to 2 MB, on two tracks, and 20 CD databases of 50
// records) and the database creator over the 500 replays, each beside a raw
// read of the same amount of each file in the same run. The bytes each file
// costs are taken from the process's read counter (/proc/self/io, rchar)
// while the project reads it once in the set-up, so the reference reads
// exactly as much as the project pulls. Warm cache: every file is read
// before timing starts. Prints the ratios after the table.
#include "core/document/CRpyGraphDoc.h"
#include "core/laps/LapFinder.h"
#include "core/laps/ReplayCDDatabaseCreator.h"
#include "core/platform/Prompts.h"
#include "core/platform/SettingsStore.h"
#include "core/platform/Volumes.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/settings/AppSettings.h"

#include "simkit/replay/DatabaseWriter.h"
#include "simkit/replay/ReplayBuilder.h"
#include "support/platform/FakeDesktop.h"

#include "BenchRatio.h"
#include "BenchScratch.h"
#include "RawRead.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace vra;

constexpr int kReplays = 500;
constexpr int kDatabases = 20;
constexpr int kRecords = 50;

const bench::Scratch scratch("lapsource_bench");

fs::path Sim() {
    return scratch.Folder() / "sim";
}
fs::path ReplayDir() {
    return Sim() / "replay";
}

std::uint64_t ReadCounter() {
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

// Replay i: 4 to 20 cars, every session, a lap count that spreads the sizes
// over 0.2 to 2 MB; even ones on OVAL, odd ones on RING.
simkit::ReplayBuilder Replay(int i) {
    simkit::ReplayBuilder b;
    const int cars = 4 + i % 17;
    const int raceLaps = 2 + (i * 7) % 7;
    b.drivers(cars).trackLength(600);
    for (int kind = 0; kind < 4; ++kind) b.session(kind, kind == 3 ? raceLaps : 1, 10000);
    b.desc.settings.trackName = i % 2 ? "RING" : "OVAL";
    return b;
}

void Build() {
    std::error_code ec;
    fs::create_directories(ReplayDir() / "VELMRRA_CDDB", ec);
    fs::create_directories(Sim() / "tracks" / "oval", ec);
    std::ofstream(Sim() / "VELMAR.exe") << "exe";
    std::printf("writing %d replays and %d databases under %s ...\n", kReplays, kDatabases, scratch.Folder().c_str());
    for (int i = 0; i < kReplays; ++i) {
        auto b = Replay(i);
        if (!b.writeFile(ReplayDir() / ("r" + std::to_string(1000 + i) + ".rpy")))
            scratch.Fail("a replay could not be written");
    }
    for (int d = 0; d < kDatabases; ++d) {
        simkit::DbDesc db;
        db.label = "DISC " + std::to_string(d) + " [iso9660]";
        for (int r = 0; r < kRecords; ++r)
            db.records.push_back(simkit::SimpleDbRecord("season\\r" + std::to_string(r) + ".rpy",
                                                        r % 2 ? "RING" : "OVAL", 4 + r % 17, 2 + r % 9, 40000));
        if (!simkit::WriteDatabase(ReplayDir() / "VELMRRA_CDDB" / ("disc" + std::to_string(d) + ".rdb"), db))
            scratch.Fail("a database could not be written");
    }
}

class NullSettings : public SettingsStore {
public:
    std::optional<SettingsValue> read(SettingsKey, SettingsScope, std::string_view, SettingsKind) const override {
        return std::nullopt;
    }
    bool contains(SettingsKey, SettingsScope, std::string_view) const override { return false; }
    bool write(SettingsKey, std::string_view, const SettingsValue&) override { return true; }
    bool remove(SettingsKey, std::string_view) override { return true; }
};
class QuietPrompts : public Prompts {
public:
    Button message(std::string_view, std::string_view, Icon, Buttons) override {
        ++shown;
        return Button::Yes;
    }
    std::optional<fs::path> openFile(const OpenFileRequest&) override { return std::nullopt; }
    std::optional<LapChoice> chooseLap(const LapChoiceRequest&) override { return std::nullopt; }
    SettingsDialogResult editSettings(const SettingsDialogRequest&) override { return {}; }
    int shown = 0;
};
class ReplayFolderDisc : public Volumes {
public:
    std::vector<Volume> List() override {
        Volume v;
        v.root = ReplayDir();
        v.device = "/dev/sr0";
        v.name = "BENCH";
        v.fileSystem = "iso9660";
        v.ready = true;
        return {v};
    }
};

struct World {
    NullSettings store;
    AppSettings settings{store};
    QuietPrompts prompts;
    test::SilentWaitBox wait;
    ReplayFolderDisc volumes;
    std::unique_ptr<CRpyGraphDoc> doc;
    World() {
        settings.SetSimFolder(Sim().string());
        doc = std::make_unique<CRpyGraphDoc>(settings, prompts, wait);
    }
};

World& TheWorld() {
    static World w;
    return w;
}

// (file, bytes) the project reads: the scan reads the header of every
// replay, the tables of those on the chosen track and every database.
struct Cost {
    fs::path file;
    std::uint64_t bytes;
};

std::vector<Cost> Measure(bool wholeCollection) {
    std::vector<Cost> costs;
    for (int i = 0; i < kReplays; ++i) {
        const fs::path p = ReplayDir() / ("r" + std::to_string(1000 + i) + ".rpy");
        const std::uint64_t before = ReadCounter();
        Header h;
        const bool read = h.Read(p) == 0;
        if (read && (wholeCollection || h.trackName == "OVAL")) {
            Drivers d;
            if (d.Load(p) != vra::Drivers::LoadResult::Ok) scratch.Fail("replay " + p.string() + " does not load");
        }
        costs.push_back({p, ReadCounter() - before});
    }
    if (!wholeCollection)
        for (int d = 0; d < kDatabases; ++d) {
            const fs::path p = ReplayDir() / "VELMRRA_CDDB" / ("disc" + std::to_string(d) + ".rdb");
            costs.push_back({p, fs::file_size(p)});
        }
    return costs;
}

std::uint64_t Total(const std::vector<Cost>& costs) {
    std::uint64_t t = 0;
    for (const Cost& c : costs) t += c.bytes;
    return t;
}

const std::vector<Cost>& ScanCosts() {
    static const std::vector<Cost> c = Measure(false);
    return c;
}
const std::vector<Cost>& CreatorCosts() {
    static const std::vector<Cost> c = Measure(true);
    return c;
}

// Reads each file's cost from its start.
void RawRead(benchmark::State& state, const std::vector<Cost>& costs) {
    for (auto _ : state)
        for (const Cost& c : costs) benchmark::DoNotOptimize(bench::RawRead(c.file, 0, c.bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Total(costs)));
}

void RawReadScanBytes(benchmark::State& state) {
    RawRead(state, ScanCosts());
}
void RawReadCreatorBytes(benchmark::State& state) {
    RawRead(state, CreatorCosts());
}

void LapFinderScan(benchmark::State& state) {
    World& w = TheWorld();
    LapFinder finder(*w.doc, w.volumes, w.wait);
    finder.SetFilter(LapFinder::Filter::ShowAll);
    finder.OnTrackChosen("oval");
    // The work its name says: every replay and every database record read.
    if (finder.FolderFiles() != kReplays || finder.DatabaseReplays() != kDatabases * kRecords ||
        finder.RowCount() == 0 || w.prompts.shown != 0) {
        state.SkipWithError("the scan did not read the whole collection");
        return;
    }
    for (auto _ : state) {
        finder.OnTrackChosen("oval");
        benchmark::DoNotOptimize(finder.RowCount());
    }
    state.counters["rows"] = finder.RowCount();
}

void CreatorOverReplays(benchmark::State& state) {
    World& w = TheWorld();
    ReplayCDDatabaseCreator creator(scratch.Folder() / "creator-sim", w.volumes, w.prompts);
    creator.ScanDrives();
    ReplayCDDatabaseCreator::Hooks hooks;
    hooks.askName = [](const std::string&) { return std::optional<std::string>("bench"); };
    std::uint64_t size = 0;
    for (auto _ : state) {
        const int before = w.prompts.shown;
        const auto path = creator.OnCreateDatabase(0, hooks);
        // Summary only (and the overwrite question after the first run).
        if (!path || w.prompts.shown - before > 2) {
            state.SkipWithError("the creator did not write every replay");
            return;
        }
        size = fs::file_size(*path);
    }
    state.counters["database_bytes"] = static_cast<double>(size);
}

BENCHMARK(RawReadScanBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(LapFinderScan)->Unit(benchmark::kMillisecond);
BENCHMARK(RawReadCreatorBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(CreatorOverReplays)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Build();
    std::uint64_t smallest = ~0ull, largest = 0;
    for (int i = 0; i < kReplays; ++i) {
        const auto s = fs::file_size(ReplayDir() / ("r" + std::to_string(1000 + i) + ".rpy"));
        smallest = std::min<std::uint64_t>(smallest, s);
        largest = std::max<std::uint64_t>(largest, s);
    }
    std::printf("%d replays of %.2f to %.2f MB, %d databases of %d records; warm cache\n", kReplays, smallest / 1e6,
                largest / 1e6, kDatabases, kRecords);
    std::printf("bytes read: scan %.1f MB, creator %.1f MB\n", Total(ScanCosts()) / 1e6, Total(CreatorCosts()) / 1e6);
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    bench::PrintRatios(reporter, {{"lap finder: scan of the collection, warm", "LapFinderScan", "RawReadScanBytes",
                                   "raw read of the bytes it reads, warm", 3.0},
                                  {"database creator: 500 replays, warm", "CreatorOverReplays", "RawReadCreatorBytes",
                                   "raw read of the bytes it reads, warm", 3.0}});
    benchmark::Shutdown();
    scratch.Remove();
    return 0;
}
