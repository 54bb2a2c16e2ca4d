#pragma once
// Draws a picture and leaves out every pixel of one colour, so that what
// lies below shows through there.

#include <QColor>
#include <QRect>

class QImage;
class QPainter;

namespace vra {

// Draws the source rectangle of source into the target rectangle (scaled
// when their sizes differ), without the pixels of the key colour.
void TransparentBlit(QPainter& target, const QRect& targetRect, const QImage& source, const QRect& sourceRect,
                     QColor key);

}  // namespace vra
