#include "core/document/LapChannels.h"

#include "core/document/ChannelDisplay.h"
#include "core/document/LapLinePlotter.h"
#include "core/document/LapPoints.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace vra {

namespace {

constexpr double kSamplesPerSecond = 36.0;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kHeadingUnit = 0.087890625;  // degrees per raw heading step
constexpr double kPerG = 0.1020408163265306;  // 1 / 9.8

template <class V>
bool Holds(const V& v, std::size_t n) {
    return v.size() >= n;
}

// The trailing mean of four, where positions before sample 2 count as 0.
// The last raw values ride along in a window, since the means overwrite
// them.
void SmoothFour(std::vector<double>& v, int n) {
    std::array<double, 4> raw{};  // raw[k % 4] holds sample k
    for (int i = 2; i <= n - 1; ++i) {
        raw[static_cast<std::size_t>(i % 4)] = v[static_cast<std::size_t>(i)];
        double sum = 0.0;
        for (int k = i - 3; k <= i; ++k)
            if (k >= 2) sum += raw[static_cast<std::size_t>(k % 4)];
        v[static_cast<std::size_t>(i)] = sum / 4.0;
    }
}

}  // namespace

bool ComputeLapChannels(GetRpyInfo& lap, const TrackPath& track, LapLinePlotter& plotter, bool savingPlayersLap,
                        LockedWheels& locked, const LapPoints* points) {
    const int n = lap.sampleCount;
    if (!lap.channelsReady || n < 3) return false;
    const std::size_t need = static_cast<std::size_t>(n) + 1;
    if (!Holds(lap.distanceM, need) || !Holds(lap.lateralM, need) || !Holds(lap.distance, need) ||
        !Holds(lap.heading, need) || !Holds(lap.steering, need) || !Holds(lap.mapX, need) || !Holds(lap.mapY, need) ||
        !Holds(lap.mapHeading, need) || !Holds(lap.slipAngle, need) || !Holds(lap.slipMinusSteering, need) ||
        !Holds(lap.speed, need) || !Holds(lap.headingDeg, need) || !Holds(lap.accelRawX, need) ||
        !Holds(lap.accelRawY, need) || !Holds(lap.accelSmoothX, need) || !Holds(lap.accelSmoothY, need) ||
        !Holds(lap.accelTotal, need) || !Holds(lap.accelCarLong, need) || !Holds(lap.accelCarLat, need) ||
        !Holds(lap.accelTravelLong, need) || !Holds(lap.accelTravelLat, need))
        return false;
    bool wheelsKnown = true;
    for (int w = 0; w < 4; ++w)
        wheelsKnown = wheelsKnown && Holds(lap.wheelRotation[w], need) && Holds(lap.wheelDirection[w], need);

    // A display of its own: the big canvas must not change the scale of a
    // display that someone draws with.
    ChannelDisplay display;
    const TrackEdgeBounds& edges = track.EdgeBounds();
    if (!edges.IsValid()) return false;
    const WorldBox box{edges.MinX(), edges.MinY(), edges.MaxX(), edges.MaxY()};
    if (!display.Transform().FitToTrackEdges(box, kChannelMargin, kChannelMargin, kChannelCanvas, kChannelCanvas))
        return false;
    const double s = display.Transform().UnitsPerMetre();
    if (!(s > 0.0)) return false;

    const double length = track.Length();
    const std::array<double, 3> splitAt = {length / 4.0, length / 2.0, 3.0 * length / 4.0};
    std::array<bool, 3> splitDone{};
    lap.splitMs = {};
    // Without a forward step at the start the time from the line to sample 2
    // is unknown, and so is every split measured from it: they stay 0.
    const bool timed = lap.distanceStepStart > 0;
    const double t0 =
        timed ? static_cast<double>(lap.distance[2]) / static_cast<double>(lap.distanceStepStart) / kSamplesPerSecond
              : 0.0;

    for (auto& w : locked) w.assign(need, 0.0);

    // Each sample's point on the track. The lap's points leave out samples
    // at exactly (0, 0), which the line maps like any other.
    const bool pointsKnown = points != nullptr && points->Size() >= need;
    auto worldAt = [&](std::size_t u) -> std::optional<Point2D> {
        if (pointsKnown) {
            if (points->Placed(u)) return points->Points()[u];
            if (lap.distanceM[u] != 0.0 || lap.lateralM[u] != 0.0) return std::nullopt;
        }
        return LapLinePlotter::WorldPoint(track, lap.distanceM[u], lap.lateralM[u]);
    };
    // The line runs through every sample with a point; a sample without one
    // stays where the line last was. The last two points met leave the
    // plotter where drawing the whole line would.
    const MapTransform& map = display.Transform();
    std::optional<Point2D> last, beforeLast;

    // Start the line with sample 1 and take its true point, so that the
    // first speed and accelerations are measured from where the car was.
    DevicePoint q{};
    if ((last = worldAt(1))) q = map.MapPoint(*last);
    DevicePoint r = q;
    lap.mapX[1] = q.x;
    lap.mapY[1] = q.y;

    double previousComputed = 0.0;
    for (int i = 2; i <= n - 1; ++i) {
        const auto u = static_cast<std::size_t>(i);
        DevicePoint p = q;
        if (std::optional<Point2D> w = worldAt(u)) {
            p = map.MapPoint(*w);
            beforeLast = last;
            last = w;
        }
        lap.mapX[u] = p.x;
        lap.mapY[u] = p.y;

        const double dx = static_cast<double>(p.x) - q.x;
        const double dy = static_cast<double>(p.y) - q.y;
        const double h = std::atan2(dy, dx) * kRadToDeg;
        const int mapHeading = static_cast<int>(h + 180.0);
        lap.mapHeading[u] = static_cast<std::uint16_t>(mapHeading);

        const double rawHeadingDeg = lap.heading[u] * kHeadingUnit;
        lap.headingDeg[u] = rawHeadingDeg * -1.0;
        int slip = static_cast<int>((180.0 - rawHeadingDeg) - mapHeading);
        if (slip > 300)
            slip -= 360;
        else if (slip < -300)
            slip += 360;
        lap.slipAngle[u] = static_cast<std::uint16_t>(static_cast<std::int16_t>(slip));
        const int slipMinusSteering = slip - static_cast<int>(lap.steering[u] * 20 / 124);
        lap.slipMinusSteering[u] = static_cast<std::uint16_t>(static_cast<std::int16_t>(slipMinusSteering));

        // Metres per frame x 36 frames a second x 3.6.
        const double v = std::sqrt(dx * dx + dy * dy) * 129600.0 / (s * 1000.0);
        if (i > 5) {
            const double pv = previousComputed;
            double qv = lap.speed[u - 1];
            const double rv = lap.speed[u - 2];
            // A single stray map point makes one speed jump out and back.
            if (std::fabs(pv - v) > 1.0 && std::fabs(qv - v) > 1.0) {
                const double firstGap = std::fabs(qv - v);
                if (std::fabs(rv - v) < 2.0) {
                    lap.speed[u - 1] = lap.speed[u - 2] = (v + rv) / 2.0;
                    qv = (v + rv) / 2.0;
                }
                if (firstGap < 2.0) lap.speed[u - 1] = (v + qv) / 2.0;
            }
        }
        lap.speed[u] = v;
        previousComputed = v;

        if (savingPlayersLap && wheelsKnown && v > 30.0)
            for (int w = 0; w < 4; ++w)
                if (lap.wheelDirection[w][u] == 0 && lap.wheelRotation[w][u] == lap.wheelRotation[w][u - 1])
                    locked[static_cast<std::size_t>(w)][u] = 1.0;

        // Split times: the crossing lies between sample i - 1 and sample i;
        // sample 2 lies t0 after the line and each sample one frame later.
        for (std::size_t k = 0; k < splitAt.size(); ++k) {
            if (!timed || splitDone[k] || !(lap.distanceM[u] > splitAt[k])) continue;
            splitDone[k] = true;
            const double span = lap.distanceM[u] - lap.distanceM[u - 1];
            const double f = span != 0.0 ? (splitAt[k] - lap.distanceM[u - 1]) / span : 0.0;
            lap.splitMs[k] = static_cast<std::int64_t>(((f + i - 3) / kSamplesPerSecond + t0) * 1000.0);
        }

        const double ax = ((static_cast<double>(q.x) - p.x) * kSamplesPerSecond / s -
                           (static_cast<double>(r.x) - q.x) * kSamplesPerSecond / s) *
                          kSamplesPerSecond * kPerG;
        const double ay = ((static_cast<double>(q.y) - p.y) * kSamplesPerSecond / s -
                           (static_cast<double>(r.y) - q.y) * kSamplesPerSecond / s) *
                          kSamplesPerSecond * kPerG;
        // Sample 2 has no point before sample 1 to measure a change of
        // speed against: taking the car as standing there would read as a
        // pull of a hundred g. Its acceleration stays unknown (0) and out of
        // the means.
        const bool measured = i >= 3;
        lap.accelRawX[u] = measured ? ax : 0.0;
        lap.accelRawY[u] = measured ? ay : 0.0;
        // The mean of seven samples once there are seven; fewer at the start.
        const int first = std::max(3, i - 6);
        double sx = 0.0, sy = 0.0;
        for (int k = first; k <= i; ++k) {
            sx += lap.accelRawX[static_cast<std::size_t>(k)];
            sy += lap.accelRawY[static_cast<std::size_t>(k)];
        }
        // Taken as the sum times 1/count: a full window is the sum x 1/7,
        // which is not always the sum / 7 in the last bit.
        const double share = 1.0 / static_cast<double>(std::max(i - first + 1, 1));
        const double axs = sx * share;
        const double ays = sy * share;
        lap.accelSmoothX[u] = axs;
        lap.accelSmoothY[u] = ays;
        const double total = std::sqrt(axs * axs + ays * ays);
        lap.accelTotal[u] = total;
        const double angle = std::atan2(ays, axs) * kRadToDeg;
        const double a = (angle - lap.headingDeg[u] + 270.0) * kDegToRad;
        lap.accelCarLong[u] = std::sin(a) * total;
        lap.accelCarLat[u] = std::cos(a) * total;
        const double b = (angle - h + 270.0) * kDegToRad;
        lap.accelTravelLong[u] = std::sin(b) * total;
        lap.accelTravelLat[u] = std::cos(b) * total;

        r = q;
        q = p;
    }

    plotter.Restart();
    if (beforeLast) plotter.PlotWorldPoint(display, *beforeLast, true);
    if (last) plotter.PlotWorldPoint(display, *last, true);

    SmoothFour(lap.accelCarLong, n);
    SmoothFour(lap.accelCarLat, n);
    SmoothFour(lap.accelTravelLong, n);
    SmoothFour(lap.accelTravelLat, n);
    return true;
}

}  // namespace vra
