#include "core/playback/RaceModel.h"

#include "core/base/ByteCursor.h"
#include "core/platform/Prompts.h"
#include "core/platform/WaitBox.h"
#include "core/replay/Drivers.h"
#include "core/replay/Header.h"
#include "core/replay/ParseCarStructs.h"
#include "core/replay/RaceFrameWalk.h"
#include "core/replay/ReplayFormat.h"
#include "core/replay/ReplaySource.h"
#include "core/track/CoreDisplay.h"
#include "core/track/TrackPath.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vra {

namespace {

constexpr std::uint16_t kNoFlag = 65535;
constexpr std::uint32_t kProgressEvery = 360;
constexpr double kHeadingStep = 0.087890625;
constexpr double kFullLateralStep = 2.911741e-6;
constexpr double kFullLateralFactor = 13.0;
constexpr double kCompactLateralStep = 2.261833e-5;
constexpr double kCompactLateralFactor = 26.6207;
constexpr std::uint32_t kKeyMask = 0xFFFFFF;
constexpr std::uint64_t kLapSnapMs = 1000;
constexpr std::uint64_t kLapLandMs = 300;
constexpr std::uint64_t kReserveFrames = 1u << 18;  // over two hours at 36 frames a second
constexpr std::uintptr_t kPrefetchAhead = 2048;     // bytes: two or three frames

double HeadingDegrees(std::int32_t raw) {
    return static_cast<double>(raw) * kHeadingStep * -1.0 + 180.0;
}

const char* StateText(std::uint16_t state) {
    switch (state) {
        case 1:
            return "Pace lap";
        case 2:
            return "Green flag raised";
        case 3:
            return "Green flag drops!";
        case 4:
            return "Green flag racing";
        case 5:
            return "Yellow flag racing";
        case 7:
            return "White flag waved";
        case 8:
            return "Chequered flag waved";
        default:
            return nullptr;
    }
}

std::string ShortName(const Drivers::Driver& d) {
    std::string s;
    if (!d.firstName.empty()) s += d.firstName[0];
    s += ' ';
    s += d.lastName;
    return s;
}

}  // namespace

std::string FormatRaceElapsed(std::uint64_t ms) {
    const std::uint64_t s = (ms + 500) / 1000;
    return fmt::format("{}:{:02}", s / 60, s % 60);
}

const char* FlagStateText(std::uint16_t state) {
    return StateText(state);
}

std::string FormatRaceGap(std::uint64_t ms) {
    return fmt::format("{}:{:02}.{:03}", ms / 60000, (ms / 1000) % 60, ms % 1000);
}

bool RaceModel::Load(const Drivers& drivers, const Header& header, const TrackPath* trackPath, double distanceUnit,
                     Prompts& prompts, WaitBox* wait) {
    ReplaySource src(drivers.path, ReplaySource::Access::Sequential);
    if (!src.isOpen()) {
        Unload();
        prompts.alert(kRaceReadErrorText);
        return false;
    }
    return Load(src, drivers, header, trackPath, distanceUnit, prompts, wait);
}

bool RaceModel::Load(ReplaySource& src, const Drivers& drivers, const Header& header, const TrackPath* trackPath,
                     double distanceUnit, Prompts& prompts, WaitBox* wait) {
    Unload();
    trackPath_ = trackPath;
    marker_ = std::make_unique<CarMarker>(trackPath);
    followed_ = kNoDriver;
    if (wait) wait->Show(kRaceSearchText);
    auto fail = [&] {
        if (wait) wait->Hide();
        Unload();
        prompts.alert(kRaceReadErrorText);
        return false;
    };

    const std::uint64_t first = drivers.frameChunkOffset + kChunkHeaderSize;
    const std::uint64_t end = first + drivers.frameBytes;
    if (end > src.size()) return fail();
    bool raceFound = false;
    if (!findRaceStart(src, drivers, first, end, raceFound) || !raceFound) return fail();
    if (raceStartValue_ == 0) prompts.message(kRaceNoStartValueText, {}, Icon::None, Buttons::Ok);

    // The header's frame count less the race-start value is only a guess at
    // the race's length: it sizes the progress bar and the first reserve.
    const std::int64_t guess =
        std::max<std::int64_t>(0, static_cast<std::int64_t>(header.frameCount) - raceStartValue_) + 100;
    const std::uint64_t possible = (end - raceStartOffset_) / kFrameHeaderSize + 1;
    const std::uint64_t capacity = std::min<std::uint64_t>(
        {static_cast<std::uint64_t>(guess), possible, std::numeric_limits<std::int32_t>::max()});
    // The header is not trusted with more than a long race's worth up front.
    const std::size_t reserve = static_cast<std::size_t>(std::min<std::uint64_t>(capacity, kReserveFrames));
    if (wait) {
        wait->SetText(kRaceLoadText);
        wait->SetRange(0, static_cast<std::int32_t>(capacity));
        wait->ShowProgress();
    }
    names_.clear();
    kinds_.clear();
    colours_.clear();
    for (const Drivers::Driver& d : drivers.drivers) {
        names_.push_back(ShortName(d));
        kinds_.push_back(d.type);
        colours_.push_back(d.carNumber == kPaceCarNumber ? 8 : d.carNumber % 5);
    }
    driverCount_ = drivers.drivers.size();
    times_.reserve(reserve);
    states_.reserve(reserve);
    firstPlace_.reserve(reserve + 1);
    firstPlace_.push_back(0);
    // At most one car per 16 bytes of the race's frames.
    if (carsWanted_) places_.reserve(static_cast<std::size_t>((end - raceStartOffset_) / kCompactRecordSize));
    if (!readFrames(src, drivers, end, distanceUnit, wait) || times_.empty()) return fail();
    frameCount_ = static_cast<std::uint32_t>(times_.size());

    fillGaps();
    texts_ = {};
    texts_.scheduledLaps = fmt::format("{}", header.raceLaps);
    carDraw_ = CarDraw::Scale;
    drawMode_ = 0;
    focus_ = Focus::Leader;
    selected_ = 0;
    buildLapTables(drivers);
    ClearStatus();
    poses_.assign(names_.size(), {});
    order_.resize(names_.size());
    keys_.assign(names_.size(), 0);
    for (std::size_t d = 0; d < order_.size(); ++d) order_[d] = static_cast<int>(d);
    followedPoint_ = {};
    loaded_ = true;
    UpdateStatus(0);
    if (wait) wait->Hide();
    return true;
}

void RaceModel::Unload() {
    loaded_ = false;
    frameCount_ = 0;
    current_ = 0;
    raceStartValue_ = 0;
    raceStartOffset_ = 0;
    times_ = {};
    states_ = {};
    places_ = {};
    firstPlace_ = {};
    driverCount_ = 0;
    crossings_.clear();
    leaderTime_.clear();
    leader_.clear();
    lapWords_.clear();
    laps_.clear();
    maxLaps_ = 0;
    finishTime_ = kNoCrossing;
    marker_.reset();
    trackPath_ = nullptr;
    // Nothing of the race may show after it is gone.
    poses_.clear();
    order_.clear();
    keys_.clear();
    followed_ = kNoDriver;
    followedPoint_ = {};
    drawMode_ = 0;
}

bool RaceModel::findRaceStart(ReplaySource& src, const Drivers& drivers, std::uint64_t first, std::uint64_t end,
                              bool& raceFound) {
    raceStartOffset_ = 0;
    raceStartValue_ = 0;
    raceFound = false;
    bool unknown = false;
    RaceFrameWalk walk(src, first, end);
    const auto status = walk.Forward(first, 1, 0, [&](const RaceFrame& frame) {
        raceStartOffset_ = frame.offset;
        bool firstRecord = true;
        bool race = false;
        const auto rs =
            RaceFrameWalk::Records(frame.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                if (firstRecord && type != RecSession) return false;  // not a frame of interest
                firstRecord = false;
                if (type == RecSession && body.size() >= 4) {
                    std::uint32_t w = LoadU32(body.data());
                    if (drivers.quickRace) w = QuickRaceSessionWord(w);
                    if (SessionWordKind(w) > 2) race = true;
                } else if (type == RecRaceStart && body.size() >= 4) {
                    raceStartValue_ = LoadU32(body.data());
                } else if (!IsKnownRecordType(type)) {
                    unknown = true;
                    return false;
                }
                return true;
            });
        if (unknown) return false;
        if (rs == RaceFrameWalk::BadRecord) {
            unknown = true;
            return false;
        }
        if (race) {
            raceFound = true;
            return false;
        }
        return true;
    });
    if (raceFound) return true;
    return status == RaceFrameWalk::Done && !unknown;
}

bool RaceModel::readFrames(ReplaySource& src, const Drivers& drivers, std::uint64_t end, double distanceUnit,
                           WaitBox* wait) {
    const std::size_t driverCount = driverCount_;
    unit_ = static_cast<float>(distanceUnit);
    const int saving = drivers.savingPlayer;
    ParseCarStructs parser;
    const CompactKeys compactKeys = CompactKeysOf(drivers);
    bool bad = false;
    RaceFrameWalk walk(src, raceStartOffset_, end);
    src.setReadLimit(end);
    const auto status = walk.Forward(raceStartOffset_, 1, 0, [&](const RaceFrame& frame) {
        const std::size_t f = times_.size();
        if (wait && f % kProgressEvery == 0)
            wait->SetPos(static_cast<std::int32_t>(std::min<std::size_t>(f, INT32_MAX)));
        times_.push_back(0);
        states_.push_back(kNoFlag);
        // The walk goes from record to record by their lengths, each step
        // waiting for the last; frames a little ahead are asked for early.
        // (A prefetch never faults, also past the bytes read.)
        const auto here = reinterpret_cast<std::uintptr_t>(frame.bytes.data());
        for (std::size_t at = 0; at < frame.bytes.size(); at += 64)
            __builtin_prefetch(reinterpret_cast<const void*>(here + at + kPrefetchAhead));
        const auto rs =
            RaceFrameWalk::Records(frame.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                switch (type) {
                    case RecSession:
                        if (body.size() >= 4) times_[f] = (LoadU32(body.data()) >> 8) * 10;
                        return true;
                    case RecRaceControl:
                        if (body.size() >= 5 && body[0] == 1) states_[f] = body[4];
                        return true;
                    case RecFullCar: {
                        if (!carsWanted_ || body.size() < kFullRecordSize) return true;
                        if (saving < 0 || static_cast<std::size_t>(saving) >= driverCount) return true;
                        parser.SetFullRecord(body.data());
                        const FullCarFields full = parser.Full();
                        fullDriver_ = static_cast<std::uint8_t>(saving);
                        places_.push_back(PlaceFull(full.distance, full.heading, full.lateral));
                        return true;
                    }
                    case RecCompactCars: {
                        if (!carsWanted_) return true;
                        // Written through a local pointer: stores through the
                        // vector would make the compiler reload its end each car.
                        const std::size_t before = places_.size();
                        places_.resize(before + body.size() / kCompactRecordSize);
                        const Placed* out = PlaceCompactCars(body, compactKeys, places_.data() + before);
                        places_.resize(static_cast<std::size_t>(out - places_.data()));
                        return true;
                    }
                    default:
                        if (type == RecRaceStart || IsKnownRecordType(type)) return true;
                        bad = true;
                        return false;
                }
            });
        if (rs != RaceFrameWalk::Done) bad = true;
        firstPlace_.push_back(places_.size());
        return !bad;
    });
    return !bad && status == RaceFrameWalk::Done;
}

void RaceModel::fillGaps() {
    const std::uint32_t count = frameCount_;
    std::uint16_t lastFlag = 0;
    FrameTimeFill times(times_[0]);
    std::vector<std::uint16_t> raw(count, 0);
    for (std::uint32_t f = 1; f < count; ++f) {
        if (states_[f] != kNoFlag) lastFlag = states_[f];
        raw[f] = lastFlag;
        times_[f] = times(times_[f]);
    }
    states_[0] = 0;
    std::uint16_t previous = 0;
    std::uint16_t state = 1;
    for (std::uint32_t f = 1; f < count; ++f) {
        if (raw[f] != previous) {
            switch (raw[f]) {
                case 0:
                    state = 1;
                    break;
                case 1:
                    state = 8;
                    break;
                case 2:
                    state = 7;
                    break;
                case 4:
                    state = 4;
                    break;
                case 8:
                    state = 5;
                    break;
                default:
                    break;
            }
            previous = raw[f];
        }
        states_[f] = state;
    }
}

void RaceModel::buildLapTables(const Drivers& drivers) {
    const std::size_t n = drivers.drivers.size();
    laps_.assign(n, 0);
    maxLaps_ = 0;
    for (std::size_t d = 0; d < n; ++d) {
        laps_[d] = std::clamp(drivers.drivers[d].sessions[Race].count, 0, kMaxLaps);
        maxLaps_ = std::max(maxLaps_, laps_[d]);
    }
    // One row past the longest race: the search for a driver's running lap
    // always ends on a row without a crossing.
    const std::size_t rows = static_cast<std::size_t>(maxLaps_) + 2;
    crossings_.assign(rows * n, kNoCrossing);
    lapWords_.assign(rows * n, 0);
    leaderTime_.assign(rows, kNoCrossing);
    leader_.assign(rows, -1);
    finishTime_ = kNoCrossing;
    std::uint64_t finish = 0;
    bool anyFinish = false;
    for (std::size_t d = 0; d < n; ++d) {
        const auto& times = drivers.drivers[d].sessions[Race].times;
        if (laps_[d] == 0 && times[0] == kLapTableFill) continue;
        std::uint64_t at = times[0] & LapWord::TimeMask;
        crossings_[d] = at;
        for (int L = 1; L <= laps_[d]; ++L) {
            const std::uint32_t word = times[static_cast<std::size_t>(L)];
            at += word & LapWord::TimeMask;
            crossings_[static_cast<std::size_t>(L) * n + d] = at;
            lapWords_[static_cast<std::size_t>(L) * n + d] = word;
        }
        if (laps_[d] > 0) {
            finish = std::max(finish, at);
            anyFinish = true;
        }
    }
    if (anyFinish) finishTime_ = finish;
    for (std::size_t L = 0; L < rows; ++L) {
        for (std::size_t d = 0; d < n; ++d) {
            const std::uint64_t c = crossings_[L * n + d];
            if (c < leaderTime_[L]) {
                leaderTime_[L] = c;
                leader_[L] = static_cast<int>(d);
            }
        }
    }
}

RaceModel::Placed RaceModel::PlaceCompact(std::uint32_t distance, std::uint8_t driver, std::int32_t heading,
                                          std::int32_t lateral) {
    const std::uint64_t low = (distance & 0xFFFFFF) | (std::uint32_t{driver} << 24);
    const std::uint64_t high = (static_cast<std::uint32_t>(heading) & 0xFFF) |
                               ((static_cast<std::uint32_t>(lateral) & 0x1FFFF) << 12) | (1u << 31);
    return {low | (high << 32)};
}

RaceModel::Placed RaceModel::PlaceFull(std::uint32_t distance, std::int32_t heading, std::int32_t lateral) {
    return {(distance & 0x3FFFFFF) | (std::uint64_t{static_cast<std::uint32_t>(heading) & 0xFFF} << 26) |
            (std::uint64_t{static_cast<std::uint32_t>(lateral) & 0xFFFFF} << 38)};
}

RaceModel::CompactKeys RaceModel::CompactKeysOf(const Drivers& drivers) {
    const CompactCars compact(drivers);
    CompactKeys keys{};
    for (std::size_t id = 0; id < keys.size(); ++id) {
        const int d = compact.DriverOf(static_cast<std::uint8_t>(id));
        if (d >= 0) keys[id] = PlaceCompact(0, static_cast<std::uint8_t>(d), 0, 0).bits;
    }
    return keys;
}

// A compact record's second word holds the distance in its low 24 bits and
// the car-id byte above them; its fourth holds the heading and lateral codes
// in the bits a Placed keeps them in (0-11, 12-28). So a car's Placed is two
// of its record's words, masked, with the driver's key put over the car id.
// A race holds a million cars or more, and this is most of its load.
RaceModel::Placed* RaceModel::PlaceCompactCars(std::span<const std::uint8_t> body, const CompactKeys& keys,
                                               Placed* out) {
    static_assert(kCompactRecordSize == 16);
    const std::uint8_t* r = body.data();
    const std::uint8_t* const stop = r + body.size() / kCompactRecordSize * kCompactRecordSize;
    auto one = [&](const std::uint8_t* q) {
        const std::uint64_t key = keys[q[7]];
        if (key != 0) *out++ = Placed{key | (LoadU32(q + 4) & 0xFFFFFF) | (LoadU64(q + 8) & 0x1FFFFFFF00000000)};
    };
#if defined(__SSE2__)
    // Two cars at a time while both name a driver: their second and fourth
    // words side by side are the two Placed.
    const __m128i keep = _mm_set_epi32(0x1FFFFFFF, 0xFFFFFF, 0x1FFFFFFF, 0xFFFFFF);
    for (; stop - r >= 2 * 16; r += 2 * 16) {
        const std::uint64_t k0 = keys[r[7]], k1 = keys[r[16 + 7]];
        if (k0 == 0 || k1 == 0) {
            one(r);
            one(r + 16);
            continue;
        }
        const __m128 a = _mm_loadu_ps(reinterpret_cast<const float*>(r));
        const __m128 b = _mm_loadu_ps(reinterpret_cast<const float*>(r + 16));
        const __m128i words = _mm_castps_si128(_mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1)));
        const __m128i key = _mm_set_epi64x(static_cast<long long>(k1), static_cast<long long>(k0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(_mm_and_si128(words, keep), key));
        out += 2;
    }
#endif
    for (; r < stop; r += 16) one(r);
    return out;
}

std::uint8_t RaceModel::DriverOf(Placed p) const {
    return p.bits >> 63 ? static_cast<std::uint8_t>(p.bits >> 24) : fullDriver_;
}

RaceModel::CarSample RaceModel::SampleOf(Placed p) const {
    using car_bits::SignedBits;
    if (p.bits >> 63) {
        const auto high = static_cast<std::uint32_t>(p.bits >> 32);
        const double distance = static_cast<double>(static_cast<float>(p.bits & 0xFFFFFF) * unit_);
        const double lateral =
            std::tan(static_cast<double>(SignedBits(high, 12, 17)) * kCompactLateralStep) * kCompactLateralFactor;
        return {distance, lateral, HeadingDegrees(SignedBits(high, 0, 12)), true};
    }
    const double distance = static_cast<double>(p.bits & 0x3FFFFFF) * 0.0005;
    const double lateral =
        std::tan(static_cast<double>(SignedBits(static_cast<std::uint32_t>(p.bits >> 38), 0, 20)) * kFullLateralStep) *
        kFullLateralFactor;
    return {distance, lateral, HeadingDegrees(SignedBits(static_cast<std::uint32_t>(p.bits >> 26), 0, 12)), true};
}

RaceModel::CarSample RaceModel::Sample(int driver, std::uint32_t f) const {
    if (driver < 0 || f >= frameCount_) return {};
    // A car met twice in a frame is where its last record puts it.
    for (std::size_t i = firstPlace_[f + 1]; i-- > firstPlace_[f];) {
        const Placed p = places_[i];
        if (DriverOf(p) == driver) return SampleOf(p);
    }
    return {};
}

std::uint64_t RaceModel::Crossing(int lap, int driver) const {
    const std::size_t n = names_.size();
    if (lap < 0 || lap > maxLaps_ + 1 || driver < 0 || static_cast<std::size_t>(driver) >= n || crossings_.empty())
        return kNoCrossing;
    return crossings_[static_cast<std::size_t>(lap) * n + static_cast<std::size_t>(driver)];
}

std::uint64_t RaceModel::LapLeaderTime(int lap) const {
    if (lap < 0 || static_cast<std::size_t>(lap) >= leaderTime_.size()) return kNoCrossing;
    return leaderTime_[static_cast<std::size_t>(lap)];
}

int RaceModel::LapLeader(int lap) const {
    if (lap < 0 || static_cast<std::size_t>(lap) >= leader_.size()) return -1;
    return leader_[static_cast<std::size_t>(lap)];
}

void RaceModel::SetFocus(Focus focus) {
    focus_ = focus;
    if (focus == Focus::Manual) followed_ = kNoDriver;
}

RaceModel::DrawResult RaceModel::DrawFrame(std::uint32_t f, CoreDisplay& display) {
    if (!loaded_) return DrawResult::Nothing;
    if (f >= frameCount_) return DrawResult::PastEnd;
    const std::size_t n = names_.size();
    const double length = trackPath_ ? trackPath_->Length() : 0.0;
    std::vector<std::uint64_t> sortKeys(n);
    bool drawn = false;
    for (std::size_t d = 0; d < n; ++d) {
        poses_[d] = {};
        poses_[d].colour = colours_[d];
        sortKeys[d] = static_cast<std::uint64_t>(d) << 24;
    }
    for (std::size_t i = firstPlace_[f]; i < firstPlace_[f + 1]; ++i) {
        const CarSample s = SampleOf(places_[i]);
        const std::size_t d = DriverOf(places_[i]);
        CarPose& pose = poses_[d];
        pose.present = false;
        sortKeys[d] = static_cast<std::uint64_t>(d) << 24;
        if (!trackPath_) continue;
        double distance = s.distance;
        // A distance at or past the line belongs to the next lap's start.
        if (length > 0.0 && distance >= length) distance -= length;
        if (trackPath_->FindPieceAtDistance(distance) < 0) continue;
        marker_->TrackToDevice(display, pose.device, distance, s.lateral);
        pose.present = true;
        pose.heading = s.heading;
        const auto key = static_cast<std::uint32_t>(std::clamp(std::trunc(distance * 10.0), 0.0, double(kKeyMask)));
        sortKeys[d] |= key;
    }
    // A car met twice in a frame is where its last record puts it, and that
    // place may lie off the track: only the cars still placed were drawn.
    for (const CarPose& pose : poses_) drawn = drawn || pose.present;
    std::stable_sort(sortKeys.begin(), sortKeys.end(),
                     [](std::uint64_t a, std::uint64_t b) { return (a & kKeyMask) > (b & kKeyMask); });
    for (std::size_t p = 0; p < n; ++p) {
        order_[p] = static_cast<int>(sortKeys[p] >> 24);
        keys_[p] = static_cast<std::uint32_t>(sortKeys[p] & kKeyMask);
    }
    if (drawn) drawMode_ = static_cast<int>(carDraw_);

    const std::uint64_t t = times_[f];
    switch (focus_) {
        case Focus::Manual:
            followed_ = kNoDriver;
            break;
        case Focus::Leader:
            if (t > LapLeaderTime(0)) {
                followed_ = LapLeader(shownLap_);
            } else if (n > 0) {
                followed_ = order_[0];
                if (n > 1 && kinds_[static_cast<std::size_t>(order_[0])] == DriverNonCompeting) followed_ = order_[1];
            }
            break;
        case Focus::Driver:
            followed_ = selected_ >= 0 && static_cast<std::size_t>(selected_) < n ? selected_ : kNoDriver;
            break;
    }
    // A followed car missing from this frame leaves the map where it was.
    if (followed_ >= 0 && poses_[static_cast<std::size_t>(followed_)].present)
        followedPoint_ = poses_[static_cast<std::size_t>(followed_)].device;
    UpdateStatus(f);
    return drawn ? DrawResult::Drawn : DrawResult::Nothing;
}

void RaceModel::PaintCars(CoreDisplay& display) {
    if (!loaded_ || !marker_) return;
    for (const CarPose& pose : poses_) {
        if (!pose.present) continue;
        switch (carDraw_) {
            case CarDraw::Scale:
                marker_->Draw(display, pose.device, pose.heading, pose.colour, false);
                break;
            case CarDraw::Oversized:
                marker_->Draw(display, pose.device, pose.heading, pose.colour, true);
                break;
            case CarDraw::Circle:
                marker_->DrawDot(display, pose.device, pose.colour);
                break;
        }
    }
}

void RaceModel::ClearStatus() {
    texts_.currentLap.clear();
    texts_.leader.clear();
    texts_.status.clear();
    texts_.elapsed.clear();
    shownLap_ = 0;
}

void RaceModel::UpdateStatus(std::uint32_t f) {
    if (!loaded_ || f >= frameCount_) return;
    const std::uint64_t t = times_[f];
    const std::size_t n = names_.size();
    texts_.elapsed = FormatRaceElapsed(t);
    if (const char* s = StateText(states_[f])) texts_.status = s;
    if (t > finishTime_) texts_.status = kAllCarsFinishedText;

    int k = 0;
    while (k < maxLaps_ && t > LapLeaderTime(k + 1)) ++k;
    if (t > LapLeaderTime(0)) {
        texts_.currentLap = fmt::format("{}", k + 1);
        if (k != shownLap_ || k == 0) {
            const int leader = LapLeader(k);
            texts_.leader = leader >= 0 ? names_[static_cast<std::size_t>(leader)] : std::string();
        }
    } else {
        texts_.currentLap.clear();
        texts_.leader.clear();
    }
    shownLap_ = k;

    auto clearLapTexts = [&] {
        texts_.driverLap.clear();
        texts_.gapAhead.clear();
        texts_.position.clear();
        texts_.gapBehind.clear();
        texts_.lastLap.clear();
    };
    const int d = followed_;
    if (focus_ == Focus::Manual || d < 0 || static_cast<std::size_t>(d) >= n) {
        texts_.name.clear();
        clearLapTexts();
    } else {
        texts_.name = names_[static_cast<std::size_t>(d)];
        int j = 0;
        while (j < maxLaps_ && t > Crossing(j + 1, d)) ++j;
        if (!(t > Crossing(0, d))) {
            clearLapTexts();
        } else {
            texts_.driverLap = fmt::format("{}", j + 1);
            const std::uint64_t c = Crossing(j, d);
            int ahead = 0;
            std::uint64_t gapAhead = kNoCrossing, gapBehind = kNoCrossing, behindAt = 0;
            for (std::size_t e = 0; e < n; ++e) {
                if (laps_[e] < j) continue;
                const std::uint64_t a = Crossing(j, static_cast<int>(e));
                if (a == kNoCrossing) continue;
                if (a < c) {
                    ++ahead;
                    gapAhead = std::min(gapAhead, c - a);
                } else if (a > c && a - c < gapBehind) {
                    gapBehind = a - c;
                    behindAt = a;
                }
            }
            texts_.gapAhead = ahead > 0 ? FormatRaceGap(gapAhead) : std::string();
            texts_.gapBehind = gapBehind != kNoCrossing && t > behindAt ? FormatRaceGap(gapBehind) : std::string();
            texts_.lastLap =
                t > Crossing(1, d) && j >= 1
                    ? FormatRaceGap(lapWords_[static_cast<std::size_t>(j) * n + static_cast<std::size_t>(d)] &
                                    LapWord::TimeMask)
                    : std::string();
            texts_.position = fmt::format("{}", ahead + 1);
        }
    }
    current_ = f;
}

int RaceModel::placeOf(int driver) const {
    for (std::size_t p = 0; p < order_.size(); ++p)
        if (order_[p] == driver) return static_cast<int>(p);
    return -1;
}

std::optional<int> RaceModel::focusOn(int driver) {
    focus_ = Focus::Driver;
    selected_ = driver;
    return driver;
}

std::optional<int> RaceModel::DriverAhead() {
    if (!loaded_ || followed_ < 0) return std::nullopt;
    const int p = placeOf(followed_);
    if (p < 0) return std::nullopt;
    if (p > 0) return focusOn(order_[static_cast<std::size_t>(p - 1)]);
    for (std::size_t q = order_.size(); q-- > 0;)
        if (keys_[q] != 0) return focusOn(order_[q]);
    return std::nullopt;
}

std::optional<int> RaceModel::DriverBehind() {
    if (!loaded_ || followed_ < 0) return std::nullopt;
    const int p = placeOf(followed_);
    if (p < 0) return std::nullopt;
    const std::size_t next = static_cast<std::size_t>(p) + 1;
    if (next < order_.size() && keys_[next] != 0) return focusOn(order_[next]);
    return focusOn(order_[0]);
}

std::optional<int> RaceModel::ClosestFight() {
    if (!loaded_ || keys_.size() < 2 || keys_[1] == 0) return std::nullopt;
    std::size_t best = 1;
    std::uint32_t bestGap = keys_[0] - keys_[1];
    for (std::size_t p = 2; p < keys_.size() && keys_[p] != 0; ++p) {
        const std::uint32_t gap = keys_[p - 1] - keys_[p];
        if (gap < bestGap) {
            bestGap = gap;
            best = p;
        }
    }
    return focusOn(order_[best]);
}

std::optional<std::uint32_t> RaceModel::lapTarget(bool next, bool fastReverse) {
    if (!loaded_ || followed_ < 0) return std::nullopt;
    const int d = followed_;
    const std::uint64_t now = times_[current_];
    int L = 0;
    while (L <= maxLaps_ && Crossing(L, d) < now) ++L;
    if (fastReverse) ++L;
    int row = next ? L : L - 1;
    if (row < 0 || row > maxLaps_ + 1) return std::nullopt;
    // Close to a crossing the button moves on by one more lap, so that
    // pressing it again does not land on the same place.
    const std::uint64_t c = Crossing(row, d);
    if (c == kNoCrossing) return std::nullopt;
    if (next && c >= now && c - now < kLapSnapMs) ++row;
    if (!next && c <= now && now - c < kLapSnapMs) --row;
    if (row < 0) return std::nullopt;
    const std::uint64_t crossing = Crossing(row, d);
    if (crossing == kNoCrossing) return std::nullopt;
    const std::uint64_t target = crossing + kLapLandMs;
    std::optional<std::uint32_t> found;
    if (next) {
        for (std::uint32_t f = current_; f < frameCount_; ++f)
            if (times_[f] >= target) {
                found = f;
                break;
            }
    } else {
        for (std::uint32_t f = current_ + 1; f-- > 0;)
            if (times_[f] <= target) {
                found = f;
                break;
            }
    }
    if (!found || *found == 0 || *found >= frameCount_) return std::nullopt;
    UpdateStatus(*found);
    return found;
}

std::optional<std::uint32_t> RaceModel::NextLap(bool fastReverse) {
    return lapTarget(true, fastReverse);
}

std::optional<std::uint32_t> RaceModel::PreviousLap(bool fastReverse) {
    return lapTarget(false, fastReverse);
}

bool RaceModel::SliderMoved(std::uint32_t position) {
    if (!loaded_ || position >= frameCount_ || position == current_) return false;
    UpdateStatus(position);
    return true;
}

}  // namespace vra
