#include "core/graphs/TractionCircleData.h"

#include "core/document/CRpyGraphDoc.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vra {

namespace {

constexpr double kRawPerMetre = 2000.0;
constexpr double kSamplesPerSecond = 36.0;
// The first samples of a lap hold the run-up to the line.
constexpr int kFirstTraceSample = 12;

int Trunc(double v) {
    return static_cast<int>(std::trunc(v));
}

}  // namespace

TrackRange RangeFromSlider(int selectionStart, int selectionEnd, int position) {
    if (selectionEnd != -1) return {selectionStart, selectionEnd};
    if (position - 1 == -1) return {position, position + 1};
    return {position - 1, position};
}

int SliderLength(const CRpyGraphDoc& doc) {
    if (doc.TrackLoaded() && doc.GetTrackPath()) return Trunc(doc.GetTrackPath()->Length());
    double longest = 0;
    for (int slot = 0; slot < doc.SlotMaximum(); ++slot) {
        if (!doc.IsSlotUsed(slot) || !doc.Slot(slot).info) continue;
        const GetRpyInfo& info = *doc.Slot(slot).info;
        const int k = info.sampleCount - 2;
        if (k >= 0 && std::size_t(k) < info.distanceM.size())
            longest = std::max(longest, info.distanceM[std::size_t(k)]);
    }
    return Trunc(longest);
}

PlotGeometry PlotGeometryFor(int width, int height) {
    return {std::min(width, height) / 7.0, {width / 2, height / 2}};
}

std::vector<PlotPoint> CirclePoints(const PlotGeometry& plot, int g) {
    const int r = Trunc(g * plot.scale);
    std::vector<PlotPoint> points;
    points.reserve(361);
    for (int a = 0; a <= 360; ++a) {
        const double rad = a * std::numbers::pi / 180.0;
        points.push_back({plot.centre.x + Trunc(r * std::cos(rad)), plot.centre.y + Trunc(r * std::sin(rad))});
    }
    return points;
}

TractionLap TractionLapOf(const GetRpyInfo& info) {
    std::size_t n = std::size_t(std::max(info.sampleCount, 0));
    n = std::min({n, info.distanceM.size(), info.distance.size(), info.accelCarLat.size(), info.accelCarLong.size(),
                  info.accelTravelLat.size(), info.accelTravelLong.size()});
    TractionLap lap;
    lap.count = int(n);
    lap.distance = std::span<const double>(info.distanceM).first(n);
    lap.raw = std::span<const std::uint32_t>(info.distance).first(n);
    lap.carLat = std::span<const double>(info.accelCarLat).first(n);
    lap.carLong = std::span<const double>(info.accelCarLong).first(n);
    lap.travelLat = std::span<const double>(info.accelTravelLat).first(n);
    lap.travelLong = std::span<const double>(info.accelTravelLong).first(n);
    lap.firstStep = info.distanceStepStart;
    lap.lastStep = info.distanceStepEnd;
    return lap;
}

LapTrace TraceLap(const TractionLap& lap, int start, int end, int rangeMax, bool carFrame, const PlotGeometry& plot) {
    LapTrace trace;
    const int n = lap.count;
    // Samples 2 to n - 2 lie on the lap; the last one has crossed the line
    // again and counts from 0.
    if (n < 4) return trace;
    const int last = n - 2;
    auto d = [&](int i) { return lap.distance[std::size_t(i)]; };
    auto raw = [&](int i) { return double(lap.raw[std::size_t(i)]); };

    int f = 2;
    if (start > 0) {
        while (f < last && d(f) < start) ++f;
    }
    int i = std::min(std::max(f, kFirstTraceSample), last);
    // A lap whose last sample on the lap comes before sample 12 has nothing
    // to draw: the samples before it hold the run-up, the one after it has
    // crossed the line.
    const bool drawn = last >= kFirstTraceSample;
    const auto& lat = carFrame ? lap.carLat : lap.travelLat;
    const auto& lon = carFrame ? lap.carLong : lap.travelLong;
    auto point = [&](int k) {
        return PlotPoint{plot.centre.x + Trunc(lat[std::size_t(k)] * plot.scale),
                         plot.centre.y + Trunc(lon[std::size_t(k)] * plot.scale)};
    };
    if (drawn) trace.points.push_back(point(i));
    while (d(i) < end && i < last) {
        ++i;
        if (drawn) trace.points.push_back(point(i));
    }
    const int e = i;
    trace.first = f;
    trace.last = e;

    // Sample 2's step backwards crosses the line: the lap's own first step
    // stands in for it.
    const double df = f == 2 ? double(lap.firstStep) : raw(f) - raw(f - 1);
    const bool toEnd = end == rangeMax;
    const int e2 = toEnd ? last : e;
    const double de = toEnd ? double(lap.lastStep) : raw(e2) - raw(e2 - 1);
    double t = (e2 - f) / kSamplesPerSecond;
    // A step that does not move forwards cannot tell where between two
    // samples the range's edge lies: that edge is taken at the sample.
    if (df > 0) t += (raw(f) - kRawPerMetre * start) / kSamplesPerSecond / df;
    if (de > 0) t -= (raw(e2) - kRawPerMetre * end) / kSamplesPerSecond / de;
    trace.seconds = t;
    return trace;
}

std::string RangeTimeText(double seconds) {
    const auto h = static_cast<std::int64_t>(std::trunc(seconds * 100.0));
    const std::int64_t a = h < 0 ? -h : h;
    return fmt::format("{}{}.{:02}", h < 0 ? "-" : "", a / 100, a % 100);
}

}  // namespace vra
