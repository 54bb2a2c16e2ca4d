#pragma once
// The series of the two race graphics, from the race lap tables: each
// competing driver's gap to the lap leader, or his position, at every line
// he crossed. The pace car and the other non-competing cars take no part.

#include "core/base/Rgb.h"

#include <string>
#include <vector>

namespace vra {

class Drivers;

struct RaceGraphPoint {
    int lap = 0;  // the line at the end of this lap; 0 is the start
    double value = 0.0;
};

struct RaceGraphSeries {
    int driver = 0;
    std::string legend;  // "P. #No Name" (Windows-1252)
    Rgb colour;
    std::vector<RaceGraphPoint> points;
};

struct RaceGraph {
    enum class Kind { Gaps, Positions };
    Kind kind = Kind::Gaps;
    // In finishing order.
    std::vector<RaceGraphSeries> series;
    int lastLap = 0;
    // The range of the values: gaps are 0 or below (behind is down),
    // positions 1 to the field's size.
    double minValue = 0.0, maxValue = 0.0;
};

// Gaps in seconds to the first car over each line, negative when behind.
RaceGraph RaceGapSeries(const Drivers& drivers);
// Positions over each line, 1 the first car over it.
RaceGraph RacePositionSeries(const Drivers& drivers);

}  // namespace vra
