#pragma once
// The drawing context of the chart: one painter for screen and printer. On
// a printer the painter's world transform scales logical units by the ratio
// of the two resolutions, so the chart lays itself out once in logical
// units; solid pens scale with it, other pen styles stay one device pixel
// thin. On a monochrome device everything is drawn black on white.

#include "core/chart/ChartTypes.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>

#include <map>
#include <string>

class QPaintDevice;

namespace vra {

QColor ToQColor(Rgb c);
Rgb FromQColor(const QColor& c);

// The Qt font for a chart font: "Arial" is drawn with Liberation Sans, at
// the pixel size whose ascent plus descent is the requested cell height.
QFont QtFont(const FontSpec& spec);

class QtTextMeasurer : public TextMeasurer {
public:
    ISize extent(const FontSpec& font, std::string_view text) const override;
};

enum TextAlign { kAlignLeft = 0, kAlignCentre = 1, kAlignRight = 2 };

// Screen lines paint their start and stop one pixel short of their end,
// whichever way they run. Qt's one-pixel line leaves out the lower or right
// end instead; this is the step that moves a straight line running left or
// up by one pixel to make up for it, (0, 0) for any other line.
IPoint BackStep(IPoint from, IPoint to);

class CDCEx {
public:
    explicit CDCEx(QPainter& painter) : p_(painter) {}

    // The factor is the larger resolution over the smaller, never below 1;
    // a device that reports no resolution counts as the screen's.
    static double ComputeFactor(int screenDpi, int deviceDpi);
    void ComputeScaling(const QPaintDevice& screen, const QPaintDevice& device);

    QPainter& painter() { return p_; }
    bool monochrome = false;
    bool scaling = false;
    double fx = 1.0;
    double fy = 1.0;

    // Colours as the device shows them: black on a monochrome device, or
    // white for backgrounds.
    QColor Ink(Rgb c) const { return monochrome ? QColor(Qt::black) : ToQColor(c); }
    QColor Paper(Rgb c) const { return monochrome ? QColor(Qt::white) : ToQColor(c); }

    // Pen styles 0-4: solid, dash, dot, dash-dot, dash-dot-dot.
    void SetPen(int style, int width, QColor colour);
    void NoPen() { p_.setPen(Qt::NoPen); }
    void SetBrush(QColor c) { p_.setBrush(c); }
    void SetHatch(int style, QColor c);
    void NoBrush() { p_.setBrush(Qt::NoBrush); }
    void SetFont(const FontSpec& f) { p_.setFont(QtFont(f)); }

    void Line(IPoint a, IPoint b);
    void Rectangle(const Rect& r);
    void Ellipse(const Rect& r);
    void FillSolidRect(const Rect& r, QColor c);
    void FocusRect(const Rect& r);
    void Text(const std::string& text, const Rect& r, int align, QColor colour);

private:
    QPainter& p_;
};

}  // namespace vra
