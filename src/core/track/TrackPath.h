#pragma once
// The decoded track as the rest of the program sees it: the ordered pieces
// with their start distances, the total length, four marks across the track,
// the highlighted stretch, the extent of the map and the track's folder.

#include "core/decode/CountedPtr.h"
#include "core/track/QuarterMark.h"
#include "core/track/Segment.h"
#include "core/track/TrackBounds.h"
#include "core/track/TrackEdgeBounds.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace vra {

class CoreDisplay;
class KtTrack;
class SegmentVisitor;

class TrackPath {
public:
    // Builds one piece per segment of the track, in order. Segments of an
    // unknown type and pieces of length 0 are left out: they cover no
    // distance. trackFolder is where the track's own files (the race line)
    // lie. Throws KtException "ptf file holds no track" when no piece
    // results, and "track geometry is invalid" for values that cannot make a
    // map.
    explicit TrackPath(CountedPtr<KtTrack> track, std::filesystem::path trackFolder = {});
    TrackPath(const TrackPath&) = delete;
    TrackPath& operator=(const TrackPath&) = delete;
    ~TrackPath();

    double Length() const { return length_; }
    std::size_t PieceCount() const { return pieces_.size(); }
    // The index of the piece that holds distance t (a boundary belongs to the
    // later piece, a negative distance to the first), or -1 at and beyond the
    // end.
    std::int32_t FindPieceAtDistance(double t) const;
    // index must be a valid piece index (throws std::out_of_range otherwise).
    const Segment& PieceAt(std::int32_t index) const;

    void ComputeQuarterMarks();
    const std::array<QuarterMark, 4>& QuarterMarks() const { return quarterMarks_; }

    void Draw(CoreDisplay& display) const;
    void DrawSurfaces(CoreDisplay& display) const;
    void DrawQuarterMarks(CoreDisplay& display) const;
    void VisitPieces(SegmentVisitor& visitor) const;

    void ClearHighlight();
    // Highlights percent of the track length on either side of t.
    void HighlightAround(double t, std::uint32_t percent);
    // Highlights the track from one distance to another. Throws KtException
    // "ERROR! first == -1 || last == -1" when an end lies on no piece and
    // "ERROR! last < first" for a reversed range; the previous highlight is
    // gone in both cases.
    void HighlightRange(double from, double to);
    std::int32_t FirstHighlighted() const { return firstHighlighted_; }
    std::int32_t LastHighlighted() const { return lastHighlighted_; }

    // The extent of the centre line and of the track surfaces of this path.
    const TrackBounds& Bounds() const { return bounds_; }
    const TrackEdgeBounds& EdgeBounds() const { return edgeBounds_; }

    const std::filesystem::path& TrackFolder() const { return trackFolder_; }

private:
    std::vector<std::unique_ptr<Segment>> pieces_;
    std::vector<double> pieceEnds_;  // start + length of each piece, ascending
    double length_ = 0.0;
    std::array<QuarterMark, 4> quarterMarks_{};
    std::int32_t firstHighlighted_ = 0;
    std::int32_t lastHighlighted_ = 0;
    TrackBounds bounds_;
    TrackEdgeBounds edgeBounds_;
    std::filesystem::path trackFolder_;
};

}  // namespace vra
