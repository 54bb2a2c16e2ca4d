#include "core/export/DibSection.h"

#include "core/base/AtomicFile.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <new>

namespace vra {

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint64_t kInfoHeaderSize = 40;
constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();

void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::uint64_t BytesPerLine(std::uint64_t width, std::uint32_t bitCount) {
    return ((width * bitCount + 31) / 32) * 4;
}

std::uint32_t ColorTableEntries(const BitmapInfoHeader& header) {
    std::uint32_t entries = 0;
    switch (header.biBitCount) {
        case 1:
            entries = 2;
            break;
        case 4:
            entries = 16;
            break;
        case 8:
            entries = 256;
            break;
        case 16:
        case 32:
            entries = header.biCompression == BI_BITFIELDS ? 3 : 0;
            break;
        default:
            entries = 0;
            break;
    }
    if (header.biClrUsed != 0) entries = std::min(entries, header.biClrUsed);
    return entries;
}

void DibSection::Clear() {
    header_ = BitmapInfoHeader{};
    colours_.clear();
    bits_.clear();
}

bool DibSection::SetBitmap(const BitmapInfoHeader& header, std::span<const std::uint32_t> colourTable,
                           std::span<const std::uint8_t> bits) {
    Clear();
    const std::uint16_t bitCount = header.biBitCount;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    if (header.biWidth <= 0 || header.biHeight == 0) return false;
    const std::uint64_t width = static_cast<std::uint64_t>(header.biWidth);
    const std::uint64_t height = static_cast<std::uint64_t>(std::llabs(static_cast<long long>(header.biHeight)));
    const std::uint64_t lineBytes = BytesPerLine(width, bitCount);
    const std::uint64_t imageSize = lineBytes * height;  // both below 2^35: no wrap
    const std::uint32_t entries = ColorTableEntries(header);
    const std::uint64_t fileSize = imageSize + kFileHeaderSize + kInfoHeaderSize + 4ull * entries;
    if (imageSize > kMax32 || fileSize > kMax32) return false;
    if (header.biSizeImage != 0 && header.biSizeImage != imageSize) return false;
    if (!bits.empty() && bits.size() < imageSize) return false;
    try {
        colours_.assign(entries, 0);
        std::copy_n(colourTable.begin(), std::min<std::size_t>(entries, colourTable.size()), colours_.begin());
        bits_.assign(static_cast<std::size_t>(imageSize), 0);
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
    if (!bits.empty()) std::copy_n(bits.begin(), bits_.size(), bits_.begin());
    header_ = header;
    header_.biSizeImage = static_cast<std::uint32_t>(imageSize);
    return true;
}

bool DibSection::Write(OutputSink& out) const {
    if (IsEmpty()) return false;
    const std::uint32_t offBits = static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize + 4 * colours_.size());
    std::vector<std::uint8_t> head;
    head.reserve(offBits);
    head.push_back('B');
    head.push_back('M');
    Put32(head, header_.biSizeImage + offBits);
    Put16(head, 0);
    Put16(head, 0);
    Put32(head, offBits);
    Put32(head, header_.biSize);
    Put32(head, static_cast<std::uint32_t>(header_.biWidth));
    Put32(head, static_cast<std::uint32_t>(header_.biHeight));
    Put16(head, header_.biPlanes);
    Put16(head, header_.biBitCount);
    Put32(head, header_.biCompression);
    Put32(head, header_.biSizeImage);
    Put32(head, static_cast<std::uint32_t>(header_.biXPelsPerMeter));
    Put32(head, static_cast<std::uint32_t>(header_.biYPelsPerMeter));
    Put32(head, header_.biClrUsed);
    Put32(head, header_.biClrImportant);
    for (std::uint32_t c : colours_) Put32(head, c);
    bool ok = out.write(head);
    ok = out.write(bits_) && ok;
    return ok;
}

bool DibSection::Save(const std::filesystem::path& path, std::error_code* error) const {
    if (path.empty() || IsEmpty()) {
        if (error) *error = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    return WriteFileAtomic(
        path, [this](OutputSink& out) { return Write(out); }, error);
}

std::uint8_t NearestColourIndex(std::span<const Rgb> table, Rgb c) {
    std::size_t best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < table.size() && i < 256; ++i) {
        const long dr = long{table[i].red} - c.red;
        const long dg = long{table[i].green} - c.green;
        const long db = long{table[i].blue} - c.blue;
        const long d = dr * dr + dg * dg + db * db;
        // Strictly smaller: an exact colour or a tie keeps the lowest index.
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0) break;
        }
    }
    return static_cast<std::uint8_t>(best);
}

bool MakeIndexedBitmap(DibSection& out, std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                       std::span<const Rgb> table, std::span<const std::uint32_t> pixels) {
    out.Clear();
    if (bitCount != 1 && bitCount != 4 && bitCount != 8) return false;
    if (table.empty() || table.size() > (std::size_t{1} << bitCount)) return false;
    if (width <= 0 || height <= 0) return false;
    if (pixels.size() / static_cast<std::size_t>(width) < static_cast<std::size_t>(height)) return false;
    BitmapInfoHeader header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = bitCount;
    std::vector<std::uint32_t> colours;
    for (Rgb c : table) colours.push_back(RgbQuad(c));
    if (!out.SetBitmap(header, colours)) return false;

    // Pixels repeat in long runs on a map: remember the last lookup.
    std::uint32_t lastPixel = 0;
    std::uint8_t lastIndex = 0;
    bool haveLast = false;
    const std::size_t lineBytes = static_cast<std::size_t>(BytesPerLine(static_cast<std::uint64_t>(width), bitCount));
    const unsigned perByte = 8u / bitCount;
    std::span<std::uint8_t> bits = out.Bits();
    for (std::int32_t y = 0; y < height; ++y) {
        // Bottom-up: the picture's top row is the file's last line.
        std::uint8_t* line = bits.data() + static_cast<std::size_t>(height - 1 - y) * lineBytes;
        const std::uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t p = row[x] & 0xFFFFFFu;
            if (!haveLast || p != lastPixel) {
                lastIndex =
                    NearestColourIndex(table, Rgb{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                                                  static_cast<std::uint8_t>(p)});
                lastPixel = p;
                haveLast = true;
            }
            // The leftmost pixel sits in the byte's high bits.
            const unsigned slot = static_cast<unsigned>(x) % perByte;
            const unsigned shift = 8u - bitCount * (slot + 1);
            line[static_cast<std::size_t>(x) / perByte] |= static_cast<std::uint8_t>(lastIndex << shift);
        }
    }
    return true;
}

std::array<Rgb, 16> TrackMapBitmapTable(const std::array<Rgb, 16>& mapColours) {
    std::array<Rgb, 16> table = mapColours;
    table[0] = Rgb{255, 255, 255};
    table[14] = Rgb{255, 0, 0};
    return table;
}

}  // namespace vra
