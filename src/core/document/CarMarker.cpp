#include "core/document/CarMarker.h"

#include "core/track/CoreDisplay.h"
#include "core/track/TrackPath.h"

#include <array>
#include <cmath>
#include <numbers>

namespace vra {

namespace {

constexpr std::array<Point2D, 20> kBody = {{
    {-2.530786701, -0.157083313}, {-2.408610792, -0.663240653},
    {-2.129351569, -0.925046174}, {-1.727916438, -1.012314681},
    {-1.204305396, -0.959953576}, {0.820323965, -0.959953576},
    {1.361388708, -0.994860979},  {2.094444167, -0.890138771},
    {2.460971896, -0.785416563},  {2.513333, 0.0},
    {2.460971896, 0.785416563},   {2.094444167, 0.890138771},
    {1.361388708, 0.994860979},   {0.820323965, 0.959953576},
    {-1.204305396, 0.959953576},  {-1.727916438, 1.012314681},
    {-2.129351569, 0.925046174},  {-2.408610792, 0.663240653},
    {-2.530786701, 0.157083313},  {-2.530786701, -0.157083313},
}};

constexpr std::array<Point2D, 7> kRear = {{
    {-0.279259222, -0.610879549},
    {-0.279259222, 0.575972146},
    {-0.855231368, 0.767962861},
    {-1.012314681, 0.226898118},
    {-1.012314681, -0.296712924},
    {-0.855231368, -0.767962861},
    {-0.279259222, -0.610879549},
}};

constexpr std::array<Point2D, 5> kFront = {{
    {0.994860979, -0.575972146},
    {0.994860979, 0.575972146},
    {1.780277542, 0.715601757},
    {1.780277542, -0.663240653},
    {0.994860979, -0.575972146},
}};

void Turn(std::span<const Point2D> outline, std::vector<Point2D>& out, double c, double s, double factor) {
    out.resize(outline.size());
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Point2D& p = outline[i];
        out[i] = {(p.x * c - p.y * s) * factor, (p.x * s + p.y * c) * factor};
    }
}

}  // namespace

std::span<const Point2D> CarMarker::BodyOutline() {
    return kBody;
}
std::span<const Point2D> CarMarker::RearOutline() {
    return kRear;
}
std::span<const Point2D> CarMarker::FrontOutline() {
    return kFront;
}

CarMarker::CarMarker(const TrackPath* trackPath)
    : trackPath_(trackPath), body_(kBody.size()), rear_(kRear.size()), front_(kFront.size()) {}

void CarMarker::TrackToDevice(CoreDisplay& display, DevicePoint& device, double distance, double lateral) const {
    if (trackPath_ == nullptr) return;
    const std::int32_t piece = trackPath_->FindPieceAtDistance(distance);
    if (piece < 0) return;
    const Segment& segment = trackPath_->PieceAt(piece);
    display.MapPoint(segment.PositionAt(distance - segment.StartDistance(), lateral), device);
}

void CarMarker::Draw(CoreDisplay& display, DevicePoint device, double headingDegrees, std::int32_t colourIndex,
                     bool oversized) {
    // Degrees to radians by multiplying with the reciprocal, in this order:
    // dividing by 180 differs in the last bit for many headings.
    const double a = std::numbers::pi * headingDegrees * 0.005555555555555556;
    const double c = std::cos(a);
    const double s = std::sin(a);
    const double factor = oversized ? 2.0 : 1.0;
    Turn(kBody, body_, c, s, factor);
    Turn(kRear, rear_, c, s, factor);
    Turn(kFront, front_, c, s, factor);
    display.DrawArc(*this, device, colourIndex);
}

void CarMarker::DrawDot(CoreDisplay& display, DevicePoint device, std::int32_t colourIndex) {
    display.DrawCircle(*this, device, colourIndex);
}

}  // namespace vra
