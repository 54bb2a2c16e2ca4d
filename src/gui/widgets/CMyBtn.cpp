#include "gui/widgets/CMyBtn.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

namespace vra {

namespace {

constexpr int kBrushes = 64;
constexpr int kRimInset = 2;
constexpr int kRimWidth = 2;
constexpr int kCaptionPixels = 16;

}  // namespace

CMyBtn::CMyBtn(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

QColor CMyBtn::GradientRow(int y, int height) {
    if (height <= 0) return QColor(0, 0, 255);
    const int brush = static_cast<int>(static_cast<long long>(y) * (kBrushes - 1) / height);
    return QColor(0, 0, 255 - 4 * brush);
}

void CMyBtn::Paint(QPainter& p, const QRect& rect, const QString& caption, bool pressed, bool enabled,
                   const QPalette& palette) {
    if (rect.isEmpty()) return;
    p.save();
    // The window is the ellipse: nothing is painted outside it.
    QRegion ellipse(rect, QRegion::Ellipse);
    p.setClipRegion(ellipse);
    p.fillRect(rect, palette.color(QPalette::Button));
    if (pressed && enabled) {
        const QRect inset = rect.adjusted(kRimInset, kRimInset, -kRimInset, -kRimInset);
        p.setPen(QPen(palette.color(QPalette::Light), kRimWidth));
        p.setBrush(Qt::NoBrush);
        // From the bottom-left corner's direction counter-clockwise to the
        // top-right corner's: the lower right half.
        p.drawArc(inset, 225 * 16, 180 * 16);
        ellipse = QRegion(inset, QRegion::Ellipse);
    }
    p.setClipRegion(ellipse);
    for (int y = 0; y < rect.height(); ++y)
        p.fillRect(QRect(rect.left(), rect.top() + y, rect.width(), 1), GradientRow(y, rect.height()));
    if (!caption.isEmpty()) {
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(kCaptionPixels);
        font.setBold(true);
        font.setItalic(true);
        p.setFont(font);
        p.setPen(QColor(255, 255, 255));
        p.drawText(rect.translated(0, -1), Qt::AlignCenter | Qt::TextSingleLine, caption);
    }
    p.restore();
}

void CMyBtn::SetRound(bool round) {
    if (round == round_) return;
    round_ = round;
    if (round_)
        MakeRound();
    else {
        clearMask();
        update();
    }
}

void CMyBtn::paintEvent(QPaintEvent* event) {
    if (!round_) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter p(this);
    Paint(p, rect(), text(), isDown(), isEnabled(), palette());
}

void CMyBtn::resizeEvent(QResizeEvent* event) {
    QPushButton::resizeEvent(event);
    if (round_) MakeRound();
}

void CMyBtn::MakeRound() {
    setMask(QRegion(rect(), QRegion::Ellipse));
    update();
}

}  // namespace vra
