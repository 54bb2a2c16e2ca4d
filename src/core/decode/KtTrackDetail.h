#pragma once
// A detail of the track with its appearance; read to keep the stream in step.

#include "core/decode/CountedPtr.h"
#include "core/decode/KtAppearance.h"
#include "core/decode/KtObject.h"

#include <array>
#include <cstdint>

namespace vra {

class PtfCursor;

class KtTrackDetail : public KtObject {
public:
    KtTrackDetail(PtfCursor& pos, std::int32_t id);

    const CountedPtr<KtAppearance>& GetAppearance() const { return appearance_; }
    std::int32_t GetFirstInteger() const { return firstInteger_; }
    std::int32_t GetSecondInteger() const { return secondInteger_; }
    const std::array<double, 4>& GetFirstGroup() const { return firstGroup_; }
    const std::array<double, 4>& GetSecondGroup() const { return secondGroup_; }

private:
    CountedPtr<KtAppearance> appearance_;
    std::int32_t firstInteger_ = 0;
    std::int32_t secondInteger_ = 0;
    std::array<double, 4> firstGroup_{};
    std::array<double, 4> secondGroup_{};
};

}  // namespace vra
