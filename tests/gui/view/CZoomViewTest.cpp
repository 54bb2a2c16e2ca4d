#include "gui/view/CZoomView.h"

#include "PictureProbe.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace vra {

using vra::test::ColourExtent;
using vra::test::CountColour;

namespace {

constexpr int kCanvas = 10000;
const QColor kSquare(255, 0, 0);
// The red square covers logical 2000..4000 on both axes.
const QRect kSquareRect(2000, 2000, 2000, 2000);

// A 500 x 400 window fitted to the canvas: scale 0.04 with a 50 pixel margin
// on the left, so the square shows at x 130..209, y 80..159.
class SquareView : public CZoomView {
public:
    SquareView() {
        setFrameShape(QFrame::NoFrame);
        resize(500, 400);
        show();
        SetZoomSizes({kCanvas, kCanvas});
        ZoomFull();
    }
    QRect Square() { return ColourExtent(vra::test::Snapshot(*viewport()), kSquare); }
    Qt::CursorShape Cursor() const { return viewport()->cursor().shape(); }

protected:
    void OnDraw(QPainter& painter) override { painter.fillRect(kSquareRect, kSquare); }
};

void ExpectRect(const QRect& actual, const QRect& expected, int tolerance) {
    EXPECT_NEAR(actual.left(), expected.left(), tolerance);
    EXPECT_NEAR(actual.top(), expected.top(), tolerance);
    EXPECT_NEAR(actual.right(), expected.right(), tolerance);
    EXPECT_NEAR(actual.bottom(), expected.bottom(), tolerance);
}

}  // namespace

TEST(CZoomViewFit, ShowsTheWholeDocumentCentredAndRefitsAfterAZoom) {
    SquareView view;
    EXPECT_EQ(view.DeviceSize(), QSize(400, 400));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(view.verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(view.VisibleLogicalRect().topLeft(), QPoint(-1250, 0));
    ExpectRect(view.Square(), QRect(130, 80, 80, 80), 1);

    QSignalSpy changes(&view, &CZoomView::zoomChanged);
    ASSERT_TRUE(view.ZoomByFactor(QPoint(3000, 3000), 4.0f));
    EXPECT_GT(view.verticalScrollBar()->maximum(), 0);
    ASSERT_TRUE(view.ZoomFull());
    EXPECT_EQ(view.DeviceSize(), QSize(400, 400));
    EXPECT_EQ(changes.count(), 2);
}

TEST(CZoomViewMouse, ADraggedBandIsDrawnAndThenFillsTheWindow) {
    SquareView view;
    view.SetZoomMode(ZoomMode::In);
    // Drag exactly over the red square: client (130, 80) .. (210, 160).
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(130, 80));
    EXPECT_EQ(view.Cursor(), Qt::CrossCursor);
    QTest::mouseMove(view.viewport(), QPoint(210, 160));
    ExpectRect(ColourExtent(vra::test::Snapshot(*view.viewport()), Qt::black), QRect(130, 80, 81, 81), 1);
    EXPECT_FLOAT_EQ(view.ZoomScale(), 0.04f) << "nothing zooms before the release";

    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(210, 160));
    EXPECT_EQ(view.Cursor(), Qt::BitmapCursor) << "back to the magnifier";
    const QImage after = vra::test::Snapshot(*view.viewport());
    EXPECT_EQ(CountColour(after, Qt::black), 0) << "the band is gone";
    // The square's 2000 units now span the window's height.
    const QRect red = ColourExtent(after, kSquare);
    EXPECT_LE(red.top(), 1);
    EXPECT_GE(red.bottom(), view.viewport()->height() - 2);

    const float scale = view.ZoomScale();
    view.SetZoomMode(ZoomMode::Out);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(250, 200));
    EXPECT_FLOAT_EQ(view.ZoomScale(), scale / 1.25f) << "a click in zoom-out mode zooms out";
}

TEST(CZoomViewMouse, PanningDragsTheMapWithTheHand) {
    SquareView view;
    ASSERT_TRUE(view.ZoomByFactor(QPoint(3000, 3000), 3.0f));
    view.SetSecondaryMode(true);
    EXPECT_EQ(view.Cursor(), Qt::OpenHandCursor);
    const int h = view.horizontalScrollBar()->value();
    const int v = view.verticalScrollBar()->value();
    const QRect before = view.Square();

    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(view.Cursor(), Qt::ClosedHandCursor);
    QTest::mouseMove(view.viewport(), QPoint(150, 170));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, QPoint(150, 170));
    EXPECT_EQ(view.Cursor(), Qt::OpenHandCursor);
    EXPECT_EQ(view.horizontalScrollBar()->value(), h + 50);
    EXPECT_EQ(view.verticalScrollBar()->value(), v + 30);
    EXPECT_EQ(view.Square().topLeft(), before.topLeft() - QPoint(50, 30)) << "the map follows the mouse";
}

TEST(CZoomViewKeys, PageAndArrowKeysScrollByTheirStepsTimesTheRepeatCount) {
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
    QKeyEvent held(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), true, 3);
    QApplication::sendEvent(&view, &held);
    EXPECT_EQ(view.verticalScrollBar()->value(), 32);
}

}  // namespace vra
