#include "core/decode/KtSegment.h"

#include "core/decode/KtCountedList.h"
#include "core/decode/KtObjectHeader.h"
#include "core/decode/PtfCursor.h"

namespace vra {

KtSegment::KtSegment(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    version_ = KtObjectHeader::Read(pos, {"Segment", "decode\\KtSegment", 29, 39, 49}, {1, 2});
    ReadCountedList(pos, xSectionCount_, xListWord_, xSections_, &KtObjectFactory::ReadXSection);
    ReadCountedList(pos, fSectionCount_, fListWord_, fSections_, &KtObjectFactory::ReadFSection);
    ReadCountedList(pos, wSectionCount_, wListWord_, wSections_, &KtObjectFactory::ReadWSection);
    type_ = pos.I32();
    startX_ = pos.F64();
    startY_ = pos.F64();
    startHeading_ = pos.F64();
    endX_ = pos.F64();
    endY_ = pos.F64();
    endHeading_ = pos.F64();
    pos.Skip(2);
    if (version_ == 2) {
        const std::uint64_t n = pos.U32();
        if (n != 0) pos.Skip(4 + 12 * n);
        const std::uint64_t m = pos.U32();
        if (m != 0) pos.Skip(4 + 16 * m);
    }
}

}  // namespace vra
