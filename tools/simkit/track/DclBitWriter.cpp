#include "simkit/track/DclBitWriter.h"

#include <array>
#include <stdexcept>

namespace vra::simkit {

namespace {

// The published length code, symbols 0..15, in reading order, with each
// symbol's base length and number of extra bits.
constexpr std::array<std::string_view, 16> kLengthCodes = {"11",     "101",    "100",     "011",    "0101",  "0100",
                                                           "0011",   "00101",  "00100",   "00011",  "00010", "000011",
                                                           "000010", "000001", "0000001", "0000000"};
constexpr std::array<unsigned, 16> kLengthBase = {3, 2, 4, 5, 6, 7, 8, 9, 10, 12, 16, 24, 40, 72, 136, 264};
constexpr std::array<unsigned, 16> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};

unsigned DistanceCodeLength(unsigned symbol) {
    if (symbol == 0) return 2;
    if (symbol <= 2) return 4;
    if (symbol <= 6) return 5;
    if (symbol <= 21) return 6;
    if (symbol <= 47) return 7;
    return 8;
}

}  // namespace

DclBitWriter::DclBitWriter(std::uint8_t literalMode, std::uint8_t dictionaryCode)
    : out_{literalMode, dictionaryCode}, dictionaryCode_(dictionaryCode) {}

DclBitWriter& DclBitWriter::bits(std::uint32_t value, unsigned n) {
    for (unsigned i = 0; i < n; ++i) {
        if (bitCount_ == 0) out_.push_back(0);
        if (value & (1u << i)) out_.back() |= static_cast<std::uint8_t>(1u << bitCount_);
        bitCount_ = (bitCount_ + 1) % 8;
    }
    return *this;
}

DclBitWriter& DclBitWriter::code(std::string_view readOrder) {
    for (char c : readOrder) bits(c == '1' ? 1 : 0, 1);
    return *this;
}

DclBitWriter& DclBitWriter::literal(std::uint8_t byte) {
    bits(0, 1);
    return bits(byte, 8);
}

DclBitWriter& DclBitWriter::copy(unsigned length, unsigned distance) {
    if (length < 2 || length > 518 || distance == 0) throw std::invalid_argument("copy out of range");
    unsigned symbol = 0;
    while (length < kLengthBase[symbol] || length >= kLengthBase[symbol] + (1u << kLengthExtra[symbol])) ++symbol;
    bits(1, 1);
    code(kLengthCodes[symbol]);
    bits(length - kLengthBase[symbol], kLengthExtra[symbol]);

    const unsigned lowBits = length == 2 ? 2 : dictionaryCode_;
    const unsigned value = distance - 1;
    const unsigned distanceSymbol = value >> lowBits;
    if (distanceSymbol > 63) throw std::invalid_argument("distance out of range");
    for (bool b : DistanceCode(distanceSymbol)) bits(b ? 1 : 0, 1);
    return bits(value & ((1u << lowBits) - 1), lowBits);
}

DclBitWriter& DclBitWriter::end() {
    bits(1, 1);
    code(kLengthCodes[15]);
    return bits(519 - 264, 8);
}

std::vector<std::uint8_t> DclBitWriter::bytes() const {
    return out_;
}

std::string_view DclBitWriter::LengthCode(unsigned symbol) {
    return kLengthCodes.at(symbol);
}

std::vector<bool> DclBitWriter::DistanceCode(unsigned symbol) {
    // Canonical codes from the code lengths (count per length, first code per
    // length), then every bit inverted, most significant bit first.
    std::array<unsigned, 9> perLength{};
    for (unsigned s = 0; s < 64; ++s) ++perLength[DistanceCodeLength(s)];
    std::array<unsigned, 9> first{};
    unsigned next = 0;
    for (unsigned len = 1; len <= 8; ++len) {
        next = (next + perLength[len - 1]) << 1;
        first[len] = next;
    }
    const unsigned len = DistanceCodeLength(symbol);
    unsigned codeValue = first[len];
    for (unsigned s = 0; s < symbol; ++s)
        if (DistanceCodeLength(s) == len) ++codeValue;
    std::vector<bool> out;
    for (unsigned i = 0; i < len; ++i) out.push_back(((codeValue >> (len - 1 - i)) & 1u) == 0);
    return out;
}

}  // namespace vra::simkit
