#pragma once
// The state and the layout of the wait box's progress bar: a colour gradient
// laid over the whole width, of which the part up to the position shows.
// The GUI paints what Layout() describes.

#include "core/base/Rgb.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vra {

class GradientProgress {
public:
    // A vertical stripe [left, right) of the bar in device pixels.
    struct Band {
        int left = 0;
        int right = 0;
        Rgb colour;
        friend bool operator==(const Band&, const Band&) = default;
    };

    struct Layout {
        // True when the whole bar shows the face colour: the position is at or
        // outside either end of the range, or the range is empty.
        bool empty = true;
        std::vector<Band> bands;
        // From here to the right edge the background colour shows.
        int backgroundFrom = 0;
        // The percentage ("50%") when show-percent is on and the bar is not empty.
        std::string percentText;
    };

    // 16-bit range; the position goes to the lower bound.
    void SetRange(std::int16_t lower, std::int16_t upper);
    void SetRange32(std::int32_t lower, std::int32_t upper);
    void SetPos(std::int32_t position) { position_ = position; }

    std::int32_t Lower() const { return lower_; }
    std::int32_t Upper() const { return upper_; }
    std::int32_t Pos() const { return position_; }

    Rgb startColour{255, 0, 0};
    Rgb endColour{0, 0, 255};
    Rgb backgroundColour{212, 208, 200};
    Rgb textColour{255, 255, 255};
    bool showPercent = false;

    // The bar over a client area width pixels wide.
    Layout Paint(int width) const;

private:
    std::int32_t lower_ = 0;
    std::int32_t upper_ = 100;
    std::int32_t position_ = 0;
};

// The wait box's bar as the program sets it up: range 0 to 100, percent
// shown, blue to yellow on grey with white text.
GradientProgress WaitBoxProgress();

}  // namespace vra
