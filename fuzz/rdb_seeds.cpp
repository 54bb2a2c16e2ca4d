// Writes the seed corpus of the replay_database fuzz target: databases of
// both versions from the test kit, one made by the creator from built
// replays, and pairs of them (two bytes of length, then the two images).
#include "core/laps/ReplayCDDatabaseCreator.h"
#include "core/platform/Prompts.h"
#include "core/platform/Volumes.h"

#include "simkit/replay/DatabaseWriter.h"
#include "simkit/replay/ReplayBuilder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace vra;

namespace {

class QuietPrompts : public Prompts {
public:
    Button message(std::string_view, std::string_view, Icon, Buttons) override { return Button::Yes; }
    std::optional<std::filesystem::path> openFile(const OpenFileRequest&) override { return std::nullopt; }
    std::optional<LapChoice> chooseLap(const LapChoiceRequest&) override { return std::nullopt; }
    SettingsDialogResult editSettings(const SettingsDialogRequest&) override { return {}; }
};

class OneDisc : public Volumes {
public:
    explicit OneDisc(std::filesystem::path root) : root_(std::move(root)) {}
    std::vector<Volume> List() override {
        Volume v;
        v.root = root_;
        v.device = "/dev/sr0";
        v.name = "SEEDS";
        v.fileSystem = "iso9660";
        v.ready = true;
        return {v};
    }

private:
    std::filesystem::path root_;
};

bool Save(const std::filesystem::path& path, const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    std::vector<std::uint8_t> out{static_cast<std::uint8_t>(a.size() & 0xFF), static_cast<std::uint8_t>(a.size() >> 8)};
    out.insert(out.end(), a.begin(), a.end());
    out.insert(out.end(), b.begin(), b.end());
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: rdb_seeds <folder>\n");
        return 2;
    }
    const std::filesystem::path out(argv[1]);
    std::filesystem::create_directories(out);

    simkit::DbDesc v1;
    v1.version = 1;
    v1.label = "OLD [CDFS]";
    v1.records = {simkit::SimpleDbRecord("a.rpy", "OVAL", 3, 2, 40000),
                  simkit::SimpleDbRecord("sub\\b.rpy", "RING", 2, 1, 50000)};
    simkit::DbDesc v2 = v1;
    v2.version = 2;
    v2.label = "NEW [udf]";
    v2.records[0].drivers[0].laps[0] = {{1000, 0}, {61000, 1}};
    v2.records[0].sessionPresent = {1, 0, 0, 1};
    const auto b1 = simkit::BuildDatabase(v1);
    const auto b2 = simkit::BuildDatabase(v2);

    // A database made by the creator from two small built replays.
    const auto work = std::filesystem::temp_directory_path() / "vra-rdb-seeds";
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work / "disc" / "sub");
    std::filesystem::create_directories(work / "sim" / "replay");
    for (int i = 0; i < 2; ++i) {
        simkit::ReplayBuilder b;
        b.drivers(2 + i).session(3, 2, 30000).trackLength(1000);
        b.desc.settings.trackName = "OVAL";
        b.writeFile(work / "disc" / (i ? "sub/r.rpy" : "r.rpy"));
    }
    QuietPrompts prompts;
    OneDisc disc(work / "disc");
    ReplayCDDatabaseCreator creator(work / "sim", disc, prompts);
    creator.ScanDrives();
    ReplayCDDatabaseCreator::Hooks hooks;
    hooks.askName = [](const std::string&) { return std::optional<std::string>("made"); };
    std::vector<std::uint8_t> made;
    if (auto path = creator.OnCreateDatabase(0, hooks)) {
        std::ifstream in(*path, std::ios::binary);
        made.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::remove_all(work);
    if (made.empty()) {
        std::fprintf(stderr, "rdb_seeds: the creator wrote nothing\n");
        return 1;
    }

    bool ok = Save(out / "v1.bin", b1, {}) && Save(out / "v2.bin", b2, {}) && Save(out / "made.bin", made, {}) &&
              Save(out / "v1-v2.bin", b1, b2) && Save(out / "made-v1.bin", made, b1);
    auto cut = b2;
    cut.resize(cut.size() - 7);
    ok = ok && Save(out / "cut-v2.bin", cut, b1);
    return ok ? 0 : 1;
}
