#pragma once
// The gear changes of one lap: each change with its place, revs and the
// drop of revs and speed across it, and the sums of a lap: neutral time
// while shifting up and down, averages per upshift target gear and how many
// upshifts kept the revs up (speed shifts).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vra {

class GetRpyInfo;

// The channels the analysis reads, indexed by sample from 0 to count - 1.
struct GearLapSamples {
    int count = 0;
    std::span<const std::int16_t> gear;  // 0 = neutral
    std::span<const double> revs;        // revolutions per minute
    std::span<const double> speed;       // km/h
    std::span<const double> distance;    // metres
};

// The channels of a loaded lap; a count that its arrays cannot hold is cut
// to what they hold.
GearLapSamples GearSamplesOf(const GetRpyInfo& lap);

struct GearShiftTable {
    static constexpr int kFirstTargetGear = 2;
    static constexpr int kTargetGears = 5;  // 2 to 6

    // Columns "Gearchange", "Meter ", "Revs ", "Revs-", "Speed-", "Time".
    std::vector<std::array<std::string, 6>> rows;
    std::string changeCount;
    std::string neutralUp, neutralDown;  // lap-time texts
    std::string speedShifts;
    // Per target gear 2..6: average revs, revs dropped, speed dropped; empty
    // for a gear that no upshift reached.
    std::array<std::optional<std::array<std::string, 3>>, kTargetGears> averages;
};

GearShiftTable AnalyseGearChanges(const GearLapSamples& lap);

// A neutral run's length in ms as seconds with three decimals, without a
// leading zero under one second: 361 gives ".361", 1111 "1.111".
std::string NeutralTimeText(std::int64_t ms);

}  // namespace vra
