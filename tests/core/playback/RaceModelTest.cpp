// The race model over built replays: where the race begins, what is read of
// each frame, the lap tables, the bar's texts and the buttons' targets.
#include "core/playback/RaceModel.h"

#include "core/decode/KtObjectFactory.h"
#include "core/document/TrackDistanceUnit.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ReplaySource.h"
#include "core/track/TrackPath.h"

#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/TrackLayout.h"
#include "support/ScratchDir.h"
#include "support/platform/ScriptedPrompts.h"
#include "support/track/RecordingDisplay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>

namespace vra {
namespace {

using simkit::ReplayBuilder;

struct Track {
    std::unique_ptr<TrackPath> path =
        std::make_unique<TrackPath>(KtObjectFactory::ReadTrackImage(simkit::TrackLayout::Oval().PtfImage()));
    double Length() const { return path->Length(); }
};

// A loaded race and everything it was loaded from.
struct Race {
    Track track;
    std::vector<std::uint8_t> bytes;
    simkit::ReplayLayout layout;
    Header header;
    Drivers drivers;
    test::ScriptedPrompts prompts;
    simkit::RecordingDisplay display;
    RaceModel model;
    bool loaded = false;

    void Build(ReplayBuilder& b) {
        b.trackLength(track.Length());
        bytes = b.build();
        layout = b.layout();
        header.ReadBytes(bytes);
        ASSERT_EQ(drivers.LoadBytes(bytes), Drivers::LoadResult::Ok);
        ReplaySource src(bytes);
        loaded = model.Load(src, drivers, header, track.path.get(), Unit(), prompts, nullptr);
    }
    double Unit() const { return TrackDistanceUnitFor(track.Length()); }
    // First frame of the race session (index into layout.frames).
    std::uint64_t RaceFirst() const { return layout.sessionFirstFrame.back(); }
    // The frame whose session time is ms (frames every 1000/36 ms from 0).
    std::uint32_t FrameAt(std::uint64_t ms) const { return static_cast<std::uint32_t>(ms * 36 / 1000); }
    void Draw(std::uint32_t f) { model.DrawFrame(f, display); }
};

// A race whose type-14 record shares the race's first frame.
ReplayBuilder RaceBuilder(int drivers, int laps, std::uint32_t lapMs) {
    ReplayBuilder b;
    b.drivers(drivers).session(3, laps, lapMs);
    b.desc.sessions.back().raceStartMs = 0;
    return b;
}

TEST(RaceModelLoad, FindsTheRaceAfterPracticeAndQualifyingAndReadsEveryFrame) {
    ReplayBuilder b;
    b.drivers(3).session(0, 1, 30000).session(1, 1, 30000).session(3, 2, 30000);
    b.desc.sessions.back().raceStartMs = 0;
    b.desc.sessions[1].raceStartMs = 0;  // an earlier type-14 is overwritten
    b.desc.sessions[1].raceStartWord = 0x99;
    b.desc.sessions.back().raceStartWord = 0x4321;
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    EXPECT_TRUE(r.prompts.messages().empty());
    EXPECT_EQ(r.model.RaceStartValue(), 0x4321u);
    EXPECT_EQ(r.model.RaceStartOffset(), r.layout.frames[r.RaceFirst()]);
    // Every frame of the race, the last one included.
    EXPECT_EQ(r.model.FrameCount(), r.layout.frames.size() - r.RaceFirst());
    EXPECT_EQ(r.model.GetTexts().scheduledLaps, std::to_string(r.header.raceLaps));
}

TEST(RaceModelLoad, QuickRaceRenumbersItsSessionsAndAMissingStartValueIsToldButLoads) {
    ReplayBuilder b;
    b.drivers(2).session(1, 1, 30000).session(3, 1, 30000);
    b.desc.settings.quickRace = 2;
    b.desc.sessions.back().raceStartMs = std::nullopt;  // no type-14 record at all
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.model.RaceStartOffset(), r.layout.frames[r.RaceFirst()]);
    EXPECT_EQ(r.model.FrameCount(), r.layout.frames.size() - r.RaceFirst());
    EXPECT_EQ(r.model.RaceStartValue(), 0u);
    ASSERT_EQ(r.prompts.messages().size(), 1u);
    EXPECT_EQ(r.prompts.messages()[0], kRaceNoStartValueText);
}

TEST(RaceModelLoad, FramesWithoutTimeGetTruncatedFrameStepsAndFlagsBecomeStates) {
    ReplayBuilder b = RaceBuilder(2, 1, 30000);
    // Race-control flags at chosen frames: 4, 4 again, an unknown 3, 8, 0, 1, 2.
    const std::map<std::uint32_t, std::uint8_t> flags = {{10, 4}, {20, 4}, {30, 3}, {40, 8}, {50, 0}, {60, 1}, {70, 2}};
    b.desc.frameHook = [&](simkit::FrameContext& ctx) {
        if (ctx.session != 0) return;
        const auto it = flags.find(ctx.frameInSession);
        if (it == flags.end()) return;
        simkit::FrameRecord rec{9, -1, std::vector<std::uint8_t>(12, 0)};
        rec.body[0] = 1;
        rec.body[4] = it->second;
        ctx.records.push_back(rec);
    };
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    // Session records every 36 frames: 0 ms, 1000 ms ...; between them the
    // frames count on by 27, 55, 83 ... ms.
    EXPECT_EQ(r.model.FrameTime(0), 0u);
    EXPECT_EQ(r.model.FrameTime(1), 27u);
    EXPECT_EQ(r.model.FrameTime(2), 55u);
    EXPECT_EQ(r.model.FrameTime(3), 83u);
    EXPECT_EQ(r.model.FrameTime(36), 1000u);
    EXPECT_EQ(r.model.FrameTime(37), 1027u);
    EXPECT_EQ(r.model.FrameTime(71), 1000u + 972u);

    EXPECT_EQ(r.model.FrameState(0), 0);
    EXPECT_EQ(r.model.FrameState(1), 1);   // pace lap until a flag
    EXPECT_EQ(r.model.FrameState(10), 4);  // green
    EXPECT_EQ(r.model.FrameState(25), 4);  // repeated
    EXPECT_EQ(r.model.FrameState(35), 4);  // unknown value keeps the state
    EXPECT_EQ(r.model.FrameState(45), 5);  // yellow
    EXPECT_EQ(r.model.FrameState(55), 1);
    EXPECT_EQ(r.model.FrameState(65), 8);
    EXPECT_EQ(r.model.FrameState(75), 7);
    r.Draw(45);
    EXPECT_EQ(r.model.GetTexts().status, "Yellow flag racing");
    r.Draw(75);
    EXPECT_EQ(r.model.GetTexts().status, "White flag waved");
    // Frame 0 has no state of its own: the text stays.
    r.Draw(0);
    EXPECT_EQ(r.model.GetTexts().status, "White flag waved");
}

TEST(RaceModelLoad, PlacesOfFullAndCompactRecordsAndCarIdsByTheirLowByte) {
    ReplayBuilder b = RaceBuilder(4, 1, 40000);
    b.desc.drivers[1].carId = 0x1C8;  // low byte 200: above 127
    b.desc.drivers[2].carId = 0x180;  // low byte 128
    b.desc.lateral = [](int driver, double) { return driver == 0 ? -1.5 : 2.0; };
    b.desc.compactHook = [](const simkit::FrameContext&, int driver, simkit::CompactRecordFields& c) {
        c.heading = 100;
        if (driver == 3) c.carIdByte = 77;  // names no driver
    };
    b.desc.fullHook = [](const simkit::FrameContext&, simkit::FullRecordFields& f) { f.heading = -200; };
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    const std::uint32_t f = 500;
    const double ms = f * 1000.0 / 36.0;
    const auto& cars = b.desc.sessions[0].cars;
    const RaceModel::CarSample s0 = r.model.Sample(0, f);
    ASSERT_TRUE(s0.present);
    EXPECT_NEAR(s0.distance, ReplayBuilder::DistanceAt(cars[0], ms, r.track.Length()), 0.001);
    // The race reads the full record's lateral code with its own factor of 13.
    EXPECT_NEAR(s0.lateral, std::tan(simkit::FullLateralCode(-1.5) * 2.911741e-6) * 13.0, 1e-9);
    EXPECT_DOUBLE_EQ(s0.heading, 180.0 + 200 * 0.087890625);
    for (int d : {1, 2}) {
        const RaceModel::CarSample s = r.model.Sample(d, f);
        ASSERT_TRUE(s.present) << d;
        EXPECT_NEAR(s.distance, ReplayBuilder::DistanceAt(cars[d], ms, r.track.Length()), r.Unit() * 2) << d;
        EXPECT_NEAR(s.lateral, 2.0, 0.01);
        EXPECT_DOUBLE_EQ(s.heading, 180.0 - 100 * 0.087890625);
    }
    EXPECT_FALSE(r.model.Sample(3, f).present);
    EXPECT_FALSE(r.model.Sample(0, r.model.FrameCount()).present);

    // Cars in the palette colour of their car number, drawn where they are.
    ASSERT_EQ(r.model.DrawFrame(f, r.display), RaceModel::DrawResult::Drawn);
    EXPECT_EQ(r.model.DrawMode(), 1);
    EXPECT_TRUE(r.model.Poses()[1].present);
    EXPECT_EQ(r.model.Poses()[1].colour, 2);  // car number 2
    EXPECT_FALSE(r.model.Poses()[3].present);
    r.display.Clear();
    r.model.PaintCars(r.display);
    EXPECT_EQ(r.display.Count(simkit::RecordingDisplay::Op::Arc), 3u);
    r.model.SetCarDraw(RaceModel::CarDraw::Circle);
    r.display.Clear();
    r.model.PaintCars(r.display);
    EXPECT_EQ(r.display.Count(simkit::RecordingDisplay::Op::Circle), 3u);
}

TEST(RaceModelLoad, APositionAtTheLineWrapsToTheLapsStart) {
    ReplayBuilder b = RaceBuilder(2, 1, 40000);
    Race r;
    const double length = r.track.Length();
    b.desc.fullHook = [&](const simkit::FrameContext&, simkit::FullRecordFields& f) {
        f.distance = static_cast<std::uint32_t>(std::lround((length + 3.01) / 0.0005));
    };
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    r.Draw(100);
    EXPECT_TRUE(r.model.Poses()[0].present);
    for (std::size_t p = 0; p < r.model.Order().size(); ++p) {
        if (r.model.Order()[p] == 0) {
            EXPECT_EQ(r.model.OrderKeys()[p], 30u);
        }
    }
}

TEST(RaceModelLoad, ACarWhoseLastRecordOfAFrameLiesOffTheTrackIsNotDrawn) {
    ReplayBuilder b = RaceBuilder(3, 1, 40000);
    b.desc.sessions[0].cars[0].onTrack = false;  // the saving player sits out
    // The same low byte: both compact records name driver 1, the second last.
    b.desc.drivers[1].carId = 0x10C;
    b.desc.drivers[2].carId = 0x00C;
    b.desc.compactHook = [](const simkit::FrameContext& ctx, int driver, simkit::CompactRecordFields& c) {
        if (driver == 2 && ctx.frameInSession == 100) c.distance = 0xFFFFFF;  // laps beyond the track
    };
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.model.DrawFrame(100, r.display), RaceModel::DrawResult::Nothing);
    EXPECT_FALSE(r.model.Poses()[1].present);
    EXPECT_EQ(r.model.DrawMode(), 0);
    EXPECT_EQ(r.model.DrawFrame(101, r.display), RaceModel::DrawResult::Drawn);
    EXPECT_TRUE(r.model.Poses()[1].present);
}

// Codes at both ends of their fields come back exactly (the race is the only
// session: its frame f is the session's frame f), and a race read from
// its file in blocks (several megabytes, so windows cross block edges) loads
// as its bytes in memory do.
TEST(RaceModelLoad, CodesAtTheEndsOfTheirFieldsAndTheFileLoadExactly) {
    ReplayBuilder b = RaceBuilder(24, 3, 80000);
    b.desc.compactHook = [](const simkit::FrameContext& ctx, int driver, simkit::CompactRecordFields& c) {
        if (driver != 5) return;
        const bool low = ctx.frameInSession % 2 == 0;
        c.heading = low ? -2048 : 2047;
        c.lateral = low ? -65536 : 65535;
        if (ctx.frameInSession == 700) c.distance = 0xFFFFFF;
    };
    b.desc.fullHook = [](const simkit::FrameContext& ctx, simkit::FullRecordFields& f) {
        const bool low = ctx.frameInSession % 2 == 0;
        f.heading = low ? -2048 : 2047;
        f.lateral = low ? -524288 : 524287;
        if (ctx.frameInSession == 700) f.distance = 0x3FFFFFF;
    };
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    const float unit = static_cast<float>(r.Unit());
    const RaceModel::CarSample c700 = r.model.Sample(5, 700), c701 = r.model.Sample(5, 701);
    EXPECT_EQ(c700.distance, static_cast<double>(static_cast<float>(0xFFFFFF) * unit));
    EXPECT_EQ(c700.heading, -2048 * -0.087890625 + 180.0);
    EXPECT_EQ(c700.lateral, std::tan(-65536 * 2.261833e-5) * 26.6207);
    EXPECT_EQ(c701.heading, 2047 * -0.087890625 + 180.0);
    EXPECT_EQ(c701.lateral, std::tan(65535 * 2.261833e-5) * 26.6207);
    const RaceModel::CarSample f700 = r.model.Sample(0, 700), f701 = r.model.Sample(0, 701);
    EXPECT_EQ(f700.distance, 0x3FFFFFF * 0.0005);
    EXPECT_EQ(f700.lateral, std::tan(-524288 * 2.911741e-6) * 13.0);
    EXPECT_EQ(f701.heading, 2047 * -0.087890625 + 180.0);
    EXPECT_EQ(f701.lateral, std::tan(524287 * 2.911741e-6) * 13.0);

    test::ScratchDir dir("race-file");
    const auto path = dir / "race.rpy";
    ASSERT_TRUE(b.writeFile(path));
    ASSERT_GT(std::filesystem::file_size(path), 3u << 20);
    Drivers drivers;
    ASSERT_EQ(drivers.Load(path), Drivers::LoadResult::Ok);
    RaceModel file;
    ASSERT_TRUE(file.Load(drivers, r.header, r.track.path.get(), r.Unit(), r.prompts, nullptr));
    ASSERT_EQ(file.FrameCount(), r.model.FrameCount());
    for (std::uint32_t f = 0; f < file.FrameCount(); ++f) {
        ASSERT_EQ(file.FrameTime(f), r.model.FrameTime(f)) << f;
        ASSERT_EQ(file.FrameState(f), r.model.FrameState(f)) << f;
        for (int d = 0; d < r.model.DriverCount(); ++d) {
            const RaceModel::CarSample a = file.Sample(d, f), m = r.model.Sample(d, f);
            ASSERT_EQ(a.present, m.present) << f << " " << d;
            ASSERT_EQ(a.distance, m.distance) << f << " " << d;
            ASSERT_EQ(a.lateral, m.lateral) << f << " " << d;
            ASSERT_EQ(a.heading, m.heading) << f << " " << d;
        }
    }
}

// Cars that name no driver, first or second of two neighbouring records, are
// left out without moving the others; every car keeps its own codes, with
// its record's other fields (a top gear) kept out of them.
TEST(RaceModelLoad, CarsNamingNoDriverAmongOthersLeaveTheRestInPlace) {
    ReplayBuilder b = RaceBuilder(7, 1, 40000);
    b.desc.compactHook = [](const simkit::FrameContext& ctx, int driver, simkit::CompactRecordFields& c) {
        if (driver == 1 || driver == 4) c.carIdByte = 99;
        c.heading = driver % 2 ? -2048 + driver : 2047 - driver;
        c.lateral = driver % 2 ? -65536 + driver : 65535 - driver;
        c.distance = 0xFFFFFF - ctx.frameInSession - static_cast<std::uint32_t>(driver);
        c.gear = 6;
        c.valueG = 31;
    };
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    const float unit = static_cast<float>(r.Unit());
    for (std::uint32_t f : {0u, 1u, 777u}) {
        for (int d : {1, 4}) EXPECT_FALSE(r.model.Sample(d, f).present) << f << " " << d;
        for (int d : {2, 3, 5, 6}) {
            const RaceModel::CarSample s = r.model.Sample(d, f);
            ASSERT_TRUE(s.present) << f << " " << d;
            const int heading = d % 2 ? -2048 + d : 2047 - d;
            const int lateral = d % 2 ? -65536 + d : 65535 - d;
            const std::uint32_t distance = 0xFFFFFF - f - static_cast<std::uint32_t>(d);
            EXPECT_EQ(s.heading, heading * -0.087890625 + 180.0) << f << " " << d;
            EXPECT_EQ(s.lateral, std::tan(lateral * 2.261833e-5) * 26.6207) << f << " " << d;
            EXPECT_EQ(s.distance, static_cast<double>(static_cast<float>(distance) * unit)) << f << " " << d;
        }
    }
}

// Lap tables and texts over hand-made lap times: driver 0 laps 61234 ms,
// driver 1 83456 ms, driver 2 a single lap of 70000 ms; all start at 5000.
struct TimedRace : ::testing::Test {
    Race r;
    void SetUp() override {
        ReplayBuilder b;
        b.drivers(3).session(3, 3, 60000);
        auto& cars = b.desc.sessions[0].cars;
        b.desc.sessions[0].raceStartMs = 0;
        cars[0].laps = {61234, 61234, 61234};
        cars[1].laps = {83456, 83456, 83456};
        cars[2].laps = {70000};
        r.Build(b);
        ASSERT_TRUE(r.loaded);
    }
    const RaceModel::Texts& At(std::uint64_t ms) {
        r.Draw(r.FrameAt(ms));
        return r.model.GetTexts();
    }
};

TEST_F(TimedRace, LapTablesLeadersAndFinish) {
    EXPECT_EQ(r.model.MaxLaps(), 3);
    EXPECT_EQ(r.model.Crossing(0, 1), 5000u);
    EXPECT_EQ(r.model.Crossing(2, 1), 5000u + 2 * 83456);
    EXPECT_EQ(r.model.Crossing(2, 2), RaceModel::kNoCrossing);
    EXPECT_EQ(r.model.LapLeader(0), 0);  // all tie at the start: the lowest index
    EXPECT_EQ(r.model.LapLeader(1), 0);
    EXPECT_EQ(r.model.LapLeaderTime(1), 66234u);
    EXPECT_EQ(r.model.LapLeader(4), -1);
    EXPECT_EQ(r.model.FinishTime(), 5000u + 3 * 83456);
}

TEST_F(TimedRace, StatusTextsOfTheFocusedDriver) {
    // Before the first start stamp: no lap, no leader, no lap texts.
    const RaceModel::Texts& t0 = At(1000);
    EXPECT_EQ(t0.elapsed, "0:01");
    EXPECT_EQ(t0.currentLap, "");
    EXPECT_EQ(t0.leader, "");
    EXPECT_EQ(t0.driverLap, "");
    EXPECT_EQ(t0.position, "");

    r.model.SetFocus(RaceModel::Focus::Driver);
    r.model.SelectDriver(1);
    // Driver 1 crossed at 88456, driver 0 at 66234, driver 2 at 75000.
    const RaceModel::Texts& t = At(90000);
    EXPECT_EQ(t.elapsed, "1:30");
    EXPECT_EQ(t.currentLap, "2");
    EXPECT_EQ(t.leader, "A Morgan");
    EXPECT_EQ(t.name, "D Racer1");
    EXPECT_EQ(t.driverLap, "2");
    EXPECT_EQ(t.position, "3");
    EXPECT_EQ(t.gapAhead, "0:13.456");
    EXPECT_EQ(t.gapBehind, "");
    EXPECT_EQ(t.lastLap, "1:23.456");

    // Driver 0: the car behind at the line is driver 2, 8766 ms later; the
    // gap shows only once it has crossed.
    r.model.SelectDriver(0);
    EXPECT_EQ(At(70000).gapBehind, "");
    const RaceModel::Texts& t2 = At(76000);
    EXPECT_EQ(t2.gapBehind, "0:08.766");
    EXPECT_EQ(t2.gapAhead, "");
    EXPECT_EQ(t2.position, "1");
    EXPECT_EQ(t2.lastLap, "1:01.234");

    // After the last crossing of all.
    EXPECT_EQ(At(5000 + 3 * 83456 + 2000).status, kAllCarsFinishedText);

    r.model.SetFocus(RaceModel::Focus::Manual);
    const RaceModel::Texts& m = At(90000);
    EXPECT_EQ(r.model.FollowedDriver(), RaceModel::kNoDriver);
    EXPECT_EQ(m.name, "");
    EXPECT_EQ(m.lastLap, "");
    EXPECT_FALSE(r.model.DriverAhead());
    EXPECT_FALSE(r.model.NextLap(false));
}

TEST_F(TimedRace, LapStepsLandAfterTheCrossingAndSkipANearOne) {
    r.model.SetFocus(RaceModel::Focus::Driver);
    r.model.SelectDriver(0);
    r.Draw(r.FrameAt(30000));
    auto next = r.model.NextLap(false);
    ASSERT_TRUE(next);
    // First frame at or after crossing 1 + 300 ms.
    EXPECT_GE(r.model.FrameTime(*next), 66534u);
    EXPECT_LT(r.model.FrameTime(*next - 1), 66534u);
    EXPECT_EQ(r.model.CurrentFrame(), *next);
    // Again: lap 2's crossing.
    next = r.model.NextLap(false);
    ASSERT_TRUE(next);
    EXPECT_GE(r.model.FrameTime(*next), 66234u + 61234 + 300);
    EXPECT_LT(r.model.FrameTime(*next - 1), 66234u + 61234 + 300);
    // Back: just past crossing 2, so under 1000 ms: crossing 1.
    auto prev = r.model.PreviousLap(false);
    ASSERT_TRUE(prev);
    EXPECT_LE(r.model.FrameTime(*prev), 66534u);
    EXPECT_GT(r.model.FrameTime(*prev + 1), 66534u);
    // In fast reverse, Next takes one lap more.
    r.Draw(r.FrameAt(30000));
    next = r.model.NextLap(true);
    ASSERT_TRUE(next);
    EXPECT_GE(r.model.FrameTime(*next), 66234u + 61234 + 300);
    // Before the start stamp there is no lap before: nothing.
    r.Draw(r.FrameAt(2000));
    EXPECT_FALSE(r.model.PreviousLap(false));
    EXPECT_EQ(r.model.CurrentFrame(), r.FrameAt(2000));
    // Past the driver's last crossing Next has nowhere to go.
    r.Draw(r.FrameAt(5000 + 3 * 61234 + 500));
    EXPECT_FALSE(r.model.NextLap(false));
}

// Cars placed by hand: driver 0 (the saver) is off track; drivers 1-3 at
// chosen compact distances.
struct PlacedRace : ::testing::Test {
    Race r;
    std::array<double, 4> metres{0, 500, 490, 480};
    int onTrack = 3;
    void Load() {
        ReplayBuilder b = RaceBuilder(4, 1, 60000);
        b.desc.sessions[0].cars[0].onTrack = false;
        for (int d = onTrack + 1; d < 4; ++d) b.desc.sessions[0].cars[static_cast<std::size_t>(d)].onTrack = false;
        const double unit = r.Unit();
        b.desc.compactHook = [this, unit](const simkit::FrameContext&, int d, simkit::CompactRecordFields& c) {
            c.distance = static_cast<std::uint32_t>(std::lround(metres[static_cast<std::size_t>(d)] / unit));
        };
        r.Build(b);
        ASSERT_TRUE(r.loaded);
        r.Draw(100);
    }
};

TEST_F(PlacedRace, DriverStepsWrapAndTheClosestFightTiesToTheFront) {
    metres = {0, 500, 490, 480};
    Load();
    EXPECT_EQ(r.model.Order()[0], 1);
    EXPECT_EQ(r.model.Order()[2], 3);
    EXPECT_EQ(r.model.OrderKeys()[3], 0u);  // the absent saver
    // Leader focus before the start follows the front car.
    EXPECT_EQ(r.model.FollowedDriver(), 1);
    EXPECT_EQ(r.model.FollowedPoint(), r.model.Poses()[1].device);
    EXPECT_EQ(r.model.DriverAhead(), 3);  // wraps to the last car on track
    EXPECT_EQ(r.model.GetFocus(), RaceModel::Focus::Driver);
    r.Draw(100);
    EXPECT_EQ(r.model.DriverBehind(), 1);  // wraps to the front
    r.Draw(100);
    EXPECT_EQ(r.model.DriverBehind(), 2);
    r.Draw(100);
    EXPECT_EQ(r.model.DriverAhead(), 1);
    // Two gaps of 10 m: the front pair's rear car.
    EXPECT_EQ(r.model.ClosestFight(), 2);
}

TEST_F(PlacedRace, ClosestFightTakesTheSmallestGapAndNeedsTwoCars) {
    metres = {0, 500, 490, 485};
    Load();
    EXPECT_EQ(r.model.ClosestFight(), 3);
    EXPECT_EQ(r.model.SelectedDriver(), 3);
}

TEST_F(PlacedRace, OneCarHasNoFight) {
    onTrack = 1;
    Load();
    EXPECT_FALSE(r.model.ClosestFight());
    EXPECT_EQ(r.model.DriverBehind(), 1);  // itself
}

TEST(RaceModelLoad, ADriverOfFiveHundredAndTwelveLaps) {
    ReplayBuilder b;
    b.drivers(2).session(3, 512, 400, 1000);
    b.desc.sessions[0].raceStartMs = 0;
    b.desc.sessions[0].cars[1].laps.resize(3);
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.model.MaxLaps(), 512);
    EXPECT_EQ(r.model.Crossing(512, 0), 1000u + 512 * 400);
    EXPECT_EQ(r.model.LapLeader(512), 0);
    EXPECT_EQ(r.model.LapLeader(513), -1);
    r.model.SetFocus(RaceModel::Focus::Driver);
    r.model.SelectDriver(0);
    r.Draw(r.model.FrameCount() - 1);
    EXPECT_EQ(r.model.GetTexts().driverLap, "513");
    EXPECT_EQ(r.model.GetTexts().status, kAllCarsFinishedText);
    EXPECT_FALSE(r.model.NextLap(false));
}

// A damaged race fails with its message and leaves nothing to play.
void ExpectFailedLoad(Race& r) {
    EXPECT_FALSE(r.loaded);
    EXPECT_FALSE(r.model.Loaded());
    ASSERT_FALSE(r.prompts.messages().empty());
    EXPECT_EQ(r.prompts.messages().back(), kRaceReadErrorText);
    EXPECT_EQ(r.model.FrameCount(), 0u);
    EXPECT_EQ(r.model.DrawFrame(0, r.display), RaceModel::DrawResult::Nothing);
    EXPECT_FALSE(r.model.SliderMoved(3));
    EXPECT_FALSE(r.model.NextLap(false));
    EXPECT_FALSE(r.model.ClosestFight());
    EXPECT_TRUE(r.model.Poses().empty());
}

TEST(RaceModelMalformed, EveryDamageFailsTheLoad) {
    struct Case {
        const char* name;
        std::function<void(simkit::FrameContext&)> hook;
    };
    const std::vector<Case> cases = {
        {"unknown type",
         [](simkit::FrameContext& c) {
             if (c.session == 1 && c.frameInSession == 40) c.records.push_back({7, -1, {1, 2, 3, 4}});
         }},
        {"record length below its header",
         [](simkit::FrameContext& c) {
             if (c.session == 1 && c.frameInSession == 40) c.records.push_back({20, 2, {}});
         }},
        {"record past its frame",
         [](simkit::FrameContext& c) {
             if (c.session == 1 && c.frameInSession == 40) c.records.push_back({20, 400, {0, 0, 0, 0}});
         }},
        {"unknown type before the race",
         [](simkit::FrameContext& c) {
             if (c.session == 0 && c.frameInSession == 36) c.records.push_back({7, -1, {1, 2, 3, 4}});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReplayBuilder b;
        b.drivers(2).session(1, 1, 20000).session(3, 1, 20000);
        b.desc.sessions.back().raceStartMs = 0;
        Race good;
        good.Build(b);
        ASSERT_TRUE(good.loaded);
        // The driver table of the sound replay over the damaged stream: the
        // table's own reader refuses the damage before the race loader sees it.
        b.desc.frameHook = c.hook;
        Race r;
        r.bytes = b.build();
        r.header.ReadBytes(r.bytes);
        r.drivers = good.drivers;
        r.drivers.frameBytes = static_cast<std::uint32_t>(r.bytes[good.layout.frameChunk + 8] |
                                                          (r.bytes[good.layout.frameChunk + 9] << 8) |
                                                          (r.bytes[good.layout.frameChunk + 10] << 16));
        ReplaySource src(r.bytes);
        r.loaded = r.model.Load(src, r.drivers, r.header, r.track.path.get(), r.Unit(), r.prompts, nullptr);
        ExpectFailedLoad(r);
    }
}

TEST(RaceModelMalformed, DamagedBytesFailTheLoad) {
    ReplayBuilder b = RaceBuilder(2, 1, 20000);
    Race good;
    good.Build(b);
    ASSERT_TRUE(good.loaded);
    const auto& frames = good.layout.frames;
    auto damage = [&](auto edit) {
        Race r;
        r.bytes = good.bytes;
        edit(r.bytes);
        r.header.ReadBytes(r.bytes);
        r.drivers = good.drivers;
        ReplaySource src(r.bytes);
        r.loaded = r.model.Load(src, r.drivers, r.header, r.track.path.get(), r.Unit(), r.prompts, nullptr);
        ExpectFailedLoad(r);
    };
    // A frame size below the header's.
    damage([&](std::vector<std::uint8_t>& v) {
        v[frames[50]] = 4;
        v[frames[50] + 1] = 0;
    });
    // A frame size that runs past the stream.
    damage([&](std::vector<std::uint8_t>& v) {
        v[frames[50]] = 0xFF;
        v[frames[50] + 1] = 0xFF;
    });
    // The file cut short inside the frames.
    damage([&](std::vector<std::uint8_t>& v) { v.resize(frames[60] + 5); });
    // No race session at all.
    damage([&](std::vector<std::uint8_t>& v) {
        for (std::uint64_t off : frames) {
            if ((v[off + 8] | (v[off + 9] << 8)) == 13) v[off + 12] = 1;  // race kind 3 -> 1
        }
    });
}

TEST(RaceModelMalformed, AStartValueAboveTheFrameCountOnlySizesTheFirstGuess) {
    ReplayBuilder b = RaceBuilder(2, 1, 20000);
    b.desc.sessions[0].raceStartWord = 0xFFFFFFF0u;
    Race r;
    r.Build(b);
    ASSERT_TRUE(r.loaded);
    EXPECT_EQ(r.model.FrameCount(), r.layout.frames.size());
    r.model.Unload();
    EXPECT_FALSE(r.model.Loaded());
    EXPECT_TRUE(r.model.Poses().empty());
    EXPECT_EQ(r.model.FollowedPoint(), DevicePoint{});
}

TEST(RaceModelText, TimesAndGaps) {
    EXPECT_EQ(FormatRaceElapsed(0), "0:00");
    EXPECT_EQ(FormatRaceElapsed(59499), "0:59");
    EXPECT_EQ(FormatRaceElapsed(59500), "1:00");
    EXPECT_EQ(FormatRaceElapsed(605000), "10:05");
    EXPECT_EQ(FormatRaceGap(1234), "0:01.234");
    EXPECT_EQ(FormatRaceGap(83456), "1:23.456");
    EXPECT_EQ(FormatRaceGap(60007), "1:00.007");
}

}  // namespace
}  // namespace vra
