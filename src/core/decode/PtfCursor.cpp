#include "core/decode/PtfCursor.h"

#include "core/decode/KtException.h"

#include <fmt/format.h>

namespace vra {

PtfCursor::PtfCursor(std::span<const std::uint8_t> image, KtObjectFactory& factory) : cur_(image), factory_(&factory) {}

void PtfCursor::Fail(std::uint64_t needed) const {
    throw KtException(fmt::format("Error: the ptf file ends too early: {} bytes needed at offset 0x{:x}, {} left",
                                  needed, cur_.pos(), cur_.remaining()));
}

std::int32_t PtfCursor::I32() {
    std::int32_t v;
    if (!cur_.i32(v)) Fail(4);
    return v;
}

std::uint32_t PtfCursor::U32() {
    std::uint32_t v;
    if (!cur_.u32(v)) Fail(4);
    return v;
}

std::uint8_t PtfCursor::U8() {
    std::uint8_t v;
    if (!cur_.u8(v)) Fail(1);
    return v;
}

double PtfCursor::F32() {
    float v;
    if (!cur_.f32(v)) Fail(4);
    return v;
}

double PtfCursor::F64() {
    double v;
    if (!cur_.f64(v)) Fail(8);
    return v;
}

void PtfCursor::Skip(std::uint64_t n) {
    if (!cur_.skip(n)) Fail(n);
}

std::uint8_t PtfCursor::Peek(std::uint64_t k) const {
    std::uint8_t v;
    if (k >= cur_.remaining() || !cur_.peek(static_cast<std::size_t>(k), v)) Fail(k + 1);
    return v;
}

std::string PtfCursor::Bytes(std::uint64_t n) {
    if (n > cur_.remaining()) Fail(n);
    std::span<const std::uint8_t> v;
    cur_.view(static_cast<std::size_t>(n), v);
    return std::string(reinterpret_cast<const char*>(v.data()), v.size());
}

}  // namespace vra
