#include "core/replay/GetRpyInfo.h"

#include "ReplayFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <tuple>

namespace vra {

// Failure messages name a result by its number.
std::ostream& operator<<(std::ostream& out, GetRpyInfo::Result result) {
    return out << static_cast<int>(result);
}

namespace {

using simkit::FrameContext;
using simkit::ReplayBuilder;
using ::testing::ElementsAre;
using ::testing::Gt;
using ::testing::Lt;
using testing::RaceReplay;
using testing::TempDir;

constexpr double kLength = 1000.0;  // that of RaceReplay()
constexpr double kMsPerFrame = 1000.0 / 36.0;

// Frames of a session that starts at 0 ms, numbered from 0: the last frame
// before a time and the first frame after it.
int LastFrameBefore(std::uint64_t ms) {
    return static_cast<int>(std::ceil(ms / kMsPerFrame)) - 1;
}
int FirstFrameAfter(std::uint64_t ms) {
    return static_cast<int>(std::floor(ms / kMsPerFrame)) + 1;
}
double FrameMs(int frame) {
    return frame * kMsPerFrame;
}

struct Extracted {
    std::vector<std::uint8_t> bytes;
    Drivers drivers;
    GetRpyInfo lap;
    GetRpyInfo::Result result = GetRpyInfo::Result::NotOpened;
};

// Builds the replay and extracts the lap; with a margin also trims it. True when every step succeeded.
bool Extract(ReplayBuilder& b, int driver, int lap, int kind, Extracted& out, int margin = 0) {
    out.bytes = b.build();
    EXPECT_EQ(out.drivers.LoadBytes(out.bytes), Drivers::LoadResult::Ok);
    out.result = out.lap.ExtractLapFromBytes(out.bytes, out.drivers, driver, lap, kind, static_cast<float>(kLength));
    return out.result == GetRpyInfo::Result::Ok &&
           (margin == 0 || out.lap.AllocateChannels(margin) == GetRpyInfo::Result::Ok);
}

// The saving player's lap from its full records, another car's from its
// compact records (its car id is above 255: only its low byte is in them).
TEST(ExtractLap, LapIsTrimmedToOneSampleOutsideEachLine) {
    auto b = RaceReplay();
    b.desc.drivers[2].carId = 0x1234;
    b.desc.lateral = [](int driver, double ms) { return driver == 2 ? -3.25 : 4.0 * std::sin(ms / 1000.0); };
    EXPECT_NE(GetRpyInfo().AllocateChannels(1), GetRpyInfo::Result::Ok);  // nothing extracted
    for (auto [driver, lapNo, tolerance] : {std::tuple{0, 2, 0.0006}, {2, 3, 0.002}}) {
        SCOPED_TRACE(driver);
        Extracted x;
        ASSERT_TRUE(Extract(b, driver, lapNo, Race, x)) << x.result;
        // No engine blocks in this replay; nothing missing.
        EXPECT_THAT((std::vector<std::int64_t>{x.lap.fullData, x.lap.blockTypes, x.lap.sampleCount - x.lap.foundCount,
                                               x.lap.missingCount, x.lap.longestGap}),
                    ElementsAre(0, 0, 0, 0, 0));
        ASSERT_EQ(x.lap.AllocateChannels(1), GetRpyInfo::Result::Ok);
        const auto& car = b.desc.sessions[0].cars[static_cast<std::size_t>(driver)];
        const std::uint64_t start = ReplayBuilder::LapStartMs(car, lapNo), end = ReplayBuilder::LapEndMs(car, lapNo);
        const int fa = LastFrameBefore(start), fb = FirstFrameAfter(end);
        const std::size_t n = static_cast<std::size_t>(x.lap.sampleCount);
        ASSERT_EQ(x.lap.sampleCount, fb - fa + 2);
        for (std::size_t i = 1; i <= n; ++i) {
            const double ms = FrameMs(fa - 1 + static_cast<int>(i));
            ASSERT_NEAR(x.lap.distanceM[i], ReplayBuilder::DistanceAt(car, ms, kLength), tolerance) << i;
            ASSERT_NEAR(x.lap.lateralM[i], b.desc.lateral(driver, ms), driver ? 1e-3 : 1e-4) << i;
            ASSERT_TRUE(driver == 0 || x.lap.throttle[i] == 0) << i;
        }
        // Sample 1 lies before the start line, sample 2 after it; the last but
        // one is the first sample after the finish line.
        const auto& m = x.lap.distanceM;
        EXPECT_THAT((std::vector<double>{m[1], m[2], m[n - 1], m[n - 2]}),
                    ElementsAre(Gt(kLength - 50), Lt(50), Lt(50), Gt(kLength - 50)));
        // Frames count from 1.
        EXPECT_THAT((std::vector<std::int64_t>{x.lap.lapStartFrame, x.lap.lapEndFrame}), ElementsAre(fa + 1, fb));
        // Measured between the samples around the lines: within a frame and the rounding of the frame times.
        const double lapMs = 8000.0 + 250 * driver;
        EXPECT_NEAR(static_cast<double>(x.lap.lapTimeMs), lapMs, kMsPerFrame + 3);
        for (double step : {x.lap.distanceStepStart * 0.0005, x.lap.distanceStepEnd * 0.0005})
            EXPECT_NEAR(step, kLength / lapMs * kMsPerFrame, driver ? 0.005 : 0.002);
        EXPECT_THAT((std::vector<std::uint64_t>{x.lap.lapStartMs, x.lap.lapEndMs}), ElementsAre(start, end));
        // The derived channels are there, zeroed, for the lap channels to fill.
        EXPECT_THAT((std::vector<std::size_t>{x.lap.mapX.size(), x.lap.mapY.size(), x.lap.slipAngle.size(),
                                              x.lap.distance.size()}),
                    ElementsAre(n + 3, n + 3, n + 1, n + 1));
        for (const auto* v : {&x.lap.speed, &x.lap.accelTotal, &x.lap.headingDeg, &x.lap.accelSmoothY})
            EXPECT_EQ(*v, std::vector<double>(n + 1, 0.0));
        Extracted wide;  // two more samples outside each line
        ASSERT_TRUE(Extract(b, driver, lapNo, Race, wide, 3));
        EXPECT_EQ(wide.lap.sampleCount, x.lap.sampleCount + 4);
        EXPECT_EQ(wide.lap.distanceM[3], x.lap.distanceM[1]);
    }
}

// Takes the car's 16-byte entry out of the frame's compact record.
void DropCar(FrameContext& ctx, std::uint8_t carByte) {
    for (auto& r : ctx.records)
        for (auto at = r.body.begin(); r.type == 3 && r.body.end() - at >= 16; at += 16)
            if (at[7] == carByte) return void(r.body.erase(at, at + 16));
}

TEST(ExtractLapQuality, CountsMissingSamplesAndTheLongestGap) {
    auto b = RaceReplay();
    const int first = LastFrameBefore(ReplayBuilder::LapStartMs(b.desc.sessions[0].cars[1], 2));
    // A lone missing sample (a compact record that holds no car), then a run of five, well inside lap 2.
    b.desc.frameHook = [&](FrameContext& ctx) {
        if (int(ctx.frameInSession) >= first + 100 && int(ctx.frameInSession) <= first + 104) DropCar(ctx, 11);
        if (int(ctx.frameInSession) == first + 40)
            for (auto& r : ctx.records)
                if (r.type == 3) r.body.clear();
    };
    Extracted x;
    ASSERT_TRUE(Extract(b, 1, 2, Race, x)) << x.result;
    EXPECT_THAT((std::vector<int>{x.lap.missingCount, x.lap.longestGap, x.lap.sampleCount - x.lap.foundCount}),
                ElementsAre(6, 5, 6));
    // A car that never appears (lap table only) is missing throughout.
    auto absent = RaceReplay();
    absent.desc.sessions[0].cars[2].onTrack = false;
    Extracted y;
    ASSERT_TRUE(Extract(absent, 2, 1, Race, y)) << y.result;
    EXPECT_THAT((std::vector<int>{y.lap.foundCount, y.lap.missingCount, y.lap.longestGap}),
                ElementsAre(0, y.lap.sampleCount, y.lap.sampleCount));
    EXPECT_NE(y.lap.AllocateChannels(1), GetRpyInfo::Result::Ok);  // no distances: no line crossing to trim to
    EXPECT_FALSE(y.lap.channelsReady);
}

// A frame laid out like the one before is read from the places of that
// frame's records; the lap must be the one read when no two frames in a row
// are alike (a padding record of alternating length after the others). Runs
// of frames repeat a record (the later one counts), lack one, or hold the
// other cars' records twice with the car only in the second.
TEST(ExtractLapFields, FramesLaidOutAlikeReadAsFramesReadOnTheirOwn) {
    auto make = [](bool unique) {
        auto b = RaceReplay(3, 3);
        b.desc.engineBlocks = true;
        b.desc.frameHook = [unique](FrameContext& ctx) {
            auto& r = ctx.records;
            auto repeat = [&](std::uint16_t type, std::size_t at, std::uint8_t flip) {
                const auto it = std::find_if(r.begin(), r.end(), [&](const auto& x) { return x.type == type; });
                if (it == r.end()) return;
                simkit::FrameRecord copy = *it;
                copy.body.at(at) ^= flip;
                r.push_back(copy);
            };
            switch (ctx.frameNumber % 600 / 60) {
                case 0:
                    repeat(RecFullCar, 33, 0x5A);
                    break;
                case 1:
                    repeat(RecEngineWord, 0, 0x21);
                    break;
                case 2:
                    repeat(RecBlock101, 4, 0x77);
                    break;
                case 3:
                    std::erase_if(r, [](const auto& x) { return x.type == RecBlock103 || x.type == RecEngineWord; });
                    break;
                case 4:
                    repeat(RecCompactCars, 0, 0);
                    for (auto& x : r)
                        if (x.type == RecCompactCars) {
                            for (std::size_t c = 7; c < x.body.size(); c += kCompactRecordSize) x.body[c] = 0xEE;
                            break;
                        }
                    break;
                default:
                    break;
            }
            if (unique) r.push_back({4, -1, std::vector<std::uint8_t>(4 * (ctx.frameNumber % 2 + 1), 0)});
        };
        return b;
    };
    for (int driver : {0, 1})
        for (int lap = 1; lap <= 3; ++lap) {
            SCOPED_TRACE("driver " + std::to_string(driver) + " lap " + std::to_string(lap));
            auto alike = make(false), unique = make(true);
            Extracted a, b;
            ASSERT_TRUE(Extract(alike, driver, lap, Race, a)) << a.result;
            ASSERT_TRUE(Extract(unique, driver, lap, Race, b)) << b.result;
            EXPECT_EQ(std::tie(a.lap.firstFrame, a.lap.endFrame, a.lap.sampleCount, a.lap.foundCount,
                               a.lap.missingCount, a.lap.longestGap, a.lap.blockTypes),
                      std::tie(b.lap.firstFrame, b.lap.endFrame, b.lap.sampleCount, b.lap.foundCount,
                               b.lap.missingCount, b.lap.longestGap, b.lap.blockTypes));
            EXPECT_TRUE(a.lap.distance == b.lap.distance && a.lap.throttle == b.lap.throttle &&
                        a.lap.brake == b.lap.brake && a.lap.oilTemperature == b.lap.oilTemperature &&
                        a.lap.waterTemperature == b.lap.waterTemperature && a.lap.valueI == b.lap.valueI &&
                        a.lap.rpm == b.lap.rpm && a.lap.lateral == b.lap.lateral && a.lap.gear == b.lap.gear &&
                        a.lap.wheelRotation == b.lap.wheelRotation && a.lap.suspension == b.lap.suspension &&
                        a.lap.wheelDirection == b.lap.wheelDirection && a.lap.blocks == b.lap.blocks);
        }
}

TEST(ExtractLapResults, LapThatDoesNotCountIsRefusedBeforeTheFileIsOpened) {
    auto b = RaceReplay();
    b.desc.sessions[0].cars[0].laps[1] |= LapWord::Incomplete;
    TempDir dir;
    const auto path = dir.write("r.rpy", b.build());
    Drivers d;
    ASSERT_EQ(d.Load(path), Drivers::LoadResult::Ok);
    GetRpyInfo lap;
    ASSERT_EQ(lap.ExtractLap(d, 1, 1, Race, kLength), GetRpyInfo::Result::Ok);
    EXPECT_EQ(lap.path, path);
    std::filesystem::remove(path);
    for (auto [driver, lapNo, kind] : {std::tuple{0, 2, int(Race)},
                                       {0, 0, Race},
                                       {0, 4, Race},
                                       {5, 1, Race},
                                       {-1, 1, Race},
                                       {0, 1, 4},
                                       {0, 1, Practice}})
        EXPECT_THAT((std::vector<GetRpyInfo::Result>{lap.ExtractLap(d, driver, lapNo, kind, kLength), lap.result}),
                    ::testing::Each(GetRpyInfo::Result::NotValid))
            << driver << lapNo << kind;
    // A lap that counts needs the file.
    EXPECT_EQ(lap.ExtractLap(d, 0, 1, Race, kLength), GetRpyInfo::Result::NotOpened);
}

TEST(ExtractLapResults, LapAtTheVeryEndOfTheRecording) {
    auto b = RaceReplay();
    auto& ses = b.desc.sessions[0];
    ses.cars[0].firstStampMs = 1990;  // the third lap ends at 25990 ms
    ses.durationMs = 26100;           // the last session record is at 26000 ms
    Extracted x;
    Extract(b, 0, 3, Race, x);
    ASSERT_TRUE(x.drivers.IsLapValid(Race, 0, 3));
    EXPECT_EQ(x.result, GetRpyInfo::Result::NotFound);
    // The stream ends with the frame that closes the lap: one sample fewer,
    // but the lap's frames are numbered as in a longer stream.
    ses.cars[0].firstStampMs = 1510;  // the third lap ends at 25510 ms
    ses.durationMs = 26000;
    ASSERT_TRUE(Extract(b, 0, 3, Race, x)) << x.result;
    ASSERT_EQ(x.lap.endFrame, b.layout().frames.size());
    ASSERT_EQ(x.lap.AllocateChannels(1), GetRpyInfo::Result::Ok);
    EXPECT_THAT((std::vector<std::int64_t>{x.lap.lapStartFrame, x.lap.lapEndFrame}),
                ElementsAre(LastFrameBefore(17510) + 1, FirstFrameAfter(25510)));
}

TEST(ExtractLapResults, DamagedRecordsAreCorruptAndACutStreamFailsToRead) {
    auto good = RaceReplay();
    good.desc.paddingEvery = 1;
    const auto goodBytes = good.build();
    Drivers d;
    ASSERT_EQ(d.LoadBytes(goodBytes), Drivers::LoadResult::Ok);
    // Inside lap 2, after the frames of lap 1.
    const int at = LastFrameBefore(ReplayBuilder::LapStartMs(good.desc.sessions[0].cars[0], 2)) + 200;
    // An unknown type; a full record whose length leaves out its body (the rest would be read as records).
    const std::vector<std::function<void(simkit::FrameRecord&)>> damages = {
        [](simkit::FrameRecord& r) { r.type = r.type == 20 ? 7 : r.type; },
        [](simkit::FrameRecord& r) { r.type == 1 ? (r.length = 8, r.body.resize(4)) : void(); },
    };
    for (const auto& damage : damages) {
        auto bad = good;
        bad.desc.frameHook = [&](FrameContext& ctx) {
            if (int(ctx.frameInSession) == at)
                for (auto& r : ctx.records) damage(r);
        };
        auto badBytes = bad.build();
        badBytes.resize(goodBytes.size());  // the frame chunk's size as the drivers know it
        EXPECT_EQ(GetRpyInfo().ExtractLapFromBytes(badBytes, d, 0, 2, Race, kLength), GetRpyInfo::Result::Corrupt);
        EXPECT_EQ(GetRpyInfo().ExtractLapFromBytes(badBytes, d, 0, 1, Race, kLength), GetRpyInfo::Result::Ok);
    }
    auto cut = goodBytes;  // the frame stream runs past the end of the file
    cut.resize(static_cast<std::size_t>(good.layout().frames[good.layout().frames.size() / 2]));
    EXPECT_EQ(GetRpyInfo().ExtractLapFromBytes(cut, d, 0, 1, Race, kLength), GetRpyInfo::Result::SeekFailed);
}

TEST(ExtractLapSessions, LapsAreFoundInTheirOwnSession) {
    ReplayBuilder quick;
    quick.drivers(2).trackLength(kLength).session(Qualifying, 2, 8000, 2010).session(Race, 2, 8000, 2010);
    quick.desc.settings.quickRace = 2;
    Extracted q, r, x;  // the race's frames come after the qualifying's
    EXPECT_TRUE(Extract(quick, 0, 2, Qualifying, q, 1) && Extract(quick, 1, 2, Race, r, 1)) << q.result << r.result;
    EXPECT_GT(r.lap.firstFrame, static_cast<std::uint32_t>(quick.layout().sessionFirstFrame[1]));
    ReplayBuilder b;
    b.drivers(2).trackLength(kLength).session(Practice, 2, 8000, 2010).session(Qualifying, 1, 9000, 2010);
    b.session(HappyHour, 1, 9000, 2010).session(Race, 2, 9000, 2010);
    ASSERT_TRUE(Extract(b, 0, 2, Practice, x, 1)) << x.result;
    EXPECT_NEAR(static_cast<double>(x.lap.lapTimeMs), 8000.0, kMsPerFrame + 3);
    EXPECT_LT(x.lap.firstFrame, static_cast<std::uint32_t>(b.layout().sessionFirstFrame[1]));
}

TEST(ExtractLapFields, RecordFieldsComeBackAsWritten) {
    auto b = RaceReplay();
    b.desc.fullHook = [](const FrameContext&, simkit::FullRecordFields& f) {
        f = {.distance = f.distance,
             .gear = -1,
             .wheelDirection = {2, 1, 0, 2},
             .lateral = f.lateral,
             .rideHeight = 0xFFF,
             .rpmCode = 0x3FF,
             .heading = -2048,
             .pitch = 511,
             .roll = -512,
             .valueG = 0xA8,
             .steering = -64,
             .wheelRotation = {1023, 0, 512, 77},
             .suspension = {-512, 3, 511, -1},
             .oilPressure = 127,
             .throttle = 255,
             .brake = 17};
    };
    b.desc.compactHook = [](const FrameContext&, int, simkit::CompactRecordFields& c) {
        // Value H is bit 20 only: the field overlaps the revolutions and the ride height.
        c = {.valueG = 0x13,
             .pitch = -200,
             .distance = c.distance,
             .carIdByte = c.carIdByte,
             .roll = -511,
             .rpmCode = 0x2F,
             .valueH = 0x10,
             .rideHeight = 500,
             .heading = 2047,
             .lateral = -65536,
             .gear = 6};
    };
    b.desc.lateral = [](int, double) { return -7.5; };
    Extracted full, compact;
    ASSERT_TRUE(Extract(b, 0, 1, Race, full) && Extract(b, 1, 1, Race, compact));
    const GetRpyInfo& l = full.lap;
    const std::size_t s = 10;
    EXPECT_THAT(
        (std::vector<std::int64_t>{l.gear[s], l.wheelDirection[0][s], l.wheelDirection[1][s], l.wheelDirection[2][s],
                                   l.wheelDirection[3][s], l.lateral[s], l.rideHeight[s],
                                   static_cast<std::int64_t>(l.rpm[s]), l.heading[s], l.pitch[s], l.roll[s],
                                   static_cast<std::int64_t>(l.valueG[s]), l.valueH[s], l.steering[s]}),
        ElementsAre(-1, 2, 1, 0, 2, simkit::FullLateralCode(-7.5), 0xFFF, 0x3FF, -2048, 511, -512, 0xA8,
                    (0xA8 >> 3) & 31, -64));  // value G and H share bits 20-24
    EXPECT_THAT(
        (std::vector<std::int64_t>{l.wheelRotation[0][s], l.wheelRotation[1][s], l.wheelRotation[2][s],
                                   l.wheelRotation[3][s], l.suspension[0][s], l.suspension[1][s], l.suspension[2][s],
                                   l.suspension[3][s], l.oilPressure[s], l.throttle[s], l.brake[s]}),
        ElementsAre(1023, 0, 512, 77, -512, 3, 511, -1, 127, 255, 17));
    const GetRpyInfo& c = compact.lap;
    const std::size_t t = 7;
    EXPECT_THAT((std::vector<std::int64_t>{static_cast<std::int64_t>(c.valueG[t]), c.pitch[t], c.roll[t],
                                           static_cast<std::int64_t>(c.rpm[t]), c.valueH[t], c.rideHeight[t],
                                           c.heading[t], c.lateral[t], c.gear[t]}),
                ElementsAre(0x13, -200, -511, 0x2F, 0x10, 500, 2047, -65536, 6));
}

// On a track of 1000 m a compact unit is 2000 / 1024 raw units (125 / 64):
// codes whose product lies just below a whole number keep that number.
TEST(ExtractLapFields, CompactDistancesAreTruncatedNotRoundedUp) {
    const std::vector<std::uint32_t> codes = {526059, 793003, 1299819, 16777215, 1000};
    auto b = RaceReplay();
    b.desc.compactHook = [&](const FrameContext& ctx, int, simkit::CompactRecordFields& c) {
        c.distance = codes[ctx.frameNumber % codes.size()];
    };
    Extracted x;
    ASSERT_TRUE(Extract(b, 1, 1, Race, x)) << x.result;
    ASSERT_GE(x.lap.sampleCount, 10);
    std::vector<std::uint64_t> got, expected;
    for (std::uint32_t s = 1; s <= 5; ++s) {
        got.push_back(x.lap.distance[s]);
        expected.push_back(std::uint64_t{codes[(x.lap.firstFrame + s - 1) % codes.size()]} * 125 / 64);
    }
    EXPECT_EQ(got, expected);
    EXPECT_THAT(expected, ::testing::Contains(1027458u));
}

TEST(ExtractLapFields, EngineWordsFillGapsAndTemperaturesPastTheirSevenBits) {
    auto b = RaceReplay();
    const double startMs = ReplayBuilder::LapStartMs(b.desc.sessions[0].cars[0], 2);
    // The engine word reads zero from half a second before the lap until two
    // seconds into it; a second later the oil reaches 131 degrees, which the 7-bit field holds as 3.
    auto oilAt = [startMs](double ms) {
        return ms < startMs - 500 ? 95 : ms < startMs + 2000 ? 0 : ms < startMs + 3000 ? 127 : 131;
    };
    b.desc.engineHook = [&](const FrameContext& ctx, simkit::EngineWordFields& e) {
        e = {static_cast<std::uint32_t>(oilAt(ctx.sessionMs) & 127), oilAt(ctx.sessionMs) == 0 ? 0u : 88u, 33, 1500};
    };
    Extracted x;
    ASSERT_TRUE(Extract(b, 0, 2, Race, x)) << x.result;
    const std::size_t n = static_cast<std::size_t>(x.lap.sampleCount);
    // The first engine word also fills sample 0.
    EXPECT_THAT((std::vector<double>{double(x.lap.fuelPressure[n]), double(x.lap.valueI[n]), x.lap.oilTemperature[0]}),
                ElementsAre(33, 1500, 95));
    ASSERT_EQ(x.lap.AllocateChannels(1), GetRpyInfo::Result::Ok);
    EXPECT_EQ(x.lap.waterTemperature[1], 88);
    const int fa = LastFrameBefore(static_cast<std::uint64_t>(startMs));
    for (int i = 1; i <= x.lap.sampleCount; ++i) {
        const double ms = FrameMs(fa - 1 + i);
        ASSERT_EQ(x.lap.oilTemperature[static_cast<std::size_t>(i)], ms < startMs + 2000 ? 95 : oilAt(ms)) << i;
    }
}

TEST(ExtractLapFields, WheelRotationDeltasFollowTheDirection) {
    auto b = RaceReplay();
    b.desc.fullHook = [](const FrameContext& ctx, simkit::FullRecordFields& f) {
        const std::uint32_t turns = ctx.frameInSession * 37;  // wraps past 1024 often
        f.wheelRotation = {turns % 1024, (1024 * 64 - turns) % 1024, turns % 1024, turns % 1024};
        f.wheelDirection = {0, 1, 0, 0};
    };
    Extracted x;
    ASSERT_TRUE(Extract(b, 0, 2, Race, x, 1)) << x.result;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(x.lap.sampleCount); ++i)
        ASSERT_TRUE(x.lap.wheelDelta[0][i] == 37 && x.lap.wheelDelta[1][i] == -37) << i;
}

TEST(ExtractLapBlocks, SavingPlayersBlocksAreCopiedPerSample) {
    auto b = RaceReplay();
    b.desc.engineBlocks = true;
    b.desc.blockHook = [](const FrameContext& ctx, int type, std::span<std::uint8_t> body) {
        for (std::size_t k = 0; k + 4 <= body.size(); k += 4) {
            const float v = float(type) * 10000.0f + float(ctx.frameInSession) + float(k) / 100.0f;
            std::memcpy(&body[k], &v, 4);
        }
    };
    Extracted x;
    ASSERT_TRUE(Extract(b, 0, 2, Race, x)) << x.result;
    EXPECT_THAT((std::vector<std::int64_t>{x.lap.fullData, x.lap.blockTypes,
                                           static_cast<std::int64_t>(x.lap.AllocateChannels(1))}),
                ElementsAre(1, 0x3F, 0));
    const int fa = LastFrameBefore(ReplayBuilder::LapStartMs(b.desc.sessions[0].cars[0], 2));
    for (int i : {1, 2, x.lap.sampleCount})
        for (int t = 0; t < 6; ++t) {
            const std::uint8_t* block = x.lap.Block(t, i);
            ASSERT_NE(block, nullptr);
            float v = 0;
            std::memcpy(&v, block + 4, 4);
            EXPECT_FLOAT_EQ(v, float(100 + t) * 10000.0f + float(fa - 1 + i) + 0.04f) << t << " " << i;
        }
    Extracted other;  // the blocks are seen, but they are not its car's
    ASSERT_TRUE(Extract(b, 1, 2, Race, other)) << other.result;
    EXPECT_THAT((std::vector<std::int64_t>{other.lap.fullData, other.lap.blockTypes,
                                           static_cast<std::int64_t>(other.lap.AllocateChannels(1))}),
                ElementsAre(0, 0x3F, 0));
    EXPECT_EQ(other.lap.Block(0, 1), nullptr);
}

}  // namespace
}  // namespace vra
