#include "AddLapFolder.h"

#include "core/base/FileUtil.h"

#include "simkit/track/TrackFolderWriter.h"
#include "simkit/track/TrackLayout.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace vra::fuzz {

namespace {

// A short oval keeps replays of several laps small and every run quick.
simkit::TrackLayout Layout() {
    return simkit::TrackLayout::Oval(100.0, 30.0);
}

constexpr std::uint32_t kLapMs = 5000;

bool Put(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

std::vector<std::uint8_t> Read(const std::filesystem::path& file) {
    return ReadWholeFile(file, 1u << 24).value_or(std::vector<std::uint8_t>{});
}

}  // namespace

simkit::ReplayBuilder AddLapFolder::RaceOn(const std::string& trackName, int cars, int laps) {
    simkit::ReplayBuilder b;
    b.drivers(cars).trackLength(Layout().TotalLength()).session(3, laps, kLapMs, 1500);
    b.desc.sessions.back().tailMs = 1500;
    b.desc.settings.trackName = trackName;
    return b;
}

std::vector<std::uint8_t> AddLapFolder::GoodTrackStream() {
    return Layout().PtfImage();
}

AddLapFolder::AddLapFolder() {
    // A file is written for every input: memory-backed storage keeps that cheap.
    std::error_code ec;
    const std::filesystem::path base = !std::getenv("TMPDIR") && std::filesystem::is_directory("/dev/shm", ec)
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    root_ = base / ("vra-fuzz-addlap-" + std::to_string(::getpid()));
    const auto tracks = root_ / "tracks";
    std::filesystem::create_directories(root_ / "replay");
    std::filesystem::create_directories(tracks);
    bool ok = Put(root_ / "VELMAR.exe", std::vector<std::uint8_t>{'e', 'x', 'e'});
    ok = ok && !simkit::WriteTrackFolder(tracks, "oval", Layout()).empty();
    simkit::TrackFolderOptions loose;
    loose.loosePtf = true;
    ok = ok && !simkit::WriteTrackFolder(tracks, "fuzz", Layout(), loose).empty();
    inputReplay_ = root_ / "replay" / "input.rpy";
    trackReplay_ = root_ / "replay" / "fuzz.rpy";
    trackStream_ = tracks / "fuzz" / "fuzz.ptf";
    trackIni_ = tracks / "fuzz" / "track.ini";
    ok = ok && Put(trackReplay_, GoodReplay("FUZZ"));
    goodStream_ = Read(trackStream_);
    goodIni_ = Read(trackIni_);
    if (!ok || goodStream_.empty() || goodIni_.empty()) {
        std::fprintf(stderr, "add_lap: cannot build the simulation folder in %s\n", root_.c_str());
        std::abort();
    }
}

const AddLapFolder& AddLapFolder::Instance() {
    static const AddLapFolder folder;
    // Registered once the folder exists, so it runs before it is destroyed.
    static const bool cleanup = std::atexit([] {
                                    std::error_code ec;
                                    std::filesystem::remove_all(Instance().Root(), ec);
                                }) == 0;
    (void)cleanup;
    return folder;
}

std::filesystem::path AddLapFolder::Place(std::uint8_t kind, std::span<const std::uint8_t> bytes) const {
    switch (AddLapInputOf(kind)) {
        case AddLapInput::Replay:
            return Put(inputReplay_, bytes) ? inputReplay_ : std::filesystem::path();
        case AddLapInput::Track:
            return Put(trackStream_, bytes) && Put(trackIni_, goodIni_) ? trackReplay_ : std::filesystem::path();
        case AddLapInput::TrackIni:
            return Put(trackStream_, goodStream_) && Put(trackIni_, bytes) ? trackReplay_ : std::filesystem::path();
    }
    return {};
}

std::vector<std::uint8_t> AddLapSeed(AddLapInput kind, std::span<const std::uint8_t> file) {
    std::vector<std::uint8_t> seed(file.size() + 1);
    seed[0] = static_cast<std::uint8_t>(kind);
    std::copy(file.begin(), file.end(), seed.begin() + 1);
    return seed;
}

}  // namespace vra::fuzz
