#include "gui/widgets/CMyBtn.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace vra {
namespace {

const QRgb kUntouched = qRgb(1, 200, 2);

QImage Render(QSize size, const QString& caption, bool pressed, bool enabled, QPalette palette = QPalette()) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kUntouched);
    QPainter p(&image);
    CMyBtn::Paint(p, QRect(QPoint(0, 0), size), caption, pressed, enabled, palette);
    return image;
}

TEST(CMyBtn, FaceRunsFromBrightBlueToNearlyBlackOneBrushARow) {
    const QImage img = Render({40, 64}, QString(), false, true);
    const int x = 20;
    // Brush (y x 63) / height; the ellipse's very top and bottom pixels may
    // fall outside it.
    EXPECT_EQ(QColor(img.pixel(x, 1)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(img.pixel(x, 62)), QColor(0, 0, 255 - 4 * 61));
    for (int y = 1; y < 63; ++y) EXPECT_EQ(img.pixel(x, y), qRgb(0, 0, 255 - 4 * (y * 63 / 64))) << y;
    EXPECT_EQ(CMyBtn::GradientRow(0, 1), QColor(0, 0, 255));
    EXPECT_EQ(CMyBtn::GradientRow(63, 4096), QColor(0, 0, 255));  // 63 x 63 / 4096 = 0
    EXPECT_EQ(CMyBtn::GradientRow(4095, 4096), QColor(0, 0, 7));  // the darkest row: brush 62
    const QImage flat = Render({40, 1}, QString(), false, true);
    EXPECT_EQ(QColor(flat.pixel(20, 0)), QColor(0, 0, 255));
}

TEST(CMyBtn, NothingOutsideTheEllipseAndNoWhiteWithoutACaption) {
    const QImage img = Render({60, 30}, QString(), false, true);
    EXPECT_EQ(img.pixel(0, 0), kUntouched);
    EXPECT_EQ(img.pixel(59, 0), kUntouched);
    EXPECT_EQ(img.pixel(0, 29), kUntouched);
    EXPECT_EQ(img.pixel(59, 29), kUntouched);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) ASSERT_NE(img.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
    const QImage captioned = Render({60, 30}, QStringLiteral("+"), false, true);
    bool white = false;
    for (int y = 0; y < captioned.height(); ++y)
        for (int x = 0; x < captioned.width(); ++x) white = white || qRed(captioned.pixel(x, y)) > 200;
    EXPECT_TRUE(white);
}

TEST(CMyBtn, TheRimShowsOnlyWhenPressedAndEnabled) {
    QPalette palette;
    palette.setColor(QPalette::Light, QColor(250, 10, 10));
    auto isRim = [](QRgb c) { return qRed(c) > 200 && qGreen(c) < 50; };
    auto rimPixels = [&](const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += isRim(img.pixel(x, y));
        return n;
    };
    const QImage pressed = Render({60, 40}, QString(), true, true, palette);
    EXPECT_GT(rimPixels(pressed), 20);
    // Lower right half only: the top-left quarter carries none of it.
    int topLeft = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 25; ++x) topLeft += isRim(pressed.pixel(x, y));
    EXPECT_EQ(topLeft, 0);
    EXPECT_EQ(rimPixels(Render({60, 40}, QString(), true, false, palette)), 0);
    EXPECT_EQ(rimPixels(Render({60, 40}, QString(), false, true, palette)), 0);
}

TEST(CMyBtn, TheWindowIsElliptic) {
    CMyBtn button(QStringLiteral("-"));
    button.resize(40, 20);
    button.show();
    QApplication::processEvents();
    EXPECT_FALSE(button.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(button.mask().contains(QPoint(20, 10)));
}

}  // namespace
}  // namespace vra
