#include "core/replay/Header.h"

#include "ReplayFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using simkit::ReplayBuilder;
using ::testing::ElementsAre;
using testing::TempDir;

ReplayBuilder SmallRace() {
    return testing::RaceReplay(3, 2);
}

Header ReadOk(ReplayBuilder& b) {
    Header h;
    EXPECT_EQ(h.ReadBytes(b.build()), Header::Ok);
    return h;
}

TEST(Header, DecodesTheRaceSettingsAndTheSavingPlayer) {
    auto b = SmallRace();
    // Rules: realistic damage, failures, yellows, hardcore, restarts. Modes: pace lap, arcade, wind SW, aids,
    // speed control. Wear 2, AI strength auto.
    b.desc.settings = {.trackName = "Lakeside",
                       .secondText = "club event",
                       .rules = 0x80 | 0x40 | 0x20 | 0x10 | 0x08 | 0x02,
                       .modes = 0x01 | 0x02 | (5 << 2) | 0x20 | 0x40,
                       .wear = 0x02 | 0x04,
                       .weather = 1,
                       .conditions = 0x02,
                       .temperature = 31,
                       .windSpeed = 12,
                       .aiStrength = 97,
                       .raceDistance = 50,
                       .fixedSetup = 1,
                       .aiCars = 2,
                       .practiceWord = 0x441600,
                       .qualifyingWord = 3u << 8,
                       .happyHourWord = 0x45A8C0,
                       .raceWord = 25u << 8};
    TempDir dir;
    Header h;
    ASSERT_EQ(h.Read(dir.write("race.rpy", b.build())), Header::Ok);
    EXPECT_EQ(h.version, 5);
    EXPECT_THAT((std::vector<std::string>{h.trackName, h.secondText, h.firstName + " " + h.lastName, h.windDirection}),
                ElementsAre("LAKESIDE", "club event", "Alex Morgan", "SW"));
    // damage, failures, yellows, hardcore visual, restarts; pace lap, arcade, aids, speed control
    EXPECT_THAT((std::vector<int>{h.damage, h.mechanicalFailures, h.yellowFlags, h.hardcoreVisual, h.doubleFileRestarts,
                                  h.fullPaceLap, h.gameMode, h.hardcoreDrivingAids, h.adaptiveSpeedControl}),
                ElementsAre(3, 1, 1, 1, 1, 1, 1, 1, 1));
    // wear, AI type, weather, conditions, temperature, wind, AI strength, distance, fixed setup, AI cars, quick
    EXPECT_THAT((std::vector<int>{h.wearRate, h.aiStrengthType, h.weatherFlag, h.conditions, h.temperature, h.windSpeed,
                                  h.aiStrength, h.raceDistance, h.fixedSetup, h.aiCars, h.quickRace}),
                ElementsAre(2, 1, 1, 1, 31, 12, 97, 50, 1, 2, 0));
    EXPECT_THAT((std::vector<int>{h.practiceMinutes, h.happyHourMinutes, h.qualifyingLaps, h.raceLaps}),
                ElementsAre(10, 90, 3, 25));
    EXPECT_THAT((std::vector<std::uint64_t>{h.nextChunkPos, h.fileSize, h.frameCount}),
                ElementsAre(272, b.layout().fileSize, b.layout().frames.size()));
    // Session lengths come from a time table; the top byte is not part of the code.
    EXPECT_THAT((std::vector<int>{Header::SessionMinutes(0), Header::SessionMinutes(0xAB439600),
                                  Header::SessionMinutes(0x439601), Header::SessionMinutes(0x4913A8)}),
                ElementsAre(0, 5, 66, -1));
    // Restarts need yellow flags, and a race distance needs laps.
    b.desc.settings.rules = 0x02, b.desc.settings.raceWord = 0, b.desc.settings.raceDistance = 75;
    h = ReadOk(b);
    EXPECT_THAT((std::vector<int>{h.doubleFileRestarts, h.yellowFlags, h.raceDistance}), ElementsAre(0, 0, 0));
}

// Only a weather byte of 1 means unrealistic weather, but the header keeps
// the byte itself, and so does its database record (the 14th settings value,
// at 12 + 13 x 4).
TEST(Header, KeepsTheWeatherByteAsItStands) {
    auto b = SmallRace();
    b.desc.settings.weather = 2;
    const Header h = ReadOk(b);
    EXPECT_EQ(h.weatherFlag, 2);
    ByteWriter out;
    h.SaveToStream(out);
    ASSERT_GE(out.data().size(), 68u);
    EXPECT_THAT(std::vector<std::uint8_t>(out.data().begin() + 64, out.data().begin() + 68), ElementsAre(2, 0, 0, 0));
}

TEST(Header, QuickRaceTakesLapsFromItsOwnFieldsAndAnOlderLayoutShiftsTheSettings) {
    auto b = SmallRace();
    auto& s = b.desc.settings;
    s.quickRace = 2, s.quickQualLaps = 4, s.raceWord = 99u << 8;
    s.qualifyingWord = 12u << 8;  // race laps of a quick race
    s.practiceWord = s.happyHourWord = 0x441600;
    Header h = ReadOk(b);
    EXPECT_THAT((std::vector<int>{h.quickRace, h.raceLaps, h.qualifyingLaps, h.practiceMinutes, h.happyHourMinutes}),
                ElementsAre(1, 12, 4, 0, 0));
    auto old = SmallRace();  // the older layout has a longer header body
    old.desc.header.headerBodySize = 64;
    old.desc.settings.trackName = "oval", old.desc.settings.raceWord = 7u << 8;
    h = ReadOk(old);
    EXPECT_THAT((std::vector<int>{int(h.nextChunkPos), h.raceLaps}), ElementsAre(276, 7));
    EXPECT_EQ(h.trackName, "OVAL");
}

TEST(Header, ResultCodes) {
    // Other versions are refused, but the version read tells which simulation wrote them.
    for (std::uint32_t version : {2u, 3u, 4u, 6u}) {
        auto b = SmallRace();
        b.desc.header.fileWord = 0x100 | version;
        Header h;
        EXPECT_THAT((std::vector<int>{h.ReadBytes(b.build()), h.version}),
                    ElementsAre(Header::NotOpenedOrWrongVersion, static_cast<int>(version)));
    }
    TempDir dir;
    Header h;
    EXPECT_EQ(h.Read(dir.path() / "missing.rpy"), Header::NotOpenedOrWrongVersion);
    EXPECT_EQ(h.Read(dir.write("empty.rpy", {})), Header::EmptyOrShort);
    EXPECT_EQ(h.Read(dir.write("text.rpy", std::vector<std::uint8_t>(300, 'x'))), Header::NotAReplay);
    auto b = SmallRace();
    b.desc.settings.bodySize = 172;
    EXPECT_EQ(h.ReadBytes(b.build()), Header::BadSettingsSize);
}

TEST(HeaderDatabase, FullWidthTextsAreReadWholeAndStoredWithinTheirWidth) {
    auto b = SmallRace();
    b.desc.settings.rules = 0xB2, b.desc.settings.modes = 0x7F, b.desc.settings.aiCars = 2;
    b.desc.drivers[0].firstName = "ABCDEFGHIJKLMNOP";  // 16 bytes, no terminator
    b.desc.drivers[0].lastName = "QRSTUVWXYZabcdef";
    b.desc.settings.trackName = std::string(32, 't'), b.desc.settings.secondText = std::string(32, 's');
    const Header h = ReadOk(b);
    EXPECT_THAT((std::vector<std::string>{h.firstName, h.lastName, h.trackName, h.secondText}),
                ElementsAre("ABCDEFGHIJKLMNOP", "QRSTUVWXYZabcdef", std::string(32, 'T'), std::string(32, 's')));
    // The database record keeps a byte of each field for the terminator and stays in step.
    ByteWriter out;
    h.SaveToStream(out);
    Header back;
    ByteCursor in(out.data());
    ASSERT_TRUE(back.LoadFromStream(in, 2));
    EXPECT_TRUE(in.atEnd());
    EXPECT_THAT((std::vector<std::string>{back.firstName, back.lastName, back.trackName, back.secondText}),
                ElementsAre("ABCDEFGHIJKLMNO", "QRSTUVWXYZabcde", std::string(31, 'T'), std::string(31, 's')));
    EXPECT_EQ(back.loadedFromDatabase, 1);
    EXPECT_THAT((std::vector<int>{back.version, back.hardcoreDrivingAids, back.raceLaps, back.damage, back.aiCars,
                                  back.wearRate}),
                ElementsAre(h.version, h.hardcoreDrivingAids, h.raceLaps, h.damage, h.aiCars, h.wearRate));
    EXPECT_THAT((std::vector<std::uint64_t>{back.fileSize, back.frameCount}), ElementsAre(h.fileSize, h.frameCount));
    EXPECT_EQ(back.windDirection, h.windDirection);
    // A version-1 record is the same without the third value of the settings list.
    std::vector<std::uint8_t> v1 = out.data();
    v1.erase(v1.begin() + 12 + 8, v1.begin() + 12 + 12);
    Header old;
    ByteCursor in1(v1);
    ASSERT_TRUE(old.LoadFromStream(in1, 1));
    EXPECT_TRUE(in1.atEnd());
    EXPECT_EQ(old.firstName, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(old.raceLaps, h.raceLaps);
    for (std::size_t n = 0; n + 1 < out.size(); n += 7) {
        ByteCursor part(std::span<const std::uint8_t>(out.data().data(), n));
        EXPECT_FALSE(Header().LoadFromStream(part, 2)) << n;
    }
}

}  // namespace
}  // namespace vra
