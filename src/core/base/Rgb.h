#pragma once
// A colour in explicit RGB, as the core hands colours to whoever paints.

#include <cstdint>

namespace vra {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A colour written the Windows way, 0x00BBGGRR, so that colour tables can be
// compared with the values the program has always used.
constexpr Rgb FromColorRef(std::uint32_t bbggrr) {
    return Rgb{static_cast<std::uint8_t>(bbggrr & 0xFF), static_cast<std::uint8_t>((bbggrr >> 8) & 0xFF),
               static_cast<std::uint8_t>((bbggrr >> 16) & 0xFF)};
}

}  // namespace vra
