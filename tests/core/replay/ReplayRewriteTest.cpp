#include "core/replay/ReplayRewrite.h"

#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ReplaySource.h"

#include "ReplayFiles.h"
#include "WriterTestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <tuple>

namespace vra {
namespace {

using simkit::FrameContext;
using simkit::FrameRecord;
using ::testing::ElementsAre;
using testing::Poke16;
using testing::Poke32;

// Every type the walkers know but do not use.
std::vector<std::uint16_t> SkipTypes() {
    std::vector<std::uint16_t> t = {4, 5, 6, 8, 11, 12, 116, 117};
    for (std::uint16_t k = 15; k <= 32; ++k) t.push_back(k);
    return t;
}

// A race whose frames hold every listed record type: engine words and
// blocks, race control and car status records, each skipped type in turn,
// and, in frame 100, nothing the compression keeps.
simkit::ReplayBuilder EveryType() {
    auto b = testing::RaceReplay(3, 3);
    b.desc.engineBlocks = true;
    b.desc.raceControlEvery = 5;
    b.desc.carStatusEvery = 7;
    b.desc.frameHook = [](FrameContext& f) {
        const auto skip = SkipTypes();
        if (f.frameNumber == 100) {
            f.records.clear();
            f.records.push_back(FrameRecord{2, -1, {1, 2, 3, 4}});
            f.records.push_back(FrameRecord{117, 5, {9}});
            return;
        }
        const std::uint16_t type = skip[f.frameNumber % skip.size()];
        f.records.push_back(FrameRecord{type, 4 + static_cast<int>(f.frameNumber % 7),
                                        std::vector<std::uint8_t>(f.frameNumber % 7, 0x33)});
    };
    return b;
}

struct Record {
    std::uint16_t type;
    std::size_t at, padded;
};

// The records of the frame at `at`, read here on their own.
std::vector<Record> RecordsOf(const std::vector<std::uint8_t>& f, std::size_t at) {
    std::vector<Record> out;
    const std::size_t size = U16At(f, at);
    for (std::size_t q = at + 8; q < at + size;) {
        const std::size_t padded = (U16At(f, q + 2) + 3u) & ~3u;
        out.push_back({U16At(f, q), q, padded});
        q += padded;
    }
    return out;
}

bool Kept(std::uint16_t type) {
    return type == 1 || type == 3 || type == 9 || type == 10 || type == 13 || type == 14;
}

TEST(CompressedReplay, KeepsExactlyTheRecordsTheReadersUse) {
    auto b = EveryType();
    const auto src = b.build();
    const auto layout = b.layout();
    const std::size_t F = layout.frameChunk;

    // The expected file from the built frames and the list of kept types.
    std::vector<std::uint8_t> frames;
    std::uint16_t previous = 0;
    std::set<std::uint16_t> seen;
    for (std::uint64_t at : layout.frames) {
        std::vector<std::uint8_t> frame(8, 0);
        std::memcpy(&frame[4], &src[at + 4], 4);
        for (const Record& r : RecordsOf(src, at)) {
            seen.insert(r.type);
            if (Kept(r.type)) frame.insert(frame.end(), src.begin() + r.at, src.begin() + r.at + r.padded);
        }
        Poke16(frame, 0, static_cast<std::uint16_t>(frame.size()));
        Poke16(frame, 2, previous);
        previous = static_cast<std::uint16_t>(frame.size());
        frames.insert(frames.end(), frame.begin(), frame.end());
    }
    for (std::uint16_t t : SkipTypes()) EXPECT_TRUE(seen.count(t)) << t;
    for (std::uint16_t t : {1, 2, 3, 9, 10, 13, 14, 100, 101, 102, 103, 104, 105}) EXPECT_TRUE(seen.count(t)) << t;
    std::vector<std::uint8_t> expected(src.begin(), src.begin() + static_cast<std::ptrdiff_t>(F + 12));
    Poke32(expected, 8, static_cast<std::uint32_t>(F + frames.size() + 12));
    Poke32(expected, 28, static_cast<std::uint32_t>(frames.size()));
    Poke16(expected, 32, previous);
    Poke32(expected, F + 4, 0);
    Poke32(expected, F + 8, static_cast<std::uint32_t>(frames.size()));
    expected.insert(expected.end(), frames.begin(), frames.end());
    const auto end = EndChunk();
    expected.insert(expected.end(), end.begin(), end.end());

    ReplaySource source{std::span<const std::uint8_t>(src)};
    MemorySink out;
    const CompressResult r = CompressReplayFile(source, F, out);
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.bytesOut, expected.size());
    ASSERT_EQ(out.bytes().size(), expected.size());
    EXPECT_TRUE(out.bytes() == expected);
    // The frame that held nothing kept is a bare header.
    const auto& c = out.bytes();
    std::size_t at = F + 12;
    for (int i = 1; i < 100; ++i) at += U16At(c, at);
    EXPECT_EQ(U16At(c, at), 8);

    // Read back: other cars' laps are the same, blocks gone; the saving
    // player's lap has neither engine words nor blocks.
    Drivers before, after;
    ASSERT_EQ(before.LoadBytes(src), Drivers::LoadResult::Ok);
    ASSERT_EQ(after.LoadBytes(c), Drivers::LoadResult::Ok);
    for (int driver : {1, 2}) {
        GetRpyInfo x, y;
        ASSERT_EQ(x.ExtractLapFromBytes(src, before, driver, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
        ASSERT_EQ(y.ExtractLapFromBytes(c, after, driver, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
        EXPECT_NE(x.blockTypes, 0u);
        EXPECT_EQ(y.blockTypes, 0u);
        EXPECT_EQ(y.sampleCount, x.sampleCount);
        EXPECT_EQ(y.distance, x.distance);
        EXPECT_EQ(y.lateral, x.lateral);
        EXPECT_EQ(y.foundCount, x.foundCount);
        ASSERT_EQ(x.AllocateChannels(1), GetRpyInfo::Result::Ok);
        ASSERT_EQ(y.AllocateChannels(1), GetRpyInfo::Result::Ok);
        EXPECT_EQ(std::tuple(y.lapStartFrame, y.lapEndFrame, y.sampleCount),
                  std::tuple(x.lapStartFrame, x.lapEndFrame, x.sampleCount));
    }
    GetRpyInfo own;
    ASSERT_EQ(own.ExtractLapFromBytes(c, after, 0, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
    EXPECT_EQ(own.blockTypes, 0u);
    EXPECT_EQ(own.fullData, 0);
    EXPECT_TRUE(std::all_of(own.oilTemperature.begin(), own.oilTemperature.end(), [](double v) { return v == 0; }));
}

TEST(CompressedReplay, AnUnlistedRecordTypeOrARefusingSinkEndsIt) {
    auto b = testing::RaceReplay();
    b.desc.frameHook = [](FrameContext& f) {
        if (f.frameNumber == 700) f.records.push_back(FrameRecord{7, -1, {0, 0, 0, 0}});
    };
    const auto src = b.build();
    ReplaySource source{std::span<const std::uint8_t>(src)};
    MemorySink out;
    EXPECT_EQ(CompressReplayFile(source, b.layout().frameChunk, out).result, 1);
    EXPECT_TRUE(out.bytes().empty());

    auto good = testing::RaceReplay();
    const auto bytes = good.build();
    ReplaySource ok{std::span<const std::uint8_t>(bytes)};
    for (std::size_t k : {std::size_t{0}, std::size_t{400}, std::size_t{4000}}) {
        FailingSink failing(k);
        EXPECT_EQ(CompressReplayFile(ok, good.layout().frameChunk, failing).result, 1) << k;
        FailingSink failingFix(k);
        EXPECT_EQ(FixTransAmRideHeight(ok, good.layout().frameChunk, failingFix), 1) << k;
    }
    // A frame chunk that claims more bytes than the file holds.
    auto cut = bytes;
    cut.resize(cut.size() - 100);
    ReplaySource shorter{std::span<const std::uint8_t>(cut)};
    MemorySink none;
    EXPECT_EQ(CompressReplayFile(shorter, good.layout().frameChunk, none).result, 1);
    EXPECT_EQ(FixTransAmRideHeight(shorter, good.layout().frameChunk, none), 1);
}

// Records whose length is not a multiple of 4 are followed by padding bytes;
// both rewrites carry them over as the source holds them, not as zeros.
TEST(ReplayRewrite, KeptRecordsKeepTheirPaddingBytes) {
    auto b = EveryType();
    auto every = b.desc.frameHook;
    b.desc.frameHook = [every](FrameContext& f) {
        every(f);
        f.records.push_back(FrameRecord{10, 9, {1, 2, 3, 4, 5}});
        f.records.push_back(FrameRecord{14, 10, {6, 7, 8, 9, 10, 11}});
    };
    auto src = b.build();
    const std::size_t F = b.layout().frameChunk;
    std::size_t marked = 0;
    for (std::uint64_t at : b.layout().frames)
        for (const Record& r : RecordsOf(src, at))
            for (std::size_t k = r.at + U16At(src, r.at + 2); k < r.at + r.padded; ++k, ++marked) src[k] = 0xA5;
    ASSERT_GT(marked, 0u);

    ReplaySource source{std::span<const std::uint8_t>(src)};
    MemorySink packed;
    ASSERT_EQ(CompressReplayFile(source, F, packed).result, 0);
    const auto& c = packed.bytes();
    std::size_t out = F + 12;
    for (std::uint64_t at : b.layout().frames) {
        std::vector<Record> kept;
        for (const Record& r : RecordsOf(src, at))
            if (Kept(r.type)) kept.push_back(r);
        const std::vector<Record> written = RecordsOf(c, out);
        ASSERT_EQ(written.size(), kept.size()) << at;
        for (std::size_t i = 0; i < kept.size(); ++i)
            ASSERT_TRUE(std::equal(src.begin() + kept[i].at, src.begin() + kept[i].at + kept[i].padded,
                                   c.begin() + written[i].at, c.begin() + written[i].at + written[i].padded))
                << at;
        out += U16At(c, out);
    }

    MemorySink fixed;
    ASSERT_EQ(FixTransAmRideHeight(source, F, fixed), 0);
    const auto& x = fixed.bytes();
    ASSERT_EQ(x.size(), b.layout().endChunk + 12);
    for (std::uint64_t at : b.layout().frames)
        for (const Record& r : RecordsOf(src, at)) {
            const std::size_t from = r.type == 1 ? r.at + 40 : r.at;
            ASSERT_TRUE(std::equal(src.begin() + from, src.begin() + r.at + r.padded, x.begin() + from)) << r.at;
        }
}

// The fixed code, computed here from the ride height in metres.
std::uint32_t ExpectedCode(std::uint32_t code) {
    const double metres = std::tan(code * 0.0003759564) * 1.563264 + 0.12;
    const double c = std::floor(std::atan(metres * 0.6396872185376239) * 2659.8829013151526);
    return c > 4095 ? 4095 : static_cast<std::uint32_t>(c);
}

TEST(RideHeightFix, EveryCodeMovesUpAndStaysInItsField) {
    std::uint32_t previous = 0;
    for (std::uint32_t code = 0; code < 4096; ++code) {
        const std::uint32_t fixed = FixedRideHeightCode(code);
        ASSERT_EQ(fixed, ExpectedCode(code)) << code;
        ASSERT_GE(fixed, previous) << code;
        ASSERT_LE(fixed, 4095u);
        previous = fixed;
    }
    EXPECT_GT(FixedRideHeightCode(0), 0u);  // 12 cm higher
}

// Suspension fields hold signed 10-bit values: they drop by 20 or 40 and
// stop at the field's lowest value instead of wrapping round to positive.
TEST(RideHeightFix, SuspensionsDropAndSaturate) {
    auto field = [](std::int32_t v, int lo) { return (static_cast<std::uint32_t>(v) & 0x3FF) << lo; };
    std::uint32_t w[9] = {};
    w[1] = (100u << 20) | 0xABCDE;
    w[4] = field(100, 12) | 0xC00003FFu;
    w[5] = field(-500, 2) | field(-500, 22) | 3u | (0x155u << 12);
    w[6] = field(-472, 12) | 0xFFC00FFFu;
    w[7] = 0x12345678;
    FixFullRecord(w);
    EXPECT_EQ(w[1], (ExpectedCode(100) << 20) | 0xABCDE);
    EXPECT_EQ(w[4], field(80, 12) | 0xC00003FFu);
    EXPECT_EQ(w[5], field(-512, 2) | field(-512, 22) | 3u | (0x155u << 12));
    EXPECT_EQ(w[6], field(-512, 12) | 0xFFC00FFFu);
    EXPECT_EQ(w[7], 0x12345678u);
}

TEST(RideHeightFix, ChangesOnlyTheFullRecordsFieldsAndTheChunkWord) {
    auto b = EveryType();
    b.desc.fullHook = [](const FrameContext& f, simkit::FullRecordFields& r) {
        r.rideHeight = static_cast<std::uint32_t>(f.frameNumber % 4096);
        r.suspension = {-500, 300, -480, 0};
    };
    const auto src = b.build();
    const std::size_t F = b.layout().frameChunk;
    ReplaySource source{std::span<const std::uint8_t>(src)};
    MemorySink out;
    ASSERT_EQ(FixTransAmRideHeight(source, F, out), 0);
    auto expected = src;
    Poke32(expected, F + 4, 0);
    for (std::uint64_t at : b.layout().frames) {
        for (const Record& r : RecordsOf(src, at)) {
            if (r.type != 1) continue;
            std::uint32_t w[9];
            for (int i = 0; i < 9; ++i) w[i] = U32At(src, r.at + 4 + 4 * i);
            FixFullRecord(w);
            for (int i = 0; i < 9; ++i) Poke32(expected, r.at + 4 + 4 * i, w[i]);
        }
    }
    expected.resize(b.layout().endChunk);
    const auto end = EndChunk();
    expected.insert(expected.end(), end.begin(), end.end());
    EXPECT_TRUE(out.bytes() == expected);
    // The source's first frame record holds -500 in suspension 1: -520
    // saturates to -512.
    Drivers d;
    ASSERT_EQ(d.LoadBytes(out.bytes()), Drivers::LoadResult::Ok);
    GetRpyInfo lap;
    ASSERT_EQ(lap.ExtractLapFromBytes(out.bytes(), d, 0, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
    EXPECT_EQ(lap.suspension[0][5], -512);
    EXPECT_EQ(lap.suspension[1][5], 280);
    EXPECT_EQ(lap.suspension[2][5], -512);
    EXPECT_EQ(lap.suspension[3][5], -40);
}

}  // namespace
}  // namespace vra
