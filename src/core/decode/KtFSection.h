#pragma once
// A lateral line along a segment that bounds a band of surface; the band
// of surface code GetCode() runs from this line to the next F section's.

#include "core/decode/CountedPtr.h"
#include "core/decode/KtAppearance.h"
#include "core/decode/KtObject.h"
#include "core/decode/KtTextureCoords.h"

#include <cstdint>

namespace vra {

class PtfCursor;

class KtFSection : public KtObject {
public:
    KtFSection(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }
    // When set, a corner draws this line as a chord instead of an arc.
    bool IsStraight() const { return straight_; }
    // Lateral offsets from the reference line at the segment's start and
    // end, positive to the left of the direction of travel.
    double GetStartOffset() const { return startOffset_; }
    double GetEndOffset() const { return endOffset_; }
    std::int32_t GetCode() const { return code_; }
    const CountedPtr<KtAppearance>& GetAppearance() const { return appearance_; }
    const CountedPtr<KtTextureCoords>& GetTextureCoords() const { return textureCoords_; }

    // One flag byte; 0 means 42 further bytes follow.
    static void SkipSlotRecord(PtfCursor& pos);

private:
    std::int32_t version_ = 0;
    bool straight_ = false;
    double startOffset_ = 0;
    double endOffset_ = 0;
    std::int32_t code_ = 0;
    CountedPtr<KtAppearance> appearance_;
    CountedPtr<KtTextureCoords> textureCoords_;
};

}  // namespace vra
