#include "core/view/ZoomModel.h"

#include "core/base/RoundToInt.h"

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

int AtLeastOne(int v) {
    return v > 0 ? v : 1;
}

int Abs(int v) {
    return v < 0 ? -v : v;
}

}  // namespace

void ZoomModel::SetZoomSizes(ZoomSize total, ZoomSize page, ZoomSize line) {
    // An empty document would make every conversion divide by zero.
    logical_ = {AtLeastOne(total.cx), AtLeastOne(total.cy)};
    baseTotal_ = logical_;
    basePage_ = page;
    baseLine_ = line;
    device_ = baseTotal_;
    scale_ = 1.0f;
    UpdateViewport();
}

void ZoomModel::UpdateViewport() {
    page_ = {Abs(basePage_.cx), Abs(basePage_.cy)};
    line_ = {Abs(baseLine_.cx), Abs(baseLine_.cy)};
    if (page_.cx == 0) page_.cx = device_.cx / 10;
    if (page_.cy == 0) page_.cy = device_.cy / 10;
    if (line_.cx == 0) line_.cx = page_.cx / 10;
    if (line_.cy == 0) line_.cy = page_.cy / 10;
    ScrollTo(scroll_);
}

void ZoomModel::SetClientSize(ZoomSize client) {
    client_ = {std::max(client.cx, 0), std::max(client.cy, 0)};
    ScrollTo(scroll_);
}

ZoomSize ZoomModel::ScrollLimit() const {
    return {std::max(device_.cx - client_.cx, 0), std::max(device_.cy - client_.cy, 0)};
}

void ZoomModel::ScrollTo(ZoomPoint position) {
    const ZoomSize limit = ScrollLimit();
    scroll_ = {std::clamp(position.x, 0, limit.cx), std::clamp(position.y, 0, limit.cy)};
}

ZoomPoint ZoomModel::Origin() const {
    ZoomPoint origin{-scroll_.x, -scroll_.y};
    if (device_.cx < client_.cx) origin.x = (client_.cx - device_.cx) / 2;
    if (device_.cy < client_.cy) origin.y = (client_.cy - device_.cy) / 2;
    return origin;
}

ZoomPoint ZoomModel::ClientToLogical(ZoomPoint client) const {
    const ZoomPoint origin = Origin();
    return {RoundToInt(double(client.x - origin.x) * logical_.cx / device_.cx),
            RoundToInt(double(client.y - origin.y) * logical_.cy / device_.cy)};
}

ZoomPoint ZoomModel::LogicalToClient(ZoomPoint logical) const {
    const ZoomPoint origin = Origin();
    return {origin.x + RoundToInt(double(logical.x) * device_.cx / logical_.cx),
            origin.y + RoundToInt(double(logical.y) * device_.cy / logical_.cy)};
}

ZoomRect ZoomModel::LogicalToClient(const ZoomRect& logical) const {
    const ZoomPoint tl = LogicalToClient(ZoomPoint{logical.left, logical.top});
    const ZoomPoint br = LogicalToClient(ZoomPoint{logical.right, logical.bottom});
    return {tl.x, tl.y, br.x, br.y};
}

ZoomPoint ZoomModel::GetLogicalCenterPoint() const {
    return ClientToLogical(ZoomPoint{client_.cx / 2, client_.cy / 2});
}

ZoomRect ZoomModel::NormalizeRect(ZoomRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

ZoomSize ZoomModel::ScaledBase(double scale) const {
    // The exact product, truncated: a scale just below a round value (0.04f x
    // 1.25 is 0.0499999...) gives the pixel below, 499 rather than 500.
    return {static_cast<int>(baseTotal_.cx * scale), static_cast<int>(baseTotal_.cy * scale)};
}

bool ZoomModel::Fits(double scale) const {
    return baseTotal_.cx * scale <= kMaxDeviceExtent && baseTotal_.cy * scale <= kMaxDeviceExtent;
}

ZoomResult ZoomModel::ApplyScale(double scale, const ZoomPoint* center) {
    if (!std::isfinite(scale) || scale <= 0.0) return ZoomResult::Unchanged;
    if (!Fits(scale)) return ZoomResult::TooLarge;
    const ZoomSize device = ScaledBase(scale);
    // Below one pixel the document vanishes and the conversions break down.
    if (device.cx < 1 || device.cy < 1) return ZoomResult::Unchanged;
    const ZoomPoint target = center ? *center : GetLogicalCenterPoint();
    scale_ = static_cast<float>(scale);
    device_ = device;
    UpdateViewport();
    CenterOnLogicalPoint(target);
    return ZoomResult::Changed;
}

ZoomResult ZoomModel::ZoomByFactor(float factor) {
    return ApplyScale(double(scale_ * factor), nullptr);
}

ZoomResult ZoomModel::ZoomByFactor(ZoomPoint logicalCenter, float factor) {
    return ApplyScale(double(scale_ * factor), &logicalCenter);
}

ZoomResult ZoomModel::ZoomOutByFactor(float factor) {
    return ApplyScale(double(scale_ / factor), nullptr);
}

ZoomResult ZoomModel::ZoomOutByFactor(ZoomPoint logicalCenter, float factor) {
    return ApplyScale(double(scale_ / factor), &logicalCenter);
}

ZoomResult ZoomModel::DoZoomIn(ZoomRect logical) {
    const ZoomRect r = NormalizeRect(logical);
    const ZoomPoint center{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    const ZoomRect onScreen = NormalizeRect(LogicalToClient(r));
    if (std::max(onScreen.Width(), onScreen.Height()) < 10) return ZoomByFactor(center, kClickFactor);
    // A band that is a line on one axis leaves the other axis to decide.
    const float sx = r.Width() > 0 ? float(client_.cx + 1) / float(r.Width()) : INFINITY;
    const float sy = r.Height() > 0 ? float(client_.cy + 1) / float(r.Height()) : INFINITY;
    return ApplyScale(double(std::min(sx, sy)), &center);
}

ZoomResult ZoomModel::ZoomFull(ZoomSize clientWithoutBars) {
    if (clientWithoutBars.cx < 1 || clientWithoutBars.cy < 1) return ZoomResult::Unchanged;
    const ZoomSize fit = FitToPage(logical_, clientWithoutBars).extent;
    if (fit.cx > kMaxDeviceExtent || fit.cy > kMaxDeviceExtent) return ZoomResult::TooLarge;
    device_ = {AtLeastOne(fit.cx), AtLeastOne(fit.cy)};
    scale_ = float(device_.cx) / float(baseTotal_.cx);
    ScrollTo(scroll_);
    return ZoomResult::Changed;
}

void ZoomModel::CenterOnLogicalPoint(ZoomPoint logical) {
    const ZoomPoint device{RoundToInt(double(logical.x) * device_.cx / logical_.cx),
                           RoundToInt(double(logical.y) * device_.cy / logical_.cy)};
    ScrollTo(ZoomPoint{device.x - client_.cx / 2, device.y - client_.cy / 2});
}

bool ZoomModel::PanStep(PanDirection direction, int amount) {
    // Panning moves both bars together; without both there is nothing to pan.
    if (!HasHorizontalBar() || !HasVerticalBar()) amount = 0;
    ZoomPoint next = scroll_;
    switch (direction) {
        case PanDirection::Up:
            next.y -= amount;
            break;
        case PanDirection::Left:
            next.x -= amount;
            break;
        case PanDirection::Down:
            next.y += amount;
            break;
        case PanDirection::Right:
            next.x += amount;
            break;
    }
    const ZoomPoint before = scroll_;
    ScrollTo(next);
    return !(scroll_ == before);
}

PageFit ZoomModel::FitToPage(ZoomSize logical, ZoomSize page) {
    PageFit fit{page, {0, 0}};
    if (logical.cx < 1 || logical.cy < 1 || page.cx < 1 || page.cy < 1) return fit;
    const float a = float(logical.cx) / float(logical.cy);
    const float p = float(page.cx) / float(page.cy);
    ZoomSize offset{0, 0};
    if (a > p) {
        fit.extent.cy = static_cast<int>(float(page.cx) / a);
        offset.cy = page.cy - fit.extent.cy;
    } else if (a < p) {
        fit.extent.cx = static_cast<int>(float(page.cy) * a);
        offset.cx = page.cx - fit.extent.cx;
    }
    // The page keeps a strip beside the document on the right and splits the
    // strip above and below evenly, so that headings fit above a map on a
    // portrait page.
    fit.origin = {offset.cx, offset.cy / 2};
    return fit;
}

ZoomCursor ZoomModel::Cursor() const {
    switch (drag_) {
        case Drag::Band:
            return ZoomCursor::Cross;
        case Drag::Pan:
            return ZoomCursor::ClosedHand;
        case Drag::None:
            break;
    }
    if (panMode_) return ZoomCursor::OpenHand;
    if (zoomMode_ != ZoomMode::Off) return ZoomCursor::Magnifier;
    return ZoomCursor::Arrow;
}

bool ZoomModel::LeftButtonDown(ZoomPoint client) {
    if (panMode_) {
        drag_ = Drag::Pan;
        lastPan_ = client;
        return false;
    }
    if (zoomMode_ == ZoomMode::In) {
        drag_ = Drag::Band;
        const ZoomPoint at = ClientToLogical(client);
        band_ = {at.x, at.y, at.x, at.y};
        return true;
    }
    return false;
}

bool ZoomModel::MouseMove(ZoomPoint client) {
    switch (drag_) {
        case Drag::None:
            return false;
        case Drag::Band: {
            const ZoomPoint at = ClientToLogical(client);
            band_.right = at.x;
            band_.bottom = at.y;
            return true;
        }
        case Drag::Pan: {
            const ZoomPoint step{client.x - lastPan_.x, client.y - lastPan_.y};
            lastPan_ = client;
            // Scrolling against the mouse makes the map follow it.
            const bool h = PanStep(PanDirection::Left, step.x);
            const bool v = PanStep(PanDirection::Up, step.y);
            return h || v;
        }
    }
    return false;
}

ZoomResult ZoomModel::LeftButtonUp(ZoomPoint client) {
    switch (drag_) {
        case Drag::Pan:
            drag_ = Drag::None;
            return ZoomResult::Unchanged;
        case Drag::Band:
            drag_ = Drag::None;
            return DoZoomIn(band_);
        case Drag::None:
            break;
    }
    if (zoomMode_ == ZoomMode::Out && !panMode_) return ZoomOutByFactor(ClientToLogical(client), kClickFactor);
    return ZoomResult::Unchanged;
}

}  // namespace vra
