#include "map/MFCDisplay.h"

#include "PictureProbe.h"
#include "document/CarMarker.h"
#include "track/QuarterMark.h"
#include "track/TrackBounds.h"
#include "track/TrackPolyline.h"
#include "track/TrackSurface.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using vra::Point2D;
using vra::test::ColourExtent;
using vra::test::CountColour;

namespace {

const QColor kLap1(255, 0, 0);
const QColor kSurfaceClass1(128, 128, 128);  // palette entry 6
const QColor kFallbackSurface(0, 255, 0);    // palette entry 15

QImage WhiteImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// A 200 x 100 m box fitted into 220 x 220 units with 10 units of margin:
// 1 m per unit, centred vertically (origin 10, 160).
MFCDisplay FittedDisplay() {
    MFCDisplay display;
    vra::TrackBounds box;
    box.AddPoint({0, 0});
    box.AddPoint({200, 100});
    EXPECT_TRUE(display.FitToTrackEdges(box, 10, 10, 220, 220));
    return display;
}

vra::TrackSurface Rectangle(std::int32_t code, double x0, double y0, double x1, double y1) {
    vra::TrackSurface surface(code);
    vra::TrackEdgeBounds ignored;
    for (Point2D p : {Point2D{x0, y0}, Point2D{x1, y0}, Point2D{x1, y1}, Point2D{x0, y1}}) surface.AddPoint(p, ignored);
    return surface;
}

}  // namespace

TEST(MFCDisplayMapping, FitsTheBoxCentredWithWorldYUpwards) {
    MFCDisplay display = FittedDisplay();
    vra::DevicePoint d;
    display.MapPoint({0, 0}, d);
    EXPECT_EQ(d, (vra::DevicePoint{10, 160}));
    display.MapPoint({200, 100}, d);
    EXPECT_EQ(d, (vra::DevicePoint{210, 60}));
    EXPECT_DOUBLE_EQ(display.UnitsPerMetre(), 1.1);
}

TEST(MFCDisplayDrawing, SurfacesFillInTheColourOfTheirClass) {
    MFCDisplay display = FittedDisplay();
    QImage image = WhiteImage(220, 220);
    QPainter painter(&image);
    display.SetDC(&painter);
    display.FillPolygon(Rectangle(99, 100, 0, 200, 100));
    display.FillPolygon(Rectangle(1, 0, 0, 100, 100));
    painter.end();
    EXPECT_EQ(ColourExtent(image, kSurfaceClass1), QRect(QPoint(10, 60), QPoint(110, 160)));
    const QRect fallback = ColourExtent(image, kFallbackSurface);
    EXPECT_EQ(fallback.left(), 111);
    EXPECT_EQ(fallback.right(), 210);
    EXPECT_EQ(MFCDisplay::PaletteIndexForKind(8), 13);
    EXPECT_EQ(MFCDisplay::PaletteIndexForKind(11), 15);
}

TEST(MFCDisplayDrawing, LapLinesDrawInTheLapColourUnlessOnlyMapped) {
    MFCDisplay display = FittedDisplay();
    QImage image = WhiteImage(220, 220);
    QPainter painter(&image);
    display.SetDC(&painter);
    Point2D end;
    display.DrawLine({200, 50}, {0, 50}, end, 0, true);
    EXPECT_EQ(end, (Point2D{210, 110}));
    EXPECT_EQ(CountColour(image, kLap1), 0);
    display.DrawLine({200, 50}, {0, 50}, end, 0, false);
    painter.end();
    EXPECT_EQ(ColourExtent(image, kLap1), QRect(QPoint(10, 110), QPoint(210, 110)));
}

TEST(MFCDisplayDrawing, QuarterMarksAreBoldRedAndTheRaceLineTakesItsColour) {
    MFCDisplay display = FittedDisplay();
    QImage image = WhiteImage(220, 220);
    image.fill(Qt::black);
    QPainter painter(&image);
    display.SetDC(&painter);
    vra::QuarterMark mark;  // both ends at the world origin until evaluated
    display.DrawMarkerLine(mark);
    display.DrawColourPolyline({{50, 20}, {150, 20}});
    display.DrawColourPolyline({});
    painter.end();
    const QRect red = ColourExtent(image, QColor(255, 0, 0));
    ASSERT_FALSE(red.isEmpty());
    EXPECT_GE(red.width(), 4);
    EXPECT_TRUE(red.contains(10, 160));
    EXPECT_EQ(ColourExtent(image, Qt::white), QRect(QPoint(60, 140), QPoint(160, 140)));
}

TEST(MFCDisplayDrawing, DotsKeepTheirPixelSizeAtAnyZoom) {
    for (double zoom : {1.0, 0.1, 4.0}) {
        MFCDisplay display = FittedDisplay();
        QImage image = WhiteImage(400, 400);
        QPainter painter(&image);
        painter.scale(zoom, zoom);
        display.SetDC(&painter);
        const vra::DevicePoint at{int(100 / zoom), int(100 / zoom)};
        display.DrawCircle(*static_cast<const vra::CarMarker*>(nullptr), at, 1);
        painter.end();
        const QRect dot = ColourExtent(image, QColor(0, 0, 255));
        EXPECT_NEAR(dot.width(), 9, 1) << zoom;
        EXPECT_NEAR(dot.height(), 9, 1) << zoom;
        EXPECT_NEAR(dot.center().x(), 100, 1) << zoom;
    }
}

TEST(MFCDisplayDrawing, WallsAndPieceLinesUseTheirPens) {
    MFCDisplay display = FittedDisplay();
    QImage image = WhiteImage(220, 220);
    image.fill(QColor(50, 100, 150));
    QPainter painter(&image);
    display.SetDC(&painter);
    vra::TrackPolyline wall(7);
    wall.AddPoint({0, 0});
    wall.AddPoint({100, 0});
    display.DrawPolyline(wall);
    display.DrawLineWithPen({0, 100}, {100, 100}, true);
    display.DrawPolyline(vra::TrackPolyline(3));
    painter.end();
    EXPECT_EQ(ColourExtent(image, Qt::black), QRect(QPoint(10, 160), QPoint(110, 160)));
    EXPECT_EQ(ColourExtent(image, Qt::white), QRect(QPoint(10, 60), QPoint(110, 60)));
}

TEST(MFCDisplayDrawing, NothingIsDrawnWithoutAPainterOrAFit) {
    MFCDisplay display;
    Point2D end;
    display.DrawLine({1, 1}, {0, 0}, end, 0, false);
    display.FillPolygon(Rectangle(1, 0, 0, 1, 1));
    vra::TrackBounds empty;
    EXPECT_FALSE(display.FitToTrackEdges(empty, 50, 50, 10000, 10000));
}

TEST(MFCDisplayDrawing, CarOutlinesStandRoundTheirPositionAndGrowWhenOversized) {
    int widths[2] = {};
    for (bool oversized : {false, true}) {
        MFCDisplay display = FittedDisplay();
        QImage image = WhiteImage(220, 220);
        QPainter painter(&image);
        display.SetDC(&painter);
        vra::CarMarker marker(nullptr);
        marker.Draw(display, {110, 110}, 0.0, 1, oversized);
        painter.end();
        const QRect car = ColourExtent(image, QColor(0, 0, 255));
        ASSERT_FALSE(car.isEmpty());
        EXPECT_TRUE(car.contains(110, 110) || car.adjusted(-1, -1, 1, 1).contains(110, 110));
        EXPECT_LT(car.width(), 30);
        widths[oversized] = car.width();
    }
    EXPECT_GT(widths[1], widths[0] + widths[0] / 2);
}
