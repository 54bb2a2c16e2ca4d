#include "gui/view/CZoomView.h"

#include "core/platform/Prompts.h"

#include <QApplication>
#include <QBitmap>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

#include <algorithm>
#include <string>

namespace vra {

namespace {

vra::ZoomPoint ToZoom(QPoint p) {
    return {p.x(), p.y()};
}
QPoint ToQt(vra::ZoomPoint p) {
    return {p.x, p.y};
}

// Keyboard scroll steps in pixels: a page for Page Up/Down, a nudge for arrows.
constexpr int kKeyPageStep = 390;
constexpr int kKeyLineStep = 8;

}  // namespace

CZoomView::CZoomView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    model_.SetClientSize({viewport()->width(), viewport()->height()});
}

void CZoomView::SetZoomSizes(QSize total, QSize page, QSize line) {
    model_.SetZoomSizes({total.width(), total.height()}, {page.width(), page.height()}, {line.width(), line.height()});
    UpdateViewport();
    emit zoomChanged();
}

void CZoomView::UpdateViewport() {
    model_.UpdateViewport();
    SyncScrollBars();
    viewport()->update();
}

bool CZoomView::Apply(vra::ZoomResult result) {
    switch (result) {
        case vra::ZoomResult::Changed:
            SyncScrollBars();
            viewport()->update();
            emit zoomChanged();
            return true;
        case vra::ZoomResult::TooLarge:
            ReportZoomLimit();
            return false;
        case vra::ZoomResult::Unchanged:
            return false;
    }
    return false;
}

bool CZoomView::DoZoomIn(QRect logical) {
    return Apply(model_.DoZoomIn(
        {logical.left(), logical.top(), logical.left() + logical.width(), logical.top() + logical.height()}));
}

bool CZoomView::ZoomByFactor(std::optional<QPoint> logicalCenter, float factor) {
    return Apply(logicalCenter ? model_.ZoomByFactor(ToZoom(*logicalCenter), factor) : model_.ZoomByFactor(factor));
}

bool CZoomView::ZoomOutByFactor(std::optional<QPoint> logicalCenter, float factor) {
    return Apply(logicalCenter ? model_.ZoomOutByFactor(ToZoom(*logicalCenter), factor)
                               : model_.ZoomOutByFactor(factor));
}

bool CZoomView::ZoomFull() {
    // The size the window would have without scroll bars: after the fit none
    // are needed.
    const QSize whole = maximumViewportSize();
    return Apply(model_.ZoomFull({whole.width(), whole.height()}));
}

void CZoomView::SetZoomMode(vra::ZoomMode mode) {
    if (mode == model_.GetZoomMode()) return;
    model_.SetZoomMode(mode);
    UpdateCursor();
    emit toolChanged();
}

void CZoomView::SetSecondaryMode(bool panning) {
    if (panning == model_.PanMode()) return;
    model_.SetSecondaryMode(panning);
    UpdateCursor();
    emit toolChanged();
}

void CZoomView::CenterOnLogicalPoint(QPoint logical) {
    model_.CenterOnLogicalPoint(ToZoom(logical));
    SyncScrollBars();
    viewport()->update();
}

QPoint CZoomView::GetLogicalCenterPoint() const {
    return ToQt(model_.GetLogicalCenterPoint());
}

QPoint CZoomView::ClientToLogical(QPoint client) const {
    return ToQt(model_.ClientToLogical(ToZoom(client)));
}

QPoint CZoomView::LogicalToClient(QPoint logical) const {
    return ToQt(model_.LogicalToClient(ToZoom(logical)));
}

QRect CZoomView::VisibleLogicalRect() const {
    const QPoint topLeft = ClientToLogical(QPoint(0, 0));
    const QPoint bottomRight = ClientToLogical(QPoint(viewport()->width(), viewport()->height()));
    return QRect(topLeft, bottomRight - QPoint(1, 1));
}

bool CZoomView::PanStep(vra::PanDirection direction, int amount) {
    if (!model_.PanStep(direction, amount)) return false;
    SyncScrollBars();
    viewport()->update();
    return true;
}

QSize CZoomView::DeviceSize() const {
    return {model_.DeviceSize().cx, model_.DeviceSize().cy};
}

QSize CZoomView::LogicalSize() const {
    return {model_.LogicalSize().cx, model_.LogicalSize().cy};
}

void CZoomView::PrepareScreenPainter(QPainter& painter) const {
    const vra::ZoomPoint origin = model_.Origin();
    painter.setWindow(0, 0, model_.LogicalSize().cx, model_.LogicalSize().cy);
    painter.setViewport(origin.x, origin.y, model_.DeviceSize().cx, model_.DeviceSize().cy);
}

void CZoomView::PrepareForPrinting(QPainter& painter, QSize page) const {
    const vra::PageFit fit = vra::ZoomModel::FitToPage(model_.LogicalSize(), {page.width(), page.height()});
    painter.setWindow(0, 0, model_.LogicalSize().cx, model_.LogicalSize().cy);
    painter.setViewport(fit.origin.x, fit.origin.y, fit.extent.cx, fit.extent.cy);
}

QCursor CZoomView::MagnifierCursor() {
    // A lens with a handle, black on a white rim so that it shows on a dark
    // map as on a light one; the hot spot is the centre of the lens.
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF lens(2.5, 2.5, 17, 17);
        p.setPen(QPen(Qt::white, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 17), QPointF(28, 28));
        p.drawEllipse(lens);
        p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 17), QPointF(28, 28));
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(QColor(255, 255, 255, 160));
        p.drawEllipse(lens);
    }
    return QCursor(picture, 11, 11);
}

void CZoomView::OnDraw(QPainter&) {}

void CZoomView::ReportZoomLimit() {
    const std::string_view text = vra::ZoomModel::kZoomLimitMessage;
    if (prompts_) {
        prompts_->alert(text);
        return;
    }
    QString shown = QString::fromLatin1(text.data(), qsizetype(text.size()));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox::warning(this, QApplication::applicationDisplayName(), shown);
}

void CZoomView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.save();
    PrepareScreenPainter(painter);
    OnDraw(painter);
    painter.restore();
    if (model_.RubberBandVisible()) {
        // Drawn over the picture on every paint rather than inverted in place,
        // so it disappears with the next paint once the drag ends.
        const vra::ZoomRect band = vra::ZoomModel::NormalizeRect(model_.LogicalToClient(model_.RubberBand()));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 0));
        painter.drawRect(QRect(QPoint(band.left, band.top), QPoint(band.right, band.bottom)));
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.drawRect(QRect(QPoint(band.left, band.top), QPoint(band.right, band.bottom)));
    }
}

void CZoomView::resizeEvent(QResizeEvent*) {
    if (syncing_) return;
    SyncScrollBars();
}

void CZoomView::SyncScrollBars() {
    if (syncing_) return;
    syncing_ = true;
    // Showing or hiding a bar resizes the viewport, which changes the ranges;
    // a few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        const QSize client = viewport()->size();
        model_.SetClientSize({client.width(), client.height()});
        const vra::ZoomSize limit = model_.ScrollLimit();
        const vra::ZoomPoint scroll = model_.ScrollPosition();
        QScrollBar* h = horizontalScrollBar();
        QScrollBar* v = verticalScrollBar();
        h->setRange(0, limit.cx);
        h->setPageStep(std::max(model_.PageSize().cx, 1));
        h->setSingleStep(std::max(model_.LineSize().cx, 1));
        h->setValue(scroll.x);
        v->setRange(0, limit.cy);
        v->setPageStep(std::max(model_.PageSize().cy, 1));
        v->setSingleStep(std::max(model_.LineSize().cy, 1));
        v->setValue(scroll.y);
        if (viewport()->size() == client) break;
    }
    syncing_ = false;
}

void CZoomView::scrollContentsBy(int, int) {
    if (!syncing_) model_.ScrollTo({horizontalScrollBar()->value(), verticalScrollBar()->value()});
    viewport()->update();
}

void CZoomView::UpdateCursor() {
    switch (model_.Cursor()) {
        case vra::ZoomCursor::Arrow:
            viewport()->setCursor(Qt::ArrowCursor);
            break;
        case vra::ZoomCursor::Magnifier:
            viewport()->setCursor(MagnifierCursor());
            break;
        case vra::ZoomCursor::Cross:
            viewport()->setCursor(Qt::CrossCursor);
            break;
        case vra::ZoomCursor::OpenHand:
            viewport()->setCursor(Qt::OpenHandCursor);
            break;
        case vra::ZoomCursor::ClosedHand:
            viewport()->setCursor(Qt::ClosedHandCursor);
            break;
    }
}

void CZoomView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    if (model_.LeftButtonDown(ToZoom(event->position().toPoint()))) viewport()->update();
    UpdateCursor();
}

void CZoomView::mouseMoveEvent(QMouseEvent* event) {
    const bool panning = model_.Capturing() && !model_.RubberBandVisible();
    if (!model_.MouseMove(ToZoom(event->position().toPoint()))) return;
    if (panning) SyncScrollBars();
    viewport()->update();
}

void CZoomView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const bool banding = model_.RubberBandVisible();
    const vra::ZoomResult result = model_.LeftButtonUp(ToZoom(event->position().toPoint()));
    UpdateCursor();
    if (banding) viewport()->update();  // the band goes even when the zoom is refused
    Apply(result);
}

void CZoomView::keyPressEvent(QKeyEvent* event) {
    // A held key may arrive as one event standing for several presses.
    const int n = std::max(event->count(), 1);
    switch (event->key()) {
        case Qt::Key_PageUp:
            PanStep(vra::PanDirection::Up, kKeyPageStep * n);
            break;
        case Qt::Key_PageDown:
            PanStep(vra::PanDirection::Down, kKeyPageStep * n);
            break;
        case Qt::Key_Up:
            PanStep(vra::PanDirection::Up, kKeyLineStep * n);
            break;
        case Qt::Key_Down:
            PanStep(vra::PanDirection::Down, kKeyLineStep * n);
            break;
        case Qt::Key_Left:
            PanStep(vra::PanDirection::Left, kKeyLineStep * n);
            break;
        case Qt::Key_Right:
            PanStep(vra::PanDirection::Right, kKeyLineStep * n);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

}  // namespace vra
