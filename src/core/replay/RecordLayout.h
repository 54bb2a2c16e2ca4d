#pragma once
// The record layout of a frame walked whole: its size and the places and
// heads of its records. Walking a frame's records reads each head at a place
// the one before gives, a chain of dependent loads that sets the pace of a
// pass over the stream; but most frames repeat the layout of one met shortly
// before, and a frame of the same size with the same heads at the same places
// is compared at those places all at once. Such a frame is laid out record for
// record like the one that set the layout: same places, types and lengths.

#include "core/base/ByteCursor.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vra {

struct RecordLayout {
    static constexpr int kMaxRecords = 32;  // a frame with more is always walked

    std::uint16_t size = 0;  // 0: no layout
    int count = 0;
    std::array<std::uint16_t, kMaxRecords> at{};
    std::array<std::uint32_t, kMaxRecords> head{};

    // The frame at data, frameSize bytes long, is laid out like this.
    bool Matches(const std::uint8_t* data, std::size_t frameSize) const {
        if (size == 0 || frameSize != size) return false;
        std::uint32_t differs = 0;
        for (int r = 0; r < count; ++r)
            differs |= LoadU32(data + at[static_cast<std::size_t>(r)]) ^ head[static_cast<std::size_t>(r)];
        return differs == 0;
    }
};

}  // namespace vra
