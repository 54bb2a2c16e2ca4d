#include "gui/chart/CColorButton.h"

#include "gui/chart/CColourPopup.h"

#include <QColorDialog>
#include <QPainter>
#include <QStyleOptionButton>

namespace vra {

CColorButton::CColorButton(QWidget* parent) : QPushButton(parent) {
    defaultColour = palette().color(QPalette::Dark);
    setMinimumSize(40, 22);
    connect(this, &QPushButton::clicked, this, &CColorButton::OnClicked);
    colourDialog = [](const QColor& initial, QWidget* owner) {
        return QColorDialog::getColor(initial.isValid() ? initial : Qt::white, owner);
    };
}

void CColorButton::SetColour(const QColor& c) {
    colour_ = c;
    update();
}

void CColorButton::OnClicked() {
    popupActive_ = true;
    update();
    popup_ = new CColourPopup(this, colour_, mapToGlobal(QPoint(0, height())));
    emit dropDown(colour_, id());
}

void CColorButton::OnSelEndOK(const QColor& c) {
    popupActive_ = false;
    const QColor before = colour_;
    SetColour(c);
    emit closeUp(c, id());
    emit selectionAccepted(c, id());
    if (c != before) emit colourChanged(c, id());
}

void CColorButton::OnSelEndCancel(const QColor& c) {
    popupActive_ = false;
    SetColour(c);
    emit closeUp(c, id());
    emit selectionCancelled(c, id());
}

void CColorButton::OnSelChange(const QColor& c) {
    if (trackSelection) SetColour(c);
    emit colourChanged(c, id());
}

void CColorButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    if (popupActive_) option.state |= QStyle::State_Sunken | QStyle::State_HasFocus;
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
    QRect inner = rect().adjusted(4, 4, -4, -4);
    if (popupActive_) inner.translate(1, 1);
    // The arrow, the separator and the colour swatch, right to left.
    const QColor ink = isEnabled() ? QColor(Qt::black) : palette().color(QPalette::Disabled, QPalette::Text);
    const int ax = inner.right() - 6, ay = inner.center().y() - 1;
    p.setPen(ink);
    p.setBrush(ink);
    const QPoint arrow[] = {{ax - 4, ay}, {ax + 4, ay}, {ax, ay + 4}};
    p.drawPolygon(arrow, 3);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(ax - 8, inner.top(), ax - 8, inner.bottom());
    if (isEnabled()) {
        const QRect swatch(inner.left(), inner.top(), ax - 11 - inner.left(), inner.height());
        p.setPen(Qt::black);
        p.setBrush(colour_.isValid() ? colour_ : defaultColour);
        p.drawRect(swatch.adjusted(0, 0, -1, -1));
    }
}

}  // namespace vra
