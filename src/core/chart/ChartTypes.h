#pragma once
// Small value types the chart computes with: integer rectangles with
// half-open right and bottom edges (a rectangle (0, 0, 10, 10) holds the
// pixels 0 to 9), fonts described by what the text looks like, and the
// measuring seam that lets the layout run without a screen.

#include "core/base/Rgb.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace vra {

struct IPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const IPoint&, const IPoint&) = default;
};

struct ISize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const ISize&, const ISize&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool contains(IPoint p) const { return contains(p.x, p.y); }
    Rect normalized() const {
        return Rect{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    Rect inflated(int dx, int dy) const { return Rect{left - dx, top - dy, right + dx, bottom + dy}; }
    IPoint centre() const { return IPoint{(left + right) / 2, (top + bottom) / 2}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// A font as the chart asks for it: a face, the cell height in logical units
// (ascent plus descent) and a weight from 100 to 900.
struct FontSpec {
    std::string family = "Arial";
    int height = 13;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Measures text as it will be drawn. A text with line feeds is several lines
// high and as wide as its widest line.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual ISize extent(const FontSpec& font, std::string_view text) const = 0;
};

// Colours are stored the Windows way in the chart's archives: 0x00BBGGRR.
constexpr std::uint32_t ToColorRef(Rgb c) {
    return static_cast<std::uint32_t>(c.red) | (static_cast<std::uint32_t>(c.green) << 8) |
           (static_cast<std::uint32_t>(c.blue) << 16);
}

constexpr Rgb Inverted(Rgb c) {
    return Rgb{static_cast<std::uint8_t>(255 - c.red), static_cast<std::uint8_t>(255 - c.green),
               static_cast<std::uint8_t>(255 - c.blue)};
}

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

}  // namespace vra
