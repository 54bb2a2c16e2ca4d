#pragma once
// The texts shown after a lap is extracted: how much of the lap the replay
// really recorded, and whether the lap time stored in the replay agrees with
// the time the lap's distances give.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vra {

struct LapQuality {
    std::int64_t samples = 0;       // samples of the lap
    std::int64_t missing = 0;       // samples without the car's record
    std::int64_t longestGap = 0;    // longest run of such samples
    std::int64_t found = 0;         // samples with the car's record
    std::uint32_t storedLapMs = 0;  // lap time the replay stores
};

// The data quality message, ending with how to turn it off.
std::string LapQualityReportText(const LapQuality& quality);

struct LapTimeCheckInput {
    std::span<const std::uint32_t> rawDistance;  // per sample, 0.0005 m units
    std::int64_t stepAtStart = 0;                // raw distance per frame at the start
    std::int64_t stepAtEnd = 0;                  // and at the end of the lap
    std::int64_t samples = 0;                    // trimmed sample count
    double trackLengthMetres = 0.0;
    std::uint32_t storedLapMs = 0;
    // Whether the lap may be compared with its stored time at all.
    bool comparable = false;
};

// The lap time the distances give, in milliseconds, or nullopt when the
// values cannot give one (no distance step, too few samples).
std::optional<std::int64_t> CalculatedLapTimeMs(const LapTimeCheckInput& input);

// The message of the lap-time check, or nullopt when nothing is wrong or the
// check cannot be made.
std::optional<std::string> LapTimeCheckMessage(const LapTimeCheckInput& input);

}  // namespace vra
