#include "gui/widgets/CResizingDialog.h"

#include <QResizeEvent>
#include <QSizeGrip>

#include <cmath>
#include <limits>

namespace vra {

namespace {

// The space before `edge` over the space after it within `extent`.
double EdgeRatio(int edge, int extent) {
    if (extent <= 0) return 0.0;
    if (edge == extent) return std::numeric_limits<double>::infinity();
    return double(edge) / double(extent - edge);
}

// The near edge at the same ratio within the new extent, truncated. The
// product comes first and the sum divides it, so an edge lands exactly where
// it always has, even one pixel short of the plain fraction.
int ProportionalEdge(int extent, double ratio) {
    if (std::isinf(ratio)) return extent;  // stays on the far edge rather than dividing infinity by infinity
    return int(extent * ratio / (ratio + 1.0));
}

}  // namespace

CResizingDialog::CResizingDialog(QWidget* parent) : QDialog(parent) {}

void CResizingDialog::OnInitDialog() {
    size_ = size();
    setMinimumSize(size_);
    grip_ = new QSizeGrip(this);
    grip_->resize(grip_->sizeHint());
    grip_->move(width() - grip_->width(), height() - grip_->height());
    grip_->show();
    SetControlInfo(grip_, Mode::Move, Mode::Move, true);
    initialised_ = true;
}

void CResizingDialog::SetControlInfo(QWidget* control, Mode horizontalMode, Mode verticalMode, bool exclude) {
    if (!control) return;
    ControlInfo info;
    info.control = control;
    info.horizontalMode = horizontalMode;
    info.verticalMode = verticalMode;
    info.rect = control->geometry();
    info.exclude = exclude;
    const QSize base = size_.isValid() ? size_ : size();
    info.horizontalRatio = EdgeRatio(info.rect.left(), base.width());
    info.verticalRatio = EdgeRatio(info.rect.top(), base.height());
    controls_.push_back(info);
}

void CResizingDialog::Layout(ControlInfo& info, QSize newSize) {
    const int dw = newSize.width() - size_.width();
    const int dh = newSize.height() - size_.height();
    QRect r = info.rect;
    switch (info.horizontalMode) {
        case Mode::Stretch:
            r.setRight(r.right() + dw);
            break;
        case Mode::Move:
            r.translate(dw, 0);
            break;
        case Mode::Proportional:
            r.moveLeft(ProportionalEdge(newSize.width(), info.horizontalRatio));
            break;
        default:
            break;
    }
    switch (info.verticalMode) {
        case Mode::Stretch:
            r.setBottom(r.bottom() + dh);
            break;
        case Mode::Move:
            r.translate(0, dh);
            break;
        case Mode::Proportional:
            r.moveTop(ProportionalEdge(newSize.height(), info.verticalRatio));
            break;
        default:
            break;
    }
    if (r == info.rect) return;
    info.rect = r;
    if (info.control) info.control->setGeometry(r);
}

void CResizingDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (controls_.empty() || !size_.isValid()) return;
    const QSize newSize = event->size();
    for (ControlInfo& info : controls_) Layout(info, newSize);
    size_ = newSize;
}

}  // namespace vra
