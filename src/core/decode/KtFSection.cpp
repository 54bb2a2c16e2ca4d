#include "core/decode/KtFSection.h"

#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtObjectHeader.h"
#include "core/decode/PtfCursor.h"

namespace vra {

KtFSection::KtFSection(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    // This class's second-value message has always begun with a stray "n";
    // it is kept so that the message reads as users know it.
    version_ = KtObjectHeader::Read(pos, {"FSection", "decode\\KtFSection", 38, 48, 60, "n"}, {4, 5});
    startOffset_ = pos.Real(version_ == 4);
    endOffset_ = pos.Real(version_ == 4);
    straight_ = pos.Flag();
    pos.Skip(4);
    code_ = pos.I32();
    KtObjectFactory& factory = pos.Factory();
    if (!factory.ReadAppearance(pos, appearance_)) return;
    const int present = appearance_->GetPresentSlotCount();
    if (present == 0) return;
    factory.ReadTextureCoords(pos, textureCoords_);
    for (int i = 0; i < present; ++i) SkipSlotRecord(pos);
}

void KtFSection::SkipSlotRecord(PtfCursor& pos) {
    if (pos.U8() == 0) pos.Skip(42);
}

}  // namespace vra
