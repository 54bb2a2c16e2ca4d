#include "gui/map/MFCDisplay.h"

#include "core/document/CarMarker.h"
#include "core/track/QuarterMark.h"
#include "core/track/TrackBounds.h"
#include "core/track/TrackPolyline.h"
#include "core/track/TrackSurface.h"

#include "PictureProbe.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace vra {

using vra::Point2D;
using vra::test::ColourExtent;
using vra::test::CountColour;

namespace {

const QColor kLap1(255, 0, 0);
const QColor kLap2(0, 0, 255);

// A 200 x 100 m box fitted into 220 x 220 units with 10 units of margin:
// 1 m per unit, centred vertically (origin 10, 160). The display draws on a
// picture of the given size and background.
struct Canvas {
    explicit Canvas(QSize size = {220, 220}, QColor background = Qt::white) : image(size, QImage::Format_RGB32) {
        image.fill(background);
        vra::TrackBounds box;
        box.AddPoint({0, 0});
        box.AddPoint({200, 100});
        EXPECT_TRUE(display.FitToTrackEdges(box, 10, 10, 220, 220));
        painter.begin(&image);
        display.SetDC(&painter);
    }
    const QImage& Done() {
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
    MFCDisplay display;
};

vra::TrackSurface Rectangle(std::int32_t code, double x0, double y0, double x1, double y1) {
    vra::TrackSurface surface(code);
    vra::TrackEdgeBounds ignored;
    for (Point2D p : {Point2D{x0, y0}, Point2D{x1, y0}, Point2D{x1, y1}, Point2D{x0, y1}}) surface.AddPoint(p, ignored);
    return surface;
}

}  // namespace

TEST(MFCDisplayMapping, FitsTheBoxCentredWithWorldYUpwards) {
    Canvas c;
    vra::DevicePoint d;
    c.display.MapPoint({0, 0}, d);
    EXPECT_EQ(d, (vra::DevicePoint{10, 160}));
    c.display.MapPoint({200, 100}, d);
    EXPECT_EQ(d, (vra::DevicePoint{210, 60}));
    EXPECT_DOUBLE_EQ(c.display.UnitsPerMetre(), 1.1);
    vra::TrackBounds empty;
    EXPECT_FALSE(MFCDisplay().FitToTrackEdges(empty, 50, 50, 10000, 10000));
}

TEST(MFCDisplayDrawing, SurfacesFillInTheColourOfTheirClass) {
    Canvas c;
    c.display.FillPolygon(Rectangle(99, 100, 0, 200, 100));
    c.display.FillPolygon(Rectangle(1, 0, 0, 100, 100));
    const QImage& image = c.Done();
    EXPECT_EQ(ColourExtent(image, QColor(128, 128, 128)), QRect(QPoint(10, 60), QPoint(110, 160))) << "entry 6";
    const QRect fallback = ColourExtent(image, QColor(0, 255, 0));  // entry 15
    EXPECT_EQ(fallback.left(), 111);
    EXPECT_EQ(fallback.right(), 210);
    EXPECT_EQ(MFCDisplay::PaletteIndexForKind(8), 13);
    EXPECT_EQ(MFCDisplay::PaletteIndexForKind(0), 15);
    EXPECT_EQ(MFCDisplay::PaletteIndexForKind(9), 15);
}

TEST(MFCDisplayDrawing, KeptTrackShapesAreMappedAfreshForAnotherTrackOrFit) {
    // One surface object in the same place in memory with the same point
    // count, moved between drawings: only the key or the fit tells them apart.
    const QColor grey(128, 128, 128);
    Canvas c;
    vra::TrackSurface surface = Rectangle(1, 0, 0, 50, 50);
    auto draw = [&](std::uint64_t key) {
        c.painter.fillRect(c.image.rect(), Qt::white);
        c.display.KeepTrackShapes(true, key);
        c.display.FillPolygon(surface);
        c.display.KeepTrackShapes(false);
        return ColourExtent(c.image, grey);
    };
    EXPECT_EQ(draw(1), QRect(QPoint(10, 110), QPoint(60, 160)));
    surface = Rectangle(1, 100, 0, 150, 50);
    EXPECT_EQ(draw(1), QRect(QPoint(10, 110), QPoint(60, 160))) << "the same track keeps its shapes";
    EXPECT_EQ(draw(2), QRect(QPoint(110, 110), QPoint(160, 160))) << "another track";
    vra::TrackBounds box;
    box.AddPoint({0, 0});
    box.AddPoint({400, 200});
    ASSERT_TRUE(c.display.FitToTrackEdges(box, 10, 10, 220, 220));
    EXPECT_EQ(draw(2), QRect(QPoint(60, 135), QPoint(85, 160))) << "another fit";
    c.Done();
}

TEST(MFCDisplayDrawing, LapLinesDrawInTheLapColourUnlessOnlyMapped) {
    Canvas c;
    Point2D end;
    c.display.DrawLine({200, 50}, {0, 50}, end, 0, true);
    EXPECT_EQ(end, (Point2D{210, 110}));
    EXPECT_EQ(CountColour(c.image, kLap1), 0);
    c.display.DrawLine({200, 50}, {0, 50}, end, 0, false);
    EXPECT_EQ(ColourExtent(c.Done(), kLap1), QRect(QPoint(10, 110), QPoint(210, 110)));

    MFCDisplay unbound;  // without a painter nothing is drawn, and nothing breaks
    unbound.DrawLine({1, 1}, {0, 0}, end, 0, false);
    unbound.FillPolygon(Rectangle(1, 0, 0, 1, 1));
}

TEST(MFCDisplayDrawing, QuarterMarksAreBoldRedAndTheRaceLineTakesItsColour) {
    Canvas c({220, 220}, Qt::black);
    vra::QuarterMark mark;  // both ends at the world origin until evaluated
    c.display.DrawMarkerLine(mark);
    c.display.DrawColourPolyline({{50, 20}, {150, 20}});
    c.display.DrawColourPolyline({});
    const QImage& image = c.Done();
    const QRect red = ColourExtent(image, QColor(255, 0, 0));
    EXPECT_GE(red.width(), 4);
    EXPECT_TRUE(red.contains(10, 160));
    EXPECT_EQ(ColourExtent(image, Qt::white), QRect(QPoint(60, 140), QPoint(160, 140)));
}

TEST(MFCDisplayDrawing, WallsAndPieceLinesUseTheirPens) {
    Canvas c({220, 220}, QColor(50, 100, 150));
    vra::TrackPolyline wall(7);
    wall.AddPoint({0, 0});
    wall.AddPoint({100, 0});
    c.display.DrawPolyline(wall);
    c.display.DrawLineWithPen({0, 100}, {100, 100}, true);
    c.display.DrawPolyline(vra::TrackPolyline(3));
    const QImage& image = c.Done();
    EXPECT_EQ(ColourExtent(image, Qt::black), QRect(QPoint(10, 160), QPoint(110, 160)));
    EXPECT_EQ(ColourExtent(image, Qt::white), QRect(QPoint(10, 60), QPoint(110, 60)));
}

TEST(MFCDisplayDrawing, DotsKeepTheirPixelSizeAtAnyZoom) {
    const vra::CarMarker marker(nullptr);
    for (double zoom : {1.0, 0.1, 4.0}) {
        // Zoomed as the map view zooms: a logical window onto the pixels.
        Canvas c({400, 400});
        c.painter.setWindow(0, 0, int(400 / zoom), int(400 / zoom));
        c.painter.setViewport(0, 0, 400, 400);
        const vra::DevicePoint at{int(100 / zoom), int(100 / zoom)};
        c.display.DrawCircle(marker, at, 1);
        const QRect dot = ColourExtent(c.Done(), kLap2);
        EXPECT_NEAR(dot.width(), 9, 1) << zoom;
        EXPECT_NEAR(dot.height(), 9, 1) << zoom;
        EXPECT_NEAR(dot.center().x(), 100, 1) << zoom;
    }
}

TEST(MFCDisplayDrawing, DotsStandOnTheNearestPixelWithTheSameSizeWherever) {
    const vra::CarMarker marker(nullptr);
    // 4/3 pixels per unit: positions 75 to 78 land on pixels 100, 101.33,
    // 102.67 and 104, which round to 100, 101, 103 and 104.
    const int expectedShift[] = {0, 1, 3, 4};
    QRect first;
    for (int k = 0; k < 4; ++k) {
        Canvas c({400, 400});
        c.painter.setWindow(0, 0, 300, 300);
        c.painter.setViewport(0, 0, 400, 400);
        c.display.DrawCircle(marker, vra::DevicePoint{75 + k, 75 + k}, 1);
        const QRect dot = ColourExtent(c.Done(), kLap2);
        if (k == 0) first = dot;
        EXPECT_EQ(dot.size(), first.size()) << k;
        EXPECT_EQ(dot.topLeft() - first.topLeft(), QPoint(expectedShift[k], expectedShift[k])) << k;
    }
}

TEST(MFCDisplayDrawing, CarOutlinesStandRoundTheirPositionAndGrowWhenOversized) {
    int widths[2] = {};
    for (bool oversized : {false, true}) {
        Canvas c;
        vra::CarMarker marker(nullptr);
        marker.Draw(c.display, {110, 110}, 0.0, 1, oversized);
        const QRect car = ColourExtent(c.Done(), kLap2);
        ASSERT_FALSE(car.isEmpty());
        EXPECT_TRUE(car.adjusted(-1, -1, 1, 1).contains(110, 110));
        EXPECT_LT(car.width(), 30);
        widths[oversized] = car.width();
    }
    EXPECT_GT(widths[1], widths[0] + widths[0] / 2);
}

}  // namespace vra
