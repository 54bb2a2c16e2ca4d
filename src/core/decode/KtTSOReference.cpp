#include "core/decode/KtTSOReference.h"

#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtObjectHeader.h"
#include "core/decode/PtfCursor.h"

namespace vra {

KtTSOReference::KtTSOReference(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    version_ = KtObjectHeader::Read(pos, {"TSOReference", "decode\\KtTSOReference", 25, 35, 47}, {1, 6});
    // The file stores p1, p2, p3, p6, p5, p4.
    for (int index : {0, 1, 2, 5, 4, 3}) p_[index] = pos.F64();
    pos.Factory().ReadTSO(pos, tso_);
    if (version_ != 6) return;
    pos.Skip(4);
    flag_ = pos.U8();
    if (flag_ != 1) pos.Skip(44);
    pos.Skip(40 * static_cast<std::uint64_t>(pos.U32()));
    pos.Skip(pos.U32());
}

}  // namespace vra
