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

    static FullCarFields UnpackFull(const std::uint32_t (&w)[9]);
    static CompactCarFields UnpackCompact(const std::uint32_t (&c)[4]);
    static EngineWordFields UnpackEngine(std::uint32_t word);

private:
    std::uint32_t full_[9] = {};
    std::uint32_t compact_[4] = {};
    std::uint32_t engine_ = 0;
    std::uint32_t compact2_[4] = {};
};

}  // namespace vra
