#include "core/decode/KtTrack.h"

#include "core/decode/KtCountedList.h"
#include "core/decode/KtObjectHeader.h"

namespace vra {

KtTrack::KtTrack(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    version_ = KtObjectHeader::ReadTrackHeader(pos, {"Track", "decode\\KtTrack", 23, 33, 45});
    segmentCount_ = pos.U32();
    flag_ = pos.Flag();
    if (version_ == 6) {
        pos.Skip(172);
    } else {
        pos.Skip(32);
        const std::uint64_t n = pos.U32();
        if (n != 0) pos.Skip(4 + n);
    }
    ReadCountedList(pos, detailCount_, detailListWord_, details_, &KtObjectFactory::ReadTrackDetail);
    ReadCountedList(pos, tsoReferenceCount_, tsoListWord_, tsoReferences_, &KtObjectFactory::ReadTSOReference);
    segmentListWord_ = pos.I32();
    for (std::uint32_t i = 0; i < segmentCount_; ++i) {
        CountedPtr<KtSegment> segment;
        if (pos.Factory().ReadSegment(pos, segment)) segments_.push_back(std::move(segment));
    }
}

}  // namespace vra
