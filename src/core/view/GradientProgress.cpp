#include "core/view/GradientProgress.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vra {

void GradientProgress::SetRange(std::int16_t lower, std::int16_t upper) {
    SetRange32(lower, upper);
}

void GradientProgress::SetRange32(std::int32_t lower, std::int32_t upper) {
    lower_ = lower;
    upper_ = upper;
    position_ = lower;
}

GradientProgress::Layout GradientProgress::Paint(int width) const {
    Layout layout;
    // Nothing to show at either end, for an empty range, or without room.
    if (!(position_ > lower_ && position_ < upper_) || width <= 0) return layout;

    // The fraction of the range, not of the upper bound alone, so a range
    // that does not start at 0 (or ends at 0) fills correctly.
    const double span = double(upper_) - double(lower_);
    const double fraction = (double(position_) - double(lower_)) / span;
    const int filled = static_cast<int>(fraction * width);

    const int dr = int(endColour.red) - int(startColour.red);
    const int dg = int(endColour.green) - int(startColour.green);
    const int db = int(endColour.blue) - int(startColour.blue);
    // One band per colour step; equal colours still make one band.
    const int n = std::max({std::abs(dr), std::abs(dg), std::abs(db), 1});
    const double bandWidth = double(width) / n;

    layout.empty = false;
    layout.backgroundFrom = width;
    for (int i = 0; i < n; ++i) {
        Band band;
        band.left = static_cast<int>(i * bandWidth);
        band.right = static_cast<int>((i + 1) * bandWidth);
        band.colour = {static_cast<std::uint8_t>(startColour.red + dr * i / n),
                       static_cast<std::uint8_t>(startColour.green + dg * i / n),
                       static_cast<std::uint8_t>(startColour.blue + db * i / n)};
        layout.bands.push_back(band);
        if (band.right > filled) {
            layout.backgroundFrom = band.right;
            break;
        }
    }
    // Scaled before the division, so that a half percent rounds as the
    // quotient itself does (23 of 40 is 57.5, not 57.4999...).
    if (showPercent) layout.percentText = fmt::format("{:.0f}%", (double(position_) - double(lower_)) * 100.0 / span);
    return layout;
}

GradientProgress WaitBoxProgress() {
    GradientProgress bar;
    bar.SetRange32(0, 100);
    bar.showPercent = true;
    bar.startColour = {0, 0, 255};
    bar.endColour = {255, 255, 0};
    bar.textColour = {255, 255, 255};
    bar.backgroundColour = {127, 127, 127};
    return bar;
}

}  // namespace vra
