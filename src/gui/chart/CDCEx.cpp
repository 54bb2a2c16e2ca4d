#include "gui/chart/CDCEx.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygon>
#include <QString>

#include <cmath>
#include <mutex>

namespace vra {

QColor ToQColor(Rgb c) {
    return QColor(c.red, c.green, c.blue);
}
Rgb FromQColor(const QColor& c) {
    return Rgb{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
               static_cast<std::uint8_t>(c.blue())};
}

QFont QtFont(const FontSpec& spec) {
    static std::map<std::tuple<std::string, int, int, bool, bool, bool>, QFont> cache;
    const auto key =
        std::make_tuple(spec.family, spec.height, spec.weight, spec.italic, spec.underline, spec.strikeOut);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    const QString family =
        spec.family == "Arial" ? QStringLiteral("Liberation Sans") : QString::fromStdString(spec.family);
    QFont f(family);
    const int cell = std::clamp(spec.height, 1, 2000);
    f.setPixelSize(cell);
    f.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight, 1, 1000)));
    f.setItalic(spec.italic);
    f.setUnderline(spec.underline);
    f.setStrikeOut(spec.strikeOut);
    f.setStyleStrategy(QFont::PreferAntialias);
    const QFontMetricsF m(f);
    const double h = m.ascent() + m.descent();
    if (h > 0) f.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * cell / h))));
    cache.emplace(key, f);
    return f;
}

ISize QtTextMeasurer::extent(const FontSpec& font, std::string_view text) const {
    const QFontMetricsF m(QtFont(font));
    const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (!s.contains(QLatin1Char('\n'))) {
        return {static_cast<int>(std::ceil(m.horizontalAdvance(s))), static_cast<int>(std::ceil(m.height()))};
    }
    const QRectF r = m.boundingRect(QRectF(0, 0, 100000, 100000), Qt::AlignHCenter | Qt::AlignTop, s);
    return {static_cast<int>(std::ceil(r.width())), static_cast<int>(std::ceil(r.height()))};
}

double CDCEx::ComputeFactor(int screenDpi, int deviceDpi) {
    if (screenDpi <= 0 || deviceDpi <= 0) return 1.0;
    const double f = deviceDpi >= screenDpi ? double(deviceDpi) / screenDpi : double(screenDpi) / deviceDpi;
    return f < 1e-10 ? 1.0 : f;
}

void CDCEx::ComputeScaling(const QPaintDevice& screen, const QPaintDevice& device) {
    fx = ComputeFactor(screen.logicalDpiX(), device.logicalDpiX());
    fy = ComputeFactor(screen.logicalDpiY(), device.logicalDpiY());
}

void CDCEx::SetPen(int style, int width, QColor colour) {
    static constexpr Qt::PenStyle kStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                               Qt::DashDotDotLine};
    const Qt::PenStyle s = style >= 0 && style < 5 ? kStyles[style] : Qt::SolidLine;
    QPen pen(colour);
    pen.setStyle(s);
    pen.setWidth(std::max(width, 1));
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // Only solid pens grow with the printer's resolution; on the screen
    // every line is one plain pixel path without joins.
    pen.setCosmetic(s != Qt::SolidLine || !scaling);
    p_.setPen(pen);
}

void CDCEx::SetHatch(int style, QColor c) {
    static constexpr Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                                  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    if (style >= 0 && style < 6)
        p_.setBrush(QBrush(c, kHatches[style]));
    else
        p_.setBrush(QBrush(c));
}

IPoint BackStep(IPoint from, IPoint to) {
    if (from.y == to.y && to.x < from.x) return {1, 0};
    if (from.x == to.x && to.y < from.y) return {0, 1};
    return {};
}

// A line paints its start and stops one pixel short of its end, whichever
// way it runs, and a line of no length paints nothing: a straight line
// running up or left is drawn one pixel further down or right (on the
// screen; on paper a pixel is a fraction of a layout unit).
void CDCEx::Line(IPoint a, IPoint b) {
    if (a.x == b.x && a.y == b.y) return;
    const IPoint s = !scaling && p_.pen().isCosmetic() ? BackStep(a, b) : IPoint{};
    p_.drawLine(QPoint(a.x + s.x, a.y + s.y), QPoint(b.x + s.x, b.y + s.y));
}

// A framework rectangle covers left .. right - 1 including its outline.
void CDCEx::Rectangle(const Rect& r) {
    if (r.empty()) return;
    const double inset = p_.pen().style() == Qt::NoPen ? 0.0 : 0.5;
    p_.drawRect(QRectF(r.left + inset, r.top + inset, r.width() - 2 * inset, r.height() - 2 * inset));
}

void CDCEx::Ellipse(const Rect& r) {
    p_.drawEllipse(QRectF(r.left, r.top, r.width(), r.height()));
}

void CDCEx::FillSolidRect(const Rect& r, QColor c) {
    if (r.empty()) return;
    p_.fillRect(QRect(r.left, r.top, r.width(), r.height()), c);
}

void CDCEx::FocusRect(const Rect& r) {
    if (r.empty()) return;
    // A focus rectangle inverts every other pixel of its one-pixel frame,
    // in a checkerboard fixed to the device, so it shows on any colour and
    // drawing it again takes it away. Devices that cannot combine pixels
    // (paper) get a dotted black frame instead.
    QPaintEngine* engine = p_.paintEngine();
    if (!scaling && engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        QPolygon frame;
        auto put = [&](int x, int y) {
            if (((x + y) & 1) == 0) frame << QPoint(x, y);
        };
        const int right = r.right - 1, bottom = r.bottom - 1;
        for (int x = r.left; x <= right; ++x) put(x, r.top);
        if (bottom > r.top)
            for (int x = r.left; x <= right; ++x) put(x, bottom);
        for (int y = r.top + 1; y < bottom; ++y) {
            put(r.left, y);
            if (right > r.left) put(right, y);
        }
        p_.save();
        p_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p_.setRenderHint(QPainter::Antialiasing, false);
        p_.setPen(QPen(Qt::white, 0));
        p_.drawPoints(frame);
        p_.restore();
        return;
    }
    const QPen old = p_.pen();
    const QBrush oldBrush = p_.brush();
    QPen pen(Qt::black);
    pen.setStyle(Qt::DotLine);
    pen.setCosmetic(true);
    p_.setPen(pen);
    p_.setBrush(Qt::NoBrush);
    p_.drawRect(QRectF(r.left + 0.5, r.top + 0.5, r.width() - 1, r.height() - 1));
    p_.setPen(old);
    p_.setBrush(oldBrush);
}

void CDCEx::Text(const std::string& text, const Rect& r, int align, QColor colour) {
    const QPen old = p_.pen();
    p_.setPen(colour);
    Qt::Alignment a = Qt::AlignTop;
    a |= align == kAlignCentre ? Qt::AlignHCenter : align == kAlignRight ? Qt::AlignRight : Qt::AlignLeft;
    p_.drawText(QRectF(r.left, r.top, std::max(r.width(), 0), std::max(r.height(), 0)), a | Qt::TextDontClip,
                QString::fromStdString(text));
    p_.setPen(old);
}

}  // namespace vra
