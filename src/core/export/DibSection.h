#pragma once
// A device-independent bitmap in memory and its BMP file. The track map
// export and the race graphics write their pictures through it; Qt's own BMP
// writer cannot produce the 4-bit files other programs expect from us.

#include "core/base/OutputSink.h"
#include "core/base/Rgb.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

namespace vra {

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_BITFIELDS = 3;

// The 40-byte header of a BMP file's bitmap, field for field.
struct BitmapInfoHeader {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;  // positive: rows stored bottom-up
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = BI_RGB;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;
};

// Bytes of one scan line, padded to 32 bits. 64-bit so that no width can wrap.
std::uint64_t BytesPerLine(std::uint64_t width, std::uint32_t bitCount);
// Entries of the colour table the header calls for (0, 2, 3, 16, 256, or
// fewer when biClrUsed says so).
std::uint32_t ColorTableEntries(const BitmapInfoHeader& header);

// One colour table entry as stored: blue, green, red, 0 (little-endian).
constexpr std::uint32_t RgbQuad(Rgb c) {
    return (std::uint32_t{c.red} << 16) | (std::uint32_t{c.green} << 8) | std::uint32_t{c.blue};
}

class DibSection {
public:
    // Takes the header, as many colour entries as it calls for (missing ones
    // are 0, bit-field masks for 16 and 32 bits) and, when given, the bits. A
    // biSizeImage of 0 becomes BytesPerLine x height. False, and empty, when
    // the sizes do not fit the file's 32-bit fields, the memory cannot be had,
    // or fewer bits are given than the image holds.
    bool SetBitmap(const BitmapInfoHeader& header, std::span<const std::uint32_t> colourTable,
                   std::span<const std::uint8_t> bits = {});
    void Clear();
    bool IsEmpty() const { return header_.biBitCount == 0; }

    const BitmapInfoHeader& Header() const { return header_; }
    const std::vector<std::uint32_t>& ColourTable() const { return colours_; }
    std::span<std::uint8_t> Bits() { return bits_; }
    std::span<const std::uint8_t> Bits() const { return bits_; }

    // The whole BMP file into out. False when empty or a write failed.
    bool Write(OutputSink& out) const;
    // Replaces the file at path; on any failure the old file stays as it was.
    bool Save(const std::filesystem::path& path, std::error_code* error = nullptr) const;

private:
    BitmapInfoHeader header_;
    std::vector<std::uint32_t> colours_;
    std::vector<std::uint8_t> bits_;
};

// The index of colour c in table: the lowest index holding exactly c, else
// the nearest by distance in RGB, the lowest index among equals.
std::uint8_t NearestColourIndex(std::span<const Rgb> table, Rgb c);

// Quantises a picture to an indexed bitmap of 1, 4 or 8 bits over table (at
// most 2^bitCount entries). pixels: width x height values 0x??RRGGBB, top row
// first, as a 32-bit image holds them. False when the sizes are out of range
// or the memory cannot be had.
bool MakeIndexedBitmap(DibSection& out, std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                       std::span<const Rgb> table, std::span<const std::uint32_t> pixels);

// The colour table of the exported track map: white background, the map
// colours 1-15, except that 14 (the race line, never exported) carries red,
// the first lap's colour, which has no entry of its own.
std::array<Rgb, 16> TrackMapBitmapTable(const std::array<Rgb, 16>& mapColours);

}  // namespace vra
