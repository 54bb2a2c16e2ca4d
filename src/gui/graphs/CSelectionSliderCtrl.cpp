#include "gui/graphs/CSelectionSliderCtrl.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace vra {

CSelectionSliderCtrl::CSelectionSliderCtrl(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    shiftHeld_ = [] { return QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier); };
    connect(this, &QAbstractSlider::actionTriggered, this, &CSelectionSliderCtrl::OnAction);
    connect(this, &QAbstractSlider::sliderReleased, this, [this] { OnMove(SliderSelection::Move::EndTracking); });
}

void CSelectionSliderCtrl::SetSelection(int start, int end) {
    selStart_ = start;
    selEnd_ = end;
    update();
}

void CSelectionSliderCtrl::ClearSel() {
    SetSelection(-1, -1);
}

void CSelectionSliderCtrl::OnAction(int action) {
    using Move = SliderSelection::Move;
    switch (action) {
        case SliderSingleStepAdd:
            OnMove(Move::LineDown);
            break;
        case SliderSingleStepSub:
            OnMove(Move::LineUp);
            break;
        case SliderPageStepAdd:
            OnMove(Move::PageDown);
            break;
        case SliderPageStepSub:
            OnMove(Move::PageUp);
            break;
        case SliderMove:
        case SliderToMinimum:
        case SliderToMaximum:
            OnMove(Move::Position);
            break;
        default:
            return;
    }
    // A key or a click on the groove is a whole move of its own; only a
    // drag of the thumb tracks until the button is released.
    if (!isSliderDown()) OnMove(Move::EndTracking);
}

void CSelectionSliderCtrl::OnMove(SliderSelection::Move move) {
    if (!selRange_) return;
    // The slider has moved its thumb already; its value follows after this
    // signal, so the position is the one to read.
    const SliderSelection::Change change =
        selection_.OnMove(move, sliderPosition(), singleStep(), pageStep(), shiftHeld_(), selEnd_ != -1);
    if (change.clear) ClearSel();
    if (change.select) SetSelection(change.select->first, change.select->second);
    emit scrolled();
}

void CSelectionSliderCtrl::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    if (!selRange_ || selEnd_ == -1) return;
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const int offset = groove.left() + handle.width() / 2;
    const int x0 = offset + QStyle::sliderPositionFromValue(minimum(), maximum(), selStart_, span);
    const int x1 = offset + QStyle::sliderPositionFromValue(minimum(), maximum(), selEnd_, span);
    QPainter painter(this);
    const QColor band = palette().color(QPalette::Highlight);
    painter.fillRect(QRect(QPoint(x0, groove.bottom() + 2), QPoint(std::max(x0, x1), groove.bottom() + 4)), band);
}

}  // namespace vra
