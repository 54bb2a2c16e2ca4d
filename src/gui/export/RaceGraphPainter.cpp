#include "gui/export/RaceGraphPainter.h"

#include "gui/platform/Cp1252.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace vra {

namespace {

constexpr int kLeft = 50, kTop = 20, kBottom = 36, kLegendWidth = 200;

// A step of about a tenth of the span, from 1, 2 and 5 times a power of ten.
double NiceStep(double span) {
    if (span <= 0.0) return 1.0;
    const double raw = span / 10.0;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double f : {1.0, 2.0, 5.0})
        if (raw <= f * power) return f * power;
    return 10.0 * power;
}

}  // namespace

RaceGraphLayout::RaceGraphLayout(const QRect& area, const RaceGraph& graph) {
    lastLap_ = std::max(graph.lastLap, 1);
    if (graph.kind == RaceGraph::Kind::Gaps) {
        top_ = 0.0;
        bottom_ = std::min(graph.minValue, -1.0);
    } else {
        top_ = 1.0;
        bottom_ = std::max(graph.maxValue, 2.0);
    }
    const double width = std::max(area.width() - kLeft - kLegendWidth, 20);
    const double height = std::max(area.height() - kTop - kBottom, 20);
    plot_ = QRectF(area.left() + kLeft, area.top() + kTop, width, height);
}

QPointF RaceGraphLayout::PointAt(double lap, double value) const {
    const double x = plot_.left() + plot_.width() * lap / lastLap_;
    const double y = plot_.top() + plot_.height() * (value - top_) / (bottom_ - top_);
    return {x, y};
}

void PaintRaceGraph(QPainter& painter, const QRect& area, const RaceGraph& graph) {
    const RaceGraphLayout layout(area, graph);
    const QRectF plot = layout.Plot();
    painter.save();
    painter.fillRect(area, Qt::white);
    const QFontMetrics metrics(painter.font());

    // Grid and labels: laps across, seconds or places down.
    painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 0));
    const int lapStep = static_cast<int>(NiceStep(layout.LastLap()));
    for (int lap = 0; lap <= layout.LastLap(); lap += std::max(lapStep, 1)) {
        const QPointF at = layout.PointAt(lap, layout.Top());
        painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 0));
        painter.drawLine(QPointF(at.x(), plot.top()), QPointF(at.x(), plot.bottom()));
        painter.setPen(Qt::black);
        const QString text = QString::number(lap);
        painter.drawText(QPointF(at.x() - metrics.horizontalAdvance(text) / 2.0, plot.bottom() + metrics.ascent() + 4),
                         text);
    }
    const double span = std::abs(layout.Bottom() - layout.Top());
    const double valueStep = graph.kind == RaceGraph::Kind::Positions ? std::max(1.0, NiceStep(span)) : NiceStep(span);
    for (double v = 0.0; v <= span + 1e-9; v += valueStep) {
        const double value = graph.kind == RaceGraph::Kind::Gaps ? -v : layout.Top() + v;
        const QPointF at = layout.PointAt(0, value);
        painter.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 0));
        painter.drawLine(QPointF(plot.left(), at.y()), QPointF(plot.right(), at.y()));
        painter.setPen(Qt::black);
        // The zero line reads "0", never "-0".
        const QString text = QString::number(value == 0.0 ? 0.0 : value, 'g', 4);
        painter.drawText(QPointF(plot.left() - 6 - metrics.horizontalAdvance(text), at.y() + metrics.ascent() / 2.0),
                         text);
    }
    painter.setPen(Qt::black);
    painter.drawRect(plot);
    painter.drawText(QPointF(plot.center().x() - metrics.horizontalAdvance(QStringLiteral("Lap")) / 2.0,
                             plot.bottom() + 2 * metrics.height() + 2),
                     QStringLiteral("Lap"));

    // One line per driver, the last finisher first so that the winner's
    // line stays on top.
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (auto it = graph.series.rbegin(); it != graph.series.rend(); ++it) {
        const QColor colour(it->colour.red, it->colour.green, it->colour.blue);
        painter.setPen(QPen(colour, 2));
        QPolygonF line;
        for (const RaceGraphPoint& p : it->points) line << layout.PointAt(p.lap, p.value);
        if (line.size() == 1)
            painter.drawPoint(line.front());
        else
            painter.drawPolyline(line);
    }

    // The legend beside the plot, in finishing order.
    double y = plot.top() + metrics.ascent();
    const double x = plot.right() + 12;
    for (const RaceGraphSeries& s : graph.series) {
        painter.setPen(QPen(QColor(s.colour.red, s.colour.green, s.colour.blue), 2));
        painter.drawLine(QPointF(x, y - metrics.ascent() / 2.0), QPointF(x + 16, y - metrics.ascent() / 2.0));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x + 22, y), Cp1252ToQString(s.legend));
        y += metrics.height();
    }
    painter.restore();
}

}  // namespace vra
