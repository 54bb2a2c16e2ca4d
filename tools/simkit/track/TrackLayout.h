#pragma once
// A track described as a chain of straights and circular arcs, from which the
// segments' poses and sections are worked out for the object-stream builder,
// and which also gives the geometry that a decoded track must show: the
// lengths of the pieces, the corners' centres and radii, the total length and
// the map point for a distance and a lateral offset. The expected values are
// computed here from the description alone, independently of the decoder.

#include "core/base/Point2D.h"

#include "simkit/track/PtfBuilder.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vra::simkit {

// A boundary line (F section) or wall line (W section) of a segment: lateral
// offsets at the segment's start and end (positive to the left), its code,
// and whether a corner draws it as a chord.
struct LayoutLine {
    double startOffset = 0.0;
    double endOffset = 0.0;
    std::int32_t code = 0;
    bool straight = false;
};

struct LayoutPose {
    double x = 0.0;
    double y = 0.0;
    double heading = 0.0;  // radians, not brought into any range
};

// What one piece of the decoded track must be.
struct ExpectedPiece {
    bool corner = false;
    double startDistance = 0.0;
    double length = 0.0;
    LayoutPose start;
    LayoutPose end;
    double radius = 0.0;  // corners
    double sweep = 0.0;   // corners: signed radians, positive left
    Point2D centre;       // corners
    std::vector<LayoutLine> fLines;
    std::vector<LayoutLine> wLines;

    // The map point at distance s into the piece and lateral offset d.
    Point2D PointAt(double s, double d) const;
    // The lateral offset of a line at distance s into the piece.
    double OffsetAt(const LayoutLine& line, double s) const;
};

class TrackLayout {
public:
    TrackLayout();

    TrackLayout& startAt(double x, double y, double heading);
    TrackLayout& straight(double length);
    TrackLayout& left(double radius, double degrees);
    TrackLayout& right(double radius, double degrees);
    // Sections of every segment added afterwards (and of none before).
    TrackLayout& boundaries(std::vector<LayoutLine> lines);
    TrackLayout& walls(std::vector<LayoutLine> lines);
    // Sections of the step added last only.
    TrackLayout& withBoundaries(std::vector<LayoutLine> lines);
    TrackLayout& withWalls(std::vector<LayoutLine> lines);
    // Multiplies every length and radius (sections keep their offsets).
    TrackLayout& scaled(double factor);
    // Cuts every step into `parts` equal pieces of the same shape, as real
    // tracks are made of many short segments; sections are cut with them.
    TrackLayout& subdivided(int parts);

    // 400 m straights joined by two 180-degree ends of radius 100 m, each end
    // made of two 90-degree corners (a single half turn is ambiguous in the
    // file: its sweep could be either way round).
    static TrackLayout Oval(double straightLength = 400.0, double radius = 100.0);
    // A closed road course of about 1039 m with left and right corners of
    // radii 30 to 120 m, a chicane and a corner across the +-180 degree
    // heading seam; scaled to totalLength when it is given.
    static TrackLayout RoadCourse(std::optional<double> totalLength = std::nullopt);

    // The default cross-section: four boundary lines (three surfaces: a verge
    // at +7..+10 m, the road from +7 to -7 m, a run-off from -7 to -10 m) and
    // two walls at +-11 m.
    static std::vector<LayoutLine> DefaultBoundaries();
    static std::vector<LayoutLine> DefaultWalls();

    std::vector<ExpectedPiece> Expected() const;
    double TotalLength() const;
    std::size_t StepCount() const { return steps_.size(); }

    // One segment description per step (poses, sections; no shared objects).
    std::vector<SegmentDesc> Segments() const;
    // The whole track with every object class present: X sections of both
    // versions, F sections with an appearance, textures and texture
    // coordinates, W sections with items, TSO references and track details.
    Ref<TrackDesc> Describe() const;
    std::vector<std::uint8_t> PtfImage() const;

    // A plausible driving line: outside, apex, outside through each corner.
    double RaceLineOffsetAt(double distance) const;

private:
    struct Step {
        bool corner = false;
        double length = 0.0;
        double radius = 0.0;
        double sweep = 0.0;
        std::vector<LayoutLine> fLines;
        std::vector<LayoutLine> wLines;
    };

    LayoutPose start_;
    std::vector<Step> steps_;
    std::vector<LayoutLine> fLines_;
    std::vector<LayoutLine> wLines_;
};

}  // namespace vra::simkit
