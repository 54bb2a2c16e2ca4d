#include "core/document/SpeedTrackModel.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

constexpr double kMphPerKph = 0.621;
constexpr double kLargestDifference = 500.0;
// The first samples of a lap carry the start's noise; they take the speed
// of this one.
constexpr int kFirstCleanSample = 10;

}  // namespace

std::vector<double> SpeedByDistance(const GetRpyInfo& lap, double binWidth, bool mph) {
    // Every per-sample array holds samples 1..count; a shorter one limits
    // how far the walk may go.
    const std::size_t arrays = std::min(lap.speed.size(), lap.distanceM.size());
    const int count = static_cast<int>(std::min<long long>(lap.sampleCount, static_cast<long long>(arrays) - 1));
    if (count <= 5 || !(binWidth > 0.0) || !std::isfinite(binWidth)) return {0.0};
    const double factor = mph ? kMphPerKph : 1.0;
    const double early = lap.speed[std::size_t(std::min(kFirstCleanSample, count))];
    std::vector<double> bins;
    double end = binWidth;
    double sum = 0.0;
    int n = 0;
    auto close = [&] {
        bins.push_back(n > 0 ? sum / n : 0.0);
        sum = 0.0;
        n = 0;
        end += binWidth;
    };
    for (int i = 1; i <= count - 5; ++i) {
        if (lap.distanceM[std::size_t(i)] > end) close();
        sum += (i < kFirstCleanSample ? early : lap.speed[std::size_t(i)]) * factor;
        ++n;
    }
    close();
    return bins;
}

std::vector<double> DifferenceBins(std::span<const double> first, std::span<const double> second) {
    std::vector<double> out(std::min(first.size(), second.size()));
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double d = first[i] - second[i];
        out[i] = d >= -kLargestDifference && d <= kLargestDifference ? d : 0.0;
    }
    return out;
}

SpeedLegend LegendTexts(double scaleMin, double scaleMax, bool manual) {
    const double m = std::max(std::fabs(scaleMin), std::fabs(scaleMax));
    SpeedLegend l;
    l.minimum = (manual ? "<" : "") + fmt::format("{:.1f}", -m);
    l.halfMinimum = fmt::format("{:.1f}", -m / 2);
    l.halfMaximum = fmt::format("{:.1f}", m / 2);
    l.maximum = (manual ? ">" : "") + fmt::format("{:.1f}", m);
    return l;
}

std::string SpeedTrackLapText(const CRpyGraphDoc& document, int slot) {
    if (!document.IsSlotUsed(slot)) return {};
    const LapSlot& lap = document.Slot(slot);
    if (!lap.drivers || lap.driver < 0 || std::size_t(lap.driver) >= lap.drivers->drivers.size()) return {};
    const auto& d = lap.drivers->drivers[std::size_t(lap.driver)];
    const std::uint32_t ms = lap.drivers->LapWordAt(lap.session, lap.driver, lap.lap) & 0x0FFFFFFFu;
    return d.firstName.substr(0, 1) + " " + d.lastName + " " +
           fmt::format("{}m{:02}.{:03}s", ms / 60000, ms / 1000 % 60, ms % 1000);
}

SpeedTrackModel::SpeedTrackModel(const CRpyGraphDoc& document) : document_(document) {}

void SpeedTrackModel::Choose(Role role, int slot) {
    for (Role& r : roles_)
        if (r == role) r = None;
    if (slot >= 0 && slot < int(roles_.size())) roles_[std::size_t(slot)] = role;
}

SpeedTrackModel::List SpeedTrackModel::Items(Role role) const {
    List list;
    for (int slot = 0; slot < int(roles_.size()); ++slot) {
        if (!document_.IsSlotUsed(slot)) continue;
        const Role r = roles_[std::size_t(slot)];
        if (r != None && r != role) continue;
        if (r == role) list.selected = int(list.items.size());
        list.items.push_back({slot, SpeedTrackLapText(document_, slot)});
    }
    return list;
}

bool SpeedTrackModel::Mph() const {
    return document_.SpeedUnit() == 1;
}

std::unique_ptr<SpdTrkVisitor> SpeedTrackModel::Recompute(bool manual, std::int32_t range) {
    int first = -1, second = -1;
    for (int slot = 0; slot < int(roles_.size()); ++slot) {
        if (!document_.IsSlotUsed(slot)) continue;
        if (roles_[std::size_t(slot)] == First) first = slot;
        if (roles_[std::size_t(slot)] == Second) second = slot;
    }
    const TrackPath* path = document_.GetTrackPath();
    if (first < 0 || second < 0 || !path || !document_.Slot(first).info || !document_.Slot(second).info) return nullptr;
    const double binWidth = path->Length() * 0.001;
    const auto a = SpeedByDistance(*document_.Slot(first).info, binWidth, Mph());
    const auto b = SpeedByDistance(*document_.Slot(second).info, binWidth, Mph());
    differences_ = DifferenceBins(a, b);
    auto visitor = std::make_unique<SpdTrkVisitor>(path->Length(), differences_, manual, range);
    path->VisitPieces(*visitor);
    return visitor;
}

}  // namespace vra
