#include "core/graphs/TelemetryPageLayout.h"

#include "core/graphs/TimeDifference.h"

#include <fmt/printf.h>

#include <cmath>

namespace vra {

TelemetryPageLayout::TelemetryPageLayout(int w, int h) : width(w), height(h) {
    y45 = P(5) + P(40);
    y57 = y45 + P(12);
    y77 = y57 + P(20);
    ymap = y45 + P(32);
    y97 = y77 + P(20);
    const int half = w / 2;
    areas = {{
        {0, 0, w, P(5)},
        {0, P(5), w, y45},
        {0, y45, half, y57},
        {half, y45, w, ymap},
        {0, y57, half, y77},
        {0, y77, half, y97},
        {half, y77, w, y97},
        {0, y97, w, h},
    }};
    insets = {4, 2, 2, 8, 2, 2, 2, 4};
    titleFont = Content(kTitleArea).Height() / 2;
    footerFont = Content(kFooterArea).Height() / 2;
    headingFont = static_cast<int>(Content(kLapTableArea).Height() * 0.2);
    rowFont = static_cast<int>(Content(kLapTableArea).Height() * 0.15);
    graphTitleFont = static_cast<int>(Content(kSecondary1).Height() * 0.06);
}

std::string LapTableTimeText(std::uint32_t lapWord, double trackLength, int speedUnit) {
    const std::uint32_t t = lapWord & 0x0FFFFFFFu;
    // A lap without a time has no average speed to speak of.
    double v = t == 0 ? 0.0 : trackLength / (t * 0.001) * 3.6;
    if (speedUnit == 1) v *= 0.6213722922;
    // Seven places take speeds below 1000 km/h; a faster one widens the
    // column rather than losing its leading digits.
    return FormatGraphLapTime(lapWord) + "(" + fmt::sprintf("%7.3f", v) + ")";
}

SecondarySelection SelectSecondaryGraphs(const std::vector<int>& ticked) {
    SecondarySelection s;
    for (int index : ticked) {
        if (s.count < 3) s.selections[static_cast<std::size_t>(s.count)] = index;
        ++s.count;
    }
    return s;
}

}  // namespace vra
