#include "core/decode/KtTexture.h"

#include "core/decode/KtObjectHeader.h"
#include "core/decode/PtfCursor.h"

namespace vra {

KtTexture::KtTexture(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    version_ = KtObjectHeader::Read(pos, {"Texture", "decode\\KtTexture", 21, 31, 43}, {1, 2});
    const std::uint32_t n = pos.U32();
    name_ = pos.Bytes(n);
    if (version_ == 2) pos.Skip(1);
}

}  // namespace vra
