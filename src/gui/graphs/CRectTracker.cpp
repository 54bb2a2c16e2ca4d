#include "gui/graphs/CRectTracker.h"

#include <QPainter>

#include <array>

namespace vra {

namespace {

std::array<QPoint, 8> HandleCentres(const QRect& r) {
    const int l = r.left(), t = r.top(), ri = r.left() + r.width(), b = r.top() + r.height();
    const int cx = (l + ri) / 2, cy = (t + b) / 2;
    return {QPoint(l, t),  QPoint(ri, t),  QPoint(ri, b), QPoint(l, b),
            QPoint(cx, t), QPoint(ri, cy), QPoint(cx, b), QPoint(l, cy)};
}

}  // namespace

int CRectTracker::HitTest(const QPoint& p) const {
    const auto c = HandleCentres(rect);
    for (int i = 0; i < 8; ++i)
        if (QRect(c[std::size_t(i)] - QPoint(kHandle / 2, kHandle / 2), QSize(kHandle, kHandle)).contains(p)) return i;
    return rect.contains(p) ? 8 : -1;
}

Qt::CursorShape CRectTracker::CursorFor(int hit) const {
    switch (hit) {
        case 0:
        case 2:
            return Qt::SizeFDiagCursor;
        case 1:
        case 3:
            return Qt::SizeBDiagCursor;
        case 4:
        case 6:
            return Qt::SizeVerCursor;
        case 5:
        case 7:
            return Qt::SizeHorCursor;
        case 8:
            return Qt::SizeAllCursor;
        default:
            return Qt::ArrowCursor;
    }
}

void CRectTracker::Track(int hit, const QPoint& from, const QPoint& to) {
    const QPoint d = to - from;
    int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), b = rect.top() + rect.height();
    switch (hit) {
        case 8:
            l += d.x(), r += d.x(), t += d.y(), b += d.y();
            break;
        case 0:
            l += d.x(), t += d.y();
            break;
        case 1:
            r += d.x(), t += d.y();
            break;
        case 2:
            r += d.x(), b += d.y();
            break;
        case 3:
            l += d.x(), b += d.y();
            break;
        case 4:
            t += d.y();
            break;
        case 5:
            r += d.x();
            break;
        case 6:
            b += d.y();
            break;
        case 7:
            l += d.x();
            break;
        default:
            return;
    }
    if (r < l) r = l;
    if (b < t) b = t;
    rect = QRect(l, t, r - l, b - t);
}

void CRectTracker::Draw(QPainter& p) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine));
    p.setBrush(QBrush(Qt::black, Qt::BDiagPattern));
    p.drawRect(rect);
    p.setBrush(Qt::black);
    for (const QPoint& c : HandleCentres(rect))
        p.drawRect(QRect(c - QPoint(kHandle / 2, kHandle / 2), QSize(kHandle - 1, kHandle - 1)));
    p.restore();
}

}  // namespace vra
