#include "core/replay/ReplaySource.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vra {

namespace {

// A walk through a whole file reads it in larger blocks: fewer, longer
// reads cost the kernel less per byte.
constexpr std::size_t kSequentialBlockSize = std::size_t{1} << 20;
// A stretch of a file read once, whose bytes the caller decodes as they come,
// reads a quarter of that: fewer reads than random access, while the block
// still lies in the processor's cache beside what the caller writes.
constexpr std::size_t kStretchBlockSize = std::size_t{1} << 18;

// The spare buffer a block of this size is kept in.
std::uint8_t SizeClassOf(std::size_t blockSize) {
    return blockSize == kSequentialBlockSize ? 1 : blockSize == kStretchBlockSize ? 2 : 0;
}

std::uint64_t PageDown(std::uint64_t offset) {
    return offset & ~std::uint64_t{ReplaySource::kPageSize - 1};
}

// One block buffer of each size kept per thread between sources: a lap's
// extraction reads a megabyte or two, and mapping a fresh buffer for each
// would cost it more in page faults than the read itself.
thread_local std::uint8_t* spareBuffer[3] = {nullptr, nullptr, nullptr};
struct SpareBufferRelease {
    ~SpareBufferRelease() {
        for (std::uint8_t*& p : spareBuffer) {
            std::free(p);
            p = nullptr;
        }
    }
};
thread_local SpareBufferRelease spareBufferRelease;

}  // namespace

void ReplaySource::FreeAligned::operator()(std::uint8_t* p) const {
    (void)&spareBufferRelease;  // registers the thread's release
    std::uint8_t*& spare = spareBuffer[sizeClass];
    if (!spare) {
        spare = p;
        return;
    }
    std::free(p);
}

ReplaySource::ReplaySource(const std::filesystem::path& path, Access access) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = static_cast<std::uint64_t>(st.st_size);
    modifiedNs_ = std::int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    // A walk through the whole file or a stretch of it gains from a deeper
    // read-ahead.
    ::posix_fadvise(fd_, 0, 0, access == Access::Random ? POSIX_FADV_NORMAL : POSIX_FADV_SEQUENTIAL);
    if (access == Access::Sequential) blockSize_ = kSequentialBlockSize;
    if (access == Access::Stretch) blockSize_ = kStretchBlockSize;
}

ReplaySource::ReplaySource(std::span<const std::uint8_t> bytes) : size_(bytes.size()) {
    // A non-null pointer marks the memory case even for an empty image.
    static const std::uint8_t empty = 0;
    memory_ = bytes.empty() ? &empty : bytes.data();
}

ReplaySource::~ReplaySource() {
    if (fd_ >= 0) ::close(fd_);
}

bool ReplaySource::readFully(std::uint64_t offset, std::uint8_t* out, std::size_t n) {
    while (n > 0) {
        const ssize_t got = ::pread(fd_, out, n, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;  // an error, or the file shrank
        out += got;
        offset += static_cast<std::uint64_t>(got);
        n -= static_cast<std::size_t>(got);
    }
    return true;
}

bool ReplaySource::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > size_ || out.size() > size_ - offset) return false;
    if (memory_) {
        if (!out.empty()) std::memcpy(out.data(), memory_ + offset, out.size());
        return true;
    }
    if (fd_ < 0) return false;
    // Served from the block when it holds the bytes (the walks read small
    // headers next to what they just read).
    if (offset >= blockStart_ && offset + out.size() <= blockStart_ + blockLen_) {
        if (!out.empty()) std::memcpy(out.data(), block_.get() + (offset - blockStart_), out.size());
        return true;
    }
    return readFully(offset, out.data(), out.size());
}

bool ReplaySource::window(std::uint64_t offset, std::size_t n, std::span<const std::uint8_t>& out, bool backward) {
    out = {};
    if (offset > size_ || n > size_ - offset || n > kBlockSize) return false;
    if (memory_) {
        out = std::span<const std::uint8_t>(memory_ + offset, n);
        return true;
    }
    if (fd_ < 0) return false;
    if (offset < blockStart_ || offset + n > blockStart_ + blockLen_) {
        const std::size_t bufferSize = blockSize_ + kPageSize;
        if (!block_) {
            const std::uint8_t sizeClass = SizeClassOf(blockSize_);
            std::uint8_t*& spare = spareBuffer[sizeClass];
            void* p = spare;
            spare = nullptr;
            if (!p && ::posix_memalign(&p, kPageSize, bufferSize) != 0) return false;
            block_ =
                std::unique_ptr<std::uint8_t[], FreeAligned>(static_cast<std::uint8_t*>(p), FreeAligned{sizeClass});
        }
        const std::uint64_t need = offset + n;
        std::uint64_t start = PageDown(offset);
        std::uint64_t stop = 0;
        if (backward) {
            // The block ends just past the window (rounded up to a page) and
            // reaches back as far as a block goes.
            stop = std::min<std::uint64_t>(size_, PageDown(need + kPageSize - 1));
            start = std::min(start, stop > blockSize_ ? PageDown(stop - blockSize_) : 0);
        } else {
            stop = std::min<std::uint64_t>(size_, std::max<std::uint64_t>(start + blockSize_, need));
            if (readLimit_ < stop) stop = std::max(readLimit_, need);
        }
        stop = std::max(stop, need);
        stop = std::min<std::uint64_t>(stop, start + bufferSize);
        blockLen_ = 0;
        const std::size_t len = static_cast<std::size_t>(stop - start);
        if (!readFully(start, block_.get(), len)) return false;
        blockStart_ = start;
        blockLen_ = len;
    }
    out = std::span<const std::uint8_t>(block_.get() + (offset - blockStart_), n);
    return true;
}

bool ReadCString(ByteCursor& cur, std::size_t width, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < width; ++i) {
        std::uint8_t c = 0;
        if (!cur.u8(c)) return false;
        if (c == 0) return true;
        out.push_back(static_cast<char>(c));
    }
    return true;  // width bytes without a terminator: the field is full
}

}  // namespace vra
