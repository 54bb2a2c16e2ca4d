#pragma once
// Rewriting a whole replay frame by frame into a new file: the compression
// keeps only the records this program's readers use, the ride-height fix
// corrects the saving player's full records of Trans Am replays. Both copy
// the leading chunks and end the file with the end chunk.

#include "core/replay/WriterOutput.h"

#include <cstdint>

namespace vra {

class ReplaySource;

struct CompressResult {
    int result = 1;              // 0 success; 1 unreadable source, unlisted record type or refused bytes
    std::uint64_t bytesOut = 0;  // size of the written replay
};

// F is the frame-chunk offset of the source.
CompressResult CompressReplayFile(ReplaySource& source, std::uint64_t frameChunkOffset, OutputSink& out);
// 0 success, 1 when the source cannot be read as a frame stream or out
// refuses bytes.
int FixTransAmRideHeight(ReplaySource& source, std::uint64_t frameChunkOffset, OutputSink& out);

// The corrected full record of a Trans Am replay (nine words).
void FixFullRecord(std::uint32_t (&w)[9]);
// The ride-height code a code becomes.
std::uint32_t FixedRideHeightCode(std::uint32_t code);

// 1 when the compression keeps records of a type, 0 when it drops them, -1
// for a type that ends it.
int CompressionKeeps(std::uint32_t type);

}  // namespace vra
