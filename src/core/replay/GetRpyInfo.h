#pragma once
// The telemetry of one driver's lap, one sample per frame, extracted from the
// frame stream of a replay. ExtractLap finds the lap's frames and fills the
// raw per-sample arrays; AllocateChannels trims them to the lap, converts them
// to physical units and allocates the derived channels that the lap-channel
// computation fills later.
//
// Samples are numbered 1 to sampleCount; sample 0 holds the start values.
// Every per-sample array has sampleCount + 1 entries and starts zeroed.

#include "core/replay/Drivers.h"
#include "core/replay/ParseCarStructs.h"
#include "core/replay/ReplayFormat.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace vra {

class ReplaySource;

class GetRpyInfo {
public:
    enum class Result : int {
        Ok = 0,
        NotOpened = 1,
        SeekFailed = 2,  // the frame stream runs past the end of the file
        Corrupt = 3,     // an unknown record type, or frame and record sizes that do not fit
        NotValid = 4,    // the lap does not count (or no such lap)
        NotFound = 5,    // the lap's frames are not in the stream, or fewer than 3 samples
    };

    // A lap longer than this many samples (one hour) is not extracted: no
    // real lap is that long, and it bounds what a damaged file can allocate.
    static constexpr int kMaxSamples = kFramesPerSecond * 3600;

    virtual ~GetRpyInfo() = default;

    // Extracts lap `lap` of session `kind` of driver `driver` from the replay
    // that drivers was loaded from. trackLength in metres scales the compact
    // records' distances.
    Result ExtractLap(const Drivers& drivers, int driver, int lap, int kind, float trackLength);
    // The same over the replay's bytes in memory.
    Result ExtractLapFromBytes(std::span<const std::uint8_t> replay, const Drivers& drivers, int driver, int lap,
                               int kind, float trackLength);
    // Trims to the lap with `margin` samples outside each line and converts.
    // Ok on success; NotFound when the lap's start or finish line crossing is
    // not among the samples.
    Result AllocateChannels(int margin);

    // The engine block of record type 100 + index for a sample, or nullptr
    // when the lap holds no blocks.
    const std::uint8_t* Block(int index, int sample) const;

    Result result = Result::Ok;
    bool fullData = true;          // the saving player's lap with engine blocks
    std::uint32_t blockTypes = 0;  // bit i: a record of type 100 + i was met

    const Drivers* drivers = nullptr;  // not owned
    int driverIndex = 0;
    std::filesystem::path path;
    std::uint64_t lapStartMs = 0, lapEndMs = 0;  // from the lap table
    float distanceFactor = 0;                    // 2000 / k for the compact records

    // The extracted range of frames (numbered from 1 in the frame chunk).
    std::uint32_t firstFrame = 0, endFrame = 0;
    std::uint32_t firstFrameTimeMs = 0, endFrameTimeMs = 0;  // their session times
    std::uint64_t firstFrameOffset = 0;
    std::uint64_t endOffset = 0;  // just past the last frame read
    std::uint16_t lastFrameSize = 0;
    std::uint32_t framesInRange = 0;  // frames read + 1

    int sampleCount = 0;

    // Raw per-sample arrays.
    std::vector<std::uint32_t> distance;  // 0.0005 m
    std::vector<std::int32_t> lateral;
    std::vector<std::int16_t> gear;
    std::vector<std::uint32_t> rideHeight;
    std::vector<std::int16_t> heading;
    std::vector<double> rpm;  // raw code until AllocateChannels converts it in revolutions
    std::vector<std::int32_t> pitch, roll;
    std::vector<double> valueG;  // converted in place by AllocateChannels
    std::vector<std::uint32_t> valueH;
    std::vector<std::int16_t> steering;
    std::vector<std::uint16_t> throttle, brake, oilPressure;
    std::array<std::vector<std::uint32_t>, 4> wheelRotation;
    std::array<std::vector<std::int32_t>, 4> suspension;
    std::array<std::vector<std::uint8_t>, 4> wheelDirection;
    std::vector<double> oilTemperature, waterTemperature;
    std::vector<std::uint16_t> fuelPressure, valueI;
    // Engine blocks 100-105, kEngineBlockSize[i] bytes per sample each.
    std::array<std::vector<std::uint8_t>, kEngineBlockCount> blocks;

    // Data quality.
    int foundCount = 0;    // samples with the car's record
    int missingCount = 0;  // samples of another car without its compact record
    int longestGap = 0;    // longest run of consecutive missing samples

    // Converted channels (AllocateChannels).
    std::vector<double> distanceM, lateralM, rideHeightM, revolutions;
    std::array<std::vector<double>, 4> wheelDelta;
    std::int64_t lapTimeMs = 0;                               // measured from the frames
    std::int64_t distanceStepStart = 0, distanceStepEnd = 0;  // raw units per frame
    std::uint32_t lapStartFrame = 0, lapEndFrame = 0;
    bool channelsReady = false;

    // Derived channels, allocated (zeroed) here and filled by the lap channels.
    std::vector<double> mapX, mapY;  // two more entries than samples
    std::vector<std::uint16_t> mapHeading, slipAngle, slipMinusSteering;
    std::vector<double> speed, headingDeg;
    std::vector<double> accelCarLong, accelCarLat, accelTravelLong, accelTravelLat;
    std::vector<double> accelRawX, accelRawY, accelSmoothX, accelSmoothY, accelTotal;
    std::array<std::int64_t, 3> splitMs{};  // at a quarter, half and three quarters

    ParseCarStructs parser;

private:
    Result prepare(const Drivers& d, int driver, int lap, int kind, float trackLength);
    Result extract(ReplaySource& src, int kind, bool useIndex = true);
    Result firstPass(ReplaySource& src, int wanted, std::uint64_t start, std::uint64_t frameEnd);
    void allocateRaw(int n);
};

}  // namespace vra
