#include "replay/Drivers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ReplayFiles.h"
#include "replay/ReplayBuilder.h"

namespace vra {
namespace {

using simkit::CarSession;
using simkit::ReplayBuilder;
using simkit::SessionSpec;
using testing::TempDir;

ReplayBuilder RaceReplay(int drivers = 3, int laps = 3) {
    ReplayBuilder b;
    b.drivers(drivers).trackLength(1000).session(Race, laps, 8000, 2010);
    return b;
}

Drivers Loaded(ReplayBuilder& b) {
    Drivers d;
    EXPECT_EQ(d.LoadBytes(b.build()), Drivers::Ok);
    return d;
}

TEST(DriversTable, ReadsEveryDriverField) {
    auto b = RaceReplay(4);
    auto& d1 = b.spec.drivers[1];
    d1.nickname = "speedy";
    d1.fourthText = "team blue";
    d1.physics = 3;
    d1.carNumber = 42;
    d1.carId = 0x12345;
    d1.bytes = {1, 2, 3, 4, 5};
    d1.word6 = 0xBEEF;
    b.spec.sessions[0].cars[1].laps.clear();
    b.spec.drivers[2].type = 7;
    b.spec.drivers[3].carNumber = 65535;
    b.spec.drivers[0].physics = 2;
    TempDir dir;
    const auto path = dir.write("race.rpy", b.build());

    Drivers d;
    ASSERT_EQ(d.Load(path), Drivers::Ok);
    ASSERT_EQ(d.driverCount, 4);
    EXPECT_EQ(d.loadedCount, 4);
    EXPECT_EQ(d.drivers[0].firstName, "Alex");
    EXPECT_EQ(d.drivers[0].type, DriverHuman);
    EXPECT_EQ(d.drivers[1].type, DriverAi);
    EXPECT_EQ(d.drivers[2].type, DriverNonCompeting);
    EXPECT_EQ(d.drivers[1].nickname, "speedy");
    EXPECT_EQ(d.drivers[1].fourthText, "team blue");
    EXPECT_EQ(d.drivers[1].physics, 3);
    EXPECT_EQ(d.drivers[1].carNumber, 42);
    EXPECT_EQ(d.drivers[1].carId, 0x2345);
    EXPECT_THAT(d.drivers[1].bytes, ::testing::ElementsAre(1, 2, 3, 4, 5));
    EXPECT_EQ(d.drivers[1].word6, 0xBEEF);
    EXPECT_EQ(d.drivers[3].nickname, "Pace Car");
    EXPECT_EQ(d.physics, 2);
    EXPECT_EQ(d.onlineRace, 0);
    EXPECT_EQ(d.trackName, "DEMO");
    EXPECT_EQ(d.path, path);
    EXPECT_THAT(d.fileDate, ::testing::MatchesRegex("[0-9]{4} [A-Z][a-z][a-z] [0-9]{2}"));
}

TEST(DriversTable, OnlineRaceWhenTheFirstDriverHasANickname) {
    auto b = RaceReplay();
    b.spec.drivers[0].nickname = "am";
    EXPECT_EQ(Loaded(b).onlineRace, 1);
}

TEST(DriversTable, FullWidthNamesAreKeptWhole) {
    auto b = RaceReplay();
    b.spec.drivers[1].firstName = "ABCDEFGHIJKLMNOP";
    b.spec.drivers[1].lastName = "QRSTUVWXYZabcdef";
    b.spec.drivers[1].nickname = std::string(32, 'n');
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.drivers[1].firstName, "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(d.drivers[1].lastName, "QRSTUVWXYZabcdef");
    EXPECT_EQ(d.drivers[1].nickname, std::string(32, 'n'));
}

TEST(DriversTable, FortyNineDriversLoadFiftyAreRefusedWithAMessage) {
    auto ok = RaceReplay(49, 1);
    EXPECT_EQ(Loaded(ok).driverCount, 49);

    auto tooMany = RaceReplay(50, 1);
    TempDir dir;
    const auto path = dir.write("fifty.rpy", tooMany.build());
    Drivers d;
    EXPECT_EQ(d.ParseReplay(path), Drivers::TooManyDrivers);
    EXPECT_EQ(d.Message(),
              "This replay cannot be opened as it contains more drivers\nthan we ever anticipated was possible. So "
              "please contact us\nat support@velmar-replay-analyzer.invalid and tell us you saw\nthis note. Please, "
              "state also this number: 50");
    EXPECT_EQ(d.Load(path), Drivers::Unreadable);
    EXPECT_EQ(d.loadedCount, 65535);
}

TEST(DriversSavingPlayer, NamesCorrectAStaleIndex) {
    auto b = RaceReplay(4);
    b.spec.header.savingPlayer = 2;
    b.spec.header.savingFirstName = "Driver1";
    b.spec.header.savingLastName = "Racer1";
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.savingPlayer, 1);
    EXPECT_EQ(d.savingPlayerMismatch, 1);
}

TEST(DriversSavingPlayer, MatchingIndexIsKept) {
    auto b = RaceReplay(4);
    b.spec.header.savingPlayer = 3;
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.savingPlayer, 3);
    EXPECT_EQ(d.savingPlayerMismatch, 0);
}

TEST(DriversSavingPlayer, IndexBeyondTheTableIsCorrectedByName) {
    auto b = RaceReplay(3);
    b.spec.header.savingPlayer = 40;
    b.spec.header.savingFirstName = "Driver2";
    b.spec.header.savingLastName = "Racer2";
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.savingPlayer, 2);
}

TEST(DriversSavingPlayer, IndexBeyondTheTableWithoutMatchingNamesIsUnreadable) {
    auto b = RaceReplay(3);
    b.spec.header.savingPlayer = 40;
    b.spec.header.savingFirstName = "Nobody";
    Drivers d;
    EXPECT_EQ(d.LoadBytes(b.build()), Drivers::Unreadable);
    EXPECT_EQ(d.loadedCount, 65535);
}

TEST(DriversSessions, OneLapChunkIsTheLastSessionKind) {
    auto b = RaceReplay();
    const Drivers d = Loaded(b);
    EXPECT_THAT(d.sessionPresent, ::testing::ElementsAre(0, 0, 0, 1));
    EXPECT_EQ(d.LapCount(Race, 0), 3);
    EXPECT_EQ(d.LapCount(Practice, 0), 0);
}

TEST(DriversSessions, FourLapChunksArePracticeQualifyingHappyHourRace) {
    ReplayBuilder b;
    b.drivers(2).trackLength(1000);
    b.session(Practice, 1, 8000, 2010).session(Qualifying, 2, 8000, 2010);
    b.session(HappyHour, 3, 8000, 2010).session(Race, 4, 8000, 2010);
    const Drivers d = Loaded(b);
    EXPECT_THAT(d.sessionPresent, ::testing::ElementsAre(1, 1, 1, 1));
    EXPECT_EQ(d.LapCount(Practice, 1), 1);
    EXPECT_EQ(d.LapCount(Qualifying, 1), 2);
    EXPECT_EQ(d.LapCount(HappyHour, 1), 3);
    EXPECT_EQ(d.LapCount(Race, 1), 4);
    EXPECT_EQ(d.firstSessionKind, Practice);
    EXPECT_EQ(d.lastSessionKind, Race);
}

TEST(DriversSessions, QuickRaceNumbersQualifyingThenRace) {
    ReplayBuilder b;
    b.drivers(2).trackLength(1000).session(Qualifying, 2, 8000, 2010).session(Race, 3, 8000, 2010);
    b.spec.settings.quickRace = 2;
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.quickRace, 1);
    EXPECT_THAT(d.sessionPresent, ::testing::ElementsAre(0, 1, 0, 1));
    EXPECT_EQ(d.LapCount(Qualifying, 0), 2);
    EXPECT_EQ(d.LapCount(Race, 0), 3);
    EXPECT_EQ(d.firstSessionKind, Qualifying);
    EXPECT_EQ(d.lastSessionKind, Race);
    EXPECT_TRUE(d.IsLapValid(Race, 1, 2));
    EXPECT_TRUE(d.IsLapValid(Qualifying, 0, 2));
}

TEST(DriversSessions, QuickRaceWithOnlyQualifying) {
    ReplayBuilder b;
    b.drivers(2).trackLength(1000).session(Qualifying, 2, 8000, 2010);
    b.spec.settings.quickRace = 2;
    const Drivers d = Loaded(b);
    EXPECT_THAT(d.sessionPresent, ::testing::ElementsAre(0, 1, 0, 0));
    EXPECT_EQ(d.LapCount(Qualifying, 0), 2);
}

TEST(DriversSessions, ChunkBelowPracticeIsDropped) {
    ReplayBuilder b;
    b.drivers(2).trackLength(1000).session(Practice, 1, 8000, 2010).session(Race, 2, 8000, 2010);
    b.spec.header.lastSessionKind = 0;  // would make the first chunk kind -1
    const Drivers d = Loaded(b);
    EXPECT_THAT(d.sessionPresent, ::testing::ElementsAre(1, 0, 0, 0));
    EXPECT_EQ(d.LapCount(Practice, 0), 2);
}

TEST(DriversLaps, TableHoldsStartDurationsAndFlags) {
    auto b = RaceReplay(2, 4);
    auto& laps = b.spec.sessions[0].cars[1].laps;
    laps = {9100, 8200 | LapWord::Pitted, 8300 | LapWord::OffTrack, 8400 | LapWord::BlackFlag};
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.LapWordAt(Race, 1, 0), 2010u);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(d.LapWordAt(Race, 1, k), laps[k - 1]) << k;
    EXPECT_EQ(d.LapWordAt(Race, 1, 5), kLapTableFill);
    EXPECT_EQ(d.LapStartMs(Race, 1, 3), 2010u + 9100 + 8200);
    EXPECT_EQ(d.LapEndMs(Race, 1, 3), 2010u + 9100 + 8200 + 8300);
    // Flags other than "incomplete" do not stop a lap from counting.
    for (int k = 1; k <= 4; ++k) EXPECT_TRUE(d.IsLapValid(Race, 1, k)) << k;
    EXPECT_FALSE(d.IsLapValid(Race, 1, 0));
}

TEST(DriversLaps, IncompleteLapKeepsItsDurationButNeverCounts) {
    auto b = RaceReplay(2, 3);
    b.spec.sessions[0].cars[0].laps[1] |= LapWord::Incomplete;
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.LapWordAt(Race, 0, 2), 8000u | LapWord::Incomplete);
    EXPECT_TRUE(d.IsLapValid(Race, 0, 1));
    EXPECT_FALSE(d.IsLapValid(Race, 0, 2));
    EXPECT_TRUE(d.IsLapValid(Race, 0, 3));
}

TEST(DriversLaps, StampEarlierThanItsPredecessorDoesNotTouchTheFlags) {
    auto b = RaceReplay(2, 2);
    TempDir dir;
    auto bytes = b.build();
    // Second lap-end stamp of driver 0 set before the first one.
    const auto orpl = b.layout().carLaps[0][0];
    testing::Poke32(bytes, orpl + 12 + 12, 1000);
    Drivers d;
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::Ok);
    const std::uint32_t w = d.LapWordAt(Race, 0, 2);
    EXPECT_EQ(w & LapWord::FlagMask, 0u);
    EXPECT_FALSE(d.IsLapValid(Race, 0, 2)) << std::hex << w;
}

TEST(DriversLaps, QualifyingCountsOnlyForTheSavingPlayer) {
    ReplayBuilder b;
    b.drivers(3).trackLength(1000).session(Qualifying, 2, 8000, 2010);
    const Drivers d = Loaded(b);
    EXPECT_TRUE(d.IsLapValid(Qualifying, 0, 1));
    EXPECT_FALSE(d.IsLapValid(Qualifying, 1, 1));
    EXPECT_FALSE(d.IsLapValid(Qualifying, 2, 2));
    EXPECT_EQ(d.LapCount(Qualifying, 2), 2);
}

TEST(DriversLaps, CarWithoutLapRecordHasNoLapsAndUnknownCarsAreIgnored) {
    auto b = RaceReplay(3, 2);
    b.spec.sessions[0].cars[1].writeLapRecord = false;
    b.spec.drivers[2].carId = 77;  // its record names a car no driver has...
    auto bytes = b.build();
    testing::Poke32(bytes, b.layout().carLaps[0][1] + 12, 999);  // ...and this one too
    Drivers d;
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::Ok);
    EXPECT_EQ(d.LapCount(Race, 1), 0);
    EXPECT_EQ(d.LapCount(Race, 2), 0);
    EXPECT_EQ(d.LapCount(Race, 0), 2);
}

TEST(DriversLaps, OlderLayoutHasNoValidLaps) {
    auto b = RaceReplay(2, 2);
    b.spec.header.headerBodySize = 64;
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.olderLayout, 1);
    EXPECT_EQ(d.LapCount(Race, 0), 2);
    EXPECT_FALSE(d.IsLapValid(Race, 0, 1));
    EXPECT_FALSE(d.IsLapValid(Race, 0, 2));
}

TEST(DriversWindows, LapBeforeTheFirstSessionRecordDoesNotCount) {
    // Session records come once a second from 0 ms; the first one at a time
    // above zero opens the window.
    ReplayBuilder b;
    b.drivers(2).trackLength(1000).session(Practice, 3, 8000, 500);
    b.spec.sessions[0].cars[1].firstStampMs = 1500;
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.windowStart[Practice], 1000u);
    EXPECT_FALSE(d.IsLapValid(Practice, 0, 1));
    EXPECT_TRUE(d.IsLapValid(Practice, 0, 2));
    EXPECT_TRUE(d.IsLapValid(Practice, 1, 1));
}

TEST(DriversWindows, LapEndingAfterTheLastSessionRecordDoesNotCount) {
    auto b = RaceReplay(2, 3);
    auto& ses = b.spec.sessions[0];
    // The recording stops 400 ms after driver 0's last lap ends; the last
    // session record is older than that end.
    ses.durationMs = 2010 + 3 * 8000 + 400;
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.windowEnd[Race], 26000u);
    EXPECT_TRUE(d.IsLapValid(Race, 0, 2));
    EXPECT_FALSE(d.IsLapValid(Race, 0, 3));
}

TEST(DriversWindows, SessionsBetweenFirstAndLastStayOpen) {
    ReplayBuilder b;
    b.drivers(2).trackLength(1000);
    for (int kind : {Practice, Qualifying, HappyHour, Race}) b.session(kind, 1, 8000, 2010);
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.firstSessionKind, Practice);
    EXPECT_EQ(d.lastSessionKind, Race);
    EXPECT_EQ(d.windowEnd[Practice], kWindowOpen);
    EXPECT_EQ(d.windowEnd[Qualifying], kWindowOpen);
    EXPECT_EQ(d.windowEnd[HappyHour], kWindowOpen);
    EXPECT_NE(d.windowEnd[Race], kWindowOpen);
    for (int kind : {Practice, Qualifying, HappyHour, Race}) EXPECT_TRUE(d.IsLapValid(kind, 0, 1)) << kind;
    EXPECT_TRUE(d.IsLapValid(HappyHour, 1, 1));
}

TEST(DriversWindows, RaceStartWordComesFromTheLastRaceStartRecord) {
    auto b = RaceReplay(2, 2);
    b.spec.sessions[0].raceStartWord = 0xCAFE;
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.raceStartSeen, 1);
    EXPECT_EQ(d.raceStartWord, 0xCAFEu);
    EXPECT_EQ(d.frameChunkOffset, b.layout().frameChunk);
    EXPECT_EQ(d.lastFrameOffset, b.layout().frames.back());
}

TEST(DriversWindows, OwnReplaysNeedNoRaceStartRecord) {
    auto b = RaceReplay(2, 2);
    b.spec.sessions[0].raceStartMs.reset();
    b.spec.drivers[0].firstName = Drivers::kOwnReplayMark;
    b.spec.header.savingFirstName = Drivers::kOwnReplayMark;
    const Drivers d = Loaded(b);
    EXPECT_EQ(d.raceStartSeen, 1);
    EXPECT_EQ(d.raceStartWord, 0u);
}

TEST(DriversOfficial, RaceIsOfficialWhenItsLastStateSaysSo) {
    auto official = RaceReplay(2, 2);
    official.spec.sessions[0].state = kSessionStateOfficial;
    EXPECT_TRUE(Loaded(official).IsRaceOfficial());

    auto running = RaceReplay(2, 2);
    running.spec.sessions[0].state = 2;
    EXPECT_FALSE(Loaded(running).IsRaceOfficial());

    ReplayBuilder practice;
    practice.drivers(2).trackLength(1000).session(Practice, 2, 8000, 2010);
    practice.spec.sessions[0].state = kSessionStateOfficial;
    EXPECT_FALSE(Loaded(practice).IsRaceOfficial());
}

TEST(DriversDatabase, RecordRoundTrips) {
    ReplayBuilder b;
    b.drivers(3).trackLength(1000).session(Practice, 1, 8000, 2010).session(Qualifying, 2, 8000, 2010);
    b.session(HappyHour, 4, 8000, 2010).session(Race, 3, 8000, 2010);
    b.spec.drivers[1].bytes = {1, 2, 3, 4, 5};
    b.spec.drivers[1].word6 = 0x1234;
    b.spec.drivers[1].physics = 4;
    b.spec.drivers[2].nickname = "nick";
    b.spec.sessions[3].cars[2].laps[1] |= LapWord::Incomplete;
    TempDir dir;
    Drivers d;
    ASSERT_EQ(d.Load(dir.write("r.rpy", b.build())), Drivers::Ok);
    ByteWriter out;
    d.SaveToStream(out);

    Drivers back;
    ByteCursor in(out.data());
    ASSERT_TRUE(back.LoadFromStream(in, 2));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(back.loadedFromDatabase, 1);
    EXPECT_EQ(back.fileDate, d.fileDate);
    EXPECT_EQ(back.loadedCount, 3);
    EXPECT_EQ(back.sessionPresent, d.sessionPresent);
    EXPECT_EQ(back.firstSessionKind, Practice);
    EXPECT_EQ(back.lastSessionKind, Race);
    ASSERT_EQ(back.drivers.size(), 3u);
    EXPECT_EQ(back.drivers[1].bytes, d.drivers[1].bytes);
    EXPECT_EQ(back.drivers[1].word6, 0x1234);
    EXPECT_EQ(back.drivers[1].physics, 4);
    EXPECT_EQ(back.drivers[2].nickname, "nick");
    EXPECT_EQ(back.drivers[2].carId, d.drivers[2].carId);
    for (int k = 0; k <= 3; ++k) {
        EXPECT_EQ(back.LapWordAt(Race, 2, k), d.LapWordAt(Race, 2, k)) << k;
        EXPECT_EQ(back.IsLapValid(Race, 2, k), d.IsLapValid(Race, 2, k)) << k;
    }
    EXPECT_FALSE(back.IsLapValid(Race, 2, 2));
    EXPECT_EQ(back.LapCount(Practice, 1), 1);
    EXPECT_EQ(back.LapCount(Qualifying, 1), 2);
    EXPECT_EQ(back.LapCount(HappyHour, 1), 4);
    EXPECT_EQ(back.LapWordAt(HappyHour, 1, 4), d.LapWordAt(HappyHour, 1, 4));
    EXPECT_EQ(back.IsLapValid(Qualifying, 0, 2), d.IsLapValid(Qualifying, 0, 2));
}

TEST(DriversDatabase, VersionOneRecordHasNoPhysics) {
    auto b = RaceReplay(1, 1);
    const Drivers d = Loaded(b);
    ByteWriter out;
    d.SaveToStream(out);
    // The one driver block ends with its physics byte and two race entries of
    // five bytes; a version-1 record lacks the physics byte.
    std::vector<std::uint8_t> v1 = out.data();
    v1.erase(v1.end() - 2 * 5 - 1);
    Drivers back;
    ByteCursor in(v1);
    ASSERT_TRUE(back.LoadFromStream(in, 1));
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(back.drivers[0].physics, 255);
    EXPECT_EQ(back.LapWordAt(Race, 0, 1), d.LapWordAt(Race, 0, 1));
}

TEST(DriversDatabase, RecordsWithImpossibleCountsAreRefused) {
    const Drivers d = [] {
        auto b = RaceReplay(2, 1);
        return Loaded(b);
    }();
    ByteWriter out;
    d.SaveToStream(out);
    std::vector<std::uint8_t> bad = out.data();
    // Count as loaded follows the date text (12 bytes with its terminator) and the mismatch flag.
    const std::size_t loadedAt = d.fileDate.size() + 1 + 4;
    testing::Poke16(bad, loadedAt, 5000);
    Drivers back;
    ByteCursor in(bad);
    EXPECT_FALSE(back.LoadFromStream(in, 2));
    for (std::size_t n = 0; n < out.size(); n += 5) {
        ByteCursor cut(std::span<const std::uint8_t>(out.data().data(), n));
        EXPECT_FALSE(back.LoadFromStream(cut, 2)) << n;
    }
}

}  // namespace
}  // namespace vra
