#include "core/export/GrooveFile.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vra {

namespace {

// Drops trailing zeros of the fraction, keeps the point; returns the new end.
char* TrimFraction(char* begin, char* end) {
    if (std::find(begin, end, '.') == end) return end;
    while (end > begin && end[-1] == '0') --end;
    return end;
}

}  // namespace

std::string FormatG10(double value) {
    if (!std::isfinite(value) || value == 0.0) return "0.0";
    // The value's own magnitude, before rounding, decides the form: 0.09999999999996
    // rounds to 0.1 yet stays "1.e-001", 9999999999.7 rounds to 1e10 yet stays
    // plain. Formatted into stack buffers: a groove file holds tens of
    // thousands of numbers.
    const double magnitude = std::fabs(value);
    const bool plain = magnitude >= 0.1 && magnitude < 1e10;
    char sci[40];
    char* const sciEnd = fmt::format_to_n(sci, sizeof sci, "{:.9e}", value).out;
    char* const e = std::find(sci, sciEnd, 'e');
    int exponent = 0;
    for (const char* c = e + 2; c < sciEnd; ++c) exponent = exponent * 10 + (*c - '0');
    if (e + 1 < sciEnd && e[1] == '-') exponent = -exponent;

    char out[40];
    char* end = out;
    if (plain) {
        // The fixed form with 9 - exponent decimals rounds at the same digit as
        // the scientific one, so it is those ten digits with the point moved
        // (a carry into an eleventh digit only adds a zero before the point).
        const char* m = sci;
        if (*m == '-') *end++ = *m++;
        char digits[10];
        digits[0] = m[0];
        std::copy(m + 2, m + 11, digits + 1);
        if (exponent < 0) {
            *end++ = '0';
            *end++ = '.';
            end = std::copy(digits, digits + 10, end);
        } else if (exponent >= 10) {
            end = std::copy(digits, digits + 10, end);
            end = std::fill_n(end, exponent - 9, '0');
            *end++ = '.';
        } else {
            end = std::copy(digits, digits + exponent + 1, end);
            *end++ = '.';
            end = std::copy(digits + exponent + 1, digits + 10, end);
        }
        end = TrimFraction(out, end);
    } else {
        end = TrimFraction(out, std::copy(sci, e, out));
        end = fmt::format_to_n(end, 8, "e{}{:03d}", exponent < 0 ? '-' : '+', std::abs(exponent)).out;
    }
    if (end[-1] == '.') *end++ = '0';
    return std::string(out, end);
}

std::vector<double> GrooveValues(const GrooveLap& lap, double accelerationFactor, double rollFactor) {
    const std::size_t count = std::min({lap.speed.size(), lap.roll.size()});
    std::vector<double> groove(count, 0.0);
    for (std::size_t i = 2; i + 3 <= count; ++i) {
        const double accel = std::min(std::fabs((lap.speed[i + 1] - lap.speed[i]) * 0.4347826086956522), 1.0);
        const double roll = std::clamp(std::fabs(static_cast<double>(lap.roll[i])) * 0.02 * rollFactor, 0.0, 1.0);
        const double g = std::max(accel * accelerationFactor, roll);
        // A NaN speed gives no groove rather than a NaN in the file.
        groove[i] = std::isnan(g) ? 0.0 : std::clamp(g, 0.0, 1.0);
    }
    return groove;
}

std::string GrooveFileText(const GrooveLap& lap, double trackLength, const GrooveSettings& settings) {
    const std::size_t count = std::min({lap.distance.size(), lap.lateral.size(), lap.speed.size(), lap.roll.size()});
    const std::vector<double> groove =
        GrooveValues(lap, settings.accelerationPercent * 0.01, settings.rollPercent * 0.01);
    const double step = (settings.resolutionIndex + 1) * 0.1;

    std::string entries;
    std::size_t lines = 0;
    std::size_t k = 2;
    // A track length that is not finite would never end the walk.
    if (step > 0 && std::isfinite(trackLength)) {
        for (double d = 0.0; d < trackLength; d += step) {
            double lateral = 0.0;
            if (count >= 3) {
                // The search stops at the last sample: distances past the end
                // of the recording carry on from the last two samples.
                while (k < count - 1 && lap.distance[k] < d) ++k;
                const std::size_t j = k - 1;
                const double span = lap.distance[k] - lap.distance[j];
                lateral = span == 0.0
                              ? lap.lateral[k]
                              : lap.lateral[j] + (d - lap.distance[j]) * (lap.lateral[k] - lap.lateral[j]) / span;
                k = std::max<std::size_t>(j, 2);
            }
            // Samples 0, 1 and the last two have no groove value of their own:
            // the nearest computed one stands in.
            const double g = count >= 5 ? groove[std::min(k, count - 3)] : 0.0;
            entries += "0 ";
            entries += FormatG10(lateral);
            entries += ' ';
            entries += FormatG10(g);
            entries += ' ';
            entries += FormatG10(d);
            entries += ' ';
            entries += settings.widthText;
            entries += "\r\n";
            ++lines;
        }
    }
    return fmt::format("60sections,{}entries\r\n", lines) + entries;
}

}  // namespace vra
