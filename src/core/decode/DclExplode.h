#pragma once
// Decoder of the implode format used inside track containers: a two-byte
// header (literal mode, dictionary code), then tokens of a flag bit followed
// by a plain literal byte or by a coded length and distance.

#include "core/decode/DclBitReader.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace vra {

class DclExplode {
public:
    enum class Result {
        EndMarker,     // the stream's end marker was read
        LimitReached,  // the output is full; the rest of the stream is ignored
        Truncated,     // the data ended before the end marker
        BadHeader,     // coded literals or a dictionary code other than 4, 5 or 6
        BadDistance,   // a copy reaches before the first byte produced
    };

    explicit DclExplode(DclBitReader& reader) : reader_(reader) {}

    // Decodes into out, writing at most out.size() bytes; produced receives
    // how many were written, whatever the result.
    Result Explode(std::span<std::uint8_t> out, std::size_t& produced);

private:
    DclBitReader& reader_;
};

}  // namespace vra
