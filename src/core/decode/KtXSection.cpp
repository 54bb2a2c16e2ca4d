#include "core/decode/KtXSection.h"

#include "core/decode/KtObjectHeader.h"
#include "core/decode/PtfCursor.h"

namespace vra {

namespace {
constexpr std::uint64_t SubRecordLength(int kind) {
    return kind == 1 ? 8 : kind == 2 ? 10 : 0;
}

// The trailing record is a chain of at most two sub-records (kind 1: 8
// bytes, kind 2: 10 bytes); the last byte of the first gives the kind of
// the second. Peeks are checked, so a short image fails here too.
std::uint64_t TrailingLength(const PtfCursor& pos, std::uint8_t firstType, std::uint8_t secondType) {
    if (firstType == 0) return (secondType == 1 || secondType == 2) ? SubRecordLength(secondType) : 0;
    if (firstType != 1 && firstType != 2) return 0;
    const std::uint64_t head = SubRecordLength(firstType);
    const std::uint8_t next = pos.Peek(head - 1);
    if (next == 0) return head;
    if (next == 1 || next == 2) return head + SubRecordLength(next);
    return 0;
}
}  // namespace

KtXSection::KtXSection(PtfCursor& pos, std::int32_t id) : KtObject(id) {
    version_ = KtObjectHeader::Read(pos, {"XSection", "decode\\KtXSection", 24, 34, 47}, {2, 3});
    if (version_ == 2) {
        for (double& v : values_) v = pos.F64();
        pos.Skip(1);
        return;
    }
    values_[0] = pos.F32();
    values_[1] = pos.F64();
    values_[2] = pos.F32();
    values_[3] = pos.F32();
    values_[4] = pos.F64();
    values_[5] = pos.F32();
    pos.Skip(1);
    firstType_ = pos.U8();
    secondType_ = pos.U8();
    pos.Skip(TrailingLength(pos, firstType_, secondType_));
}

}  // namespace vra
