#include "gui/widgets/CResizingDialog.h"

#include <QResizeEvent>
#include <QSizeGrip>

namespace vra {

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
    // Kept as plain fractions: the same position as left / (width - left)
    // ratios, without dividing by zero for a control at the far edge.
    if (base.width() > 0) info.horizontalFraction = double(info.rect.left()) / base.width();
    if (base.height() > 0) info.verticalFraction = double(info.rect.top()) / base.height();
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
            r.moveLeft(int(newSize.width() * info.horizontalFraction));
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
            r.moveTop(int(newSize.height() * info.verticalFraction));
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
