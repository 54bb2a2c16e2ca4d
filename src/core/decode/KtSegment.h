#pragma once
// One piece of the track's reference line: its type (0 straight, 1 corner),
// its start and end pose and its lists of X, F and W sections.

#include "core/decode/CountedPtr.h"
#include "core/decode/KtFSection.h"
#include "core/decode/KtObject.h"
#include "core/decode/KtWSection.h"
#include "core/decode/KtXSection.h"

#include <cstdint>
#include <vector>

namespace vra {

class PtfCursor;

class KtSegment : public KtObject {
public:
    KtSegment(PtfCursor& pos, std::int32_t id);

    std::int32_t GetVersion() const { return version_; }
    std::int32_t GetType() const { return type_; }

    // Counts as read; the lists hold only the references that yielded an
    // object, so a list may be shorter than its count. Walk the lists.
    std::uint32_t GetXSectionCount() const { return xSectionCount_; }
    const std::vector<CountedPtr<KtXSection>>& GetXSections() const { return xSections_; }
    std::uint32_t GetFSectionCount() const { return fSectionCount_; }
    const std::vector<CountedPtr<KtFSection>>& GetFSections() const { return fSections_; }
    std::uint32_t GetWSectionCount() const { return wSectionCount_; }
    const std::vector<CountedPtr<KtWSection>>& GetWSections() const { return wSections_; }

    // Pose in the track's plane, headings in radians in the direction of travel.
    double GetStartX() const { return startX_; }
    double GetStartY() const { return startY_; }
    double GetStartHeading() const { return startHeading_; }
    double GetEndX() const { return endX_; }
    double GetEndY() const { return endY_; }
    double GetEndHeading() const { return endHeading_; }

private:
    std::int32_t version_ = 0;
    std::uint32_t xSectionCount_ = 0;
    std::int32_t xListWord_ = 0;
    std::vector<CountedPtr<KtXSection>> xSections_;
    std::uint32_t fSectionCount_ = 0;
    std::int32_t fListWord_ = 0;
    std::vector<CountedPtr<KtFSection>> fSections_;
    std::uint32_t wSectionCount_ = 0;
    std::int32_t wListWord_ = 0;
    std::vector<CountedPtr<KtWSection>> wSections_;
    std::int32_t type_ = 0;
    double startX_ = 0, startY_ = 0, startHeading_ = 0;
    double endX_ = 0, endY_ = 0, endHeading_ = 0;
};

}  // namespace vra
