#pragma once
// The speed comparison band: walks the track's pieces and cuts them into
// stripes 20 m wide around the reference line, one colour per distance bin
// of the speed difference of two laps (green where the first is faster, red
// where the second is, brighter with the difference).

#include "core/base/Point2D.h"
#include "core/base/Rgb.h"
#include "core/track/SegmentVisitor.h"
#include "core/track/TrackBounds.h"

#include <cstdint>
#include <span>
#include <vector>

namespace vra {

class Segment;

// The box round every stripe point, for fitting the picture.
using SpeedMapBounds = TrackBounds;

struct ColouredPolygon {
    Rgb colour;
    std::vector<Point2D> points;
};

class SpdTrkVisitor : public SegmentVisitor {
public:
    static constexpr double kHalfWidth = 10.0;

    // bins: the difference per distance bin (not copied; must outlive the
    // visitor). The scale runs from -range to +range when manual, else from
    // the smallest to the largest bin.
    SpdTrkVisitor(double trackLength, std::span<const double> bins, bool manual, std::int32_t range);

    void VisitStraight(const Straight& piece) override;
    void VisitCorner(const Corner& piece) override;

    const std::vector<ColouredPolygon>& Stripes() const { return stripes_; }
    double ScaleMinimum() const { return scaleMin_; }
    double ScaleMaximum() const { return scaleMax_; }
    const SpeedMapBounds& Bounds() const { return bounds_; }

    // Green (hue 0.33) for x >= 0, red below, as bright as |x| is against the
    // larger end of the scale; full beyond a scale of 0, black only for no difference.
    static Rgb StripeColour(double x, double scaleMin, double scaleMax);

private:
    void Visit(const Segment& piece, bool corner);
    void AddStripe(const Segment& piece, bool corner, double a, double b);
    Rgb CurrentColour() const;

    std::span<const double> bins_;
    double step_ = 0.0;
    double nextBoundary_ = 0.0;
    std::uint32_t currentBin_ = 0;
    double scaleMin_ = 0.0;
    double scaleMax_ = 0.0;
    std::vector<ColouredPolygon> stripes_;
    SpeedMapBounds bounds_;
};

}  // namespace vra
