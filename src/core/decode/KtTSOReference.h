#pragma once
// A placement of a track-side object; read to keep the stream in step.

#include "core/decode/CountedPtr.h"
#include "core/decode/KtObject.h"
#include "core/decode/KtTSO.h"

#include <array>
#include <cstdint>

namespace vra {

class PtfCursor;

class KtTSOReference : public KtObject {
public:
    KtTSOReference(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }
    // p1 .. p6 (the file stores them as p1, p2, p3, p6, p5, p4).
    const std::array<double, 6>& GetValues() const { return p_; }
    const CountedPtr<KtTSO>& GetTSO() const { return tso_; }
    std::uint8_t GetFlag() const { return flag_; }

private:
    std::int32_t version_ = 0;
    std::array<double, 6> p_{};
    CountedPtr<KtTSO> tso_;
    std::uint8_t flag_ = 0;
};

}  // namespace vra
