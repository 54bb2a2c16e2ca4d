#pragma once
// The groove file: where one lap ran across the track every few metres and
// how hard it worked the surface there, as a text table for other programs.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vra {

// A number as the groove file has always written it: 10 significant digits,
// fixed for magnitudes from 0.1 to below 1e10, else "d.ddde+NNN"; trailing
// fraction zeros dropped, the point kept, a bare point followed by "0"
// ("3.0", "5.e-002"). Values that are not finite are written "0.0": the
// readers of the file parse plain numbers only.
std::string FormatG10(double value);

struct GrooveSettings {
    int resolutionIndex = 4;        // step = (index + 1) x 0.1 m
    int accelerationPercent = 100;  // 0..999
    int rollPercent = 100;          // 0..999
    std::string widthText = "3.0";  // written as typed
};

// The channels of one lap, sample by sample (all of the same length).
struct GrooveLap {
    std::span<const double> distance;  // metres along the track
    std::span<const double> lateral;   // lateral offset
    std::span<const double> speed;     // km/h
    std::span<const std::int32_t> roll;
};

// Groove value per sample in 0..1 from the speed change and the roll; only
// samples 2 .. count - 3 get one, the others stay 0.
std::vector<double> GrooveValues(const GrooveLap& lap, double accelerationFactor, double rollFactor);

// The whole file text, lines ended by CR LF: the count line, then one entry
// per step along the track while the distance is below trackLength.
std::string GrooveFileText(const GrooveLap& lap, double trackLength, const GrooveSettings& settings);

}  // namespace vra
