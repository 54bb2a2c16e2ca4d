#pragma once
// The document's two colour tables in explicit RGB: the map palette (laps,
// track surfaces, race line) and the colours the telemetry graphs draw with.

#include "core/base/Rgb.h"

#include <array>
#include <cstddef>

namespace vra {

inline constexpr std::size_t kMapPaletteSize = 16;
inline constexpr std::size_t kGraphColourCount = 26;

// Entries 0-4: the five laps (the bars write each lap's texts in its colour,
// as the legend of the map); 6-13 track surfaces by colour class; 14 the race
// line; 15 every other surface.
inline constexpr std::array<Rgb, kMapPaletteSize> kMapPalette = {
    FromColorRef(0x0000FF), FromColorRef(0xFF0000), FromColorRef(0x38FB00), FromColorRef(0x00F0F0),
    FromColorRef(0xE2E826), FromColorRef(0x000000), FromColorRef(0x808080), FromColorRef(0xBEBEBE),
    FromColorRef(0xFFFFFF), FromColorRef(0x328032), FromColorRef(0x0050A0), FromColorRef(0x19AED3),
    FromColorRef(0x005CB9), FromColorRef(0xFF0000), FromColorRef(0xFFFFFF), FromColorRef(0x00FF00),
};

inline constexpr std::array<Rgb, kGraphColourCount> kGraphColours = {
    FromColorRef(0x0000FF), FromColorRef(0xFF0000), FromColorRef(0x007F00), FromColorRef(0xFF00FF),
    FromColorRef(0x007F7F), FromColorRef(0x000000), FromColorRef(0x0000FF), FromColorRef(0x6600FF),
    FromColorRef(0x0000CC), FromColorRef(0x6666FF), FromColorRef(0xFF0000), FromColorRef(0x660000),
    FromColorRef(0xFFCC33), FromColorRef(0xCC3366), FromColorRef(0x007F00), FromColorRef(0x00FF00),
    FromColorRef(0x669933), FromColorRef(0x006633), FromColorRef(0xFF00FF), FromColorRef(0xFF6699),
    FromColorRef(0x6633FF), FromColorRef(0xFF00CC), FromColorRef(0x007F7F), FromColorRef(0x666666),
    FromColorRef(0x33CCFF), FromColorRef(0x669999),
};

}  // namespace vra
