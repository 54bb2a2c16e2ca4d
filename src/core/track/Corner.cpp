#include "core/track/Corner.h"

#include "core/decode/KtSegment.h"
#include "core/decode/PtfReadContext.h"
#include "core/track/CoreDisplay.h"
#include "core/track/SegmentVisitor.h"
#include "core/track/TrackGeometryError.h"
#include "core/track/TrackLimits.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vra {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = std::numbers::pi / 2.0;
}  // namespace

double Corner::SweepOf(double h0, double h1) {
    double sweep = h1 - h0;
    if (sweep < -kPi)
        sweep += 2.0 * kPi;
    else if (sweep > kPi)
        sweep -= 2.0 * kPi;
    // Headings several turns apart: bring the rest into range as well.
    if (sweep < -kPi || sweep > kPi) sweep = std::remainder(sweep, 2.0 * kPi);
    return sweep;
}

bool Corner::IsNearlyStraight(const KtSegment& s) {
    const double sweep = SweepOf(s.GetStartHeading(), s.GetEndHeading());
    if (sweep == 0.0) return true;
    const double chord = ChordLength(s.GetStartX(), s.GetStartY(), s.GetEndX(), s.GetEndY());
    // Not finite: the corner refuses it.
    return std::fabs(chord / (2.0 * std::sin(sweep / 2.0))) > kMaxCornerRadius;
}

Corner::Corner(CountedPtr<KtSegment> segment, double startDistance) : Segment(std::move(segment), startDistance) {
    const double chord = ChordLength(x0_, y0_, x1_, y1_);
    const double sweep = SweepOf(h0_, h1_);
    const double radius = std::fabs(chord / (2.0 * std::sin(sweep / 2.0)));
    const double toCentre = sweep < 0.0 ? h0_ - kHalfPi : h0_ + kHalfPi;
    const double centreX = x0_ + radius * std::cos(toCentre);
    const double centreY = y0_ + radius * std::sin(toCentre);
    const double length = std::fabs(sweep * radius);
    for (double v : {chord, sweep, radius, centreX, centreY, length})
        if (!std::isfinite(v)) ThrowTrackGeometryInvalid();

    sweep_ = sweep;
    radius_ = radius;
    centreX_ = centreX;
    centreY_ = centreY;
    length_ = length;
    const double twice = std::trunc(2.0 * length);
    pointCount_ = twice < 1.0 ? 1u : twice >= kMaxPointCount ? kMaxPointCount : static_cast<std::uint32_t>(twice);
}

Point2D Corner::PointAround(double r, double angle) const {
    const double a = angle + Side() * kHalfPi;
    return {centreX_ + r * std::cos(a), centreY_ + r * std::sin(a)};
}

std::vector<Point2D> Corner::ArcLinePoints(double d0, double d1) const {
    const double side = Side();
    const double r0 = side * d0 + radius_;
    const double r1 = side * d1 + radius_;
    const double n = pointCount_;
    const double radiusStep = (r1 - r0) / n;
    const double angleStep = sweep_ / n;
    std::vector<Point2D> points;
    points.reserve(pointCount_ + 2u);
    double r = r0;
    double a = h0_;
    points.push_back(PointAround(r, a));
    for (std::uint32_t i = 0; i < pointCount_; ++i) {
        r += radiusStep;
        a += angleStep;
        points.push_back(PointAround(r, a));
    }
    points.push_back(PointAround(r1, h1_));
    return points;
}

std::uint64_t Corner::LinePointCount(const SectionLine& line) const {
    return line.straight ? 2u : std::uint64_t{pointCount_} + 2u;
}

std::vector<Point2D> Corner::LinePoints(const SectionLine& line) const {
    if (line.straight) return {StartPointAt(line.startOffset), EndPointAt(line.endOffset)};
    return ArcLinePoints(line.startOffset, line.endOffset);
}

std::uint64_t Corner::PointsToBuild() const {
    std::uint64_t total = std::uint64_t{pointCount_} + 1u;
    for (std::size_t k = 1; k < fLines_.size(); ++k)
        total += LinePointCount(fLines_[k - 1]) + LinePointCount(fLines_[k]);
    for (const SectionLine& w : wLines_) total += LinePointCount(w);
    return total;
}

void Corner::AddEndPoints(TrackBounds& bounds) {
    outline_.Reserve(std::size_t{pointCount_} + 1u);
    const double step = sweep_ / pointCount_;
    double a = sweep_ >= 0.0 ? h0_ - kHalfPi : h0_ + kHalfPi;
    for (std::uint32_t i = 0; i < pointCount_; ++i) {
        outline_.AddPoint({centreX_ + radius_ * std::cos(a), centreY_ + radius_ * std::sin(a)}, bounds);
        a += step;
    }
    outline_.AddPoint({x1_, y1_}, bounds);
}

void Corner::BuildSurfaces(TrackEdgeBounds& edgeBounds) {
    if (fLines_.size() < 2) return;
    std::vector<Point2D> previous = LinePoints(fLines_[0]);
    for (std::size_t k = 1; k < fLines_.size(); ++k) {
        std::vector<Point2D> current = LinePoints(fLines_[k]);
        TrackSurface surface(fLines_[k - 1].code);
        surface.Reserve(previous.size() + current.size());
        for (auto it = previous.rbegin(); it != previous.rend(); ++it) surface.AddPoint(*it, edgeBounds);
        for (const Point2D& p : current) surface.AddPoint(p, edgeBounds);
        surfaces_.push_back(std::move(surface));
        previous = std::move(current);
    }
}

void Corner::BuildPolylines() {
    for (const SectionLine& w : wLines_) {
        TrackPolyline line(w.code);
        const std::vector<Point2D> points = LinePoints(w);
        line.Reserve(points.size());
        for (const Point2D& p : points) line.AddPoint(p);
        polylines_.push_back(std::move(line));
    }
}

void Corner::Accept(SegmentVisitor& visitor) const {
    visitor.VisitCorner(*this);
}

Point2D Corner::PositionAt(double s, double d) const {
    if (sweep_ >= 0.0) {
        const double a = h0_ + s / radius_ - kHalfPi;
        return {centreX_ + (radius_ - d) * std::cos(a), centreY_ + (radius_ - d) * std::sin(a)};
    }
    const double a = kHalfPi + h0_ - s / radius_;
    return {centreX_ + (radius_ + d) * std::cos(a), centreY_ + (radius_ + d) * std::sin(a)};
}

Point2D Corner::WallPositionAt(const SectionLine* line, double s) const {
    const double d = line ? OffsetAt(*line, s) : 0.0;
    return PointAround(Side() * d + radius_, h0_ + s * sweep_ / length_);
}

Point2D Corner::FirstWallPositionAt(double s) const {
    return WallPositionAt(fLines_.empty() ? nullptr : &fLines_.front(), s);
}

Point2D Corner::LastWallPositionAt(double s) const {
    return WallPositionAt(fLines_.empty() ? nullptr : &fLines_.back(), s);
}

void Corner::Draw(CoreDisplay& display) const {
    display.DrawPolylineWithPen(outline_, false);
    double from = 0.0;
    double span = 0.0;
    if (entered_ && left_) {
        from = entryDistance_ - startDistance_;
        span = exitDistance_ - entryDistance_;
    } else if (entered_) {
        from = entryDistance_ - startDistance_;
        span = startDistance_ + length_ - entryDistance_;
    } else if (left_) {
        from = 0.0;
        span = exitDistance_ - startDistance_;
    } else {
        return;
    }
    // The highlight runs from outline point to outline point.
    const auto& points = outline_.Points();
    const double n = static_cast<double>(points.size());
    const std::int64_t first = PtfReadContext::RoundToInt(n * from / length_);
    const std::int64_t count = PtfReadContext::RoundToInt(n * span / length_);
    const std::int64_t last = std::min<std::int64_t>(first + count - 1, static_cast<std::int64_t>(points.size()) - 1);
    for (std::int64_t i = std::max<std::int64_t>(first + 1, 1); i <= last; ++i)
        display.DrawLineWithPen(points[static_cast<std::size_t>(i - 1)], points[static_cast<std::size_t>(i)], true);
}

}  // namespace vra
