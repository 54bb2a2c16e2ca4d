#include "gui/graphs/FRuler.h"

#include "core/graphs/AxisScale.h"
#include "gui/widgets/CellHeightFont.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

int DpiX(QPainter& p) {
    return p.device() ? p.device()->logicalDpiX() : 96;
}
int DpiY(QPainter& p) {
    return p.device() ? p.device()->logicalDpiY() : 96;
}

QString Label(double value, int exponent) {
    return QString::asprintf("%.1f", value * std::pow(10.0, -exponent));
}

QString CaptionText(const QString& caption, int exponent) {
    return exponent != 0 ? caption + QStringLiteral("*%1").arg(exponent) : caption;
}

}  // namespace

FRuler::FRuler(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int FRuler::InchesToPixels(int dpi, double inches) {
    const int v = static_cast<int>(dpi * inches);
    return v == 0 ? 1 : v;
}

void FRuler::SetRange(double minimum, double maximum, bool redraw) {
    min_ = minimum;
    max_ = maximum;
    if (redraw) repaint();
}

void FRuler::SetTexts(const QString& caption, const QString& toolTip) {
    caption_ = caption;
    setToolTip(toolTip);
}

QFont FRuler::LabelFont(int pixelHeight, bool) const {
    QFont f(QStringLiteral("Serif"));
    f.setStyleHint(QFont::Serif);
    SetCellHeight(f, pixelHeight);
    return f;
}

void FRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintScale(p, rect());
}

int FHRuler::GetThickness(int, int dpiY) const {
    return InchesToPixels(dpiY, kThickness);
}
int FVRuler::GetThickness(int dpiX, int) const {
    return InchesToPixels(dpiX, kThickness);
}

int FRuler::LabelsAlong(QPainter& p, int length, bool vertical) const {
    // The font's height runs across the ruler: the other axis's resolution.
    const int dpi = vertical ? DpiX(p) : DpiY(p);
    const QFontMetrics fm(LabelFont(InchesToPixels(dpi, kFontHeight), vertical), p.device());
    const int w = fm.horizontalAdvance(QStringLiteral("9.99 "));
    const int t = GetThickness(DpiX(p), DpiY(p));
    if (w <= 0) return 0;
    return static_cast<int>(std::ceil(static_cast<double>(length - t) / w));
}

int FHRuler::GetMaxLabels(QPainter& p, const QRect& r) const {
    return LabelsAlong(p, r.width(), false);
}

int FVRuler::GetMaxLabels(QPainter& p, const QRect& r) const {
    return LabelsAlong(p, r.height(), true);
}

// Rectangles are (left, top, right, bottom) with right and bottom outside,
// as the layout hands them on; the fill covers exactly that, so a ruler
// never paints over the panel beside it.
void FHRuler::PaintScale(QPainter& p, const QRect& rect) const {
    const int dpi = DpiY(p);
    const int t = GetThickness(DpiX(p), dpi);
    const int left = rect.left(), top = rect.top(), right = rect.left() + rect.width(),
              bottom = rect.top() + rect.height();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(left, top, right - left, bottom - top), QColor(192, 192, 192));
    const int r = right - 1, b = bottom - 1, x0 = left + t;
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(x0, b, r, b);
    p.drawLine(r, b, r, top);
    p.setPen(QPen(Qt::white, 0));
    p.drawLine(r, top, x0, top);
    p.drawLine(x0, top, x0, b);
    if (b >= top + t - 1 && r - left > t + 5) {
        const QFont font = LabelFont(InchesToPixels(dpi, kFontHeight), false);
        p.setFont(font);
        const QFontMetrics fm(font, p.device());
        const int tick = InchesToPixels(dpi, kTickLength);
        const int w = fm.horizontalAdvance(caption_ + QStringLiteral("-10")) + InchesToPixels(dpi, kCaptionGap);
        const AxisScale scale(x0, r, min_, max_);
        const AxisTicks ticks = scale.ComputeTicks(GetMaxLabels(p, QRect(left, top, r - left, b - top)));
        p.setPen(QPen(Qt::black, 0));
        const int labelTop = b - static_cast<int>(1.1 * fm.height());
        const double half = ticks.step * std::pow(10.0, ticks.exponent) / 2;
        for (int i = 0; i < ticks.Count(); ++i) {
            const int x = ClampPixel(ticks.positions[std::size_t(i)]);
            const double v = ticks.values[std::size_t(i)];
            p.drawLine(x, b, x, b - tick);
            const QString label = Label(v, ticks.exponent);
            const int lw = fm.horizontalAdvance(label);
            const int lx = x - lw / 2;
            if (lx > x0 && lx + lw < r - w) p.drawText(lx, labelTop + fm.ascent(), label);
            for (double m : {v - half, v + half}) {
                const int px = scale.ToPixel(m);
                if (px >= x0 && px <= r) p.drawLine(px, b, px, b - tick);
            }
        }
        p.drawText(r - w - 1, labelTop + fm.ascent(), CaptionText(caption_, ticks.exponent));
    }
    p.restore();
}

void FVRuler::PaintScale(QPainter& p, const QRect& rect) const {
    const int dpi = DpiX(p);
    const int t = GetThickness(dpi, DpiY(p));
    const int left = rect.left(), top = rect.top(), right = rect.left() + rect.width(),
              bottom = rect.top() + rect.height();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(left, top, right - left, bottom - top), QColor(192, 192, 192));
    const int r = right - 1, b = bottom - 1, y0 = top + t;
    p.setPen(QPen(Qt::black, 0));
    p.drawLine(left, b, r, b);
    p.drawLine(r, b, r, y0);
    p.setPen(QPen(Qt::white, 0));
    p.drawLine(r, y0, left, y0);
    p.drawLine(left, y0, left, b);
    if (b - top > t + 5 && r >= left + t - 1) {
        const QFont font = LabelFont(InchesToPixels(dpi, kFontHeight), true);
        p.setFont(font);
        const QFontMetrics fm(font, p.device());
        const int tick = InchesToPixels(dpi, kTickLength);
        const int w = fm.horizontalAdvance(caption_ + QStringLiteral("-10")) + InchesToPixels(dpi, kCaptionGap);
        const AxisScale scale(b, y0, min_, max_);
        const AxisTicks ticks = scale.ComputeTicks(GetMaxLabels(p, QRect(left, top, r - left, b - top)));
        p.setPen(QPen(Qt::black, 0));
        const double half = ticks.step * std::pow(10.0, ticks.exponent) / 2;
        // Text reads upwards: drawn along x after turning the painter.
        auto drawUp = [&](int x, int y, const QString& text) {
            p.save();
            p.translate(x, y);
            p.rotate(-90);
            p.drawText(0, fm.ascent(), text);
            p.restore();
        };
        const int textX = r - fm.height();
        for (int i = 0; i < ticks.Count(); ++i) {
            const int y = ClampPixel(ticks.positions[std::size_t(i)]);
            const double v = ticks.values[std::size_t(i)];
            p.drawLine(r, y, r - tick, y);
            const QString label = Label(v, ticks.exponent);
            const int lw = fm.horizontalAdvance(label);
            if (y + lw / 2 < b && y - lw / 2 > y0 + w) drawUp(textX, y + lw / 2, label);
            for (double m : {v - half, v + half}) {
                const int py = scale.ToPixel(m);
                if (py >= y0 && py <= b) p.drawLine(r, py, r - tick, py);
            }
        }
        const QString caption = CaptionText(caption_, ticks.exponent);
        drawUp(textX, y0 + w + 1, caption);
    }
    p.restore();
}

}  // namespace vra
