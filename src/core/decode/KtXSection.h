#pragma once
// A cross-section record of a segment; read to keep the stream in step.

#include "core/decode/KtObject.h"

#include <array>
#include <cstdint>

namespace vra {

class PtfCursor;

class KtXSection : public KtObject {
public:
    KtXSection(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }
    // a, b, c, d, e, f in that order.
    const std::array<double, 6>& GetValues() const { return values_; }
    std::uint8_t GetFirstType() const { return firstType_; }
    std::uint8_t GetSecondType() const { return secondType_; }

private:
    std::int32_t version_ = 0;
    std::array<double, 6> values_{};
    std::uint8_t firstType_ = 0;
    std::uint8_t secondType_ = 0;
};

}  // namespace vra
