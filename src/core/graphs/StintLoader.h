#pragma once
// One stint of the replay's own player: a run of consecutive clean laps of
// one session kind, found in the replay's lap tables, and what the frame
// stream recorded over its time: the engine gauges of every frame and once a
// second the oil pressure and the four tyres' temperatures and pressures.
// Chart points (x in minutes since the stint's start) come from iterators,
// one per curve.
//
// The loader reads the replay's frame stream itself. Every size in it is
// checked: a damaged stream ends the reading with what was collected so
// far, and the stint then does not count as complete.

#include "core/base/Point2D.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vra {

class Drivers;
class ReplaySource;

struct GaugeSample {
    std::uint32_t frame = 0;            // frames since the stint's first frame
    std::uint8_t oilTemperature = 0;    // degrees Celsius
    std::uint8_t waterTemperature = 0;  // degrees Celsius
    std::uint8_t fuelPressure = 0;
};

struct StintSample {
    std::uint32_t frame = 0;
    std::uint8_t oilPressure = 0;
    // Per wheel (LF, RF, LR, RR): three tyre temperatures (degrees Celsius)
    // and the pressure (kPa).
    std::array<float, 16> tyres{};
};

class StintLoader {
public:
    static constexpr int kFramesPerSample = 36;
    static constexpr double kFramesPerMinute = 2160.0;

    // Finds the first stint of at least minLaps clean laps from lap firstLap
    // of kind on, and reads its frames from the replay file that drivers was
    // loaded from, beginning at startOffset (0: the stream's first frame).
    StintLoader(const Drivers& drivers, std::uint64_t startOffset, int kind, int firstLap, int minLaps);
    // The same over a replay's bytes.
    StintLoader(ReplaySource& source, const Drivers& drivers, std::uint64_t startOffset, int kind, int firstLap,
                int minLaps);
    virtual ~StintLoader() = default;

    int FirstLap() const { return firstLap_; }
    int EndLap() const { return endLap_; }
    int LapCount() const { return endLap_ - firstLap_; }
    std::uint64_t EndOffset() const { return endOffset_; }
    std::uint64_t StartOffset() const { return startOffset_; }
    int SessionKind() const { return kind_; }
    bool IsComplete() const { return complete_; }
    int GaugeSampleCount() const { return int(gauges_.size()); }
    int SampleCount() const { return int(samples_.size()); }
    const std::vector<GaugeSample>& GaugeSamples() const { return gauges_; }
    const std::vector<StintSample>& Samples() const { return samples_; }
    std::uint32_t StartTime() const { return startTime_; }
    std::uint32_t EndTime() const { return endTime_; }

    // "Practice", "Qualifying", "Happy Hour", "Race"; "Training" in a
    // replay of two cars.
    std::string SessionName() const;

    void ResetIterators();
    // Each fills p with its next point and returns true; after the last it
    // starts over and returns false. The iterators of one sample array
    // share their cursor.
    bool NextLapTime(Point2D& p);
    bool NextWaterTemp(Point2D& p);
    bool NextOilTemp(Point2D& p);
    bool NextFuelPressure(Point2D& p);
    bool NextOilPressure(Point2D& p);
    bool NextTireTemp(int wheel, int item, Point2D& p);
    bool NextTirePressure(int wheel, Point2D& p);

private:
    bool FindStint(int firstLap);
    void Read(ReplaySource& source, std::uint64_t startOffset);
    template <typename Value>
    bool NextGauge(Point2D& p, Value value);
    template <typename Value>
    bool NextSample(Point2D& p, Value value);

    std::uint32_t gaugeCursor_ = 0, sampleCursor_ = 0;
    int lapCursor_ = 0;
    std::uint32_t lapTimeSum_ = 0;
    bool complete_ = false;
    const Drivers& drivers_;
    std::vector<GaugeSample> gauges_;
    std::vector<StintSample> samples_;
    std::uint64_t startOffset_ = 0, endOffset_ = 0;
    std::uint32_t startTime_ = 0, endTime_ = 0;
    int firstLap_ = -1, endLap_ = -1;
    int minLaps_ = 0;
    int kind_ = 0;
};

}  // namespace vra
