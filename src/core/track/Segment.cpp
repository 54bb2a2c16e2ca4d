#include "core/track/Segment.h"

#include "core/decode/KtFSection.h"
#include "core/decode/KtSegment.h"
#include "core/decode/KtWSection.h"
#include "core/track/CoreDisplay.h"
#include "core/track/TrackGeometryError.h"
#include "core/track/TrackLimits.h"

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

template <typename Section>
Segment::SectionLine LineOf(const Section& section) {
    Segment::SectionLine line;
    line.straight = section.IsStraight();
    line.startOffset = section.GetStartOffset();
    line.endOffset = section.GetEndOffset();
    line.code = section.GetCode();
    return line;
}

}  // namespace

Segment::Segment(CountedPtr<KtSegment> segment, double startDistance)
    : segment_(std::move(segment)), startDistance_(startDistance) {
    if (!segment_) ThrowTrackGeometryInvalid();
    const KtSegment& s = *segment_;
    x0_ = s.GetStartX();
    y0_ = s.GetStartY();
    h0_ = s.GetStartHeading();
    x1_ = s.GetEndX();
    y1_ = s.GetEndY();
    h1_ = s.GetEndHeading();
    for (double v : {x0_, y0_, h0_, x1_, y1_, h1_})
        if (!std::isfinite(v)) ThrowTrackGeometryInvalid();
    for (double v : {x0_, y0_, x1_, y1_})
        if (std::fabs(v) > kMaxTrackCoordinate) ThrowTrackGeometryInvalid();
    for (double v : {h0_, h1_})
        if (std::fabs(v) > kMaxHeadingRadians) ThrowTrackGeometryInvalid();

    // The lists as stored: their counts as read may be larger when the file
    // held null references in them.
    for (const auto& f : s.GetFSections())
        if (f) fLines_.push_back(LineOf(*f));
    for (const auto& w : s.GetWSections()) {
        if (!w) continue;
        SectionLine line;
        line.straight = w->IsStraight();
        line.startOffset = w->GetStartOffset();
        line.endOffset = w->GetEndOffset();
        line.code = w->GetValue();
        wLines_.push_back(line);
    }
    for (const auto* lines : {&fLines_, &wLines_})
        for (const SectionLine& line : *lines)
            if (!(std::fabs(line.startOffset) <= kMaxTrackCoordinate) ||
                !(std::fabs(line.endOffset) <= kMaxTrackCoordinate))
                ThrowTrackGeometryInvalid();

    sinStart_ = std::sin(h0_);
    cosStart_ = std::cos(h0_);
    sinEnd_ = std::sin(h1_);
    cosEnd_ = std::cos(h1_);
}

Segment::~Segment() = default;

Point2D Segment::StartPointAt(double d) const {
    return {x0_ - d * sinStart_, y0_ + d * cosStart_};
}

Point2D Segment::EndPointAt(double d) const {
    return {x1_ - d * sinEnd_, y1_ + d * cosEnd_};
}

double Segment::OffsetAt(const SectionLine& line, double s) const {
    return line.startOffset + (line.endOffset - line.startOffset) * s / length_;
}

void Segment::Enter(double t) {
    entryDistance_ = std::max(t, startDistance_);
    entered_ = true;
    whole_ = false;
}

void Segment::Exit(double t) {
    exitDistance_ = std::min(t, startDistance_ + length_);
    left_ = true;
    whole_ = false;
}

void Segment::HighlightWhole() {
    whole_ = true;
    entered_ = false;
    left_ = false;
}

void Segment::ClearHighlight() {
    whole_ = false;
    entered_ = false;
    left_ = false;
}

void Segment::DrawOnDisplay(CoreDisplay& display) const {
    if (whole_)
        display.DrawPolylineWithPen(outline_, true);
    else if (entered_ || left_)
        Draw(display);
    else
        display.DrawPolylineWithPen(outline_, false);
}

}  // namespace vra
