#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/ParseCarStructs.h"

#include "ReplayFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using simkit::FrameContext;
using simkit::FrameRecord;
using ::testing::ElementsAre;
using testing::RaceReplay;

// Packed words as the bytes of a file (little-endian, as the file is).
template <typename Words>
const std::uint8_t* Raw(const Words& w) {
    return reinterpret_cast<const std::uint8_t*>(w.data());
}

// The fields themselves come back through the lap extraction's tests; here
// the second compact slot, the widest distances and the bit reader.
TEST(CarRecords, UnpacksTheWidestDistancesBothCompactSlotsAndReadsBits) {
    simkit::FullRecordFields f;
    f.distance = 0x3FFFFFF;
    const auto full = simkit::PackFullRecord(f);
    ParseCarStructs p;
    p.SetFullRecord(Raw(full));
    EXPECT_DOUBLE_EQ(p.Full().distance * 0.0005, 33554.4315);  // the longest distance a record holds
    simkit::CompactRecordFields a;
    a.distance = 0xFFFFFF, a.carIdByte = 0xAB;
    simkit::CompactRecordFields b = a;
    b.carIdByte = 3, b.gear = -1;
    const auto ba = simkit::PackCompactRecord(a), bb = simkit::PackCompactRecord(b);
    p.SetCompactRecord(Raw(ba));
    p.SetCompactRecord2(Raw(bb));
    EXPECT_THAT((std::vector<std::int64_t>{p.Compact().distance, p.Compact().carId, p.Compact().gear,
                                           p.Compact2().carId, p.Compact2().gear}),
                ElementsAre(0xFFFFFF, 0xAB, a.gear, 3, -1));
    const std::uint8_t stream[3] = {0xB4, 0x5A, 0xFF};
    std::uint32_t pos = 2;
    EXPECT_EQ(ParseCarStructs::ReadBits(stream, pos, 9), ((0x5AB4u >> 2) & 0x1FF));
    EXPECT_EQ(pos, 11u);
}

TEST(FrameWalk, PaddingSkippedRecordsAndEmptyFramesAreSteppedOver) {
    auto b = RaceReplay(3, 2);
    b.desc.paddingEvery = 1;  // a record of length 9 (12 bytes) in every frame
    b.desc.raceControlEvery = 3, b.desc.carStatusEvery = 5;
    b.desc.frameHook = [](FrameContext& ctx) {
        if (ctx.frameInSession % 50 == 7)
            for (std::uint16_t t : {4, 5, 6, 8, 11, 12, 15, 20, 32, 116, 117})
                ctx.records.push_back(FrameRecord{t, -1, std::vector<std::uint8_t>(t % 7, 0xAA)});
    };
    const auto bytes = b.build();
    Drivers d;
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Ok);
    for (int driver : {0, 1}) {
        GetRpyInfo lap;
        ASSERT_EQ(lap.ExtractLapFromBytes(bytes, d, driver, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
        EXPECT_THAT((std::vector<int>{lap.sampleCount - lap.foundCount, lap.missingCount,
                                      static_cast<int>(lap.AllocateChannels(1))}),
                    ElementsAre(0, 0, 0));
    }
    // Every fifth frame without a session record written with its header only.
    auto empty = RaceReplay(3, 2);
    empty.desc.frameHook = [](FrameContext& ctx) {
        if (ctx.frameInSession % 5 == 3 && ctx.frameInSession % 36 != 0) ctx.records.clear();
    };
    const auto emptyBytes = empty.build();
    ASSERT_EQ(d.LoadBytes(emptyBytes), Drivers::LoadResult::Ok);
    GetRpyInfo lap;
    ASSERT_EQ(lap.ExtractLapFromBytes(emptyBytes, d, 1, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
    EXPECT_GT(lap.missingCount, 0);
    EXPECT_THAT((std::vector<int>{lap.longestGap, lap.foundCount + lap.missingCount}), ElementsAre(1, lap.sampleCount));
}

TEST(FrameWalk, UnknownRecordTypesAndCutStreamsFailWithoutLookingLikeDriverCounts) {
    testing::TempDir dir;
    for (std::uint16_t type : {0, 7, 33, 99, 106, 115, 118, 0xFFFF})
        for (std::uint32_t frame : {5u, 400u}) {  // in the forward and in the backward walk
            auto b = RaceReplay(3, 2);
            b.desc.frameHook = [=](FrameContext& ctx) {
                if (ctx.frameInSession == frame) ctx.records.push_back(FrameRecord{type, -1, {0, 0, 0, 0}});
            };
            Drivers d;
            const auto bytes = b.build();
            EXPECT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Unreadable) << type << " at " << frame;
            // Three drivers: the failure must not read as "3 drivers".
            if (type == 7) {
                EXPECT_LT(d.ParseReplay(dir.write("three.rpy", bytes)), 0) << frame;
            }
        }
    // Six drivers and a frame stream cut short: not "6 drivers" either.
    auto six = RaceReplay(6, 1);
    auto bytes = six.build();
    bytes.resize(static_cast<std::size_t>(six.layout().frames[20] + 4));
    EXPECT_LT(Drivers().ParseReplay(dir.write("six.rpy", bytes)), 0);
}

TEST(FrameWalk, AFrameDamagedInPlaceAmongFramesLaidOutAlikeStillFails) {
    // The load checks a frame laid out like the ones before it in one go; a
    // record changed in place (same frame size) must fail as it would alone.
    for (bool mixed : {false, true})                  // one kind of frame, or several
        for (std::uint32_t frame : {5u, 396u, 400u})  // without and with a session record
            for (std::size_t k = 0; k < 6; ++k) {
                auto b = RaceReplay(3, 2);
                if (mixed) b.desc.raceControlEvery = 3, b.desc.carStatusEvery = 5;
                bool changed = false;
                b.desc.frameHook = [&](FrameContext& ctx) {
                    if (ctx.frameInSession != frame || k >= ctx.records.size()) return;
                    FrameRecord& r = ctx.records[k];
                    if (r.type == RecSession)
                        r.length = 4;  // its word left outside the record
                    else
                        r.type = 7;
                    changed = true;
                };
                const auto bytes = b.build();
                if (!changed) continue;
                EXPECT_EQ(Drivers().LoadBytes(bytes), Drivers::LoadResult::Unreadable)
                    << mixed << " frame " << frame << " record " << k;
            }
}

}  // namespace
}  // namespace vra
