#pragma once
// The bytes of one replay, from a file or from memory, with bounded reads.
// Frame walks ask for short windows of the file again and again; a file is
// read in large blocks so that a walk over a long replay costs about one
// sequential read of it, forward or backward. Blocks start on a page
// boundary of the file and land in a page-aligned buffer, the case the kernel
// copies fastest, and a forward walk tells the kernel to read ahead.

#include "core/base/ByteCursor.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>

namespace vra {

class ReplaySource {
public:
    // How the caller will walk the file; a hint for the kernel's read-ahead.
    // Stretch: forward through one part of it (a lap's frames).
    enum class Access { Sequential, Random, Stretch };

    // Opens a regular file; isOpen() tells whether that worked.
    explicit ReplaySource(const std::filesystem::path& path, Access access = Access::Random);
    // Views bytes owned by the caller, who keeps them alive.
    explicit ReplaySource(std::span<const std::uint8_t> bytes);
    ~ReplaySource();
    ReplaySource(const ReplaySource&) = delete;
    ReplaySource& operator=(const ReplaySource&) = delete;

    bool isOpen() const { return memory_ || fd_ >= 0; }
    std::uint64_t size() const { return size_; }
    // The file's modification time in nanoseconds; 0 for bytes in memory.
    std::int64_t modifiedNs() const { return modifiedNs_; }
    // The same in whole seconds, as stat() gives it; 0 for bytes in memory.
    std::int64_t modifiedSeconds() const {
        const std::int64_t seconds = modifiedNs_ / 1000000000;
        return modifiedNs_ % 1000000000 < 0 ? seconds - 1 : seconds;  // rounded down, as stat() has it
    }

    // Copies exactly out.size() bytes at offset; false past the end.
    bool readAt(std::uint64_t offset, std::span<std::uint8_t> out);

    // A view of n bytes at offset, valid until the next call; empty span (and
    // false) when they do not lie inside the data. Set backward when the
    // caller walks towards the start, so that the block read ends here.
    bool window(std::uint64_t offset, std::size_t n, std::span<const std::uint8_t>& out, bool backward = false);

    // The bytes held in memory now (the whole image, or the last block read)
    // and the file offset of their first byte.
    std::span<const std::uint8_t> buffered(std::uint64_t& start) const {
        if (memory_) {
            start = 0;
            return {memory_, static_cast<std::size_t>(size_)};
        }
        start = blockStart_;
        return {block_.get(), blockLen_};
    }

    // Forward block reads stop at this offset when the window asked for ends
    // before it: a caller that knows where its bytes end reads no more.
    void setReadLimit(std::uint64_t end) { readLimit_ = end; }

    // Largest window that can be asked for; the block a random-access
    // source reads (a sequential one reads more at a time).
    static constexpr std::size_t kBlockSize = 1u << 17;
    static constexpr std::size_t kPageSize = 4096;

private:
    struct FreeAligned {
        std::uint8_t sizeClass;  // the buffer's block size, by Access (value-initialised: 0, random)
        void operator()(std::uint8_t* p) const;
    };
    bool readFully(std::uint64_t offset, std::uint8_t* out, std::size_t n);

    int fd_ = -1;
    const std::uint8_t* memory_ = nullptr;
    std::uint64_t size_ = 0;
    std::int64_t modifiedNs_ = 0;
    std::uint64_t readLimit_ = UINT64_MAX;
    // A block plus a page: a window that starts late in an aligned block
    // still fits.
    std::size_t blockSize_ = kBlockSize;
    std::unique_ptr<std::uint8_t[], FreeAligned> block_;
    std::uint64_t blockStart_ = 0;
    std::size_t blockLen_ = 0;
};

// Reads a zero-terminated string of at most width bytes (terminator
// included) from a database record; false when the record ends first.
bool ReadCString(ByteCursor& cur, std::size_t width, std::string& out);

}  // namespace vra
