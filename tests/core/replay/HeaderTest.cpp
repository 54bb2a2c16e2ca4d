#include "replay/Header.h"

#include <gtest/gtest.h>

#include "ReplayFiles.h"
#include "replay/ReplayBuilder.h"
#include "replay/ReplayFormat.h"

namespace vra {
namespace {

using simkit::ReplayBuilder;
using testing::Poke32;
using testing::TempDir;

ReplayBuilder SmallRace() {
    ReplayBuilder b;
    b.drivers(3).trackLength(800).session(Race, 2, 6000, 2010);
    return b;
}

TEST(Header, DecodesTheRaceSettingsAndTheSavingPlayer) {
    auto b = SmallRace();
    auto& s = b.spec.settings;
    s.trackName = "Lakeside";
    s.secondText = "club event";
    s.rules = 0x80 | 0x40 | 0x20 | 0x10 | 0x08 | 0x02;  // realistic damage, failures, yellows, hardcore, restarts
    s.modes = 0x01 | 0x02 | (5 << 2) | 0x20 | 0x40;      // pace lap, arcade, wind SW, aids, speed control
    s.wear = 0x02 | 0x04;                                // wear 2, AI strength auto
    s.weather = 1;
    s.conditions = 0x02;
    s.temperature = 31;
    s.windSpeed = 12;
    s.aiStrength = 97;
    s.raceDistance = 50;
    s.fixedSetup = 1;
    s.aiCars = 2;
    s.practiceWord = 0x441600;
    s.happyHourWord = 0x45A8C0;
    s.qualifyingWord = 3u << 8;
    s.raceWord = 25u << 8;
    TempDir dir;
    const auto path = dir.write("race.rpy", b.build());

    Header h;
    ASSERT_EQ(h.Read(path), Header::Ok);
    EXPECT_EQ(h.version, 5);
    EXPECT_EQ(h.trackName, "LAKESIDE");
    EXPECT_EQ(h.secondText, "club event");
    EXPECT_EQ(h.firstName, "Alex");
    EXPECT_EQ(h.lastName, "Morgan");
    EXPECT_EQ(h.damage, 3);
    EXPECT_EQ(h.mechanicalFailures, 1);
    EXPECT_EQ(h.yellowFlags, 1);
    EXPECT_EQ(h.hardcoreVisual, 1);
    EXPECT_EQ(h.doubleFileRestarts, 1);
    EXPECT_EQ(h.fullPaceLap, 1);
    EXPECT_EQ(h.gameMode, 1);
    EXPECT_EQ(h.windDirection, "SW");
    EXPECT_EQ(h.hardcoreDrivingAids, 1);
    EXPECT_EQ(h.adaptiveSpeedControl, 1);
    EXPECT_EQ(h.wearRate, 2);
    EXPECT_EQ(h.aiStrengthType, 1);
    EXPECT_EQ(h.weatherFlag, 1);
    EXPECT_EQ(h.conditions, 1);
    EXPECT_EQ(h.temperature, 31);
    EXPECT_EQ(h.windSpeed, 12);
    EXPECT_EQ(h.aiStrength, 97);
    EXPECT_EQ(h.raceDistance, 50);
    EXPECT_EQ(h.fixedSetup, 1);
    EXPECT_EQ(h.aiCars, 2);
    EXPECT_EQ(h.quickRace, 0);
    EXPECT_EQ(h.practiceMinutes, 10);
    EXPECT_EQ(h.happyHourMinutes, 90);
    EXPECT_EQ(h.qualifyingLaps, 3);
    EXPECT_EQ(h.raceLaps, 25);
    EXPECT_EQ(h.nextChunkPos, 272u);
    EXPECT_EQ(h.fileSize, b.layout().fileSize);
    EXPECT_EQ(h.frameCount, b.layout().frames.size());
}

TEST(Header, ClearsRestartsWithoutYellowFlagsAndDistanceWithoutLaps) {
    auto b = SmallRace();
    b.spec.settings.rules = 0x02;
    b.spec.settings.raceWord = 0;
    b.spec.settings.raceDistance = 75;
    Header h;
    ASSERT_EQ(h.ReadBytes(b.build()), Header::Ok);
    EXPECT_EQ(h.doubleFileRestarts, 0);
    EXPECT_EQ(h.yellowFlags, 0);
    EXPECT_EQ(h.raceDistance, 0);
}

TEST(Header, SessionLengthsFollowTheTimeTable) {
    EXPECT_EQ(Header::SessionMinutes(0), 0);
    EXPECT_EQ(Header::SessionMinutes(0xAB439600), 5);  // the top byte is not part of the code
    EXPECT_EQ(Header::SessionMinutes(0x439601), 66);
    EXPECT_EQ(Header::SessionMinutes(0x456100), 60);
    EXPECT_EQ(Header::SessionMinutes(0x4913A8), -1);
}

TEST(Header, QuickRaceTakesLapsFromItsOwnFields) {
    auto b = SmallRace();
    b.spec.settings.quickRace = 2;
    b.spec.settings.quickQualLaps = 4;
    b.spec.settings.qualifyingWord = 12u << 8;  // race laps of a quick race
    b.spec.settings.raceWord = 99u << 8;
    b.spec.settings.practiceWord = 0x441600;
    b.spec.settings.happyHourWord = 0x441600;
    Header h;
    ASSERT_EQ(h.ReadBytes(b.build()), Header::Ok);
    EXPECT_EQ(h.quickRace, 1);
    EXPECT_EQ(h.raceLaps, 12);
    EXPECT_EQ(h.qualifyingLaps, 4);
    EXPECT_EQ(h.practiceMinutes, 0);
    EXPECT_EQ(h.happyHourMinutes, 0);
}

TEST(Header, RefusesOtherVersionsButTellsWhichOneItWas) {
    for (std::uint32_t version : {2u, 3u, 4u, 6u}) {
        auto b = SmallRace();
        b.spec.header.fileWord = 0x100 | version;
        Header h;
        EXPECT_EQ(h.ReadBytes(b.build()), Header::NotOpenedOrWrongVersion) << version;
        EXPECT_EQ(h.version, static_cast<int>(version));
    }
}

TEST(Header, ResultsForFilesThatAreNoReplays) {
    TempDir dir;
    Header h;
    EXPECT_EQ(h.Read(dir.path() / "missing.rpy"), Header::NotOpenedOrWrongVersion);
    EXPECT_EQ(h.Read(dir.write("empty.rpy", {})), Header::EmptyOrShort);
    EXPECT_EQ(h.Read(dir.write("text.rpy", std::vector<std::uint8_t>(300, 'x'))), Header::NotAReplay);

    auto b = SmallRace();
    b.spec.settings.bodySize = 172;
    EXPECT_EQ(h.ReadBytes(b.build()), Header::BadSettingsSize);
}

TEST(Header, OlderLayoutShiftsTheSettingsChunk) {
    auto b = SmallRace();
    b.spec.header.headerBodySize = 64;
    b.spec.settings.trackName = "oval";
    b.spec.settings.raceWord = 7u << 8;
    Header h;
    ASSERT_EQ(h.ReadBytes(b.build()), Header::Ok);
    EXPECT_EQ(h.nextChunkPos, 276u);
    EXPECT_EQ(h.trackName, "OVAL");
    EXPECT_EQ(h.raceLaps, 7);
}

TEST(Header, FullWidthTextFieldsStayWithinTheirWidth) {
    auto b = SmallRace();
    b.spec.drivers[0].firstName = "ABCDEFGHIJKLMNOP";  // 16 bytes, no terminator
    b.spec.drivers[0].lastName = "QRSTUVWXYZabcdef";
    b.spec.settings.trackName = std::string(32, 't');
    b.spec.settings.secondText = std::string(32, 's');
    Header h;
    ASSERT_EQ(h.ReadBytes(b.build()), Header::Ok);
    EXPECT_EQ(h.firstName, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(h.lastName, "QRSTUVWXYZabcdef");
    EXPECT_EQ(h.trackName, std::string(32, 'T'));
    EXPECT_EQ(h.secondText, std::string(32, 's'));
}

TEST(HeaderDatabase, RecordRoundTrips) {
    auto b = SmallRace();
    b.spec.settings.rules = 0xB2;
    b.spec.settings.modes = 0x7F;
    b.spec.settings.aiCars = 2;
    Header h;
    ASSERT_EQ(h.ReadBytes(b.build()), Header::Ok);
    ByteWriter out;
    h.SaveToStream(out);

    Header back;
    ByteCursor in(out.data());
    ASSERT_TRUE(back.LoadFromStream(in, 2));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(back.loadedFromDatabase, 1);
    EXPECT_EQ(back.version, h.version);
    EXPECT_EQ(back.fileSize, h.fileSize);
    EXPECT_EQ(back.frameCount, h.frameCount);
    EXPECT_EQ(back.hardcoreDrivingAids, h.hardcoreDrivingAids);
    EXPECT_EQ(back.raceLaps, h.raceLaps);
    EXPECT_EQ(back.windDirection, h.windDirection);
    EXPECT_EQ(back.damage, h.damage);
    EXPECT_EQ(back.aiCars, h.aiCars);
    EXPECT_EQ(back.wearRate, h.wearRate);
    EXPECT_EQ(back.firstName, "Alex");
    EXPECT_EQ(back.trackName, "DEMO");
}

TEST(HeaderDatabase, VersionOneRecordsLackTheDrivingAidsValue) {
    Header h;
    ASSERT_EQ(h.ReadBytes(SmallRace().build()), Header::Ok);
    ByteWriter v2;
    h.SaveToStream(v2);
    // A version-1 record is the same without the third value of the settings list.
    std::vector<std::uint8_t> v1 = v2.data();
    v1.erase(v1.begin() + 12 + 8, v1.begin() + 12 + 12);
    Header back;
    ByteCursor in(v1);
    ASSERT_TRUE(back.LoadFromStream(in, 1));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(back.firstName, "Alex");
    EXPECT_EQ(back.raceLaps, h.raceLaps);
}

TEST(HeaderDatabase, FullWidthNamesKeepTheRecordInStep) {
    Header h;
    h.firstName = "ABCDEFGHIJKLMNOP";
    h.lastName = "Morgan";
    h.trackName = std::string(40, 'T');
    h.secondText = "x";
    ByteWriter out;
    h.SaveToStream(out);
    Header back;
    ByteCursor in(out.data());
    ASSERT_TRUE(back.LoadFromStream(in, 2));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(back.firstName, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(back.lastName, "Morgan");
    EXPECT_EQ(back.trackName, std::string(31, 'T'));
    EXPECT_EQ(back.secondText, "x");
}

TEST(HeaderDatabase, TruncatedRecordFails) {
    Header h;
    ASSERT_EQ(h.ReadBytes(SmallRace().build()), Header::Ok);
    ByteWriter out;
    h.SaveToStream(out);
    for (std::size_t n = 0; n + 1 < out.size(); n += 7) {
        Header back;
        ByteCursor in(std::span<const std::uint8_t>(out.data().data(), n));
        EXPECT_FALSE(back.LoadFromStream(in, 2)) << n;
    }
}

}  // namespace
}  // namespace vra
