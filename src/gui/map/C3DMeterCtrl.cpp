#include "gui/map/C3DMeterCtrl.h"

#include "core/mapping/MapTransform.h"
#include "gui/widgets/CellHeightFont.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vra {

namespace {

constexpr double kStartDegrees = 120.0, kEndDegrees = 60.0;

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

QPoint OnCircle(QPoint centre, double degrees, int radius) {
    const double a = Radians(degrees);
    return {MapTransform::RoundToInt(centre.x() + std::cos(a) * radius),
            MapTransform::RoundToInt(centre.y() - std::sin(a) * radius)};
}

QString Label(double value, int decimals) {
    return QString::fromStdString(fmt::format("{:.{}f}", value, decimals));
}

}  // namespace

C3DMeterCtrl::C3DMeterCtrl(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void C3DMeterCtrl::SetValue(double value) {
    value_ = value;
    update();
}

void C3DMeterCtrl::SetRange(double minimum, double maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
    face_ = QPixmap();
    update();
}

void C3DMeterCtrl::SetUnits(const QString& units) {
    units_ = units;
    face_ = QPixmap();
    update();
}

void C3DMeterCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    face_ = QPixmap();
    update();
}

C3DMeterCtrl::Geometry C3DMeterCtrl::GeometryOf(QSize size) {
    const int w = size.width(), h = size.height();
    Geometry g;
    g.centre = QPoint(w / 2, h + h / 6);
    g.outer = h;
    g.inner = h / 2;
    for (int k = 0; k <= 12; ++k) g.outline << OnCircle(g.centre, 60.0 + 5.0 * k, g.outer);
    for (int k = 0; k <= 12; ++k) g.outline << OnCircle(g.centre, 120.0 - 5.0 * k, g.inner);
    const int bottom = h - w / 20;
    const int innerEnd = OnCircle(g.centre, 60.0, g.inner).y();
    const int top = bottom + (innerEnd + 1 - bottom) * 60 / 100;
    g.textBox = QRect(QPoint(w / 20, top), QPoint(w - w / 20 - 1, bottom - 1));
    return g;
}

double C3DMeterCtrl::NeedleDegrees() const {
    // An empty range has no scale: the needle rests at its start.
    if (maximum_ == minimum_) return kStartDegrees;
    const double a = kStartDegrees + (value_ - minimum_) * (kEndDegrees - kStartDegrees) / (maximum_ - minimum_);
    return std::clamp(a, kEndDegrees, kStartDegrees);
}

void C3DMeterCtrl::PaintFace(QPainter& painter, QSize size) const {
    const Geometry g = GeometryOf(size);
    const QPalette& pal = palette();
    painter.fillRect(QRect(QPoint(0, 0), size), pal.color(QPalette::Button));
    const QRect outerBox(g.centre.x() - g.outer, g.centre.y() - g.outer, 2 * g.outer, 2 * g.outer);
    const QRect innerBox(g.centre.x() - g.inner, g.centre.y() - g.inner, 2 * g.inner, 2 * g.inner);
    const int span = int((kStartDegrees - kEndDegrees) * 16);
    painter.setPen(QPen(pal.color(QPalette::Dark), 1));
    painter.drawArc(outerBox.translated(0, -1), int(kEndDegrees * 16), span);
    painter.setPen(QPen(pal.color(QPalette::Light), 1));
    painter.drawArc(innerBox.translated(0, 1), int(kEndDegrees * 16), span);
    painter.setPen(QPen(pal.color(QPalette::ButtonText), 1));
    painter.setBrush(pal.color(QPalette::Base));
    painter.drawPolygon(g.outline);
    painter.setBrush(Qt::NoBrush);
    const int tick = (g.outer - g.inner) / 10;
    for (double degrees : {90.0, 75.0, 105.0})
        painter.drawLine(OnCircle(g.centre, degrees, g.outer), OnCircle(g.centre, degrees, g.outer - tick));

    QFont font(QStringLiteral("Arial"));
    font.setWeight(QFont::Normal);
    const int textHeight = std::max(1, g.textBox.height() * 180 / 100);
    SetCellHeight(font, textHeight);
    painter.setFont(font);
    const QFontMetrics fm(font);
    painter.setPen(pal.color(QPalette::ButtonText));
    painter.drawText(QPoint(g.textBox.center().x() - fm.horizontalAdvance(units_) / 2, g.textBox.top()), units_);
    // The range labels stand on a baseline just below the top of the outer
    // arc, level with the scale's highest point.
    const int baseline = g.centre.y() - g.outer + textHeight / 10;
    const QString minimum = Label(minimum_, decimals_), maximum = Label(maximum_, decimals_);
    painter.drawText(QPoint(OnCircle(g.centre, kStartDegrees, g.outer).x() / 2, baseline), minimum);
    const int right = (OnCircle(g.centre, kEndDegrees, g.outer).x() + size.width()) / 2;
    painter.drawText(QPoint(right - fm.horizontalAdvance(maximum), baseline), maximum);
}

void C3DMeterCtrl::PaintNeedle(QPainter& painter, QSize size) const {
    const Geometry g = GeometryOf(size);
    const int h = (g.outer / 2) / 20;
    QPolygon needle;
    needle << QPoint(g.centre.x() + h, g.centre.y()) << OnCircle(g.centre, NeedleDegrees(), g.outer)
           << QPoint(g.centre.x() - h, g.centre.y());
    painter.save();
    painter.setClipRegion(QRegion(g.outline, Qt::OddEvenFill));
    painter.setPen(QPen(needle_, 1));
    painter.setBrush(needle_);
    painter.drawPolygon(needle);
    painter.restore();
}

void C3DMeterCtrl::paintEvent(QPaintEvent*) {
    if (face_.size() != size()) {
        face_ = QPixmap(size());
        QPainter p(&face_);
        PaintFace(p, size());
        ++faceBuilds_;
    }
    QPainter painter(this);
    painter.drawPixmap(0, 0, face_);
    PaintNeedle(painter, size());
}

}  // namespace vra
