#pragma once
// Writes replay files from a description, for tests, fuzz seeds, benchmarks
// and the demo simulation folder. Every field of the file is settable, so
// that tests can also build broken replays; the layout of what was written
// (chunk and frame offsets) is reported for byte-level mutation.
//
// The builder knows the file format on its own and does not use the readers
// under test. Cars move along a track of the given length at the lap times of
// their lap tables; a caller may supply their lateral offsets.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vra::simkit {

// Fields of the saving player's full record (type 1), before packing.
struct FullRecordFields {
    std::uint32_t distance = 0;  // 0.0005 m; set from the car's motion
    int gear = 3;
    std::array<std::uint32_t, 4> wheelDirection{};
    std::int32_t lateral = 0;  // raw code; set from the car's lateral offset
    std::uint32_t rideHeight = 100;
    std::uint32_t rpmCode = 400;
    std::int32_t heading = 0, pitch = 0, roll = 0;
    std::uint32_t valueG = 0;  // w3 bits 17-24
    std::uint32_t valueH = 0;  // w3 bits 20-24, ORed over valueG's upper bits
    std::int32_t steering = 0;
    std::array<std::uint32_t, 4> wheelRotation{};
    std::array<std::int32_t, 4> suspension{};
    std::uint32_t oilPressure = 60;
    std::uint32_t w7 = 0;
    std::uint32_t throttle = 200, brake = 0;
};

// Fields of one compact record (type 3) of another car.
struct CompactRecordFields {
    std::uint32_t valueG = 0;  // c0 bits 11-15
    std::int32_t pitch = 0;
    std::uint32_t distance = 0;   // units of 1/k m; set from the car's motion
    std::uint32_t carIdByte = 0;  // set from the driver's car id
    std::int32_t roll = 0;
    std::uint32_t rpmCode = 400;
    std::uint32_t valueH = 0;  // c2 bits 16-22, ORed
    std::uint32_t rideHeight = 50;
    std::int32_t heading = 0;
    std::int32_t lateral = 0;  // raw code; set from the car's lateral offset
    int gear = 3;
};

struct EngineWordFields {
    std::uint32_t oilTemperature = 90, waterTemperature = 85, fuelPressure = 50, valueI = 0;
};

struct DriverDesc {
    std::string firstName, lastName, nickname, fourthText;
    std::uint8_t type = 250;  // 150 human, 250 AI, other non-competing
    std::uint8_t physics = 1;
    std::uint16_t carNumber = 1;
    std::uint32_t carId = 1;
    std::uint32_t word = 0;               // the "TNRD" chunk word
    std::array<std::uint8_t, 5> bytes{};  // driver bytes 1-5
    std::uint16_t word6 = 0;
};

// One car's part in one session.
struct CarSession {
    bool onTrack = true;                // appears in the frames
    bool writeLapRecord = true;         // has an "ORPL" in the session's lap chunk
    std::uint32_t firstStampMs = 5000;  // session time at which the first lap began
    // Lap-time words: low 28 bits the lap's duration in ms, high 4 bits its flags.
    std::vector<std::uint32_t> laps;
};

struct SessionDesc {
    int kind = 3;                  // 0 practice, 1 qualifying, 2 happy hour, 3 race
    int streamKind = -1;           // kind in the session records; -1: kind (quick races renumber)
    bool writeLapChunk = true;     // a "BTPL" chunk for this session
    std::uint32_t startMs = 0;     // session time of the first frame
    std::uint32_t durationMs = 0;  // 0: until the last car's last lap end + tailMs
    std::uint32_t tailMs = 3000;
    std::uint32_t state = 0;                   // session state bits 4-7 of the session word
    std::vector<CarSession> cars;              // by driver index; missing entries are not on track
    std::optional<std::uint32_t> raceStartMs;  // a type-14 record in the first frame at or after this time
    std::uint32_t raceStartWord = 0x1234;
};

struct HeaderDesc {
    std::uint32_t fileWord = 5;                  // low byte: version
    std::optional<std::uint32_t> fileSizeField;  // default: file size - 12
    std::uint32_t headerWord = 1;
    std::uint32_t headerBodySize = 60;  // other values add zero bytes after the 60
    std::optional<std::uint32_t> frameCount, frameBytes;
    std::optional<std::uint16_t> lastFrameSize;
    std::uint32_t savingPlayer = 0;
    std::optional<std::string> savingFirstName, savingLastName;  // default: that driver's names
    std::optional<std::uint32_t> lastSessionKind;                // default: from the last session
};

struct SettingsDesc {
    std::uint32_t word = 0;
    std::uint32_t bodySize = 173;
    std::string trackName = "DEMO";
    std::string secondText;
    std::uint8_t rules = 0x10;    // byte 174: yellow flags on
    std::uint8_t modes = 0;       // byte 175
    std::uint8_t wear = 0;        // byte 176
    std::uint8_t weather = 0;     // byte 180
    std::uint8_t conditions = 0;  // byte 184
    std::uint8_t temperature = 22, windSpeed = 5;
    std::uint8_t aiStrength = 95, raceDistance = 100;
    std::uint8_t fixedSetup = 0;
    std::uint8_t aiCars = 0;
    std::uint8_t quickRace = 0;      // byte 199; 2 is a quick race
    std::uint8_t quickQualLaps = 0;  // byte 205
    std::uint32_t practiceWord = 0x439600, qualifyingWord = 2u << 8, happyHourWord = 0x439600, raceWord = 10u << 8;
};

// One frame record as it will be written.
struct FrameRecord {
    std::uint16_t type = 0;
    int length = -1;  // the length field; -1: 4 + body size
    std::vector<std::uint8_t> body;
};

struct FrameContext {
    int session = 0;  // index into ReplayDesc::sessions
    std::uint32_t frameInSession = 0;
    std::uint64_t frameNumber = 1;  // in the whole stream, from 1
    double sessionMs = 0;
    std::vector<FrameRecord> records;  // what will be written; hooks may edit it
};

struct ReplayDesc {
    HeaderDesc header;
    SettingsDesc settings;
    std::vector<DriverDesc> drivers;
    std::vector<SessionDesc> sessions;
    double trackLength = 2500.0;
    bool sessionRecords = true;
    bool fullRecords = true;
    bool engineWord = true;
    bool engineBlocks = false;
    bool compactRecords = true;
    int raceControlEvery = 0;  // frames; 0 none
    // The race-control records of a race session carry its flag as the race
    // runs, and one more is written in the frame where the flag changes: 0
    // until the first car starts its first lap, 4 while racing, 2 from when
    // the first car starts the last lap, 1 from when it finishes. Otherwise
    // every record carries 2.
    bool raceFlags = false;
    int carStatusEvery = 0;
    int paddingEvery = 0;  // a record of a skipped type
    std::uint16_t paddingType = 20;
    int paddingLength = 9;
    bool writeEndChunk = true;

    std::function<double(int driver, double sessionMs)> lateral;  // metres, left positive
    std::function<void(const FrameContext&, FullRecordFields&)> fullHook;
    std::function<void(const FrameContext&, int driver, CompactRecordFields&)> compactHook;
    std::function<void(const FrameContext&, EngineWordFields&)> engineHook;
    // Fills an engine block body (type 100-105); default: a float pattern.
    std::function<void(const FrameContext&, int type, std::span<std::uint8_t> body)> blockHook;
    std::function<void(FrameContext&)> frameHook;  // last word on every frame
};

struct ReplayLayout {
    std::uint64_t fileSize = 0;
    std::uint64_t settingsChunk = 0;
    std::uint64_t driverTable = 0;
    std::vector<std::uint64_t> lapChunks;
    std::vector<std::vector<std::uint64_t>> carLaps;  // per lap chunk, its "ORPL" offsets
    std::uint64_t frameChunk = 0;
    std::vector<std::uint64_t> frames;             // offset of every frame
    std::vector<std::uint64_t> sessionFirstFrame;  // index into frames per session
    std::uint64_t endChunk = 0;
};

// Body sizes of the engine blocks 100 to 105.
inline constexpr std::uint32_t kBuilderBlockSize[6] = {20, 76, 64, 64, 12, 20};

class ReplayBuilder {
public:
    ReplayDesc desc;

    // n drivers: driver 0 a human "Alex Morgan" (the saving player), the rest
    // AI cars "Driver<i> Racer<i>", car ids 10 + i, car numbers 1 + i.
    ReplayBuilder& drivers(int n);
    // Adds a session in which every driver drives `laps` laps of lapMs + 250 ms
    // times its index, the first beginning at firstStampMs.
    ReplayBuilder& session(int kind, int laps, std::uint32_t lapMs, std::uint32_t firstStampMs = 5000);
    ReplayBuilder& trackLength(double metres);
    ReplayBuilder& engineBlocks(bool on = true);

    std::vector<std::uint8_t> build();
    // Streams the replay to disk, never holding more than a frame in memory.
    bool writeFile(const std::filesystem::path& path);
    const ReplayLayout& layout() const { return layout_; }

    // Session time at which lap `lap` (1-based) of a car began and ended.
    static std::uint64_t LapStartMs(const CarSession& car, int lap);
    static std::uint64_t LapEndMs(const CarSession& car, int lap);
    // Where a car is at a session time: metres along the lap.
    static double DistanceAt(const CarSession& car, double sessionMs, double trackLength);
    // Scale of the compact records' distances: units per metre.
    static float CompactUnitsPerMetre(double trackLength);

    // Where the bytes go: memory or a file.
    class Sink;

private:
    bool write(Sink& sink);
    ReplayLayout layout_;
};

// Packs the records' words, as the simulation writes them.
std::array<std::uint32_t, 9> PackFullRecord(const FullRecordFields& f);
std::array<std::uint32_t, 4> PackCompactRecord(const CompactRecordFields& f);
std::uint32_t PackEngineWord(const EngineWordFields& f);
// Raw lateral codes for an offset in metres.
std::int32_t FullLateralCode(double metres);
std::int32_t CompactLateralCode(double metres);

}  // namespace vra::simkit
