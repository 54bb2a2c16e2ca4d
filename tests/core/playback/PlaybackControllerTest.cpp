// The playback controller against recording ports: command flags, the lines
// tick's read-outs and drawing, following, zoom to the start, race ticks.
#include "core/playback/PlaybackController.h"

#include "core/decode/KtObjectFactory.h"
#include "core/document/LapLinePlotter.h"
#include "core/document/TrackDistanceUnit.h"
#include "core/playback/RaceModel.h"
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ReplaySource.h"
#include "core/track/TrackPath.h"

#include "simkit/replay/ReplayBuilder.h"
#include "simkit/track/TrackLayout.h"
#include "support/platform/ScriptedPrompts.h"
#include "support/track/RecordingDisplay.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vra {
namespace {

using ::testing::ElementsAre;

// Device points of lines land where the recording display puts them, moved
// by an offset, so that a test can place the start of a lap on the canvas.
class OffsetDisplay : public simkit::RecordingDisplay {
public:
    DevicePoint offset;
    void DrawLine(const Point2D& newPoint, const Point2D& previous, Point2D& deviceEnd, std::int32_t colourIndex,
                  bool mapOnly) override {
        RecordingDisplay::DrawLine(newPoint, previous, deviceEnd, colourIndex, mapOnly);
        deviceEnd.x += offset.x;
        deviceEnd.y += offset.y;
    }
};

struct Readout {
    std::string speed, revs, gear;
};

class FakePorts : public PlaybackPorts {
public:
    std::unique_ptr<TrackPath> path =
        std::make_unique<TrackPath>(KtObjectFactory::ReadTrackImage(simkit::TrackLayout::Oval().PtfImage()));
    OffsetDisplay display;
    std::array<std::unique_ptr<GetRpyInfo>, kPlaybackLaps> laps;
    std::array<std::unique_ptr<LapLinePlotter>, kPlaybackLaps> plotters;
    std::array<bool, kPlaybackLaps> ticked{};
    bool track = true, miles = false, metersSwitch = true;
    LinesFollow follow = LinesFollow::Leader;
    int followedLap = -1;
    int raceLap = 0;
    std::function<bool(int)> loadRace;
    ZoomSize canvas{2000, 1000};

    bool timer = false, lapControls = true, indicator = false, meters = false, raceBar = false;
    int fullRedraws = 0, zoomFulls = 0, restartsSeen = 0;
    std::vector<std::string> messages;
    std::vector<ZoomRect> zooms;
    std::vector<DevicePoint> centres;
    std::string elapsed;
    std::array<Readout, kPlaybackLaps> readouts;
    std::array<std::array<bool, 3>, kPlaybackLaps> splits{};
    std::array<int, kPlaybackLaps> sectors{};

    // A lap of n samples: distance 2 m a sample times speedFactor, speed 200
    // km/h, gear from the sample, 5450 revolutions, heading 0.
    void AddLap(int slot, int n, double metresPerSample = 2.0) {
        auto lap = std::make_unique<GetRpyInfo>();
        lap->sampleCount = n;
        const std::size_t size = static_cast<std::size_t>(n) + 1;
        lap->speed.assign(size, 200.0);
        lap->revolutions.assign(size, 5450.0);
        lap->gear.assign(size, 3);
        lap->heading.assign(size, 0);
        lap->distanceM.resize(size);
        lap->lateralM.assign(size, 0.0);
        for (std::size_t i = 0; i < size; ++i) lap->distanceM[i] = 1.0 + metresPerSample * static_cast<double>(i);
        lap->splitMs = {1000, 2000, 3000};
        laps[static_cast<std::size_t>(slot)] = std::move(lap);
        plotters[static_cast<std::size_t>(slot)] = std::make_unique<LapLinePlotter>(path.get(), slot);
        ticked[static_cast<std::size_t>(slot)] = true;
    }

    void StartTimer() override { timer = true; }
    void StopTimer() override { timer = false; }
    void RequestFullRedraw() override { ++fullRedraws; }
    void Invalidate() override {}
    void ZoomToolOff() override {}
    void PanOff() override {}
    void ZoomFull() override { ++zoomFulls; }
    void ZoomIn(const ZoomRect& rect) override { zooms.push_back(rect); }
    void CenterOn(DevicePoint p) override { centres.push_back(p); }
    ZoomSize Canvas() override { return canvas; }
    CoreDisplay& Display() override { return display; }
    void Message(std::string_view text, bool) override { messages.emplace_back(text); }
    const GetRpyInfo* Lap(int slot) override { return laps[static_cast<std::size_t>(slot)].get(); }
    LapLinePlotter* Plotter(int slot) override { return plotters[static_cast<std::size_t>(slot)].get(); }
    bool HasTrack() override { return track; }
    bool SpeedInMiles() override { return miles; }
    bool LapTicked(int slot) override { return ticked[static_cast<std::size_t>(slot)]; }
    LinesFollow Follow() override { return follow; }
    int FollowedLap() override { return followedLap; }
    void SetLapControlsEnabled(bool on) override { lapControls = on; }
    void SetPlayingIndicator(bool on) override { indicator = on; }
    void SetElapsed(std::string_view text) override { elapsed = text; }
    void SetReadouts(int slot, std::string_view speed, std::string_view revs, std::string_view gear) override {
        readouts[static_cast<std::size_t>(slot)] = {std::string(speed), std::string(revs), std::string(gear)};
    }
    void SetSplitShown(int slot, int split, bool shown) override {
        splits[static_cast<std::size_t>(slot)][static_cast<std::size_t>(split)] = shown;
    }
    void SetSector(int slot, int sector) override { sectors[static_cast<std::size_t>(slot)] = sector; }
    bool MetersSwitch() override { return metersSwitch; }
    void SetupMeters() override {}
    void ShowMeters(bool shown) override { meters = shown; }
    void UpdateMeters(std::uint32_t) override {}
    int ChooseRaceLap() override { return raceLap; }
    void ShowRaceBar(bool shown) override { raceBar = shown; }
    bool LoadRace(int slot) override { return loadRace ? loadRace(slot) : false; }
    void RaceChanged() override {}
    void StateChanged() override { ++stateChanges; }
    int stateChanges = 0;
};

struct Flags {
    bool playing, paused, fastForward, fastReverse, race;
    friend bool operator==(const Flags&, const Flags&) = default;
};
Flags FlagsOf(const PlaybackController& c) {
    return {c.Playing(), c.Paused(), c.FastForwarding(), c.FastReversing(), c.RaceMode()};
}

struct Lines : ::testing::Test {
    FakePorts ports;
    RaceModel race;
    PlaybackController c{ports, race};
    void TicksTo(std::uint32_t position) {
        while (c.Position() < position && c.Playing()) c.Tick();
    }
};

TEST_F(Lines, RefusalsKeepEveryFlag) {
    ports.track = false;
    c.Play();
    EXPECT_THAT(ports.messages, ElementsAre(std::string(kNoTrackForLinesText)));
    ports.track = true;
    c.Play();  // no lap ticked
    EXPECT_EQ(ports.messages.back(), kChooseLapsText);
    EXPECT_EQ(FlagsOf(c), (Flags{false, false, false, false, false}));
    EXPECT_FALSE(ports.timer);
    // Race mode refusals: the lap is picked first, then its race
    // information is checked before the track.
    ports.AddLap(0, 100);
    c.Play();
    c.Pause();
    const Flags paused = FlagsOf(c);
    ports.track = false;
    c.ToggleRaceReplay();  // the lap has no driver table with a race
    EXPECT_EQ(ports.messages.back(), kNoRaceInfoText);
    const std::size_t told = ports.messages.size();
    ports.raceLap = -1;
    c.ToggleRaceReplay();  // no lap picked: nothing to refuse
    EXPECT_EQ(ports.messages.size(), told);
    ports.raceLap = 0;
    ports.track = true;
    c.ToggleRaceReplay();
    EXPECT_EQ(ports.messages.back(), kNoRaceInfoText);
    EXPECT_EQ(FlagsOf(c), paused);
    EXPECT_FALSE(ports.lapControls);
    // Commands of the other mode do nothing.
    c.FastReverse();
    EXPECT_EQ(FlagsOf(c), paused);
}

TEST_F(Lines, CommandsSetTheirFlagsTimerAndBars) {
    ports.AddLap(0, 100);
    c.Play();
    EXPECT_EQ(FlagsOf(c), (Flags{true, false, false, false, false}));
    EXPECT_TRUE(ports.timer);
    EXPECT_FALSE(ports.lapControls);
    EXPECT_TRUE(ports.indicator);
    EXPECT_TRUE(ports.meters);
    EXPECT_EQ(ports.zooms.size(), 1u);
    c.FastForward();
    EXPECT_EQ(FlagsOf(c), (Flags{true, false, true, false, false}));
    c.Tick();
    EXPECT_EQ(c.Position(), 4u);
    c.Play();  // back to normal speed
    c.Tick();
    EXPECT_EQ(c.Position(), 6u);
    c.Pause();
    EXPECT_EQ(FlagsOf(c), (Flags{false, true, false, false, false}));
    EXPECT_FALSE(ports.timer);
    c.Play();  // resumes without zooming to the start again
    EXPECT_EQ(ports.zooms.size(), 1u);
    EXPECT_EQ(c.Position(), 6u);
    c.Stop();
    EXPECT_EQ(FlagsOf(c), (Flags{false, false, false, false, false}));
    EXPECT_EQ(c.Position(), 0u);
    EXPECT_TRUE(ports.lapControls);
    EXPECT_FALSE(ports.indicator);
    EXPECT_FALSE(ports.meters);
    // Fast forward from idle plays too, without the lap boxes' lock.
    c.FastForward();
    EXPECT_EQ(FlagsOf(c), (Flags{true, false, true, false, false}));
    EXPECT_TRUE(ports.lapControls);
}

// A zoom click holds the playback until the picture is rebuilt; a command
// given meanwhile finds it playing, so Stop ends it whole.
TEST_F(Lines, AZoomClickHoldsThePlaybackUntilTheRedraw) {
    ports.AddLap(0, 100);
    c.Play();
    c.Tick();
    const int redraws = ports.fullRedraws;
    c.Suspend();
    EXPECT_TRUE(c.Suspended());
    EXPECT_FALSE(c.Playing());
    EXPECT_FALSE(ports.timer);
    EXPECT_EQ(ports.fullRedraws, redraws + 1);
    c.Resume();
    EXPECT_TRUE(c.Playing());
    EXPECT_TRUE(ports.timer);
    EXPECT_FALSE(c.Suspended());

    c.Suspend();
    c.Stop();
    EXPECT_EQ(FlagsOf(c), (Flags{false, false, false, false, false}));
    EXPECT_FALSE(ports.timer);
    EXPECT_TRUE(ports.lapControls);
    EXPECT_FALSE(ports.indicator);
    c.Suspend();  // nothing plays: nothing to hold
    EXPECT_FALSE(c.Suspended());
}

// The window's commands follow the flags: each call that changes them tells
// the ports once, however many steps it took; the others say nothing.
TEST_F(Lines, EveryChangeOfTheFlagsIsToldOnce) {
    ports.AddLap(0, 20);
    c.Play();
    c.Tick();
    c.Play();  // already at normal speed
    EXPECT_EQ(ports.stateChanges, 1);
    c.Suspend();
    c.Resume();
    EXPECT_EQ(ports.stateChanges, 3);
    c.Suspend();
    c.Pause();  // resumes, then pauses
    EXPECT_EQ(ports.stateChanges, 5);
    c.Play();
    while (c.Playing()) c.Tick();  // the lap's end
    EXPECT_EQ(ports.stateChanges, 7);
}

TEST_F(Lines, ReadoutsOfATick) {
    ports.AddLap(0, 3000);
    ports.miles = true;
    ports.laps[0]->gear[2] = -1;
    ports.laps[0]->revolutions[4] = 5449.9;
    ports.laps[0]->heading[4] = 640;
    c.Play();
    c.Tick();
    EXPECT_EQ(c.Position(), 2u);
    EXPECT_EQ(ports.readouts[0].speed, "124");  // 200 km/h
    EXPECT_EQ(ports.readouts[0].gear, "R");
    EXPECT_EQ(ports.readouts[0].revs, "55");
    c.Tick();
    EXPECT_EQ(ports.readouts[0].revs, "54");
    EXPECT_EQ(ports.readouts[0].gear, "3");
    EXPECT_EQ(ports.sectors[0], 1);
    TicksTo(2196);
    EXPECT_EQ(ports.elapsed, "1:01");
    EXPECT_EQ(GearText(0), "N");
    EXPECT_EQ(GearText(6), "6");
    EXPECT_EQ(GearText(7), "");
}

TEST_F(Lines, SplitsShowBelowTheClockAndHideAfterBeginning) {
    ports.AddLap(0, 3000);
    c.Play();
    TicksTo(36);  // t = 35000 / 36 = 972 ms
    EXPECT_FALSE(ports.splits[0][0]);
    c.Tick();  // 38: 1027 ms
    EXPECT_TRUE(ports.splits[0][0]);
    EXPECT_FALSE(ports.splits[0][1]);
    c.MoveToBeginningOfLap();
    EXPECT_EQ(c.Position(), 0u);
    ports.display.Clear();
    c.Tick();
    EXPECT_FALSE(ports.splits[0][0]);
    // The line starts anew on the first tick after the beginning.
    EXPECT_EQ(ports.display.Count(simkit::RecordingDisplay::Op::Line), 0u);
    EXPECT_FALSE(c.LapPoints()[0].valid);
    c.Tick();
    EXPECT_EQ(ports.display.Count(simkit::RecordingDisplay::Op::Line), 1u);
    EXPECT_TRUE(c.LapPoints()[0].valid);
}

TEST_F(Lines, AShorterLapFreezesAndTheLongestEndsThePlayback) {
    ports.AddLap(0, 100, 2.0);
    ports.AddLap(1, 50, 4.0);  // ahead on the track while it drives
    c.Play();
    TicksTo(48);
    ASSERT_TRUE(c.LapPoints()[1].valid);
    EXPECT_EQ(ports.centres.back(), c.LapPoints()[1].point);
    c.Tick();  // 50: lap 2 has ended
    EXPECT_FALSE(c.LapPoints()[1].valid);
    EXPECT_EQ(ports.centres.back(), c.LapPoints()[0].point);
    // Following lap 2 by choice keeps the map where it is.
    ports.follow = LinesFollow::Driver;
    ports.followedLap = 1;
    const std::size_t centres = ports.centres.size();
    c.Tick();
    EXPECT_EQ(ports.centres.size(), centres);
    TicksTo(98);
    EXPECT_TRUE(c.Playing());
    const int redraws = ports.fullRedraws;
    c.Tick();  // 100: no lap is active
    EXPECT_FALSE(c.Playing());
    EXPECT_EQ(c.Position(), 0u);
    EXPECT_FALSE(ports.timer);
    EXPECT_TRUE(ports.lapControls);
    EXPECT_FALSE(ports.meters);
    EXPECT_EQ(ports.fullRedraws, redraws);
}

TEST_F(Lines, ZoomToTheStartClampsAtEachEdge) {
    ports.AddLap(0, 100);
    const Point2D start = ports.path->PieceAt(0).PositionAt(0.0, 0.0);
    auto placeStart = [&](int x, int y) {
        const DevicePoint d = ports.display.ToDevice(start);
        ports.display.offset = {x - d.x, y - d.y};
    };
    struct Case {
        int x, y;
        ZoomRect lines;
    };
    // Canvas 2000 x 1000: half sizes 100 x 50, a tenth 200 x 100 at an edge.
    const std::vector<Case> cases = {
        {500, 400, {400, 350, 600, 450}}, {50, 400, {0, 350, 200, 450}},     {1950, 400, {1800, 350, 2000, 450}},
        {500, 20, {400, 0, 600, 100}},    {500, 990, {400, 900, 600, 1000}},
    };
    for (const Case& k : cases) {
        placeStart(k.x, k.y);
        c.ScrollToCurrentPosition();
        EXPECT_EQ(ports.zooms.back(), k.lines) << k.x << "," << k.y;
    }
    EXPECT_EQ(HeadingToSector(896), 0);
    EXPECT_EQ(HeadingToSector(640), 1);
    EXPECT_EQ(HeadingToSector(639), 2);
    EXPECT_EQ(HeadingToSector(2100), 12);
    EXPECT_EQ(HeadingToSector(3000), -1);
    EXPECT_EQ(HeadingToSector(-2048), 12);
}

// A race of two cars over built replay bytes, played through the controller.
struct RacePlay : ::testing::Test {
    FakePorts ports;
    RaceModel race;
    PlaybackController c{ports, race};
    std::vector<std::uint8_t> bytes;
    Header header;
    Drivers drivers;
    test::ScriptedPrompts prompts;

    void SetUp() override {
        simkit::ReplayBuilder b;
        b.drivers(2).session(3, 1, 20000);
        b.desc.sessions[0].raceStartMs = 0;
        b.trackLength(ports.path->Length());
        bytes = b.build();
        header.ReadBytes(bytes);
        ASSERT_EQ(drivers.LoadBytes(bytes), Drivers::LoadResult::Ok);
        ports.AddLap(0, 100);
        ports.laps[0]->drivers = &drivers;
        ports.loadRace = [this](int) {
            ReplaySource src(bytes);
            return race.Load(src, drivers, header, ports.path.get(), TrackDistanceUnitFor(ports.path->Length()),
                             prompts, nullptr);
        };
    }
};

TEST_F(RacePlay, TicksStepByTwoFourAndBackAndStopAtEitherEnd) {
    ASSERT_TRUE(drivers.raceStartSeen);
    c.ToggleRaceReplay();
    ASSERT_TRUE(c.RaceMode());
    ASSERT_TRUE(race.Loaded());
    EXPECT_TRUE(ports.raceBar);
    // Race mode zooms closer: a thirtieth of the canvas each side, a
    // fifteenth at an edge.
    const DevicePoint d = ports.display.ToDevice(ports.path->PieceAt(0).PositionAt(0.0, 0.0));
    ports.display.offset = {1990 - d.x, 400 - d.y};
    c.Play();
    EXPECT_EQ(ports.zooms.back(), (ZoomRect{1867, 367, 2000, 433}));
    c.Tick();
    EXPECT_EQ(c.Position(), 2u);
    EXPECT_EQ(race.CurrentFrame(), 2u);
    c.FastForward();
    c.Tick();
    EXPECT_EQ(c.Position(), 6u);
    c.FastReverse();
    EXPECT_EQ(FlagsOf(c), (Flags{true, false, false, true, true}));
    c.Tick();
    EXPECT_EQ(c.Position(), 2u);
    c.Tick();  // below frame 0: frame 0 drawn, then stopped
    EXPECT_EQ(c.Position(), 0u);
    EXPECT_EQ(race.CurrentFrame(), 0u);
    EXPECT_EQ(FlagsOf(c), (Flags{false, false, false, false, true}));
    EXPECT_FALSE(ports.timer);
    // The end of the race stops the playback and keeps the position.
    const std::uint32_t count = race.FrameCount();
    c.Play();
    c.StepTo(count - 2);  // plays on past the last frame
    EXPECT_FALSE(c.Playing());
    EXPECT_EQ(c.Position(), count);
    // Paused, a step shows exactly the frame asked for.
    c.Play();
    c.Pause();
    c.StepTo(10);
    EXPECT_EQ(race.CurrentFrame(), 10u);
    EXPECT_TRUE(c.Paused());
    c.ToggleRaceReplay();
    EXPECT_FALSE(c.RaceMode());
    EXPECT_FALSE(race.Loaded());
    EXPECT_FALSE(ports.raceBar);
    EXPECT_EQ(FlagsOf(c), (Flags{false, false, false, false, false}));
}

TEST_F(RacePlay, AFailedLoadLeavesRaceModeWithNothingToPlay) {
    bytes.resize(bytes.size() / 2);
    c.ToggleRaceReplay();
    EXPECT_TRUE(c.RaceMode());
    EXPECT_FALSE(race.Loaded());
    EXPECT_EQ(prompts.messages().back(), kRaceReadErrorText);
    c.Play();
    c.FastForward();
    c.FastReverse();
    c.StepTo(5);
    c.Tick();
    EXPECT_EQ(FlagsOf(c), (Flags{false, false, false, false, true}));
    EXPECT_FALSE(ports.timer);
    EXPECT_EQ(c.Position(), 0u);
    c.ToggleRaceReplay();
    EXPECT_FALSE(c.RaceMode());
}

TEST_F(RacePlay, ARaceWithoutATrackMapIsRefusedAndTheLinesStay) {
    c.Play();
    ports.track = false;
    c.ToggleRaceReplay();
    EXPECT_EQ(ports.messages.back(), kNoTrackForRaceText);
    EXPECT_EQ(FlagsOf(c), (Flags{true, false, false, false, false}));
    EXPECT_FALSE(ports.raceBar);
}

TEST_F(RacePlay, TogglingFromPausedLinesEndsTheLinesPlayback) {
    c.Play();
    c.Tick();
    c.Pause();
    EXPECT_FALSE(ports.lapControls);
    c.ToggleRaceReplay();
    EXPECT_TRUE(c.RaceMode());
    EXPECT_TRUE(ports.lapControls);
    EXPECT_FALSE(ports.indicator);
    EXPECT_EQ(FlagsOf(c), (Flags{false, false, false, false, true}));
}

}  // namespace
}  // namespace vra
