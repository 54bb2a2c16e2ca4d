#pragma once
// Constants of the replay file layout shared by every reader and writer of
// replays: chunk tags, fixed offsets and sizes, frame record types, session
// kinds and the bits of a lap-time word.

#include <cstdint>

namespace vra {

// Chunk tags: four ASCII bytes in file order, compared as one little-endian u32.
namespace ChunkTag {
inline constexpr std::uint32_t File = 0x52504C59;         // "YLPR"
inline constexpr std::uint32_t Header = 0x52504844;       // "DHPR"
inline constexpr std::uint32_t Settings = 0x574B4E46;     // "FNKW"
inline constexpr std::uint32_t DriverTable = 0x44524C53;  // "SLRD"
inline constexpr std::uint32_t Driver = 0x44524E54;       // "TNRD"
inline constexpr std::uint32_t LapChunk = 0x4C505442;     // "BTPL"
inline constexpr std::uint32_t CarLaps = 0x4C50524F;      // "ORPL"
inline constexpr std::uint32_t Frames = 0x52505450;       // "PTPR"
inline constexpr std::uint32_t End = 0x52505253;          // "SRPR"
}  // namespace ChunkTag

inline constexpr std::uint32_t kChunkHeaderSize = 12;
// A chunk body of size s occupies s rounded up to a multiple of 4.
constexpr std::uint64_t PaddedSize(std::uint64_t size) {
    return (size + 3) & ~std::uint64_t{3};
}

// Layout of the leading chunks.
inline constexpr std::uint32_t kFileChunkSize = 12;
inline constexpr std::uint32_t kHeaderChunkOffset = 12;
inline constexpr std::uint32_t kHeaderBodySize = 60;
inline constexpr std::uint32_t kHeaderChunkSize = 72;  // chunk header and 60 body bytes
inline constexpr std::uint32_t kSettingsChunkOffset = 84;
inline constexpr std::uint32_t kSettingsBodySize = 173;
inline constexpr std::uint32_t kSettingsChunkSize = 188;  // chunk header and 176 body bytes
inline constexpr std::uint32_t kDriverTableOffset = 272;
inline constexpr std::uint32_t kReplayVersion = 5;

// File offsets within the header chunk (current layout).
namespace HeaderOffset {
inline constexpr std::uint32_t HeaderBodySize = 20;
inline constexpr std::uint32_t FrameCount = 24;
inline constexpr std::uint32_t FrameBytes = 28;
inline constexpr std::uint32_t LastFrameSize = 32;
inline constexpr std::uint32_t SavingPlayer = 36;
inline constexpr std::uint32_t FirstName = 40;
inline constexpr std::uint32_t LastName = 56;
inline constexpr std::uint32_t LastSessionKind = 80;
inline constexpr std::uint32_t TrackName = 96;
inline constexpr std::uint32_t QuickRaceByte = 199;
}  // namespace HeaderOffset

// Driver table.
inline constexpr std::uint32_t kDriverRecordSize = 188;  // one "TNRD" chunk
inline constexpr std::uint32_t kDriverBodySize = 175;
inline constexpr int kMaxDrivers = 49;  // a table of 50 or more is refused
inline constexpr int kMaxLaps = 512;
inline constexpr int kLapTableSize = kMaxLaps + 1;  // entry 0 is the first stamp
inline constexpr std::uint32_t kLapTableFill = 0xCDCDCDCD;
inline constexpr std::uint32_t kLapTableInitialRace = 0x11111111;
inline constexpr std::uint32_t kWindowOpen = 0xFFFFFFFF;

// Driver types as stored in the file and as kept.
inline constexpr std::uint8_t kFileDriverHuman = 150;
inline constexpr std::uint8_t kFileDriverAi = 250;
inline constexpr std::uint16_t kPaceCarNumber = 65535;
enum DriverType : int { DriverHuman = 0, DriverAi = 1, DriverNonCompeting = 2 };

// Session kinds, in lap tables, session records and lap slots.
enum SessionKind : int { Practice = 0, Qualifying = 1, HappyHour = 2, Race = 3 };
inline constexpr int kSessionKinds = 4;
// State of a session record meaning the race is finished and official.
inline constexpr std::uint32_t kSessionStateOfficial = 6;

// Lap-time word: low 28 bits milliseconds, high 4 bits flags of the lap.
namespace LapWord {
inline constexpr std::uint32_t TimeMask = 0x0FFFFFFF;
inline constexpr std::uint32_t FlagMask = 0xF0000000;
inline constexpr std::uint32_t Incomplete = 1u << 28;
inline constexpr std::uint32_t Pitted = 1u << 29;
inline constexpr std::uint32_t OffTrack = 1u << 30;
inline constexpr std::uint32_t BlackFlag = 1u << 31;
}  // namespace LapWord

// Frame stream.
inline constexpr std::uint32_t kFrameHeaderSize = 8;
inline constexpr std::uint32_t kRecordHeaderSize = 4;
inline constexpr int kFramesPerSecond = 36;
inline constexpr double kFrameMs = 1000.0 / 36.0;

enum RecordType : std::uint16_t {
    RecFullCar = 1,      // the saving player's car, 36-byte body
    RecEngineWord = 2,   // the saving player's engine word, 4-byte body
    RecCompactCars = 3,  // 16 bytes per other car
    RecRaceControl = 9,  // 12-byte body
    RecCarStatus = 10,   // any length, read by the reports only
    RecSession = 13,     // session word
    RecRaceStart = 14,   // first u32 is the race-start word
    RecBlock100 = 100,   // engine blocks 100-105 of the saving player's car
    RecBlock101 = 101,
    RecBlock102 = 102,
    RecBlock103 = 103,
    RecBlock104 = 104,
    RecBlock105 = 105,
};

inline constexpr std::uint32_t kFullRecordSize = 36;
inline constexpr std::uint32_t kCompactRecordSize = 16;
inline constexpr int kEngineBlockCount = 6;
// Body sizes of the engine blocks 100 to 105.
inline constexpr std::uint32_t kEngineBlockSize[kEngineBlockCount] = {20, 76, 64, 64, 12, 20};

// Record types that the replay walkers know but do not use. Anything that is
// neither in this list nor handled by a walker (type 7 among them) is an error.
constexpr bool IsSkipRecordType(std::uint32_t type) {
    return type == 4 || type == 5 || type == 6 || type == 8 || type == 11 || type == 12 || (type >= 15 && type <= 32) ||
           type == 116 || type == 117;
}
namespace detail {
constexpr bool ListedRecordType(std::uint32_t type) {
    return IsSkipRecordType(type) || type == RecFullCar || type == RecEngineWord || type == RecCompactCars ||
           type == RecRaceControl || type == RecCarStatus || type == RecSession || type == RecRaceStart ||
           (type >= RecBlock100 && type <= RecBlock105);
}
struct RecordTypeTable {
    bool known[128] = {};
    constexpr RecordTypeTable() {
        for (std::uint32_t t = 0; t < 128; ++t) known[t] = ListedRecordType(t);
    }
};
inline constexpr RecordTypeTable kRecordTypes{};
}  // namespace detail

// Every type that may appear in a frame (one look-up: the walkers ask for
// every record of long replays).
constexpr bool IsKnownRecordType(std::uint32_t type) {
    return type < 128 && detail::kRecordTypes.known[type];
}

// Session word of a type-13 record.
constexpr int SessionWordKind(std::uint32_t w) {
    return static_cast<int>(w & 3);
}
constexpr std::uint32_t SessionWordState(std::uint32_t w) {
    return (w >> 4) & 15;
}
constexpr std::uint32_t SessionWordTimeMs(std::uint32_t w) {
    return ((w >> 8) & 0xFFFFFF) * 10;
}
// A quick race numbers its sessions 0 for qualifying and 1 for race.
constexpr std::uint32_t QuickRaceSessionWord(std::uint32_t w) {
    switch (w & 3) {
        case 1:
            return (w & ~3u) | Race;
        case 0:
            return (w & ~3u) | Qualifying;
        default:
            return w;
    }
}

}  // namespace vra
