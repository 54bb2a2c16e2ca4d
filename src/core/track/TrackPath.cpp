#include "core/track/TrackPath.h"

#include "core/decode/KtException.h"
#include "core/decode/KtTrack.h"
#include "core/track/CoreDisplay.h"
#include "core/track/MakeTrackPiece.h"
#include "core/track/PointBudget.h"
#include "core/track/SegmentVisitor.h"
#include "core/track/TrackGeometryError.h"
#include "core/track/TrackLimits.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace vra {

TrackPath::TrackPath(CountedPtr<KtTrack> track, std::filesystem::path trackFolder)
    : trackFolder_(std::move(trackFolder)) {
    if (track) {
        // The pieces first, without their points: their lengths say how long
        // the track is, and so how many points drawing it may take.
        // The segment list as stored; its count as read may be larger.
        for (const auto& segment : track->GetSegments()) {
            std::unique_ptr<Segment> piece = MakeTrackPiece(segment, length_);
            if (!piece || !(piece->Length() > 0.0)) continue;
            const double end = length_ + piece->Length();
            if (!(end <= kMaxTrackLengthMetres)) ThrowTrackGeometryInvalid();
            length_ = end;
            pieceEnds_.push_back(end);
            pieces_.push_back(std::move(piece));
        }
        PointBudget budget(PointBudget::LimitForLength(length_));
        for (const auto& piece : pieces_) budget.Take(piece->PointsToBuild());
        for (const auto& piece : pieces_) {
            piece->AddEndPoints(bounds_);
            piece->BuildSurfaces(edgeBounds_);
            piece->BuildPolylines();
        }
    }
    if (pieces_.empty()) throw KtException("ptf file holds no track");
}

TrackPath::~TrackPath() = default;

std::int32_t TrackPath::FindPieceAtDistance(double t) const {
    // The ends ascend, so the first end beyond t is found by bisection.
    const auto it = std::upper_bound(pieceEnds_.begin(), pieceEnds_.end(), t);
    if (it == pieceEnds_.end()) return -1;
    return static_cast<std::int32_t>(it - pieceEnds_.begin());
}

const Segment& TrackPath::PieceAt(std::int32_t index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= pieces_.size())
        throw std::out_of_range("track piece index out of range");
    return *pieces_[static_cast<std::size_t>(index)];
}

void TrackPath::ComputeQuarterMarks() {
    for (std::size_t i = 0; i < quarterMarks_.size(); ++i)
        quarterMarks_[i].Evaluate(*this, length_ * 0.25 * static_cast<double>(i));
}

void TrackPath::Draw(CoreDisplay& display) const {
    for (const auto& piece : pieces_) piece->DrawOnDisplay(display);
}

void TrackPath::DrawSurfaces(CoreDisplay& display) const {
    for (const auto& piece : pieces_) {
        for (const TrackSurface& surface : piece->Surfaces()) display.FillPolygon(surface);
        for (const TrackPolyline& line : piece->Polylines()) display.DrawPolyline(line);
    }
}

void TrackPath::DrawQuarterMarks(CoreDisplay& display) const {
    for (const QuarterMark& mark : quarterMarks_) display.DrawMarkerLine(mark);
}

void TrackPath::VisitPieces(SegmentVisitor& visitor) const {
    for (const auto& piece : pieces_) piece->Accept(visitor);
}

void TrackPath::ClearHighlight() {
    for (const auto& piece : pieces_) piece->ClearHighlight();
}

void TrackPath::HighlightAround(double t, std::uint32_t percent) {
    const double w = percent * length_ * 0.01;
    HighlightRange(t - w, t + w);
}

void TrackPath::HighlightRange(double from, double to) {
    // A range left by a failed call may hold -1; it is then empty.
    const auto count = static_cast<std::int32_t>(pieces_.size());
    if (firstHighlighted_ >= 0 && lastHighlighted_ < count)
        for (std::int32_t i = firstHighlighted_; i <= lastHighlighted_; ++i)
            pieces_[static_cast<std::size_t>(i)]->ClearHighlight();

    if (from > length_ || to < 0.0) return;
    const std::int32_t first = from <= 0.0 ? 0 : FindPieceAtDistance(from);
    const std::int32_t last = to >= length_ ? count - 1 : FindPieceAtDistance(to);
    if (first == -1 || last == -1) throw KtException("ERROR! first == -1 || last == -1");
    if (first > last) throw KtException("ERROR! last < first");

    firstHighlighted_ = first;
    lastHighlighted_ = last;
    for (std::int32_t i = first; i <= last; ++i) pieces_[static_cast<std::size_t>(i)]->HighlightWhole();
    pieces_[static_cast<std::size_t>(first)]->Enter(from);
    pieces_[static_cast<std::size_t>(last)]->Exit(to);
}

}  // namespace vra
