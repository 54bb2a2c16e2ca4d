#include "core/graphs/GearShiftTable.h"

#include "core/replay/GetRpyInfo.h"
#include "core/text/LapTime.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

// 27.778 ms per sample, in integer arithmetic as the lap times are.
std::int64_t SamplesToMs(std::int64_t samples) {
    return samples * 27778 / 1000;
}

std::int64_t Trunc(double v) {
    return static_cast<std::int64_t>(std::trunc(v));
}

struct TargetSums {
    std::int64_t revs = 0, revsDrop = 0, speedDrop = 0, count = 0;
};

}  // namespace

GearLapSamples GearSamplesOf(const GetRpyInfo& lap) {
    std::size_t n = static_cast<std::size_t>(std::max(lap.sampleCount, 0));
    n = std::min({n, lap.gear.size(), lap.revolutions.size(), lap.speed.size(), lap.distanceM.size()});
    GearLapSamples s;
    s.count = static_cast<int>(n);
    s.gear = std::span<const std::int16_t>(lap.gear).first(n);
    s.revs = std::span<const double>(lap.revolutions).first(n);
    s.speed = std::span<const double>(lap.speed).first(n);
    s.distance = std::span<const double>(lap.distanceM).first(n);
    return s;
}

std::string NeutralTimeText(std::int64_t ms) {
    const std::int64_t seconds = ms / 1000, rest = ms % 1000;
    if (seconds == 0) return fmt::format(".{:03}", rest);
    return fmt::format("{}.{:03}", seconds, rest);
}

GearShiftTable AnalyseGearChanges(const GearLapSamples& lap) {
    const int n = std::min<int>(
        {lap.count, int(lap.gear.size()), int(lap.revs.size()), int(lap.speed.size()), int(lap.distance.size())});
    auto g = [&](int i) { return lap.gear[std::size_t(i)]; };
    auto r = [&](int i) { return lap.revs[std::size_t(i)]; };
    auto v = [&](int i) { return lap.speed[std::size_t(i)]; };

    GearShiftTable table;
    std::int64_t changes = 0, upshifts = 0, speedShifts = 0, neutralUp = 0, neutralDown = 0;
    std::array<TargetSums, GearShiftTable::kTargetGears> sums{};

    // Sample 0 holds the values before the lap and is never a gear.
    int i = 1;
    if (n >= 2 && g(1) == 0)
        while (i < n && g(i) == 0) ++i;
    while (i < n) {
        if (g(i) == 0) {
            const int a = i - 1;
            while (i < n && g(i) == 0) ++i;
            const int b = i;
            // A lap that ends in neutral has no gear to shift into.
            if (b >= n) break;
            table.rows.push_back({fmt::format("{}: {}->{}", changes + 1, g(a), g(b)),
                                  fmt::format("{}", Trunc(lap.distance[std::size_t(a)])),
                                  fmt::format("{}", Trunc(r(a))), fmt::format("{}", Trunc(r(b) - r(a))),
                                  fmt::format("{}", Trunc(v(b) + 0.5 - v(a))), NeutralTimeText(SamplesToMs(b - a))});
            // Equal gears count as an upshift: the driver came back to the
            // gear, the revs still tell whether it was clean.
            if (g(b) >= g(a)) {
                ++upshifts;
                neutralUp += b - a;
                const int target = g(b) - GearShiftTable::kFirstTargetGear;
                if (target >= 0 && target < GearShiftTable::kTargetGears) {
                    TargetSums& s = sums[std::size_t(target)];
                    s.revs = Trunc(double(s.revs) + r(a));
                    s.revsDrop = Trunc(double(s.revsDrop) + (r(a) - r(b)));
                    s.speedDrop += Trunc(v(a) + 0.5 - v(b));
                    ++s.count;
                }
                if (a + 2 < n && r(a) < r(a + 2) && r(b - 1) > r(a)) ++speedShifts;
            } else {
                neutralDown += b - a;
            }
            ++changes;
        }
        ++i;
    }

    table.changeCount = fmt::format("{}", changes);
    table.neutralUp = FormatLapTime(static_cast<std::uint32_t>(SamplesToMs(neutralUp)));
    table.neutralDown = FormatLapTime(static_cast<std::uint32_t>(SamplesToMs(neutralDown)));
    table.speedShifts = fmt::format("Out of {} upshifts, {} {}", upshifts, speedShifts,
                                    speedShifts < 2 ? "was a speedshift." : "were speedshifts.");
    for (std::size_t k = 0; k < sums.size(); ++k) {
        const TargetSums& s = sums[k];
        if (s.count == 0) continue;
        table.averages[k] =
            std::array<std::string, 3>{fmt::format("{}", s.revs / s.count), fmt::format("{}", s.revsDrop / s.count),
                                       fmt::format("{}", s.speedDrop / s.count)};
    }
    return table;
}

}  // namespace vra
