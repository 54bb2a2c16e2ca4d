#pragma once
// The read position in a track's object stream. Every read is checked
// against the end of the image and throws KtException instead of reading
// past it; lengths from the file are 64-bit checked before any skip, so a
// huge or negative count can neither wrap nor move backwards.
// The cursor also carries the factory that resolves the stream's object
// references, so that two streams can be decoded independently.

#include "core/base/ByteCursor.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vra {

class KtObjectFactory;

class PtfCursor {
public:
    PtfCursor(std::span<const std::uint8_t> image, KtObjectFactory& factory);

    KtObjectFactory& Factory() const { return *factory_; }

    // Offset of the next byte from the start of the image.
    std::size_t Offset() const { return cur_.pos(); }
    std::size_t Remaining() const { return cur_.remaining(); }
    std::size_t Size() const { return cur_.size(); }

    std::int32_t I32();
    std::uint32_t U32();
    std::uint8_t U8();
    bool Flag() { return U8() != 0; }
    double F32();  // widened to double
    double F64();
    // A float64 when wide, else a float32 widened: the section classes store
    // their offsets in either width depending on the version.
    double Real(bool wide) { return wide ? F64() : F32(); }
    void Skip(std::uint64_t n);
    // Byte k ahead of the position, without moving.
    std::uint8_t Peek(std::uint64_t k) const;
    // The next n bytes, consumed.
    std::string Bytes(std::uint64_t n);

private:
    [[noreturn]] void Fail(std::uint64_t needed) const;

    ByteCursor cur_;
    KtObjectFactory* factory_;
};

}  // namespace vra
