#include "core/graphs/ChannelBuilders.h"

#include "core/graphs/GraphModel.h"
#include "core/replay/GetRpyInfo.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace vra {

namespace {

template <class T>
double At(const std::vector<T>& v, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < v.size() ? static_cast<double>(v[static_cast<std::size_t>(i)]) : 0.0;
}

float F32(const std::uint8_t* block, std::size_t offset) {
    if (!block) return 0.0f;
    float v;
    std::memcpy(&v, block + offset, sizeof v);
    return v;
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

double BasicValue(int code, int wheel, const GetRpyInfo& d, const LockedWheels* locked, int i, int speedUnit) {
    switch (code) {
        case 1:
            return speedUnit == 1 ? At(d.speed, i) * 0.621 : At(d.speed, i);
        case 2:
            return At(d.gear, i);
        case 3:
            return At(d.revolutions, i);
        case 4: {
            // Whole degrees, signed, held in an unsigned array.
            const auto& a = d.slipAngle;
            return i >= 0 && static_cast<std::size_t>(i) < a.size()
                       ? static_cast<std::int16_t>(a[static_cast<std::size_t>(i)])
                       : 0;
        }
        case 5:
            return At(d.accelCarLong, i);
        case 6:
            return At(d.accelCarLat, i);
        case 7:
            return At(d.accelTotal, i);
        case 8: {
            const double cm = At(d.rideHeightM, i) * 100.0;
            return speedUnit == 1 ? cm * 0.3937 : cm;
        }
        case 9:
            return At(d.pitch, i);
        case 10:
            return At(d.roll, i);
        case 11:
            return At(d.steering, i);
        case 12:
            return At(d.suspension[static_cast<std::size_t>(wheel)], i);
        case 13:
            return 180.0 - At(d.heading, i) * 0.087890625;
        case 14:
            return i / 36.0;
        case 15:
            return At(d.oilPressure, i) * 0.805;
        case 16:
            return std::fabs((At(d.accelCarLat, i) - At(d.accelCarLat, i - 1)) * 36.0);
        case 17:
            return locked ? At((*locked)[static_cast<std::size_t>(wheel)], i) : 0.0;
        case 18:
            return At(d.fuelPressure, i) * 0.805;
        case 19:
            return At(d.oilTemperature, i) * 2.16 + 32.0;
        case 20:
            return At(d.waterTemperature, i) * 2.16 + 32.0;
        case 22:
            return At(d.throttle, i) * 0.3921568627450981;
        default:
            return At(d.brake, i) * 100.0 / 255.0;
    }
}

double AdvancedValue(int code, int wheel, const GetRpyInfo& d, int i) {
    const std::size_t w = static_cast<std::size_t>(wheel) * 16;
    switch (code) {
        case 24:
            return F32(d.Block(4, i), 4) * static_cast<double>(0.0013410219f);
        case 25:
            return F32(d.Block(4, i), 8);
        case 26:
        case 27:
        case 28: {
            const std::uint8_t* prev = d.Block(1, i - 1);
            const std::uint8_t* cur = d.Block(1, i);
            if (!prev || !cur) return 0.0;
            float c[3];
            ChassisAcceleration(prev, cur, c);
            return c[code - 26];
        }
        case 29:
            return F32(d.Block(5, i), 8);
        case 30:
            return F32(d.Block(1, i), 72);
        case 31:
        case 32:
        case 33:
            return static_cast<double>(F32(d.Block(3, i), w + 4 * static_cast<std::size_t>(code - 31))) *
                       static_cast<double>(1.8f) +
                   32.0;
        case 34:
            return static_cast<double>(F32(d.Block(3, i), w + 12)) * static_cast<double>(0.1450377f);
        case 35:
            return static_cast<double>(F32(d.Block(2, i), w + 8)) * static_cast<double>(57.295826f);
        case 36:
            return static_cast<double>(F32(d.Block(2, i), w + 12)) * static_cast<double>(0.2248f);
        case 37:
            return static_cast<double>(F32(d.Block(2, i), w + 4)) * static_cast<double>(39.372f);
        default:
            return static_cast<double>(F32(d.Block(2, i), w + 0)) * static_cast<double>(57.295826f) *
                   0.002777777777777778;
    }
}

bool UsesWheelColour(int code) {
    return code == 12 || code == 17 || code >= 31;
}

}  // namespace

void ChassisAcceleration(const unsigned char* previous, const unsigned char* current, float out[3]) {
    float d[3], a[3];
    for (int k = 0; k < 3; ++k) d[k] = F32(current, 16 + 4 * k) - F32(previous, 16 + 4 * k);
    const float g[3] = {0.0f, 0.0f, 9.80665f};
    for (int k = 0; k < 3; ++k) a[k] = 36.0f * d[k] + g[k];
    const float yaw = F32(current, 28), pitch = F32(current, 32), roll = F32(current, 36);
    const float cy = std::cos(yaw), sy = std::sin(yaw), cp = std::cos(pitch), sp = std::sin(pitch);
    const float cr = std::cos(roll), sr = std::sin(roll);
    const float r[3][3] = {
        {cy * cp, cy * sp * sr - sy * cr, cy * sp * cr + sy * sr},
        {sy * cp, sy * sp * sr + cy * cr, sy * sp * cr - cy * sr},
        {-sp, cp * sr, cp * cr},
    };
    const float inv = static_cast<float>(1.0 / 9.80665);
    for (int k = 0; k < 3; ++k) {
        const float c = r[0][k] * a[0] + r[1][k] * a[1] + r[2][k] * a[2];
        out[k] = c * inv;
    }
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
        double low = 0.0, high = 0.0;
        std::optional<double> lastX;
        if (slot != -1 && count > 5) {
            std::vector<Point2D> points;
            points.reserve(static_cast<std::size_t>(count));
            for (int i = from; i <= count - 2; ++i) {
                const double x = At(d->distanceM, i);
                const double y = AdvancedValue(code, wheel, *d, i);
                lastX = x;
                // Physics records are file bytes: a value that is not a
                // number would wreck every extent and range after it.
                if (!std::isfinite(y)) continue;
                low = std::min(low, y);
                high = std::max(high, y);
                if (y != 0.0) points.push_back({x, y});
            }
            graph.GetGraph(slot)->Reserve(static_cast<int>(points.size()));
            graph.AddPoints(slot, points, 0);
        }
        if (lastX && *lastX > ranges.xExtent) ranges.xExtent = *lastX;
        if (code == 27) {
            ranges.yLow = low - 0.5;
            ranges.yHigh = high + 0.5;
        } else {
            const Range r = AdvancedRange(code);
            ranges.yLow = r.low;
            ranges.yHigh = r.high;
        }
        graph.SetRange(0.0, ranges.xExtent, ranges.yLow, ranges.yHigh, 1);
        graph.Redraw(1);
        return slot;
    }

    double low = 0.0, high = 0.0;
    std::optional<double> lastX;
    std::optional<double> lastY;
    if (slot != -1 && count > 5 && d) {
        std::vector<Point2D> points;
        points.reserve(static_cast<std::size_t>(count));
        const LockedWheels* locked = lap.locked;
        for (int i = FirstSample(code), last = LastSample(code, count); i <= last; ++i) {
            const double x = At(d->distanceM, i);
            const double y = BasicValue(code, wheel, *d, locked, i, speedUnit);
            if (code == 2 && y == 0.0) continue;
            if (code != 2) lastX = x;
            if (!std::isfinite(y)) continue;
            if (code == 2) lastX = x;
            low = std::min(low, y);
            high = std::max(high, y);
            lastY = y;
            points.push_back({x, y});
        }
        graph.GetGraph(slot)->Reserve(static_cast<int>(points.size()));
        graph.AddPoints(slot, points, 0);
    }
    if (lastX && *lastX > ranges.xExtent) ranges.xExtent = *lastX;
    if (code == 14) {
        ranges.yLow = 0.0;
        if (lastY && *lastY > ranges.yHigh) ranges.yHigh = *lastY;
        graph.SetRange(0.0, ranges.xExtent, 0.0, ranges.yHigh, 1);
    } else {
        if (code == 6) {
            ranges.yLow = low - 0.5;
            ranges.yHigh = high + 0.5;
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
