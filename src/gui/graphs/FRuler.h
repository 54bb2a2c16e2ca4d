#pragma once
// The scales beside the plot panel: a raised frame, major ticks with labels,
// a minor tick half a step either side, and the axis's unit at the far end
// (with the labels' decimal exponent). Every size is given in inches and
// taken through the device's resolution, so screen and paper look alike.

#include <QString>
#include <QWidget>

class QPainter;

namespace vra {

class FRuler : public QWidget {
    Q_OBJECT
public:
    static constexpr double kThickness = 1.0 / 6.0;
    static constexpr double kFontHeight = 1.0 / 6.0 * 0.8849557522123894;
    static constexpr double kTickLength = 1.0 / 6.0 * 0.25;
    static constexpr double kCaptionGap = 1.0 / 6.0 * 0.1;

    explicit FRuler(QWidget* parent = nullptr);

    // dpi x inches truncated; never 0.
    static int InchesToPixels(int dpi, double inches);

    void SetRange(double minimum, double maximum, bool redraw);
    void SetTexts(const QString& caption, const QString& toolTip);
    double Minimum() const { return min_; }
    double Maximum() const { return max_; }
    const QString& Caption() const { return caption_; }

    // The ruler's thickness across its length on a device of these
    // resolutions.
    virtual int GetThickness(int dpiX, int dpiY) const = 0;
    // How many labels fit along the rectangle.
    virtual int GetMaxLabels(QPainter& painter, const QRect& rect) const = 0;
    // The whole ruler into rect.
    virtual void PaintScale(QPainter& painter, const QRect& rect) const = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
    QFont LabelFont(int pixelHeight, bool vertical) const;
    // How many "9.99" labels fit along length pixels beside the corner the
    // other ruler takes.
    int LabelsAlong(QPainter& painter, int length, bool vertical) const;

    double min_ = 1.0;
    double max_ = 100.0;
    QString caption_;
};

class FHRuler : public FRuler {
    Q_OBJECT
public:
    using FRuler::FRuler;
    int GetThickness(int dpiX, int dpiY) const override;
    int GetMaxLabels(QPainter& painter, const QRect& rect) const override;
    void PaintScale(QPainter& painter, const QRect& rect) const override;
};

class FVRuler : public FRuler {
    Q_OBJECT
public:
    using FRuler::FRuler;
    int GetThickness(int dpiX, int dpiY) const override;
    int GetMaxLabels(QPainter& painter, const QRect& rect) const override;
    void PaintScale(QPainter& painter, const QRect& rect) const override;
};

}  // namespace vra
