#include "replay/ParseCarStructs.h"

#include <cstring>

#include <gtest/gtest.h>

#include "ReplayFiles.h"
#include "replay/Drivers.h"
#include "replay/GetRpyInfo.h"
#include "replay/ReplayBuilder.h"

namespace vra {
namespace {

using simkit::FrameContext;
using simkit::FrameRecord;
using simkit::ReplayBuilder;

std::vector<std::uint8_t> Bytes(std::span<const std::uint32_t> words) {
    std::vector<std::uint8_t> out(words.size() * 4);
    std::memcpy(out.data(), words.data(), out.size());
    return out;
}

TEST(CarRecords, FullRecordUnpacksEveryField) {
    simkit::FullRecordFields f;
    f.distance = 0x3FFFFFF;
    f.gear = 6;
    f.wheelDirection = {2, 1, 0, 2};
    f.lateral = -524288;
    f.rideHeight = 0xFFF;
    f.rpmCode = 0x3FF;
    f.heading = -2048;
    f.pitch = 511;
    f.roll = -1;
    f.valueG = 0x07;
    f.steering = 63;
    f.wheelRotation = {0x3FF, 0, 5, 1000};
    f.suspension = {-512, 511, -1, 0};
    f.oilPressure = 127;
    f.throttle = 1;
    f.brake = 255;
    const auto words = simkit::PackFullRecord(f);
    const auto bytes = Bytes(words);
    ParseCarStructs p;
    const std::uint32_t* stored = p.SetFullRecord(bytes.data());
    EXPECT_EQ(std::memcmp(stored, words.data(), 36), 0);
    const FullCarFields c = p.Full();
    EXPECT_EQ(c.distance, 0x3FFFFFFu);
    EXPECT_DOUBLE_EQ(c.distance * 0.0005, 33554.4315);  // the longest distance a record holds
    EXPECT_EQ(c.gear, 6);
    EXPECT_EQ(c.wheelDirection[0], 2);
    EXPECT_EQ(c.wheelDirection[1], 1);
    EXPECT_EQ(c.wheelDirection[2], 0);
    EXPECT_EQ(c.wheelDirection[3], 2);
    EXPECT_EQ(c.lateral, -524288);
    EXPECT_EQ(c.rideHeight, 0xFFFu);
    EXPECT_EQ(c.rpmCode, 0x3FFu);
    EXPECT_EQ(c.heading, -2048);
    EXPECT_EQ(c.pitch, 511);
    EXPECT_EQ(c.roll, -1);
    EXPECT_EQ(c.valueG, 0x07u);
    EXPECT_EQ(c.valueH, 0u);
    EXPECT_EQ(c.steering, 63);
    EXPECT_EQ(c.wheelRotation[0], 0x3FFu);
    EXPECT_EQ(c.wheelRotation[3], 1000u);
    EXPECT_EQ(c.suspension[0], -512);
    EXPECT_EQ(c.suspension[1], 511);
    EXPECT_EQ(c.suspension[2], -1);
    EXPECT_EQ(c.oilPressure, 127);
    EXPECT_EQ(c.throttle, 1);
    EXPECT_EQ(c.brake, 255);
}

TEST(CarRecords, CompactRecordsUseTwoSlots) {
    simkit::CompactRecordFields a;
    a.valueG = 31;
    a.pitch = -512;
    a.distance = 0xFFFFFF;
    a.carIdByte = 0xAB;
    a.roll = 100;
    a.rpmCode = 0x3F;
    a.rideHeight = 0x1FC;
    a.heading = -1;
    a.lateral = 65535;
    a.gear = -1;
    simkit::CompactRecordFields b = a;
    b.carIdByte = 3;
    b.gear = 2;
    const auto ba = Bytes(simkit::PackCompactRecord(a));
    const auto bb = Bytes(simkit::PackCompactRecord(b));
    ParseCarStructs p;
    p.SetCompactRecord(ba.data());
    p.SetCompactRecord2(bb.data());
    const CompactCarFields c = p.Compact();
    EXPECT_EQ(c.valueG, 31u);
    EXPECT_EQ(c.pitch, -512);
    EXPECT_EQ(c.distance, 0xFFFFFFu);
    EXPECT_EQ(c.carId, 0xAB);
    EXPECT_EQ(c.roll, 100);
    EXPECT_EQ(c.rpmCode, 0x3Fu);
    EXPECT_EQ(c.rideHeight, 0x1FCu);
    EXPECT_EQ(c.heading, -1);
    EXPECT_EQ(c.lateral, 65535);
    EXPECT_EQ(c.gear, -1);
    EXPECT_EQ(p.Compact2().carId, 3);
    EXPECT_EQ(p.Compact2().gear, 2);
}

TEST(CarRecords, EngineWordUnpacksBitByBit) {
    simkit::EngineWordFields e{101, 77, 5, 2047};
    const std::uint32_t word = simkit::PackEngineWord(e);
    std::uint8_t bytes[4];
    std::memcpy(bytes, &word, 4);
    ParseCarStructs p;
    EXPECT_EQ(*p.UnpackWord(bytes), word);
    const EngineWordFields f = p.Engine();
    EXPECT_EQ(f.oilTemperature, 101u);
    EXPECT_EQ(f.waterTemperature, 77u);
    EXPECT_EQ(f.fuelPressure, 5u);
    EXPECT_EQ(f.valueI, 2047u);

    const std::uint8_t stream[3] = {0xB4, 0x5A, 0xFF};
    std::uint32_t pos = 2;
    EXPECT_EQ(ParseCarStructs::ReadBits(stream, pos, 9), ((0x5AB4u >> 2) & 0x1FF));
    EXPECT_EQ(pos, 11u);
}

ReplayBuilder RaceReplay() {
    ReplayBuilder b;
    b.drivers(3).trackLength(1000).session(Race, 2, 8000, 2010);
    return b;
}

TEST(FrameWalk, PaddedAndSkippedRecordsAreSteppedOver) {
    auto b = RaceReplay();
    b.spec.paddingEvery = 1;  // a record of length 9 (12 bytes) in every frame
    b.spec.raceControlEvery = 3;
    b.spec.carStatusEvery = 5;
    b.spec.frameHook = [](FrameContext& ctx) {
        if (ctx.frameInSession % 50 != 7) return;
        for (std::uint16_t t : {4, 5, 6, 8, 11, 12, 15, 20, 32, 116, 117})
            ctx.records.push_back(FrameRecord{t, -1, std::vector<std::uint8_t>(t % 7, 0xAA)});
    };
    const auto bytes = b.build();
    Drivers d;
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::Ok);
    for (int driver : {0, 1}) {
        GetRpyInfo lap;
        ASSERT_EQ(lap.ExtractLapFromBytes(bytes, d, driver, 2, Race, 1000.0f), GetRpyInfo::Ok);
        EXPECT_EQ(lap.foundCount, lap.sampleCount);
        EXPECT_EQ(lap.missingCount, 0);
        EXPECT_EQ(lap.AllocateChannels(1), 0);
    }
}

TEST(FrameWalk, EmptyFramesHoldNoRecords) {
    auto b = RaceReplay();
    // Every fifth frame without a session record is written with its header only.
    b.spec.frameHook = [](FrameContext& ctx) {
        if (ctx.frameInSession % 5 == 3 && ctx.frameInSession % 36 != 0) ctx.records.clear();
    };
    const auto bytes = b.build();
    Drivers d;
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::Ok);
    GetRpyInfo lap;
    ASSERT_EQ(lap.ExtractLapFromBytes(bytes, d, 1, 2, Race, 1000.0f), GetRpyInfo::Ok);
    EXPECT_GT(lap.missingCount, 0);
    EXPECT_EQ(lap.longestGap, 1);
    EXPECT_EQ(lap.foundCount + lap.missingCount, lap.sampleCount);
}

TEST(FrameWalk, UnknownRecordTypesMakeTheReplayUnreadable) {
    for (std::uint16_t type : {0, 7, 33, 99, 106, 115, 118, 0xFFFF}) {
        for (std::uint32_t frame : {5u, 400u}) {  // in the forward and in the backward walk
            auto b = RaceReplay();
            b.spec.frameHook = [=](FrameContext& ctx) {
                if (ctx.frameInSession == frame) ctx.records.push_back(FrameRecord{type, -1, {0, 0, 0, 0}});
            };
            Drivers d;
            EXPECT_EQ(d.LoadBytes(b.build()), Drivers::Unreadable) << type << " at " << frame;
            EXPECT_EQ(d.ParseReplay("/nonexistent/replay.rpy"), Drivers::NotOpened);
        }
    }
}

TEST(FrameWalk, ParseErrorsNeverLookLikeDriverCounts) {
    // Three drivers and an unknown record: the failure must not read as "3 drivers".
    auto b = RaceReplay();
    b.spec.frameHook = [](FrameContext& ctx) {
        if (ctx.frameInSession == 400) ctx.records.push_back(FrameRecord{7, -1, {}});
    };
    testing::TempDir dir;
    const auto path = dir.write("three.rpy", b.build());
    Drivers d;
    EXPECT_LT(d.ParseReplay(path), 0);

    // Six drivers and a frame stream cut short: not "6 drivers" either.
    ReplayBuilder six;
    six.drivers(6).trackLength(1000).session(Race, 1, 8000, 2010);
    auto bytes = six.build();
    bytes.resize(static_cast<std::size_t>(six.layout().frames[20] + 4));
    EXPECT_LT(d.ParseReplay(dir.write("six.rpy", bytes)), 0);
}

}  // namespace
}  // namespace vra
