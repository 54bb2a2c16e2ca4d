#include "core/graphs/StintLoader.h"

#include "core/replay/Drivers.h"
#include "core/replay/ReplaySource.h"

#include "support/replay/FrameStreamWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

namespace vra::test {
namespace {

// The player's lap table of one kind: word 0 the session's start, then the
// laps, each valid unless listed.
void Laps(Drivers& d, int kind, std::uint32_t startMs, std::vector<std::uint32_t> laps, std::vector<int> invalid = {}) {
    auto& s = d.drivers[0].sessions[std::size_t(kind)];
    s.count = int(laps.size());
    s.times[0] = startMs;
    for (std::size_t i = 0; i < laps.size(); ++i) {
        s.times[i + 1] = laps[i];
        s.valid[i + 1] = 1;
    }
    for (int i : invalid) s.valid[std::size_t(i)] = 0;
}

Drivers Table(int cars = 20) {
    Drivers d;
    d.drivers.resize(std::size_t(cars));
    d.driverCount = std::uint16_t(cars);
    d.savingPlayer = 0;
    d.frameChunkOffset = 0;
    return d;
}

struct RaceStream {
    int frames = 11520;
    int kind = 3;
    bool tyreAfterFull = false;
    // Each frame's records; a test may change them.
    std::vector<StreamRecord> FrameRecords(int f) const {
        std::vector<StreamRecord> r;
        std::array<float, 16> tyres{};
        for (int w = 0; w < 4; ++w) {
            tyres[std::size_t(w * 4 + 1)] = float(f / 36 + w);  // middle temperature: the second
            tyres[std::size_t(w * 4 + 3)] = 200.0f;             // kPa
        }
        const StreamRecord tyre = StreamRecord::Of(103, tyres.data(), 16);
        if (f % 36 == 0) {
            r.push_back(StreamRecord::Word(13, (std::uint32_t(f / 36 * 100) << 8) | std::uint32_t(kind)));
            if (!tyreAfterFull) r.push_back(tyre);
        }
        std::array<std::uint32_t, 9> full{};
        full[6] = 50u << 22;
        r.push_back(StreamRecord::Of(1, full.data(), 9));
        if (f % 36 == 0 && tyreAfterFull) r.push_back(tyre);
        r.push_back(StreamRecord::Word(2, 90u | (85u << 7) | (40u << 14)));
        return r;
    }
    std::vector<std::uint8_t> Bytes(FrameStreamWriter& w) const {
        for (int f = 0; f < frames; ++f) w.Frame(FrameRecords(f));
        return w.Bytes();
    }
};

TEST(StintLoader, ReadsTheFramesBetweenTheStintsSessionWords) {
    Drivers d = Table();
    Laps(d, 3, 10000, std::vector<std::uint32_t>(5, 60000));
    d.drivers[0].sessions[3].valid[0] = 0;
    FrameStreamWriter w;
    const auto bytes = RaceStream{}.Bytes(w);
    ReplaySource src(bytes);
    StintLoader s(src, d, 0, 3, 0, 3);

    EXPECT_EQ(s.FirstLap(), 1);
    EXPECT_EQ(s.EndLap(), 6);
    EXPECT_EQ(s.LapCount(), 5);
    // Frame 360's 10 s is not past the 10 s start; frame 396's 11 s is.
    EXPECT_EQ(s.StartOffset(), w.offsets[396]);
    EXPECT_EQ(s.EndOffset(), w.offsets[11196]);
    EXPECT_TRUE(s.IsComplete());
    EXPECT_EQ(s.GaugeSampleCount(), 10800);
    EXPECT_EQ(s.SampleCount(), 300);
    EXPECT_EQ(s.SessionName(), "Race");

    Point2D p;
    std::vector<Point2D> laps;
    while (s.NextLapTime(p)) laps.push_back(p);
    EXPECT_THAT(laps,
                ::testing::ElementsAre(Point2D{1, 60}, Point2D{2, 60}, Point2D{3, 60}, Point2D{4, 60}, Point2D{5, 60}));
    ASSERT_TRUE(s.NextWaterTemp(p));  // starts over after the last
    EXPECT_EQ(p, (Point2D{0, 185}));
    for (int k = 1; k < 10800; ++k) s.NextWaterTemp(p);
    EXPECT_NEAR(p.x, 4.99954, 1e-5);
    EXPECT_DOUBLE_EQ(p.y, 185);
    EXPECT_FALSE(s.NextWaterTemp(p));
    ASSERT_TRUE(s.NextOilTemp(p));
    EXPECT_DOUBLE_EQ(p.y, 194);
    ASSERT_TRUE(s.NextFuelPressure(p));
    EXPECT_DOUBLE_EQ(p.y, 40);
    ASSERT_TRUE(s.NextOilPressure(p));
    EXPECT_DOUBLE_EQ(p.y, 50);
    s.ResetIterators();
    // The tyre block of each second's own session frame (second 11 first).
    ASSERT_TRUE(s.NextTireTemp(1, 1, p));
    EXPECT_EQ(p, (Point2D{0, (11 + 1) * 1.8 + 32}));
    s.ResetIterators();
    ASSERT_TRUE(s.NextTirePressure(3, p));
    EXPECT_NEAR(p.y, 200 * 0.1450377, 1e-9);
}

// A short race: start word 1000 ms, laps of 2000 ms; the stint runs from
// frame 72 to frame 432 of 468.
Drivers ShortTable() {
    Drivers d = Table();
    Laps(d, 3, 1000, std::vector<std::uint32_t>(5, 2000));
    return d;
}

TEST(StintLoader, TyresOfA103AfterTheFullRecordServeTheNextSecond) {
    const Drivers d = ShortTable();
    FrameStreamWriter w;
    RaceStream race{468};
    race.tyreAfterFull = true;
    const auto bytes = race.Bytes(w);
    ReplaySource src(bytes);
    StintLoader s(src, d, 0, 3, 0, 3);
    ASSERT_TRUE(s.IsComplete());
    ASSERT_EQ(s.SampleCount(), 10);
    EXPECT_EQ(s.Samples()[0].tyres[1], 0.0f);  // nothing read before the first sample
    EXPECT_EQ(s.Samples()[1].tyres[1], 2.0f);  // second 2's tyres in second 3's sample
}

TEST(StintLoader, FindsTheStintInTheLapTables) {
    FrameStreamWriter w;
    const auto bytes = RaceStream{468}.Bytes(w);
    ReplaySource src(bytes);

    // A clean run one lap short is skipped; the search goes on after it.
    Drivers d = Table();
    Laps(d, 3, 1000, std::vector<std::uint32_t>(8, 2000));
    d.drivers[0].sessions[3].times[3] |= LapWord::Pitted;
    StintLoader after(src, d, 0, 3, 0, 4);
    EXPECT_EQ(after.FirstLap(), 4);
    EXPECT_EQ(after.EndLap(), 9);

    // Empty kinds are passed to the next; after the race there is none.
    Drivers race = ShortTable();
    StintLoader fromPractice(src, race, 0, 0, 0, 3);
    EXPECT_EQ(fromPractice.SessionKind(), 3);
    EXPECT_TRUE(fromPractice.IsComplete());
    StintLoader none(src, race, 0, 3, 6, 3);
    EXPECT_EQ(none.FirstLap(), -1);
    EXPECT_EQ(none.EndLap(), -1);
    EXPECT_FALSE(none.IsComplete());
    EXPECT_EQ(none.SessionKind(), 4);

    // The older numbering records the race as kind 1; two cars are training.
    Drivers quick = Table(2);
    quick.quickRace = 1;
    Laps(quick, 3, 1000, std::vector<std::uint32_t>(5, 2000));
    FrameStreamWriter qw;
    RaceStream q{468};
    q.kind = 1;
    const auto qbytes = q.Bytes(qw);
    ReplaySource qsrc(qbytes);
    StintLoader quickRace(qsrc, quick, 0, 3, 0, 3);
    EXPECT_TRUE(quickRace.IsComplete());
    EXPECT_EQ(quickRace.SessionName(), "Training");
    quick.driverCount = 20;
    EXPECT_EQ(quickRace.SessionName(), "Race");

    // A lap count above the table's size stops at its end.
    Drivers big = ShortTable();
    big.drivers[0].sessions[3].count = 100000;
    StintLoader clamped(src, big, 0, 3, 0, 3);
    EXPECT_LE(clamped.EndLap(), 513);
}

class MalformedStint : public ::testing::Test {
protected:
    // The short race with frame 100's records replaced.
    std::vector<std::uint8_t> With(const std::vector<StreamRecord>& records, int frameSize = -1) {
        FrameStreamWriter w;
        const RaceStream race{468};
        for (int f = 0; f < race.frames; ++f)
            w.Frame(f == 100 ? records : race.FrameRecords(f), f == 100 ? frameSize : -1);
        offsets_ = w.offsets;
        return w.Bytes();
    }
    StintLoader Load(const std::vector<std::uint8_t>& bytes) {
        ReplaySource src(bytes);
        return StintLoader(src, d_, 0, 3, 0, 3);
    }
    Drivers d_ = ShortTable();
    std::vector<std::uint64_t> offsets_;
};

TEST_F(MalformedStint, DamagedFramesEndTheReadingWithoutAStint) {
    auto full = [](std::size_t bytes) {
        StreamRecord r{1, std::vector<std::uint8_t>(bytes)};
        return r;
    };
    const std::vector<std::vector<StreamRecord>> damaged = {
        {StreamRecord{2, {}, 0}},
        {StreamRecord{2, {}, 3}},                              // record lengths below the header
        {StreamRecord{2, std::vector<std::uint8_t>(4), 200}},  // crossing its frame
        {StreamRecord::Word(7, 0)},
        {StreamRecord::Word(50, 0)},
        {StreamRecord::Word(118, 0)},                     // unknown types
        {full(32)},                                       // a full record too short
        {StreamRecord{2, std::vector<std::uint8_t>(2)}},  // an engine word too short
    };
    for (const auto& records : damaged) {
        const StintLoader s = Load(With(records));
        EXPECT_FALSE(s.IsComplete());
        // What came before the damage is kept.
        EXPECT_EQ(s.GaugeSampleCount(), 100 - 72);
    }
    // A tyre block of 60 bytes on a sampling frame.
    std::vector<StreamRecord> shortTyre = RaceStream{}.FrameRecords(108);
    shortTyre[1].body.resize(60);
    FrameStreamWriter w;
    for (int f = 0; f < 468; ++f) w.Frame(f == 108 ? shortTyre : RaceStream{}.FrameRecords(f));
    const auto bytes = w.Bytes();
    ReplaySource src(bytes);
    EXPECT_FALSE(StintLoader(src, d_, 0, 3, 0, 3).IsComplete());

    // Frame sizes below the header end both passes.
    for (int size = 0; size < 8; ++size) {
        EXPECT_FALSE(Load(With({StreamRecord::Word(2, 0)}, size)).IsComplete()) << size;
    }
    // An unknown type before the start ends the search: nothing read.
    FrameStreamWriter early;
    for (int f = 0; f < 468; ++f) {
        auto r = RaceStream{}.FrameRecords(f);
        if (f == 36) r.push_back(StreamRecord::Word(7, 0));
        early.Frame(r);
    }
    const auto eb = early.Bytes();
    ReplaySource esrc(eb);
    const StintLoader e(esrc, d_, 0, 3, 0, 3);
    EXPECT_FALSE(e.IsComplete());
    EXPECT_EQ(e.GaugeSampleCount(), 0);
}

TEST_F(MalformedStint, LongerRecordsAreReadAsFarAsNeeded) {
    std::vector<StreamRecord> records = RaceStream{}.FrameRecords(100);
    records[0].body.resize(48);  // the full record
    records[1].body.resize(12);  // the engine word
    const StintLoader s = Load(With(records));
    EXPECT_TRUE(s.IsComplete());
    EXPECT_EQ(s.GaugeSampleCount(), 360);
}

TEST_F(MalformedStint, TruncatedStreamsEndInBoundedTime) {
    const auto whole = With(RaceStream{}.FrameRecords(100));
    // The data size claims more than the file holds.
    auto longer = whole;
    longer[8] = 0xFF, longer[9] = 0xFF, longer[10] = 0xFF, longer[11] = 0x7F;
    EXPECT_TRUE(Load(longer).IsComplete());
    // Cut at every byte of a frame inside the stint, and before the start.
    for (std::uint64_t cut : {offsets_[200], offsets_[40]}) {
        for (std::uint64_t k = 0; k < offsets_[201] - offsets_[200]; ++k) {
            std::vector<std::uint8_t> bytes(whole.begin(), whole.begin() + std::ptrdiff_t(cut + k));
            const StintLoader s = Load(bytes);
            EXPECT_FALSE(s.IsComplete());
            EXPECT_LE(s.GaugeSampleCount(), 200 - 72 + 1);
        }
    }
    // No session word past the start time: no stint at all.
    Drivers late = ShortTable();
    late.drivers[0].sessions[3].times[0] = 100000;
    ReplaySource src(whole);
    const StintLoader s(src, late, 0, 3, 0, 3);
    EXPECT_FALSE(s.IsComplete());
    EXPECT_EQ(s.GaugeSampleCount(), 0);
}

}  // namespace
}  // namespace vra::test
