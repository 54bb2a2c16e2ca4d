#include "gui/graphs/TransparentBlit.h"

#include <QImage>
#include <QPainter>

namespace vra {

void TransparentBlit(QPainter& target, const QRect& targetRect, const QImage& source, const QRect& sourceRect,
                     QColor key) {
    QImage picture = source.copy(sourceRect.normalized()).convertToFormat(QImage::Format_ARGB32);
    const QRgb keyRgb = key.rgb() & 0x00FFFFFF;
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((line[x] & 0x00FFFFFF) == keyRgb) line[x] = 0;
    }
    target.drawImage(targetRect, picture);
}

}  // namespace vra
