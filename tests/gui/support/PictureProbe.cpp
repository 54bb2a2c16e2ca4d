#include "PictureProbe.h"

#include <QPixmap>
#include <QWidget>

#include <cstdlib>

namespace vra::test {

namespace {

bool Matches(QRgb pixel, QColor colour, int tolerance) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

}  // namespace

QImage Snapshot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QRect ColourExtent(const QImage& image, QColor colour, int tolerance) {
    QRect extent;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Matches(image.pixel(x, y), colour, tolerance)) extent |= QRect(x, y, 1, 1);
    return extent;
}

int CountColour(const QImage& image, QColor colour, int tolerance) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Matches(image.pixel(x, y), colour, tolerance)) ++n;
    return n;
}

}  // namespace vra::test
