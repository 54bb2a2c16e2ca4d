#pragma once
// What the traction circle draws: the stretch of track chosen on its slider,
// each lap's accelerations over that stretch as points around the plot's
// centre, the time the lap took over it, and the plot's scale, cross and
// circles of 1, 2 and 3 g.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vra {

class CRpyGraphDoc;
class GetRpyInfo;

struct PlotPoint {
    int x = 0, y = 0;
    friend bool operator==(const PlotPoint&, const PlotPoint&) = default;
};

// The range in whole metres that the slider's selection stands for: the
// selection itself, or without one (end -1) the metre before the thumb, or
// the first metre when the thumb stands at 0.
struct TrackRange {
    int start = 0, end = 0;
    friend bool operator==(const TrackRange&, const TrackRange&) = default;
};
TrackRange RangeFromSlider(int selectionStart, int selectionEnd, int position);

// The slider's maximum: the track's length in whole metres; without a track
// the longest lap's distance at its last sample but one.
int SliderLength(const CRpyGraphDoc& doc);

struct PlotGeometry {
    double scale = 0;  // pixels per g
    PlotPoint centre;
};
PlotGeometry PlotGeometryFor(int width, int height);

// A circle of radius g as 361 points, one per degree from 0 to 360.
std::vector<PlotPoint> CirclePoints(const PlotGeometry& plot, int g);

// The channels of one lap the plot reads, indexed by sample.
struct TractionLap {
    int count = 0;
    std::span<const double> distance;         // metres
    std::span<const std::uint32_t> raw;       // 2000 units per metre
    std::span<const double> carLat, carLong;  // g
    std::span<const double> travelLat, travelLong;
    std::int64_t firstStep = 0, lastStep = 0;  // raw units over the first and last intervals
};
TractionLap TractionLapOf(const GetRpyInfo& info);

struct LapTrace {
    int first = 0, last = 0;        // the samples where the range begins and ends
    std::vector<PlotPoint> points;  // empty for a lap too short to draw
    std::optional<double> seconds;  // the time over the range
};

// The lap over [start, end] metres; rangeMax is the slider's maximum (a range
// that ends there is timed to the lap's end).
LapTrace TraceLap(const TractionLap& lap, int start, int end, int rangeMax, bool carFrame, const PlotGeometry& plot);

// Seconds truncated to hundredths: 12.345 gives "12.34", -0.05 "-0.05".
std::string RangeTimeText(double seconds);

}  // namespace vra
