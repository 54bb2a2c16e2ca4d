#pragma once
// Paints a race graphic (gaps or positions over the laps, one line per
// driver, a legend in finishing order) on any painter: the dialog's face,
// an image for the BMP file, a printer.

#include "core/export/RaceGraphs.h"

#include <QPointF>
#include <QRect>

class QPainter;

namespace vra {

// Where the plot lies inside the painted area and where a value falls.
class RaceGraphLayout {
public:
    RaceGraphLayout(const QRect& area, const RaceGraph& graph);
    QRectF Plot() const { return plot_; }
    QPointF PointAt(double lap, double value) const;
    double Top() const { return top_; }
    double Bottom() const { return bottom_; }
    int LastLap() const { return lastLap_; }

private:
    QRectF plot_;
    double top_ = 0.0, bottom_ = 1.0;
    int lastLap_ = 1;
};

void PaintRaceGraph(QPainter& painter, const QRect& area, const RaceGraph& graph);

}  // namespace vra
