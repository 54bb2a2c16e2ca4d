#include "core/document/LapChannels.h"

#include "core/decode/KtObjectFactory.h"
#include "core/document/ChannelDisplay.h"
#include "core/document/LapLinePlotter.h"
#include "core/document/LapPoints.h"
#include "core/mapping/MapTransform.h"
#include "core/replay/GetRpyInfo.h"
#include "core/track/TrackPath.h"

#include "SimFolderFixture.h"

#include <gmock/gmock.h>

#include <cmath>
#include <numbers>

namespace vra::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Gt;

constexpr double kG = 9.8;

// A lap driven by the builder's saving player at a constant speed along the
// given lateral offset; the raw heading of every record is headingCode.
class LapChannels : public SimFolder {
protected:
    const GetRpyInfo& drive(const simkit::TrackLayout& layout, const std::string& name, double lateral,
                            std::int32_t headingCode = 1024) {
        length = layout.TotalLength();
        writeTrack(name, layout);
        auto b = replay(name, length);
        b.desc.lateral = [lateral](int, double) { return lateral; };
        b.desc.fullHook = [headingCode](const simkit::FrameContext&, simkit::FullRecordFields& f) {
            f.heading = headingCode;
        };
        document().AddLapFromLapFinder(write(b, name + ".rpy"), 0, 3, 2);
        EXPECT_EQ(doc->LapCount(), 1);
        EXPECT_TRUE(doc->TrackLoaded());
        const TrackEdgeBounds& e = doc->GetTrackPath()->EdgeBounds();
        transform.FitToTrackEdges({e.MinX(), e.MinY(), e.MaxX(), e.MaxY()}, 50, 50, 10000000, 10000000);
        return *doc->Slot(0).info;
    }

    double speedKmh() const { return length / (kLapMs / 1000.0) * 3.6; }
    double length = 0.0;
    MapTransform transform;
};

TEST_F(LapChannels, SpeedHeadingsAndSplitTimesOfALapAtConstantSpeed) {
    const auto& lap = drive(simkit::TrackLayout::Oval(), "oval", 0.0, 1024);
    ASSERT_GT(lap.sampleCount, 1000);
    int firstStraight = 0, backStraight = 0;
    const double back = 400.0 + std::numbers::pi * 100.0;
    for (std::size_t u = 2; u + 1 <= std::size_t(lap.sampleCount); ++u) {
        // The first speeds are measured from where the car really was.
        ASSERT_NEAR(lap.speed[u], speedKmh(), 0.5) << "sample " << u;
        ASSERT_DOUBLE_EQ(lap.headingDeg[u], -90.0);
        // The oval starts eastwards; the back straight runs westwards.
        const double d = lap.distanceM[u];
        const bool first = d > 10.0 && d<390.0, backwards = d> back + 10.0 && d < back + 390.0;
        if (first || backwards) {
            ASSERT_EQ(lap.mapHeading[u], first ? 180 : 360) << "sample " << u;
            ++(first ? firstStraight : backStraight);
        }
    }
    EXPECT_GT(firstStraight, 300);
    EXPECT_GT(backStraight, 300);
    // The quarters of the lap are crossed at quarters of its time.
    for (int q = 0; q < 3; ++q)
        EXPECT_NEAR(static_cast<double>(lap.splitMs[q]), kLapMs * (q + 1) / 4.0, 3.0) << "split " << q;
}

TEST_F(LapChannels, MapPointsOnTheCentreLineAndBesideIt) {
    const auto layout = simkit::TrackLayout::Oval();
    for (double lateral : {0.0, 3.0, -6.5}) {
        SCOPED_TRACE(lateral);
        doc.reset();
        const std::string name = lateral == 0.0 ? "oval" : lateral > 0 ? "ovalleft" : "ovalright";
        const auto& lap = drive(layout, name, lateral);
        for (std::size_t u = 1; u + 1 <= std::size_t(lap.sampleCount); u += 37) {
            const double d = std::fmod(lap.distanceM[u], length);
            const DevicePoint expected = transform.MapPoint(LayoutPoint(layout, d, lateral));
            ASSERT_NEAR(lap.mapX[u], expected.x, 3.0) << "sample " << u;
            ASSERT_NEAR(lap.mapY[u], expected.y, 3.0) << "sample " << u;
        }
    }
}

TEST_F(LapChannels, NoPullAtTheStartOfALapOnAStraight) {
    // The line lies in the middle of a straight: the first samples of the
    // lap run straight on at a constant speed.
    simkit::TrackLayout layout;
    layout.straight(200).left(100, 90).left(100, 90).straight(400).left(100, 90).left(100, 90).straight(200);
    const auto& lap = drive(layout, "middle", 0.0);
    // Rounding to device units leaves some noise in the first, short means.
    for (std::size_t i = 2; i <= 20; ++i)
        for (const auto* channel : {&lap.accelTotal, &lap.accelTravelLong, &lap.accelTravelLat})
            EXPECT_NEAR((*channel)[i], 0.0, 0.05) << "sample " << i;
}

TEST_F(LapChannels, RoadCourseCornersPullAsTheirRadiiSay) {
    const auto layout = simkit::TrackLayout::RoadCourse();
    const auto& lap = drive(layout, "road", 0.0);
    const double v = length / (kLapMs / 1000.0);
    int checked = 0;
    for (const auto& piece : layout.Expected()) {
        // Long enough to leave the smoothing windows (about 11 m) behind.
        if (!piece.corner || piece.length < 40.0) continue;
        const double expected = v * v / (piece.radius * kG);
        for (std::size_t u = 2; u + 1 <= std::size_t(lap.sampleCount); ++u) {
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

TEST_F(LapChannels, SecondLapGetsTheSameChannelsAsTheFirst) {
    // Each computation measures on a canvas of its own.
    const auto& first = drive(simkit::TrackLayout::Oval(), "oval", 0.0);
    const std::vector<double> x = first.mapX, speed = first.speed;
    doc->AddLapFromLapFinder(doc->PathName(), 0, 3, 2);
    ASSERT_EQ(doc->LapCount(), 2);
    EXPECT_EQ(doc->Slot(1).info->mapX, x);
    EXPECT_EQ(doc->Slot(1).info->speed, speed);
}

// A lap written by hand: n samples all at one track position.
GetRpyInfo StandingLap(int n, std::int16_t heading) {
    GetRpyInfo lap;
    lap.sampleCount = n;
    lap.channelsReady = true;
    const auto size = static_cast<std::size_t>(n) + 1;
    lap.distanceM.assign(size, 100.0);
    lap.distance.assign(size, 200000);
    lap.heading.assign(size, heading);
    lap.steering.assign(size, 0);
    for (int w = 0; w < 4; ++w) lap.wheelRotation[w].assign(size, 0), lap.wheelDirection[w].assign(size, 0);
    for (auto* v : {&lap.mapX, &lap.mapY}) v->assign(size + 2, 0.0);
    for (auto* v : {&lap.mapHeading, &lap.slipAngle, &lap.slipMinusSteering}) v->assign(size, 0);
    for (auto* v :
         {&lap.lateralM, &lap.speed, &lap.headingDeg, &lap.accelCarLong, &lap.accelCarLat, &lap.accelTravelLong,
          &lap.accelTravelLat, &lap.accelRawX, &lap.accelRawY, &lap.accelSmoothX, &lap.accelSmoothY, &lap.accelTotal})
        v->assign(size, 0.0);
    lap.distanceStepStart = 2000;
    return lap;
}

class HandWrittenLap : public ::testing::Test {
protected:
    std::unique_ptr<TrackPath> path =
        std::make_unique<TrackPath>(KtObjectFactory::ReadTrackImage(simkit::TrackLayout::Oval().PtfImage()));
    LapLinePlotter plotter{path.get(), 0};
    LockedWheels locked;
};

TEST_F(HandWrittenLap, StandingCarHasNoSpeedAndTheHeadingOfNoMovement) {
    GetRpyInfo lap = StandingLap(12, 0);
    ASSERT_TRUE(ComputeLapChannels(lap, *path, plotter, true, locked));
    for (std::size_t i = 2; i <= 11; ++i) {
        EXPECT_EQ(lap.speed[i], 0.0);
        EXPECT_EQ(lap.mapHeading[i], 180);
        EXPECT_EQ(locked[0][i], 0.0);  // not moving: not locked
    }
}

TEST_F(HandWrittenLap, SlipAngleWrapsIntoPlusMinus300) {
    // Raw heading -3982 is 349.98 degrees of slip against a map heading of
    // 180, kept as -11; +3982 gives -349.98, kept as 11.
    for (const auto& [heading, slip] : {std::pair<std::int16_t, int>{-3982, -11}, {3982, 11}}) {
        GetRpyInfo lap = StandingLap(4, heading);
        ASSERT_TRUE(ComputeLapChannels(lap, *path, plotter, false, locked));
        EXPECT_EQ(static_cast<std::int16_t>(lap.slipAngle[2]), slip) << heading;
    }
}

// Once seven measured samples exist, the smoothed acceleration is the sum
// of the last seven raw values times 1/7.
TEST_F(HandWrittenLap, SmoothedAccelerationIsTheSumOfSevenTimesOneSeventh) {
    const double length = path->Length();
    GetRpyInfo lap = StandingLap(80, 0);
    for (std::size_t i = 0; i <= 80; ++i) {
        lap.distanceM[i] = static_cast<double>(i * i) * length / 8000.0;
        lap.lateralM[i] = 5.0 * std::sin(static_cast<double>(i) / 3.0);
    }
    ASSERT_TRUE(ComputeLapChannels(lap, *path, plotter, false, locked));
    int notTheQuotient = 0;
    for (std::size_t i = 9; i <= 79; ++i) {
        for (const auto& [raw, smooth] :
             {std::pair{&lap.accelRawX, &lap.accelSmoothX}, {&lap.accelRawY, &lap.accelSmoothY}}) {
            double sum = 0.0;
            for (std::size_t k = i - 6; k <= i; ++k) sum += (*raw)[k];
            ASSERT_EQ((*smooth)[i], sum * (1.0 / 7.0)) << i;
            if (sum / 7.0 != sum * (1.0 / 7.0)) ++notTheQuotient;
        }
    }
    EXPECT_GT(notTheQuotient, 0);  // the lap tells the two apart
}

// A lap driving once round in 30 samples: its splits are timed from the
// start step, and without a forward step there is nothing to time them from.
TEST_F(HandWrittenLap, SplitTimesNeedAForwardStepAtTheStart) {
    const double length = path->Length();
    for (std::int64_t step : {2000, 0, -40}) {
        GetRpyInfo lap = StandingLap(34, 0);
        for (std::size_t i = 0; i <= 34; ++i) {
            lap.distanceM[i] = std::fmod(static_cast<double>(i) * length / 30.0, length);
            lap.distance[i] = static_cast<std::uint32_t>(lap.distanceM[i] * 2000.0);
        }
        lap.distanceStepStart = step;
        ASSERT_TRUE(ComputeLapChannels(lap, *path, plotter, false, locked));
        if (step > 0) {
            EXPECT_THAT(lap.splitMs, ElementsAre(Gt(0), Gt(lap.splitMs[0]), Gt(lap.splitMs[1])));
        } else {
            EXPECT_THAT(lap.splitMs, ElementsAre(0, 0, 0)) << step;
            EXPECT_GT(lap.speed[10], 0.0);  // the rest of the channels are there
        }
    }
}

// Every channel the computation fills, and where it leaves the plotter.
void ExpectSameChannels(const GetRpyInfo& a, const GetRpyInfo& b, const LockedWheels& lockedA,
                        const LockedWheels& lockedB, const LapLinePlotter& plotterA, const LapLinePlotter& plotterB) {
    EXPECT_EQ(a.mapX, b.mapX);
    EXPECT_EQ(a.mapY, b.mapY);
    EXPECT_EQ(a.mapHeading, b.mapHeading);
    EXPECT_EQ(a.slipAngle, b.slipAngle);
    EXPECT_EQ(a.slipMinusSteering, b.slipMinusSteering);
    EXPECT_EQ(a.speed, b.speed);
    EXPECT_EQ(a.headingDeg, b.headingDeg);
    for (auto m : {&GetRpyInfo::accelCarLong, &GetRpyInfo::accelCarLat, &GetRpyInfo::accelTravelLong,
                   &GetRpyInfo::accelTravelLat, &GetRpyInfo::accelRawX, &GetRpyInfo::accelRawY,
                   &GetRpyInfo::accelSmoothX, &GetRpyInfo::accelSmoothY, &GetRpyInfo::accelTotal})
        EXPECT_EQ(a.*m, b.*m);
    EXPECT_EQ(a.splitMs, b.splitMs);
    EXPECT_EQ(lockedA, lockedB);
    EXPECT_EQ(plotterA.HasPoint(), plotterB.HasPoint());
    EXPECT_EQ(plotterA.Current(), plotterB.Current());
    EXPECT_EQ(plotterA.Previous(), plotterB.Previous());
    EXPECT_EQ(plotterA.LastDevicePoint(), plotterB.LastDevicePoint());
}

TEST_F(HandWrittenLap, TheLapsPointsGiveTheChannelsOfTheWalkAlongTheTrack) {
    // Samples at exactly (0, 0) have no point of their own but are on the
    // line; samples beyond the track's pieces are on neither.
    const double length = path->Length();
    GetRpyInfo walked = StandingLap(40, 0);
    for (std::size_t i = 0; i <= 40; ++i) {
        walked.distanceM[i] = static_cast<double>(i) * length / 36.0;
        walked.lateralM[i] = 4.0 * std::sin(static_cast<double>(i));
        walked.heading[i] = static_cast<std::int16_t>(i * 97);
    }
    for (std::size_t i : {5, 6, 20}) walked.distanceM[i] = walked.lateralM[i] = 0.0;
    for (std::size_t i : {12, 39}) walked.distanceM[i] = 2.5 * length;
    GetRpyInfo fromPoints = walked;
    LapPoints points;
    points.Compute(fromPoints, *path);
    ASSERT_LT(points.PlacedCount(), 41u);
    LapLinePlotter other{path.get(), 0};
    LockedWheels otherLocked;
    ASSERT_TRUE(ComputeLapChannels(walked, *path, plotter, true, locked));
    ASSERT_TRUE(ComputeLapChannels(fromPoints, *path, other, true, otherLocked, &points));
    ExpectSameChannels(walked, fromPoints, locked, otherLocked, plotter, other);
    // Left where the line through samples 1 to 39 ends.
    LapLinePlotter drawn{path.get(), 0};
    ChannelDisplay display;
    for (std::size_t i = 1; i < 40; ++i) drawn.PlotPoint(display, walked.distanceM[i], walked.lateralM[i], true);
    EXPECT_EQ(plotter.Current(), drawn.Current());
    EXPECT_EQ(plotter.Previous(), drawn.Previous());
}

TEST_F(LapChannels, TheDocumentsChannelsAreThoseOfTheWalkAlongTheTrack) {
    // Weaving cars on a road course; car 1 loses its records for a second.
    const auto layout = simkit::TrackLayout::RoadCourse();
    length = layout.TotalLength();
    writeTrack("road", layout);
    auto b = replay("road", length);
    b.desc.lateral = [](int driver, double ms) { return 3.0 * std::sin(ms / 900.0) + driver; };
    const double start = double(simkit::ReplayBuilder::LapStartMs(b.desc.sessions[0].cars[1], 2)) + 9000.0;
    b.desc.frameHook = [start](simkit::FrameContext& ctx) {
        if (ctx.sessionMs >= start && ctx.sessionMs < start + 1000.0)
            std::erase_if(ctx.records, [](const simkit::FrameRecord& r) { return r.type == 3; });
    };
    document().AddLapFromLapFinder(write(b, "road.rpy"), 1, 3, 2);
    ASSERT_EQ(doc->LapCount(), 1);
    const LapSlot& slot = doc->Slot(0);
    ASSERT_GT(slot.info->missingCount, 0);
    GetRpyInfo walked = *slot.info;
    LapLinePlotter plotter{doc->GetTrackPath(), 0};
    LockedWheels locked;
    ASSERT_TRUE(
        ComputeLapChannels(walked, *doc->GetTrackPath(), plotter, slot.driver == slot.drivers->savingPlayer, locked));
    ExpectSameChannels(walked, *slot.info, locked, slot.lockedWheels, plotter, *slot.plotter);
}

TEST_F(HandWrittenLap, ArraysShorterThanTheCountAreRefused) {
    GetRpyInfo lap = StandingLap(12, 0), notReady = StandingLap(12, 0);
    lap.speed.resize(5);
    EXPECT_FALSE(ComputeLapChannels(lap, *path, plotter, false, locked));
    notReady.channelsReady = false;
    EXPECT_FALSE(ComputeLapChannels(notReady, *path, plotter, false, locked));
}

}  // namespace
}  // namespace vra::testing
