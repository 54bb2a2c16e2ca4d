#include "core/graphs/StintLoader.h"

#include "core/replay/Drivers.h"
#include "core/replay/ParseCarStructs.h"
#include "core/replay/RaceFrameWalk.h"
#include "core/replay/ReplaySource.h"
#include "core/replay/UnitConversions.h"

#include <algorithm>
#include <cstring>

namespace vra {

namespace {

constexpr std::uint32_t kDirtyLap = LapWord::Incomplete | LapWord::Pitted;
constexpr double kPsiPerKpa = 0.1450377;

// What each record type must hold: a record of a type the loader reads that
// is shorter than what it reads is damaged; a longer one is read as far as
// needed.
constexpr std::size_t kSessionBody = 4, kGaugeBody = 4, kRaceControlBody = 12, kFullBody = 36, kTyreBody = 64;

// Types either pass steps over when they do not read them; anything else
// is a record no replay holds.
bool PassedOver(std::uint32_t type) {
    if (type == 7 || type == 0) return false;
    if (type <= 32) return true;
    if (type >= 100 && type <= 105) return true;
    return type == 116 || type == 117;
}

std::uint32_t LapMs(std::uint32_t word) {
    return word & LapWord::TimeMask;
}

}  // namespace

StintLoader::StintLoader(const Drivers& drivers, std::uint64_t startOffset, int kind, int firstLap, int minLaps)
    : drivers_(drivers), minLaps_(minLaps), kind_(kind) {
    if (FindStint(firstLap)) {
        ReplaySource source(drivers.path, ReplaySource::Access::Sequential);
        if (source.isOpen()) Read(source, startOffset);
    }
    ResetIterators();
}

StintLoader::StintLoader(ReplaySource& source, const Drivers& drivers, std::uint64_t startOffset, int kind,
                         int firstLap, int minLaps)
    : drivers_(drivers), minLaps_(minLaps), kind_(kind) {
    if (FindStint(firstLap)) Read(source, startOffset);
    ResetIterators();
}

bool StintLoader::FindStint(int first) {
    const int player = drivers_.savingPlayer;
    const bool known = player >= 0 && std::size_t(player) < drivers_.drivers.size();
    first = std::max(first, 0);
    for (;;) {
        if (kind_ > 3 || kind_ < 0 || !known) {
            firstLap_ = endLap_ = -1;
            return false;
        }
        const Drivers::SessionLaps& laps = drivers_.drivers[std::size_t(player)].sessions[std::size_t(kind_)];
        // The table holds 512 laps; a larger count cannot be believed past it.
        const int n = std::clamp(laps.count, 0, kMaxLaps);
        auto clean = [&](int i) {
            return laps.valid[std::size_t(i)] == 1 && (laps.times[std::size_t(i)] & kDirtyLap) == 0;
        };
        while (first < n && !clean(first)) ++first;
        if (first >= n) {
            ++kind_;
            first = 0;
            continue;
        }
        int end = first + 1;
        while (end <= n && clean(end)) ++end;
        if (end - first >= minLaps_) {
            firstLap_ = first;
            endLap_ = end;
            std::uint64_t start = 0, length = 0;
            for (int i = 0; i < first; ++i) start += LapMs(laps.times[std::size_t(i)]);
            for (int i = first; i < end; ++i) length += LapMs(laps.times[std::size_t(i)]);
            startTime_ = std::uint32_t(start);
            endTime_ = std::uint32_t(start + length);
            return true;
        }
        first = end;
    }
}

void StintLoader::Read(ReplaySource& source, std::uint64_t startOffset) {
    const std::uint64_t chunk = drivers_.frameChunkOffset;
    std::uint8_t sizeBytes[4];
    if (chunk > source.size() || !source.readAt(chunk + 8, sizeBytes)) return;
    const std::uint64_t first = chunk + kChunkHeaderSize;
    // The stream ends with its data or with the file, whichever comes first.
    const std::uint64_t end = std::min<std::uint64_t>(first + LoadU32(sizeBytes), source.size());
    const std::uint64_t from = startOffset == 0 ? first : startOffset;
    if (from < first || from >= end) return;
    source.setReadLimit(end);
    RaceFrameWalk walk(source, first, end);

    // A quick race numbers qualifying 0 and race 1.
    int wanted = kind_;
    if (drivers_.quickRace) wanted = kind_ == 1 ? 0 : kind_ == 3 ? 1 : kind_;
    auto matches = [&](std::uint32_t word, std::uint32_t after) {
        return SessionWordKind(word) == wanted && SessionWordTimeMs(word) > after;
    };

    // First pass: the frame whose session word first passes the start time.
    bool found = false, corrupt = false;
    walk.Forward(from, 1, 0, [&](const RaceFrame& frame) {
        if (frame.bytes.size() < kFrameHeaderSize + kRecordHeaderSize ||
            (LoadU32(frame.bytes.data() + kFrameHeaderSize) & 0xFFFF) != RecSession)
            return true;
        const auto status =
            RaceFrameWalk::Records(frame.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                if (type == RecSession) {
                    if (body.size() < kSessionBody) {
                        corrupt = true;
                        return false;
                    }
                    if (matches(LoadU32(body.data()), startTime_)) {
                        found = true;
                        startOffset_ = frame.offset;
                        return false;
                    }
                    return true;
                }
                if (!PassedOver(type)) corrupt = true;
                return !corrupt;
            });
        if (status == RaceFrameWalk::BadRecord) corrupt = true;
        return !found && !corrupt;
    });
    // Without a start frame there is no stint to read.
    if (!found || corrupt) return;

    // Second pass: the stint's frames, until a session word passes the end
    // time.
    ParseCarStructs parser;
    std::array<float, 16> tyres{};
    std::uint32_t index = 0;
    walk.Forward(startOffset_, 1, 0, [&](const RaceFrame& frame) {
        const bool sampling = index % kFramesPerSample == 0;
        const auto status =
            RaceFrameWalk::Records(frame.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                auto need = [&](std::size_t size) {
                    if (body.size() < size) corrupt = true;
                    return !corrupt;
                };
                switch (type) {
                    case RecSession:
                        if (!need(kSessionBody)) return false;
                        if (matches(LoadU32(body.data()), endTime_)) {
                            endOffset_ = frame.offset;
                            complete_ = true;
                            return false;
                        }
                        return true;
                    case RecBlock103:
                        if (!need(kTyreBody)) return false;
                        if (sampling) std::memcpy(tyres.data(), body.data(), kTyreBody);
                        return true;
                    case RecFullCar:
                        if (!need(kFullBody)) return false;
                        if (sampling) {
                            parser.SetFullRecord(body.data());
                            samples_.push_back({index, std::uint8_t(parser.Full().oilPressure), tyres});
                        }
                        return true;
                    case RecEngineWord: {
                        if (!need(kGaugeBody)) return false;
                        const EngineWordFields e = ParseCarStructs::UnpackEngine(*parser.UnpackWord(body.data()));
                        gauges_.push_back({index, std::uint8_t(e.oilTemperature), std::uint8_t(e.waterTemperature),
                                           std::uint8_t(e.fuelPressure)});
                        return true;
                    }
                    case RecRaceControl:
                        return need(kRaceControlBody);
                    default:
                        if (!PassedOver(type)) corrupt = true;
                        return !corrupt;
                }
            });
        if (status == RaceFrameWalk::BadRecord) corrupt = true;
        ++index;
        return !complete_ && !corrupt;
    });
}

std::string StintLoader::SessionName() const {
    if (drivers_.driverCount == 2) return "Training";
    switch (kind_) {
        case 0:
            return "Practice";
        case 1:
            return "Qualifying";
        case 2:
            return "Happy Hour";
        case 3:
            return "Race";
        default:
            return "Error";
    }
}

void StintLoader::ResetIterators() {
    gaugeCursor_ = sampleCursor_ = 0;
    lapCursor_ = 0;
    lapTimeSum_ = 0;
}

bool StintLoader::NextLapTime(Point2D& p) {
    const int player = drivers_.savingPlayer;
    if (firstLap_ < 0 || lapCursor_ >= LapCount() || player < 0 || std::size_t(player) >= drivers_.drivers.size()) {
        lapCursor_ = 0;
        lapTimeSum_ = 0;
        return false;
    }
    const auto& laps = drivers_.drivers[std::size_t(player)].sessions[std::size_t(kind_)];
    const std::uint32_t ms = LapMs(laps.times[std::size_t(firstLap_ + lapCursor_)]);
    lapTimeSum_ += ms;
    p = {lapTimeSum_ / 60000.0, ms / 1000.0};
    ++lapCursor_;
    return true;
}

template <typename Value>
bool StintLoader::NextGauge(Point2D& p, Value value) {
    if (gaugeCursor_ >= gauges_.size()) {
        gaugeCursor_ = 0;
        return false;
    }
    const GaugeSample& g = gauges_[gaugeCursor_++];
    p = {g.frame / kFramesPerMinute, value(g)};
    return true;
}

template <typename Value>
bool StintLoader::NextSample(Point2D& p, Value value) {
    if (sampleCursor_ >= samples_.size()) {
        sampleCursor_ = 0;
        return false;
    }
    const StintSample& s = samples_[sampleCursor_++];
    p = {s.frame / kFramesPerMinute, value(s)};
    return true;
}

bool StintLoader::NextWaterTemp(Point2D& p) {
    return NextGauge(p, [](const GaugeSample& g) { return CelsiusToFahrenheit(g.waterTemperature); });
}
bool StintLoader::NextOilTemp(Point2D& p) {
    return NextGauge(p, [](const GaugeSample& g) { return CelsiusToFahrenheit(g.oilTemperature); });
}
bool StintLoader::NextFuelPressure(Point2D& p) {
    return NextGauge(p, [](const GaugeSample& g) { return double(g.fuelPressure); });
}
bool StintLoader::NextOilPressure(Point2D& p) {
    return NextSample(p, [](const StintSample& s) { return double(s.oilPressure); });
}
bool StintLoader::NextTireTemp(int wheel, int item, Point2D& p) {
    const std::size_t k = std::size_t(std::clamp(wheel, 0, 3) * 4 + std::clamp(item, 0, 2));
    return NextSample(p, [k](const StintSample& s) { return CelsiusToFahrenheit(s.tyres[k]); });
}
bool StintLoader::NextTirePressure(int wheel, Point2D& p) {
    const std::size_t k = std::size_t(std::clamp(wheel, 0, 3) * 4 + 3);
    return NextSample(p, [k](const StintSample& s) { return s.tyres[k] * kPsiPerKpa; });
}

}  // namespace vra
