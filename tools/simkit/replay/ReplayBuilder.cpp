#include "simkit/replay/ReplayBuilder.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vra::simkit {

namespace {

constexpr std::uint32_t Tag(const char (&s)[5]) {
    return std::uint32_t(std::uint8_t(s[0])) | std::uint32_t(std::uint8_t(s[1])) << 8 |
           std::uint32_t(std::uint8_t(s[2])) << 16 | std::uint32_t(std::uint8_t(s[3])) << 24;
}

constexpr std::uint32_t kTimeMask = 0x0FFFFFFF;
constexpr double kFrameMs = 1000.0 / 36.0;

void Put16(std::vector<std::uint8_t>& v, std::uint16_t x) {
    v.push_back(std::uint8_t(x));
    v.push_back(std::uint8_t(x >> 8));
}
void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}
void Set32(std::uint8_t* p, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) p[i] = std::uint8_t(x >> (8 * i));
}
void Set16(std::uint8_t* p, std::uint16_t x) {
    p[0] = std::uint8_t(x);
    p[1] = std::uint8_t(x >> 8);
}
// A fixed-width text field: copied up to its width, the rest zero.
void SetText(std::uint8_t* p, const std::string& s, std::size_t width) {
    std::memcpy(p, s.data(), std::min(s.size(), width));
}
std::uint32_t Field(std::int64_t v, int bits, int shift) {
    return (std::uint32_t(v) & ((bits >= 32) ? 0xFFFFFFFFu : ((1u << bits) - 1))) << shift;
}

std::vector<std::uint64_t> Stamps(const CarSession& car) {
    std::vector<std::uint64_t> s{car.firstStampMs};
    for (std::uint32_t lap : car.laps) s.push_back(s.back() + (lap & kTimeMask));
    return s;
}

// Raw flags of the race-control records.
constexpr std::uint32_t kFlagPace = 0, kFlagChequered = 1, kFlagWhite = 2, kFlagGreen = 4;

// When a race's flag changes: the leader, the first car over the line,
// starts the first lap, starts the last lap and finishes it.
struct RaceFlagTimes {
    std::uint64_t green = UINT64_MAX, white = UINT64_MAX, chequered = UINT64_MAX;

    explicit RaceFlagTimes(const SessionDesc& ses) {
        std::size_t laps = 0;
        for (const CarSession& c : ses.cars)
            if (c.onTrack) laps = std::max(laps, c.laps.size());
        if (laps == 0) return;
        for (const CarSession& c : ses.cars) {
            if (!c.onTrack || c.laps.empty()) continue;
            const auto s = Stamps(c);
            green = std::min(green, s.front());
            if (c.laps.size() < laps) continue;
            white = std::min(white, s[laps - 1]);
            chequered = std::min(chequered, s[laps]);
        }
    }
    std::uint32_t At(double ms) const {
        if (ms >= double(chequered)) return kFlagChequered;
        if (ms >= double(white)) return kFlagWhite;
        if (ms >= double(green)) return kFlagGreen;
        return kFlagPace;
    }
};

}  // namespace

class ReplayBuilder::Sink {
public:
    virtual ~Sink() = default;
    virtual bool write(const void* data, std::size_t n) = 0;
    virtual std::uint64_t tell() const = 0;
    virtual bool patch(std::uint64_t offset, const void* data, std::size_t n) = 0;
    bool write(const std::vector<std::uint8_t>& v) { return write(v.data(), v.size()); }
};

// ---- packing ----

std::array<std::uint32_t, 9> PackFullRecord(const FullRecordFields& f) {
    std::array<std::uint32_t, 9> w{};
    w[0] = Field(f.distance, 26, 0) | Field(f.gear + 1, 3, 27) | Field(f.wheelDirection[0], 2, 30);
    w[1] = Field(f.lateral, 20, 0) | Field(f.rideHeight, 12, 20);
    w[2] = Field(f.rpmCode, 10, 0) | Field(f.heading, 12, 10) | Field(f.pitch, 10, 22);
    w[3] = Field(f.roll, 10, 0) | Field(f.valueG, 8, 17) | Field(f.valueH, 5, 20) | Field(f.steering, 7, 25);
    w[4] = Field(f.wheelDirection[1], 2, 0) | Field(f.wheelRotation[0], 10, 2) | Field(f.suspension[0], 10, 12) |
           Field(f.wheelRotation[1], 10, 22);
    w[5] = Field(f.wheelDirection[2], 2, 0) | Field(f.suspension[1], 10, 2) | Field(f.wheelRotation[2], 10, 12) |
           Field(f.suspension[2], 10, 22);
    w[6] = Field(f.wheelDirection[3], 2, 0) | Field(f.wheelRotation[3], 10, 2) | Field(f.suspension[3], 10, 12) |
           Field(f.oilPressure, 7, 22);
    w[7] = f.w7;
    w[8] = Field(f.throttle, 8, 1) | Field(f.brake, 8, 9);
    return w;
}

std::array<std::uint32_t, 4> PackCompactRecord(const CompactRecordFields& f) {
    std::array<std::uint32_t, 4> c{};
    c[0] = Field(f.valueG, 5, 11) | Field(f.pitch, 10, 16);
    c[1] = Field(f.distance, 24, 0) | Field(f.carIdByte, 8, 24);
    c[2] = Field(f.roll, 10, 0) | Field(f.rpmCode, 10, 10) | Field(f.valueH, 7, 16) | Field(f.rideHeight, 9, 21);
    c[3] = Field(f.heading, 12, 0) | Field(f.lateral, 17, 12) | Field(f.gear + 1, 3, 29);
    return c;
}

std::uint32_t PackEngineWord(const EngineWordFields& f) {
    return Field(f.oilTemperature, 7, 0) | Field(f.waterTemperature, 7, 7) | Field(f.fuelPressure, 7, 14) |
           Field(f.valueI, 11, 21);
}

std::int32_t FullLateralCode(double metres) {
    return static_cast<std::int32_t>(std::lround(std::atan(metres / 13.27122) / 2.911741e-6));
}
std::int32_t CompactLateralCode(double metres) {
    return static_cast<std::int32_t>(std::lround(std::atan(metres / 26.6207) / 2.261833e-5));
}

// ---- description helpers ----

ReplayBuilder& ReplayBuilder::drivers(int n) {
    desc.drivers.clear();
    for (int i = 0; i < n; ++i) {
        DriverDesc d;
        if (i == 0) {
            d.firstName = "Alex";
            d.lastName = "Morgan";
            d.type = 150;
        } else {
            d.firstName = fmt::format("Driver{}", i);
            d.lastName = fmt::format("Racer{}", i);
            d.type = 250;
        }
        d.carId = 10 + static_cast<std::uint32_t>(i);
        d.carNumber = static_cast<std::uint16_t>(1 + i);
        desc.drivers.push_back(d);
    }
    desc.header.savingPlayer = 0;
    desc.settings.aiCars = static_cast<std::uint8_t>(n > 0 ? n - 1 : 0);
    return *this;
}

ReplayBuilder& ReplayBuilder::session(int kind, int laps, std::uint32_t lapMs, std::uint32_t firstStampMs) {
    SessionDesc s;
    s.kind = kind;
    for (std::size_t i = 0; i < desc.drivers.size(); ++i) {
        CarSession c;
        c.firstStampMs = firstStampMs;
        c.laps.assign(static_cast<std::size_t>(laps), lapMs + 250 * static_cast<std::uint32_t>(i));
        s.cars.push_back(c);
    }
    if (kind == 3) s.raceStartMs = firstStampMs;
    desc.sessions.push_back(s);
    return *this;
}

ReplayBuilder& ReplayBuilder::trackLength(double metres) {
    desc.trackLength = metres;
    return *this;
}

ReplayBuilder& ReplayBuilder::engineBlocks(bool on) {
    desc.engineBlocks = on;
    return *this;
}

std::uint64_t ReplayBuilder::LapStartMs(const CarSession& car, int lap) {
    const auto s = Stamps(car);
    return s[static_cast<std::size_t>(std::clamp(lap - 1, 0, static_cast<int>(s.size()) - 1))];
}

std::uint64_t ReplayBuilder::LapEndMs(const CarSession& car, int lap) {
    const auto s = Stamps(car);
    return s[static_cast<std::size_t>(std::clamp(lap, 0, static_cast<int>(s.size()) - 1))];
}

double ReplayBuilder::DistanceAt(const CarSession& car, double t, double length) {
    const auto s = Stamps(car);
    auto lapMs = [&](std::size_t k) {  // duration of lap k (1-based), never 0
        const double d = car.laps.empty() ? 60000.0 : double(car.laps[k - 1] & kTimeMask);
        return d > 0 ? d : 1.0;
    };
    double d;
    if (car.laps.empty() || t < double(s.front())) {
        const double speed = length / lapMs(1);
        d = length - (double(s.front()) - t) * speed;
    } else if (t >= double(s.back())) {
        d = (t - double(s.back())) * length / lapMs(car.laps.size());
    } else {
        const std::size_t k =
            static_cast<std::size_t>(std::upper_bound(s.begin(), s.end(), static_cast<std::uint64_t>(t)) - s.begin());
        d = (t - double(s[k - 1])) * length / lapMs(k);
    }
    d = std::fmod(d, length);
    if (d < 0) d += length;
    return d;
}

float ReplayBuilder::CompactUnitsPerMetre(double trackLength) {
    float k = 16777215.0f / (static_cast<float>(trackLength) + 10.0f);
    return std::min(k, 1024.0f);
}

// ---- writing ----

namespace {

class VectorSink : public ReplayBuilder::Sink {
public:
    std::vector<std::uint8_t> data;
    bool write(const void* p, std::size_t n) override {
        const auto* b = static_cast<const std::uint8_t*>(p);
        data.insert(data.end(), b, b + n);
        return true;
    }
    std::uint64_t tell() const override { return data.size(); }
    bool patch(std::uint64_t off, const void* p, std::size_t n) override {
        if (off + n > data.size()) return false;
        std::memcpy(data.data() + off, p, n);
        return true;
    }
};

class FileSink : public ReplayBuilder::Sink {
public:
    explicit FileSink(const std::filesystem::path& path) : f_(std::fopen(path.c_str(), "wb")), buf_(1 << 20) {
        if (f_) std::setvbuf(f_, buf_.data(), _IOFBF, buf_.size());
    }
    ~FileSink() override { close(); }
    bool ok() const { return f_ && ok_; }
    bool close() {
        if (f_) {
            ok_ = (std::fclose(f_) == 0) && ok_;
            f_ = nullptr;
        }
        return ok_;
    }
    bool write(const void* p, std::size_t n) override {
        if (!f_) return false;
        ok_ = ok_ && std::fwrite(p, 1, n, f_) == n;
        pos_ += n;
        return ok_;
    }
    std::uint64_t tell() const override { return pos_; }
    bool patch(std::uint64_t off, const void* p, std::size_t n) override {
        if (!f_) return false;
        ok_ = ok_ && std::fseek(f_, static_cast<long>(off), SEEK_SET) == 0 && std::fwrite(p, 1, n, f_) == n &&
              std::fseek(f_, 0, SEEK_END) == 0;
        return ok_;
    }

private:
    std::FILE* f_;
    std::vector<char> buf_;
    std::uint64_t pos_ = 0;
    bool ok_ = true;
};

}  // namespace

std::vector<std::uint8_t> ReplayBuilder::build() {
    VectorSink sink;
    write(sink);
    return std::move(sink.data);
}

bool ReplayBuilder::writeFile(const std::filesystem::path& path) {
    FileSink sink(path);
    if (!sink.ok()) return false;
    const bool ok = write(sink);
    return sink.close() && ok;
}

bool ReplayBuilder::write(Sink& sink) {
    layout_ = ReplayLayout();
    const ReplayDesc& s = desc;
    const bool quick = s.settings.quickRace == 2;

    // Leading chunks.
    // Never shorter than the current layout, so that a broken size field
    // still leaves the fields at their places.
    const std::uint32_t paddedBody = (std::max<std::uint32_t>(s.header.headerBodySize, 60) + 3) & ~3u;
    std::vector<std::uint8_t> head(24 + paddedBody, 0);
    Set32(&head[0], Tag("YLPR"));
    Set32(&head[4], s.header.fileWord);
    Set32(&head[12], Tag("DHPR"));
    Set32(&head[16], s.header.headerWord);
    Set32(&head[20], s.header.headerBodySize);
    Set32(&head[36], s.header.savingPlayer);
    const DriverDesc* saver = s.header.savingPlayer < s.drivers.size() ? &s.drivers[s.header.savingPlayer] : nullptr;
    SetText(&head[40], s.header.savingFirstName.value_or(saver ? saver->firstName : ""), 16);
    SetText(&head[56], s.header.savingLastName.value_or(saver ? saver->lastName : ""), 16);
    std::uint32_t lastKind = 0;
    if (!s.sessions.empty()) {
        const SessionDesc& last = s.sessions.back();
        lastKind = static_cast<std::uint32_t>(last.kind);
        if (quick) lastKind = last.kind == 3 ? 1 : 0;
    }
    Set32(&head[80], s.header.lastSessionKind.value_or(lastKind));
    sink.write(head);

    std::vector<std::uint8_t> settings(188, 0);
    auto at = [&](std::uint32_t fileOffset) { return &settings[fileOffset - 84]; };
    Set32(at(84), Tag("FNKW"));
    Set32(at(88), s.settings.word);
    Set32(at(92), s.settings.bodySize);
    SetText(at(96), s.settings.trackName, 32);
    SetText(at(128), s.settings.secondText, 32);
    *at(174) = s.settings.rules;
    *at(175) = s.settings.modes;
    *at(176) = s.settings.wear;
    *at(180) = s.settings.weather;
    *at(184) = s.settings.conditions;
    *at(188) = s.settings.temperature;
    *at(189) = s.settings.windSpeed;
    *at(191) = s.settings.aiStrength;
    *at(192) = s.settings.raceDistance;
    *at(196) = s.settings.fixedSetup;
    *at(198) = s.settings.aiCars;
    *at(199) = s.settings.quickRace;
    *at(205) = s.settings.quickQualLaps;
    Set32(at(208), s.settings.practiceWord);
    Set32(at(212), s.settings.qualifyingWord);
    Set32(at(224), s.settings.happyHourWord);
    Set32(at(228), s.settings.raceWord);
    layout_.settingsChunk = sink.tell();
    sink.write(settings);

    // Driver table.
    layout_.driverTable = sink.tell();
    std::vector<std::uint8_t> table(12 + 188 * s.drivers.size(), 0);
    Set32(&table[0], Tag("SLRD"));
    Set32(&table[8], static_cast<std::uint32_t>(188 * s.drivers.size()));
    for (std::size_t i = 0; i < s.drivers.size(); ++i) {
        const DriverDesc& d = s.drivers[i];
        std::uint8_t* r = &table[12 + 188 * i];
        Set32(r, Tag("TNRD"));
        Set32(r + 4, d.word);
        Set32(r + 8, 175);
        SetText(r + 12, d.firstName, 16);
        SetText(r + 28, d.lastName, 16);
        SetText(r + 48, d.nickname, 32);
        SetText(r + 124, d.fourthText, 32);
        r[156] = d.bytes[0];
        r[160] = d.physics;
        r[164] = d.bytes[1];
        r[165] = d.bytes[2];
        r[166] = d.bytes[3];
        r[167] = d.bytes[4];
        Set16(r + 168, d.carNumber);
        r[172] = d.type;
        Set16(r + 174, d.word6);
        Set32(r + 180, d.carId);
    }
    sink.write(table);

    // Lap chunks, one per session that has one.
    for (const SessionDesc& ses : s.sessions) {
        if (!ses.writeLapChunk) continue;
        std::vector<std::uint8_t> chunk(12, 0);
        Set32(&chunk[0], Tag("BTPL"));
        std::vector<std::uint64_t> orpl;
        const std::uint64_t chunkAt = sink.tell();
        for (std::size_t i = 0; i < ses.cars.size() && i < s.drivers.size(); ++i) {
            const CarSession& car = ses.cars[i];
            if (!car.writeLapRecord) continue;
            orpl.push_back(chunkAt + chunk.size());
            Put32(chunk, Tag("ORPL"));
            Put32(chunk, 0);
            Put32(chunk, static_cast<std::uint32_t>(8 + 4 * car.laps.size()));
            Put32(chunk, s.drivers[i].carId);
            Put32(chunk, car.firstStampMs);
            std::uint64_t t = car.firstStampMs;
            for (std::uint32_t lap : car.laps) {
                t += lap & kTimeMask;
                Put32(chunk, (static_cast<std::uint32_t>(t) & kTimeMask) | (lap & ~kTimeMask));
            }
        }
        Set32(&chunk[8], static_cast<std::uint32_t>(chunk.size() - 12));
        layout_.lapChunks.push_back(chunkAt);
        layout_.carLaps.push_back(orpl);
        sink.write(chunk);
    }

    // Frame chunk.
    layout_.frameChunk = sink.tell();
    std::vector<std::uint8_t> frameHead(12, 0);
    Set32(&frameHead[0], Tag("PTPR"));
    sink.write(frameHead);

    const float unitsPerMetre = CompactUnitsPerMetre(s.trackLength);
    const std::uint32_t saving = s.header.savingPlayer;
    std::uint64_t frameBytes = 0, frameCount = 0;
    std::uint16_t prevSize = 0;
    std::vector<std::uint8_t> out;
    FrameContext ctx;
    for (std::size_t si = 0; si < s.sessions.size(); ++si) {
        const SessionDesc& ses = s.sessions[si];
        int streamKind = ses.streamKind >= 0 ? ses.streamKind : ses.kind;
        if (ses.streamKind < 0 && quick) streamKind = ses.kind == 3 ? 1 : ses.kind == 1 ? 0 : ses.kind;
        std::uint64_t endMs = ses.startMs + ses.durationMs;
        if (ses.durationMs == 0) {
            std::uint64_t last = ses.startMs;
            for (const CarSession& c : ses.cars)
                if (c.onTrack) last = std::max(last, Stamps(c).back());
            endMs = last + ses.tailMs;
        }
        const std::uint64_t frames = static_cast<std::uint64_t>(std::ceil(double(endMs - ses.startMs) / kFrameMs)) + 1;
        layout_.sessionFirstFrame.push_back(layout_.frames.size());
        bool raceStartWritten = false;
        const bool followRace = s.raceFlags && ses.kind == 3;
        const RaceFlagTimes flagTimes(ses);
        std::uint32_t lastFlag = kFlagWhite;
        for (std::uint64_t f = 0; f < frames; ++f) {
            ctx.session = static_cast<int>(si);
            ctx.frameInSession = static_cast<std::uint32_t>(f);
            ctx.frameNumber = frameCount + 1;
            ctx.sessionMs = ses.startMs + double(f) * kFrameMs;
            ctx.records.clear();
            if (s.sessionRecords && f % 36 == 0) {
                const std::uint32_t t10 = static_cast<std::uint32_t>((ses.startMs + (f / 36) * 1000) / 10);
                const std::uint32_t w =
                    static_cast<std::uint32_t>(streamKind & 3) | ((ses.state & 15) << 4) | (t10 << 8);
                FrameRecord r{13, -1, {}};
                Put32(r.body, w);
                ctx.records.push_back(std::move(r));
            }
            if (ses.raceStartMs && !raceStartWritten && ctx.sessionMs >= *ses.raceStartMs) {
                FrameRecord r{14, -1, {}};
                Put32(r.body, ses.raceStartWord);
                ctx.records.push_back(std::move(r));
                raceStartWritten = true;
            }
            auto lateralAt = [&](std::size_t driver) {
                return s.lateral ? s.lateral(static_cast<int>(driver), ctx.sessionMs) : 0.0;
            };
            const bool saverOnTrack = saving < ses.cars.size() && ses.cars[saving].onTrack;
            if (saverOnTrack) {
                const CarSession& car = ses.cars[saving];
                if (s.fullRecords) {
                    FullRecordFields fr;
                    fr.distance =
                        static_cast<std::uint32_t>(std::lround(DistanceAt(car, ctx.sessionMs, s.trackLength) / 0.0005));
                    fr.lateral = FullLateralCode(lateralAt(saving));
                    if (s.fullHook) s.fullHook(ctx, fr);
                    FrameRecord r{1, -1, {}};
                    for (std::uint32_t w : PackFullRecord(fr)) Put32(r.body, w);
                    ctx.records.push_back(std::move(r));
                }
                if (s.engineWord) {
                    EngineWordFields e;
                    if (s.engineHook) s.engineHook(ctx, e);
                    FrameRecord r{2, -1, {}};
                    Put32(r.body, PackEngineWord(e));
                    ctx.records.push_back(std::move(r));
                }
                if (s.engineBlocks) {
                    for (int b = 0; b < 6; ++b) {
                        FrameRecord r{static_cast<std::uint16_t>(100 + b), -1,
                                      std::vector<std::uint8_t>(kBuilderBlockSize[b], 0)};
                        if (s.blockHook) {
                            s.blockHook(ctx, 100 + b, r.body);
                        } else {
                            for (std::size_t k = 0; k + 4 <= r.body.size(); k += 4) {
                                const float v = float(100 + b) + float(k) / 1000.0f + float(f % 1000);
                                std::memcpy(&r.body[k], &v, 4);
                            }
                        }
                        ctx.records.push_back(std::move(r));
                    }
                }
            }
            if (s.compactRecords) {
                FrameRecord r{3, -1, {}};
                for (std::size_t i = 0; i < ses.cars.size() && i < s.drivers.size(); ++i) {
                    if (i == saving || !ses.cars[i].onTrack) continue;
                    CompactRecordFields c;
                    c.distance = static_cast<std::uint32_t>(DistanceAt(ses.cars[i], ctx.sessionMs, s.trackLength) *
                                                            unitsPerMetre);
                    c.carIdByte = s.drivers[i].carId & 0xFF;
                    c.lateral = CompactLateralCode(lateralAt(i));
                    if (s.compactHook) s.compactHook(ctx, static_cast<int>(i), c);
                    for (std::uint32_t w : PackCompactRecord(c)) Put32(r.body, w);
                }
                ctx.records.push_back(std::move(r));
            }
            const std::uint32_t flag = followRace ? flagTimes.At(ctx.sessionMs) : kFlagWhite;
            if (s.raceControlEvery > 0 &&
                (f % static_cast<std::uint64_t>(s.raceControlEvery) == 0 || flag != lastFlag)) {
                FrameRecord r{9, -1, {}};
                Put32(r.body, 1);
                Put32(r.body, flag);
                Put32(r.body, 0);
                ctx.records.push_back(std::move(r));
                lastFlag = flag;
            }
            if (s.carStatusEvery > 0 && f % static_cast<std::uint64_t>(s.carStatusEvery) == 0) {
                FrameRecord r{10, -1, std::vector<std::uint8_t>(10, 0x5A)};
                ctx.records.push_back(std::move(r));
            }
            if (s.paddingEvery > 0 && f % static_cast<std::uint64_t>(s.paddingEvery) == 0) {
                const std::size_t body = s.paddingLength >= 4 ? static_cast<std::size_t>(s.paddingLength - 4) : 0u;
                FrameRecord r{s.paddingType, s.paddingLength, std::vector<std::uint8_t>(body, 0xEE)};
                ctx.records.push_back(std::move(r));
            }
            if (s.frameHook) s.frameHook(ctx);

            out.assign(8, 0);
            for (const FrameRecord& r : ctx.records) {
                const std::uint16_t length =
                    static_cast<std::uint16_t>(r.length >= 0 ? r.length : static_cast<int>(4 + r.body.size()));
                Put16(out, r.type);
                Put16(out, length);
                out.insert(out.end(), r.body.begin(), r.body.end());
                while (out.size() % 4) out.push_back(0);
            }
            const std::uint16_t size = static_cast<std::uint16_t>(out.size());
            Set16(&out[0], size);
            Set16(&out[2], prevSize);
            Set32(&out[4], static_cast<std::uint32_t>(ctx.sessionMs));
            layout_.frames.push_back(sink.tell());
            sink.write(out);
            prevSize = size;
            frameBytes += size;
            ++frameCount;
        }
    }
    std::uint8_t patch[4];
    Set32(patch, static_cast<std::uint32_t>(frameBytes));
    sink.patch(layout_.frameChunk + 8, patch, 4);

    layout_.endChunk = sink.tell();
    if (s.writeEndChunk) {
        std::vector<std::uint8_t> end(12, 0);
        Set32(&end[0], Tag("SRPR"));
        sink.write(end);
    }
    layout_.fileSize = sink.tell();

    Set32(patch, s.header.fileSizeField.value_or(static_cast<std::uint32_t>(layout_.fileSize - 12)));
    sink.patch(8, patch, 4);
    Set32(patch, s.header.frameCount.value_or(static_cast<std::uint32_t>(frameCount)));
    sink.patch(24, patch, 4);
    Set32(patch, s.header.frameBytes.value_or(static_cast<std::uint32_t>(frameBytes)));
    sink.patch(28, patch, 4);
    std::uint8_t p16[2];
    Set16(p16, s.header.lastFrameSize.value_or(prevSize));
    return sink.patch(32, p16, 2);
}

}  // namespace vra::simkit
