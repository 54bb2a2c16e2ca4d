#include "core/replay/Drivers.h"

#include "core/base/FileUtil.h"
#include "core/replay/ReplaySource.h"

#include <fmt/format.h>

#include <algorithm>
#include <ctime>
#include <sys/stat.h>

namespace vra {

namespace {

constexpr std::uint32_t kHeadBytes = 208;  // the part of the file before 208 holds every field read here

int DriverTypeFromFile(std::uint8_t b) {
    if (b == kFileDriverHuman) return DriverHuman;
    if (b == kFileDriverAi) return DriverAi;
    return DriverNonCompeting;
}

// One frame walked record by record. Returns 0 or a ParseError; calls
// onRecord(type, body) for every record that a walker handles itself.
template <typename OnRecord>
int WalkRecords(std::span<const std::uint8_t> frame, OnRecord&& onRecord) {
    std::size_t q = kFrameHeaderSize;
    while (q < frame.size()) {
        if (frame.size() - q < kRecordHeaderSize) return Drivers::Corrupt;
        const std::uint32_t head = LoadU32(frame.data() + q);
        const std::uint32_t type = head & 0xFFFF;
        const std::uint32_t length = head >> 16;
        if (length < kRecordHeaderSize || length > frame.size() - q) return Drivers::Corrupt;
        const int r = onRecord(type, frame.subspan(q + kRecordHeaderSize, length - kRecordHeaderSize));
        if (r != 0) return r;
        q += static_cast<std::size_t>(PaddedSize(length));
    }
    return 0;
}

}  // namespace

std::string FormatFileDate(const std::filesystem::path& path) {
    static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    const std::time_t t = st.st_mtime;  // 64-bit
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return {};
    return fmt::format("{} {} {:02}", tm.tm_year + 1900, kMonths[tm.tm_mon % 12], tm.tm_mday);
}

int Drivers::ParseReplay(const std::filesystem::path& p) {
    // A text from an earlier load must not be told for this one.
    message.clear();
    ReplaySource src(p);
    if (!src.isOpen()) return NotOpened;
    return parse(src);
}

int Drivers::Load(const std::filesystem::path& p) {
    path = p;
    fileDate = FormatFileDate(p);
    return finishLoad(ParseReplay(p));
}

int Drivers::LoadBytes(std::span<const std::uint8_t> bytes) {
    path.clear();
    fileDate.clear();
    ReplaySource src(bytes);
    return finishLoad(parse(src));
}

int Drivers::parse(ReplaySource& src) {
    message.clear();
    drivers.clear();
    sessionPresent = {};
    windowStart = {};
    windowEnd = {};
    raceStartSeen = 0;
    raceStartWord = 0;
    lastSessionState = 0;
    lastFrameOffset = 0;
    frameChunkOffset = 0;
    frameBytes = 0;
    driverCount = 0;

    std::array<std::uint8_t, kHeadBytes> head{};
    if (!src.readAt(0, head)) return ShortFile;
    lastFrameSize = LoadU16(head.data() + HeaderOffset::LastFrameSize);
    trackName = FixedText(head.data() + HeaderOffset::TrackName, 32);
    std::uint32_t saving = LoadU32(head.data() + HeaderOffset::SavingPlayer);

    const std::uint32_t bodySize = LoadU32(head.data() + HeaderOffset::HeaderBodySize);
    if (bodySize < kHeaderBodySize) return ShortFile;
    olderLayout = bodySize != kHeaderBodySize ? 1 : 0;
    const std::uint64_t tablePos = kDriverTableOffset + PaddedSize(std::uint64_t{bodySize} - kHeaderBodySize);

    std::array<std::uint8_t, kChunkHeaderSize> chunk{};
    if (!src.readAt(tablePos, chunk)) return ShortFile;
    const std::uint32_t tableSize = LoadU32(chunk.data() + 8);
    const std::uint32_t count = tableSize / kDriverRecordSize;
    if (count > static_cast<std::uint32_t>(kMaxDrivers)) {
        message = fmt::format(
            "This replay cannot be opened as it contains more drivers\nthan we ever anticipated was possible. "
            "So please contact us\nat support@velmar-replay-analyzer.invalid and tell us you saw\nthis note. "
            "Please, state also this number: {}",
            count);
        return TooManyDrivers;
    }
    std::vector<std::uint8_t> table(std::size_t{count} * kDriverRecordSize);
    if (!src.readAt(tablePos + kChunkHeaderSize, table)) return ShortFile;
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
        savingPlayerMismatch = 0;
    } else {
        savingPlayerMismatch = 1;
        for (std::uint32_t i = 0; i < count; ++i)
            if (namesMatch(i)) saving = i;
        if (saving >= count) return NoSavingPlayer;
    }
    savingPlayer = static_cast<int>(saving);
    quickRace = head[HeaderOffset::QuickRaceByte] == 2 ? 1 : 0;

    // Lap chunks, then the frame chunk.
    std::uint64_t pos = tablePos + kChunkHeaderSize + PaddedSize(tableSize);
    std::vector<std::uint64_t> lapChunks;
    for (;;) {
        if (!src.readAt(pos, chunk)) return ShortFile;
        if (LoadU32(chunk.data()) != ChunkTag::LapChunk) break;
        lapChunks.push_back(pos);
        pos += kChunkHeaderSize + PaddedSize(LoadU32(chunk.data() + 8));
        if (pos > src.size()) return ShortFile;
    }
    const std::uint32_t lastKindField = LoadU32(head.data() + HeaderOffset::LastSessionKind);
    for (std::size_t i = 0; i < lapChunks.size(); ++i) {
        const int r = parseLapChunk(src, lapChunks[i], static_cast<int>(lapChunks.size() - i), lastKindField);
        if (r != 0) return r;
    }

    frameChunkOffset = pos;
    frameBytes = LoadU32(chunk.data() + 8);
    const std::uint64_t frameEnd = pos + kChunkHeaderSize + std::uint64_t{frameBytes};
    if (frameEnd > src.size()) return StreamEnded;
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
    if (!src.readAt(pos, chunk)) return ShortFile;
    const std::uint64_t end = pos + kChunkHeaderSize + LoadU32(chunk.data() + 8);
    if (end > src.size()) return ShortFile;

    std::vector<SessionLaps> scratch(drivers.size());
    std::vector<std::uint32_t> stamps;
    std::uint64_t p = pos + kChunkHeaderSize;
    while (p < end) {
        if (end - p < kChunkHeaderSize) return Corrupt;
        if (!src.readAt(p, chunk)) return ShortFile;
        const std::uint32_t size = LoadU32(chunk.data() + 8);
        if (size < 8 || size > end - p - kChunkHeaderSize) return Corrupt;
        const std::uint32_t n = (size - 8) / 4;
        if (n > static_cast<std::uint32_t>(kMaxLaps)) return Corrupt;
        stamps.resize(2 + n);
        if (!src.readAt(p + kChunkHeaderSize,
                        std::span<std::uint8_t>(reinterpret_cast<std::uint8_t*>(stamps.data()), stamps.size() * 4)))
            return ShortFile;
        int driver = -1;
        for (std::size_t i = 0; i < drivers.size(); ++i)
            if (drivers[i].fileCarId == stamps[0]) driver = static_cast<int>(i);
        if (driver >= 0) {
            SessionLaps& laps = scratch[static_cast<std::size_t>(driver)];
            laps = SessionLaps();
            laps.count = static_cast<int>(n);
            laps.times[0] = stamps[1] & LapWord::TimeMask;
            for (std::uint32_t k = 1; k <= n; ++k) {
                const std::uint32_t cur = stamps[1 + k], prev = stamps[k];
                // A stamp earlier than its predecessor must not borrow into the flags.
                laps.times[k] = (cur & LapWord::FlagMask) |
                                (((cur & LapWord::TimeMask) - (prev & LapWord::TimeMask)) & LapWord::TimeMask);
            }
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
    sessionPresent[static_cast<std::size_t>(kind)] = 1;
    for (std::size_t i = 0; i < drivers.size(); ++i) drivers[i].sessions[static_cast<std::size_t>(kind)] = scratch[i];
    return 0;
}

int Drivers::forwardWalk(ReplaySource& src, std::uint64_t frameEnd) {
    std::uint64_t p = frameChunkOffset + kChunkHeaderSize;
    bool started = false;
    while (p < frameEnd && !started) {
        std::span<const std::uint8_t> frame;
        if (frameEnd - p < kFrameHeaderSize) return StreamEnded;
        if (!src.window(p, kFrameHeaderSize, frame)) return StreamEnded;
        const std::uint16_t size = LoadU16(frame.data());
        if (size < kFrameHeaderSize || size > frameEnd - p) return Corrupt;
        if (!src.window(p, size, frame)) return StreamEnded;
        const int r = WalkRecords(frame, [&](std::uint32_t type, std::span<const std::uint8_t> body) -> int {
            if (type == RecSession) {
                if (body.size() < 4) return Corrupt;
                std::uint32_t w = LoadU32(body.data());
                if (quickRace) w = QuickRaceSessionWord(w);
                const int kind = SessionWordKind(w);
                firstSessionKind = kind;
                windowStart[static_cast<std::size_t>(kind)] = SessionWordTimeMs(w);
                if (windowStart[static_cast<std::size_t>(kind)] != 0) started = true;
                return 0;
            }
            return IsKnownRecordType(type) ? 0 : UnknownRecord;
        });
        if (r != 0) return r;
        p += size;
    }
    return 0;
}

namespace {

// What a frame of the backward walk holds for the walk: its session and
// race-start words in record order, or the failure that ends the walk there.
struct WalkEvent {
    std::uint32_t type;  // RecSession, RecRaceStart, or 0 for a failure
    std::uint32_t word;  // the record's first u32, or the failure code
};
constexpr std::size_t kMaxBatchFrames = 8192;

struct WalkFrame {
    std::uint64_t offset = 0;
    std::uint16_t size = 0;
    int error = 0;  // the frame header itself is broken
    std::size_t firstEvent = 0, endEvent = 0;
};

}  // namespace

int Drivers::backwardWalk(ReplaySource& src, std::uint64_t frameEnd, std::uint32_t headerFrameBytes) {
    const std::uint64_t first = frameChunkOffset + kChunkHeaderSize;
    if (frameEnd == first) return 0;  // no frames: no windows
    const std::uint64_t lastEnd = first + headerFrameBytes;
    if (lastEnd > frameEnd || lastFrameSize < kFrameHeaderSize || lastFrameSize > lastEnd - first) return Corrupt;
    std::uint64_t p = lastEnd - lastFrameSize;
    lastFrameOffset = p;
    const bool ownReplay = !drivers.empty() && drivers[0].firstName == kOwnReplayMark;
    bool endSet = false;

    // Frames are met from the last to the first, but each buffered block of
    // them is read in file order (the order the memory system serves best)
    // and its session and race-start words are then applied from the last
    // frame back, exactly as a frame-by-frame walk would.
    std::vector<WalkFrame> batch;
    std::vector<WalkEvent> events;
    // The size of each frame is known before it is read (the header's last
    // frame size, then each frame's previous size), so that a block read
    // backward ends exactly at the frame.
    std::uint64_t expected = lastFrameSize;
    for (;;) {
        if (endSet && raceStartSeen) break;
        std::span<const std::uint8_t> frame;
        if (frameEnd - p < kFrameHeaderSize) return Corrupt;
        const std::size_t ask =
            static_cast<std::size_t>(std::clamp<std::uint64_t>(expected, kFrameHeaderSize, frameEnd - p));
        if (!src.window(p, ask, frame, true)) return StreamEnded;
        const std::uint16_t size = LoadU16(frame.data());
        if (size < kFrameHeaderSize || size > frameEnd - p) return Corrupt;
        if (size != frame.size() && !src.window(p, size, frame, true)) return StreamEnded;
        std::uint64_t bufferStart = 0;
        const std::span<const std::uint8_t> buffer = src.buffered(bufferStart);
        const std::uint64_t bufferEnd = bufferStart + buffer.size();

        // The frames of this block, from p back.
        batch.clear();
        events.clear();
        bool chainEnds = false;
        std::uint64_t q = p;
        std::uint16_t qSize = size;
        for (;;) {
            WalkFrame f;
            f.offset = q;
            f.size = qSize;
            batch.push_back(f);
            const std::uint16_t prev = LoadU16(buffer.data() + (q - bufferStart) + 2);
            // The first frame has no predecessor; a step below it would leave the chunk.
            if (prev == 0 || prev > q - first) {
                chainEnds = true;
                break;
            }
            const std::uint64_t nq = q - prev;
            // A batch stays within the block read (and bounded when the whole
            // replay is in memory).
            if (nq < bufferStart || batch.size() >= kMaxBatchFrames) {
                p = nq;
                expected = prev;
                break;
            }
            const std::uint16_t nSize = LoadU16(buffer.data() + (nq - bufferStart));
            if (nSize < kFrameHeaderSize || nSize > frameEnd - nq) {
                WalkFrame bad;
                bad.offset = nq;
                bad.error = Corrupt;
                batch.push_back(bad);
                chainEnds = true;
                break;
            }
            if (nq + nSize > bufferEnd) {  // inconsistent sizes: read it on its own
                p = nq;
                expected = nSize;
                break;
            }
            q = nq;
            qSize = nSize;
        }

        // Records of the block in file order.
        for (std::size_t i = batch.size(); i-- > 0;) {
            WalkFrame& f = batch[i];
            f.firstEvent = events.size();
            if (!f.error) {
                const auto bytes = buffer.subspan(static_cast<std::size_t>(f.offset - bufferStart), f.size);
                const int r = WalkRecords(bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) -> int {
                    if (type == RecSession || type == RecRaceStart) {
                        if (body.size() < 4) return Corrupt;
                        events.push_back({type, LoadU32(body.data())});
                        return 0;
                    }
                    return IsKnownRecordType(type) ? 0 : UnknownRecord;
                });
                if (r != 0) events.push_back({0, static_cast<std::uint32_t>(r)});
            }
            f.endEvent = events.size();
        }

        // Applied from the last frame back.
        for (std::size_t i = 0; i < batch.size(); ++i) {
            if (i > 0 && endSet && raceStartSeen) return finishBackwardWalk();
            const WalkFrame& f = batch[i];
            if (f.error) return f.error;
            for (std::size_t e = f.firstEvent; e < f.endEvent; ++e) {
                const WalkEvent& ev = events[e];
                if (ev.type == 0) return static_cast<int>(ev.word);
                if (ev.type == RecSession) {
                    std::uint32_t w = ev.word;
                    lastSessionState = SessionWordState(w);
                    if (quickRace) w = QuickRaceSessionWord(w);
                    if (!endSet) {
                        lastSessionKind = SessionWordKind(w);
                        windowEnd[static_cast<std::size_t>(lastSessionKind)] = SessionWordTimeMs(w);
                        endSet = true;
                    }
                    if (ownReplay) raceStartSeen = 1;
                } else if (!raceStartSeen) {
                    raceStartWord = ev.word;
                    raceStartSeen = 1;
                }
            }
        }
        if (chainEnds) break;
    }
    return finishBackwardWalk();
}

int Drivers::finishBackwardWalk() {
    if (windowStart[Practice] != 0 && windowEnd[Practice] == 0) windowEnd[Practice] = kWindowOpen;
    return 0;
}

int Drivers::finishLoad(int parsed) {
    loadedFromDatabase = 0;
    if (parsed < 0 || parsed != static_cast<int>(drivers.size())) {
        loadedCount = 65535;
        return Unreadable;
    }
    loadedCount = static_cast<std::uint16_t>(parsed);
    for (std::size_t i = 0; i < drivers.size(); ++i) {
        Driver& d = drivers[i];
        if (d.carNumber == kPaceCarNumber) d.nickname = "Pace Car";
        for (int kind = 0; kind < kSessionKinds; ++kind) {
            SessionLaps& laps = d.sessions[static_cast<std::size_t>(kind)];
            laps.valid.fill(0);
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
    return Ok;
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
    r.savingPlayerMismatch = static_cast<int>(mismatch);
    r.loadedCount = loaded;
    r.driverCount = count;
    r.sessionPresent = {practice ? 1 : 0, qual ? 1 : 0, happy ? 1 : 0, race ? 1 : 0};
    r.reservedZero = zero;
    r.savingPlayer = static_cast<int>(saving);
    r.firstSessionKind = static_cast<int>(firstK);
    r.lastSessionKind = static_cast<int>(lastK);
    r.onlineRace = static_cast<int>(online);
    r.quickRace = static_cast<int>(quick);
    r.olderLayout = older;
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
    r.loadedFromDatabase = 1;
    r.physics = r.drivers.empty() ? 0 : r.drivers[0].physics;
    *this = std::move(r);
    return true;
}

}  // namespace vra
