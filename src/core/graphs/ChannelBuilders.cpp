#include "core/graphs/ChannelBuilders.h"

#include "core/graphs/GraphModel.h"
#include "core/replay/GetRpyInfo.h"

#include <fmt/format.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace vra {

namespace {

// A per-sample array, read as 0 outside its samples (a negative index turns
// into a huge one and reads 0 too).
template <class T>
class Samples {
public:
    explicit Samples(const std::vector<T>& v) : data_(v.data()), size_(v.size()) {}
    double operator[](int i) const {
        const auto at = static_cast<std::size_t>(i);
        return at < size_ ? static_cast<double>(data_[at]) : 0.0;
    }

private:
    const T* data_;
    std::size_t size_;
};

float F32(const std::uint8_t* block, std::size_t offset) {
    if (!block) return 0.0f;
    float v;
    std::memcpy(&v, block + offset, sizeof v);
    return v;
}

// One engine block's records, null where GetRpyInfo::Block gives none: past
// the lap's samples or past the bytes read.
class Records {
public:
    Records(const GetRpyInfo& d, int index)
        : data_(d.blocks[static_cast<std::size_t>(index)].data()), size_(kEngineBlockSize[index]) {
        const std::size_t held = d.blocks[static_cast<std::size_t>(index)].size() / size_;
        const std::size_t samples = d.sampleCount < 0 ? 0 : static_cast<std::size_t>(d.sampleCount) + 1;
        count_ = std::min(held, samples);
    }
    const std::uint8_t* operator[](int i) const {
        const auto at = static_cast<std::size_t>(i);
        return at < count_ ? data_ + at * size_ : nullptr;
    }
    double F32(int i, std::size_t offset) const { return static_cast<double>(vra::F32((*this)[i], offset)); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t count_;
};

// Where a channel's points go, and what its ranges keep of them: the last
// point, and the lowest and highest y (each from 0).
struct Series {
    GraphModel& graph;
    int slot;
    std::optional<Point2D> last;
    double low = 0.0, high = 0.0;

    void Take(const CPointsCollection::Run& run, bool rising) {
        if (run.points.empty()) return;
        // The run's y are all numbers: its least and greatest stand for all.
        low = std::min(low, run.lowY);
        high = std::max(high, run.highY);
        last = run.points.back();
        if (rising)
            graph.AddPoints(slot, run, 0);
        else
            graph.AddPoints(slot, run.points, 0);
    }
};

// Plots value(i) at sample i's distance for i = from..last. A value that is
// not a number is left out (physics records are file bytes: it would wreck
// every extent and range after it), and so is 0 where it means "nothing".
template <class Value>
void Plot(Series& out, const GetRpyInfo& d, int from, int last, bool leaveOutZero, Value value) {
    // A few hundred points at a time, from a buffer that stays in the
    // first-level cache, watched as they go by so that the series need not
    // look at them again: whether x rises, and the lowest and highest y.
    constexpr double inf = std::numeric_limits<double>::infinity();
    Point2D points[256];
    std::size_t n = 0;
    bool rising = true;
    double previous = -inf, low = inf, high = -inf;
    const Samples distance(d.distanceM);
    for (int i = from; i <= last; ++i) {
        const double y = value(i);
        // The bits without the sign: 0 for a zero, from kInfinite on for an
        // infinity or not a number.
        const std::uint64_t bits = std::bit_cast<std::uint64_t>(y) << 1;
        constexpr std::uint64_t kInfinite = std::uint64_t{0x7FF} << 53;
        if (leaveOutZero ? bits - 1 >= kInfinite - 1 : bits >= kInfinite) continue;
        const double x = distance[i];
        rising &= x > previous;
        previous = x;
        low = std::min(low, y);
        high = std::max(high, y);
        points[n++] = Point2D{x, y};
        if (n == std::size(points)) {
            out.Take({points, low, high}, rising);
            n = 0;
            rising = true;
            previous = -inf, low = inf, high = -inf;
        }
    }
    out.Take({std::span(points, n), low, high}, rising);
}

struct Range {
    double low, high;
};

// The y range of each basic channel; Acceleration (lat) and Elapsed time
// compute theirs.
Range BasicRange(int code, int speedUnit) {
    const bool imperial = speedUnit == 1;
    switch (code) {
        case 1:
            return imperial ? Range{0, 250} : Range{0, 350};
        case 2:
            return {0, 7};
        case 3:
            return {400, 10000};
        case 4:
            return {-25, 25};
        case 5:
            return {-2.0, 1.5};
        case 7:
            return {0, 3.0};
        case 8:
            return imperial ? Range{15 * 0.3937, 60 * 0.3937} : Range{15, 60};
        case 9:
            return {-128, 128};
        case 10:
            return {-255, 255};
        case 11:
            return {-64, 64};
        case 12:
            return {-90, 5};
        case 13:
            return {0, 360};
        case 15:
            return {0, 100};
        case 16:
            return {0, 7};
        case 17:
            return {-1, 2};
        case 18:
            return {0, 10};
        case 19:
        case 20:
            return {60, 320};
        default:
            return {-5, 105};  // throttle, brake
    }
}

Range AdvancedRange(int code) {
    switch (code) {
        case 24:
            return {-500, 750};
        case 25:
            return {-300, 800};
        case 26:
            return {-2.0, 1.5};
        case 28:
            return {0, 2.5};
        case 29:
            return {-5, 105};
        case 30:
            return {-20, 20};
        case 31:
        case 32:
        case 33:
            return {60, 300};
        case 34:
            return {10, 60};
        case 35:
            return {-8, 7};
        case 36:
            return {0, 3500};
        case 37:
            return {-1.0, 4.5};
        default:
            return {0, 40};  // wheel speed
    }
}

int FirstSample(int code) {
    switch (code) {
        case 5:
        case 6:
        case 7:
            return 12;
        case 16:
            return 13;
        default:
            return 2;
    }
}

// Speed and total acceleration stop a sample earlier than the others.
int LastSample(int code, int count) {
    return code == 1 || code == 7 ? count - 3 : count - 2;
}

void PlotBasic(Series& out, int code, int wheel, const GetRpyInfo& d, const LockedWheels* locked, int from, int last,
               int speedUnit) {
    const bool imperial = speedUnit == 1;
    const auto plot = [&](auto value) { Plot(out, d, from, last, false, value); };
    switch (code) {
        case 1:
            return plot([s = Samples(d.speed), imperial](int i) { return imperial ? s[i] * 0.621 : s[i]; });
        case 2:
            // Neutral is left out.
            return Plot(out, d, from, last, true, [s = Samples(d.gear)](int i) { return s[i]; });
        case 3:
            return plot([s = Samples(d.revolutions)](int i) { return s[i]; });
        case 4:
            // Whole degrees, signed, held in an unsigned array.
            return plot([a = d.slipAngle.data(), n = d.slipAngle.size()](int i) {
                const auto at = static_cast<std::size_t>(i);
                return at < n ? static_cast<double>(static_cast<std::int16_t>(a[at])) : 0.0;
            });
        case 5:
            return plot([s = Samples(d.accelCarLong)](int i) { return s[i]; });
        case 6:
            return plot([s = Samples(d.accelCarLat)](int i) { return s[i]; });
        case 7:
            return plot([s = Samples(d.accelTotal)](int i) { return s[i]; });
        case 8:
            return plot([s = Samples(d.rideHeightM), imperial](int i) {
                const double cm = s[i] * 100.0;
                return imperial ? cm * 0.3937 : cm;
            });
        case 9:
            return plot([s = Samples(d.pitch)](int i) { return s[i]; });
        case 10:
            return plot([s = Samples(d.roll)](int i) { return s[i]; });
        case 11:
            return plot([s = Samples(d.steering)](int i) { return s[i]; });
        case 12:
            return plot([s = Samples(d.suspension[static_cast<std::size_t>(wheel)])](int i) { return s[i]; });
        case 13:
            return plot([s = Samples(d.heading)](int i) { return 180.0 - s[i] * 0.087890625; });
        case 14:
            return plot([](int i) { return i / 36.0; });
        case 15:
            return plot([s = Samples(d.oilPressure)](int i) { return s[i] * 0.805; });
        case 16:
            return plot([s = Samples(d.accelCarLat)](int i) { return std::fabs((s[i] - s[i - 1]) * 36.0); });
        case 17:
            if (!locked) return plot([](int) { return 0.0; });
            return plot([s = Samples((*locked)[static_cast<std::size_t>(wheel)])](int i) { return s[i]; });
        case 18:
            return plot([s = Samples(d.fuelPressure)](int i) { return s[i] * 0.805; });
        case 19:
            return plot([s = Samples(d.oilTemperature)](int i) { return s[i] * 2.16 + 32.0; });
        case 20:
            return plot([s = Samples(d.waterTemperature)](int i) { return s[i] * 2.16 + 32.0; });
        case 22:
            return plot([s = Samples(d.throttle)](int i) { return s[i] * 0.3921568627450981; });
        default:
            return plot([s = Samples(d.brake)](int i) { return s[i] * 100.0 / 255.0; });
    }
}

void PlotAdvanced(Series& out, int code, int wheel, const GetRpyInfo& d, int from, int last) {
    const std::size_t w = static_cast<std::size_t>(wheel) * 16;
    // Physics values of 0 mean "not recorded".
    const auto plot = [&](auto value) { Plot(out, d, from, last, true, value); };
    switch (code) {
        case 24:
            return plot([r = Records(d, 4)](int i) { return r.F32(i, 4) * static_cast<double>(0.0013410219f); });
        case 25:
            return plot([r = Records(d, 4)](int i) { return r.F32(i, 8); });
        case 26:
        case 27:
        case 28:
            return plot([r = Records(d, 1), k = code - 26](int i) {
                const std::uint8_t* prev = r[i - 1];
                const std::uint8_t* cur = r[i];
                return prev && cur ? static_cast<double>(ChassisAcceleration(prev, cur, k)) : 0.0;
            });
        case 29:
            return plot([r = Records(d, 5)](int i) { return r.F32(i, 8); });
        case 30:
            return plot([r = Records(d, 1)](int i) { return r.F32(i, 72); });
        case 31:
        case 32:
        case 33:
            return plot([r = Records(d, 3), at = w + 4 * static_cast<std::size_t>(code - 31)](int i) {
                return r.F32(i, at) * static_cast<double>(1.8f) + 32.0;
            });
        case 34:
            return plot([r = Records(d, 3), w](int i) { return r.F32(i, w + 12) * static_cast<double>(0.1450377f); });
        case 35:
            return plot([r = Records(d, 2), w](int i) { return r.F32(i, w + 8) * static_cast<double>(57.295826f); });
        case 36:
            return plot([r = Records(d, 2), w](int i) { return r.F32(i, w + 12) * static_cast<double>(0.2248f); });
        case 37:
            return plot([r = Records(d, 2), w](int i) { return r.F32(i, w + 4) * static_cast<double>(39.372f); });
        default:
            return plot([r = Records(d, 2), w](int i) {
                return r.F32(i, w + 0) * static_cast<double>(57.295826f) * 0.002777777777777778;
            });
    }
}

bool UsesWheelColour(int code) {
    return code == 12 || code == 17 || code >= 31;
}

}  // namespace

float ChassisAcceleration(const unsigned char* previous, const unsigned char* current, int component) {
    float d[3], a[3];
    for (int k = 0; k < 3; ++k) d[k] = F32(current, 16 + 4 * k) - F32(previous, 16 + 4 * k);
    const float g[3] = {0.0f, 0.0f, 9.80665f};
    for (int k = 0; k < 3; ++k) a[k] = 36.0f * d[k] + g[k];
    // Column component of the rotation (yaw, pitch, roll) times a; the
    // longitudinal column needs no roll, and a sine costs more than the rest.
    const float yaw = F32(current, 28), pitch = F32(current, 32);
    const float cy = std::cos(yaw), sy = std::sin(yaw), cp = std::cos(pitch), sp = std::sin(pitch);
    float r[3];
    if (component == 0) {
        r[0] = cy * cp, r[1] = sy * cp, r[2] = -sp;
    } else {
        const float roll = F32(current, 36);
        const float cr = std::cos(roll), sr = std::sin(roll);
        if (component == 1)
            r[0] = cy * sp * sr - sy * cr, r[1] = sy * sp * sr + cy * cr, r[2] = cp * sr;
        else
            r[0] = cy * sp * cr + sy * sr, r[1] = sy * sp * cr - cy * sr, r[2] = cp * cr;
    }
    const float inv = static_cast<float>(1.0 / 9.80665);
    const float c = r[0] * a[0] + r[1] * a[1] + r[2] * a[2];
    return c * inv;
}

PlottedSamples BasicChannelSamples(int code, int count) {
    if (count <= 5) return {};
    return {FirstSample(code), LastSample(code, count)};
}

int AddChannelSeries(GraphModel& graph, int code, int lapSlot, int wheel, const BuilderLap& lap, int speedUnit,
                     BuilderRanges& ranges) {
    const bool advanced = code >= 24;
    wheel = std::clamp(wheel, 0, 3);
    const Rgb colour = UsesWheelColour(code) ? lap.wheelColours[wheel] : lap.lapColour;
    const std::string name = fmt::format("New graph - {}", lapSlot);

    int first = -1;
    const bool hadNone = code == 14 || advanced || graph.GetFirstGraph(first) == nullptr;
    const int slot = graph.AddGraph(colour, name, 1, true, false);
    const GetRpyInfo* d = lap.info;
    const int count = d ? d->sampleCount : 0;

    if (advanced) {
        if (!d || !d->fullData) {
            graph.Redraw(1);
            return slot;
        }
        const int from = code >= 26 && code <= 28 ? 3 : 2;
        Series series{graph, slot, {}};
        std::optional<double> lastX;
        if (slot != -1 && count > 5) {
            graph.GetGraph(slot)->Reserve(count);
            PlotAdvanced(series, code, wheel, *d, from, count - 2);
            if (from <= count - 2) lastX = Samples(d->distanceM)[count - 2];
        }
        if (lastX && *lastX > ranges.xExtent) ranges.xExtent = *lastX;
        if (code == 27) {
            ranges.yLow = series.low - 0.5;
            ranges.yHigh = series.high + 0.5;
        } else {
            const Range r = AdvancedRange(code);
            ranges.yLow = r.low;
            ranges.yHigh = r.high;
        }
        graph.SetRange(0.0, ranges.xExtent, ranges.yLow, ranges.yHigh, 1);
        graph.Redraw(1);
        return slot;
    }

    Series series{graph, slot, {}};
    std::optional<double> lastX;
    if (slot != -1 && count > 5 && d) {
        graph.GetGraph(slot)->Reserve(count);
        const auto [from, last] = BasicChannelSamples(code, count);
        PlotBasic(series, code, wheel, *d, lap.locked, from, last, speedUnit);
        // The gear's distance is its last point's; every other channel's the
        // last sample's, plotted or not.
        if (code == 2) {
            if (series.last) lastX = series.last->x;
        } else if (from <= last) {
            lastX = Samples(d->distanceM)[last];
        }
    }
    if (lastX && *lastX > ranges.xExtent) ranges.xExtent = *lastX;
    if (code == 14) {
        ranges.yLow = 0.0;
        if (series.last && series.last->y > ranges.yHigh) ranges.yHigh = series.last->y;
        graph.SetRange(0.0, ranges.xExtent, 0.0, ranges.yHigh, 1);
    } else {
        if (code == 6) {
            ranges.yLow = series.low - 0.5;
            ranges.yHigh = series.high + 0.5;
        } else {
            const Range r = BasicRange(code, speedUnit);
            ranges.yLow = r.low;
            ranges.yHigh = r.high;
        }
        if (hadNone) graph.SetRange(0.0, ranges.xExtent, ranges.yLow, ranges.yHigh, 1);
    }
    graph.Redraw(1);
    return slot;
}

}  // namespace vra
