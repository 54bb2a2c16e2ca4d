#include "core/replay/GetRpyInfo.h"

#include "core/replay/RaceFrameWalk.h"
#include "core/replay/RecordLayout.h"
#include "core/replay/ReplaySource.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace vra {

namespace {

template <typename T>
void Zeroed(std::vector<T>& v, std::size_t n) {
    v.assign(n, T{});
}

// Keeps entry 0 and entries off + 1 .. off + count as the new 1 .. count.
template <typename T>
void ShiftDown(std::vector<T>& v, std::size_t off, std::size_t count) {
    if (v.empty()) return;
    for (std::size_t i = 1; i <= count; ++i) v[i] = v[off + i];
    v.resize(count + 1);
}

// The frame at p, its size checked against the end of the frame chunk: a
// view of its first bytes (enough for the header and the first record's
// session word), or of all of it when whole is set. 0 or a failure result.
GetRpyInfo::Result FrameAt(ReplaySource& src, std::uint64_t p, std::uint64_t frameEnd, bool whole,
                           std::span<const std::uint8_t>& f, std::uint16_t& size) {
    if (frameEnd - p < kFrameHeaderSize) return GetRpyInfo::Result::Corrupt;
    const std::size_t look = static_cast<std::size_t>(std::min<std::uint64_t>(16, frameEnd - p));
    if (!src.window(p, look, f)) return GetRpyInfo::Result::SeekFailed;
    size = LoadU16(f.data());
    if (size < kFrameHeaderSize || size > frameEnd - p) return GetRpyInfo::Result::Corrupt;
    if (whole && !src.window(p, size, f)) return GetRpyInfo::Result::SeekFailed;
    return GetRpyInfo::Result::Ok;
}

// One engine block into its sample, each size a constant: a lap copies six
// blocks a frame.
void CopyBlock(int type, const std::uint8_t* body, std::uint8_t* to) {
    static_assert(kEngineBlockCount == 6);
    switch (type) {
        case 0:
            std::memcpy(to, body, kEngineBlockSize[0]);
            break;
        case 1:
            std::memcpy(to, body, kEngineBlockSize[1]);
            break;
        case 2:
            std::memcpy(to, body, kEngineBlockSize[2]);
            break;
        case 3:
            std::memcpy(to, body, kEngineBlockSize[3]);
            break;
        case 4:
            std::memcpy(to, body, kEngineBlockSize[4]);
            break;
        default:
            std::memcpy(to, body, kEngineBlockSize[5]);
            break;
    }
}

// What the records of a frame give the lap, by the offsets of their bodies in
// the frame (0: none), for a frame whose records all pass the pass's checks
// and hold at most one full record, engine word and compact record that the
// lap takes: a frame laid out the same way is then read from these places.
struct FramePlan {
    bool usable = false;
    bool plain = false;  // the first record is no session record: the index lists no such frame
    std::uint16_t full = 0, engine = 0, compact = 0;
    std::uint32_t compactSize = 0;
    std::array<std::uint16_t, kEngineBlockCount> block{};
    std::uint32_t blockTypes = 0;
};

FramePlan PlanOf(const std::uint16_t* at, const std::uint32_t* heads, int count, bool saving) {
    FramePlan p;
    for (int r = 0; r < count; ++r) {
        const std::uint32_t type = heads[r] & 0xFFFF;
        const std::uint32_t bodySize = (heads[r] >> 16) - kRecordHeaderSize;
        const auto body = static_cast<std::uint16_t>(at[r] + kRecordHeaderSize);
        switch (type) {
            case RecFullCar:
                if (bodySize < kFullRecordSize || (saving && p.full != 0)) return {};
                if (saving) p.full = body;
                break;
            case RecEngineWord:
                if (bodySize < 4 || (saving && p.engine != 0)) return {};
                if (saving) p.engine = body;
                break;
            case RecCompactCars:
                if (!saving && p.compact != 0) return {};
                if (!saving) {
                    p.compact = body;
                    p.compactSize = bodySize;
                }
                break;
            case RecSession:
            case RecRaceStart:
                if (bodySize < 4) return {};
                break;
            default:
                if (type >= RecBlock100 && type <= RecBlock105) {
                    const int b = static_cast<int>(type - RecBlock100);
                    if (bodySize < kEngineBlockSize[b]) return {};
                    p.blockTypes |= 1u << b;
                    // A later block of the same type overwrites an earlier one whole.
                    p.block[static_cast<std::size_t>(b)] = body;
                } else if (!IsKnownRecordType(type)) {
                    return {};
                }
                break;
        }
    }
    p.usable = true;
    p.plain = count == 0 || (heads[0] & 0xFFFF) != RecSession;
    return p;
}

// The storage of a lap's per-sample arrays.
struct SampleOut {
    std::uint32_t* distance;
    std::int32_t* lateral;
    std::int16_t* gear;
    std::uint32_t* rideHeight;
    std::int16_t* heading;
    double* rpm;
    std::int32_t *pitch, *roll;
    double* valueG;
    std::uint32_t* valueH;
    std::int16_t* steering;
    std::uint16_t *throttle, *brake, *oilPressure;
    std::array<std::uint32_t*, 4> wheelRotation;
    std::array<std::int32_t*, 4> suspension;
    std::array<std::uint8_t*, 4> wheelDirection;
    double *oilTemperature, *waterTemperature;
    std::uint16_t *fuelPressure, *valueI;
    std::array<std::uint8_t*, kEngineBlockCount> block;  // null when the lap keeps no blocks
};

// Block B of `frames` frames of `size` bytes each from `first` on, the
// block's body `at` bytes into each (0: the frames hold none), into samples
// from `sample` on.
template <int B>
void TakeBlocks(const std::uint8_t* first, std::size_t size, std::size_t frames, std::size_t at, std::uint8_t* out,
                std::size_t sample) {
    if (at == 0) return;
    const std::uint8_t* from = first + at;
    std::uint8_t* to = out + sample * kEngineBlockSize[B];
    for (std::size_t k = 0; k < frames; ++k, from += size, to += kEngineBlockSize[B])
        std::memcpy(to, from, kEngineBlockSize[B]);
}

// The heads of a frame of the layout's size are those of the layout. One
// after another, each a branch that is taken only at a run's end: in the
// run below, the gathered all-at-once comparison of Matches cost more.
inline bool SameHeads(const RecordLayout& layout, const std::uint8_t* data) {
    for (int r = 0; r < layout.count; ++r)
        if (LoadU32(data + layout.at[static_cast<std::size_t>(r)]) != layout.head[static_cast<std::size_t>(r)])
            return false;
    return true;
}

// The saving player's full record into sample si.
inline void TakeFull(const SampleOut& o, const std::uint8_t* body, std::size_t si) {
    std::uint32_t words[9];
    for (std::size_t k = 0; k < 9; ++k) words[k] = LoadU32(body + 4 * k);
    const FullCarFields c = ParseCarStructs::UnpackFull(words);
    o.distance[si] = c.distance;
    o.gear[si] = static_cast<std::int16_t>(c.gear);
    o.lateral[si] = c.lateral;
    o.rideHeight[si] = c.rideHeight;
    o.rpm[si] = c.rpmCode;
    o.heading[si] = c.heading;
    o.pitch[si] = c.pitch;
    o.roll[si] = c.roll;
    o.valueG[si] = c.valueG;
    o.valueH[si] = c.valueH;
    o.steering[si] = c.steering;
    o.throttle[si] = c.throttle;
    o.brake[si] = c.brake;
    o.oilPressure[si] = c.oilPressure;
    for (std::size_t w = 0; w < 4; ++w) {
        o.wheelRotation[w][si] = c.wheelRotation[w];
        o.suspension[w][si] = c.suspension[w];
        o.wheelDirection[w][si] = c.wheelDirection[w];
    }
}

// The engine word into sample si; the lap's first is also its start value.
inline void TakeEngine(const SampleOut& o, const std::uint8_t* body, std::size_t si, bool& seen) {
    std::uint32_t word = LoadU32(body);  // little-endian, as UnpackWord reads it
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
    const EngineWordFields e = ParseCarStructs::UnpackEngine(word);
    auto put = [&](std::size_t at) {
        o.oilTemperature[at] = e.oilTemperature;
        o.waterTemperature[at] = e.waterTemperature;
        o.fuelPressure[at] = static_cast<std::uint16_t>(e.fuelPressure);
        o.valueI[at] = static_cast<std::uint16_t>(e.valueI);
    };
    put(si);
    if (!seen) put(0);
    seen = true;
}

// The record layout of a frame walked whole, with its plan.
struct FrameLayout : RecordLayout {
    FramePlan plan;
};

// Up to `room` frames of the saving player's lap from data on, laid out like
// `layout`, into samples si on; stops at the first frame laid out otherwise.
// Returns the frames read. A function of its own: inside the pass, the run
// shared the registers with all the rest and kept its values in memory.
__attribute__((noinline)) std::size_t ReadSavingRun(const std::uint8_t* data, std::size_t room,
                                                    const FrameLayout& layout, const SampleOut& out, std::size_t si,
                                                    bool& engineSeen) {
    const FramePlan plan = layout.plan;
    const std::size_t size = layout.size;
    const std::array<std::uint8_t*, kEngineBlockCount> block = out.block;
    const bool blocks = block[0] != nullptr;
    bool seen = engineSeen;
    std::size_t k = 0;
    const std::uint8_t* const first = data;
    const std::size_t firstSample = si;
    for (; k < room; ++k, data += size, ++si) {
        if (LoadU16(data) != size || !SameHeads(layout, data)) break;
        if (plan.full != 0) TakeFull(out, data + plan.full, si);
        if (plan.engine != 0) TakeEngine(out, data + plan.engine, si, seen);
    }
    // The blocks after, a type at a time: six streams of stores at once, each
    // from its own pointer, left the loop above short of registers.
    if (blocks) {
        TakeBlocks<0>(first, size, k, plan.block[0], block[0], firstSample);
        TakeBlocks<1>(first, size, k, plan.block[1], block[1], firstSample);
        TakeBlocks<2>(first, size, k, plan.block[2], block[2], firstSample);
        TakeBlocks<3>(first, size, k, plan.block[3], block[3], firstSample);
        TakeBlocks<4>(first, size, k, plan.block[4], block[4], firstSample);
        TakeBlocks<5>(first, size, k, plan.block[5], block[5], firstSample);
    }
    engineSeen = seen;
    return k;
}

// The session word of a frame whose first record is a session record.
bool SessionFrameWord(std::span<const std::uint8_t> f, std::uint32_t& word) {
    if (f.size() < kFrameHeaderSize + kRecordHeaderSize) return false;
    const std::uint32_t head = LoadU32(f.data() + kFrameHeaderSize);
    const std::uint32_t length = head >> 16;
    if ((head & 0xFFFF) != RecSession || length < 8 || length > f.size() - kFrameHeaderSize) return false;
    word = LoadU32(f.data() + kFrameHeaderSize + kRecordHeaderSize);
    return true;
}

enum class IndexAnswer { Found, Absent, Unusable };

constexpr std::size_t kEntryRun = 16;

// Four entries' session words side by side, read as three 16-byte loads and
// picked out by two shuffles (GCC and Clang vector extensions).
using Lanes = std::int32_t __attribute__((vector_size(16)));
static_assert(sizeof(SessionFrameIndex::Entry) == 12 && offsetof(SessionFrameIndex::Entry, word) == 8);

// The start of the first run of kEntryRun entries that holds a session word
// of kind `wanted` with a time field of at least fieldFrom, or of the last
// entries when no run before them does. Only the words are read, four at a
// time without a branch: a late lap of a long race lies behind thousands of
// entries.
std::size_t CandidateRun(const std::vector<SessionFrameIndex::Entry>& entries, int wanted, std::uint32_t fieldFrom) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(entries.data());
    // Time fields have 24 bits: compared as signed numbers, f > fieldFrom - 1.
    const std::int32_t below = static_cast<std::int32_t>(fieldFrom) - 1;
    const Lanes kind = {wanted, wanted, wanted, wanted}, from = {below, below, below, below};
    const Lanes low2 = {3, 3, 3, 3}, time = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    std::size_t i = 0;
    for (; i + kEntryRun <= entries.size(); i += kEntryRun) {
        Lanes hit = {0, 0, 0, 0};
        for (std::size_t k = i; k < i + kEntryRun; k += 4) {
            Lanes a, b, c;  // the words of entries k to k + 3 are lanes 2, 5, 8 and 11
            std::memcpy(&a, bytes + k * 12, 16);
            std::memcpy(&b, bytes + k * 12 + 16, 16);
            std::memcpy(&c, bytes + k * 12 + 32, 16);
            const Lanes w = __builtin_shufflevector(__builtin_shufflevector(a, b, 2, 5, 2, 5), c, 0, 1, 4, 7);
            hit |= ((w & low2) == kind) & (((w >> 8) & time) > from);
        }
        if ((hit[0] | hit[1] | hit[2] | hit[3]) != 0) break;
    }
    return i;
}

// The first pass's answer from the index: the entries of the lap's first and
// end frames, no such frames in a stream the index covers whole, or no answer
// (an index of other bytes, inconsistent entries, or the search runs past
// what the index covers).
IndexAnswer SearchIndex(const SessionFrameIndex& index, std::uint64_t start, std::uint64_t frameEnd,
                        const ReplaySource& src, int wanted, std::uint64_t lapStartMs, std::uint64_t lapEndMs,
                        std::size_t& firstEntry, std::size_t& endEntry) {
    if (!index.built || index.streamFirst != start || index.streamEnd != frameEnd || index.fileSize != src.size() ||
        index.fileTimeNs != src.modifiedNs() || index.coveredEnd < start || index.coveredEnd > frameEnd)
        return IndexAnswer::Unusable;
    const std::uint64_t covered = index.coveredEnd - start;
    const std::size_t count = index.entries.size();
    // The lap's first frame is the first session frame of the wanted kind
    // whose time t has lapStartMs < t + 1050: with t ten times the word's
    // time field f, f >= fieldFrom.
    const std::uint64_t fieldFrom = lapStartMs < 1050 ? 0 : (lapStartMs - 1050) / 10 + 1;
    if (fieldFrom > 0xFFFFFF) return IndexAnswer::Absent;
    // The entries are checked below from the one before the run that may hold
    // the first frame: the extraction trusts only those (their frames are
    // read and compared with them), and the first, whose number and place
    // anchor all others.
    std::size_t begin = CandidateRun(index.entries, wanted, static_cast<std::uint32_t>(fieldFrom));
    begin = begin > 1 ? begin - 1 : 0;
    if (begin > 0 &&
        (index.entries[0].offset >= covered || covered - index.entries[0].offset < kFrameHeaderSize + 8 ||
         index.entries[0].number == 0 || index.entries[0].number > index.entries[0].offset / kFrameHeaderSize + 1))
        return IndexAnswer::Unusable;
    bool haveFirst = false;
    std::uint64_t previousOffset = begin > 0 ? index.entries[begin - 1].offset : 0;
    std::uint64_t previousNumber = begin > 0 ? index.entries[begin - 1].number : 0;
    for (std::size_t i = begin; i < count; ++i) {
        const SessionFrameIndex::Entry& e = index.entries[i];
        // Frames are at least a header long and a session frame holds its
        // record: entries that break this are not of a real stream.
        if (e.offset >= covered || covered - e.offset < kFrameHeaderSize + 8 || e.number <= previousNumber ||
            (i > 0 && e.offset <= previousOffset) ||
            e.number - previousNumber > (e.offset - previousOffset) / kFrameHeaderSize + (i == 0 ? 1 : 0))
            return IndexAnswer::Unusable;
        previousOffset = e.offset;
        previousNumber = e.number;
        if (SessionWordKind(e.word) != wanted) continue;
        const std::uint64_t t = SessionWordTimeMs(e.word);
        if (!haveFirst && lapStartMs < t + 1050) {
            haveFirst = true;
            firstEntry = i;
        }
        if (haveFirst && t > lapEndMs + 30) {
            endEntry = i;
            return IndexAnswer::Found;
        }
    }
    return index.coveredEnd == frameEnd ? IndexAnswer::Absent : IndexAnswer::Unusable;
}

// The frames from the index entry before the lap's first frame (or from the
// stream's start) up to that frame hold no session frame the index lacks: an
// entry lost just before the lap would otherwise move its start.
bool FramesBeforeMatch(ReplaySource& src, const SessionFrameIndex& index, std::uint64_t start, std::uint64_t frameEnd,
                       std::size_t firstEntry) {
    const std::uint64_t target = start + index.entries[firstEntry].offset;
    std::size_t entry = firstEntry > 0 ? firstEntry - 1 : 0;
    const std::uint64_t from = firstEntry > 0 ? start + index.entries[entry].offset : start;
    const std::uint32_t number = firstEntry > 0 ? index.entries[entry].number : 1;
    bool match = true;
    RaceFrameWalk walk(src, start, frameEnd);
    walk.Forward(from, number, 16, [&](const RaceFrame& f) {
        if (f.offset >= target) {
            match = f.offset == target;
            return false;
        }
        std::uint32_t word = 0;
        const bool session = SessionFrameWord(f.bytes, word);
        const bool listed = start + index.entries[entry].offset == f.offset;
        if (session != listed ||
            (listed && (index.entries[entry].word != word || index.entries[entry].number != f.number))) {
            match = false;
            return false;
        }
        if (listed) ++entry;
        return true;
    });
    return match && walk.Position() == target;
}

}  // namespace

GetRpyInfo::Result GetRpyInfo::firstPass(ReplaySource& src, int wanted, std::uint64_t start, std::uint64_t frameEnd) {
    RaceFrameWalk walk(src, start, frameEnd);
    Result failure = Result::Ok;
    const RaceFrameWalk::Status status = walk.Forward(start, 1, 16, [&](const RaceFrame& f) {
        if (f.size < kFrameHeaderSize + kRecordHeaderSize) return true;
        const std::uint32_t head = LoadU32(f.bytes.data() + kFrameHeaderSize);
        const std::uint32_t length = head >> 16;
        if (length < kRecordHeaderSize || length > f.size - kFrameHeaderSize) {
            failure = Result::Corrupt;
            return false;
        }
        if ((head & 0xFFFF) != RecSession) return true;
        if (length < 8) {
            failure = Result::Corrupt;
            return false;
        }
        const std::uint32_t w = LoadU32(f.bytes.data() + kFrameHeaderSize + kRecordHeaderSize);
        if (SessionWordKind(w) != wanted) return true;
        const std::uint64_t t = SessionWordTimeMs(w);
        if (firstFrame == 0 && lapStartMs < t + 1050) {
            firstFrame = f.number;
            firstFrameOffset = f.offset;
            firstFrameTimeMs = static_cast<std::uint32_t>(t);
        }
        if (firstFrame != 0 && t > lapEndMs + 30) {
            endFrame = f.number;
            endFrameTimeMs = static_cast<std::uint32_t>(t);
            return false;
        }
        return true;
    });
    switch (status) {
        case RaceFrameWalk::Done:
            return Result::Ok;
        case RaceFrameWalk::Stopped:
            return failure;
        case RaceFrameWalk::ReadFailed:
            return Result::SeekFailed;
        default:
            return Result::Corrupt;
    }
}

const std::uint8_t* GetRpyInfo::Block(int index, int sample) const {
    if (index < 0 || index >= kEngineBlockCount || sample < 0 || sample > sampleCount) return nullptr;
    const auto& b = blocks[static_cast<std::size_t>(index)];
    const std::size_t size = kEngineBlockSize[index];
    const std::size_t at = static_cast<std::size_t>(sample) * size;
    if (b.size() < at + size) return nullptr;
    return b.data() + at;
}

GetRpyInfo::Result GetRpyInfo::prepare(const Drivers& d, int driver, int lap, int kind, float trackLength) {
    drivers = &d;
    driverIndex = driver;
    path = d.path;
    channelsReady = false;
    float k = 16777215.0f / (trackLength + 10.0f);
    if (!(k >= 1.0f)) k = 1.0f;  // a negative or absurd length must not divide by zero
    k = std::min(k, 1024.0f);
    distanceFactor = 2000.0f / k;
    if (kind < 0 || kind >= kSessionKinds || !d.IsLapValid(kind, driver, lap)) return Result::NotValid;
    lapStartMs = d.LapStartMs(kind, driver, lap);
    lapEndMs = d.LapEndMs(kind, driver, lap);
    return Result::Ok;
}

GetRpyInfo::Result GetRpyInfo::ExtractLap(const Drivers& d, int driver, int lap, int kind, float trackLength) {
    result = prepare(d, driver, lap, kind, trackLength);
    if (result != Result::Ok) return result;
    ReplaySource src(d.path, ReplaySource::Access::Stretch);
    if (!src.isOpen()) return result = Result::NotOpened;
    return result = extract(src, kind);
}

GetRpyInfo::Result GetRpyInfo::ExtractLapFromBytes(std::span<const std::uint8_t> replay, const Drivers& d, int driver,
                                                   int lap, int kind, float trackLength) {
    result = prepare(d, driver, lap, kind, trackLength);
    if (result != Result::Ok) return result;
    ReplaySource src(replay);
    return result = extract(src, kind);
}

void GetRpyInfo::allocateRaw(int n) {
    const std::size_t m = static_cast<std::size_t>(n) + 1;
    Zeroed(distance, m);
    Zeroed(lateral, m);
    Zeroed(gear, m);
    Zeroed(rideHeight, m);
    Zeroed(heading, m);
    Zeroed(rpm, m);
    Zeroed(pitch, m);
    Zeroed(roll, m);
    Zeroed(valueG, m);
    Zeroed(valueH, m);
    Zeroed(steering, m);
    Zeroed(throttle, m);
    Zeroed(brake, m);
    Zeroed(oilPressure, m);
    for (int w = 0; w < 4; ++w) {
        Zeroed(wheelRotation[w], m);
        Zeroed(suspension[w], m);
        Zeroed(wheelDirection[w], m);
    }
    Zeroed(oilTemperature, m);
    Zeroed(waterTemperature, m);
    Zeroed(fuelPressure, m);
    Zeroed(valueI, m);
    for (int b = 0; b < kEngineBlockCount; ++b) {
        if (fullData)
            Zeroed(blocks[b], m * kEngineBlockSize[b]);
        else
            blocks[b].clear();
    }
}

GetRpyInfo::Result GetRpyInfo::extract(ReplaySource& src, int kind, bool useIndex) {
    src.setReadLimit(UINT64_MAX);
    const Drivers& d = *drivers;
    blockTypes = 0;
    foundCount = missingCount = longestGap = 0;
    sampleCount = 0;
    firstFrame = endFrame = 0;
    firstFrameTimeMs = endFrameTimeMs = 0;
    firstFrameOffset = endOffset = 0;
    lastFrameSize = 0;
    framesInRange = 0;

    // A quick race numbers its qualifying 0 and its race 1 in the stream.
    int wanted = kind;
    if (d.quickRace && kind == Qualifying)
        wanted = 0;
    else if (d.quickRace && kind == Race)
        wanted = 1;

    const std::uint64_t start = d.frameChunkOffset + kChunkHeaderSize;
    const std::uint64_t frameEnd = start + d.frameBytes;
    if (frameEnd > src.size()) return Result::SeekFailed;

    // First pass: only the session record that opens a frame matters here.
    // The driver table's index holds those records; the stream is walked from
    // its start only when the index cannot answer.
    const SessionFrameIndex& index = d.frameIndex;
    std::size_t firstEntry = 0, endEntry = 0;
    const IndexAnswer answer =
        useIndex ? SearchIndex(index, start, frameEnd, src, wanted, lapStartMs, lapEndMs, firstEntry, endEntry)
                 : IndexAnswer::Unusable;
    // A lap the index does not hold is a failure path: the walk confirms it.
    const bool indexed = answer == IndexAnswer::Found;
    if (indexed) {
        const SessionFrameIndex::Entry& a = index.entries[firstEntry];
        const SessionFrameIndex::Entry& b = index.entries[endEntry];
        firstFrame = a.number;
        firstFrameOffset = start + a.offset;
        firstFrameTimeMs = SessionWordTimeMs(a.word);
        endFrame = b.number;
        endFrameTimeMs = SessionWordTimeMs(b.word);
        // Read the lap's frames and no more: up to the end frame and the one
        // after it, reckoned as three frames of the lap's average size (a
        // larger one is read on its own). A limit at the end frame's first
        // byte cost four small reads for the two.
        const std::uint64_t average = (b.offset - a.offset) / std::max<std::uint64_t>(b.number - a.number, 1);
        src.setReadLimit(start + b.offset + 1 + 3 * average);
        if (!FramesBeforeMatch(src, index, start, frameEnd, firstEntry)) return extract(src, kind, false);
    } else if (const Result r = firstPass(src, wanted, start, frameEnd); r != Result::Ok) {
        return r;
    }
    if (firstFrame == 0 || endFrame == 0 || endFrame + 2 < firstFrame) return Result::NotFound;
    const std::uint64_t wantedSamples = std::uint64_t{endFrame} + 2 - firstFrame;
    if (wantedSamples > static_cast<std::uint64_t>(kMaxSamples)) return Result::NotFound;
    int n = static_cast<int>(wantedSamples);

    const bool saving = driverIndex == d.savingPlayer;
    fullData = saving;
    allocateRaw(n);
    const std::uint8_t carByte =
        static_cast<std::uint8_t>(d.drivers[static_cast<std::size_t>(driverIndex)].carId & 0xFF);

    auto fail = [&](Result r) { return indexed ? extract(src, kind, false) : r; };
    // Second pass: every record of the lap's frames. When the index found
    // them, each session frame met must be the index's next entry and the end
    // frame must be met; anything else means the index does not describe
    // these bytes, and the lap is read again by the walk from the start.
    std::uint64_t p = firstFrameOffset;
    std::size_t entry = firstEntry;
    const std::uint64_t coveredEnd = index.coveredEnd;
    bool engineSeen = false;
    int run = 0, previousMissing = 0;
    int s = 1;
    // The layouts of frames walked whole: that of the last frame read by its
    // plan alone, and that of the last other one (a session frame, which the
    // index check must see): a lap's frames alternate between the two.
    std::array<FrameLayout, 2> layouts;
    std::array<std::uint8_t*, kEngineBlockCount> blockOut{};
    for (std::size_t b = 0; b < blockOut.size(); ++b) blockOut[b] = blocks[b].data();
    const SampleOut out{
        distance.data(),
        lateral.data(),
        gear.data(),
        rideHeight.data(),
        heading.data(),
        rpm.data(),
        pitch.data(),
        roll.data(),
        valueG.data(),
        valueH.data(),
        steering.data(),
        throttle.data(),
        brake.data(),
        oilPressure.data(),
        {wheelRotation[0].data(), wheelRotation[1].data(), wheelRotation[2].data(), wheelRotation[3].data()},
        {suspension[0].data(), suspension[1].data(), suspension[2].data(), suspension[3].data()},
        {wheelDirection[0].data(), wheelDirection[1].data(), wheelDirection[2].data(), wheelDirection[3].data()},
        oilTemperature.data(),
        waterTemperature.data(),
        fuelPressure.data(),
        valueI.data(),
        fullData ? blockOut : std::array<std::uint8_t*, kEngineBlockCount>{}};
    // What the records give the lap's sample si.
    auto takeFull = [&](const std::uint8_t* body, std::size_t si) {
        TakeFull(out, body, si);
        ++foundCount;
    };
    auto takeEngine = [&](const std::uint8_t* body, std::size_t si) { TakeEngine(out, body, si, engineSeen); };
    auto takeBlock = [&](int b, const std::uint8_t* body, std::size_t si) {
        CopyBlock(b, body, blockOut[static_cast<std::size_t>(b)] + si * kEngineBlockSize[b]);
    };
    // A sample without the car's record stays zero; the gaps are reported so
    // the user can judge the lap.
    auto noteMissing = [&](int sample) {
        ++missingCount;
        run = (sample > 1 && previousMissing == sample - 1) ? run + 1 : 1;
        longestGap = std::max(longestGap, run);
        previousMissing = sample;
    };
    // True when the compact records hold the car's.
    auto takeCompact = [&](const std::uint8_t* body, std::uint32_t bodySize, std::size_t si) {
        const std::uint32_t cars = bodySize / kCompactRecordSize;
        for (std::uint32_t c = 0; c < cars; ++c) {
            const std::uint8_t* rec = body + std::size_t{c} * kCompactRecordSize;
            if (rec[7] != carByte) continue;  // c1 bits 24-31
            const std::uint32_t words[4] = {LoadU32(rec), LoadU32(rec + 4), LoadU32(rec + 8), LoadU32(rec + 12)};
            const CompactCarFields cc = ParseCarStructs::UnpackCompact(words);
            // In double: a float product of a large code rounds up to the
            // next whole unit before the truncation.
            distance[si] =
                static_cast<std::uint32_t>(static_cast<double>(cc.distance) * static_cast<double>(distanceFactor));
            gear[si] = static_cast<std::int16_t>(cc.gear);
            lateral[si] = cc.lateral;
            heading[si] = cc.heading;
            rpm[si] = cc.rpmCode;
            pitch[si] = cc.pitch;
            roll[si] = cc.roll;
            rideHeight[si] = cc.rideHeight;
            valueG[si] = cc.valueG;
            valueH[si] = cc.valueH;
            ++foundCount;
            return true;
        }
        return false;
    };
    // Reads a frame at data by the plan of its layout; true when it held the
    // car's compact record. Inlined in both its places: as a call it cost the
    // run of planned frames more than it saved.
    auto takePlanned = [&](const FramePlan& plan, const std::uint8_t* data, std::size_t si)
        __attribute__((always_inline)) {
        if (plan.full != 0) takeFull(data + plan.full, si);
        if (plan.engine != 0) takeEngine(data + plan.engine, si);
        blockTypes |= plan.blockTypes;
        if (fullData)
            for (int b = 0; b < kEngineBlockCount; ++b)
                if (plan.block[static_cast<std::size_t>(b)] != 0)
                    takeBlock(b, data + plan.block[static_cast<std::size_t>(b)], si);
        return plan.compact != 0 && takeCompact(data + plan.compact, plan.compactSize, si);
    };
    // The bytes read already: a frame that lies whole in them is decoded in
    // place, without asking the source for it.
    std::uint64_t heldStart = 0;
    std::span<const std::uint8_t> held = src.buffered(heldStart);
    for (; s <= n && p < frameEnd; ++s) {
        if (layouts[0].plan.usable && layouts[0].plan.plain) {
            // A run of frames laid out like one walked whole, with nothing
            // else done for them: each lies whole in the bytes read and is no
            // session frame (its first record is the plan's), so the index
            // must not list it.
            const FrameLayout& layout = layouts[0];
            const FramePlan& plan = layout.plan;
            const std::uint64_t listed =
                indexed && entry < index.entries.size() ? start + index.entries[entry].offset : UINT64_MAX;
            const std::uint16_t size = layout.size;
            // The frames end by here: in the bytes read and in the stream.
            const std::uint64_t limit = std::min<std::uint64_t>(heldStart + held.size(), frameEnd);
            const std::uint64_t runStart = p;
            if (saving && p >= heldStart && p < limit) {
                // The frames that lie whole in the bytes read, up to the one
                // the index lists and the lap's last.
                std::uint64_t room = (limit - p) / size;
                if (listed >= p && (listed - p) % size == 0) room = std::min<std::uint64_t>(room, (listed - p) / size);
                room = std::min<std::uint64_t>(room, static_cast<std::uint64_t>(n - s) + 1);
                const std::size_t frames = ReadSavingRun(held.data() + (p - heldStart), static_cast<std::size_t>(room),
                                                         layout, out, static_cast<std::size_t>(s), engineSeen);
                if (frames != 0) {
                    blockTypes |= plan.blockTypes;
                    if (plan.full != 0) foundCount += static_cast<int>(frames);
                }
                p += frames * size;
                s += static_cast<int>(frames);
            }
            while (!saving && p >= heldStart && p < limit && limit - p >= size && p != listed) {
                const std::uint8_t* data = held.data() + (p - heldStart);
                if (LoadU16(data) != size || !layout.Matches(data, size)) break;
                if (!takePlanned(plan, data, static_cast<std::size_t>(s))) noteMissing(s);
                p += size;
                if (++s > n || p >= frameEnd) break;
            }
            if (p != runStart) {
                endOffset = p;
                lastFrameSize = size;
            }
            if (s > n || p >= frameEnd) break;
        }
        std::span<const std::uint8_t> f;
        std::uint16_t size = 0;
        if (p >= heldStart && p - heldStart < held.size() && held.size() - (p - heldStart) >= kFrameHeaderSize &&
            frameEnd - p >= kFrameHeaderSize) {
            const std::size_t at = static_cast<std::size_t>(p - heldStart);
            size = LoadU16(held.data() + at);
            if (size >= kFrameHeaderSize && size <= frameEnd - p && size <= held.size() - at)
                f = held.subspan(at, size);
        }
        if (f.empty()) {
            if (const Result r = FrameAt(src, p, frameEnd, true, f, size); r != Result::Ok)
                return indexed ? extract(src, kind, false) : r;
            held = src.buffered(heldStart);
        }
        if (indexed && p < coveredEnd) {
            const std::uint32_t number = firstFrame + static_cast<std::uint32_t>(s) - 1;
            std::uint32_t word = 0;
            const bool session = SessionFrameWord(f, word);
            const bool listed = entry < index.entries.size() && start + index.entries[entry].offset == p;
            if (session != listed) return extract(src, kind, false);
            if (listed) {
                const SessionFrameIndex::Entry& e = index.entries[entry];
                if (e.word != word || e.number != number) return extract(src, kind, false);
                ++entry;
            }
        }
        const std::size_t si = static_cast<std::size_t>(s);
        bool matched = false;
        // Where the frame's records lie, each checked to hold its header and
        // to end inside the frame. Each record's place follows from the
        // length of the one before, a chain of dependent loads that would set
        // the pace of the pass; but most frames repeat the layout of the one
        // before (the same size and record heads at the same places), and the
        // heads are then compared at those places, all at once.
        std::size_t q = kFrameHeaderSize;
        int count = 0;
        bool reused = false;
        const FrameLayout* layout = nullptr;
        for (const FrameLayout& l : layouts)
            if (l.Matches(f.data(), size)) {
                layout = &l;
                reused = true;
                count = layout->count;
                q = size;
                break;
            }
        if (reused && layout->plan.usable) {
            // Its records passed every check in the frame that set the layout.
            matched = takePlanned(layout->plan, f.data(), si);
            count = 0;
        }
        bool batchFirst = true, bad = false;
        for (;;) {
            if (!reused) {
                // The walk, in batches of up to RecordLayout::kMaxRecords records, into
                // the second layout.
                FrameLayout& into = layouts[1];
                count = 0;
                while (q < size && count < RecordLayout::kMaxRecords) {
                    if (size - q < kRecordHeaderSize) {
                        bad = true;
                        break;
                    }
                    const std::uint32_t head = LoadU32(f.data() + q);
                    const std::uint32_t length = head >> 16;
                    if (length < kRecordHeaderSize || length > size - q) {
                        bad = true;
                        break;
                    }
                    into.at[static_cast<std::size_t>(count)] = static_cast<std::uint16_t>(q);
                    into.head[static_cast<std::size_t>(count)] = head;
                    ++count;
                    q += static_cast<std::size_t>(PaddedSize(length));
                }
                // A frame walked whole in one batch gives the next its layout.
                const bool whole = batchFirst && !bad && q >= size;
                into.size = whole ? size : 0;
                into.count = whole ? count : 0;
                into.plan = whole ? PlanOf(into.at.data(), into.head.data(), count, saving) : FramePlan{};
                // A layout read by its plan alone becomes the first.
                const bool plain = into.plan.usable && into.plan.plain;
                if (plain) std::swap(layouts[0], layouts[1]);
                layout = &layouts[plain ? 0 : 1];
                batchFirst = false;
            }
            for (int r = 0; r < count; ++r) {
                const std::uint32_t head = layout->head[static_cast<std::size_t>(r)];
                const std::uint32_t type = head & 0xFFFF;
                const std::uint32_t length = head >> 16;
                const std::uint8_t* body = f.data() + layout->at[static_cast<std::size_t>(r)] + kRecordHeaderSize;
                const std::uint32_t bodySize = length - kRecordHeaderSize;
                switch (type) {
                    case RecFullCar:
                        if (bodySize < kFullRecordSize) return fail(Result::Corrupt);
                        if (saving) takeFull(body, si);
                        break;
                    case RecEngineWord:
                        if (bodySize < 4) return fail(Result::Corrupt);
                        if (saving) takeEngine(body, si);
                        break;
                    case RecCompactCars:
                        if (!saving && !matched) matched = takeCompact(body, bodySize, si);
                        break;
                    case RecSession:
                    case RecRaceStart:
                        if (bodySize < 4) return fail(Result::Corrupt);
                        break;
                    default:
                        if (type >= RecBlock100 && type <= RecBlock105) {
                            const int b = static_cast<int>(type - RecBlock100);
                            if (bodySize < kEngineBlockSize[b]) return fail(Result::Corrupt);
                            blockTypes |= 1u << b;
                            if (fullData) takeBlock(b, body, si);
                        } else if (!IsKnownRecordType(type)) {
                            return fail(Result::Corrupt);
                        }
                        break;
                }
            }
            // The records before a damaged one count, as they always have.
            if (bad) return fail(Result::Corrupt);
            if (reused || q >= size) break;
        }
        if (!saving && !matched) noteMissing(s);
        endOffset = p + size;
        lastFrameSize = size;
        p += size;
    }
    if (indexed && entry <= endEntry) return extract(src, kind, false);
    n = s - 1;  // the stream may end before the last wanted frame
    sampleCount = n;
    if (fullData && blockTypes == 0) {
        fullData = false;
        for (auto& b : blocks) std::vector<std::uint8_t>().swap(b);
    }
    if (n < 3) return Result::NotFound;
    framesInRange = static_cast<std::uint32_t>(n) + 1;
    return Result::Ok;
}

GetRpyInfo::Result GetRpyInfo::AllocateChannels(int margin) {
    channelsReady = false;
    const int n = sampleCount;
    const int m = std::max(margin, 0);
    if (n < 3 || distance.size() < static_cast<std::size_t>(n) + 1) return Result::NotFound;
    auto dist = [&](int i) { return distance[static_cast<std::size_t>(i)]; };

    // The start line lies after the last sample whose successor is not further on.
    int a = 0;
    for (int k = 1; k + 1 <= n; ++k)
        if (dist(k + 1) <= dist(k)) {
            a = k;
            break;
        }
    if (a == 0) return Result::NotFound;
    if (a == 1 && dist(1) == 0) a = 2;
    int b = n;
    while (b > 1 && dist(b - 1) < dist(b)) --b;
    if (b <= a || b - 2 < 1 || a + 3 > n || a + 1 - m < 1 || b + m > n) return Result::NotFound;

    // Frame numbers and the measured time count from the range the first pass
    // found, which holds one frame more than read when the stream ends at the
    // end frame.
    const std::int64_t rangeSamples = std::int64_t{endFrame} + 2 - firstFrame;
    lapStartFrame = firstFrame + static_cast<std::uint32_t>(a) - 1;
    lapEndFrame = static_cast<std::uint32_t>(endFrame - rangeSamples + b);
    lapTimeMs = (static_cast<std::int64_t>(endFrameTimeMs) - firstFrameTimeMs) -
                static_cast<std::int64_t>((a - 1) * kFrameMs) -
                static_cast<std::int64_t>((rangeSamples - b) * kFrameMs);
    distanceStepStart =
        dist(a + 1) == 0 ? std::int64_t{dist(a + 3)} - dist(a + 2) : std::int64_t{dist(a + 2)} - dist(a + 1);
    distanceStepEnd = std::int64_t{dist(b - 1)} - dist(b - 2);

    const int count = b - a + 2 * m;
    const std::size_t off = static_cast<std::size_t>(a - m);
    const std::size_t cnt = static_cast<std::size_t>(count);
    const bool own = fullData || (drivers && driverIndex == drivers->savingPlayer);

    Zeroed(distanceM, cnt + 1);
    Zeroed(lateralM, cnt + 1);
    Zeroed(rideHeightM, cnt + 1);
    Zeroed(revolutions, cnt + 1);
    for (auto& w : wheelDelta) Zeroed(w, cnt + 1);
    for (std::size_t i = 1; i <= cnt; ++i) {
        const std::size_t j = off + i;  // old index; j - 1 >= 0
        distanceM[i] = distance[j] * 0.0005;
        revolutions[i] = std::tan(rpm[j] * 0.001288481) * 8262.364;
        if (own) {
            lateralM[i] = std::tan(lateral[j] * 2.911741e-6) * 13.27122;
            rideHeightM[i] = std::tan(rideHeight[j] * 0.0003759564) * 1.563264;
            valueG[j] = valueG[j] * 0.003921569;
        } else {
            lateralM[i] = std::tan(lateral[j] * 2.261833e-5) * 26.6207;
            rideHeightM[i] = std::tan(rideHeight[j] * 0.003012801) * 0.7816317;
            valueG[j] = std::tan(valueG[j] * 0.04122431) * 0.305114;
        }
        for (int w = 0; w < 4; ++w) {
            const double cur = wheelRotation[w][j], prev = wheelRotation[w][j - 1];
            const int c = wheelDirection[w][j];
            double delta = c == 2 ? cur + 1024 - prev : cur - prev;
            if (cur < prev && c != 1) delta += 1024;
            if (cur > prev && c == 1) delta -= 1024;
            wheelDelta[w][i] = delta;
        }
    }

    ShiftDown(distance, off, cnt);
    ShiftDown(lateral, off, cnt);
    ShiftDown(gear, off, cnt);
    ShiftDown(rideHeight, off, cnt);
    ShiftDown(heading, off, cnt);
    ShiftDown(rpm, off, cnt);
    ShiftDown(pitch, off, cnt);
    ShiftDown(roll, off, cnt);
    ShiftDown(valueG, off, cnt);
    ShiftDown(valueH, off, cnt);
    ShiftDown(steering, off, cnt);
    ShiftDown(throttle, off, cnt);
    ShiftDown(brake, off, cnt);
    ShiftDown(oilPressure, off, cnt);
    for (int w = 0; w < 4; ++w) {
        ShiftDown(wheelRotation[w], off, cnt);
        ShiftDown(suspension[w], off, cnt);
        ShiftDown(wheelDirection[w], off, cnt);
    }
    ShiftDown(oilTemperature, off, cnt);
    ShiftDown(waterTemperature, off, cnt);
    ShiftDown(fuelPressure, off, cnt);
    ShiftDown(valueI, off, cnt);
    for (int bt = 0; bt < kEngineBlockCount; ++bt) {
        auto& blk = blocks[static_cast<std::size_t>(bt)];
        if (blk.empty()) continue;
        const std::size_t size = kEngineBlockSize[bt];
        std::copy(blk.begin() + static_cast<std::ptrdiff_t>((off + 1) * size),
                  blk.begin() + static_cast<std::ptrdiff_t>((off + 1 + cnt) * size),
                  blk.begin() + static_cast<std::ptrdiff_t>(size));
        blk.resize((cnt + 1) * size);
    }
    sampleCount = count;

    // The engine word arrives late in a lap and its 7-bit temperatures wrap.
    bool oilSeen = false;
    for (std::size_t i = 1; i <= cnt; ++i) {
        auto copyFrom = [&](std::size_t src) {
            oilTemperature[i] = oilTemperature[src];
            waterTemperature[i] = waterTemperature[src];
            fuelPressure[i] = fuelPressure[src];
            valueI[i] = valueI[src];
        };
        if (!oilSeen && oilTemperature[i] == 0)
            copyFrom(0);
        else if (oilTemperature[i] == 0 && waterTemperature[i] == 0)
            copyFrom(i - 1);
        if (oilTemperature[i] != 0) oilSeen = true;
        for (auto* t : {&oilTemperature, &waterTemperature})
            if ((*t)[i] <= 80 && (*t)[i - 1] >= 127) (*t)[i] += 128;
    }

    Zeroed(mapX, cnt + 3);
    Zeroed(mapY, cnt + 3);
    for (auto* v : {&mapHeading, &slipAngle, &slipMinusSteering}) Zeroed(*v, cnt + 1);
    for (auto* v : {&speed, &headingDeg, &accelCarLong, &accelCarLat, &accelTravelLong, &accelTravelLat, &accelRawX,
                    &accelRawY, &accelSmoothX, &accelSmoothY, &accelTotal})
        Zeroed(*v, cnt + 1);
    splitMs = {};
    channelsReady = true;
    return Result::Ok;
}

}  // namespace vra
