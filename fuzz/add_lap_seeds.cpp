// Writes the seeds of the add-lap fuzz target:
//   add_lap_seeds <corpus folder>           the committed seeds: good and damaged
//                                           replays, track streams and track.ini texts
//   add_lap_seeds --large <folder>          one replay longer than the replay
//                                           reader's block, written at fuzzing time
#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/PtfBuilder.h"
#include "simkit/track/TrackLayout.h"

#include "AddLapFolder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using vra::fuzz::AddLapFolder;
using vra::fuzz::AddLapInput;
using vra::fuzz::AddLapSeed;
using Bytes = std::vector<std::uint8_t>;

namespace {

bool ok = true;

void Put(const fs::path& file, const Bytes& bytes) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    if (!out || std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        ok = false;
    }
}

Bytes Text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

// The short oval's stream with one value of one segment changed.
Bytes DamagedStream(const std::function<void(vra::simkit::SegmentDesc&)>& damage, std::size_t segment) {
    auto track = vra::simkit::TrackLayout::Oval(100.0, 30.0).Describe();
    damage(*track.object->segments.at(segment).object);
    return vra::simkit::PtfBuilder::Build(track);
}

void CommittedSeeds(const fs::path& dir) {
    Put(dir / "replay.bin", AddLapSeed(AddLapInput::Replay, AddLapFolder::GoodReplay("OVAL")));
    {
        // A car that never shows in the frames: its laps have no lines.
        auto b = AddLapFolder::RaceOn("OVAL", 3, 2);
        b.desc.sessions.back().cars[1].onTrack = false;
        Put(dir / "replay-absent-car.bin", AddLapSeed(AddLapInput::Replay, b.build()));
    }
    {
        // Fifty drivers: the table is refused before the frames are read.
        vra::simkit::ReplayBuilder b;
        b.drivers(50).trackLength(400.0).session(3, 1, 5000, 1500);
        b.desc.settings.trackName = "OVAL";
        Bytes bytes = b.build();
        bytes.resize(static_cast<std::size_t>(b.layout().frameChunk + 64));
        Put(dir / "replay-fifty-drivers.bin", AddLapSeed(AddLapInput::Replay, bytes));
    }
    Put(dir / "track.bin", AddLapSeed(AddLapInput::Track, AddLapFolder::GoodTrackStream()));
    Put(dir / "track-far-away.bin", AddLapSeed(AddLapInput::Track, DamagedStream([](auto& s) { s.endX = 1e24; }, 1)));
    Put(dir / "track-infinite.bin",
        AddLapSeed(AddLapInput::Track,
                   DamagedStream([](auto& s) { s.startY = std::numeric_limits<double>::infinity(); }, 2)));
    Put(dir / "track-heading.bin",
        AddLapSeed(AddLapInput::Track, DamagedStream([](auto& s) { s.endHeading = 1e278; }, 1)));
    for (const auto& [name, text] : {std::pair{"ini.bin", "track_length = 0.388 km\r\n"},
                                     {"ini-huge.bin", "track_length = 1e308 mi\r\n"},
                                     {"ini-nan.bin", "track_length = nan km\r\n"}})
        Put(dir / name, AddLapSeed(AddLapInput::TrackIni, Text(text)));
}

// Long enough that the frame stream crosses the replay reader's 1 MiB block.
void LargeSeed(const fs::path& dir) {
    Put(dir / "replay-large.bin", AddLapSeed(AddLapInput::Replay, AddLapFolder::GoodReplay("OVAL", 8, 30)));
}

}  // namespace

int main(int argc, char** argv) {
    const bool large = argc == 3 && std::strcmp(argv[1], "--large") == 0;
    if (argc != 2 && !large) {
        std::fprintf(stderr, "usage: add_lap_seeds <corpus folder>\n       add_lap_seeds --large <folder>\n");
        return 2;
    }
    const fs::path dir = argv[argc - 1];
    fs::create_directories(dir);
    if (large)
        LargeSeed(dir);
    else
        CommittedSeeds(dir);
    return ok ? 0 : 1;
}
