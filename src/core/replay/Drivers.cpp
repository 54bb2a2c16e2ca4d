#include "core/replay/Drivers.h"

#include "core/base/FileUtil.h"
#include "core/replay/RaceFrameWalk.h"
#include "core/replay/RecordLayout.h"
#include "core/replay/ReplaySource.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <sys/stat.h>

namespace vra {

namespace {

constexpr std::uint32_t kHeadBytes = 208;  // the part of the file before 208 holds every field read here

// ParseReplay gives a driver count or one of these, so its walks pass ints.
constexpr int Code(Drivers::ParseError error) {
    return static_cast<int>(error);
}

// The head of a replay (header, driver table, lap chunks) is read in many
// small pieces: through the source's block, so that they cost one read of
// the file's start instead of a system call each, and the frame walk that
// follows finds its first frames already read.
bool ReadNear(ReplaySource& src, std::uint64_t offset, std::span<std::uint8_t> out) {
    std::span<const std::uint8_t> held;
    if (out.empty() || out.size() > ReplaySource::kBlockSize || !src.window(offset, out.size(), held))
        return src.readAt(offset, out);
    std::memcpy(out.data(), held.data(), out.size());
    return true;
}

// The session and race-start words of one frame's records.
struct FrameMarks {
    bool hasSession = false, hasRaceStart = false;
    bool startFirst = false;  // the race-start record comes before any session record
    std::uint32_t firstWord = 0, lastWord = 0, startWord = 0;

    void Mark(std::uint32_t type, std::uint32_t w) {
        if (type == RecSession) {
            if (!hasSession) firstWord = w;
            lastWord = w;
            hasSession = true;
        } else if (!hasRaceStart) {
            startWord = w;
            startFirst = !hasSession;
            hasRaceStart = true;
        }
    }
};

// The layout of one frame whose records all passed, with the records whose
// words the load takes: a frame laid out the same way is walked the same way,
// and only the words of its session and race-start records are its own.
class FrameLayout {
public:
    void Begin(std::uint16_t size) {
        layout_.size = size;
        layout_.count = 0;
        markCount_ = 0;
        whole_ = true;
    }
    void Note(std::size_t at, std::uint32_t head, bool marked) {
        if (layout_.count == RecordLayout::kMaxRecords) {
            whole_ = false;
            return;
        }
        const auto r = static_cast<std::size_t>(layout_.count);
        layout_.at[r] = static_cast<std::uint16_t>(at);
        layout_.head[r] = head;
        if (marked) marks_[markCount_++] = static_cast<std::uint8_t>(r);
        ++layout_.count;
    }
    // Keeps the layout when its frame's records all passed.
    void End(bool passed) {
        if (!passed || !whole_) layout_.size = 0;
    }
    bool Repeat(std::span<const std::uint8_t> frame, FrameMarks& marks) const {
        if (!layout_.Matches(frame.data(), frame.size())) return false;
        for (std::size_t k = 0; k < markCount_; ++k) {
            const std::size_t i = marks_[k];
            marks.Mark(layout_.head[i] & 0xFFFF, LoadU32(frame.data() + layout_.at[i] + kRecordHeaderSize));
        }
        return true;
    }

private:
    RecordLayout layout_;
    std::size_t markCount_ = 0;
    bool whole_ = true;
    std::array<std::uint8_t, RecordLayout::kMaxRecords> marks_{};
};

// The layouts of the frames walked last, the one met most recently first:
// a stream mixes a few kinds of frame (a session record every second, race
// control, car status and padding records every so many frames).
class FrameLayouts {
public:
    bool Repeat(std::span<const std::uint8_t> frame, FrameMarks& marks) {
        for (std::size_t k = 0; k < kLayouts; ++k) {
            const std::size_t i = order_[k];
            if (!layouts_[i].Repeat(frame, marks)) continue;
            Front(k);
            return true;
        }
        return false;
    }
    // The layout to note the next frame's records in, replacing the one met
    // longest ago.
    FrameLayout& Learn(std::uint16_t size) {
        Front(kLayouts - 1);
        FrameLayout& layout = layouts_[order_[0]];
        layout.Begin(size);
        return layout;
    }

private:
    static constexpr std::size_t kLayouts = 4;
    void Front(std::size_t k) {
        const std::uint8_t i = order_[k];
        for (; k > 0; --k) order_[k] = order_[k - 1];
        order_[0] = i;
    }
    std::array<FrameLayout, kLayouts> layouts_;
    std::array<std::uint8_t, kLayouts> order_ = {0, 1, 2, 3};
};

int DriverTypeFromFile(std::uint8_t b) {
    if (b == kFileDriverHuman) return DriverHuman;
    if (b == kFileDriverAi) return DriverAi;
    return DriverNonCompeting;
}

}  // namespace

namespace {

std::string FormatFileTime(std::time_t t) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return {};
    return fmt::format("{} {} {:02}", tm.tm_year + 1900, kMonths[tm.tm_mon % 12], tm.tm_mday);
}

}  // namespace

std::string FormatFileDate(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return FormatFileTime(st.st_mtime);  // 64-bit
}

int Drivers::ParseReplay(const std::filesystem::path& p) {
    // A text from an earlier load must not be told for this one.
    message.clear();
    ReplaySource src(p, ReplaySource::Access::Sequential);
    if (!src.isOpen()) return Code(ParseError::NotOpened);
    return parse(src);
}

Drivers::LoadResult Drivers::Load(const std::filesystem::path& p) {
    ReplaySource src(p, ReplaySource::Access::Sequential);
    return Load(p, src);
}

Drivers::LoadResult Drivers::Load(const std::filesystem::path& p, ReplaySource& src) {
    path = p;
    message.clear();
    if (!src.isOpen()) {
        // A file that cannot be read may still have a date to show.
        fileDate = FormatFileDate(p);
        return finishLoad(Code(ParseError::NotOpened));
    }
    // The date of the file just opened, without asking for it again.
    fileDate = FormatFileTime(src.modifiedSeconds());
    return finishLoad(parse(src));
}

Drivers::LoadResult Drivers::LoadBytes(std::span<const std::uint8_t> bytes) {
    path.clear();
    fileDate.clear();
    ReplaySource src(bytes);
    return finishLoad(parse(src));
}

int Drivers::parse(ReplaySource& src) {
    frameIndex.Clear();
    message.clear();
    drivers.clear();
    sessionPresent = {};
    windowStart = {};
    windowEnd = {};
    raceStartSeen = false;
    raceStartWord = 0;
    lastSessionState = 0;
    lastFrameOffset = 0;
    frameChunkOffset = 0;
    frameBytes = 0;
    driverCount = 0;

    std::array<std::uint8_t, kHeadBytes> head{};
    if (!ReadNear(src, 0, head)) return Code(ParseError::ShortFile);
    lastFrameSize = LoadU16(head.data() + HeaderOffset::LastFrameSize);
    trackName = FixedText(head.data() + HeaderOffset::TrackName, 32);
    std::uint32_t saving = LoadU32(head.data() + HeaderOffset::SavingPlayer);

    const std::uint32_t bodySize = LoadU32(head.data() + HeaderOffset::HeaderBodySize);
    if (bodySize < kHeaderBodySize) return Code(ParseError::ShortFile);
    olderLayout = bodySize != kHeaderBodySize;
    const std::uint64_t tablePos = kDriverTableOffset + PaddedSize(std::uint64_t{bodySize} - kHeaderBodySize);

    std::array<std::uint8_t, kChunkHeaderSize> chunk{};
    if (!ReadNear(src, tablePos, chunk)) return Code(ParseError::ShortFile);
    const std::uint32_t tableSize = LoadU32(chunk.data() + 8);
    const std::uint32_t count = tableSize / kDriverRecordSize;
    if (count > static_cast<std::uint32_t>(kMaxDrivers)) {
        message = fmt::format(
            "This replay cannot be opened as it contains more drivers\nthan we ever anticipated was possible. "
            "So please contact us\nat support@velmar-replay-analyzer.invalid and tell us you saw\nthis note. "
            "Please, state also this number: {}",
            count);
        return Code(ParseError::TooManyDrivers);
    }
    std::vector<std::uint8_t> table(std::size_t{count} * kDriverRecordSize);
    if (!ReadNear(src, tablePos + kChunkHeaderSize, table)) return Code(ParseError::ShortFile);
    driverCount = static_cast<std::uint16_t>(count);
    drivers.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t* r = table.data() + std::size_t{i} * kDriverRecordSize;
        Driver& d = drivers[i];
        d.firstName = FixedText(r + 12, 16);
        d.lastName = FixedText(r + 28, 16);
        d.nickname = FixedText(r + 48, 32);
        d.fourthText = FixedText(r + 124, 32);
        d.bytes = {r[156], r[164], r[165], r[166], r[167]};
        d.physics = r[160];
        d.carNumber = LoadU16(r + 168);
        d.type = DriverTypeFromFile(r[172]);
        d.word6 = LoadU16(r + 174);
        d.fileCarId = LoadU32(r + 180);
        d.carId = static_cast<std::uint16_t>(d.fileCarId & 0xFFFF);
    }

    // The stored index of the saving player may be stale; the names decide.
    const std::string first = FixedText(head.data() + HeaderOffset::FirstName, 16);
    const std::string last = FixedText(head.data() + HeaderOffset::LastName, 16);
    auto namesMatch = [&](std::uint32_t i) { return drivers[i].firstName == first && drivers[i].lastName == last; };
    if (saving < count && namesMatch(saving)) {
        savingPlayerMismatch = false;
    } else {
        savingPlayerMismatch = true;
        for (std::uint32_t i = 0; i < count; ++i)
            if (namesMatch(i)) saving = i;
        if (saving >= count) return Code(ParseError::NoSavingPlayer);
    }
    savingPlayer = static_cast<int>(saving);
    quickRace = head[HeaderOffset::QuickRaceByte] == 2 ? 1 : 0;

    // Lap chunks, then the frame chunk.
    std::uint64_t pos = tablePos + kChunkHeaderSize + PaddedSize(tableSize);
    std::vector<std::uint64_t> lapChunks;
    for (;;) {
        if (!ReadNear(src, pos, chunk)) return Code(ParseError::ShortFile);
        if (LoadU32(chunk.data()) != ChunkTag::LapChunk) break;
        lapChunks.push_back(pos);
        pos += kChunkHeaderSize + PaddedSize(LoadU32(chunk.data() + 8));
        if (pos > src.size()) return Code(ParseError::ShortFile);
    }
    const std::uint32_t lastKindField = LoadU32(head.data() + HeaderOffset::LastSessionKind);
    for (std::size_t i = 0; i < lapChunks.size(); ++i) {
        const int r = parseLapChunk(src, lapChunks[i], static_cast<int>(lapChunks.size() - i), lastKindField);
        if (r != 0) return r;
    }

    frameChunkOffset = pos;
    frameBytes = LoadU32(chunk.data() + 8);
    const std::uint64_t frameEnd = pos + kChunkHeaderSize + std::uint64_t{frameBytes};
    if (frameEnd > src.size()) return Code(ParseError::StreamEnded);
    firstSessionKind = 0;
    lastSessionKind = 0;

    int r = forwardWalk(src, frameEnd);
    if (r != 0) return r;
    r = backwardWalk(src, frameEnd, LoadU32(head.data() + HeaderOffset::FrameBytes));
    if (r != 0) return r;

    for (int kind : {Qualifying, HappyHour})
        if (windowStart[kind] != 0 && windowEnd[kind] == 0) windowEnd[kind] = kWindowOpen;
    if (firstSessionKind == Practice && (lastSessionKind == HappyHour || lastSessionKind == Race))
        windowEnd[Qualifying] = kWindowOpen;
    if ((firstSessionKind == Practice || firstSessionKind == Qualifying) && lastSessionKind == Race && !quickRace)
        windowEnd[HappyHour] = kWindowOpen;
    return static_cast<int>(count);
}

int Drivers::parseLapChunk(ReplaySource& src, std::uint64_t pos, int remaining, std::uint32_t lastKindField) {
    std::array<std::uint8_t, kChunkHeaderSize> chunk{};
    if (!ReadNear(src, pos, chunk)) return Code(ParseError::ShortFile);
    const std::uint64_t end = pos + kChunkHeaderSize + LoadU32(chunk.data() + 8);
    if (end > src.size()) return Code(ParseError::ShortFile);

    // Each driver's stamps as its last record in the chunk holds them; the
    // tables are written once, at the end, straight into the drivers (a
    // table is some 2.5 kB, and a scan of many replays fills thousands).
    struct Record {
        std::size_t at = 0;   // first stamp in all
        std::uint32_t n = 0;  // laps
        bool found = false;
    };
    std::vector<Record> records(drivers.size());
    std::vector<std::uint32_t> all;
    std::vector<std::uint32_t> stamps;
    std::uint64_t p = pos + kChunkHeaderSize;
    while (p < end) {
        if (end - p < kChunkHeaderSize) return Code(ParseError::Corrupt);
        if (!ReadNear(src, p, chunk)) return Code(ParseError::ShortFile);
        const std::uint32_t size = LoadU32(chunk.data() + 8);
        if (size < 8 || size > end - p - kChunkHeaderSize) return Code(ParseError::Corrupt);
        const std::uint32_t n = (size - 8) / 4;
        if (n > static_cast<std::uint32_t>(kMaxLaps)) return Code(ParseError::Corrupt);
        stamps.resize(2 + n);
        if (!ReadNear(src, p + kChunkHeaderSize,
                      std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(stamps.data()), stamps.size() * 4)))
            return Code(ParseError::ShortFile);
        int driver = -1;
        for (std::size_t i = 0; i < drivers.size(); ++i)
            if (drivers[i].fileCarId == stamps[0]) driver = static_cast<int>(i);
        if (driver >= 0) {
            records[static_cast<std::size_t>(driver)] = {all.size(), n, true};
            all.insert(all.end(), stamps.begin(), stamps.end());
        }
        p += kChunkHeaderSize + size;
    }

    int kind = -1;
    if (quickRace) {
        if (lastKindField == 0)
            kind = Qualifying;
        else if (remaining == 2)
            kind = Qualifying;
        else if (remaining == 1)
            kind = Race;
    } else {
        const std::int64_t k = std::int64_t{lastKindField} - remaining + 1;
        if (k >= 0 && k < kSessionKinds) kind = static_cast<int>(k);
    }
    if (kind < 0) return 0;
    // The drivers' tables of a kind no earlier chunk wrote hold their fill
    // still: only the stamps are written into them.
    const bool pristine = sessionPresent[static_cast<std::size_t>(kind)] == 0;
    sessionPresent[static_cast<std::size_t>(kind)] = 1;
    for (std::size_t i = 0; i < drivers.size(); ++i) {
        SessionLaps& laps = drivers[i].sessions[static_cast<std::size_t>(kind)];
        const Record& r = records[i];
        std::size_t written = 0;  // table entries written from stamps
        laps.count = 0;
        if (r.found) {
            const std::uint32_t* s = all.data() + r.at;
            laps.count = static_cast<int>(r.n);
            laps.times[0] = s[1] & LapWord::TimeMask;
            for (std::uint32_t k = 1; k <= r.n; ++k) {
                const std::uint32_t cur = s[1 + k], prev = s[k];
                // A stamp earlier than its predecessor must not borrow into the flags.
                laps.times[k] = (cur & LapWord::FlagMask) |
                                (((cur & LapWord::TimeMask) - (prev & LapWord::TimeMask)) & LapWord::TimeMask);
            }
            written = std::size_t{r.n} + 1;
        }
        if (pristine) continue;
        std::fill(laps.times.begin() + static_cast<std::ptrdiff_t>(written), laps.times.end(), kLapTableFill);
        laps.valid.fill(0);
    }
    return 0;
}

int Drivers::forwardWalk(ReplaySource& src, std::uint64_t frameEnd) {
    RaceFrameWalk walk(src, frameChunkOffset + kChunkHeaderSize, frameEnd);
    bool started = false;
    int failure = 0;
    const RaceFrameWalk::Status status = walk.Forward(walk.First(), 1, 0, [&](const RaceFrame& frame) {
        const RaceFrameWalk::Status r =
            RaceFrameWalk::Records(frame.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                if (type == RecSession) {
                    if (body.size() < 4) {
                        failure = Code(ParseError::Corrupt);
                        return false;
                    }
                    std::uint32_t w = LoadU32(body.data());
                    if (quickRace) w = QuickRaceSessionWord(w);
                    const int kind = SessionWordKind(w);
                    firstSessionKind = kind;
                    windowStart[static_cast<std::size_t>(kind)] = SessionWordTimeMs(w);
                    if (windowStart[static_cast<std::size_t>(kind)] != 0) started = true;
                    return true;
                }
                if (IsKnownRecordType(type)) return true;
                failure = Code(ParseError::UnknownRecord);
                return false;
            });
        if (r == RaceFrameWalk::BadRecord) failure = Code(ParseError::Corrupt);
        return failure == 0 && !started;
    });
    switch (status) {
        case RaceFrameWalk::Done:
            return 0;
        case RaceFrameWalk::Stopped:
            return failure;
        case RaceFrameWalk::BadFrameSize:
            return Code(ParseError::Corrupt);
        default:
            return Code(ParseError::StreamEnded);
    }
}

int Drivers::backwardWalk(ReplaySource& src, std::uint64_t frameEnd, std::uint32_t headerFrameBytes) {
    const std::uint64_t first = frameChunkOffset + kChunkHeaderSize;
    if (frameEnd == first) return 0;  // no frames: no windows
    const std::uint64_t lastEnd = first + headerFrameBytes;
    if (lastEnd > frameEnd || lastFrameSize < kFrameHeaderSize || lastFrameSize > lastEnd - first)
        return Code(ParseError::Corrupt);
    lastFrameOffset = lastEnd - lastFrameSize;
    const bool ownReplay = !drivers.empty() && drivers[0].firstName == kOwnReplayMark;
    bool settled = false;
    const int swept = sweep(src, frameEnd, settled);
    if (settled) return swept;
    bool endSet = false;
    int failure = 0;

    // A stream whose sizes do not chain up: frames from the last to the first, the records of each in file order.
    RaceFrameWalk walk(src, first, frameEnd);
    const RaceFrameWalk::Status status = walk.Backward(lastFrameOffset, lastFrameSize, [&](const RaceFrame& frame) {
        const RaceFrameWalk::Status r =
            RaceFrameWalk::Records(frame.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                if (type == RecSession || type == RecRaceStart) {
                    if (body.size() < 4) {
                        failure = Code(ParseError::Corrupt);
                        return false;
                    }
                    std::uint32_t w = LoadU32(body.data());
                    if (type == RecSession) {
                        lastSessionState = SessionWordState(w);
                        if (quickRace) w = QuickRaceSessionWord(w);
                        if (!endSet) {
                            lastSessionKind = SessionWordKind(w);
                            windowEnd[static_cast<std::size_t>(lastSessionKind)] = SessionWordTimeMs(w);
                            endSet = true;
                        }
                        if (ownReplay) raceStartSeen = true;
                    } else if (!raceStartSeen) {
                        raceStartWord = w;
                        raceStartSeen = true;
                    }
                    return true;
                }
                if (IsKnownRecordType(type)) return true;
                failure = Code(ParseError::UnknownRecord);
                return false;
            });
        if (r == RaceFrameWalk::BadRecord) failure = Code(ParseError::Corrupt);
        // The walk ends at the top of the next frame once both are known.
        return failure == 0 && !(endSet && raceStartSeen);
    });
    switch (status) {
        case RaceFrameWalk::Done:
            return finishBackwardWalk();
        case RaceFrameWalk::Stopped:
            return failure != 0 ? failure : finishBackwardWalk();
        case RaceFrameWalk::ReadFailed:
            return Code(ParseError::StreamEnded);
        default:
            return Code(ParseError::Corrupt);
    }
}

// One forward pass over the whole stream makes the session index and, when
// the stream's sizes chain up (each frame's previous size is the size of the
// frame before it), also settles what the walk from the last frame back would
// find, so that a long replay is read once, in the order the kernel reads
// ahead. What that walk meets is kept from the last frame that ends its chain:
// the last frames with a session record, with a race-start record and with a
// failure. settled is false when the pass cannot stand in for the walk.
int Drivers::sweep(ReplaySource& src, std::uint64_t frameEnd, bool& settled) {
    settled = false;
    const std::uint64_t first = frameChunkOffset + kChunkHeaderSize;
    SessionFrameIndex& index = frameIndex;
    index.Clear();
    index.streamFirst = first;
    index.streamEnd = frameEnd;
    index.fileSize = src.size();
    index.fileTimeNs = src.modifiedNs();
    bool indexing = true;
    const bool ownReplay = !drivers.empty() && drivers[0].firstName == kOwnReplayMark;

    // Frame numbers, 0 for none.
    std::uint32_t chainStart = 0, lastSession = 0, lastRaceStart = 0, lastFailure = 0;
    std::uint32_t sessionFirstWord = 0, sessionLastWord = 0, raceStartFirstWord = 0;
    bool raceStartBeforeSession = false;  // in frame lastRaceStart
    // The last session word of the first frame with one after lastRaceStart
    // (or chainStart): the last one the backward walk would meet.
    bool afterRaceStartSeen = false, afterChainSeen = false;
    std::uint32_t afterRaceStartWord = 0, afterChainWord = 0;
    int failureCode = 0;
    bool broken = false, reached = false;
    std::uint16_t previousSize = 0;
    int result = 0;

    FrameLayouts layouts;
    RaceFrameWalk walk(src, first, frameEnd);
    const RaceFrameWalk::Status status = walk.Forward(first, 1, 0, [&](const RaceFrame& f) {
        if (indexing && f.size >= kFrameHeaderSize + kRecordHeaderSize) {
            const std::uint32_t head = LoadU32(f.bytes.data() + kFrameHeaderSize);
            const std::uint32_t length = head >> 16;
            if (length < kRecordHeaderSize || length > f.size - kFrameHeaderSize) {
                indexing = false;
            } else if ((head & 0xFFFF) == RecSession) {
                if (length < 8 || index.entries.size() >= SessionFrameIndex::kMaxEntries)
                    indexing = false;
                else
                    index.entries.push_back({static_cast<std::uint32_t>(f.offset - first), f.number,
                                             LoadU32(f.bytes.data() + kFrameHeaderSize + kRecordHeaderSize)});
            }
            if (!indexing) index.coveredEnd = f.offset;
        }
        if (reached || f.offset > lastFrameOffset) return indexing;

        const std::uint16_t prev = f.PreviousSize();
        if (prev == 0 || prev > f.offset - first) {
            chainStart = f.number;
            lastSession = lastRaceStart = lastFailure = 0;
            afterRaceStartSeen = afterChainSeen = false;
            broken = false;
        } else if (prev != previousSize) {
            broken = true;
        }
        previousSize = f.size;

        FrameMarks marks;
        int failure = 0;
        if (!layouts.Repeat(f.bytes, marks)) {
            FrameLayout& layout = layouts.Learn(f.size);
            const RaceFrameWalk::Status r =
                RaceFrameWalk::Records(f.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                    const std::size_t at = static_cast<std::size_t>(body.data() - f.bytes.data()) - kRecordHeaderSize;
                    const bool marked = type == RecSession || type == RecRaceStart;
                    if (marked) {
                        if (body.size() < 4) {
                            failure = Code(ParseError::Corrupt);
                            return false;
                        }
                        marks.Mark(type, LoadU32(body.data()));
                    } else if (!IsKnownRecordType(type)) {
                        failure = Code(ParseError::UnknownRecord);
                        return false;
                    }
                    layout.Note(at, LoadU32(f.bytes.data() + at), marked);
                    return true;
                });
            if (r == RaceFrameWalk::BadRecord) failure = Code(ParseError::Corrupt);
            layout.End(failure == 0 && r == RaceFrameWalk::Done);
        }
        const bool hasSession = marks.hasSession, hasRaceStart = marks.hasRaceStart;
        const bool startFirst = marks.startFirst;
        const std::uint32_t firstWord = marks.firstWord, lastWord = marks.lastWord, startWord = marks.startWord;
        if (hasRaceStart) {
            lastRaceStart = f.number;
            raceStartFirstWord = startWord;
            raceStartBeforeSession = startFirst;
            afterRaceStartSeen = false;
        }
        if (hasSession) {
            lastSession = f.number;
            sessionFirstWord = firstWord;
            sessionLastWord = lastWord;
            if (!afterChainSeen) {
                afterChainSeen = true;
                afterChainWord = lastWord;
            }
            if (lastRaceStart != 0 && !afterRaceStartSeen) {
                afterRaceStartSeen = true;
                afterRaceStartWord = lastWord;
            }
        }
        if (failure != 0) {
            lastFailure = f.number;
            failureCode = failure;
        }
        if (f.offset < lastFrameOffset) return true;

        // The last frame: what the backward walk would find from here.
        reached = true;
        if (broken) return indexing;
        const bool stops = lastSession != 0 && (ownReplay || lastRaceStart != 0);
        const std::uint32_t stopFrame = !stops      ? chainStart
                                        : ownReplay ? lastSession
                                                    : std::min(lastSession, lastRaceStart);
        if (lastFailure != 0 && lastFailure >= stopFrame) {
            result = failureCode;
            return indexing;
        }
        if (stops && (ownReplay || lastSession <= lastRaceStart))
            lastSessionState = SessionWordState(sessionLastWord);
        else if (stops)
            lastSessionState = SessionWordState(afterRaceStartWord);
        else if (afterChainSeen)
            lastSessionState = SessionWordState(afterChainWord);
        if (lastSession != 0) {
            const std::uint32_t w = quickRace ? QuickRaceSessionWord(sessionFirstWord) : sessionFirstWord;
            lastSessionKind = SessionWordKind(w);
            windowEnd[static_cast<std::size_t>(lastSessionKind)] = SessionWordTimeMs(w);
        }
        if (ownReplay && lastSession != 0) {
            if (lastRaceStart > lastSession || (lastRaceStart == lastSession && raceStartBeforeSession))
                raceStartWord = raceStartFirstWord;
            raceStartSeen = true;
        } else if (lastRaceStart != 0) {
            raceStartWord = raceStartFirstWord;
            raceStartSeen = true;
        }
        result = finishBackwardWalk();
        return indexing;
    });
    if (indexing) index.coveredEnd = status == RaceFrameWalk::Done ? frameEnd : walk.Position();
    index.built = true;
    settled = reached && !broken;
    return result;
}

int Drivers::finishBackwardWalk() {
    if (windowStart[Practice] != 0 && windowEnd[Practice] == 0) windowEnd[Practice] = kWindowOpen;
    return 0;
}

Drivers::LoadResult Drivers::finishLoad(int parsed) {
    loadedFromDatabase = false;
    if (parsed < 0 || parsed != static_cast<int>(drivers.size())) {
        loadedCount = 65535;
        return LoadResult::Unreadable;
    }
    loadedCount = static_cast<std::uint16_t>(parsed);
    for (std::size_t i = 0; i < drivers.size(); ++i) {
        Driver& d = drivers[i];
        if (d.carNumber == kPaceCarNumber) d.nickname = "Pace Car";
        for (int kind = 0; kind < kSessionKinds; ++kind) {
            // The tables' valid flags are all clear here: parse() made the
            // drivers afresh and the lap chunks write only lap times.
            SessionLaps& laps = d.sessions[static_cast<std::size_t>(kind)];
            if (olderLayout) continue;
            if (kind == Qualifying && static_cast<int>(i) != savingPlayer) continue;
            std::uint64_t end = 0;
            for (int j = 0; j <= laps.count; ++j) {
                const std::uint32_t e = laps.times[static_cast<std::size_t>(j)];
                const std::uint32_t dur = e & LapWord::TimeMask;
                end += dur;
                const bool complete = (e & LapWord::Incomplete) == 0;
                const bool inWindow = end - dur > windowStart[static_cast<std::size_t>(kind)] &&
                                      end < windowEnd[static_cast<std::size_t>(kind)];
                laps.valid[static_cast<std::size_t>(j)] = complete && inWindow ? 1 : 0;
            }
        }
    }
    onlineRace = !drivers.empty() && !drivers[0].nickname.empty() ? 1 : 0;
    physics = drivers.empty() ? 0 : drivers[0].physics;
    return LoadResult::Ok;
}

bool Drivers::IsRaceOfficial() const {
    return lastSessionKind == Race && lastSessionState == kSessionStateOfficial;
}

int Drivers::LapCount(int kind, int driver) const {
    if (kind < 0 || kind >= kSessionKinds || driver < 0 || driver >= static_cast<int>(drivers.size())) return 0;
    return drivers[static_cast<std::size_t>(driver)].sessions[static_cast<std::size_t>(kind)].count;
}

std::uint32_t Drivers::LapWordAt(int kind, int driver, int lap) const {
    if (kind < 0 || kind >= kSessionKinds || driver < 0 || driver >= static_cast<int>(drivers.size()) || lap < 0 ||
        lap >= kLapTableSize)
        return 0;
    return drivers[static_cast<std::size_t>(driver)]
        .sessions[static_cast<std::size_t>(kind)]
        .times[static_cast<std::size_t>(lap)];
}

bool Drivers::IsLapValid(int kind, int driver, int lap) const {
    if (kind < 0 || kind >= kSessionKinds || driver < 0 || driver >= static_cast<int>(drivers.size()) || lap < 0 ||
        lap >= kLapTableSize)
        return false;
    return drivers[static_cast<std::size_t>(driver)]
               .sessions[static_cast<std::size_t>(kind)]
               .valid[static_cast<std::size_t>(lap)] == 1;
}

std::uint64_t Drivers::LapStartMs(int kind, int driver, int lap) const {
    std::uint64_t t = 0;
    for (int j = 0; j < lap && j < kLapTableSize; ++j) t += LapWordAt(kind, driver, j) & LapWord::TimeMask;
    return t;
}

std::uint64_t Drivers::LapEndMs(int kind, int driver, int lap) const {
    return LapStartMs(kind, driver, lap) + (LapWordAt(kind, driver, lap) & LapWord::TimeMask);
}

void Drivers::SaveToStream(ByteWriter& out) const {
    out.cstring(fileDate, 16);
    out.u32(static_cast<std::uint32_t>(savingPlayerMismatch));
    out.u16(loadedCount);
    out.u16(driverCount);
    out.u32(static_cast<std::uint32_t>(sessionPresent[Qualifying]));
    out.u32(static_cast<std::uint32_t>(sessionPresent[Race]));
    out.u32(reservedZero);
    out.u32(static_cast<std::uint32_t>(savingPlayer));
    out.u32(static_cast<std::uint32_t>(sessionPresent[Practice]));
    out.u32(static_cast<std::uint32_t>(sessionPresent[HappyHour]));
    out.u32(static_cast<std::uint32_t>(firstSessionKind));
    out.u32(static_cast<std::uint32_t>(lastSessionKind));
    out.u32(static_cast<std::uint32_t>(onlineRace));
    out.u32(static_cast<std::uint32_t>(quickRace));
    out.u8(static_cast<std::uint8_t>(olderLayout));
    const std::size_t n = loadedCount == 65535 ? 0 : std::min<std::size_t>(loadedCount, drivers.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Driver& d = drivers[i];
        out.cstring(d.firstName, 16);
        out.cstring(d.lastName, 16);
        out.cstring(d.nickname, 32);
        out.cstring(d.fourthText, 32);
        out.u8(static_cast<std::uint8_t>(d.type));
        out.u32(0);
        out.u32(d.carNumber);
        out.u32(d.carId);
        for (int kind : {Qualifying, Race, Practice, HappyHour})
            out.u32(static_cast<std::uint32_t>(d.sessions[static_cast<std::size_t>(kind)].count));
        out.u8(d.bytes[0]);
        out.u8(d.bytes[1]);
        out.u8(d.bytes[2]);
        out.u8(d.bytes[4]);
        out.u8(d.bytes[3]);
        out.u16(d.word6);
        out.u8(d.physics);
        for (int kind : {Practice, HappyHour, Qualifying, Race}) {
            if (!sessionPresent[static_cast<std::size_t>(kind)]) continue;
            const SessionLaps& laps = d.sessions[static_cast<std::size_t>(kind)];
            for (int j = 0; j <= laps.count; ++j) {
                out.u32(laps.times[static_cast<std::size_t>(j)]);
                out.u8(laps.valid[static_cast<std::size_t>(j)]);
            }
        }
    }
}

bool Drivers::LoadFromStream(ByteCursor& in, int version) {
    Drivers r;
    std::uint32_t mismatch = 0, qual = 0, race = 0, zero = 0, saving = 0, practice = 0, happy = 0, firstK = 0,
                  lastK = 0, online = 0, quick = 0;
    std::uint16_t loaded = 0, count = 0;
    std::uint8_t older = 0;
    if (!ReadCString(in, 16, r.fileDate) || !in.u32(mismatch) || !in.u16(loaded) || !in.u16(count) || !in.u32(qual) ||
        !in.u32(race) || !in.u32(zero) || !in.u32(saving) || !in.u32(practice) || !in.u32(happy) || !in.u32(firstK) ||
        !in.u32(lastK) || !in.u32(online) || !in.u32(quick) || !in.u8(older))
        return false;
    if (loaded > kMaxDrivers || firstK >= kSessionKinds || lastK >= kSessionKinds) return false;
    r.savingPlayerMismatch = mismatch != 0;
    r.loadedCount = loaded;
    r.driverCount = count;
    r.sessionPresent = {practice ? 1 : 0, qual ? 1 : 0, happy ? 1 : 0, race ? 1 : 0};
    r.reservedZero = zero;
    r.savingPlayer = static_cast<int>(saving);
    r.firstSessionKind = static_cast<int>(firstK);
    r.lastSessionKind = static_cast<int>(lastK);
    r.onlineRace = static_cast<int>(online);
    r.quickRace = static_cast<int>(quick);
    r.olderLayout = older != 0;
    r.drivers.resize(loaded);
    for (Driver& d : r.drivers) {
        std::uint8_t type = 0, b1 = 0, b2 = 0, b3 = 0, b5 = 0, b4 = 0;
        std::uint32_t zeroField = 0, number = 0, id = 0;
        std::uint32_t counts[4] = {};
        if (!ReadCString(in, 16, d.firstName) || !ReadCString(in, 16, d.lastName) || !ReadCString(in, 32, d.nickname) ||
            !ReadCString(in, 32, d.fourthText) || !in.u8(type) || !in.u32(zeroField) || !in.u32(number) || !in.u32(id))
            return false;
        for (std::uint32_t& c : counts) {
            if (!in.u32(c)) return false;
            if (c > static_cast<std::uint32_t>(kMaxLaps)) return false;
        }
        if (!in.u8(b1) || !in.u8(b2) || !in.u8(b3) || !in.u8(b5) || !in.u8(b4) || !in.u16(d.word6)) return false;
        d.physics = 255;
        if (version >= 2 && !in.u8(d.physics)) return false;
        d.type = type <= 2 ? static_cast<int>(type) : static_cast<int>(DriverNonCompeting);
        d.carNumber = static_cast<std::uint16_t>(number & 0xFFFF);
        d.carId = static_cast<std::uint16_t>(id & 0xFFFF);
        d.fileCarId = d.carId;
        d.bytes = {b1, b2, b3, b4, b5};
        const int kinds[4] = {Qualifying, Race, Practice, HappyHour};
        for (int i = 0; i < 4; ++i) d.sessions[static_cast<std::size_t>(kinds[i])].count = static_cast<int>(counts[i]);
        for (int kind : {Practice, HappyHour, Qualifying, Race}) {
            if (!r.sessionPresent[static_cast<std::size_t>(kind)]) continue;
            SessionLaps& laps = d.sessions[static_cast<std::size_t>(kind)];
            for (int j = 0; j <= laps.count; ++j)
                if (!in.u32(laps.times[static_cast<std::size_t>(j)]) || !in.u8(laps.valid[static_cast<std::size_t>(j)]))
                    return false;
        }
    }
    r.loadedFromDatabase = true;
    r.physics = r.drivers.empty() ? 0 : r.drivers[0].physics;
    *this = std::move(r);
    return true;
}

}  // namespace vra
