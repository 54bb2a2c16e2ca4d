#include "gui/graphs/CGraphPanel.h"

#include "gui/graphs/CGraphWnd.h"
#include "gui/graphs/FRuler.h"
#include "gui/graphs/GraphPropertyPages.h"

#include <QDialog>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintDevice>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vra {

namespace {

int MarkRadius(const QPainter& p) {
    return (p.device() ? p.device()->logicalDpiY() : 96) / 35;
}

void Mark(QPainter& p, QPoint c, int r, const QColor& colour) {
    p.fillRect(QRect(c.x() - r, c.y() - r, 2 * r + 1, 2 * r + 1), colour);
}

QColor ToQColor(const Rgb& c) {
    return QColor(c.red, c.green, c.blue);
}

// The rubber band from where the button went down to the mouse, with the
// tracker's own edges: its right edge is the larger x itself, not one past it.
QRect DragRect(const QPoint& a, const QPoint& b) {
    return QRect(std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::abs(a.x() - b.x()), std::abs(a.y() - b.y()));
}

}  // namespace

CGraphPanel::CGraphPanel(FVRuler* vertical, FHRuler* horizontal, QWidget* parent)
    : QWidget(parent), vertical_(vertical), horizontal_(horizontal) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    tracker_.rect = QRect(10, 10, 40, 40);
}

int CGraphPanel::SetFlags(int flags, bool redraw) {
    const int old = range_.SetFlags(flags);
    if (old != flags && redraw) Render();
    return old;
}

void CGraphPanel::SetRange(const GraphRange& r, bool redraw) {
    if (!range_.SetRange(r)) return;
    vertical_->SetRange(r.y1, r.y2, false);
    horizontal_->SetRange(r.x1, r.x2, false);
    if (redraw) {
        RedrawRulers();
        Render();
    }
}

void CGraphPanel::RedrawRulers() {
    vertical_->repaint();
    horizontal_->repaint();
}

void CGraphPanel::OnNotify(const GraphNotify& n) {
    switch (n.code) {
        case kPointAdded:
            Recalculate(n);
            break;
        case kPointRemoved:
        case kPointReplaced:
        case kGraphRemoved:
        case kPointsCleared:
            if (n.redraw) Render();
            break;
        case kRangeChanged:
            SetFlags(n.flags, n.redraw);
            SetRange({n.x1, n.x2, n.y1, n.y2}, n.redraw);
            break;
        case kAxisChanged: {
            if (!graph_) break;
            const GraphAxisInfo& a = graph_->Model().GetAxisInfo(n.axis);
            FRuler* ruler = n.axis == 1 ? static_cast<FRuler*>(horizontal_) : static_cast<FRuler*>(vertical_);
            ruler->SetTexts(QString::fromStdString(a.Unit()), QString::fromStdString(a.Title()));
            if (n.redraw) ruler->repaint();
            break;
        }
        case kRedraw:
            if (n.bits & 1) Render();
            if (n.bits & 4) RedrawRulers();
            break;
        default:
            break;
    }
}

void CGraphPanel::Recalculate(const GraphNotify& n) {
    if (!graph_) return;
    const CGraphProps* g = graph_->Model().GetGraph(n.slot);
    if (!g || !g->visible || n.index < 0 || n.index >= g->Count()) return;
    const Point2D pt = g->At(n.index);
    if (range_.Flags() & kExtendRange) {
        if (auto wider = range_.Extended(pt.x, pt.y)) {
            SetRange(*wider, false);
            if (n.redraw) Render();
            return;
        }
    }
    if (!n.redraw || surface_.isNull()) return;
    if (n.index != 0 && n.index != g->Count() - 1) {
        Render();
        return;
    }
    if (!valid_) {
        Render();
        return;
    }
    QPainter p(&surface_);
    const int r = MarkRadius(p);
    const QColor colour = ToQColor(g->colour);
    p.setPen(QPen(colour, 0));
    const QPoint a(range_.XScale().ToPixel(pt.x), range_.YScale().ToPixel(pt.y));
    QRect dirty(a, a);
    if (g->Count() >= 2) {
        const Point2D nb = g->At(n.index == 0 ? 1 : n.index - 1);
        const QPoint b(range_.XScale().ToPixel(nb.x), range_.YScale().ToPixel(nb.y));
        if (a == b) return;
        if (!(range_.Flags() & kNoLines)) p.drawLine(a, b);
        if (range_.Flags() & kPointMarks) Mark(p, a, r, colour);
        dirty = QRect(a, b).normalized();
    } else if (range_.Flags() & kPointMarks) {
        Mark(p, a, r, colour);
    }
    p.end();
    update(dirty.adjusted(-(r + 2), -(r + 2), r + 2, r + 2));
}

void CGraphPanel::Render() {
    if (surface_.isNull()) return;
    {
        QPainter p(&surface_);
        DrawAll(p, QRect(0, 0, surface_.width(), surface_.height()));
    }
    valid_ = true;
    ++fullRenders_;
    update();
}

void CGraphPanel::DrawAll(QPainter& p, const QRect& rect) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect, background_);
    DrawSeries(p, rect);
    if (range_.Flags() & kGrid) DrawGrid(p, rect);
    p.restore();
}

void CGraphPanel::DrawSeries(QPainter& p, const QRect& rect) const {
    if (!range_.HasScales() || !graph_) return;
    p.save();
    p.setClipRect(rect);
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    const AxisScale xs = range_.XScaleFor(rect.left(), right);
    const AxisScale ys = range_.YScaleFor(rect.top(), bottom);
    const int r = MarkRadius(p);
    const bool marks = range_.Flags() & kPointMarks, lines = !(range_.Flags() & kNoLines);
    const GraphModel& model = graph_->Model();
    for (int s = 0; s < model.Capacity(); ++s) {
        const CGraphProps* g = model.GetGraph(s);
        if (!g || !g->visible || g->Count() == 0) continue;
        const QColor colour = ToQColor(g->colour);
        p.setPen(QPen(colour, 0));
        QPoint last(xs.ToPixel(g->At(0).x), ys.ToPixel(g->At(0).y));
        if (marks) Mark(p, last, r, colour);
        // Points that land on the pixel already drawn add nothing.
        std::vector<QPoint> run{last};
        for (const Point2D& pt : g->Points()) {
            const QPoint q(xs.ToPixel(pt.x), ys.ToPixel(pt.y));
            if (q == last) continue;
            if (marks) Mark(p, q, r, colour);
            run.push_back(q);
            last = q;
        }
        if (lines && run.size() > 1) p.drawPolyline(run.data(), static_cast<int>(run.size()));
    }
    p.restore();
}

void CGraphPanel::DrawGrid(QPainter& p, const QRect& rect) const {
    if (!range_.HasScales()) return;
    const int right = rect.left() + rect.width(), bottom = rect.top() + rect.height();
    p.save();
    p.setPen(QPen(Qt::black, 0, Qt::DotLine));
    p.setBackgroundMode(Qt::TransparentMode);
    const AxisTicks xt = range_.XScaleFor(rect.left(), right).ComputeTicks(horizontal_->GetMaxLabels(p, rect));
    for (double x : xt.positions) p.drawLine(ClampPixel(x), bottom, ClampPixel(x), rect.top());
    const AxisTicks yt = range_.YScaleFor(rect.top(), bottom).ComputeTicks(vertical_->GetMaxLabels(p, rect));
    for (double y : yt.positions) p.drawLine(right, ClampPixel(y), rect.left(), ClampPixel(y));
    p.restore();
}

void CGraphPanel::paintEvent(QPaintEvent* event) {
    if (surface_.isNull()) return;
    if (!valid_) Render();
    QPainter p(this);
    p.drawImage(event->rect(), surface_, event->rect());
    if (zoomTool_ || dragging_) tracker_.Draw(p);
}

void CGraphPanel::resizeEvent(QResizeEvent*) {
    range_.Resize(width(), height());
    if (width() > 0 && height() > 0) {
        if (surface_.size() != size()) {
            surface_ = QImage(size(), QImage::Format_RGB32);
            valid_ = false;
        }
    } else {
        surface_ = QImage();
    }
}

QString CGraphPanel::CoordinatesText(int x, int y) const {
    if (!range_.HasScales() || !graph_) return {};
    const double xv = range_.XScale().ToValue(x), yv = range_.YScale().ToValue(y);
    const std::string extra = host_ ? host_(xv, yv) : std::string{};
    const GraphModel& m = graph_->Model();
    return QStringLiteral("x=%1, y=%2%3")
        .arg(QString::fromStdString(m.FormatValue(xv, 1, 1)), QString::fromStdString(m.FormatValue(yv, 0, 1)),
             QString::fromStdString(extra));
}

void CGraphPanel::PanStep() {
    SetRange(range_.Panned(previous_.x(), previous_.y(), current_.x(), current_.y()), true);
}

void CGraphPanel::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (range_.Flags() & kCoordinates)
        QToolTip::showText(e->globalPosition().toPoint(), CoordinatesText(pos.x(), pos.y()), this);
    else
        QToolTip::hideText();
    if (panning_) {
        previous_ = current_;
        current_ = pos;
        PanStep();
    } else if (dragging_) {
        constexpr int g = 2 + CRectTracker::kHandle;
        const QRect old = DragRect(dragStart_, dragEnd_);
        dragEnd_ = pos;
        tracker_.rect = DragRect(dragStart_, dragEnd_);
        update(old.adjusted(-g, -g, g, g).united(tracker_.rect.adjusted(-g, -g, g, g)));
    } else if (trackHit_ >= 0) {
        const QRect old = tracker_.Bounds();
        tracker_.Track(trackHit_, trackFrom_, pos);
        trackFrom_ = pos;
        update(old.united(tracker_.Bounds()));
    } else if (zoomTool_) {
        setCursor(tracker_.CursorFor(tracker_.HitTest(pos)));
    }
}

void CGraphPanel::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint pos = e->position().toPoint();
    if (e->modifiers() & Qt::ShiftModifier) {
        previous_ = current_ = pos;
        panning_ = true;
    } else if (!zoomTool_) {
        dragging_ = true;
        dragStart_ = dragEnd_ = pos;
    } else {
        trackHit_ = tracker_.HitTest(pos);
        trackFrom_ = pos;
    }
}

void CGraphPanel::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (e->button() == Qt::RightButton) {
        QMenu menu(this);
        BuildContextMenu(menu);
        if (QAction* a = menu.exec(e->globalPosition().toPoint())) OnGraphCommand(a->data().toInt());
        return;
    }
    if (panning_) {
        current_ = pos;
        PanStep();
        panning_ = false;
    } else if (dragging_) {
        dragEnd_ = pos;
        dragging_ = false;
        const QRect old = tracker_.Bounds();
        tracker_.rect = DragRect(dragStart_, dragEnd_);
        if (dragStart_ != dragEnd_) zoomTool_ = true;
        update(old.united(tracker_.Bounds()).adjusted(-2, -2, 2, 2));
    }
    trackHit_ = -1;
}

void CGraphPanel::mouseDoubleClickEvent(QMouseEvent*) {
    if (zoomTool_) ApplyZoom();
}

void CGraphPanel::ApplyZoom() {
    if (!zoomTool_) return;
    zoomTool_ = false;
    const QRect r = tracker_.rect;
    // A rectangle without width or height would give a range with equal ends.
    if (auto z = range_.Zoomed(r.left(), r.top(), r.left() + r.width(), r.top() + r.height())) SetRange(*z, true);
    update();
}

void CGraphPanel::Fit(int id) {
    if (!graph_) return;
    double x1, x2, y1, y2;
    if (!graph_->Model().GetDataBounds(x1, x2, y1, y2)) return;
    SetRange(range_.Fitted(id, x1, x2, y1, y2), true);
}

void CGraphPanel::BuildContextMenu(QMenu& menu) {
    auto add = [&](QMenu& m, const QString& text, int id, bool checkable, bool checked) {
        QAction* a = m.addAction(text);
        a->setData(id);
        a->setCheckable(checkable);
        a->setChecked(checked);
        return a;
    };
    const int f = range_.Flags();
    add(menu, tr("Point marks"), 4097, true, f & kPointMarks);
    add(menu, tr("Show coordinates and highlight track"), 4099, true, f & kCoordinates);
    add(menu, tr("Axis"), 4100, true, f & kGrid);
    menu.addSeparator();
    QMenu* zoom = menu.addMenu(tr("Zoom"));
    add(*zoom, tr("Zoom tool"), 4101, true, zoomTool_);
    add(*zoom, tr("Apply"), 4102, false, false)->setEnabled(zoomTool_);
    QMenu* fit = menu.addMenu(tr("Fit..."));
    add(*fit, tr("Width"), 4103, false, false);
    add(*fit, tr("Height"), 4104, false, false);
    add(*fit, tr("Page"), 4105, false, false);
}

void CGraphPanel::OnGraphCommand(int id) {
    switch (id) {
        case 4097:
            SetFlags(range_.Toggled(kPointMarks), true);
            break;
        case 4098:
            SetFlags(range_.Toggled(kNoLines), true);
            break;
        case 4099:
            SetFlags(range_.Toggled(kCoordinates), false);
            break;
        case 4100:
            SetFlags(range_.Toggled(kGrid), true);
            break;
        case 4101:
            zoomTool_ = !zoomTool_;
            if (zoomTool_) tracker_.rect = QRect(5, 5, 45, 45);
            update(tracker_.Bounds());
            break;
        case 4102:
            ApplyZoom();
            break;
        case 4103:
        case 4104:
        case 4105:
            Fit(id);
            break;
        case 4107:
            ShowProperties();
            break;
        default:
            break;
    }
    // The same command goes on to the frame and the window.
    if (graph_ && id != 4107) graph_->RouteFromPanel(id);
}

void CGraphPanel::ShowProperties() {
    if (!graph_) return;
    GraphPropertySheet sheet(this);
    const GraphRange r = range_.Range();
    auto* general = new CGraphPropertyPage(r, range_.Flags());
    sheet.AddPage(general, tr("General"));
    graph_->AddPropertyPages(sheet);
    const int result = sheet.exec();
    if (result == QDialog::Accepted) {
        SetRange(general->Range(), false);
        SetFlags(general->ApplyTo(range_.Flags()), false);
    }
    graph_->OnPropertiesClosed(result == QDialog::Accepted);
    if (result == QDialog::Accepted) graph_->Model().Redraw(-1);
}

}  // namespace vra
