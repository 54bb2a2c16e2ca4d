#pragma once
// The simulation folder of the add-lap fuzz target, built once per process
// in memory-backed storage, and the files its seeds are made of.
//
// An input is one byte that says which file it is, then that file:
//   replay     the replay the laps are added from (on the folder's good track);
//   track      the loose object stream of the track of a good replay;
//   track.ini  the track.ini beside that stream.

#include "simkit/replay/ReplayBuilder.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vra::fuzz {

enum class AddLapInput : std::uint8_t { Replay = 0, Track = 1, TrackIni = 2 };

// The input kind a leading byte picks: every byte picks one.
inline AddLapInput AddLapInputOf(std::uint8_t b) {
    return static_cast<AddLapInput>(b % 3);
}

class AddLapFolder {
public:
    static const AddLapFolder& Instance();

    const std::filesystem::path& Root() const { return root_; }
    // Puts bytes where their kind belongs (the other files as built) and
    // returns the replay to add laps from; empty when a write failed.
    std::filesystem::path Place(std::uint8_t kind, std::span<const std::uint8_t> bytes) const;

    // The files as built, for the seeds: a race of the given laps on the
    // folder's track, under the given name.
    static simkit::ReplayBuilder RaceOn(const std::string& trackName, int cars = 3, int laps = 3);
    static std::vector<std::uint8_t> GoodReplay(const std::string& trackName, int cars = 3, int laps = 3) {
        return RaceOn(trackName, cars, laps).build();
    }
    static std::vector<std::uint8_t> GoodTrackStream();

private:
    AddLapFolder();
    std::filesystem::path root_;
    std::filesystem::path inputReplay_, trackReplay_, trackStream_, trackIni_;
    std::vector<std::uint8_t> goodStream_, goodIni_;
};

// A seed: the kind byte followed by the file.
std::vector<std::uint8_t> AddLapSeed(AddLapInput kind, std::span<const std::uint8_t> file);

}  // namespace vra::fuzz
