#pragma once
// The bytes of one replay, from a file or from memory, with bounded reads.
// Frame walks ask for short windows of the file again and again; a file is
// read in large blocks so that a walk over a long replay costs about one
// sequential read of it, forward or backward.

#include "core/base/ByteCursor.h"
#include "core/base/FileUtil.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace vra {

class ReplaySource {
public:
    // Opens a file; isOpen() tells whether that worked.
    explicit ReplaySource(const std::filesystem::path& path);
    // Views bytes owned by the caller, who keeps them alive.
    explicit ReplaySource(std::span<const std::uint8_t> bytes);

    bool isOpen() const { return memory_ || file_.isOpen(); }
    std::uint64_t size() const { return size_; }

    // Copies exactly out.size() bytes at offset; false past the end.
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out);

    // A view of n bytes at offset, valid until the next call; empty span (and
    // false) when they do not lie inside the data. Set backward when the
    // caller walks towards the start, so that the block read ends here.
    bool window(std::uint64_t offset, std::size_t n, std::span<const std::uint8_t>& out, bool backward = false);

    // The bytes held in memory now (the whole image, or the last block read)
    // and the file offset of their first byte.
    std::span<const std::uint8_t> buffered(std::uint64_t& start) const;

    // Largest window that can be asked for.
    static constexpr std::size_t kBlockSize = 1u << 20;

private:
    BinaryFile file_;
    const std::uint8_t* memory_ = nullptr;
    std::uint64_t size_ = 0;
    std::vector<std::uint8_t> block_;
    std::uint64_t blockStart_ = 0;
    std::size_t blockLen_ = 0;
};

// Reads a zero-terminated string of at most width bytes (terminator
// included) from a database record; false when the record ends first.
bool ReadCString(ByteCursor& cur, std::size_t width, std::string& out);

}  // namespace vra
