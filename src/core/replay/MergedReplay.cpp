#include "core/replay/MergedReplay.h"

#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/LapReplayWriter.h"
#include "core/replay/ReplayFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vra {

namespace {

constexpr std::uint32_t kMergedSessionStep = 0x271000;  // the session word's time, per 36 frames
constexpr char kMark[] = "VELMRRA";

// Truncates toward zero and keeps the result inside its field; anything that
// is not a number packs as lo.
std::int64_t FieldValue(double v, std::int64_t lo, std::int64_t hi) {
    if (!(v >= static_cast<double>(lo))) return lo;
    if (v >= static_cast<double>(hi)) return hi;
    return static_cast<std::int64_t>(std::trunc(v));
}

template <class T>
T At(const std::vector<T>& v, int i) {
    return static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)] : T{};
}

void PutText(std::vector<std::uint8_t>& b, std::size_t at, const std::string& s, std::size_t width) {
    // Always leaves a terminator inside the field.
    const std::size_t n = std::min(s.size(), width - 1);
    std::memcpy(&b[at], s.data(), n);
}

}  // namespace

int MergedSample(int frame, std::uint32_t advantageMs, int sampleCount) {
    const std::int64_t shift = static_cast<std::int64_t>(std::trunc(advantageMs * 0.036 + 0.5));
    return static_cast<int>(std::clamp<std::int64_t>(frame + shift, 1, std::max(sampleCount, 1)));
}

CompactWords MergedCompactRecord(const MergedLap& lap, int j, int frame, double distanceUnit) {
    const GetRpyInfo& info = *lap.info;
    const int s = MergedSample(frame, lap.advantageMs, info.sampleCount);
    const std::uint32_t counter = static_cast<std::uint32_t>(frame) % 1024;

    const auto g = static_cast<std::uint32_t>(
        FieldValue(std::atan(At(info.valueG, s) * 3.2774635054438668) * 24.25753153903607, 0, 31));
    const auto pitch = static_cast<std::uint32_t>(At(info.pitch, s)) & 0x3FF;
    CompactWords w{};
    w.c0 = (counter << 1) | (g << 11) | (pitch << 16);

    const double unit = distanceUnit > 0 ? distanceUnit : 1 / 1024.0;
    const auto d = static_cast<std::uint32_t>(FieldValue(At(info.distanceM, s) / unit, 0, 0xFFFFFF));
    w.c1 = d | (static_cast<std::uint32_t>(j + 2) << 24);

    const auto h = static_cast<std::uint32_t>(
        FieldValue(std::atan(At(info.rideHeightM, s) * 1.2793749281151212) * 331.9170433095316, 0, 511));
    const auto r = static_cast<std::uint32_t>(
        FieldValue(std::atan(At(info.revolutions, s) * 0.00012103073648171395) * 776.1076802839933, 0, 1023));
    const auto roll = static_cast<std::uint32_t>(At(info.roll, s)) & 0x3FF;
    w.c2 = (h << 21) | (r << 10) | roll;

    const auto gear = static_cast<std::uint32_t>(FieldValue(At(info.gear, s) + 1.0, 0, 7));
    const auto y = static_cast<std::uint32_t>(
        FieldValue(std::atan(At(info.lateralM, s) * 0.03756475224167659) * 44211.92899741051, -65536, 65535));
    const auto heading = static_cast<std::uint32_t>(static_cast<std::int32_t>(At(info.heading, s))) & 0xFFF;
    w.c3 = (gear << 29) | ((y & 0x1FFFF) << 12) | heading;
    return w;
}

int MergedFrameCount(const MergeInput& input) {
    int n = 0;
    for (std::size_t j = 0; j < input.laps.size(); ++j) {
        const int count = input.laps[j].info ? input.laps[j].info->sampleCount : 0;
        n = j == 0 ? count : std::min(n, count);
    }
    return n;
}

bool WriteMergedReplay(const MergeInput& input, OutputSink& out) {
    const int L = static_cast<int>(input.laps.size());
    if (L < 1 || L > 5) return false;
    for (const MergedLap& lap : input.laps)
        if (!lap.info) return false;
    const int N = MergedFrameCount(input);
    if (N < 1) return false;

    const std::uint32_t recordBytes = kRecordHeaderSize + kCompactRecordSize * static_cast<std::uint32_t>(L);
    auto frameSize = [&](int i) {
        const bool session = (i - 1) % kFramesPerSecond == 0;
        return kFrameHeaderSize + (session ? 8u : 0u) + recordBytes;
    };
    std::uint64_t frameBytes = 0;
    for (int i = 1; i <= N; ++i) frameBytes += frameSize(i);

    const std::uint32_t drivers = static_cast<std::uint32_t>(L) + 2;
    const std::uint64_t lapChunk = kDriverTableOffset + kChunkHeaderSize + std::uint64_t{kDriverRecordSize} * drivers;
    const std::uint64_t frameChunk = lapChunk + kChunkHeaderSize + 24u * static_cast<std::uint64_t>(L);
    const std::uint64_t endChunk = frameChunk + kChunkHeaderSize + frameBytes;
    if (endChunk > 0xFFFFFFFFu) return false;

    // Everything in front of the frames.
    std::vector<std::uint8_t> b(static_cast<std::size_t>(frameChunk + kChunkHeaderSize), 0);
    auto u32 = [&](std::uint64_t at, std::uint32_t v) { StoreU32(&b[static_cast<std::size_t>(at)], v); };
    u32(0, ChunkTag::File);
    u32(4, kReplayVersion);
    u32(8, static_cast<std::uint32_t>(endChunk));
    u32(12, ChunkTag::Header);
    u32(16, 1);
    u32(20, kHeaderBodySize);
    u32(HeaderOffset::FrameCount, static_cast<std::uint32_t>(N - 1));
    u32(HeaderOffset::FrameBytes, static_cast<std::uint32_t>(frameBytes));
    StoreU16(&b[HeaderOffset::LastFrameSize], static_cast<std::uint16_t>(frameSize(N)));
    u32(HeaderOffset::SavingPlayer, 0);
    PutText(b, HeaderOffset::FirstName, kMark, 16);
    PutText(b, HeaderOffset::LastName, kMark, 16);

    u32(kSettingsChunkOffset, ChunkTag::Settings);
    u32(kSettingsChunkOffset + 8, kSettingsBodySize);
    PutText(b, HeaderOffset::TrackName, input.trackName, 32);
    PutText(b, HeaderOffset::TrackName + 32, input.secondText, 32);
    b[197] = static_cast<std::uint8_t>(L + 1);

    u32(kDriverTableOffset, ChunkTag::DriverTable);
    u32(kDriverTableOffset + 8, kDriverRecordSize * drivers);
    for (std::uint32_t k = 0; k < drivers; ++k) {
        const std::uint64_t r = kDriverTableOffset + kChunkHeaderSize + std::uint64_t{kDriverRecordSize} * k;
        const std::size_t at = static_cast<std::size_t>(r);
        u32(r, ChunkTag::Driver);
        u32(r + 8, kDriverBodySize);
        if (k == 0) {
            PutText(b, at + 12, kMark, 16);
            PutText(b, at + 28, kMark, 16);
            u32(r + 160, input.physics);
            u32(r + 168, 100);
            u32(r + 176, 1);
            u32(r + 180, 0);
            u32(r + 184, 0x20010100);
        } else if (k == 1) {
            PutText(b, at + 12, "Pace", 16);
            PutText(b, at + 28, "Car", 16);
            u32(r + 168, 0xFFFFFFFF);
            u32(r + 176, 2);
            u32(r + 180, 1);
            u32(r + 184, 0x20010100);
        } else {
            const MergedLap& lap = input.laps[k - 2];
            std::string first = lap.firstName.empty() ? std::string() : lap.firstName.substr(0, 1);
            first += " merged";
            PutText(b, at + 12, first, 16);
            PutText(b, at + 28, lap.lastName, 16);
            PutText(b, at + 124, lap.fourthText, 32);
            u32(r + 156, lap.driverByte1);
            u32(r + 160, lap.physics);
            u32(r + 168, k - 1);
            b[at + 172] = kFileDriverHuman;
            u32(r + 176, 1);
            u32(r + 180, k);
            u32(r + 184, 0x20000100);
        }
    }

    u32(lapChunk, ChunkTag::LapChunk);
    u32(lapChunk + 8, 24u * static_cast<std::uint32_t>(L));
    for (int j = 0; j < L; ++j) {
        const std::uint64_t r = lapChunk + kChunkHeaderSize + 24u * static_cast<std::uint64_t>(j);
        const std::uint32_t word = input.laps[static_cast<std::size_t>(j)].lapWord;
        u32(r, ChunkTag::CarLaps);
        u32(r + 8, 12);
        u32(r + 12, static_cast<std::uint32_t>(j + 2));
        u32(r + 16, 1000);
        // The lap ends 1000 ms into the session; its flags stay its own.
        u32(r + 20, (word & LapWord::FlagMask) | (((word & LapWord::TimeMask) + 1000) & LapWord::TimeMask));
    }
    u32(frameChunk, ChunkTag::Frames);
    u32(frameChunk + 8, static_cast<std::uint32_t>(frameBytes));
    if (!out.write(b)) return false;

    std::vector<std::uint8_t> frames;
    frames.reserve(1u << 16);
    std::uint32_t sessionWord = 0;
    std::uint32_t previous = 0;
    for (int i = 1; i <= N; ++i) {
        const std::uint32_t size = frameSize(i);
        const std::size_t at = frames.size();
        frames.resize(at + size, 0);
        std::uint8_t* f = &frames[at];
        StoreU16(f, static_cast<std::uint16_t>(size));
        StoreU16(f + 2, static_cast<std::uint16_t>(previous));
        StoreU32(f + 4, static_cast<std::uint32_t>(i));
        std::uint8_t* p = f + kFrameHeaderSize;
        if ((i - 1) % kFramesPerSecond == 0) {
            sessionWord += kMergedSessionStep;
            StoreU32(p, RecSession | (8u << 16));
            StoreU32(p + 4, sessionWord);
            p += 8;
        }
        StoreU32(p, RecCompactCars | (recordBytes << 16));
        p += kRecordHeaderSize;
        for (int j = 0; j < L; ++j) {
            const CompactWords w =
                MergedCompactRecord(input.laps[static_cast<std::size_t>(j)], j, i, input.distanceUnit);
            StoreU32(p, w.c0);
            StoreU32(p + 4, w.c1);
            StoreU32(p + 8, w.c2);
            StoreU32(p + 12, w.c3);
            p += kCompactRecordSize;
        }
        previous = size;
        if (frames.size() > (1u << 16) - 128) {
            if (!out.write(frames)) return false;
            frames.clear();
        }
    }
    if (!frames.empty() && !out.write(frames)) return false;
    return WriteEndChunk(out);
}

}  // namespace vra
