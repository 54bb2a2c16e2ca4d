#pragma once
// Looks at widget pictures by colour: where a colour lies and how much of it.

#include <QColor>
#include <QImage>
#include <QRect>

class QWidget;

namespace vra::test {

// A picture of the widget as it paints itself now.
QImage Snapshot(QWidget& widget);

// The bounding box of the pixels within tolerance of the colour (per
// component); empty when there are none.
QRect ColourExtent(const QImage& image, QColor colour, int tolerance = 0);
int CountColour(const QImage& image, QColor colour, int tolerance = 0);

}  // namespace vra::test
