#include "gui/map/CRpyGraphView.h"

#include "PictureProbe.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vra {

using vra::test::ColourExtent;

namespace {

QImage StartPicture(QSize window) {
    CRpyGraphView view;
    view.resize(window);
    view.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_FALSE(view.HasTrackMap());
    return vra::test::Snapshot(*view.viewport());
}

int NonWhiteInRow(const QImage& picture, int y) {
    int n = 0;
    for (int x = 0; x < picture.width(); ++x) n += picture.pixelColor(x, y) != QColor(Qt::white);
    return n;
}

}  // namespace

TEST(CRpyGraphViewStart, ShowsTheWelcomePictureAcrossTheWidthWithItsCaption) {
    // 700 wide gives a 700 x 500 picture, centred in the 800 pixel height.
    const QImage picture = StartPicture({700, 800});
    EXPECT_EQ(NonWhiteInRow(picture, 100), 0);
    EXPECT_EQ(NonWhiteInRow(picture, 400), picture.width());
    EXPECT_EQ(NonWhiteInRow(picture, 700), 0);
    // The caption is written in black at the top left, above the picture.
    const QRect text = ColourExtent(picture.copy(0, 0, 700, 40), Qt::black, 40);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_LT(text.left(), 10);
    EXPECT_LT(text.top(), 10);

    // 350 wide gives 250 high, taller than a 200 pixel window: no white
    // remains below the caption.
    const QImage wide = StartPicture({350, 200});
    EXPECT_EQ(vra::test::CountColour(wide.copy(0, 40, 350, 160), Qt::white), 0);
}

}  // namespace vra
