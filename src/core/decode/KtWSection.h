#pragma once
// A line along a segment at a lateral offset, drawn as a polyline of its
// own kind (GetValue). Its items are read and dropped.

#include "core/decode/KtObject.h"

#include <array>
#include <cstdint>

namespace vra {

class PtfCursor;

class KtWSection : public KtObject {
public:
    KtWSection(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }
    // When set, a corner draws this line as a chord instead of an arc.
    bool IsStraight() const { return straight_; }
    double GetStartOffset() const { return startOffset_; }
    double GetEndOffset() const { return endOffset_; }
    const std::array<double, 4>& GetFurtherValues() const { return further_; }
    // The kind code handed to the polyline built for this line.
    std::int32_t GetValue() const { return kind_; }
    std::uint32_t GetItemCount() const { return itemCount_; }

private:
    void ReadItem(PtfCursor& pos, bool first);
    static void ReadTextureGroup(PtfCursor& pos);

    std::int32_t version_ = 0;
    bool straight_ = false;
    double startOffset_ = 0;
    double endOffset_ = 0;
    std::array<double, 4> further_{};
    std::int32_t kind_ = 0;
    std::uint32_t itemCount_ = 0;
};

}  // namespace vra
