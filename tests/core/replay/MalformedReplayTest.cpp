// Damaged replays: every reader ends with an error result, quickly, without
// reading outside the file or allocating by what a broken field claims.
#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"

#include "ReplayFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using simkit::FrameContext;
using simkit::FrameRecord;
using simkit::ReplayBuilder;
using testing::Poke16;
using testing::Poke32;

ReplayBuilder TwoSessions() {
    ReplayBuilder b;
    b.drivers(3).trackLength(600).session(HappyHour, 1, 5000, 1510).session(Race, 2, 5000, 1510);
    b.desc.sessions[0].tailMs = b.desc.sessions[1].tailMs = 1500;
    return b;
}

Drivers::LoadResult LoadResult(const std::vector<std::uint8_t>& bytes) {
    return Drivers().LoadBytes(bytes);
}

// Runs all three readers; none may crash, and the lap, when the drivers load, comes out or fails with a result code.
void ReadAll(const std::vector<std::uint8_t>& bytes) {
    Header().ReadBytes(bytes);
    Drivers d;
    if (d.LoadBytes(bytes) != Drivers::LoadResult::Ok) return;
    for (int driver = 0; driver < static_cast<int>(d.drivers.size()); ++driver)
        if (GetRpyInfo lap; lap.ExtractLapFromBytes(bytes, d, driver, 1, Race, 600.0f) == GetRpyInfo::Result::Ok)
            lap.AllocateChannels(1);
}

TEST(MalformedReplay, TruncatedAtEveryChunkBoundary) {
    auto b = TwoSessions();
    const auto bytes = b.build();
    const auto& l = b.layout();
    std::vector<std::uint64_t> cuts = {0,
                                       12,
                                       84,
                                       l.driverTable,
                                       l.driverTable + 12 + 188,
                                       l.frameChunk,
                                       l.frameChunk + 12,
                                       l.frames[l.frames.size() / 2],
                                       l.frames.back()};
    cuts.insert(cuts.end(), l.lapChunks.begin(), l.lapChunks.end());
    for (const auto& orpls : l.carLaps) cuts.insert(cuts.end(), orpls.begin(), orpls.end());
    for (std::uint64_t cut : cuts)
        for (std::uint64_t at : {cut, cut + 5}) {
            const std::vector<std::uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(at));
            EXPECT_EQ(LoadResult(part), Drivers::LoadResult::Unreadable) << "cut at " << at;
            const int header = Header().ReadBytes(part);
            if (at < l.driverTable) {
                EXPECT_EQ(header, Header::EmptyOrShort) << at;
            }
        }
    // Without its end chunk the replay still holds everything that is read.
    const std::vector<std::uint8_t> noEnd(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(l.endChunk));
    EXPECT_EQ(LoadResult(noEnd), Drivers::LoadResult::Ok);
}

TEST(MalformedReplay, SizesAndCountsThatDoNotFit) {
    auto b = TwoSessions();
    const auto good = b.build();
    const auto& l = b.layout();
    const std::uint64_t table = l.driverTable + 8, lapChunk = l.lapChunks[0] + 8, carLaps = l.carLaps[0][0] + 8;
    const std::uint64_t early = l.frames[3], late = l.frames[l.frames.size() - 40];  // forward and backward walk
    struct Case {
        std::uint64_t at;
        int width;
        std::uint32_t value;
    };
    const Case cases[] = {
        {20, 4, 0},
        {20, 4, 8},
        {20, 4, 59},
        {20, 4, 0xFFFFFFF0},  // header body size below its layout or huge
        {table, 4, 0},
        {table, 4, 187},
        {table, 4, 188 * 49},
        {table, 4, 0xFFFFFFFF},        // driver table
        {lapChunk, 4, 0xFFFFFFF0},     // lap chunk past the file
        {lapChunk, 4, 20},             // lap chunk ends inside its first car record
        {carLaps, 4, 4},               // car record smaller than its fixed part
        {carLaps, 4, 8 + 4 * 513},     // 513 laps
        {carLaps, 4, 0x7FFFFFFF},      // car record past its chunk
        {l.carLaps[1][2] + 8, 4, 20},  // last car record runs past its chunk
        {early, 2, 0},
        {early, 2, 4},
        {early, 2, 7},
        {early, 2, 0xFFFF},  // frame sizes
        {late, 2, 0},
        {late, 2, 4},
        {late, 2, 7},
        {late, 2, 0xFFFF},
        {l.frameChunk + 8, 4, 0xFFFFFF00},  // frame chunk past the file
        {28, 4, 0xFFFFFF00},                // bytes of frames past the chunk
        {32, 2, 0},
        {32, 2, 3},
        {32, 2, 0xFFFF},  // last frame size
    };
    for (const Case& c : cases) {
        auto bytes = good;
        if (c.width == 4)
            Poke32(bytes, c.at, c.value);
        else
            Poke16(bytes, c.at, static_cast<std::uint16_t>(c.value));
        EXPECT_EQ(LoadResult(bytes), Drivers::LoadResult::Unreadable) << c.at << " = " << c.value;
        if (c.at == 20) {
            EXPECT_EQ(Header().ReadBytes(bytes), Header::EmptyOrShort) << c.value;
        }
        ReadAll(bytes);
    }
    ReplayBuilder most;  // the most laps a table holds
    most.drivers(2).trackLength(100).session(Race, 512, 200, 1010);
    EXPECT_EQ(LoadResult(most.build()), Drivers::LoadResult::Ok);
    // The extraction meets a frame of size 0 too, though the drivers loaded.
    Drivers d;
    ASSERT_EQ(d.LoadBytes(good), Drivers::LoadResult::Ok);
    auto bytes = good;
    Poke16(bytes, l.frames[l.sessionFirstFrame[1] + 100], 0);
    EXPECT_EQ(GetRpyInfo().ExtractLapFromBytes(bytes, d, 0, 1, Race, 600.0f), GetRpyInfo::Result::Corrupt);
}

TEST(MalformedReplay, RecordsThatDoNotFitTheirFrame) {
    // Lengths below the header, past the frame, and a session record too short for its word.
    for (int length : {0, 3, 200, 0xFFFF, 4}) {
        auto b = TwoSessions();
        b.desc.frameHook = [length](FrameContext& ctx) {
            if (ctx.session != 1 || ctx.frameInSession != 72) return;
            if (length != 4) ctx.records.push_back(FrameRecord{20, length, {}});
            for (auto& r : ctx.records)
                if (r.type == 13 && length == 4) r = FrameRecord{13, 4, {}};
        };
        EXPECT_EQ(LoadResult(b.build()), Drivers::LoadResult::Unreadable) << length;
    }
}

TEST(MalformedReplay, MissingPartsEndTheWalksWithoutAnError) {
    // Without a race-start record the backward walk ends at the first frame,
    // also when that frame claims a predecessor or a frame on the way back has no or an impossible one.
    auto b = TwoSessions();
    b.desc.sessions[1].raceStartMs.reset();
    auto bytes = b.build();
    Drivers d;
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Ok);
    EXPECT_THAT((std::vector<int>{d.raceStartSeen, d.lastSessionKind}), ::testing::ElementsAre(0, Race));
    EXPECT_TRUE(d.IsLapValid(Race, 0, 1));
    const auto& l = b.layout();
    Poke16(bytes, l.frames[0] + 2, 500);  // a predecessor of the first frame
    for (std::uint16_t prev : {0, 0xFFFF}) {
        Poke16(bytes, l.frames[5] + 2, prev);
        EXPECT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Ok) << prev;
    }
    auto silent = TwoSessions();  // no session records: no window, no valid lap
    silent.desc.sessionRecords = false;
    ASSERT_EQ(d.LoadBytes(silent.build()), Drivers::LoadResult::Ok);
    EXPECT_FALSE(d.IsLapValid(Race, 0, 1) || d.IsLapValid(HappyHour, 0, 1));
    auto empty = TwoSessions();  // no frames at all
    empty.desc.sessions.clear();
    bytes = empty.build();
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Ok);
    EXPECT_EQ(d.LapCount(Race, 0), 0);
    EXPECT_EQ(GetRpyInfo().ExtractLapFromBytes(bytes, d, 0, 1, Race, 600.0f), GetRpyInfo::Result::NotValid);
    // Nor does an absurd track length break the extraction.
    bytes = TwoSessions().build();
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Ok);
    for (float length : {0.0f, -10.0f, -1e9f, 1e30f})
        EXPECT_EQ(GetRpyInfo().ExtractLapFromBytes(bytes, d, 1, 1, Race, length), GetRpyInfo::Result::Ok) << length;
}

TEST(MalformedReplay, EveryWordOfTheLeadingChunksAtItsExtremes) {
    auto b = TwoSessions();
    const auto good = b.build();
    const std::uint64_t end = b.layout().lapChunks[0] + 40;
    for (std::uint64_t at = 0; at + 4 <= end; at += 4)
        for (std::uint32_t v : {0u, 0xFFFFFFFFu, 0x80000000u}) {
            auto bytes = good;
            Poke32(bytes, at, v);
            ReadAll(bytes);
        }
}

}  // namespace
}  // namespace vra
