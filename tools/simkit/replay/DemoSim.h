#pragma once
// The demo simulation folder that tools/mksim writes: one track, a practice,
// a qualifying and a race replay of a few cars.

#include <filesystem>
#include <string_view>

namespace vra::simkit {

inline constexpr std::string_view kDemoTrackName = "DEMO";    // as in the replays
inline constexpr std::string_view kDemoTrackFolder = "demo";  // folder under tracks/
inline constexpr double kDemoTrackLength = 2500.0;            // metres
inline constexpr std::string_view kDemoExecutable = "VELMAR.exe";

// Writes replay/ with the three demo replays under folder; false on any
// write failure.
bool WriteDemoReplays(const std::filesystem::path& folder);
// Writes the executable marker, core.ini and the replays.
bool WriteDemoSim(const std::filesystem::path& folder);
// Writes small replays (good and damaged) as seeds for the replay reader's
// fuzz target.
bool WriteReplayFuzzSeeds(const std::filesystem::path& dir);
// Writes one replay whose frame stream crosses the readers' 1 MiB block, a
// seed too large to keep with the others: it is written when fuzzing starts.
bool WriteLargeReplayFuzzSeed(const std::filesystem::path& dir);

}  // namespace vra::simkit
