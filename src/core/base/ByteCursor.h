#pragma once
// A read position over untrusted bytes that knows where the data ends.
// Every read checks the remaining length first and fails (returns false)
// instead of reading past the end; values are little-endian.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace vra {

class ByteCursor {
public:
    ByteCursor() = default;
    explicit ByteCursor(std::span<const std::uint8_t> data) : data_(data) {}

    std::size_t pos() const { return pos_; }
    std::size_t size() const { return data_.size(); }
    std::size_t remaining() const { return data_.size() - pos_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    std::span<const std::uint8_t> data() const { return data_; }

    // Moves to an absolute position; false (and no move) beyond the end.
    bool seek(std::uint64_t pos) {
        if (pos > data_.size()) return false;
        pos_ = static_cast<std::size_t>(pos);
        return true;
    }
    // 64-bit so that a count from the file cannot wrap.
    bool skip(std::uint64_t n) {
        if (n > remaining()) return false;
        pos_ += static_cast<std::size_t>(n);
        return true;
    }

    bool u8(std::uint8_t& out) { return read(out); }
    bool u16(std::uint16_t& out) { return read(out); }
    bool u32(std::uint32_t& out) { return read(out); }
    bool i32(std::int32_t& out) { return read(out); }
    bool u64(std::uint64_t& out) { return read(out); }
    bool f32(float& out) { return read(out); }
    bool f64(double& out) { return read(out); }

    // Copies n bytes out; false when fewer remain.
    bool bytes(void* out, std::size_t n) {
        if (n > remaining()) return false;
        if (n) std::memcpy(out, data_.data() + pos_, n);
        pos_ += n;
        return true;
    }
    // A view of the next n bytes, consumed; false when fewer remain.
    bool view(std::size_t n, std::span<const std::uint8_t>& out) {
        if (n > remaining()) return false;
        out = data_.subspan(pos_, n);
        pos_ += n;
        return true;
    }
    // Looks at byte pos()+k without moving; false past the end.
    bool peek(std::size_t k, std::uint8_t& out) const {
        if (k >= remaining()) return false;
        out = data_[pos_ + k];
        return true;
    }

private:
    template <typename T>
    bool read(T& out) {
        if (sizeof(T) > remaining()) return false;
        std::memcpy(&out, data_.data() + pos_, sizeof(T));  // host is little-endian (x86-64, arm64)
        pos_ += sizeof(T);
        return true;
    }

    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Little-endian loads from a buffer the caller has already bounds-checked.
inline std::uint16_t LoadU16(const std::uint8_t* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}
inline std::uint32_t LoadU32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline std::uint64_t LoadU64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}
inline std::int32_t LoadI32(const std::uint8_t* p) {
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// A fixed-width text field: the bytes up to the first NUL, at most width of them.
inline std::string FixedText(const std::uint8_t* p, std::size_t width) {
    std::size_t n = 0;
    while (n < width && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace vra
