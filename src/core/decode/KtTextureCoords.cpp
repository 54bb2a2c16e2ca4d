#include "core/decode/KtTextureCoords.h"

#include "core/decode/KtObjectHeader.h"
#include "core/decode/PtfCursor.h"

namespace vra {

namespace {
// A list of b bytes holds b / 8 whole doubles; the remainder is not part of it.
void SkipDoubles(PtfCursor& pos, std::uint32_t byteCount) {
    pos.Skip(static_cast<std::uint64_t>(byteCount / 8) * 8);
}
}  // namespace

KtTextureCoords::KtTextureCoords(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    version_ = KtObjectHeader::Read(pos, {"TextureCoords", "decode\\KtTextureCoords", 22, 32, 44}, {1, 5});
    value_ = pos.I32();
    pos.Skip(4);
    firstByteCount_ = pos.U32();
    SkipDoubles(pos, firstByteCount_);
    secondByteCount_ = pos.U32();
    SkipDoubles(pos, secondByteCount_);
    for (int block = 0; block < 22; ++block) SkipDoubles(pos, pos.U32());
}

}  // namespace vra
