#include "view/CZoomView.h"

#include "PictureProbe.h"
#include "platform/ScriptedPrompts.h"

#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using vra::test::ColourExtent;
using vra::test::CountColour;
using vra::test::Snapshot;

namespace {

constexpr int kCanvas = 10000;
const QColor kSquare(255, 0, 0);
// The red square covers logical 2000..4000 on both axes.
const QRect kSquareRect(2000, 2000, 2000, 2000);

class SquareView : public CZoomView {
public:
    SquareView() {
        setFrameShape(QFrame::NoFrame);
        resize(500, 400);
        show();
        SetZoomSizes({kCanvas, kCanvas});
        ZoomFull();
    }

protected:
    void OnDraw(QPainter& painter) override { painter.fillRect(kSquareRect, kSquare); }
};

QImage ViewportPicture(CZoomView& view) { return Snapshot(*view.viewport()); }

void Near(int actual, int expected, int tolerance, const char* what) {
    EXPECT_NEAR(actual, expected, tolerance) << what;
}

}  // namespace

TEST(CZoomViewFit, ShowsTheWholeDocumentCentredWithoutScrollBars) {
    SquareView view;
    EXPECT_EQ(view.DeviceSize(), QSize(400, 400));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    // Scale 0.04 and a 50 pixel margin on the left: x 130..209, y 80..159.
    EXPECT_EQ(view.VisibleLogicalRect().topLeft(), QPoint(-1250, 0));
    const QRect red = ColourExtent(ViewportPicture(view), kSquare);
    Near(red.left(), 130, 1, "left");
    Near(red.top(), 80, 1, "top");
    Near(red.width(), 80, 1, "width");
    Near(red.height(), 80, 1, "height");
}

TEST(CZoomViewFit, RefitsAfterZoomingAndReportsTheChange) {
    SquareView view;
    QSignalSpy changes(&view, &CZoomView::zoomChanged);
    ASSERT_TRUE(view.ZoomByFactor(QPoint(3000, 3000), 4.0f));
    EXPECT_GT(view.verticalScrollBar()->maximum(), 0);
    ASSERT_TRUE(view.ZoomFull());
    EXPECT_EQ(view.DeviceSize(), QSize(400, 400));
    EXPECT_EQ(changes.count(), 2);
}

TEST(CZoomViewMouse, AClickInZoomInModeZoomsAroundThePoint) {
    SquareView view;
    QSignalSpy changes(&view, &CZoomView::zoomChanged);
    view.SetZoomMode(1);
    // The centre of the red square, logical (3000, 3000), is at client (170, 120).
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(170, 120));
    EXPECT_FLOAT_EQ(view.ZoomScale(), 0.05f);
    EXPECT_EQ(changes.count(), 1);
    const QRect red = ColourExtent(ViewportPicture(view), kSquare);
    Near(red.width(), 100, 2, "2000 units at 0.05");
    const QPoint centre = view.ClientToLogical(red.center());
    Near(centre.x(), 3000, 40, "square centre x");
    Near(centre.y(), 3000, 40, "square centre y");
}

TEST(CZoomViewMouse, ADraggedBandIsDrawnAndThenFillsTheWindow) {
    SquareView view;
    view.SetZoomMode(1);
    // Drag exactly over the red square: client (130, 80) .. (210, 160).
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(130, 80));
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(view.viewport(), QPoint(210, 160));
    const QImage during = ViewportPicture(view);
    const QRect band = ColourExtent(during, Qt::black);
    Near(band.left(), 130, 1, "band left");
    Near(band.top(), 80, 1, "band top");
    Near(band.right(), 210, 1, "band right");
    Near(band.bottom(), 160, 1, "band bottom");
    EXPECT_FLOAT_EQ(view.ZoomScale(), 0.04f) << "nothing zooms before the release";

    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(210, 160));
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::BitmapCursor) << "back to the magnifier";
    const QImage after = ViewportPicture(view);
    EXPECT_EQ(CountColour(after, Qt::black), 0) << "the band is gone";
    // The square's 2000 units now span the window's height.
    const QRect red = ColourExtent(after, kSquare);
    EXPECT_LE(red.top(), 1);
    EXPECT_GE(red.bottom(), view.viewport()->height() - 2);
    Near(red.height(), view.viewport()->height(), 2, "square height");
}

TEST(CZoomViewMouse, AClickInZoomOutModeZoomsOut) {
    SquareView view;
    view.SetZoomMode(2);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::BitmapCursor);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(250, 200));
    EXPECT_FLOAT_EQ(view.ZoomScale(), 0.032f);
    const QRect red = ColourExtent(ViewportPicture(view), kSquare);
    Near(red.width(), 64, 1, "2000 units at 0.032");
}

TEST(CZoomViewMouse, PanningDragsTheMapWithTheHand) {
    SquareView view;
    // At 0.12 pixels a unit the square is 240 pixels in a 1200 pixel map.
    ASSERT_TRUE(view.ZoomByFactor(QPoint(3000, 3000), 3.0f));
    view.SetSecondaryMode(1);
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::OpenHandCursor);
    const int h = view.horizontalScrollBar()->value();
    const int v = view.verticalScrollBar()->value();
    const QImage before = ViewportPicture(view);
    const QRect redBefore = ColourExtent(before, kSquare);

    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(view.viewport(), QPoint(150, 170));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(150, 170));
    EXPECT_EQ(view.viewport()->cursor().shape(), Qt::OpenHandCursor);
    EXPECT_EQ(view.horizontalScrollBar()->value(), h + 50);
    EXPECT_EQ(view.verticalScrollBar()->value(), v + 30);
    const QRect redAfter = ColourExtent(ViewportPicture(view), kSquare);
    EXPECT_EQ(redAfter.topLeft(), redBefore.topLeft() - QPoint(50, 30)) << "the map follows the mouse";
}

TEST(CZoomViewKeys, PageAndArrowKeysScroll) {
    SquareView view;
    view.SetZoomSizes({kCanvas, kCanvas});
    QTest::keyClick(&view, Qt::Key_PageDown);
    EXPECT_EQ(view.verticalScrollBar()->value(), 390);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.verticalScrollBar()->value(), 398);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 8);
    QTest::keyClick(&view, Qt::Key_PageUp);
    QTest::keyClick(&view, Qt::Key_Left);
    EXPECT_EQ(view.verticalScrollBar()->value(), 8);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
}

TEST(CZoomViewKeys, WithOnlyOneScrollBarNothingScrolls) {
    SquareView view;
    view.SetZoomSizes({kCanvas, 300});
    ASSERT_GT(view.horizontalScrollBar()->maximum(), 0);
    ASSERT_EQ(view.verticalScrollBar()->maximum(), 0);
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.horizontalScrollBar()->value(), 0);
}

TEST(CZoomViewLimit, ZoomingPastTheCapSaysSoAndKeepsTheZoom) {
    SquareView view;
    vra::test::ScriptedPrompts prompts;
    view.SetPrompts(&prompts);
    view.SetZoomMode(1);
    int clicks = 0;
    // Clicking on the square's centre each time keeps it in the middle.
    while (prompts.messages().empty() && clicks < 200) {
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.LogicalToClient({3000, 3000}));
        ++clicks;
    }
    EXPECT_THAT(prompts.messages(), ElementsAre("Not enough memory to zoom more!\r\nPlease zoom out."));
    const float scale = view.ZoomScale();
    const QSize device = view.DeviceSize();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.LogicalToClient({3000, 3000}));
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_FLOAT_EQ(view.ZoomScale(), scale);
    EXPECT_EQ(view.DeviceSize(), device);
    const QImage pic = ViewportPicture(view);
    EXPECT_EQ(CountColour(pic, kSquare), view.viewport()->width() * view.viewport()->height())
        << "still deep inside the square";
}

TEST(CZoomViewCursor, TheMagnifierIsOurOwnPicture) {
    const QCursor magnifier = CZoomView::MagnifierCursor();
    EXPECT_EQ(magnifier.shape(), Qt::BitmapCursor);
    EXPECT_EQ(magnifier.hotSpot(), QPoint(11, 11));
    const QImage picture = magnifier.pixmap().toImage();
    EXPECT_GT(CountColour(picture.convertToFormat(QImage::Format_RGB32), Qt::black, 40), 20);
}

TEST(CZoomViewPrint, FitsTheDocumentToThePage) {
    SquareView view;
    // Portrait 480 x 660: the square canvas becomes 480 x 480, 90 pixels down.
    QImage page(480, 660, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        view.PrepareForPrinting(painter, page.size());
        painter.fillRect(kSquareRect, kSquare);
    }
    const QRect red = ColourExtent(page, kSquare);
    Near(red.left(), 96, 1, "left");
    Near(red.top(), 90 + 96, 1, "top");
    Near(red.width(), 96, 1, "width");
}
