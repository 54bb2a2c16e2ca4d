#pragma once
// A round needle meter: a shaded scale as a ring sector from 120 to 60
// degrees with three tick marks, its range at both ends, its unit below and
// a red needle. The face is drawn once into a cached picture; a new value
// repaints only the needle over it.

#include <QPixmap>
#include <QPolygon>
#include <QWidget>

#include <string>

namespace vra {

class C3DMeterCtrl : public QWidget {
    Q_OBJECT
public:
    explicit C3DMeterCtrl(QWidget* parent = nullptr);

    void SetValue(double value);
    void SetRange(double minimum, double maximum);
    void SetUnits(const QString& units);
    double Value() const { return value_; }
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }
    const QString& Units() const { return units_; }
    // How many times the face was drawn (the tests check that a value
    // alone keeps it).
    int FaceBuilds() const { return faceBuilds_; }

    // The needle's angle in degrees for the current value: 120 at the
    // minimum, 60 at the maximum, held inside the scale.
    double NeedleDegrees() const;

    // The whole meter over any painter, for a control of size.
    void PaintFace(QPainter& painter, QSize size) const;
    void PaintNeedle(QPainter& painter, QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Geometry {
        QPoint centre;
        int outer = 0, inner = 0;
        QPolygon outline;
        QRect textBox;
    };
    static Geometry GeometryOf(QSize size);

    QPixmap face_;
    int decimals_ = 0;
    double value_ = 260.0, maximum_ = 400.0, minimum_ = 0.0;
    QColor needle_{255, 0, 0};
    QString units_{QStringLiteral("Unit")};
    int faceBuilds_ = 0;
};

}  // namespace vra
