#pragma once
// Saving one lap as a replay of its own: the source's leading chunks with the
// frame counts patched, the lap's frames copied as they are, and the end
// chunk.

#include "core/replay/WriterOutput.h"

#include <cstdint>

namespace vra {

class Drivers;
class GetRpyInfo;
class ReplaySource;

// The frames of one extracted lap in its replay.
struct LapFrameRange {
    std::uint64_t frameChunkOffset = 0;  // F: the "PTPR" chunk
    std::uint64_t begin = 0;             // A: first frame of the range
    std::uint64_t end = 0;               // B: just past its last frame
    std::uint32_t frameCount = 0;        // frames read + 1, as the header counts them
    std::uint16_t lastFrameSize = 0;
};

// The range of a lap extracted from the replay that drivers describes.
LapFrameRange LapRangeOf(const Drivers& drivers, const GetRpyInfo& info);

// Writes F + 24 + (B - A) bytes to out. 0 on success, 1 when the source cannot
// be read, the range does not lie inside its frame chunk or out refuses bytes.
int WriteLapReplay(ReplaySource& source, const LapFrameRange& range, OutputSink& out);

// Stores little-endian values into a buffer the writers patch in place.
inline void StoreU16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void StoreU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Copies source bytes [begin, end) to out in large blocks.
bool CopySourceRange(ReplaySource& source, std::uint64_t begin, std::uint64_t end, OutputSink& out);

// "SRPR" with word and size 0.
bool WriteEndChunk(OutputSink& out);

}  // namespace vra
