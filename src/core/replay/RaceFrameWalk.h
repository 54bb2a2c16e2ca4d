#pragma once
// Bounded walks over the frame stream of a replay, forward or backward, with
// the checks every reader of the stream needs: a frame's size must hold its
// 8-byte header and end inside the stream, a record's length must hold its
// 4-byte header and end inside its frame, and every read must lie inside the
// file. The walk never reads, allocates or loops beyond those bounds, so a
// damaged file ends it with a status instead of a crash or a hang.
//
// Contract:
// - The stream is [first, end): first = frame chunk offset + 12, end = first +
//   the chunk's byte count. The caller checks end <= the source's size first.
// - Forward(from, number, look, onFrame) visits the frames from offset `from`
//   (a frame start; `number` is its frame number, 1 for the stream's first)
//   until `end`. Each frame is checked before onFrame(const RaceFrame&) sees
//   it. With look == 0 the frame's bytes are all in view; otherwise only the
//   first min(look, bytes to end) bytes (at least the header) are, which lets
//   a walk that reads only a frame's first record skip the rest.
// - Backward(last, expected, onFrame) visits the frames from the one at `last`
//   towards the first by each frame's previous-size field, whole frames in
//   view, `expected` being the size the caller believes the frame at `last`
//   has (only a read hint). The walk ends after a frame whose previous size is
//   0 or would step before `first`.
// - Records(frame, onRecord) visits the records of one whole frame in order,
//   calling onRecord(type, body) with the body after the 4-byte record header
//   (the length field's bytes, padding excluded).
// - A callback returns true to go on and false to stop the walk (the walk
//   then reports Stopped; a callback keeps its own reason). The view a
//   callback gets is valid until it returns.
// - Frames are numbered only by Forward; Backward leaves number 0.

#include "core/base/ByteCursor.h"
#include "core/replay/Drivers.h"
#include "core/replay/ParseCarStructs.h"
#include "core/replay/ReplayFormat.h"
#include "core/replay/ReplaySource.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>

namespace vra {

// One frame as a walk meets it.
struct RaceFrame {
    std::uint64_t offset = 0;             // file offset of the frame header
    std::uint32_t number = 0;             // forward walks: from the caller's start number
    std::uint16_t size = 0;               // the frame's size field, checked
    std::span<const std::uint8_t> bytes;  // the frame, or its first bytes (see Forward)

    std::uint16_t PreviousSize() const { return LoadU16(bytes.data() + 2); }
    bool Whole() const { return bytes.size() == size; }
};

// The times of a race's frames in walk order. A frame without a session
// record lies between two that have one: its time is counted on from the
// last one, a frame's length at a time (27, 55, 83 ... ms, truncated).
class FrameTimeFill {
public:
    static constexpr double kGapFrameMs = 27.777777777777775;

    explicit FrameTimeFill(std::uint32_t first = 0) : last_(first) {}
    // The next frame's time from its session time, 0 when it has none.
    std::uint32_t operator()(std::uint32_t time) {
        if (time != 0) {
            gap_ = 0;
            last_ = time;
            return time;
        }
        ++gap_;
        return last_ + static_cast<std::uint32_t>(std::trunc(gap_ * kGapFrameMs));
    }

private:
    std::uint32_t last_;
    std::uint32_t gap_ = 0;
};

// The other cars of a frame, from its compact records. A record names its
// car by the low byte of the car id: the first driver in order with that
// byte; other ids are no car of the table.
class CompactCars {
public:
    explicit CompactCars(const Drivers& drivers) {
        byCarId_.fill(-1);
        for (std::size_t d = drivers.drivers.size(); d-- > 0;)
            byCarId_[drivers.drivers[d].carId & 0xFF] = static_cast<int>(d);
    }
    // The driver a record's car-id byte names, -1 for none.
    int DriverOf(std::uint8_t carId) const { return byCarId_[carId]; }
    // onCar(driver, fields) for each whole record of body that names a car
    // of the table, in order.
    template <typename OnCar>
    void ForEach(std::span<const std::uint8_t> body, OnCar&& onCar) const {
        const std::size_t n = body.size() / kCompactRecordSize;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t* r = body.data() + i * kCompactRecordSize;
            const std::uint32_t words[4] = {LoadU32(r), LoadU32(r + 4), LoadU32(r + 8), LoadU32(r + 12)};
            const CompactCarFields c = ParseCarStructs::UnpackCompact(words);
            const int d = byCarId_[c.carId];
            if (d >= 0) onCar(d, c);
        }
    }

private:
    std::array<int, 256> byCarId_;
};

class RaceFrameWalk {
public:
    enum Status : int {
        Done = 0,      // the walk reached its end
        Stopped,       // a callback returned false
        ShortTail,     // fewer bytes than a frame header left before the stream's end
        ReadFailed,    // the bytes could not be read
        BadFrameSize,  // a frame size below the header size or past the stream's end
        BadRecord,     // a record length below the header size or past its frame
    };

    RaceFrameWalk(ReplaySource& src, std::uint64_t first, std::uint64_t end) : src_(src), first_(first), end_(end) {}

    std::uint64_t First() const { return first_; }
    std::uint64_t End() const { return end_; }
    // Where a forward walk stopped: the frame that failed or stopped it, or End().
    std::uint64_t Position() const { return position_; }
    // Frame number of Position() in a forward walk.
    std::uint32_t PositionNumber() const { return positionNumber_; }

    template <typename OnFrame>
    Status Forward(std::uint64_t from, std::uint32_t number, std::size_t look, OnFrame&& onFrame) {
        std::uint64_t p = from;
        RaceFrame f;
        for (; p < end_; ++number) {
            position_ = p;
            positionNumber_ = number;
            if (end_ - p < kFrameHeaderSize) return ShortTail;
            if (look == 0 && HeldWhole(p, f)) {
                // Most frames lie whole in the bytes read already: they are
                // seen there, without asking the source for them twice.
                f.number = number;
                if (!onFrame(static_cast<const RaceFrame&>(f))) return Stopped;
                p += f.size;
                continue;
            }
            const std::size_t ask = look == 0 ? kFrameHeaderSize
                                              : static_cast<std::size_t>(std::min<std::uint64_t>(
                                                    std::max<std::size_t>(look, kFrameHeaderSize), end_ - p));
            if (!src_.window(p, ask, f.bytes)) return ReadFailed;
            f.size = LoadU16(f.bytes.data());
            if (f.size < kFrameHeaderSize || f.size > end_ - p) return BadFrameSize;
            if (look == 0 && !src_.window(p, f.size, f.bytes)) return ReadFailed;
            if (f.bytes.size() > f.size) f.bytes = f.bytes.first(f.size);
            f.offset = p;
            f.number = number;
            if (!onFrame(static_cast<const RaceFrame&>(f))) return Stopped;
            p += f.size;
        }
        position_ = p;
        positionNumber_ = number;
        return Done;
    }

    template <typename OnFrame>
    Status Backward(std::uint64_t last, std::size_t expected, OnFrame&& onFrame) {
        std::uint64_t p = last;
        RaceFrame f;
        for (;;) {
            if (p < first_ || p >= end_ || end_ - p < kFrameHeaderSize) return ShortTail;
            const std::size_t ask =
                static_cast<std::size_t>(std::clamp<std::uint64_t>(expected, kFrameHeaderSize, end_ - p));
            if (!src_.window(p, ask, f.bytes, true)) return ReadFailed;
            f.size = LoadU16(f.bytes.data());
            if (f.size < kFrameHeaderSize || f.size > end_ - p) return BadFrameSize;
            if (f.size != f.bytes.size() && !src_.window(p, f.size, f.bytes, true)) return ReadFailed;
            f.offset = p;
            if (!onFrame(static_cast<const RaceFrame&>(f))) return Stopped;
            const std::uint16_t prev = f.PreviousSize();
            // The first frame has no predecessor; a step below it would leave the stream.
            if (prev == 0 || prev > p - first_) return Done;
            p -= prev;
            expected = prev;
        }
    }

    template <typename OnRecord>
    static Status Records(std::span<const std::uint8_t> frame, OnRecord&& onRecord) {
        std::size_t q = kFrameHeaderSize;
        while (q < frame.size()) {
            if (frame.size() - q < kRecordHeaderSize) return BadRecord;
            const std::uint32_t head = LoadU32(frame.data() + q);
            const std::uint32_t type = head & 0xFFFF;
            const std::uint32_t length = head >> 16;
            if (length < kRecordHeaderSize || length > frame.size() - q) return BadRecord;
            if (!onRecord(type, frame.subspan(q + kRecordHeaderSize, length - kRecordHeaderSize))) return Stopped;
            q += static_cast<std::size_t>(PaddedSize(length));
        }
        return Done;
    }

private:
    // The frame at p when the source holds it whole and its size is sound;
    // otherwise false, and the caller's checked reads decide.
    bool HeldWhole(std::uint64_t p, RaceFrame& f) const {
        std::uint64_t at = 0;
        const std::span<const std::uint8_t> held = src_.buffered(at);
        if (p < at || p - at > held.size() || held.size() - (p - at) < kFrameHeaderSize) return false;
        const std::size_t in = static_cast<std::size_t>(p - at);
        const std::uint16_t size = LoadU16(held.data() + in);
        if (size < kFrameHeaderSize || size > end_ - p || size > held.size() - in) return false;
        f.offset = p;
        f.size = size;
        f.bytes = held.subspan(in, size);
        return true;
    }

    ReplaySource& src_;
    std::uint64_t first_, end_;
    std::uint64_t position_ = 0;
    std::uint32_t positionNumber_ = 0;
};

}  // namespace vra
