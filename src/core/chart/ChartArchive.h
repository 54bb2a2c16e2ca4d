#pragma once
// The stored form of chart objects: little-endian values, strings with the
// framework's length prefix (one byte below 255, else 0xFF and a 16-bit
// length below 0xFFFE, else 0xFF 0xFFFF and a 32-bit length) and fonts as
// the 60-byte LOGFONT record. The reader refuses anything that runs past
// the end or claims more than remains.

#include "core/base/ByteCursor.h"
#include "core/base/ByteWriter.h"
#include "core/chart/ChartTypes.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vra {

class ArchiveWriter {
public:
    void u32(std::uint32_t v) { w_.u32(v); }
    void i32(std::int32_t v) { w_.i32(v); }
    void boolean(bool v) { w_.u32(v ? 1u : 0u); }
    void f64(double v);
    void colour(Rgb c) { w_.u32(ToColorRef(c)); }
    void bytes(std::span<const std::uint8_t> b) { w_.bytes(b); }
    void string(std::string_view s);
    void font(const FontSpec& f);

    const std::vector<std::uint8_t>& data() const { return w_.data(); }

private:
    ByteWriter w_;
};

class ArchiveReader {
public:
    explicit ArchiveReader(std::span<const std::uint8_t> data) : c_(data) {}

    bool u32(std::uint32_t& v) { return c_.u32(v); }
    bool i32(std::int32_t& v) { return c_.i32(v); }
    bool boolean(bool& v);
    bool f64(double& v) { return c_.f64(v); }
    bool colour(Rgb& c);
    bool string(std::string& s);
    bool font(FontSpec& f);
    std::size_t remaining() const { return c_.remaining(); }
    bool bytes(void* out, std::size_t n) { return c_.bytes(out, n); }

private:
    ByteCursor c_;
};

inline constexpr std::size_t kLogFontSize = 60;

}  // namespace vra
