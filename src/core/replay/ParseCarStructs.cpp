#include "core/replay/ParseCarStructs.h"

#include <bit>
#include <cstring>

namespace vra {

const std::uint32_t* ParseCarStructs::SetFullRecord(const std::uint8_t* record) {
    std::memcpy(full_, record, sizeof full_);
    return full_;
}

const std::uint32_t* ParseCarStructs::SetCompactRecord(const std::uint8_t* record) {
    std::memcpy(compact_, record, sizeof compact_);
    return compact_;
}

const std::uint32_t* ParseCarStructs::SetCompactRecord2(const std::uint8_t* record) {
    std::memcpy(compact2_, record, sizeof compact2_);
    return compact2_;
}

std::uint32_t ParseCarStructs::ReadBits(const std::uint8_t* buffer, std::uint32_t& pos, int n) {
    std::uint32_t out = 0;
    for (int i = 0; i < n && i < 32; ++i, ++pos) {
        const std::uint32_t bit = (buffer[pos >> 3] >> (pos & 7)) & 1u;
        out |= bit << i;
    }
    return out;
}

const std::uint32_t* ParseCarStructs::UnpackWord(const std::uint8_t* buffer) {
    // The four fields (7, 7, 7 and 11 bits from bit 0, least significant bit
    // of each byte first) laid side by side are the little-endian word
    // itself; read as one, since every frame of a lap holds one.
    std::memcpy(&engine_, buffer, sizeof engine_);
    if constexpr (std::endian::native == std::endian::big) engine_ = __builtin_bswap32(engine_);
    return &engine_;
}

}  // namespace vra
