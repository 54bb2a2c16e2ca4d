#pragma once
// The series builders: each turns one lap's samples of one channel into a
// series of the graph (x the distance along the lap in metres, y the
// channel's value in its display unit) and chooses the channel's y range.

#include "core/base/Rgb.h"
#include "core/document/LapChannels.h"

namespace vra {

class GetRpyInfo;
class GraphModel;

// What carries over from one builder call to the next.
struct BuilderRanges {
    double xExtent = 1.0;  // the longest distance plotted since the graph was cleared
    double yLow = 0.0;
    double yHigh = 1.0;
};

// The samples a basic channel plots of a lap of `count` samples, first to
// last; none (first > last) for a lap too short to plot.
struct PlottedSamples {
    int first = 1;
    int last = 0;
};
PlottedSamples BasicChannelSamples(int code, int count);

inline constexpr int kSpeedChannel = 1;

struct BuilderLap {
    const GetRpyInfo* info = nullptr;
    const LockedWheels* locked = nullptr;  // may be empty
    Rgb lapColour;
    Rgb wheelColours[4];
};

// Adds one series of channel code for lap slot (wheel 0-3 for the per-wheel
// channels) and returns its slot, -1 when the graph is full. speedUnit 1
// plots miles per hour and inches.
int AddChannelSeries(GraphModel& graph, int code, int lapSlot, int wheel, const BuilderLap& lap, int speedUnit,
                     BuilderRanges& ranges);

// The acceleration of the car at sample i in its own frame from the chassis
// records of samples i - 1 and i, in g: component 0 longitudinal, 1 lateral,
// 2 normal.
float ChassisAcceleration(const unsigned char* previous, const unsigned char* current, int component);

}  // namespace vra
