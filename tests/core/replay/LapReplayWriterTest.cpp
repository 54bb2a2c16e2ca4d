#include "core/replay/LapReplayWriter.h"

#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ReplaySource.h"

#include "ReplayFiles.h"
#include "WriterTestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace vra {
namespace {

using simkit::ReplayBuilder;
using testing::Poke16;
using testing::Poke32;
using testing::RaceReplay;

struct Source {
    std::vector<std::uint8_t> bytes;
    simkit::ReplayLayout layout;
    Drivers drivers;
};

Source Build(ReplayBuilder& b) {
    Source s;
    s.bytes = b.build();
    s.layout = b.layout();
    EXPECT_EQ(s.drivers.LoadBytes(s.bytes), Drivers::LoadResult::Ok);
    return s;
}

std::vector<std::uint8_t> SaveLap(Source& s, const GetRpyInfo& lap) {
    ReplaySource src{std::span<const std::uint8_t>(s.bytes)};
    MemorySink out;
    EXPECT_EQ(WriteLapReplay(src, LapRangeOf(s.drivers, lap), out), 0);
    return out.bytes();
}

// The saved file holds the source's leading chunks with five fields patched,
// the lap's frames as they were (the first without a previous frame) and the
// end chunk; read back, the same lap comes out sample for sample.
TEST(SavedLap, CopiesTheLapsFramesBehindPatchedLeadingChunks) {
    auto b = RaceReplay(3, 4);
    b.desc.engineBlocks = true;
    b.desc.lateral = [](int driver, double ms) { return 1.5 * driver - 2.0 + std::sin(ms / 700.0); };
    Source s = Build(b);
    const std::uint64_t F = s.layout.frameChunk;

    // Lap 1 starts 2 s into the session, lap 3 in its middle; the saving
    // player's lap and another car's.
    for (auto [driver, lapNo] : {std::pair{0, 1}, {0, 3}, {2, 1}, {1, 2}}) {
        SCOPED_TRACE(::testing::Message() << "driver " << driver << " lap " << lapNo);
        GetRpyInfo lap;
        ASSERT_EQ(lap.ExtractLapFromBytes(s.bytes, s.drivers, driver, lapNo, Race, 1000.0f), GetRpyInfo::Result::Ok);
        const std::uint64_t A = lap.firstFrameOffset, B = lap.endOffset;
        // The range is whole frames of the built stream.
        const auto& frames = s.layout.frames;
        auto first = std::find(frames.begin(), frames.end(), A);
        ASSERT_NE(first, frames.end());
        auto past = std::find(frames.begin(), frames.end(), B);
        const std::uint64_t lastFrame = *(past - 1);
        const std::uint32_t framesCopied = static_cast<std::uint32_t>(past - first);

        const auto out = SaveLap(s, lap);
        ASSERT_EQ(out.size(), F + 24 + (B - A));
        // Leading chunks: the source's bytes but for the five patched fields.
        std::vector<std::uint8_t> lead(s.bytes.begin(), s.bytes.begin() + static_cast<std::ptrdiff_t>(F + 12));
        Poke32(lead, 8, static_cast<std::uint32_t>(F + (B - A)));
        Poke32(lead, 24, framesCopied + 1);
        Poke32(lead, 28, static_cast<std::uint32_t>(B - A));
        Poke16(lead, 32, static_cast<std::uint16_t>(B - lastFrame));
        Poke32(lead, F + 8, static_cast<std::uint32_t>(B - A));
        EXPECT_TRUE(std::equal(lead.begin(), lead.end(), out.begin()));
        // Frames: the source's, the first one's previous size zeroed.
        std::vector<std::uint8_t> copied(s.bytes.begin() + static_cast<std::ptrdiff_t>(A),
                                         s.bytes.begin() + static_cast<std::ptrdiff_t>(B));
        EXPECT_NE(U16At(copied, 2), 0);
        Poke16(copied, 2, 0);
        EXPECT_TRUE(std::equal(copied.begin(), copied.end(), out.begin() + static_cast<std::ptrdiff_t>(F + 12)));
        EXPECT_EQ(Tail(out, 12), EndChunk());

        Header header;
        EXPECT_EQ(header.ReadBytes(out), Header::Ok);
        Drivers saved;
        ASSERT_EQ(saved.LoadBytes(out), Drivers::LoadResult::Ok);
        GetRpyInfo again;
        ASSERT_EQ(again.ExtractLapFromBytes(out, saved, driver, lapNo, Race, 1000.0f), GetRpyInfo::Result::Ok);
        EXPECT_EQ(again.sampleCount, lap.sampleCount);
        EXPECT_EQ(again.distance, lap.distance);
        EXPECT_EQ(again.lateral, lap.lateral);
        EXPECT_EQ(again.gear, lap.gear);
        EXPECT_EQ(again.heading, lap.heading);
        EXPECT_EQ(again.rpm, lap.rpm);
        EXPECT_EQ(again.rideHeight, lap.rideHeight);
        EXPECT_EQ(again.oilTemperature, lap.oilTemperature);
        EXPECT_EQ(again.blocks, lap.blocks);
        EXPECT_EQ(again.missingCount, lap.missingCount);
    }
}

TEST(SavedLap, ARangeOutsideTheSourceOrARefusingSinkFails) {
    auto b = RaceReplay();
    Source s = Build(b);
    GetRpyInfo lap;
    ASSERT_EQ(lap.ExtractLapFromBytes(s.bytes, s.drivers, 0, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
    ReplaySource src{std::span<const std::uint8_t>(s.bytes)};
    LapFrameRange range = LapRangeOf(s.drivers, lap);
    for (auto broken : {LapFrameRange{range.frameChunkOffset, range.begin, s.bytes.size() + 1},
                        LapFrameRange{range.frameChunkOffset, range.frameChunkOffset, range.end},
                        LapFrameRange{range.frameChunkOffset, range.end, range.begin}}) {
        MemorySink out;
        EXPECT_EQ(WriteLapReplay(src, broken, out), 1);
    }
    MemorySink whole;
    ASSERT_EQ(WriteLapReplay(src, range, whole), 0);
    for (std::size_t k : {std::size_t{0}, std::size_t{100}, whole.bytes().size() - 1}) {
        FailingSink out(k);
        EXPECT_EQ(WriteLapReplay(src, range, out), 1) << k;
    }
}

}  // namespace
}  // namespace vra
