#pragma once
// A sparse index of a replay's frame stream, made while the driver table's
// load walks the stream: every frame whose first record is a session record
// (about one a second), with its place, number and session word. A lap's
// extraction finds its first and end frames here instead of walking the
// stream from its start, so that it reads only the lap's own frames.
//
// The index is a cache of the same bytes and is never stored. It says which
// part of the stream it covers: every frame before coveredEnd passed the
// checks of the extraction's search (frame size, first record length), so a
// search that ends there gives what a walk from the start would give. Its user
// checks it against the file (size, modification time) and against the frames
// it reads, and walks the stream from its start when anything disagrees.

#include <cstdint>
#include <vector>

namespace vra {

struct SessionFrameIndex {
    struct Entry {
        std::uint32_t offset = 0;  // from the stream's first frame
        std::uint32_t number = 0;  // frame number, 1 for the stream's first frame
        std::uint32_t word = 0;    // the session word, as in the file
    };

    // More entries than this (a session record in nearly every frame of a
    // very long stream) leave the rest of the stream uncovered: the index
    // stays small and the search falls back to the walk.
    static constexpr std::size_t kMaxEntries = 1u << 20;

    bool built = false;
    std::uint64_t streamFirst = 0, streamEnd = 0;  // file offsets of the stream
    std::uint64_t coveredEnd = 0;                  // file offset; streamEnd when all of it is covered
    std::uint64_t fileSize = 0;
    std::int64_t fileTimeNs = 0;  // modification time of the file; 0 for bytes in memory
    std::vector<Entry> entries;

    void Clear() { *this = SessionFrameIndex(); }
};

}  // namespace vra
