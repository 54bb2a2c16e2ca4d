#include "core/decode/KtWSection.h"

#include "core/decode/KtAppearance.h"
#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtObjectHeader.h"
#include "core/decode/KtTextureCoords.h"
#include "core/decode/PtfCursor.h"

namespace vra {

KtWSection::KtWSection(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    version_ = KtObjectHeader::Read(pos, {"WSection", "decode\\KtWSection", 29, 39, 53}, {5, 6, 7});
    startOffset_ = pos.Real(version_ == 5);
    endOffset_ = pos.Real(version_ == 5);
    straight_ = pos.Flag();
    pos.Skip(4);
    for (double& v : further_) v = pos.F64();
    pos.Skip(20);
    if (version_ == 7) pos.Skip(40 * static_cast<std::uint64_t>(pos.U32()));
    kind_ = pos.I32();
    itemCount_ = pos.U32();
    pos.Skip(8);
    // Each item takes at least 20 bytes, so a huge count ends at the image end.
    for (std::uint32_t i = 0; i < itemCount_; ++i) ReadItem(pos, i == 0);
}

void KtWSection::ReadItem(PtfCursor& pos, bool first) {
    if (!first) pos.F64();
    for (int group = 0; group < 5; ++group) ReadTextureGroup(pos);
}

void KtWSection::ReadTextureGroup(PtfCursor& pos) {
    KtObjectFactory& factory = pos.Factory();
    CountedPtr<KtAppearance> appearance;
    if (!factory.ReadAppearance(pos, appearance)) return;
    CountedPtr<KtTextureCoords> coords;
    factory.ReadTextureCoords(pos, coords);
    const int present = appearance->GetPresentSlotCount();
    for (int i = 0; i < present; ++i)
        if (pos.U8() == 0) pos.Skip(34);
}

}  // namespace vra
