#pragma once
// Helpers of the writer tests: sinks that refuse bytes, little-endian reads
// of written bytes and the end chunk every replay closes with.

#include "core/replay/WriterOutput.h"

#include <cstdint>
#include <vector>

namespace vra {

// Takes limit bytes, then refuses everything.
class FailingSink : public OutputSink {
public:
    explicit FailingSink(std::size_t limit) : limit_(limit) {}
    bool write(std::span<const std::uint8_t> bytes) override {
        if (taken_ + bytes.size() > limit_) return false;
        taken_ += bytes.size();
        return true;
    }
    using OutputSink::write;

private:
    std::size_t limit_;
    std::size_t taken_ = 0;
};

inline std::uint16_t U16At(const std::vector<std::uint8_t>& v, std::uint64_t at) {
    return static_cast<std::uint16_t>(v.at(at) | (v.at(at + 1) << 8));
}
inline std::uint32_t U32At(const std::vector<std::uint8_t>& v, std::uint64_t at) {
    return static_cast<std::uint32_t>(v.at(at)) | (static_cast<std::uint32_t>(v.at(at + 1)) << 8) |
           (static_cast<std::uint32_t>(v.at(at + 2)) << 16) | (static_cast<std::uint32_t>(v.at(at + 3)) << 24);
}
inline std::vector<std::uint8_t> Tail(const std::vector<std::uint8_t>& v, std::size_t n) {
    return {v.end() - static_cast<std::ptrdiff_t>(n), v.end()};
}
inline std::vector<std::uint8_t> EndChunk() {
    return {'S', 'R', 'P', 'R', 0, 0, 0, 0, 0, 0, 0, 0};
}

}  // namespace vra
