#include "core/decode/KtTSO.h"

#include "core/decode/KtObjectHeader.h"
#include "core/decode/PtfCursor.h"

namespace vra {

KtTSO::KtTSO(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    version_ = KtObjectHeader::Read(pos, {"TSO", "decode\\KtTSO", 18, 28, 39}, {2, 3});
    // Both strings are read past; nothing uses them.
    pos.Skip(pos.U32());
    pos.Skip(pos.U32());
    if (version_ == 3) pos.Skip(1);
}

}  // namespace vra
