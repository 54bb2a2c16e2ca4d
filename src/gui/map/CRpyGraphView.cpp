#include "map/CRpyGraphView.h"

#include "widgets/Artwork.h"

#include <QPainter>
#include <QPaintEvent>

#include <cmath>

CRpyGraphView::CRpyGraphView(QWidget* parent) : CZoomView(parent) {
    setObjectName(QStringLiteral("MapView"));
    setFrameShape(QFrame::NoFrame);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CRpyGraphView::HasTrackMap() const { return false; }

void CRpyGraphView::paintEvent(QPaintEvent* event) {
    if (firstPaint_) {
        // The view knows its window size only now: fit the canvas to it.
        firstPaint_ = false;
        SetZoomSizes({kCanvas, kCanvas});
        ZoomFull();
    }
    if (!HasTrackMap()) {
        QPainter painter(viewport());
        DrawNoMapPicture(painter);
        return;
    }
    CZoomView::paintEvent(event);
}

void CRpyGraphView::OnDraw(QPainter&) {}

void CRpyGraphView::DrawNoMapPicture(QPainter& painter) {
    // Drawn in window pixels: the picture follows the window, not the zoom.
    const QRect client = viewport()->rect();
    painter.fillRect(client, Qt::white);
    const int w = client.width();
    const int h = int(std::lround(w * 5.0 / 7.0));
    if (w > 0 && h > 0) {
        const QRect target(client.left(), client.top() + (client.height() - h) / 2, w, h);
        painter.drawImage(target, Artwork::StartPicture(QSize(w, h)));
    }
    painter.setPen(Qt::black);
    const QFontMetrics fm(painter.font());
    painter.drawText(QPoint(client.left(), client.top() + fm.ascent()), QString::fromLatin1(kStartCaption));
}
