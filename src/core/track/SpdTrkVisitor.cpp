#include "core/track/SpdTrkVisitor.h"

#include "core/decode/PtfReadContext.h"
#include "core/track/Corner.h"
#include "core/track/Straight.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vra {

SpdTrkVisitor::SpdTrkVisitor(double trackLength, std::span<const double> bins, bool manual, std::int32_t range)
    : bins_(bins) {
    step_ = bins.empty() ? 0.0 : trackLength / double(bins.size());
    // A step that cannot advance would never reach the next bin: one colour
    // then runs round the whole track.
    if (!(step_ > 0.0) || !std::isfinite(step_)) step_ = std::numeric_limits<double>::infinity();
    nextBoundary_ = step_;
    if (manual) {
        scaleMin_ = -double(range);
        scaleMax_ = double(range);
    } else if (!bins.empty()) {
        const auto [lo, hi] = std::minmax_element(bins.begin(), bins.end());
        scaleMin_ = *lo;
        scaleMax_ = *hi;
    }
}

Rgb SpdTrkVisitor::StripeColour(double x, double scaleMin, double scaleMax) {
    const double m = std::max(std::fabs(scaleMin), std::fabs(scaleMax));
    // A scale of 0 (a manual range of 0) makes every difference full
    // brightness; only no difference at all stays black.
    double value = m > 0.0 ? std::fabs(x) / m : std::fabs(x) > 0.0 ? 1.0 : 0.0;
    if (!(value >= 0.0)) value = 0.0;
    value = std::min(value, 1.0);
    float r = 0, g = 0, b = 0;
    PtfReadContext::HsvToRgb(x >= 0.0 ? 0.33f : 0.0f, 1.0f, float(value), r, g, b);
    return {std::uint8_t(r * 255.0f), std::uint8_t(g * 255.0f), std::uint8_t(b * 255.0f)};
}

Rgb SpdTrkVisitor::CurrentColour() const {
    if (bins_.empty()) return {0, 0, 0};
    // Rounding can carry the last boundary short of the track's end: the
    // pieces beyond it keep the last bin.
    const std::size_t bin = std::min<std::size_t>(currentBin_, bins_.size() - 1);
    return StripeColour(bins_[bin], scaleMin_, scaleMax_);
}

void SpdTrkVisitor::VisitStraight(const Straight& piece) {
    Visit(piece, false);
}

void SpdTrkVisitor::VisitCorner(const Corner& piece) {
    Visit(piece, true);
}

void SpdTrkVisitor::Visit(const Segment& piece, bool corner) {
    const double s = piece.StartDistance();
    const double length = piece.Length();
    const double e = s + length;
    double cut = 0.0;
    while (e > nextBoundary_) {
        AddStripe(piece, corner, cut, nextBoundary_ - s);
        cut = nextBoundary_ - s;
        ++currentBin_;
        nextBoundary_ += step_;
    }
    AddStripe(piece, corner, cut, length);
}

void SpdTrkVisitor::AddStripe(const Segment& piece, bool corner, double a, double b) {
    ColouredPolygon stripe;
    stripe.colour = CurrentColour();
    if (!corner) {
        stripe.points = {piece.PositionAt(a, -kHalfWidth), piece.PositionAt(a, kHalfWidth),
                         piece.PositionAt(b, kHalfWidth), piece.PositionAt(b, -kHalfWidth)};
    } else {
        // A point every half metre along the arc on both sides, the right
        // side walked back so that the outline closes.
        const double span = b - a;
        const auto n = span > 0.0 ? static_cast<std::int64_t>(2.0 * span) : 0;
        std::vector<Point2D> right;
        auto add = [&](double at) {
            stripe.points.push_back(piece.PositionAt(at, kHalfWidth));
            right.push_back(piece.PositionAt(at, -kHalfWidth));
        };
        // Under half a metre: just the two ends.
        if (n == 0) add(a);
        for (std::int64_t i = 0; i < n; ++i) add(a + double(i) * span / double(n));
        add(b);
        stripe.points.insert(stripe.points.end(), right.rbegin(), right.rend());
    }
    for (const Point2D& p : stripe.points) bounds_.AddPoint(p);
    stripes_.push_back(std::move(stripe));
}

}  // namespace vra
