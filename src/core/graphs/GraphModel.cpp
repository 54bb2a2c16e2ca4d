#include "core/graphs/GraphModel.h"

#include <fmt/format.h>

namespace vra {

GraphAxisInfo::GraphAxisInfo(std::string name, std::string unit, int decimals) {
    Set(std::move(name), std::move(unit), decimals);
}

void GraphAxisInfo::Set(std::string name, std::string unit, int decimals) {
    name_ = std::move(name);
    unit_ = std::move(unit);
    decimals_ = decimals;
    BuildFormats();
}

void GraphAxisInfo::BuildFormats() {
    // The precision is the only part of the format that varies; keeping the
    // texts out of the format string means a '%' in a unit prints as itself.
    if (decimals_ < 0) decimals_ = 0;
    if (decimals_ > 30) decimals_ = 30;
}

std::string GraphAxisInfo::Format(double value, int style) const {
    const std::string number = fmt::format("{:.{}f}", value, decimals_);
    switch (style) {
        case 0:
            return number;
        case 1:
            return number + " " + unit_;
        case 2:
            return name_ + ": " + number + " " + unit_;
        default:
            return {};
    }
}

CGraphProps::CGraphProps(const CGraphProps& other, int copySlot) : CPointsCollection(true, false) {
    CopyFrom(other);
    slot = copySlot;
}

void CGraphProps::CopyFrom(const CGraphProps& other) {
    colour = other.colour;
    name = other.name;
    visible = other.visible;
    slot = other.slot;
}

GraphModel::GraphModel(int capacity) : slots_(static_cast<std::size_t>(capacity > 0 ? capacity : 0)) {}

int GraphModel::AddGraph(Rgb colour, const std::string& name, int redraw, bool sorted, bool allowDuplicates) {
    for (int s = 0; s < Capacity(); ++s) {
        auto& p = slots_[static_cast<std::size_t>(s)];
        if (p) continue;
        p = std::make_unique<CGraphProps>(colour, name, sorted, allowDuplicates);
        ++count_;
        Send({.code = kGraphAdded, .slot = s, .redraw = redraw});
        return s;
    }
    return -1;
}

int GraphModel::RemoveGraph(int slot, int redraw) {
    if (!Valid(slot)) return -1;
    slots_[static_cast<std::size_t>(slot)].reset();
    --count_;
    Send({.code = kGraphRemoved, .slot = slot, .redraw = redraw});
    return slot;
}

CGraphProps* GraphModel::GetGraph(int slot) {
    return slot >= 0 && slot < Capacity() ? slots_[static_cast<std::size_t>(slot)].get() : nullptr;
}

const CGraphProps* GraphModel::GetGraph(int slot) const {
    return slot >= 0 && slot < Capacity() ? slots_[static_cast<std::size_t>(slot)].get() : nullptr;
}

CGraphProps* GraphModel::GetFirstGraph(int& slot) {
    slot = -1;
    return GetNextGraph(slot);
}

CGraphProps* GraphModel::GetNextGraph(int& slot) {
    for (int s = slot < 0 ? 0 : slot + 1; s < Capacity(); ++s)
        if (slots_[static_cast<std::size_t>(s)]) {
            slot = s;
            return slots_[static_cast<std::size_t>(s)].get();
        }
    slot = -1;
    return nullptr;
}

int GraphModel::AddPoint(int slot, double x, double y, int redraw, int position) {
    if (!Valid(slot)) return -1;
    CGraphProps& g = *slots_[static_cast<std::size_t>(slot)];
    const int index = position == -1 ? g.Add(x, y, true) : g.Insert(position, x, y, true);
    if (index < 0) return -1;
    Send({.code = kPointAdded, .slot = slot, .index = index, .redraw = redraw});
    return position;
}

void GraphModel::AddPoints(int slot, std::span<const Point2D> points, int redraw) {
    if (CGraphProps* g = InOneStep(slot, points, redraw)) g->AddAll(points);
}

void GraphModel::AddPoints(int slot, const CPointsCollection::Run& run, int redraw) {
    if (CGraphProps* g = InOneStep(slot, run.points, redraw)) g->AddAll(run);
}

CGraphProps* GraphModel::InOneStep(int slot, std::span<const Point2D> points, int redraw) {
    if (!Valid(slot)) return nullptr;
    CGraphProps* g = slots_[static_cast<std::size_t>(slot)].get();
    if (!parts_ && g->Sorted()) return g;
    // Each point's notice goes out while the series holds the points before
    // it, as the parts expect.
    for (const Point2D& p : points) AddPoint(slot, p.x, p.y, redraw, 0);
    return nullptr;
}

int GraphModel::ReplacePoint(int slot, int index, double x, double y, int redraw) {
    if (!Valid(slot)) return -1;
    const int result = slots_[static_cast<std::size_t>(slot)]->Replace(index, x, y, true);
    // A point that is not there changes nothing, so nothing is told.
    if (result < 0) return -1;
    Send({.code = kPointReplaced, .slot = slot, .index = index, .redraw = redraw});
    return result;
}

int GraphModel::RemovePoint(int slot, int index, int redraw) {
    if (!Valid(slot)) return -1;
    CGraphProps& g = *slots_[static_cast<std::size_t>(slot)];
    if (index < 0 || index >= g.Count()) return -1;
    g.Remove(index, true);
    Send({.code = kPointRemoved, .slot = slot, .index = index, .redraw = redraw});
    return index;
}

void GraphModel::ClearPoints(int slot, int redraw) {
    if (slot == -1) {
        for (auto& g : slots_)
            if (g) g->Clear();
    } else if (Valid(slot)) {
        slots_[static_cast<std::size_t>(slot)]->Clear();
    } else {
        return;
    }
    Send({.code = kPointsCleared, .slot = slot, .redraw = redraw});
}

void GraphModel::SetFlags(int flags, int redraw) {
    GraphNotify n{.code = kRangeChanged, .redraw = redraw, .flags = flags};
    GetRange(n.x1, n.x2, n.y1, n.y2);
    Send(n);
}

int GraphModel::GetFlags() const {
    return parts_ ? parts_->PanelFlags() : 0;
}

void GraphModel::SetRange(double x1, double x2, double y1, double y2, int redraw) {
    Send({.code = kRangeChanged, .redraw = redraw, .x1 = x1, .x2 = x2, .y1 = y1, .y2 = y2, .flags = GetFlags()});
}

void GraphModel::GetRange(double& x1, double& x2, double& y1, double& y2) const {
    if (parts_) parts_->PanelRange(x1, x2, y1, y2);
}

bool GraphModel::GetDataBounds(double& xMin, double& xMax, double& yMin, double& yMax) const {
    bool any = false;
    for (const auto& g : slots_) {
        if (!g || !g->visible || g->Count() == 0) continue;
        if (!any) {
            xMin = g->Minimum().x, xMax = g->Maximum().x, yMin = g->Minimum().y, yMax = g->Maximum().y;
            any = true;
            continue;
        }
        xMin = std::min(xMin, g->Minimum().x);
        xMax = std::max(xMax, g->Maximum().x);
        yMin = std::min(yMin, g->Minimum().y);
        yMax = std::max(yMax, g->Maximum().y);
    }
    return any;
}

void GraphModel::SetAxis(const std::string& name, const std::string& unit, int decimals, int axis, int redraw) {
    const int which = axis != 0 ? 1 : 0;
    GetAxisInfo(which).Set(name, unit, decimals);
    Send({.code = kAxisChanged, .redraw = redraw, .axis = which});
}

std::string GraphModel::FormatValue(double value, int axis, int style) const {
    return GetAxisInfo(axis != 0 ? 1 : 0).Format(value, style);
}

void GraphModel::Redraw(int bits) {
    Send({.code = kRedraw, .bits = bits});
}

void GraphModel::ShowPointsBar(int bits) {
    if (!parts_) return;
    if (bits & 1) parts_->ShowBar(true);
    if (bits & 2) parts_->ShowBar(false);
    if (bits & 4) Send({.code = kBarHeld});
    if (bits & 8) Send({.code = kBarLive});
}

}  // namespace vra
