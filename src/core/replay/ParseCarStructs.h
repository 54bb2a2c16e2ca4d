#pragma once
// Copies the packed car records of the frame stream and unpacks their
// bit fields: the saving player's full record (type 1), the compact records
// of the other cars (type 3) and the engine word (type 2).

#include <cstdint>

namespace vra {

// Fields of a full record, as stored per sample by the lap extraction.
struct FullCarFields {
    std::uint32_t distance = 0;  // 0.0005 m
    int gear = 0;                // -1 reverse, 0 neutral
    std::uint8_t wheelDirection[4] = {};
    std::int32_t lateral = 0;             // raw, signed 20 bits
    std::uint32_t rideHeight = 0;         // raw code, 12 bits
    std::uint32_t rpmCode = 0;            // 10 bits
    std::int16_t heading = 0;             // signed 12 bits
    std::int32_t pitch = 0;               // signed 10 bits
    std::int32_t roll = 0;                // signed 10 bits
    std::uint32_t valueG = 0;             // 8 bits
    std::uint32_t valueH = 0;             // 5 bits
    std::int16_t steering = 0;            // signed 7 bits
    std::uint32_t wheelRotation[4] = {};  // 10-bit counters
    std::int32_t suspension[4] = {};      // signed 10 bits
    std::uint16_t oilPressure = 0;        // 7 bits
    std::uint16_t throttle = 0;           // 0-255
    std::uint16_t brake = 0;              // 0-255
};

// Fields of one compact record of another car.
struct CompactCarFields {
    std::uint32_t valueG = 0;      // 5 bits
    std::int32_t pitch = 0;        // signed 10 bits
    std::uint32_t distance = 0;    // units of 1/k m, 24 bits
    std::uint8_t carId = 0;        // low byte of the driver's car id
    std::int32_t roll = 0;         // signed 10 bits
    std::uint32_t rpmCode = 0;     // 10 bits
    std::uint32_t valueH = 0;      // 7 bits
    std::uint32_t rideHeight = 0;  // 9 bits
    std::int16_t heading = 0;      // signed 12 bits
    std::int32_t lateral = 0;      // signed 17 bits
    int gear = 0;
};

struct EngineWordFields {
    std::uint32_t oilTemperature = 0;    // 7 bits, wraps past 127
    std::uint32_t waterTemperature = 0;  // 7 bits
    std::uint32_t fuelPressure = 0;      // 7 bits
    std::uint32_t valueI = 0;            // 11 bits
};

namespace car_bits {

constexpr std::uint32_t Bits(std::uint32_t w, int first, int count) {
    return count >= 32 ? w >> first : (w >> first) & ((1u << count) - 1);
}
// A two's complement field of count bits.
constexpr std::int32_t SignedBits(std::uint32_t w, int first, int count) {
    const std::uint32_t v = Bits(w, first, count);
    const std::uint32_t sign = 1u << (count - 1);
    return static_cast<std::int32_t>(v ^ sign) - static_cast<std::int32_t>(sign);
}

}  // namespace car_bits

class ParseCarStructs {
public:
    virtual ~ParseCarStructs() = default;

    // Copies a 36-byte full record; returns the stored nine words.
    const std::uint32_t* SetFullRecord(const std::uint8_t* record);
    // Copies a 16-byte compact record into the first (or second) slot.
    const std::uint32_t* SetCompactRecord(const std::uint8_t* record);
    const std::uint32_t* SetCompactRecord2(const std::uint8_t* record);
    // Reads n bits from bit position pos (least significant bit of each byte
    // first) and advances pos by n. n is at most 32.
    static std::uint32_t ReadBits(const std::uint8_t* buffer, std::uint32_t& pos, int n);
    // Unpacks a 4-byte engine word; returns the stored word.
    const std::uint32_t* UnpackWord(const std::uint8_t* buffer);

    FullCarFields Full() const { return UnpackFull(full_); }
    CompactCarFields Compact() const { return UnpackCompact(compact_); }
    CompactCarFields Compact2() const { return UnpackCompact(compact2_); }
    EngineWordFields Engine() const { return UnpackEngine(engine_); }

    // Inline: a race's load unpacks these by the million and keeps a few
    // fields, which the compiler then picks alone.
    static FullCarFields UnpackFull(const std::uint32_t (&w)[9]) {
        using car_bits::Bits;
        using car_bits::SignedBits;
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
    static CompactCarFields UnpackCompact(const std::uint32_t (&c)[4]) {
        using car_bits::Bits;
        using car_bits::SignedBits;
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
    static EngineWordFields UnpackEngine(std::uint32_t word) {
        using car_bits::Bits;
        return {Bits(word, 0, 7), Bits(word, 7, 7), Bits(word, 14, 7), Bits(word, 21, 11)};
    }

private:
    std::uint32_t full_[9] = {};
    std::uint32_t compact_[4] = {};
    std::uint32_t engine_ = 0;
    std::uint32_t compact2_[4] = {};
};

}  // namespace vra
