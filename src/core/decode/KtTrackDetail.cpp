#include "core/decode/KtTrackDetail.h"

#include "core/decode/KtObjectFactory.h"
#include "core/decode/KtObjectHeader.h"
#include "core/decode/PtfCursor.h"

namespace vra {

KtTrackDetail::KtTrackDetail(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    KtObjectHeader::ReadFixed(pos, {"TrackDetail", "decode\\KtTrackDetail", 28, 38, 48}, 0);
    pos.Factory().ReadAppearance(pos, appearance_);
    pos.Skip(40);
    firstInteger_ = pos.I32();
    for (double& v : firstGroup_) v = pos.F64();
    secondInteger_ = pos.I32();
    for (double& v : secondGroup_) v = pos.F64();
}

}  // namespace vra
