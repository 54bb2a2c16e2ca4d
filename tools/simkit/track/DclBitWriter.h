#pragma once
// Writes imploded streams token by token, straight from the format's
// description: a header of literal mode and dictionary code, then per token a
// flag bit and either a plain literal byte or a coded length and distance.
// Bits go out least-significant bit of each byte first. Hand-made streams use
// it directly; ImplodeWriter builds whole streams with it.

#include <cstdint>
#include <string_view>
#include <vector>

namespace vra::simkit {

class DclBitWriter {
public:
    // Starts a stream with the two header bytes. dictionaryCode 4, 5 or 6
    // means a window of 1024, 2048 or 4096 bytes; other values are written as
    // given (to build refused streams).
    explicit DclBitWriter(std::uint8_t literalMode = 0, std::uint8_t dictionaryCode = 6);

    // n bits of value, bit 0 first.
    DclBitWriter& bits(std::uint32_t value, unsigned n);
    // Bits in the order the reader takes them, as '0'/'1' characters.
    DclBitWriter& code(std::string_view readOrder);

    DclBitWriter& literal(std::uint8_t byte);
    // A copy of length 2..518 bytes from distance bytes back. A length of 2
    // carries 2 low distance bits (distance <= 256); longer ones carry as many
    // as the dictionary code.
    DclBitWriter& copy(unsigned length, unsigned distance);
    // The end marker (the length 519).
    DclBitWriter& end();

    // The stream so far, the last byte padded with zero bits.
    std::vector<std::uint8_t> bytes() const;
    unsigned dictionaryCode() const { return dictionaryCode_; }

    // The code of a length symbol 0..15 and of a distance symbol 0..63, in
    // reading order.
    static std::string_view LengthCode(unsigned symbol);
    static std::vector<bool> DistanceCode(unsigned symbol);

private:
    std::vector<std::uint8_t> out_;
    unsigned bitCount_ = 0;  // bits used in the last byte of out_ (0 = none open)
    unsigned dictionaryCode_;
};

}  // namespace vra::simkit
