#include "gui/map/C3DMeterCtrl.h"

#include "PictureProbe.h"

#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace vra {
namespace {

const QColor kNeedle(255, 0, 0);

QImage Render(const C3DMeterCtrl& meter, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    meter.PaintFace(p, size);
    meter.PaintNeedle(p, size);
    return image;
}

// The needle stands at the scale's ends outside the range, and leans the
// right way inside it; an empty range leaves it at the start.
TEST(C3DMeterCtrl, TheNeedleStaysOnTheScale) {
    C3DMeterCtrl meter;
    meter.SetRange(0, 100);
    const QSize size(120, 80);
    meter.SetValue(-50);
    EXPECT_DOUBLE_EQ(meter.NeedleDegrees(), 120.0);
    QRect needle = test::ColourExtent(Render(meter, size), kNeedle);
    ASSERT_FALSE(needle.isEmpty());
    EXPECT_LT(needle.left(), 30);
    EXPECT_LT(needle.right(), 60);

    meter.SetValue(1000);
    EXPECT_DOUBLE_EQ(meter.NeedleDegrees(), 60.0);
    needle = test::ColourExtent(Render(meter, size), kNeedle);
    EXPECT_GT(needle.right(), 90);
    EXPECT_GT(needle.left(), 60);

    meter.SetValue(75);
    EXPECT_DOUBLE_EQ(meter.NeedleDegrees(), 75.0);
    meter.SetRange(5, 5);
    EXPECT_DOUBLE_EQ(meter.NeedleDegrees(), 120.0);
}

// At 120 x 80 the centre is (60, 93) and the outer radius 80, so the arc's
// top is y 13; the text box runs from 65 to 74, the text is 16 high and the
// range labels stand on the baseline 13 + 16 / 10 = 14, the minimum at x 10.
TEST(C3DMeterCtrl, TheRangeLabelsStandOnTheBaselineBelowTheArcTop) {
    C3DMeterCtrl meter;
    meter.SetRange(0, 100);
    const QSize size(120, 80);
    const QImage label = Render(meter, size).copy(0, 0, 19, 40);
    const QRect glyph = test::ColourExtent(label, meter.palette().color(QPalette::ButtonText), 60);
    ASSERT_FALSE(glyph.isEmpty());
    EXPECT_GE(glyph.left(), 10);
    EXPECT_LE(glyph.bottom(), 14);
    EXPECT_GE(glyph.bottom(), 12);
}

TEST(C3DMeterCtrl, AValueRepaintsOnlyTheNeedleOverTheKeptFace) {
    C3DMeterCtrl meter;
    meter.resize(120, 80);
    meter.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&meter));
    meter.repaint();
    const int builds = meter.FaceBuilds();
    ASSERT_GE(builds, 1);
    meter.SetValue(10);
    meter.repaint();
    EXPECT_EQ(meter.FaceBuilds(), builds);
    meter.SetUnits(QStringLiteral("kph"));
    meter.repaint();
    EXPECT_EQ(meter.FaceBuilds(), builds + 1);
    meter.SetRange(0, 250);
    meter.repaint();
    EXPECT_EQ(meter.FaceBuilds(), builds + 2);
}

}  // namespace
}  // namespace vra
