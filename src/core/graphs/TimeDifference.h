#pragma once
// The time by which one lap trails another along the lap distance, sampled
// at up to 1000 points, scaled into the y range of the channel on display,
// with the summary texts of the time-difference window.

#include "core/base/Point2D.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vra {

class GetRpyInfo;

struct TimeDiffLap {
    const GetRpyInfo* info = nullptr;
    std::uint32_t lapWord = 0;  // from the lap table; the flags are masked off
};

class TimeDifference {
public:
    static constexpr int kTableSize = 1002;

    // a trails b where the difference is positive. yLow..yHigh is the range
    // the curve is scaled into.
    void Compute(const TimeDiffLap& a, const TimeDiffLap& b, double yLow, double yHigh);

    int N() const { return n_; }
    double Step() const { return step_; }
    double Centre() const { return centre_; }
    double Scale() const { return scale_; }
    double CurveLength() const { return curveLength_; }
    double Difference(int i) const { return table_[static_cast<std::size_t>(i)]; }
    // The sampled points, then the finish-line point last.
    const std::vector<Point2D>& Curve() const { return curve_; }
    // The zero line's two ends.
    std::array<Point2D, 2> ZeroLine() const { return {Point2D{0.0, centre_}, Point2D{finishX_, centre_}}; }

    // The texts of 1037 (at finish line), 1038 (max ahead), 1039 (max behind)
    // and 1040 (spread).
    std::string FinishText() const { return finishText_; }
    std::string AheadText() const { return aheadText_; }
    std::string BehindText() const { return behindText_; }
    std::string SpreadText() const { return spreadText_; }

    // The difference under the cursor at x (empty outside the sampled
    // points), and the ", timediff=" text of the cursor's y.
    std::string PositionText(double x) const;
    std::string CursorText(double y) const;

private:
    int n_ = 1;
    double step_ = 0, centre_ = 0, scale_ = 1, curveLength_ = 0, finishX_ = 0;
    std::array<double, kTableSize> table_{};
    std::vector<Point2D> curve_;
    std::string finishText_, aheadText_, behindText_, spreadText_;
};

// "1m23.456s": minutes only when there are any, the flags masked off.
std::string FormatGraphLapTime(std::uint32_t word);
// Sign ("+" above 0, else "-") and the lap time of the absolute value.
std::string SignedLapTime(double ms);

}  // namespace vra
