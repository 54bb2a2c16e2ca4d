#include "core/replay/ParseCarStructs.h"

#include <bit>
#include <cstring>

namespace vra {

namespace {

std::uint32_t Bits(std::uint32_t w, int first, int count) {
    return count >= 32 ? w >> first : (w >> first) & ((1u << count) - 1);
}
// A two's complement field of count bits.
std::int32_t SignedBits(std::uint32_t w, int first, int count) {
    const std::uint32_t v = Bits(w, first, count);
    const std::uint32_t sign = 1u << (count - 1);
    return static_cast<std::int32_t>(v ^ sign) - static_cast<std::int32_t>(sign);
}

}  // namespace

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

FullCarFields ParseCarStructs::UnpackFull(const std::uint32_t (&w)[9]) {
    FullCarFields f;
    f.distance = Bits(w[0], 0, 26);
    f.gear = static_cast<int>(Bits(w[0], 27, 3)) - 1;
    f.wheelDirection[0] = static_cast<std::uint8_t>(Bits(w[0], 30, 2));
    f.lateral = SignedBits(w[1], 0, 20);
    f.rideHeight = Bits(w[1], 20, 12);
    f.rpmCode = Bits(w[2], 0, 10);
    f.heading = static_cast<std::int16_t>(SignedBits(w[2], 10, 12));
    f.pitch = SignedBits(w[2], 22, 10);
    f.roll = SignedBits(w[3], 0, 10);
    f.valueG = Bits(w[3], 17, 8);
    f.valueH = Bits(w[3], 20, 5);
    f.steering = static_cast<std::int16_t>(SignedBits(w[3], 25, 7));
    f.wheelDirection[1] = static_cast<std::uint8_t>(Bits(w[4], 0, 2));
    f.wheelRotation[0] = Bits(w[4], 2, 10);
    f.suspension[0] = SignedBits(w[4], 12, 10);
    f.wheelRotation[1] = Bits(w[4], 22, 10);
    f.wheelDirection[2] = static_cast<std::uint8_t>(Bits(w[5], 0, 2));
    f.suspension[1] = SignedBits(w[5], 2, 10);
    f.wheelRotation[2] = Bits(w[5], 12, 10);
    f.suspension[2] = SignedBits(w[5], 22, 10);
    f.wheelDirection[3] = static_cast<std::uint8_t>(Bits(w[6], 0, 2));
    f.wheelRotation[3] = Bits(w[6], 2, 10);
    f.suspension[3] = SignedBits(w[6], 12, 10);
    f.oilPressure = static_cast<std::uint16_t>(Bits(w[6], 22, 7));
    f.throttle = static_cast<std::uint16_t>(Bits(w[8], 1, 8));
    f.brake = static_cast<std::uint16_t>(Bits(w[8], 9, 8));
    return f;
}

CompactCarFields ParseCarStructs::UnpackCompact(const std::uint32_t (&c)[4]) {
    CompactCarFields f;
    f.valueG = Bits(c[0], 11, 5);
    f.pitch = SignedBits(c[0], 16, 10);
    f.distance = Bits(c[1], 0, 24);
    f.carId = static_cast<std::uint8_t>(Bits(c[1], 24, 8));
    f.roll = SignedBits(c[2], 0, 10);
    f.rpmCode = Bits(c[2], 10, 10);
    f.valueH = Bits(c[2], 16, 7);
    f.rideHeight = Bits(c[2], 21, 9);
    f.heading = static_cast<std::int16_t>(SignedBits(c[3], 0, 12));
    f.lateral = SignedBits(c[3], 12, 17);
    f.gear = static_cast<int>(Bits(c[3], 29, 3)) - 1;
    return f;
}

EngineWordFields ParseCarStructs::UnpackEngine(std::uint32_t word) {
    return {Bits(word, 0, 7), Bits(word, 7, 7), Bits(word, 14, 7), Bits(word, 21, 11)};
}

}  // namespace vra
