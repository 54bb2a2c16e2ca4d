#pragma once
// Bits of an imploded stream, least-significant bit of each byte first.

#include <cstddef>
#include <cstdint>
#include <span>

namespace vra {

class DclBitReader {
public:
    // Marks a value that could not be completed because the data ran out.
    // No read is wider than 24 bits, so a complete value never has it set.
    static constexpr std::uint32_t kEndOfData = 0x08000000u;

    explicit DclBitReader(std::span<const std::uint8_t> data) : data_(data) {}

    // The next n bits (n <= 24), the first one read in bit 0. When the data
    // ends first, the bits that were left are returned with kEndOfData set
    // and the reader stays exhausted.
    std::uint32_t ReadBits(unsigned n) {
        if (count_ < n) Refill();
        if (count_ < n) {
            const std::uint32_t rest = static_cast<std::uint32_t>(bits_);
            bits_ = 0;
            count_ = 0;
            return rest | kEndOfData;
        }
        const std::uint32_t value = static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1));
        bits_ >>= n;
        count_ -= n;
        return value;
    }

    // Up to n (<= 24) bits ahead without consuming them; bits beyond the end
    // of the data read as 0, and available says how many are real.
    std::uint32_t PeekBits(unsigned n, unsigned& available) {
        if (count_ < n) Refill();
        available = count_ < n ? count_ : n;
        return static_cast<std::uint32_t>(bits_ & ((std::uint64_t{1} << n) - 1));
    }

    // Consumes n bits that PeekBits reported as available.
    void DropBits(unsigned n) {
        bits_ >>= n;
        count_ -= n;
    }

    bool Exhausted() const { return count_ == 0 && pos_ >= data_.size(); }

private:
    void Refill() {
        while (count_ <= 56 && pos_ < data_.size()) {
            bits_ |= std::uint64_t{data_[pos_++]} << count_;
            count_ += 8;
        }
    }

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
    std::uint64_t bits_ = 0;
    unsigned count_ = 0;
};

}  // namespace vra
