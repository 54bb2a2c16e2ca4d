#include "map/CRpyGraphView.h"

#include "PictureProbe.h"

#include <QTest>

#include <gtest/gtest.h>

using vra::test::ColourExtent;
using vra::test::CountColour;
using vra::test::Snapshot;

TEST(CRpyGraphViewStart, ShowsTheWelcomePictureAcrossTheWidthWithItsCaption) {
    CRpyGraphView view;
    view.resize(700, 800);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_FALSE(view.HasTrackMap());
    const QImage picture = Snapshot(*view.viewport());
    // The picture is 700 x 500, centred in the height: white above and below.
    const QRect white = ColourExtent(picture, Qt::white);
    EXPECT_EQ(white.top(), 0);
    EXPECT_EQ(white.bottom(), 799);
    const int rowAbove = 100;
    const int rowInside = 400;
    const int rowBelow = 700;
    auto nonWhiteInRow = [&](int y) {
        int n = 0;
        for (int x = 0; x < picture.width(); ++x) n += picture.pixelColor(x, y) != QColor(Qt::white);
        return n;
    };
    EXPECT_EQ(nonWhiteInRow(rowAbove), 0);
    EXPECT_EQ(nonWhiteInRow(rowBelow), 0);
    EXPECT_EQ(nonWhiteInRow(rowInside), picture.width());
    // The caption is written in black at the top left, above the picture.
    const QImage top = picture.copy(0, 0, 700, 40);
    const QRect text = ColourExtent(top, Qt::black, 40);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_LT(text.left(), 10);
    EXPECT_LT(text.top(), 10);
}

TEST(CRpyGraphViewStart, KeepsTheSevenToFiveAspectInAWideWindow) {
    CRpyGraphView view;
    view.resize(350, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QImage picture = Snapshot(*view.viewport());
    // 350 wide gives 250 high: taller than the window, so no white rows remain
    // below the caption.
    int whiteRows = 0;
    for (int y = 40; y < picture.height(); ++y) {
        bool allWhite = true;
        for (int x = 0; x < picture.width() && allWhite; ++x) allWhite = picture.pixelColor(x, y) == QColor(Qt::white);
        whiteRows += allWhite;
    }
    EXPECT_EQ(whiteRows, 0);
    EXPECT_EQ(CountColour(picture, Qt::white), CountColour(picture.copy(0, 0, 350, 40), Qt::white));
}
