#pragma once
// Texture coordinates that go with an appearance. Nothing reads the
// coordinate lists, so they are stepped over rather than stored: only their
// byte counts are kept.

#include "core/decode/KtObject.h"

#include <cstdint>

namespace vra {

class PtfCursor;

class KtTextureCoords : public KtObject {
public:
    KtTextureCoords(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }
    std::int32_t GetValue() const { return value_; }
    std::uint32_t GetFirstByteCount() const { return firstByteCount_; }
    std::uint32_t GetSecondByteCount() const { return secondByteCount_; }

private:
    std::int32_t version_ = 0;
    std::int32_t value_ = 0;
    std::uint32_t firstByteCount_ = 0;
    std::uint32_t secondByteCount_ = 0;
};

}  // namespace vra
