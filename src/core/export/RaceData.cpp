#include "core/export/RaceData.h"

#include "core/base/AtomicFile.h"
#include "core/base/KeptFile.h"
#include "core/base/OutputSink.h"
#include "core/document/CarNumberText.h"
#include "core/document/ReplayFiles.h"
#include "core/document/TrackDistanceUnit.h"
#include "core/document/TrackIni.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ParseCarStructs.h"
#include "core/replay/RaceFrameWalk.h"
#include "core/replay/ReadErrorTexts.h"
#include "core/replay/ReplayFormat.h"
#include "core/replay/ReplaySource.h"

#include <fmt/format.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <vector>

namespace vra {

namespace {

constexpr double kFullDistanceStep = 0.0005;
constexpr double kFullLateralStep = 2.911741e-6;
constexpr double kFullLateralFactor = 13.27122;
constexpr double kCompactLateralStep = 2.261833e-5;
constexpr double kCompactLateralFactor = 26.6207;
// Lines are handed to the sink in blocks of about this size.
constexpr std::size_t kFlushBytes = 1u << 16;

struct CarLine {
    int driver;
    double distance, lateral;
};

// The first frame of the race: a frame whose first record is a session
// record of the race kind. False when the walk fails or no race is found;
// noRace tells the second.
bool FindRaceStart(ReplaySource& src, const Drivers& drivers, std::uint64_t first, std::uint64_t end,
                   std::uint64_t& start, bool& noRace) {
    bool found = false, bad = false;
    RaceFrameWalk walk(src, first, end);
    const auto status = walk.Forward(first, 1, 0, [&](const RaceFrame& frame) {
        bool firstRecord = true;
        const auto rs =
            RaceFrameWalk::Records(frame.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                if (firstRecord && type != RecSession) return false;
                firstRecord = false;
                if (!IsKnownRecordType(type)) {
                    bad = true;
                    return false;
                }
                if (type == RecSession && body.size() >= 4) {
                    std::uint32_t w = LoadU32(body.data());
                    if (drivers.quickRace) w = QuickRaceSessionWord(w);
                    if (SessionWordKind(w) > 2) found = true;
                }
                return true;
            });
        if (rs == RaceFrameWalk::BadRecord) bad = true;
        if (bad) return false;
        if (found) {
            start = frame.offset;
            return false;
        }
        return true;
    });
    // Every frame read whole and none of the race: the replay has no race.
    noRace = !found && !bad && status == RaceFrameWalk::Done;
    return found && !bad;
}

}  // namespace

bool RaceData::Write(ReplaySource& src, const Drivers& drivers, double distanceUnit, OutputSink& out, bool* noRace) {
    if (noRace) *noRace = false;
    const std::uint64_t first = drivers.frameChunkOffset + kChunkHeaderSize;
    const std::uint64_t end = first + drivers.frameBytes;
    if (end > src.size() || drivers.drivers.empty()) return false;
    std::uint64_t start = 0;
    bool none = false;
    if (!FindRaceStart(src, drivers, first, end, start, none)) {
        if (noRace) *noRace = none;
        return false;
    }

    const std::size_t driverCount = drivers.drivers.size();
    const int saving = drivers.savingPlayer;
    const bool savingKnown = saving >= 0 && static_cast<std::size_t>(saving) < driverCount;
    std::vector<std::string> numbers;
    numbers.reserve(driverCount);
    for (const Drivers::Driver& d : drivers.drivers)
        numbers.push_back(CarNumberText(static_cast<std::int16_t>(d.carNumber)));
    const CompactCars compact(drivers);

    ParseCarStructs parser;
    std::vector<CarLine> cars;
    fmt::memory_buffer text;
    FrameTimeFill times;
    bool bad = false, sinkFailed = false;
    RaceFrameWalk walk(src, start, end);
    src.setReadLimit(end);
    const auto status = walk.Forward(start, 0, 0, [&](const RaceFrame& frame) {
        cars.clear();
        std::uint32_t time = 0;
        const auto rs =
            RaceFrameWalk::Records(frame.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                switch (type) {
                    case RecSession:
                        if (body.size() >= 4) time = (LoadU32(body.data()) >> 8) * 10;
                        return true;
                    case RecFullCar: {
                        if (!savingKnown || body.size() < kFullRecordSize) return true;
                        parser.SetFullRecord(body.data());
                        const FullCarFields full = parser.Full();
                        cars.push_back({saving, static_cast<double>(full.distance) * kFullDistanceStep,
                                        std::tan(full.lateral * kFullLateralStep) * kFullLateralFactor});
                        return true;
                    }
                    case RecCompactCars:
                        compact.ForEach(body, [&](int d, const CompactCarFields& c) {
                            cars.push_back({d, static_cast<double>(c.distance) * distanceUnit,
                                            std::tan(c.lateral * kCompactLateralStep) * kCompactLateralFactor});
                        });
                        return true;
                    default:
                        if (IsKnownRecordType(type)) return true;
                        bad = true;
                        return false;
                }
            });
        if (rs != RaceFrameWalk::Done) bad = true;
        if (bad) return false;
        if (frame.number == 0)
            times = FrameTimeFill(time);
        else
            time = times(time);
        for (const CarLine& car : cars)
            fmt::format_to(std::back_inserter(text), "{},{},{},{},{:.3f},{:.3f}\r\n", frame.number, time, car.driver,
                           numbers[static_cast<std::size_t>(car.driver)], car.distance, car.lateral);
        if (text.size() >= kFlushBytes) {
            if (!out.write(std::string_view(text.data(), text.size()))) {
                sinkFailed = true;
                return false;
            }
            text.clear();
        }
        return true;
    });
    if (bad || sinkFailed || status != RaceFrameWalk::Done) return false;
    return out.write(std::string_view(text.data(), text.size()));
}

int RaceData::Run() {
    replayProblem_.clear();
    outputError_.clear();
    Header header;
    if (header.Read(replay_) != Header::Ok) {
        replayProblem_ = kHeaderReadErrorText;
        return 0;
    }
    Drivers drivers;
    if (drivers.Load(replay_) != Drivers::LoadResult::Ok) {
        // The reader's own word (too many drivers) comes before its verdict.
        replayProblem_ = drivers.Message().empty() ? std::string(kDriversReadErrorText)
                                                   : drivers.Message() + "\r\n" + std::string(kDriversReadErrorText);
        return 0;
    }
    if (drivers.driverCount != drivers.loadedCount) {
        replayProblem_ = kDriverCountsErrorText;
        return 0;
    }
    double unit = kDefaultTrackDistanceUnit;
    if (!simFolder_.empty()) {
        if (const auto length = ReadTrackIniLength(simFolder_, header.trackName); length && *length > 0.0)
            unit = TrackDistanceUnitFor(*length);
    }
    ReplaySource src(replay_, ReplaySource::Access::Sequential);
    if (!src.isOpen()) {
        replayProblem_ = kHeaderReadErrorText;
        return 0;
    }
    if (output_.empty()) {
        outputError_ = std::make_error_code(std::errc::no_such_file_or_directory);
        return 0;
    }
    // A slip in the output's name must not cost the race: the replay, under
    // this name, another or through a link, is never written over.
    if (IsSameFile(replay_, output_)) {
        replayProblem_ = kOutputIsReplayText;
        return 0;
    }
    AtomicFile file(output_);
    bool noRace = false;
    if (file.isOpen() && Write(src, drivers, unit, file, &noRace) && file.commit()) return 1;
    if (file.error())
        outputError_ = file.error();
    else
        replayProblem_ = noRace ? kRaceDataNoRaceText : kRaceDataDamagedText;
    return 0;
}

}  // namespace vra
