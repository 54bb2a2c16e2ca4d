#include "core/replay/ReplaySource.h"

#include <algorithm>
#include <cstring>

namespace vra {

ReplaySource::ReplaySource(const std::filesystem::path& path) : file_(path) {
    size_ = file_.size();
}

ReplaySource::ReplaySource(std::span<const std::uint8_t> bytes) : size_(bytes.size()) {
    // A non-null pointer marks the memory case even for an empty image.
    static const std::uint8_t empty = 0;
    memory_ = bytes.empty() ? &empty : bytes.data();
}

bool ReplaySource::readAt(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > size_ || out.size() > size_ - offset) return false;
    if (memory_) {
        if (!out.empty()) std::memcpy(out.data(), memory_ + offset, out.size());
        return true;
    }
    return file_.readAt(offset, out);
}

bool ReplaySource::window(std::uint64_t offset, std::size_t n, std::span<const std::uint8_t>& out, bool backward) {
    out = {};
    if (offset > size_ || n > size_ - offset || n > kBlockSize) return false;
    if (memory_) {
        out = std::span<const std::uint8_t>(memory_ + offset, n);
        return true;
    }
    if (offset < blockStart_ || offset + n > blockStart_ + blockLen_) {
        std::uint64_t start = offset;
        if (backward) start = offset + n > kBlockSize ? offset + n - kBlockSize : 0;
        const std::size_t len = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSize, size_ - start));
        if (block_.size() < kBlockSize) block_.resize(kBlockSize);
        blockLen_ = 0;
        if (!file_.readAt(start, std::span<std::uint8_t>(block_.data(), len))) return false;
        blockStart_ = start;
        blockLen_ = len;
    }
    out = std::span<const std::uint8_t>(block_.data() + (offset - blockStart_), n);
    return true;
}

std::span<const std::uint8_t> ReplaySource::buffered(std::uint64_t& start) const {
    if (memory_) {
        start = 0;
        return {memory_, static_cast<std::size_t>(size_)};
    }
    start = blockStart_;
    return {block_.data(), blockLen_};
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
