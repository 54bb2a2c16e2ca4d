#include "core/replay/Drivers.h"

#include "ReplayFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vra {
namespace {

using simkit::ReplayBuilder;
using ::testing::ElementsAre;
using testing::RaceReplay;
using testing::TempDir;

// The n-th of the given sessions has n laps.
ReplayBuilder Sessions(const std::vector<int>& kinds, int drivers = 2) {
    ReplayBuilder b;
    b.drivers(drivers).trackLength(1000);
    int laps = 1;
    for (int kind : kinds) b.session(kind, laps++, 8000, 2010);
    return b;
}

Drivers Loaded(ReplayBuilder& b) {
    Drivers d;
    EXPECT_EQ(d.LoadBytes(b.build()), Drivers::LoadResult::Ok);
    return d;
}

TEST(DriversTable, ReadsEveryDriverField) {
    auto b = RaceReplay(4);
    auto& s1 = b.desc.drivers[1];
    s1.firstName = "ABCDEFGHIJKLMNOP";  // full width, no terminator
    s1.nickname = std::string(32, 'n'), s1.fourthText = "team blue", s1.bytes = {1, 2, 3, 4, 5};
    s1.physics = 3, s1.carNumber = 42, s1.carId = 0x12345, s1.word6 = 0xBEEF;
    b.desc.drivers[2].type = 7, b.desc.drivers[3].carNumber = 65535, b.desc.drivers[0].physics = 2;
    TempDir dir;
    const auto path = dir.write("race.rpy", b.build());
    Drivers d;
    ASSERT_EQ(d.Load(path), Drivers::LoadResult::Ok);
    ASSERT_THAT((std::vector<int>{d.driverCount, d.loadedCount}), ElementsAre(4, 4));
    EXPECT_EQ(d.drivers[0].firstName, "Alex");
    EXPECT_THAT((std::vector<int>{d.drivers[0].type, d.drivers[1].type, d.drivers[2].type}),
                ElementsAre(DriverHuman, DriverAi, DriverNonCompeting));
    const Drivers::Driver& d1 = d.drivers[1];
    EXPECT_THAT((std::vector<std::string>{d1.firstName, d1.nickname, d1.fourthText}),
                ElementsAre("ABCDEFGHIJKLMNOP", std::string(32, 'n'), "team blue"));
    EXPECT_THAT((std::vector<int>{d1.physics, d1.carNumber, d1.carId, d1.word6}), ElementsAre(3, 42, 0x2345, 0xBEEF));
    EXPECT_THAT(d1.bytes, ElementsAre(1, 2, 3, 4, 5));
    EXPECT_THAT((std::vector<std::string>{d.drivers[3].nickname, d.trackName}), ElementsAre("Pace Car", "DEMO"));
    EXPECT_THAT((std::vector<int>{d.physics, d.onlineRace}), ElementsAre(2, 0));
    EXPECT_EQ(d.path, path);
    EXPECT_THAT(d.fileDate, ::testing::MatchesRegex("[0-9]{4} [A-Z][a-z][a-z] [0-9]{2}"));
    // Taken from the opened file, it is the date the path's own look-up gives.
    EXPECT_EQ(d.fileDate, FormatFileDate(path));
    b.desc.drivers[0].nickname = "am";
    EXPECT_EQ(Loaded(b).onlineRace, 1);
}

TEST(DriversTable, FortyNineDriversLoadFiftyAreRefusedWithAMessage) {
    auto ok = RaceReplay(49, 1);
    EXPECT_EQ(Loaded(ok).driverCount, 49);
    TempDir dir;
    const auto path = dir.write("fifty.rpy", RaceReplay(50, 1).build());
    Drivers d;
    EXPECT_EQ(d.ParseReplay(path), static_cast<int>(Drivers::ParseError::TooManyDrivers));
    EXPECT_EQ(d.Message(),
              "This replay cannot be opened as it contains more drivers\nthan we ever anticipated was possible. So "
              "please contact us\nat support@velmar-replay-analyzer.invalid and tell us you saw\nthis note. Please, "
              "state also this number: 50");
    EXPECT_EQ(d.Load(path), Drivers::LoadResult::Unreadable);
    EXPECT_EQ(d.loadedCount, 65535);
    EXPECT_EQ(d.ParseReplay(dir.path() / "missing.rpy"), static_cast<int>(Drivers::ParseError::NotOpened));
    EXPECT_EQ(d.Load(dir.path() / "missing.rpy"), Drivers::LoadResult::Unreadable);
    EXPECT_EQ(d.fileDate, "");
}

TEST(DriversSavingPlayer, NamesDecideWhoSavedTheReplay) {
    struct Case {
        std::uint32_t index;
        const char *first, *last;
        int player, mismatch;
    };  // player -1: unreadable
    for (const Case& c : {Case{3, nullptr, nullptr, 3, 0}, Case{2, "Driver1", "Racer1", 1, 1},
                          Case{40, "Driver2", "Racer2", 2, 1}, Case{40, "Nobody", "Racer2", -1, 1}}) {
        auto b = RaceReplay(4);
        b.desc.header.savingPlayer = c.index;
        if (c.first) b.desc.header.savingFirstName = c.first;
        if (c.last) b.desc.header.savingLastName = c.last;
        Drivers d;
        const Drivers::LoadResult result = d.LoadBytes(b.build());
        if (c.player < 0)
            EXPECT_THAT((std::vector<int>{static_cast<int>(result), d.loadedCount}),
                        ElementsAre(static_cast<int>(Drivers::LoadResult::Unreadable), 65535));
        else
            EXPECT_THAT((std::vector<int>{static_cast<int>(result), d.savingPlayer, d.savingPlayerMismatch}),
                        ElementsAre(static_cast<int>(Drivers::LoadResult::Ok), c.player, c.mismatch))
                << c.index;
    }
}

TEST(DriversSessions, LapChunksCountBackFromTheLastSessionKind) {
    // Sessions held (the n-th with n laps), quick race, the last-kind field (-1: as written), laps of
    // driver 0 by kind (0 where no session is present), first and last kind.
    struct Case {
        std::vector<int> kinds;
        bool quick;
        int lastKindField;
        std::array<int, 4> laps;
        int first, last;
    };
    const Case cases[] = {
        {{Race}, false, -1, {0, 0, 0, 1}, Race, Race},
        {{Practice, Qualifying, HappyHour, Race}, false, -1, {1, 2, 3, 4}, Practice, Race},
        {{Practice, Race}, false, 0, {2, 0, 0, 0}, Practice, Race},  // the first chunk would be kind -1
        {{Qualifying, Race}, true, -1, {0, 1, 0, 2}, Qualifying, Race},
        {{Qualifying}, true, -1, {0, 1, 0, 0}, Qualifying, Qualifying},
    };
    for (const Case& c : cases) {
        auto b = Sessions(c.kinds);
        if (c.quick) b.desc.settings.quickRace = 2;
        if (c.lastKindField >= 0) b.desc.header.lastSessionKind = static_cast<std::uint32_t>(c.lastKindField);
        const Drivers d = Loaded(b);
        SCOPED_TRACE(c.kinds.size());
        EXPECT_EQ(d.quickRace, c.quick ? 1 : 0);
        for (int kind = 0; kind < kSessionKinds; ++kind) {
            const int laps = c.laps[static_cast<std::size_t>(kind)];
            EXPECT_EQ(d.sessionPresent[static_cast<std::size_t>(kind)], laps > 0) << kind;
            EXPECT_EQ(d.LapCount(kind, 0), laps) << kind;
            // A quick race's laps count in the session they were driven in.
            for (int k = 1; c.quick && k <= laps; ++k) EXPECT_TRUE(d.IsLapValid(kind, 0, k)) << kind << " " << k;
        }
        EXPECT_THAT((std::vector<int>{d.firstSessionKind, d.lastSessionKind}), ElementsAre(c.first, c.last));
    }
}

TEST(DriversSessions, AQuickRaceWhoseChunksAllCountAsQualifyingKeepsOnlyTheLastChunksLaps) {
    // With the last-kind field 0 both chunks are qualifying: the race's one
    // lap replaces the three laps before it, and nothing of them stays.
    ReplayBuilder b;
    b.drivers(2).trackLength(1000);
    b.session(Qualifying, 3, 8000, 2010).session(Race, 1, 8000, 2010);
    b.desc.settings.quickRace = 2;
    b.desc.header.lastSessionKind = 0;
    const Drivers d = Loaded(b);
    EXPECT_THAT((std::vector<int>{d.sessionPresent[Qualifying], d.sessionPresent[Race], d.LapCount(Qualifying, 0)}),
                ElementsAre(1, 0, 1));
    for (int lap = 2; lap < kLapTableSize; ++lap) {
        ASSERT_EQ(d.drivers[0].sessions[Qualifying].times[std::size_t(lap)], kLapTableFill) << lap;
        ASSERT_FALSE(d.IsLapValid(Qualifying, 0, lap)) << lap;
    }
}

TEST(DriversLaps, TableHoldsStartDurationsAndFlagsWhateverTheStamps) {
    auto b = RaceReplay(2, 5);
    auto& laps = b.desc.sessions[0].cars[1].laps;
    laps = {9100, 8200 | LapWord::Pitted, 8300 | LapWord::OffTrack, 8400 | LapWord::BlackFlag,
            8500 | LapWord::Incomplete};
    auto bytes = b.build();
    testing::Poke32(bytes, b.layout().carLaps[0][0] + 12 + 12, 1000);  // driver 0's second stamp before its first
    Drivers d;
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Ok);
    EXPECT_EQ(d.LapWordAt(Race, 1, 0), 2010u);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(d.LapWordAt(Race, 1, k), laps[k - 1]) << k;
    EXPECT_EQ(d.LapWordAt(Race, 1, 6), kLapTableFill);
    EXPECT_THAT((std::vector<std::uint64_t>{d.LapStartMs(Race, 1, 3), d.LapEndMs(Race, 1, 3)}),
                ElementsAre(2010u + 9100 + 8200, 2010u + 9100 + 8200 + 8300));
    // Only "incomplete" stops a lap from counting; entry 0 never counts.
    for (int k = 0; k <= 5; ++k) EXPECT_EQ(d.IsLapValid(Race, 1, k), k >= 1 && k <= 4) << k;
    // A negative duration must not reach the flag bits.
    EXPECT_EQ(d.LapWordAt(Race, 0, 2) & LapWord::FlagMask, 0u);
    EXPECT_FALSE(d.IsLapValid(Race, 0, 2));
}

TEST(DriversLaps, MissingCarsUnknownCarsOthersInQualifyingAndTheOlderLayoutHaveNoLapsThatCount) {
    auto b = RaceReplay(3, 2);
    b.desc.sessions[0].cars[1].writeLapRecord = false;
    b.desc.drivers[2].carId = 77;  // its record names a car no driver has...
    auto bytes = b.build();
    testing::Poke32(bytes, b.layout().carLaps[0][1] + 12, 999);  // ...and this one too
    Drivers d;
    ASSERT_EQ(d.LoadBytes(bytes), Drivers::LoadResult::Ok);
    EXPECT_THAT((std::vector<int>{d.LapCount(Race, 0), d.LapCount(Race, 1), d.LapCount(Race, 2)}),
                ElementsAre(2, 0, 0));
    auto old = RaceReplay(2, 2);  // the older layout: its laps are listed but none counts
    old.desc.header.headerBodySize = 64;
    d = Loaded(old);
    EXPECT_THAT((std::vector<int>{d.olderLayout, d.LapCount(Race, 0)}), ElementsAre(1, 2));
    EXPECT_FALSE(d.IsLapValid(Race, 0, 1) || d.IsLapValid(Race, 0, 2));
    auto qualifying = Sessions({Qualifying}, 3);  // only the saving player's qualifying laps count
    d = Loaded(qualifying);
    EXPECT_THAT((std::vector<int>{d.IsLapValid(Qualifying, 0, 1), d.IsLapValid(Qualifying, 1, 1),
                                  d.IsLapValid(Qualifying, 2, 1), d.LapCount(Qualifying, 2)}),
                ElementsAre(1, 0, 0, 1));
}

TEST(DriversWindows, LapsOutsideTheSessionRecordsDoNotCount) {
    // Session records come once a second from 0 ms; the first one at a time above zero opens the window.
    ReplayBuilder b;
    b.drivers(2).trackLength(1000).session(Practice, 3, 8000, 500);
    b.desc.sessions[0].cars[1].firstStampMs = 1500;
    Drivers d = Loaded(b);
    EXPECT_EQ(d.windowStart[Practice], 1000u);
    EXPECT_THAT(
        (std::vector<bool>{d.IsLapValid(Practice, 0, 1), d.IsLapValid(Practice, 0, 2), d.IsLapValid(Practice, 1, 1)}),
        ElementsAre(false, true, true));
    // The recording stops 400 ms after driver 0's last lap ends; the last session record is older than that end.
    auto race = RaceReplay(2, 3);
    race.desc.sessions[0].durationMs = 2010 + 3 * 8000 + 400;
    d = Loaded(race);
    EXPECT_EQ(d.windowEnd[Race], 26000u);
    EXPECT_TRUE(d.IsLapValid(Race, 0, 2) && !d.IsLapValid(Race, 0, 3));
    // Sessions between the first and the last stay open at both ends.
    auto all = Sessions({Practice, Qualifying, HappyHour, Race});
    d = Loaded(all);
    EXPECT_THAT(d.windowEnd, ElementsAre(kWindowOpen, kWindowOpen, kWindowOpen, ::testing::Ne(kWindowOpen)));
    for (int kind : {Practice, Qualifying, HappyHour, Race}) EXPECT_TRUE(d.IsLapValid(kind, 0, 1)) << kind;
}

TEST(DriversRaceState, StartWordAndOfficialStateComeFromTheLastRecords) {
    auto b = RaceReplay(2, 2);
    b.desc.sessions[0].raceStartWord = 0xCAFE;
    Drivers d = Loaded(b);
    EXPECT_THAT((std::vector<std::uint32_t>{std::uint32_t(d.raceStartSeen), d.raceStartWord}), ElementsAre(1, 0xCAFE));
    EXPECT_THAT((std::vector<std::uint64_t>{d.frameChunkOffset, d.lastFrameOffset}),
                ElementsAre(b.layout().frameChunk, b.layout().frames.back()));
    // Replays of this program need no race-start record.
    b.desc.sessions[0].raceStartMs.reset();
    b.desc.header.savingFirstName = b.desc.drivers[0].firstName = Drivers::kOwnReplayMark;
    d = Loaded(b);
    EXPECT_THAT((std::vector<std::uint32_t>{std::uint32_t(d.raceStartSeen), d.raceStartWord}), ElementsAre(1, 0));
    // A race is official when its last state says so.
    for (auto [kind, state, official] : {std::tuple{Race, kSessionStateOfficial, true}, std::tuple{Race, 2u, false},
                                         std::tuple{Practice, kSessionStateOfficial, false}}) {
        auto one = Sessions({kind});
        one.desc.sessions[0].state = state;
        EXPECT_EQ(Loaded(one).IsRaceOfficial(), official) << kind << " " << state;
    }
}

TEST(DriversDatabase, RecordRoundTrips) {
    auto b = Sessions({Practice, Qualifying, HappyHour, Race}, 3);
    b.desc.drivers[1].bytes = {1, 2, 3, 4, 5}, b.desc.drivers[1].word6 = 0x1234, b.desc.drivers[1].physics = 4;
    b.desc.drivers[2].nickname = "nick";
    b.desc.sessions[3].cars[2].laps[1] |= LapWord::Incomplete;
    TempDir dir;
    Drivers d;
    ASSERT_EQ(d.Load(dir.write("r.rpy", b.build())), Drivers::LoadResult::Ok);
    ByteWriter out;
    d.SaveToStream(out);
    Drivers back;
    ByteCursor in(out.data());
    ASSERT_TRUE(back.LoadFromStream(in, 2));
    EXPECT_TRUE(in.atEnd());
    EXPECT_THAT(
        (std::vector<int>{back.loadedFromDatabase, back.loadedCount, back.firstSessionKind, back.lastSessionKind}),
        ElementsAre(1, 3, Practice, Race));
    EXPECT_EQ(back.fileDate, d.fileDate);
    EXPECT_EQ(back.sessionPresent, d.sessionPresent);
    ASSERT_EQ(back.drivers.size(), 3u);
    const Drivers::Driver &b1 = back.drivers[1], &b2 = back.drivers[2];
    EXPECT_THAT((std::vector<int>{b1.word6, b1.physics, b2.carId}), ElementsAre(0x1234, 4, d.drivers[2].carId));
    EXPECT_EQ(b1.bytes, d.drivers[1].bytes);
    EXPECT_EQ(b2.nickname, "nick");
    auto lap = [](const Drivers& x, int kind, int k) {
        return std::tuple{x.LapWordAt(kind, 2, k), x.IsLapValid(kind, 0, k), x.IsLapValid(kind, 2, k)};
    };
    for (int kind = 0; kind < kSessionKinds; ++kind)
        for (int k = 0; k <= kind + 1; ++k) EXPECT_EQ(lap(back, kind, k), lap(d, kind, k)) << kind << " " << k;
    EXPECT_THAT((std::vector<int>{back.IsLapValid(Race, 2, 2), back.LapCount(HappyHour, 1)}), ElementsAre(0, 3));
}

TEST(DriversDatabase, VersionOneRecordsAndDamagedRecords) {
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
    // Count as loaded follows the date text (with its terminator) and the mismatch flag.
    std::vector<std::uint8_t> bad = out.data();
    testing::Poke16(bad, d.fileDate.size() + 1 + 4, 5000);
    ByteCursor huge(bad);
    EXPECT_FALSE(back.LoadFromStream(huge, 2));
    for (std::size_t n = 0; n < out.size(); n += 5) {
        ByteCursor cut(std::span<const std::uint8_t>(out.data().data(), n));
        EXPECT_FALSE(back.LoadFromStream(cut, 2)) << n;
    }
}

}  // namespace
}  // namespace vra
