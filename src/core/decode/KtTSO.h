#pragma once
// A track-side object; it keeps nothing but its id.

#include "core/decode/KtObject.h"

#include <cstdint>

namespace vra {

class PtfCursor;

class KtTSO : public KtObject {
public:
    KtTSO(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }

private:
    std::int32_t version_ = 0;
};

}  // namespace vra
