#include "gui/dialogs/CGradientProgressCtrl.h"

#include <QPainter>

namespace vra {

namespace {

QColor ToQt(vra::Rgb c) {
    return {c.red, c.green, c.blue};
}

}  // namespace

CGradientProgressCtrl::CGradientProgressCtrl(QWidget* parent) : QWidget(parent) {
    // The paint covers every pixel, so nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CGradientProgressCtrl::SetRange(std::int16_t lower, std::int16_t upper) {
    bar_.SetRange(lower, upper);
    update();
}

void CGradientProgressCtrl::SetRange32(std::int32_t lower, std::int32_t upper) {
    bar_.SetRange32(lower, upper);
    update();
}

void CGradientProgressCtrl::SetPos(std::int32_t position) {
    bar_.SetPos(position);
    update();
}

void CGradientProgressCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const vra::GradientProgress::Layout layout = bar_.Paint(width());
    if (layout.empty) {
        painter.fillRect(rect(), palette().color(QPalette::Button));
        return;
    }
    for (const vra::GradientProgress::Band& band : layout.bands)
        painter.fillRect(QRect(band.left, 0, band.right - band.left, height()), ToQt(band.colour));
    if (layout.backgroundFrom < width())
        painter.fillRect(QRect(layout.backgroundFrom, 0, width() - layout.backgroundFrom, height()),
                         ToQt(bar_.backgroundColour));
    if (!layout.percentText.empty()) {
        painter.setPen(ToQt(bar_.textColour));
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdString(layout.percentText));
    }
}

}  // namespace vra
