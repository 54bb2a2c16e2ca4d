#pragma once
// A texture named by an appearance. The map draws no textures; the name is
// kept as read, NUL bytes included.

#include "core/decode/KtObject.h"

#include <cstdint>
#include <string>

namespace vra {

class PtfCursor;

class KtTexture : public KtObject {
public:
    KtTexture(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }
    const std::string& GetName() const { return name_; }

private:
    std::int32_t version_ = 0;
    std::string name_;
};

}  // namespace vra
