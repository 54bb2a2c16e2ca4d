// The driver table's session index lets a lap's extraction read only the lap's
// own frames. Whatever the index holds, the lap must be the one a walk of the
// stream from its start gives, array for array; an index that does not
// describe the bytes is never trusted.
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/ReplaySource.h"

#include "ReplayFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

namespace vra {
namespace {

using simkit::CarSession;
using simkit::FrameContext;
using simkit::ReplayBuilder;
using simkit::SessionDesc;
using testing::RaceReplay;
using testing::TempDir;

constexpr float kLength = 1000.0f;

#define SAME(field) EXPECT_EQ(a.field, b.field) << #field
void ExpectSameLap(const GetRpyInfo& a, const GetRpyInfo& b) {
    SAME(result);
    SAME(fullData);
    SAME(blockTypes);
    SAME(firstFrame);
    SAME(endFrame);
    SAME(firstFrameTimeMs);
    SAME(endFrameTimeMs);
    SAME(firstFrameOffset);
    SAME(endOffset);
    SAME(lastFrameSize);
    SAME(framesInRange);
    SAME(sampleCount);
    SAME(foundCount);
    SAME(missingCount);
    SAME(longestGap);
    SAME(distance);
    SAME(lateral);
    SAME(gear);
    SAME(rideHeight);
    SAME(heading);
    SAME(rpm);
    SAME(pitch);
    SAME(roll);
    SAME(valueG);
    SAME(valueH);
    SAME(steering);
    SAME(throttle);
    SAME(brake);
    SAME(oilPressure);
    SAME(wheelRotation);
    SAME(suspension);
    SAME(wheelDirection);
    SAME(oilTemperature);
    SAME(waterTemperature);
    SAME(fuelPressure);
    SAME(valueI);
    SAME(blocks);
    SAME(distanceM);
    SAME(lateralM);
    SAME(rideHeightM);
    SAME(revolutions);
    SAME(wheelDelta);
    SAME(lapTimeMs);
    SAME(distanceStepStart);
    SAME(distanceStepEnd);
    SAME(lapStartFrame);
    SAME(lapEndFrame);
    SAME(channelsReady);
}
#undef SAME

struct Counts {
    int laps = 0;       // laps compared
    int extracted = 0;  // of them extracted
    int lastFrame = 0;  // of them ending at the stream's last frame
};

// Extracts every lap of every driver and session both ways (through the
// index, and by the walk from the start with the index dropped), trims those
// that extracted, and compares everything.
Counts CompareEveryLap(std::span<const std::uint8_t> bytes, const Drivers& indexed, std::uint32_t frames) {
    Drivers walked = indexed;
    walked.frameIndex.Clear();
    Counts n;
    for (int driver = 0; driver < static_cast<int>(indexed.drivers.size()); ++driver)
        for (int kind = 0; kind < kSessionKinds; ++kind)
            for (int lap = 1; lap <= indexed.LapCount(kind, driver); ++lap) {
                if (!indexed.IsLapValid(kind, driver, lap)) continue;
                SCOPED_TRACE("driver " + std::to_string(driver) + " kind " + std::to_string(kind) + " lap " +
                             std::to_string(lap));
                GetRpyInfo a, b;
                const GetRpyInfo::Result ra = a.ExtractLapFromBytes(bytes, indexed, driver, lap, kind, kLength);
                const GetRpyInfo::Result rb = b.ExtractLapFromBytes(bytes, walked, driver, lap, kind, kLength);
                ++n.laps;
                if (ra == GetRpyInfo::Result::Ok && rb == GetRpyInfo::Result::Ok) {
                    ++n.extracted;
                    if (b.endFrame == frames) ++n.lastFrame;
                    EXPECT_EQ(a.AllocateChannels(1), b.AllocateChannels(1));
                }
                ExpectSameLap(a, b);
            }
    return n;
}

std::uint32_t FrameCount(const ReplayBuilder& b) {
    return static_cast<std::uint32_t>(b.layout().frames.size());
}

// Every session kind in one stream, each with its clock from 0; AI cars and
// the saving player with engine blocks; a record of a skipped type between.
ReplayBuilder AllSessions() {
    ReplayBuilder b;
    b.drivers(3).trackLength(kLength).engineBlocks();
    for (int kind : {Practice, Qualifying, HappyHour, Race}) b.session(kind, 3, 7000 + 500 * kind, 1500);
    b.desc.paddingEvery = 7;
    return b;
}

TEST(LapIndex, EveryLapIsTheLapOfTheWalkFromTheStart) {
    struct Case {
        std::string name;
        std::function<ReplayBuilder()> make;
    };
    const std::vector<Case> cases = {
        {"all sessions", AllSessions},
        {"quick race",
         [] {
             ReplayBuilder b;
             b.drivers(3).trackLength(kLength).session(Qualifying, 2, 7000, 1000).session(Race, 3, 7500, 2000);
             b.desc.settings.quickRace = 2;
             return b;
         }},
        {"gaps",
         [] {
             // Other cars vanish for stretches of frames, and some frames hold
             // no session record where one is due.
             auto b = RaceReplay(4, 3);
             b.desc.frameHook = [](FrameContext& ctx) {
                 auto& r = ctx.records;
                 if (ctx.frameNumber % 97 < 9)
                     std::erase_if(r, [](const simkit::FrameRecord& x) { return x.type == RecCompactCars; });
                 if (ctx.frameNumber % 360 == 1)
                     std::erase_if(r, [](const simkit::FrameRecord& x) { return x.type == RecSession; });
             };
             return b;
         }},
        {"stream ends at the end frame",
         [] {
             // Driver 0's last lap ends at 26010 ms: the session record of
             // 27000 ms, the first after 26040, is the stream's last frame.
             auto b = RaceReplay(3, 3);
             b.desc.sessions[0].durationMs = 27000;
             return b;
         }},
    };
    int lastFrameLaps = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReplayBuilder b = c.make();
        const auto bytes = b.build();
        Drivers d;
        ASSERT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Ok);
        ASSERT_TRUE(d.frameIndex.built);
        EXPECT_EQ(d.frameIndex.coveredEnd, d.frameIndex.streamEnd);
        const Counts n = CompareEveryLap(bytes, d, FrameCount(b));
        EXPECT_GE(n.extracted, 6);
        lastFrameLaps += n.lastFrame;
    }
    EXPECT_GE(lastFrameLaps, 1);
}

// From a file the extraction reads the lap's bytes alone: frames before the
// lap damaged after the load do not reach it, while the walk from the start
// stops at them. A file changed since the load is walked again.
TEST(LapIndex, FileExtractionReadsTheLapsOwnFrames) {
    TempDir dir;
    auto b = RaceReplay(3, 4);
    auto bytes = b.build();
    const auto path = dir.write("race.rpy", bytes);
    Drivers d;
    ASSERT_EQ(d.Load(path), Drivers::LoadResult::Ok);
    GetRpyInfo before;
    ASSERT_EQ(before.ExtractLap(d, 1, 3, Race, kLength), GetRpyInfo::Result::Ok);
    Counts n = CompareEveryLap(bytes, d, FrameCount(b));
    EXPECT_EQ(n.extracted, n.laps);

    // The first record of the stream's second frame given length 0, in place.
    {
        std::FILE* f = std::fopen(path.c_str(), "r+b");
        ASSERT_NE(f, nullptr);
        std::fseek(f, static_cast<long>(b.layout().frames[1] + 10), SEEK_SET);
        std::fputc(0, f);
        std::fputc(0, f);
        std::fclose(f);
    }
    Drivers same = d;  // told that the file is unchanged
    {
        ReplaySource src(path);
        same.frameIndex.fileTimeNs = src.modifiedNs();
    }
    GetRpyInfo lap;
    EXPECT_EQ(lap.ExtractLap(same, 1, 3, Race, kLength), GetRpyInfo::Result::Ok);
    ExpectSameLap(lap, before);
    Drivers walked = same;
    walked.frameIndex.Clear();
    EXPECT_EQ(GetRpyInfo().ExtractLap(walked, 1, 3, Race, kLength), GetRpyInfo::Result::Corrupt);
    // The load's own record of the file no longer matches: walked from the start.
    d.frameIndex.fileSize += 1;
    EXPECT_EQ(GetRpyInfo().ExtractLap(d, 1, 3, Race, kLength), GetRpyInfo::Result::Corrupt);
}

TEST(LapIndex, DamagedIndexFallsBackToTheWalk) {
    ReplayBuilder b = AllSessions();
    const auto bytes = b.build();
    Drivers good;
    ASSERT_EQ(good.LoadBytes(bytes), Drivers::LoadResult::Ok);
    const auto& entries = good.frameIndex.entries;
    ASSERT_GT(entries.size(), 40u);
    const std::size_t mid = entries.size() / 2;

    using Damage = std::function<void(SessionFrameIndex&)>;
    const std::vector<std::pair<std::string, Damage>> damages = {
        {"a word moved a second later", [&](SessionFrameIndex& x) { x.entries[mid].word += 100u << 8; }},
        {"every word a second later",
         [&](SessionFrameIndex& x) {
             for (auto& e : x.entries) e.word += 100u << 8;
         }},
        {"an offset off by 4", [&](SessionFrameIndex& x) { x.entries[mid].offset += 4; }},
        {"frame numbers off by one",
         [&](SessionFrameIndex& x) {
             for (auto& e : x.entries) e.number += 1;
         }},
        {"an entry lost in every lap",
         [&](SessionFrameIndex& x) {
             for (int i = static_cast<int>(x.entries.size()) - 1; i > 0; i -= 3) x.entries.erase(x.entries.begin() + i);
         }},
        {"entries lost every other",
         [&](SessionFrameIndex& x) { std::erase_if(x.entries, [](auto& e) { return e.number % 72 == 1; }); }},
        {"entries out of order", [&](SessionFrameIndex& x) { std::swap(x.entries[mid], x.entries[mid + 1]); }},
        {"the last entries lost, the cover claimed whole", [&](SessionFrameIndex& x) { x.entries.resize(mid); }},
        {"cover ends before the stream",
         [&](SessionFrameIndex& x) { x.coveredEnd = x.streamFirst + x.entries[mid].offset; }},
        {"cover past the stream", [&](SessionFrameIndex& x) { x.coveredEnd = x.streamEnd + 64; }},
        {"of a file of another size", [&](SessionFrameIndex& x) { x.fileSize += 4; }},
        {"of another stream", [&](SessionFrameIndex& x) { x.streamFirst += 4; }},
        {"an offset past the stream", [&](SessionFrameIndex& x) { x.entries[mid].offset = 0xFFFFFF00u; }},
        {"not built", [&](SessionFrameIndex& x) { x.built = false; }},
    };
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        Drivers d = good;
        damage(d.frameIndex);
        const Counts n = CompareEveryLap(bytes, d, FrameCount(b));
        EXPECT_GE(n.extracted, 20);
    }
}

// What the single forward pass of the load settles for the walk from the last
// frame back must be what that walk finds itself; a stream whose sizes do not
// chain is walked back frame by frame.
TEST(LapIndex, LoadSettlesTheSessionWindowsOfTheBackwardWalk) {
    struct Case {
        std::string name;
        std::optional<std::uint32_t> raceStartMs;  // the frame of a session record: just before a whole second
        bool startFirst = false;                   // the race-start record before the session record
        int unknownAt = -1;                        // frame of the race with a record of no known type
    };
    const std::vector<Case> cases = {
        {"race start early", 2990},
        {"race start early, before the session record", 2990, true},
        {"race start in the last frame", 29990},
        {"race start in the last frame, before its session record", 29990, true},
        {"no race start", std::nullopt},
        {"an unknown record in the race-start frame", 2990, false, 108},
        {"an unknown record before the race start", 2990, false, 107},
        {"an unknown record after the race start", 2990, false, 109},
    };
    for (const Case& c : cases) {
        for (bool own : {false, true}) {
            SCOPED_TRACE(c.name + (own ? " (own)" : ""));
            ReplayBuilder b;
            b.drivers(2).trackLength(kLength).session(Qualifying, 2, 7000, 1000).session(Race, 3, 7000, 2000);
            SessionDesc& race = b.desc.sessions.back();
            race.raceStartMs = c.raceStartMs;
            race.durationMs = 30000;
            race.state = 6;
            if (own) b.desc.drivers[0].firstName = Drivers::kOwnReplayMark;
            // The session state changes every second, so that which session
            // record the walk meets last shows.
            b.desc.frameHook = [startFirst = c.startFirst, unknownAt = c.unknownAt](FrameContext& ctx) {
                auto& r = ctx.records;
                if (ctx.session == 1 && static_cast<int>(ctx.frameInSession) == unknownAt)
                    r.push_back({7, -1, {1, 2, 3, 4}});
                for (auto& rec : r)
                    if (rec.type == RecSession && rec.body.size() >= 4)
                        rec.body[0] =
                            static_cast<std::uint8_t>((rec.body[0] & 0x0F) | ((ctx.frameNumber / 36 % 15 + 1) << 4));
                const auto start = std::find_if(r.begin(), r.end(), [](auto& x) { return x.type == RecRaceStart; });
                const auto session = std::find_if(r.begin(), r.end(), [](auto& x) { return x.type == RecSession; });
                if (start != r.end() && session != r.end() && (session < start) == startFirst)
                    std::iter_swap(start, session);
            };
            auto bytes = b.build();
            Drivers swept;
            const Drivers::LoadResult sweptResult = swept.LoadBytes(bytes);
            // The fourth frame's previous size skipping the third (which holds
            // neither a session nor a race-start record): the stream no longer
            // chains forward, the walk back still finds the same records.
            auto unchained = bytes;
            const auto& at = b.layout().frames;
            testing::Poke16(unchained, at[3] + 2, static_cast<std::uint16_t>(at[3] - at[1]));
            Drivers walked;
            ASSERT_EQ(sweptResult, walked.LoadBytes(unchained));
            // The walk back ends at the race start (at the last session
            // record in a replay of this program) and meets nothing below.
            EXPECT_EQ(sweptResult != Drivers::LoadResult::Ok, !own && (c.unknownAt == 108 || c.unknownAt == 109));
            if (sweptResult != Drivers::LoadResult::Ok) continue;
            EXPECT_EQ(swept.windowEnd, walked.windowEnd);
            EXPECT_EQ(swept.lastSessionKind, walked.lastSessionKind);
            EXPECT_EQ(swept.lastSessionState, walked.lastSessionState);
            EXPECT_EQ(swept.raceStartWord, walked.raceStartWord);
            EXPECT_EQ(swept.raceStartSeen, walked.raceStartSeen);
            EXPECT_EQ(swept.lastFrameOffset, walked.lastFrameOffset);
        }
    }
}

// The walk back follows the previous sizes, not the forward chain: frames a
// previous size steps over are never met, even when the forward pass meets them.
TEST(LapIndex, FramesSteppedOverByThePreviousSizeAreNotMetGoingBack) {
    ReplayBuilder b;
    b.drivers(2).trackLength(kLength).session(Race, 3, 7000, 2000);
    SessionDesc& race = b.desc.sessions.back();
    race.durationMs = 30000;
    race.raceStartMs = 29400;  // 20 frames before the last
    auto bytes = b.build();
    const auto& at = b.layout().frames;
    const std::size_t last = at.size() - 1;
    Drivers whole;
    ASSERT_EQ(whole.LoadBytes(bytes), Drivers::LoadResult::Ok);
    EXPECT_EQ(whole.raceStartSeen, 1);
    EXPECT_EQ(whole.raceStartWord, race.raceStartWord);

    testing::Poke16(bytes, at[last] + 2, static_cast<std::uint16_t>(at[last] - at[last - 30]));
    Drivers stepped;
    ASSERT_EQ(stepped.LoadBytes(bytes), Drivers::LoadResult::Ok);
    EXPECT_EQ(stepped.raceStartSeen, 0);
    EXPECT_EQ(stepped.windowEnd[Race], 30000u);
    EXPECT_EQ(stepped.lastSessionKind, Race);
}

}  // namespace
}  // namespace vra
