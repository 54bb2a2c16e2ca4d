#pragma once
// A replay in which every loaded lap is one car and all of them drive at the
// same time, built from the laps' converted channels. Its driver 0 carries
// the name that marks files written by this program.

#include "core/replay/WriterOutput.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vra {

class GetRpyInfo;

struct MergedLap {
    const GetRpyInfo* info = nullptr;  // channels allocated
    std::string firstName, lastName, fourthText;
    std::uint8_t driverByte1 = 0;
    std::uint8_t physics = 0;
    std::uint32_t lapWord = 0;      // flags and milliseconds
    std::uint32_t advantageMs = 0;  // the car starts this far into its lap
};

struct MergeInput {
    std::vector<MergedLap> laps;  // slot order, 1 to 5
    std::string trackName;        // settings texts of the first lap's replay
    std::string secondText;
    std::uint8_t physics = 0;          // of the first lap's driver
    double distanceUnit = 1 / 1024.0;  // metres per step of the packed distance
};

// The sample of a lap that frame i (from 1) shows: the lap moved on by its
// advantage in frames, holding its last sample once the lap has ended.
int MergedSample(int frame, std::uint32_t advantageMs, int sampleCount);

// The four words of lap j's compact record in frame i.
struct CompactWords {
    std::uint32_t c0, c1, c2, c3;
};
CompactWords MergedCompactRecord(const MergedLap& lap, int j, int frame, double distanceUnit);

// Frames written: the smallest sample count of the laps.
int MergedFrameCount(const MergeInput& input);

// false when the input holds no lap (or more than five, or a lap too short)
// or out refuses bytes.
bool WriteMergedReplay(const MergeInput& input, OutputSink& out);

}  // namespace vra
