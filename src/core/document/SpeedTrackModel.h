#pragma once
// What the speed comparison overlay shows, without the widgets: each lap's
// speed in distance bins, their difference, the lap lists by role, the
// legend texts and the coloured band built over the track.

#include "core/track/SpdTrkVisitor.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vra {

class CRpyGraphDoc;
class GetRpyInfo;

inline constexpr std::string_view kTwoLapsNeededText = "At least two laps must be loaded to use this feature.";

// A lap's mean speed per bin of binWidth metres along its distance (km/h,
// or mph when asked). Samples 1 to 9 count with the speed of sample 10,
// which is clean of the start's noise; a bin closes when a sample lies
// beyond its end, at most one per sample, so a jump leaves later bins to
// later samples. 5 samples or fewer give one bin of 0.
std::vector<double> SpeedByDistance(const GetRpyInfo& lap, double binWidth, bool mph);
// first minus second over the bins both have; a difference that is not a
// number or beyond 500 either way is 0.
std::vector<double> DifferenceBins(std::span<const double> first, std::span<const double> second);

struct SpeedLegend {
    std::string minimum, halfMinimum, halfMaximum, maximum;
};
// One decimal, M the larger end of the scale: -M, -M/2, M/2, M; manual
// ranges mark their ends "<" and ">" (beyond them the band is simply full).
SpeedLegend LegendTexts(double scaleMin, double scaleMax, bool manual);

// "J Smith 1m05.007s": the first name's initial, the last name and the lap
// time of the slot's lap.
std::string SpeedTrackLapText(const CRpyGraphDoc& document, int slot);

class SpeedTrackModel {
public:
    enum Role { None = 0, First = 1, Second = 2 };
    struct Item {
        int slot = 0;
        std::string text;
    };
    struct List {
        std::vector<Item> items;
        int selected = -1;  // index into items
    };

    explicit SpeedTrackModel(const CRpyGraphDoc& document);

    // The slot becomes the lap of role; the slot that had the role has none.
    void Choose(Role role, int slot);
    Role RoleOf(int slot) const { return roles_.at(std::size_t(slot)); }
    // A list holds every lap without a role and the one of its own role,
    // selected.
    List Items(Role role) const;

    // Speeds in miles per hour (else kilometres per hour).
    bool Mph() const;
    // The band over the track for the two chosen laps; null until both are
    // chosen, or without a track.
    std::unique_ptr<SpdTrkVisitor> Recompute(bool manual, std::int32_t range);
    const std::vector<double>& Differences() const { return differences_; }

private:
    const CRpyGraphDoc& document_;
    std::array<Role, 5> roles_{};
    std::vector<double> differences_;
};

}  // namespace vra
