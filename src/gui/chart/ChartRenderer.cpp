#include "gui/chart/ChartRenderer.h"

#include "core/chart/MarkerShapes.h"

#include <QPolygon>

#include <cstdlib>

namespace vra {

namespace {

int PenWidth(int w) {
    return std::max(w, 1);
}

QPolygon ToPolygon(const std::vector<IPoint>& pts) {
    QPolygon poly;
    poly.reserve(static_cast<qsizetype>(pts.size()));
    for (const auto& p : pts) poly << QPoint(p.x, p.y);
    return poly;
}

// A curve on the screen paints its first point and stops one pixel short of
// its last, like a single chart line. Qt's one-pixel polyline leaves out the
// lower or right end of its first and last lines instead, so a first line
// running left or up starts one pixel further out, a last one ends one pixel
// short, and a last line one pixel long becomes the dot of its start.
void StrokeRun(QPainter& p, std::vector<IPoint> run) {
    const std::size_t n = run.size();
    const IPoint first = BackStep(run[0], run[1]);
    if (n > 2) run[0] = {run[0].x + first.x, run[0].y + first.y};
    const IPoint a = run[n - 2], b = run[n - 1];
    if (std::abs(b.x - a.x) + std::abs(b.y - a.y) == 1) {
        run.pop_back();
        if (run.size() > 1) p.drawPolyline(ToPolygon(run));
        p.drawPoint(run.back().x, run.back().y);
        return;
    }
    const IPoint last = BackStep(a, b);
    if (n == 2) run[0] = {run[0].x + last.x, run[0].y + last.y};
    run[n - 1] = {b.x + last.x, b.y + last.y};
    p.drawPolyline(ToPolygon(run));
}

}  // namespace

void ChartRenderer::DrawMarker(CDCEx& dc, int kind, int x, int y, int size, Rgb colour) {
    const MarkerShape s = MarkerGeometry(kind, x, y, size);
    QPainter& p = dc.painter();
    p.save();
    if (s.outlinedInBlack) {
        dc.SetPen(0, 1, Qt::black);
        dc.SetBrush(dc.Ink(colour));
    } else {
        dc.SetPen(0, 2, dc.Ink(colour));
        dc.NoBrush();
    }
    switch (s.kind) {
        case MarkerShapeKind::Rectangle:
            dc.Rectangle(s.box);
            break;
        case MarkerShapeKind::Ellipse:
            dc.Ellipse(s.box);
            break;
        case MarkerShapeKind::Cross:
            dc.Line({s.box.left, s.box.top}, {s.box.right, s.box.bottom});
            dc.Line({s.box.right, s.box.top}, {s.box.left, s.box.bottom});
            break;
        case MarkerShapeKind::Polygon:
            p.drawPolygon(ToPolygon(s.polygon));
            break;
    }
    p.restore();
}

void ChartRenderer::DrawAxisMarker(CDCEx& dc, const AxisMarker& m) {
    if (m.symbol) {
        DrawMarker(dc, m.number, m.x, m.y, m.size, m.colour);
        return;
    }
    const Rect box{m.x, m.y, m.x + m.size, m.y + m.size};
    dc.FillSolidRect(box, dc.Ink(m.colour));
    dc.SetFont(FontSpec{"Arial", std::max(m.size, 1), 100});
    const Rgb text = NumberedMarkerTextColour(m.colour, dc.monochrome);
    dc.Text(std::to_string(m.number + 1), box, kAlignCentre, ToQColor(text));
}

void ChartRenderer::Render(const ChartModel& m, const ChartController* ctl, CDCEx& dc) {
    QPainter& p = dc.painter();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    dc.FillSolidRect(m.drawRect, dc.Paper(m.backColour));
    if (m.legend) Legend(m, dc);
    dc.FillSolidRect(m.innerRect, dc.Paper(m.frameColour));
    dc.FillSolidRect(m.plotRect, dc.Paper(m.plotColour));
    for (const auto& a : m.yAxes)
        if (a.visible) Axis(m, a, dc);
    for (const auto& a : m.xAxes)
        if (a.visible) Axis(m, a, dc);

    p.save();
    p.setClipRect(
        QRect(m.plotRect.left, m.plotRect.top, std::max(m.plotRect.width(), 0), std::max(m.plotRect.height(), 0)));
    for (const auto& c : m.curves)
        if (c.visible) Curve(m, c, dc);
    for (const auto& c : m.curves)
        if (c.visible && c.showMarkers) Markers(c, dc);

    if (ctl && ctl->mode() == ChartController::Zoom && ctl->leftButton() && !ctl->band().empty()) {
        const Rect b = ctl->band();
        p.save();
        if (m.doubleBuffer) {
            p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            p.fillRect(QRect(b.left, b.top, b.width(), b.height()), QColor(150, 150, 255));
        } else {
            dc.FocusRect(b);
        }
        p.restore();
    }
    if (ctl && ctl->mode() == ChartController::Cursor && ctl->cross()) {
        const IPoint c = *ctl->cross();
        p.save();
        dc.SetPen(0, 1, Qt::black);
        dc.Line({c.x, m.plotRect.top}, {c.x, m.plotRect.bottom});
        dc.Line({m.plotRect.left, c.y}, {m.plotRect.right, c.y});
        p.restore();
    }
    for (const auto& o : m.objects) {
        if (!o->visible) continue;
        if (auto* l = dynamic_cast<const CXGraphLabel*>(o.get())) Label(m, *l, dc);
        if (auto* n = dynamic_cast<const CXGraphDataNotation*>(o.get())) Notation(*n, dc);
    }
    p.restore();
}

void ChartRenderer::Legend(const ChartModel& m, CDCEx& dc) {
    QPainter& p = dc.painter();
    p.save();
    dc.SetPen(0, 1, Qt::black);
    dc.SetBrush(Qt::white);
    dc.Rectangle(m.legendBox);
    dc.SetFont(ChartLayout::kLegendFont);
    for (const auto& e : m.legendEntries) {
        if (e.curve < 0 || e.curve >= m.CurveCount()) continue;
        const auto& c = m.curves[static_cast<std::size_t>(e.curve)];
        const Rect row = e.rect;
        dc.Text(c.name, Rect{row.left + 12, row.top, row.right, row.bottom}, kAlignLeft, Qt::black);
        if (c.hit) dc.FocusRect(row);
        if (c.showMarkers)
            DrawMarker(dc, c.markerType == 1 ? c.markerSymbol : 0, row.left + 1, row.top + 2, 8, c.colour);
        else
            dc.FillSolidRect(Rect{row.left + 2, row.top + 1, row.left + 10, row.bottom - 2}, dc.Ink(c.colour));
    }
    p.restore();
}

void ChartRenderer::Axis(const ChartModel& m, const CXGraphAxis& a, CDCEx& dc) {
    QPainter& p = dc.painter();
    p.save();
    const Rect plot = m.plotRect;
    for (const auto& r : a.colourRanges) {
        IPoint from, to;
        Rect band;
        if (a.kind == CXGraphAxis::Y) {
            const int y1 = std::clamp(a.GetPointForValue({0, r.from}).y, plot.top, plot.bottom);
            const int y2 = std::clamp(a.GetPointForValue({0, r.to}).y, plot.top, plot.bottom);
            band = {plot.left, y2, plot.right, y1};
        } else {
            const int x1 = std::clamp(a.GetPointForValue({r.from, 0}).x, plot.left, plot.right);
            const int x2 = std::clamp(a.GetPointForValue({r.to, 0}).x, plot.left, plot.right);
            band = {x1, plot.top, x2, plot.bottom};
        }
        band = band.normalized();
        if (r.style == 6) {
            dc.FillSolidRect(band, dc.Ink(r.colour));
        } else {
            dc.SetPen(0, 1, dc.Ink(r.colour));
            dc.SetHatch(r.style, dc.Ink(r.colour));
            dc.Rectangle(band);
        }
    }
    for (const auto& mk : a.markers) DrawAxisMarker(dc, mk);

    const QColor textBack = dc.Paper(m.frameColour);
    if (!a.label.empty()) {
        dc.FillSolidRect(a.titleRect, textBack);
        dc.SetFont(a.titleFont);
        dc.Text(a.label, a.titleRect, a.kind == CXGraphAxis::Y && a.placement == 0 ? kAlignRight : kAlignLeft,
                dc.Ink(kBlack));
    }
    dc.SetFont(a.tickFont);
    for (const auto& t : a.ticks) {
        dc.FillSolidRect(t.textRect, textBack);
        const int align = a.kind == CXGraphAxis::X ? kAlignCentre : a.placement == 1 ? kAlignLeft : kAlignRight;
        dc.Text(t.text, t.textRect, align, dc.Ink(kBlack));
        dc.SetPen(a.gridStyle, 1, dc.Ink(a.gridColour));
        dc.Line(t.lineFrom, t.lineTo);
    }
    dc.SetPen(0, 1, dc.Ink(a.colour));
    const int n = a.arrowSize;
    if (a.kind == CXGraphAxis::Y) {
        dc.Line({a.originX, a.originY}, {a.originX, a.top});
        for (int k = 0; k < n; ++k) dc.Line({a.originX - k, a.top + k}, {a.originX + k, a.top + k});
    } else {
        dc.Line({a.originX, a.originY}, {a.farEnd, a.originY});
        for (int k = 0; k < n; ++k)
            dc.Line({a.farEnd - n + k, a.originY - n + k}, {a.farEnd - n + k, a.originY + n - k});
    }
    if (a.hit) dc.FocusRect(a.rect);
    p.restore();
}

void ChartRenderer::Curve(const ChartModel& m, const CXGraphDataSerie& c, CDCEx& dc) {
    if (c.runs.empty()) return;
    QPainter& p = dc.painter();
    p.save();
    const QColor colour = dc.monochrome ? QColor(Qt::black) : ToQColor(c.hit ? Inverted(c.colour) : c.colour);
    dc.SetPen(c.penStyle, PenWidth(c.lineWidth), colour);
    for (const auto& run : c.runs) {
        if (c.fill && !run.empty()) {
            std::vector<IPoint> poly = run;
            poly.push_back({run.back().x, m.plotRect.bottom});
            poly.push_back({run.front().x, m.plotRect.bottom});
            p.setBackgroundMode(c.transparent ? Qt::TransparentMode : Qt::OpaqueMode);
            dc.SetHatch(c.fillStyle, dc.Ink(c.colour));
            p.drawPolygon(ToPolygon(poly));
            dc.NoBrush();
        }
        if (c.lineType == 1) {
            const int w = c.lineWidth;
            for (const auto& q : run) dc.Ellipse(Rect{q.x - w, q.y - w, q.x + w, q.y + w});
        } else if (run.size() == 1) {
            p.drawPoint(run[0].x, run[0].y);
        } else if (!dc.scaling && p.pen().isCosmetic() && p.pen().width() <= 1) {
            StrokeRun(p, run);
        } else {
            p.drawPolyline(ToPolygon(run));
        }
    }
    p.restore();
}

void ChartRenderer::Markers(const CXGraphDataSerie& c, CDCEx& dc) {
    AxisMarker m;
    m.size = c.markerSize;
    m.colour = c.colour;
    m.symbol = c.markerType == 1;
    m.number = c.markerNumber;
    for (const auto& corner : c.markerCorners) {
        m.x = corner.x;
        m.y = corner.y;
        DrawAxisMarker(dc, m);
    }
}

void ChartRenderer::Tracker(const Rect& r, CDCEx& dc) {
    QPainter& p = dc.painter();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QBrush(Qt::black, Qt::BDiagPattern));
    const int h = ChartController::kTrackerHandle;
    const Rect outer = r.inflated(h, h);
    p.drawRect(QRect(outer.left, outer.top, outer.width(), h));
    p.drawRect(QRect(outer.left, r.bottom, outer.width(), h));
    p.drawRect(QRect(outer.left, r.top, h, r.height()));
    p.drawRect(QRect(r.right, r.top, h, r.height()));
    p.setBrush(Qt::black);
    const int xs[] = {outer.left, (r.left + r.right) / 2 - h / 2, r.right};
    const int ys[] = {outer.top, (r.top + r.bottom) / 2 - h / 2, r.bottom};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (i != 1 || j != 1) p.drawRect(QRect(xs[i], ys[j], h, h));
    p.restore();
}

void ChartRenderer::Label(const ChartModel& m, const CXGraphLabel& l, CDCEx& dc) {
    QPainter& p = dc.painter();
    p.save();
    dc.SetFont(l.font);
    if (l.hasLine) {
        dc.SetPen(0, 1, Qt::black);
        dc.Line(l.lineFrom, l.rect.centre());
    }
    if (!l.transparent) dc.FillSolidRect(l.rect, dc.Paper(l.background));
    if (l.border) {
        dc.SetPen(0, 1, Qt::black);
        dc.NoBrush();
        dc.Rectangle(l.rect);
    }
    if (l.selected) Tracker(l.rect, dc);
    if (!l.editing) {
        const Rect text = l.rect.inflated(-1, -1);
        p.setClipRect(QRect(text.left, text.top, std::max(text.width(), 0), std::max(text.height(), 0)),
                      Qt::IntersectClip);
        dc.Text(l.text, text, l.format, dc.monochrome ? QColor(Qt::black) : ToQColor(l.textColour));
    }
    (void)m;
    p.restore();
}

void ChartRenderer::Notation(const CXGraphDataNotation& n, CDCEx& dc) {
    if (!n.placed) return;
    QPainter& p = dc.painter();
    p.save();
    if (n.selected) Tracker(n.rect, dc);
    dc.SetFont(n.font);
    dc.FillSolidRect(n.rect.inflated(1, 1), Qt::black);
    dc.FillSolidRect(n.rect, Qt::white);
    dc.Text(n.text, n.rect, kAlignCentre, Qt::black);
    dc.FillSolidRect(Rect{n.anchor.x - 1, n.anchor.y - 1, n.anchor.x + 2, n.anchor.y + 2}, Qt::black);
    dc.SetPen(0, 1, Qt::black);
    dc.Line(n.anchor, {n.anchor.x, n.rect.bottom});
    p.restore();
}

}  // namespace vra
