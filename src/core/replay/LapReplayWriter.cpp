#include "core/replay/LapReplayWriter.h"

#include "core/replay/Drivers.h"
#include "core/replay/GetRpyInfo.h"
#include "core/replay/ReplayFormat.h"
#include "core/replay/ReplaySource.h"

#include <algorithm>
#include <vector>

namespace vra {

LapFrameRange LapRangeOf(const Drivers& drivers, const GetRpyInfo& info) {
    LapFrameRange r;
    r.frameChunkOffset = drivers.frameChunkOffset;
    r.begin = info.firstFrameOffset;
    r.end = info.endOffset;
    r.frameCount = info.framesInRange;
    r.lastFrameSize = info.lastFrameSize;
    return r;
}

bool CopySourceRange(ReplaySource& source, std::uint64_t begin, std::uint64_t end, OutputSink& out) {
    if (end < begin || end > source.size()) return false;
    std::uint64_t p = begin;
    while (p < end) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(end - p, ReplaySource::kBlockSize));
        std::span<const std::uint8_t> view;
        if (!source.window(p, n, view) || !out.write(view)) return false;
        p += n;
    }
    return true;
}

bool WriteEndChunk(OutputSink& out) {
    std::uint8_t end[kChunkHeaderSize] = {};
    StoreU32(end, ChunkTag::End);
    return out.write(std::span<const std::uint8_t>(end));
}

int WriteLapReplay(ReplaySource& source, const LapFrameRange& range, OutputSink& out) {
    if (!source.isOpen()) return 1;
    const std::uint64_t F = range.frameChunkOffset;
    const std::uint64_t A = range.begin, B = range.end;
    const std::uint64_t frames = F + kChunkHeaderSize;
    // The header chunk's fields lie below 36; the range must be whole frames of
    // the frame chunk, at least one header long.
    if (F < kHeaderChunkOffset + 24 || A < frames || B < A + kFrameHeaderSize || B > source.size()) return 1;
    const std::uint64_t bytes = B - A;
    if (F + bytes > 0xFFFFFFFFu) return 1;

    std::vector<std::uint8_t> lead(static_cast<std::size_t>(frames));
    if (!source.readAt(0, lead)) return 1;
    StoreU32(&lead[8], static_cast<std::uint32_t>(F + bytes));
    StoreU32(&lead[HeaderOffset::FrameCount], range.frameCount);
    StoreU32(&lead[HeaderOffset::FrameBytes], static_cast<std::uint32_t>(bytes));
    StoreU16(&lead[HeaderOffset::LastFrameSize], range.lastFrameSize);
    StoreU32(&lead[static_cast<std::size_t>(F) + 8], static_cast<std::uint32_t>(bytes));
    if (!out.write(lead)) return 1;

    // The first frame of the new file has no frame before it: a backward walk
    // must stop there instead of stepping in front of the frame chunk.
    std::uint8_t first[kFrameHeaderSize];
    if (!source.readAt(A, first)) return 1;
    StoreU16(first + 2, 0);
    if (!out.write(std::span<const std::uint8_t>(first))) return 1;
    if (!CopySourceRange(source, A + kFrameHeaderSize, B, out)) return 1;
    return WriteEndChunk(out) ? 0 : 1;
}

}  // namespace vra
