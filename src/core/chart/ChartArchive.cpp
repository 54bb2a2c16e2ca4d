#include "core/chart/ChartArchive.h"

#include <algorithm>
#include <cstring>

namespace vra {

void ArchiveWriter::f64(double v) {
    std::uint8_t b[8];
    std::memcpy(b, &v, 8);
    w_.bytes(b);
}

void ArchiveWriter::string(std::string_view s) {
    if (s.size() < 0xFF) {
        w_.u8(static_cast<std::uint8_t>(s.size()));
    } else if (s.size() < 0xFFFE) {
        w_.u8(0xFF);
        w_.u16(static_cast<std::uint16_t>(s.size()));
    } else {
        w_.u8(0xFF);
        w_.u16(0xFFFF);
        w_.u32(static_cast<std::uint32_t>(s.size()));
    }
    w_.bytes(std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size()));
}

void ArchiveWriter::font(const FontSpec& f) {
    std::uint8_t lf[kLogFontSize] = {};
    const std::int32_t height = f.height, width = 0, escapement = 0, orientation = 0, weight = f.weight;
    std::memcpy(lf + 0, &height, 4);
    std::memcpy(lf + 4, &width, 4);
    std::memcpy(lf + 8, &escapement, 4);
    std::memcpy(lf + 12, &orientation, 4);
    std::memcpy(lf + 16, &weight, 4);
    lf[20] = f.italic ? 1 : 0;
    lf[21] = f.underline ? 1 : 0;
    lf[22] = f.strikeOut ? 1 : 0;
    lf[23] = 1;  // DEFAULT_CHARSET
    lf[24] = 2;  // OUT_CHARACTER_PRECIS
    lf[25] = 2;  // CLIP_CHARACTER_PRECIS
    lf[26] = 4;  // ANTIALIASED_QUALITY
    lf[27] = 0;  // DEFAULT_PITCH
    const std::size_t n = std::min<std::size_t>(f.family.size(), 31);
    std::memcpy(lf + 28, f.family.data(), n);
    w_.bytes(lf);
}

bool ArchiveReader::boolean(bool& v) {
    std::uint32_t u;
    if (!c_.u32(u)) return false;
    v = u != 0;
    return true;
}

bool ArchiveReader::colour(Rgb& c) {
    std::uint32_t u;
    if (!c_.u32(u)) return false;
    c = FromColorRef(u & 0xFFFFFF);
    return true;
}

bool ArchiveReader::string(std::string& s) {
    std::uint8_t b;
    if (!c_.u8(b)) return false;
    std::uint64_t n = b;
    if (b == 0xFF) {
        std::uint16_t w;
        if (!c_.u16(w)) return false;
        n = w;
        if (w == 0xFFFE) return false;  // a wide-character string: never written here
        if (w == 0xFFFF) {
            std::uint32_t d;
            if (!c_.u32(d)) return false;
            n = d;
        }
    }
    if (n > c_.remaining()) return false;
    s.resize(static_cast<std::size_t>(n));
    return c_.bytes(s.data(), s.size());
}

bool ArchiveReader::font(FontSpec& f) {
    std::uint8_t lf[kLogFontSize];
    if (!c_.bytes(lf, sizeof lf)) return false;
    std::int32_t height, weight;
    std::memcpy(&height, lf, 4);
    std::memcpy(&weight, lf + 16, 4);
    // A negative height asks for the character height; the chart keeps cell heights.
    if (height == INT32_MIN) return false;
    f.height = height < 0 ? -height : height;
    f.weight = weight;
    f.italic = lf[20] != 0;
    f.underline = lf[21] != 0;
    f.strikeOut = lf[22] != 0;
    f.family = FixedText(lf + 28, 32);
    return true;
}

}  // namespace vra
