#include "core/replay/MergedReplay.h"

#include "core/document/MergeParametersModel.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/Header.h"
#include "core/replay/ParseCarStructs.h"

#include "ReplayFiles.h"
#include "WriterTestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace vra {
namespace {

using simkit::FrameContext;

constexpr double kUnit = 1000.0 / 16000.0;  // an arbitrary distance step for the tests

struct Laps {
    std::vector<std::uint8_t> bytes;
    Drivers drivers;
    std::vector<std::unique_ptr<GetRpyInfo>> infos;
};

// Lap 2 of each of five drivers of a race whose cars pitch, roll and turn.
Laps FiveLaps() {
    Laps l;
    auto b = testing::RaceReplay(5, 3);
    b.desc.lateral = [](int driver, double ms) { return 0.8 * driver - 1.5 + std::cos(ms / 900.0); };
    b.desc.compactHook = [](const FrameContext& f, int driver, simkit::CompactRecordFields& c) {
        c.pitch = static_cast<std::int32_t>(f.frameNumber % 900) - 450;
        c.roll = driver * 40 - 100;
        c.heading = static_cast<std::int32_t>(f.frameNumber % 4000) - 2000;
        c.valueG = static_cast<std::uint32_t>(f.frameNumber % 32);
        c.rideHeight = 30 + static_cast<std::uint32_t>(driver) * 20;
        c.gear = 1 + driver;
    };
    b.desc.fullHook = [](const FrameContext& f, simkit::FullRecordFields& r) {
        r.pitch = -300;
        r.roll = 17;
        r.heading = static_cast<std::int32_t>(f.frameNumber % 4000) - 2000;
        r.valueG = 200;
        r.gear = 4;
    };
    l.bytes = b.build();
    EXPECT_EQ(l.drivers.LoadBytes(l.bytes), Drivers::LoadResult::Ok);
    for (int d = 0; d < 5; ++d) {
        auto info = std::make_unique<GetRpyInfo>();
        EXPECT_EQ(info->ExtractLapFromBytes(l.bytes, l.drivers, d, 2, Race, 1000.0f), GetRpyInfo::Result::Ok);
        EXPECT_EQ(info->AllocateChannels(1), GetRpyInfo::Result::Ok);
        l.infos.push_back(std::move(info));
    }
    return l;
}

MergeInput InputOf(const Laps& l, int count, const MergeAdvantages& advantages) {
    MergeInput in;
    in.trackName = "DEMO";
    in.secondText = "second";
    in.physics = 2;
    in.distanceUnit = kUnit;
    for (int j = 0; j < count; ++j) {
        const auto& d = l.drivers.drivers[static_cast<std::size_t>(j)];
        MergedLap lap;
        lap.info = l.infos[static_cast<std::size_t>(j)].get();
        lap.firstName = d.firstName;
        lap.lastName = d.lastName;
        lap.fourthText = "fourth" + std::to_string(j);
        lap.driverByte1 = static_cast<std::uint8_t>(7 + j);
        lap.physics = 2;
        lap.lapWord = l.drivers.LapWordAt(Race, j, 2) | (j == 1 ? LapWord::Pitted : 0);
        lap.advantageMs = advantages[static_cast<std::size_t>(j)];
        in.laps.push_back(lap);
    }
    return in;
}

std::string TextAt(const std::vector<std::uint8_t>& v, std::size_t at, std::size_t width) {
    std::string s(v.begin() + static_cast<std::ptrdiff_t>(at), v.begin() + static_cast<std::ptrdiff_t>(at + width));
    return s.substr(0, s.find('\0'));
}

bool AllZero(const std::vector<std::uint8_t>& v, std::size_t from, std::size_t to) {
    return std::all_of(v.begin() + static_cast<std::ptrdiff_t>(from), v.begin() + static_cast<std::ptrdiff_t>(to),
                       [](std::uint8_t b) { return b == 0; });
}

// value(code) is a decoding; the channel lies within one code step of it.
template <class Decode>
void ExpectWithinOneStep(double channel, std::int64_t code, Decode value, const char* what) {
    const double here = value(static_cast<double>(code));
    const double step = std::max(std::abs(value(code + 1.0) - here), std::abs(here - value(code - 1.0)));
    EXPECT_LE(std::abs(channel - here), step * 1.0001) << what << " code " << code;
}

// The car of lap j in one frame, read back with the compact-record decoder
// and the lap extraction's conversions of other cars.
void ExpectCarShowsSample(const std::uint8_t* record, const GetRpyInfo& lap, int s, int j, double unit) {
    ParseCarStructs parser;
    parser.SetCompactRecord(record);
    const CompactCarFields c = parser.Compact();
    const auto i = static_cast<std::size_t>(s);
    EXPECT_EQ(c.carId, j + 2);
    ExpectWithinOneStep(
        lap.distanceM[i], c.distance, [&](double k) { return k * unit; }, "distance");
    ExpectWithinOneStep(
        lap.lateralM[i], c.lateral, [](double k) { return std::tan(k * 2.261833e-5) * 26.6207; }, "lateral");
    ExpectWithinOneStep(
        lap.revolutions[i], c.rpmCode, [](double k) { return std::tan(k * 0.001288481) * 8262.364; }, "rpm");
    ExpectWithinOneStep(
        lap.rideHeightM[i], c.rideHeight, [](double k) { return std::tan(k * 0.003012801) * 0.7816317; }, "ride");
    ExpectWithinOneStep(
        lap.valueG[i], c.valueG, [](double k) { return std::tan(k * 0.04122431) * 0.305114; }, "G");
    EXPECT_EQ(c.gear, lap.gear[i]);
    EXPECT_EQ(c.heading, lap.heading[i]);
    EXPECT_EQ(c.pitch, lap.pitch[i]);
    EXPECT_EQ(c.roll, lap.roll[i]);
}

// Every fixed field of the file, and each car's samples, for the three
// synchronisations that fix the advantages.
TEST(MergedReplay, FiveLapsUnderEachSynchronisation) {
    const Laps l = FiveLaps();
    MergeParametersRequest request;
    for (int j = 0; j < 5; ++j)
        request.rows[static_cast<std::size_t>(j)] = {true, "f", "l", l.drivers.LapWordAt(Race, j, 2)};
    for (MergeSync sync : {MergeSync::Start, MergeSync::End, MergeSync::SameDifference}) {
        SCOPED_TRACE(static_cast<int>(sync));
        MergeParametersModel model(request);
        model.SetSync(sync);
        const MergeAdvantages adv = model.Advantages();
        // Driver j laps in 8000 + 250 j ms.
        for (int j = 0; j < 5; ++j)
            EXPECT_EQ(adv[static_cast<std::size_t>(j)], sync == MergeSync::Start ? 0u
                                                        : sync == MergeSync::End
                                                            ? 250u * static_cast<std::uint32_t>(j)
                                                            : 125u * static_cast<std::uint32_t>(j));
        const MergeInput in = InputOf(l, 5, adv);
        MemorySink out;
        ASSERT_TRUE(WriteMergedReplay(in, out));
        const auto& f = out.bytes();

        int N = l.infos[0]->sampleCount;
        for (const auto& info : l.infos) N = std::min(N, info->sampleCount);
        const std::size_t L = 5, lapChunk = 272 + 12 + 188 * (L + 2), frameChunk = lapChunk + 12 + 24 * L;
        auto frameSize = [&](int i) { return 8u + ((i - 1) % 36 == 0 ? 8u : 0u) + 4 + 16 * 5; };
        std::uint32_t frameBytes = 0;
        for (int i = 1; i <= N; ++i) frameBytes += frameSize(i);
        const std::size_t end = frameChunk + 12 + frameBytes;
        ASSERT_EQ(f.size(), end + 12);

        EXPECT_EQ(TextAt(f, 0, 4), "YLPR");
        EXPECT_EQ(U32At(f, 4), 5u);
        EXPECT_EQ(U32At(f, 8), end);
        EXPECT_EQ(TextAt(f, 12, 4), "DHPR");
        EXPECT_EQ(U32At(f, 16), 1u);
        EXPECT_EQ(U32At(f, 20), 60u);
        EXPECT_EQ(U32At(f, 24), static_cast<std::uint32_t>(N - 1));
        EXPECT_EQ(U32At(f, 28), frameBytes);
        EXPECT_EQ(U16At(f, 32), frameSize(N));
        EXPECT_EQ(U32At(f, 36), 0u);
        EXPECT_EQ(TextAt(f, 40, 16), "VELMRRA");
        EXPECT_EQ(TextAt(f, 56, 16), "VELMRRA");
        EXPECT_TRUE(AllZero(f, 72, 84));
        EXPECT_EQ(TextAt(f, 84, 4), "FNKW");
        EXPECT_EQ(U32At(f, 88), 0u);
        EXPECT_EQ(U32At(f, 92), 173u);
        EXPECT_EQ(TextAt(f, 96, 32), "DEMO");
        EXPECT_EQ(TextAt(f, 128, 32), "second");
        EXPECT_EQ(f[197], 6);
        EXPECT_TRUE(AllZero(f, 160, 197));
        EXPECT_TRUE(AllZero(f, 198, 272));

        EXPECT_EQ(TextAt(f, 272, 4), "SLRD");
        EXPECT_EQ(U32At(f, 276), 0u);
        EXPECT_EQ(U32At(f, 280), 188u * 7);
        for (std::size_t k = 0; k < L + 2; ++k) {
            SCOPED_TRACE(k);
            const std::size_t r = 284 + 188 * k;
            EXPECT_EQ(TextAt(f, r, 4), "TNRD");
            EXPECT_EQ(U32At(f, r + 4), 0u);
            EXPECT_EQ(U32At(f, r + 8), 175u);
            const std::size_t j = k - 2;
            const std::string first = k == 0 ? "VELMRRA" : k == 1 ? "Pace" : "D merged";
            const std::string last = k == 0 ? "VELMRRA" : k == 1 ? "Car" : "Racer" + std::to_string(j);
            EXPECT_EQ(TextAt(f, r + 12, 16), k == 2 ? "A merged" : first);
            EXPECT_EQ(TextAt(f, r + 28, 16), k == 2 ? "Morgan" : last);
            EXPECT_TRUE(AllZero(f, r + 44, r + 124));
            EXPECT_EQ(TextAt(f, r + 124, 32), k < 2 ? "" : "fourth" + std::to_string(j));
            EXPECT_EQ(U32At(f, r + 156), k < 2 ? 0u : 7u + j);
            EXPECT_EQ(U32At(f, r + 160), k == 1 ? 0u : 2u);
            EXPECT_EQ(U32At(f, r + 164), 0u);
            EXPECT_EQ(U32At(f, r + 168), k == 0 ? 100u : k == 1 ? 0xFFFFFFFFu : j + 1);
            EXPECT_EQ(U32At(f, r + 172), k < 2 ? 0u : 150u);
            EXPECT_EQ(U32At(f, r + 176), k == 1 ? 2u : 1u);
            EXPECT_EQ(U32At(f, r + 180), k);
            EXPECT_EQ(U32At(f, r + 184), k < 2 ? 0x20010100u : 0x20000100u);
        }
        EXPECT_EQ(TextAt(f, lapChunk, 4), "BTPL");
        EXPECT_EQ(U32At(f, lapChunk + 4), 0u);
        EXPECT_EQ(U32At(f, lapChunk + 8), 24u * 5);
        for (std::size_t j = 0; j < L; ++j) {
            const std::size_t r = lapChunk + 12 + 24 * j;
            EXPECT_EQ(TextAt(f, r, 4), "ORPL");
            EXPECT_EQ(U32At(f, r + 4), 0u);
            EXPECT_EQ(U32At(f, r + 8), 12u);
            EXPECT_EQ(U32At(f, r + 12), j + 2);
            EXPECT_EQ(U32At(f, r + 16), 1000u);
            EXPECT_EQ(U32At(f, r + 20), 9000u + 250 * j + (j == 1 ? 0x20000000u : 0));
        }
        EXPECT_EQ(TextAt(f, frameChunk, 4), "PTPR");
        EXPECT_EQ(U32At(f, frameChunk + 4), 0u);
        EXPECT_EQ(U32At(f, frameChunk + 8), frameBytes);

        std::size_t p = frameChunk + 12;
        std::uint32_t previous = 0, sessionWord = 0;
        for (int i = 1; i <= N; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(U16At(f, p), frameSize(i));
            EXPECT_EQ(U16At(f, p + 2), previous);
            EXPECT_EQ(U32At(f, p + 4), static_cast<std::uint32_t>(i));
            std::size_t q = p + 8;
            if ((i - 1) % 36 == 0) {
                sessionWord += 0x271000;
                EXPECT_EQ(U32At(f, q), 13u | (8u << 16));
                EXPECT_EQ(U32At(f, q + 4), sessionWord);
                q += 8;
            }
            EXPECT_EQ(U32At(f, q), 3u | ((4u + 16 * 5) << 16));
            for (std::size_t j = 0; j < L; ++j) {
                const std::uint8_t* rec = &f[q + 4 + 16 * j];
                const GetRpyInfo& lap = *l.infos[j];
                const int shift = static_cast<int>(std::floor(adv[j] * 0.036 + 0.5));
                const int s = std::min(i + shift, lap.sampleCount);
                EXPECT_EQ(U32At(f, q + 4 + 16 * j) & 0x7FF, (static_cast<std::uint32_t>(i) % 1024) << 1);
                ExpectCarShowsSample(rec, lap, s, static_cast<int>(j), kUnit);
            }
            previous = frameSize(i);
            p += frameSize(i);
        }
        EXPECT_EQ(Tail(f, 12), EndChunk());

        Drivers back;
        EXPECT_EQ(back.LoadBytes(f), Drivers::LoadResult::Ok);
        EXPECT_EQ(back.driverCount, 7);
        Header header;
        EXPECT_EQ(header.ReadBytes(f), Header::Ok);
    }
}

// One lap: one car beside the two fixed records. A lap pushed past its end
// holds its last sample.
TEST(MergedReplay, OneLapAndALapPushedPastItsEnd) {
    const Laps l = FiveLaps();
    MemorySink one;
    ASSERT_TRUE(WriteMergedReplay(InputOf(l, 1, {}), one));
    EXPECT_EQ(U32At(one.bytes(), 280), 188u * 3);
    EXPECT_EQ(one.bytes()[197], 2);

    const MergeAdvantages far = {0, 600000};
    const MergeInput in = InputOf(l, 2, far);
    MemorySink out;
    ASSERT_TRUE(WriteMergedReplay(in, out));
    const std::size_t frameChunk = 272 + 12 + 188 * 4 + 12 + 48;
    const GetRpyInfo& pushed = *l.infos[1];
    // Frame 2 carries no session record.
    const std::size_t frame2 = frameChunk + 12 + (8 + 8 + 4 + 32);
    ExpectCarShowsSample(&out.bytes()[frame2 + 12 + 16], pushed, pushed.sampleCount, 1, kUnit);
    EXPECT_EQ(MergedSample(5, 600000, 40), 40);
    EXPECT_EQ(MergedSample(5, 1050, 400), 5 + 38);  // 37.8 frames round to 38
    EXPECT_EQ(MergedSample(5, 13, 400), 5);         // 0.468 frames round to 0
}

// Values beyond a field are held at its end instead of spilling into the
// neighbouring fields.
TEST(MergedReplay, ExtremeValuesStayInTheirFields) {
    GetRpyInfo lap;
    lap.sampleCount = 3;
    lap.distanceM = {0, 1e9, -5, 0};
    lap.lateralM = {0, 1e6, -1e6, 0};
    lap.revolutions = {0, 1e9, -1, 0};
    lap.rideHeightM = {0, 1e6, -1, std::nan("")};
    lap.valueG = {0, 1e6, -1, 0};
    lap.gear = {0, 9, -3, 0};
    lap.heading = {0, -1, 0, 0};
    lap.pitch = {0, -1, 0, 0};
    lap.roll = {0, -1, 0, 0};
    MergedLap m;
    m.info = &lap;
    const CompactWords high = MergedCompactRecord(m, 0, 1, 1 / 1024.0);
    EXPECT_EQ(high.c0, (1u << 1) | (31u << 11) | (0x3FFu << 16));
    EXPECT_EQ(high.c1, 0xFFFFFFu | (2u << 24));
    EXPECT_EQ(high.c2, (511u << 21) | (1023u << 10) | 0x3FFu);
    EXPECT_EQ(high.c3, (7u << 29) | (65535u << 12) | 0xFFFu);
    const CompactWords low = MergedCompactRecord(m, 0, 2, 1 / 1024.0);
    EXPECT_EQ(low.c0, 2u << 1);
    EXPECT_EQ(low.c1, 2u << 24);
    EXPECT_EQ(low.c2, 0u);
    EXPECT_EQ(low.c3, (0x10000u << 12));  // -65536 in 17 bits, gear + 1 held at 0
    // Not a number packs as the field's lowest value; a unit of 0 counts as
    // the finest step.
    const CompactWords nan = MergedCompactRecord(m, 0, 3, 0.0);
    EXPECT_EQ(nan.c2 >> 21, 0u);
    EXPECT_EQ(nan.c3 >> 29, 1u);
}

TEST(MergedReplay, NothingToMergeOrARefusingSinkFails) {
    MemorySink out;
    EXPECT_FALSE(WriteMergedReplay(MergeInput{}, out));
    const Laps l = FiveLaps();
    for (std::size_t k : {std::size_t{0}, std::size_t{300}, std::size_t{5000}}) {
        FailingSink failing(k);
        EXPECT_FALSE(WriteMergedReplay(InputOf(l, 3, {}), failing)) << k;
    }
}

}  // namespace
}  // namespace vra
