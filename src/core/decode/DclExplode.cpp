#include "core/decode/DclExplode.h"

#include <array>
#include <cstring>

namespace vra {

namespace {

// One entry per value of the next 8 bits (the first bit read in bit 0): the
// symbol whose code those bits begin with, and the code's length.
struct CodeEntry {
    std::uint8_t symbol = 0;
    std::uint8_t length = 0;
};
using CodeTable = std::array<CodeEntry, 256>;

// The format's codes are canonical (shorter codes first, then symbol order)
// with every bit inverted, stored most-significant code bit first.
template <std::size_t N>
constexpr CodeTable BuildTable(const std::array<std::uint8_t, N>& lengths) {
    CodeTable table{};
    std::uint32_t code = 0;
    unsigned previous = 0;
    for (unsigned length = 1; length <= 8; ++length) {
        for (std::size_t symbol = 0; symbol < N; ++symbol) {
            if (lengths[symbol] != length) continue;
            if (previous != 0)
                code = (code + 1) << (length - previous);
            else
                code <<= length;
            previous = length;
            const std::uint32_t stored = ~code & ((1u << length) - 1);
            std::uint32_t readOrder = 0;  // first stored bit is read first
            for (unsigned i = 0; i < length; ++i)
                if (stored & (1u << (length - 1 - i))) readOrder |= 1u << i;
            for (std::uint32_t high = 0; high < (256u >> length); ++high)
                table[readOrder | (high << length)] = {static_cast<std::uint8_t>(symbol),
                                                       static_cast<std::uint8_t>(length)};
        }
    }
    return table;
}

constexpr std::array<std::uint8_t, 16> kLengthCodeLengths = {2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 7, 7};
constexpr std::array<std::uint16_t, 16> kLengthBase = {3, 2, 4, 5, 6, 7, 8, 9, 10, 12, 16, 24, 40, 72, 136, 264};
constexpr std::array<std::uint8_t, 16> kLengthExtraBits = {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};

constexpr std::array<std::uint8_t, 64> DistanceCodeLengths() {
    std::array<std::uint8_t, 64> lengths{};
    for (std::size_t s = 0; s < 64; ++s)
        lengths[s] = s == 0 ? 2 : s <= 2 ? 4 : s <= 6 ? 5 : s <= 21 ? 6 : s <= 47 ? 7 : 8;
    return lengths;
}

constexpr CodeTable kLengthTable = BuildTable(kLengthCodeLengths);
constexpr CodeTable kDistanceTable = BuildTable(DistanceCodeLengths());

constexpr unsigned kEndLength = 519;
constexpr std::uint8_t kBinaryLiterals = 0;

// Decodes one symbol; false when the data ends inside the code.
inline bool DecodeSymbol(DclBitReader& reader, const CodeTable& table, unsigned& symbol) {
    unsigned available = 0;
    const CodeEntry entry = table[reader.PeekBits(8, available)];
    if (entry.length > available) return false;
    reader.DropBits(entry.length);
    symbol = entry.symbol;
    return true;
}

}  // namespace

DclExplode::Result DclExplode::Explode(std::span<std::uint8_t> out, std::size_t& produced) {
    produced = 0;
    const std::uint32_t literalMode = reader_.ReadBits(8);
    const std::uint32_t dictionaryCode = reader_.ReadBits(8);
    if ((literalMode | dictionaryCode) & DclBitReader::kEndOfData) return Result::Truncated;
    // Coded literals would need their own code table; no track container uses them.
    if (literalMode != kBinaryLiterals) return Result::BadHeader;
    if (dictionaryCode < 4 || dictionaryCode > 6) return Result::BadHeader;

    std::uint8_t* const base = out.data();
    const std::size_t limit = out.size();
    while (produced < limit) {
        const std::uint32_t flag = reader_.ReadBits(1);
        if (flag & DclBitReader::kEndOfData) return Result::Truncated;
        if (flag == 0) {
            const std::uint32_t literal = reader_.ReadBits(8);
            if (literal & DclBitReader::kEndOfData) return Result::Truncated;
            base[produced++] = static_cast<std::uint8_t>(literal);
            continue;
        }

        unsigned lengthSymbol = 0;
        if (!DecodeSymbol(reader_, kLengthTable, lengthSymbol)) return Result::Truncated;
        unsigned length = kLengthBase[lengthSymbol];
        if (const unsigned extra = kLengthExtraBits[lengthSymbol]) {
            const std::uint32_t bits = reader_.ReadBits(extra);
            if (bits & DclBitReader::kEndOfData) return Result::Truncated;
            length += bits;
        }
        if (length == kEndLength) return Result::EndMarker;

        unsigned distanceSymbol = 0;
        if (!DecodeSymbol(reader_, kDistanceTable, distanceSymbol)) return Result::Truncated;
        // Two-byte copies are short-range: their distance has only 2 low bits.
        const unsigned lowBits = length == 2 ? 2 : dictionaryCode;
        const std::uint32_t low = reader_.ReadBits(lowBits);
        if (low & DclBitReader::kEndOfData) return Result::Truncated;
        const std::size_t distance = ((std::size_t{distanceSymbol} << lowBits) | low) + 1;
        // The largest distance is the dictionary size, so the bytes behind the
        // write position in the output are the window itself.
        if (distance > produced) return Result::BadDistance;

        std::size_t n = length;
        if (n > limit - produced) n = limit - produced;
        std::uint8_t* dst = base + produced;
        const std::uint8_t* src = dst - distance;
        if (distance >= n) {
            std::memcpy(dst, src, n);
        } else {
            // Overlapping: each byte may be one this copy has just written.
            for (std::size_t i = 0; i < n; ++i) dst[i] = src[i];
        }
        produced += n;
    }
    return Result::LimitReached;
}

}  // namespace vra
