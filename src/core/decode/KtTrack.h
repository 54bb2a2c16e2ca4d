#pragma once
// The root object of a decoded track: its segments in track order, plus the
// track details and TSO references that are read to keep the stream in step.

#include "core/decode/CountedPtr.h"
#include "core/decode/KtObject.h"
#include "core/decode/KtSegment.h"
#include "core/decode/KtTSOReference.h"
#include "core/decode/KtTrackDetail.h"

#include <cstdint>
#include <vector>

namespace vra {

class PtfCursor;

class KtTrack : public KtObject {
public:
    KtTrack(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }
    // The count as read; the list holds only non-null references, so it may
    // be shorter. Walk the list.
    std::uint32_t GetSegmentCount() const { return segmentCount_; }
    const std::vector<CountedPtr<KtSegment>>& GetSegments() const { return segments_; }
    bool GetFlag() const { return flag_; }
    std::uint32_t GetDetailCount() const { return detailCount_; }
    const std::vector<CountedPtr<KtTrackDetail>>& GetDetails() const { return details_; }
    std::uint32_t GetTSOReferenceCount() const { return tsoReferenceCount_; }
    const std::vector<CountedPtr<KtTSOReference>>& GetTSOReferences() const { return tsoReferences_; }

private:
    std::int32_t version_ = 0;
    std::uint32_t segmentCount_ = 0;
    bool flag_ = false;
    std::uint32_t detailCount_ = 0;
    std::int32_t detailListWord_ = 0;
    std::vector<CountedPtr<KtTrackDetail>> details_;
    std::uint32_t tsoReferenceCount_ = 0;
    std::int32_t tsoListWord_ = 0;
    std::vector<CountedPtr<KtTSOReference>> tsoReferences_;
    std::int32_t segmentListWord_ = 0;
    std::vector<CountedPtr<KtSegment>> segments_;
};

}  // namespace vra
