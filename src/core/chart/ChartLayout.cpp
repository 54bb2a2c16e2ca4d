#include "core/chart/ChartLayout.h"

#include <algorithm>
#include <cmath>

namespace vra {

void ChartLayout::Run(ChartModel& model, const TextMeasurer& measurer, Rect drawRect, bool reduceColumns) {
    model.measurer = &measurer;
    model.drawRect = drawRect;
    Rect inner{drawRect.left + model.marginLeft, drawRect.top + model.marginTop, drawRect.right - model.marginRight,
               drawRect.bottom - model.marginBottom};
    model.legendEntries.clear();
    model.legendBox = {};
    if (model.legend) Legend(model, measurer, inner);
    model.innerRect = inner;

    // Alternating y axes take the sides in turn, left first, for good.
    bool nextLeft = true;
    for (auto& a : model.yAxes) {
        if (a.placement == 2) {
            a.placement = nextLeft ? 0 : 1;
            nextLeft = !nextLeft;
        }
    }

    int left = inner.left;
    for (auto& a : model.yAxes) {
        if (a.placement != 0) continue;
        if (a.visible) left += model.axisGap + std::max(a.GetMaxLabelWidth(), a.GetTitleSize().cx + a.arrowSize);
        a.originX = left;
        a.inner = inner;
    }
    int right = inner.right;
    for (auto& a : model.yAxes) {
        if (a.placement != 1) continue;
        if (a.visible) right -= model.axisGap + std::max(a.GetMaxLabelWidth(), a.GetTitleSize().cx);
        a.originX = right;
        a.inner = inner;
    }
    int bottom = inner.bottom;
    for (auto& a : model.xAxes) {
        if (a.visible) bottom -= a.GetLabelHeight() + model.axisGap;
        a.originY = bottom;
        a.originX = left;
        a.inner = inner;
    }
    model.plotRect = {left + 1, inner.top, right, bottom};
    for (auto& a : model.yAxes) a.originY = bottom;
    for (auto& a : model.yAxes) a.Layout();
    for (auto& a : model.xAxes) a.Layout();
    for (auto& c : model.curves) {
        if (c.visible) {
            c.Layout(reduceColumns);
        } else {
            c.ClearLayout();
        }
    }
    Objects(model, measurer);
}

void ChartLayout::Legend(ChartModel& model, const TextMeasurer& measurer, Rect& inner) {
    int widest = 0, height = 0, row = 0;
    for (const auto& c : model.curves) {
        if (!c.visible) continue;
        const ISize e = measurer.extent(kLegendFont, c.name);
        widest = std::max(widest, e.cx);
        height += e.cy;
        row = e.cy;
    }
    const int w = widest + 16;
    Rect box;
    if (model.legendPlacement == 0) {
        box = {inner.left + 10, inner.top + 10, inner.left + 10 + w, inner.top + 12 + height};
        inner.left += w + 20;
    } else {
        box = {inner.right - w - 10, inner.top + 10, inner.right - 10, inner.top + 12 + height};
        inner.right -= w + 20;
    }
    model.legendBox = box;
    model.legendRowHeight = row;
    const Rect rows = box.inflated(-1, -1);
    int y = rows.top;
    for (std::size_t i = 0; i < model.curves.size(); ++i) {
        if (!model.curves[i].visible) continue;
        model.legendEntries.push_back({Rect{rows.left, y, rows.right, y + row}, static_cast<int>(i)});
        y += row;
    }
}

void ChartLayout::Objects(ChartModel& model, const TextMeasurer& measurer) {
    auto devicePoint = [&](int curve, Point2D p, IPoint& out) {
        if (curve < 0 || curve >= model.CurveCount()) return false;
        const auto& c = model.curves[static_cast<std::size_t>(curve)];
        if (c.xAxis < 0 || c.xAxis >= static_cast<int>(model.xAxes.size()) || c.yAxis < 0 ||
            c.yAxis >= static_cast<int>(model.yAxes.size()) || !std::isfinite(p.x) || !std::isfinite(p.y))
            return false;
        out = {model.xAxes[static_cast<std::size_t>(c.xAxis)].GetPointForValue(p).x,
               model.yAxes[static_cast<std::size_t>(c.yAxis)].GetPointForValue(p).y};
        return true;
    };
    for (auto& object : model.objects) {
        if (auto* note = dynamic_cast<CXGraphDataNotation*>(object.get())) {
            note->placed = devicePoint(note->curve, {note->x, note->y}, note->anchor);
            if (!note->placed) continue;
            if (!note->laidOut) {
                const ISize e = measurer.extent(note->font, note->text);
                note->rect = {0, 0, e.cx, e.cy};
                note->laidOut = true;
            }
            // The box sits 20 pixels above its point and follows it.
            const int w = note->rect.width(), h = note->rect.height();
            note->rect = {note->anchor.x, note->anchor.y - 20, note->anchor.x + w, note->anchor.y - 20 + h};
        } else if (auto* label = dynamic_cast<CXGraphLabel*>(object.get())) {
            label->hasLine = false;
            if (label->curve < 0 || label->curve >= model.CurveCount()) continue;
            const auto& pts = model.curves[static_cast<std::size_t>(label->curve)].points;
            if (pts.empty()) continue;
            label->hasLine = devicePoint(label->curve, pts[pts.size() / 2], label->lineFrom);
        }
    }
}

}  // namespace vra
