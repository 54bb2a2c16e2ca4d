#include "SimFolderFixture.h"

#include "decode/KtObjectFactory.h"
#include "document/LapChannels.h"
#include "document/LapLinePlotter.h"
#include "mapping/MapTransform.h"
#include "replay/GetRpyInfo.h"
#include "track/TrackPath.h"

#include <gmock/gmock.h>

#include <cmath>
#include <numbers>

namespace vra::testing {
namespace {

constexpr double kG = 9.8;

// A lap driven by the builder's saving player at a constant speed along the
// given lateral offset; the raw heading of every record is headingCode.
class LapChannels : public SimFolder {
protected:
    const GetRpyInfo& drive(const simkit::TrackLayout& layout, const std::string& name, double lateral,
                            std::int32_t headingCode = 1024)
    {
        length = layout.TotalLength();
        writeTrack(name, layout);
        auto b = replay(name, length);
        b.spec.lateral = [lateral](int, double) { return lateral; };
        b.spec.fullHook = [headingCode](const simkit::FrameContext&, simkit::FullRecordFields& f) {
            f.heading = headingCode;
        };
        const auto path = write(b, name + ".rpy");
        document().AddLapFromLapFinder(path, 0, 3, 2);
        EXPECT_EQ(doc->LapCount(), 1);
        EXPECT_TRUE(doc->TrackLoaded());
        const TrackEdgeBounds& e = doc->GetTrackPath()->EdgeBounds();
        transform.FitToTrackEdges({e.MinX(), e.MinY(), e.MaxX(), e.MaxY()}, 50, 50, 10000000, 10000000);
        return *doc->Slot(0).info;
    }

    // Where the layout puts a track position, on the channels' canvas.
    static Point2D LayoutPoint(const simkit::TrackLayout& layout, double distance, double lateral)
    {
        for (const auto& piece : layout.Expected())
            if (distance < piece.startDistance + piece.length)
                return piece.PointAt(distance - piece.startDistance, lateral);
        return {};
    }

    double speedKmh() const { return length / (kLapMs / 1000.0) * 3.6; }

    double length = 0.0;
    MapTransform transform;
};

TEST_F(LapChannels, SpeedHeadingsAndSplitTimesOfALapAtConstantSpeed)
{
    const auto& lap = drive(simkit::TrackLayout::Oval(), "oval", 0.0, 1024);
    ASSERT_GT(lap.sampleCount, 1000);
    int firstStraight = 0, backStraight = 0;
    const double back = 400.0 + std::numbers::pi * 100.0;
    for (int i = 2; i <= lap.sampleCount - 1; ++i) {
        const auto u = static_cast<std::size_t>(i);
        // The first speeds are measured from where the car really was.
        ASSERT_NEAR(lap.speed[u], speedKmh(), 0.5) << "sample " << i;
        ASSERT_DOUBLE_EQ(lap.headingDeg[u], -90.0);
        // The oval starts eastwards; the back straight runs westwards.
        const double d = lap.distanceM[u];
        if (d > 10.0 && d < 390.0) {
            ASSERT_EQ(lap.mapHeading[u], 180) << "sample " << i;
            ++firstStraight;
        }
        if (d > back + 10.0 && d < back + 390.0) {
            ASSERT_EQ(lap.mapHeading[u], 360) << "sample " << i;
            ++backStraight;
        }
    }
    EXPECT_GT(firstStraight, 300);
    EXPECT_GT(backStraight, 300);
    // The quarters of the lap are crossed at quarters of its time.
    for (int q = 0; q < 3; ++q)
        EXPECT_NEAR(static_cast<double>(lap.splitMs[q]), kLapMs * (q + 1) / 4.0, 3.0) << "split " << q;
}

TEST_F(LapChannels, MapPointsOnTheCentreLineAndBesideIt)
{
    const auto layout = simkit::TrackLayout::Oval();
    for (double lateral : {0.0, 3.0, -6.5}) {
        SCOPED_TRACE(lateral);
        doc.reset();
        const std::string name = lateral == 0.0 ? "oval" : lateral > 0 ? "ovalleft" : "ovalright";
        const auto& lap = drive(layout, name, lateral);
        for (int i = 1; i <= lap.sampleCount - 1; i += 37) {
            const auto u = static_cast<std::size_t>(i);
            double d = lap.distanceM[u];
            if (d >= length)
                d -= length;
            const DevicePoint expected = transform.MapPoint(LayoutPoint(layout, d, lateral));
            ASSERT_NEAR(lap.mapX[u], expected.x, 3.0) << "sample " << i;
            ASSERT_NEAR(lap.mapY[u], expected.y, 3.0) << "sample " << i;
        }
    }
}

TEST_F(LapChannels, NoPullAtTheStartOfALapOnAStraight)
{
    // The line lies in the middle of a straight: the first samples of the
    // lap run straight on at a constant speed.
    simkit::TrackLayout layout;
    layout.straight(200).left(100, 90).left(100, 90).straight(400).left(100, 90).left(100, 90).straight(200);
    const auto& lap = drive(layout, "middle", 0.0);
    // Rounding to device units leaves some noise in the first, short means.
    for (int i = 2; i <= 20; ++i) {
        const auto u = static_cast<std::size_t>(i);
        EXPECT_NEAR(lap.accelTotal[u], 0.0, 0.05) << "sample " << i;
        EXPECT_NEAR(lap.accelTravelLong[u], 0.0, 0.05) << "sample " << i;
        EXPECT_NEAR(lap.accelTravelLat[u], 0.0, 0.05) << "sample " << i;
    }
}

TEST_F(LapChannels, LateralAccelerationInACornerOfKnownRadius)
{
    const auto& lap = drive(simkit::TrackLayout::Oval(), "oval", 0.0);
    const double v = length / (kLapMs / 1000.0);
    const double expected = v * v / (100.0 * kG);
    int inCorner = 0, onStraight = 0;
    for (int i = 2; i <= lap.sampleCount - 1; ++i) {
        const auto u = static_cast<std::size_t>(i);
        const double d = lap.distanceM[u];
        // Well inside the first half turn (400 m to 714 m), past the smoothing.
        if (d > 440.0 && d < 680.0) {
            ASSERT_NEAR(std::fabs(lap.accelTravelLat[u]), expected, 0.03 * expected) << "sample " << i;
            // The smoothing trails the turning car by a few samples, which
            // leaves a small share of the pull along the direction of travel.
            ASSERT_NEAR(lap.accelTravelLong[u], 0.0, 0.05 * expected) << "sample " << i;
            ASSERT_NEAR(lap.accelTotal[u], expected, 0.03 * expected) << "sample " << i;
            ++inCorner;
        }
        if (d > 30.0 && d < 370.0) {
            ASSERT_NEAR(lap.accelTotal[u], 0.0, 0.02) << "sample " << i;
            ++onStraight;
        }
    }
    EXPECT_GT(inCorner, 100);
    EXPECT_GT(onStraight, 100);
}

TEST_F(LapChannels, RoadCourseCornersPullAsTheirRadiiSay)
{
    const auto layout = simkit::TrackLayout::RoadCourse();
    const auto& lap = drive(layout, "road", 0.0);
    const double v = length / (kLapMs / 1000.0);
    int checked = 0;
    for (const auto& piece : layout.Expected()) {
        // Long enough to leave the smoothing windows (about 11 m) behind.
        if (!piece.corner || piece.length < 40.0)
            continue;
        const double expected = v * v / (piece.radius * kG);
        for (int i = 2; i <= lap.sampleCount - 1; ++i) {
            const auto u = static_cast<std::size_t>(i);
            const double d = lap.distanceM[u];
            if (d > piece.startDistance + 15.0 && d < piece.startDistance + piece.length - 5.0) {
                ASSERT_NEAR(std::fabs(lap.accelTravelLat[u]), expected, 0.05 * expected)
                    << "corner of radius " << piece.radius << " at " << d;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 50);
}

TEST_F(LapChannels, SecondLapGetsTheSameChannelsAsTheFirst)
{
    // Each computation measures on a canvas of its own.
    const auto& first = drive(simkit::TrackLayout::Oval(), "oval", 0.0);
    const std::vector<double> x = first.mapX;
    const std::vector<double> speed = first.speed;
    doc->AddLapFromLapFinder(doc->PathName(), 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 2);
    EXPECT_EQ(doc->Slot(1).info->mapX, x);
    EXPECT_EQ(doc->Slot(1).info->speed, speed);
}

// A lap written by hand: n samples all at one track position.
GetRpyInfo StandingLap(int n, std::int16_t heading)
{
    GetRpyInfo lap;
    lap.sampleCount = n;
    lap.channelsReady = 1;
    const auto size = static_cast<std::size_t>(n) + 1;
    lap.distanceM.assign(size, 100.0);
    lap.lateralM.assign(size, 0.0);
    lap.distance.assign(size, 200000);
    lap.heading.assign(size, heading);
    lap.steering.assign(size, 0);
    for (int w = 0; w < 4; ++w) {
        lap.wheelRotation[w].assign(size, 0);
        lap.wheelDirection[w].assign(size, 0);
    }
    lap.mapX.assign(size + 2, 0.0);
    lap.mapY.assign(size + 2, 0.0);
    for (auto* v : {&lap.mapHeading, &lap.slipAngle, &lap.slipMinusSteering})
        v->assign(size, 0);
    for (auto* v : {&lap.speed, &lap.headingDeg, &lap.accelCarLong, &lap.accelCarLat, &lap.accelTravelLong,
                    &lap.accelTravelLat, &lap.accelRawX, &lap.accelRawY, &lap.accelSmoothX, &lap.accelSmoothY,
                    &lap.accelTotal})
        v->assign(size, 0.0);
    lap.distanceStepStart = 2000;
    return lap;
}

class HandWrittenLap : public ::testing::Test {
protected:
    std::unique_ptr<TrackPath> path = std::make_unique<TrackPath>(
        KtObjectFactory::ReadTrackImage(simkit::TrackLayout::Oval().PtfImage()));
    LapLinePlotter plotter{path.get(), 0};
    LockedWheels locked;
};

TEST_F(HandWrittenLap, StandingCarHasNoSpeedAndTheHeadingOfNoMovement)
{
    GetRpyInfo lap = StandingLap(12, 0);
    ASSERT_TRUE(ComputeLapChannels(lap, *path, plotter, true, locked));
    for (int i = 2; i <= 11; ++i) {
        EXPECT_EQ(lap.speed[static_cast<std::size_t>(i)], 0.0);
        EXPECT_EQ(lap.mapHeading[static_cast<std::size_t>(i)], 180);
        EXPECT_EQ(locked[0][static_cast<std::size_t>(i)], 0.0);  // not moving: not locked
    }
}

TEST_F(HandWrittenLap, SlipAngleWrapsIntoPlusMinus300)
{
    // Raw heading -3982 is 349.98 degrees of slip against a map heading of
    // 180, kept as -11; +3982 gives -349.98, kept as 11.
    GetRpyInfo right = StandingLap(4, -3982);
    ASSERT_TRUE(ComputeLapChannels(right, *path, plotter, false, locked));
    EXPECT_EQ(static_cast<std::int16_t>(right.slipAngle[2]), -11);
    GetRpyInfo left = StandingLap(4, 3982);
    ASSERT_TRUE(ComputeLapChannels(left, *path, plotter, false, locked));
    EXPECT_EQ(static_cast<std::int16_t>(left.slipAngle[2]), 11);
}

TEST_F(HandWrittenLap, ThreeSamplesGiveChannelsForSampleTwoOnly)
{
    GetRpyInfo lap = StandingLap(3, 0);
    lap.distanceM = {0.0, 100.0, 101.0, 102.0};
    ASSERT_TRUE(ComputeLapChannels(lap, *path, plotter, false, locked));
    EXPECT_NEAR(lap.speed[2], 1.0 * 36 * 3.6, 0.05);
    EXPECT_EQ(lap.speed[3], 0.0);
    EXPECT_EQ(lap.mapHeading[3], 0);
}

TEST_F(HandWrittenLap, ArraysShorterThanTheCountAreRefused)
{
    GetRpyInfo lap = StandingLap(12, 0);
    lap.speed.resize(5);
    EXPECT_FALSE(ComputeLapChannels(lap, *path, plotter, false, locked));
    GetRpyInfo notReady = StandingLap(12, 0);
    notReady.channelsReady = 0;
    EXPECT_FALSE(ComputeLapChannels(notReady, *path, plotter, false, locked));
}

}  // namespace
}  // namespace vra::testing
