#include "core/replay/ReplayRewrite.h"

#include "core/base/ByteCursor.h"
#include "core/replay/LapReplayWriter.h"
#include "core/replay/RaceFrameWalk.h"
#include "core/replay/ReplayFormat.h"
#include "core/replay/ReplaySource.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace vra {

namespace {

// Frames are gathered into blocks of about this size before they are written.
constexpr std::size_t kOutBlock = 1u << 20;

struct Lead {
    std::vector<std::uint8_t> bytes;   // everything up to and including the frame chunk header
    std::uint64_t first = 0, end = 0;  // the frame stream
};

bool ReadLead(ReplaySource& source, std::uint64_t F, Lead& lead) {
    if (!source.isOpen() || F < kHeaderChunkOffset + 24 || F > source.size() || source.size() - F < kChunkHeaderSize)
        return false;
    lead.bytes.resize(static_cast<std::size_t>(F + kChunkHeaderSize));
    if (!source.readAt(0, lead.bytes)) return false;
    lead.first = F + kChunkHeaderSize;
    lead.end = lead.first + LoadU32(&lead.bytes[static_cast<std::size_t>(F) + 8]);
    return lead.end <= source.size();
}

// Signed value of bits [lo, lo + 10) of w.
std::int32_t Signed10(std::uint32_t w, int lo) {
    const std::int32_t v = static_cast<std::int32_t>((w >> lo) & 0x3FF);
    return v >= 512 ? v - 1024 : v;
}
void StoreSigned10(std::uint32_t& w, int lo, std::int32_t v) {
    const std::uint32_t field = static_cast<std::uint32_t>(std::max(v, -512)) & 0x3FF;
    w = (w & ~(0x3FFu << lo)) | (field << lo);
}

// Builds the new frames of a walk: each source frame becomes the kept
// records behind a new header. keep(type, body, stored, out) appends what a
// record becomes (stored: the body with its padding bytes in the frame);
// false ends the walk as a failure.
// With sameSizes every new frame must be as long as its source frame (the
// header's counts are then kept).
template <class Keep>
bool Rewrite(ReplaySource& source, const Lead& lead, OutputSink* stream, bool sameSizes,
             std::vector<std::uint8_t>& frames, std::uint64_t& frameBytes, std::uint16_t& lastSize, Keep&& keep) {
    RaceFrameWalk walk(source, lead.first, lead.end);
    std::uint16_t previous = 0;
    bool ok = true;
    const auto status = walk.Forward(lead.first, 1, 0, [&](const RaceFrame& f) {
        const std::size_t at = frames.size();
        frames.resize(at + kFrameHeaderSize);
        std::memcpy(&frames[at + 4], f.bytes.data() + 4, 4);  // the frame's time
        const std::uint8_t* const frameEnd = f.bytes.data() + f.bytes.size();
        const auto records =
            RaceFrameWalk::Records(f.bytes, [&](std::uint32_t type, std::span<const std::uint8_t> body) {
                // A record is carried with the padding bytes that follow its
                // body in the frame, as they are.
                const std::size_t padded =
                    static_cast<std::size_t>(PaddedSize(kRecordHeaderSize + body.size())) - kRecordHeaderSize;
                const std::span<const std::uint8_t> stored(
                    body.data(), std::min(padded, static_cast<std::size_t>(frameEnd - body.data())));
                if (!keep(type, body, stored, frames)) {
                    ok = false;
                    return false;
                }
                return true;
            });
        if (!ok || records != RaceFrameWalk::Done) return ok = false;
        const std::size_t size = frames.size() - at;
        if (size > 0xFFFF || (sameSizes && size != f.size)) return ok = false;
        StoreU16(&frames[at], static_cast<std::uint16_t>(size));
        StoreU16(&frames[at + 2], previous);
        previous = static_cast<std::uint16_t>(size);
        frameBytes += size;
        if (stream && frames.size() >= kOutBlock) {
            if (!stream->write(frames)) return ok = false;
            frames.clear();
        }
        return true;
    });
    lastSize = previous;
    return ok && status == RaceFrameWalk::Done;
}

// Appends a record as it stands: header, body and its padding. stored is the
// body followed by the padding bytes the source frame holds; padding the
// frame does not hold is written as zeros.
void AppendRecord(std::uint32_t type, std::span<const std::uint8_t> body, std::span<const std::uint8_t> stored,
                  std::vector<std::uint8_t>& out) {
    const std::size_t length = kRecordHeaderSize + body.size();
    const std::size_t at = out.size();
    out.resize(at + static_cast<std::size_t>(PaddedSize(length)), 0);
    StoreU32(&out[at], type | (static_cast<std::uint32_t>(length) << 16));
    std::memcpy(&out[at + kRecordHeaderSize], stored.data(), stored.size());
}

}  // namespace

int CompressionKeeps(std::uint32_t type) {
    switch (type) {
        case RecFullCar:
        case RecCompactCars:
        case RecRaceControl:
        case RecCarStatus:
        case RecSession:
        case RecRaceStart:
            return 1;
        default:
            return IsKnownRecordType(type) ? 0 : -1;
    }
}

CompressResult CompressReplayFile(ReplaySource& source, std::uint64_t F, OutputSink& out) {
    CompressResult r;
    Lead lead;
    if (!ReadLead(source, F, lead)) return r;
    std::vector<std::uint8_t> frames;
    std::uint64_t frameBytes = 0;
    std::uint16_t last = 0;
    const bool walked = Rewrite(source, lead, nullptr, false, frames, frameBytes, last,
                                [](std::uint32_t type, std::span<const std::uint8_t> body,
                                   std::span<const std::uint8_t> stored, std::vector<std::uint8_t>& o) {
                                    const int keep = CompressionKeeps(type);
                                    if (keep > 0) AppendRecord(type, body, stored, o);
                                    return keep >= 0;
                                });
    if (!walked || F + frameBytes + kChunkHeaderSize > 0xFFFFFFFFu) return r;
    auto& b = lead.bytes;
    StoreU32(&b[8], static_cast<std::uint32_t>(F + frameBytes + kChunkHeaderSize));
    StoreU32(&b[HeaderOffset::FrameBytes], static_cast<std::uint32_t>(frameBytes));
    StoreU16(&b[HeaderOffset::LastFrameSize], last);
    StoreU32(&b[static_cast<std::size_t>(F) + 4], 0);
    StoreU32(&b[static_cast<std::size_t>(F) + 8], static_cast<std::uint32_t>(frameBytes));
    if (!out.write(b) || !out.write(frames) || !WriteEndChunk(out)) return r;
    r.result = 0;
    r.bytesOut = b.size() + frames.size() + kChunkHeaderSize;
    return r;
}

std::uint32_t FixedRideHeightCode(std::uint32_t code) {
    const double h = std::tan(code * 0.0003759564) * 1.563264;
    const double fixed = std::atan((h + 0.12) * 0.6396872185376239) * 2659.8829013151526;
    // Codes 0 to 4095 all give numbers below 4179; the field holds 12 bits.
    return static_cast<std::uint32_t>(std::clamp(std::trunc(fixed), 0.0, 4095.0));
}

void FixFullRecord(std::uint32_t (&w)[9]) {
    w[1] = (w[1] & 0xFFFFF) | (FixedRideHeightCode(w[1] >> 20) << 20);
    StoreSigned10(w[4], 12, Signed10(w[4], 12) - 20);
    StoreSigned10(w[5], 2, Signed10(w[5], 2) - 20);
    StoreSigned10(w[5], 22, Signed10(w[5], 22) - 40);
    StoreSigned10(w[6], 12, Signed10(w[6], 12) - 40);
}

int FixTransAmRideHeight(ReplaySource& source, std::uint64_t F, OutputSink& out) {
    Lead lead;
    if (!ReadLead(source, F, lead)) return 1;
    StoreU32(&lead.bytes[static_cast<std::size_t>(F) + 4], 0);
    if (!out.write(lead.bytes)) return 1;
    std::vector<std::uint8_t> frames;
    std::uint64_t frameBytes = 0;
    std::uint16_t last = 0;
    const bool walked = Rewrite(source, lead, &out, true, frames, frameBytes, last,
                                [](std::uint32_t type, std::span<const std::uint8_t> body,
                                   std::span<const std::uint8_t> stored, std::vector<std::uint8_t>& o) {
                                    const std::size_t at = o.size();
                                    AppendRecord(type, body, stored, o);
                                    if (type == RecFullCar && body.size() >= kFullRecordSize) {
                                        std::uint32_t w[9];
                                        for (int i = 0; i < 9; ++i) w[i] = LoadU32(&o[at + 4 + 4 * i]);
                                        FixFullRecord(w);
                                        for (int i = 0; i < 9; ++i) StoreU32(&o[at + 4 + 4 * i], w[i]);
                                    }
                                    return true;
                                });
    if (!walked || !out.write(frames) || !WriteEndChunk(out)) return 1;
    return 0;
}

}  // namespace vra
