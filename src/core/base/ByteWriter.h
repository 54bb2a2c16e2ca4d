#pragma once
// Appends little-endian values to a growing byte buffer: the writing side of
// ByteCursor, used for the small binary records kept in databases.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace vra {

class ByteWriter {
public:
    void u8(std::uint8_t v) { put(v); }
    void u16(std::uint16_t v) { put(v); }
    void u32(std::uint32_t v) { put(v); }
    void i32(std::int32_t v) { put(v); }
    void bytes(std::span<const std::uint8_t> b) { data_.insert(data_.end(), b.begin(), b.end()); }
    // A zero-terminated string of at most width - 1 characters, so that a
    // reader that stops after width bytes always finds the terminator.
    void cstring(std::string_view s, std::size_t width) {
        const std::size_t n = width == 0 ? 0 : std::min(s.size(), width - 1);
        const std::size_t nul = s.substr(0, n).find('\0');
        const std::size_t keep = nul == std::string_view::npos ? n : nul;
        data_.insert(data_.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(keep));
        data_.push_back(0);
    }

    const std::vector<std::uint8_t>& data() const { return data_; }
    std::size_t size() const { return data_.size(); }

private:
    template <typename T>
    void put(T v) {
        std::uint8_t b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));  // host is little-endian (x86-64, arm64)
        data_.insert(data_.end(), b, b + sizeof(T));
    }

    std::vector<std::uint8_t> data_;
};

}  // namespace vra
