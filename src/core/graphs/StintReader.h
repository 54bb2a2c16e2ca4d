#pragma once
// The stints of the player's replays that the stint analyser lists and
// plots: read replay by replay and kind by kind, chaining one loader after
// the other, at most 50; for each its list row and the points of its 13
// curves; and which curve of the chart each plotted series is.

#include "core/base/Point2D.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vra {

class CRpyGraphDoc;
class Prompts;
class StintLoader;
class WaitBox;

struct StintSeries {
    std::vector<Point2D> points;
    int count = 0;
    bool plotted = false;
    int curveIndex = -1;  // in the chart; -1 while not plotted
};

// The chart the series are drawn in.
class StintChart {
public:
    virtual ~StintChart() = default;
    virtual int CurveCount() = 0;
    virtual void DeleteCurve(int index) = 0;
    // Adds the series as the chart's last curve.
    virtual void AddCurve(const StintSeries& series, int yAxis, const std::string& label, bool markers) = 0;
};

class StintReader {
public:
    static constexpr int kMaxStints = 50;
    static constexpr int kOptions = 13;
    static constexpr int kFirstTyreOption = 5;

    struct Option {
        const char* box;
        const char* curve;
        int yAxis;
    };
    static const std::array<Option, kOptions> kOptionTable;

    struct Request {
        std::array<bool, 5> replays{};  // by lap slot
        std::array<bool, 4> kinds{};    // practice, qualifying, happy hour, race
        int minLaps = 3;
    };

    struct Row {
        std::string stint;    // "slot:number", both from 1
        std::string session;  // the session's name
        std::string laps;     // "first-last"
    };

    // Reads the stints of the requested replays; tells the user what is
    // missing or why the reading stopped. Returns the number of stints read
    // by now.
    int Read(const CRpyGraphDoc& doc, const Request& request, Prompts& prompts, WaitBox& wait);

    int StintCount() const { return int(rows_.size()); }
    const Row& RowOf(int stint) const { return rows_.at(std::size_t(stint)); }
    // Null where the stint has no such curve.
    StintSeries* Series(int stint, int option);
    // Plots the curve of option for stint, or removes it when plotted.
    void Toggle(int stint, int option, StintChart& chart);

    // Whether the loaded lap of slot carries tyre records.
    static bool HasTyreTelemetry(const CRpyGraphDoc& doc, int slot);

private:
    void AddStint(int slot, int number, StintLoader& loader, bool tyres);

    std::vector<Row> rows_;
    std::array<std::unique_ptr<StintSeries>, kMaxStints * kOptions> series_;
};

// A replay's name as the analyser shows it: its file name without the last
// extension ("race.v2.rpy" gives "race.v2").
std::string StintReplayLabel(const std::string& fileName);

// A 64-bit progress value scaled with its maximum into 32 bits.
std::int32_t ScaledProgress(std::uint64_t value, std::uint64_t maximum);

}  // namespace vra
